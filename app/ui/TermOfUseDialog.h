// CTermOfUseDialog: "Term of Use" (template 102), the program's terms in a read-only text box
// with an OK button, opened from the about box's licence line.
#pragma once

#include <QDialog>

class QPlainTextEdit;

class CTermOfUseDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CTermOfUseDialog(QWidget* pParent = nullptr);

    int DoModal();

    // The terms as the program carries them; "TermOfUse.txt" beside the program holds the same.
    static QString GetText();

private:
    QPlainTextEdit* m_pText = nullptr;
};
