// The OK and Cancel buttons of the rename dialogs: numbered 1 and 2 as the dialogs' controls,
// OK the default (Return), wired to the dialog's accept and reject.
#pragma once

#include <Qt>

class QDialog;
class QDialogButtonBox;
class QPushButton;

struct tagOKCANCEL
{
    QDialogButtonBox* pBox = nullptr;
    QPushButton* pOK = nullptr;
    QPushButton* pCancel = nullptr;
};

// The buttons, owned by the dialog; its accept and reject overrides are the ones called.
tagOKCANCEL CreateOkCancel(QDialog& dialog, Qt::Orientation orientation = Qt::Horizontal);
