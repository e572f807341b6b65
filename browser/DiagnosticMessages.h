// The message store behind the diagnostics dialog: bulk operations add one line per problem and
// the caller shows the dialog once at the end when it holds any line.
#pragma once

#include "base/String.h"

#include <vector>

class CDiagnosticMessages
{
public:
    virtual ~CDiagnosticMessages() = default;

    // Appends one line; every "\r\n" becomes a single blank first (a lone "\n" stays).
    void AddMessage(const CString& strMessage);
    int GetCount() const { return static_cast<int>(m_messages.size()); }
    const std::vector<CString>& GetMessages() const { return m_messages; }

private:
    std::vector<CString> m_messages;
};
