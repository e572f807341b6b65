#include "base/Path.h"

#include "base/CodePage.h"

#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <climits>
#include <unistd.h>
#endif

namespace Path
{

int GetMaxPath()
{
#ifdef _WIN32
    return MAX_PATH;
#else
    return PATH_MAX;
#endif
}

BOOL IsSeparator(char16_t ch)
{
#ifdef _WIN32
    return ch == u'\\' || ch == u'/';
#else
    return ch == u'/';
#endif
}

BOOL IsAbsolute(const CString& strPath)
{
#ifdef _WIN32
    const int n = strPath.GetLength();
    if (n >= 2 && IsSeparator(strPath[0]) && IsSeparator(strPath[1]))
        return TRUE; // UNC or device path
    return n >= 3 && strPath[1] == u':' && IsSeparator(strPath[2]);
#else
    return !strPath.IsEmpty() && strPath[0] == u'/';
#endif
}

CString GetCurrentDirectory()
{
#ifdef _WIN32
    const DWORD n = ::GetCurrentDirectoryW(0, nullptr);
    if (n == 0)
        return CString();
    std::wstring buf(n, L'\0');
    const DWORD nGot = ::GetCurrentDirectoryW(n, buf.data());
    if (nGot == 0 || nGot >= n)
        return CString();
    buf.resize(nGot);
    return FromNative(buf);
#else
    std::vector<char> buf(PATH_MAX);
    while (::getcwd(buf.data(), buf.size()) == nullptr)
    {
        if (errno != ERANGE || buf.size() > (1u << 20))
            return CString();
        buf.resize(buf.size() * 2);
    }
    return FromNative(std::string_view(buf.data()));
#endif
}

#ifndef _WIN32
namespace
{

// Resolves ".", ".." and repeated separators of an absolute path, lexically.
CString Normalise(const CString& strAbsolute)
{
    const std::u16string& s = strAbsolute.str();
    std::vector<std::u16string_view> parts;
    size_t i = 0;
    while (i < s.size())
    {
        while (i < s.size() && s[i] == u'/')
            ++i;
        size_t j = i;
        while (j < s.size() && s[j] != u'/')
            ++j;
        const std::u16string_view part(s.data() + i, j - i);
        if (part.empty() || part == u".")
        {
            // nothing
        }
        else if (part == u"..")
        {
            if (!parts.empty())
                parts.pop_back(); // ".." of the root is the root
        }
        else
        {
            parts.push_back(part);
        }
        i = j;
    }
    std::u16string out;
    for (const auto& part : parts)
    {
        out += u'/';
        out += part;
    }
    if (out.empty() || s.back() == u'/')
        out += u'/';
    return CString(std::move(out));
}

} // namespace
#endif

CString GetFullPath(const CString& strPath, const CString& strBase)
{
    if (strPath.IsEmpty())
        return CString();
#ifdef _WIN32
    CString strJoined = strPath;
    const bool bDriveRelative = strPath.GetLength() >= 2 && strPath[1] == u':'; // "C:name"
    if (!IsAbsolute(strPath) && !bDriveRelative && !strBase.IsEmpty())
    {
        if (IsSeparator(strPath[0]))
        {
            // "\name" lies below the root of the base: its drive or its share.
            int nRoot = 0;
            if (strBase.GetLength() >= 2 && strBase[1] == u':')
                nRoot = 2;
            else if (strBase.GetLength() >= 2 && IsSeparator(strBase[0]) && IsSeparator(strBase[1]))
            {
                int nSeparators = 0;
                for (nRoot = 2; nRoot < strBase.GetLength(); ++nRoot)
                {
                    if (IsSeparator(strBase[nRoot]) && ++nSeparators == 2)
                        break;
                }
            }
            strJoined = strBase.Left(nRoot) + strPath;
        }
        else
        {
            strJoined = strBase;
            if (!IsSeparator(strBase[strBase.GetLength() - 1]))
                strJoined += chSeparator;
            strJoined += strPath;
        }
    }
    const std::wstring in = ToNative(strJoined);
    const DWORD n = ::GetFullPathNameW(in.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return strJoined;
    std::wstring buf(n, L'\0');
    const DWORD nGot = ::GetFullPathNameW(in.c_str(), n, buf.data(), nullptr);
    if (nGot == 0 || nGot >= n)
        return strJoined;
    buf.resize(nGot);
    return FromNative(buf);
#else
    if (IsAbsolute(strPath))
        return Normalise(strPath);
    if (strBase.IsEmpty())
    {
        // No known base: normalise what there is, keeping it relative.
        CString strAbs = Normalise(u"/" + strPath);
        return strAbs == u"/" ? CString(u".") : strAbs.Mid(1);
    }
    return Normalise(strBase + u"/" + strPath);
#endif
}

CString GetFullPath(const CString& strPath)
{
    if (strPath.IsEmpty() || IsAbsolute(strPath))
        return GetFullPath(strPath, CString());
    return GetFullPath(strPath, GetCurrentDirectory());
}

CString GetFolder(const CString& strPath)
{
    int nLast = -1;
    for (int i = 0; i < strPath.GetLength(); ++i)
    {
        if (IsSeparator(strPath[i]))
            nLast = i;
    }
    return nLast <= 0 ? CString() : strPath.Left(nLast);
}

CString GetName(const CString& strPath)
{
    int nLast = -1;
    for (int i = 0; i < strPath.GetLength(); ++i)
    {
        if (IsSeparator(strPath[i]))
            nLast = i;
    }
    return strPath.Mid(nLast + 1);
}

#ifdef _WIN32

NativePath ToNative(const CString& strPath)
{
    const std::u16string& s = strPath.str();
    return std::wstring(s.begin(), s.end());
}

CString FromNative(NativePathView path)
{
    return CString(std::u16string(path.begin(), path.end()));
}

#else

namespace
{

inline bool IsContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// Length of the valid UTF-8 sequence at p (bytes left: n) and its code point; 0 when invalid.
size_t DecodeOne(const unsigned char* p, size_t n, char32_t& cp)
{
    const unsigned char b0 = p[0];
    if (b0 < 0x80)
    {
        cp = b0;
        return 1;
    }
    size_t nLen = 0;
    unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF)
        nLen = 2;
    else if (b0 >= 0xE0 && b0 <= 0xEF)
    {
        nLen = 3;
        if (b0 == 0xE0)
            lo = 0xA0; // no overlong forms
        else if (b0 == 0xED)
            hi = 0x9F; // no encoded surrogates
    }
    else if (b0 >= 0xF0 && b0 <= 0xF4)
    {
        nLen = 4;
        if (b0 == 0xF0)
            lo = 0x90;
        else if (b0 == 0xF4)
            hi = 0x8F; // nothing above U+10FFFF
    }
    else
        return 0;
    if (n < nLen || p[1] < lo || p[1] > hi)
        return 0;
    for (size_t k = 2; k < nLen; ++k)
    {
        if (!IsContinuation(p[k]))
            return 0;
    }
    char32_t c = b0 & (0xFF >> (nLen + 1));
    for (size_t k = 1; k < nLen; ++k)
        c = (c << 6) | (p[k] & 0x3F);
    cp = c;
    return nLen;
}

} // namespace

NativePath ToNative(const CString& strPath)
{
    const std::u16string& s = strPath.str();
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i)
    {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] <= 0xDFFF)
        {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        }
        else if (cp >= 0xDC80 && cp <= 0xDCFF)
        {
            out += static_cast<char>(cp - 0xDC00); // a byte held from the name on disk
            continue;
        }
        else if (cp >= 0xD800 && cp <= 0xDFFF)
        {
            cp = 0xFFFD;
        }

        CodePage::AppendUtf8(out, cp);
    }
    return out;
}

CString FromNative(NativePathView path)
{
    const auto* p = reinterpret_cast<const unsigned char*>(path.data());
    const size_t n = path.size();
    std::u16string out;
    out.reserve(n);
    size_t i = 0;
    while (i < n)
    {
        char32_t cp = 0;
        const size_t nLen = DecodeOne(p + i, n - i, cp);
        if (nLen == 0)
        {
            out += static_cast<char16_t>(0xDC00 + p[i]);
            ++i;
            continue;
        }
        if (cp >= 0x10000)
        {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        }
        else
            out += static_cast<char16_t>(cp);
        i += nLen;
    }
    return CString(std::move(out));
}

#endif

} // namespace Path
