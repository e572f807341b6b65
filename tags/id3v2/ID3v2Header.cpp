#include "tags/id3v2/ID3v2Header.h"

#include "tags/file/RenderBuffer.h"
#include "tags/id3v2/SyncSafe.h"

#include <algorithm>

namespace Tags::ID3v2Tag
{

namespace
{

bool IsFrameIDChar(BYTE ch)
{
    return (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
}

} // namespace

BOOL CHeader::IsHeader(const BYTE* pData, UINT nLength)
{
    return pData != nullptr && nLength >= HEADER_SIZE && pData[0] == 'I' && pData[1] == 'D' &&
           pData[2] == '3';
}

void CHeader::Parse(const BYTE* pData, UINT nLength)
{
    if (pData == nullptr || nLength < HEADER_SIZE)
    {
        return;
    }
    if (!IsSyncSafe(pData + 6))
    {
        m_nSize = 0;
        return;
    }
    m_nVersion = pData[3];
    m_nRevision = pData[4];
    const BYTE nFlags = pData[5];
    m_bUnsynchronisation = (nFlags & FLAG_UNSYNCHRONISATION) != 0;
    m_bExtendedHeader = (nFlags & FLAG_EXTENDED_HEADER) != 0;
    m_bExperimental = (nFlags & FLAG_EXPERIMENTAL) != 0;
    m_bFooter = (nFlags & FLAG_FOOTER) != 0;
    m_nSize = ReadSyncSafe(pData + 6);
}

void CHeader::Render(CRenderBuffer& buffer) const
{
    BYTE* pDest = buffer.Append(HEADER_SIZE);
    pDest[0] = 'I';
    pDest[1] = 'D';
    pDest[2] = '3';
    pDest[3] = static_cast<BYTE>(m_nVersion);
    pDest[4] = 0;
    pDest[5] = 0;
    WriteSyncSafe(pDest + 6, m_nSize);
}

UINT CHeader::GetTagLength() const
{
    // m_nSize is at most 28 bits when read; a larger value set by hand is written cut to 28 bits
    // anyway, so the sum cannot overflow for any header that can exist on disk.
    const ULONGLONG nLength = static_cast<ULONGLONG>(HEADER_SIZE) + (m_nSize & SYNCSAFE_MAX) +
                              (m_bFooter ? FOOTER_SIZE : 0);
    return static_cast<UINT>(nLength);
}

UINT CHeader::GetExtendedHeaderSize(const BYTE* pBody, UINT nBodyLength) const
{
    if (!m_bExtendedHeader || pBody == nullptr)
    {
        return 0;
    }
    if (nBodyLength < 4)
    {
        // Not even its size field fits: nothing of the body can be frames.
        return nBodyLength;
    }
    // Some writers set the flag without writing an extended header. Four frame-ID characters
    // would be a size of over 100 MB in either encoding, so they are taken as the first frame.
    if (std::all_of(pBody, pBody + 4, IsFrameIDChar))
    {
        return 0;
    }
    ULONGLONG nSize = 0;
    if (m_nVersion == 3)
    {
        nSize = 4ULL + ReadUInt32(pBody);
    }
    else
    {
        // The size counts its own 4 bytes, so anything smaller still skips them.
        nSize = std::max<ULONGLONG>(4, ReadSyncSafe(pBody));
    }
    return static_cast<UINT>(std::min<ULONGLONG>(nSize, nBodyLength));
}

} // namespace Tags::ID3v2Tag
