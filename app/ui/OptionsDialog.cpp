#include "app/ui/OptionsDialog.h"

#include "app/ui/OptionsGeneralPage.h"
#include "app/ui/OptionsPlaylistPage.h"
#include "app/ui/OptionsTagsPage.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <utility>

COptionsDialog::COptionsDialog(CAppSettings& settings, int nStartPage, QWidget* pParent)
    : QDialog(pParent)
{
    setObjectName(QStringLiteral("Options"));
    setWindowTitle(QStringLiteral("Options"));

    m_pTabs = new QTabWidget(this);
    m_pTabs->setObjectName(QStringLiteral("12320"));
    m_pGeneral = new COptionsGeneralPage(settings);
    m_pTags = new COptionsTagsPage(settings);
    m_pPlaylist = new COptionsPlaylistPage(settings);
    m_pIntegration = new COptionsIntegrationPage(settings);
    // The tab control owns the pages from here on.
    for (COptionsPage* pPage :
         {static_cast<COptionsPage*>(m_pGeneral), static_cast<COptionsPage*>(m_pTags),
          static_cast<COptionsPage*>(m_pPlaylist), static_cast<COptionsPage*>(m_pIntegration)})
        m_pTabs->addTab(pPage, pPage->GetTitle());

    // No page reports changes, so Apply never has anything to do.
    auto* pButtons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    QPushButton* pOk = pButtons->button(QDialogButtonBox::Ok);
    pOk->setText(QStringLiteral("OK"));
    pOk->setObjectName(QStringLiteral("1"));
    QPushButton* pCancel = pButtons->button(QDialogButtonBox::Cancel);
    pCancel->setText(QStringLiteral("Cancel"));
    pCancel->setObjectName(QStringLiteral("2"));
    m_pApply = pButtons->button(QDialogButtonBox::Apply);
    m_pApply->setText(QStringLiteral("&Apply"));
    m_pApply->setObjectName(QStringLiteral("12321"));
    m_pApply->setEnabled(false);
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(m_pTabs);
    pLayout->addWidget(pButtons);
    setMinimumWidth(360);

    SetActivePage(nStartPage);
}

COptionsDialog::~COptionsDialog() = default;

void COptionsDialog::SetActivePage(int nPage)
{
    if (nPage < 0 || nPage >= PAGE_COUNT)
        nPage = PAGE_GENERAL;
    m_pTabs->setCurrentIndex(nPage);
}

int COptionsDialog::GetActiveIndex() const
{
    return m_pTabs->currentIndex();
}

COptionsPage* COptionsDialog::GetPage(int nPage) const
{
    return qobject_cast<COptionsPage*>(m_pTabs->widget(nPage));
}

int COptionsDialog::DoModal()
{
    return exec();
}

void COptionsDialog::SetProgramStarter(COptionsIntegrationPage::ProgramStarter starter)
{
    m_pIntegration->SetProgramStarter(std::move(starter));
}

void COptionsDialog::accept()
{
    // Pages that were never shown keep their settings.
    for (int nPage = 0; nPage < PAGE_COUNT; ++nPage)
        GetPage(nPage)->Apply();
    QDialog::accept();
}
