// The single instance between real processes: the first start listens, a later one hands its
// files over and ends, a leftover socket does not stop a new start, and SIGTERM ends the program
// as closing its window does.
#include "AppTestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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
