#include "tags/id3v2/FrameFactory.h"

#include "tags/id3v2/FrameCatalogue.h"
#include "tags/id3v2/GenreConversion.h"
#include "tags/id3v2/Unsynchronisation.h"
#include "tags/id3v2/frames/CommentsFrame.h"
#include "tags/id3v2/frames/PictureFrame.h"
#include "tags/id3v2/frames/PictureFrameV22.h"
#include "tags/id3v2/frames/PlayCounterFrame.h"
#include "tags/id3v2/frames/PopularimeterFrame.h"
#include "tags/id3v2/frames/PrivateFrame.h"
#include "tags/id3v2/frames/TermOfUseFrame.h"
#include "tags/id3v2/frames/TextFrame.h"
#include "tags/id3v2/frames/UnknowFrame.h"
#include "tags/id3v2/frames/UnsynchronizedLyricsFrame.h"
#include "tags/id3v2/frames/UrlLinkFrame.h"
#include "tags/id3v2/frames/UserTextFrame.h"
#include "tags/id3v2/frames/UserUrlLinkFrame.h"

#include <cstring>
#include <vector>

namespace Tags::ID3v2Tag
{

namespace
{

bool Is(const char* szID, const char* szOther)
{
    return std::strcmp(szID, szOther) == 0;
}

} // namespace

BOOL IsValidFrameID(const char* szID, int nVersion)
{
    if (szID == nullptr)
    {
        return FALSE;
    }
    const size_t nLength = nVersion < 3 ? 3 : 4;
    for (size_t i = 0; i < nLength; ++i)
    {
        const char ch = szID[i];
        if (!((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')))
        {
            return FALSE;
        }
    }
    return TRUE;
}

std::unique_ptr<CFrame> ConstructFrame(const BYTE* pFrame, UINT nLength,
                                       std::unique_ptr<CFrameHeader> pHeader)
{
    const char* szID = pHeader->m_szID;
    if (pHeader->IsRawFormat())
    {
        return std::make_unique<CUnknowFrame>(pFrame, nLength, std::move(pHeader));
    }
    if (szID[0] == 'T')
    {
        if (Is(szID, "TXXX"))
        {
            return std::make_unique<CUserTextFrame>(pFrame, nLength, std::move(pHeader));
        }
        const bool bGenre = Is(szID, "TCON");
        auto pText = std::make_unique<CTextFrame>(pFrame, nLength, std::move(pHeader));
        if (bGenre)
        {
            ConvertGenres(*pText);
        }
        return pText;
    }
    if (Is(szID, "COMM"))
    {
        return std::make_unique<CCommentsFrame>(pFrame, nLength, std::move(pHeader));
    }
    if (Is(szID, "APIC"))
    {
        return std::make_unique<CPictureFrame>(pFrame, nLength, std::move(pHeader));
    }
    if (Is(szID, "PIC"))
    {
        return std::make_unique<CPictureFrameV22>(pFrame, nLength, std::move(pHeader));
    }
    if (Is(szID, "IPLS"))
    {
        return std::make_unique<CTextFrame>(pFrame, nLength, std::move(pHeader));
    }
    if (szID[0] == 'W')
    {
        if (Is(szID, "WXXX"))
        {
            return std::make_unique<CUserUrlLinkFrame>(pFrame, nLength, std::move(pHeader));
        }
        return std::make_unique<CUrlLinkFrame>(pFrame, nLength, std::move(pHeader));
    }
    if (Is(szID, "POPM"))
    {
        return std::make_unique<CPopularimeterFrame>(pFrame, nLength, std::move(pHeader));
    }
    if (Is(szID, "PCNT"))
    {
        return std::make_unique<CPlayCounterFrame>(pFrame, nLength, std::move(pHeader));
    }
    if (Is(szID, "USLT"))
    {
        return std::make_unique<CUnsynchronizedLyricsFrame>(pFrame, nLength, std::move(pHeader));
    }
    if (Is(szID, "USER"))
    {
        return std::make_unique<CTermOfUseFrame>(pFrame, nLength, std::move(pHeader));
    }
    if (Is(szID, "PRIV"))
    {
        return std::make_unique<CPrivateFrame>(pFrame, nLength, std::move(pHeader));
    }
    return std::make_unique<CUnknowFrame>(pFrame, nLength, std::move(pHeader));
}

std::unique_ptr<CFrame> ReadFrame(const BYTE* pData, UINT nRemaining, int nVersion,
                                  BOOL bTagUnsynchronisation)
{
    if (pData == nullptr)
    {
        return nullptr;
    }
    auto pHeader = std::make_unique<CFrameHeader>(pData, nRemaining, nVersion);
    const UINT nHeaderSize = CFrameHeader::GetHeaderSize(nVersion);
    // 64 bits, so that a declared size near 4 GiB cannot wrap round and pass.
    const ULONGLONG nFrameLength = static_cast<ULONGLONG>(nHeaderSize) + pHeader->m_nSize;
    if (nFrameLength > nRemaining)
    {
        return nullptr;
    }
    if (!IsValidFrameID(pHeader->m_szID, nVersion))
    {
        return nullptr;
    }
    const BYTE* pFrame = pData;
    UINT nLength = static_cast<UINT>(nFrameLength);

    // In 2.4 unsynchronisation is undone per frame; the copy is never longer than the frame.
    std::vector<BYTE> decoded;
    if (nVersion >= 4 && (pHeader->m_bUnsynchronisation || bTagUnsynchronisation))
    {
        decoded.assign(pData, pData + nHeaderSize);
        const std::vector<BYTE> body =
            DecodeUnsynchronisation(pData + nHeaderSize, pHeader->m_nSize);
        decoded.insert(decoded.end(), body.begin(), body.end());
        pFrame = decoded.data();
        nLength = static_cast<UINT>(decoded.size());
        // The extra bytes after the header were read from the encoded bytes.
        pHeader->ParseExtras(pFrame, nLength);
    }

    if (nVersion == 2)
    {
        if (IsUnmappedV22FrameID(pHeader->m_szID))
        {
            return std::make_unique<CUnknowFrame>(pFrame, nLength, std::move(pHeader));
        }
        if (const char* szMapped = MapV22FrameID(pHeader->m_szID))
        {
            // The header keeps version 2, so the body is still read after 6 bytes.
            pHeader->SetID(szMapped);
        }
    }
    return ConstructFrame(pFrame, nLength, std::move(pHeader));
}

} // namespace Tags::ID3v2Tag
