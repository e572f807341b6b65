#include "app/ui/OptionsPage.h"

COptionsPage::COptionsPage(CAppSettings& settings, const QString& strTitle, QWidget* pParent)
    : QWidget(pParent), m_settings(settings), m_strTitle(strTitle)
{
}

void COptionsPage::Initialize()
{
    if (m_bInitialized)
        return;
    m_bInitialized = TRUE;
    OnInitDialog();
}

void COptionsPage::Apply()
{
    if (m_bInitialized)
        OnOK();
}

void COptionsPage::showEvent(QShowEvent* pEvent)
{
    // The tab control shows a page only when it becomes the current one.
    Initialize();
    QWidget::showEvent(pEvent);
}
