// Edit Tag and Remove Tag from the main window's list: the tag editor over one selected file,
// the removal over the selection with its question, and the rows shown again afterwards.
#include "AppTestEnv.h"

#include "app/ui/App.h"
#include "app/ui/CommandIds.h"
#include "app/ui/MainFrame.h"
#include "app/ui/OptionsDialog.h"
#include "browser/FileAssocData.h"
#include "browser/ui/FileView.h"
#include "browser/ui/FileViewCommands.h"
#include "browser/ui/QtString.h"
#include "editor/ui/MultiTagEditDialog.h"
#include "editor/ui/SingleTagEditDialog.h"
#include "res/StringTable.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace
{

QByteArray ReadAll(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Select(CFileView& view, const std::vector<int>& arrRows)
{
    view.SelectRows(arrRows);
    view.selectionModel()->setCurrentIndex(view.model()->index(arrRows.front(), 0),
                                           QItemSelectionModel::NoUpdate);
}

} // namespace

class TagCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void enterEditsTheTagsOfTheSelectedFile()
    {
        CAppTestEnv env;
        const QString a = env.MakeMp3(QStringLiteral("a.mp3"));
        const QString b = env.MakeMp3(QStringLiteral("b.mp3"));
        CApp app;
        QVERIFY(app.InitInstance(Args({a + QStringLiteral("|") + b})));
        CFileView& view = *app.GetMainFrame()->GetFileView();
        Select(view, {1});
        QVERIFY(view.IsCommandEnabled(Cmd::ID_EDIT_TAG));
        const QByteArray original = ReadAll(b);
        QAction* pUndo = app.GetMainFrame()->GetAction(Cmd::ID_EDIT_UNDO);
        QVERIFY(pUndo && !pUndo->isEnabled());

        bool bEditor = false;
        QTimer::singleShot(
            0,
            [&bEditor]
            {
                auto* pDialog =
                    qobject_cast<CSingleTagEditDialog*>(QApplication::activeModalWidget());
                bEditor = pDialog != nullptr;
                if (!pDialog)
                    return;
                // Options... opens the options on their "Tags" page.
                int nPage = -1;
                QTimer::singleShot(0,
                                   [&nPage]
                                   {
                                       auto* pOptions = qobject_cast<COptionsDialog*>(
                                           QApplication::activeModalWidget());
                                       if (!pOptions)
                                           return;
                                       nPage = pOptions->GetActiveIndex();
                                       pOptions->reject();
                                   });
                pDialog->findChild<QPushButton*>(QStringLiteral("6"))->click();
                QCOMPARE(nPage, int(COptionsDialog::PAGE_TAGS));
                auto* pTitle = pDialog->findChild<QLineEdit*>(QStringLiteral("1010"));
                pTitle->setText(QStringLiteral("Edited"));
                QTest::keyClick(pTitle, Qt::Key_Return);
            });
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_Return);
        QVERIFY(bEditor);
        QCOMPARE(ToQString(view.GetRecord(1)->m_strTitle), QStringLiteral("Edited"));
        QCOMPARE(view.model()->index(1, 0).siblingAtColumn(0).data().toString(),
                 QStringLiteral("b.mp3"));

        // Ctrl+Z says what it takes back, and puts the file back as it was.
        app.GetMainFrame()->UpdateCommandUI();
        QCOMPARE(pUndo->text(), QStringLiteral("&Undo Edit Tag (1 file)\tCtrl+Z"));
        QCOMPARE(pUndo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        pUndo->trigger();
        QCOMPARE(ReadAll(b), original);
        QCOMPARE(ToQString(view.GetRecord(1)->m_strTitle), QStringLiteral("b"));
        app.GetMainFrame()->UpdateCommandUI();
        QVERIFY(!pUndo->isEnabled());
        QCOMPARE(pUndo->text(), QStringLiteral("&Undo\tCtrl+Z"));
        app.ExitInstance();
    }

    void editTagOverSeveralFilesWritesEachAndReloadsEveryRow()
    {
        CAppTestEnv env;
        const QString a = env.MakeMp3(QStringLiteral("a.mp3"));
        const QString b = env.MakeMp3(QStringLiteral("b.mp3"));
        const QString c = env.MakeMp3(QStringLiteral("c.mp3"));
        CApp app;
        QVERIFY(app.InitInstance(Args({a + QStringLiteral("|") + b + QStringLiteral("|") + c})));
        app.m_bWriteID3v1 = TRUE;
        CFileView& view = *app.GetMainFrame()->GetFileView();
        const QByteArray originalA = ReadAll(a);
        const QByteArray originalC = ReadAll(c);
        Select(view, {0, 2});
        QVERIFY(view.IsCommandEnabled(Cmd::ID_EDIT_TAG));

        // The scan lets events run, so the editor is waited for rather than expected at once.
        QStringList arrStatus;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout,
                         [&poll, &arrStatus, &app]
                         {
                             auto* pDialog = qobject_cast<CMultiTagEditDialog*>(
                                 QApplication::activeModalWidget());
                             if (!pDialog || !pDialog->isVisible())
                                 return;
                             poll.stop();
                             arrStatus.append(app.GetMainFrame()->GetMessageText());
                             auto* pAlbum = pDialog->findChild<QLineEdit*>(QStringLiteral("1029"));
                             pAlbum->setText(QStringLiteral("Together"));
                             QTest::keyClick(pAlbum, Qt::Key_Return);
                         });
        poll.start();
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_Return);
        // The scan is over before the editor shows; the status bar is back to idle.
        QCOMPARE(arrStatus, QStringList{QStringLiteral("Ready")});
        QCOMPARE(ToQString(view.GetRecord(0)->m_strAlbum), QStringLiteral("Together"));
        QCOMPARE(ToQString(view.GetRecord(1)->m_strAlbum), QString());
        QCOMPARE(ToQString(view.GetRecord(2)->m_strAlbum), QStringLiteral("Together"));
        QCOMPARE(view.model()->index(2, 0).data().toString(), QStringLiteral("c.mp3"));

        QCOMPARE(ToQString(view.GetUndoText()), QStringLiteral("Undo Edit Tag (2 files)"));
        QVERIFY(app.GetMainFrame()->RouteCommand(Cmd::ID_EDIT_UNDO));
        QCOMPARE(ReadAll(a), originalA);
        QCOMPARE(ReadAll(c), originalC);
        QCOMPARE(ToQString(view.GetRecord(2)->m_strAlbum), QString());
        app.ExitInstance();
    }

    void removeTagAsksFirstAndStripsTheSelection()
    {
        CAppTestEnv env;
        const QString a = env.MakeMp3(QStringLiteral("a.mp3"));
        const QString b = env.MakeMp3(QStringLiteral("b.mp3"));
        CApp app;
        QVERIFY(app.InitInstance(Args({a + QStringLiteral("|") + b})));
        app.m_bRemoveID3v1 = TRUE;
        app.m_bRemoveID3v2 = TRUE;
        CMainFrame& frame = *app.GetMainFrame();
        CFileView& view = *frame.GetFileView();
        const LONGLONG nOldSize = view.GetRecord(0)->m_nSize;
        const QByteArray originalA = ReadAll(a);
        const QByteArray originalB = ReadAll(b);
        Select(view, {0, 1});

        // "No" leaves everything as it was; "Yes" strips both files.
        for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes})
        {
            QString strQuestion;
            QTimer::singleShot(0,
                               [&strQuestion, answer]
                               {
                                   auto* pBox = qobject_cast<QMessageBox*>(
                                       QApplication::activeModalWidget());
                                   if (!pBox)
                                       return;
                                   strQuestion = pBox->text();
                                   pBox->button(answer)->click();
                               });
            QVERIFY(frame.RouteCommand(Cmd::ID_REMOVE_TAG));
            QCOMPARE(strQuestion, ToQString(Res::LoadResourceString(Res::IDS_CONFIRM_REMOVE_TAGS)));
        }
        for (int nRow = 0; nRow < 2; ++nRow)
        {
            QCOMPARE(ToQString(view.GetRecord(nRow)->m_strTag), QString());
            QCOMPARE(ToQString(view.GetRecord(nRow)->m_strTitle), QString());
        }
        QCOMPARE(view.GetRecord(0)->m_nSize, nOldSize - 128);

        QVERIFY(frame.RouteCommand(Cmd::ID_EDIT_UNDO));
        QCOMPARE(ReadAll(a), originalA);
        QCOMPARE(ReadAll(b), originalB);
        QCOMPARE(view.GetRecord(0)->m_nSize, nOldSize);
        app.ExitInstance();
    }

    // The README's pictures: Edit Tag's dialog over the rows asked for is pictured and
    // cancelled, and the window closes; no file changes.
    void screenshotHookPicturesTheEditorAndCancelsIt()
    {
        CAppTestEnv env;
        const QString a = env.MakeMp3(QStringLiteral("a.mp3"));
        const QString b = env.MakeMp3(QStringLiteral("b.mp3"));
        const QByteArray bytes = ReadAll(a);
        const QString strShot = env.DataDir() + QStringLiteral("/editor.png");
        qputenv("TAGWRIGHT_SCREENSHOT", QFile::encodeName(strShot));
        qputenv("TAGWRIGHT_SCREENSHOT_DIALOG", "edit-tag");
        qputenv("TAGWRIGHT_SCREENSHOT_ROWS", "0,1");
        CApp app;
        const bool bStarted = app.InitInstance(Args({a + QStringLiteral("|") + b}));
        for (const char* pszName :
             {"TAGWRIGHT_SCREENSHOT", "TAGWRIGHT_SCREENSHOT_DIALOG", "TAGWRIGHT_SCREENSHOT_ROWS"})
            qunsetenv(pszName);
        QVERIFY(bStarted);

        bool bMulti = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(
            &poll, &QTimer::timeout,
            [&bMulti]
            {
                if (qobject_cast<CMultiTagEditDialog*>(QApplication::activeModalWidget()))
                    bMulti = true;
            });
        poll.start();
        QTRY_VERIFY_WITH_TIMEOUT(!app.GetMainFrame()->isVisible(), 60000);
        QVERIFY(bMulti);
        QVERIFY(!QImage(strShot).isNull());
        QCOMPARE(ReadAll(a), bytes);
        app.ExitInstance();
    }
};

QTEST_MAIN(TagCommandsTest)
#include "TagCommandsTest.moc"
