#include "tags/file/FileEx.h"

#include "base/Path.h"
#include "fixtures/FileBytes.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using Fixtures::Bytes;
using Fixtures::CTempDir;
using Fixtures::ReadFileBytes;
using Fixtures::WriteFileBytes;
using Tags::CFileEx;
namespace fs = std::filesystem;

namespace
{

#ifndef _WIN32
constexpr uid_t nNobody = 65534;
constexpr int nCannotDrop = 77; // exit code of a child that could not become another user
#endif

// Deterministic bytes that differ from offset to offset.
Bytes Pattern(size_t n, unsigned nSeed)
{
    Bytes bytes(n);
    unsigned x = nSeed * 2654435761u + 1;
    for (size_t i = 0; i < n; ++i)
    {
        x = x * 1103515245u + 12345u;
        bytes[i] = static_cast<BYTE>(x >> 16);
    }
    return bytes;
}

Bytes Slice(const Bytes& b, size_t nFrom, size_t nCount)
{
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(nFrom),
                 b.begin() + static_cast<std::ptrdiff_t>(nFrom + nCount));
}

CString StrOf(const fs::path& path)
{
    return Path::FromNative(path.native());
}

#ifdef _WIN32
// The file's identity on its volume.
ULONGLONG InodeOf(const fs::path& path)
{
    const HANDLE h =
        ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION info = {};
    EXPECT_TRUE(h != INVALID_HANDLE_VALUE && ::GetFileInformationByHandle(h, &info));
    if (h != INVALID_HANDLE_VALUE)
        ::CloseHandle(h);
    return (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}
#else
ino_t InodeOf(const fs::path& path)
{
    struct stat st = {};
    EXPECT_EQ(0, ::stat(path.c_str(), &st));
    return st.st_ino;
}
#endif

// The names in a folder other than the expected ones, such as a temporary file left behind.
std::vector<std::string> Entries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

#ifdef _WIN32
// Windows's share modes hold between any two handles: another open in this process meets the
// same refusal as another program's.
template <typename F> int RunOtherOpen(F fn)
{
    return fn();
}

constexpr bool kShared = false;
constexpr bool kExclusive = true;

// Another open of the file, reading and letting others read (kShared) or reading and writing
// with no sharing (kExclusive), until this object goes away.
class CLockHolder
{
public:
    CLockHolder(const fs::path& path, bool bExclusive)
    {
        m_hFile =
            ::CreateFileW(path.c_str(), bExclusive ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                          bExclusive ? 0 : FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    ~CLockHolder()
    {
        if (m_hFile != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_hFile);
    }
    CLockHolder(const CLockHolder&) = delete;
    CLockHolder& operator=(const CLockHolder&) = delete;
    bool IsReady() const { return m_hFile != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
};
#else
// Runs fn in a forked child and gives its exit code (128 + signal when it was killed).
template <typename F> int RunInChild(F fn)
{
    const pid_t pid = ::fork();
    if (pid == 0)
    {
        ::alarm(120); // a hang fails the test instead of stalling the run
        int rc = 99;
        try
        {
            rc = fn();
        }
        catch (...)
        {
            rc = 98;
        }
        ::_exit(rc);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool DropToNobody()
{
    return ::setgroups(0, nullptr) == 0 && ::setgid(nNobody) == 0 && ::setuid(nNobody) == 0 &&
           ::geteuid() == nNobody;
}

// Another process that holds the file open with a lock until this object goes away.
class CLockHolder
{
public:
    CLockHolder(const fs::path& path, int nLock)
    {
        int toParent[2];
        int toChild[2];
        if (::pipe(toParent) != 0 || ::pipe(toChild) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0)
        {
            ::close(toParent[0]);
            ::close(toChild[1]);
            const int fd = ::open(path.c_str(), nLock == LOCK_EX ? O_RDWR : O_RDONLY);
            const char c = (fd >= 0 && ::flock(fd, nLock) == 0) ? 'R' : 'E';
            (void)!::write(toParent[1], &c, 1);
            char x;
            while (::read(toChild[0], &x, 1) > 0)
            {
            }
            ::_exit(0);
        }
        ::close(toParent[1]);
        ::close(toChild[0]);
        m_fdRelease = toChild[1];
        char c = 0;
        m_bReady = ::read(toParent[0], &c, 1) == 1 && c == 'R';
        ::close(toParent[0]);
    }
    ~CLockHolder()
    {
        if (m_fdRelease >= 0)
            ::close(m_fdRelease);
        if (m_pid > 0)
            ::waitpid(m_pid, nullptr, 0);
    }
    bool IsReady() const { return m_bReady; }

private:
    pid_t m_pid = -1;
    int m_fdRelease = -1;
    bool m_bReady = false;
};

template <typename F> int RunOtherOpen(F fn)
{
    return RunInChild(fn);
}

constexpr int kShared = LOCK_SH;
constexpr int kExclusive = LOCK_EX;
#endif

class FileExTest : public ::testing::Test
{
protected:
    fs::path MakeFile(const std::string& strName, const Bytes& bytes)
    {
        const fs::path path = m_dir.PathOf(strName);
        WriteFileBytes(path, bytes);
        return path;
    }

    CTempDir m_dir;
};

// ---------------------------------------------------------------------------------------------
// Opening

TEST_F(FileExTest, OpensReadWriteAndExcludesOtherProcesses)
{
    const fs::path path = MakeFile("a.mp3", Pattern(1000, 1));
    CFileEx file;
    ASSERT_TRUE(file.OpenFile(StrOf(path)));
    EXPECT_FALSE(file.m_bReadOnly);
    EXPECT_NE(file.m_hFile, INVALID_HANDLE_VALUE);
    EXPECT_EQ(file.GetLength(), 1000u);

    // While we hold it, another process opens it neither way.
    const int rc = RunOtherOpen(
        [&]
        {
            CFileEx other;
            return other.OpenFile(StrOf(path)) ? 1
                                               : (other.m_hFile == INVALID_HANDLE_VALUE ? 0 : 2);
        });
    EXPECT_EQ(rc, 0);

    file.Close();
    EXPECT_EQ(file.m_hFile, INVALID_HANDLE_VALUE);
    EXPECT_EQ(RunOtherOpen([&] { return CFileEx().OpenFile(StrOf(path)) ? 0 : 1; }), 0);
}

TEST_F(FileExTest, SharedLockOfAnotherProcessGivesReadOnly)
{
    const fs::path path = MakeFile("a.mp3", Pattern(500, 2));
    CLockHolder holder(path, kShared);
    ASSERT_TRUE(holder.IsReady());

    CFileEx file;
    CFileException error;
    ASSERT_TRUE(file.OpenFile(StrOf(path), &error));
    EXPECT_TRUE(file.m_bReadOnly);
    Bytes head(10);
    EXPECT_EQ(file.Read(head.data(), 10), 10u);
    EXPECT_EQ(head, Slice(Pattern(500, 2), 0, 10));

    // Writing refuses before touching anything.
    const Bytes tag = Pattern(20, 3);
    try
    {
        file.ReplaceHead(tag.data(), 20, 20);
        ADD_FAILURE() << "ReplaceHead wrote a read-only file";
    }
    catch (const CFileException& e)
    {
        EXPECT_EQ(e.m_cause, CFileException::accessDenied);
    }
    EXPECT_THROW(file.RemoveRange(0, 10), CFileException);
    EXPECT_EQ(ReadFileBytes(path), Pattern(500, 2));
}

TEST_F(FileExTest, ExclusiveLockOfAnotherProcessKeepsTheFileClosed)
{
    const fs::path path = MakeFile("a.mp3", Pattern(500, 2));
    {
        CLockHolder holder(path, kExclusive);
        ASSERT_TRUE(holder.IsReady());

        CFileEx file;
        CFileException error;
        EXPECT_FALSE(file.OpenFile(StrOf(path), &error));
        EXPECT_EQ(file.m_hFile, INVALID_HANDLE_VALUE);
        EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
        EXPECT_EQ(error.m_strFileName, StrOf(path));
        // The path is known also after the failed open.
        EXPECT_EQ(file.GetFilePath(), StrOf(path));
        EXPECT_EQ(file.GetFileName(), CString(u"a.mp3"));
        EXPECT_EQ(file.GetFileFolder(), StrOf(m_dir.GetPath()));
    }
    CFileEx file;
    EXPECT_TRUE(file.OpenFile(StrOf(path)));
    EXPECT_FALSE(file.m_bReadOnly);
}

#ifdef _WIN32
TEST_F(FileExTest, ReadOnlyFileOpensReadOnly)
{
    const fs::path path = MakeFile("ro.mp3", Pattern(300, 4));
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    // Wine run by root opens such a file for writing all the same.
    const HANDLE hWrite = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hWrite != INVALID_HANDLE_VALUE)
    {
        ::CloseHandle(hWrite);
        GTEST_SKIP() << "this system lets the read-only attribute be written over";
    }
    CFileEx file;
    ASSERT_TRUE(file.OpenFile(StrOf(path)));
    EXPECT_TRUE(file.m_bReadOnly);
}

TEST_F(FileExTest, FoldersAndDevicesAreRefused)
{
    const fs::path folder = m_dir.PathOf("folder.mp3");
    fs::create_directory(folder);
    for (const CString& str : {StrOf(folder), CString(u"NUL")})
    {
        CFileEx file;
        CFileException error;
        EXPECT_FALSE(file.OpenFile(str, &error)) << str.ToUtf8();
        EXPECT_EQ(file.m_hFile, INVALID_HANDLE_VALUE);
        EXPECT_NE(error.m_cause, CFileException::none);
    }
}
#else
TEST_F(FileExTest, FileWithoutWritePermissionOpensReadOnly)
{
    const fs::path path = MakeFile("ro.mp3", Pattern(300, 4));
    ASSERT_EQ(0, ::chmod(path.c_str(), 0444));
    auto check = [&]
    {
        CFileEx file;
        if (!file.OpenFile(StrOf(path)))
            return 1;
        return file.m_bReadOnly ? 0 : 2;
    };
    if (::geteuid() != 0)
    {
        EXPECT_EQ(check(), 0);
        return;
    }
    // Root writes regardless of the mode bits: check as an ordinary user.
    ASSERT_EQ(0, ::chmod(m_dir.GetPath().c_str(), 0755));
    const int rc = RunInChild([&] { return DropToNobody() ? check() : nCannotDrop; });
    if (rc == nCannotDrop)
        GTEST_SKIP() << "running as root without the right to become another user";
    EXPECT_EQ(rc, 0);
}

TEST_F(FileExTest, FoldersFifosAndDevicesAreRefusedWithoutBlocking)
{
    const fs::path fifo = m_dir.PathOf("pipe.mp3");
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0644));
    const fs::path folder = m_dir.PathOf("folder.mp3");
    fs::create_directory(folder);

    // In a child: a blocking open of the FIFO would hang, and the alarm turns that into a failure.
    const int rc = RunInChild(
        [&]
        {
            int nResult = 0;
            for (const CString& str : {StrOf(fifo), StrOf(folder), CString(u"/dev/null")})
            {
                CFileEx file;
                CFileException error;
                if (file.OpenFile(str, &error) || file.m_hFile != INVALID_HANDLE_VALUE)
                    nResult |= 1;
                if (error.m_cause == CFileException::none)
                    nResult |= 2;
            }
            return nResult;
        });
    EXPECT_EQ(rc, 0);
}

#endif

TEST_F(FileExTest, MissingFileReportsNotFoundAndKeepsTheFullPath)
{
    CFileEx file;
    CFileException error;
    const CString sep(Path::chSeparator);
    const CString strPath = m_dir.StrPath() + sep + u"sub" + sep + u".." + sep + u"missing.mp3";
    EXPECT_FALSE(file.OpenFile(strPath, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
#ifdef _WIN32
    EXPECT_EQ(error.m_lOsError, static_cast<LONG>(ERROR_FILE_NOT_FOUND));
#else
    EXPECT_EQ(error.m_lOsError, ENOENT);
#endif
    EXPECT_EQ(file.GetFilePath(), m_dir.StrPath() + sep + u"missing.mp3");
    EXPECT_EQ(file.GetFileFolder(), m_dir.StrPath());
}

#ifdef _WIN32
TEST(FileExFolderTest, GetFileFolder)
{
    CFileEx file;
    EXPECT_EQ(file.GetFileFolder(), CString());

    file.OpenFile(u"C:\\no-such-folder-tw\\b.mp3");
    EXPECT_EQ(file.GetFileFolder(), CString(u"C:\\no-such-folder-tw"));
    EXPECT_EQ(file.GetFileName(), CString(u"b.mp3"));

    // A bare name is taken against the current directory.
    file.OpenFile(u"no-such-file-tw.mp3");
    EXPECT_EQ(file.GetFileFolder(), Path::GetCurrentDirectory());
    EXPECT_EQ(file.GetFilePath(), Path::GetCurrentDirectory() + u"\\no-such-file-tw.mp3");
}
#else
TEST(FileExFolderTest, GetFileFolder)
{
    CFileEx file;
    EXPECT_EQ(file.GetFileFolder(), CString());

    file.OpenFile(u"/no-such-folder-tw/b.mp3");
    EXPECT_EQ(file.GetFileFolder(), CString(u"/no-such-folder-tw"));
    EXPECT_EQ(file.GetFileName(), CString(u"b.mp3"));

    // A file in the root: the only separator is the first character.
    file.OpenFile(u"/no-such-file-tw.mp3");
    EXPECT_EQ(file.GetFileFolder(), CString());

    // A bare name is taken against the current directory.
    file.OpenFile(u"no-such-file-tw.mp3");
    EXPECT_EQ(file.GetFileFolder(), Path::GetCurrentDirectory());
    EXPECT_EQ(file.GetFilePath(), Path::GetCurrentDirectory() + u"/no-such-file-tw.mp3");
}
#endif

// ---------------------------------------------------------------------------------------------
// ReplaceHead

TEST_F(FileExTest, ReplaceHeadOfEqualLengthWritesInPlace)
{
    const Bytes original = Pattern(5000, 5);
    const fs::path path = MakeFile("a.mp3", original);
    const auto nInode = InodeOf(path);

    CFileEx file;
    ASSERT_TRUE(file.OpenFile(StrOf(path)));
    const Bytes head = Pattern(100, 6);
    file.ReplaceHead(head.data(), 100, 100);
    EXPECT_EQ(file.GetPosition(), 100u);
    file.Close();

    EXPECT_EQ(InodeOf(path), nInode);
    const Bytes after = ReadFileBytes(path);
    ASSERT_EQ(after.size(), original.size());
    EXPECT_EQ(Slice(after, 0, 100), head);
    EXPECT_EQ(Slice(after, 100, 4900), Slice(original, 100, 4900));
    EXPECT_EQ(Entries(m_dir.GetPath()), std::vector<std::string>{"a.mp3"});
}

TEST_F(FileExTest, ReplaceHeadShrinksAndGrows)
{
    const Bytes original = Pattern(2000, 7);
    const fs::path path = MakeFile("a.mp3", original);
    const Bytes rest = Slice(original, 100, 1900);

    CFileEx file;
    ASSERT_TRUE(file.OpenFile(StrOf(path)));
    const Bytes small = Pattern(40, 8);
    file.ReplaceHead(small.data(), 40, 100);
    EXPECT_EQ(file.GetLength(), 1940u);
    EXPECT_EQ(file.GetPosition(), 40u);
    EXPECT_EQ(Fixtures::ReadHeldFileBytes(path, file), Fixtures::Concat({small, rest}));

    // The object goes on with the new file: a second save replaces exactly the first one.
    const Bytes big = Pattern(300, 9);
    file.ReplaceHead(big.data(), 300, 40);
    EXPECT_EQ(file.GetLength(), 2200u);
    EXPECT_EQ(Fixtures::ReadHeldFileBytes(path, file), Fixtures::Concat({big, rest}));

    Bytes readBack(1900);
    EXPECT_EQ(file.Read(readBack.data(), 1900), 1900u);
    EXPECT_EQ(readBack, rest);

    // Insert in front of a file without a head, then take it out again.
    file.ReplaceHead(small.data(), 40, 0);
    EXPECT_EQ(Fixtures::ReadHeldFileBytes(path, file), Fixtures::Concat({small, big, rest}));
    file.ReplaceHead(nullptr, 0, 40);
    EXPECT_EQ(Fixtures::ReadHeldFileBytes(path, file), Fixtures::Concat({big, rest}));
    EXPECT_EQ(Entries(m_dir.GetPath()), std::vector<std::string>{"a.mp3"});

    // Still ours alone.
    EXPECT_EQ(RunOtherOpen([&] { return CFileEx().OpenFile(StrOf(path)) ? 1 : 0; }), 0);
}

TEST_F(FileExTest, ReplaceHeadOfMoreThanTheFileReplacesAllOfIt)
{
    const fs::path path = MakeFile("a.mp3", Pattern(50, 10));
    CFileEx file;
    ASSERT_TRUE(file.OpenFile(StrOf(path)));
    const Bytes head = Pattern(80, 11);
    file.ReplaceHead(head.data(), 80, 200);
    EXPECT_EQ(Fixtures::ReadHeldFileBytes(path, file), head);
}

TEST_F(FileExTest, RewriteOfALargeFileMovesEveryBlock)
{
    // Several copy blocks with an odd remainder.
    const Bytes original = Pattern(3 * 1024 * 1024 + 12345, 12);
    const fs::path path = MakeFile("big.mp3", original);
    CFileEx file;
    ASSERT_TRUE(file.OpenFile(StrOf(path)));
    const Bytes head = Pattern(4321, 13);
    file.ReplaceHead(head.data(), 4321, 1000);
    Bytes expected = head;
    expected.insert(expected.end(), original.begin() + 1000, original.end());
    EXPECT_EQ(Fixtures::ReadHeldFileBytes(path, file), expected);

    file.RemoveRange(1024 * 1024 + 7, 1024 * 1024);
    expected.erase(expected.begin() + 1024 * 1024 + 7, expected.begin() + 2 * 1024 * 1024 + 7);
    EXPECT_EQ(file.GetLength(), expected.size());
    EXPECT_EQ(Fixtures::ReadHeldFileBytes(path, file), expected);
}

// ---------------------------------------------------------------------------------------------
// RemoveRange

TEST_F(FileExTest, RemoveRange)
{
    const Bytes original = Pattern(1000, 14);
    const fs::path path = MakeFile("a.mp3", original);
    CFileEx file;
    ASSERT_TRUE(file.OpenFile(StrOf(path)));

    file.RemoveRange(100, 50);
    Bytes expected = Fixtures::Concat({Slice(original, 0, 100), Slice(original, 150, 850)});
    EXPECT_EQ(Fixtures::ReadHeldFileBytes(path, file), expected);
    EXPECT_EQ(file.GetPosition(), 100u);

    // Nothing to remove: no change.
    file.RemoveRange(950, 10);
    file.RemoveRange(10, 0);
    EXPECT_EQ(Fixtures::ReadHeldFileBytes(path, file), expected);

    // A range running past the end cuts the file at its position.
    file.RemoveRange(900, 1000);
    expected.resize(900);
    EXPECT_EQ(Fixtures::ReadHeldFileBytes(path, file), expected);

    file.RemoveRange(0, 900);
    EXPECT_EQ(file.GetLength(), 0u);
    EXPECT_TRUE(Fixtures::ReadHeldFileBytes(path, file).empty());
    EXPECT_EQ(Entries(m_dir.GetPath()), std::vector<std::string>{"a.mp3"});
}

TEST_F(FileExTest, RemoveRangeOfTheWholeFileAtZeroLeavesItEmpty)
{
    const fs::path path = MakeFile("a.mp3", Pattern(777, 15));
    CFileEx file;
    ASSERT_TRUE(file.OpenFile(StrOf(path)));
    file.RemoveRange(0, 777);
    EXPECT_EQ(file.GetLength(), 0u);
    file.Close();
    EXPECT_EQ(fs::file_size(path), 0u);
}

// ---------------------------------------------------------------------------------------------
// What a rewrite keeps

#ifdef _WIN32
TEST_F(FileExTest, RewriteKeepsAttributesAndCreationTime)
{
    const fs::path path = MakeFile("a.mp3", Pattern(600, 16));
    const HANDLE h = ::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME ftCreated = {};
    ftCreated.dwHighDateTime = 0x01C0A000; // 2000
    ASSERT_TRUE(::SetFileTime(h, &ftCreated, nullptr, nullptr));
    FILETIME ftKept = {};
    ::GetFileTime(h, &ftKept, nullptr, nullptr);
    ::CloseHandle(h);
    // Under Wine the Linux file system may keep neither; then there is nothing to compare.
    const bool bKeepsCreation = ::CompareFileTime(&ftKept, &ftCreated) == 0;
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    const bool bKeepsHidden = (::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0;

    CFileEx file;
    ASSERT_TRUE(file.OpenFile(StrOf(path)));
    const Bytes head = Pattern(10, 17);
    file.ReplaceHead(head.data(), 10, 0);
    file.RemoveRange(100, 20);
    FILETIME ftAfter = {};
    ASSERT_TRUE(::GetFileTime(file.m_hFile, &ftAfter, nullptr, nullptr));
    file.Close();

    if (bKeepsCreation)
    {
        EXPECT_EQ(::CompareFileTime(&ftAfter, &ftCreated), 0);
    }
    if (bKeepsHidden)
    {
        EXPECT_NE(::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    }
    EXPECT_EQ(ReadFileBytes(path).size(), 590u);
    EXPECT_EQ(Entries(m_dir.GetPath()), std::vector<std::string>{"a.mp3"});
}

TEST_F(FileExTest, RewriteNearThePathLimitAndAfterAKilledRewrite)
{
    // A name that leaves no room for the temporary file's longer one beside it.
    const size_t nFolder = StrOf(m_dir.GetPath()).GetLength() + 1;
    const std::string strName = std::string(MAX_PATH - 1 - nFolder - 4, 'n') + ".mp3";
    const Bytes original = Pattern(400, 20);
    const fs::path path = MakeFile(strName, original);
    // What killed rewrites of it left, and a temporary file some rewrite still holds.
    const fs::path stale = MakeFile(".a.mp3.tw0123456789ab.tmp", Bytes(5, 1));
    const fs::path held = MakeFile(".a.mp3.twabcdef012345.tmp", Bytes(5, 2));
    const fs::path other = MakeFile(".b.mp3.tw0123456789ab.tmp", Bytes(5, 3));
    const fs::path a = MakeFile("a.mp3", original);
    {
        CFileEx file;
        ASSERT_TRUE(file.OpenFile(StrOf(path)));
        const Bytes head = Pattern(30, 21);
        file.ReplaceHead(head.data(), 30, 10);
        file.Close();
        EXPECT_EQ(ReadFileBytes(path), Fixtures::Concat({head, Slice(original, 10, 390)}));
    }
    {
        CLockHolder holder(held, kExclusive);
        ASSERT_TRUE(holder.IsReady());
        CFileEx file;
        ASSERT_TRUE(file.OpenFile(StrOf(a)));
        file.RemoveRange(0, 100);
    }
    EXPECT_EQ(ReadFileBytes(a), Slice(original, 100, 300));
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(held));
    EXPECT_TRUE(fs::exists(other));
    EXPECT_EQ(Entries(m_dir.GetPath()).size(), 4u);
}
#else
TEST_F(FileExTest, RewriteKeepsPermissionsAndOwner)
{
    const fs::path path = MakeFile("a.mp3", Pattern(600, 16));
    ASSERT_EQ(0, ::chmod(path.c_str(), 0640));
    const bool bRoot = ::geteuid() == 0;
    if (bRoot)
    {
        ASSERT_EQ(0, ::chown(path.c_str(), nNobody, nNobody));
    }

    CFileEx file;
    ASSERT_TRUE(file.OpenFile(StrOf(path)));
    const Bytes head = Pattern(10, 17);
    file.ReplaceHead(head.data(), 10, 0);
    file.RemoveRange(100, 20);

    struct stat st = {};
    ASSERT_EQ(0, ::stat(path.c_str(), &st));
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (bRoot)
    {
        EXPECT_EQ(st.st_uid, nNobody);
        EXPECT_EQ(st.st_gid, nNobody);
    }
}

TEST_F(FileExTest, RewriteThroughASymbolicLinkKeepsTheLink)
{
    fs::create_directory(m_dir.PathOf("store"));
    const Bytes original = Pattern(900, 18);
    const fs::path target = MakeFile("store/target.mp3", original);
    const fs::path link = m_dir.PathOf("link.mp3");
    fs::create_symlink("store/target.mp3", link);

    CFileEx file;
    ASSERT_TRUE(file.OpenFile(StrOf(link)));
    const Bytes head = Pattern(64, 19);
    file.ReplaceHead(head.data(), 64, 32);
    EXPECT_EQ(file.GetFilePath(), StrOf(link));
    file.Close();

    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(fs::read_symlink(link), fs::path("store/target.mp3"));
    EXPECT_EQ(ReadFileBytes(target), Fixtures::Concat({head, Slice(original, 32, 868)}));
    EXPECT_EQ(Entries(m_dir.GetPath()), (std::vector<std::string>{"link.mp3", "store"}));
    EXPECT_EQ(Entries(m_dir.PathOf("store")), std::vector<std::string>{"target.mp3"});
}

TEST_F(FileExTest, RewriteOfNamesThatAreNotUtf8OrLong)
{
    const Bytes original = Pattern(400, 20);
    std::string strLongName;
    for (int i = 0; i < 125; ++i)
        strLongName += "\xC3\xA9"; // 250 bytes of "é"
    strLongName += ".mp3";
    for (const std::string& strName : {std::string("\xFF\xFE-\xC3.mp3"), strLongName})
    {
        const fs::path path = MakeFile(strName, original);
        CFileEx file;
        ASSERT_TRUE(file.OpenFile(StrOf(path)));
        EXPECT_EQ(file.GetFileName(), Path::FromNative(strName));
        const Bytes head = Pattern(30, 21);
        file.ReplaceHead(head.data(), 30, 10);
        file.Close();
        EXPECT_EQ(ReadFileBytes(path), Fixtures::Concat({head, Slice(original, 10, 390)}));
        EXPECT_EQ(Entries(m_dir.GetPath()), std::vector<std::string>{strName});
        fs::remove(path);
    }
}

// ---------------------------------------------------------------------------------------------
// Failing rewrites leave the original as it was (file size and descriptor limits and folder
// modes: POSIX's)

class FailingRewriteTest : public FileExTest
{
protected:
    void SetUp() override
    {
        m_original = Pattern(200 * 1024 + 3, 22);
        m_path = MakeFile("song.mp3", m_original);
    }

    void ExpectUntouched()
    {
        EXPECT_EQ(ReadFileBytes(m_path), m_original);
        EXPECT_EQ(Entries(m_path.parent_path()), std::vector<std::string>{"song.mp3"});
    }

    // In a child: opens the file, lets prepare() set up the failure, runs the rewrite and
    // expects the given cause. Exit codes: 0 as expected, 1 no exception, 2 another cause,
    // 3 not opened, 4 the object lost its file.
    template <typename Prepare, typename Act>
    int RunFailing(Prepare prepare, Act act, int nExpectedCause)
    {
        return RunInChild(
            [&]
            {
                CFileEx file;
                if (!file.OpenFile(StrOf(m_path)))
                    return 3;
                const int nPrepared = prepare();
                if (nPrepared != 0)
                    return nPrepared;
                try
                {
                    act(file);
                    return 1;
                }
                catch (const CFileException& e)
                {
                    if (e.m_cause != nExpectedCause)
                        return 2;
                }
                // The object still works on the unchanged file.
                if (file.m_hFile == INVALID_HANDLE_VALUE || file.GetLength() != m_original.size())
                    return 4;
                return 0;
            });
    }

    Bytes m_original;
    fs::path m_path;
};

TEST_F(FailingRewriteTest, FileSizeLimitStopsGrowAndShrink)
{
    auto limit = []
    {
        ::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit rl = {64 * 1024, 64 * 1024};
        return ::setrlimit(RLIMIT_FSIZE, &rl) == 0 ? 0 : 10;
    };
    const Bytes head = Pattern(5000, 23);
    EXPECT_EQ(RunFailing(
                  limit, [&](CFileEx& f) { f.ReplaceHead(head.data(), 5000, 100); },
                  CFileException::diskFull),
              0);
    ExpectUntouched();
    EXPECT_EQ(RunFailing(
                  limit, [&](CFileEx& f) { f.RemoveRange(10, 1000); }, CFileException::diskFull),
              0);
    ExpectUntouched();
}

TEST_F(FailingRewriteTest, NoDescriptorForTheTemporaryFile)
{
    auto limit = []
    {
        // The sanitizers check an object's type through a pipe the first time they see it; let
        // them see the exception now, while descriptors are still free.
        try
        {
            throw CFileException(CFileException::tooManyOpenFiles, EMFILE, CString(u"x"));
        }
        catch (const CFileException& e)
        {
            if (e.m_cause != CFileException::tooManyOpenFiles)
                return 12;
        }
        // The lowest free descriptor is the last one allowed: the folder takes it and the
        // temporary file gets none.
        const int fd = ::open("/dev/null", O_RDONLY);
        if (fd < 0)
            return 10;
        ::close(fd);
        const struct rlimit rl = {static_cast<rlim_t>(fd + 1), static_cast<rlim_t>(fd + 1)};
        return ::setrlimit(RLIMIT_NOFILE, &rl) == 0 ? 0 : 11;
    };
    const Bytes head = Pattern(50, 24);
    EXPECT_EQ(RunFailing(
                  limit, [&](CFileEx& f) { f.ReplaceHead(head.data(), 50, 0); },
                  CFileException::tooManyOpenFiles),
              0);
    ExpectUntouched();
}

TEST_F(FailingRewriteTest, FolderWithoutWritePermission)
{
    ASSERT_EQ(0, ::chmod(m_path.c_str(), 0666));
    ASSERT_EQ(0, ::chmod(m_dir.GetPath().c_str(), 0555));
    const bool bRoot = ::geteuid() == 0;
    // Root ignores the folder's mode: the child becomes an ordinary user first.
    auto prepare = [bRoot] { return !bRoot || DropToNobody() ? 0 : nCannotDrop; };
    const Bytes head = Pattern(50, 25);
    const int rc = RunFailing(
        prepare, [&](CFileEx& f) { f.ReplaceHead(head.data(), 50, 10); },
        CFileException::accessDenied);
    ::chmod(m_dir.GetPath().c_str(), 0700);
    if (rc == nCannotDrop)
        GTEST_SKIP() << "running as root without the right to become another user";
    EXPECT_EQ(rc, 0);
    ExpectUntouched();
}

#endif

TEST_F(FileExTest, FilesOf4GiBOrMoreAreNeverWritten)
{
    const fs::path path = m_dir.PathOf("huge.mp3");
    const ULONGLONG n4GiB = 0x100000000ULL;
#ifdef _WIN32
    {
        std::error_code ec;
        WriteFileBytes(path, Bytes());
        fs::resize_file(path, n4GiB, ec); // sparse where the file system can
        if (ec)
            GTEST_SKIP() << "the file system cannot hold a 4 GiB file";
    }
#else
    {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        const bool bSized = ::ftruncate(fd, static_cast<off_t>(n4GiB)) == 0; // sparse
        ::close(fd);
        if (!bSized)
            GTEST_SKIP() << "the file system cannot hold a 4 GiB file";
    }
#endif
    CFileEx file;
    ASSERT_TRUE(file.OpenFile(StrOf(path)));
    const Bytes head = Pattern(20, 26);
    EXPECT_THROW(file.ReplaceHead(head.data(), 20, 20), CFileException);
    EXPECT_THROW(file.ReplaceHead(head.data(), 20, 10), CFileException);
    EXPECT_THROW(file.RemoveRange(0, 10), CFileException);
    EXPECT_EQ(file.GetLength(), n4GiB);

    // Just below the limit, a rewrite that would reach it is refused as well.
    file.SetLength(n4GiB - 10);
    EXPECT_THROW(file.ReplaceHead(head.data(), 20, 0), CFileException);
    EXPECT_EQ(file.GetLength(), n4GiB - 10);
    Bytes start(20);
    file.SeekToBegin();
    EXPECT_EQ(file.Read(start.data(), 20), 20u);
    EXPECT_EQ(start, Bytes(20, 0));
    EXPECT_EQ(Entries(m_dir.GetPath()), std::vector<std::string>{"huge.mp3"});
}

} // namespace
