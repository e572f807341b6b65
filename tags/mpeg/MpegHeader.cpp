#include "tags/mpeg/MpegHeader.h"

namespace Tags
{

namespace
{

// Rows: layer index (Layer I or reserved, Layer II, Layer III), plus 3 for MPEG-2 and 2.5.
// Columns: bit-rate index; 0 (free format) and 15 (bad) give 0.
constexpr int BITRATES[6][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
};

// Rows: version; columns: sample-rate index, 3 being reserved.
constexpr int SAMPLE_RATES[3][4] = {
    {44100, 48000, 32000, 0},
    {22050, 24000, 16000, 0},
    {11025, 12000, 8000, 0},
};

// Rows: layer index; columns: version.
constexpr int SAMPLES_PER_FRAME[3][3] = {
    {384, 384, 384},
    {1152, 1152, 1152},
    {1152, 576, 576},
};

constexpr int VERSION_BY_BITS[4] = {2, 0, 1, 0}; // 00 MPEG-2.5, 01 reserved, 10 MPEG-2, 11 MPEG-1
constexpr int LAYER_BY_BITS[4] = {0, 3, 2, 1};   // 00 reserved, 01 III, 10 II, 11 I

constexpr int SINGLE_CHANNEL = 3;

} // namespace

CMpegHeader::CMpegHeader(const BYTE* pHeader)
{
    if (pHeader[0] != 0xFF || (pHeader[1] & 0xE0) != 0xE0)
    {
        return;
    }

    m_nVersion = VERSION_BY_BITS[(pHeader[1] >> 3) & 0x03];
    m_nLayer = LAYER_BY_BITS[(pHeader[1] >> 1) & 0x03];
    m_bProtected = (pHeader[1] & 0x01) == 0;

    const int nLayerIndex = m_nLayer == 0 ? 0 : m_nLayer - 1;
    const int nRow = nLayerIndex + (m_nVersion != 0 ? 3 : 0);
    m_nBitrate = BITRATES[nRow][(pHeader[2] >> 4) & 0x0F];

    m_nSampleRate = SAMPLE_RATES[m_nVersion][(pHeader[2] >> 2) & 0x03];
    if (m_nSampleRate == 0)
    {
        // Reserved sample rate: no frame size or duration can be derived.
        return;
    }

    m_nPadding = (pHeader[2] >> 1) & 0x01;
    m_nChannelMode = (pHeader[3] >> 6) & 0x03;
    m_bCopyrighted = (pHeader[3] & 0x08) != 0;
    m_bOriginal = (pHeader[3] & 0x04) != 0;
    m_nEmphasis = pHeader[3] & 0x03;

    const int nUnitFactor = m_nLayer == 1 ? 48000 : 72000;
    m_nFrameUnit = m_nBitrate * nUnitFactor / m_nSampleRate + m_nPadding;
    m_nSamplesPerFrame = SAMPLES_PER_FRAME[nLayerIndex][m_nVersion];
    m_bValid = TRUE;
}

CMpegHeader::~CMpegHeader() = default;

UINT CMpegHeader::GetXingOffset() const
{
    const bool bSingle = m_nChannelMode == SINGLE_CHANNEL;
    if (m_nVersion == 0)
    {
        return bSingle ? 21 : 36;
    }
    return bSingle ? 13 : 21;
}

} // namespace Tags
