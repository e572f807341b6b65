// CCollator: the locale-aware, case-sensitive text comparison the list sorts by, made once from
// the user's locale (or a named one) and used for every comparison.
#pragma once

#include "base/String.h"

#include <string>

#ifndef _WIN32
#include <locale.h>
#endif

class CCollator
{
public:
    // The collation of the user's locale (LC_ALL, LC_COLLATE, LANG) when pszLocale is empty,
    // else of the named locale. Without such a locale the comparison is ordinal.
    explicit CCollator(const char* pszLocale = "");
    ~CCollator();
    CCollator(const CCollator&) = delete;
    CCollator& operator=(const CCollator&) = delete;

    // Negative, zero or positive.
    int Compare(const CString& a, const CString& b) const;

    // A key per text whose plain order (operator<) is the order Compare gives: a sort of many
    // items transforms each text once instead of collating at every comparison.
    using SortKey = std::wstring;
    SortKey GetSortKey(const CString& str) const;
    // TRUE when no locale could be made and texts compare by their code units.
    BOOL IsOrdinal() const;

private:
#ifdef _WIN32
    std::u16string m_strLocale; // empty: the user's
    BOOL m_bCodeUnits = FALSE;  // "C" or "POSIX", or a locale the system does not know
    BOOL m_bOrdinal = FALSE;    // the latter
#else
    locale_t m_locale = static_cast<locale_t>(0);
    // Conversion buffers kept between comparisons: a sort compares many times.
    mutable std::wstring m_wstrA;
    mutable std::wstring m_wstrB;
#endif
};
