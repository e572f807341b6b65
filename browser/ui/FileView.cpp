#include "browser/ui/FileView.h"

#include "base/CodePage.h"
#include "base/Path.h"
#include "base/ProfileStore.h"
#include "browser/Collator.h"
#include "browser/ColumnTable.h"
#include "browser/FileAssocData.h"
#include "browser/Playlist.h"
#include "browser/UndoHistory.h"
#include "browser/ui/ChooseColumnsDialog.h"
#include "browser/ui/DesktopLauncher.h"
#include "browser/ui/DiagnosticDialog.h"
#include "browser/ui/FilePropertiesDialog.h"
#include "browser/ui/FileViewCommands.h"
#include "browser/ui/FileViewMenus.h"
#include "browser/ui/InPlaceRename.h"
#include "browser/ui/PlaylistFileDialog.h"
#include "browser/ui/QtString.h"
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

CFileView::CFileView(IBusyState& busy, IProfileStore* pProfile, QWidget* pParent)
    : CDragDropListCtrl(pParent), m_busy(busy), m_list(busy, this),
      m_pModel(std::make_unique<CFileListModel>(m_list, m_icons.GetIcons(), nullptr)),
      m_pHeaderColumns(std::make_unique<CHeaderColumns>(*this, *horizontalHeader(), *m_pModel)),
      m_columns(*m_pHeaderColumns), m_pProfile(pProfile),
      m_pLauncher(std::make_unique<CDesktopLauncher>()), m_pCollator(std::make_unique<CCollator>())
{
    setObjectName(QStringLiteral("FileView"));
    setModel(m_pModel.get());
    // A first start in a folder without audio files shows what to do instead of a grey void.
    SetEmptyText(QStringLiteral("No audio files here.\n\nDrop files or folders here, or choose "
                                "a folder on the left."));
    connect(m_pModel.get(), &CFileListModel::rowCountChanged, this, &CFileView::itemCountChanged);
    m_pRename = std::make_unique<CInPlaceRename>(*this, m_list, *m_pModel);
    m_pRename->SetUndoHistory([this] { return GetUndoHistory(); });

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

BOOL CFileView::CreatePlaylist(const CString& strPath, BOOL bAllFiles)
{
    const tagPLAYLISTOPTIONS options =
        m_getPlaylistOptions ? m_getPlaylistOptions() : tagPLAYLISTOPTIONS();
    BOOL bWritten = FALSE;
    {
        CWaitCursor wait;
        bWritten = ::CreatePlaylist(m_list, strPath, bAllFiles, GetSelectedRows(),
                                    options.bWriteFullPath, options.bWriteExtInfo);
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
    SetRedraw(FALSE);
    OpenPath(strPath, &diagnostics);
    SetRedraw(TRUE);
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

void CFileView::DeleteItems(const std::vector<int>& arrRows)
{
    m_pModel->RemoveRows(arrRows);
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
    // The selection is taken off first so that only a few persistent indexes (the current
    // item, an editor) need moving with their records.
    if (selectionModel())
        selectionModel()->clearSelection();
    const std::vector<int> newRows = m_pModel->Reorder([&] { change(arrSelected); });
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

namespace
{

// The list's commands with their handlers; the rename presets are handled apart.
struct tagVIEWCOMMAND
{
    UINT nID;
    void (CFileView::*pHandler)();
};

constexpr tagVIEWCOMMAND VIEW_COMMANDS[] = {
    {Cmd::ID_EDIT_TAG, &CFileView::OnEditTag},
    {Cmd::ID_REMOVE_TAG, &CFileView::OnRemoveTag},
    {Cmd::ID_PLAY, &CFileView::OnPlay},
    {Cmd::ID_OPEN_FILE_LOCATION, &CFileView::OnOpenFileLocation},
    {Cmd::ID_AUTO_RENAME, &CFileView::OnAutoRename},
    {Cmd::ID_TAGS_FROM_NAME, &CFileView::OnTagsFromName},
    {Cmd::ID_RENAME, &CFileView::OnRename},
    {Cmd::ID_REMOVE_FROM_LIST, &CFileView::OnRemoveFromList},
    {Cmd::ID_PROPERTIES, &CFileView::OnProperties},
    {Cmd::ID_LOAD_PLAYLIST, &CFileView::OnLoadPlaylist},
    {Cmd::ID_CREATE_PLAYLIST, &CFileView::OnCreatePlaylist},
    {Cmd::ID_SELECT_ALL, &CFileView::OnSelectAll},
    {Cmd::ID_INVERT_SELECTION, &CFileView::OnInvertSelection},
    {Cmd::ID_MOVE_UP, &CFileView::OnMoveUp},
    {Cmd::ID_MOVE_DOWN, &CFileView::OnMoveDown},
    {Cmd::ID_CHOOSE_COLUMNS, &CFileView::OnChooseColumns},
    {Cmd::ID_SIZE_ALL_COLUMNS, &CFileView::OnSizeAllColumns},
    {Cmd::ID_RESET_COLUMNS, &CFileView::OnResetColumns},
    {Cmd::ID_EDIT_UNDO, &CFileView::OnUndo},
};

const tagVIEWCOMMAND* FindCommand(UINT nID)
{
    for (const tagVIEWCOMMAND& command : VIEW_COMMANDS)
    {
        if (command.nID == nID)
            return &command;
    }
    return nullptr;
}

bool IsPresetCommand(UINT nID)
{
    return nID >= Cmd::ID_RENAME_PRESET_FIRST && nID <= Cmd::ID_RENAME_PRESET_LAST;
}

} // namespace

BOOL CFileView::HasCommand(UINT nID)
{
    return FindCommand(nID) || IsPresetCommand(nID);
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
    case Cmd::ID_EDIT_TAG:
        return HasSelection() && m_pCommandHost &&
               m_pCommandHost->CanRunCommand(EFileCommand::EditTag, GetSelectedCount());
    case Cmd::ID_REMOVE_TAG:
        return HasSelection() && m_pCommandHost &&
               m_pCommandHost->CanRunCommand(EFileCommand::RemoveTag, GetSelectedCount());
    case Cmd::ID_AUTO_RENAME:
        return HasSelection() && m_pCommandHost &&
               m_pCommandHost->CanRunCommand(EFileCommand::AutoRename, GetSelectedCount());
    case Cmd::ID_TAGS_FROM_NAME:
        return HasSelection() && m_pCommandHost &&
               m_pCommandHost->CanRunCommand(EFileCommand::TagsFromName, GetSelectedCount());
    case Cmd::ID_EDIT_UNDO:
        // The changes may be to files no longer listed: no selection needed.
        return GetUndoHistory() && GetUndoHistory()->CanUndo() && !m_busy.IsBusy();
    default:
        if (IsPresetCommand(nID))
            return HasSelection() && m_pCommandHost &&
                   m_pCommandHost->CanRunCommand(EFileCommand::RenamePreset, GetSelectedCount()) &&
                   static_cast<size_t>(nID - Cmd::ID_RENAME_PRESET_FIRST) <
                       m_pCommandHost->GetRenamePresets().size();
        return HasCommand(nID) && HasSelection();
    }
}

BOOL CFileView::OnCommand(UINT nID)
{
    if (!HasCommand(nID))
        return FALSE;
    if (!IsCommandEnabled(nID))
        return TRUE;
    if (const tagVIEWCOMMAND* pCommand = FindCommand(nID))
        (this->*pCommand->pHandler)();
    else
        OnRenamePreset(nID);
    return TRUE;
}

void CFileView::RunHostCommand(EFileCommand command, int nPreset)
{
    if (!m_pCommandHost || !HasSelection())
        return;
    std::vector<CFileAssocData*> arrRecords;
    for (const int nRow : GetSelectedRows())
        arrRecords.push_back(m_list.GetRecord(nRow));
    const std::vector<CFileAssocData*> arrChanged =
        m_pCommandHost->RunCommand(command, nPreset, arrRecords);
    if (arrChanged.empty())
        return;
    // A renamed record is found under its new name from now on.
    m_list.RefreshPathIndex();
    bool bStale = false;
    for (const CFileAssocData* pRecord : arrChanged)
    {
        bStale = bStale || (pRecord && pRecord->m_bStale);
        const int nRow = m_list.IndexOf(pRecord);
        if (nRow >= 0)
            m_pModel->RowsChanged(nRow, nRow);
    }
    if (bStale)
        RemoveStaleRecords();
}

CUndoHistory* CFileView::GetUndoHistory() const
{
    return m_pCommandHost ? m_pCommandHost->GetUndoHistory() : nullptr;
}

CString CFileView::GetUndoText() const
{
    const CUndoHistory* pHistory = GetUndoHistory();
    return pHistory ? pHistory->GetUndoText() : CString();
}

void CFileView::OnUndo()
{
    CUndoHistory* pHistory = GetUndoHistory();
    if (!pHistory || !pHistory->CanUndo())
        return;
    CDiagnosticDialog diagnostics(this);
    std::vector<tagUNDONEFILE> arrUndone;
    pHistory->Undo(m_busy, &diagnostics, arrUndone);
    bool bStale = false;
    for (const tagUNDONEFILE& undone : arrUndone)
    {
        const int nRow = m_list.FindPath(undone.strPath);
        CFileAssocData* pRecord = m_list.GetRecord(nRow);
        if (!pRecord)
            continue;
        // A file that got its old name back is listed under it from now on.
        if (!pRecord->Load(undone.strNewPath))
            pRecord->m_bStale = TRUE;
        bStale = bStale || pRecord->m_bStale;
        m_pModel->RowsChanged(nRow, nRow);
    }
    m_list.RefreshPathIndex();
    if (bStale)
        RemoveStaleRecords();
    if (diagnostics.GetCount() > 0)
        diagnostics.exec();
}

void CFileView::OnEditTag()
{
    RunHostCommand(EFileCommand::EditTag);
}

void CFileView::OnRemoveTag()
{
    RunHostCommand(EFileCommand::RemoveTag);
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
    RunHostCommand(EFileCommand::AutoRename);
}

void CFileView::OnTagsFromName()
{
    RunHostCommand(EFileCommand::TagsFromName);
}

void CFileView::OnRenamePreset(UINT nID)
{
    if (IsPresetCommand(nID))
        RunHostCommand(EFileCommand::RenamePreset,
                       static_cast<int>(nID - Cmd::ID_RENAME_PRESET_FIRST));
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
    m_pHeaderColumns->SizeAllColumns();
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
    return m_pRename->GetEditor();
}

void CFileView::OnRename()
{
    m_pRename->Start(GetFocusedSelectedRow());
}

// --- Keyboard, mouse, menus ---

namespace
{

// The list's own keys (Ctrl+E and the others of the main menu are the window's).
struct tagVIEWKEY
{
    int nKey;
    Qt::KeyboardModifiers modifiers;
    UINT nID;
};

const tagVIEWKEY VIEW_KEYS[] = {
    {Qt::Key_Return, Qt::NoModifier, Cmd::ID_EDIT_TAG},
    {Qt::Key_Enter, Qt::NoModifier, Cmd::ID_EDIT_TAG},
    {Qt::Key_Return, Qt::AltModifier, Cmd::ID_PROPERTIES},
    {Qt::Key_Enter, Qt::AltModifier, Cmd::ID_PROPERTIES},
    {Qt::Key_F2, Qt::NoModifier, Cmd::ID_RENAME},
    {Qt::Key_F2, Qt::ControlModifier, Cmd::ID_AUTO_RENAME},
    {Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier, Cmd::ID_TAGS_FROM_NAME},
    {Qt::Key_Delete, Qt::NoModifier, Cmd::ID_REMOVE_FROM_LIST},
    {Qt::Key_Up, Qt::ControlModifier, Cmd::ID_MOVE_UP},
    {Qt::Key_Down, Qt::ControlModifier, Cmd::ID_MOVE_DOWN},
    {Qt::Key_A, Qt::ControlModifier, Cmd::ID_SELECT_ALL},
    {Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier, Cmd::ID_INVERT_SELECTION},
};

} // namespace

void CFileView::keyPressEvent(QKeyEvent* pEvent)
{
    const Qt::KeyboardModifiers modifiers =
        pEvent->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    for (const tagVIEWKEY& key : VIEW_KEYS)
    {
        if (key.nKey == pEvent->key() && key.modifiers == modifiers)
        {
            OnCommand(key.nID);
            pEvent->accept();
            return;
        }
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

std::unique_ptr<QMenu> CFileView::CreateItemMenu()
{
    return FileViewMenus::CreateItemMenu(*this, m_pCommandHost ? m_pCommandHost->GetRenamePresets()
                                                               : std::vector<CString>());
}

std::unique_ptr<QMenu> CFileView::CreateHeaderMenu()
{
    return FileViewMenus::CreateHeaderMenu(*this);
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
    return m_icons.GetFileImage(strPath);
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
