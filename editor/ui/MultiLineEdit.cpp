#include "editor/ui/MultiLineEdit.h"

#include "browser/ui/QtString.h"

CMultiLineEdit::CMultiLineEdit(bool bWrap, QWidget* pParent) : QPlainTextEdit(pParent)
{
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(bWrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    setLineWrapMode(bWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void CMultiLineEdit::SetText(const CString& strText)
{
    m_strOriginal = strText;
    setPlainText(ToQString(strText));
    document()->setModified(false);
}

CString CMultiLineEdit::GetText() const
{
    if (!document()->isModified())
        return m_strOriginal;
    QString strText = toPlainText();
    if (m_strOriginal.Find(CString(u"\r\n")) >= 0)
        strText.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return ToCString(strText);
}
