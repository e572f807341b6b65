#include "tags/mpeg/MpegProperties.h"

#include "tags/file/FileEx.h"
#include "tags/mpeg/MpegHeader.h"
#include "tags/mpeg/XingHeader.h"

#include <cstring>
#include <optional>

namespace Tags
{

namespace
{

constexpr UINT CARRY_SIZE = 4;
constexpr int SINGLE_CHANNEL = 3;

// A byte 0xFF followed by one that is not 0xFF and has its top three bits set. FF FF is also
// the start of every unprotected MPEG-1 Layer I header, so it counts when the third byte holds a
// real bit rate (1 to 14) and sample rate (not the reserved 3): a run of 0xFF bytes in front of
// a frame still is not taken for one.
bool IsCandidate(const BYTE* p)
{
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0)
        return false;
    if (p[1] != 0xFF)
        return true;
    const int nBitrateIndex = p[2] >> 4;
    const int nSampleRateIndex = (p[2] >> 2) & 0x03;
    return nBitrateIndex != 0 && nBitrateIndex != 15 && nSampleRateIndex != 3;
}

// The header of the first candidate in [nStart, nEnd), and its file position. The range is read
// in chunks of at most CHUNK_SIZE bytes; the last four bytes of each chunk are carried in front
// of the next one, so a candidate that straddles two chunks is seen whole. Only the first
// candidate counts, valid or not.
std::optional<CMpegHeader> FindFirstHeader(CFileEx& file, UINT nStart, UINT nEnd, UINT& nPosition)
{
    BYTE buffer[CARRY_SIZE + CMpegProperties::CHUNK_SIZE] = {};
    file.Seek(nStart, CFile::begin);
    UINT nChunkStart = nStart;
    for (;;)
    {
        const UINT nLeft = nEnd - nChunkStart;
        const UINT nWanted =
            nLeft < CMpegProperties::CHUNK_SIZE ? nLeft : CMpegProperties::CHUNK_SIZE;
        if (nWanted == 0)
        {
            return std::nullopt;
        }
        const UINT nRead = file.Read(buffer + CARRY_SIZE, nWanted);
        if (nRead < CARRY_SIZE)
        {
            return std::nullopt;
        }
        // Positions 0 to nRead - 1 of carry plus chunk: a header starting there lies wholly in
        // the buffer. The last four bytes of the chunk are looked at with the next one.
        for (UINT i = 0; i < nRead; ++i)
        {
            if (IsCandidate(buffer + i))
            {
                nPosition = nChunkStart - CARRY_SIZE + i;
                return CMpegHeader(buffer + i);
            }
        }
        std::memcpy(buffer, buffer + nRead, CARRY_SIZE);
        nChunkStart += nRead;
    }
}

// The Xing or Info header of the frame at nFramePosition, when its 16 bytes lie inside the audio
// range; bytes after the range (an ID3v1 block, or nothing) are not audio.
CXingHeader ReadXingHeader(CFileEx& file, const CMpegHeader& header, UINT nFramePosition, UINT nEnd)
{
    BYTE data[CXingHeader::SIZE] = {};
    const ULONGLONG nXingPosition = static_cast<ULONGLONG>(nFramePosition) + header.GetXingOffset();
    if (nXingPosition + CXingHeader::SIZE <= nEnd)
    {
        file.Seek(static_cast<LONGLONG>(nXingPosition), CFile::begin);
        if (file.Read(data, CXingHeader::SIZE) != CXingHeader::SIZE)
        {
            std::memset(data, 0, sizeof(data));
        }
    }
    return CXingHeader(data);
}

} // namespace

CMpegProperties::CMpegProperties(CFileEx& file, UINT nStart, UINT nEnd)
{
    if (file.m_hFile != INVALID_HANDLE_VALUE)
    {
        Read(file, nStart, nEnd);
    }
}

CMpegProperties::~CMpegProperties() = default;

int CMpegProperties::GetLength() const
{
    return m_nLength;
}

int CMpegProperties::GetBitrate() const
{
    return m_nBitrate;
}

int CMpegProperties::GetSampleRate() const
{
    return m_nSampleRate;
}

int CMpegProperties::GetChannels() const
{
    return m_nChannels;
}

void CMpegProperties::Reset()
{
    m_nLength = 0;
    m_nBitrate = 0;
    m_nSampleRate = 0;
    m_nChannels = 0;
    m_nLayer = 0;
    m_nVersion = 0;
    m_nChannelMode = 0;
    m_nEmphasis = 0;
    m_bProtected = FALSE;
    m_bCopyrighted = FALSE;
    m_bOriginal = FALSE;
}

BOOL CMpegProperties::Read(CFileEx& file, UINT nStart, UINT nEnd)
{
    Reset();
    if (nEnd <= nStart)
    {
        return FALSE;
    }

    UINT nFramePosition = 0;
    const std::optional<CMpegHeader> found = FindFirstHeader(file, nStart, nEnd, nFramePosition);
    if (!found)
    {
        return FALSE;
    }
    const CMpegHeader& header = *found;

    // What an invalid header still tells; everything else stays 0.
    m_nVersion = header.m_nVersion;
    m_nLayer = header.m_nLayer;
    m_bProtected = header.m_bProtected;
    if (!header.m_bValid)
    {
        return FALSE;
    }

    const CXingHeader xing = ReadXingHeader(file, header, nFramePosition, nEnd);
    if (xing.m_bValid && xing.m_nFrames != 0 && xing.m_nBytes != 0)
    {
        const double dDuration =
            static_cast<double>(header.m_nSamplesPerFrame) / header.m_nSampleRate * xing.m_nFrames;
        m_nLength = static_cast<int>(dDuration);
        if (m_nLength > 0)
        {
            m_nBitrate =
                static_cast<int>(static_cast<double>(xing.m_nBytes) * 8 / dDuration / 1000);
        }
    }
    else if (header.m_nFrameUnit > 0 && header.m_nBitrate > 0)
    {
        // 64-bit intermediates: the product passes 32 bits for ranges near 4 GiB and gives the
        // same result as 32-bit arithmetic below that.
        const ULONGLONG nRange = nEnd - nStart;
        const ULONGLONG nUnit = static_cast<ULONGLONG>(header.m_nFrameUnit);
        const ULONGLONG nBytesPerSecond = static_cast<ULONGLONG>(header.m_nBitrate) * 125;
        m_nLength = static_cast<int>(nUnit * (nRange / nUnit + 1) / nBytesPerSecond);
        m_nBitrate = header.m_nBitrate;
    }

    m_nSampleRate = header.m_nSampleRate;
    m_nChannels = header.m_nChannelMode == SINGLE_CHANNEL ? 1 : 2;
    m_nChannelMode = header.m_nChannelMode;
    m_bCopyrighted = header.m_bCopyrighted;
    m_bOriginal = header.m_bOriginal;
    m_nEmphasis = header.m_nEmphasis;
    return TRUE;
}

} // namespace Tags
