#include "base/String.h"

#include "base/CodePage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <charconv>

namespace
{

struct CaseMapping
{
    char16_t from;
    char16_t to;
};

#include "base/CaseTables.inc"

template <size_t N> char16_t MapCase(const CaseMapping (&table)[N], char16_t ch)
{
    if (ch < 0x80)
        return ch; // callers handle ASCII before reaching the table
    auto it = std::lower_bound(std::begin(table), std::end(table), ch,
                               [](const CaseMapping& m, char16_t c) { return m.from < c; });
    return (it != std::end(table) && it->from == ch) ? it->to : ch;
}

size_t Clamp(int n, size_t size)
{
    if (n < 0)
        return 0;
    return std::min(static_cast<size_t>(n), size);
}

bool Contains(const std::u16string& set, char16_t ch)
{
    return set.find(ch) != std::u16string::npos;
}

} // namespace

bool IsWideSpace(char16_t ch)
{
    if (ch == 0x20 || (ch >= 0x09 && ch <= 0x0D))
        return true;
    if (ch < 0x85)
        return false;
    return ch == 0x85 || ch == 0xA0 || ch == 0x1680 || (ch >= 0x2000 && ch <= 0x200A) ||
           ch == 0x2028 || ch == 0x2029 || ch == 0x202F || ch == 0x205F || ch == 0x3000;
}

char16_t FoldCase(char16_t ch)
{
    if (ch < 0x80)
        return (ch >= u'A' && ch <= u'Z') ? static_cast<char16_t>(ch + 0x20) : ch;
    return MapCase(kFoldTable, ch);
}

char16_t ToUpperCase(char16_t ch)
{
    if (ch < 0x80)
        return (ch >= u'a' && ch <= u'z') ? static_cast<char16_t>(ch - 0x20) : ch;
    return MapCase(kUpperTable, ch);
}

char16_t ToLowerCase(char16_t ch)
{
    if (ch < 0x80)
        return (ch >= u'A' && ch <= u'Z') ? static_cast<char16_t>(ch + 0x20) : ch;
    return MapCase(kLowerTable, ch);
}

CString::CString(const char16_t* psz)
{
    if (psz)
        m_str = psz;
}

CString::CString(const char16_t* pch, int nLength)
{
    if (pch && nLength > 0)
        m_str.assign(pch, static_cast<size_t>(nLength));
}

CString::CString(char16_t ch, int nRepeat)
{
    if (nRepeat > 0)
        m_str.assign(static_cast<size_t>(nRepeat), ch);
}

CString::CString(const char* pszUtf8)
{
    if (pszUtf8)
        m_str = CodePage::Utf8ToWide(pszUtf8).str();
}

CString::CString(std::string_view utf8) : m_str(CodePage::Utf8ToWide(utf8).str()) {}

CString CString::FromUtf8(std::string_view utf8)
{
    return CodePage::Utf8ToWide(utf8);
}

std::string CString::ToUtf8() const
{
    return CodePage::WideToUtf8(m_str);
}

CString CString::Left(int nCount) const
{
    return CString(m_str.substr(0, Clamp(nCount, m_str.size())));
}

CString CString::Mid(int nFirst) const
{
    return CString(m_str.substr(Clamp(nFirst, m_str.size())));
}

CString CString::Mid(int nFirst, int nCount) const
{
    const size_t first = Clamp(nFirst, m_str.size());
    return CString(m_str.substr(first, Clamp(nCount, m_str.size() - first)));
}

CString CString::Right(int nCount) const
{
    const size_t n = Clamp(nCount, m_str.size());
    return CString(m_str.substr(m_str.size() - n));
}

CString CString::SpanIncluding(const CString& strCharSet) const
{
    size_t i = 0;
    while (i < m_str.size() && Contains(strCharSet.m_str, m_str[i]))
        ++i;
    return CString(m_str.substr(0, i));
}

CString CString::SpanExcluding(const CString& strCharSet) const
{
    size_t i = 0;
    while (i < m_str.size() && !Contains(strCharSet.m_str, m_str[i]))
        ++i;
    return CString(m_str.substr(0, i));
}

int CString::Find(char16_t ch, int nStart) const
{
    if (nStart < 0 || static_cast<size_t>(nStart) >= m_str.size())
        return -1;
    const size_t pos = m_str.find(ch, static_cast<size_t>(nStart));
    return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const CString& strSub, int nStart) const
{
    if (nStart < 0 || static_cast<size_t>(nStart) > m_str.size())
        return -1;
    const size_t pos = m_str.find(strSub.m_str, static_cast<size_t>(nStart));
    return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char16_t ch) const
{
    const size_t pos = m_str.rfind(ch);
    return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(const CString& strCharSet) const
{
    const size_t pos = m_str.find_first_of(strCharSet.m_str);
    return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}

int CString::Compare(const CString& str) const
{
    const int r = m_str.compare(str.m_str);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(const CString& str) const
{
    const size_t n = std::min(m_str.size(), str.m_str.size());
    for (size_t i = 0; i < n; ++i)
    {
        const char16_t a = FoldCase(m_str[i]);
        const char16_t b = FoldCase(str.m_str[i]);
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (m_str.size() == str.m_str.size())
        return 0;
    return m_str.size() < str.m_str.size() ? -1 : 1;
}

CString& CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_str.size() && IsWideSpace(m_str[i]))
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(char16_t chTarget)
{
    size_t i = 0;
    while (i < m_str.size() && m_str[i] == chTarget)
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(const CString& strTargets)
{
    size_t i = 0;
    while (i < m_str.size() && Contains(strTargets.m_str, m_str[i]))
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    size_t n = m_str.size();
    while (n > 0 && IsWideSpace(m_str[n - 1]))
        --n;
    m_str.resize(n);
    return *this;
}

CString& CString::TrimRight(char16_t chTarget)
{
    size_t n = m_str.size();
    while (n > 0 && m_str[n - 1] == chTarget)
        --n;
    m_str.resize(n);
    return *this;
}

CString& CString::TrimRight(const CString& strTargets)
{
    size_t n = m_str.size();
    while (n > 0 && Contains(strTargets.m_str, m_str[n - 1]))
        --n;
    m_str.resize(n);
    return *this;
}

CString& CString::Trim()
{
    TrimRight();
    return TrimLeft();
}

CString& CString::MakeUpper()
{
    for (auto& ch : m_str)
        ch = ToUpperCase(ch);
    return *this;
}

CString& CString::MakeLower()
{
    for (auto& ch : m_str)
        ch = ToLowerCase(ch);
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_str.begin(), m_str.end());
    return *this;
}

int CString::Replace(char16_t chOld, char16_t chNew)
{
    int n = 0;
    for (auto& ch : m_str)
    {
        if (ch == chOld)
        {
            ch = chNew;
            ++n;
        }
    }
    return n;
}

int CString::Replace(const CString& strOld, const CString& strNew)
{
    if (strOld.m_str.empty())
        return 0;
    int n = 0;
    std::u16string out;
    size_t pos = 0;
    for (;;)
    {
        const size_t hit = m_str.find(strOld.m_str, pos);
        if (hit == std::u16string::npos)
            break;
        out.append(m_str, pos, hit - pos);
        out += strNew.m_str;
        pos = hit + strOld.m_str.size();
        ++n;
    }
    if (n > 0)
    {
        out.append(m_str, pos, std::u16string::npos);
        m_str = std::move(out);
    }
    return n;
}

int CString::Insert(int nIndex, char16_t ch)
{
    m_str.insert(Clamp(nIndex, m_str.size()), 1, ch);
    return GetLength();
}

int CString::Insert(int nIndex, const CString& str)
{
    m_str.insert(Clamp(nIndex, m_str.size()), str.m_str);
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    const size_t first = Clamp(nIndex, m_str.size());
    m_str.erase(first, Clamp(nCount, m_str.size() - first));
    return GetLength();
}

int CString::Remove(char16_t ch)
{
    const size_t before = m_str.size();
    std::erase(m_str, ch);
    return static_cast<int>(before - m_str.size());
}

void CString::Truncate(int nNewLength)
{
    m_str.resize(Clamp(nNewLength, m_str.size()));
}

namespace
{

struct Directive
{
    bool bLeft = false;
    bool bPlus = false;
    bool bSpace = false;
    bool bZero = false;
    bool bAlt = false;
    int nWidth = -1;
    int nPrecision = -1;
    char16_t chConv = 0;
};

void Pad(std::u16string& out, std::u16string body, const Directive& dir, bool bNumeric)
{
    if (dir.nWidth < 0 || static_cast<int>(body.size()) >= dir.nWidth)
    {
        out += body;
        return;
    }
    const size_t fill = static_cast<size_t>(dir.nWidth) - body.size();
    if (dir.bLeft)
    {
        out += body;
        out.append(fill, u' ');
    }
    else if (dir.bZero && bNumeric)
    {
        // Zeros go after a sign or a 0x prefix.
        size_t prefix = 0;
        if (!body.empty() && (body[0] == u'-' || body[0] == u'+' || body[0] == u' '))
            prefix = 1;
        if (body.size() >= prefix + 2 && body[prefix] == u'0' &&
            (body[prefix + 1] == u'x' || body[prefix + 1] == u'X'))
            prefix += 2;
        out.append(body, 0, prefix);
        out.append(fill, u'0');
        out.append(body, prefix, std::u16string::npos);
    }
    else
    {
        out.append(fill, u' ');
        out += body;
    }
}

std::u16string Widen(const char* p)
{
    std::u16string s;
    while (*p)
        s += static_cast<char16_t>(static_cast<unsigned char>(*p++));
    return s;
}

std::u16string FormatInteger(const CString::FormatArg& arg, const Directive& dir)
{
    unsigned long long magnitude = 0;
    bool bNegative = false;
    switch (arg.kind)
    {
    case CString::FormatArg::Kind::Signed:
        bNegative = arg.nSigned < 0;
        magnitude = bNegative ? 0ULL - static_cast<unsigned long long>(arg.nSigned)
                              : static_cast<unsigned long long>(arg.nSigned);
        break;
    case CString::FormatArg::Kind::Unsigned:
    case CString::FormatArg::Kind::Char:
        magnitude = arg.nUnsigned;
        break;
    case CString::FormatArg::Kind::Double:
        bNegative = arg.dValue < 0;
        magnitude = static_cast<unsigned long long>(std::fabs(arg.dValue));
        break;
    case CString::FormatArg::Kind::String:
        break;
    }
    // %u of a negative signed value shows it as the unsigned value it is in memory.
    if ((dir.chConv == u'u' || dir.chConv == u'x' || dir.chConv == u'X' ||
         dir.chConv == u'o') &&
        bNegative && arg.kind == CString::FormatArg::Kind::Signed)
    {
        magnitude = static_cast<unsigned long long>(arg.nSigned);
        bNegative = false;
    }
    const int base = (dir.chConv == u'x' || dir.chConv == u'X') ? 16
                     : dir.chConv == u'o'                       ? 8
                                                                 : 10;
    const char* digits = dir.chConv == u'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    std::u16string num;
    do
    {
        num += static_cast<char16_t>(digits[magnitude % static_cast<unsigned>(base)]);
        magnitude /= static_cast<unsigned>(base);
    } while (magnitude);
    if (dir.nPrecision >= 0 && static_cast<int>(num.size()) < dir.nPrecision)
        num.append(static_cast<size_t>(dir.nPrecision) - num.size(), u'0');
    std::reverse(num.begin(), num.end());
    std::u16string sign;
    if (bNegative)
        sign = u"-";
    else if (dir.bPlus && (dir.chConv == u'd' || dir.chConv == u'i'))
        sign = u"+";
    else if (dir.bSpace && (dir.chConv == u'd' || dir.chConv == u'i'))
        sign = u" ";
    if (dir.bAlt && base == 16)
        sign += dir.chConv == u'X' ? u"0X" : u"0x";
    return sign + num;
}

std::u16string FormatDouble(const CString::FormatArg& arg, const Directive& dir)
{
    double value = 0;
    switch (arg.kind)
    {
    case CString::FormatArg::Kind::Double:
        value = arg.dValue;
        break;
    case CString::FormatArg::Kind::Signed:
        value = static_cast<double>(arg.nSigned);
        break;
    case CString::FormatArg::Kind::Unsigned:
    case CString::FormatArg::Kind::Char:
        value = static_cast<double>(arg.nUnsigned);
        break;
    case CString::FormatArg::Kind::String:
        break;
    }
    const int precision = dir.nPrecision < 0 ? 6 : std::min(dir.nPrecision, 100);
    std::chars_format form = std::chars_format::fixed;
    if (dir.chConv == u'e' || dir.chConv == u'E')
        form = std::chars_format::scientific;
    else if (dir.chConv == u'g' || dir.chConv == u'G')
        form = std::chars_format::general;
    std::array<char, 512> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size() - 1, value, form,
                                   form == std::chars_format::general && precision == 0
                                       ? 1
                                       : precision);
    if (res.ec != std::errc())
        return u"";
    *res.ptr = 0;
    std::u16string text = Widen(buf.data());
    if (dir.chConv == u'E' || dir.chConv == u'G' || dir.chConv == u'F')
    {
        for (auto& ch : text)
            ch = ToUpperCase(ch);
    }
    if (!text.empty() && text[0] != u'-')
    {
        if (dir.bPlus)
            text.insert(text.begin(), u'+');
        else if (dir.bSpace)
            text.insert(text.begin(), u' ');
    }
    return text;
}

std::u16string FormatText(const CString::FormatArg& arg, const Directive& dir)
{
    std::u16string text;
    switch (arg.kind)
    {
    case CString::FormatArg::Kind::String:
        text = arg.str;
        break;
    case CString::FormatArg::Kind::Char:
        text.assign(1, static_cast<char16_t>(arg.nUnsigned));
        break;
    default:
    {
        Directive d = dir;
        d.chConv = u'd';
        d.nPrecision = -1;
        text = arg.kind == CString::FormatArg::Kind::Double ? FormatDouble(arg, {.chConv = u'g'})
                                                              : FormatInteger(arg, d);
        break;
    }
    }
    if (dir.chConv != u'c' && dir.nPrecision >= 0 &&
        static_cast<size_t>(dir.nPrecision) < text.size())
        text.resize(static_cast<size_t>(dir.nPrecision));
    return text;
}

} // namespace

void CString::FormatImpl(std::u16string& out, std::u16string_view fmt, const FormatArg* args,
                         size_t nArgs)
{
    size_t nextArg = 0;
    auto takeInt = [&]() -> int {
        if (nextArg >= nArgs)
            return 0;
        const FormatArg& a = args[nextArg++];
        if (a.kind == FormatArg::Kind::Signed)
            return static_cast<int>(a.nSigned);
        if (a.kind == FormatArg::Kind::Unsigned || a.kind == FormatArg::Kind::Char)
            return static_cast<int>(a.nUnsigned);
        return 0;
    };

    for (size_t i = 0; i < fmt.size(); ++i)
    {
        const char16_t ch = fmt[i];
        if (ch != u'%')
        {
            out += ch;
            continue;
        }
        if (i + 1 < fmt.size() && fmt[i + 1] == u'%')
        {
            out += u'%';
            ++i;
            continue;
        }
        Directive dir;
        size_t j = i + 1;
        for (; j < fmt.size(); ++j)
        {
            const char16_t f = fmt[j];
            if (f == u'-')
                dir.bLeft = true;
            else if (f == u'+')
                dir.bPlus = true;
            else if (f == u' ')
                dir.bSpace = true;
            else if (f == u'0')
                dir.bZero = true;
            else if (f == u'#')
                dir.bAlt = true;
            else
                break;
        }
        if (j < fmt.size() && fmt[j] == u'*')
        {
            dir.nWidth = takeInt();
            if (dir.nWidth < 0)
            {
                dir.bLeft = true;
                dir.nWidth = -dir.nWidth;
            }
            ++j;
        }
        else
        {
            while (j < fmt.size() && fmt[j] >= u'0' && fmt[j] <= u'9')
            {
                dir.nWidth = std::max(dir.nWidth, 0) * 10 + (fmt[j] - u'0');
                dir.nWidth = std::min(dir.nWidth, 4096);
                ++j;
            }
        }
        if (j < fmt.size() && fmt[j] == u'.')
        {
            ++j;
            dir.nPrecision = 0;
            if (j < fmt.size() && fmt[j] == u'*')
            {
                dir.nPrecision = takeInt();
                ++j;
            }
            else
            {
                while (j < fmt.size() && fmt[j] >= u'0' && fmt[j] <= u'9')
                {
                    dir.nPrecision = dir.nPrecision * 10 + (fmt[j] - u'0');
                    dir.nPrecision = std::min(dir.nPrecision, 4096);
                    ++j;
                }
            }
        }
        // Length modifiers say nothing here: every argument carries its own type.
        while (j < fmt.size())
        {
            if (fmt.substr(j, 3) == u"I64" || fmt.substr(j, 3) == u"I32")
                j += 3;
            else if (fmt[j] == u'l' || fmt[j] == u'h' || fmt[j] == u'L' || fmt[j] == u'q' ||
                     fmt[j] == u'j' || fmt[j] == u'z' || fmt[j] == u't' || fmt[j] == u'I')
                ++j;
            else
                break;
        }
        if (j >= fmt.size())
        {
            out.append(fmt.substr(i)); // an unfinished directive stays as written
            break;
        }
        dir.chConv = fmt[j];
        const bool bKnown = std::u16string_view(u"diuxXocCsSfFeEgG").find(dir.chConv) !=
                            std::u16string_view::npos;
        if (!bKnown)
        {
            out.append(fmt.substr(i, j - i + 1));
            i = j;
            continue;
        }
        i = j;
        if (nextArg >= nArgs)
            continue; // a missing argument prints nothing rather than reading past the list
        const FormatArg& arg = args[nextArg++];
        switch (dir.chConv)
        {
        case u'd':
        case u'i':
        case u'u':
        case u'x':
        case u'X':
        case u'o':
            if (arg.kind == FormatArg::Kind::String)
                Pad(out, std::u16string(arg.str), dir, false);
            else
                Pad(out, FormatInteger(arg, dir), dir, dir.nPrecision < 0);
            break;
        case u'f':
        case u'F':
        case u'e':
        case u'E':
        case u'g':
        case u'G':
            if (arg.kind == FormatArg::Kind::String)
                Pad(out, std::u16string(arg.str), dir, false);
            else
                Pad(out, FormatDouble(arg, dir), dir, true);
            break;
        default:
            Pad(out, FormatText(arg, dir), dir, false);
            break;
        }
    }
}
