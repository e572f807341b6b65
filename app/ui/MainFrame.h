// CMainFrame: the program's one top-level window. Menu bar (menu 128), toolbar "Standard",
// status bar (idle and busy layouts), the file list as the central widget and the folder pane
// docked at the left. Commands go to the file list first, then to this window, then to the
// application, for execution and for their enabled and checked state alike.
#pragma once

#include "app/BusyHost.h"
#include "app/ui/CommandTarget.h"
#include "base/String.h"
#include "browser/FileList.h"
#include "browser/ui/FolderPaneSettings.h"

#include <QMainWindow>

#include <map>
#include <memory>
#include <vector>

class CApp;
class CBusyPump;
class CDiagnosticMessages;
class CFileCommandHost;
class CFileView;
class CFolderBar;
class IProfileStore;
class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QMimeData;
class QToolBar;

class CMainFrame : public QMainWindow, public IBusyHost, public ICommandTarget, public IFileListHost
{
    Q_OBJECT

public:
    explicit CMainFrame(CApp& app, QWidget* pParent = nullptr);
    ~CMainFrame() override;

    // --- Busy state (IBusyHost) ---
    void SetBusyMode(BOOL bBusy) override;
    void SetStatusText(const CString& strText) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    BOOL PollEscape() override;

    // --- Commands ---
    BOOL OnCommand(UINT nID) override;
    BOOL OnUpdateCommand(UINT nID, tagCMDSTATE& state) override;
    // Carries out a command along the route (list, window, application); FALSE when nobody
    // handles it or it is disabled.
    BOOL RouteCommand(UINT nID);
    // The state of a command along the route; a command nobody handles is disabled.
    tagCMDSTATE QueryCommandState(UINT nID);
    // Brings every menu item, button and the item-count pane up to date (the window does this
    // whenever the event loop goes idle and before a menu opens).
    void UpdateCommandUI();
    // The action of a command (menu item and toolbar button share it); null when none.
    QAction* GetAction(UINT nID) const;
    QToolBar* GetToolBar() const { return m_pToolBar; }
    CFolderBar* GetFolderPane() const { return m_pFolderBar.get(); }

    // --- The file list ---
    CFileView* GetFileView() const { return m_pFileView.get(); }
    CFileList& GetFileList();
    // Empties the list and takes the sort mark off.
    void ClearFileList();
    // Adds one path of the command line, a drop or a hand-over.
    BOOL OpenPath(const CString& strPath, CDiagnosticMessages* pDiag);
    BOOL AddFolder(const CString& strPath, BOOL bIncludeSubfolders, CDiagnosticMessages* pDiag);
    // The full paths of the listed files, in list order.
    std::vector<CString> GetListedPaths() const;

    // The status bar's panes as they read now.
    QString GetMessageText() const;
    QString GetSecondPaneText() const;
    BOOL IsBusyLayout() const { return m_bBusyLayout; }
    // "%d item" for fewer than two items, "%d items" otherwise.
    static QString FormatItemCount(int nCount);

    // Shows the diagnostics dialog when the collector holds a line.
    void ShowDiagnostics(const CDiagnosticMessages& messages);

    // The "FileOpen" request of a second instance: the list is emptied and filled from the
    // hand-over list.
    void OnFileOpenMessage();
    // Brings the window forward (a minimised window stays minimised).
    void ActivateFrame();

    // Window placement and bar layout, kept in "SettingsPro".
    void LoadWindowState(const IProfileStore& store);
    void SaveWindowState(IProfileStore& store) const;

protected:
    void closeEvent(QCloseEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dragMoveEvent(QDragMoveEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;

private:
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateFolderPane();
    QAction* CreateAction(UINT nID, const QString& strText, const QKeySequence& key);
    void OnViewFolders();
    void OnViewRefresh();
    void OnFolderActivated(const CString& strPath, bool bIncludeSubfolders, bool bAppend);
    // Paths of a drop's local file URLs; empty when it carries none.
    static std::vector<CString> GetDroppedPaths(const QMimeData* pData);
    void UpdateItemCount();

    CApp& m_app;
    std::unique_ptr<CBusyPump> m_pPump;
    // The list keeps its column layout in the profile when it goes, so it goes first.
    // Declared before the list, which uses it until it goes.
    std::unique_ptr<CFileCommandHost> m_pFileCommands;
    std::unique_ptr<CFileView> m_pFileView;
    // Children owned by the window (Qt's parent ownership).
    QToolBar* m_pToolBar = nullptr;
    QLabel* m_pMessagePane = nullptr;
    QLabel* m_pItemsPane = nullptr;
    QWidget* m_pBusyPane = nullptr;
    BOOL m_bBusyLayout = FALSE;
    BOOL m_bRedraw = TRUE;
    std::map<UINT, QAction*> m_actions;
    // The pane changes the start-folder options of the application through this; it goes
    // after the pane.
    std::unique_ptr<IFolderPaneSettings> m_pFolderSettings;
    std::unique_ptr<CFolderBar> m_pFolderBar;
};
