#include "browser/ui/FileView.h"

#include "app/AppSettings.h"
#include "base/CodePage.h"
#include "base/Path.h"
#include "base/ProfileStore.h"
#include "browser/Collator.h"
#include "browser/ColumnTable.h"
#include "browser/FileAssocData.h"
#include "browser/Playlist.h"
#include "browser/ui/BrowserImages.h"
#include "browser/ui/ChooseColumnsDialog.h"
#include "browser/ui/DesktopLauncher.h"
#include "browser/ui/DiagnosticDialog.h"
#include "browser/ui/FilePropertiesDialog.h"
#include "browser/ui/FileViewCommands.h"
#include "browser/ui/LabelEditDelegate.h"
#include "browser/ui/PlaylistFileDialog.h"
#include "browser/ui/QtString.h"
#include "rename/FileMove.h"
#include "res/StringTable.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>

#include <algorithm>
#include <unordered_map>

CFileView::CFileView(CBusyState& busy, IProfileStore* pProfile, QWidget* pParent)
    : CDragDropListCtrl(pParent), m_list(busy, this), m_columns(*this), m_pProfile(pProfile),
      m_pLauncher(std::make_unique<CDesktopLauncher>()), m_pCollator(std::make_unique<CCollator>()),
      m_iconFallback(BrowserImages::CreateAudioFileIcon())
{
    setObjectName(QStringLiteral("FileView"));
    m_pModel = std::make_unique<CFileListModel>(m_list, m_arrIcons, nullptr);
    setModel(m_pModel.get());
    connect(m_pModel.get(), &CFileListModel::rowCountChanged, this, &CFileView::itemCountChanged);
    m_pDelegate = new CLabelEditDelegate(
        [this](int nRow, const QString& strText) { OnEndLabelEdit(nRow, strText); }, this);
    setItemDelegate(m_pDelegate);

    // Report view: full rows, several selected, no grid, one line per item of a fixed height
    // (so a long list costs nothing per row to lay out).
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setIconSize(QSize(16, 16));
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(std::max(fontMetrics().height() + 4, 20));
    QHeaderView* pHeader = horizontalHeader();
    pHeader->setSectionsMovable(true);
    pHeader->setHighlightSections(false);
    pHeader->setStretchLastSection(false);
    pHeader->setSectionResizeMode(QHeaderView::Interactive);
    pHeader->setMinimumSectionSize(1);
    pHeader->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pHeader, &QHeaderView::customContextMenuRequested, this, &CFileView::ShowHeaderMenu);
    connect(pHeader, &QHeaderView::sectionResized, this, &CFileView::OnSectionResized);

    AddFileListColumns(m_columns);
    if (!m_pProfile || !m_columns.LoadColumns(*m_pProfile))
        m_columns.ResetColumns();
}

CFileView::~CFileView()
{
    SaveColumns();
    setModel(nullptr);
    m_list.SetHost(nullptr);
}

void CFileView::SetDesktopLauncher(std::unique_ptr<IDesktopLauncher> pLauncher)
{
    m_pLauncher = pLauncher ? std::move(pLauncher) : std::make_unique<CDesktopLauncher>();
}

// --- Playlists ---

namespace
{

// Painting of the list suspended for the lifetime of the object.
class CRedrawOff
{
public:
    explicit CRedrawOff(IFileListHost& host) : m_host(host) { m_host.SetRedraw(FALSE); }
    ~CRedrawOff() { m_host.SetRedraw(TRUE); }
    CRedrawOff(const CRedrawOff&) = delete;
    CRedrawOff& operator=(const CRedrawOff&) = delete;

private:
    IFileListHost& m_host;
};

} // namespace

BOOL CFileView::LoadPlaylist(const CString& strPath, BOOL bUtf8, CDiagnosticMessages* pDiag)
{
    CRedrawOff redraw(*this);
    return ::LoadPlaylist(m_list, strPath, bUtf8 ? CP_UTF8 : CP_ACP, pDiag);
}

BOOL CFileView::LoadFileList(const CString& strPath, CDiagnosticMessages* pDiag)
{
    CRedrawOff redraw(*this);
    return ::LoadFileList(m_list, strPath, pDiag);
}

BOOL CFileView::CreatePlaylist(const CString& strPath, BOOL bAllFiles)
{
    const BOOL bWriteFullPath = m_pSettings ? m_pSettings->m_bPlaylistWriteFullPath : FALSE;
    const BOOL bWriteExtInfo = m_pSettings ? m_pSettings->m_bPlaylistWriteExtInfo : FALSE;
    BOOL bWritten = FALSE;
    {
        CWaitCursor wait;
        bWritten = ::CreatePlaylist(m_list, strPath, bAllFiles, GetSelectedRows(), bWriteFullPath,
                                    bWriteExtInfo);
    }
    if (!bWritten)
        ShowError(Res::FormatResourceString(Res::IDS_FAILED_WRITING_FILE, strPath));
    return bWritten;
}

void CFileView::OnLoadPlaylist()
{
    CPlaylistFileDialog dialog(TRUE, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const CString strPath = dialog.GetPathName();
    if (strPath.IsEmpty())
        return;
    if (!dialog.m_bAppend)
    {
        DeleteAllItems();
        SortByColumn(-1, FALSE);
    }
    CDiagnosticDialog diagnostics(this);
    {
        CRedrawOff redraw(*this);
        OpenPath(strPath, &diagnostics);
    }
    if (diagnostics.GetCount() > 0)
        diagnostics.exec();
}

void CFileView::OnCreatePlaylist()
{
    CPlaylistFileDialog dialog(FALSE, this);
    dialog.m_bAllFiles = HasSelection() ? FALSE : TRUE;
    dialog.SetOptionsHandler(m_onPlaylistOptions);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const CString strPath = dialog.GetPathName();
    if (!strPath.IsEmpty())
        CreatePlaylist(strPath, dialog.m_bAllFiles);
}

void CFileView::ShowError(const CString& strText)
{
    QMessageBox box(QMessageBox::Critical, ToQString(Res::LoadResourceString(Res::IDS_APP_TITLE)),
                    ToQString(strText), QMessageBox::Ok, this);
    box.exec();
}

// --- Items ---

void CFileView::DeleteAllItems()
{
    m_pModel->BeginReset();
    m_list.RemoveAll();
    m_pModel->EndReset();
}

void CFileView::DeleteItems(const std::vector<int>& arrRowsIn)
{
    std::vector<int> arrRows;
    for (const int n : arrRowsIn)
    {
        if (n >= 0 && n < m_list.GetCount())
            arrRows.push_back(n);
    }
    std::sort(arrRows.begin(), arrRows.end());
    arrRows.erase(std::unique(arrRows.begin(), arrRows.end()), arrRows.end());
    if (arrRows.empty())
        return;
    // Runs of adjacent rows, removed from the last to the first; a scattered selection of many
    // runs is shown afresh instead, which stays linear.
    std::vector<std::pair<int, int>> arrRuns;
    for (const int n : arrRows)
    {
        if (!arrRuns.empty() && arrRuns.back().second + 1 == n)
            arrRuns.back().second = n;
        else
            arrRuns.emplace_back(n, n);
    }
    if (arrRuns.size() > 32)
    {
        m_pModel->BeginReset();
        m_list.RemoveItems(arrRows);
        m_pModel->EndReset();
        return;
    }
    for (auto it = arrRuns.rbegin(); it != arrRuns.rend(); ++it)
    {
        std::vector<int> arrRun;
        arrRun.reserve(static_cast<size_t>(it->second - it->first + 1));
        for (int n = it->first; n <= it->second; ++n)
            arrRun.push_back(n);
        m_pModel->BeginRemove(it->first, it->second);
        m_list.RemoveItems(std::move(arrRun));
        m_pModel->EndRemove();
    }
}

int CFileView::RemoveStaleRecords()
{
    m_pModel->BeginReset();
    const int nRemoved = m_list.RemoveStaleRecords();
    m_pModel->EndReset();
    return nRemoved;
}

void CFileView::UpdateItems(int nFirst, int nLast)
{
    m_pModel->RowsChanged(nFirst, nLast);
}

// --- Sorting and reordering ---

void CFileView::SortItems(int nColumn, BOOL bAscending)
{
    const CFileListModel::tagMODELCOLUMN* pColumn = m_pModel->GetColumn(nColumn);
    // An unknown column compares equal: the order stays.
    const int nField = pColumn ? pColumn->nSubItem : -1;
    const CCollator& collator = *m_pCollator;
    Reorder([&](const std::vector<int>&) { m_list.SortByField(nField, bAscending, collator); });
}

void CFileView::Reorder(const std::function<void(const std::vector<int>& arrSelected)>& change)
{
    const std::vector<int> arrSelected = GetSelectedRows();
    const int nCount = m_list.GetCount();
    std::unordered_map<const CFileAssocData*, int> oldRows;
    oldRows.reserve(static_cast<size_t>(nCount));
    for (int i = 0; i < nCount; ++i)
        oldRows.emplace(m_list.GetRecord(i), i);

    // The selection is taken off first so that only a few persistent indexes (the current
    // item, an editor) need moving with their records.
    if (selectionModel())
        selectionModel()->clearSelection();
    m_pModel->BeginReorder();
    change(arrSelected);
    std::vector<int> newRows(static_cast<size_t>(nCount), 0);
    for (int i = 0; i < m_list.GetCount() && i < nCount; ++i)
    {
        const auto it = oldRows.find(m_list.GetRecord(i));
        if (it != oldRows.end())
            newRows[static_cast<size_t>(it->second)] = i;
    }
    QModelIndexList from = m_pModel->GetPersistentIndexes();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& index : from)
    {
        const int nRow = index.row();
        to.append(nRow >= 0 && nRow < nCount
                      ? m_pModel->index(newRows[static_cast<size_t>(nRow)], index.column())
                      : QModelIndex());
    }
    m_pModel->ChangePersistent(from, to);
    m_pModel->EndReorder();

    std::vector<int> arrNewSelected;
    arrNewSelected.reserve(arrSelected.size());
    for (const int n : arrSelected)
        arrNewSelected.push_back(newRows[static_cast<size_t>(n)]);
    std::sort(arrNewSelected.begin(), arrNewSelected.end());
    SelectRows(arrNewSelected);
    viewport()->update();
}

void CFileView::MoveSelectionTo(int nTarget)
{
    if (nTarget < 0 || nTarget > m_list.GetCount() || !HasSelection())
        return;
    if (nTarget < m_list.GetCount() && selectionModel()->isRowSelected(nTarget, QModelIndex()))
        return;
    Reorder([&](const std::vector<int>& arrSelected) { m_list.MoveTo(arrSelected, nTarget); });
}

void CFileView::MoveSelectionUp()
{
    if (!HasSelection())
        return;
    Reorder([&](const std::vector<int>& arrSelected) { m_list.MoveUp(arrSelected); });
}

void CFileView::MoveSelectionDown()
{
    if (!HasSelection())
        return;
    Reorder([&](const std::vector<int>& arrSelected) { m_list.MoveDown(arrSelected); });
}

void CFileView::SwapItems(int nA, int nB)
{
    m_list.SwapItems(nA, nB);
    m_pModel->RowsChanged(std::min(nA, nB), std::max(nA, nB));
}

// --- Commands ---

BOOL CFileView::HasCommand(UINT nID)
{
    switch (nID)
    {
    case Cmd::ID_EDIT_TAG:
    case Cmd::ID_REMOVE_TAG:
    case Cmd::ID_PLAY:
    case Cmd::ID_OPEN_FILE_LOCATION:
    case Cmd::ID_AUTO_RENAME:
    case Cmd::ID_RENAME:
    case Cmd::ID_REMOVE_FROM_LIST:
    case Cmd::ID_PROPERTIES:
    case Cmd::ID_LOAD_PLAYLIST:
    case Cmd::ID_CREATE_PLAYLIST:
    case Cmd::ID_SELECT_ALL:
    case Cmd::ID_INVERT_SELECTION:
    case Cmd::ID_MOVE_UP:
    case Cmd::ID_MOVE_DOWN:
    case Cmd::ID_CHOOSE_COLUMNS:
    case Cmd::ID_SIZE_ALL_COLUMNS:
    case Cmd::ID_RESET_COLUMNS:
        return TRUE;
    default:
        return nID >= Cmd::ID_RENAME_PRESET_FIRST && nID <= Cmd::ID_RENAME_PRESET_LAST;
    }
}

BOOL CFileView::IsCommandEnabled(UINT nID) const
{
    switch (nID)
    {
    // Create Playlist with an empty list writes the header line alone.
    case Cmd::ID_LOAD_PLAYLIST:
    case Cmd::ID_CREATE_PLAYLIST:
    case Cmd::ID_SELECT_ALL:
    case Cmd::ID_INVERT_SELECTION:
    case Cmd::ID_CHOOSE_COLUMNS:
    case Cmd::ID_SIZE_ALL_COLUMNS:
    case Cmd::ID_RESET_COLUMNS:
        return TRUE;
    default:
        return HasCommand(nID) && HasSelection();
    }
}

BOOL CFileView::OnCommand(UINT nID)
{
    if (!HasCommand(nID))
        return FALSE;
    if (!IsCommandEnabled(nID))
        return TRUE;
    switch (nID)
    {
    case Cmd::ID_LOAD_PLAYLIST:
        OnLoadPlaylist();
        break;
    case Cmd::ID_CREATE_PLAYLIST:
        OnCreatePlaylist();
        break;
    case Cmd::ID_EDIT_TAG:
        OnEditTag();
        break;
    case Cmd::ID_REMOVE_TAG:
        OnRemoveTag();
        break;
    case Cmd::ID_PLAY:
        OnPlay();
        break;
    case Cmd::ID_OPEN_FILE_LOCATION:
        OnOpenFileLocation();
        break;
    case Cmd::ID_AUTO_RENAME:
        OnAutoRename();
        break;
    case Cmd::ID_RENAME:
        OnRename();
        break;
    case Cmd::ID_REMOVE_FROM_LIST:
        OnRemoveFromList();
        break;
    case Cmd::ID_PROPERTIES:
        OnProperties();
        break;
    case Cmd::ID_SELECT_ALL:
        OnSelectAll();
        break;
    case Cmd::ID_INVERT_SELECTION:
        OnInvertSelection();
        break;
    case Cmd::ID_MOVE_UP:
        OnMoveUp();
        break;
    case Cmd::ID_MOVE_DOWN:
        OnMoveDown();
        break;
    case Cmd::ID_CHOOSE_COLUMNS:
        OnChooseColumns();
        break;
    case Cmd::ID_SIZE_ALL_COLUMNS:
        OnSizeAllColumns();
        break;
    case Cmd::ID_RESET_COLUMNS:
        OnResetColumns();
        break;
    default:
        OnRenamePreset(nID);
        break;
    }
    return TRUE;
}

void CFileView::RequestCommand(UINT nID)
{
    if (HasSelection())
        emit commandRequested(nID);
}

void CFileView::OnEditTag()
{
    RequestCommand(Cmd::ID_EDIT_TAG);
}

void CFileView::OnRemoveTag()
{
    RequestCommand(Cmd::ID_REMOVE_TAG);
}

void CFileView::OnPlay()
{
    std::vector<CString> arrPaths;
    for (const int nRow : GetSelectedRows())
    {
        if (const CFileAssocData* pRecord = m_list.GetRecord(nRow))
            arrPaths.push_back(pRecord->GetFullPath());
    }
    if (arrPaths.empty())
        return;
    // One file itself; several through the temporary playlist (empty when it could not be
    // written: a playlist left from before would play other files).
    const CString strTarget = GetPlayTarget(arrPaths);
    // The desktop's default application for the target; here that is also what the fallback of
    // opening the target itself would reach, so it is asked once.
    if (!strTarget.IsEmpty() && m_pLauncher->OpenUrl(QUrl::fromLocalFile(ToQString(strTarget))))
        return;
    ShowError(Res::LoadResourceString(Res::IDS_PLAY_FAILED));
}

void CFileView::OnOpenFileLocation()
{
    const CFileAssocData* pRecord = m_list.GetRecord(GetFocusedSelectedRow());
    if (!pRecord)
        return;
    // The file manager shows the file selected; without one, its folder is opened.
    const CString strFullPath = pRecord->GetFullPath();
    const QUrl folder = QUrl::fromLocalFile(
        ToQString(strFullPath.Left(strFullPath.ReverseFind(Path::chSeparator) + 1)));
    QPointer<CFileView> pView(this);
    m_pLauncher->ShowItem(ToQString(strFullPath),
                          [pView, folder]
                          {
                              if (pView)
                                  pView->m_pLauncher->OpenUrl(folder);
                          });
}

void CFileView::OnAutoRename()
{
    RequestCommand(Cmd::ID_AUTO_RENAME);
}

void CFileView::OnRenamePreset(UINT nID)
{
    if (nID >= Cmd::ID_RENAME_PRESET_FIRST && nID <= Cmd::ID_RENAME_PRESET_LAST)
        RequestCommand(nID);
}

void CFileView::OnProperties()
{
    const CFileAssocData* pRecord = m_list.GetRecord(GetFocusedSelectedRow());
    if (!pRecord)
        return;
    CFilePropertiesDialog dialog(this);
    dialog.m_strPath = pRecord->GetFullPath();
    dialog.DoModal();
}

void CFileView::OnRemoveFromList()
{
    DeleteItems(GetSelectedRows());
}

void CFileView::OnSelectAll()
{
    selectAll();
    setFocus(Qt::OtherFocusReason);
}

void CFileView::OnInvertSelection()
{
    const int nCount = m_list.GetCount();
    std::vector<char> selected(static_cast<size_t>(nCount), 0);
    for (const int n : GetSelectedRows())
        selected[static_cast<size_t>(n)] = 1;
    std::vector<int> arrRows;
    for (int n = 0; n < nCount; ++n)
    {
        if (!selected[static_cast<size_t>(n)])
            arrRows.push_back(n);
    }
    SelectRows(arrRows);
    setFocus(Qt::OtherFocusReason);
}

void CFileView::OnMoveUp()
{
    CWaitCursor wait;
    MoveSelectionUp();
}

void CFileView::OnMoveDown()
{
    CWaitCursor wait;
    MoveSelectionDown();
}

void CFileView::OnChooseColumns()
{
    CChooseColumnsDialog dialog(m_columns, this);
    dialog.exec();
    SaveColumns();
}

void CFileView::OnSizeAllColumns()
{
    QHeaderView* pHeader = horizontalHeader();
    for (int n = 0; n < m_pModel->columnCount(); ++n)
    {
        // The width of the contents, not of the header text, and never below the minimum.
        const CFileListModel::tagMODELCOLUMN* pColumn = m_pModel->GetColumn(n);
        const int nMin = pColumn ? pColumn->nMinWidth : 0;
        pHeader->resizeSection(n, std::max(sizeHintForColumn(n), nMin));
    }
}

void CFileView::OnResetColumns()
{
    m_columns.ResetColumns();
}

BOOL CFileView::SaveColumns()
{
    return m_pProfile ? m_columns.SaveColumns(*m_pProfile) : FALSE;
}

// --- In-place rename ---

QLineEdit* CFileView::GetLabelEditor() const
{
    return m_pDelegate ? m_pDelegate->GetEditor() : nullptr;
}

void CFileView::OnRename()
{
    const int nRow = GetFocusedSelectedRow();
    if (nRow < 0 || m_pModel->columnCount() == 0)
        return;
    setFocus(Qt::OtherFocusReason);
    const QModelIndex index = m_pModel->index(nRow, 0);
    scrollTo(index);
    edit(index);
    // The view selects the whole text when it opens the editor; the name alone is wanted.
    if (QLineEdit* pEdit = GetLabelEditor())
        CLabelEditDelegate::SelectName(*pEdit);
}

void CFileView::OnEndLabelEdit(int nRow, const QString& strText)
{
    const CFileAssocData* pRecord = m_list.GetRecord(nRow);
    if (!pRecord)
        return;
    // The move and its message box wait until the editor has closed: a message box over the
    // closing editor would end the edit a second time.
    const bool bQueued = m_pRenameRecord != nullptr;
    m_pRenameRecord = pRecord;
    m_strRenameText = strText;
    if (!bQueued)
        QMetaObject::invokeMethod(this, &CFileView::FinishRename, Qt::QueuedConnection);
}

void CFileView::FinishRename()
{
    const CFileAssocData* pRecord = m_pRenameRecord;
    m_pRenameRecord = nullptr;
    const int nRow = m_list.IndexOf(pRecord);
    if (nRow < 0)
        return;
    RenameRecord(*m_list.GetRecord(nRow), ToCString(m_strRenameText));
}

namespace
{

// A name that would leave the file's folder (or name the folder itself) is refused as the
// system refuses names it does not allow.
bool IsPlainName(const CString& strName)
{
    if (strName.IsEmpty() || strName == u"." || strName == u"..")
        return false;
    for (int i = 0; i < strName.GetLength(); ++i)
    {
        const char16_t ch = strName[i];
        if (ch == 0 || Path::IsSeparator(ch))
            return false;
    }
    return true;
}

} // namespace

void CFileView::RenameRecord(CFileAssocData& record, const CString& strName)
{
    const CString strOldPath = record.GetFullPath();
    const CString strNewPath = record.m_strFolder + Path::chSeparator + strName;
    if (strNewPath == strOldPath)
        return;
    LONG lOsError = 0;
    BOOL bMoved = FALSE;
    if (IsPlainName(strName))
        bMoved = MoveFileNoReplace(strOldPath, strNewPath, &lOsError);
    else
        lOsError = GetInvalidNameError();
    if (!bMoved)
    {
        const CString strText =
            Res::FormatResourceString(Res::IDS_RENAME_FAILED, strOldPath, strNewPath) + u"\n\n" +
            GetOsErrorText(lOsError);
        QMessageBox box(QMessageBox::Warning,
                        ToQString(Res::LoadResourceString(Res::IDS_APP_TITLE)), ToQString(strText),
                        QMessageBox::Ok, this);
        box.exec();
        return;
    }
    const int nRow = m_list.IndexOf(&record);
    if (record.Load(strNewPath))
    {
        m_list.RefreshPathIndex();
        m_pModel->RowsChanged(nRow, nRow);
    }
    else
    {
        m_pModel->BeginRemove(nRow, nRow);
        m_list.RemoveAt(nRow);
        // The record was indexed under its old path; the index is built again without it.
        m_list.RefreshPathIndex();
        m_pModel->EndRemove();
    }
}

// --- Keyboard, mouse, menus ---

void CFileView::keyPressEvent(QKeyEvent* pEvent)
{
    const Qt::KeyboardModifiers modifiers =
        pEvent->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int nKey = pEvent->key();
    UINT nID = 0;
    if ((nKey == Qt::Key_Return || nKey == Qt::Key_Enter) && modifiers == Qt::NoModifier)
        nID = Cmd::ID_EDIT_TAG;
    else if ((nKey == Qt::Key_Return || nKey == Qt::Key_Enter) && modifiers == Qt::AltModifier)
        nID = Cmd::ID_PROPERTIES;
    else if (nKey == Qt::Key_F2 && modifiers == Qt::NoModifier)
        nID = Cmd::ID_RENAME;
    else if (nKey == Qt::Key_F2 && modifiers == Qt::ControlModifier)
        nID = Cmd::ID_AUTO_RENAME;
    else if (nKey == Qt::Key_Delete && modifiers == Qt::NoModifier)
        nID = Cmd::ID_REMOVE_FROM_LIST;
    else if (nKey == Qt::Key_Up && modifiers == Qt::ControlModifier)
        nID = Cmd::ID_MOVE_UP;
    else if (nKey == Qt::Key_Down && modifiers == Qt::ControlModifier)
        nID = Cmd::ID_MOVE_DOWN;
    else if (nKey == Qt::Key_A && modifiers == Qt::ControlModifier)
        nID = Cmd::ID_SELECT_ALL;
    else if (nKey == Qt::Key_I && modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        nID = Cmd::ID_INVERT_SELECTION;
    if (nID != 0)
    {
        OnCommand(nID);
        pEvent->accept();
        return;
    }
    CDragDropListCtrl::keyPressEvent(pEvent);
}

void CFileView::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton && indexAt(pEvent->position().toPoint()).isValid())
    {
        OnEditTag();
        pEvent->accept();
        return;
    }
    CDragDropListCtrl::mouseDoubleClickEvent(pEvent);
}

void CFileView::contextMenuEvent(QContextMenuEvent* pEvent)
{
    QPoint ptGlobal;
    if (pEvent->reason() == QContextMenuEvent::Mouse)
    {
        if (!indexAt(pEvent->pos()).isValid())
            return;
        ptGlobal = pEvent->globalPos();
    }
    else
    {
        const std::vector<int> arrRows = GetSelectedRows();
        if (arrRows.empty())
            return;
        // Below the last selected item, at its left edge.
        const int nRow = arrRows.back();
        const QPoint pt(columnViewportPosition(horizontalHeader()->logicalIndex(0)),
                        rowViewportPosition(nRow) + rowHeight(nRow) + 1);
        ptGlobal = viewport()->mapToGlobal(pt);
    }
    pEvent->accept();
    std::unique_ptr<QMenu> pMenu = CreateItemMenu();
    pMenu->exec(ptGlobal);
}

void CFileView::ShowHeaderMenu(const QPoint& pt)
{
    std::unique_ptr<QMenu> pMenu = CreateHeaderMenu();
    pMenu->exec(horizontalHeader()->mapToGlobal(pt));
}

namespace
{

QAction* AddCommand(QMenu& menu, CFileView& view, const char* pszText, UINT nID)
{
    QAction* pAction = menu.addAction(QString::fromUtf8(pszText));
    pAction->setData(nID);
    pAction->setEnabled(view.IsCommandEnabled(nID));
    QObject::connect(pAction, &QAction::triggered, &view, [&view, nID] { view.OnCommand(nID); });
    return pAction;
}

} // namespace

std::unique_ptr<QMenu> CFileView::CreateItemMenu()
{
    auto pMenu = std::make_unique<QMenu>(this);
    pMenu->setObjectName(QStringLiteral("322"));
    QAction* pEditTag = AddCommand(*pMenu, *this, "&Edit Tag...", Cmd::ID_EDIT_TAG);
    pMenu->setDefaultAction(pEditTag);
    AddCommand(*pMenu, *this, "Remo&ve Tag...", Cmd::ID_REMOVE_TAG);
    pMenu->addSeparator();
    AddCommand(*pMenu, *this, "P&lay", Cmd::ID_PLAY);
    AddCommand(*pMenu, *this, "Open File Location", Cmd::ID_OPEN_FILE_LOCATION);
    pMenu->addSeparator();
    AddCommand(*pMenu, *this, "&Auto Rename...\tCtrl+F2", Cmd::ID_AUTO_RENAME);
    // The preset store fills this item's submenu once it exists; until then it has no command.
    QAction* pPresets = pMenu->addAction(QStringLiteral("Rename Pre&sets"));
    pPresets->setEnabled(false);
    pMenu->addSeparator();
    AddCommand(*pMenu, *this, "&Remove from List\tDelete", Cmd::ID_REMOVE_FROM_LIST);
    AddCommand(*pMenu, *this, "Move Up\tCtrl+Up", Cmd::ID_MOVE_UP);
    AddCommand(*pMenu, *this, "Move Down\tCtrl+Down", Cmd::ID_MOVE_DOWN);
    pMenu->addSeparator();
    AddCommand(*pMenu, *this, "Rena&me\tF2", Cmd::ID_RENAME);
    AddCommand(*pMenu, *this, "&Properties", Cmd::ID_PROPERTIES);
    return pMenu;
}

std::unique_ptr<QMenu> CFileView::CreateHeaderMenu()
{
    auto pMenu = std::make_unique<QMenu>(this);
    pMenu->setObjectName(QStringLiteral("318"));
    AddCommand(*pMenu, *this, "Size All Columns to Fit", Cmd::ID_SIZE_ALL_COLUMNS);
    pMenu->addSeparator();
    AddCommand(*pMenu, *this, "Choose Columns...", Cmd::ID_CHOOSE_COLUMNS);
    AddCommand(*pMenu, *this, "&Reset to Default", Cmd::ID_RESET_COLUMNS);
    return pMenu;
}

int CFileView::GetFocusedSelectedRow() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !selectionModel()->isRowSelected(current.row(), QModelIndex()))
        return -1;
    return current.row();
}

bool CFileView::HasSelection() const
{
    return selectionModel() && selectionModel()->hasSelection();
}

// --- IFileListHost ---

void CFileView::SetRedraw(BOOL bRedraw)
{
    if (bRedraw)
        m_pModel->Thaw();
    else
        m_pModel->Freeze();
    setUpdatesEnabled(!m_pModel->IsFrozen());
}

int CFileView::GetFileImage(const CString& strPath)
{
    const int nName = strPath.ReverseFind(Path::chSeparator) + 1;
    const int nDot = strPath.ReverseFind(u'.');
    const QString strExtension =
        nDot >= nName ? ToQString(strPath.Mid(nDot + 1)).toLower() : QString();
    const auto it = m_iconByExtension.constFind(strExtension);
    if (it != m_iconByExtension.constEnd())
        return it.value();
    // The icon theme's icon for the type, by name alone (the file is not read for it).
    const QMimeType mime =
        m_mimeDatabase.mimeTypeForFile(ToQString(strPath), QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(mime.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(mime.genericIconName());
    if (icon.isNull())
        icon = m_iconFallback;
    m_arrIcons.push_back(icon);
    const int nImage = static_cast<int>(m_arrIcons.size()) - 1;
    m_iconByExtension.insert(strExtension, nImage);
    return nImage;
}

void CFileView::OnBeginInsertItem(int nIndex)
{
    m_pModel->BeginAppend(nIndex);
}

void CFileView::OnEndInsertItem()
{
    m_pModel->EndAppend();
}

void CFileView::OnResetSortMark()
{
    SortByColumn(-1, FALSE);
}

// --- IColumnListCtrl ---

int CFileView::GetColumnCount() const
{
    return m_pModel->columnCount();
}

int CFileView::InsertColumn(int nPosition, const CString& strTitle, int nAlign, int nWidth,
                            int nSubItem, int nMinWidth, int nDefaultWidth, int nData)
{
    CFileListModel::tagMODELCOLUMN column;
    column.strTitle = ToQString(strTitle);
    column.nAlign = nAlign;
    column.nSubItem = nSubItem;
    column.nMinWidth = nMinWidth;
    column.nDefaultWidth = nDefaultWidth;
    column.nData = nData;
    const int nIndex = m_pModel->InsertColumn(nPosition, column);
    QHeaderView* pHeader = horizontalHeader();
    pHeader->resizeSection(nIndex, std::max(nWidth, nMinWidth));
    // A new column stands at its position in the display order as well.
    const int nVisual = pHeader->visualIndex(nIndex);
    if (nVisual >= 0 && nVisual != nIndex)
        pHeader->moveSection(nVisual, nIndex);
    return nIndex;
}

void CFileView::DeleteColumn(int nIndex)
{
    m_pModel->RemoveColumn(nIndex);
}

int CFileView::GetColumnWidth(int nIndex) const
{
    return horizontalHeader()->sectionSize(nIndex);
}

int CFileView::GetColumnData(int nIndex) const
{
    const CFileListModel::tagMODELCOLUMN* pColumn = m_pModel->GetColumn(nIndex);
    return pColumn ? pColumn->nData : -1;
}

std::vector<int> CFileView::GetColumnOrder() const
{
    const QHeaderView* pHeader = horizontalHeader();
    std::vector<int> arrOrder;
    for (int n = 0; n < pHeader->count(); ++n)
        arrOrder.push_back(pHeader->logicalIndex(n));
    return arrOrder;
}

void CFileView::SetColumnOrder(const std::vector<int>& arrOrder)
{
    QHeaderView* pHeader = horizontalHeader();
    for (size_t n = 0; n < arrOrder.size() && static_cast<int>(n) < pHeader->count(); ++n)
    {
        const int nLogical = arrOrder[n];
        if (nLogical < 0 || nLogical >= pHeader->count())
            continue;
        const int nVisual = pHeader->visualIndex(nLogical);
        if (nVisual != static_cast<int>(n))
            pHeader->moveSection(nVisual, static_cast<int>(n));
    }
}

void CFileView::OnSectionResized(int nSection, int, int nNewSize)
{
    const CFileListModel::tagMODELCOLUMN* pColumn = m_pModel->GetColumn(nSection);
    if (pColumn && nNewSize < pColumn->nMinWidth)
        horizontalHeader()->resizeSection(nSection, pColumn->nMinWidth);
}
