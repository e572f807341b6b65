// The file list driven as a person would: real files, real widgets, offscreen.
#include "UiFiles.h"

#include "app/BusyState.h"
#include "base/ProfileStore.h"
#include "browser/UndoHistory.h"
#include "browser/ui/FileView.h"
#include "browser/ui/FileViewCommands.h"
#include "browser/ui/QtString.h"
#include "res/StringTable.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <memory>

using Fixtures::CTempDir;
using UiFiles::tagTAGS;

namespace
{

// The list column that shows a table index (the header item's data value).
int ColumnOf(const CFileView& view, int nTableIndex)
{
    for (int n = 0; n < view.GetColumns().GetColumnCount(); ++n)
    {
        if (view.GetColumns().GetColumnData(n) == nTableIndex)
            return n;
    }
    return -1;
}

QStringList ColumnTexts(const CFileView& view, int nTableIndex)
{
    QStringList arr;
    const int nColumn = ColumnOf(view, nTableIndex);
    for (int n = 0; n < view.model()->rowCount(); ++n)
        arr.append(view.model()->index(n, nColumn).data().toString());
    return arr;
}

QStringList Names(const CFileView& view)
{
    return ColumnTexts(view, 0);
}

void ClickHeader(CFileView& view, int nTableIndex)
{
    QHeaderView* pHeader = view.horizontalHeader();
    const int nColumn = ColumnOf(view, nTableIndex);
    const QPoint pt(pHeader->sectionViewportPosition(nColumn) + pHeader->sectionSize(nColumn) / 2,
                    pHeader->height() / 2);
    QTest::mouseClick(pHeader->viewport(), Qt::LeftButton, Qt::NoModifier, pt);
}

QPoint RowPoint(const CFileView& view, int nRow, int nDy = 0)
{
    return QPoint(20, view.rowViewportPosition(nRow) + view.rowHeight(nRow) / 2 + nDy);
}

QStringList ActionTexts(const QMenu& menu)
{
    QStringList arr;
    for (const QAction* pAction : menu.actions())
        arr.append(pAction->isSeparator() ? QStringLiteral("-") : pAction->text());
    return arr;
}

// The program's side of Edit Tag, Remove Tag and the renames, recording what the list asks.
class CRecordingHost : public IFileCommandHost
{
public:
    BOOL CanRunCommand(EFileCommand, int nRecords) const override
    {
        return m_bCanRun && nRecords > 0;
    }
    std::vector<CString> GetRenamePresets() const override { return m_arrPresets; }
    CUndoHistory* GetUndoHistory() override { return m_pHistory.get(); }
    std::vector<CFileAssocData*> RunCommand(EFileCommand command, int nPreset,
                                            const std::vector<CFileAssocData*>& arrRecords) override
    {
        m_arrCalls.push_back({command, nPreset, arrRecords});
        return m_change ? m_change(arrRecords) : std::vector<CFileAssocData*>();
    }

    struct tagCALL
    {
        EFileCommand command;
        int nPreset;
        std::vector<CFileAssocData*> arrRecords;
    };
    BOOL m_bCanRun = TRUE;
    std::vector<CString> m_arrPresets;
    std::vector<tagCALL> m_arrCalls;
    std::function<std::vector<CFileAssocData*>(const std::vector<CFileAssocData*>&)> m_change;
    std::unique_ptr<CUndoHistory> m_pHistory = std::make_unique<CUndoHistory>();
};

} // namespace

class FileViewTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTempDir> m_pDir;
    UiFiles::CTestBusyHost m_host;
    std::unique_ptr<CBusyState> m_pBusy;
    CMemoryProfileStore m_profile;
    CRecordingHost m_commands;
    std::unique_ptr<CFileView> m_pView;

    // Five tagged files: a.mp3 to e.mp3.
    void MakeFiles()
    {
        QVERIFY(UiFiles::WriteMp3(*m_pDir, "c.mp3", {u"Gamma", u"Bob", u"X", u"2001", 3}));
        QVERIFY(UiFiles::WriteMp3(*m_pDir, "a.mp3", {u"Beta", u"Alice", u"X", u"1999", 10}));
        QVERIFY(UiFiles::WriteMp3(*m_pDir, "e.mp3", {u"Alpha", u"Carol", u"Y", u"2005", 1}));
        QVERIFY(UiFiles::WriteMp3(*m_pDir, "b.mp3", {u"Delta", u"Alice", u"Y", u"1980", 2}));
        QVERIFY(UiFiles::WriteMp3(*m_pDir, "d.mp3", {u"Epsilon", u"Bob", u"Z", u"1970", 20}));
    }

    void Fill()
    {
        MakeFiles();
        QVERIFY(m_pView->AddFolder(m_pDir->StrPath(), FALSE, nullptr));
        QCOMPARE(Names(*m_pView), (QStringList{"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"}));
    }

    void Select(const std::vector<int>& arrRows, int nCurrent = -1)
    {
        m_pView->SelectRows(arrRows);
        if (nCurrent >= 0)
            m_pView->selectionModel()->setCurrentIndex(m_pView->model()->index(nCurrent, 0),
                                                       QItemSelectionModel::NoUpdate);
    }

private slots:
    void initTestCase() { UiFiles::PrepareRuntimeDir(); }

    void init()
    {
        m_pDir = std::make_unique<CTempDir>();
        m_pBusy = std::make_unique<CBusyState>(&m_host);
        m_commands = CRecordingHost();
        m_pView = std::make_unique<CFileView>(*m_pBusy, &m_profile);
        m_pView->SetCommandHost(&m_commands);
        m_pView->resize(900, 400);
        m_pView->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_pView.get()));
    }

    void cleanup()
    {
        m_pView.reset();
        m_pBusy.reset();
        m_pDir.reset();
        m_profile = CMemoryProfileStore();
    }

    void defaultColumns()
    {
        QStringList arrTitles;
        for (const int n : m_pView->GetColumns().GetColumnOrder())
            arrTitles.append(m_pView->model()->headerData(n, Qt::Horizontal).toString());
        QCOMPARE(arrTitles, (QStringList{"Filename", "Size", "Date modified", "Tag", "Title",
                                         "Artist", "Album", "Genre", "Year", "Comment", "Track#",
                                         "Length", "Bitrate", "Sample rate", "Channels"}));
        QCOMPARE(m_pView->GetColumns().GetColumnWidth(0), 200);
    }

    void anEmptyListShowsAHint()
    {
        // Something is drawn into the empty list; without the hint it stays a plain area.
        const auto isPlain = [this]
        {
            const QImage image = m_pView->viewport()->grab().toImage();
            const QRgb background = image.pixel(1, 1);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (image.pixel(x, y) != background)
                        return false;
            return true;
        };
        QVERIFY(!m_pView->GetEmptyText().isEmpty());
        QVERIFY(!isPlain());
        m_pView->SetEmptyText(QString());
        QVERIFY(isPlain());
    }

    void fillsFromFolder()
    {
        QSignalSpy count(m_pView.get(), &CFileView::itemCountChanged);
        MakeFiles();
        std::filesystem::create_directory(m_pDir->PathOf("sub"));
        QVERIFY(UiFiles::WriteUntagged(*m_pDir, "sub/f.mp3"));
        QVERIFY(UiFiles::WriteUntagged(*m_pDir, "list.m3u"));
        QVERIFY(m_pView->AddFolder(m_pDir->StrPath(), FALSE, nullptr));
        QCOMPARE(m_pView->GetItemCount(), 5);
        QCOMPARE(m_pView->model()->rowCount(), 5);
        // Painting was suspended: the rows arrive at once.
        QCOMPARE(count.count(), 1);
        QCOMPARE(count.last().at(0).toInt(), 5);
        QCOMPARE(ColumnTexts(*m_pView, 7),
                 (QStringList{"Beta", "Delta", "Gamma", "Epsilon", "Alpha"}));
        QCOMPARE(ColumnTexts(*m_pView, 13), (QStringList{"10", "2", "3", "20", "1"}));
        QVERIFY(!m_pView->model()->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(m_host.m_nBusyModes > 0);
        // Twice adds nothing; with subfolders adds the one below.
        QVERIFY(m_pView->AddFolder(m_pDir->StrPath(), FALSE, nullptr));
        QCOMPARE(m_pView->model()->rowCount(), 5);
        QVERIFY(m_pView->AddFolder(m_pDir->StrPath(), TRUE, nullptr));
        QCOMPARE(m_pView->model()->rowCount(), 6);
        QCOMPARE(Names(*m_pView).last(), QStringLiteral("f.mp3"));
        // One file outside a bulk add.
        QVERIFY(UiFiles::WriteUntagged(*m_pDir, "g.mp3"));
        QVERIFY(m_pView->AddFile(m_pDir->StrPathOf("g.mp3")));
        QCOMPARE(m_pView->model()->rowCount(), 7);
        QCOMPARE(count.last().at(0).toInt(), 7);
        m_pView->DeleteAllItems();
        QCOMPARE(m_pView->model()->rowCount(), 0);
    }

    void sortsByHeaderWithTheDirectionRule()
    {
        Fill();
        QSignalSpy spy(m_pView.get(), &CFileView::itemCountChanged);
        // The direction starts ascending and flips on the first click: descending.
        ClickHeader(*m_pView, 7);
        QCOMPARE(ColumnTexts(*m_pView, 7),
                 (QStringList{"Gamma", "Epsilon", "Delta", "Beta", "Alpha"}));
        QCOMPARE(m_pView->horizontalHeader()->sortIndicatorSection(), ColumnOf(*m_pView, 7));
        QCOMPARE(m_pView->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
        QVERIFY(m_pView->horizontalHeader()->isSortIndicatorShown());
        // Another column flips again: ascending; equal artists keep their order.
        ClickHeader(*m_pView, 8);
        QCOMPARE(ColumnTexts(*m_pView, 8), (QStringList{"Alice", "Alice", "Bob", "Bob", "Carol"}));
        QCOMPARE(ColumnTexts(*m_pView, 7),
                 (QStringList{"Delta", "Beta", "Gamma", "Epsilon", "Alpha"}));
        // Numbers by value, not text.
        ClickHeader(*m_pView, 13);
        QCOMPARE(ColumnTexts(*m_pView, 13), (QStringList{"20", "10", "3", "2", "1"}));
        ClickHeader(*m_pView, 11);
        QCOMPARE(ColumnTexts(*m_pView, 11), (QStringList{"1970", "1980", "1999", "2001", "2005"}));
        // Emptied and refilled: the mark goes with the direction descending, so the next click
        // sorts ascending.
        m_pView->DeleteAllItems();
        m_pView->SortByColumn(-1, FALSE);
        QVERIFY(!m_pView->horizontalHeader()->isSortIndicatorShown());
        QVERIFY(m_pView->OpenPath(m_pDir->StrPath(), nullptr));
        QCOMPARE(m_pView->GetSortColumn(), -1);
        ClickHeader(*m_pView, 0);
        QCOMPARE(Names(*m_pView), (QStringList{"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"}));
        ClickHeader(*m_pView, 0);
        QCOMPARE(Names(*m_pView), (QStringList{"e.mp3", "d.mp3", "c.mp3", "b.mp3", "a.mp3"}));
    }

    void selectionFollowsItsRecordsWhenSorted()
    {
        Fill();
        Select({0, 1}, 1); // a and b
        m_pView->SortByColumn(0, FALSE);
        QCOMPARE(m_pView->GetSelectedRows(), (std::vector<int>{3, 4}));
        QCOMPARE(m_pView->currentIndex().row(), 3);
    }

    void movesUpAndDown()
    {
        Fill();
        Select({1, 2}, 2);
        m_pView->setFocus();
        QTest::keyClick(m_pView.get(), Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(Names(*m_pView), (QStringList{"b.mp3", "c.mp3", "a.mp3", "d.mp3", "e.mp3"}));
        QCOMPARE(m_pView->GetSelectedRows(), (std::vector<int>{0, 1}));
        // A block touching the top stays.
        QTest::keyClick(m_pView.get(), Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(Names(*m_pView), (QStringList{"b.mp3", "c.mp3", "a.mp3", "d.mp3", "e.mp3"}));
        QVERIFY(m_pView->OnCommand(Cmd::ID_MOVE_DOWN));
        QCOMPARE(Names(*m_pView), (QStringList{"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"}));
        // The last two of the list do not move down.
        Select({3, 4}, 4);
        QTest::keyClick(m_pView.get(), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(Names(*m_pView), (QStringList{"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"}));
        // Separate items move each.
        Select({0, 2, 4}, 4);
        m_pView->OnMoveDown();
        QCOMPARE(Names(*m_pView), (QStringList{"b.mp3", "a.mp3", "d.mp3", "c.mp3", "e.mp3"}));
        QCOMPARE(m_pView->GetSelectedRows(), (std::vector<int>{1, 3, 4}));
    }

    void dragsTheSelectionToANewPlace()
    {
        Fill();
        Select({3, 4}, 3); // d and e
        QWidget* pViewport = m_pView->viewport();
        QTest::mousePress(pViewport, Qt::LeftButton, Qt::NoModifier, RowPoint(*m_pView, 3));
        // The selection stays while the button is down.
        QCOMPARE(m_pView->GetSelectedRows(), (std::vector<int>{3, 4}));
        QMouseEvent move1(QEvent::MouseMove, RowPoint(*m_pView, 2),
                          pViewport->mapToGlobal(RowPoint(*m_pView, 2)), Qt::NoButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pViewport, &move1);
        QVERIFY(m_pView->IsDragging());
        // Upper half of item 1: the mark stands before it.
        const QPoint ptTarget = RowPoint(*m_pView, 1, -2);
        QMouseEvent move2(QEvent::MouseMove, ptTarget, pViewport->mapToGlobal(ptTarget),
                          Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pViewport, &move2);
        bool bAfter = true;
        QCOMPARE(m_pView->GetInsertMark(&bAfter), 1);
        QVERIFY(!bAfter);
        QTest::mouseRelease(pViewport, Qt::LeftButton, Qt::NoModifier, ptTarget);
        QVERIFY(!m_pView->IsDragging());
        QCOMPARE(m_pView->GetInsertMark(), -1);
        QCOMPARE(Names(*m_pView), (QStringList{"a.mp3", "d.mp3", "e.mp3", "b.mp3", "c.mp3"}));
        QCOMPARE(m_pView->GetSelectedRows(), (std::vector<int>{1, 2}));
    }

    void dropsThatChangeNothing()
    {
        Fill();
        // Onto a selected item, or onto the lower half of the item just above.
        Select({1, 2}, 1);
        m_pView->MoveSelectionTo(2);
        QCOMPARE(Names(*m_pView), (QStringList{"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"}));
        Select({2}, 2);
        m_pView->MoveSelectionTo(2);
        m_pView->MoveSelectionTo(-1);
        QCOMPARE(Names(*m_pView), (QStringList{"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"}));
        // To the end.
        Select({0}, 0);
        m_pView->MoveSelectionTo(5);
        QCOMPARE(Names(*m_pView), (QStringList{"b.mp3", "c.mp3", "d.mp3", "e.mp3", "a.mp3"}));
    }

    void clickOnASelectedItemSelectsItAlone()
    {
        Fill();
        Select({1, 2, 3}, 1);
        QTest::mouseClick(m_pView->viewport(), Qt::LeftButton, Qt::NoModifier,
                          RowPoint(*m_pView, 2));
        QCOMPARE(m_pView->GetSelectedRows(), (std::vector<int>{2}));
        QCOMPARE(m_pView->currentIndex().row(), 2);
    }

    void dragLabel()
    {
        QCOMPARE(CDragDropListCtrl::GetDragLabel(1), QStringLiteral("1 item"));
        QCOMPARE(CDragDropListCtrl::GetDragLabel(3), QStringLiteral("3 items"));
        QRect rect;
        const QPixmap pixmap = m_pView->CreateDragImage(3, &rect);
        QCOMPARE(pixmap.size(), QSize(96, 96));
        QVERIFY(pixmap.rect().contains(rect));
        QCOMPARE(rect.center(), pixmap.rect().center());
        QCOMPARE(pixmap.toImage().pixelColor(rect.left() + 1, rect.top() + 1).rgb(),
                 QColor(53, 180, 240).rgb());
    }

    void selectAllInvertAndRemoveByKeyboard()
    {
        Fill();
        m_pView->setFocus();
        QTest::keyClick(m_pView.get(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(m_pView->GetSelectedCount(), 5);
        Select({0, 3}, 0);
        QTest::keyClick(m_pView.get(), Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(m_pView->GetSelectedRows(), (std::vector<int>{1, 2, 4}));
        QTest::keyClick(m_pView.get(), Qt::Key_Delete);
        QCOMPARE(Names(*m_pView), (QStringList{"a.mp3", "d.mp3"}));
        // The removed files can come back: their paths left the duplicate test.
        QVERIFY(m_pView->AddFolder(m_pDir->StrPath(), FALSE, nullptr));
        QCOMPARE(m_pView->GetItemCount(), 5);
    }

    void removeByMenu()
    {
        Fill();
        Select({1}, 1);
        std::unique_ptr<QMenu> pMenu = m_pView->CreateItemMenu();
        for (QAction* pAction : pMenu->actions())
        {
            if (pAction->text() == QStringLiteral("&Remove from List\tDelete"))
                pAction->trigger();
        }
        QCOMPARE(Names(*m_pView), (QStringList{"a.mp3", "c.mp3", "d.mp3", "e.mp3"}));
        // Invert through the command number, as the main window routes it.
        QVERIFY(m_pView->OnCommand(Cmd::ID_INVERT_SELECTION));
        QCOMPARE(m_pView->GetSelectedCount(), 4);
        QVERIFY(!m_pView->OnCommand(32772));
    }

    void removesAScatteredLargeSelection()
    {
        for (int n = 0; n < 80; ++n)
            QVERIFY(UiFiles::WriteUntagged(
                *m_pDir, QStringLiteral("f%1.mp3").arg(n, 2, 10, QLatin1Char('0')).toStdString()));
        QVERIFY(m_pView->AddFolder(m_pDir->StrPath(), FALSE, nullptr));
        std::vector<int> arrEven;
        for (int n = 0; n < 80; n += 2)
            arrEven.push_back(n);
        Select(arrEven);
        m_pView->OnRemoveFromList();
        QCOMPARE(m_pView->model()->rowCount(), 40);
        QCOMPARE(Names(*m_pView).first(), QStringLiteral("f01.mp3"));
        QCOMPARE(Names(*m_pView).last(), QStringLiteral("f79.mp3"));
    }

    void enabledStates()
    {
        Fill();
        m_pView->selectionModel()->clearSelection();
        for (const UINT nID :
             {Cmd::ID_EDIT_TAG, Cmd::ID_REMOVE_TAG, Cmd::ID_PLAY, Cmd::ID_OPEN_FILE_LOCATION,
              Cmd::ID_AUTO_RENAME, Cmd::ID_RENAME, Cmd::ID_REMOVE_FROM_LIST, Cmd::ID_PROPERTIES,
              Cmd::ID_MOVE_UP, Cmd::ID_MOVE_DOWN})
        {
            QVERIFY(CFileView::HasCommand(nID));
            QVERIFY(!m_pView->IsCommandEnabled(nID));
        }
        for (const UINT nID : {Cmd::ID_SELECT_ALL, Cmd::ID_INVERT_SELECTION, Cmd::ID_CHOOSE_COLUMNS,
                               Cmd::ID_SIZE_ALL_COLUMNS, Cmd::ID_RESET_COLUMNS})
            QVERIFY(m_pView->IsCommandEnabled(nID));
        Select({2}, 2);
        QVERIFY(m_pView->IsCommandEnabled(Cmd::ID_EDIT_TAG));
        QVERIFY(m_pView->IsCommandEnabled(Cmd::ID_MOVE_DOWN));
        QVERIFY(!CFileView::HasCommand(32772));
        QVERIFY(!m_pView->IsCommandEnabled(32772));
    }

    void enterAndDoubleClickAskForEditTag()
    {
        Fill();
        m_pView->setFocus();
        QTest::keyClick(m_pView.get(), Qt::Key_Return);
        QCOMPARE(m_commands.m_arrCalls.size(), size_t(0)); // nothing selected
        Select({1}, 1);
        QTest::keyClick(m_pView.get(), Qt::Key_Return);
        QCOMPARE(m_commands.m_arrCalls.size(), size_t(1));
        QCOMPARE(m_commands.m_arrCalls.back().command, EFileCommand::EditTag);
        QTest::mouseDClick(m_pView->viewport(), Qt::LeftButton, Qt::NoModifier,
                           RowPoint(*m_pView, 3));
        QCOMPARE(m_commands.m_arrCalls.size(), size_t(2));
        QCOMPARE(m_commands.m_arrCalls.back().command, EFileCommand::EditTag);
        QCOMPARE(m_commands.m_arrCalls.back().arrRecords,
                 std::vector<CFileAssocData*>{m_pView->GetRecord(1)});
        // Alt+Enter shows the properties of the focused, selected file.
        QString strTitle;
        QTimer::singleShot(0,
                           [&strTitle]
                           {
                               if (QWidget* pModal = QApplication::activeModalWidget())
                               {
                                   strTitle = pModal->windowTitle();
                                   pModal->close();
                               }
                           });
        QTest::keyClick(m_pView.get(), Qt::Key_Return, Qt::AltModifier);
        QCOMPARE(m_commands.m_arrCalls.size(), size_t(2));
        const QString strName = ToQString(
            m_pView->GetFileList().GetRecord(m_pView->currentIndex().row())->m_strFileName);
        QCOMPARE(strTitle, strName + QStringLiteral(" Properties"));
    }

    void itemMenu()
    {
        Fill();
        Select({0}, 0);
        std::unique_ptr<QMenu> pMenu = m_pView->CreateItemMenu();
        QCOMPARE(
            ActionTexts(*pMenu),
            (QStringList{"&Edit Tag...", "Remo&ve Tag...", "-", "P&lay", "Open File Location", "-",
                         "&Auto Rename...\tCtrl+F2", "Tags from File &Name...\tCtrl+Shift+F2",
                         "Rename Pre&sets", "-", "&Remove from List\tDelete", "Move Up\tCtrl+Up",
                         "Move Down\tCtrl+Down", "-", "Rena&me\tF2", "&Properties"}));
        QVERIFY(pMenu->defaultAction());
        QCOMPARE(pMenu->defaultAction()->text(), QStringLiteral("&Edit Tag..."));
        QCOMPARE(pMenu->defaultAction()->data().toUInt(), Cmd::ID_EDIT_TAG);
        QVERIFY(pMenu->defaultAction()->isEnabled());

        std::unique_ptr<QMenu> pHeader = m_pView->CreateHeaderMenu();
        QCOMPARE(ActionTexts(*pHeader), (QStringList{"Size All Columns to Fit", "-",
                                                     "Choose Columns...", "&Reset to Default"}));
    }

    void hostCarriesOutTheOtherSubsystemsCommands()
    {
        Fill();
        m_commands.m_arrPresets = {u"<artist> - <title>", u"<counter>"};
        // Rows 1 and 3 selected: the host gets their records in list order; it retitles the
        // first and loses the file of the second, which leaves the list.
        m_commands.m_change = [](const std::vector<CFileAssocData*>& arrRecords)
        {
            arrRecords[0]->m_strTitle = u"Changed";
            arrRecords[1]->m_bStale = TRUE;
            return arrRecords;
        };
        Select({3, 1}, 1);
        std::unique_ptr<QMenu> pMenu = m_pView->CreateItemMenu();
        QMenu* pPresets = nullptr;
        for (QAction* pAction : pMenu->actions())
        {
            if (pAction->menu())
                pPresets = pAction->menu();
        }
        QVERIFY(pPresets && pPresets->isEnabled());
        QCOMPARE(ActionTexts(*pPresets), (QStringList{"<artist> - <title>", "<counter>"}));
        CFileAssocData* pFirst = m_pView->GetRecord(1);
        pPresets->actions().at(1)->trigger();
        QCOMPARE(m_commands.m_arrCalls.size(), size_t(1));
        QCOMPARE(m_commands.m_arrCalls[0].command, EFileCommand::RenamePreset);
        QCOMPARE(m_commands.m_arrCalls[0].nPreset, 1);
        QCOMPARE(m_commands.m_arrCalls[0].arrRecords.size(), size_t(2));
        QCOMPARE(m_commands.m_arrCalls[0].arrRecords[0], pFirst);
        QCOMPARE(Names(*m_pView), (QStringList{"a.mp3", "b.mp3", "c.mp3", "e.mp3"}));
        QCOMPARE(ColumnTexts(*m_pView, 7).at(1), QStringLiteral("Changed"));

        // Each of the other three commands reaches the host by its number.
        m_commands.m_change = nullptr;
        Select({0}, 0);
        for (const UINT nID : {Cmd::ID_REMOVE_TAG, Cmd::ID_AUTO_RENAME, Cmd::ID_EDIT_TAG})
            QVERIFY(m_pView->OnCommand(nID));
        QCOMPARE(m_commands.m_arrCalls.size(), size_t(4));
        QCOMPARE(m_commands.m_arrCalls[1].command, EFileCommand::RemoveTag);
        QCOMPARE(m_commands.m_arrCalls[2].command, EFileCommand::AutoRename);
        QCOMPARE(m_commands.m_arrCalls[3].command, EFileCommand::EditTag);

        // A host that cannot run them, or none, leaves them disabled and never asked.
        m_commands.m_bCanRun = FALSE;
        for (const UINT nID : {Cmd::ID_EDIT_TAG, Cmd::ID_REMOVE_TAG, Cmd::ID_AUTO_RENAME,
                               Cmd::ID_RENAME_PRESET_FIRST})
            QVERIFY(!m_pView->IsCommandEnabled(nID));
        m_pView->SetCommandHost(nullptr);
        QVERIFY(!m_pView->IsCommandEnabled(Cmd::ID_EDIT_TAG));
        QTest::keyClick(m_pView.get(), Qt::Key_Return);
        QCOMPARE(m_commands.m_arrCalls.size(), size_t(4));
        pMenu = m_pView->CreateItemMenu();
        QVERIFY(pMenu->actions().at(8)->menu() && !pMenu->actions().at(8)->isEnabled());
    }

    void itemMenuShownOnlyOverItems()
    {
        Fill();
        QStringList arrShown;
        auto watch = [&arrShown]
        {
            if (auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
            {
                arrShown.append(pMenu->objectName());
                pMenu->close();
            }
        };
        QWidget* pViewport = m_pView->viewport();
        // Empty space below the items.
        m_pView->selectionModel()->clearSelection();
        const QPoint ptEmpty(20, pViewport->height() - 5);
        QTimer::singleShot(50, this, watch);
        QContextMenuEvent empty(QContextMenuEvent::Mouse, ptEmpty, pViewport->mapToGlobal(ptEmpty));
        QApplication::sendEvent(pViewport, &empty);
        QTest::qWait(100);
        QCOMPARE(arrShown.size(), 0);
        // The keyboard without a selection.
        QContextMenuEvent keyboard(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        QApplication::sendEvent(pViewport, &keyboard);
        QTest::qWait(100);
        QCOMPARE(arrShown.size(), 0);
        // Over an item.
        QTimer::singleShot(50, this, watch);
        QContextMenuEvent onItem(QContextMenuEvent::Mouse, RowPoint(*m_pView, 1),
                                 pViewport->mapToGlobal(RowPoint(*m_pView, 1)));
        QApplication::sendEvent(pViewport, &onItem);
        QTRY_COMPARE(arrShown, QStringList{"322"});
        // The keyboard with a selection.
        Select({2}, 2);
        QTimer::singleShot(50, this, watch);
        QApplication::sendEvent(pViewport, &keyboard);
        QTRY_COMPARE(arrShown.size(), 2);
    }

    void renamesInPlace()
    {
        Fill();
        Select({0}, 0);
        QTest::keyClick(m_pView.get(), Qt::Key_F2);
        QLineEdit* pEdit = m_pView->GetLabelEditor();
        QVERIFY(pEdit);
        QCOMPARE(pEdit->text(), QStringLiteral("a.mp3"));
        QCOMPARE(pEdit->selectedText(), QStringLiteral("a"));
        QTest::keyClicks(pEdit, QStringLiteral("Renamed"));
        QTest::keyClick(pEdit, Qt::Key_Return);
        QTRY_VERIFY(std::filesystem::exists(m_pDir->PathOf("Renamed.mp3")));
        QVERIFY(!std::filesystem::exists(m_pDir->PathOf("a.mp3")));
        QTRY_COMPARE(m_pView->model()->index(0, 0).data().toString(),
                     QStringLiteral("Renamed.mp3"));
        QCOMPARE(ColumnTexts(*m_pView, 7).first(), QStringLiteral("Beta"));
        // The old name left the duplicate test, the new one joined it.
        QVERIFY(!m_pView->FindFile(m_pDir->StrPathOf("a.mp3")));
        QVERIFY(m_pView->FindFile(m_pDir->StrPathOf("Renamed.mp3")));

        // Undo gives the file and its row the old name back.
        QCOMPARE(m_pView->GetUndoText(), CString(u"Undo Rename (1 file)"));
        QVERIFY(m_pView->OnCommand(Cmd::ID_EDIT_UNDO));
        QVERIFY(std::filesystem::exists(m_pDir->PathOf("a.mp3")));
        QCOMPARE(m_pView->model()->index(0, 0).data().toString(), QStringLiteral("a.mp3"));
        QVERIFY(m_pView->FindFile(m_pDir->StrPathOf("a.mp3")));
        QVERIFY(!m_pView->IsCommandEnabled(Cmd::ID_EDIT_UNDO));
    }

    void renamesByCaseOnly()
    {
        Fill();
        Select({1}, 1);
        m_pView->OnRename();
        QLineEdit* pEdit = m_pView->GetLabelEditor();
        QVERIFY(pEdit);
        QTest::keyClicks(pEdit, QStringLiteral("B"));
        QTest::keyClick(pEdit, Qt::Key_Return);
        QTRY_COMPARE(m_pView->model()->index(1, 0).data().toString(), QStringLiteral("B.mp3"));
        QVERIFY(std::filesystem::exists(m_pDir->PathOf("B.mp3")));
        QVERIFY(!std::filesystem::exists(m_pDir->PathOf("b.mp3")));
    }

    void renameRefusedWhenTheTargetExists()
    {
        Fill();
        Select({0}, 0);
        m_pView->OnRename();
        QLineEdit* pEdit = m_pView->GetLabelEditor();
        QVERIFY(pEdit);
        pEdit->selectAll();
        QTest::keyClicks(pEdit, QStringLiteral("b.mp3"));
        QString strShown;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this,
                [&strShown]
                {
                    if (auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                    {
                        strShown = pBox->text();
                        pBox->button(QMessageBox::Ok)->click();
                    }
                });
        timer.start(20);
        QTest::keyClick(pEdit, Qt::Key_Return);
        QTRY_VERIFY(!strShown.isEmpty());
        const QString strOld = ToQString(m_pDir->StrPathOf("a.mp3"));
        const QString strNew = ToQString(m_pDir->StrPathOf("b.mp3"));
        QVERIFY2(
            strShown.startsWith(
                QStringLiteral("Couldn't rename file from '%1' to '%2'\n\n").arg(strOld, strNew)),
            qPrintable(strShown));
        QVERIFY(strShown.length() > strOld.length() + strNew.length() + 40);
        QVERIFY(std::filesystem::exists(m_pDir->PathOf("a.mp3")));
        QCOMPARE(Names(*m_pView), (QStringList{"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"}));
    }

    void renameRefusesANameOutsideTheFolder()
    {
        Fill();
        std::filesystem::create_directory(m_pDir->PathOf("sub"));
        Select({2}, 2);
        m_pView->OnRename();
        QLineEdit* pEdit = m_pView->GetLabelEditor();
        QVERIFY(pEdit);
        pEdit->selectAll();
        QTest::keyClicks(pEdit, QStringLiteral("sub/c.mp3"));
        bool bShown = false;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this,
                [&bShown]
                {
                    if (auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                    {
                        bShown = pBox->text().startsWith(QStringLiteral("Couldn't rename file"));
                        pBox->button(QMessageBox::Ok)->click();
                    }
                });
        timer.start(20);
        QTest::keyClick(pEdit, Qt::Key_Return);
        QTRY_VERIFY(bShown);
        QVERIFY(std::filesystem::exists(m_pDir->PathOf("c.mp3")));
        QVERIFY(!std::filesystem::exists(m_pDir->PathOf("sub/c.mp3")));
    }

    void cancelledOrUnchangedRenameDoesNothing()
    {
        Fill();
        Select({3}, 3);
        m_pView->OnRename();
        QLineEdit* pEdit = m_pView->GetLabelEditor();
        QVERIFY(pEdit);
        QTest::keyClicks(pEdit, QStringLiteral("zzz"));
        QTest::keyClick(pEdit, Qt::Key_Escape);
        QTest::qWait(20);
        QVERIFY(std::filesystem::exists(m_pDir->PathOf("d.mp3")));
        // Without a current selected item F2 does nothing.
        m_pView->selectionModel()->clearSelection();
        m_pView->OnRename();
        QTest::qWait(20);
        QVERIFY(!m_pView->GetLabelEditor() || !m_pView->GetLabelEditor()->isVisible());
    }

    void escapeCancelsALongScan()
    {
        for (int n = 0; n < 30; ++n)
            QVERIFY(UiFiles::WriteUntagged(
                *m_pDir, QStringLiteral("s%1.mp3").arg(n, 2, 10, QLatin1Char('0')).toStdString()));
        m_host.PressEscapeAfter(3, m_pView.get());
        QVERIFY(m_pView->AddFolder(m_pDir->StrPath(), FALSE, nullptr));
        QApplication::instance()->removeEventFilter(&m_host);
        QCOMPARE(m_pView->model()->rowCount(), 3);
        QCOMPARE(Names(*m_pView).last(), QStringLiteral("s02.mp3"));
    }

    void columnLayoutIsStoredAndRestored()
    {
        // Drag the "Title" header to the front, narrow "Size", and close the list.
        QHeaderView* pHeader = m_pView->horizontalHeader();
        pHeader->moveSection(pHeader->visualIndex(ColumnOf(*m_pView, 7)), 0);
        pHeader->resizeSection(ColumnOf(*m_pView, 1), 70);
        m_pView.reset();
        QVERIFY(m_profile.HasValue(u"Settings", u"ColumnsOrder"));
        m_pView = std::make_unique<CFileView>(*m_pBusy, &m_profile);
        const std::vector<int> arrOrder = m_pView->GetColumns().GetColumnOrder();
        QCOMPARE(m_pView->GetColumns().GetColumnData(arrOrder[0]), 7);
        QCOMPARE(m_pView->GetColumns().GetColumnData(arrOrder[1]), 0);
        QCOMPARE(m_pView->GetColumns().GetColumnWidth(ColumnOf(*m_pView, 1)), 70);
        // Narrower than the minimum is refused.
        m_pView->horizontalHeader()->resizeSection(ColumnOf(*m_pView, 1), 10);
        QCOMPARE(m_pView->GetColumns().GetColumnWidth(ColumnOf(*m_pView, 1)), 60);
        // Reset to Default through the header menu's command.
        QVERIFY(m_pView->OnCommand(Cmd::ID_RESET_COLUMNS));
        QCOMPARE(m_pView->GetColumns().GetColumnData(m_pView->GetColumns().GetColumnOrder()[0]), 0);
        QCOMPARE(m_pView->GetColumns().GetColumnCount(), 15);
    }

    void sizesColumnsToTheirContents()
    {
        Fill();
        const int nFolder = ColumnOf(*m_pView, 7);
        m_pView->horizontalHeader()->resizeSection(nFolder, 300);
        QVERIFY(m_pView->OnCommand(Cmd::ID_SIZE_ALL_COLUMNS));
        QVERIFY(m_pView->GetColumns().GetColumnWidth(nFolder) < 300);
        QVERIFY(m_pView->GetColumns().GetColumnWidth(nFolder) >= 60);
    }
};

QTEST_MAIN(FileViewTest)
#include "FileViewTest.moc"
