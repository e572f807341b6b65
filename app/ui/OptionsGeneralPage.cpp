#include "app/ui/OptionsGeneralPage.h"

#include "browser/ui/QtString.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

COptionsGeneralPage::COptionsGeneralPage(CAppSettings& settings, QWidget* pParent)
    : COptionsPage(settings, QStringLiteral("General"), pParent)
{
    setObjectName(QStringLiteral("107"));

    auto* pGroup = new QGroupBox(QStringLiteral("&Default Path"), this);
    m_pUsePath = new QRadioButton(QStringLiteral("Use &follow path:"), pGroup);
    m_pUsePath->setObjectName(QStringLiteral("1053"));
    m_pUserPath = new QLineEdit(pGroup);
    m_pUserPath->setObjectName(QStringLiteral("1055"));
    m_pBrowse = new QToolButton(pGroup);
    m_pBrowse->setObjectName(QStringLiteral("1055Browse"));
    m_pBrowse->setText(QStringLiteral("..."));
    m_pBrowse->setToolTip(QStringLiteral("Browse"));
    m_pBrowse->setAccessibleName(QStringLiteral("Browse"));
    m_pContinue = new QRadioButton(QStringLiteral("Continue from &last visited folder"), pGroup);
    m_pContinue->setObjectName(QStringLiteral("1054"));

    auto* pPathRow = new QHBoxLayout;
    pPathRow->setSpacing(0);
    pPathRow->addSpacing(18);
    pPathRow->addWidget(m_pUserPath);
    pPathRow->addWidget(m_pBrowse);
    auto* pGroupLayout = new QVBoxLayout(pGroup);
    pGroupLayout->addWidget(m_pUsePath);
    pGroupLayout->addLayout(pPathRow);
    pGroupLayout->addWidget(m_pContinue);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pGroup);
    pLayout->addStretch();

    connect(m_pUsePath, &QRadioButton::toggled, this, [this] { UpdateControls(); });
    connect(m_pContinue, &QRadioButton::toggled, this, [this] { UpdateControls(); });
    connect(m_pBrowse, &QToolButton::clicked, this, [this] { OnBrowse(); });
}

void COptionsGeneralPage::OnInitDialog()
{
    m_pUserPath->setText(ToQString(m_settings.m_strUserPath));
    // Any non-zero flag means continuing.
    if (m_settings.m_bContinueFromLastPath)
        m_pContinue->setChecked(true);
    else
        m_pUsePath->setChecked(true);
    UpdateControls();
}

void COptionsGeneralPage::OnOK()
{
    // Stored as typed: it may be empty or name a folder that does not exist.
    m_settings.m_strUserPath = ToCString(m_pUserPath->text());
    m_settings.m_bContinueFromLastPath = m_pContinue->isChecked() ? TRUE : FALSE;
}

void COptionsGeneralPage::UpdateControls()
{
    const bool bUsePath = m_pUsePath->isChecked();
    m_pUserPath->setEnabled(bUsePath);
    m_pBrowse->setEnabled(bUsePath);
}

void COptionsGeneralPage::OnBrowse()
{
    QFileDialog dialog(this);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    // The picker starts at the folder in the edit when there is one.
    const QString strCurrent = m_pUserPath->text();
    if (!strCurrent.isEmpty() && QFileInfo(strCurrent).isDir())
        dialog.setDirectory(strCurrent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QStringList arrSelected = dialog.selectedFiles();
    if (arrSelected.isEmpty() || arrSelected.first().isEmpty())
        return;
    m_pUserPath->setText(QDir::toNativeSeparators(arrSelected.first()));
}
