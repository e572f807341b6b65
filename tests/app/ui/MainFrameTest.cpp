// The main window as a person meets it: its menu, toolbar and status bar, the command route, the
// busy state with Esc, the start-up paths, drops, the hand-over request and the settings kept
// between two starts.
#include "AppTestEnv.h"

#include "app/ui/App.h"
#include "app/ui/CommandIds.h"
#include "app/ui/MainFrame.h"
#include "app/ui/QtProfileStore.h"
#include "app/ui/SingleInstance.h"
#include "browser/ui/FileView.h"
#include "browser/ui/FolderBar.h"
#include "browser/ui/FolderView.h"
#include "browser/ui/QtString.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLocalSocket>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <memory>

#include <unistd.h>

namespace
{

QStringList ListedPaths(CMainFrame& frame)
{
    QStringList paths;
    for (const CString& strPath : frame.GetListedPaths())
        paths << ToQString(strPath);
    return paths;
}

// The menus as "title|text|id|shortcut" lines, separators as "-".
QStringList DescribeMenus(const CMainFrame& frame)
{
    QStringList lines;
    for (QAction* pMenuAction : frame.menuBar()->actions())
    {
        lines << pMenuAction->text();
        for (QAction* pAction : pMenuAction->menu()->actions())
        {
            if (pAction->isSeparator())
                lines << QStringLiteral("-");
            else
                lines << QStringLiteral("%1|%2|%3")
                             .arg(pAction->text())
                             .arg(pAction->data().toUInt())
                             .arg(pAction->shortcut().toString(QKeySequence::PortableText));
        }
    }
    return lines;
}

// Answers the next modal dialog with its default button, noting its text.
void CloseNextDialog(QString* pText)
{
    QTimer::singleShot(0,
                       [pText]
                       {
                           QWidget* pModal = QApplication::activeModalWidget();
                           if (auto* pBox = qobject_cast<QMessageBox*>(pModal))
                               *pText = pBox->text();
                           if (pModal)
                               pModal->close();
                       });
}

} // namespace

// Stands in for the desktop's file opener.
class UrlCatcher : public QObject
{
    Q_OBJECT

public slots:
    void open(const QUrl& url) { m_urls << url; }

public:
    QList<QUrl> m_urls;
};

class MainFrameTest : public QObject
{
    Q_OBJECT

private slots:
    void menu128()
    {
        CAppTestEnv env;
        CApp app;
        QVERIFY(app.InitInstance(Args({env.DataDir()})));
        const QStringList expected = {
            QStringLiteral("&File"),
            QStringLiteral("&Edit Tag...|32901|"),
            QStringLiteral("Remo&ve Tag...|32902|"),
            QStringLiteral("-"),
            QStringLiteral("Load Play&list...|32910|"),
            QStringLiteral("&Create Playlist...|32903|"),
            QStringLiteral("-"),
            QStringLiteral("&Auto Rename...\tCtrl+F2|32874|Ctrl+F2"),
            QStringLiteral("Tags from File &Name...\tCtrl+Shift+F2|32875|Ctrl+Shift+F2"),
            QStringLiteral("-"),
            QStringLiteral("&Rename\tF2|32907|F2"),
            QStringLiteral("&Properties|32908|Alt+Return"),
            QStringLiteral("-"),
            QStringLiteral("E&xit|57665|"),
            QStringLiteral("&Edit"),
            QStringLiteral("&Undo\tCtrl+Z|57643|Ctrl+Z"),
            QStringLiteral("-"),
            QStringLiteral("Select &All\tCtrl+A|57642|Ctrl+A"),
            QStringLiteral("&Invert Selection\tCtrl+Shift+I|32845|Ctrl+Shift+I"),
            QStringLiteral("-"),
            QStringLiteral("&Remove from List\tDelete|32906|Del"),
            QStringLiteral("Move Up\tCtrl+Up|32929|Ctrl+Up"),
            QStringLiteral("Move Down\tCtrl+Down|32930|Ctrl+Down"),
            QStringLiteral("&View"),
            QStringLiteral("&Toolbar|59392|"),
            QStringLiteral("&Status Bar|59393|"),
            QStringLiteral("&Folders\tCtrl+E|32771|Ctrl+E"),
            QStringLiteral("-"),
            QStringLiteral("C&hoose Columns...|32775|"),
            QStringLiteral("&Refresh\tF5|32772|F5"),
            QStringLiteral("&Tools"),
            QStringLiteral("&Options...|32811|"),
            QStringLiteral("&Help"),
            QStringLiteral("&Version History|32846|"),
            QStringLiteral("&Term of Use|32873|"),
            QStringLiteral("-"),
            QStringLiteral("&About Tagwright...|57664|"),
        };
        QCOMPARE(DescribeMenus(*app.GetMainFrame()), expected);
        app.ExitInstance();
    }

    void toolbarStandard()
    {
        CAppTestEnv env;
        CApp app;
        QVERIFY(app.InitInstance(Args({env.DataDir()})));
        QToolBar* pBar = app.GetMainFrame()->GetToolBar();
        QCOMPARE(pBar->windowTitle(), QStringLiteral("Standard"));
        QStringList ids;
        for (QAction* pAction : pBar->actions())
        {
            ids << (pAction->isSeparator() ? QStringLiteral("-")
                                           : QString::number(pAction->data().toUInt()));
            if (!pAction->isSeparator())
                QVERIFY2(!pAction->icon().isNull(), qPrintable(pAction->toolTip()));
        }
        QCOMPARE(ids, QStringList({"32771", "32772", "-", "32910", "32903", "-", "32901", "32902",
                                   "-", "32904", "32908", "32874", "-", "32811"}));
        app.ExitInstance();
    }

    void statusBarLayouts()
    {
        CAppTestEnv env;
        CApp app;
        env.MakeMp3(QStringLiteral("one/a.mp3"));
        env.MakeMp3(QStringLiteral("one/b.mp3"));
        QVERIFY(app.InitInstance(Args({env.DataDir() + QStringLiteral("/one/a.mp3")})));
        CMainFrame& frame = *app.GetMainFrame();
        QCOMPARE(frame.GetMessageText(), QStringLiteral("Ready"));
        QCOMPARE(frame.GetSecondPaneText(), QStringLiteral("1 item"));
        frame.OpenPath(ToCString(env.DataDir() + QStringLiteral("/one/b.mp3")), nullptr);
        frame.UpdateCommandUI();
        QCOMPARE(frame.GetSecondPaneText(), QStringLiteral("2 items"));
        frame.ClearFileList();
        frame.UpdateCommandUI();
        QCOMPARE(frame.GetSecondPaneText(), QStringLiteral("0 item"));

        app.BeginBusy();
        QVERIFY(frame.IsBusyLayout());
        QCOMPARE(frame.GetMessageText(), QStringLiteral("Please wait..."));
        QCOMPARE(frame.GetSecondPaneText(), QStringLiteral("Press [Esc] to cancel"));
        auto* pIcon = frame.findChild<QLabel*>(QStringLiteral("BusyIcon"));
        QVERIFY(pIcon && pIcon->pixmap().size() == QSize(16, 16));
        QVERIFY(QApplication::overrideCursor() &&
                QApplication::overrideCursor()->shape() == Qt::WaitCursor);
        app.EndBusy();
        QVERIFY(!frame.IsBusyLayout());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(frame.GetMessageText(), QStringLiteral("Ready"));
        QCOMPARE(frame.GetSecondPaneText(), QStringLiteral("0 item"));
        // An EndBusy without a BeginBusy changes nothing.
        frame.SetStatusText(CString(u"Custom"));
        app.EndBusy();
        QCOMPARE(frame.GetMessageText(), QStringLiteral("Custom"));
        app.ExitInstance();
    }

    void escCancelsALongScan()
    {
        CAppTestEnv env;
        const QString strFolder = env.MakeFolder(QStringLiteral("many"), 40);
        CApp app;
        QVERIFY(app.InitInstance(Args({env.DataDir() + QStringLiteral("/many/track000.mp3")})));
        CMainFrame& frame = *app.GetMainFrame();
        frame.ClearFileList();
        // The key waits in the queue; the scan's first poll finds it.
        QCoreApplication::postEvent(
            frame.GetFileView(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        frame.AddFolder(ToCString(strFolder), FALSE, nullptr);
        QVERIFY(app.IsCancelRequested());
        QVERIFY(frame.GetFileView()->GetItemCount() < 40);
        QVERIFY(!app.IsBusy());
        // Without Esc the same scan runs to its end.
        frame.ClearFileList();
        frame.AddFolder(ToCString(strFolder), FALSE, nullptr);
        QCOMPARE(frame.GetFileView()->GetItemCount(), 40);
        app.ExitInstance();
    }

    void commandRouteAndStates()
    {
        CAppTestEnv env;
        env.MakeMp3(QStringLiteral("a.mp3"));
        CApp app;
        QVERIFY(app.InitInstance(Args({env.DataDir()})));
        CMainFrame& frame = *app.GetMainFrame();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        for (UINT nID :
             {Cmd::ID_APP_EXIT, Cmd::ID_VIEW_REFRESH, Cmd::ID_VIEW_FOLDERS, Cmd::ID_VERSION_HISTORY,
              Cmd::ID_TERM_OF_USE, Cmd::ID_SELECT_ALL, Cmd::ID_TOOLS_OPTIONS, Cmd::ID_APP_ABOUT})
            QVERIFY(frame.QueryCommandState(nID).bEnabled);
        // The list decides its own commands: Remove from List needs a selection.
        QVERIFY(!frame.QueryCommandState(Cmd::ID_REMOVE_FROM_LIST).bEnabled);
        QVERIFY(frame.RouteCommand(Cmd::ID_SELECT_ALL));
        QVERIFY(frame.QueryCommandState(Cmd::ID_REMOVE_FROM_LIST).bEnabled);
        frame.UpdateCommandUI();
        QVERIFY(frame.GetAction(Cmd::ID_REMOVE_FROM_LIST)->isEnabled());
        frame.GetAction(Cmd::ID_REMOVE_FROM_LIST)->trigger();
        QCOMPARE(frame.GetFileView()->GetItemCount(), 0);

        // Folders (Ctrl+E) hides and shows the pane; its item is checked while it shows.
        QVERIFY(frame.GetFolderPane()->isVisible());
        QTest::keyClick(&frame, Qt::Key_E, Qt::ControlModifier);
        QVERIFY(!frame.GetFolderPane()->isVisible());
        frame.UpdateCommandUI();
        QVERIFY(!frame.GetAction(Cmd::ID_VIEW_FOLDERS)->isChecked());
        QTest::keyClick(&frame, Qt::Key_E, Qt::ControlModifier);
        QVERIFY(frame.GetFolderPane()->isVisible());
        frame.UpdateCommandUI();
        QVERIFY(frame.GetAction(Cmd::ID_VIEW_FOLDERS)->isChecked());
        // The toolbar's and status bar's items toggle them.
        frame.GetAction(Cmd::ID_VIEW_TOOLBAR)->trigger();
        QVERIFY(!frame.GetToolBar()->isVisible());
        frame.GetAction(Cmd::ID_VIEW_TOOLBAR)->trigger();
        QVERIFY(frame.GetToolBar()->isVisible());
        app.ExitInstance();
    }

    void refreshLoadsTheSelectedFolder()
    {
        CAppTestEnv env;
        const QString strFolder = env.MakeFolder(QStringLiteral("r"), 3);
        const QString strOther = env.MakeMp3(QStringLiteral("other.mp3"));
        CApp app;
        QVERIFY(app.InitInstance(Args({strOther})));
        CMainFrame& frame = *app.GetMainFrame();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        // No folder selected: nothing happens, the list stays.
        frame.GetFolderPane()->GetFolderView()->clearSelection();
        frame.GetFolderPane()->GetFolderView()->setCurrentIndex(QModelIndex());
        if (frame.GetFolderPane()->GetSelectedPath().IsEmpty())
        {
            QTest::keyClick(&frame, Qt::Key_F5);
            QCOMPARE(ListedPaths(frame), QStringList({strOther}));
        }
        QVERIFY(frame.GetFolderPane()->SelectFolder(ToCString(strFolder)));
        QCOMPARE(ToQString(frame.GetFolderPane()->GetSelectedPath()), strFolder);
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QTest::keyClick(&frame, Qt::Key_F5);
        QCOMPARE(frame.GetFileView()->GetItemCount(), 3);
        QCOMPARE(ToQString(app.m_strLastPath), strFolder);
        app.ExitInstance();
    }

    void startsWithCommandLineFiles()
    {
        CAppTestEnv env;
        const QString a = env.MakeMp3(QStringLiteral("a.mp3"));
        const QString b = env.MakeMp3(QStringLiteral("b.mp3"));
        const QString c = env.MakeMp3(QStringLiteral("c.mp3"));
        CApp app;
        // One argument joins the paths with "|"; a second plain argument is ignored.
        QVERIFY(app.InitInstance(Args({b + QStringLiteral("|") + a, c})));
        QCOMPARE(ListedPaths(*app.GetMainFrame()), QStringList({b, a}));
        app.ExitInstance();
    }

    void missingCommandLineFileIsReported()
    {
        CAppTestEnv env;
        const QString a = env.MakeMp3(QStringLiteral("a.mp3"));
        CApp app;
        QString strShown;
        QTimer::singleShot(0,
                           [&strShown]
                           {
                               QWidget* pModal = QApplication::activeModalWidget();
                               if (pModal)
                               {
                                   strShown = pModal->objectName();
                                   pModal->close();
                               }
                           });
        QVERIFY(app.InitInstance(
            Args({a + QStringLiteral("|") + env.DataDir() + QStringLiteral("/nothing.txt")})));
        QCOMPARE(strShown, QStringLiteral("DiagnosticDialog"));
        QCOMPARE(ListedPaths(*app.GetMainFrame()), QStringList({a}));
        app.ExitInstance();
    }

    void startsInTheStartFolder()
    {
        CAppTestEnv env;
        const QString strLast = env.MakeFolder(QStringLiteral("last"), 2);
        const QString strUser = env.MakeFolder(QStringLiteral("user"), 3);
        {
            CQtProfileStore store;
            store.WriteProfileString(CString(u"Settings"), CString(u"LastPath"),
                                     ToCString(strLast));
            store.WriteProfileString(CString(u"Settings"), CString(u"UserPath"),
                                     ToCString(strUser));
        }
        {
            CApp app;
            QVERIFY(app.InitInstance({}));
            QCOMPARE(app.GetMainFrame()->GetFileView()->GetItemCount(), 2);
            // The pane shows the start folder selected.
            QCOMPARE(ToQString(app.GetMainFrame()->GetFolderPane()->GetSelectedPath()), strLast);
            app.m_bContinueFromLastPath = FALSE;
            app.ExitInstance();
        }
        CApp app;
        QVERIFY(app.InitInstance({}));
        QCOMPARE(app.GetMainFrame()->GetFileView()->GetItemCount(), 3);
        app.ExitInstance();
    }

    void settingsKeptBetweenStarts()
    {
        CAppTestEnv env;
        const QString a = env.MakeMp3(QStringLiteral("a.mp3"));
        QByteArray geometry;
        {
            CApp app;
            QVERIFY(app.InitInstance(Args({a})));
            QCOMPARE(app.m_nID3v2WriteVersion, 3);
            app.m_nID3v2WriteVersion = 4;
            app.m_strUserPath = CString(u"/srv/music");
            CMainFrame& frame = *app.GetMainFrame();
            frame.resize(640, 480);
            frame.GetAction(Cmd::ID_VIEW_FOLDERS)->trigger();
            QVERIFY(!frame.GetFolderPane()->isVisible());
            app.ExitInstance();
        }
        QVERIFY(QFileInfo::exists(env.SettingsFile()));
        CApp app;
        QVERIFY(app.InitInstance(Args({a})));
        QCOMPARE(app.m_nID3v2WriteVersion, 4);
        QCOMPARE(ToQString(app.m_strUserPath), QStringLiteral("/srv/music"));
        QCOMPARE(app.GetMainFrame()->size(), QSize(640, 480));
        QVERIFY(!app.GetMainFrame()->GetFolderPane()->isVisible());
        app.ExitInstance();
    }

    void registrationRunHasNoWindow()
    {
        CAppTestEnv env;
        for (const QString& strSwitch : {QStringLiteral("-install"), QStringLiteral("/Install"),
                                         QStringLiteral("-DisableShellIntegration")})
        {
            CApp app;
            QVERIFY(app.InitInstance(Args({env.DataDir(), strSwitch})));
            QVERIFY(!app.GetMainFrame());
            QVERIFY(app.GetRegistrationCommand() != 0);
            QCOMPARE(app.ExitInstance(), 0);
        }
        // Neither loaded nor saved: no settings file.
        QVERIFY(!QFileInfo::exists(env.SettingsFile()));
    }

    void dropAddsFilesAndFolders()
    {
        CAppTestEnv env;
        const QString a = env.MakeMp3(QStringLiteral("a.mp3"));
        const QString strFolder = env.MakeFolder(QStringLiteral("d"), 2);
        CApp app;
        QVERIFY(app.InitInstance(Args({a})));
        CMainFrame& frame = *app.GetMainFrame();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(strFolder), QUrl::fromLocalFile(a)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(&frame, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&frame, &drop);
        QCOMPARE(ListedPaths(frame), QStringList({a, strFolder + QStringLiteral("/track000.mp3"),
                                                  strFolder + QStringLiteral("/track001.mp3")}));
        app.ExitInstance();
    }

    void fileOpenRequestReplacesTheList()
    {
        CAppTestEnv env;
        const QString a = env.MakeMp3(QStringLiteral("a.mp3"));
        const QString b = env.MakeMp3(QStringLiteral("b.mp3"));
        CApp app;
        QVERIFY(app.InitInstance(Args({a})));
        CMainFrame& frame = *app.GetMainFrame();
        QVERIFY(CSingleInstance::WriteHandOverFile({ToCString(b)}));
        frame.OnFileOpenMessage();
        QCOMPARE(ListedPaths(frame), QStringList({b}));
        // Read once: the list goes, and a missing list empties the window's list all the same.
        QVERIFY(!QFileInfo::exists(ToQString(CSingleInstance::GetHandOverPath())));
        frame.OnFileOpenMessage();
        QCOMPARE(frame.GetFileView()->GetItemCount(), 0);
        app.ExitInstance();
    }

    void fileOpenRequestIgnoresAListThatIsNotTheUsers()
    {
        CAppTestEnv env;
        const QString a = env.MakeMp3(QStringLiteral("a.mp3"));
        const QString b = env.MakeMp3(QStringLiteral("b.mp3"));
        CApp app;
        QVERIFY(app.InitInstance(Args({a})));
        CMainFrame& frame = *app.GetMainFrame();
        const QString strList = ToQString(CSingleInstance::GetHandOverPath());
        // A link in the list's place, to a list that names b.
        const QString strOther = env.DataDir() + QStringLiteral("/other.lst");
        QFile other(strOther);
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write(QFile::encodeName(b) + '\n');
        other.close();
        QVERIFY(QFile::link(strOther, strList));
        frame.OnFileOpenMessage();
        QCOMPARE(frame.GetFileView()->GetItemCount(), 0);
        QFile::remove(strList);
        if (::geteuid() == 0)
        {
            // Another user's list.
            QVERIFY(CSingleInstance::WriteHandOverFile({ToCString(b)}));
            QCOMPARE(::chown(QFile::encodeName(strList).constData(), 65534, 65534), 0);
            frame.OnFileOpenMessage();
            QCOMPARE(frame.GetFileView()->GetItemCount(), 0);
        }
        app.ExitInstance();
    }

    void handOverWaitsWhileBusy()
    {
        CAppTestEnv env;
        const QString a = env.MakeMp3(QStringLiteral("a.mp3"));
        const QString b = env.MakeMp3(QStringLiteral("b.mp3"));
        CApp app;
        QVERIFY(app.InitInstance(Args({a})));
        CMainFrame& frame = *app.GetMainFrame();
        QVERIFY(CSingleInstance::WriteHandOverFile({ToCString(b)}));

        app.BeginBusy();
        QLocalSocket client;
        client.connectToServer(CSingleInstance::GetServerPath());
        QVERIFY(client.waitForConnected(5000));
        client.write("FileOpen\n");
        QVERIFY(client.waitForBytesWritten(5000));
        // The operation's steps let events run: the request arrives but is not carried out.
        for (int i = 0; i < 50; ++i)
        {
            app.IsCancelRequested();
            QTest::qWait(1);
        }
        QCOMPARE(ListedPaths(frame), QStringList({a}));
        QVERIFY(!client.canReadLine());
        app.EndBusy();
        QVERIFY(QTest::qWaitFor([&client] { return client.canReadLine(); }, 30000));
        QCOMPARE(client.readLine(), QByteArray("Done\n"));
        QCOMPARE(ListedPaths(frame), QStringList({b}));
        app.ExitInstance();
    }

    void helpTextsOpenBesideTheProgram()
    {
        CAppTestEnv env;
        CApp app;
        QVERIFY(app.InitInstance(Args({env.DataDir()})));
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        app.GetMainFrame()->GetAction(Cmd::ID_VERSION_HISTORY)->trigger();
        app.GetMainFrame()->GetAction(Cmd::ID_TERM_OF_USE)->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        const QString strDir = QCoreApplication::applicationDirPath();
        QCOMPARE(catcher.m_urls,
                 QList<QUrl>({QUrl::fromLocalFile(strDir + QStringLiteral("/VersionHistory.txt")),
                              QUrl::fromLocalFile(strDir + QStringLiteral("/TermOfUse.txt"))}));
        // A missing file: an error box names the path and the reason.
        QString strText;
        CloseNextDialog(&strText);
        app.OpenProgramFile(CString(u"NoSuchHelp.txt"));
        QCOMPARE(strText, strDir + QStringLiteral("/NoSuchHelp.txt\n\nNo such file or directory"));
        app.ExitInstance();
    }
};

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
