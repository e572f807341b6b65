// Load Playlist and Create Playlist driven through their real file dialogs: real files in a
// temporary folder, the bytes written checked, the diagnostics dialog read.
#include "UiFiles.h"

#include "app/BusyState.h"
#include "base/ProfileStore.h"
#include "browser/FileAssocData.h"
#include "browser/ui/DiagnosticDialog.h"
#include "browser/ui/FileView.h"
#include "browser/ui/FileViewCommands.h"
#include "browser/ui/PlaylistFileDialog.h"
#include "browser/ui/QtString.h"
#include "fixtures/Mp3Builder.h"
#include "res/StringTable.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>
#include <memory>

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

void WriteAll(const QString& strPath, const QByteArray& bytes)
{
    QFile file(strPath);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QDialogButtonBox* ButtonBox(QWidget* pDialog)
{
    return pDialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
}

void Cancel(QWidget* pDialog)
{
    if (QDialogButtonBox* pBox = ButtonBox(pDialog))
        QTest::mouseClick(pBox->button(QDialogButtonBox::Cancel), Qt::LeftButton);
}

// What a save dialog showed when it opened.
struct tagSAVESEEN
{
    bool bShown = false;
    bool bAllFiles = false;
    bool bSelectedFiles = false;
};

} // namespace

class PlaylistCommandsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTempDir> m_pDir;
    UiFiles::CTestBusyHost m_host;
    std::unique_ptr<CBusyState> m_pBusy;
    CMemoryProfileStore m_profile;
    tagPLAYLISTOPTIONS m_options;
    std::unique_ptr<CFileView> m_pView;
    // What the last load's diagnostics dialog showed.
    QStringList m_arrDiagnostics;

    QString PathOf(const std::string& strName) const
    {
        return QString::fromStdString(m_pDir->PathOf(strName).string());
    }

    void MakeDir(const std::string& strName)
    {
        std::filesystem::create_directories(m_pDir->PathOf(strName));
    }

    void MakeMp3(const std::string& strName,
                 const UiFiles::tagTAGS& tags = {u"T", u"A", u"", u"", 0})
    {
        QVERIFY(UiFiles::WriteMp3(*m_pDir, strName, tags));
    }

    QStringList FullPaths() const
    {
        QStringList arr;
        for (int n = 0; n < m_pView->GetItemCount(); ++n)
            arr.append(ToQString(m_pView->GetRecord(n)->GetFullPath()));
        return arr;
    }

    // Load Playlist as a user runs it: the file typed, "Append to the files list" ticked or not.
    // Returns whether the dialog came up.
    bool Load(const QString& strPath, bool bAppend)
    {
        m_arrDiagnostics.clear();
        bool bChose = false;
        UiFiles::CModalHandler handler(
            [&](QWidget* pModal)
            {
                if (auto* pDialog = qobject_cast<CPlaylistFileDialog*>(pModal))
                {
                    // A new dialog each time: the box starts unticked.
                    bChose = pDialog->IsOpenFileDialog() && !pDialog->GetAppendCheck()->isChecked();
                    if (bAppend)
                        QTest::mouseClick(pDialog->GetAppendCheck(), Qt::LeftButton);
                    UiFiles::ChooseFile(pDialog, strPath);
                }
                else if (auto* pDiag = qobject_cast<CDiagnosticDialog*>(pModal))
                {
                    for (int n = 0; n < pDiag->GetList()->topLevelItemCount(); ++n)
                        m_arrDiagnostics.append(pDiag->GetList()->topLevelItem(n)->text(0));
                    QTest::mouseClick(pDiag->findChild<QPushButton*>(QStringLiteral("1")),
                                      Qt::LeftButton);
                }
                else if (auto* pOther = qobject_cast<QDialog*>(pModal))
                {
                    pOther->reject();
                }
            });
        const BOOL bHandled = m_pView->OnCommand(Cmd::ID_LOAD_PLAYLIST);
        return bChose && bHandled;
    }

    // Create Playlist: the save dialog's controls as it opened, then change() on the dialog,
    // then the name typed and Save pressed.
    tagSAVESEEN Create(const QString& strPath,
                       const std::function<void(CPlaylistFileDialog&)>& change = {})
    {
        tagSAVESEEN seen;
        UiFiles::CModalHandler handler(
            [&](QWidget* pModal)
            {
                auto* pDialog = qobject_cast<CPlaylistFileDialog*>(pModal);
                if (!pDialog)
                {
                    if (auto* pOther = qobject_cast<QDialog*>(pModal))
                        pOther->reject();
                    return;
                }
                seen.bShown = !pDialog->IsOpenFileDialog();
                seen.bAllFiles = pDialog->GetAllFilesRadio()->isChecked();
                seen.bSelectedFiles = pDialog->GetSelectedFilesRadio()->isChecked();
                if (change)
                    change(*pDialog);
                UiFiles::ChooseFile(pDialog, strPath);
            });
        m_pView->OnCommand(Cmd::ID_CREATE_PLAYLIST);
        return seen;
    }

    void Select(const std::vector<int>& arrRows)
    {
        m_pView->SelectRows(arrRows);
        if (!arrRows.empty())
            m_pView->selectionModel()->setCurrentIndex(m_pView->model()->index(arrRows[0], 0),
                                                       QItemSelectionModel::NoUpdate);
    }

    // music/a.mp3 (Beta by Alice), music/b.mp3 (no tag), music/c.mp3 (Gamma by Bob), listed.
    void FillMusic()
    {
        MakeDir("music");
        MakeMp3("music/a.mp3", {u"Beta", u"Alice", u"", u"", 0});
        QVERIFY(UiFiles::WriteUntagged(*m_pDir, "music/b.mp3"));
        MakeMp3("music/c.mp3", {u"Gamma", u"Bob", u"", u"", 0});
        QVERIFY(m_pView->AddFolder(m_pDir->StrPathOf("music"), FALSE, nullptr));
        QCOMPARE(m_pView->GetItemCount(), 3);
    }

private slots:
    void initTestCase() { UiFiles::PrepareRuntimeDir(); }

    void init()
    {
        m_pDir = std::make_unique<CTempDir>();
        m_host.m_arrStatus.clear();
        m_host.m_nBusyModes = 0;
        m_pBusy = std::make_unique<CBusyState>(&m_host);
        m_options = tagPLAYLISTOPTIONS();
        m_pView = std::make_unique<CFileView>(*m_pBusy, &m_profile);
        m_pView->SetPlaylistOptions([this] { return m_options; });
        m_pView->resize(800, 400);
        m_pView->show();
    }

    void cleanup()
    {
        m_pView.reset();
        m_pBusy.reset();
        m_pDir.reset();
    }

    void commandsAreTheLists()
    {
        for (const UINT nID : {Cmd::ID_LOAD_PLAYLIST, Cmd::ID_CREATE_PLAYLIST})
        {
            QVERIFY(CFileView::HasCommand(nID));
            // Enabled with an empty list and without a selection.
            QVERIFY(m_pView->IsCommandEnabled(nID));
        }
        QCOMPARE(Cmd::ID_LOAD_PLAYLIST, 32910u);
        QCOMPARE(Cmd::ID_CREATE_PLAYLIST, 32903u);
    }

    void openDialogLooksAsItShould()
    {
        MakeDir("lists/sub");
        for (const char* pszName :
             {"lists/a.m3u", "lists/B.M3U", "lists/c.m3u8", "lists/d.mp3", "lists/e.lst"})
            WriteAll(PathOf(pszName), "#EXTM3U\n");
        CPlaylistFileDialog dialog(TRUE);
        dialog.setDirectory(PathOf("lists"));
        QCOMPARE(dialog.m_bAppend, FALSE);
        QVERIFY(dialog.GetAppendCheck());
        QVERIFY(!dialog.GetOptionsButton());
        QVERIFY(!dialog.GetAllFilesRadio());
        QCOMPARE(dialog.GetAppendCheck()->text(), QStringLiteral("Append to the files list"));
        QCOMPARE(dialog.GetAppendCheck()->objectName(), QStringLiteral("1056"));
        QCOMPARE(dialog.nameFilters(), QStringList{"Playlist Files (*.m3u, *.m3u8)"});
        QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
        QVERIFY(dialog.defaultSuffix().isEmpty());
        QVERIFY(dialog.testOption(QFileDialog::DontUseNativeDialog));

        bool bChecked = false;
        int nShown = -1;
        QStringList arrNames;
        int nCheckY = -1;
        int nTypeY = -1;
        UiFiles::CModalHandler handler(
            [&](QWidget* pModal)
            {
                bChecked = pModal == &dialog;
                auto* pModel = dialog.findChild<QFileSystemModel*>();
                const QModelIndex root = pModel->index(PathOf("lists"));
                // The folder is read in the background; the handler waits for it.
                for (int n = 0; n < 500 && pModel->rowCount(root) < 4; ++n)
                    QTest::qWait(10);
                nShown = pModel->rowCount(root);
                for (int n = 0; n < pModel->rowCount(root); ++n)
                {
                    const QModelIndex index = pModel->index(n, 0, root);
                    // Files that do not match the filter are left out; folders are always there.
                    if (pModel->flags(index) & Qt::ItemIsEnabled)
                        arrNames.append(index.data().toString());
                }
                nCheckY = dialog.GetAppendCheck()->mapTo(&dialog, QPoint()).y();
                nTypeY = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))
                             ->mapTo(&dialog, QPoint())
                             .y();
                Cancel(&dialog);
            });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(bChecked);
        arrNames.sort(Qt::CaseInsensitive);
        // Both kinds of playlist, in any case of the extension.
        QCOMPARE(arrNames, (QStringList{"a.m3u", "B.M3U", "c.m3u8", "sub"}));
        QCOMPARE(nShown, 4);
        // The added box stands below the standard controls.
        QVERIFY2(nCheckY > nTypeY, qPrintable(QStringLiteral("%1 %2").arg(nCheckY).arg(nTypeY)));
        // Cancelled: the box's state was not taken over.
        QCOMPARE(dialog.m_bAppend, FALSE);
        QVERIFY(dialog.GetPathName().IsEmpty());
    }

    void loadReplacesOrAppends()
    {
        MakeDir("music");
        MakeDir("old");
        MakeMp3("music/a.mp3");
        MakeMp3("music/b.mp3");
        MakeMp3("music/c.mp3");
        MakeMp3("old/x.mp3");
        WriteAll(PathOf("music/one.m3u"), "#EXTM3U\r\nb.mp3\r\na.mp3\r\n");
        WriteAll(PathOf("music/two.m3u8"), "#EXTM3U\nc.mp3\na.mp3");
        QVERIFY(m_pView->AddFile(m_pDir->StrPathOf("old/x.mp3")));
        m_pView->SortByColumn(0, TRUE);
        const int nBusy = m_host.m_nBusyModes;

        QVERIFY(Load(PathOf("music/one.m3u"), false));
        QCOMPARE(FullPaths(), (QStringList{PathOf("music/b.mp3"), PathOf("music/a.mp3")}));
        QCOMPARE(m_pView->GetSortColumn(), -1);
        QVERIFY(m_arrDiagnostics.isEmpty());
        // One busy state for the whole load.
        QCOMPARE(m_host.m_nBusyModes, nBusy + 1);
        QVERIFY(m_host.m_arrStatus.contains(
            QStringLiteral("Reading file : '%1'...").arg(PathOf("music/one.m3u"))));
        QCOMPARE(m_host.m_arrStatus.last(), QStringLiteral("Ready"));

        // Appended after the items there are; a file listed already stays where it is.
        m_pView->SortByColumn(0, FALSE);
        QVERIFY(Load(PathOf("music/two.m3u8"), true));
        QCOMPARE(FullPaths(), (QStringList{PathOf("music/b.mp3"), PathOf("music/a.mp3"),
                                           PathOf("music/c.mp3")}));
        QCOMPARE(m_pView->GetSortColumn(), -1);
        QCOMPARE(m_pView->model()->rowCount(), 3);
    }

    void cancelledLoadKeepsTheList()
    {
        MakeMp3("x.mp3");
        QVERIFY(m_pView->AddFile(m_pDir->StrPathOf("x.mp3")));
        bool bSeen = false;
        UiFiles::CModalHandler handler(
            [&](QWidget* pModal)
            {
                bSeen = qobject_cast<CPlaylistFileDialog*>(pModal) != nullptr;
                Cancel(pModal);
            });
        m_pView->OnLoadPlaylist();
        QVERIFY(bSeen);
        QCOMPARE(m_pView->GetItemCount(), 1);
    }

    void entriesOfEveryKind()
    {
        MakeDir("lists/sub");
        MakeDir("lists/folder/deeper");
        MakeDir("elsewhere");
        MakeMp3("lists/a.mp3");
        MakeMp3("lists/b.mp3");
        MakeMp3("lists/sub/s.mp3");
        MakeMp3("lists/folder/f1.mp3");
        MakeMp3("lists/folder/deeper/f2.mp3");
        MakeMp3("elsewhere/abs.mp3");
        MakeMp3("elsewhere/e.mp3");
        WriteAll(PathOf("lists/notes.txt"), "text");
        WriteAll(PathOf("lists/inner.m3u"), "#EXTM3U\nb.mp3\n");
        // The header in lower case, comments, a Windows-style relative name, an absolute one,
        // one through "..", a missing file, a folder, other kinds, a repeat, blank lines.
        const QByteArray playlist = "#extm3u\r\n"
                                    "#EXTINF:12, Someone - Something\r\n"
                                    "a.mp3\r\n"
                                    "\r\n"
                                    "sub\\s.mp3\r\n" +
                                    PathOf("elsewhere/abs.mp3").toUtf8() +
                                    "\r\n"
                                    "../elsewhere/e.mp3\n"
                                    "gone.mp3\r"
                                    "folder\r\n"
                                    "notes.txt\r\n"
                                    "inner.m3u\r\n"
                                    "a.mp3";
        WriteAll(PathOf("lists/all.m3u8"), playlist);

        QVERIFY(Load(PathOf("lists/all.m3u8"), false));
        QCOMPARE(FullPaths(), (QStringList{PathOf("lists/a.mp3"), PathOf("lists/sub/s.mp3"),
                                           PathOf("elsewhere/abs.mp3"), PathOf("elsewhere/e.mp3"),
                                           PathOf("lists/folder/f1.mp3")}));
        // Only the missing file is reported, with the path it was looked for at.
        QCOMPARE(m_arrDiagnostics,
                 QStringList{ToQString(Res::FormatResourceString(
                     Res::IDS_FAILED_READING_FILE, m_pDir->StrPathOf("lists/gone.mp3")))});
    }

    void invalidPlaylistsAddNothing()
    {
        MakeMp3("a.mp3");
        MakeMp3("keep.mp3");
        WriteAll(PathOf("plain.m3u"), "a.mp3\r\n");
        WriteAll(PathOf("bom.m3u8"), "\xEF\xBB\xBF#EXTM3U\r\na.mp3\r\n");
        WriteAll(PathOf("blank.m3u"), "#EXTM3U \r\na.mp3\r\n");
        for (const char* pszName : {"plain.m3u", "bom.m3u8", "blank.m3u"})
        {
            QVERIFY(m_pView->AddFile(m_pDir->StrPathOf("keep.mp3")));
            QVERIFY(Load(PathOf(pszName), false));
            // The list was emptied before the file was read, and nothing came from it.
            QCOMPARE(m_pView->GetItemCount(), 0);
            QCOMPARE(
                m_arrDiagnostics,
                QStringList{
                    QStringLiteral("The file '%1'  is not valid playlist.").arg(PathOf(pszName))});
        }
        // Appending an invalid one keeps the list.
        QVERIFY(m_pView->AddFile(m_pDir->StrPathOf("keep.mp3")));
        QVERIFY(Load(PathOf("plain.m3u"), true));
        QCOMPARE(FullPaths(), QStringList{PathOf("keep.mp3")});
        QCOMPARE(m_arrDiagnostics.size(), 1);
    }

    void saveDialogLooksAsItShould()
    {
        CPlaylistFileDialog dialog(FALSE);
        QVERIFY(!dialog.GetAppendCheck());
        QCOMPARE(dialog.nameFilters(), QStringList{"Playlist Files (*.m3u)"});
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(dialog.defaultSuffix(), QStringLiteral("m3u"));
        QVERIFY(!dialog.testOption(QFileDialog::DontConfirmOverwrite));
        QCOMPARE(dialog.GetOptionsButton()->text(), QStringLiteral("Options..."));
        QCOMPARE(dialog.GetOptionsButton()->objectName(), QStringLiteral("1057"));
        QCOMPARE(dialog.GetSelectedFilesRadio()->text(), QStringLiteral("Selected files"));
        QCOMPARE(dialog.GetSelectedFilesRadio()->objectName(), QStringLiteral("1058"));
        QCOMPARE(dialog.GetAllFilesRadio()->text(), QStringLiteral("All files"));
        QCOMPARE(dialog.GetAllFilesRadio()->objectName(), QStringLiteral("1059"));
        // Nobody to open the options: the button cannot be pressed.
        QVERIFY(!dialog.GetOptionsButton()->isEnabled());
        dialog.SetOptionsHandler([](QWidget*) {});
        QVERIFY(dialog.GetOptionsButton()->isEnabled());
    }

    void createWithAllFilesAndTheSelection()
    {
        FillMusic();
        m_pView->selectionModel()->clearSelection();
        // Nothing selected: "All files"; the playlist beside the files names them bare.
        tagSAVESEEN seen = Create(PathOf("music/all.m3u"));
        QVERIFY(seen.bShown);
        QVERIFY(seen.bAllFiles && !seen.bSelectedFiles);
        QCOMPARE(ReadAll(PathOf("music/all.m3u")),
                 QByteArray("#EXTM3U\r\na.mp3\r\nb.mp3\r\nc.mp3\r\n"));

        // A selection: "Selected files", in list order; a name without extension gets ".m3u";
        // in the parent folder the entries keep their subfolder.
        Select({2, 1});
        seen = Create(PathOf("sel"));
        QVERIFY(!seen.bAllFiles && seen.bSelectedFiles);
        QCOMPARE(ReadAll(PathOf("sel.m3u")),
                 QByteArray("#EXTM3U\r\nmusic/b.mp3\r\nmusic/c.mp3\r\n"));

        // "All files" picked although items are selected; a sibling folder gets full paths.
        MakeDir("other");
        Select({0});
        seen = Create(PathOf("other/x.m3u"), [](CPlaylistFileDialog& dialog)
                      { QTest::mouseClick(dialog.GetAllFilesRadio(), Qt::LeftButton); });
        QVERIFY(seen.bSelectedFiles);
        QCOMPARE(ReadAll(PathOf("other/x.m3u")), "#EXTM3U\r\n" + PathOf("music/a.mp3").toUtf8() +
                                                     "\r\n" + PathOf("music/b.mp3").toUtf8() +
                                                     "\r\n" + PathOf("music/c.mp3").toUtf8() +
                                                     "\r\n");

        // "Selected files" picked with nothing selected: the header line alone.
        m_pView->selectionModel()->clearSelection();
        seen = Create(PathOf("music/none.m3u"), [](CPlaylistFileDialog& dialog)
                      { QTest::mouseClick(dialog.GetSelectedFilesRadio(), Qt::LeftButton); });
        QVERIFY(seen.bAllFiles);
        QCOMPARE(ReadAll(PathOf("music/none.m3u")), QByteArray("#EXTM3U\r\n"));
    }

    void createWithFullPathsAndExtraInformation()
    {
        FillMusic();
        // An hour and more: 142598 frames of 1152 samples at 44100 Hz.
        Fixtures::CMp3Builder builder;
        Fixtures::CMp3Builder::XingSpec xing;
        xing.m_nFrames = 142598;
        builder.AddXingFrame(Fixtures::CMp3Builder::FrameSpec(), xing);
        builder.AddFrames(Fixtures::CMp3Builder::FrameSpec(), 8);
        Fixtures::CMp3Builder::Id3v1Fields tag;
        tag.m_strTitle = "Long";
        tag.m_strArtist = "Dana";
        builder.AddId3v1(tag);
        builder.WriteTo(m_pDir->PathOf("music/long.mp3"));
        QVERIFY(m_pView->AddFile(m_pDir->StrPathOf("music/long.mp3")));
        QCOMPARE(m_pView->GetRecord(3)->m_nLength, 3725);

        m_options.bWriteExtInfo = TRUE;
        m_pView->selectionModel()->clearSelection();
        Create(PathOf("music/ext.m3u"));
        QCOMPARE(ReadAll(PathOf("music/ext.m3u")),
                 QByteArray("#EXTM3U\r\n"
                            "#EXTINF:0, Alice - Beta\r\na.mp3\r\n"
                            "#EXTINF:0,  - \r\nb.mp3\r\n"
                            "#EXTINF:0, Bob - Gamma\r\nc.mp3\r\n"
                            "#EXTINF:3725, Dana - Long\r\nlong.mp3\r\n"));

        m_options.bWriteExtInfo = FALSE;
        m_options.bWriteFullPath = TRUE;
        Select({1});
        Create(PathOf("music/full.m3u"));
        QCOMPARE(ReadAll(PathOf("music/full.m3u")),
                 "#EXTM3U\r\n" + PathOf("music/b.mp3").toUtf8() + "\r\n");

        // What the options dialog changes while the file dialog is open is what is written.
        m_options.bWriteFullPath = FALSE;
        QWidget* pOptionsParent = nullptr;
        bool bFileDialogOpen = false;
        m_pView->SetPlaylistOptionsHandler(
            [&](QWidget* pParent)
            {
                pOptionsParent = pParent;
                m_options.bWriteExtInfo = TRUE;
            });
        Create(PathOf("music/opt.m3u"),
               [&](CPlaylistFileDialog& dialog)
               {
                   QVERIFY(dialog.GetOptionsButton()->isEnabled());
                   QTest::mouseClick(dialog.GetOptionsButton(), Qt::LeftButton);
                   bFileDialogOpen = pOptionsParent == &dialog && dialog.isVisible();
               });
        QVERIFY(bFileDialogOpen);
        QCOMPARE(ReadAll(PathOf("music/opt.m3u")),
                 QByteArray("#EXTM3U\r\n#EXTINF:0,  - \r\nb.mp3\r\n"));
    }

    void overwriteIsAskedFirst()
    {
        FillMusic();
        m_pView->selectionModel()->clearSelection();
        WriteAll(PathOf("music/old.m3u"), "old");
        QStringList arrQuestions;
        bool bStillOpen = false;
        int nRound = 0;
        UiFiles::CModalHandler handler(
            [&](QWidget* pModal)
            {
                if (auto* pBox = qobject_cast<QMessageBox*>(pModal))
                {
                    arrQuestions.append(pBox->text());
                    // The first time "No", the second time "Yes".
                    QAbstractButton* pButton =
                        pBox->button(nRound++ == 0 ? QMessageBox::No : QMessageBox::Yes);
                    QTest::mouseClick(pButton, Qt::LeftButton);
                    return;
                }
                auto* pDialog = qobject_cast<CPlaylistFileDialog*>(pModal);
                if (!pDialog)
                    return;
                UiFiles::ChooseFile(pDialog, PathOf("music/old.m3u"));
                bStillOpen = pDialog->isVisible() && pDialog->result() != QDialog::Accepted;
                QCOMPARE(ReadAll(PathOf("music/old.m3u")), QByteArray("old"));
                if (auto* pSave = ButtonBox(pDialog)->button(QDialogButtonBox::Save))
                    QTest::mouseClick(pSave, Qt::LeftButton);
            });
        m_pView->OnCreatePlaylist();
        QVERIFY(bStillOpen);
        QCOMPARE(arrQuestions.size(), 2);
        QVERIFY(arrQuestions[0].contains(QStringLiteral("old.m3u")));
        QVERIFY(arrQuestions[0].contains(QStringLiteral("already exists")));
        QCOMPARE(ReadAll(PathOf("music/old.m3u")),
                 QByteArray("#EXTM3U\r\na.mp3\r\nb.mp3\r\nc.mp3\r\n"));
    }

    void failedWriteIsReported()
    {
        FillMusic();
        QString strText;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        UiFiles::CModalHandler handler(
            [&](QWidget* pModal)
            {
                if (auto* pBox = qobject_cast<QMessageBox*>(pModal))
                {
                    strText = pBox->text();
                    icon = pBox->icon();
                    pBox->accept();
                }
            });
        // A folder that is not there, and a name that is a folder.
        for (const QString& strPath : {PathOf("missing/list.m3u"), PathOf("music")})
        {
            strText.clear();
            QCOMPARE(m_pView->CreatePlaylist(ToCString(strPath), TRUE), FALSE);
            QCOMPARE(strText, QStringLiteral("Failed to writing file at '%1'. Close the file "
                                             "that's open in another program.")
                                  .arg(strPath));
            QCOMPARE(icon, QMessageBox::Critical);
        }
        QVERIFY(!QFile::exists(PathOf("missing")));
    }

    void createdPlaylistLoadsBack()
    {
        FillMusic();
        m_pView->selectionModel()->clearSelection();
        Create(PathOf("music/round.m3u"));
        m_pView->DeleteAllItems();
        QVERIFY(Load(PathOf("music/round.m3u"), false));
        QCOMPARE(FullPaths(), (QStringList{PathOf("music/a.mp3"), PathOf("music/b.mp3"),
                                           PathOf("music/c.mp3")}));
        QVERIFY(m_arrDiagnostics.isEmpty());
    }
};

QTEST_MAIN(PlaylistCommandsTest)
#include "PlaylistCommandsTest.moc"
