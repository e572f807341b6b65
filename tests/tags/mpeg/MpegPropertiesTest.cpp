#include "tags/mpeg/MpegProperties.h"

#include "fixtures/Mp3Builder.h"
#include "fixtures/TempDir.h"
#include "tags/file/FileEx.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

using Fixtures::Bytes;
using Fixtures::CMp3Builder;
using Tags::CMpegProperties;

namespace
{

using FrameSpec = CMp3Builder::FrameSpec;
using XingSpec = CMp3Builder::XingSpec;

// FF FB 90 64: MPEG-1 Layer III, 128 kbit/s, 44100 Hz, joint stereo, original.
FrameSpec Layer3Frame()
{
    FrameSpec frame;
    frame.m_nModeExtension = 2;
    frame.m_bOriginal = TRUE;
    return frame;
}

XingSpec Xing(UINT nFrames, UINT nBytes)
{
    XingSpec xing;
    xing.m_nFrames = nFrames;
    xing.m_nBytes = nBytes;
    return xing;
}

// The constant-bit-rate length in exact 64-bit arithmetic.
ULONGLONG CbrLength(ULONGLONG nFrameUnit, ULONGLONG nRange, ULONGLONG nBitrate)
{
    return nFrameUnit * (nRange / nFrameUnit + 1) / (nBitrate * 125);
}

class MpegPropertiesTest : public ::testing::Test
{
protected:
    // Writes the built file, zero-filled (sparse) up to nSize bytes when that is larger.
    CMp3Builder::Layout Write(const CMp3Builder& builder, std::uintmax_t nSize = 0)
    {
        // A file still held open cannot be written anew where sharing is enforced (Windows).
        m_file.reset();
        const CMp3Builder::Layout layout = builder.WriteTo(m_path);
        if (nSize > layout.m_nFileSize)
        {
            std::filesystem::resize_file(m_path, nSize);
        }
        return layout;
    }

    void WriteBytes(const Bytes& bytes)
    {
        m_file.reset();
        Fixtures::WriteFileBytes(m_path, bytes);
    }

    std::unique_ptr<CMpegProperties> Measure(UINT nStart, UINT nEnd)
    {
        m_file = std::make_unique<Tags::CFileEx>();
        EXPECT_TRUE(m_file->OpenFile(Fixtures::ToCString(m_path)));
        return std::make_unique<CMpegProperties>(*m_file, nStart, nEnd);
    }

    // The whole file as the audio range.
    std::unique_ptr<CMpegProperties> Measure()
    {
        return Measure(0, static_cast<UINT>(std::filesystem::file_size(m_path)));
    }

    static void ExpectAllZero(const CMpegProperties& props)
    {
        EXPECT_EQ(props.GetLength(), 0);
        EXPECT_EQ(props.GetBitrate(), 0);
        EXPECT_EQ(props.GetSampleRate(), 0);
        EXPECT_EQ(props.GetChannels(), 0);
        EXPECT_EQ(props.m_nLayer, 0);
        EXPECT_EQ(props.m_nVersion, 0);
        EXPECT_EQ(props.m_nChannelMode, 0);
        EXPECT_EQ(props.m_nEmphasis, 0);
        EXPECT_FALSE(props.m_bProtected);
        EXPECT_FALSE(props.m_bCopyrighted);
        EXPECT_FALSE(props.m_bOriginal);
    }

    Fixtures::CTempDir m_dir;
    std::filesystem::path m_path = m_dir.PathOf("audio.mp3");
    std::unique_ptr<Tags::CFileEx> m_file;
};

TEST_F(MpegPropertiesTest, ConstantBitRateFromRangeSize)
{
    ASSERT_EQ(CMp3Builder::Header(Layer3Frame()), (std::array<BYTE, 4>{0xFF, 0xFB, 0x90, 0x64}));
    Write(CMp3Builder().AddFrames(Layer3Frame(), 100), 5000000);

    const auto props = Measure();
    EXPECT_EQ(props->GetLength(), 312);
    EXPECT_EQ(props->GetBitrate(), 128);
    EXPECT_EQ(props->GetSampleRate(), 44100);
    EXPECT_EQ(props->GetChannels(), 2);
    EXPECT_EQ(props->m_nVersion, 0);
    EXPECT_EQ(props->m_nLayer, 3);
    EXPECT_EQ(props->m_nChannelMode, 1);
    EXPECT_EQ(props->m_nEmphasis, 0);
    EXPECT_FALSE(props->m_bProtected);
    EXPECT_FALSE(props->m_bCopyrighted);
    EXPECT_TRUE(props->m_bOriginal);
}

TEST_F(MpegPropertiesTest, RangeExcludesTagsButIncludesGarbageBeforeFirstFrame)
{
    // Header-like bytes inside the ID3v2 tag lie before the range and are not looked at.
    const Bytes id3v2 = CMp3Builder::Id3v2Tag(3, 200, 0, {0xFF, 0xE2, 0x0C, 0x00});
    const auto layout = Write(CMp3Builder()
                                  .AddId3v2(id3v2)
                                  .AddGarbage(Bytes(300, 0x00))
                                  .AddFrames(Layer3Frame(), 11990)
                                  .AddId3v1(CMp3Builder::Id3v1Fields()));
    ASSERT_EQ(layout.m_nAudioStart, 210u);

    const UINT nStart = static_cast<UINT>(layout.m_nAudioStart);
    const UINT nEnd = static_cast<UINT>(layout.m_nAudioEnd);
    const auto props = Measure(nStart, nEnd);
    EXPECT_EQ(props->m_nLayer, 3);
    EXPECT_EQ(props->GetBitrate(), 128);
    EXPECT_EQ(props->GetLength(), static_cast<int>(CbrLength(208, nEnd - nStart, 128)));
}

TEST_F(MpegPropertiesTest, XingCountsGiveVariableBitRate)
{
    Write(CMp3Builder()
              .AddXingFrame(Layer3Frame(), Xing(11962, 4800000))
              .AddFrames(Layer3Frame(), 50));

    const auto props = Measure();
    EXPECT_EQ(props->GetLength(), 312);
    EXPECT_EQ(props->GetBitrate(), 122);
    EXPECT_EQ(props->GetSampleRate(), 44100);
    EXPECT_EQ(props->GetChannels(), 2);
}

TEST_F(MpegPropertiesTest, InfoHeaderCountsAreUsedToo)
{
    XingSpec info = Xing(11962, 4800000);
    info.m_bInfo = TRUE;
    info.m_bTocField = FALSE;
    Write(CMp3Builder().AddXingFrame(Layer3Frame(), info).AddFrames(Layer3Frame(), 50));

    const auto props = Measure();
    EXPECT_EQ(props->GetLength(), 312);
    EXPECT_EQ(props->GetBitrate(), 122);
}

TEST_F(MpegPropertiesTest, XingWithoutBothCountsFallsBackToConstantBitRate)
{
    struct Case
    {
        BOOL bInfo;
        BOOL bFrames;
        BOOL bBytes;
        UINT nFrames;
        UINT nBytes;
    };
    const Case cases[] = {
        {TRUE, TRUE, FALSE, 11962, 0},    // Info with only the frame count
        {FALSE, FALSE, TRUE, 0, 4800000}, // Xing with only the byte count
        {FALSE, TRUE, TRUE, 0, 4800000},  // both present, frame count 0
        {FALSE, TRUE, TRUE, 11962, 0},    // both present, byte count 0
    };
    for (const Case& c : cases)
    {
        XingSpec xing;
        xing.m_bInfo = c.bInfo;
        xing.m_bFramesField = c.bFrames;
        xing.m_bBytesField = c.bBytes;
        xing.m_nFrames = c.nFrames;
        xing.m_nBytes = c.nBytes;
        Write(CMp3Builder().AddXingFrame(Layer3Frame(), xing), 5000000);

        const auto props = Measure();
        EXPECT_EQ(props->GetLength(), 312) << c.bInfo << c.bFrames << c.bBytes << c.nFrames;
        EXPECT_EQ(props->GetBitrate(), 128) << c.bInfo << c.bFrames << c.bBytes << c.nFrames;
    }
}

TEST_F(MpegPropertiesTest, ShortVariableBitRateStreamHasNoBitRate)
{
    // 30 frames are under a second: length 0, and then no bit rate either.
    Write(CMp3Builder().AddXingFrame(Layer3Frame(), Xing(30, 12000)).AddFrames(Layer3Frame(), 30));

    const auto props = Measure();
    EXPECT_EQ(props->GetLength(), 0);
    EXPECT_EQ(props->GetBitrate(), 0);
    EXPECT_EQ(props->GetSampleRate(), 44100);
}

// Where the Xing header is looked for: after the side information, by version and single
// channel; elsewhere it is not seen.
struct XingOffsetCase
{
    int nVersion;
    int nChannelMode;
    int nSampleRate;
    int nBitrate;
    int nOffset;
    int nChannels;
};

class XingOffsetTest : public MpegPropertiesTest,
                       public ::testing::WithParamInterface<XingOffsetCase>
{
};

TEST_P(XingOffsetTest, FoundAtSideInfoEndOnly)
{
    const XingOffsetCase& c = GetParam();
    FrameSpec frame;
    frame.m_nVersion = c.nVersion;
    frame.m_nChannelMode = c.nChannelMode;
    frame.m_nSampleRate = c.nSampleRate;
    frame.m_nBitrate = c.nBitrate;
    ASSERT_EQ(static_cast<int>(CMp3Builder::XingOffset(frame, false)), c.nOffset);

    const UINT nSamples = CMp3Builder::SamplesPerFrame(c.nVersion, 3);
    const UINT nFrames = 4000;
    const double dDuration = static_cast<double>(nSamples) / c.nSampleRate * nFrames;
    const UINT nBytes = 555555; // a bit rate unlike every constant one here

    for (const int nOffset : {c.nOffset, c.nOffset == 21 ? 36 : 21})
    {
        XingSpec xing = Xing(nFrames, nBytes);
        xing.m_nOffset = nOffset;
        xing.m_bTocField = FALSE;
        Write(CMp3Builder().AddXingFrame(frame, xing).AddFrames(frame, 20));

        const auto props = Measure();
        EXPECT_EQ(props->GetChannels(), c.nChannels);
        EXPECT_EQ(props->m_nChannelMode, c.nChannelMode);
        EXPECT_EQ(props->m_nVersion, c.nVersion);
        if (nOffset == c.nOffset)
        {
            EXPECT_EQ(props->GetLength(), static_cast<int>(dDuration));
            EXPECT_EQ(props->GetBitrate(), static_cast<int>(nBytes * 8.0 / dDuration / 1000));
        }
        else
        {
            EXPECT_EQ(props->GetBitrate(), c.nBitrate) << "Xing at " << nOffset << " was used";
        }
    }
}

std::string XingCaseName(const ::testing::TestParamInfo<XingOffsetCase>& param)
{
    static const char* const VERSIONS[] = {"Mpeg1", "Mpeg2", "Mpeg25"};
    static const char* const MODES[] = {"Stereo", "JointStereo", "DualChannel", "Mono"};
    return std::string(VERSIONS[param.param.nVersion]) + MODES[param.param.nChannelMode];
}

INSTANTIATE_TEST_SUITE_P(
    VersionsAndModes, XingOffsetTest,
    ::testing::Values(
        XingOffsetCase{CMp3Builder::MPEG1, CMp3Builder::MONO, 44100, 128, 21, 1},
        XingOffsetCase{CMp3Builder::MPEG1, CMp3Builder::STEREO, 48000, 128, 36, 2},
        XingOffsetCase{CMp3Builder::MPEG1, CMp3Builder::DUAL_CHANNEL, 32000, 96, 36, 2},
        XingOffsetCase{CMp3Builder::MPEG2, CMp3Builder::MONO, 22050, 64, 13, 1},
        XingOffsetCase{CMp3Builder::MPEG2, CMp3Builder::JOINT_STEREO, 24000, 64, 21, 2},
        XingOffsetCase{CMp3Builder::MPEG25, CMp3Builder::MONO, 11025, 32, 13, 1},
        XingOffsetCase{CMp3Builder::MPEG25, CMp3Builder::STEREO, 12000, 32, 21, 2}),
    XingCaseName);

TEST_F(MpegPropertiesTest, CrcWordIsNotAllowedForInXingOffset)
{
    FrameSpec frame = Layer3Frame();
    frame.m_bProtected = TRUE;
    XingSpec xing = Xing(11962, 4800000);

    xing.m_bAfterCrc = TRUE; // at 38: not seen
    Write(CMp3Builder().AddXingFrame(frame, xing), 5000000);
    auto props = Measure();
    EXPECT_TRUE(props->m_bProtected);
    EXPECT_EQ(props->GetLength(), 312);
    EXPECT_EQ(props->GetBitrate(), 128);

    xing.m_bAfterCrc = FALSE; // at 36, over the CRC-shifted side information: seen
    Write(CMp3Builder().AddXingFrame(frame, xing), 5000000);
    props = Measure();
    EXPECT_TRUE(props->m_bProtected);
    EXPECT_EQ(props->GetLength(), 312);
    EXPECT_EQ(props->GetBitrate(), 122);
}

TEST_F(MpegPropertiesTest, VersionsAndLayers)
{
    struct Case
    {
        int nVersion;
        int nLayer;
        int nBitrate;
        int nSampleRate;
        BOOL bPadding;
        UINT nRange;
        int nLength;
    };
    // Lengths worked out by hand from the frame unit (bit rate × 72000, or 48000 for Layer I,
    // / sample rate + padding).
    const Case cases[] = {
        {CMp3Builder::MPEG2, 3, 64, 22050, FALSE, 1000000, 125}, // unit 208
        {CMp3Builder::MPEG25, 3, 32, 11025, FALSE, 500000, 125}, // unit 208
        {CMp3Builder::MPEG1, 1, 384, 48000, FALSE, 2000000, 41}, // unit 384
        {CMp3Builder::MPEG1, 2, 192, 48000, FALSE, 1500000, 62}, // unit 288
        {CMp3Builder::MPEG2, 1, 256, 24000, FALSE, 1000000, 31}, // unit 512
        {CMp3Builder::MPEG2, 2, 160, 16000, FALSE, 1000000, 50}, // unit 720
        {CMp3Builder::MPEG1, 3, 32, 32000, FALSE, 3950, 0},      // unit 72
        {CMp3Builder::MPEG1, 3, 32, 32000, TRUE, 3950, 1},       // unit 73
    };
    for (const Case& c : cases)
    {
        FrameSpec frame;
        frame.m_nVersion = c.nVersion;
        frame.m_nLayer = c.nLayer;
        frame.m_nBitrate = c.nBitrate;
        frame.m_nSampleRate = c.nSampleRate;
        frame.m_bPadding = c.bPadding;
        frame.m_nChannelMode = CMp3Builder::STEREO;
        // An MPEG-1 Layer I header without CRC starts FF FF, which is no candidate (see below).
        frame.m_bProtected = c.nVersion == CMp3Builder::MPEG1 && c.nLayer == 1;
        frame.m_bCopyrighted = TRUE;
        frame.m_nEmphasis = 3;
        Write(CMp3Builder().AddFrames(frame, 1), c.nRange);

        const auto props = Measure();
        SCOPED_TRACE(testing::Message() << "version " << c.nVersion << " layer " << c.nLayer);
        EXPECT_EQ(props->m_nVersion, c.nVersion);
        EXPECT_EQ(props->m_nLayer, c.nLayer);
        EXPECT_EQ(props->GetBitrate(), c.nBitrate);
        EXPECT_EQ(props->GetSampleRate(), c.nSampleRate);
        EXPECT_EQ(props->GetLength(), c.nLength);
        EXPECT_EQ(props->GetChannels(), 2);
        EXPECT_TRUE(props->m_bCopyrighted);
        EXPECT_FALSE(props->m_bOriginal);
        EXPECT_EQ(props->m_nEmphasis, 3);
        EXPECT_EQ(props->m_bProtected, frame.m_bProtected);
    }
}

TEST_F(MpegPropertiesTest, MpegOneLayerOneWithoutCrcIsFound)
{
    // FF FF C4 0B: an unprotected MPEG-1 Layer I header starts with two 0xFF bytes.
    FrameSpec frame;
    frame.m_nLayer = 1;
    frame.m_nBitrate = 384;
    frame.m_nSampleRate = 48000;
    ASSERT_EQ(CMp3Builder::Header(frame)[1], 0xFF);
    Write(CMp3Builder().AddFrames(frame, 50));
    const auto props = Measure();
    EXPECT_EQ(props->m_nLayer, 1);
    EXPECT_EQ(props->m_nVersion, 0);
    EXPECT_FALSE(props->m_bProtected);
    EXPECT_EQ(props->GetBitrate(), 384);
    EXPECT_EQ(props->GetSampleRate(), 48000);
}

TEST_F(MpegPropertiesTest, RunOfFFBytesBeforeAFrameIsNoCandidate)
{
    // FF FF FF FB 90: neither of the first two 0xFF bytes starts a header (bit-rate index 15).
    Write(CMp3Builder().AddGarbage({0xFF, 0xFF}).AddFrames(Layer3Frame(), 20));
    const auto props = Measure();
    EXPECT_EQ(props->m_nLayer, 3);
    EXPECT_EQ(props->GetBitrate(), 128);
}

TEST_F(MpegPropertiesTest, MpegTwoVariableBitRateUses576SamplesPerFrame)
{
    FrameSpec frame;
    frame.m_nVersion = CMp3Builder::MPEG2;
    frame.m_nBitrate = 64;
    frame.m_nSampleRate = 22050;
    Write(CMp3Builder().AddXingFrame(frame, Xing(10000, 1234567)).AddFrames(frame, 10));

    const auto props = Measure();
    EXPECT_EQ(props->GetLength(), 261); // 576 / 22050 × 10000 = 261.22
    EXPECT_EQ(props->GetBitrate(), 37); // 1234567 × 8 / 261.22 / 1000 = 37.8
}

TEST_F(MpegPropertiesTest, DoubledSyncByteIsSkipped)
{
    // FF FF FB 90: the first 0xFF is followed by 0xFF and is no candidate.
    Write(CMp3Builder().AddGarbage({0xFF}).AddXingFrame(Layer3Frame(), Xing(11962, 4800000)));

    const auto props = Measure();
    EXPECT_EQ(props->m_nLayer, 3);
    EXPECT_EQ(props->GetLength(), 312); // the Xing header was found relative to the second
    EXPECT_EQ(props->GetBitrate(), 122);
}

TEST_F(MpegPropertiesTest, FreeFormatWithoutXingHasNoLength)
{
    FrameSpec frame = Layer3Frame();
    frame.m_nBitrate = 0;
    frame.m_nFrameLength = 500;
    frame.m_bPadding = TRUE; // the frame unit is then 1, but the bit rate is still 0
    Write(CMp3Builder().AddFrames(frame, 10), 1000000);

    const auto props = Measure();
    EXPECT_EQ(props->GetLength(), 0);
    EXPECT_EQ(props->GetBitrate(), 0);
    EXPECT_EQ(props->GetSampleRate(), 44100);
    EXPECT_EQ(props->GetChannels(), 2);
    EXPECT_EQ(props->m_nLayer, 3);
}

TEST_F(MpegPropertiesTest, FreeFormatWithXingHasLength)
{
    FrameSpec frame = Layer3Frame();
    frame.m_nBitrate = 0;
    frame.m_nFrameLength = 500;
    Write(CMp3Builder().AddXingFrame(frame, Xing(11962, 4800000)).AddFrames(frame, 10));

    const auto props = Measure();
    EXPECT_EQ(props->GetLength(), 312);
    EXPECT_EQ(props->GetBitrate(), 122);
}

TEST_F(MpegPropertiesTest, EmptyOrReversedRangeGivesZeros)
{
    Write(CMp3Builder().AddFrames(Layer3Frame(), 20));
    ExpectAllZero(*Measure(0, 0));
    ExpectAllZero(*Measure(1000, 1000));
    ExpectAllZero(*Measure(1000, 10));
}

TEST_F(MpegPropertiesTest, RangeWithoutCandidateGivesZeros)
{
    WriteBytes(Bytes(5000, 0xFF)); // 0xFF followed by 0xFF is never a candidate
    ExpectAllZero(*Measure());
    WriteBytes({0xFF, 0xFB, 0x90}); // less than a chunk's minimum
    ExpectAllZero(*Measure());
}

TEST_F(MpegPropertiesTest, ClosedFileIsNotRead)
{
    Tags::CFileEx file;
    const CMpegProperties props(file, 0, 1000);
    ExpectAllZero(props);
}

TEST_F(MpegPropertiesTest, ReadAgainStartsFromZero)
{
    Write(CMp3Builder().AddFrames(Layer3Frame(), 20));
    const auto props = Measure();
    ASSERT_EQ(props->GetBitrate(), 128);
    EXPECT_FALSE(props->Read(*m_file, 0, 0));
    ExpectAllZero(*props);
    EXPECT_TRUE(props->Read(*m_file, 0, 1000));
    EXPECT_EQ(props->GetBitrate(), 128);
}

// A header at every position around the first two chunk boundaries, where its bytes are split
// between the carry and the next chunk; the Xing header is found only if the position is right.
TEST_F(MpegPropertiesTest, HeaderStraddlingChunkBoundaries)
{
    for (const std::size_t nAt :
         {1019u, 1020u, 1021u, 1022u, 1023u, 1024u, 2043u, 2045u, 2047u, 2048u, 3000u})
    {
        const auto layout = Write(CMp3Builder()
                                      .AddGarbage(Bytes(nAt, 0x00))
                                      .AddXingFrame(Layer3Frame(), Xing(11962, 4800000))
                                      .AddFrames(Layer3Frame(), 3));
        ASSERT_EQ(layout.m_nFirstFrame, nAt);

        const auto props = Measure();
        EXPECT_EQ(props->GetLength(), 312) << "header at " << nAt;
        EXPECT_EQ(props->GetBitrate(), 122) << "header at " << nAt;
    }
}

TEST_F(MpegPropertiesTest, StartOffsetIsHonouredAcrossChunks)
{
    // With the range starting mid-file the chunks are counted from the start of the range.
    const auto layout = Write(CMp3Builder()
                                  .AddGarbage(Bytes(3333, 0x00))
                                  .AddXingFrame(Layer3Frame(), Xing(11962, 4800000))
                                  .AddFrames(Layer3Frame(), 3));
    for (const UINT nStart : {0u, 1u, 1000u, 2309u, 2310u, 3333u})
    {
        const auto props = Measure(nStart, static_cast<UINT>(layout.m_nFileSize));
        EXPECT_EQ(props->GetLength(), 312) << "start " << nStart;
    }
    // A start past the Xing frame's first byte finds the next frame, which has no Xing header.
    const auto props = Measure(3334, static_cast<UINT>(layout.m_nFileSize));
    EXPECT_EQ(props->GetBitrate(), 128);
    EXPECT_EQ(props->GetLength(), 0);
}

TEST_F(MpegPropertiesTest, InvalidFirstCandidateReportsOnlyVersionLayerAndProtection)
{
    // FF E2 0C 00: MPEG-2.5, Layer III, protected, reserved sample rate. A valid frame follows,
    // but only the first candidate counts.
    FrameSpec bad;
    bad.m_nVersion = CMp3Builder::MPEG25;
    bad.m_nSampleRateIndex = 3;
    bad.m_bProtected = TRUE;
    bad.m_nChannelMode = CMp3Builder::MONO;
    bad.m_bCopyrighted = TRUE;
    bad.m_bOriginal = TRUE;
    bad.m_nEmphasis = 1;
    bad.m_nFrameLength = 200;
    Write(CMp3Builder().AddFrames(bad, 1).AddFrames(Layer3Frame(), 20), 5000000);

    const auto props = Measure();
    EXPECT_EQ(props->m_nVersion, 2);
    EXPECT_EQ(props->m_nLayer, 3);
    EXPECT_TRUE(props->m_bProtected);
    EXPECT_EQ(props->GetLength(), 0);
    EXPECT_EQ(props->GetBitrate(), 0);
    EXPECT_EQ(props->GetSampleRate(), 0);
    EXPECT_EQ(props->GetChannels(), 0);
    EXPECT_EQ(props->m_nChannelMode, 0);
    EXPECT_EQ(props->m_nEmphasis, 0);
    EXPECT_FALSE(props->m_bCopyrighted);
    EXPECT_FALSE(props->m_bOriginal);
}

TEST_F(MpegPropertiesTest, NothingPastTheRangeEndIsRead)
{
    // The range ends one byte into a header: its sync byte is not a candidate.
    Write(CMp3Builder().AddGarbage(Bytes(100, 0x00)).AddFrames(Layer3Frame(), 5));
    ExpectAllZero(*Measure(0, 101));
    // A header ending one byte before the range's end is found.
    EXPECT_EQ(Measure(0, 105)->GetBitrate(), 128);

    // A Xing header that would run past the end of the range (into the ID3v1 block) is not
    // used: the length comes from the range.
    const std::array<BYTE, 4> raw = CMp3Builder::Header(Layer3Frame());
    const Bytes header(raw.begin(), raw.end());
    Bytes xing = Fixtures::BytesOf("Xing");
    xing.insert(xing.end(), {0, 0, 0, 3, 0, 0, 0x2E, 0xBA, 0, 0x49, 0x3E, 0x00});
    const Bytes file = Fixtures::Concat({header, Bytes(32, 0x00), xing});
    for (UINT nEnd = 36; nEnd < file.size(); ++nEnd)
    {
        WriteBytes(file);
        const auto props = Measure(0, nEnd);
        EXPECT_EQ(props->GetBitrate(), 128) << "end " << nEnd;
        EXPECT_EQ(props->GetLength(), static_cast<int>(CbrLength(208, nEnd, 128)));
    }
    WriteBytes(file);
    EXPECT_EQ(Measure(0, static_cast<UINT>(file.size()))->GetLength(), 312);
}

TEST_F(MpegPropertiesTest, RangeEndBeyondFileLength)
{
    // The range may promise more than the file holds: the search stops at the end of the file.
    WriteBytes(Bytes(2000, 0x00));
    ExpectAllZero(*Measure(0, 100000));
    Write(CMp3Builder().AddGarbage(Bytes(1500, 0x00)).AddFrames(Layer3Frame(), 1));
    EXPECT_EQ(Measure(0, 5000000)->GetLength(), 312);
}

TEST_F(MpegPropertiesTest, RangesOfMoreThanTwoGibibytes)
{
    // Sparse files: only the first frame takes disk space.
    for (const ULONGLONG nSize : {3ull << 30, 0xFFFFFFFFull})
    {
        Write(CMp3Builder().AddFrames(Layer3Frame(), 1), nSize);
        const auto props = Measure(0, static_cast<UINT>(nSize));
        EXPECT_EQ(props->GetLength(), static_cast<int>(CbrLength(208, nSize, 128)));
        EXPECT_EQ(props->GetBitrate(), 128);
    }
    // The formula's product passes 32 bits here.
    EXPECT_EQ(CbrLength(208, 0xFFFFFFFFull, 128), 268435u);
    EXPECT_EQ(CbrLength(208, 3ull << 30, 128), 201326u);
}

} // namespace
