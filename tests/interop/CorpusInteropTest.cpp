// Every file of the shared corpus of real-world and damaged files: opened with its audio
// properties, read, given a title and saved as ID3v2.3 and then as 2.4, read again. Nothing may
// crash, hang or allocate without bound, a refused save leaves the file as it was, and a save
// never changes the audio between the tags.
//
// Without sanitizers each file runs in a child process limited to 1 GiB of address space and
// 30 seconds; with AddressSanitizer (which reserves a huge address space) it runs in the test
// process, where the sanitizers watch every access and leak.

#include "interop/TagRecords.h"

#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/frames/TextFrame.h"
#include "tags/mpeg/AudioProperties.h"

#include "fixtures/FileBytes.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <exception>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace Tags;
using namespace Tags::ID3v1Tag;
using namespace Tags::ID3v2Tag;
using namespace Fixtures;

namespace
{

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kInProcess = true;
#else
constexpr bool kInProcess = false;
#endif

constexpr rlim_t kAddressSpaceLimit = rlim_t{1} << 30;
constexpr unsigned kTimeLimitSeconds = 30;

std::vector<std::string> CorpusFiles()
{
    std::vector<std::string> files;
    std::error_code ec;
    const std::filesystem::path root = TW_CORPUS_DIR;
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
    {
        if (it->is_regular_file(ec))
            files.push_back(std::filesystem::relative(it->path(), root).generic_string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// What the container takes for the audio: after the ID3v2 tag, before the ID3v1 block. Empty
// when the tag runs into the block.
struct tagAUDIORANGE
{
    size_t nStart = 0;
    size_t nEnd = 0;
};

tagAUDIORANGE RangeOf(const CMpegFile& file)
{
    tagAUDIORANGE range;
    const size_t nLength = static_cast<size_t>(file.GetLength());
    range.nStart = file.HasID3v2() ? file.GetID3v2Size() : 0;
    range.nEnd = nLength - (file.HasID3v1() ? 128 : 0);
    if (range.nStart > range.nEnd)
        range.nStart = range.nEnd;
    return range;
}

Bytes Slice(const Bytes& bytes, const tagAUDIORANGE& range)
{
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(range.nStart),
                 bytes.begin() + static_cast<std::ptrdiff_t>(range.nEnd));
}

// Reads everything a client could ask for, so that every reader runs over the file.
size_t ReadEverything(CMpegFile& file)
{
    size_t nChars = 0;
    auto count = [&nChars](const CString& str) { nChars += static_cast<size_t>(str.GetLength()); };
    for (CTagBase* pTag : {static_cast<CTagBase*>(file.GetID3v1(FALSE)),
                           static_cast<CTagBase*>(file.GetID3v2(FALSE))})
    {
        if (pTag == nullptr)
            continue;
        count(pTag->GetTitle());
        count(pTag->GetArtist());
        count(pTag->GetAlbum());
        count(pTag->GetYear());
        count(pTag->GetComment());
        count(pTag->GetGenre());
        nChars += static_cast<size_t>(pTag->GetTrack() != 0) + pTag->IsEmpty();
    }
    if (CID3v2* pTag = file.GetID3v2(FALSE))
    {
        for (const auto& pFrame : pTag->m_frames)
        {
            count(pFrame->GetText());
            nChars += Interop::FrameRecord(*pFrame).size();
        }
    }
    if (CAudioProperties* p = file.GetAudioProperties())
        nChars += static_cast<size_t>(
            p->GetLength() + p->GetBitrate() + p->GetSampleRate() + p->GetChannels() != 0);
    return nChars;
}

// One save as ID3v2.nVersion; appends what went wrong.
void SaveAs(const std::filesystem::path& path, int nVersion, std::vector<std::string>& problems)
{
    const std::string where = "2." + std::to_string(nVersion) + ": ";
    const Bytes before = ReadFileBytes(path);
    const CString strTitle = CString::FromUtf8("Corpus title 2." + std::to_string(nVersion));
    tagAUDIORANGE range;
    bool bHadID3v1 = false;
    BOOL bSaved = FALSE;
    bool bRefusalExpected = false;
    {
        CMpegFile file(ToCString(path), TRUE);
        if (file.m_hFile == INVALID_HANDLE_VALUE || file.m_bReadOnly)
        {
            problems.push_back(where + "cannot open the copy for writing");
            return;
        }
        ReadEverything(file);
        range = RangeOf(file);
        bHadID3v1 = file.HasID3v1();
        // The one case a save is refused: an ID3v2 tag that runs into the ID3v1 block.
        bRefusalExpected = file.HasID3v2() && file.GetID3v2Size() > range.nEnd;

        CID3v2* pTag = file.GetID3v2(TRUE);
        while (pTag->DeleteFrameByID("TIT2"))
        {
        }
        auto pTitle = std::make_unique<CTextFrame>("TIT2", 4);
        pTitle->SetValues({strTitle});
        pTag->AddTail(std::move(pTitle));
        pTag->m_pHeader->m_nVersion = nVersion;
        pTag->m_nTextEncoding = nVersion == 4 ? 3 : 1;
        if (CID3v1* pV1 = file.GetID3v1(FALSE))
            pV1->SetTitle(strTitle);
        try
        {
            bSaved = file.SaveTags(TAG_ID3V2 | (bHadID3v1 ? TAG_ID3V1 : 0));
        }
        catch (const std::exception& e)
        {
            problems.push_back(where + "the save threw: " + e.what());
        }
    }

    const Bytes after = ReadFileBytes(path);
    if (!bSaved)
    {
        if (!bRefusalExpected)
            problems.push_back(where + "the save was refused");
        if (after != before)
            problems.push_back(where + "a refused save changed the file");
        return;
    }
    if (bRefusalExpected)
        problems.push_back(where + "saved over a tag that runs into the ID3v1 block");

    CMpegFile file(ToCString(path), TRUE);
    ReadEverything(file);
    CID3v2* pTag = file.GetID3v2(FALSE);
    if (!file.HasID3v2() || pTag == nullptr || pTag->GetTitle() != strTitle)
        problems.push_back(where + "the saved title does not read back");
    if (pTag && pTag->m_pHeader->m_nVersion != nVersion)
        problems.push_back(where + "the saved tag has another version");
    if (file.HasID3v1() != bHadID3v1)
        problems.push_back(where + "the ID3v1 block came or went");
    else if (bHadID3v1 && file.GetID3v1(FALSE)->GetTitle() != strTitle.Left(30))
        problems.push_back(where + "the ID3v1 title does not read back");
    if (Slice(after, RangeOf(file)) != Slice(before, range))
        problems.push_back(where + "the audio between the tags changed");
}

std::vector<std::string> Exercise(const std::filesystem::path& path)
{
    std::vector<std::string> problems;
    try
    {
        {
            CMpegFile file(ToCString(path), TRUE);
            if (file.m_hFile == INVALID_HANDLE_VALUE)
            {
                problems.push_back("cannot open the copy");
                return problems;
            }
            ReadEverything(file);
        }
        SaveAs(path, 3, problems);
        SaveAs(path, 4, problems);
    }
    catch (const std::bad_alloc&)
    {
        problems.push_back("ran out of memory");
    }
    catch (const std::exception& e)
    {
        problems.push_back(std::string("threw: ") + e.what());
    }
    return problems;
}

// Runs Exercise in a child limited in address space and time; the problems, or how the child
// ended, come back as text.
std::vector<std::string> ExerciseInChild(const std::filesystem::path& path)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return {"pipe failed"};
    const pid_t pid = ::fork();
    if (pid < 0)
        return {"fork failed"};
    if (pid == 0)
    {
        ::close(fds[0]);
        const rlimit limit = {kAddressSpaceLimit, kAddressSpaceLimit};
        ::setrlimit(RLIMIT_AS, &limit);
        ::alarm(kTimeLimitSeconds);
        std::string text;
        for (const std::string& problem : Exercise(path))
            text += problem + "\n";
        size_t nDone = 0;
        while (nDone < text.size())
        {
            const ssize_t n = ::write(fds[1], text.data() + nDone, text.size() - nDone);
            if (n <= 0)
                break;
            nDone += static_cast<size_t>(n);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string text;
    char buffer[4096];
    while (true)
    {
        const ssize_t n = ::read(fds[0], buffer, sizeof(buffer));
        if (n > 0)
            text.append(buffer, static_cast<size_t>(n));
        else if (n == 0 || errno != EINTR)
            break;
    }
    ::close(fds[0]);
    int nStatus = 0;
    while (::waitpid(pid, &nStatus, 0) < 0 && errno == EINTR)
    {
    }
    std::vector<std::string> problems;
    size_t nStart = 0;
    while (nStart < text.size())
    {
        const size_t nEnd = text.find('\n', nStart);
        problems.push_back(text.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    if (WIFSIGNALED(nStatus))
    {
        const int nSignal = WTERMSIG(nStatus);
        problems.push_back(nSignal == SIGALRM
                               ? "did not finish within " + std::to_string(kTimeLimitSeconds) + " s"
                               : "ended by signal " + std::to_string(nSignal));
    }
    else if (!WIFEXITED(nStatus) || WEXITSTATUS(nStatus) != 0)
        problems.push_back("exited with " + std::to_string(WEXITSTATUS(nStatus)));
    return problems;
}

class CorpusInteropTest : public ::testing::TestWithParam<std::string>
{
protected:
    CTempDir m_dir;
};

TEST_P(CorpusInteropTest, OpensReadsSavesAndKeepsTheAudio)
{
    const std::filesystem::path source = std::filesystem::path(TW_CORPUS_DIR) / GetParam();
    const std::filesystem::path copy = m_dir.PathOf(source.filename().string());
    // The corpus is read-only; the copy must be writable like any file a user edits.
    WriteFileBytes(copy, ReadFileBytes(source));

    const std::vector<std::string> problems = kInProcess ? Exercise(copy) : ExerciseInChild(copy);
    for (const std::string& problem : problems)
        ADD_FAILURE() << GetParam() << ": " << problem;
}

std::string TestName(const ::testing::TestParamInfo<std::string>& p)
{
    std::string name;
    for (char ch : p.param)
        name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusInteropTest, ::testing::ValuesIn(CorpusFiles()), TestName);

TEST(CorpusInteropListTest, TheCorpusIsThere)
{
    EXPECT_GE(CorpusFiles().size(), 40u) << TW_CORPUS_DIR;
}

} // namespace
