// Auto Rename and the rename presets from the main window's list: the dialog over the
// selection, the confirmation, the files renamed and the rows shown again; the presets kept in
// the profile; records that can no longer be read leaving the list.
#include "AppTestEnv.h"

#include "app/ui/App.h"
#include "app/ui/MainFrame.h"
#include "browser/FileAssocData.h"
#include "browser/ui/FileView.h"
#include "browser/ui/FileViewCommands.h"
#include "browser/ui/QtString.h"
#include "fixtures/Mp3Builder.h"
#include "rename/ui/AlterNameDialog.h"
#include "rename/ui/AutoRenameDialog.h"
#include "rename/ui/RenameListDialog.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <filesystem>
#include <functional>
#include <sys/stat.h>

namespace
{

template <typename T> T* Child(const QWidget* pParent, const char* pszName)
{
    return pParent->findChild<T*>(QString::fromLatin1(pszName));
}

// An MP3 file of the album with its title and track in an ID3v1 tag.
QString MakeTrack(const CAppTestEnv& env, const QString& strName, const std::string& strTitle,
                  int nTrack)
{
    const QString strPath = env.DataDir() + QStringLiteral("/album/") + strName;
    std::filesystem::create_directories(QFile::encodeName(env.DataDir() + "/album").constData());
    Fixtures::CMp3Builder::Id3v1Fields fields;
    fields.m_strTitle = strTitle;
    fields.m_strAlbum = "Album";
    fields.m_nTrack = nTrack;
    Fixtures::CMp3Builder().AddFrames({}, 4).AddId3v1(fields).WriteTo(
        QFile::encodeName(strPath).constData());
    return strPath;
}

QStringList Names(const CFileView& view)
{
    QStringList arrNames;
    for (int nRow = 0; nRow < view.model()->rowCount(); ++nRow)
        arrNames.append(view.model()->index(nRow, 0).data().toString());
    return arrNames;
}

QStringList FilesOf(const QString& strFolder)
{
    QStringList arrNames;
    for (const auto& entry :
         std::filesystem::directory_iterator(QFile::encodeName(strFolder).constData()))
        arrNames.append(QString::fromStdString(entry.path().filename().string()));
    arrNames.sort();
    return arrNames;
}

// The preset entries of the list's context menu.
QList<QAction*> PresetEntries(CFileView& view, std::unique_ptr<QMenu>& pMenu)
{
    pMenu = view.CreateItemMenu();
    for (QAction* pAction : pMenu->actions())
    {
        if (pAction->menu())
            return pAction->menu()->actions();
    }
    return {};
}

// Hands every new modal widget to fn once, also those opened from inside fn.
class CModalScript : public QObject
{
public:
    explicit CModalScript(std::function<void(QWidget*)> fn) : m_fn(std::move(fn))
    {
        QTimer::singleShot(0, this, &CModalScript::Check);
    }

private:
    void Check()
    {
        QTimer::singleShot(5, this, &CModalScript::Check);
        QWidget* pModal = QApplication::activeModalWidget();
        if (!pModal || !pModal->isVisible() || m_handled.contains(pModal))
            return;
        m_handled.append(pModal);
        pModal->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pModal));
        m_fn(pModal);
        // A script that stopped at a failed check must not leave its dialog open.
        if (pModal->isVisible() && QApplication::activeModalWidget() == pModal)
            pModal->close();
    }

    std::function<void(QWidget*)> m_fn;
    QList<QPointer<QWidget>> m_handled;
};

void ChooseToken(QToolButton* pButton, UINT nID)
{
    QTimer::singleShot(0, pButton,
                       [nID]
                       {
                           auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                           QVERIFY(pMenu);
                           for (QAction* pAction : pMenu->actions())
                           {
                               if (pAction->data().toUInt() == nID)
                                   QTest::mouseClick(pMenu, Qt::LeftButton, {},
                                                     pMenu->actionGeometry(pAction).center());
                           }
                       });
    QTest::mouseClick(pButton, Qt::LeftButton);
}

// Confirms the plan shown with Return.
void Confirm(QWidget* pModal)
{
    QVERIFY(qobject_cast<CRenameListDialog*>(pModal));
    QTest::keyClick(Child<QTreeView>(pModal, "1081"), Qt::Key_Return);
}

} // namespace

class RenameCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void ctrlF2RenamesTheSelectionAfterThePlan()
    {
        CAppTestEnv env;
        MakeTrack(env, QStringLiteral("a.mp3"), "Intro", 1);
        MakeTrack(env, QStringLiteral("b.mp3"), "Song", 2);
        MakeTrack(env, QStringLiteral("c.mp3"), "Outro", 3);
        CApp app;
        QVERIFY(app.InitInstance(Args({env.DataDir() + QStringLiteral("/album")})));
        CFileView& view = *app.GetMainFrame()->GetFileView();
        QCOMPARE(Names(view), (QStringList{"a.mp3", "b.mp3", "c.mp3"}));
        view.SelectRows({0, 1, 2});

        CModalScript script(
            [](QWidget* pModal)
            {
                if (qobject_cast<CAutoRenameDialog*>(pModal))
                {
                    // "<track> - <title>" from the menu, the first file's new name beneath.
                    auto* pEdit = Child<QLineEdit>(pModal, "1070");
                    auto* pButton = Child<QToolButton>(pModal, "1068");
                    ChooseToken(pButton, 32917);
                    QTest::keyClicks(pEdit, QStringLiteral(" - "));
                    ChooseToken(pButton, 32914);
                    QCOMPARE(pEdit->text(), QStringLiteral("<track> - <title>"));
                    QCOMPARE(Child<QLabel>(pModal, "Preview")->text(),
                             QStringLiteral("1 - Intro.mp3"));
                    QTest::keyClick(pEdit, Qt::Key_Return);
                }
                else if (qobject_cast<CAlterNameDialog*>(pModal))
                {
                    auto* pEdit = Child<QLineEdit>(pModal, "1082");
                    QCOMPARE(pEdit->text(), QStringLiteral("3 - Outro.mp3"));
                    pEdit->setText(QStringLiteral("3 - Finale.mp3"));
                    QTest::keyClick(pEdit, Qt::Key_Return);
                }
                else
                {
                    // One name altered (F2 on its row), then the plan confirmed.
                    auto* pList = Child<QTreeView>(pModal, "1081");
                    pList->setCurrentIndex(pList->model()->index(2, 0));
                    QTest::keyClick(pList, Qt::Key_F2);
                    Confirm(pModal);
                }
            });
        app.GetMainFrame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(app.GetMainFrame()));
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_F2, Qt::ControlModifier);
        const QStringList arrRenamed{"1 - Intro.mp3", "2 - Song.mp3", "3 - Finale.mp3"};
        QCOMPARE(FilesOf(env.DataDir() + QStringLiteral("/album")), arrRenamed);
        QCOMPARE(Names(view), arrRenamed);
        QCOMPARE(ToQString(view.GetRecord(2)->m_strTitle), QStringLiteral("Outro"));

        // Ctrl+Z gives the three files and their rows the old names back.
        app.GetMainFrame()->UpdateCommandUI();
        QCOMPARE(ToQString(view.GetUndoText()), QStringLiteral("Undo Auto Rename (3 files)"));
        QVERIFY(app.GetMainFrame()->GetAction(Cmd::ID_EDIT_UNDO)->isEnabled());
        app.GetMainFrame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(app.GetMainFrame()));
        QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
        const QStringList arrOld{"a.mp3", "b.mp3", "c.mp3"};
        QCOMPARE(FilesOf(env.DataDir() + QStringLiteral("/album")), arrOld);
        QCOMPARE(Names(view), arrOld);
        app.ExitInstance();
    }

    void presetsAreKeptRunFromTheMenuAndStoredAtExit()
    {
        CAppTestEnv env;
        MakeTrack(env, QStringLiteral("a.mp3"), "Intro", 1);
        MakeTrack(env, QStringLiteral("b.mp3"), "Song", 2);
        const QStringList arrArgs{env.DataDir() + QStringLiteral("/album")};
        std::unique_ptr<QMenu> pMenu;
        {
            CApp app;
            QVERIFY(app.InitInstance(Args(arrArgs)));
            CFileView& view = *app.GetMainFrame()->GetFileView();
            view.SelectRows({0, 1});
            const int nDefaults = app.m_presets.GetCount();
            {
                // Added in the dialog, which is then cancelled: the preset stays.
                CModalScript script(
                    [](QWidget* pModal)
                    {
                        Child<QLineEdit>(pModal, "1070")
                            ->setText(QStringLiteral("<album> <track>"));
                        Child<QPushButton>(pModal, "1086")->click();
                        QTest::keyClick(pModal, Qt::Key_Escape);
                    });
                QVERIFY(app.GetMainFrame()->RouteCommand(Cmd::ID_AUTO_RENAME));
            }
            QCOMPARE(app.m_presets.GetCount(), nDefaults + 1);
            const QList<QAction*> arrEntries = PresetEntries(view, pMenu);
            QCOMPARE(arrEntries.size(), nDefaults + 1);
            QCOMPARE(arrEntries.last()->text(), QStringLiteral("<album> <track>"));
            QCOMPARE(FilesOf(arrArgs[0]), (QStringList{"a.mp3", "b.mp3"}));

            // The stored preset renames from the context menu, without the dialog.
            CModalScript confirm(Confirm);
            arrEntries.last()->trigger();
            QCOMPARE(FilesOf(arrArgs[0]), (QStringList{"Album 1.mp3", "Album 2.mp3"}));
            QCOMPARE(Names(view), (QStringList{"Album 1.mp3", "Album 2.mp3"}));
            pMenu.reset();
            app.ExitInstance();
        }
        {
            // Stored at exit; every preset deleted in the dialog.
            CApp app;
            QVERIFY(app.InitInstance(Args(arrArgs)));
            QCOMPARE(app.m_presets.GetCount(), 5);
            QCOMPARE(GetPresetFormat(*app.m_presets.GetPreset(4)), CString(u"<album> <track>"));
            app.GetMainFrame()->GetFileView()->SelectRows({0});
            CModalScript script(
                [](QWidget* pModal)
                {
                    auto* pList = Child<QWidget>(pModal, "1085")->findChild<QListWidget*>();
                    pList->setFocus();
                    while (pList->count() > 0)
                    {
                        pList->setCurrentRow(0);
                        QTest::keyClick(pList, Qt::Key_Delete);
                    }
                    QTest::keyClick(pModal, Qt::Key_Escape);
                });
            QVERIFY(app.GetMainFrame()->RouteCommand(Cmd::ID_AUTO_RENAME));
            QCOMPARE(app.m_presets.GetCount(), 0);
            app.ExitInstance();
        }
        // The next start shows none.
        CApp app;
        QVERIFY(app.InitInstance(Args(arrArgs)));
        QCOMPARE(app.m_presets.GetCount(), 0);
        CFileView& view = *app.GetMainFrame()->GetFileView();
        view.SelectRows({0});
        QVERIFY(PresetEntries(view, pMenu).isEmpty());
        pMenu.reset();
        app.ExitInstance();
    }

    void neighbouringStaleRowsBothLeaveTheList()
    {
        CAppTestEnv env;
        const QString a = MakeTrack(env, QStringLiteral("a.mp3"), "First", 1);
        const QString b = MakeTrack(env, QStringLiteral("b.mp3"), "Second", 2);
        MakeTrack(env, QStringLiteral("c.mp3"), "Third", 3);
        CApp app;
        QVERIFY(app.InitInstance(Args({env.DataDir() + QStringLiteral("/album")})));
        CFileView& view = *app.GetMainFrame()->GetFileView();
        // The files of the first two rows become pipes: they move, but no longer read.
        for (const QString& strPath : {a, b})
        {
            QVERIFY(QFile::remove(strPath));
            QCOMPARE(::mkfifo(QFile::encodeName(strPath).constData(), 0600), 0);
        }
        view.SelectRows({0, 1});
        CModalScript confirm(Confirm);
        // The first stored preset, "<title>".
        QVERIFY(app.GetMainFrame()->RouteCommand(Cmd::ID_RENAME_PRESET_FIRST));
        QCOMPARE(FilesOf(env.DataDir() + QStringLiteral("/album")),
                 (QStringList{"First.mp3", "Second.mp3", "c.mp3"}));
        QCOMPARE(Names(view), QStringList{"c.mp3"});
        app.ExitInstance();
    }
};

QTEST_MAIN(RenameCommandsTest)
#include "RenameCommandsTest.moc"
