#include "app/ui/OptionsTagsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace
{

constexpr int VERSION_2_4 = 1; // list index of "Version 2.4"

QCheckBox* NewCheckBox(const char* szId, QWidget* pParent)
{
    auto* pBox = new QCheckBox(QStringLiteral("Write"), pParent);
    pBox->setObjectName(QString::fromLatin1(szId));
    return pBox;
}

} // namespace

COptionsTagsPage::COptionsTagsPage(CAppSettings& settings, QWidget* pParent)
    : COptionsPage(settings, QStringLiteral("Tags"), pParent)
{
    setObjectName(QStringLiteral("106"));

    auto* pGroupV1 = new QGroupBox(QStringLiteral("ID3v&1"), this);
    m_pWriteID3v1 = NewCheckBox("1046", pGroupV1);
    m_pRemoveID3v1 = NewCheckBox("1048", pGroupV1);
    m_pRemoveID3v1->setText(QStringLiteral("Remove"));
    auto* pV1Layout = new QHBoxLayout(pGroupV1);
    pV1Layout->addWidget(m_pWriteID3v1);
    pV1Layout->addWidget(m_pRemoveID3v1);
    pV1Layout->addStretch();

    auto* pGroupV2 = new QGroupBox(QStringLiteral("ID3v&2"), this);
    m_pWriteID3v2 = NewCheckBox("1047", pGroupV2);
    m_pRemoveID3v2 = NewCheckBox("1049", pGroupV2);
    m_pRemoveID3v2->setText(QStringLiteral("Remove"));
    auto* pVersionLabel = new QLabel(QStringLiteral("Save Tag as:"), pGroupV2);
    m_pVersion = new QComboBox(pGroupV2);
    m_pVersion->setObjectName(QStringLiteral("1042"));
    m_pVersion->addItems({QStringLiteral("Version 2.3"), QStringLiteral("Version 2.4")});
    auto* pEncodingLabel = new QLabel(QStringLiteral("Text Encoding:"), pGroupV2);
    m_pLatin1 = new QRadioButton(QStringLiteral("ISO-8859-1 (Latin-1)"), pGroupV2);
    m_pLatin1->setObjectName(QStringLiteral("1043"));
    m_pUtf16 = new QRadioButton(QStringLiteral("UTF-16"), pGroupV2);
    m_pUtf16->setObjectName(QStringLiteral("1044"));
    m_pUtf8 = new QRadioButton(QStringLiteral("UTF-8"), pGroupV2);
    m_pUtf8->setObjectName(QStringLiteral("1045"));

    auto* pChecks = new QHBoxLayout;
    pChecks->addWidget(m_pWriteID3v2);
    pChecks->addWidget(m_pRemoveID3v2);
    pChecks->addStretch();
    auto* pGrid = new QGridLayout;
    pGrid->addWidget(pVersionLabel, 0, 0);
    pGrid->addWidget(m_pVersion, 0, 1);
    pGrid->addWidget(pEncodingLabel, 1, 0, Qt::AlignTop);
    auto* pEncodings = new QVBoxLayout;
    pEncodings->addWidget(m_pLatin1);
    pEncodings->addWidget(m_pUtf16);
    pEncodings->addWidget(m_pUtf8);
    pGrid->addLayout(pEncodings, 1, 1);
    pGrid->setColumnStretch(2, 1);
    auto* pV2Layout = new QVBoxLayout(pGroupV2);
    pV2Layout->addLayout(pChecks);
    pV2Layout->addLayout(pGrid);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pGroupV1);
    pLayout->addWidget(pGroupV2);
    pLayout->addStretch();

    connect(m_pWriteID3v2, &QCheckBox::toggled, this, [this] { UpdateControls(); });
    connect(m_pVersion, &QComboBox::currentIndexChanged, this, [this] { UpdateControls(); });
}

void COptionsTagsPage::OnInitDialog()
{
    m_pWriteID3v1->setChecked(m_settings.m_bWriteID3v1 != FALSE);
    m_pRemoveID3v1->setChecked(m_settings.m_bRemoveID3v1 != FALSE);
    m_pWriteID3v2->setChecked(m_settings.m_bWriteID3v2 != FALSE);
    m_pRemoveID3v2->setChecked(m_settings.m_bRemoveID3v2 != FALSE);
    // Values the settings never load (as before they are read) show as the defaults rather than
    // as an empty choice that OK would store as an invalid version.
    m_pVersion->setCurrentIndex(m_settings.m_nID3v2WriteVersion == 4 ? VERSION_2_4 : 0);
    if (m_settings.m_nID3v2TextEncoding == 0)
        m_pLatin1->setChecked(true);
    else if (m_settings.m_nID3v2TextEncoding == 3)
        m_pUtf8->setChecked(true);
    else
        m_pUtf16->setChecked(true);
    UpdateControls();
}

void COptionsTagsPage::OnOK()
{
    m_settings.m_bWriteID3v1 = m_pWriteID3v1->isChecked() ? TRUE : FALSE;
    m_settings.m_bRemoveID3v1 = m_pRemoveID3v1->isChecked() ? TRUE : FALSE;
    m_settings.m_bWriteID3v2 = m_pWriteID3v2->isChecked() ? TRUE : FALSE;
    m_settings.m_bRemoveID3v2 = m_pRemoveID3v2->isChecked() ? TRUE : FALSE;
    m_settings.m_nID3v2WriteVersion = m_pVersion->currentIndex() + 3;
    if (m_pLatin1->isChecked())
        m_settings.m_nID3v2TextEncoding = 0;
    else if (m_pUtf8->isChecked())
        m_settings.m_nID3v2TextEncoding = 3;
    else
        m_settings.m_nID3v2TextEncoding = 1;
}

void COptionsTagsPage::UpdateControls()
{
    const bool bWrite = m_pWriteID3v2->isChecked();
    const bool bVersion24 = m_pVersion->currentIndex() == VERSION_2_4;
    if (!bVersion24 && m_pUtf8->isChecked())
        m_pUtf16->setChecked(true);
    m_pVersion->setEnabled(bWrite);
    m_pLatin1->setEnabled(bWrite);
    m_pUtf16->setEnabled(bWrite);
    m_pUtf8->setEnabled(bWrite && bVersion24);
}
