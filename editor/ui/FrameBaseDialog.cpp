#include "editor/ui/FrameBaseDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

CFrameBaseDialog::CFrameBaseDialog(QWidget* pParent) : QDialog(pParent)
{
    setWindowTitle(QStringLiteral("Edit tag"));
    m_pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_pButtons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    m_pButtons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    connect(m_pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CFrameBaseDialog::SetBody(QLayout* pBody)
{
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pBody, 1);
    pLayout->addWidget(m_pButtons);
}

BOOL CFrameBaseDialog::EditFrame(Tags::ID3v2Tag::CFrame* pFrame)
{
    m_pFrame = pFrame;
    if (!m_pFrame)
        return FALSE;
    // OK is enabled whenever the dialog opens.
    m_pButtons->button(QDialogButtonBox::Ok)->setEnabled(true);
    OnInitDialog();
    return exec() == QDialog::Accepted ? TRUE : FALSE;
}

void CFrameBaseDialog::OnOK()
{
    QDialog::accept();
}

void CFrameBaseDialog::accept()
{
    OnOK();
}
