#include "rename/ui/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

tagOKCANCEL CreateOkCancel(QDialog& dialog, Qt::Orientation orientation)
{
    tagOKCANCEL buttons;
    buttons.pBox = new QDialogButtonBox(orientation, &dialog);
    buttons.pOK = buttons.pBox->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons.pOK->setObjectName(QStringLiteral("1"));
    buttons.pOK->setDefault(true);
    buttons.pCancel =
        buttons.pBox->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    buttons.pCancel->setObjectName(QStringLiteral("2"));
    QObject::connect(buttons.pBox, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons.pBox, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}
