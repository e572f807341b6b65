// Checks of the test fixtures themselves: the files every other suite builds must be what they
// claim to be.
#include "fixtures/Mp3Builder.h"
#include "fixtures/FileBytes.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

using namespace Fixtures;
using Frame = CMp3Builder::FrameSpec;

namespace
{

Frame MakeFrame(int nVersion, int nLayer, int nBitrate, int nSampleRate, int nMode = 0)
{
    Frame frame;
    frame.m_nVersion = nVersion;
    frame.m_nLayer = nLayer;
    frame.m_nBitrate = nBitrate;
    frame.m_nSampleRate = nSampleRate;
    frame.m_nChannelMode = nMode;
    return frame;
}

std::string Hex(const Bytes& bytes)
{
    std::string str;
    char sz[4];
    for (BYTE b : bytes)
    {
        std::snprintf(sz, sizeof(sz), "%02X ", b);
        str += sz;
    }
    if (!str.empty())
    {
        str.pop_back();
    }
    return str;
}

std::string Hex(const std::array<BYTE, 4>& header)
{
    return Hex(Bytes(header.begin(), header.end()));
}

UINT BigEndian32(const Bytes& bytes, size_t nOffset)
{
    return (UINT(bytes[nOffset]) << 24) | (UINT(bytes[nOffset + 1]) << 16) |
           (UINT(bytes[nOffset + 2]) << 8) | UINT(bytes[nOffset + 3]);
}

} // namespace

TEST(Mp3BuilderTest, HeadersOfKnownStreams)
{
    Frame common;
    common.m_nModeExtension = 2;
    common.m_bOriginal = TRUE;
    EXPECT_EQ(Hex(CMp3Builder::Header(common)), "FF FB 90 64");
    EXPECT_EQ(Hex(CMp3Builder::Header(Frame())), "FF FB 90 40");

    EXPECT_EQ(Hex(CMp3Builder::Header(MakeFrame(CMp3Builder::MPEG2, 3, 64, 22050, 3))),
              "FF F3 80 C0");
    EXPECT_EQ(Hex(CMp3Builder::Header(MakeFrame(CMp3Builder::MPEG25, 3, 8, 8000, 3))),
              "FF E3 18 C0");
    Frame layer2 = MakeFrame(CMp3Builder::MPEG1, 2, 192, 48000);
    layer2.m_bProtected = TRUE;
    EXPECT_EQ(Hex(CMp3Builder::Header(layer2)), "FF FC A4 00");
    Frame layer1 = MakeFrame(CMp3Builder::MPEG1, 1, 448, 32000, CMp3Builder::DUAL_CHANNEL);
    layer1.m_bPadding = TRUE;
    layer1.m_bPrivate = TRUE;
    layer1.m_bCopyrighted = TRUE;
    layer1.m_nEmphasis = 3;
    EXPECT_EQ(Hex(CMp3Builder::Header(layer1)), "FF FF EB 8B");

    // Raw fields for damaged headers.
    Frame raw;
    raw.m_nVersionBits = 1;
    raw.m_nLayerBits = 0;
    raw.m_nBitrateIndex = 15;
    raw.m_nSampleRateIndex = 3;
    EXPECT_EQ(Hex(CMp3Builder::Header(raw)), "FF E9 FC 40");

    EXPECT_THROW(CMp3Builder::Header(MakeFrame(CMp3Builder::MPEG1, 3, 8, 44100)),
                 std::invalid_argument);
    EXPECT_THROW(CMp3Builder::Header(MakeFrame(CMp3Builder::MPEG2, 3, 128, 44100)),
                 std::invalid_argument);
}

TEST(Mp3BuilderTest, FrameLengthsFollowTheStandardFormulas)
{
    struct Case
    {
        int nVersion, nLayer, nBitrate, nRate;
        bool bPadding;
        UINT nLength;
    };
    const Case cases[] = {
        {CMp3Builder::MPEG1, 1, 384, 48000, false, 384},
        {CMp3Builder::MPEG1, 1, 384, 48000, true, 388},
        {CMp3Builder::MPEG1, 1, 32, 44100, false, 32},
        {CMp3Builder::MPEG1, 2, 192, 48000, false, 576},
        {CMp3Builder::MPEG1, 2, 128, 44100, true, 418},
        {CMp3Builder::MPEG1, 3, 128, 44100, false, 417},
        {CMp3Builder::MPEG1, 3, 320, 32000, false, 1440},
        {CMp3Builder::MPEG1, 3, 32, 44100, false, 104},
        {CMp3Builder::MPEG2, 1, 256, 16000, false, 768},
        {CMp3Builder::MPEG2, 2, 160, 24000, false, 960},
        {CMp3Builder::MPEG2, 3, 64, 22050, false, 208},
        {CMp3Builder::MPEG2, 3, 64, 22050, true, 209},
        {CMp3Builder::MPEG2, 3, 8, 16000, false, 36},
        {CMp3Builder::MPEG25, 3, 8, 8000, false, 72},
        {CMp3Builder::MPEG25, 3, 160, 12000, false, 960},
    };
    for (const Case& c : cases)
    {
        Frame frame = MakeFrame(c.nVersion, c.nLayer, c.nBitrate, c.nRate);
        frame.m_bPadding = c.bPadding;
        EXPECT_EQ(CMp3Builder::FrameLength(frame), c.nLength)
            << c.nVersion << " " << c.nLayer << " " << c.nBitrate << " " << c.nRate;
    }
    EXPECT_EQ(CMp3Builder::SamplesPerFrame(CMp3Builder::MPEG1, 1), 384u);
    EXPECT_EQ(CMp3Builder::SamplesPerFrame(CMp3Builder::MPEG2, 2), 1152u);
    EXPECT_EQ(CMp3Builder::SamplesPerFrame(CMp3Builder::MPEG1, 3), 1152u);
    EXPECT_EQ(CMp3Builder::SamplesPerFrame(CMp3Builder::MPEG25, 3), 576u);

    Frame free = Frame();
    free.m_nBitrate = 0;
    free.m_nBitrateIndex = 0;
    EXPECT_THROW(CMp3Builder::FrameLength(free), std::invalid_argument);
    free.m_nFrameLength = 500;
    EXPECT_EQ(CMp3Builder::FrameLength(free), 500u);
}

TEST(Mp3BuilderTest, PartsLieBackToBackAndTheLayoutSaysWhere)
{
    Frame padded;
    padded.m_bPadding = TRUE;
    const Bytes id3v2 = CMp3Builder::Id3v2Tag(3, 100);
    CMp3Builder::Layout layout;
    const Bytes file = CMp3Builder()
                           .AddId3v2(id3v2)
                           .AddGarbage(Bytes(7, 0x55))
                           .AddFrames(Frame(), 3)
                           .AddFrames(padded, 2)
                           .AddId3v1(CMp3Builder::Id3v1Fields())
                           .Build(&layout);

    EXPECT_EQ(layout.m_nId3v2Size, 110u);
    EXPECT_EQ(layout.m_nAudioStart, 110u);
    EXPECT_EQ(layout.m_nFirstFrame, 117u);
    ASSERT_EQ(layout.m_arrFrameOffsets.size(), 5u);
    EXPECT_EQ(layout.m_nXingFrame, CMp3Builder::npos);
    size_t nOffset = 117;
    for (size_t i = 0; i < 5; ++i)
    {
        const UINT nExpected = i < 3 ? 417 : 418;
        EXPECT_EQ(layout.m_arrFrameOffsets[i], nOffset);
        EXPECT_EQ(layout.m_arrFrameLengths[i], nExpected);
        EXPECT_EQ(file[nOffset], 0xFF);
        EXPECT_EQ(file[nOffset + 1] & 0xE0, 0xE0);
        EXPECT_EQ(file[nOffset + 2], i < 3 ? 0x90 : 0x92);
        nOffset += nExpected;
    }
    EXPECT_EQ(layout.m_nAudioEnd, nOffset);
    EXPECT_EQ(layout.m_nId3v1Offset, nOffset);
    EXPECT_EQ(layout.m_nFileSize, nOffset + 128);
    EXPECT_EQ(file.size(), layout.m_nFileSize);
    EXPECT_EQ(std::memcmp(file.data() + nOffset, "TAG", 3), 0);

    // The independent look at the bytes agrees with the layout.
    const auto range = CMp3Builder::AudioRange(file);
    EXPECT_EQ(range.first, layout.m_nAudioStart);
    EXPECT_EQ(range.second, layout.m_nAudioEnd);
    EXPECT_EQ(CMp3Builder::AudioBytes(file).size(), layout.m_nAudioEnd - layout.m_nAudioStart);
}

TEST(Mp3BuilderTest, XingHeaderSitsAfterTheSideInformation)
{
    struct Case
    {
        int nVersion, nRate, nMode;
        BOOL bCrc;
        size_t nOffset;
    };
    const Case cases[] = {
        {CMp3Builder::MPEG1, 44100, CMp3Builder::JOINT_STEREO, FALSE, 36},
        {CMp3Builder::MPEG1, 44100, CMp3Builder::MONO, FALSE, 21},
        {CMp3Builder::MPEG2, 22050, CMp3Builder::STEREO, FALSE, 21},
        {CMp3Builder::MPEG2, 22050, CMp3Builder::MONO, FALSE, 13},
        {CMp3Builder::MPEG25, 11025, CMp3Builder::DUAL_CHANNEL, FALSE, 21},
        {CMp3Builder::MPEG25, 11025, CMp3Builder::MONO, FALSE, 13},
        // Readers do not allow for a CRC word in front of it, so neither does the default.
        {CMp3Builder::MPEG1, 44100, CMp3Builder::STEREO, TRUE, 36},
        {CMp3Builder::MPEG2, 22050, CMp3Builder::MONO, TRUE, 13},
    };
    for (const Case& c : cases)
    {
        Frame frame = MakeFrame(c.nVersion, 3, 64, c.nRate, c.nMode);
        frame.m_bProtected = c.bCrc;
        CMp3Builder::Layout layout;
        const Bytes file = CMp3Builder()
                               .AddId3v2(CMp3Builder::Id3v2Tag(4, 20))
                               .AddXingFrame(frame)
                               .AddFrames(frame, 9)
                               .Build(&layout);
        ASSERT_EQ(layout.m_nXingFrame, 30u);
        EXPECT_EQ(layout.m_nFirstFrame, 30u);
        EXPECT_EQ(layout.m_nXingOffset, 30 + c.nOffset);
        EXPECT_EQ(CMp3Builder::XingOffset(frame, false), c.nOffset);
        EXPECT_EQ(std::string(file.begin() + 30 + c.nOffset, file.begin() + 34 + c.nOffset),
                  "Xing");
        EXPECT_EQ(BigEndian32(file, 30 + c.nOffset + 4), 15u); // all four fields
        EXPECT_EQ(BigEndian32(file, 30 + c.nOffset + 8), 9u);  // frames after it
        EXPECT_EQ(BigEndian32(file, 30 + c.nOffset + 12), 10 * layout.m_arrFrameLengths[0]);
        EXPECT_EQ(BigEndian32(file, 30 + c.nOffset + 116), 78u); // quality after the TOC
        // The side information in front of it is zero.
        for (size_t i = 4 + (c.bCrc ? 2 : 0); i < c.nOffset; ++i)
        {
            EXPECT_EQ(file[30 + i], 0) << i;
        }
    }

    // Where a strict encoder would put it in a protected frame: after the CRC word.
    Frame protectedSpec;
    protectedSpec.m_bProtected = TRUE;
    CMp3Builder::XingSpec afterCrc;
    afterCrc.m_bAfterCrc = TRUE;
    const Bytes file = CMp3Builder().AddXingFrame(protectedSpec, afterCrc).Build();
    EXPECT_EQ(std::string(file.begin() + 38, file.begin() + 42), "Xing");
    EXPECT_EQ(CMp3Builder::XingOffset(protectedSpec, true), 38u);
}

TEST(Mp3BuilderTest, XingFieldsCanBeLeftOutOrGiven)
{
    CMp3Builder::XingSpec xing;
    xing.m_bInfo = TRUE;
    xing.m_bFramesField = FALSE;
    xing.m_bTocField = FALSE;
    xing.m_nBytes = 4800000;
    CMp3Builder::Layout layout;
    Bytes file = CMp3Builder().AddXingFrame(Frame(), xing).AddFrames(Frame(), 2).Build(&layout);
    EXPECT_EQ(std::string(file.begin() + 36, file.begin() + 40), "Info");
    EXPECT_EQ(BigEndian32(file, 40), 0x0Au);    // bytes and quality
    EXPECT_EQ(BigEndian32(file, 44), 4800000u); // bytes come first when frames are absent
    EXPECT_EQ(BigEndian32(file, 48), 78u);
    EXPECT_EQ(layout.m_arrFrameOffsets.size(), 3u);

    CMp3Builder::XingSpec odd;
    odd.m_nFrames = 11962;
    odd.m_nFlags = 0x01;
    odd.m_nOffset = 21;
    file = CMp3Builder().AddXingFrame(Frame(), odd).Build(&layout);
    EXPECT_EQ(std::string(file.begin() + 21, file.begin() + 25), "Xing");
    EXPECT_EQ(BigEndian32(file, 25), 1u);
    EXPECT_EQ(BigEndian32(file, 29), 11962u);
    EXPECT_EQ(BigEndian32(file, 33), 417u); // this frame alone

    // A frame too small for the header it should carry is refused, not overrun.
    EXPECT_THROW(CMp3Builder().AddXingFrame(MakeFrame(CMp3Builder::MPEG25, 3, 8, 8000)).Build(),
                 std::invalid_argument);
}

TEST(Mp3BuilderTest, PayloadIsZeroOrARepeatablePattern)
{
    Frame protectedSpec;
    protectedSpec.m_bProtected = TRUE;
    CMp3Builder::Layout layout;
    const Bytes zero = CMp3Builder().AddFrames(Frame(), 2).Build(&layout);
    for (size_t i = 4; i < 417; ++i)
    {
        ASSERT_EQ(zero[i], 0) << i;
    }

    const Bytes a =
        CMp3Builder().SetPayload(CMp3Builder::Payload::Pattern, 5).AddFrames(Frame(), 3).Build();
    const Bytes b =
        CMp3Builder().SetPayload(CMp3Builder::Payload::Pattern, 5).AddFrames(Frame(), 3).Build();
    const Bytes c =
        CMp3Builder().SetPayload(CMp3Builder::Payload::Pattern, 6).AddFrames(Frame(), 3).Build();
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(a.size(), 3u * 417);
    // Frames differ from each other, so a moved or duplicated frame shows.
    EXPECT_NE(Bytes(a.begin() + 4, a.begin() + 417), Bytes(a.begin() + 421, a.begin() + 834));
    for (size_t nFrame = 0; nFrame < 3; ++nFrame)
    {
        EXPECT_EQ(Hex(Bytes(a.begin() + nFrame * 417, a.begin() + nFrame * 417 + 4)),
                  "FF FB 90 40");
    }

    // A protected frame carries its CRC word after the header: protection bit clear, word set.
    const Bytes crc = CMp3Builder().AddFrames(protectedSpec, 1).Build();
    EXPECT_EQ(crc[1], 0xFA);
    EXPECT_TRUE(crc[4] != 0 || crc[5] != 0);
}

TEST(Mp3BuilderTest, Id3v1BlockAndId3v2Tag)
{
    CMp3Builder::Id3v1Fields fields;
    fields.m_strTitle = "A title that is longer than thirty bytes";
    fields.m_strArtist = "Artist";
    fields.m_strAlbum = "Album";
    fields.m_strYear = "20011";
    fields.m_strComment = "A comment of thirty bytes, 30!";
    fields.m_nGenre = 12;
    Bytes block = CMp3Builder::Id3v1Block(fields);
    ASSERT_EQ(block.size(), 128u);
    EXPECT_EQ(std::string(block.begin(), block.begin() + 33), "TAGA title that is longer than th");
    EXPECT_EQ(std::string(block.begin() + 33, block.begin() + 40), std::string("Artist\0", 7));
    EXPECT_EQ(std::string(block.begin() + 63, block.begin() + 68), "Album");
    EXPECT_EQ(std::string(block.begin() + 93, block.begin() + 97), "2001");
    EXPECT_EQ(std::string(block.begin() + 97, block.begin() + 127),
              "A comment of thirty bytes, 30!");
    EXPECT_EQ(block[127], 12);

    fields.m_nTrack = 0;
    block = CMp3Builder::Id3v1Block(fields);
    EXPECT_EQ(std::string(block.begin() + 97, block.begin() + 125), "A comment of thirty bytes, 3");
    EXPECT_EQ(block[125], 0);
    EXPECT_EQ(block[126], 0);

    const Bytes tag = CMp3Builder::Id3v2Tag(4, 0x1FF, 0x10, BytesOf("TIT2"));
    ASSERT_EQ(tag.size(), 10u + 0x1FF + 10);
    EXPECT_EQ(Hex(Bytes(tag.begin(), tag.begin() + 14)),
              "49 44 33 04 00 10 00 00 03 7F 54 49 54 32");
    EXPECT_EQ(std::string(tag.end() - 10, tag.end() - 7), "3DI");
    // The footer counts as part of the tag.
    const Bytes file = Concat({tag, Bytes(50, 1)});
    EXPECT_EQ(CMp3Builder::AudioRange(file).first, tag.size());
    EXPECT_EQ(CMp3Builder::AudioRange(file).second, file.size());
}

TEST(Mp3BuilderTest, AudioRangeOfOddFiles)
{
    EXPECT_EQ(CMp3Builder::AudioRange(Bytes()), std::make_pair(size_t(0), size_t(0)));
    // An ID3v2 tag declaring more than the file holds ends the range at the file's end.
    Bytes truncated = CMp3Builder::Id3v2Tag(3, 1000);
    truncated.resize(300);
    EXPECT_EQ(CMp3Builder::AudioRange(truncated), std::make_pair(size_t(300), size_t(300)));
    // A file that is only an ID3v1 block has an empty audio range.
    const Bytes block = CMp3Builder::Id3v1Block(CMp3Builder::Id3v1Fields());
    EXPECT_EQ(CMp3Builder::AudioRange(block), std::make_pair(size_t(0), size_t(0)));
    // "TAG" that is not at 128 from the end is audio.
    const Bytes notATag = Concat({block, Bytes(1, 0)});
    EXPECT_EQ(CMp3Builder::AudioRange(notATag), std::make_pair(size_t(0), size_t(129)));
}

TEST(Mp3BuilderTest, TempDirAndFileHelpers)
{
    std::filesystem::path kept;
    {
        CTempDir dir;
        CTempDir other;
        kept = dir.GetPath();
        EXPECT_NE(dir.GetPath(), other.GetPath());
        EXPECT_TRUE(std::filesystem::is_directory(kept));
        EXPECT_EQ(dir.StrPathOf("a.mp3").ToUtf8(), (kept / "a.mp3").string());

        const Bytes bytes =
            CMp3Builder().SetPayload(CMp3Builder::Payload::Pattern).AddFrames(Frame(), 4).Build();
        WriteFileBytes(dir.PathOf("a.mp3"), bytes);
        EXPECT_EQ(ReadFileBytes(dir.PathOf("a.mp3")), bytes);
        EXPECT_EQ(ReadFileRange(dir.PathOf("a.mp3"), 417, 4),
                  Bytes(bytes.begin() + 417, bytes.begin() + 421));
        EXPECT_EQ(ReadFileRange(dir.PathOf("a.mp3"), bytes.size() - 2, 10).size(), 2u);
        EXPECT_TRUE(ReadFileRange(dir.PathOf("a.mp3"), bytes.size() + 5, 10).empty());
        WriteFileBytes(dir.PathOf("a.mp3"), BytesOf("short"));
        EXPECT_EQ(ReadFileBytes(dir.PathOf("a.mp3")), BytesOf("short"));
        EXPECT_THROW(WriteFileBytes(dir.PathOf("missing/a.mp3"), bytes), std::runtime_error);
        EXPECT_THROW(ReadFileBytes(dir.PathOf("missing.mp3")), std::runtime_error);

#ifndef _WIN32
        // Removed even when a test took away the rights on a folder inside (POSIX modes).
        std::filesystem::create_directory(dir.PathOf("locked"));
        WriteFileBytes(dir.PathOf("locked/f"), bytes);
        ASSERT_EQ(::chmod(dir.PathOf("locked").c_str(), 0500), 0);
#endif
    }
    EXPECT_FALSE(std::filesystem::exists(kept));
}
