// Conversions between CString and byte encodings: the ANSI code page (Windows-1252 here, the
// system's own on Windows) and UTF-8.
#pragma once

#include "base/String.h"

#include <string>
#include <string_view>

namespace CodePage
{

// Bytes to text. ANSI maps every byte; invalid UTF-8 becomes U+FFFD, never a cut.
CString ToWide(UINT nCodePage, std::string_view bytes);

// Text to bytes. Characters the code page cannot represent become its default character
// ("?"); pbUsedDefault, when given, tells whether that happened. Lone surrogates become
// U+FFFD in UTF-8.
std::string FromWide(UINT nCodePage, std::u16string_view text, bool* pbUsedDefault = nullptr);

// As FromWide, but never more than nMaxBytes bytes: a character that does not fit whole is left
// out with everything after it, so a fixed-size field never spills into the next one.
std::string FromWideBounded(UINT nCodePage, std::u16string_view text, size_t nMaxBytes,
                            bool* pbUsedDefault = nullptr);

// UTF-8 helpers with the rules above.
CString Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::u16string_view text);
// Appends the UTF-8 bytes of one code point.
void AppendUtf8(std::string& out, char32_t cp);

} // namespace CodePage
