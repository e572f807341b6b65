#include "browser/FileAssocData.h"

#include "RecordFiles.h"
#include "base/File.h"
#include "base/FileTime.h"
#include "base/Path.h"
#include "browser/Collator.h"
#include "tags/mpeg/AudioProperties.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

using namespace Fixtures;
using namespace RecordFiles;

namespace
{

class FileAssocDataTest : public ::testing::Test
{
protected:
    CTempDir m_dir;
};

tagFIELDS V2Fields()
{
    return {u"Title 2", u"Artist 2", u"Album 2", u"2004", u"Comment 2", u"5/12", u"Jazz"};
}

tagFIELDS V1Fields()
{
    return {u"Title 1", u"Artist 1", u"Album 1", u"1999", u"Comment 1", u"7", u"Rock"};
}

void ExpectFields(const CFileAssocData& r, const tagFIELDS& f, int nTrack)
{
    EXPECT_EQ(r.m_strTitle, f.strTitle);
    EXPECT_EQ(r.m_strArtist, f.strArtist);
    EXPECT_EQ(r.m_strAlbum, f.strAlbum);
    EXPECT_EQ(r.m_strYear, f.strYear);
    EXPECT_EQ(r.m_strComment, f.strComment);
    EXPECT_EQ(r.m_nTrack, nTrack);
    EXPECT_EQ(r.m_strGenre, f.strGenre);
}

void ExpectNoTagFields(const CFileAssocData& r)
{
    ExpectFields(r, tagFIELDS{}, 0);
    EXPECT_EQ(r.m_strTag, u"");
    EXPECT_EQ(r.GetText(CFileAssocData::FIELD_TRACK), u"");
}

// A 2.4 tag whose second frame declares size zero: the frames before it are kept and the tag
// is marked damaged.
Bytes DamagedV24Tag()
{
    Bytes body = BytesOf("TIT2");
    const std::string strTitle = "Before";
    const BYTE n = static_cast<BYTE>(strTitle.size() + 1);
    for (BYTE b : Bytes{0, 0, 0, n, 0, 0, 3})
        body.push_back(b);
    for (char ch : strTitle)
        body.push_back(static_cast<BYTE>(ch));
    for (BYTE b : BytesOf("TALB"))
        body.push_back(b);
    for (BYTE b : Bytes{0, 0, 0, 0, 0, 0})
        body.push_back(b);
    return CMp3Builder::Id3v2Tag(4, static_cast<UINT>(body.size()) + 64, 0, body);
}

// A fixed time zone for the display of file times, restored afterwards.
class CTimeZone
{
public:
    explicit CTimeZone(const char* pszTZ)
    {
        if (const char* psz = std::getenv("TZ"))
            m_strOld = psz;
        Set(pszTZ);
    }
    ~CTimeZone() { Set(m_strOld ? m_strOld->c_str() : nullptr); }

    static void Set(const char* pszTZ)
    {
#ifdef _WIN32
        ::_putenv_s("TZ", pszTZ ? pszTZ : "");
        ::_tzset();
#else
        if (pszTZ)
            ::setenv("TZ", pszTZ, 1);
        else
            ::unsetenv("TZ");
        ::tzset();
#endif
    }

private:
    std::optional<std::string> m_strOld;
};

FILETIME FileTimeOf(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond)
{
    std::tm tm = {};
    tm.tm_year = nYear - 1900;
    tm.tm_mon = nMonth - 1;
    tm.tm_mday = nDay;
    tm.tm_hour = nHour;
    tm.tm_min = nMinute;
    tm.tm_sec = nSecond;
#ifdef _WIN32
    return UnixTimeToFileTime(::_mkgmtime(&tm), 0);
#else
    return UnixTimeToFileTime(::timegm(&tm), 0);
#endif
}

// Windows converts file times with the system's zone, which the environment does not change;
// the Wine runs of these tests set it to UTC.
bool SystemZoneIsUtc()
{
#ifdef _WIN32
    TIME_ZONE_INFORMATION tzi = {};
    const DWORD dw = ::GetTimeZoneInformation(&tzi);
    return dw != TIME_ZONE_ID_INVALID && tzi.Bias == 0 &&
           (dw == TIME_ZONE_ID_UNKNOWN || tzi.DaylightBias == 0);
#else
    return true;
#endif
}

FILETIME FileTimeFromUInt64(ULONGLONG n)
{
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(n & 0xFFFFFFFFULL);
    ft.dwHighDateTime = static_cast<DWORD>(n >> 32);
    return ft;
}

} // namespace

TEST_F(FileAssocDataTest, StartsEmptyAndNotStale)
{
    const CFileAssocData r;
    EXPECT_FALSE(r.m_bStale);
    EXPECT_EQ(r.m_nSize, 0);
    EXPECT_EQ(FileTimeToUInt64(r.m_ftCreated), 0u);
    EXPECT_EQ(r.m_nBitrate, 0);
    EXPECT_EQ(r.m_nLength, 0);
    EXPECT_TRUE(r.m_strFileName.IsEmpty());
    EXPECT_TRUE(r.m_strTag.IsEmpty());
}

TEST_F(FileAssocDataTest, BothTagsTakeTheFieldsFromID3v2)
{
    const CString path = WriteAudio(m_dir, "both.mp3");
    SaveID3v2(path, 3, V2Fields());
    SaveID3v1(path, V1Fields());

    CFileAssocData r;
    ASSERT_TRUE(r.Load(path));
    EXPECT_EQ(r.m_strTag, u"ID3v1 ID3v2.3");
    ExpectFields(r, V2Fields(), 5);
    EXPECT_EQ(r.GetText(CFileAssocData::FIELD_TRACK), u"5");
}

TEST_F(FileAssocDataTest, OnlyID3v1GivesItsFieldsAndATrailingBlank)
{
    const CString path = WriteAudio(m_dir, "v1.mp3");
    SaveID3v1(path, V1Fields());

    CFileAssocData r;
    ASSERT_TRUE(r.Load(path));
    EXPECT_EQ(r.m_strTag, u"ID3v1 ");
    ExpectFields(r, V1Fields(), 7);
}

TEST_F(FileAssocDataTest, TagSummaryNamesTheID3v2Version)
{
    const CString p3 = WriteAudio(m_dir, "v23.mp3");
    SaveID3v2(p3, 3, V2Fields());
    const CString p4 = WriteAudio(m_dir, "v24.mp3");
    SaveID3v2(p4, 4, V2Fields());

    CFileAssocData r;
    ASSERT_TRUE(r.Load(p3));
    EXPECT_EQ(r.m_strTag, u"ID3v2.3");
    ASSERT_TRUE(r.Load(p4));
    EXPECT_EQ(r.m_strTag, u"ID3v2.4");
    ExpectFields(r, V2Fields(), 5);
}

TEST_F(FileAssocDataTest, NoTagLeavesEveryTagFieldEmpty)
{
    const CString path = WriteAudio(m_dir, "none.mp3");
    CFileAssocData r;
    ASSERT_TRUE(r.Load(path));
    ExpectNoTagFields(r);
}

TEST_F(FileAssocDataTest, DamagedID3v2IsMarkedAndKeepsTheFramesBeforeTheFault)
{
    WriteFileBytes(m_dir.PathOf("bad.mp3"), Concat({DamagedV24Tag(), Audio()}));
    CMp3Builder::Id3v1Fields v1;
    v1.m_strTitle = "From ID3v1";
    WriteFileBytes(m_dir.PathOf("bad1.mp3"),
                   Concat({DamagedV24Tag(), Audio(), CMp3Builder::Id3v1Block(v1)}));

    CFileAssocData r;
    ASSERT_TRUE(r.Load(m_dir.StrPathOf("bad.mp3")));
    EXPECT_EQ(r.m_strTag, u"!ID3v2.4");
    EXPECT_EQ(r.m_strTitle, u"Before");
    EXPECT_EQ(r.m_strAlbum, u"");

    ASSERT_TRUE(r.Load(m_dir.StrPathOf("bad1.mp3")));
    EXPECT_EQ(r.m_strTag, u"ID3v1 !ID3v2.4");
    EXPECT_EQ(r.m_strTitle, u"Before");
}

TEST_F(FileAssocDataTest, EmptyID3v2FieldsAreNotFilledFromID3v1)
{
    const CString path = WriteAudio(m_dir, "emptyv2.mp3");
    tagFIELDS f;
    f.strTrack = u"3"; // a tag with nothing but a track number
    SaveID3v2(path, 3, f);
    SaveID3v1(path, V1Fields());

    CFileAssocData r;
    ASSERT_TRUE(r.Load(path));
    EXPECT_EQ(r.m_strTag, u"ID3v1 ID3v2.3");
    EXPECT_EQ(r.m_strTitle, u"");
    EXPECT_EQ(r.m_strArtist, u"");
    EXPECT_EQ(r.m_nTrack, 3);
}

TEST_F(FileAssocDataTest, TakesNameFolderSizeTimesAndAudioFromTheFile)
{
    const CString path = WriteAudio(m_dir, "song.mp3", 40);
    ASSERT_TRUE(std::filesystem::create_directory(m_dir.PathOf("sub")));

    CFileAssocData r;
    // The record holds the full form of the path.
    const CString sep(Path::chSeparator);
    ASSERT_TRUE(r.Load(m_dir.StrPath() + sep + u"sub" + sep + u".." + sep + u"song.mp3"));
    EXPECT_EQ(r.m_strFileName, u"song.mp3");
    EXPECT_EQ(r.m_strFolder, m_dir.StrPath());
    EXPECT_EQ(r.GetFullPath(), path);
    EXPECT_EQ(r.m_nSize,
              static_cast<LONGLONG>(std::filesystem::file_size(m_dir.PathOf("song.mp3"))));

    FILETIME ftCreated, ftAccessed, ftModified;
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::modeRead | CFile::shareDenyNone));
        ASSERT_TRUE(::GetFileTime(file.m_hFile, &ftCreated, &ftAccessed, &ftModified));
    }
    EXPECT_EQ(FileTimeToUInt64(r.m_ftCreated), FileTimeToUInt64(ftCreated));
    EXPECT_EQ(FileTimeToUInt64(r.m_ftAccessed), FileTimeToUInt64(ftAccessed));
    EXPECT_EQ(FileTimeToUInt64(r.m_ftModified), FileTimeToUInt64(ftModified));
    EXPECT_NE(FileTimeToUInt64(r.m_ftModified), 0u);

    Tags::CMpegFile mpeg(path, TRUE);
    const Tags::CAudioProperties* pProperties = mpeg.GetAudioProperties();
    ASSERT_NE(pProperties, nullptr);
    EXPECT_EQ(r.m_nBitrate, pProperties->GetBitrate());
    EXPECT_GT(r.m_nBitrate, 0);
    EXPECT_EQ(r.m_nSampleRate, 44100);
    EXPECT_EQ(r.m_nChannels, 2);
    EXPECT_EQ(r.m_nLength, pProperties->GetLength());
    EXPECT_EQ(r.GetText(CFileAssocData::FIELD_BITRATE),
              FormatString(u"%dKbps", pProperties->GetBitrate()));
    EXPECT_EQ(r.GetText(CFileAssocData::FIELD_SAMPLERATE), u"44100Hz");
    EXPECT_EQ(r.GetText(CFileAssocData::FIELD_CHANNELS), u"2");
}

TEST_F(FileAssocDataTest, AFileWithoutAudioFramesHasZeroAudioValues)
{
    WriteFileBytes(m_dir.PathOf("text.mp3"), BytesOf("not an mpeg stream at all"));
    CFileAssocData r;
    ASSERT_TRUE(r.Load(m_dir.StrPathOf("text.mp3")));
    EXPECT_EQ(r.m_nBitrate, 0);
    EXPECT_EQ(r.m_nSampleRate, 0);
    EXPECT_EQ(r.m_nChannels, 0);
    EXPECT_EQ(r.m_nLength, 0);
    EXPECT_EQ(r.GetText(CFileAssocData::FIELD_LENGTH), u"00:00");
    EXPECT_EQ(r.GetText(CFileAssocData::FIELD_BITRATE), u"0Kbps");
}

TEST_F(FileAssocDataTest, AFileMissingFailsButStillNamesThePath)
{
    CFileAssocData r;
    EXPECT_FALSE(r.Load(m_dir.StrPathOf("missing.mp3")));
    EXPECT_EQ(r.m_strFileName, u"missing.mp3");
    EXPECT_EQ(r.m_strFolder, m_dir.StrPath());
    ExpectNoTagFields(r);
}

TEST_F(FileAssocDataTest, AFileOthersLockForReadingLoadsReadOnly)
{
    const CString path = WriteAudio(m_dir, "shared.mp3");
    SaveID3v2(path, 3, V2Fields());
    // A shared lock held elsewhere refuses the exclusive open; the read-only fallback remains.
#ifdef _WIN32
    const HANDLE h = ::CreateFileW(Path::ToNative(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
#else
    const int fd = ::open(m_dir.PathOf("shared.mp3").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_SH | LOCK_NB), 0);
#endif
    CFileAssocData r;
    EXPECT_TRUE(r.Load(path));
    EXPECT_EQ(r.m_strTitle, u"Title 2");
#ifdef _WIN32
    ::CloseHandle(h);
#else
    ::close(fd);
#endif
}

TEST_F(FileAssocDataTest, ReloadAfterDeletionEmptiesTheTagFieldsAndKeepsTheRest)
{
    const CString path = WriteAudio(m_dir, "gone.mp3");
    SaveID3v2(path, 3, V2Fields());
    SaveID3v1(path, V1Fields());
    CFileAssocData r;
    ASSERT_TRUE(r.Load(path));
    const LONGLONG nSize = r.m_nSize;
    const ULONGLONG nModified = FileTimeToUInt64(r.m_ftModified);
    const int nBitrate = r.m_nBitrate;
    const int nLength = r.m_nLength;

    ASSERT_TRUE(std::filesystem::remove(m_dir.PathOf("gone.mp3")));
    EXPECT_FALSE(r.Reload());
    ExpectNoTagFields(r);
    EXPECT_EQ(r.GetFullPath(), path);
    EXPECT_EQ(r.m_nSize, nSize);
    EXPECT_EQ(FileTimeToUInt64(r.m_ftModified), nModified);
    EXPECT_EQ(r.m_nBitrate, nBitrate);
    EXPECT_EQ(r.m_nLength, nLength);
}

TEST_F(FileAssocDataTest, ReloadSeesTheChangedTagsAndLeavesTheStaleFlag)
{
    const CString path = WriteAudio(m_dir, "edit.mp3");
    CFileAssocData r;
    ASSERT_TRUE(r.Load(path));
    EXPECT_EQ(r.m_strTag, u"");
    r.m_bStale = TRUE;

    SaveID3v2(path, 4, V2Fields());
    ASSERT_TRUE(r.Reload());
    EXPECT_EQ(r.m_strTag, u"ID3v2.4");
    EXPECT_EQ(r.m_strTitle, u"Title 2");
    EXPECT_TRUE(r.m_bStale);
}

#ifndef _WIN32
// Byte names are Linux's; Windows names are UTF-16 to begin with.
TEST_F(FileAssocDataTest, NamesThatAreNotUtf8SurviveAReload)
{
    const std::string strName = std::string("caf\xE9") + ".mp3"; // Latin-1 byte, invalid UTF-8
    WriteFileBytes(m_dir.GetPath() / strName, Audio());
    CFileAssocData r;
    ASSERT_TRUE(r.Load(m_dir.StrPath() + u"/" + Path::FromNative(strName)));
    EXPECT_EQ(r.m_strFileName, Path::FromNative(strName));
    EXPECT_EQ(r.m_strFileName.GetLength(), 8);
    EXPECT_TRUE(r.Reload());
}
#endif

TEST(FileAssocDataFormat, FileSizes)
{
    EXPECT_EQ(CFileAssocData::FormatFileSize(0), u"0 Bytes");
    EXPECT_EQ(CFileAssocData::FormatFileSize(1023), u"1023 Bytes");
    EXPECT_EQ(CFileAssocData::FormatFileSize(1024), u"1.00 KB");
    EXPECT_EQ(CFileAssocData::FormatFileSize(1536), u"1.50 KB");
    EXPECT_EQ(CFileAssocData::FormatFileSize(1048575), u"1024.00 KB");
    EXPECT_EQ(CFileAssocData::FormatFileSize(1048576), u"1.00 MB");
    EXPECT_EQ(CFileAssocData::FormatFileSize(5000000000LL), u"4768.37 MB");
}

TEST(FileAssocDataFormat, NumbersAndLength)
{
    EXPECT_EQ(CFileAssocData::FormatLength(3725), u"62:05");
    EXPECT_EQ(CFileAssocData::FormatLength(0), u"00:00");
    EXPECT_EQ(CFileAssocData::FormatLength(59), u"00:59");
    EXPECT_EQ(CFileAssocData::FormatLength(6000), u"100:00");
    EXPECT_EQ(CFileAssocData::FormatTrack(0), u"");
    EXPECT_EQ(CFileAssocData::FormatTrack(-3), u"");
    EXPECT_EQ(CFileAssocData::FormatTrack(12), u"12");
    EXPECT_EQ(CFileAssocData::FormatBitrate(0), u"0Kbps");
    EXPECT_EQ(CFileAssocData::FormatSampleRate(22050), u"22050Hz");
    EXPECT_EQ(CFileAssocData::FormatChannels(1), u"1");
}

TEST(FileAssocDataFormat, FileTimesInLocalTime)
{
    if (!SystemZoneIsUtc())
        GTEST_SKIP() << "the system's time zone is not UTC";
    const FILETIME ft = FileTimeOf(2021, 3, 4, 5, 6, 7);
    {
        const CTimeZone tz("UTC0");
        EXPECT_EQ(CFileAssocData::FormatFileTime(ft), u"03/04/2021 05:06:07");
        EXPECT_EQ(CFileAssocData::FormatFileTime(FILETIME{}), u"01/01/1601 00:00:00");
    }
#ifndef _WIN32
    {
        const CTimeZone tz("EST5");
        EXPECT_EQ(CFileAssocData::FormatFileTime(ft), u"03/04/2021 00:06:07");
        EXPECT_EQ(CFileAssocData::FormatFileTime(FileTimeOf(2021, 1, 1, 2, 0, 0)),
                  u"12/31/2020 21:00:00");
        // The first hours of 1601 in UTC lie before the calendar in this zone.
        EXPECT_EQ(CFileAssocData::FormatFileTime(FILETIME{}), u"");
    }
#endif
    // Values the framework refuses to convert.
    EXPECT_EQ(CFileAssocData::FormatFileTime(FileTimeFromUInt64(0x8000000000000000ULL)), u"");
    EXPECT_EQ(CFileAssocData::FormatFileTime(FileTimeFromUInt64(~0ULL)), u"");
}

TEST(FileAssocDataText, EveryFieldByItsColumnId)
{
    if (!SystemZoneIsUtc())
        GTEST_SKIP() << "the system's time zone is not UTC";
    const CTimeZone tz("UTC0");
    CFileAssocData r;
    r.m_strFileName = u"a.mp3";
    r.m_strFolder = u"/music";
    r.m_nSize = 2048;
    r.m_ftCreated = FileTimeOf(2020, 1, 2, 3, 4, 5);
    r.m_ftModified = FileTimeOf(2020, 6, 7, 8, 9, 10);
    r.m_ftAccessed = FileTimeOf(2020, 11, 12, 13, 14, 15);
    r.m_strTag = u"ID3v1 ID3v2.3";
    r.m_strTitle = u"T";
    r.m_strArtist = u"Ar";
    r.m_strAlbum = u"Al";
    r.m_strGenre = u"G";
    r.m_strYear = u"1999";
    r.m_strComment = u"C";
    r.m_nTrack = 4;
    r.m_nLength = 61;
    r.m_nBitrate = 192;
    r.m_nSampleRate = 48000;
    r.m_nChannels = 1;

    const char16_t* expected[CFileAssocData::FIELD_COUNT] = {u"a.mp3",
                                                             u"2.00 KB",
                                                             u"01/02/2020 03:04:05",
                                                             u"06/07/2020 08:09:10",
                                                             u"11/12/2020 13:14:15",
                                                             u"/music",
                                                             u"ID3v1 ID3v2.3",
                                                             u"T",
                                                             u"Ar",
                                                             u"Al",
                                                             u"G",
                                                             u"1999",
                                                             u"C",
                                                             u"4",
                                                             u"01:01",
                                                             u"192Kbps",
                                                             u"48000Hz",
                                                             u"1"};
    for (int i = 0; i < CFileAssocData::FIELD_COUNT; ++i)
        EXPECT_EQ(r.GetText(i), expected[i]) << "field " << i;
    EXPECT_EQ(r.GetText(-1), u"");
    EXPECT_EQ(r.GetText(CFileAssocData::FIELD_COUNT), u"");
    EXPECT_EQ(r.GetFullPath(), CString(u"/music") + Path::chSeparator + u"a.mp3");
}

TEST(FileAssocDataCompare, NumbersAndTimesBySign)
{
    const CCollator collator("C");
    CFileAssocData a;
    CFileAssocData b;
    a.m_nBitrate = INT_MIN;
    b.m_nBitrate = INT_MAX;
    EXPECT_EQ(CFileAssocData::Compare(a, b, CFileAssocData::FIELD_BITRATE, collator), -1);
    EXPECT_EQ(CFileAssocData::Compare(b, a, CFileAssocData::FIELD_BITRATE, collator), 1);
    EXPECT_EQ(CFileAssocData::Compare(a, a, CFileAssocData::FIELD_BITRATE, collator), 0);

    a.m_nSize = 5000000000LL;
    b.m_nSize = 1;
    EXPECT_GT(CFileAssocData::Compare(a, b, CFileAssocData::FIELD_SIZE, collator), 0);

    a.m_nTrack = 2;
    b.m_nTrack = 10;
    a.m_nLength = 100;
    b.m_nLength = 99;
    a.m_nSampleRate = b.m_nSampleRate = 44100;
    a.m_nChannels = 1;
    b.m_nChannels = 2;
    EXPECT_EQ(CFileAssocData::Compare(a, b, CFileAssocData::FIELD_TRACK, collator), -1);
    EXPECT_EQ(CFileAssocData::Compare(a, b, CFileAssocData::FIELD_LENGTH, collator), 1);
    EXPECT_EQ(CFileAssocData::Compare(a, b, CFileAssocData::FIELD_SAMPLERATE, collator), 0);
    EXPECT_EQ(CFileAssocData::Compare(a, b, CFileAssocData::FIELD_CHANNELS, collator), -1);

    // The high part of a file time outweighs the low part.
    a.m_ftModified = {0xFFFFFFFF, 1};
    b.m_ftModified = {0, 2};
    a.m_ftCreated = b.m_ftCreated = {5, 5};
    a.m_ftAccessed = {1, 0};
    b.m_ftAccessed = {0, 0};
    EXPECT_EQ(CFileAssocData::Compare(a, b, CFileAssocData::FIELD_MODIFIED, collator), -1);
    EXPECT_EQ(CFileAssocData::Compare(a, b, CFileAssocData::FIELD_CREATED, collator), 0);
    EXPECT_EQ(CFileAssocData::Compare(a, b, CFileAssocData::FIELD_ACCESSED, collator), 1);

    // Unknown columns compare equal.
    EXPECT_EQ(CFileAssocData::Compare(a, b, 99, collator), 0);
    EXPECT_EQ(CFileAssocData::Compare(a, b, -1, collator), 0);
}

TEST(FileAssocDataCompare, TextFieldsUseTheCollator)
{
    const CCollator collator("C");
    CFileAssocData a;
    CFileAssocData b;
    a.m_strYear = u"1999";
    b.m_strYear = u"2000";
    a.m_strTitle = u"B";
    b.m_strTitle = u"a";
    a.m_strFolder = b.m_strFolder = u"/x";
    EXPECT_LT(CFileAssocData::Compare(a, b, CFileAssocData::FIELD_YEAR, collator), 0);
    // The C locale orders by code point: upper case first.
    EXPECT_LT(CFileAssocData::Compare(a, b, CFileAssocData::FIELD_TITLE, collator), 0);
    EXPECT_EQ(CFileAssocData::Compare(a, b, CFileAssocData::FIELD_FOLDER, collator), 0);
    const int textFields[] = {CFileAssocData::FIELD_FILENAME, CFileAssocData::FIELD_TAG,
                              CFileAssocData::FIELD_ARTIST,   CFileAssocData::FIELD_ALBUM,
                              CFileAssocData::FIELD_GENRE,    CFileAssocData::FIELD_COMMENT};
    for (const int nField : textFields)
    {
        CFileAssocData x;
        CFileAssocData y;
        x.m_strFileName = x.m_strTag = x.m_strArtist = x.m_strAlbum = x.m_strGenre =
            x.m_strComment = u"x";
        y.m_strFileName = y.m_strTag = y.m_strArtist = y.m_strAlbum = y.m_strGenre =
            y.m_strComment = u"y";
        EXPECT_LT(CFileAssocData::Compare(x, y, nField, collator), 0) << "field " << nField;
        EXPECT_GT(CFileAssocData::Compare(y, x, nField, collator), 0) << "field " << nField;
    }
}
