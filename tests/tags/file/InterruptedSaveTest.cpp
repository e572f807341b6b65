// Saves killed midway. Each save that moves the audio (a tag that grows, one that shrinks, one
// that is removed, each together with a change of the ID3v1 block) runs in a child process that
// gets SIGKILL at a random moment of it. Afterwards the file must be byte for byte the old or the
// new version, and whatever a killed save left beside it must not disturb the saves after it.

// The tests need the processes, signals, locks and permissions of POSIX systems.
#ifndef _WIN32

#include "ChildProcess.h"
#include "SaveFiles.h"

#include "tags/id3v1/ID3v1.h"

#include <algorithm>
#include <chrono>
#include <random>

#include <signal.h>
#include <unistd.h>

using namespace SaveFiles;

namespace
{

using Clock = std::chrono::steady_clock;

// The kills per kind of save: four kinds, so more than 200 in all.
constexpr int KILLS_PER_SAVE = 60;

Bytes Audio()
{
    return SaveFiles::Audio(11, 60);
}

// One kind of save: the file it starts from and what it does to an open container.
struct tagSAVE
{
    std::string strName;
    Bytes original;
    std::function<BOOL(CMpegFile&)> save;
};

std::vector<tagSAVE> Saves()
{
    const Bytes audio = Audio();
    std::vector<tagSAVE> arr;
    // The tag grows past its padding, and the block is replaced.
    arr.push_back({"grows", Concat({V2Tag("Old", 16), audio, V1Block("Old")}),
                   [](CMpegFile& file)
                   {
                       SetTitle(file, CString(u'g', 3000), 1);
                       file.GetID3v1(TRUE)->SetTitle(u"Grown");
                       return file.SaveTags(TAG_ID3V1 | TAG_ID3V2);
                   }});
    // The tag is laid out anew without its old padding (and footer), and a block is added.
    arr.push_back({"shrinks", Concat({V2Tag("Old", 8000, 0x10), audio}),
                   [](CMpegFile& file)
                   {
                       SetTitle(file, u"Shrunk", 1);
                       file.GetID3v2(FALSE)->m_pHeader->m_nSize = 0;
                       file.GetID3v1(TRUE)->SetTitle(u"Shrunk");
                       return file.SaveTags(TAG_ID3V1 | TAG_ID3V2);
                   }});
    // Both tags removed.
    arr.push_back({"removed", Concat({V2Tag("Old", 2000), audio, V1Block("Old")}),
                   [](CMpegFile& file) { return file.RemoveTags(TAG_ID3V1 | TAG_ID3V2); }});
    // An emptied ID3v2 tag (saving removes it) while the block gets a new title.
    arr.push_back({"emptied", Concat({V2Tag("Old", 500), audio, V1Block("Old")}),
                   [](CMpegFile& file)
                   {
                       file.GetID3v2(FALSE)->m_frames.clear();
                       file.GetID3v1(FALSE)->SetTitle(u"Only the block");
                       return file.SaveTags(TAG_ID3V1 | TAG_ID3V2);
                   }});
    return arr;
}

std::vector<std::string> Leftovers(const fs::path& folder, const std::string& strKeep)
{
    std::vector<std::string> arr;
    for (const auto& entry : fs::directory_iterator(folder))
    {
        if (entry.path().filename() != strKeep)
            arr.push_back(entry.path().filename().string());
    }
    return arr;
}

// Waits about nMicroseconds; spinning, since a sleep is far coarser than a save's steps.
void Spin(long nMicroseconds)
{
    const Clock::time_point end = Clock::now() + std::chrono::microseconds(nMicroseconds);
    while (Clock::now() < end)
    {
    }
}

// Runs the save in a child to its end; its duration in microseconds, or 0 when it failed.
long TimeInChild(const CString& strPath, const tagSAVE& save)
{
    int result[2];
    if (::pipe(result) != 0)
        return 0;
    const pid_t pid = ::fork();
    if (pid == 0)
    {
        ::close(result[0]);
        CMpegFile file(strPath, FALSE);
        const Clock::time_point start = Clock::now();
        long nMicroseconds = 0;
        if (file.m_hFile != INVALID_HANDLE_VALUE && save.save(file))
            nMicroseconds = static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(
                                                  Clock::now() - start)
                                                  .count()) +
                            1;
        (void)!::write(result[1], &nMicroseconds, sizeof(nMicroseconds));
        ::_exit(0);
    }
    ::close(result[1]);
    long nMicroseconds = 0;
    if (pid < 0 ||
        ::read(result[0], &nMicroseconds, sizeof(nMicroseconds)) != sizeof(nMicroseconds))
        nMicroseconds = 0;
    ::close(result[0]);
    if (pid > 0)
        ::waitpid(pid, nullptr, 0);
    return nMicroseconds;
}

} // namespace

TEST(InterruptedSaveTest, KilledSavesLeaveTheOldOrTheNewFile)
{
    std::mt19937 rng(20240611);
    int nTotalKills = 0;
    for (const tagSAVE& save : Saves())
    {
        SCOPED_TRACE(save.strName);
        CTempDir dir;
        const fs::path path = dir.PathOf("a.mp3");
        const CString strPath = dir.StrPathOf("a.mp3");

        // What the save writes when nothing stops it, and how long it takes in a child, which
        // is where it is killed: the longest of a few runs.
        long nDuration = 0;
        for (int i = 0; i < 5; ++i)
        {
            WriteFileBytes(path, save.original);
            nDuration = std::max(nDuration, TimeInChild(strPath, save));
        }
        ASSERT_GT(nDuration, 0) << "the save fails in a child";
        const Bytes expected = ReadFileBytes(path);
        ASSERT_NE(expected, save.original);
        ASSERT_EQ(Leftovers(dir.GetPath(), "a.mp3"), std::vector<std::string>{});

        int nOld = 0;
        int nNew = 0;
        int nWithLeftovers = 0;
        // Mostly within the save, some after it.
        std::uniform_int_distribution<long> delay(0, nDuration + nDuration / 2 + 50);
        for (int i = 0; i < KILLS_PER_SAVE; ++i)
        {
            WriteFileBytes(path, save.original);
            int ready[2];
            ASSERT_EQ(::pipe(ready), 0);
            const pid_t pid = ::fork();
            ASSERT_GE(pid, 0);
            if (pid == 0)
            {
                ::close(ready[0]);
                CMpegFile file(strPath, FALSE);
                if (file.m_hFile == INVALID_HANDLE_VALUE)
                    ::_exit(3);
                const char c = 0;
                (void)!::write(ready[1], &c, 1);
                ::_exit(save.save(file) ? 0 : 1);
            }
            ::close(ready[1]);
            char c = 0;
            const bool bStarted = ::read(ready[0], &c, 1) == 1;
            ::close(ready[0]);
            if (bStarted)
                Spin(delay(rng));
            ::kill(pid, SIGKILL);
            int status = 0;
            ASSERT_EQ(::waitpid(pid, &status, 0), pid);
            ASSERT_TRUE(bStarted) << "the child could not open the file";
            ++nTotalKills;

            const Bytes after = ReadFileBytes(path);
            const bool bOld = after == save.original;
            const bool bNew = after == expected;
            ASSERT_TRUE(bOld || bNew) << "kill " << i << " left a file of " << after.size()
                                      << " bytes that is neither version";
            nOld += bOld;
            nNew += bNew;
            // A killed rewrite leaves its temporary file: hidden, named after the file, never
            // the file's own name.
            const std::vector<std::string> arrLeft = Leftovers(dir.GetPath(), "a.mp3");
            nWithLeftovers += !arrLeft.empty();
            for (const std::string& strLeft : arrLeft)
            {
                EXPECT_EQ(strLeft.rfind(".a.mp3.tw", 0), 0u) << strLeft;
                EXPECT_EQ(strLeft.substr(strLeft.size() - 4), ".tmp") << strLeft;
            }
        }
        std::cout << "[          ] " << save.strName << ": " << KILLS_PER_SAVE << " kills, " << nOld
                  << " old, " << nNew << " new, " << nWithLeftovers << " mid-rewrite\n";

        // A later save is not misled by what killed ones left, and clears it away.
        WriteFileBytes(path, save.original);
        {
            CMpegFile file(strPath, FALSE);
            ASSERT_TRUE(save.save(file));
        }
        EXPECT_EQ(ReadFileBytes(path), expected);
        EXPECT_EQ(Leftovers(dir.GetPath(), "a.mp3"), std::vector<std::string>{});
    }
    EXPECT_GE(nTotalKills, 200);
}

#endif // _WIN32
