// CFileView: the list of audio files in the main window's client area. It shows CFileList's
// records in the columns of its column manager, sorts, reorders, renames in place and carries the
// commands on the selected files. Texts are formatted only for the cells the view paints.
#pragma once

#include "base/String.h"
#include "base/Types.h"
#include "browser/ColumnManager.h"
#include "browser/FileCommandHost.h"
#include "browser/FileList.h"
#include "browser/Playlist.h"
#include "browser/ui/DragDropListCtrl.h"
#include "browser/ui/FileIconCache.h"
#include "browser/ui/FileListModel.h"
#include "browser/ui/HeaderColumns.h"

#include <functional>
#include <memory>
#include <vector>

class IBusyState;
class CCollator;
class CDiagnosticMessages;
class CInPlaceRename;
class CUndoHistory;
class IDesktopLauncher;
class IProfileStore;
class QLineEdit;
class QMenu;

class CFileView : public CDragDropListCtrl, public IFileListHost
{
    Q_OBJECT

public:
    // The column layout is restored from pProfile (the default layout without one or when the
    // stored one is not valid) and stored there again when the view goes away.
    CFileView(IBusyState& busy, IProfileStore* pProfile, QWidget* pParent = nullptr);
    ~CFileView() override;

    CFileList& GetFileList() { return m_list; }
    CColumnManager& GetColumnManager() { return m_columns; }
    int GetItemCount() const { return m_list.GetCount(); }
    CFileAssocData* GetRecord(int nIndex) const { return m_list.GetRecord(nIndex); }
    // The record's row; -1 when it is not listed.
    int FindRecord(const CFileAssocData* pRecord) const { return m_list.IndexOf(pRecord); }

    // --- Files entering the list (see CFileList) ---
    BOOL AddFile(const CString& strPath) { return m_list.AddFile(strPath); }
    BOOL FindFile(const CString& strPath) const { return m_list.FindFile(strPath); }
    BOOL ScanFolder(const CString& strPath, BOOL bIncludeSubfolders, CDiagnosticMessages* pDiag)
    {
        return m_list.ScanFolder(strPath, bIncludeSubfolders, pDiag);
    }
    BOOL AddFolder(const CString& strPath, BOOL bIncludeSubfolders, CDiagnosticMessages* pDiag)
    {
        return m_list.AddFolder(strPath, bIncludeSubfolders, pDiag);
    }
    BOOL OpenPath(const CString& strPath, CDiagnosticMessages* pDiag)
    {
        return m_list.OpenPath(strPath, pDiag);
    }
    void AddDroppedFiles(const std::vector<CString>& arrPaths, CDiagnosticMessages* pDiag)
    {
        m_list.AddDroppedFiles(arrPaths, pDiag);
    }

    // --- Playlists (see browser/Playlist.h) ---
    // Writes every item, or the selected ones, as a playlist, with the playlist options of the
    // program; on failure string 145 in a message box, and FALSE.
    BOOL CreatePlaylist(const CString& strPath, BOOL bAllFiles);

    // --- Items ---
    // Deletes every item with its record (the callers then clear the sort mark).
    void DeleteAllItems();
    // Deletes the items at the rows (any order) with their records.
    void DeleteItems(const std::vector<int>& arrRows);
    // After the auto-rename: drops the records marked stale; returns how many.
    int RemoveStaleRecords();
    // The records of the rows changed (reloaded): their texts are shown again.
    void UpdateItems(int nFirst, int nLast);

    // --- Reordering (the list's own moves) ---
    void MoveSelectionTo(int nTarget) override;
    void MoveSelectionUp() override;
    void MoveSelectionDown() override;
    void SwapItems(int nA, int nB);

    // --- Commands (the main window asks the list first) ---
    // Whether the list handles the command number at all.
    static BOOL HasCommand(UINT nID);
    // The enabled state of a command the list handles (FALSE for any other).
    BOOL IsCommandEnabled(UINT nID) const;
    // Runs a command the list handles when it is enabled; FALSE when the list does not handle
    // the number, so the caller routes it on.
    BOOL OnCommand(UINT nID);

    void OnLoadPlaylist();
    void OnCreatePlaylist();
    void OnEditTag();
    void OnRemoveTag();
    void OnPlay();
    void OnOpenFileLocation();
    void OnAutoRename();
    void OnTagsFromName();
    void OnRenamePreset(UINT nID);
    void OnRename();
    void OnRemoveFromList();
    void OnProperties();
    void OnSelectAll();
    void OnInvertSelection();
    void OnMoveUp();
    void OnMoveDown();
    void OnChooseColumns();
    void OnSizeAllColumns();
    void OnResetColumns();
    // Takes back the newest change the history holds, in the busy state; the rows of the files
    // it touched show them as they are again, a file given its old name back under that name.
    void OnUndo();
    // "Undo Edit Tag (3 files)", or empty when there is nothing to undo.
    CString GetUndoText() const;

    // The context menus as they would be shown now (menu 322 and header menu 318).
    std::unique_ptr<QMenu> CreateItemMenu();
    std::unique_ptr<QMenu> CreateHeaderMenu();

    // --- What the list needs from the program ---
    // Carries out Edit Tag, Remove Tag, Auto Rename and the rename presets; without a host, or
    // while the host cannot, those commands are disabled.
    void SetCommandHost(IFileCommandHost* pHost) { m_pCommandHost = pHost; }
    // The options the playlists are written with ("Playlist_WriteFullPath",
    // "Playlist_WriteExtInfo"), asked for when a playlist is written; without them neither is set.
    void SetPlaylistOptions(std::function<tagPLAYLISTOPTIONS()> getOptions)
    {
        m_getPlaylistOptions = std::move(getOptions);
    }
    // Opens the options dialog on its "Playlist" page, modally over pParent: the "Options..."
    // button of Create Playlist. Without it that button is disabled.
    void SetPlaylistOptionsHandler(std::function<void(QWidget* pParent)> handler)
    {
        m_onPlaylistOptions = std::move(handler);
    }
    // Where Play and Open File Location hand files to the desktop (the desktop itself unless
    // replaced).
    void SetDesktopLauncher(std::unique_ptr<IDesktopLauncher> pLauncher);
    IDesktopLauncher& GetDesktopLauncher() { return *m_pLauncher; }

    // --- Column layout ---
    void SetProfileStore(IProfileStore* pProfile) { m_pProfile = pProfile; }
    // Stores the layout in the profile store; FALSE without one or when the write failed.
    BOOL SaveColumns();

    // The edit box of an in-place rename in progress, if any.
    QLineEdit* GetLabelEditor() const;

    // The list's columns: the header's sections.
    CHeaderColumns& GetColumns() { return *m_pHeaderColumns; }
    const CHeaderColumns& GetColumns() const { return *m_pHeaderColumns; }

signals:
    // The number of items shown changed (for the status bar's item count).
    void itemCountChanged(int nCount);

protected:
    // --- IFileListHost ---
    void SetRedraw(BOOL bRedraw) override;
    int GetFileImage(const CString& strPath) override;
    void OnBeginInsertItem(int nIndex) override;
    void OnEndInsertItem() override;
    void OnResetSortMark() override;

    void SortItems(int nColumn, BOOL bAscending) override;

    void keyPressEvent(QKeyEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;

private:
    // Runs a change of the item order; the selection and the current item follow their records.
    void Reorder(const std::function<void(const std::vector<int>& arrSelected)>& change);
    // The row that is both current and selected; -1 for none.
    int GetFocusedSelectedRow() const;
    bool HasSelection() const;
    // The host's command over the selected records, then their rows shown again.
    void RunHostCommand(EFileCommand command, int nPreset = 0);
    CUndoHistory* GetUndoHistory() const;
    void ShowHeaderMenu(const QPoint& pt);
    // An error message box over the list with the program's title.
    void ShowError(const CString& strText);

    IBusyState& m_busy;
    CFileList m_list;
    // The image list: one icon per file type, fixed for an item when it is added.
    CFileIconCache m_icons;
    std::unique_ptr<CFileListModel> m_pModel;
    std::unique_ptr<CHeaderColumns> m_pHeaderColumns;
    CColumnManager m_columns;
    IProfileStore* m_pProfile = nullptr;
    IFileCommandHost* m_pCommandHost = nullptr;
    std::function<tagPLAYLISTOPTIONS()> m_getPlaylistOptions;
    std::function<void(QWidget* pParent)> m_onPlaylistOptions;
    std::unique_ptr<IDesktopLauncher> m_pLauncher;
    std::unique_ptr<CCollator> m_pCollator;
    std::unique_ptr<CInPlaceRename> m_pRename;
};
