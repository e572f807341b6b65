#include "app/ui/MainFrame.h"

#include "app/ui/App.h"
#include "app/ui/BusyPump.h"
#include "app/ui/CommandIcons.h"
#include "app/ui/CommandIds.h"
#include "app/ui/FileCommandHost.h"
#include "app/ui/OptionsDialog.h"
#include "app/ui/SingleInstance.h"
#include "base/ProfileStore.h"
#include "browser/DiagnosticMessages.h"
#include "browser/ui/DiagnosticDialog.h"
#include "browser/ui/FileView.h"
#include "browser/ui/FolderBar.h"
#include "browser/ui/QtString.h"
#include "res/StringTable.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

namespace
{

// One entry of menu 128: a command, or a separator (id 0).
struct tagMENUITEM
{
    UINT nID;
    const char16_t* pszText;
    QKeySequence key = QKeySequence();
};

struct tagMENU
{
    const char16_t* pszTitle;
    std::vector<tagMENUITEM> items;
};

const std::vector<tagMENU>& GetMenu128()
{
    static const std::vector<tagMENU> menus = {
        {u"&File",
         {{Cmd::ID_EDIT_TAG, u"&Edit Tag..."},
          {Cmd::ID_REMOVE_TAG, u"Remo&ve Tag..."},
          {0, nullptr, QKeySequence()},
          {Cmd::ID_LOAD_PLAYLIST, u"Load Play&list..."},
          {Cmd::ID_CREATE_PLAYLIST, u"&Create Playlist..."},
          {0, nullptr, QKeySequence()},
          {Cmd::ID_AUTO_RENAME, u"&Auto Rename...\tCtrl+F2", QKeySequence(Qt::CTRL | Qt::Key_F2)},
          {Cmd::ID_TAGS_FROM_NAME, u"Tags from File &Name...\tCtrl+Shift+F2",
           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F2)},
          {0, nullptr, QKeySequence()},
          {Cmd::ID_RENAME, u"&Rename\tF2", QKeySequence(Qt::Key_F2)},
          {Cmd::ID_PROPERTIES, u"&Properties", QKeySequence(Qt::ALT | Qt::Key_Return)},
          {0, nullptr, QKeySequence()},
          {Cmd::ID_APP_EXIT, u"E&xit"}}},
        {u"&Edit",
         {{Cmd::ID_EDIT_UNDO, u"&Undo\tCtrl+Z", QKeySequence(Qt::CTRL | Qt::Key_Z)},
          {0, nullptr, QKeySequence()},
          {Cmd::ID_SELECT_ALL, u"Select &All\tCtrl+A", QKeySequence(Qt::CTRL | Qt::Key_A)},
          {Cmd::ID_INVERT_SELECTION, u"&Invert Selection\tCtrl+Shift+I",
           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I)},
          {0, nullptr, QKeySequence()},
          {Cmd::ID_REMOVE_FROM_LIST, u"&Remove from List\tDelete", QKeySequence(Qt::Key_Delete)},
          {Cmd::ID_MOVE_UP, u"Move Up\tCtrl+Up", QKeySequence(Qt::CTRL | Qt::Key_Up)},
          {Cmd::ID_MOVE_DOWN, u"Move Down\tCtrl+Down", QKeySequence(Qt::CTRL | Qt::Key_Down)}}},
        {u"&View",
         {{Cmd::ID_VIEW_TOOLBAR, u"&Toolbar"},
          {Cmd::ID_VIEW_STATUS_BAR, u"&Status Bar"},
          {Cmd::ID_VIEW_FOLDERS, u"&Folders\tCtrl+E", QKeySequence(Qt::CTRL | Qt::Key_E)},
          {0, nullptr, QKeySequence()},
          {Cmd::ID_CHOOSE_COLUMNS, u"C&hoose Columns..."},
          {Cmd::ID_VIEW_REFRESH, u"&Refresh\tF5", QKeySequence(Qt::Key_F5)}}},
        {u"&Tools", {{Cmd::ID_TOOLS_OPTIONS, u"&Options..."}}},
        {u"&Help",
         {{Cmd::ID_VERSION_HISTORY, u"&Version History"},
          {Cmd::ID_TERM_OF_USE, u"&Term of Use"},
          {0, nullptr, QKeySequence()},
          {Cmd::ID_APP_ABOUT, u"&About Tagwright..."}}},
    };
    return menus;
}

// Toolbar "Standard", in its order (0: separator), with the buttons' tool tips.
struct tagBUTTON
{
    UINT nID;
    const char* pszTip;
};

const tagBUTTON kStandardButtons[] = {
    {Cmd::ID_VIEW_FOLDERS, "Folders"},
    {Cmd::ID_VIEW_REFRESH, "Refresh"},
    {0, nullptr},
    {Cmd::ID_LOAD_PLAYLIST, "Load Playlist"},
    {Cmd::ID_CREATE_PLAYLIST, "Create Playlist"},
    {0, nullptr},
    {Cmd::ID_EDIT_TAG, "Edit Tag"},
    {Cmd::ID_REMOVE_TAG, "Remove Tag"},
    {0, nullptr},
    {Cmd::ID_PLAY, "Play"},
    {Cmd::ID_PROPERTIES, "Properties"},
    {Cmd::ID_AUTO_RENAME, "Auto Rename"},
    {0, nullptr},
    {Cmd::ID_TOOLS_OPTIONS, "Options"},
};

const char kGeometryEntry[] = "MainFrameGeometry";
const char kStateEntry[] = "MainFrameState";

CString FromLatin(const char* psz)
{
    return ToCString(QString::fromLatin1(psz));
}

} // namespace

CMainFrame::CMainFrame(CApp& app, QWidget* pParent)
    : QMainWindow(pParent), m_app(app), m_pPump(std::make_unique<CBusyPump>())
{
    setObjectName(QStringLiteral("MainFrame"));
    setWindowTitle(ToQString(Res::LoadResourceString(Cmd::IDR_MAINFRAME)));
    setWindowIcon(CommandIcons::GetAppIcon());
    setAcceptDrops(true);
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);

    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    SetBusyMode(FALSE);
    SetStatusText(Res::LoadResourceString(Res::IDS_READY));

    m_pFileCommands = std::make_unique<CFileCommandHost>(app, this);
    m_pFileView = std::make_unique<CFileView>(app.GetBusyState(), app.GetProfileStore(), this);
    m_pFileView->SetCommandHost(m_pFileCommands.get());
    m_pFileView->SetPlaylistOptions(
        [&app] {
            return tagPLAYLISTOPTIONS{app.m_bPlaylistWriteFullPath, app.m_bPlaylistWriteExtInfo};
        });
    m_pFileView->SetPlaylistOptionsHandler(
        [&app](QWidget* pOwner)
        {
            COptionsDialog dialog(app, COptionsDialog::PAGE_PLAYLIST, pOwner);
            dialog.DoModal();
        });
    m_pFileView->setObjectName(QStringLiteral("FileView"));
    setCentralWidget(m_pFileView.get());
    setFocusProxy(m_pFileView.get());
    app.m_pFileView = m_pFileView.get();
    connect(m_pFileView.get(), &CFileView::itemCountChanged, this, &CMainFrame::UpdateItemCount);

    CreateFolderPane();
    resize(1100, 680);

    // The command states follow the program's state whenever it goes idle, as menu items and
    // buttons are expected to.
    if (QAbstractEventDispatcher* pDispatcher = QAbstractEventDispatcher::instance())
        connect(pDispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &CMainFrame::UpdateCommandUI);
    UpdateCommandUI();
}

CMainFrame::~CMainFrame()
{
    m_pPump->End();
    if (m_app.m_pFileView == m_pFileView.get())
        m_app.m_pFileView = nullptr;
}

QAction* CMainFrame::CreateAction(UINT nID, const QString& strText, const QKeySequence& key)
{
    auto* pAction = new QAction(strText, this);
    pAction->setObjectName(QStringLiteral("ID_%1").arg(nID));
    pAction->setData(nID);
    if (!key.isEmpty())
    {
        pAction->setShortcut(key);
        pAction->setShortcutContext(Qt::WindowShortcut);
    }
    const QIcon icon = CommandIcons::GetCommandIcon(nID);
    if (!icon.isNull())
        pAction->setIcon(icon);
    // Alt+Enter on the keypad as well as the main keyboard.
    if (nID == Cmd::ID_PROPERTIES)
        pAction->setShortcuts({key, QKeySequence(Qt::ALT | Qt::Key_Enter)});
    connect(pAction, &QAction::triggered, this, [this, nID] { RouteCommand(nID); });
    m_actions[nID] = pAction;
    addAction(pAction);
    return pAction;
}

void CMainFrame::CreateMenus()
{
    QMenuBar* pBar = menuBar();
    pBar->setObjectName(QStringLiteral("MenuBar"));
    for (const tagMENU& menu : GetMenu128())
    {
        QMenu* pMenu = pBar->addMenu(ToQString(CString(menu.pszTitle)));
        connect(pMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
        for (const tagMENUITEM& item : menu.items)
        {
            if (item.nID == 0)
            {
                pMenu->addSeparator();
                continue;
            }
            QAction* pAction = CreateAction(item.nID, ToQString(CString(item.pszText)), item.key);
            pMenu->addAction(pAction);
        }
    }
}

void CMainFrame::CreateToolBar()
{
    m_pToolBar = new QToolBar(ToQString(Res::LoadResourceString(Res::IDS_TOOLBAR_STANDARD)), this);
    m_pToolBar->setObjectName(QStringLiteral("Standard"));
    m_pToolBar->setIconSize(QSize(16, 16));
    m_pToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const tagBUTTON& button : kStandardButtons)
    {
        if (button.nID == 0)
        {
            m_pToolBar->addSeparator();
            continue;
        }
        QAction* pAction = GetAction(button.nID);
        if (!pAction)
            // Play has no item in menu 128; its button has an action of its own.
            pAction = CreateAction(button.nID, QString::fromLatin1(button.pszTip), QKeySequence());
        pAction->setToolTip(QString::fromLatin1(button.pszTip));
        m_pToolBar->addAction(pAction);
    }
    addToolBar(Qt::TopToolBarArea, m_pToolBar);
    // The list's context menu shows images for these three as well.
    for (UINT nID : {Cmd::ID_OPEN_FILE_LOCATION, Cmd::ID_MOVE_UP, Cmd::ID_MOVE_DOWN})
        if (!GetAction(nID))
            CreateAction(nID, QString(), QKeySequence());
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* pBar = statusBar();
    pBar->setObjectName(QStringLiteral("StatusBar"));
    m_pMessagePane = new QLabel(pBar);
    m_pMessagePane->setObjectName(QStringLiteral("MessagePane"));
    pBar->addWidget(m_pMessagePane, 1);

    m_pItemsPane = new QLabel(pBar);
    m_pItemsPane->setObjectName(QStringLiteral("ItemsPane"));
    m_pItemsPane->setFixedWidth(90);
    m_pItemsPane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pBar->addPermanentWidget(m_pItemsPane);

    m_pBusyPane = new QWidget(pBar);
    m_pBusyPane->setObjectName(QStringLiteral("BusyPane"));
    m_pBusyPane->setFixedWidth(140);
    auto* pLayout = new QHBoxLayout(m_pBusyPane);
    pLayout->setContentsMargins(2, 0, 2, 0);
    pLayout->setSpacing(4);
    auto* pIcon = new QLabel(m_pBusyPane);
    pIcon->setObjectName(QStringLiteral("BusyIcon"));
    pIcon->setPixmap(CommandIcons::GetInformationPixmap());
    auto* pText =
        new QLabel(ToQString(Res::LoadResourceString(Res::IDS_PRESS_ESC_TO_CANCEL)), m_pBusyPane);
    pText->setObjectName(QStringLiteral("BusyText"));
    pLayout->addWidget(pIcon);
    pLayout->addWidget(pText, 1);
    pBar->addPermanentWidget(m_pBusyPane);
}

void CMainFrame::CreateFolderPane()
{
    // The pane selects the start folder itself, without loading it.
    m_pFolderSettings = std::make_unique<CFolderPaneSettings<CAppSettings>>(m_app);
    m_pFolderBar = std::make_unique<CFolderBar>(m_pFolderSettings.get(), this);
    m_pFolderBar->setObjectName(QStringLiteral("Folders"));
    m_pFolderBar->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    m_pFolderBar->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                              QDockWidget::DockWidgetFloatable);
    addDockWidget(Qt::LeftDockWidgetArea, m_pFolderBar.get());
    resizeDocks({m_pFolderBar.get()}, {200}, Qt::Horizontal);
    connect(m_pFolderBar.get(), &CFolderBar::folderActivated, this, &CMainFrame::OnFolderActivated);
}

void CMainFrame::OnFolderActivated(const CString& strPath, bool bIncludeSubfolders, bool bAppend)
{
    if (!bAppend)
        ClearFileList();
    AddFolder(strPath, bIncludeSubfolders ? TRUE : FALSE, nullptr);
}

QAction* CMainFrame::GetAction(UINT nID) const
{
    const auto it = m_actions.find(nID);
    return it == m_actions.end() ? nullptr : it->second;
}

// --- Busy state ---

void CMainFrame::SetBusyMode(BOOL bBusy)
{
    // Requests of later starts and a termination signal that came in meanwhile run once the
    // operation has returned to the event loop.
    if (m_bBusyLayout && !bBusy)
        QTimer::singleShot(0, this, [this] { m_app.ProcessDeferred(); });
    m_bBusyLayout = bBusy;
    m_pItemsPane->setVisible(!bBusy);
    m_pBusyPane->setVisible(bBusy != FALSE);
    if (!bBusy)
        m_pItemsPane->setText(FormatItemCount(m_pFileView ? m_pFileView->GetItemCount() : 0));
}

void CMainFrame::SetStatusText(const CString& strText)
{
    // Painted when the busy pump next lets events run.
    m_pMessagePane->setText(ToQString(strText));
}

void CMainFrame::BeginWaitCursor()
{
    m_pPump->Begin();
}

void CMainFrame::EndWaitCursor()
{
    m_pPump->End();
}

BOOL CMainFrame::PollEscape()
{
    return m_pPump->Poll() ? TRUE : FALSE;
}

QString CMainFrame::FormatItemCount(int nCount)
{
    return nCount < 2 ? QStringLiteral("%1 item").arg(nCount)
                      : QStringLiteral("%1 items").arg(nCount);
}

QString CMainFrame::GetMessageText() const
{
    return m_pMessagePane->text();
}

QString CMainFrame::GetSecondPaneText() const
{
    if (m_bBusyLayout)
        return m_pBusyPane->findChild<QLabel*>(QStringLiteral("BusyText"))->text();
    return m_pItemsPane->text();
}

// --- Commands ---

BOOL CMainFrame::RouteCommand(UINT nID)
{
    if (!QueryCommandState(nID).bEnabled)
        return FALSE;
    // The list first, then this window, then the application.
    if (m_pFileView && CFileView::HasCommand(nID))
        return m_pFileView->OnCommand(nID);
    if (OnCommand(nID))
        return TRUE;
    return m_app.OnCommand(nID);
}

tagCMDSTATE CMainFrame::QueryCommandState(UINT nID)
{
    tagCMDSTATE state;
    if (m_pFileView && CFileView::HasCommand(nID))
    {
        state.bEnabled = m_pFileView->IsCommandEnabled(nID);
        return state;
    }
    if (OnUpdateCommand(nID, state) || m_app.OnUpdateCommand(nID, state))
        return state;
    state.bEnabled = FALSE;
    return state;
}

void CMainFrame::UpdateCommandUI()
{
    for (const auto& [nID, pAction] : m_actions)
    {
        const tagCMDSTATE state = QueryCommandState(nID);
        pAction->setEnabled(state.bEnabled != FALSE);
        if (nID == Cmd::ID_EDIT_UNDO)
        {
            // The item says what it takes back.
            const CString strUndo = m_pFileView->GetUndoText();
            const QString strText =
                (strUndo.IsEmpty() ? QStringLiteral("&Undo") : u'&' + ToQString(strUndo)) +
                QStringLiteral("\tCtrl+Z");
            if (pAction->text() != strText)
                pAction->setText(strText);
        }
        const bool bCheckable = nID == Cmd::ID_VIEW_TOOLBAR || nID == Cmd::ID_VIEW_STATUS_BAR ||
                                nID == Cmd::ID_VIEW_FOLDERS;
        pAction->setCheckable(bCheckable);
        if (bCheckable)
            pAction->setChecked(state.bChecked != FALSE);
    }
    UpdateItemCount();
}

void CMainFrame::UpdateItemCount()
{
    if (m_bBusyLayout)
        return;
    const QString strCount = FormatItemCount(m_pFileView->GetItemCount());
    if (m_pItemsPane->text() != strCount)
        m_pItemsPane->setText(strCount);
}

BOOL CMainFrame::OnCommand(UINT nID)
{
    switch (nID)
    {
    case Cmd::ID_APP_EXIT:
        close();
        return TRUE;
    case Cmd::ID_VIEW_TOOLBAR:
        m_pToolBar->setVisible(!m_pToolBar->isVisible());
        return TRUE;
    case Cmd::ID_VIEW_STATUS_BAR:
        statusBar()->setVisible(!statusBar()->isVisible());
        return TRUE;
    case Cmd::ID_VIEW_FOLDERS:
        OnViewFolders();
        return TRUE;
    case Cmd::ID_VIEW_REFRESH:
        OnViewRefresh();
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CMainFrame::OnUpdateCommand(UINT nID, tagCMDSTATE& state)
{
    switch (nID)
    {
    case Cmd::ID_APP_EXIT:
    case Cmd::ID_VIEW_REFRESH:
        return TRUE;
    case Cmd::ID_VIEW_TOOLBAR:
        state.bChecked = m_pToolBar->isVisible();
        return TRUE;
    case Cmd::ID_VIEW_STATUS_BAR:
        state.bChecked = statusBar()->isVisible();
        return TRUE;
    case Cmd::ID_VIEW_FOLDERS:
        state.bChecked = m_pFolderBar->isVisible();
        return TRUE;
    default:
        return FALSE;
    }
}

void CMainFrame::OnViewFolders()
{
    m_pFolderBar->setVisible(!m_pFolderBar->isVisible());
}

void CMainFrame::OnViewRefresh()
{
    // The folder selected in the pane; none selected: nothing happens.
    const CString strPath = m_pFolderBar->GetSelectedPath();
    if (strPath.IsEmpty())
        return;
    m_app.m_strLastPath = strPath;
    ClearFileList();
    // The scan in the busy state with painting suspended, no subfolders, nothing reported.
    m_pFileView->AddFolder(strPath, FALSE, nullptr);
}

// --- The file list ---

CFileList& CMainFrame::GetFileList()
{
    return m_pFileView->GetFileList();
}

void CMainFrame::ClearFileList()
{
    m_pFileView->DeleteAllItems();
    m_pFileView->SortByColumn(-1, TRUE);
}

BOOL CMainFrame::OpenPath(const CString& strPath, CDiagnosticMessages* pDiag)
{
    return m_pFileView->OpenPath(strPath, pDiag);
}

BOOL CMainFrame::AddFolder(const CString& strPath, BOOL bIncludeSubfolders,
                           CDiagnosticMessages* pDiag)
{
    return m_pFileView->AddFolder(strPath, bIncludeSubfolders, pDiag);
}

std::vector<CString> CMainFrame::GetListedPaths() const
{
    std::vector<CString> arrPaths;
    for (int i = 0; i < m_pFileView->GetItemCount(); ++i)
        arrPaths.push_back(m_pFileView->GetRecord(i)->GetFullPath());
    return arrPaths;
}

void CMainFrame::ShowDiagnostics(const CDiagnosticMessages& messages)
{
    if (messages.GetCount() == 0)
        return;
    CDiagnosticDialog dialog(this);
    dialog.setObjectName(QStringLiteral("DiagnosticDialog"));
    for (const CString& strLine : messages.GetMessages())
        dialog.AddMessage(strLine);
    dialog.exec();
}

// --- Drops, hand-over ---

std::vector<CString> CMainFrame::GetDroppedPaths(const QMimeData* pData)
{
    std::vector<CString> arrPaths;
    if (!pData || !pData->hasUrls())
        return arrPaths;
    for (const QUrl& url : pData->urls())
        if (url.isLocalFile())
            arrPaths.push_back(ToCString(url.toLocalFile()));
    return arrPaths;
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* pEvent)
{
    if (!GetDroppedPaths(pEvent->mimeData()).empty())
        pEvent->acceptProposedAction();
}

void CMainFrame::dragMoveEvent(QDragMoveEvent* pEvent)
{
    if (!GetDroppedPaths(pEvent->mimeData()).empty())
        pEvent->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* pEvent)
{
    const std::vector<CString> arrPaths = GetDroppedPaths(pEvent->mimeData());
    if (arrPaths.empty())
        return;
    pEvent->acceptProposedAction();
    activateWindow();
    CDiagnosticMessages diag;
    m_pFileView->AddDroppedFiles(arrPaths, &diag);
    ShowDiagnostics(diag);
}

void CMainFrame::OnFileOpenMessage()
{
    const CString strPath = CSingleInstance::GetHandOverPath();
    if (strPath.IsEmpty())
        return;
    ClearFileList();
    CDiagnosticMessages diag;
    // A file that is not the user's own (or a link) counts as missing.
    if (CSingleInstance::IsHandOverFileSafe(strPath))
    {
        std::vector<CString> arrPaths;
        if (CSingleInstance::ReadNulSeparatedList(strPath, arrPaths))
        {
            for (const CString& strItem : arrPaths)
                OpenPath(strItem, &diag);
        }
        else
        {
            OpenPath(strPath, &diag);
        }
        QFile::remove(ToQString(strPath));
    }
    ShowDiagnostics(diag);
}

void CMainFrame::ActivateFrame()
{
    if (!isVisible())
        show();
    raise();
    activateWindow();
}

void CMainFrame::focusInEvent(QFocusEvent* pEvent)
{
    QMainWindow::focusInEvent(pEvent);
    m_pFileView->setFocus();
}

void CMainFrame::closeEvent(QCloseEvent* pEvent)
{
    if (m_app.IsBusy())
    {
        pEvent->ignore();
        return;
    }
    QMainWindow::closeEvent(pEvent);
}

// --- Window state ---

void CMainFrame::LoadWindowState(const IProfileStore& store)
{
    std::vector<BYTE> bytes;
    if (store.GetProfileBinary(CString(Settings::SECTION_PRO), FromLatin(kGeometryEntry), bytes))
        restoreGeometry(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                   static_cast<qsizetype>(bytes.size())));
    if (store.GetProfileBinary(CString(Settings::SECTION_PRO), FromLatin(kStateEntry), bytes))
        restoreState(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                static_cast<qsizetype>(bytes.size())));
}

void CMainFrame::SaveWindowState(IProfileStore& store) const
{
    const QByteArray geometry = saveGeometry();
    const QByteArray state = saveState();
    store.WriteProfileBinary(CString(Settings::SECTION_PRO), FromLatin(kGeometryEntry),
                             reinterpret_cast<const BYTE*>(geometry.constData()),
                             static_cast<UINT>(geometry.size()));
    store.WriteProfileBinary(CString(Settings::SECTION_PRO), FromLatin(kStateEntry),
                             reinterpret_cast<const BYTE*>(state.constData()),
                             static_cast<UINT>(state.size()));
}
