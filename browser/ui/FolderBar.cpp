#include "FolderBar.h"

#include "FolderToolBar.h"
#include "FolderView.h"
#include "QtString.h"
#include "res/StringTable.h"

#include <QMessageBox>
#include <QVBoxLayout>

CFolderBar::CFolderBar(IFolderPaneSettings* pSettings, QWidget* pParent)
    : CFolderBar(pSettings, std::make_unique<CFolderView>(), pParent)
{
}

CFolderBar::CFolderBar(IFolderPaneSettings* pSettings, std::unique_ptr<CFolderView> pView,
                       QWidget* pParent)
    : QDockWidget(QStringLiteral("Folders"), pParent), m_pSettings(pSettings),
      m_pContent(std::make_unique<QWidget>()), m_pToolBar(std::make_unique<CFolderToolBar>()),
      m_pView(std::move(pView))
{
    setObjectName(QStringLiteral("FolderBar"));
    setAllowedAreas(Qt::AllDockWidgetAreas);

    // The toolbar takes the height it needs at the top; the tree fills the rest.
    auto* pLayout = new QVBoxLayout(m_pContent.get());
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addWidget(m_pToolBar.get());
    pLayout->addWidget(m_pView.get(), 1);
    setWidget(m_pContent.get());

    // Focus given to the pane goes on to the tree.
    m_pContent->setFocusProxy(m_pView.get());
    setFocusProxy(m_pView.get());

    connect(m_pToolBar.get(), &CFolderToolBar::command, this, &CFolderBar::OnCommand);
    connect(m_pView.get(), &CFolderView::folderChosen, this, &CFolderBar::OnFolderChosen);
    UpdateButtonStates();
    SelectStartFolder();
}

CFolderBar::~CFolderBar() = default;

BOOL CFolderBar::SelectStartFolder()
{
    if (!m_pSettings)
        return FALSE;
    return SelectFolder(m_pSettings->GetContinueFromLastPath() ? m_pSettings->GetLastPath()
                                                               : m_pSettings->GetUserPath());
}

BOOL CFolderBar::SelectFolder(const CString& strPath)
{
    if (strPath.IsEmpty())
        return FALSE;
    return m_pView->SelectPath(strPath);
}

CString CFolderBar::GetSelectedPath() const
{
    return m_pView->GetSelectedPath();
}

void CFolderBar::OnCommand(UINT nID)
{
    switch (nID)
    {
    case CFolderToolBar::ID_INCLUDE_SUBDIRECTORIES:
        OnIncludeSubdirectories();
        break;
    case CFolderToolBar::ID_APPEND_TO_LIST:
        OnAppendToList();
        break;
    case CFolderToolBar::ID_SET_DEFAULT_PATH:
        OnSetDefaultPath();
        break;
    default:
        break;
    }
}

void CFolderBar::OnFolderChosen(const QModelIndex& index)
{
    const CString strPath = m_pView->GetItemPath(index);
    if (strPath.IsEmpty())
        return;
    if (m_pSettings)
        m_pSettings->SetLastPath(strPath);
    // Disarmed before the load is handed out, so the button is up again while the list fills.
    const bool bIncludeSubfolders = m_bIncludeSubfolders != FALSE;
    m_bIncludeSubfolders = FALSE;
    UpdateButtonStates();
    emit folderActivated(strPath, bIncludeSubfolders, m_bAppendToList != FALSE);
}

void CFolderBar::OnIncludeSubdirectories()
{
    m_bIncludeSubfolders = !m_bIncludeSubfolders;
    // The next click, also on the folder that was selected, loads with the new setting.
    if (m_pView->GetSelectedItem().isValid())
        m_pView->ClearFolderSelection();
    UpdateButtonStates();
}

void CFolderBar::OnAppendToList()
{
    m_bAppendToList = !m_bAppendToList;
    UpdateButtonStates();
}

void CFolderBar::OnSetDefaultPath()
{
    const CString strPath = m_pView->GetSelectedPath();
    if (strPath.IsEmpty())
        return;
    if (m_pSettings)
    {
        m_pSettings->SetUserPath(strPath);
        m_pSettings->SetContinueFromLastPath(FALSE);
    }
    QMessageBox box(QMessageBox::Information,
                    ToQString(Res::LoadResourceString(Res::IDS_APP_TITLE)),
                    ToQString(Res::FormatResourceString(Res::IDS_DEFAULT_PATH_SET, strPath)),
                    QMessageBox::Ok, this);
    box.exec();
}

void CFolderBar::UpdateButtonStates()
{
    m_pToolBar->SetButtonStates(m_bIncludeSubfolders, m_bAppendToList);
}
