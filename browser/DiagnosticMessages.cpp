#include "browser/DiagnosticMessages.h"

void CDiagnosticMessages::AddMessage(const CString& strMessage)
{
    CString strLine = strMessage;
    strLine.Replace(CString(u"\r\n"), CString(u" "));
    m_messages.push_back(std::move(strLine));
}
