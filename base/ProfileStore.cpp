#include "base/ProfileStore.h"

CMemoryProfileStore::Key CMemoryProfileStore::MakeKey(const CString& strSection,
                                                      const CString& strEntry)
{
    // Section and value names are case-insensitive, as in the registry.
    CString s = strSection;
    CString e = strEntry;
    for (int i = 0; i < s.GetLength(); ++i)
        s.SetAt(i, FoldCase(s[i]));
    for (int i = 0; i < e.GetLength(); ++i)
        e.SetAt(i, FoldCase(e[i]));
    return {s.str(), e.str()};
}

const CMemoryProfileStore::tagVALUE* CMemoryProfileStore::Find(const CString& strSection,
                                                               const CString& strEntry) const
{
    const auto it = m_values.find(MakeKey(strSection, strEntry));
    return it == m_values.end() ? nullptr : &it->second;
}

int CMemoryProfileStore::GetProfileInt(const CString& strSection, const CString& strEntry,
                                       int nDefault) const
{
    const tagVALUE* p = Find(strSection, strEntry);
    return p && p->type == tagVALUE::Type::Int ? p->nValue : nDefault;
}

BOOL CMemoryProfileStore::WriteProfileInt(const CString& strSection, const CString& strEntry,
                                          int nValue)
{
    tagVALUE v;
    v.type = tagVALUE::Type::Int;
    v.nValue = nValue;
    m_values[MakeKey(strSection, strEntry)] = std::move(v);
    return TRUE;
}

CString CMemoryProfileStore::GetProfileString(const CString& strSection, const CString& strEntry,
                                              const CString& strDefault) const
{
    const tagVALUE* p = Find(strSection, strEntry);
    return p && p->type == tagVALUE::Type::String ? p->strValue : strDefault;
}

BOOL CMemoryProfileStore::WriteProfileString(const CString& strSection, const CString& strEntry,
                                             const CString& strValue)
{
    tagVALUE v;
    v.type = tagVALUE::Type::String;
    v.strValue = strValue;
    m_values[MakeKey(strSection, strEntry)] = std::move(v);
    return TRUE;
}

BOOL CMemoryProfileStore::GetProfileBinary(const CString& strSection, const CString& strEntry,
                                           std::vector<BYTE>& data) const
{
    const tagVALUE* p = Find(strSection, strEntry);
    if (!p || p->type != tagVALUE::Type::Binary)
    {
        data.clear();
        return FALSE;
    }
    data = p->data;
    return TRUE;
}

BOOL CMemoryProfileStore::WriteProfileBinary(const CString& strSection, const CString& strEntry,
                                             const BYTE* pData, UINT nBytes)
{
    tagVALUE v;
    v.type = tagVALUE::Type::Binary;
    if (pData && nBytes)
        v.data.assign(pData, pData + nBytes);
    m_values[MakeKey(strSection, strEntry)] = std::move(v);
    return TRUE;
}

bool CMemoryProfileStore::HasValue(const CString& strSection, const CString& strEntry) const
{
    return Find(strSection, strEntry) != nullptr;
}

void CMemoryProfileStore::RemoveValue(const CString& strSection, const CString& strEntry)
{
    m_values.erase(MakeKey(strSection, strEntry));
}
