// CApp: the application object. It reads the command line, tells a registration run, a later
// start that hands its files to the running instance, and the main instance apart; the main
// instance loads the settings, creates the main window, fills the list and at exit saves the
// settings. It holds the busy state every long operation enters.
#pragma once

#include "app/AppSettings.h"
#include "app/BusyState.h"
#include "app/ui/CommandTarget.h"
#include "base/String.h"

#include <memory>
#include <vector>

class CFileView;
class CMainFrame;
class CQtProfileStore;
class CSingleInstance;
class CTermSignal;
class QApplication;

class CApp : public CAppSettings, public ICommandTarget
{
public:
    CApp();
    ~CApp() override;
    CApp(const CApp&) = delete;
    CApp& operator=(const CApp&) = delete;

    // The program: the Qt application, InitInstance, the event loop while there is a main
    // window, ExitInstance. Returns the exit code.
    int Run(int& argc, char** argv);

    // Start-up with the arguments after the program's name; a Qt application must exist. TRUE
    // also for runs that end without a window (registration, hand-over): GetMainFrame is then
    // null.
    BOOL InitInstance(const CStringArray& args);
    // Settings saved (main instance only), the temporary playlist deleted. Returns the exit code.
    int ExitInstance();

    // --- Busy state ---
    void BeginBusy() { m_busy.BeginBusy(); }
    void EndBusy() { m_busy.EndBusy(); }
    BOOL IsCancelRequested() { return m_busy.IsCancelRequested(); }
    BOOL IsBusy() const { return m_busy.IsBusy(); }
    CBusyState& GetBusyState() { return m_busy; }

    // "Tagwright.m3u" in the private temporary folder; FALSE with an empty path when there is
    // none.
    static BOOL GetTempPlaylistPath(CString& strPath);

    CMainFrame* GetMainFrame() const { return m_pMainWnd.get(); }
    // The profile of the main instance; null in the other runs.
    IProfileStore* GetProfileStore() const;
    BOOL IsMainInstance() const { return m_pMainWnd != nullptr; }
    // The switch of a registration run (0 for none).
    int GetRegistrationCommand() const { return m_nRegistrationCommand; }

    // --- Application commands ---
    BOOL OnCommand(UINT nID) override;
    BOOL OnUpdateCommand(UINT nID, tagCMDSTATE& state) override;
    // Opens a file of the program's own (beside it, or in the installed data folder) with the
    // desktop's default application; an error box names the path and the reason when that fails.
    void OpenProgramFile(const CString& strFileName);

    // Requests of later starts and a termination signal wait while busy; this handles them
    // (the main window calls it again when the busy state ends).
    void ProcessDeferred();

    // The main window's file list; null without one.
    CFileView* m_pFileView = nullptr;

private:
    // The main instance's start after the checks.
    BOOL InitMainInstance(const class CAppCommandLineInfo& info);
    // A test and tool hook from the environment: the listed paths written at the end into the
    // file TAGWRIGHT_LIST_DUMP names.
    void WriteListDump() const;

    CBusyState m_busy;
    int m_nRegistrationCommand = 0;
    BOOL m_bQuitRequested = FALSE;
    std::unique_ptr<QApplication> m_pQtApp;
    std::unique_ptr<CQtProfileStore> m_pStore;
    std::unique_ptr<CSingleInstance> m_pInstance;
    std::unique_ptr<CTermSignal> m_pTermSignal;
    std::unique_ptr<CMainFrame> m_pMainWnd;
};

// The program's one application object.
extern CApp theApp;
