// CFileView: the list of audio files in the main window's client area. It shows CFileList's
// records in the columns of its column manager, sorts, reorders, renames in place and carries the
// commands on the selected files. Texts are formatted only for the cells the view paints.
#pragma once

#include "base/String.h"
#include "base/Types.h"
#include "browser/ColumnManager.h"
#include "browser/FileList.h"
#include "browser/ui/DragDropListCtrl.h"
#include "browser/ui/FileListModel.h"

#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

class CAppSettings;
class CBusyState;
class CCollator;
class CDiagnosticMessages;
class CLabelEditDelegate;
class IDesktopLauncher;
class IProfileStore;
class QLineEdit;
class QMenu;

class CFileView : public CDragDropListCtrl, public IFileListHost, public IColumnListCtrl
{
    Q_OBJECT

public:
    // The column layout is restored from pProfile (the default layout without one or when the
    // stored one is not valid) and stored there again when the view goes away.
    CFileView(CBusyState& busy, IProfileStore* pProfile, QWidget* pParent = nullptr);
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
    // Reads an M3U playlist (UTF-8 with bUtf8, else the ANSI code page) with painting suspended.
    BOOL LoadPlaylist(const CString& strPath, BOOL bUtf8, CDiagnosticMessages* pDiag);
    BOOL LoadFileList(const CString& strPath, CDiagnosticMessages* pDiag);
    // Writes every item, or the selected ones, as a playlist, with the playlist options of the
    // settings; on failure string 145 in a message box, and FALSE.
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

    // The context menus as they would be shown now (menu 322 and header menu 318).
    std::unique_ptr<QMenu> CreateItemMenu();
    std::unique_ptr<QMenu> CreateHeaderMenu();

    // --- What the list needs from the program ---
    // The options the playlists are written with ("Playlist_WriteFullPath",
    // "Playlist_WriteExtInfo"), read when a playlist is written; without them neither is set.
    void SetSettings(const CAppSettings* pSettings) { m_pSettings = pSettings; }
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

    // --- IColumnListCtrl: the list's columns are the header's sections ---
    int GetColumnCount() const override;
    int InsertColumn(int nPosition, const CString& strTitle, int nAlign, int nWidth, int nSubItem,
                     int nMinWidth, int nDefaultWidth, int nData) override;
    void DeleteColumn(int nIndex) override;
    int GetColumnWidth(int nIndex) const override;
    int GetColumnData(int nIndex) const override;
    std::vector<int> GetColumnOrder() const override;
    void SetColumnOrder(const std::vector<int>& arrOrder) override;

signals:
    // The number of items shown changed (for the status bar's item count).
    void itemCountChanged(int nCount);
    // A command on the selection that later parts of the program carry out (Edit Tag, Remove
    // Tag, Auto Rename, a rename preset, Properties).
    void commandRequested(unsigned int nID);

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
    // A command of a later step: asked for with a selection only.
    void RequestCommand(UINT nID);
    void OnEndLabelEdit(int nRow, const QString& strText);
    void FinishRename();
    void RenameRecord(CFileAssocData& record, const CString& strName);
    void ShowHeaderMenu(const QPoint& pt);
    // An error message box over the list with the program's title.
    void ShowError(const CString& strText);
    void OnSectionResized(int nSection, int nOldSize, int nNewSize);

    CFileList m_list;
    CColumnManager m_columns;
    IProfileStore* m_pProfile = nullptr;
    const CAppSettings* m_pSettings = nullptr;
    std::function<void(QWidget* pParent)> m_onPlaylistOptions;
    std::unique_ptr<IDesktopLauncher> m_pLauncher;
    std::unique_ptr<CCollator> m_pCollator;
    // The image list: one icon per file type, fixed for an item when it is added.
    std::vector<QIcon> m_arrIcons;
    QHash<QString, int> m_iconByExtension;
    QIcon m_iconFallback;
    QMimeDatabase m_mimeDatabase;
    std::unique_ptr<CFileListModel> m_pModel;
    // Owned by the view (its QObject child).
    CLabelEditDelegate* m_pDelegate = nullptr;
    // A finished label edit waits here until the editor has closed.
    const CFileAssocData* m_pRenameRecord = nullptr;
    QString m_strRenameText;
};
