#include "base/CodePage.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace CodePage
{

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80)
    {
        out += static_cast<char>(cp);
    }
    else if (cp < 0x800)
    {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    else if (cp < 0x10000)
    {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace CodePage

namespace
{

#ifndef _WIN32
// Windows-1252 bytes 0x80..0x9F. The five bytes the code page leaves undefined map to the C1
// control of the same value, as Windows itself does, so every byte survives a round trip.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char kDefaultChar = '?';

char16_t Cp1252ToWide(unsigned char b)
{
    if (b >= 0x80 && b <= 0x9F)
        return kCp1252High[b - 0x80];
    return b;
}

// Returns -1 when the character has no byte in Windows-1252.
int WideToCp1252(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return ch;
    for (int i = 0; i < 32; ++i)
    {
        if (kCp1252High[i] == ch)
            return 0x80 + i;
    }
    return -1;
}
#endif

// Reads one code point of text at i (advancing i); lone surrogates come back as U+FFFD.
char32_t NextCodePoint(std::u16string_view text, size_t& i)
{
    const char16_t ch = text[i++];
    if (ch >= 0xD800 && ch <= 0xDBFF)
    {
        if (i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF)
        {
            const char16_t lo = text[i++];
            return 0x10000 + ((static_cast<char32_t>(ch) - 0xD800) << 10) + (lo - 0xDC00);
        }
        return 0xFFFD;
    }
    if (ch >= 0xDC00 && ch <= 0xDFFF)
        return 0xFFFD;
    return ch;
}

#ifdef _WIN32
CString AnsiToWideSystem(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    const int n =
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::u16string s(static_cast<size_t>(n), u'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                        reinterpret_cast<wchar_t*>(s.data()), n);
    return CString(std::move(s));
}

std::string AnsiCharSystem(char32_t cp, bool& bUsedDefault)
{
    wchar_t units[2];
    int nUnits = 1;
    if (cp >= 0x10000)
    {
        units[0] = static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
        units[1] = static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        nUnits = 2;
    }
    else
    {
        units[0] = static_cast<wchar_t>(cp);
    }
    char buf[8];
    BOOL bDefault = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, units, nUnits, buf, sizeof buf,
                                      nullptr, &bDefault);
    if (bDefault)
    {
        // One default character per character, also for a surrogate pair, which some
        // versions of the call turn into two.
        bUsedDefault = true;
        CPINFO info = {};
        if (::GetCPInfo(CP_ACP, &info) && info.DefaultChar[0] != 0)
            return std::string(reinterpret_cast<const char*>(info.DefaultChar),
                               info.DefaultChar[1] != 0 ? 2 : 1);
        return std::string(1, '?');
    }
    return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}
#endif

std::string EncodeCodePoint(UINT nCodePage, char32_t cp, bool& bUsedDefault)
{
    std::string out;
    if (nCodePage == CP_UTF8)
    {
        CodePage::AppendUtf8(out, cp);
        return out;
    }
#ifdef _WIN32
    return AnsiCharSystem(cp, bUsedDefault);
#else
    const int b = cp < 0x10000 ? WideToCp1252(static_cast<char16_t>(cp)) : -1;
    if (b < 0)
    {
        bUsedDefault = true;
        out += kDefaultChar;
    }
    else
    {
        out += static_cast<char>(b);
    }
    return out;
#endif
}

} // namespace

namespace CodePage
{

CString Utf8ToWide(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const size_t n = utf8.size();
    size_t i = 0;
    while (i < n)
    {
        const unsigned char b = p[i];
        if (b < 0x80)
        {
            out += static_cast<char16_t>(b);
            ++i;
            continue;
        }
        int nTrail = 0;
        char32_t cp = 0;
        if (b >= 0xC2 && b <= 0xDF)
        {
            nTrail = 1;
            cp = b & 0x1F;
        }
        else if (b >= 0xE0 && b <= 0xEF)
        {
            nTrail = 2;
            cp = b & 0x0F;
        }
        else if (b >= 0xF0 && b <= 0xF4)
        {
            nTrail = 3;
            cp = b & 0x07;
        }
        else
        {
            out += u'\xFFFD';
            ++i;
            continue;
        }
        // The second byte's range excludes overlong forms, surrogates and values past
        // U+10FFFF. A malformed sequence yields one U+FFFD for its valid prefix, and decoding
        // resumes at the first byte that did not fit.
        size_t j = i + 1;
        bool bOk = true;
        for (int k = 0; k < nTrail; ++k, ++j)
        {
            if (j >= n || (p[j] & 0xC0) != 0x80 ||
                (k == 0 && ((b == 0xE0 && p[j] < 0xA0) || (b == 0xED && p[j] > 0x9F) ||
                            (b == 0xF0 && p[j] < 0x90) || (b == 0xF4 && p[j] > 0x8F))))
            {
                bOk = false;
                break;
            }
            cp = (cp << 6) | (p[j] & 0x3F);
        }
        if (!bOk)
        {
            out += u'\xFFFD';
            i = j;
            continue;
        }
        if (cp >= 0x10000)
        {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
        else
        {
            out += static_cast<char16_t>(cp);
        }
        i = j;
    }
    return CString(std::move(out));
}

std::string WideToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size())
        AppendUtf8(out, NextCodePoint(text, i));
    return out;
}

CString ToWide(UINT nCodePage, std::string_view bytes)
{
    if (nCodePage == CP_UTF8)
        return Utf8ToWide(bytes);
#ifdef _WIN32
    return AnsiToWideSystem(bytes);
#else
    std::u16string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out += Cp1252ToWide(static_cast<unsigned char>(c));
    return CString(std::move(out));
#endif
}

std::string FromWide(UINT nCodePage, std::u16string_view text, bool* pbUsedDefault)
{
    return FromWideBounded(nCodePage, text, std::string::npos, pbUsedDefault);
}

std::string FromWideBounded(UINT nCodePage, std::u16string_view text, size_t nMaxBytes,
                            bool* pbUsedDefault)
{
    std::string out;
    bool bUsedDefault = false;
    size_t i = 0;
    while (i < text.size())
    {
        const std::string bytes = EncodeCodePoint(nCodePage, NextCodePoint(text, i), bUsedDefault);
        if (out.size() + bytes.size() > nMaxBytes)
            break;
        out += bytes;
    }
    if (pbUsedDefault)
        *pbUsedDefault = bUsedDefault;
    return out;
}

} // namespace CodePage
