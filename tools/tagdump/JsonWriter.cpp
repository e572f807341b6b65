#include "tools/tagdump/JsonWriter.h"

#include <cstdio>

void CJsonWriter::BeforeValue()
{
    if (m_bAfterKey)
    {
        m_bAfterKey = false;
        return;
    }
    if (!m_bHasMembers.empty())
    {
        if (m_bHasMembers.back())
            m_strText += ',';
        m_bHasMembers.back() = true;
    }
}

void CJsonWriter::BeginObject()
{
    BeforeValue();
    m_strText += '{';
    m_bHasMembers.push_back(false);
}

void CJsonWriter::EndObject()
{
    m_strText += '}';
    m_bHasMembers.pop_back();
}

void CJsonWriter::BeginArray()
{
    BeforeValue();
    m_strText += '[';
    m_bHasMembers.push_back(false);
}

void CJsonWriter::EndArray()
{
    m_strText += ']';
    m_bHasMembers.pop_back();
}

void CJsonWriter::Key(const char* pszName)
{
    BeforeValue();
    AppendEscaped(CString(pszName));
    m_strText += ':';
    m_bAfterKey = true;
}

void CJsonWriter::String(const CString& str)
{
    BeforeValue();
    AppendEscaped(str);
}

void CJsonWriter::AppendEscaped(const CString& str)
{
    m_strText += '"';
    for (const char c : str.ToUtf8())
    {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
        {
            m_strText += '\\';
            m_strText += c;
        }
        else if (c == '\n')
            m_strText += "\\n";
        else if (c == '\r')
            m_strText += "\\r";
        else if (c == '\t')
            m_strText += "\\t";
        else if (u < 0x20)
        {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            m_strText += buf;
        }
        else
            m_strText += c;
    }
    m_strText += '"';
}

void CJsonWriter::Int(long long nValue)
{
    BeforeValue();
    m_strText += std::to_string(nValue);
}

void CJsonWriter::Bool(bool bValue)
{
    BeforeValue();
    m_strText += bValue ? "true" : "false";
}

void CJsonWriter::Null()
{
    BeforeValue();
    m_strText += "null";
}
