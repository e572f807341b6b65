#include "editor/ui/UrlLinkFrameDialog.h"

#include "browser/ui/QtString.h"
#include "editor/FrameDialogFields.h"
#include "tags/id3v2/frames/UserUrlLinkFrame.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

using namespace Tags::ID3v2Tag;

CUrlLinkFrameDialog::CUrlLinkFrameDialog(QWidget* pParent) : CFrameBaseDialog(pParent)
{
    setObjectName(QStringLiteral("335"));

    auto* pDescriptionLabel = new QLabel(QStringLiteral("&Description:"), this);
    m_pDescription = new QLineEdit(this);
    m_pDescription->setObjectName(QStringLiteral("1013"));
    pDescriptionLabel->setBuddy(m_pDescription);
    auto* pUrlLabel = new QLabel(QStringLiteral("&URL:"), this);
    m_pUrl = new QLineEdit(this);
    m_pUrl->setObjectName(QStringLiteral("1019"));
    pUrlLabel->setBuddy(m_pUrl);

    auto* pBody = new QFormLayout;
    pBody->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    pBody->addRow(pDescriptionLabel, m_pDescription);
    pBody->addRow(pUrlLabel, m_pUrl);
    SetBody(pBody);
    // 270 x 135 dialog units.
    resize(405, 219);
}

BOOL CUrlLinkFrameDialog::EditFrame(CFrame* pFrame)
{
    m_pUrlFrame = dynamic_cast<CUrlLinkFrame*>(pFrame);
    return m_pUrlFrame ? CFrameBaseDialog::EditFrame(pFrame) : FALSE;
}

void CUrlLinkFrameDialog::OnInitDialog()
{
    m_pDescription->setText(ToQString(GetUrlDescription(*m_pUrlFrame)));
    m_pDescription->setEnabled(IsUrlDescriptionEditable(m_pUrlFrame->GetID()) != FALSE);
    m_pUrl->setText(ToQString(m_pUrlFrame->m_strUrl));
}

void CUrlLinkFrameDialog::OnOK()
{
    if (IsUrlDescriptionEditable(m_pUrlFrame->GetID()))
    {
        if (auto* pUserFrame = dynamic_cast<CUserUrlLinkFrame*>(m_pUrlFrame))
            pUserFrame->m_strDescription = ToCString(m_pDescription->text());
    }
    m_pUrlFrame->m_strUrl = ToCString(m_pUrl->text());
    CFrameBaseDialog::OnOK();
}
