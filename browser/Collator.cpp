#include "browser/Collator.h"

#include <algorithm>
#include <cwchar>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace
{

#ifndef _WIN32
// UTF-16 to the wide characters of the C library (UTF-32 here). A lone surrogate is kept as
// its own value so that different texts stay different.
void ToWide(const CString& str, std::wstring& out)
{
    out.clear();
    out.reserve(static_cast<size_t>(str.GetLength()));
    const std::u16string& s = str.str();
    for (size_t i = 0; i < s.size(); ++i)
    {
        const char32_t ch = s[i];
        if (ch >= 0xD800 && ch < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] < 0xE000)
        {
            out.push_back(
                static_cast<wchar_t>(0x10000 + ((ch - 0xD800) << 10) + (s[i + 1] - 0xDC00)));
            ++i;
        }
        else
        {
            out.push_back(static_cast<wchar_t>(ch));
        }
    }
}
#endif

int Sign(int n)
{
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}

} // namespace

#ifdef _WIN32

CCollator::CCollator(const char* pszLocale)
{
    if (!pszLocale || !*pszLocale)
        return;
    std::string strName(pszLocale);
    if (strName == "C" || strName == "POSIX")
    {
        m_bCodeUnits = TRUE;
        return;
    }
    // The POSIX form "ll_CC.charset@modifier" names the system's "ll-CC".
    strName = strName.substr(0, strName.find_first_of(".@"));
    std::replace(strName.begin(), strName.end(), '_', '-');
    m_strLocale = CString::FromUtf8(strName).str();
    if (!::IsValidLocaleName(reinterpret_cast<const wchar_t*>(m_strLocale.c_str())))
    {
        m_bCodeUnits = TRUE;
        m_bOrdinal = TRUE;
    }
}

CCollator::~CCollator() = default;

int CCollator::Compare(const CString& a, const CString& b) const
{
    if (m_bCodeUnits)
        return Sign(a.Compare(b));
    const wchar_t* pszLocale = m_strLocale.empty()
                                   ? LOCALE_NAME_USER_DEFAULT
                                   : reinterpret_cast<const wchar_t*>(m_strLocale.c_str());
    const int n = ::CompareStringEx(pszLocale, 0, reinterpret_cast<const wchar_t*>(a.GetString()),
                                    a.GetLength(), reinterpret_cast<const wchar_t*>(b.GetString()),
                                    b.GetLength(), nullptr, nullptr, 0);
    if (n == 0)
        return Sign(a.Compare(b));
    return n - CSTR_EQUAL;
}

CCollator::SortKey CCollator::GetSortKey(const CString& str) const
{
    if (m_bCodeUnits)
        return SortKey(str.str().begin(), str.str().end());
    const wchar_t* pszLocale = m_strLocale.empty()
                                   ? LOCALE_NAME_USER_DEFAULT
                                   : reinterpret_cast<const wchar_t*>(m_strLocale.c_str());
    const wchar_t* pszText = reinterpret_cast<const wchar_t*>(str.GetString());
    const int nBytes = ::LCMapStringEx(pszLocale, LCMAP_SORTKEY, pszText, str.GetLength(), nullptr,
                                       0, nullptr, nullptr, 0);
    SortKey key;
    if (nBytes > 0)
    {
        std::string bytes(static_cast<size_t>(nBytes), '\0');
        if (::LCMapStringEx(pszLocale, LCMAP_SORTKEY, pszText, str.GetLength(),
                            reinterpret_cast<LPWSTR>(bytes.data()), nBytes, nullptr, nullptr,
                            0) == nBytes)
        {
            // Sort keys compare as unsigned bytes.
            for (const char ch : bytes)
                key.push_back(static_cast<wchar_t>(static_cast<unsigned char>(ch)));
            return key;
        }
    }
    // As Compare falls back to the code units.
    key.assign(str.str().begin(), str.str().end());
    return key;
}

BOOL CCollator::IsOrdinal() const
{
    return m_bOrdinal;
}

#else

CCollator::CCollator(const char* pszLocale)
{
    m_locale = ::newlocale(LC_COLLATE_MASK, pszLocale ? pszLocale : "", static_cast<locale_t>(0));
}

CCollator::~CCollator()
{
    if (m_locale != static_cast<locale_t>(0))
        ::freelocale(m_locale);
}

int CCollator::Compare(const CString& a, const CString& b) const
{
    if (m_locale == static_cast<locale_t>(0))
        return Sign(a.Compare(b));
    ToWide(a, m_wstrA);
    ToWide(b, m_wstrB);
    // wcscoll stops at a terminator; texts with an embedded one are compared as far as it.
    return Sign(::wcscoll_l(m_wstrA.c_str(), m_wstrB.c_str(), m_locale));
}

CCollator::SortKey CCollator::GetSortKey(const CString& str) const
{
    SortKey key;
    if (m_locale == static_cast<locale_t>(0))
    {
        // Code units in their own order, as Compare compares them.
        key.assign(str.str().begin(), str.str().end());
        return key;
    }
    ToWide(str, m_wstrA);
    // As far as a terminator, as wcscoll reads it.
    const size_t nLength = ::wcsxfrm_l(nullptr, m_wstrA.c_str(), 0, m_locale);
    key.resize(nLength + 1);
    ::wcsxfrm_l(key.data(), m_wstrA.c_str(), nLength + 1, m_locale);
    key.resize(nLength);
    return key;
}

BOOL CCollator::IsOrdinal() const
{
    return m_locale == static_cast<locale_t>(0);
}

#endif
