// The rewrite that replaces the head and the tail of a file at once, and the clearing away of
// temporary files that killed rewrites left.

// The tests need the processes, signals, locks and permissions of POSIX systems.
#ifndef _WIN32

#include "tags/file/FileEx.h"

#include "base/Path.h"

#include "fixtures/FileBytes.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using Fixtures::Bytes;
using Fixtures::Concat;
using Fixtures::CTempDir;
using Fixtures::ReadFileBytes;
using Fixtures::WriteFileBytes;
using Tags::CFileEx;
namespace fs = std::filesystem;

namespace
{

Bytes Sequence(size_t n, BYTE nFirst)
{
    Bytes bytes(n);
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<BYTE>(nFirst + i * 7);
    return bytes;
}

Bytes Slice(const Bytes& b, size_t nFrom, size_t nCount)
{
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(nFrom),
                 b.begin() + static_cast<std::ptrdiff_t>(nFrom + nCount));
}

std::vector<std::string> Entries(const fs::path& folder)
{
    std::vector<std::string> arr;
    for (const auto& entry : fs::directory_iterator(folder))
        arr.push_back(entry.path().filename().string());
    std::sort(arr.begin(), arr.end());
    return arr;
}

class FileExHeadAndTailTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_original = Sequence(5000, 3);
        m_path = m_dir.PathOf("song.mp3");
        WriteFileBytes(m_path, m_original);
    }

    CString StrPath() const { return Path::FromNative(m_path.native()); }

    CTempDir m_dir;
    fs::path m_path;
    Bytes m_original;
};

} // namespace

TEST_F(FileExHeadAndTailTest, ReplacesBothEndsAndKeepsTheMiddle)
{
    const Bytes head = Sequence(300, 100);
    const Bytes tail = Sequence(128, 200);
    CFileEx file;
    ASSERT_TRUE(file.OpenFile(StrPath()));
    // A head of 40 bytes becomes 300, a tail of 128 another 128.
    file.ReplaceHeadAndTail(head.data(), 300, 40, tail.data(), 128, 128);
    EXPECT_EQ(file.GetPosition(), 300u);
    EXPECT_EQ(file.GetLength(), 5000u + 260);
    // The object works on the new file.
    const Bytes more = Sequence(10, 50);
    file.ReplaceHeadAndTail(more.data(), 10, 300, nullptr, 0, 128);
    file.Close();
    EXPECT_EQ(ReadFileBytes(m_path), Concat({more, Slice(m_original, 40, 5000 - 40 - 128)}));
    EXPECT_EQ(Entries(m_dir.GetPath()), std::vector<std::string>{"song.mp3"});
}

TEST_F(FileExHeadAndTailTest, AddsATailAndRemovesAHead)
{
    const Bytes tail = Sequence(128, 9);
    CFileEx file;
    ASSERT_TRUE(file.OpenFile(StrPath()));
    file.ReplaceHeadAndTail(nullptr, 0, 1000, tail.data(), 128, 0);
    file.Close();
    EXPECT_EQ(ReadFileBytes(m_path), Concat({Slice(m_original, 1000, 4000), tail}));
}

TEST_F(FileExHeadAndTailTest, RangesThatOverlapOrPassTheEndAreRefused)
{
    CFileEx file;
    ASSERT_TRUE(file.OpenFile(StrPath()));
    const Bytes head = Sequence(10, 1);
    EXPECT_THROW(file.ReplaceHeadAndTail(head.data(), 10, 4900, nullptr, 0, 128), CFileException);
    EXPECT_THROW(file.ReplaceHeadAndTail(head.data(), 10, 5001, nullptr, 0, 0), CFileException);
    EXPECT_THROW(file.ReplaceHeadAndTail(nullptr, 10, 0, nullptr, 0, 0), CFileException);
    // The whole file as head and tail leaves just the new bytes.
    file.ReplaceHeadAndTail(head.data(), 10, 4872, nullptr, 0, 128);
    file.Close();
    EXPECT_EQ(ReadFileBytes(m_path), head);
}

TEST_F(FileExHeadAndTailTest, LeftoversOfKilledRewritesOfThisFileAreRemoved)
{
    // Names as a killed rewrite leaves them, for this file and for others.
    const std::vector<std::string> arrStale = {".song.mp3.tw0123456789ab.tmp",
                                               ".song.mp3.twffffffffffff.tmp"};
    const std::vector<std::string> arrOthers = {
        ".other.mp3.tw0123456789ab.tmp", ".song.mp3.tw0123.tmp", ".song.mp3.twXYZ456789abc.tmp",
        "song.mp3.tw0123456789ab.tmp"};
    for (const std::string& str : arrStale)
        WriteFileBytes(m_dir.PathOf(str), Sequence(10, 1));
    for (const std::string& str : arrOthers)
        WriteFileBytes(m_dir.PathOf(str), Sequence(10, 1));
    // One that a running rewrite holds (its lock) stays, and so does a link of that name.
    const std::string strHeld = ".song.mp3.twaaaaaaaaaaaa.tmp";
    WriteFileBytes(m_dir.PathOf(strHeld), Sequence(10, 1));
    const int fdHeld = ::open(m_dir.PathOf(strHeld).c_str(), O_RDONLY);
    ASSERT_GE(fdHeld, 0);
    ASSERT_EQ(::flock(fdHeld, LOCK_EX), 0);
    const std::string strLink = ".song.mp3.twbbbbbbbbbbbb.tmp";
    fs::create_symlink("song.mp3", m_dir.PathOf(strLink));

    {
        CFileEx file;
        ASSERT_TRUE(file.OpenFile(StrPath()));
        file.RemoveRange(0, 10);
    }
    ::close(fdHeld);
    std::vector<std::string> arrExpected = arrOthers;
    arrExpected.push_back(strHeld);
    arrExpected.push_back(strLink);
    arrExpected.push_back("song.mp3");
    std::sort(arrExpected.begin(), arrExpected.end());
    EXPECT_EQ(Entries(m_dir.GetPath()), arrExpected);
    EXPECT_EQ(ReadFileBytes(m_path), Slice(m_original, 10, 4990));
}

#endif // _WIN32
