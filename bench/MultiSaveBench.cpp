// Multi-file save benchmark: the multi-file editor's write of each file, over a folder of
// tagged MP3 files. A change that fits the tag is measured against TagLib saving the same
// change, a change that makes the tag grow against copying the grown files (flushed, as our
// save is), warm cache, best of several passes, each pair in the same run; then the write
// loop's peak memory over ten times the files.
//
//   multi_bench [files] [passes]

#include "BenchFiles.h"

#include "base/BusyState.h"
#include "base/Path.h"
#include "base/String.h"
#include "browser/DiagnosticMessages.h"
#include "editor/ActionList.h"
#include "editor/FrameKinds.h"
#include "editor/ID3v1Fields.h"
#include "editor/MultiTagWriting.h"
#include "editor/TagWriting.h"
#include "tags/id3v2/frames/PictureFrame.h"
#include "tags/id3v2/frames/TextFrame.h"

#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Bench;
namespace fs = std::filesystem;

namespace
{

// Room for any of the new titles, so that neither side has to move the audio.
constexpr UINT ROOM_PADDING = 2048;
constexpr UINT PICTURE_SIZE = 64 * 1024;

[[noreturn]] void Fail(const char* szWhat, const std::string& strPath)
{
    std::fprintf(stderr, "%s %s\n", szWhat, strPath.c_str());
    std::exit(1);
}

// Texts of one length that differ per pass, so that every pass really writes.
std::string PassText(const char* szWhat, int nPass)
{
    char sz[64];
    std::snprintf(sz, sizeof(sz), "%s of pass %03d", szWhat, nPass);
    return sz;
}

// What the multi-file editor hands to its write when the user set the title and the artist:
// a Set action with a new TIT2 frame, the ID3v1 artist, every other field kept.
void SetTitleAndArtist(CActionList& actions, tagID3V1VALUES& values, int nPass)
{
    auto pFrame = CreateNewFrame("TIT2");
    static_cast<Tags::ID3v2Tag::CTextFrame&>(*pFrame).SetValues(
        {CString::FromUtf8(PassText("New title", nPass))});
    actions.AddAction(ACTION_SET, "TIT2", std::move(pFrame));
    values = GetFieldsToKeep();
    values.strArtist = CString::FromUtf8(PassText("Artist", nPass));
}

void WriteOurs(const std::vector<CString>& paths, const CActionList& actions,
               const tagID3V1VALUES& values)
{
    const tagTAGOPTIONS options; // both tags, ID3v2.3, the default encoding
    for (const CString& strPath : paths)
    {
        if (WriteTagsToFile(strPath, actions, values, options) != FILE_WRITTEN)
            Fail("cannot write", strPath.ToUtf8());
    }
}

void WriteTagLib(const std::vector<std::string>& paths, int nPass)
{
    const TagLib::String title(PassText("New title", nPass), TagLib::String::UTF8);
    const TagLib::String artist(PassText("Artist", nPass), TagLib::String::UTF8);
    for (const std::string& strPath : paths)
    {
        TagLib::MPEG::File file(strPath.c_str(), false);
        if (!file.isValid() || file.readOnly())
            Fail("TagLib cannot open", strPath);
        file.ID3v2Tag(true)->setTitle(title);
        file.ID3v1Tag(true)->setArtist(artist);
        if (!file.save(TagLib::MPEG::File::ID3v1 | TagLib::MPEG::File::ID3v2,
                       TagLib::File::StripNone, TagLib::ID3v2::v3))
            Fail("TagLib cannot save", strPath);
    }
}

std::vector<std::string> NativePaths(const std::vector<CString>& paths)
{
    std::vector<std::string> native;
    for (const CString& strPath : paths)
        native.push_back(Path::ToNative(strPath));
    return native;
}

// Read back by TagLib, the independent reader: an ID3v2.3 tag and an ID3v1 tag.
std::unique_ptr<TagLib::MPEG::File> ReadBack(const std::string& strPath)
{
    auto pFile = std::make_unique<TagLib::MPEG::File>(strPath.c_str(), false);
    if (!pFile->isValid() || !pFile->ID3v2Tag() || !pFile->ID3v1Tag() ||
        pFile->ID3v2Tag()->header()->majorVersion() != 3)
        return nullptr;
    return pFile;
}

bool HasPassTexts(const std::string& strPath, int nPass)
{
    const auto pFile = ReadBack(strPath);
    return pFile && pFile->ID3v2Tag()->title().to8Bit(true) == PassText("New title", nPass) &&
           pFile->ID3v1Tag()->artist().to8Bit(true) == PassText("Artist", nPass);
}

bool HasOnePicture(const std::string& strPath, UINT nSize)
{
    const auto pFile = ReadBack(strPath);
    if (!pFile)
        return false;
    const TagLib::ID3v2::FrameList& pictures = pFile->ID3v2Tag()->frameListMap()["APIC"];
    return pictures.size() == 1 && pictures.front()->size() > nSize;
}

void MeasureInPlace(const fs::path& ours, const fs::path& theirs, int nFiles, int nPasses)
{
    WriteTrackFiles(ours, nFiles, ROOM_PADDING);
    WriteTrackFiles(theirs, nFiles, ROOM_PADDING);
    const std::vector<CString> ourPaths = TrackPaths(ours, nFiles);
    const std::vector<std::string> theirPaths = NativePaths(TrackPaths(theirs, nFiles));

    // Pass 0 warms the cache and lets TagLib settle its padding, which it cuts to its own size
    // on the first save.
    double dBestOurs = 1e300;
    double dBestTagLib = 1e300;
    for (int nPass = 0; nPass <= nPasses; ++nPass)
    {
        CActionList actions;
        tagID3V1VALUES values;
        SetTitleAndArtist(actions, values, nPass);
        const double dOurs =
            MicrosecondsPerItem([&] { WriteOurs(ourPaths, actions, values); }, ourPaths.size());
        const double dTagLib =
            MicrosecondsPerItem([&] { WriteTagLib(theirPaths, nPass); }, theirPaths.size());
        if (nPass == 0)
            continue;
        dBestOurs = std::min(dBestOurs, dOurs);
        dBestTagLib = std::min(dBestTagLib, dTagLib);
        std::printf("in place pass %d: ours %.2f us/file, TagLib %.2f us/file\n", nPass, dOurs,
                    dTagLib);
    }
    std::printf("multi save in place: ours %.2f us/file, TagLib %.2f us/file, ratio %.2f\n",
                dBestOurs, dBestTagLib, dBestOurs / dBestTagLib);
    if (!HasPassTexts(Path::ToNative(ourPaths[0]), nPasses) ||
        !HasPassTexts(theirPaths[0], nPasses))
        std::printf("WARNING: the new title and artist are not in both first files\n");
}

void RunCommand(const std::string& strCommand)
{
    if (std::system(strCommand.c_str()) != 0)
        Fail("command failed:", strCommand);
}

std::string Quoted(const fs::path& path)
{
    return "'" + path.string() + "'";
}

// The busy state of a loop that nobody watches.
class CQuietBusy : public IBusyState
{
public:
    void BeginBusy() override { m_bBusy = TRUE; }
    void EndBusy() override { m_bBusy = FALSE; }
    BOOL IsCancelRequested() override { return FALSE; }
    BOOL IsBusy() const override { return m_bBusy; }
    void SetStatusText(const CString&) override {}

private:
    BOOL m_bBusy = FALSE;
};

// The editor's write loop over the files, as OK runs it.
void WriteLoop(const std::vector<CString>& paths, const CActionList& actions,
               const tagID3V1VALUES& values)
{
    CQuietBusy busy;
    CDiagnosticMessages diag;
    WriteTagsToFiles(paths, actions, values, tagTAGOPTIONS(), busy, &diag);
    if (diag.GetCount() > 0)
        Fail("cannot write", diag.GetMessages().front().ToUtf8());
}

// The plainest crash-safe replacement of each file by its grown bytes: a new file beside it,
// written, flushed and renamed over it, one after the other; then the folder flushed. Unlike a
// copy into an empty folder, this pays what the file system charges for creating a file where
// another was just deleted.
void ReplaceEach(const std::vector<std::string>& targets, const std::vector<std::string>& sources)
{
    std::vector<char> bytes;
    for (size_t i = 0; i < targets.size(); ++i)
    {
        std::ifstream in(sources[i], std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        const std::string strTemp = targets[i] + ".new";
        const int fd = ::open(strTemp.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
        if (fd < 0 ||
            ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
            ::fsync(fd) != 0 || ::close(fd) != 0 ||
            ::rename(strTemp.c_str(), targets[i].c_str()) != 0)
            Fail("cannot replace", targets[i]);
    }
    if (!targets.empty())
    {
        const int fd = ::open(fs::path(targets[0]).parent_path().c_str(), O_RDONLY | O_DIRECTORY);
        if (fd >= 0)
        {
            ::fsync(fd);
            ::close(fd);
        }
    }
}

void MeasureGrowing(const fs::path& root, int nFiles, int nPasses)
{
    const fs::path fresh = root / "fresh";
    const fs::path work = root / "work";
    const fs::path copy = root / "copy";
    fs::create_directory(fresh);
    WriteTrackFiles(fresh, nFiles);
    const std::vector<CString> paths = TrackPaths(work, nFiles);

    std::vector<BYTE> picture(PICTURE_SIZE);
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<BYTE>((i * 37 + 11) & 0xFF);
    auto pFrame = CreateNewFrame("APIC");
    auto& pictureFrame = static_cast<Tags::ID3v2Tag::CPictureFrame&>(*pFrame);
    pictureFrame.m_strMimeType = u"image/jpeg";
    pictureFrame.SetData(picture.data(), PICTURE_SIZE);
    CActionList actions;
    actions.AddAction(ACTION_SET, "APIC", std::move(pFrame));
    const tagID3V1VALUES values = GetFieldsToKeep();

    // Every pass starts from the fresh files, copied and flushed outside the timed part, so that
    // neither side pays for the other's writing. Pass 0 warms the cache and leaves the grown
    // files whose bytes the copies write. Our save flushes each new file before it takes the
    // old one's name, so that a crash never leaves a file half-written: its floor is a copy
    // that is flushed too ("cp" then "sync" of each copy); the bare copy is shown beside it.
    const fs::path grown = root / "grown";
    double dBestOurs = 1e300;
    double dBestCopy = 1e300;
    double dBestSafeCopy = 1e300;
    double dBestReplace = 1e300;
    for (int nPass = 0; nPass <= nPasses; ++nPass)
    {
        fs::remove_all(work);
        fs::remove_all(copy);
        RunCommand("cp -r " + Quoted(fresh) + " " + Quoted(work));
        ::sync();
        const double dOurs =
            MicrosecondsPerItem([&] { WriteLoop(paths, actions, values); }, paths.size());
        ::sync();
        if (nPass == 0)
        {
            RunCommand("cp -r " + Quoted(work) + " " + Quoted(grown));
            ::sync();
            continue;
        }
        const double dCopy = MicrosecondsPerItem(
            [&] { RunCommand("cp -r " + Quoted(grown) + " " + Quoted(copy)); }, paths.size());
        ::sync();
        fs::remove_all(copy);
        ::sync();
        const double dSafeCopy = MicrosecondsPerItem(
            [&] {
                RunCommand("cp -r " + Quoted(grown) + " " + Quoted(copy) + " && sync " +
                           Quoted(copy) + "/*");
            },
            paths.size());
        ::sync();
        // The same replacement of the fresh files, without our library.
        fs::remove_all(work);
        RunCommand("cp -r " + Quoted(fresh) + " " + Quoted(work));
        ::sync();
        const std::vector<std::string> workPaths = NativePaths(paths);
        const std::vector<std::string> grownPaths = NativePaths(TrackPaths(grown, nFiles));
        const double dReplace =
            MicrosecondsPerItem([&] { ReplaceEach(workPaths, grownPaths); }, paths.size());
        ::sync();
        dBestOurs = std::min(dBestOurs, dOurs);
        dBestCopy = std::min(dBestCopy, dCopy);
        dBestSafeCopy = std::min(dBestSafeCopy, dSafeCopy);
        dBestReplace = std::min(dBestReplace, dReplace);
        std::printf("growing pass %d: ours %.2f us/file, cp %.2f us/file, cp and sync %.2f "
                    "us/file, replace each %.2f us/file\n",
                    nPass, dOurs, dCopy, dSafeCopy, dReplace);
    }
    std::printf("multi save growing: ours %.2f us/file, cp and sync %.2f us/file, ratio %.2f "
                "(bare cp %.2f us/file, ratio %.2f; each replaced through a flushed new file "
                "%.2f us/file, ratio %.2f)\n",
                dBestOurs, dBestSafeCopy, dBestOurs / dBestSafeCopy, dBestCopy,
                dBestOurs / dBestCopy, dBestReplace, dBestOurs / dBestReplace);
    if (!HasOnePicture(Path::ToNative(paths[0]), PICTURE_SIZE))
        std::printf("WARNING: the first file did not get the picture\n");
}

long long ReadStatusKB(const char* szField)
{
    std::ifstream status("/proc/self/status");
    std::string strLine;
    const size_t nField = std::strlen(szField);
    while (std::getline(status, strLine))
    {
        if (strLine.compare(0, nField, szField) == 0 && strLine.size() > nField &&
            strLine[nField] == ':')
            return std::atoll(strLine.c_str() + nField + 1);
    }
    return -1;
}

// The peak resident memory the write loop adds over the files, in a child of its own so that
// no earlier run's peak counts; -1 when the child fails.
long long MeasurePeakGrowth(const std::vector<CString>& paths, int nPass)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0)
    {
        ::close(fds[0]);
        long long nGrowth = -1;
        {
            CActionList actions;
            tagID3V1VALUES values;
            SetTitleAndArtist(actions, values, nPass);
            CQuietBusy busy;
            CDiagnosticMessages diag;
            const long long nBefore = ReadStatusKB("VmRSS");
            WriteTagsToFiles(paths, actions, values, tagTAGOPTIONS(), busy, &diag);
            if (diag.GetCount() == 0)
                nGrowth = ReadStatusKB("VmHWM") - nBefore;
        }
        const bool bSent = ::write(fds[1], &nGrowth, sizeof(nGrowth)) == sizeof(nGrowth);
        // No destructors of the parent's objects: its folders must stay.
        ::_exit(bSent ? 0 : 1);
    }
    ::close(fds[1]);
    long long nGrowth = -1;
    if (pid < 0 || ::read(fds[0], &nGrowth, sizeof(nGrowth)) != sizeof(nGrowth))
        nGrowth = -1;
    ::close(fds[0]);
    int nStatus = 0;
    if (pid > 0)
        ::waitpid(pid, &nStatus, 0);
    return nGrowth;
}

void MeasurePeakMemory(const fs::path& root, int nFiles)
{
    // The larger run's names are hard links to the smaller one's files: each name is a real
    // write of its own, in place, as the tags fit.
    const fs::path small = root / "small";
    const fs::path large = root / "large";
    fs::create_directory(small);
    fs::create_directory(large);
    WriteTrackFiles(small, nFiles, ROOM_PADDING);
    LinkTrackFiles(small, nFiles, large, nFiles * 10);
    const std::vector<CString> smallPaths = TrackPaths(small, nFiles);
    const std::vector<CString> largePaths = TrackPaths(large, nFiles * 10);

    const long long nSmall = MeasurePeakGrowth(smallPaths, 1);
    const long long nLarge = MeasurePeakGrowth(largePaths, 2);
    if (nSmall < 0 || nLarge < 0)
        std::printf("WARNING: a write loop failed\n");
    std::printf("multi save peak memory: %d files %lld KB, %d files %lld KB\n", nFiles, nSmall,
                nFiles * 10, nLarge);
    if (!HasPassTexts(Path::ToNative(largePaths.back()), 2))
        std::printf("WARNING: the last file was not written\n");
}

} // namespace

int main(int argc, char** argv)
{
    const int nFiles = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const int nPasses = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    CBenchFolder folder;
    const fs::path& root = folder.GetPath();
    std::printf("%d files in %s\n", nFiles, root.c_str());
    fs::create_directory(root / "ours");
    fs::create_directory(root / "taglib");
    MeasureInPlace(root / "ours", root / "taglib", nFiles, nPasses);
    MeasureGrowing(root, nFiles, nPasses);
    MeasurePeakMemory(root, nFiles);
    return 0;
}
