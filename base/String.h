// CString: the UTF-16 text class of the program, with the operations of the framework's string
// that the tag library and the windows use. Indexes and lengths count UTF-16 code units.
#pragma once

#include "base/Types.h"

#include <compare>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

class CString
{
public:
    CString() = default;
    CString(const char16_t* psz);
    CString(const char16_t* pch, int nLength);
    CString(char16_t ch, int nRepeat = 1);
    CString(std::u16string str) : m_str(std::move(str)) {}
    CString(std::u16string_view str) : m_str(str) {}
    // Narrow text is taken as UTF-8.
    explicit CString(const char* pszUtf8);
    explicit CString(std::string_view utf8);

    static CString FromUtf8(std::string_view utf8);
    std::string ToUtf8() const;

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char16_t GetAt(int nIndex) const { return m_str[static_cast<size_t>(nIndex)]; }
    void SetAt(int nIndex, char16_t ch) { m_str[static_cast<size_t>(nIndex)] = ch; }
    char16_t operator[](int nIndex) const { return GetAt(nIndex); }

    const char16_t* GetString() const { return m_str.c_str(); }
    const std::u16string& str() const { return m_str; }
    std::u16string& str() { return m_str; }
    operator std::u16string_view() const { return m_str; }

    // Out-of-range counts are clamped as the framework does: never an exception.
    CString Left(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(const CString& strCharSet) const;
    CString SpanExcluding(const CString& strCharSet) const;

    int Find(char16_t ch, int nStart = 0) const;
    int Find(const CString& strSub, int nStart = 0) const;
    int ReverseFind(char16_t ch) const;
    int FindOneOf(const CString& strCharSet) const;

    // Ordinal comparison of code units; CompareNoCase folds case first.
    int Compare(const CString& str) const;
    int CompareNoCase(const CString& str) const;

    CString& TrimLeft();
    CString& TrimLeft(char16_t chTarget);
    CString& TrimLeft(const CString& strTargets);
    CString& TrimRight();
    CString& TrimRight(char16_t chTarget);
    CString& TrimRight(const CString& strTargets);
    CString& Trim();

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    int Replace(char16_t chOld, char16_t chNew);
    int Replace(const CString& strOld, const CString& strNew);
    int Insert(int nIndex, char16_t ch);
    int Insert(int nIndex, const CString& str);
    int Delete(int nIndex, int nCount = 1);
    int Remove(char16_t ch);
    void Truncate(int nNewLength);

    // printf-style formatting whose arguments are checked by type at run time: a
    // mismatched argument is printed as what it is, never read as something else.
    template <typename... Args> void Format(const CString& strFormat, const Args&... args);
    template <typename... Args> void AppendFormat(const CString& strFormat, const Args&... args);

    CString& operator+=(const CString& str)
    {
        m_str += str.m_str;
        return *this;
    }
    CString& operator+=(const char16_t* psz)
    {
        m_str += psz;
        return *this;
    }
    CString& operator+=(char16_t ch)
    {
        m_str += ch;
        return *this;
    }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
    friend CString operator+(const CString& a, const char16_t* b) { return CString(a.m_str + b); }
    friend CString operator+(const char16_t* a, const CString& b) { return CString(a + b.m_str); }
    friend CString operator+(const CString& a, char16_t b) { return CString(a.m_str + b); }
    friend CString operator+(char16_t a, const CString& b) { return CString(a + b.m_str); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const char16_t* b) { return a.m_str == b; }
    friend std::strong_ordering operator<=>(const CString& a, const CString& b)
    {
        return a.m_str <=> b.m_str;
    }

    // One argument of Format, kept with its type.
    struct FormatArg
    {
        enum class Kind
        {
            Signed,
            Unsigned,
            Double,
            Char,
            String
        } kind;
        long long nSigned = 0;
        unsigned long long nUnsigned = 0;
        double dValue = 0;
        std::u16string_view str;
    };

private:
    static void FormatImpl(std::u16string& out, std::u16string_view fmt,
                           const FormatArg* args, size_t nArgs);

    template <typename T> static FormatArg MakeArg(const T& value);

    std::u16string m_str;
};

// The wide-character space test: ASCII white space and the Unicode spaces.
bool IsWideSpace(char16_t ch);
// Unicode simple case mappings for single UTF-16 units (surrogates map to themselves).
char16_t FoldCase(char16_t ch);
char16_t ToUpperCase(char16_t ch);
char16_t ToLowerCase(char16_t ch);

template <typename T> CString::FormatArg CString::MakeArg(const T& value)
{
    using D = std::decay_t<T>;
    FormatArg a{};
    if constexpr (std::is_same_v<D, CString>)
    {
        a.kind = FormatArg::Kind::String;
        a.str = value.str();
    }
    else if constexpr (std::is_same_v<D, std::u16string> || std::is_same_v<D, std::u16string_view>)
    {
        a.kind = FormatArg::Kind::String;
        a.str = value;
    }
    else if constexpr (std::is_array_v<T>)
    {
        static_assert(std::is_same_v<std::remove_cv_t<std::remove_extent_t<T>>, char16_t>,
                      "text arguments of Format are UTF-16");
        a.kind = FormatArg::Kind::String;
        a.str = std::u16string_view(value);
    }
    else if constexpr (std::is_same_v<D, const char16_t*> || std::is_same_v<D, char16_t*>)
    {
        a.kind = FormatArg::Kind::String;
        a.str = value ? std::u16string_view(value) : std::u16string_view(u"(null)");
    }
    else if constexpr (std::is_same_v<D, char16_t>)
    {
        a.kind = FormatArg::Kind::Char;
        a.nUnsigned = value;
    }
    else if constexpr (std::is_same_v<D, bool>)
    {
        a.kind = FormatArg::Kind::Signed;
        a.nSigned = value ? 1 : 0;
    }
    else if constexpr (std::is_floating_point_v<D>)
    {
        a.kind = FormatArg::Kind::Double;
        a.dValue = static_cast<double>(value);
    }
    else if constexpr (std::is_enum_v<D>)
    {
        a.kind = FormatArg::Kind::Signed;
        a.nSigned = static_cast<long long>(value);
    }
    else if constexpr (std::is_integral_v<D> && std::is_signed_v<D>)
    {
        a.kind = FormatArg::Kind::Signed;
        a.nSigned = value;
    }
    else if constexpr (std::is_integral_v<D> && std::is_unsigned_v<D>)
    {
        a.kind = FormatArg::Kind::Unsigned;
        a.nUnsigned = value;
    }
    else
    {
        static_assert(sizeof(D) == 0, "unsupported Format argument type");
    }
    return a;
}

template <typename... Args> void CString::Format(const CString& strFormat, const Args&... args)
{
    std::u16string out;
    if constexpr (sizeof...(Args) == 0)
    {
        FormatImpl(out, strFormat.m_str, nullptr, 0);
    }
    else
    {
        const FormatArg argv[] = {MakeArg(args)...};
        FormatImpl(out, strFormat.m_str, argv, sizeof...(Args));
    }
    m_str = std::move(out);
}

template <typename... Args> void CString::AppendFormat(const CString& strFormat, const Args&... args)
{
    CString tail;
    tail.Format(strFormat, args...);
    m_str += tail.m_str;
}

// Formats into a new string: FormatString(u"%d items", n).
template <typename... Args> CString FormatString(const CString& strFormat, const Args&... args)
{
    CString s;
    s.Format(strFormat, args...);
    return s;
}

using CStringArray = std::vector<CString>;
