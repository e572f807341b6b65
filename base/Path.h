// Path helpers: the platform separator, the full form of a path, and the lossless conversion
// between CString paths and the system's own path strings.
#pragma once

#include "base/String.h"

#include <string>
#include <string_view>

namespace Path
{

#ifdef _WIN32
inline constexpr char16_t chSeparator = u'\\';
// The system's path string: UTF-16 as the wide Win32 calls take it.
using NativePath = std::wstring;
using NativePathView = std::wstring_view;
#else
inline constexpr char16_t chSeparator = u'/';
// The system's path string: the bytes of the name as stored.
using NativePath = std::string;
using NativePathView = std::string_view;
#endif

// The longest path the platform's calls accept, terminator included (260 on Windows).
int GetMaxPath();

BOOL IsSeparator(char16_t ch);
BOOL IsAbsolute(const CString& strPath);

// The current directory; empty when the system cannot tell it.
CString GetCurrentDirectory();

// The absolute, lexically normalised form: "." and ".." resolved, repeated separators joined, a
// relative path taken against the current directory; a trailing separator is kept. Symbolic
// links are not followed (on Linux names are already stored as spelled). Empty stays empty.
CString GetFullPath(const CString& strPath);
// The same against a given absolute base folder.
CString GetFullPath(const CString& strPath, const CString& strBase);

// The part before the last separator, without it; empty when there is none or only the first
// character is one.
CString GetFolder(const CString& strPath);
// The part after the last separator (all of it when there is none).
CString GetName(const CString& strPath);

// CString path to the system's path and back, without loss for every name the system can hold:
// on Linux UTF-8, where each byte that is not part of valid UTF-8 is held as the lone surrogate
// U+DC80..U+DCFF and written back as that byte. Other lone surrogates, which no byte name
// produces, are written as U+FFFD.
NativePath ToNative(const CString& strPath);
CString FromNative(NativePathView path);

} // namespace Path
