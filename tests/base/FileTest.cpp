#include "base/File.h"

#include "base/FileTime.h"
#include "base/Path.h"
#include "fixtures/FileBytes.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using Fixtures::Bytes;
using Fixtures::BytesOf;
using Fixtures::CTempDir;
using Fixtures::ReadFileBytes;
using Fixtures::WriteFileBytes;
namespace fs = std::filesystem;

namespace
{

CString StrOf(const fs::path& path)
{
    return Path::FromNative(path.native());
}

// The system's error codes for the cases below.
#ifdef _WIN32
constexpr LONG kNotFound = ERROR_FILE_NOT_FOUND;
constexpr LONG kIsFolder = ERROR_ACCESS_DENIED;
constexpr LONG kNotOpenForWriting = ERROR_ACCESS_DENIED;
const CString kNullDevice = u"NUL";
#else
constexpr LONG kNotFound = ENOENT;
constexpr LONG kIsFolder = EISDIR;
constexpr LONG kNotOpenForWriting = EBADF;
const CString kNullDevice = u"/dev/null";
#endif

TEST(FileTest, WriteReadSeekAndLength)
{
    CTempDir dir;
    const CString strPath = StrOf(dir.PathOf("data.bin"));
    {
        CFile file;
        ASSERT_TRUE(file.Open(strPath, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
        file.Write("hello world", 11);
        EXPECT_EQ(file.GetPosition(), 11u);
        file.Flush();
    } // closed on delete
    EXPECT_EQ(ReadFileBytes(dir.PathOf("data.bin")), BytesOf("hello world"));

    CFile file(strPath, CFile::modeReadWrite);
    EXPECT_EQ(file.GetLength(), 11u);
    char sz[16] = {};
    EXPECT_EQ(file.Seek(6, CFile::begin), 6u);
    EXPECT_EQ(file.Read(sz, 16), 5u); // fewer only at the end
    EXPECT_STREQ(sz, "world");
    EXPECT_EQ(file.Read(sz, 16), 0u);
    EXPECT_EQ(file.Seek(-5, CFile::end), 6u);
    EXPECT_EQ(file.Seek(-1, CFile::current), 5u);
    EXPECT_EQ(file.SeekToEnd(), 11u);
    file.SeekToBegin();
    EXPECT_EQ(file.GetPosition(), 0u);

    file.SetLength(5);
    EXPECT_EQ(file.GetLength(), 5u);
    file.SetLength(8);
    file.Close();
    EXPECT_EQ(ReadFileBytes(dir.PathOf("data.bin")), Bytes({'h', 'e', 'l', 'l', 'o', 0, 0, 0}));
    // The path stays known after Close.
    EXPECT_EQ(file.GetFilePath(), strPath);
    EXPECT_EQ(file.m_hFile, INVALID_HANDLE_VALUE);
}

TEST(FileTest, NamesOfThePath)
{
    CTempDir dir;
    CFile file;
    const CString sep(Path::chSeparator);
    file.Open(dir.StrPath() + sep + u"x" + sep + u".." + sep + u"song.tag.mp3", CFile::modeRead);
    EXPECT_EQ(file.GetFilePath(), dir.StrPath() + sep + u"song.tag.mp3");
    EXPECT_EQ(file.GetFileName(), CString(u"song.tag.mp3"));
    EXPECT_EQ(file.GetFileTitle(), CString(u"song.tag"));
    file.SetFilePath(u"/a/.hidden");
    EXPECT_EQ(file.GetFileTitle(), CString(u".hidden"));
}

#ifdef _WIN32
TEST(FileTest, NameTakesTheSpellingOnDisk)
{
    CTempDir dir;
    WriteFileBytes(dir.PathOf("Song.mp3"), BytesOf("x"));
    CFile file;
    ASSERT_TRUE(file.Open(dir.StrPathOf("sONG.MP3"), CFile::modeRead));
    EXPECT_EQ(file.GetFileName(), CString(u"Song.mp3"));
    EXPECT_EQ(file.GetFilePath(), dir.StrPathOf("Song.mp3"));
}
#endif

TEST(FileTest, CreateTruncatesUnlessToldNot)
{
    CTempDir dir;
    const fs::path path = dir.PathOf("f.bin");
    WriteFileBytes(path, BytesOf("0123456789"));
    {
        CFile file(StrOf(path), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
        EXPECT_EQ(file.GetLength(), 10u);
    }
    {
        CFile file(StrOf(path), CFile::modeCreate | CFile::modeReadWrite);
        EXPECT_EQ(file.GetLength(), 0u);
    }
}

TEST(FileTest, FailedOpenFillsTheException)
{
    CTempDir dir;
    const CString strPath = dir.StrPathOf("missing.bin");
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(strPath, CFile::modeRead, &error));
    EXPECT_EQ(file.m_hFile, INVALID_HANDLE_VALUE);
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_lOsError, kNotFound);
    EXPECT_EQ(error.m_strFileName, strPath);
#ifdef _WIN32
    EXPECT_FALSE(error.GetErrorMessage().IsEmpty()); // the system's text, in its language
#else
    EXPECT_EQ(error.GetErrorMessage(), CString::FromUtf8(std::strerror(ENOENT)));
#endif
    EXPECT_NE(std::string(error.what()).find("missing.bin"), std::string::npos);

    char16_t sz[6];
    EXPECT_TRUE(error.GetErrorMessage(sz, 6));
    EXPECT_EQ(CString(sz), error.GetErrorMessage().Left(5));

    try
    {
        CFile thrown(strPath, CFile::modeRead);
        ADD_FAILURE() << "no exception";
    }
    catch (const CFileException& e)
    {
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    }

    // A name with a zero in it is refused, not cut short.
    WriteFileBytes(dir.PathOf("a"), BytesOf("x"));
    EXPECT_FALSE(file.Open(dir.StrPathOf("a") + CString(u'\0') + u"b", CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);
    EXPECT_FALSE(file.Open(CString(), CFile::modeRead, &error));
}

TEST(FileTest, NonRegularFilesAreRefused)
{
    CTempDir dir;
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(dir.StrPath(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);
    EXPECT_EQ(error.m_lOsError, kIsFolder);
    EXPECT_FALSE(file.Open(kNullDevice, CFile::modeRead | CFile::shareDenyNone, &error));
    EXPECT_EQ(error.m_cause, CFileException::invalidFile);
    EXPECT_EQ(file.m_hFile, INVALID_HANDLE_VALUE);
}

TEST(FileTest, ShareModesAsLocks)
{
    CTempDir dir;
    const CString strPath = StrOf(dir.PathOf("f.bin"));
    WriteFileBytes(dir.PathOf("f.bin"), BytesOf("abc"));

    CFile exclusive;
    ASSERT_TRUE(exclusive.Open(strPath, CFile::modeReadWrite | CFile::shareExclusive));
    CFile other;
    CFileException error;
    EXPECT_FALSE(other.Open(strPath, CFile::modeRead | CFile::shareDenyWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    EXPECT_FALSE(other.Open(strPath, CFile::modeReadWrite | CFile::shareCompat, &error));
#ifdef _WIN32
    // The system's share modes: an exclusive open admits nobody.
    EXPECT_FALSE(other.Open(strPath, CFile::modeRead | CFile::shareDenyNone, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
#else
    // Without sharing rules the lock does not matter.
    EXPECT_TRUE(other.Open(strPath, CFile::modeRead | CFile::shareDenyNone));
    other.Close();
#endif
    exclusive.Close();

    CFile reader1;
    CFile reader2;
    ASSERT_TRUE(reader1.Open(strPath, CFile::modeRead | CFile::shareDenyWrite));
    EXPECT_TRUE(reader2.Open(strPath, CFile::modeRead | CFile::shareDenyWrite));
    EXPECT_FALSE(exclusive.Open(strPath, CFile::modeReadWrite | CFile::shareCompat));

    // Deleting an object gives its lock back.
    reader1.Close();
    reader2.Abort();
    EXPECT_TRUE(exclusive.Open(strPath, CFile::modeReadWrite | CFile::shareCompat));
}

TEST(FileTest, ErrorsOfReadWriteAndSeekAreThrown)
{
    CTempDir dir;
    WriteFileBytes(dir.PathOf("f.bin"), BytesOf("abc"));
    CFile file(StrOf(dir.PathOf("f.bin")), CFile::modeRead | CFile::shareDenyWrite);
    try
    {
        file.Write("x", 1);
        ADD_FAILURE() << "wrote to a file opened for reading";
    }
    catch (const CFileException& e)
    {
        EXPECT_EQ(e.m_lOsError, kNotOpenForWriting);
    }
    try
    {
        file.Seek(-10, CFile::begin);
        ADD_FAILURE() << "seek before the start";
    }
    catch (const CFileException& e)
    {
        EXPECT_EQ(e.m_cause, CFileException::badSeek);
    }
    file.Close();
    char c;
    EXPECT_THROW(file.Read(&c, 1), CFileException);
    EXPECT_THROW(file.GetLength(), CFileException);
    file.Close(); // twice is harmless
}

#ifdef _WIN32
TEST(FileTest, OsErrorCauses)
{
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_FILE_NOT_FOUND),
              CFileException::fileNotFound);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_PATH_NOT_FOUND), CFileException::badPath);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_ACCESS_DENIED),
              CFileException::accessDenied);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_SHARING_VIOLATION),
              CFileException::sharingViolation);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_LOCK_VIOLATION),
              CFileException::lockViolation);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_DISK_FULL), CFileException::diskFull);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_HANDLE_EOF), CFileException::endOfFile);
    EXPECT_EQ(CFileException::OsErrorToException(ERROR_NOT_SAME_DEVICE),
              CFileException::genericException);
    EXPECT_FALSE(CFileException(CFileException::diskFull).GetErrorMessage().IsEmpty());
}
#else
TEST(FileTest, OsErrorCauses)
{
    EXPECT_EQ(CFileException::OsErrorToException(ENOENT), CFileException::fileNotFound);
    EXPECT_EQ(CFileException::OsErrorToException(EACCES), CFileException::accessDenied);
    EXPECT_EQ(CFileException::OsErrorToException(ENOSPC), CFileException::diskFull);
    EXPECT_EQ(CFileException::OsErrorToException(EMFILE), CFileException::tooManyOpenFiles);
    EXPECT_EQ(CFileException::OsErrorToException(EWOULDBLOCK), CFileException::sharingViolation);
    EXPECT_EQ(CFileException::OsErrorToException(EIO), CFileException::hardIO);
    EXPECT_EQ(CFileException::OsErrorToException(ENOTDIR), CFileException::badPath);
    EXPECT_EQ(CFileException::OsErrorToException(EXDEV), CFileException::genericException);
    EXPECT_FALSE(CFileException(CFileException::diskFull).GetErrorMessage().IsEmpty());
}
#endif

TEST(FileTimeTest, UnixTimesAsFileTimes)
{
    EXPECT_EQ(FileTimeToUInt64(UnixTimeToFileTime(0, 0)), 116444736000000000ULL);
    EXPECT_EQ(FileTimeToUInt64(UnixTimeToFileTime(1, 999999999)), 116444736019999999ULL);
    EXPECT_EQ(FileTimeToUInt64(UnixTimeToFileTime(-11644473600LL, 0)), 0u);
    EXPECT_EQ(FileTimeToUInt64(UnixTimeToFileTime(-11644473601LL, 0)), 0u);
}

TEST(FileTimeTest, TimesOfAnOpenFile)
{
    CTempDir dir;
    WriteFileBytes(dir.PathOf("f.bin"), BytesOf("abc"));
    CFile file(StrOf(dir.PathOf("f.bin")), CFile::modeReadWrite);
#ifdef _WIN32
    const FILETIME setAccessed = UnixTimeToFileTime(1000000000, 200);
    const FILETIME setWritten = UnixTimeToFileTime(981173106, 123456700);
    ASSERT_TRUE(::SetFileTime(file.m_hFile, nullptr, &setAccessed, &setWritten));
#else
    const struct timespec times[2] = {{1000000000, 250}, {981173106, 123456789}};
    ASSERT_EQ(0, ::futimens(file.m_hFile, times));
#endif

    FILETIME created, accessed, written;
    ASSERT_TRUE(GetFileTime(file.m_hFile, &created, &accessed, &written));
    EXPECT_EQ(FileTimeToUInt64(accessed), FileTimeToUInt64(UnixTimeToFileTime(1000000000, 250)));
    // 2001-02-03 04:05:06.1234567 UTC
    EXPECT_EQ(FileTimeToUInt64(written), 126256467061234567ULL);
    EXPECT_GT(FileTimeToUInt64(created), 116444736000000000ULL);
    EXPECT_TRUE(GetFileTime(file.m_hFile, nullptr, nullptr, nullptr));
    EXPECT_FALSE(GetFileTime(INVALID_HANDLE_VALUE, &created, nullptr, nullptr));
}

} // namespace
