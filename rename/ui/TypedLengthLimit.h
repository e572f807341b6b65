// CTypedLengthLimit: limits what the user types or pastes into a line edit to a number of
// characters, as an edit control's text limit does. Text that the program puts in through
// SetText is taken whole, and a text already longer than the limit can still be shortened. What
// is typed or pasted beyond the limit is cut off.
#pragma once

#include <QPointer>
#include <QValidator>

class QLineEdit;

class CTypedLengthLimit : public QValidator
{
    Q_OBJECT

public:
    // Installs itself on the edit, which owns it.
    CTypedLengthLimit(QLineEdit* pEdit, int nMaxLength);

    // Puts the text into the edit whole, with the caret at nCaret (-1: at the end).
    void SetText(const QString& strText, int nCaret = -1);

    State validate(QString& strInput, int& nPos) const override;

private:
    QPointer<QLineEdit> m_pEdit;
    int m_nMaxLength = 0;
    // The length of the text before the change being validated.
    qsizetype m_nLength = 0;
    bool m_bSetting = false;
};
