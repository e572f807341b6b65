// CMultiLineEdit: the multi-line text box of the frame dialogs. Return makes a new line (it does
// not press OK) and Tab moves on to the next control. The text it gives back keeps the line
// breaks of the text it was given.
#pragma once

#include "base/String.h"

#include <QPlainTextEdit>

class CMultiLineEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    // bWrap: lines wrap at the box's width and only the vertical scroll bar shows; otherwise
    // lines run on under a horizontal scroll bar too.
    explicit CMultiLineEdit(bool bWrap, QWidget* pParent = nullptr);

    void SetText(const CString& strText);
    // The text unchanged when the user did not edit it; otherwise the box's text with the line
    // breaks of the text given to SetText ("\r\n" or "\n").
    CString GetText() const;

private:
    CString m_strOriginal;
};
