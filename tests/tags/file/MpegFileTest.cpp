#include "tags/file/MpegFile.h"

#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/ID3v2Header.h"
#include "tags/id3v2/frames/TextFrame.h"
#include "tags/mpeg/AudioProperties.h"

#include "fixtures/FileBytes.h"
#include "fixtures/Mp3Builder.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace Tags;
using namespace Tags::ID3v2Tag;
using namespace Fixtures;

namespace
{

class MpegFileTest : public ::testing::Test
{
protected:
    // 40 frames of patterned audio, so moved or damaged audio shows.
    Bytes Audio() const
    {
        CMp3Builder b;
        b.SetPayload(CMp3Builder::Payload::Pattern, 7);
        b.AddFrames(CMp3Builder::FrameSpec(), 40);
        return b.Build();
    }

    CString Write(const std::string& name, const Bytes& bytes)
    {
        WriteFileBytes(m_dir.PathOf(name), bytes);
        return m_dir.StrPathOf(name);
    }

    Bytes Read(const std::string& name) const { return ReadFileBytes(m_dir.PathOf(name)); }

    static void SetTitle(CMpegFile& file, const CString& title)
    {
        CID3v2* pTag = file.GetID3v2(TRUE);
        pTag->DeleteFrameByID("TIT2");
        auto pFrame = std::make_unique<CTextFrame>("TIT2", 4);
        pFrame->SetValues({title});
        pTag->AddTail(std::move(pFrame));
        pTag->m_pHeader->m_nVersion = 3;
        pTag->m_nTextEncoding = 1;
    }

    static Bytes V1Block(const std::string& title, int nTrack = -1)
    {
        CMp3Builder::Id3v1Fields f;
        f.m_strTitle = title;
        f.m_nTrack = nTrack;
        return CMp3Builder::Id3v1Block(f);
    }

    CTempDir m_dir;
};

} // namespace

TEST_F(MpegFileTest, ReadsBothTagsAndTheAudioBetweenThem)
{
    const Bytes id3 = CMp3Builder::Id3v2Tag(3, 100);
    const CString path = Write("a.mp3", Concat({id3, Audio(), V1Block("Old", 5)}));
    CMpegFile file(path, TRUE);
    ASSERT_NE(file.m_hFile, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(file.m_bReadOnly);
    EXPECT_TRUE(file.HasID3v2());
    EXPECT_TRUE(file.HasID3v1());
    EXPECT_EQ(file.GetID3v2Size(), 110u);
    ASSERT_NE(file.GetID3v1(FALSE), nullptr);
    EXPECT_EQ(file.GetID3v1(FALSE)->GetTitle(), CString(u"Old"));
    EXPECT_EQ(file.GetID3v1(FALSE)->GetTrack(), 5);
    ASSERT_NE(file.GetAudioProperties(), nullptr);
    EXPECT_EQ(file.GetAudioProperties()->GetBitrate(), 128);
    EXPECT_EQ(file.GetAudioProperties()->GetSampleRate(), 44100);
}

TEST_F(MpegFileTest, MissingFileLeavesTheHandleInvalid)
{
    CMpegFile file(m_dir.StrPathOf("none.mp3"), TRUE);
    EXPECT_EQ(file.m_hFile, INVALID_HANDLE_VALUE);
    EXPECT_EQ(file.GetID3v1(FALSE), nullptr);
    EXPECT_EQ(file.GetID3v2(FALSE), nullptr);
    EXPECT_EQ(file.GetAudioProperties(), nullptr);
    EXPECT_FALSE(file.SaveTags(TAG_ID3V1 | TAG_ID3V2));
    EXPECT_FALSE(file.RemoveTags(TAG_ID3V1 | TAG_ID3V2));
}

TEST_F(MpegFileTest, NewTagsAreInsertedAndAppendedAroundUnchangedAudio)
{
    const Bytes audio = Audio();
    const CString path = Write("a.mp3", audio);
    {
        CMpegFile file(path, FALSE);
        SetTitle(file, u"Title");
        file.GetID3v1(TRUE)->SetTitle(u"Title");
        ASSERT_TRUE(file.SaveTags(TAG_ID3V1 | TAG_ID3V2));
        EXPECT_TRUE(file.HasID3v2());
        EXPECT_TRUE(file.HasID3v1());
    }
    const Bytes after = Read("a.mp3");
    EXPECT_EQ(CMp3Builder::AudioBytes(after), audio);
    EXPECT_EQ(std::string(after.begin(), after.begin() + 3), "ID3");
    EXPECT_EQ(std::string(after.end() - 128, after.end() - 125), "TAG");

    CMpegFile again(path, FALSE);
    ASSERT_NE(again.GetID3v2(FALSE), nullptr);
    EXPECT_EQ(again.GetID3v2(FALSE)->GetTitle(), CString(u"Title"));
    EXPECT_EQ(again.GetID3v1(FALSE)->GetTitle(), CString(u"Title"));
}

TEST_F(MpegFileTest, EqualLengthSaveRewritesOnlyTheTag)
{
    const CString path = Write("a.mp3", Audio());
    {
        CMpegFile file(path, FALSE);
        SetTitle(file, u"First");
        ASSERT_TRUE(file.SaveTags(TAG_ID3V2));
    }
    const Bytes before = Read("a.mp3");
    {
        CMpegFile file(path, FALSE);
        SetTitle(file, u"Second");
        const UINT nOld = file.GetID3v2Size();
        ASSERT_TRUE(file.SaveTags(TAG_ID3V2));
        EXPECT_EQ(file.GetID3v2Size(), nOld); // padded to the old size
    }
    const Bytes after = Read("a.mp3");
    ASSERT_EQ(after.size(), before.size());
    CMpegFile check(path, FALSE);
    const size_t nTag = check.GetID3v2Size();
    EXPECT_TRUE(std::equal(after.begin() + static_cast<long>(nTag), after.end(),
                           before.begin() + static_cast<long>(nTag)));
    EXPECT_EQ(check.GetID3v2(FALSE)->GetTitle(), CString(u"Second"));
}

TEST_F(MpegFileTest, SavingTheSameContainerTwiceReplacesTheFirstSave)
{
    const Bytes audio = Audio();
    const CString path = Write("a.mp3", audio);
    CMpegFile file(path, FALSE);
    SetTitle(file, u"One");
    ASSERT_TRUE(file.SaveTags(TAG_ID3V2));
    SetTitle(file, CString(u'x', 3000)); // grows past the padding
    ASSERT_TRUE(file.SaveTags(TAG_ID3V2));
    file.Close();
    const Bytes after = Read("a.mp3");
    EXPECT_EQ(CMp3Builder::AudioBytes(after), audio);
    CMpegFile check(path, FALSE);
    EXPECT_EQ(check.GetID3v2(FALSE)->GetTitle(), CString(u'x', 3000));
}

TEST_F(MpegFileTest, EmptyTagsAreRemovedAndAbsentOnesAreNoError)
{
    const Bytes audio = Audio();
    const CString path =
        Write("a.mp3", Concat({CMp3Builder::Id3v2Tag(4, 0), audio, V1Block("", -1)}));
    {
        CMpegFile file(path, FALSE);
        ASSERT_TRUE(file.HasID3v2());
        ASSERT_TRUE(file.GetID3v2(FALSE)->IsEmpty());
        // A blank ID3v1 block (genre 255) is empty too.
        ASSERT_TRUE(file.HasID3v1());
        ASSERT_TRUE(file.GetID3v1(FALSE)->IsEmpty());
        EXPECT_TRUE(file.SaveTags(TAG_ID3V1 | TAG_ID3V2));
        EXPECT_FALSE(file.HasID3v2());
        EXPECT_FALSE(file.HasID3v1());
    }
    EXPECT_EQ(Read("a.mp3"), audio);
    CMpegFile file(path, FALSE);
    file.GetID3v1(TRUE);
    file.GetID3v2(TRUE);
    EXPECT_TRUE(file.SaveTags(TAG_ID3V1 | TAG_ID3V2));
    EXPECT_TRUE(file.RemoveTags(TAG_ID3V1 | TAG_ID3V2));
    file.Close();
    EXPECT_EQ(Read("a.mp3"), audio);
}

TEST_F(MpegFileTest, EachFlagLeavesTheOtherTagAlone)
{
    const Bytes id3 = CMp3Builder::Id3v2Tag(3, 64);
    const Bytes audio = Audio();
    const CString path = Write("a.mp3", Concat({id3, audio, V1Block("V1")}));
    {
        CMpegFile file(path, FALSE);
        file.GetID3v1(FALSE)->SetTitle(u"Changed");
        SetTitle(file, u"not saved");
        ASSERT_TRUE(file.SaveTags(TAG_ID3V1));
    }
    Bytes after = Read("a.mp3");
    EXPECT_TRUE(std::equal(id3.begin(), id3.end(), after.begin()));
    {
        CMpegFile file(path, FALSE);
        EXPECT_EQ(file.GetID3v1(FALSE)->GetTitle(), CString(u"Changed"));
        ASSERT_TRUE(file.RemoveTags(TAG_ID3V2));
        EXPECT_TRUE(file.HasID3v1());
    }
    after = Read("a.mp3");
    EXPECT_EQ(after.size(), audio.size() + 128);
    EXPECT_TRUE(std::equal(audio.begin(), audio.end(), after.begin()));
}

TEST_F(MpegFileTest, FooterCountsAsPartOfTheTag)
{
    const Bytes audio = Audio();
    const Bytes tag = CMp3Builder::Id3v2Tag(4, 40, 0x10);
    const CString path = Write("a.mp3", Concat({tag, audio}));
    CMpegFile file(path, FALSE);
    ASSERT_TRUE(file.HasID3v2());
    EXPECT_EQ(file.GetID3v2Size(), 60u);
    ASSERT_TRUE(file.RemoveTags(TAG_ID3V2));
    file.Close();
    EXPECT_EQ(Read("a.mp3"), audio);
}

TEST_F(MpegFileTest, ShortAndBlockOnlyFiles)
{
    {
        CMpegFile file(Write("short.mp3", BytesOf("TAG short")), TRUE);
        EXPECT_FALSE(file.HasID3v1());
    }
    CMpegFile file(Write("block.mp3", V1Block("Only")), TRUE);
    EXPECT_TRUE(file.HasID3v1());
    EXPECT_EQ(file.GetID3v1(FALSE)->GetTitle(), CString(u"Only"));
    ASSERT_NE(file.GetAudioProperties(), nullptr);
    EXPECT_EQ(file.GetAudioProperties()->GetLength(), 0);
}

#ifdef _WIN32
TEST_F(MpegFileTest, ReadOnlyFallbackRefusesToWrite)
{
    const Bytes original = Concat({Audio(), V1Block("Keep")});
    const CString path = Write("a.mp3", original);
    // Another program reads the file and lets others only read.
    const HANDLE hOther =
        ::CreateFileW(m_dir.PathOf("a.mp3").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hOther, INVALID_HANDLE_VALUE);
    {
        CMpegFile file(path, FALSE);
        ASSERT_NE(file.m_hFile, INVALID_HANDLE_VALUE);
        EXPECT_TRUE(file.m_bReadOnly);
        EXPECT_EQ(file.GetID3v1(FALSE)->GetTitle(), CString(u"Keep"));
        file.GetID3v1(FALSE)->SetTitle(u"Other");
        SetTitle(file, u"Other");
        EXPECT_FALSE(file.SaveTags(TAG_ID3V1 | TAG_ID3V2));
        EXPECT_FALSE(file.RemoveTags(TAG_ID3V1 | TAG_ID3V2));
    }
    ::CloseHandle(hOther);
    EXPECT_EQ(Read("a.mp3"), original);
}
#else
TEST_F(MpegFileTest, ReadOnlyFallbackRefusesToWrite)
{
    const Bytes original = Concat({Audio(), V1Block("Keep")});
    const CString path = Write("a.mp3", original);
    const std::string native = m_dir.PathOf("a.mp3").string();
    // One pipe says the lock is held, the other keeps the holder alive until it closes.
    int ready[2];
    int hold[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(hold), 0);
    const pid_t pid = fork();
    if (pid == 0)
    {
        close(ready[0]);
        close(hold[1]);
        const int fd = open(native.c_str(), O_RDONLY);
        flock(fd, LOCK_SH);
        char c = 0;
        (void)!write(ready[1], &c, 1);
        (void)!read(hold[0], &c, 1);
        _exit(0);
    }
    close(ready[1]);
    close(hold[0]);
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    {
        CMpegFile file(path, FALSE);
        ASSERT_NE(file.m_hFile, INVALID_HANDLE_VALUE);
        EXPECT_TRUE(file.m_bReadOnly);
        EXPECT_EQ(file.GetID3v1(FALSE)->GetTitle(), CString(u"Keep"));
        file.GetID3v1(FALSE)->SetTitle(u"Other");
        SetTitle(file, u"Other");
        EXPECT_FALSE(file.SaveTags(TAG_ID3V1 | TAG_ID3V2));
        EXPECT_FALSE(file.RemoveTags(TAG_ID3V1 | TAG_ID3V2));
    }
    close(hold[1]);
    close(ready[0]);
    waitpid(pid, nullptr, 0);
    EXPECT_EQ(Read("a.mp3"), original);
}
#endif

#ifndef _WIN32
// A file size limit (POSIX's) makes the writes fail.
TEST_F(MpegFileTest, FailedGrowingSaveLeavesTheFileAsItWas)
{
    const Bytes original = Concat({CMp3Builder::Id3v2Tag(3, 20), Audio(), V1Block("Old")});
    const CString path = Write("a.mp3", original);
    const pid_t pid = fork();
    if (pid == 0)
    {
        // A size limit below the new file makes the rewrite fail with EFBIG.
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{original.size() + 100, original.size() + 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        CMpegFile file(path, FALSE);
        SetTitle(file, CString(u'y', 5000));
        int code = 1;
        try
        {
            file.SaveTags(TAG_ID3V2);
        }
        catch (const CFileException&)
        {
            code = 3;
        }
        _exit(code);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(Read("a.mp3"), original);
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.GetPath()))
        EXPECT_EQ(entry.path().filename(), "a.mp3");
}

TEST_F(MpegFileTest, FailedAppendOfTheBlockIsUndone)
{
    const Bytes original = Audio();
    const CString path = Write("a.mp3", original);
    const pid_t pid = fork();
    if (pid == 0)
    {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{original.size() + 50, original.size() + 50};
        setrlimit(RLIMIT_FSIZE, &limit);
        CMpegFile file(path, FALSE);
        file.GetID3v1(TRUE)->SetTitle(u"Does not fit");
        int code = 1;
        try
        {
            file.SaveTags(TAG_ID3V1);
        }
        catch (const CFileException&)
        {
            code = 3;
        }
        _exit(code);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(Read("a.mp3"), original);
}
// Without the address sanitizer, which reserves more address space than any limit allows.
#if !defined(__SANITIZE_ADDRESS__)
// A tag larger than the memory the process may have: the open gives no tag and no crash, and
// the file cannot be saved over, since a save would put a second tag before the one there.
TEST_F(MpegFileTest, TagLargerThanTheMemoryThereIsMakesTheFileReadOnly)
{
    // 200 MB of tag (a sparse file), then the audio.
    const UINT nBody = 200u << 20;
    const Bytes header = CMp3Builder::Id3v2Tag(3, 0);
    Bytes tag(header.begin(), header.begin() + 10);
    tag[6] = static_cast<BYTE>((nBody >> 21) & 0x7F);
    tag[7] = static_cast<BYTE>((nBody >> 14) & 0x7F);
    tag[8] = static_cast<BYTE>((nBody >> 7) & 0x7F);
    tag[9] = static_cast<BYTE>(nBody & 0x7F);
    const CString path = Write("a.mp3", tag);
    std::filesystem::resize_file(m_dir.PathOf("a.mp3"), 10 + nBody);
    const pid_t pid = fork();
    if (pid == 0)
    {
        // Room for the program and the file layer, not for the tag.
        long nPages = 0;
        if (FILE* pStatm = std::fopen("/proc/self/statm", "r"))
        {
            if (std::fscanf(pStatm, "%ld", &nPages) != 1)
                nPages = 0;
            std::fclose(pStatm);
        }
        const rlim_t nLimit = static_cast<rlim_t>(nPages) * sysconf(_SC_PAGESIZE) + (64u << 20);
        const rlimit limit = {nLimit, nLimit};
        if (nPages == 0 || setrlimit(RLIMIT_AS, &limit) != 0)
            _exit(2);
        CMpegFile file(path, TRUE);
        if (file.HasID3v2() || !file.m_bReadOnly)
            _exit(3);
        SetTitle(file, u"New");
        _exit(file.SaveTags(TAG_ID3V2) ? 4 : 0);
    }
    int nStatus = 0;
    ASSERT_EQ(waitpid(pid, &nStatus, 0), pid);
    ASSERT_TRUE(WIFEXITED(nStatus)) << "signal " << WTERMSIG(nStatus);
    EXPECT_EQ(WEXITSTATUS(nStatus), 0);
    EXPECT_EQ(std::filesystem::file_size(m_dir.PathOf("a.mp3")), 10u + nBody);
}
#endif

#endif
