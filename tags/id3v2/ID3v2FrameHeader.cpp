#include "tags/id3v2/ID3v2FrameHeader.h"

#include "tags/file/RenderBuffer.h"
#include "tags/id3v2/SyncSafe.h"

#include <algorithm>
#include <cstring>

namespace Tags::ID3v2Tag
{

CFrameHeader::CFrameHeader(const BYTE* pData, UINT nLength, int nVersion) : m_nVersion(nVersion)
{
    if (pData == nullptr)
    {
        return;
    }
    if (nVersion < 3)
    {
        if (nLength < 3)
        {
            return;
        }
        std::memcpy(m_szID, pData, 3);
        if (nLength >= HEADER_SIZE_V22)
        {
            m_nSize = ReadUInt24(pData + 3);
        }
        return;
    }
    if (nLength < 4)
    {
        return;
    }
    std::memcpy(m_szID, pData, 4);
    if (nLength < HEADER_SIZE)
    {
        return;
    }
    const WORD nFlags = static_cast<WORD>((pData[8] << 8) | pData[9]);
    if (nVersion == 3)
    {
        if ((nFlags & V23_UNDEFINED) != 0)
        {
            return;
        }
        m_nSize = ReadUInt32(pData + 4);
    }
    else
    {
        m_nSize = ReadSyncSafe(pData + 4);
    }
    SetFlags(nFlags, nVersion);
    if (m_nSize > 0)
    {
        // Only the frame's own bytes, however many follow it in the buffer.
        const ULONGLONG nFrameLength = static_cast<ULONGLONG>(HEADER_SIZE) + m_nSize;
        ParseExtras(pData, static_cast<UINT>(std::min<ULONGLONG>(nLength, nFrameLength)));
    }
}

CFrameHeader::CFrameHeader(const char* pszID, int nVersion) : m_nVersion(nVersion)
{
    SetID(pszID);
}

UINT CFrameHeader::GetHeaderSize(int nVersion)
{
    return nVersion < 3 ? HEADER_SIZE_V22 : HEADER_SIZE;
}

void CFrameHeader::SetID(const char* pszID)
{
    std::memset(m_szID, 0, sizeof(m_szID));
    if (pszID == nullptr)
    {
        return;
    }
    for (size_t i = 0; i < 4 && pszID[i] != '\0'; ++i)
    {
        m_szID[i] = pszID[i];
    }
}

BOOL CFrameHeader::IsRawFormat() const
{
    return m_bCompression || m_bEncryption || m_bGroupingIdentity;
}

BOOL CFrameHeader::HasDataLengthBytes() const
{
    if (m_nVersion < 3)
    {
        return FALSE;
    }
    if (m_nVersion == 3)
    {
        return m_bCompression;
    }
    // 2.4 requires a data length indicator with compression; a frame that leaves out the flag
    // gets the 4 bytes it is owed.
    return m_bCompression || m_bDataLengthIndicator;
}

UINT CFrameHeader::GetExtrasSize() const
{
    if (m_nVersion < 3)
    {
        return 0;
    }
    return (HasDataLengthBytes() ? 4U : 0U) + (m_bEncryption ? 1U : 0U) +
           (m_bGroupingIdentity ? 1U : 0U);
}

UINT CFrameHeader::GetDataOffset() const
{
    return GetHeaderSize() + GetExtrasSize();
}

BOOL CFrameHeader::ParseExtras(const BYTE* pFrame, UINT nLength)
{
    const UINT nExtras = GetExtrasSize();
    if (nExtras == 0)
    {
        return TRUE;
    }
    const UINT nOffset = GetHeaderSize();
    if (pFrame == nullptr || nLength < nOffset || nLength - nOffset < nExtras)
    {
        return FALSE;
    }
    const BYTE* p = pFrame + nOffset;
    if (m_nVersion == 3)
    {
        if (m_bCompression)
        {
            m_nDataLength = ReadUInt32(p);
            p += 4;
        }
        if (m_bEncryption)
        {
            m_nEncryptionMethod = *p++;
        }
        if (m_bGroupingIdentity)
        {
            m_nGroupSymbol = *p;
        }
        return TRUE;
    }
    if (m_bGroupingIdentity)
    {
        m_nGroupSymbol = *p++;
    }
    if (m_bEncryption)
    {
        m_nEncryptionMethod = *p++;
    }
    if (HasDataLengthBytes())
    {
        m_nDataLength = ReadSyncSafe(p);
    }
    return TRUE;
}

WORD CFrameHeader::GetFlags(int nVersion) const
{
    WORD nFlags = 0;
    auto put = [&nFlags](BOOL bSet, WORD nBit)
    {
        if (bSet)
        {
            nFlags = static_cast<WORD>(nFlags | nBit);
        }
    };
    if (nVersion == 3)
    {
        put(m_bTagAlterPreservation, V23_TAG_ALTER_PRESERVATION);
        put(m_bFileAlterPreservation, V23_FILE_ALTER_PRESERVATION);
        put(m_bFrameReadOnly, V23_READ_ONLY);
        put(m_bCompression, V23_COMPRESSION);
        put(m_bEncryption, V23_ENCRYPTION);
        put(m_bGroupingIdentity, V23_GROUPING_IDENTITY);
    }
    else if (nVersion >= 4)
    {
        put(m_bTagAlterPreservation, V24_TAG_ALTER_PRESERVATION);
        put(m_bFileAlterPreservation, V24_FILE_ALTER_PRESERVATION);
        put(m_bFrameReadOnly, V24_READ_ONLY);
        put(m_bGroupingIdentity, V24_GROUPING_IDENTITY);
        put(m_bCompression, V24_COMPRESSION);
        put(m_bEncryption, V24_ENCRYPTION);
        put(m_bUnsynchronisation, V24_UNSYNCHRONISATION);
        put(m_bDataLengthIndicator, V24_DATA_LENGTH_INDICATOR);
    }
    return nFlags;
}

void CFrameHeader::SetFlags(WORD nFlags, int nVersion)
{
    auto has = [nFlags](WORD nBit) -> BOOL { return (nFlags & nBit) != 0; };
    if (nVersion == 3)
    {
        m_bTagAlterPreservation = has(V23_TAG_ALTER_PRESERVATION);
        m_bFileAlterPreservation = has(V23_FILE_ALTER_PRESERVATION);
        m_bFrameReadOnly = has(V23_READ_ONLY);
        m_bCompression = has(V23_COMPRESSION);
        m_bEncryption = has(V23_ENCRYPTION);
        m_bGroupingIdentity = has(V23_GROUPING_IDENTITY);
    }
    else if (nVersion >= 4)
    {
        m_bTagAlterPreservation = has(V24_TAG_ALTER_PRESERVATION);
        m_bFileAlterPreservation = has(V24_FILE_ALTER_PRESERVATION);
        m_bFrameReadOnly = has(V24_READ_ONLY);
        m_bGroupingIdentity = has(V24_GROUPING_IDENTITY);
        m_bCompression = has(V24_COMPRESSION);
        m_bEncryption = has(V24_ENCRYPTION);
        m_bUnsynchronisation = has(V24_UNSYNCHRONISATION);
        m_bDataLengthIndicator = has(V24_DATA_LENGTH_INDICATOR);
    }
}

WORD CFrameHeader::GetRenderFlags() const
{
    if (!IsRawFormat() || m_nVersion < 3)
    {
        return 0;
    }
    // The raw data is written as it was held: decoded, so never unsynchronised.
    if (m_nVersion == 3)
    {
        return static_cast<WORD>(GetFlags(3) &
                                 (V23_COMPRESSION | V23_ENCRYPTION | V23_GROUPING_IDENTITY));
    }
    WORD nFlags =
        static_cast<WORD>(GetFlags(4) & (V24_COMPRESSION | V24_ENCRYPTION | V24_GROUPING_IDENTITY));
    if (HasDataLengthBytes())
    {
        nFlags = static_cast<WORD>(nFlags | V24_DATA_LENGTH_INDICATOR);
    }
    return nFlags;
}

void CFrameHeader::Render(CRenderBuffer& buffer) const
{
    BYTE* pDest = buffer.Append(HEADER_SIZE);
    std::memcpy(pDest, m_szID, 4);
    if (m_nVersion >= 4)
    {
        WriteSyncSafe(pDest + 4, m_nSize);
    }
    else
    {
        WriteUInt32(pDest + 4, m_nSize);
    }
    const WORD nFlags = GetRenderFlags();
    pDest[8] = static_cast<BYTE>(nFlags >> 8);
    pDest[9] = static_cast<BYTE>(nFlags);
}

void CFrameHeader::RenderExtras(CRenderBuffer& buffer) const
{
    if (!IsRawFormat())
    {
        return;
    }
    const UINT nExtras = GetExtrasSize();
    if (nExtras == 0)
    {
        return;
    }
    BYTE* p = buffer.Append(nExtras);
    if (m_nVersion == 3)
    {
        if (m_bCompression)
        {
            WriteUInt32(p, m_nDataLength);
            p += 4;
        }
        if (m_bEncryption)
        {
            *p++ = m_nEncryptionMethod;
        }
        if (m_bGroupingIdentity)
        {
            *p = m_nGroupSymbol;
        }
        return;
    }
    if (m_bGroupingIdentity)
    {
        *p++ = m_nGroupSymbol;
    }
    if (m_bEncryption)
    {
        *p++ = m_nEncryptionMethod;
    }
    if (HasDataLengthBytes())
    {
        WriteSyncSafe(p, m_nDataLength);
    }
}

} // namespace Tags::ID3v2Tag
