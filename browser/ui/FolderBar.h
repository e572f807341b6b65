// CFolderBar: the dockable pane "Folders" with its toolbar above the folder tree. A folder
// clicked (or chosen with Enter) in the tree is handed to the file list through folderActivated;
// the pane keeps the two toolbar options and changes "LastPath", "UserPath" and
// "ContinueFromLastPath" through IFolderPaneSettings.
//
// The window that docks the pane loads the folder on folderActivated:
//   when bAppend is false, delete all items and SortByColumn(-1);
//   then AddFolder(strPath, bIncludeSubfolders, no diagnostics).
#pragma once

#include "FolderPaneSettings.h"
#include "base/String.h"
#include "base/Types.h"

#include <QDockWidget>

#include <memory>

class CFolderToolBar;
class CFolderView;
class QModelIndex;

class CFolderBar : public QDockWidget
{
    Q_OBJECT

public:
    // pSettings (may be null: nothing is stored and no start folder is selected) must outlive
    // the pane. The start folder is selected in the tree, not loaded.
    explicit CFolderBar(IFolderPaneSettings* pSettings, QWidget* pParent = nullptr);
    // The same with the tree's roots given (tests, or a window that picks its own roots).
    CFolderBar(IFolderPaneSettings* pSettings, std::unique_ptr<CFolderView> pView,
               QWidget* pParent = nullptr);
    ~CFolderBar() override;

    CFolderToolBar* GetToolBar() const { return m_pToolBar.get(); }
    CFolderView* GetFolderView() const { return m_pView.get(); }

    BOOL IsIncludeSubfolders() const { return m_bIncludeSubfolders; }
    BOOL IsAppendToList() const { return m_bAppendToList; }

    // Selects "LastPath" when "ContinueFromLastPath" is set, otherwise "UserPath", without
    // loading it. FALSE when that folder is not in the tree.
    BOOL SelectStartFolder();
    // Selects a folder without loading it.
    BOOL SelectFolder(const CString& strPath);
    // The path of the tree's selected folder (for Refresh); empty when none is selected.
    CString GetSelectedPath() const;

    // The toolbar's commands.
    void OnIncludeSubdirectories();
    void OnAppendToList();
    void OnSetDefaultPath();

signals:
    // A folder chosen in the tree is to be loaded into the file list.
    void folderActivated(const CString& strPath, bool bIncludeSubfolders, bool bAppend);

private:
    void OnCommand(UINT nID);
    void OnFolderChosen(const QModelIndex& index);
    void UpdateButtonStates();

    IFolderPaneSettings* m_pSettings = nullptr;
    // The content widget holds the toolbar and the tree, so it goes last.
    std::unique_ptr<QWidget> m_pContent;
    std::unique_ptr<CFolderToolBar> m_pToolBar;
    std::unique_ptr<CFolderView> m_pView;
    // One-shot: the next folder load includes subfolders.
    BOOL m_bIncludeSubfolders = FALSE;
    // Folder loads from the tree append to the list until toggled off; not stored.
    BOOL m_bAppendToList = FALSE;
};
