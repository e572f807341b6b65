// One MPEG audio frame header: the four bytes that start every frame, with the table values the
// audio properties need.
#pragma once

#include "base/Types.h"

namespace Tags
{

class CMpegHeader
{
public:
    // Bytes of a frame header.
    static constexpr UINT SIZE = 4;

    // Parses the four bytes at pHeader. The header is valid only when they start with a frame
    // sync and the sample-rate index is not the reserved one; a header with a reserved sample
    // rate keeps only its version, layer, protection and bit rate.
    explicit CMpegHeader(const BYTE* pHeader);
    virtual ~CMpegHeader();
    CMpegHeader(const CMpegHeader&) = default;
    CMpegHeader& operator=(const CMpegHeader&) = default;

    // Offset of a Xing or Info header from the frame's first byte: it follows the Layer III side
    // information, whose size depends on the version and on single channel. A CRC word after
    // the header is not allowed for.
    UINT GetXingOffset() const;

    BOOL m_bValid = FALSE;
    int m_nVersion = 0; // 0 MPEG-1, 1 MPEG-2, 2 MPEG-2.5 (also for the reserved bits)
    int m_nLayer = 0;   // 1 to 3, 0 for the reserved bits
    BOOL m_bProtected = FALSE;
    int m_nBitrate = 0; // kbit/s; 0 for free format and the bad index
    int m_nSampleRate = 0;
    int m_nPadding = 0;
    int m_nChannelMode = 0; // 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
    BOOL m_bCopyrighted = FALSE;
    BOOL m_bOriginal = FALSE;
    int m_nEmphasis = 0;
    // Bit rate × 72000 (48000 for Layer I) / sample rate + padding: the unit in which the
    // constant-bit-rate length estimate counts the audio range.
    int m_nFrameUnit = 0;
    int m_nSamplesPerFrame = 0;
};

} // namespace Tags
