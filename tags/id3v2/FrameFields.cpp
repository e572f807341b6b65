#include "tags/id3v2/FrameFields.h"

#include "tags/file/RenderBuffer.h"
#include "tags/id3v2/ID3v2Strings.h"
#include "tags/id3v2/SyncSafe.h"

#include <cstring>
#include <limits>
#include <vector>

namespace Tags::ID3v2Tag
{

void ParseDescribedText(const BYTE* pData, UINT nLength, int& nEncoding,
                        char (&szLanguage)[LANGUAGE_SIZE + 1], CString& strDescription,
                        CString& strText)
{
    if (pData == nullptr || nLength < 1 + LANGUAGE_SIZE + 1)
    {
        return;
    }
    nEncoding = pData[0];
    ParseLanguage(pData + 1, szLanguage);
    const UINT nCharSize = GetCharSize(nEncoding);
    std::vector<_SPLITINFO> pieces;
    SplitStrings(pData + 1 + LANGUAGE_SIZE, nLength - 1 - LANGUAGE_SIZE, nCharSize, nCharSize,
                 pieces);
    if (pieces.size() < 2)
    {
        return;
    }
    DecodeString(pieces[0].pData.get(), pieces[0].nLength, strDescription, nEncoding);
    DecodeString(pieces[1].pData.get(), pieces[1].nLength, strText, nEncoding);
}

void RenderDescribedText(CRenderBuffer& buffer, int nEncoding,
                         const char (&szLanguage)[LANGUAGE_SIZE + 1], const CString& strDescription,
                         const CString& strText)
{
    const int nRenderEncoding = GetRenderEncoding(nEncoding);
    buffer.AppendByte(static_cast<BYTE>(nRenderEncoding));
    RenderLanguage(buffer, szLanguage);
    EncodeString(buffer, strDescription, nRenderEncoding);
    EncodeString(buffer, strText, nRenderEncoding);
}

void ParseLanguage(const BYTE* pField, char (&szLanguage)[LANGUAGE_SIZE + 1])
{
    std::memset(szLanguage, 0, sizeof(szLanguage));
    for (UINT i = 0; i < LANGUAGE_SIZE && pField[i] != 0; ++i)
    {
        szLanguage[i] = static_cast<char>(pField[i]);
    }
}

void RenderLanguage(CRenderBuffer& buffer, const char (&szLanguage)[LANGUAGE_SIZE + 1])
{
    BYTE* pDest = buffer.Append(LANGUAGE_SIZE);
    for (UINT i = 0; i < LANGUAGE_SIZE && szLanguage[i] != '\0'; ++i)
    {
        pDest[i] = static_cast<BYTE>(szLanguage[i]);
    }
}

void CopyLanguage(char (&szDest)[LANGUAGE_SIZE + 1], const char (&szSource)[LANGUAGE_SIZE + 1])
{
    const bool bWhole = std::memchr(szSource, '\0', LANGUAGE_SIZE) == nullptr;
    std::memcpy(szDest, bWhole ? szSource : DEFAULT_LANGUAGE, LANGUAGE_SIZE);
    szDest[LANGUAGE_SIZE] = '\0';
}

UINT ReadCounter(const BYTE* pData, UINT nLength)
{
    unsigned long long nValue = 0;
    for (UINT i = 0; i < nLength; ++i)
    {
        nValue = (nValue << 8) | pData[i];
        if (nValue > std::numeric_limits<UINT>::max())
        {
            return std::numeric_limits<UINT>::max();
        }
    }
    return static_cast<UINT>(nValue);
}

void RenderCounter(CRenderBuffer& buffer, UINT nCounter)
{
    WriteUInt32(buffer.Append(COUNTER_SIZE), nCounter);
}

int GetRenderEncoding(int nEncoding)
{
    switch (nEncoding)
    {
    case TEXT_ENCODING_ANSI:
    case TEXT_ENCODING_UTF16:
    case TEXT_ENCODING_UTF8:
        return nEncoding;
    default:
        return TEXT_ENCODING_UTF16;
    }
}

} // namespace Tags::ID3v2Tag
