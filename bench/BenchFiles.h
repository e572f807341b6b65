// The benchmarks' folders of tagged MP3 files: ID3v2.3 with the usual text frames, a comment and
// an 8 KB front cover, 40 frames of MPEG-1 Layer III audio behind a Xing header, and ID3v1.
#pragma once

#include "base/String.h"
#include "base/Types.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace Bench
{

using Clock = std::chrono::steady_clock;

// A new folder under the temporary directory, removed with its contents at the end.
class CBenchFolder
{
public:
    CBenchFolder();
    ~CBenchFolder();
    CBenchFolder(const CBenchFolder&) = delete;
    CBenchFolder& operator=(const CBenchFolder&) = delete;

    const std::filesystem::path& GetPath() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// The name of file nIndex: "track00042.mp3".
std::string TrackName(int nIndex);

// The padding the generated tags end with unless asked otherwise: what a new tag gets.
inline constexpr UINT DEFAULT_PADDING = 1024;

// Writes nFiles distinct files into the folder, each ID3v2 tag ending with nPadding zero bytes
// (at least 1); exits the program when it cannot.
void WriteTrackFiles(const std::filesystem::path& folder, int nFiles,
                     UINT nPadding = DEFAULT_PADDING);

// Fills the folder with nNames names that are hard links to the nSourceFiles files of source in
// turn: a folder of 100,000 entries that costs the disk no more than its distinct files.
void LinkTrackFiles(const std::filesystem::path& source, int nSourceFiles,
                    const std::filesystem::path& folder, int nNames);

// The files' paths as the file layer takes them.
std::vector<CString> TrackPaths(const std::filesystem::path& folder, int nFiles);

// What a reader produced per file, so that no reader can skip its work.
struct tagSUM
{
    size_t nText = 0;
    long long nNumbers = 0;
};

// Reads every path into a file record, as the file list does; exits when one does not load.
void LoadRecords(const std::vector<CString>& paths, tagSUM& sum);

// Microseconds per item of one call of work over nItems items.
template <typename F> double MicrosecondsPerItem(F&& work, size_t nItems)
{
    const auto start = Clock::now();
    work();
    const auto elapsed = std::chrono::duration<double, std::micro>(Clock::now() - start);
    return elapsed.count() / static_cast<double>(nItems);
}

} // namespace Bench
