// The registration switches of the real program on Linux, against a home of the test's own: the
// entries each switch writes or removes, that a written entry's command reaches the program with
// the "|"-joined paths, that Uninstall is refused while the program runs, and that the switches
// need no display.
#include "AppTestEnv.h"

#include "app/FileManagerLaunch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <utility>

namespace
{

const QString kProgram = QStringLiteral(TW_BIN_DIR "/Tagwright");
const char kAlreadyRunning[] =
    "The application is already running. Please close the application and try again.";

std::string Native(const QString& strPath)
{
    return QFile::encodeName(strPath).toStdString();
}

// The program's environment: the test's own home and XDG folders, no display.
QProcessEnvironment MakeEnvironment(const CAppTestEnv& env)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), env.DataDir() + QStringLiteral("/home"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), env.ConfigHome());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), env.DataHome());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), env.RuntimeDir());
    environment.insert(QStringLiteral("TAGWRIGHT_MESSAGE_DUMP"),
                       env.DataDir() + QStringLiteral("/messages.txt"));
    // D-Bus keeps some memory to the end of a process; that is not ours to report.
    environment.insert(QStringLiteral("LSAN_OPTIONS"),
                       QStringLiteral("suppressions=" QT_TESTCASE_SOURCEDIR "/app/ui/lsan.supp"));
    return environment;
}

// One registration run to its end; its exit code, -1 when it did not end normally.
int RunSwitch(const CAppTestEnv& env, const QString& strProgram, const QString& strSwitch)
{
    QProcess process;
    process.setProcessEnvironment(MakeEnvironment(env));
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(strProgram, {strSwitch});
    if (!process.waitForStarted(30000) || !process.waitForFinished(120000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// A registration run as from a terminal without a desktop: no display and no platform named,
// messages only where the run can tell them. Its exit code (-1 when it did not end normally) and
// its error output.
std::pair<int, QString> RunSwitchWithoutDisplay(const CAppTestEnv& env, const QString& strSwitch)
{
    QProcessEnvironment environment = MakeEnvironment(env);
    for (const char* pszName :
         {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "TAGWRIGHT_MESSAGE_DUMP"})
        environment.remove(QString::fromLatin1(pszName));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(kProgram, {strSwitch});
    if (!process.waitForStarted(30000) || !process.waitForFinished(120000))
        return {-1, QString()};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QStringList FilesBelow(const QString& strFolder)
{
    QStringList files;
    QDir dir(strFolder);
    for (const QFileInfo& info :
         dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
    {
        if (info.isDir())
        {
            for (const QString& strFile : FilesBelow(info.filePath()))
                files << info.fileName() + QLatin1Char('/') + strFile;
        }
        else
            files << info.fileName();
    }
    files.sort();
    return files;
}

const QStringList kAllEntries{
    QStringLiteral("applications/com.corvell.Tagwright.desktop"),
    QStringLiteral("kio/servicemenus/com.corvell.Tagwright.desktop"),
    QStringLiteral("nautilus/scripts/Tagwright"),
    QStringLiteral("nemo/actions/com.corvell.Tagwright.nemo_action"),
};

std::string ExecOf(const QString& strFile, const std::string& strGroup)
{
    const auto raw = Launch::RawValue(Launch::ReadText(Native(strFile)), strGroup, "Exec");
    return raw ? Launch::Unescape(*raw) : std::string();
}

} // namespace

class ShellIntegrationTest : public QObject
{
    Q_OBJECT

private:
    // A copy of the program in a folder whose name needs quoting everywhere, so the entries name
    // that copy.
    static QString CopyProgram(const CAppTestEnv& env)
    {
        const QString strFolder = env.DataDir() + QStringLiteral("/bin 'q' \"d\" $HOME \\ %F\nx");
        QDir().mkpath(strFolder);
        const QString strCopy = strFolder + QStringLiteral("/Tagwright");
        if (!QFile::copy(kProgram, strCopy))
            return QString();
        QFile::setPermissions(strCopy, QFile::permissions(kProgram));
        return strCopy;
    }

private slots:
    void switchesWriteAndRemoveTheEntries()
    {
        CAppTestEnv env;
        const QString strProgram = CopyProgram(env);
        QVERIFY(!strProgram.isEmpty());

        QCOMPARE(RunSwitch(env, strProgram, QStringLiteral("-Install")), 0);
        QCOMPARE(FilesBelow(env.DataHome()), kAllEntries);
        const QString strDesktop = env.DataHome() + QLatin1Char('/') + kAllEntries[0];
        const Launch::Args argv =
            Launch::ExpandExec(ExecOf(strDesktop, "Desktop Entry"), {"/a.mp3"});
        QCOMPARE(argv.size(), size_t(5));
        QCOMPARE(argv[3], Native(strProgram));
        // Neither loaded nor saved.
        QVERIFY(!QFileInfo::exists(env.SettingsFile()));

        QCOMPARE(RunSwitch(env, strProgram, QStringLiteral("-DisableShellIntegration")), 0);
        QCOMPARE(FilesBelow(env.DataHome()), QStringList{kAllEntries[0]});

        QCOMPARE(RunSwitch(env, strProgram, QStringLiteral("/enableshellintegration")), 0);
        QCOMPARE(FilesBelow(env.DataHome()), kAllEntries);
        QVERIFY(!QFileInfo::exists(env.SettingsFile()));

        QDir().mkpath(QFileInfo(env.SettingsFile()).absolutePath());
        QFile settings(env.SettingsFile());
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[Settings]\nWriteID3v1=1\n");
        settings.close();
        QCOMPARE(RunSwitch(env, strProgram, QStringLiteral("-Uninstall")), 0);
        QCOMPARE(FilesBelow(env.DataHome()), QStringList());
        QVERIFY(!QFileInfo::exists(env.SettingsFile()));
        QVERIFY(!QFileInfo::exists(env.ConfigHome() + QStringLiteral("/Corvell")));
        // No message was needed.
        QVERIFY(!QFileInfo::exists(env.DataDir() + QStringLiteral("/messages.txt")));
    }

    void entriesStartTheProgramWithTheJoinedPaths()
    {
        CAppTestEnv env;
        const QString strProgram = CopyProgram(env);
        QVERIFY(!strProgram.isEmpty());
        QCOMPARE(RunSwitch(env, strProgram, QStringLiteral("-Install")), 0);
        // The entries name the copy; a stand-in takes its place and records what it gets.
        const Launch::CStandIn standIn(Native(strProgram),
                                       Native(env.DataDir() + QStringLiteral("/record")));
        const std::string strFolder = Native(env.DataDir() + QStringLiteral("/my music"));
        QDir().mkpath(QString::fromStdString(strFolder));
        const Launch::Args names{"it's \"$1\" \\ %F.mp3", "-list\n.m3u"};
        const Launch::Args paths{strFolder + "/" + names[0], strFolder + "/" + names[1]};
        const Launch::Args joined{paths[0] + "|" + paths[1]};
        auto run = [&standIn](const Launch::Args& argv, const std::string& strIn = {},
                              const Launch::Args& extraEnv = {})
        {
            const int nExit = Launch::Run(argv, strIn, extraEnv);
            const auto record = standIn.TakeRecord();
            return nExit == 0 && record ? *record : Launch::Args{"<did not run>"};
        };

        const QString strData = env.DataHome() + QLatin1Char('/');
        QCOMPARE(run(Launch::ExpandExec(ExecOf(strData + kAllEntries[0], "Desktop Entry"), paths)),
                 joined);
        QCOMPARE(run(Launch::ExpandExec(
                     ExecOf(strData + kAllEntries[1], "Desktop Action openwithtagwright"), paths)),
                 joined);
        QCOMPARE(run({Native(strData + kAllEntries[2]), names[0], names[1]}, strFolder,
                     {"NAUTILUS_SCRIPT_SELECTED_FILE_PATHS=" + paths[0] + "\n" + paths[1] + "\n"}),
                 joined);
        const Launch::CGLib glib;
        if (!glib.IsLoaded())
            QSKIP("GLib is not on this system: Nemo's expansion cannot be followed");
        QCOMPARE(run(glib.ExpandNemoExec(ExecOf(strData + kAllEntries[3], "Nemo Action"), paths)),
                 joined);
    }

    void switchesRunWithoutADisplay()
    {
        CAppTestEnv env;
        QCOMPARE(RunSwitchWithoutDisplay(env, QStringLiteral("-Install")).first, 0);
        QCOMPARE(FilesBelow(env.DataHome()), kAllEntries);
        QCOMPARE(RunSwitchWithoutDisplay(env, QStringLiteral("-Uninstall")).first, 0);
        QCOMPARE(FilesBelow(env.DataHome()), QStringList());
    }

    void uninstallIsRefusedWhileTheProgramRuns()
    {
        CAppTestEnv env;
        QCOMPARE(RunSwitch(env, kProgram, QStringLiteral("-Install")), 0);

        QProcess instance;
        instance.setProcessEnvironment(MakeEnvironment(env));
        instance.setProcessChannelMode(QProcess::ForwardedChannels);
        instance.start(kProgram, {env.DataDir()});
        QVERIFY(instance.waitForStarted(30000));
        const QString strSocket =
            env.RuntimeDir() + QStringLiteral("/tagwright/Corvell_Tagwright_WndClass");
        QVERIFY(QTest::qWaitFor([&strSocket] { return QFileInfo::exists(strSocket); }, 60000));

        // Without a display the refusal is told on the error output.
        const auto [nExit, strError] = RunSwitchWithoutDisplay(env, QStringLiteral("-Uninstall"));
        QCOMPARE(nExit, 0);
        QVERIFY2(strError.contains(QString::fromUtf8(kAlreadyRunning)), qPrintable(strError));
        QCOMPARE(FilesBelow(env.DataHome()), kAllEntries);

        QCOMPARE(RunSwitch(env, kProgram, QStringLiteral("-Uninstall")), 0);
        QFile messages(env.DataDir() + QStringLiteral("/messages.txt"));
        QVERIFY(messages.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(messages.readAll()),
                 QString::fromUtf8(kAlreadyRunning) + QLatin1Char('\n'));
        messages.close();
        QCOMPARE(FilesBelow(env.DataHome()), kAllEntries);
        // The other switches work all the same.
        QCOMPARE(RunSwitch(env, kProgram, QStringLiteral("-DisableShellIntegration")), 0);
        QCOMPARE(FilesBelow(env.DataHome()), QStringList{kAllEntries[0]});

        instance.terminate();
        QVERIFY(instance.waitForFinished(120000));
        QCOMPARE(instance.exitCode(), 0);
        // The instance kept its settings at its end; now they go with the rest.
        QVERIFY(QFileInfo::exists(env.SettingsFile()));
        QCOMPARE(RunSwitch(env, kProgram, QStringLiteral("-Uninstall")), 0);
        QCOMPARE(FilesBelow(env.DataHome()), QStringList());
        QVERIFY(!QFileInfo::exists(env.SettingsFile()));
        QVERIFY(messages.remove());
    }
};

QTEST_MAIN(ShellIntegrationTest)
#include "ShellIntegrationTest.moc"
