#include "app/ui/OptionsPlaylistPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

COptionsPlaylistPage::COptionsPlaylistPage(CAppSettings& settings, QWidget* pParent)
    : COptionsPage(settings, QStringLiteral("Playlist"), pParent)
{
    setObjectName(QStringLiteral("363"));

    auto* pGroup = new QGroupBox(QStringLiteral("Write Files Path"), this);
    m_pRelative = new QRadioButton(QStringLiteral("&Relative (Default)"), pGroup);
    m_pRelative->setObjectName(QStringLiteral("1061"));
    m_pFullPath = new QRadioButton(QStringLiteral("&Full qualified"), pGroup);
    m_pFullPath->setObjectName(QStringLiteral("1060"));
    auto* pGroupLayout = new QVBoxLayout(pGroup);
    pGroupLayout->addWidget(m_pRelative);
    pGroupLayout->addWidget(m_pFullPath);

    m_pExtInfo =
        new QCheckBox(QStringLiteral("Write &extra information (length, artist-title)"), this);
    m_pExtInfo->setObjectName(QStringLiteral("1062"));

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pGroup);
    pLayout->addWidget(m_pExtInfo);
    pLayout->addStretch();
}

void COptionsPlaylistPage::OnInitDialog()
{
    if (m_settings.m_bPlaylistWriteFullPath)
        m_pFullPath->setChecked(true);
    else
        m_pRelative->setChecked(true);
    m_pExtInfo->setChecked(m_settings.m_bPlaylistWriteExtInfo != FALSE);
}

void COptionsPlaylistPage::OnOK()
{
    m_settings.m_bPlaylistWriteFullPath = m_pFullPath->isChecked() ? TRUE : FALSE;
    m_settings.m_bPlaylistWriteExtInfo = m_pExtInfo->isChecked() ? TRUE : FALSE;
}
