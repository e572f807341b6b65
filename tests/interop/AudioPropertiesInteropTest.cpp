// Audio properties of files made by lame and ffmpeg: the library's values are those the
// measuring rules give for the file's bytes (first frame header, Xing/Info counts, size of the
// audio range), computed here on their own, and the length is within a second of ffprobe's.

#include "interop/InteropFiles.h"
#include "interop/PeerProcess.h"

#include "tags/file/MpegFile.h"
#include "tags/mpeg/MpegProperties.h"

#include "fixtures/Mp3Builder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <ostream>

using namespace Tags;
using namespace Fixtures;
using namespace Interop;

namespace
{

struct tagAUDIOFACTS
{
    int nLength = 0;
    int nBitrate = 0;
    int nSampleRate = 0;
    int nChannels = 0;
    int nVersion = 0;
    int nLayer = 0;
    int nChannelMode = 0;
    int nEmphasis = 0;
    bool bProtected = false;
    bool bCopyrighted = false;
    bool bOriginal = false;
    bool bXing = false; // not a property: whether the length came from a Xing/Info header
    bool operator==(const tagAUDIOFACTS& o) const
    {
        return nLength == o.nLength && nBitrate == o.nBitrate && nSampleRate == o.nSampleRate &&
               nChannels == o.nChannels && nVersion == o.nVersion && nLayer == o.nLayer &&
               nChannelMode == o.nChannelMode && nEmphasis == o.nEmphasis &&
               bProtected == o.bProtected && bCopyrighted == o.bCopyrighted &&
               bOriginal == o.bOriginal;
    }
};

std::ostream& operator<<(std::ostream& out, const tagAUDIOFACTS& f)
{
    return out << "{length " << f.nLength << ", bitrate " << f.nBitrate << ", rate "
               << f.nSampleRate << ", channels " << f.nChannels << ", version " << f.nVersion
               << ", layer " << f.nLayer << ", mode " << f.nChannelMode << ", emphasis "
               << f.nEmphasis << ", protected " << f.bProtected << ", copyrighted "
               << f.bCopyrighted << ", original " << f.bOriginal << "}";
}

UINT BigEndian32(const BYTE* p)
{
    return (UINT{p[0]} << 24) | (UINT{p[1]} << 16) | (UINT{p[2]} << 8) | UINT{p[3]};
}

// The measuring rules, from the bytes alone: the first byte pair FF, (not FF, top three bits
// set) in the audio range is the header; a Xing/Info header with frame and byte counts at the
// version's offset gives the variable-bit-rate figures, otherwise the range's size and the
// header's bit rate give them.
tagAUDIOFACTS ExpectedFacts(const Bytes& file)
{
    static const int kBitrates[6][16] = {
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}};
    static const int kSampleRates[3][4] = {
        {44100, 48000, 32000, 0}, {22050, 24000, 16000, 0}, {11025, 12000, 8000, 0}};

    tagAUDIOFACTS f;
    const auto [nStart, nEnd] = CMp3Builder::AudioRange(file);
    size_t nHeader = nStart;
    while (nHeader + 1 < nEnd && !(file[nHeader] == 0xFF && file[nHeader + 1] != 0xFF &&
                                   (file[nHeader + 1] & 0xE0) == 0xE0))
        ++nHeader;
    if (nHeader + 4 > nEnd)
        return f;
    const BYTE* h = &file[nHeader];
    const int nVersionBits = (h[1] >> 3) & 3;
    f.nVersion = nVersionBits == 3 ? 0 : nVersionBits == 2 ? 1 : nVersionBits == 0 ? 2 : 0;
    const int nLayerBits = (h[1] >> 1) & 3;
    f.nLayer = nLayerBits == 0 ? 0 : 4 - nLayerBits;
    f.bProtected = (h[1] & 1) == 0;
    const int nL = f.nLayer == 2 ? 1 : f.nLayer == 3 ? 2 : 0;
    const int nHeaderBitrate = kBitrates[nL + (f.nVersion != 0 ? 3 : 0)][h[2] >> 4];
    f.nSampleRate = kSampleRates[f.nVersion][(h[2] >> 2) & 3];
    const int nPadding = (h[2] >> 1) & 1;
    f.nChannelMode = h[3] >> 6;
    f.bCopyrighted = (h[3] & 8) != 0;
    f.bOriginal = (h[3] & 4) != 0;
    f.nEmphasis = h[3] & 3;
    f.nChannels = f.nChannelMode == 3 ? 1 : 2;
    const int nUnit = nHeaderBitrate * (f.nLayer == 1 ? 48000 : 72000) / f.nSampleRate + nPadding;
    const int nSamples = f.nLayer == 1 ? 384 : f.nLayer == 2 ? 1152 : f.nVersion == 0 ? 1152 : 576;

    const bool bMono = f.nChannelMode == 3;
    const size_t nXing = nHeader + (f.nVersion == 0 ? (bMono ? 21 : 36) : (bMono ? 13 : 21));
    UINT nFrames = 0;
    UINT nBytes = 0;
    if (nXing + 16 <= file.size() &&
        (std::memcmp(&file[nXing], "Xing", 4) == 0 || std::memcmp(&file[nXing], "Info", 4) == 0) &&
        (file[nXing + 7] & 3) == 3)
    {
        nFrames = BigEndian32(&file[nXing + 8]);
        nBytes = BigEndian32(&file[nXing + 12]);
    }
    if (nFrames != 0 && nBytes != 0)
    {
        f.bXing = true;
        const double dDuration = static_cast<double>(nSamples) / f.nSampleRate * nFrames;
        f.nLength = static_cast<int>(dDuration);
        f.nBitrate = f.nLength > 0 ? static_cast<int>(nBytes * 8.0 / dDuration / 1000) : 0;
    }
    else if (nUnit > 0 && nHeaderBitrate > 0)
    {
        const unsigned long long nRange = nEnd - nStart;
        f.nLength = static_cast<int>(nUnit * (nRange / nUnit + 1) / (nHeaderBitrate * 125ULL));
        f.nBitrate = nHeaderBitrate;
    }
    return f;
}

tagAUDIOFACTS LibraryFacts(const std::filesystem::path& path)
{
    tagAUDIOFACTS f;
    CMpegFile file(ToCString(path), TRUE);
    EXPECT_NE(file.m_hFile, INVALID_HANDLE_VALUE);
    auto* p = dynamic_cast<CMpegProperties*>(file.GetAudioProperties());
    EXPECT_NE(p, nullptr);
    if (p == nullptr)
        return f;
    f.nLength = p->GetLength();
    f.nBitrate = p->GetBitrate();
    f.nSampleRate = p->GetSampleRate();
    f.nChannels = p->GetChannels();
    f.nVersion = p->m_nVersion;
    f.nLayer = p->m_nLayer;
    f.nChannelMode = p->m_nChannelMode;
    f.nEmphasis = p->m_nEmphasis;
    f.bProtected = p->m_bProtected;
    f.bCopyrighted = p->m_bCopyrighted;
    f.bOriginal = p->m_bOriginal;
    return f;
}

struct tagAUDIOCASE
{
    const char* szName;
    bool bFfmpeg; // encoded by ffmpeg, else by lame
    int nSampleRate;
    int nChannels;
    std::vector<std::string> options;
    // What the file must be, so that the case tests what it says.
    int nVersion;
    int nLayer;
    bool bXing;
};

void PrintTo(const tagAUDIOCASE& c, std::ostream* pOut)
{
    *pOut << c.szName;
}

class AudioPropertiesInteropTest : public ::testing::TestWithParam<tagAUDIOCASE>
{
protected:
    CTempDir m_dir;
};

TEST_P(AudioPropertiesInteropTest, MatchesTheRulesAndFfprobe)
{
    const tagAUDIOCASE& c = GetParam();
    const std::string name = std::string(c.szName) + (c.nLayer == 2 ? ".mp2" : ".mp3");
    // 3.5 seconds: the truncated length (3) and ffprobe's stay within a second either way.
    const std::filesystem::path path =
        c.bFfmpeg ? MakeFfmpegFile(m_dir.GetPath(), name, c.nSampleRate, c.nChannels, 35, c.options)
                  : MakeLameFile(m_dir.GetPath(), name, c.nSampleRate, c.nChannels, 35, c.options);
    ASSERT_FALSE(path.empty());

    const tagAUDIOFACTS expected = ExpectedFacts(ReadFileBytes(path));
    EXPECT_EQ(expected.nVersion, c.nVersion);
    EXPECT_EQ(expected.nLayer, c.nLayer);
    EXPECT_EQ(expected.nSampleRate, c.nSampleRate);
    EXPECT_EQ(expected.nChannels, c.nChannels);
    EXPECT_EQ(expected.bXing, c.bXing);

    const tagAUDIOFACTS actual = LibraryFacts(path);
    EXPECT_EQ(actual, expected);

    const std::vector<std::string> args = {"ffprobe",
                                           "-v",
                                           "error",
                                           "-show_entries",
                                           "format=duration:stream=sample_rate,channels,codec_name",
                                           "-of",
                                           "default=nw=1",
                                           path.string()};
    const tagPROCESSRESULT result = RunProcess(args, PeerEnvironment(m_dir.PathOf("home")));
    ASSERT_EQ(result.nExitCode, 0) << Describe(args, result);
    std::map<std::string, std::string> probe;
    size_t nStart = 0;
    while (nStart < result.strOut.size())
    {
        const size_t nEnd = result.strOut.find('\n', nStart);
        const std::string line = result.strOut.substr(nStart, nEnd - nStart);
        const size_t nEq = line.find('=');
        if (nEq != std::string::npos)
            probe[line.substr(0, nEq)] = line.substr(nEq + 1);
        nStart = nEnd == std::string::npos ? result.strOut.size() : nEnd + 1;
    }
    ASSERT_TRUE(probe.count("duration")) << result.strOut;
    const double dDuration = std::stod(probe["duration"]);
    EXPECT_LT(std::fabs(actual.nLength - dDuration), 1.0) << "ffprobe: " << dDuration;
    EXPECT_EQ(probe["codec_name"], c.nLayer == 2 ? "mp2" : "mp3");
    EXPECT_EQ(probe["sample_rate"], std::to_string(actual.nSampleRate));
    EXPECT_EQ(probe["channels"], std::to_string(actual.nChannels));
}

INSTANTIATE_TEST_SUITE_P(
    Encoders, AudioPropertiesInteropTest,
    ::testing::Values(
        // lame writes an Info header into constant-bit-rate files.
        tagAUDIOCASE{"LameCbr", false, 44100, 2, {"-b", "128"}, 0, 3, true},
        tagAUDIOCASE{"LameCbrWithoutInfo", false, 44100, 2, {"-b", "160", "-t"}, 0, 3, false},
        tagAUDIOCASE{"LameVbr", false, 44100, 2, {"-V", "4"}, 0, 3, true},
        // Copyright bit, no original bit, CCITT J.17 emphasis.
        tagAUDIOCASE{"LameFlags",
                     false,
                     48000,
                     2,
                     {"-b", "112", "--resample", "48", "-c", "-o", "-e", "c"},
                     0,
                     3,
                     true},
        tagAUDIOCASE{"LameMono", false, 44100, 1, {"-m", "m", "-b", "64"}, 0, 3, true},
        tagAUDIOCASE{"LameMonoVbr48k", false, 48000, 1, {"-V", "2"}, 0, 3, true},
        tagAUDIOCASE{"LameMpeg2", false, 22050, 2, {"-b", "64"}, 1, 3, true},
        tagAUDIOCASE{"LameMpeg2MonoVbr", false, 16000, 1, {"-V", "5"}, 1, 3, true},
        tagAUDIOCASE{"LameMpeg25", false, 11025, 2, {"-V", "6"}, 2, 3, true},
        tagAUDIOCASE{"LameMpeg25Mono8k", false, 8000, 1, {"-b", "16"}, 2, 3, false},
        // Protected frames: lame still puts the Info header where it would be without the CRC.
        tagAUDIOCASE{"LameCbrWithCrc", false, 32000, 2, {"-b", "96", "-p"}, 0, 3, true},
        // ffmpeg puts an ID3v2.4 tag in front and a Xing header in the first frame.
        tagAUDIOCASE{
            "FfmpegLameVbr", true, 44100, 2, {"-c:a", "libmp3lame", "-q:a", "4"}, 0, 3, true},
        tagAUDIOCASE{"FfmpegLayer2", true, 44100, 2, {"-c:a", "mp2", "-b:a", "192k"}, 0, 2, false},
        tagAUDIOCASE{
            "FfmpegLayer2Mpeg2Mono", true, 22050, 1, {"-c:a", "mp2", "-b:a", "64k"}, 1, 2, false}),
    [](const ::testing::TestParamInfo<tagAUDIOCASE>& p) { return std::string(p.param.szName); });

} // namespace
