#include "app/ui/App.h"

#include "app/AppCommandLineInfo.h"
#include "app/CommandLineHelp.h"
#ifdef _WIN32
#include "app/RegistrationRun.h"
#else
#include "app/DesktopIntegration.h"
#endif
#include "app/ui/AboutDlg.h"
#include "app/ui/CommandIds.h"
#include "app/ui/MainFrame.h"
#include "app/ui/OptionsDialog.h"
#include "app/ui/QtProfileStore.h"
#include "app/ui/SingleInstance.h"
#include "app/ui/TermSignal.h"
#include "base/Path.h"
#include "browser/DiagnosticMessages.h"
#include "browser/Playlist.h"
#include "browser/ui/QtString.h"
#include "res/StringTable.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <cstring>

CApp theApp;

#ifndef _WIN32
namespace
{

// A message of the registration run, which has no window to own it. For tests,
// TAGWRIGHT_MESSAGE_DUMP names a file that gets the text, and the box closes by itself.
void ShowRegistrationMessage(UINT nID)
{
    QMessageBox box(QMessageBox::Warning, ToQString(Res::LoadResourceString(Cmd::IDR_MAINFRAME)),
                    ToQString(Res::LoadResourceString(nID)), QMessageBox::Ok);
    box.setObjectName(QStringLiteral("RegistrationMessage"));
    const QString strDump = qEnvironmentVariable("TAGWRIGHT_MESSAGE_DUMP");
    if (strDump.isEmpty() && QGuiApplication::platformName() == QLatin1String("offscreen"))
    {
        // Nobody could see or close the box: the message goes to the error output.
        std::fprintf(stderr, "%s\n", box.text().toLocal8Bit().constData());
        return;
    }
    if (!strDump.isEmpty())
        QTimer::singleShot(0, &box,
                           [&box, strDump]
                           {
                               QFile file(strDump);
                               if (file.open(QIODevice::WriteOnly | QIODevice::Append))
                                   file.write(box.text().toUtf8() + '\n');
                               box.accept();
                           });
    box.exec();
}

// The switch's action on the user's desktop integration. The results go unexamined, as on
// Windows; a failure is only told on the error output.
void RunDesktopIntegration(int nCommand)
{
    const CDesktopIntegration integration;
    BOOL bOk = TRUE;
    switch (nCommand)
    {
    case CMD_ENABLE_SHELL:
    case CMD_INSTALL:
        bOk = integration.Install(CDesktopIntegration::GetProgramPath());
        break;
    case CMD_DISABLE_SHELL:
        bOk = integration.RemoveContextMenus();
        break;
    case CMD_UNINSTALL:
    {
        // Not while the program runs: it would write its settings again at its end.
        CSingleInstance instance;
        if (instance.FindOtherInstance())
        {
            ShowRegistrationMessage(Res::IDS_ALREADY_RUNNING);
            return;
        }
        bOk = integration.Uninstall(
            QFile::encodeName(CQtProfileStore::GetDefaultPath()).toStdString());
        break;
    }
    default:
        break;
    }
    if (!bOk)
        qWarning("Tagwright: the desktop integration below %s could not be changed completely.",
                 integration.GetDataHome().empty() ? "the home folder"
                                                   : integration.GetDataHome().c_str());
}

// Whether the command line holds one of the registration switches.
bool IsRegistrationRun(int argc, char** argv)
{
    CStringArray args;
    for (int i = 1; i < argc; ++i)
        args.push_back(Path::FromNative(argv[i]));
    CAppCommandLineInfo info;
    ParseCommandLine(info, args);
    return info.m_nCommand != 0;
}

} // namespace
#endif

CApp::CApp() = default;

CApp::~CApp()
{
    m_busy.SetHost(nullptr);
}

int CApp::Run(int& argc, char** argv)
{
    {
        CStringArray args;
        for (int i = 1; i < argc; ++i)
            args.push_back(Path::FromNative(argv[i]));
        // Answered before the application object exists: no window, no display needed.
        const HELP_REQUEST request = FindHelpRequest(args);
        if (request != HELP_NONE)
        {
            const std::string strText =
                (request == HELP_USAGE ? GetUsageText() : GetVersionText()).ToUtf8();
            std::fwrite(strText.data(), 1, strText.size(), stdout);
            std::fflush(stdout);
            return 0;
        }
    }
#ifndef _WIN32
    // A registration run may come from a terminal or a script without a desktop: it needs no
    // window, so it must not fail for want of a display.
    if (IsRegistrationRun(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    m_pQtApp = std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Corvell"));
    QCoreApplication::setApplicationName(QStringLiteral("Tagwright"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TW_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("Corvell.Tagwright"));

    CStringArray args;
    for (int i = 1; i < argc; ++i)
        args.push_back(Path::FromNative(argv[i]));

    int nResult = 0;
    if (!InitInstance(args))
        nResult = 1;
    else if (m_pMainWnd)
        nResult = QApplication::exec();
    const int nExit = ExitInstance();
    m_pQtApp.reset();
    return nResult != 0 ? nResult : nExit;
}

BOOL CApp::InitInstance(const CStringArray& args)
{
    CAppCommandLineInfo info;
    ParseCommandLine(info, args);

    // A registration run: its actions come with the shell integration; it ends without a
    // window and neither loads nor saves settings.
    if (info.m_nCommand >= CMD_ENABLE_SHELL && info.m_nCommand <= CMD_UNINSTALL)
    {
        m_nRegistrationCommand = info.m_nCommand;
#ifdef _WIN32
        RegistrationRun::Run(info.m_nCommand);
#else
        RunDesktopIntegration(info.m_nCommand);
#endif
        return TRUE;
    }

    m_pInstance = std::make_unique<CSingleInstance>();
    // Until this start has either become the main instance or handed its request over.
    m_pInstance->BeginStartup();
    if (m_pInstance->FindOtherInstance())
    {
        // Hand the files over, or only bring the running instance forward.
        BOOL bFileOpen = FALSE;
        BOOL bWritten = TRUE;
        if (info.m_nShellCommand == CCommandLineInfo::FileOpen && !info.m_strFileName.IsEmpty())
        {
            // The running instance has a working folder of its own: paths go over in full.
            std::vector<CString> arrPaths;
            const CStringArray pieces = info.GetFilePaths(nullptr);
            for (const CString& strPiece : pieces)
                arrPaths.push_back(Path::GetFullPath(strPiece));
            bFileOpen = bWritten = CSingleInstance::WriteHandOverFile(arrPaths);
        }
        // Files that could not be written down, or a main instance that went away before it had
        // handled them: the start failed.
        const BOOL bHandled = m_pInstance->SendRequest(bFileOpen);
        m_pInstance.reset();
        return bHandled && bWritten ? TRUE : FALSE;
    }
    return InitMainInstance(info);
}

BOOL CApp::InitMainInstance(const CAppCommandLineInfo& info)
{
    m_pStore = std::make_unique<CQtProfileStore>();
    LoadSettings(*m_pStore);

    m_pMainWnd = std::make_unique<CMainFrame>(*this);
    m_busy.SetHost(m_pMainWnd.get());
    m_pMainWnd->LoadWindowState(*m_pStore);
    m_pMainWnd->show();

    // Later starts find this instance from now on; their requests wait while busy.
    if (m_pInstance->Listen())
        QObject::connect(m_pInstance.get(), &CSingleInstance::requestPending, m_pMainWnd.get(),
                         [this] { ProcessDeferred(); });
    m_pInstance->EndStartup();
    m_pTermSignal = std::make_unique<CTermSignal>(
        [this]
        {
            m_bQuitRequested = TRUE;
            ProcessDeferred();
        });

    CDiagnosticMessages diag;
    if (info.m_nShellCommand == CCommandLineInfo::FileOpen)
    {
        const CStringArray arrPaths = info.GetFilePaths(&diag);
        for (const CString& strPath : arrPaths)
            m_pMainWnd->OpenPath(strPath, &diag);
    }
    else
    {
        m_pMainWnd->AddFolder(m_bContinueFromLastPath ? m_strLastPath : m_strUserPath, FALSE,
                              &diag);
    }
    ScheduleScreenshot();
    m_pMainWnd->ShowDiagnostics(diag);
    return TRUE;
}

void CApp::ProcessDeferred()
{
    if (!m_pMainWnd || m_busy.IsBusy())
        return;
    if (m_pInstance)
        m_pInstance->ProcessPending(
            [this](BOOL bFileOpen)
            {
                m_pMainWnd->ActivateFrame();
                if (bFileOpen)
                    m_pMainWnd->OnFileOpenMessage();
            });
    if (m_bQuitRequested)
        m_pMainWnd->close();
}

int CApp::ExitInstance()
{
    if (m_pMainWnd)
    {
        WriteListDump();
        m_busy.SetHost(nullptr);
        m_pMainWnd->SaveWindowState(*m_pStore);
        m_pTermSignal.reset();
        m_pInstance.reset();
        // The list keeps its column layout itself when it goes.
        m_pMainWnd.reset();
        SaveSettings(*m_pStore);
        m_pStore->Flush();
        m_pStore.reset();
    }
    m_pInstance.reset();
    // Every run removes the temporary playlist of Play.
    DeleteTempPlaylist();
    return 0;
}

BOOL CApp::GetTempPlaylistPath(CString& strPath)
{
    strPath = ::GetTempPlaylistPath();
    return strPath.IsEmpty() ? FALSE : TRUE;
}

IProfileStore* CApp::GetProfileStore() const
{
    return m_pStore.get();
}

BOOL CApp::OnCommand(UINT nID)
{
    switch (nID)
    {
    case Cmd::ID_VERSION_HISTORY:
        OpenProgramFile(CString(u"VersionHistory.txt"));
        return TRUE;
    case Cmd::ID_TERM_OF_USE:
        OpenProgramFile(CString(u"TermOfUse.txt"));
        return TRUE;
    case Cmd::ID_TOOLS_OPTIONS:
    {
        COptionsDialog dialog(*this, COptionsDialog::PAGE_GENERAL, m_pMainWnd.get());
        dialog.DoModal();
        return TRUE;
    }
    case Cmd::ID_APP_ABOUT:
    {
        CAboutDlg dialog(m_pMainWnd.get());
        dialog.DoModal();
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL CApp::OnUpdateCommand(UINT nID, tagCMDSTATE& /*state*/)
{
    return nID == Cmd::ID_VERSION_HISTORY || nID == Cmd::ID_TERM_OF_USE ||
           nID == Cmd::ID_TOOLS_OPTIONS || nID == Cmd::ID_APP_ABOUT;
}

void CApp::OpenProgramFile(const CString& strFileName)
{
    const QString strFolder = QCoreApplication::applicationDirPath();
    if (strFolder.isEmpty())
        return;
    const QString strPath = strFolder + QLatin1Char('/') + ToQString(strFileName);
    QString strReason;
    if (!QFileInfo::exists(strPath))
        strReason = QString::fromLocal8Bit(std::strerror(ENOENT));
    else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(strPath)))
        strReason = QStringLiteral("No application could open the file.");
    if (strReason.isEmpty())
        return;
    QMessageBox box(QMessageBox::Critical, ToQString(Res::LoadResourceString(Cmd::IDR_MAINFRAME)),
                    strPath + QStringLiteral("\n\n") + strReason, QMessageBox::Ok,
                    m_pMainWnd.get());
    box.setObjectName(QStringLiteral("OpenProgramFileError"));
    box.exec();
}

void CApp::ScheduleScreenshot()
{
    const QString strTarget = qEnvironmentVariable("TAGWRIGHT_SCREENSHOT");
    if (strTarget.isEmpty() || !m_pMainWnd)
        return;
    // After the window has been laid out and painted once.
    QTimer::singleShot(500, m_pMainWnd.get(),
                       [this, strTarget]
                       {
                           const bool bSaved = m_pMainWnd->grab().save(strTarget, "PNG");
                           if (!bSaved)
                               qWarning("Could not save the screenshot to %s",
                                        qPrintable(strTarget));
                           // A diagnostics dialog of the start-up would keep the program open.
                           if (QWidget* pModal = QApplication::activeModalWidget())
                               pModal->close();
                           m_pMainWnd->close();
                       });
}

void CApp::WriteListDump() const
{
    const QString strTarget = qEnvironmentVariable("TAGWRIGHT_LIST_DUMP");
    if (strTarget.isEmpty() || !m_pMainWnd)
        return;
    QFile file(strTarget);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    for (const CString& strPath : m_pMainWnd->GetListedPaths())
    {
        // The names' own bytes: a name that is not UTF-8 is compared as it is on disk.
        file.write(Path::ToNative(strPath).c_str());
        file.write("\n");
    }
}
