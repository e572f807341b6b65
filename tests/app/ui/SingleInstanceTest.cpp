// The single instance between real processes: the first start listens, a later one hands its
// files over and ends, starts at the same moment end with one window, leftovers and another
// user's socket or list neither stop a start nor get used, names arrive byte for byte, and
// SIGTERM ends the program as closing its window does.
#include "AppTestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{

const QString kProgram = QStringLiteral(TW_BIN_DIR "/Tagwright");

class CInstance
{
public:
    CInstance(const CAppTestEnv& env, const QString& strDump)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), env.ConfigHome());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), env.RuntimeDir());
        if (!strDump.isEmpty())
            environment.insert(QStringLiteral("TAGWRIGHT_LIST_DUMP"), strDump);
        // D-Bus keeps some memory to the end of a process; that is not ours to report.
        environment.insert(
            QStringLiteral("LSAN_OPTIONS"),
            QStringLiteral("suppressions=" QT_TESTCASE_SOURCEDIR "/app/ui/lsan.supp"));
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
    }

    void SetWorkingDirectory(const QString& strDir) { m_process.setWorkingDirectory(strDir); }
    bool Start(const QStringList& args)
    {
        m_process.start(kProgram, args);
        return m_process.waitForStarted(30000);
    }
    bool Finish() { return m_process.waitForFinished(120000); }
    void Terminate() { m_process.terminate(); }
    int ExitCode() const { return m_process.exitCode(); }
    bool IsRunning() const { return m_process.state() != QProcess::NotRunning; }
    QProcess::ExitStatus ExitStatus() const { return m_process.exitStatus(); }

private:
    QProcess m_process;
};

QString SocketPath(const CAppTestEnv& env)
{
    return env.RuntimeDir() + QStringLiteral("/tagwright/Corvell_Tagwright_WndClass");
}

QStringList ReadLines(const QString& strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("<no file>")};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The program started with arguments as raw bytes (QProcess would take them as UTF-8 text), in
// the environment of the test with the settings of CInstance.
pid_t StartRaw(const std::vector<std::string>& args, const std::string& strDump)
{
    std::vector<char*> argv;
    const QByteArray program = QFile::encodeName(kProgram);
    argv.push_back(const_cast<char*>(program.constData()));
    for (const std::string& strArg : args)
        argv.push_back(const_cast<char*>(strArg.c_str()));
    argv.push_back(nullptr);
    // The environment is made before the fork: the child of a threaded process only execs.
    std::vector<std::string> arrEnvironment = {"QT_QPA_PLATFORM=offscreen",
                                               std::string("LSAN_OPTIONS=suppressions=") +
                                                   QT_TESTCASE_SOURCEDIR "/app/ui/lsan.supp"};
    if (!strDump.empty())
        arrEnvironment.push_back("TAGWRIGHT_LIST_DUMP=" + strDump);
    for (char** ppEntry = environ; *ppEntry; ++ppEntry)
    {
        const std::string strEntry = *ppEntry;
        const std::string strName = strEntry.substr(0, strEntry.find('='));
        if (strName != "QT_QPA_PLATFORM" && strName != "LSAN_OPTIONS" &&
            strName != "TAGWRIGHT_LIST_DUMP")
            arrEnvironment.push_back(strEntry);
    }
    std::vector<char*> envp;
    for (std::string& strEntry : arrEnvironment)
        envp.push_back(strEntry.data());
    envp.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0)
    {
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    return pid;
}

// The exit code of a raw start, or -1 when it did not end normally.
int WaitRaw(pid_t pid)
{
    int nStatus = 0;
    while (::waitpid(pid, &nStatus, 0) < 0)
    {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
}

QByteArray ReadBytes(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
}

// Waits until a main instance answers on the socket.
bool WaitForMainInstance(const CAppTestEnv& env)
{
    return QTest::qWaitFor(
        [&env]
        {
            QLocalSocket socket;
            socket.connectToServer(SocketPath(env));
            return socket.waitForConnected(1000);
        },
        60000);
}

} // namespace

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private slots:
    void secondStartHandsItsFilesOver()
    {
        CAppTestEnv env;
        const QString a = env.MakeMp3(QStringLiteral("a.mp3"));
        const QString b = env.MakeMp3(QStringLiteral("b.mp3"));
        const QString c = env.MakeMp3(QStringLiteral("sub/c.mp3"));
        const QString strDump = env.DataDir() + QStringLiteral("/first.lst");

        CInstance first(env, strDump);
        QVERIFY(first.Start({a}));
        QVERIFY(QTest::qWaitFor([&env] { return QFileInfo::exists(SocketPath(env)); }, 60000));

        // Relative paths are made full for the first instance, which has its own folder.
        CInstance second(env, QString());
        second.SetWorkingDirectory(env.DataDir());
        QVERIFY(second.Start({QStringLiteral("b.mp3|") + c}));
        QVERIFY(second.Finish());
        QCOMPARE(second.ExitStatus(), QProcess::NormalExit);
        QCOMPARE(second.ExitCode(), 0);

        // A start without files only brings the window forward.
        CInstance third(env, QString());
        QVERIFY(third.Start({}));
        QVERIFY(third.Finish());
        QCOMPARE(third.ExitCode(), 0);

        first.Terminate();
        QVERIFY(first.Finish());
        QCOMPARE(first.ExitStatus(), QProcess::NormalExit);
        QCOMPARE(first.ExitCode(), 0);
        // The hand-over replaced the list.
        QCOMPARE(ReadLines(strDump), QStringList({b, c}));
        // Ended cleanly: settings written, socket and hand-over list gone.
        QVERIFY(QFileInfo::exists(env.SettingsFile()));
        QVERIFY(!QFileInfo::exists(SocketPath(env)));
        QVERIFY(!QFileInfo::exists(env.RuntimeDir() + QStringLiteral("/tagwright/fileslist.lst")));
    }

    void leftoverSocketDoesNotStopAStart()
    {
        CAppTestEnv env;
        const QString a = env.MakeMp3(QStringLiteral("a.mp3"));
        const QString strDump = env.DataDir() + QStringLiteral("/dump.lst");
        // A socket file nobody listens on, as a killed instance leaves it.
        QDir().mkpath(env.RuntimeDir() + QStringLiteral("/tagwright"));
        QFile::setPermissions(env.RuntimeDir() + QStringLiteral("/tagwright"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray path = QFile::encodeName(SocketPath(env));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        ::close(fd);
        QVERIFY(QFileInfo::exists(SocketPath(env)));

        CInstance first(env, strDump);
        QVERIFY(first.Start({a}));
        // It became the main instance: a later start reaches it.
        const QString b = env.MakeMp3(QStringLiteral("b.mp3"));
        QVERIFY(QTest::qWaitFor(
            [&env]
            {
                QLocalSocket socket;
                socket.connectToServer(SocketPath(env));
                return socket.waitForConnected(1000);
            },
            60000));
        CInstance second(env, QString());
        QVERIFY(second.Start({b}));
        QVERIFY(second.Finish());
        first.Terminate();
        QVERIFY(first.Finish());
        QCOMPARE(first.ExitCode(), 0);
        QCOMPARE(ReadLines(strDump), QStringList({b}));
    }

    void startsAtTheSameMomentEndWithOneWindow()
    {
        CAppTestEnv env;
        constexpr int kStarts = 4;
        std::vector<std::unique_ptr<CInstance>> arrInstances;
        std::vector<QString> arrDumps;
        std::vector<QString> arrFiles;
        for (int i = 0; i < kStarts; ++i)
        {
            arrFiles.push_back(env.MakeMp3(QStringLiteral("s%1.mp3").arg(i)));
            arrDumps.push_back(env.DataDir() + QStringLiteral("/dump%1.lst").arg(i));
            arrInstances.push_back(std::make_unique<CInstance>(env, arrDumps.back()));
        }
        for (int i = 0; i < kStarts; ++i)
            QVERIFY(
                arrInstances[static_cast<size_t>(i)]->Start({arrFiles[static_cast<size_t>(i)]}));

        // All but one hand over and end, each only after its files were taken.
        int nMain = -1;
        QVERIFY(QTest::qWaitFor(
            [&]
            {
                int nRunning = 0;
                for (int i = 0; i < kStarts; ++i)
                {
                    if (arrInstances[static_cast<size_t>(i)]->IsRunning())
                    {
                        ++nRunning;
                        nMain = i;
                    }
                }
                return nRunning == 1;
            },
            120000));
        QTest::qWait(500);
        for (int i = 0; i < kStarts; ++i)
        {
            CInstance& instance = *arrInstances[static_cast<size_t>(i)];
            if (i == nMain)
            {
                QVERIFY(instance.IsRunning());
                continue;
            }
            QCOMPARE(instance.ExitStatus(), QProcess::NormalExit);
            QCOMPARE(instance.ExitCode(), 0);
        }
        CInstance& main = *arrInstances[static_cast<size_t>(nMain)];
        main.Terminate();
        QVERIFY(main.Finish());
        QCOMPARE(main.ExitCode(), 0);
        // Each hand-over replaced the list: it holds the files of one of the later starts.
        const QStringList listed = ReadLines(arrDumps[static_cast<size_t>(nMain)]);
        QCOMPARE(listed.size(), 1);
        QVERIFY(listed.front() != arrFiles[static_cast<size_t>(nMain)]);
        QVERIFY(std::find(arrFiles.begin(), arrFiles.end(), listed.front()) != arrFiles.end());
        for (int i = 0; i < kStarts; ++i)
            QCOMPARE(QFileInfo::exists(arrDumps[static_cast<size_t>(i)]), i == nMain);
        QVERIFY(!QFileInfo::exists(env.RuntimeDir() + QStringLiteral("/tagwright/fileslist.lst")));
    }

    // Line breaks, bytes that are not UTF-8 and leading dashes arrive as the names on disk.
    void oddNamesAreHandedOverByTheirBytes()
    {
        CAppTestEnv env;
        const QString a = env.MakeMp3(QStringLiteral("a.mp3"));
        const std::string strFolder = QFile::encodeName(env.DataDir()).toStdString();
        const std::vector<std::string> arrNames = {"line\nbreak.mp3", "\xff\xfe.mp3", "-dash.mp3",
                                                   "caf\xe9 | x.mp3"};
        std::vector<std::string> arrPaths;
        for (const std::string& strName : arrNames)
        {
            const QString strMade = env.MakeMp3(QStringLiteral("made.mp3"));
            arrPaths.push_back(strFolder + "/" + strName);
            QCOMPARE(::rename(QFile::encodeName(strMade).constData(), arrPaths.back().c_str()), 0);
        }
        // The bar joins the first three; the last is one selected file whose name holds one.
        const std::vector<std::string> arrArguments = {
            arrPaths[0] + "|" + arrPaths[1] + "|" + arrPaths[2], arrPaths[3]};
        const std::vector<std::string> arrExpected = {
            arrPaths[0] + "\n" + arrPaths[1] + "\n" + arrPaths[2] + "\n", arrPaths[3] + "\n"};
        for (size_t i = 0; i < arrArguments.size(); ++i)
        {
            const QString strDump = env.DataDir() + QStringLiteral("/dump%1.lst").arg(i);
            CInstance first(env, strDump);
            QVERIFY(first.Start({a}));
            QVERIFY(WaitForMainInstance(env));
            QCOMPARE(WaitRaw(StartRaw({arrArguments[i]}, std::string())), 0);
            first.Terminate();
            QVERIFY(first.Finish());
            QCOMPARE(ReadBytes(strDump), QByteArray::fromStdString(arrExpected[i]));
        }
    }

    // Another user's socket is never connected to (it might take the files), and another user's
    // or a linked hand-over list is neither read nor written through.
    void anotherUsersSocketAndListAreNotUsed()
    {
        if (::geteuid() != 0)
            QSKIP("making another user's socket needs root");
        CAppTestEnv env;
        const QString a = env.MakeMp3(QStringLiteral("a.mp3"));
        const QString b = env.MakeMp3(QStringLiteral("b.mp3"));
        const QString strPrivate = env.RuntimeDir() + QStringLiteral("/tagwright");
        QDir().mkpath(strPrivate);
        QFile::setPermissions(strPrivate, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QLocalServer foreign;
        QVERIFY(foreign.listen(SocketPath(env)));
        QCOMPARE(::chown(QFile::encodeName(SocketPath(env)).constData(), 65534, 65534), 0);
        // A list of someone else's in the hand-over's place, pointing at a file they own.
        const QString strVictim = env.DataDir() + QStringLiteral("/victim.txt");
        QFile victim(strVictim);
        QVERIFY(victim.open(QIODevice::WriteOnly));
        victim.write("untouched\n");
        victim.close();
        QVERIFY(QFile::link(strVictim, strPrivate + QStringLiteral("/fileslist.lst")));

        const QString strDump = env.DataDir() + QStringLiteral("/dump.lst");
        CInstance first(env, strDump);
        QVERIFY(first.Start({a}));
        // The foreign socket answers too: wait until the first start has put its own in its place.
        QVERIFY(QTest::qWaitFor(
            [&env]
            {
                struct stat st = {};
                return ::lstat(QFile::encodeName(SocketPath(env)).constData(), &st) == 0 &&
                       S_ISSOCK(st.st_mode) && st.st_uid == ::geteuid();
            },
            60000));
        QVERIFY(WaitForMainInstance(env));
        CInstance second(env, QString());
        QVERIFY(second.Start({b}));
        QVERIFY(second.Finish());
        QCOMPARE(second.ExitCode(), 0);
        first.Terminate();
        QVERIFY(first.Finish());
        QCOMPARE(ReadLines(strDump), QStringList({b}));
        QVERIFY(!foreign.waitForNewConnection(200));
        QCOMPARE(ReadBytes(strVictim), QByteArray("untouched\n"));
    }

    void registrationRunEndsWithoutWindow()
    {
        CAppTestEnv env;
        CInstance run(env, QString());
        QVERIFY(run.Start({QStringLiteral("-Install")}));
        QVERIFY(run.Finish());
        QCOMPARE(run.ExitCode(), 0);
        QVERIFY(!QFileInfo::exists(SocketPath(env)));
        QVERIFY(!QFileInfo::exists(env.SettingsFile()));
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
