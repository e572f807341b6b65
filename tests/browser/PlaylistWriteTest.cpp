#include "PlaylistFiles.h"

#include "base/File.h"
#include "browser/FileAssocData.h"
#include "browser/Playlist.h"

#include <gtest/gtest.h>

#include <memory>

using namespace PlaylistFiles;
using Fixtures::CTempDir;
using Fixtures::ReadFileBytes;

namespace
{

// These tests spell paths the Linux way. On Windows N gives the system's form (drive C: and
// "\\"), and L and L8 turn the system's form back, so that one expectation serves both.
CString N(const CString& str)
{
#ifdef _WIN32
    CString s = str;
    if (!s.IsEmpty() && s[0] == u'/')
        s = u"C:" + s;
    s.Replace(u'/', u'\\');
    return s;
#else
    return str;
#endif
}

std::string L8(std::string s)
{
#ifdef _WIN32
    for (char& ch : s)
        ch = ch == '\\' ? '/' : ch;
    for (size_t i = 0; i + 2 < s.size(); ++i)
    {
        if ((i == 0 || s[i - 1] == '\n') && s[i + 1] == ':' && s[i + 2] == '/')
            s.erase(i, 2);
    }
#endif
    return s;
}

CString L(const CString& str)
{
    return CString::FromUtf8(L8(str.ToUtf8()));
}

std::unique_ptr<CFileAssocData> Record(const CString& strFolder, const CString& strName,
                                       int nLength = 0, const CString& strArtist = CString(),
                                       const CString& strTitle = CString())
{
    auto p = std::make_unique<CFileAssocData>();
    p->m_strFolder = strFolder;
    p->m_strFileName = strName;
    p->m_nLength = nLength;
    p->m_strArtist = strArtist;
    p->m_strTitle = strTitle;
    return p;
}

} // namespace

TEST(PlaylistEntryTest, RelativeOnlyInsideThePlaylistFolder)
{
    EXPECT_EQ(L(GetPlaylistFolder(N(u"/music/list.m3u"))), u"/music/");
    EXPECT_EQ(L(GetPlaylistFolder(N(u"/list.m3u"))), u"/");
    EXPECT_EQ(L(GetPlaylistFolder(u"list.m3u")), CString());

    EXPECT_EQ(L(GetPlaylistEntry(N(u"/music/a.mp3"), N(u"/music/"), FALSE)), u"a.mp3");
    EXPECT_EQ(L(GetPlaylistEntry(N(u"/music/sub/a.mp3"), N(u"/music/"), FALSE)), u"sub/a.mp3");
    EXPECT_EQ(L(GetPlaylistEntry(N(u"/music/sub/a.mp3"), N(u"/music/"), TRUE)),
              u"/music/sub/a.mp3");
    // A sibling folder sharing the name's start, the parent, and on Linux, whose names are
    // exact, a differently cased folder are all written in full.
    EXPECT_EQ(L(GetPlaylistEntry(N(u"/music2/a.mp3"), N(u"/music/"), FALSE)), u"/music2/a.mp3");
    EXPECT_EQ(L(GetPlaylistEntry(N(u"/a.mp3"), N(u"/music/"), FALSE)), u"/a.mp3");
#ifdef _WIN32
    // Windows names ignore case: the folder is the playlist's own.
    EXPECT_EQ(L(GetPlaylistEntry(N(u"/Music/a.mp3"), N(u"/music/"), FALSE)), u"a.mp3");
#else
    EXPECT_EQ(GetPlaylistEntry(u"/Music/a.mp3", u"/music/", FALSE), u"/Music/a.mp3");
#endif
    EXPECT_EQ(L(GetPlaylistEntry(N(u"/music/"), N(u"/music/"), FALSE)), u"/music/");
}

TEST(PlaylistBuildTest, HeaderEntriesAndExtInfoByteForByte)
{
    auto a = Record(N(u"/music"), u"a.mp3", 3725, u"Artist", u"Title");
    auto b = Record(N(u"/music/sub"), u"b.mp3");
    auto c = Record(N(u"/other"), u"c.mp3", 61, u"", u"Only title");
    const std::vector<const CFileAssocData*> arr = {a.get(), nullptr, b.get(), c.get()};

    EXPECT_EQ(L8(BuildPlaylist(N(u"/music/list.m3u8"), arr, FALSE, FALSE)),
              "#EXTM3U\r\na.mp3\r\nsub/b.mp3\r\n/other/c.mp3\r\n");
    EXPECT_EQ(L8(BuildPlaylist(N(u"/music/list.m3u8"), arr, TRUE, FALSE)),
              "#EXTM3U\r\n/music/a.mp3\r\n/music/sub/b.mp3\r\n/other/c.mp3\r\n");
    EXPECT_EQ(L8(BuildPlaylist(N(u"/music/list.m3u"), arr, FALSE, TRUE)),
              "#EXTM3U\r\n"
              "#EXTINF:3725, Artist - Title\r\na.mp3\r\n"
              "#EXTINF:0,  - \r\nsub/b.mp3\r\n"
              "#EXTINF:61,  - Only title\r\n/other/c.mp3\r\n");
    EXPECT_EQ(BuildPlaylist(N(u"/music/list.m3u"), {}, FALSE, TRUE), "#EXTM3U\r\n");
}

TEST(PlaylistBuildTest, AnsiForM3uWhenItHoldsEveryCharacterElseUtf8)
{
    auto e = Record(N(u"/music"), u"caf\u00e9.mp3", 1, u"Beyonc\u00e9", u"\u20ac");
    auto o = Record(N(u"/music"), u"\u0151z.mp3"); // not in Windows-1252
    const std::vector<const CFileAssocData*> arrAnsi = {e.get()};
    const std::vector<const CFileAssocData*> arrBoth = {e.get(), o.get()};

    // Windows-1252: e9 for the e acute, 80 for the euro sign.
    EXPECT_EQ(L8(BuildPlaylist(N(u"/music/l.m3u"), arrAnsi, FALSE, TRUE)),
              "#EXTM3U\r\n#EXTINF:1, Beyonc\xe9 - \x80\r\ncaf\xe9.mp3\r\n");
    // One name ANSI cannot hold turns the whole file into UTF-8.
    EXPECT_EQ(L8(BuildPlaylist(N(u"/music/l.m3u"), arrBoth, FALSE, FALSE)),
              "#EXTM3U\r\ncaf\xc3\xa9.mp3\r\n\xc5\x91z.mp3\r\n");
    EXPECT_EQ(L8(BuildPlaylist(N(u"/music/l.M3U8"), arrAnsi, FALSE, TRUE)),
              "#EXTM3U\r\n#EXTINF:1, Beyonc\xc3\xa9 - \xe2\x82\xac\r\ncaf\xc3\xa9.mp3\r\n");
}

TEST(PlaylistBuildTest, LineBreaksNeverSplitAnEntry)
{
    auto a = Record(N(u"/music"), u"a.mp3", 5, u"Two\r\nlines", u"x\ny");
    auto bad = Record(N(u"/music"), u"evil\n/etc/passwd.mp3");
    const std::vector<const CFileAssocData*> arr = {a.get(), bad.get()};
    EXPECT_EQ(L8(BuildPlaylist(N(u"/music/l.m3u8"), arr, FALSE, TRUE)),
              "#EXTM3U\r\n#EXTINF:5, Two  lines - x y\r\na.mp3\r\n");
}

#ifndef _WIN32
TEST(PlaylistBuildTest, NamesThatAreNotUtf8KeepTheirBytes)
{
    // A name byte that is not UTF-8 is held as a lone surrogate and written back as itself.
    auto a = Record(u"/music", CString(u"\xdce9t\u00e9.mp3"));
    const std::vector<const CFileAssocData*> arr = {a.get()};
    EXPECT_EQ(BuildPlaylist(u"/music/l.m3u8", arr, FALSE, FALSE),
              "#EXTM3U\r\n\xe9t\xc3\xa9.mp3\r\n");
}
#endif

TEST(CreatePlaylistTest, WritesTheSelectionInListOrderAndReadsBack)
{
    CTempDir dir;
    WriteAudio(dir.PathOf("m/a.mp3"), "Ann", "First");
    WriteAudio(dir.PathOf("m/sub/b.mp3"));
    WriteAudio(dir.PathOf("elsewhere/c.mp3"));
    tagLISTSETUP s;
    ASSERT_TRUE(s.list.AddFile(dir.StrPathOf("m/a.mp3")));
    ASSERT_TRUE(s.list.AddFile(dir.StrPathOf("m/sub/b.mp3")));
    ASSERT_TRUE(s.list.AddFile(dir.StrPathOf("elsewhere/c.mp3")));

    const CString strList = dir.StrPathOf("m/list.m3u");
    // Selection given out of order, with a duplicate and an index that does not exist.
    ASSERT_TRUE(CreatePlaylist(s.list, strList, FALSE, {2, 0, 2, 9}, FALSE, TRUE));
    const std::string strC = L8(dir.StrPathOf("elsewhere/c.mp3").ToUtf8());
    EXPECT_EQ(L8(TextOf(ReadFileBytes(dir.PathOf("m/list.m3u")))),
              "#EXTM3U\r\n#EXTINF:0, Ann - First\r\na.mp3\r\n#EXTINF:0,  - \r\n" + strC + "\r\n");

    // Nothing selected: the header alone. All files: every item.
    ASSERT_TRUE(CreatePlaylist(s.list, strList, FALSE, {}, FALSE, FALSE));
    EXPECT_EQ(TextOf(ReadFileBytes(dir.PathOf("m/list.m3u"))), "#EXTM3U\r\n");
    ASSERT_TRUE(CreatePlaylist(s.list, strList, TRUE, {}, FALSE, FALSE));
    EXPECT_EQ(L8(TextOf(ReadFileBytes(dir.PathOf("m/list.m3u")))),
              "#EXTM3U\r\na.mp3\r\nsub/b.mp3\r\n" + strC + "\r\n");

    tagLISTSETUP t;
    EXPECT_TRUE(LoadPlaylist(t.list, strList, CP_ACP, &t.diag));
    EXPECT_EQ(t.Paths(), s.Paths());
    EXPECT_EQ(t.diag.GetCount(), 0);
}

TEST(CreatePlaylistTest, NamesOutsideAnsiSurviveTheRoundTripInBothKinds)
{
    CTempDir dir;
    WriteAudio(dir.PathOf("caf\xc3\xa9.mp3"));
    WriteAudio(dir.PathOf("\xc5\x91z \xe6\x97\xa5.mp3"));
    tagLISTSETUP s;
    ASSERT_TRUE(s.list.AddFile(dir.StrPathOf("caf\xc3\xa9.mp3")));
    ASSERT_TRUE(s.list.AddFile(dir.StrPathOf("\xc5\x91z \xe6\x97\xa5.mp3")));

    for (const char* szName : {"l.m3u", "l.m3u8"})
    {
        const CString strList = dir.StrPathOf(szName);
        ASSERT_TRUE(CreatePlaylist(s.list, strList, TRUE, {}, FALSE, FALSE));
        tagLISTSETUP t;
        const UINT nCodePage = std::string(szName) == "l.m3u" ? CP_ACP : CP_UTF8;
        EXPECT_TRUE(LoadPlaylist(t.list, strList, nCodePage, &t.diag)) << szName;
        EXPECT_EQ(t.Paths(), s.Paths()) << szName;
        EXPECT_EQ(t.diag.GetCount(), 0) << szName;
    }
}

TEST(CreatePlaylistTest, FailsWhenTheFileCannotBeWritten)
{
    CTempDir dir;
    auto a = Record(N(u"/music"), u"a.mp3");
    const std::vector<const CFileAssocData*> arr = {a.get()};
    EXPECT_FALSE(CreatePlaylist(u"list.m3u", arr, FALSE, FALSE));
    EXPECT_FALSE(CreatePlaylist(dir.StrPathOf("missing/list.m3u"), arr, FALSE, FALSE));
    std::filesystem::create_directory(dir.PathOf("folder.m3u"));
    EXPECT_FALSE(CreatePlaylist(dir.StrPathOf("folder.m3u"), arr, FALSE, FALSE));

    // An existing longer playlist is truncated.
    WriteText(dir.PathOf("old.m3u8"), std::string(1000, 'x'));
    ASSERT_TRUE(CreatePlaylist(dir.StrPathOf("old.m3u8"), arr, TRUE, FALSE));
    EXPECT_EQ(L8(TextOf(ReadFileBytes(dir.PathOf("old.m3u8")))), "#EXTM3U\r\n/music/a.mp3\r\n");
}

#ifndef _WIN32
TEST(CreatePlaylistTest, RefusesADevice)
{
    auto a = Record(u"/music", u"a.mp3");
    const std::vector<const CFileAssocData*> arr = {a.get()};
    EXPECT_FALSE(CreatePlaylist(u"/dev/full", arr, FALSE, FALSE));
}
#endif
