#include "rename/ui/AlterNameDialog.h"

#include "browser/ui/QtString.h"
#include "rename/RenamePlan.h"
#include "rename/ui/DialogButtons.h"
#include "rename/ui/TypedLengthLimit.h"
#include "res/StringTable.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

// Characters a name typed here may hold.
constexpr int MAX_NAME_LENGTH = 256;

} // namespace

CAlterNameDialog::CAlterNameDialog(QWidget* pParent) : QDialog(pParent)
{
    setObjectName(QStringLiteral("379"));
    setWindowTitle(QStringLiteral("Alter Name"));

    auto* pLabel = new QLabel(QStringLiteral("&Name:"), this);
    m_pName = new QLineEdit(this);
    m_pName->setObjectName(QStringLiteral("1082"));
    m_pNameLimit = new CTypedLengthLimit(m_pName, MAX_NAME_LENGTH);
    pLabel->setBuddy(m_pName);

    const tagOKCANCEL buttons = CreateOkCancel(*this);
    QDialogButtonBox* pButtons = buttons.pBox;
    m_pOK = buttons.pOK;
    connect(m_pName, &QLineEdit::textChanged, this, &CAlterNameDialog::OnNameChanged);

    auto* pRow = new QHBoxLayout;
    pRow->addWidget(pLabel);
    pRow->addWidget(m_pName, 1);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pRow);
    pLayout->addStretch(1);
    pLayout->addWidget(pButtons);
    resize(420, 100);
}

int CAlterNameDialog::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CAlterNameDialog::OnInitDialog()
{
    m_pNameLimit->SetText(ToQString(m_strName));
    OnNameChanged();
    m_pName->setFocus();
    m_pName->selectAll();
}

void CAlterNameDialog::OnNameChanged()
{
    m_pOK->setEnabled(CheckAlteredName(ToCString(m_pName->text())) != EAlteredName::Blank);
}

void CAlterNameDialog::OnOK()
{
    CString strName;
    switch (CheckAlteredName(ToCString(m_pName->text()), &strName))
    {
    case EAlteredName::Valid:
        m_strName = strName;
        QDialog::accept();
        return;
    case EAlteredName::IllegalCharacter:
    {
        QMessageBox box(
            QMessageBox::Warning, ToQString(Res::LoadResourceString(Res::IDS_APP_TITLE)),
            ToQString(Res::LoadResourceString(Res::IDS_INVALID_FILE_NAME)), QMessageBox::Ok, this);
        box.exec();
        m_pName->setFocus();
        return;
    }
    case EAlteredName::Blank:
        return;
    }
}

void CAlterNameDialog::accept()
{
    if (m_pOK->isEnabled())
        OnOK();
}
