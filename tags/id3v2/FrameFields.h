// Fields that several ID3v2 frame layouts share: the three-byte language of comments, lyrics and
// terms of use, the body of comments and lyrics, the big-endian play counter of POPM and PCNT,
// and the encoding text is rendered in.
#pragma once

#include "base/String.h"
#include "base/Types.h"

namespace Tags
{
class CRenderBuffer;
} // namespace Tags

namespace Tags::ID3v2Tag
{

// Bytes of the language field.
inline constexpr UINT LANGUAGE_SIZE = 3;
// The language of a new frame.
inline constexpr char DEFAULT_LANGUAGE[] = "ENG";

// Up to three characters from the three bytes at pField, ending at the first zero byte.
void ParseLanguage(const BYTE* pField, char (&szLanguage)[LANGUAGE_SIZE + 1]);
// Appends the three language bytes, zero-padded when the language is shorter.
void RenderLanguage(CRenderBuffer& buffer, const char (&szLanguage)[LANGUAGE_SIZE + 1]);
// Sets szDest to the language of a new frame, or to szSource when that has exactly three
// characters (the rule for clones).
void CopyLanguage(char (&szDest)[LANGUAGE_SIZE + 1], const char (&szSource)[LANGUAGE_SIZE + 1]);

// The body shared by comments and lyrics: encoding byte, language, description and text, each
// string with its terminator. Bodies shorter than 5 bytes change nothing; with fewer than two
// strings after the language, description and text stay as they are.
void ParseDescribedText(const BYTE* pData, UINT nLength, int& nEncoding,
                        char (&szLanguage)[LANGUAGE_SIZE + 1], CString& strDescription,
                        CString& strText);
void RenderDescribedText(CRenderBuffer& buffer, int nEncoding,
                         const char (&szLanguage)[LANGUAGE_SIZE + 1], const CString& strDescription,
                         const CString& strText);

// Bytes of a counter as written.
inline constexpr UINT COUNTER_SIZE = 4;
// A counter of nLength bytes, big-endian. A counter may grow beyond four bytes; all of its bytes
// count, and a value beyond 32 bits is held as the largest one.
UINT ReadCounter(const BYTE* pData, UINT nLength);
// Appends the counter as 4 bytes big-endian.
void RenderCounter(CRenderBuffer& buffer, UINT nCounter);

// The encoding a frame's text is rendered in: encodings 0, 1 and 3 as they are; any other
// (UTF-16 big-endian, which is read but never written, or an unknown value) as 1, so that
// rendering never drops text the frame holds.
int GetRenderEncoding(int nEncoding);

} // namespace Tags::ID3v2Tag
