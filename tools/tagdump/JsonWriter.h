// A small streaming JSON writer: objects, arrays and scalar values, with commas and string
// escapes taken care of.
#pragma once

#include "base/String.h"

#include <string>
#include <vector>

class CJsonWriter
{
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The name of the next member of the open object.
    void Key(const char* pszName);

    void String(const CString& str);
    void Int(long long nValue);
    void Bool(bool bValue);
    void Null();

    const std::string& GetText() const { return m_strText; }

private:
    void BeforeValue();
    void AppendEscaped(const CString& str);

    std::string m_strText;
    // One entry per open object or array: whether it already holds a member.
    std::vector<bool> m_bHasMembers;
    bool m_bAfterKey = false;
};
