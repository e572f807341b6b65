// Play and Open File Location: what the list hands to the desktop (recorded, nothing started),
// the temporary playlist's bytes, and the error box when nothing could be opened.
#include "UiFiles.h"

#include "app/BusyState.h"
#include "base/ProfileStore.h"
#include "browser/FileAssocData.h"
#include "browser/Playlist.h"
#include "browser/ui/FileView.h"
#include "browser/ui/FileViewCommands.h"
#include "browser/ui/QtString.h"
#include "res/StringTable.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>
#include <memory>
#include <sys/stat.h>

using Fixtures::CTempDir;

namespace
{

QByteArray ReadAll(const QString& strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

// The message boxes shown meanwhile, closed at once.
struct tagBOXES
{
    QStringList arrTexts;
    QStringList arrTitles;
    QList<QMessageBox::Icon> arrIcons;
};

} // namespace

class PlayTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTempDir> m_pDir;
    CBusyState m_busy;
    CMemoryProfileStore m_profile;
    std::unique_ptr<CFileView> m_pView;
    // Owned by the view.
    UiFiles::CRecordingLauncher* m_pLauncher = nullptr;
    QByteArray m_runtimeDir;

    QString PathOf(const std::string& strName) const
    {
        return QString::fromStdString(m_pDir->PathOf(strName).string());
    }

    void Select(const std::vector<int>& arrRows, int nCurrent)
    {
        m_pView->SelectRows(arrRows);
        m_pView->selectionModel()->setCurrentIndex(m_pView->model()->index(nCurrent, 0),
                                                   QItemSelectionModel::NoUpdate);
    }

    // Runs the command with every message box recorded and closed.
    tagBOXES Run(UINT nID)
    {
        tagBOXES boxes;
        UiFiles::CModalHandler handler(
            [&](QWidget* pModal)
            {
                if (auto* pBox = qobject_cast<QMessageBox*>(pModal))
                {
                    boxes.arrTexts.append(pBox->text());
                    boxes.arrTitles.append(pBox->windowTitle());
                    boxes.arrIcons.append(pBox->icon());
                    pBox->accept();
                }
            });
        m_pView->OnCommand(nID);
        return boxes;
    }

    QString TempPlaylist() const
    {
        return QString::fromUtf8(m_runtimeDir) + QStringLiteral("/tagwright/Tagwright.m3u");
    }

private slots:
    void initTestCase() { UiFiles::PrepareRuntimeDir(); }

    void init()
    {
        m_pDir = std::make_unique<CTempDir>();
        // A temporary folder of this test's own, so no other program's run touches its playlist.
        std::filesystem::create_directories(m_pDir->PathOf("run"));
        ::chmod(m_pDir->PathOf("run").c_str(), 0700);
        m_runtimeDir = QByteArray::fromStdString(m_pDir->PathOf("run").string());
        qputenv("XDG_RUNTIME_DIR", m_runtimeDir);
        std::filesystem::create_directories(m_pDir->PathOf("music"));
        QVERIFY(UiFiles::WriteMp3(*m_pDir, "music/a.mp3", {u"A", u"X", u"", u"", 0}));
        QVERIFY(UiFiles::WriteMp3(*m_pDir, "music/b c.mp3", {u"B", u"X", u"", u"", 0}));
        QVERIFY(
            UiFiles::WriteMp3(*m_pDir, "music/\xC3\xA9t\xC3\xA9.mp3", {u"C", u"X", u"", u"", 0}));
        m_pView = std::make_unique<CFileView>(m_busy, &m_profile);
        auto pLauncher = std::make_unique<UiFiles::CRecordingLauncher>();
        m_pLauncher = pLauncher.get();
        m_pView->SetDesktopLauncher(std::move(pLauncher));
        m_pView->resize(700, 300);
        m_pView->show();
        QVERIFY(m_pView->AddFolder(m_pDir->StrPathOf("music"), FALSE, nullptr));
        QCOMPARE(m_pView->GetItemCount(), 3);
    }

    void cleanup()
    {
        m_pView.reset();
        m_pLauncher = nullptr;
        m_pDir.reset();
    }

    void playOneFileOpensTheFileItself()
    {
        Select({1}, 1);
        const tagBOXES boxes = Run(Cmd::ID_PLAY);
        QVERIFY(boxes.arrTexts.isEmpty());
        QCOMPARE(m_pLauncher->m_arrOpened,
                 QList<QUrl>{QUrl::fromLocalFile(PathOf("music/b c.mp3"))});
        // No playlist is needed for one file.
        QVERIFY(!QFile::exists(TempPlaylist()));
    }

    void playSeveralGoesThroughTheTemporaryPlaylist()
    {
        QCOMPARE(ToQString(GetTempPlaylistPath()), TempPlaylist());
        // Rows 0 and 2 in list order, the current item elsewhere; UTF-8 although ".m3u".
        Select({2, 0}, 1);
        tagBOXES boxes = Run(Cmd::ID_PLAY);
        QVERIFY(boxes.arrTexts.isEmpty());
        QCOMPARE(m_pLauncher->m_arrOpened, QList<QUrl>{QUrl::fromLocalFile(TempPlaylist())});
        const QString strFirst = ToQString(m_pView->GetRecord(0)->GetFullPath());
        const QString strLast = ToQString(m_pView->GetRecord(2)->GetFullPath());
        QVERIFY(strLast.endsWith(QString::fromUtf8("\xC3\xA9t\xC3\xA9.mp3")));
        QCOMPARE(ReadAll(TempPlaylist()),
                 "#EXTM3U\r\n" + strFirst.toUtf8() + "\r\n" + strLast.toUtf8() + "\r\n");
        // Private to the user.
        QCOMPARE(QFile::permissions(QString::fromUtf8(m_runtimeDir) + "/tagwright") &
                     (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
                 QFile::Permissions());

        // The next Play writes it afresh.
        Select({0, 1}, 0);
        boxes = Run(Cmd::ID_PLAY);
        QVERIFY(boxes.arrTexts.isEmpty());
        QCOMPARE(ReadAll(TempPlaylist()), "#EXTM3U\r\n" + strFirst.toUtf8() + "\r\n" +
                                              PathOf("music/b c.mp3").toUtf8() + "\r\n");
        QCOMPARE(m_pLauncher->m_arrOpened.size(), 2);
    }

    void nothingOpenedGivesTheErrorBox()
    {
        const QString strMessage = QStringLiteral(
            "Couldn't create playlist or play the file. Make sure Windows Media Player or another "
            "appropriate application is installed on your system.");
        m_pLauncher->m_bOpenSucceeds = false;
        for (const std::vector<int>& arrRows : {std::vector<int>{0}, std::vector<int>{0, 1, 2}})
        {
            m_pLauncher->m_arrOpened.clear();
            Select(arrRows, 0);
            const tagBOXES boxes = Run(Cmd::ID_PLAY);
            QCOMPARE(m_pLauncher->m_arrOpened.size(), 1);
            QCOMPARE(boxes.arrTexts, QStringList{strMessage});
            QCOMPARE(boxes.arrIcons, QList<QMessageBox::Icon>{QMessageBox::Critical});
            QCOMPARE(boxes.arrTitles,
                     QStringList{ToQString(Res::LoadResourceString(Res::IDS_APP_TITLE))});
        }

        // The playlist cannot be written (its name is taken by a folder): nothing is opened,
        // not even an old playlist, and the box says so.
        m_pLauncher->m_bOpenSucceeds = true;
        m_pLauncher->m_arrOpened.clear();
        QFile::remove(TempPlaylist());
        std::filesystem::create_directories(TempPlaylist().toStdString());
        Select({0, 2}, 0);
        const tagBOXES boxes = Run(Cmd::ID_PLAY);
        QVERIFY(m_pLauncher->m_arrOpened.isEmpty());
        QCOMPARE(boxes.arrTexts, QStringList{strMessage});
    }

    void playNeedsASelection()
    {
        m_pView->selectionModel()->clearSelection();
        QVERIFY(!m_pView->IsCommandEnabled(Cmd::ID_PLAY));
        QVERIFY(!m_pView->IsCommandEnabled(Cmd::ID_OPEN_FILE_LOCATION));
        Run(Cmd::ID_PLAY);
        m_pView->OnPlay();
        Run(Cmd::ID_OPEN_FILE_LOCATION);
        m_pView->OnOpenFileLocation();
        QVERIFY(m_pLauncher->m_arrOpened.isEmpty());
        QVERIFY(m_pLauncher->m_arrShown.isEmpty());
        QVERIFY(!QFile::exists(TempPlaylist()));
    }

    void playFromTheItemMenu()
    {
        Select({2}, 2);
        std::unique_ptr<QMenu> pMenu = m_pView->CreateItemMenu();
        for (QAction* pAction : pMenu->actions())
        {
            if (pAction->data().toUInt() == Cmd::ID_PLAY)
                pAction->trigger();
        }
        QCOMPARE(m_pLauncher->m_arrOpened,
                 QList<QUrl>{QUrl::fromLocalFile(ToQString(m_pView->GetRecord(2)->GetFullPath()))});
    }

    void openFileLocationShowsTheFocusedSelectedItem()
    {
        Select({0, 1}, 1);
        Run(Cmd::ID_OPEN_FILE_LOCATION);
        QCOMPARE(m_pLauncher->m_arrShown, QStringList{PathOf("music/b c.mp3")});
        QVERIFY(m_pLauncher->m_arrOpened.isEmpty());

        // The current item is not selected: nothing happens.
        Select({0}, 2);
        QVERIFY(m_pView->IsCommandEnabled(Cmd::ID_OPEN_FILE_LOCATION));
        Run(Cmd::ID_OPEN_FILE_LOCATION);
        QCOMPARE(m_pLauncher->m_arrShown.size(), 1);

        // No file manager took it: the file's folder is opened instead.
        m_pLauncher->m_bFileManager = false;
        Select({2}, 2);
        const tagBOXES boxes = Run(Cmd::ID_OPEN_FILE_LOCATION);
        QVERIFY(boxes.arrTexts.isEmpty());
        QCOMPARE(m_pLauncher->m_arrShown.size(), 2);
        QCOMPARE(m_pLauncher->m_arrShown.last(), ToQString(m_pView->GetRecord(2)->GetFullPath()));
        QCOMPARE(m_pLauncher->m_arrOpened,
                 QList<QUrl>{QUrl::fromLocalFile(PathOf("music") + QStringLiteral("/"))});
    }

    void commandsReachTheLauncherOnce()
    {
        Select({0}, 0);
        Run(Cmd::ID_PLAY);
        Run(Cmd::ID_OPEN_FILE_LOCATION);
        QCOMPARE(m_pLauncher->m_arrOpened.size(), 1);
        QCOMPARE(m_pLauncher->m_arrShown.size(), 1);
    }
};

QTEST_MAIN(PlayTest)
#include "PlayTest.moc"
