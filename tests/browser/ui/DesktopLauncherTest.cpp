// The file manager request of Open File Location over a real, private D-Bus: a bus daemon of
// the test's own, with a stand-in file manager registered on it.
#include "UiFiles.h"

#include "browser/ui/DesktopLauncher.h"

#include <QDBusConnection>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <memory>

// Answers ShowItems as a file manager would and keeps what it was asked.
class CFakeFileManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList m_arrItems;
    QString m_strStartupId;
    int m_nCalls = 0;

public slots:
    void ShowItems(const QStringList& arrUris, const QString& strStartupId)
    {
        ++m_nCalls;
        m_arrItems = arrUris;
        m_strStartupId = strStartupId;
    }
};

class DesktopLauncherTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Fixtures::CTempDir> m_pDir;
    QProcess m_daemon;
    QString m_strAddress;

private slots:
    void initTestCase()
    {
        UiFiles::PrepareRuntimeDir();
        m_pDir = std::make_unique<Fixtures::CTempDir>();
        // A bus that starts no services: only what the test registers is there.
        const QString strConfig = QString::fromStdString(m_pDir->PathOf("bus.conf").string());
        QFile config(strConfig);
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral(
                         "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                         "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/"
                         "busconfig.dtd\">\n<busconfig><type>session</type>"
                         "<listen>unix:dir=%1</listen><auth>EXTERNAL</auth>"
                         "<policy context=\"default\">"
                         "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                         "<allow eavesdrop=\"true\"/>"
                         "<allow own=\"*\"/></policy></busconfig>\n")
                         .arg(QString::fromStdString(m_pDir->GetPath().string()))
                         .toUtf8());
        config.close();
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--nofork"), QStringLiteral("--print-address"),
                        QStringLiteral("--config-file=") + strConfig});
        if (!m_daemon.waitForStarted())
            QSKIP("dbus-daemon is not installed");
        while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead())
        {
        }
        m_strAddress = QString::fromUtf8(m_daemon.readLine()).trimmed();
        QVERIFY(!m_strAddress.isEmpty());
        QVERIFY(
            QDBusConnection::connectToBus(m_strAddress, QStringLiteral("launcher")).isConnected());
        QVERIFY(QDBusConnection::connectToBus(m_strAddress, QStringLiteral("filemanager"))
                    .isConnected());
    }

    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("launcher"));
        QDBusConnection::disconnectFromBus(QStringLiteral("filemanager"));
        if (m_daemon.state() != QProcess::NotRunning)
        {
            m_daemon.terminate();
            m_daemon.waitForFinished();
        }
        m_pDir.reset();
    }

    void fileManagerShowsTheItem()
    {
        CFakeFileManager manager;
        QDBusConnection bus(QStringLiteral("filemanager"));
        QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager,
                                   QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.FileManager1")));

        CDesktopLauncher launcher(QStringLiteral("launcher"));
        int nFailures = 0;
        launcher.ShowItem(QStringLiteral("/music/new songs/\u00E9t\u00E9 #1.mp3"),
                          [&] { ++nFailures; });
        QTRY_COMPARE(manager.m_nCalls, 1);
        // One URI, encoded; no start-up id.
        QCOMPARE(manager.m_arrItems,
                 QStringList{"file:///music/new%20songs/%C3%A9t%C3%A9%20%231.mp3"});
        QVERIFY(manager.m_strStartupId.isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(nFailures, 0);

        QVERIFY(bus.unregisterService(QStringLiteral("org.freedesktop.FileManager1")));
        bus.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
    }

    void noFileManagerRunsTheFallback()
    {
        CDesktopLauncher launcher(QStringLiteral("launcher"));
        int nFailures = 0;
        launcher.ShowItem(QStringLiteral("/music/a.mp3"), [&] { ++nFailures; });
        // Not at once: the bus answers later.
        QCOMPARE(nFailures, 0);
        QTRY_COMPARE(nFailures, 1);

        // No bus at all: at once.
        CDesktopLauncher offline(QStringLiteral("no such connection"));
        offline.ShowItem(QStringLiteral("/music/a.mp3"), [&] { ++nFailures; });
        QCOMPARE(nFailures, 2);
    }
};

QTEST_MAIN(DesktopLauncherTest)
#include "DesktopLauncherTest.moc"
