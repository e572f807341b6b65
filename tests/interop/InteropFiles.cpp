#include "interop/InteropFiles.h"

#include "interop/PeerProcess.h"

#include "tags/file/MpegFile.h"

#include "fixtures/Mp3Builder.h"

#include <gtest/gtest.h>

using namespace Fixtures;

namespace Interop
{

namespace
{

// A tone long enough for a few hundred frames, written as 16-bit WAV.
bool MakeWave(const std::filesystem::path& wave, int nSampleRate, int nChannels, int nTenths)
{
    const std::string seconds = std::to_string(nTenths / 10) + "." + std::to_string(nTenths % 10);
    return RunPeer({"sox", "-n", "-r", std::to_string(nSampleRate), "-c", std::to_string(nChannels),
                    "-b", "16", wave.string(), "synth", seconds, "sine", "440", "sine", "660"},
                   wave.parent_path() / "home");
}

} // namespace

Bytes FixtureAudio()
{
    CMp3Builder b;
    b.SetPayload(CMp3Builder::Payload::Pattern, 11);
    b.AddFrames(CMp3Builder::FrameSpec(), 40);
    return b.Build();
}

std::filesystem::path MakeLameFile(const std::filesystem::path& dir, const std::string& name,
                                   int nSampleRate, int nChannels, int nTenths,
                                   const std::vector<std::string>& lameOptions)
{
    const std::filesystem::path wave = dir / (name + ".wav");
    const std::filesystem::path mp3 = dir / name;
    if (!MakeWave(wave, nSampleRate, nChannels, nTenths))
        return {};
    std::vector<std::string> args = {"lame", "--silent"};
    args.insert(args.end(), lameOptions.begin(), lameOptions.end());
    args.push_back(wave.string());
    args.push_back(mp3.string());
    if (!RunPeer(args, dir / "home"))
        return {};
    std::filesystem::remove(wave);
    return mp3;
}

std::filesystem::path MakeFfmpegFile(const std::filesystem::path& dir, const std::string& name,
                                     int nSampleRate, int nChannels, int nTenths,
                                     const std::vector<std::string>& ffmpegOptions)
{
    const std::filesystem::path wave = dir / (name + ".wav");
    const std::filesystem::path out = dir / name;
    if (!MakeWave(wave, nSampleRate, nChannels, nTenths))
        return {};
    std::vector<std::string> args = {"ffmpeg", "-nostdin", "-v",         "error",
                                     "-y",     "-i",       wave.string()};
    args.insert(args.end(), ffmpegOptions.begin(), ffmpegOptions.end());
    args.push_back(out.string());
    if (!RunPeer(args, dir / "home"))
        return {};
    std::filesystem::remove(wave);
    return out;
}

Bytes ContainerAudio(const std::filesystem::path& path)
{
    size_t nStart = 0;
    size_t nEnd = 0;
    {
        Tags::CMpegFile file(ToCString(path), FALSE);
        EXPECT_NE(file.m_hFile, INVALID_HANDLE_VALUE) << path;
        if (file.m_hFile == INVALID_HANDLE_VALUE)
            return {};
        nStart = file.HasID3v2() ? file.GetID3v2Size() : 0;
        nEnd = static_cast<size_t>(file.GetLength()) - (file.HasID3v1() ? 128 : 0);
    }
    if (nEnd < nStart)
        return {};
    return ReadFileRange(path, nStart, nEnd - nStart);
}

bool RunPeer(const std::vector<std::string>& args, const std::filesystem::path& home)
{
    const tagPROCESSRESULT result = RunProcess(args, PeerEnvironment(home));
    EXPECT_EQ(result.nExitCode, 0) << Describe(args, result);
    return result.nExitCode == 0;
}

const std::vector<BYTE>& TestPng()
{
    static const std::vector<BYTE> png = {
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44,
        0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x02, 0x00, 0x00, 0x00, 0xFD,
        0xD4, 0x9A, 0x73, 0x00, 0x00, 0x00, 0x10, 0x49, 0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0xF8,
        0xCF, 0x00, 0x04, 0xFF, 0x19, 0x20, 0x14, 0x00, 0x1B, 0xF2, 0x03, 0xFD, 0x3E, 0x97, 0x5D,
        0xA4, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
    return png;
}

} // namespace Interop
