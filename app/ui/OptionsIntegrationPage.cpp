#include "app/ui/OptionsIntegrationPage.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QProcess>
#include <QVBoxLayout>

#include <utility>

COptionsIntegrationPage::COptionsIntegrationPage(CAppSettings& settings, QWidget* pParent)
    : COptionsPage(settings, QStringLiteral("Integration"), pParent), m_starter(&StartDetached)
{
    setObjectName(QStringLiteral("364"));
    m_pEnable = new QCheckBox(QStringLiteral("Enable shell integration"), this);
    m_pEnable->setObjectName(QStringLiteral("1063"));
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(m_pEnable);
    pLayout->addStretch();
}

void COptionsIntegrationPage::SetProgramStarter(ProgramStarter starter)
{
    m_starter = std::move(starter);
}

bool COptionsIntegrationPage::StartDetached(const QString& strProgram, const QStringList& args)
{
    if (strProgram.isEmpty())
        return false;
    return QProcess::startDetached(strProgram, args);
}

void COptionsIntegrationPage::OnInitDialog()
{
    m_pEnable->setChecked(m_settings.m_bShellIntegrationEnabled != FALSE);
}

void COptionsIntegrationPage::OnOK()
{
    const bool bEnable = m_pEnable->isChecked();
    if (bEnable == (m_settings.m_bShellIntegrationEnabled != FALSE))
        return;
    // The registration run does the work and ends; nothing of its outcome comes back, so only
    // a failed start keeps the old setting.
    const QStringList args{bEnable ? QStringLiteral("-EnableShellIntegration")
                                   : QStringLiteral("-DisableShellIntegration")};
    if (m_starter && m_starter(QCoreApplication::applicationFilePath(), args))
        m_settings.m_bShellIntegrationEnabled = bEnable ? TRUE : FALSE;
    window()->activateWindow();
}
