#include "editor/ui/TermOfUseFrameDialog.h"

#include "editor/ui/MultiLineEdit.h"
#include "tags/id3v2/frames/TermOfUseFrame.h"

#include <QLabel>
#include <QVBoxLayout>

using namespace Tags::ID3v2Tag;

CTermOfUseFrameDialog::CTermOfUseFrameDialog(QWidget* pParent) : CFrameBaseDialog(pParent)
{
    setObjectName(QStringLiteral("324"));

    auto* pLabel = new QLabel(QStringLiteral("&Term of Use:"), this);
    m_pText = new CMultiLineEdit(false, this);
    m_pText->setObjectName(QStringLiteral("1018"));
    pLabel->setBuddy(m_pText);

    auto* pBody = new QVBoxLayout;
    pBody->addWidget(pLabel);
    pBody->addWidget(m_pText, 1);
    SetBody(pBody);
    // 270 x 217 dialog units.
    resize(405, 353);
}

BOOL CTermOfUseFrameDialog::EditFrame(CFrame* pFrame)
{
    m_pTermFrame = dynamic_cast<CTermOfUseFrame*>(pFrame);
    return m_pTermFrame ? CFrameBaseDialog::EditFrame(pFrame) : FALSE;
}

void CTermOfUseFrameDialog::OnInitDialog()
{
    m_pText->SetText(m_pTermFrame->m_strText);
}

void CTermOfUseFrameDialog::OnOK()
{
    m_pTermFrame->m_strText = m_pText->GetText();
    CFrameBaseDialog::OnOK();
}
