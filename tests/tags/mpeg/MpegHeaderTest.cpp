#include "tags/mpeg/MpegHeader.h"
#include "tags/mpeg/XingHeader.h"

#include <gtest/gtest.h>

#include <array>

using Tags::CMpegHeader;
using Tags::CXingHeader;

namespace
{

CMpegHeader Parse(std::array<BYTE, 4> bytes)
{
    return CMpegHeader(bytes.data());
}

void ExpectUnparsed(const CMpegHeader& header)
{
    EXPECT_FALSE(header.m_bValid);
    EXPECT_EQ(header.m_nVersion, 0);
    EXPECT_EQ(header.m_nLayer, 0);
    EXPECT_FALSE(header.m_bProtected);
    EXPECT_EQ(header.m_nBitrate, 0);
    EXPECT_EQ(header.m_nSampleRate, 0);
    EXPECT_EQ(header.m_nFrameUnit, 0);
    EXPECT_EQ(header.m_nSamplesPerFrame, 0);
}

TEST(CMpegHeaderTest, ParsesEveryField)
{
    const CMpegHeader header = Parse({0xFF, 0xFB, 0x90, 0x64});
    EXPECT_TRUE(header.m_bValid);
    EXPECT_EQ(header.m_nVersion, 0);
    EXPECT_EQ(header.m_nLayer, 3);
    EXPECT_FALSE(header.m_bProtected);
    EXPECT_EQ(header.m_nBitrate, 128);
    EXPECT_EQ(header.m_nSampleRate, 44100);
    EXPECT_EQ(header.m_nPadding, 0);
    EXPECT_EQ(header.m_nChannelMode, 1);
    EXPECT_FALSE(header.m_bCopyrighted);
    EXPECT_TRUE(header.m_bOriginal);
    EXPECT_EQ(header.m_nEmphasis, 0);
    EXPECT_EQ(header.m_nFrameUnit, 208);
    EXPECT_EQ(header.m_nSamplesPerFrame, 1152);
    EXPECT_EQ(header.GetXingOffset(), 36u);

    // MPEG-2 Layer III, CRC, 160 kbit/s, 16000 Hz, padding, single channel, copyright, CCITT.
    const CMpegHeader other = Parse({0xFF, 0xF2, 0xEA, 0xCB});
    EXPECT_TRUE(other.m_bValid);
    EXPECT_EQ(other.m_nVersion, 1);
    EXPECT_EQ(other.m_nLayer, 3);
    EXPECT_TRUE(other.m_bProtected);
    EXPECT_EQ(other.m_nBitrate, 160);
    EXPECT_EQ(other.m_nSampleRate, 16000);
    EXPECT_EQ(other.m_nPadding, 1);
    EXPECT_EQ(other.m_nChannelMode, 3);
    EXPECT_TRUE(other.m_bCopyrighted);
    EXPECT_FALSE(other.m_bOriginal);
    EXPECT_EQ(other.m_nEmphasis, 3);
    EXPECT_EQ(other.m_nFrameUnit, 160 * 72000 / 16000 + 1);
    EXPECT_EQ(other.m_nSamplesPerFrame, 576);
    EXPECT_EQ(other.GetXingOffset(), 13u);
}

TEST(CMpegHeaderTest, BitRateRowsByVersionAndLayer)
{
    // Bit-rate index 14 in every row, and the frame unit of each.
    struct Case
    {
        BYTE nByte1;
        int nVersion;
        int nLayer;
        int nBitrate;
        int nSampleRate;
        int nFrameUnit;
        int nSamples;
    };
    const Case cases[] = {
        {0xFF, 0, 1, 448, 44100, 448 * 48000 / 44100, 384},
        {0xFD, 0, 2, 384, 44100, 384 * 72000 / 44100, 1152},
        {0xFB, 0, 3, 320, 44100, 320 * 72000 / 44100, 1152},
        {0xF7, 1, 1, 256, 22050, 256 * 48000 / 22050, 384},
        {0xF5, 1, 2, 160, 22050, 160 * 72000 / 22050, 1152},
        {0xF3, 1, 3, 160, 22050, 160 * 72000 / 22050, 576},
        {0xE7, 2, 1, 256, 11025, 256 * 48000 / 11025, 384},
        {0xE3, 2, 3, 160, 11025, 160 * 72000 / 11025, 576},
    };
    for (const Case& c : cases)
    {
        const CMpegHeader header = Parse({0xFF, c.nByte1, 0xE0, 0x00});
        SCOPED_TRACE(testing::Message() << std::hex << int{c.nByte1});
        EXPECT_TRUE(header.m_bValid);
        EXPECT_EQ(header.m_nVersion, c.nVersion);
        EXPECT_EQ(header.m_nLayer, c.nLayer);
        EXPECT_EQ(header.m_nBitrate, c.nBitrate);
        EXPECT_EQ(header.m_nSampleRate, c.nSampleRate);
        EXPECT_EQ(header.m_nFrameUnit, c.nFrameUnit);
        EXPECT_EQ(header.m_nSamplesPerFrame, c.nSamples);
    }
}

TEST(CMpegHeaderTest, ReservedVersionAndLayerBits)
{
    // Version 01 counts as MPEG-1, layer 00 takes the Layer I rows but the 72000 unit.
    const CMpegHeader header = Parse({0xFF, 0xE9, 0x90, 0x00});
    EXPECT_TRUE(header.m_bValid);
    EXPECT_EQ(header.m_nVersion, 0);
    EXPECT_EQ(header.m_nLayer, 0);
    EXPECT_FALSE(header.m_bProtected);
    EXPECT_EQ(header.m_nBitrate, 288);
    EXPECT_EQ(header.m_nSampleRate, 44100);
    EXPECT_EQ(header.m_nFrameUnit, 288 * 72000 / 44100);
    EXPECT_EQ(header.m_nSamplesPerFrame, 384);
}

TEST(CMpegHeaderTest, FreeAndBadBitRatesGiveZero)
{
    const CMpegHeader free = Parse({0xFF, 0xFB, 0x02, 0x00});
    EXPECT_TRUE(free.m_bValid);
    EXPECT_EQ(free.m_nBitrate, 0);
    EXPECT_EQ(free.m_nFrameUnit, 1); // the padding alone
    const CMpegHeader bad = Parse({0xFF, 0xFB, 0xF0, 0x00});
    EXPECT_TRUE(bad.m_bValid);
    EXPECT_EQ(bad.m_nBitrate, 0);
    EXPECT_EQ(bad.m_nFrameUnit, 0);
}

TEST(CMpegHeaderTest, NoSyncLeavesEverythingUnset)
{
    ExpectUnparsed(Parse({0xFE, 0xFB, 0x90, 0x64}));
    ExpectUnparsed(Parse({0xFF, 0xDB, 0x90, 0x64}));
    ExpectUnparsed(Parse({0x00, 0x00, 0x00, 0x00}));
}

TEST(CMpegHeaderTest, ReservedSampleRateKeepsOnlyTheFirstFields)
{
    const CMpegHeader header = Parse({0xFF, 0xFA, 0x9E, 0xCF});
    EXPECT_FALSE(header.m_bValid);
    EXPECT_EQ(header.m_nVersion, 0);
    EXPECT_EQ(header.m_nLayer, 3);
    EXPECT_TRUE(header.m_bProtected);
    EXPECT_EQ(header.m_nBitrate, 128);
    EXPECT_EQ(header.m_nSampleRate, 0);
    EXPECT_EQ(header.m_nPadding, 0);
    EXPECT_EQ(header.m_nChannelMode, 0);
    EXPECT_FALSE(header.m_bCopyrighted);
    EXPECT_FALSE(header.m_bOriginal);
    EXPECT_EQ(header.m_nEmphasis, 0);
    EXPECT_EQ(header.m_nFrameUnit, 0);
    EXPECT_EQ(header.m_nSamplesPerFrame, 0);
}

CXingHeader ParseXing(const char* pszTag, std::array<BYTE, 4> flags)
{
    std::array<BYTE, 16> data = {0,    0,    0,    0,    0,    0,    0,    0,
                                 0x01, 0x02, 0x03, 0x04, 0xA0, 0xB0, 0xC0, 0xD0};
    for (int i = 0; i < 4; ++i)
    {
        data[i] = static_cast<BYTE>(pszTag[i]);
        data[4 + i] = flags[i];
    }
    return CXingHeader(data.data());
}

TEST(CXingHeaderTest, NeedsTagAndBothCountFlags)
{
    const CXingHeader xing = ParseXing("Xing", {0, 0, 0, 0x0F});
    EXPECT_TRUE(xing.m_bValid);
    EXPECT_EQ(xing.m_nFrames, 0x01020304u);
    EXPECT_EQ(xing.m_nBytes, 0xA0B0C0D0u);

    EXPECT_TRUE(ParseXing("Info", {0, 0, 0, 0x03}).m_bValid);
    // Only the low byte of the flags word counts.
    EXPECT_TRUE(ParseXing("Xing", {0xFF, 0xFF, 0xFF, 0x03}).m_bValid);
    EXPECT_FALSE(ParseXing("Xing", {0, 0, 0x03, 0x00}).m_bValid);

    for (const BYTE nFlags : {0x00, 0x01, 0x02, 0x0D, 0x0E})
    {
        const CXingHeader without = ParseXing("Xing", {0, 0, 0, nFlags});
        EXPECT_FALSE(without.m_bValid) << int{nFlags};
        EXPECT_EQ(without.m_nFrames, 0u);
        EXPECT_EQ(without.m_nBytes, 0u);
    }
    for (const char* pszTag : {"xing", "INFO", "Xin ", "LAME", "\0\0\0\0"})
    {
        EXPECT_FALSE(ParseXing(pszTag, {0, 0, 0, 0x0F}).m_bValid) << pszTag;
    }
}

} // namespace
