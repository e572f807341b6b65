#include "editor/ui/CommentsFrameDialog.h"

#include "browser/ui/QtString.h"
#include "editor/ui/MultiLineEdit.h"
#include "tags/id3v2/frames/DescribedTextFrame.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace Tags::ID3v2Tag;

CCommentsFrameDialog::CCommentsFrameDialog(QWidget* pParent)
    // 270 x 135 dialog units.
    : CCommentsFrameDialog(QStringLiteral("Short &Description:"), QStringLiteral("Full &Text:"),
                           true, QSize(405, 219), pParent)
{
    setObjectName(QStringLiteral("334"));
}

CCommentsFrameDialog::CCommentsFrameDialog(const QString& strDescriptionLabel,
                                           const QString& strTextLabel, bool bWrap,
                                           const QSize& size, QWidget* pParent)
    : CFrameBaseDialog(pParent)
{
    auto* pDescriptionLabel = new QLabel(strDescriptionLabel, this);
    m_pDescription = new QLineEdit(this);
    m_pDescription->setObjectName(QStringLiteral("1013"));
    pDescriptionLabel->setBuddy(m_pDescription);
    auto* pTextLabel = new QLabel(strTextLabel, this);
    m_pText = new CMultiLineEdit(bWrap, this);
    m_pText->setObjectName(QStringLiteral("1018"));
    pTextLabel->setBuddy(m_pText);

    auto* pBody = new QGridLayout;
    pBody->addWidget(pDescriptionLabel, 0, 0);
    pBody->addWidget(m_pDescription, 0, 1);
    pBody->addWidget(pTextLabel, 1, 0, 1, 2);
    pBody->addWidget(m_pText, 2, 0, 1, 2);
    pBody->setRowStretch(2, 1);
    SetBody(pBody);
    resize(size);
}

BOOL CCommentsFrameDialog::EditFrame(CFrame* pFrame)
{
    m_pDescribedFrame = dynamic_cast<CDescribedTextFrame*>(pFrame);
    return m_pDescribedFrame ? CFrameBaseDialog::EditFrame(pFrame) : FALSE;
}

void CCommentsFrameDialog::OnInitDialog()
{
    m_pDescription->setText(ToQString(m_pDescribedFrame->m_strDescription));
    m_pText->SetText(m_pDescribedFrame->m_strText);
}

void CCommentsFrameDialog::OnOK()
{
    m_pDescribedFrame->m_strDescription = ToCString(m_pDescription->text());
    m_pDescribedFrame->m_strText = m_pText->GetText();
    CFrameBaseDialog::OnOK();
}
