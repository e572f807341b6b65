#include "tags/id3v2/ID3v2.h"

#include "base/LeadingInteger.h"
#include "tags/file/FileEx.h"
#include "tags/file/RenderBuffer.h"
#include "tags/id3v2/FrameFactory.h"
#include "tags/id3v2/ID3v2FrameHeader.h"
#include "tags/id3v2/SyncSafe.h"
#include "tags/id3v2/Unsynchronisation.h"
#include "tags/id3v2/VersionConversion.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace Tags::ID3v2Tag
{

namespace
{

// Whether a 2.4 frame list may go on at nPos: the end of the area, the padding, or a frame
// header with a valid ID whose size, read either way, fits into the area (text that happens to
// look like an ID is rarely followed by such a size).
bool IsFrameBoundary(const BYTE* pData, UINT nLength, UINT nPos)
{
    if (nPos >= nLength)
        return nPos == nLength;
    if (pData[nPos] == 0)
        return true;
    const UINT nHeaderSize = CFrameHeader::GetHeaderSize(4);
    if (nLength - nPos < nHeaderSize)
        return false;
    char szID[5] = {};
    std::memcpy(szID, pData + nPos, 4);
    if (!IsValidFrameID(szID, 4))
        return false;
    const UINT nRoom = nLength - nPos - nHeaderSize;
    return ReadSyncSafe(pData + nPos + 4) <= nRoom || ReadUInt32(pData + nPos + 4) <= nRoom;
}

// Whether the frame header at pFrame declares a size of 0 in its size bytes (rather than being
// read as 0 for undefined flag bits).
bool DeclaresNoBody(const BYTE* pFrame, int nVersion)
{
    if (nVersion < 3)
        return pFrame[3] == 0 && pFrame[4] == 0 && pFrame[5] == 0;
    return ReadUInt32(pFrame + 4) == 0;
}

} // namespace

CID3v2::CID3v2() : m_pHeader(std::make_unique<CHeader>()) {}

// Frames first, then the header, as they were made.
CID3v2::~CID3v2()
{
    m_frames.clear();
    m_pHeader.reset();
}

CString CID3v2::GetFrameText(const char* szID) const
{
    const CFrame* pFrame = FindFrame(szID);
    return pFrame != nullptr ? pFrame->GetText() : CString();
}

CString CID3v2::GetTitle() const
{
    return GetFrameText("TIT2");
}

CString CID3v2::GetAlbum() const
{
    return GetFrameText("TALB");
}

CString CID3v2::GetArtist() const
{
    return GetFrameText("TPE1");
}

CString CID3v2::GetYear() const
{
    // A 2.2 tag holds its year as TDRC too, since its TYE frame is read as one.
    if (m_pHeader->m_nVersion != 3)
    {
        if (const CFrame* pFrame = FindFrame("TDRC"))
        {
            return pFrame->GetText();
        }
    }
    return GetFrameText("TYER");
}

CString CID3v2::GetComment() const
{
    return GetFrameText("COMM");
}

int CID3v2::GetTrack() const
{
    // A negative number is no track number.
    const LONGLONG nTrack = GetLeadingInteger(GetFrameText("TRCK"));
    return static_cast<int>(std::clamp<LONGLONG>(nTrack, 0, INT_MAX));
}

CString CID3v2::GetGenre() const
{
    return GetFrameText("TCON");
}

BOOL CID3v2::IsEmpty() const
{
    return m_frames.empty();
}

CFrame* CID3v2::AddTail(std::unique_ptr<CFrame> pFrame)
{
    if (pFrame == nullptr)
    {
        return nullptr;
    }
    m_frames.push_back(std::move(pFrame));
    return m_frames.back().get();
}

CFrame* CID3v2::FindFrame(const char* szID) const
{
    if (szID == nullptr)
    {
        return nullptr;
    }
    for (const std::unique_ptr<CFrame>& pFrame : m_frames)
    {
        if (std::strcmp(pFrame->GetID(), szID) == 0)
        {
            return pFrame.get();
        }
    }
    return nullptr;
}

BOOL CID3v2::DeleteFrame(CFrame* pFrame)
{
    const auto it =
        std::find_if(m_frames.begin(), m_frames.end(),
                     [pFrame](const std::unique_ptr<CFrame>& p) { return p.get() == pFrame; });
    if (pFrame == nullptr || it == m_frames.end())
    {
        return FALSE;
    }
    m_frames.erase(it);
    return TRUE;
}

BOOL CID3v2::DeleteFrameByID(const char* szID)
{
    CFrame* pFrame = FindFrame(szID);
    return pFrame != nullptr && DeleteFrame(pFrame);
}

int CID3v2::DeleteFramesByID(const char* szID)
{
    if (szID == nullptr)
    {
        return 0;
    }
    const auto nDeleted = m_frames.remove_if([szID](const std::unique_ptr<CFrame>& pFrame)
                                             { return std::strcmp(pFrame->GetID(), szID) == 0; });
    return static_cast<int>(nDeleted);
}

BOOL CID3v2::Read(CFileEx& file)
{
    m_bValid = FALSE;
    m_frames.clear();
    m_pHeader = std::make_unique<CHeader>();
    m_nBodyInFile = UINT_MAX;

    BYTE header[CHeader::HEADER_SIZE] = {};
    file.Seek(0, CFile::begin);
    if (file.Read(header, CHeader::HEADER_SIZE) < CHeader::HEADER_SIZE ||
        !CHeader::IsHeader(header, CHeader::HEADER_SIZE))
    {
        return FALSE;
    }
    m_bValid = TRUE;
    m_pHeader->Parse(header, CHeader::HEADER_SIZE);
    const UINT nSize = m_pHeader->m_nSize;
    const ULONGLONG nFileLength = file.GetLength();
    const ULONGLONG nAvailable =
        nFileLength > CHeader::HEADER_SIZE ? nFileLength - CHeader::HEADER_SIZE : 0;
    if (nSize != 0)
    {
        // Never more than the file holds, whatever the size claims.
        std::vector<BYTE> body(static_cast<size_t>(std::min<ULONGLONG>(nSize, nAvailable)));
        const UINT nRead =
            body.empty() ? 0 : file.Read(body.data(), static_cast<UINT>(body.size()));
        const UINT nEnd = ParseBody(body.data(), nRead);
        if (nRead < nSize)
        {
            // A truncated copy: its frames are those that fit whole within the bytes there are,
            // and the tag ends with them; what follows (a cut frame, audio) is not the tag's, so
            // a save keeps it. The size is wrong and frames may be lost: the tag is damaged.
            m_nBodyInFile = nEnd;
            m_bValid = FALSE;
            return TRUE;
        }
    }
    if (nFileLength < m_pHeader->GetTagLength())
    {
        // Only the footer is cut: the tag takes the rest of the file.
        m_nBodyInFile = static_cast<UINT>(nAvailable);
    }
    return TRUE;
}

UINT CID3v2::ParseBody(const BYTE* pBody, UINT nLength)
{
    const bool bDecode = m_pHeader->m_bUnsynchronisation && m_pHeader->m_nVersion <= 3;
    std::vector<BYTE> decoded;
    if (bDecode)
    {
        decoded = DecodeUnsynchronisation(pBody, nLength);
    }
    const BYTE* pFrames = bDecode ? decoded.data() : pBody;
    const UINT nFrames = bDecode ? static_cast<UINT>(decoded.size()) : nLength;
    UINT nEnd = ParseFrames(pFrames, nFrames);
    if (std::all_of(pFrames + nEnd, pFrames + nFrames, [](BYTE b) { return b == 0; }))
    {
        nEnd = nFrames;
    }
    return bDecode ? EncodedLength(pBody, nLength, nEnd) : nEnd;
}

UINT CID3v2::GetLengthInFile() const
{
    if (m_nBodyInFile == UINT_MAX)
    {
        return m_pHeader->GetTagLength();
    }
    return CHeader::HEADER_SIZE + m_nBodyInFile;
}

UINT CID3v2::ParseFrames(const BYTE* pData, UINT nLength)
{
    m_frames.clear();
    m_bValid = TRUE;
    const int nVersion = m_pHeader->m_nVersion;
    const UINT nHeaderSize = CFrameHeader::GetHeaderSize(nVersion);
    if (pData == nullptr || nLength < nHeaderSize)
    {
        m_bValid = FALSE;
        return 0;
    }
    UINT nPos = m_pHeader->GetExtendedHeaderSize(pData, nLength);
    while (nPos < nLength && nLength - nPos > nHeaderSize)
    {
        if (pData[nPos] == 0)
        {
            break;
        }
        std::unique_ptr<CFrame> pFrame = CreateFrame(pData + nPos, nLength - nPos, nVersion);
        if (pFrame == nullptr)
        {
            break;
        }
        UINT nSize = pFrame->m_pHeader->m_nSize;
        if (nSize == 0)
        {
            m_bValid = FALSE;
            // Some players write frames that only say they are empty: the frames after one
            // are read on, so that a save keeps them. Undefined flag bits are no such frame.
            if (DeclaresNoBody(pData + nPos, nVersion))
            {
                nPos += nHeaderSize;
                continue;
            }
            break;
        }
        if (nVersion == 4)
        {
            const UINT nPlainSize = GetPlainV24FrameSize(pData, nLength, nPos, nSize);
            if (nPlainSize != nSize)
            {
                // Read the frame again with the size in the form it would have had.
                std::vector<BYTE> frame(pData + nPos, pData + nPos + nHeaderSize + nPlainSize);
                WriteSyncSafe(frame.data() + 4, nPlainSize);
                pFrame = CreateFrame(frame.data(), static_cast<UINT>(frame.size()), nVersion);
                if (pFrame == nullptr || pFrame->m_pHeader->m_nSize != nPlainSize)
                {
                    break;
                }
                nSize = nPlainSize;
            }
        }
        if (nSize > nLength - nPos - nHeaderSize)
        {
            break;
        }
        m_frames.push_back(std::move(pFrame));
        nPos += nHeaderSize + nSize;
    }
    return nPos;
}

UINT CID3v2::GetPlainV24FrameSize(const BYTE* pData, UINT nLength, UINT nPos, UINT nSyncSafeSize)
{
    const UINT nHeaderSize = CFrameHeader::GetHeaderSize(4);
    const BYTE* pSize = pData + nPos + 4;
    const UINT nPlainSize = ReadUInt32(pSize);
    if (nPlainSize == nSyncSafeSize || nPlainSize > SYNCSAFE_MAX)
    {
        return nSyncSafeSize;
    }
    const UINT nRoom = nLength - nPos - nHeaderSize;
    // Sizes written as plain integers (a common fault of 2.4 writers) show as sync-safe bytes
    // with bit 7 set, or as a sync-safe size that ends inside a frame where the plain one ends
    // at a frame boundary.
    if (IsSyncSafe(pSize) && nSyncSafeSize <= nRoom &&
        IsFrameBoundary(pData, nLength, nPos + nHeaderSize + nSyncSafeSize))
    {
        return nSyncSafeSize;
    }
    if (nPlainSize <= nRoom && IsFrameBoundary(pData, nLength, nPos + nHeaderSize + nPlainSize))
    {
        return nPlainSize;
    }
    return nSyncSafeSize;
}

std::unique_ptr<CFrame> CID3v2::CreateFrame(const BYTE* pData, UINT nRemaining, int nVersion) const
{
    return ReadFrame(pData, nRemaining, nVersion, m_pHeader->m_bUnsynchronisation);
}

void CID3v2::ConvertToV23()
{
    ConvertFramesToV23(m_frames);
}

void CID3v2::ConvertToV24()
{
    ConvertFramesToV24(m_frames);
}

void CID3v2::Render(CRenderBuffer& buffer)
{
    if (m_pHeader->m_nVersion == 3)
    {
        ConvertToV23();
    }
    else
    {
        // Only 2.3 and 2.4 are written; a tag read as 2.2 (or claiming a later version) is
        // written as 2.4 and says so.
        m_pHeader->m_nVersion = 4;
        ConvertToV24();
    }

    const UINT nStart = buffer.Grow(CHeader::HEADER_SIZE);
    for (const std::unique_ptr<CFrame>& pFrame : m_frames)
    {
        pFrame->SetTextEncoding(m_nTextEncoding);
        // A 2.2 frame without a later equivalent keeps its three-character ID, which would
        // leave a zero byte in the four-byte ID field.
        if (std::strlen(pFrame->GetID()) != 4)
        {
            continue;
        }
        CFrameHeader& header = *pFrame->m_pHeader;
        const UINT nFrameStart = buffer.Grow(CFrameHeader::HEADER_SIZE);
        // The bytes that compression, encryption or grouping call for, for a frame held raw.
        header.RenderExtras(buffer);
        const UINT nBodyStart = buffer.GetLength();
        pFrame->Render(buffer);
        if (buffer.GetLength() == nBodyStart)
        {
            buffer.Truncate(nFrameStart);
            continue;
        }
        header.m_nSize = buffer.GetLength() - nFrameStart - CFrameHeader::HEADER_SIZE;
        CRenderBuffer headerBytes;
        header.Render(headerBytes);
        std::memcpy(buffer.GetData() + nFrameStart, headerBytes.GetData(),
                    CFrameHeader::HEADER_SIZE);
    }

    const UINT nFrames = buffer.GetLength() - nStart - CHeader::HEADER_SIZE;
    const UINT nOldSize = std::min(m_pHeader->m_nSize, m_nBodyInFile);
    const UINT nPadding = nFrames < nOldSize ? nOldSize - nFrames : PADDING_SIZE;
    buffer.Grow(nPadding);

    // The header now describes the tag as written: its size and no flags.
    m_pHeader->m_nSize = nFrames + nPadding;
    m_nBodyInFile = UINT_MAX;
    m_pHeader->m_nRevision = 0;
    m_pHeader->m_bUnsynchronisation = FALSE;
    m_pHeader->m_bExtendedHeader = FALSE;
    m_pHeader->m_bExperimental = FALSE;
    m_pHeader->m_bFooter = FALSE;
    CRenderBuffer headerBytes;
    m_pHeader->Render(headerBytes);
    std::memcpy(buffer.GetData() + nStart, headerBytes.GetData(), CHeader::HEADER_SIZE);
}

} // namespace Tags::ID3v2Tag
