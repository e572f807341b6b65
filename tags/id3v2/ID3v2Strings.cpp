#include "tags/id3v2/ID3v2Strings.h"

#include "base/CodePage.h"
#include "tags/file/RenderBuffer.h"

#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>

namespace Tags::ID3v2Tag
{

namespace
{

// UTF-16 code units, little-endian unless bBigEndian; a lone last byte counts as a unit with a
// zero high byte. The text ends at its first zero unit.
CString DecodeUtf16(const BYTE* pData, UINT nLength, bool bBigEndian)
{
    std::u16string text;
    text.reserve(nLength / 2 + 1);
    UINT i = 0;
    for (; i + 1 < nLength; i += 2)
    {
        const BYTE nFirst = pData[i];
        const BYTE nSecond = pData[i + 1];
        const char16_t ch = bBigEndian ? static_cast<char16_t>((nFirst << 8) | nSecond)
                                       : static_cast<char16_t>((nSecond << 8) | nFirst);
        if (ch == 0)
        {
            return CString(std::move(text));
        }
        text.push_back(ch);
    }
    if (i < nLength && pData[i] != 0)
    {
        text.push_back(static_cast<char16_t>(pData[i]));
    }
    return CString(std::move(text));
}

// A converted text ends at its first zero character, so that writing it back cannot put a
// terminator in the middle of a field.
void CutAtZero(CString& str)
{
    const int nZero = str.Find(u'\0');
    if (nZero >= 0)
    {
        str.Truncate(nZero);
    }
}

} // namespace

UINT GetCharSize(int nEncoding)
{
    return nEncoding == TEXT_ENCODING_ANSI || nEncoding == TEXT_ENCODING_UTF8 ? 1 : 2;
}

void DecodeString(const BYTE* pData, UINT nLength, CString& strOut, int nEncoding)
{
    strOut.Empty();
    if (pData == nullptr || nLength == 0)
    {
        return;
    }
    switch (nEncoding)
    {
    case TEXT_ENCODING_ANSI:
    case TEXT_ENCODING_UTF8:
    {
        if (pData[nLength - 1] == 0)
        {
            --nLength;
        }
        const std::string_view bytes(reinterpret_cast<const char*>(pData), nLength);
        strOut = CodePage::ToWide(nEncoding == TEXT_ENCODING_ANSI ? CP_ACP : CP_UTF8, bytes);
        CutAtZero(strOut);
        break;
    }
    case TEXT_ENCODING_UTF16:
    {
        bool bBigEndian = false;
        if (nLength >= 2 && pData[0] == 0xFF && pData[1] == 0xFE)
        {
            pData += 2;
            nLength -= 2;
        }
        else if (nLength >= 2 && pData[0] == 0xFE && pData[1] == 0xFF)
        {
            // A big-endian mark is honoured; read little-endian, the text would be garbage.
            pData += 2;
            nLength -= 2;
            bBigEndian = true;
        }
        strOut = DecodeUtf16(pData, nLength, bBigEndian);
        break;
    }
    case TEXT_ENCODING_UTF16BE:
        strOut = DecodeUtf16(pData, nLength, true);
        break;
    default:
        break;
    }
}

UINT DecodeTerminatedString(const BYTE* pData, UINT nAvailable, CString& strOut, int nEncoding)
{
    if (pData == nullptr || nAvailable == 0)
    {
        strOut.Empty();
        return 0;
    }
    UINT nConsumed = nAvailable;
    if (GetCharSize(nEncoding) == 1)
    {
        for (UINT i = 0; i < nAvailable; ++i)
        {
            if (pData[i] == 0)
            {
                nConsumed = i + 1;
                break;
            }
        }
    }
    else
    {
        for (UINT i = 0; i + 1 < nAvailable; i += 2)
        {
            if (pData[i] == 0 && pData[i + 1] == 0)
            {
                nConsumed = i + 2;
                break;
            }
        }
    }
    DecodeString(pData, nConsumed, strOut, nEncoding);
    return nConsumed;
}

void SplitStrings(const BYTE* pData, UINT nLength, UINT nTerminatorLength, UINT nAlignment,
                  std::vector<_SPLITINFO>& pieces)
{
    pieces.clear();
    if (pData == nullptr || nLength == 0 || nTerminatorLength > nLength)
    {
        return;
    }
    if (nAlignment == 0)
    {
        nAlignment = 1;
    }

    auto addPiece = [&pieces, pData](UINT nStart, UINT nEnd)
    {
        _SPLITINFO piece;
        piece.nLength = nEnd - nStart;
        if (piece.nLength > 0)
        {
            piece.pData = std::make_unique<BYTE[]>(piece.nLength);
            std::copy(pData + nStart, pData + nEnd, piece.pData.get());
        }
        pieces.push_back(std::move(piece));
    };

    UINT nPieceStart = 0;
    UINT nMatched = 0;
    UINT nMatchStart = 0;
    for (UINT i = 0; i < nLength; ++i)
    {
        if (nTerminatorLength == 0)
        {
            break;
        }
        if (pData[i] != 0)
        {
            nMatched = 0;
            continue;
        }
        if (nMatched == 0)
        {
            if ((i - nPieceStart) % nAlignment != 0)
            {
                continue;
            }
            nMatchStart = i;
        }
        if (++nMatched == nTerminatorLength)
        {
            addPiece(nPieceStart, nMatchStart);
            nPieceStart = i + 1;
            nMatched = 0;
        }
    }
    addPiece(nPieceStart, nMatched > 0 ? nMatchStart : nLength);
}

void EncodeString(CRenderBuffer& buffer, const CString& str, int nEncoding)
{
    if (str.IsEmpty())
    {
        // An empty UTF-16 string keeps its byte order mark: ID3v2.3 requires it, and readers
        // built on that rule drop the whole frame without it.
        if (nEncoding == TEXT_ENCODING_UTF16)
        {
            buffer.AppendByte(0xFF);
            buffer.AppendByte(0xFE);
        }
        buffer.Grow(GetCharSize(nEncoding));
        return;
    }
    switch (nEncoding)
    {
    case TEXT_ENCODING_ANSI:
    case TEXT_ENCODING_UTF8:
    {
        const std::string bytes =
            CodePage::FromWide(nEncoding == TEXT_ENCODING_ANSI ? CP_ACP : CP_UTF8, str.str());
        if (bytes.empty())
        {
            return;
        }
        buffer.Append(bytes.data(), static_cast<UINT>(bytes.size()));
        buffer.AppendByte(0);
        break;
    }
    case TEXT_ENCODING_UTF16:
    {
        if (str.GetAt(0) != u'\xFEFF')
        {
            buffer.AppendByte(0xFF);
            buffer.AppendByte(0xFE);
        }
        const UINT nUnits = static_cast<UINT>(str.GetLength());
        if (nUnits > (std::numeric_limits<UINT>::max() - 2) / 2)
        {
            throw std::length_error("text beyond 4 GiB");
        }
        BYTE* pDest = buffer.Append(nUnits * 2 + 2);
        for (UINT i = 0; i < nUnits; ++i)
        {
            const char16_t ch = str.GetAt(static_cast<int>(i));
            pDest[2 * i] = static_cast<BYTE>(ch & 0xFF);
            pDest[2 * i + 1] = static_cast<BYTE>(ch >> 8);
        }
        break;
    }
    default:
        break;
    }
}

} // namespace Tags::ID3v2Tag
