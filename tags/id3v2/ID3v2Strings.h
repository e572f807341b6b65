// Reading and writing text in the four ID3v2 text encodings, and splitting a byte string at its
// terminators. Every frame class goes through these helpers for its text fields.
//
// Encodings: 0 single-byte text in the ANSI code page, 1 UTF-16 with byte order mark,
// 2 UTF-16 big-endian without mark (read only), 3 UTF-8. Any other value reads as an empty
// string and writes nothing but the terminator of an empty string.
#pragma once

#include "base/String.h"
#include "base/Types.h"

#include <memory>
#include <vector>

namespace Tags
{

class CRenderBuffer;

// One piece of a split byte string; owns a copy of its bytes.
struct _SPLITINFO
{
    // NULL for an empty piece.
    std::unique_ptr<BYTE[]> pData;
    UINT nLength = 0;
};

} // namespace Tags

namespace Tags::ID3v2Tag
{

inline constexpr int TEXT_ENCODING_ANSI = 0;
inline constexpr int TEXT_ENCODING_UTF16 = 1;
inline constexpr int TEXT_ENCODING_UTF16BE = 2;
inline constexpr int TEXT_ENCODING_UTF8 = 3;

// Bytes per character unit and per terminator: 1 for encodings 0 and 3, 2 for all others.
UINT GetCharSize(int nEncoding);

// Decodes exactly nLength bytes (a trailing terminator may be among them). The result ends at
// its first zero character.
void DecodeString(const BYTE* pData, UINT nLength, CString& strOut, int nEncoding);

// Decodes the string at pData up to and including its terminator and returns the bytes
// consumed; without a terminator within nAvailable bytes, all of them are consumed.
UINT DecodeTerminatedString(const BYTE* pData, UINT nAvailable, CString& strOut, int nEncoding);

// Splits nLength bytes at every run of nTerminatorLength zero bytes that begins at a multiple
// of nAlignment from the start of the current piece. Non-empty input always yields at least one
// piece; input that ends in a terminator yields an empty last piece. The array is emptied first.
void SplitStrings(const BYTE* pData, UINT nLength, UINT nTerminatorLength, UINT nAlignment,
                  std::vector<_SPLITINFO>& pieces);

// Appends the string in the encoding, followed by its terminator.
void EncodeString(CRenderBuffer& buffer, const CString& str, int nEncoding);

} // namespace Tags::ID3v2Tag
