// CAlterNameDialog: "Alter Name", where the user changes one planned file name of the rename
// confirmation. OK is enabled while the name is not blank; a name with a character that file
// names cannot hold is refused and the dialog stays open.
#pragma once

#include "base/String.h"

#include <QDialog>

class CTypedLengthLimit;
class QLineEdit;
class QPushButton;

class CAlterNameDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CAlterNameDialog(QWidget* pParent = nullptr);

    // Puts m_strName into the edit and runs the dialog modally.
    int exec() override;
    int DoModal() { return exec(); }

    // The name: set by the caller; after OK the name typed, trimmed at both ends.
    CString m_strName;

protected:
    void OnInitDialog();
    void OnOK();
    void OnNameChanged();

private:
    void accept() override;

    QLineEdit* m_pName = nullptr;
    CTypedLengthLimit* m_pNameLimit = nullptr;
    QPushButton* m_pOK = nullptr;
};
