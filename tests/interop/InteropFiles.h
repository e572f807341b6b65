// Shared pieces of the interop tests: audio to tag (from the fixtures, or encoded by lame or
// ffmpeg), the audio range as the container sees it, running a peer, and the picture to attach.
#pragma once

#include "base/Types.h"

#include "fixtures/FileBytes.h"
#include "fixtures/TempDir.h"

#include <filesystem>
#include <string>
#include <vector>

namespace Interop
{

// 40 MPEG-1 Layer III frames with a patterned payload, so that moved or damaged audio shows.
Fixtures::Bytes FixtureAudio();

// Makes audio with sox and lame in the folder: nSeconds (tenths) of a tone at the sample rate
// and channel count, encoded with the lame options given. Adds a test failure and returns an
// empty path when a tool fails.
std::filesystem::path MakeLameFile(const std::filesystem::path& dir, const std::string& name,
                                   int nSampleRate, int nChannels, int nTenths,
                                   const std::vector<std::string>& lameOptions);
// The same with ffmpeg encoding the sox output (for example "-c:a mp2").
std::filesystem::path MakeFfmpegFile(const std::filesystem::path& dir, const std::string& name,
                                     int nSampleRate, int nChannels, int nTenths,
                                     const std::vector<std::string>& ffmpegOptions);

// The audio range of a file as the container sees it (after the ID3v2 tag, before the ID3v1
// block), read through its own CMpegFile.
Fixtures::Bytes ContainerAudio(const std::filesystem::path& path);

// Runs a peer tool with its arguments and the peer environment in home; adds a test failure
// when it does not exit with 0.
bool RunPeer(const std::vector<std::string>& args, const std::filesystem::path& home);

// The picture the tests attach: a valid 2x2 PNG.
const std::vector<BYTE>& TestPng();

} // namespace Interop
