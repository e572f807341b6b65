#include "PlaylistFiles.h"

#include "base/Path.h"
#include "browser/Playlist.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace PlaylistFiles;
using Fixtures::CTempDir;

namespace
{

// A folder with a few audio files and a place for playlists.
class PlaylistReadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteAudio(dir.PathOf("m/a.mp3"));
        WriteAudio(dir.PathOf("m/b.mp3"));
        WriteAudio(dir.PathOf("m/sub/c.mp3"));
        WriteAudio(dir.PathOf("m/sub/deeper/d.mp3"));
        WriteAudio(dir.PathOf("up.mp3"));
    }

    CString P(const std::string& strName) const { return dir.StrPathOf(strName); }

    // Writes the playlist text at m/<name> and returns its path.
    CString Playlist(const std::string& strText, const std::string& strName = "l.m3u8") const
    {
        WriteText(dir.PathOf("m/" + strName), strText);
        return P("m/" + strName);
    }

    CTempDir dir;
    tagLISTSETUP s;
};

} // namespace

TEST_F(PlaylistReadTest, ReadsEveryKindOfLine)
{
    const CString strList = Playlist("#extm3u\n"
                                     "#EXTINF:12, Someone - Something\r\n"
                                     "a.mp3\r\r\n\n"
                                     "sub\\c.mp3\r\n"
                                     "..\\up.mp3\n" +
                                     P("m/b.mp3").ToUtf8() +
                                     "\n"
                                     "a.mp3\n"
                                     "other.m3u\n"
                                     "list.lst\n"
                                     "notes.txt\n"
                                     "# a comment\n"
                                     "sub");
    EXPECT_TRUE(LoadPlaylist(s.list, strList, CP_UTF8, &s.diag));
    // Relative names with backslashes, a parent reference, a full path, a repeated file added
    // once, and a folder scanned without its subfolders (the last line needs no break).
    const std::vector<CString> arrExpected = {P("m/a.mp3"), P("m/sub/c.mp3"), P("up.mp3"),
                                              P("m/b.mp3")};
    EXPECT_EQ(s.Paths(), arrExpected);
    EXPECT_EQ(s.diag.GetCount(), 0);
}

TEST_F(PlaylistReadTest, FolderEntryAddsItsFilesWithoutSubfolders)
{
    const CString strList = Playlist("#EXTM3U\nsub/\n");
    EXPECT_TRUE(LoadPlaylist(s.list, strList, CP_UTF8, &s.diag));
    EXPECT_EQ(s.Paths(), std::vector<CString>{P("m/sub/c.mp3")});
}

TEST_F(PlaylistReadTest, WithoutTheHeaderNothingIsAdded)
{
    for (const std::string& strText :
         {std::string("\xef\xbb\xbf#EXTM3U\r\na.mp3\r\n"), std::string("a.mp3\r\n#EXTM3U\r\n"),
          std::string("#EXTM3U \r\na.mp3\r\n"), std::string("\r\n\r\n#EXTM3\r\na.mp3")})
    {
        tagLISTSETUP t;
        const CString strList = Playlist(strText);
        EXPECT_FALSE(LoadPlaylist(t.list, strList, CP_UTF8, &t.diag));
        EXPECT_EQ(t.list.GetCount(), 0);
        ASSERT_EQ(t.diag.GetCount(), 1);
        EXPECT_EQ(t.diag.GetMessages()[0], Msg(Res::IDS_INVALID_PLAYLIST, strList));
    }
    // Blank lines before the header are fine; an empty file is no playlist but says nothing.
    EXPECT_TRUE(LoadPlaylist(s.list, Playlist("\n\r\n#EXTM3U\na.mp3"), CP_UTF8, &s.diag));
    EXPECT_EQ(s.list.GetCount(), 1);
    EXPECT_FALSE(LoadPlaylist(s.list, Playlist(""), CP_UTF8, &s.diag));
    EXPECT_EQ(s.diag.GetCount(), 0);
}

TEST_F(PlaylistReadTest, MissingEntriesAreReportedAndReadingGoesOn)
{
#ifdef _WIN32
    const CString strMissing = u"C:\\no\\such\\dir\\x.mp3";
#else
    const CString strMissing = u"/no/such/dir/x.mp3";
#endif
    const CString strList = Playlist("#EXTM3U\nnothere.mp3\n" + strMissing.ToUtf8() + "\nb.mp3\n");
    EXPECT_TRUE(LoadPlaylist(s.list, strList, CP_UTF8, &s.diag));
    EXPECT_EQ(s.Paths(), std::vector<CString>{P("m/b.mp3")});
    const std::vector<CString> arrExpected = {Msg(Res::IDS_FAILED_READING_FILE, P("m/nothere.mp3")),
                                              Msg(Res::IDS_FAILED_READING_FILE, strMissing)};
    EXPECT_EQ(s.diag.GetMessages(), arrExpected);
}

TEST_F(PlaylistReadTest, StatusTextsNameThePlaylistAndTheBusyStateIsRestored)
{
    const CString strList = Playlist("#EXTM3U\na.mp3\n");
    EXPECT_TRUE(LoadPlaylist(s.list, strList, CP_UTF8, &s.diag));
    const std::vector<CString> arrStatus = {
        Res::LoadResourceString(Res::IDS_PLEASE_WAIT), Msg(Res::IDS_READING_FILE, strList),
        Res::LoadResourceString(Res::IDS_PLEASE_WAIT), Res::LoadResourceString(Res::IDS_READY)};
    EXPECT_EQ(s.host.m_arrStatus, arrStatus);
    EXPECT_FALSE(s.busy.IsBusy());

    // Inside another bulk operation the reader leaves that operation's busy state alone.
    s.busy.BeginBusy();
    EXPECT_TRUE(LoadPlaylist(s.list, Playlist("#EXTM3U\nb.mp3\n"), CP_UTF8, &s.diag));
    EXPECT_TRUE(s.busy.IsBusy());
    s.busy.EndBusy();
    // And so does a missing playlist.
    EXPECT_FALSE(LoadPlaylist(s.list, P("m/none.m3u"), CP_ACP, &s.diag));
    EXPECT_FALSE(s.busy.IsBusy());
}

TEST_F(PlaylistReadTest, PlaylistThatCannotBeOpened)
{
    EXPECT_FALSE(LoadPlaylist(s.list, P("m/none.m3u"), CP_ACP, &s.diag));
    EXPECT_FALSE(LoadPlaylist(s.list, u"nofolder.m3u", CP_ACP, &s.diag));
    std::filesystem::create_directory(dir.PathOf("m/dir.m3u"));
    EXPECT_FALSE(LoadPlaylist(s.list, P("m/dir.m3u"), CP_ACP, &s.diag));
    std::vector<CString> arrExpected = {Msg(Res::IDS_FAILED_READING_FILE, P("m/none.m3u")),
                                        Msg(Res::IDS_FAILED_READING_FILE, u"nofolder.m3u"),
                                        Msg(Res::IDS_FAILED_READING_FILE, P("m/dir.m3u"))};
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(dir.PathOf("m/fifo.m3u").c_str(), 0600), 0);
    EXPECT_FALSE(LoadPlaylist(s.list, P("m/fifo.m3u"), CP_ACP, &s.diag)); // never blocks
    arrExpected.push_back(Msg(Res::IDS_FAILED_READING_FILE, P("m/fifo.m3u")));
#endif
    EXPECT_EQ(s.diag.GetMessages(), arrExpected);
    // Without a collector nothing is reported and nothing breaks.
    EXPECT_FALSE(LoadPlaylist(s.list, P("m/none.m3u"), CP_ACP, nullptr));
}

TEST_F(PlaylistReadTest, AnsiAndUtf8Decoding)
{
    WriteAudio(dir.PathOf("m/caf\xc3\xa9.mp3"));
    // ".m3u" text from a Windows program: e9 is the e acute of Windows-1252.
    EXPECT_TRUE(
        LoadPlaylist(s.list, Playlist("#EXTM3U\r\ncaf\xe9.mp3\r\n", "l.m3u"), CP_ACP, &s.diag));
    EXPECT_EQ(s.Paths(), std::vector<CString>{P("m/caf\xc3\xa9.mp3")});
    s.list.RemoveAll();
    EXPECT_TRUE(LoadPlaylist(s.list, Playlist("#EXTM3U\r\ncaf\xc3\xa9.mp3\r\n"), CP_UTF8, &s.diag));
    EXPECT_EQ(s.Paths(), std::vector<CString>{P("m/caf\xc3\xa9.mp3")});
    EXPECT_EQ(s.diag.GetCount(), 0);
}

#ifndef _WIN32
TEST_F(PlaylistReadTest, Utf8EntriesThatAreNotValidNameTheFileWithThoseBytes)
{
    // Invalid UTF-8 in a name is the file system's own byte, found as such.
    WriteAudio(dir.PathOf("m/\xff\xfe.mp3"));
    EXPECT_TRUE(
        LoadPlaylist(s.list, Playlist("#EXTM3U\n\xff\xfe.mp3\n\xc3(.mp3\n"), CP_UTF8, &s.diag));
    ASSERT_EQ(s.list.GetCount(), 1);
    EXPECT_EQ(s.list.GetRecord(0)->m_strFileName, CString(u"\xdcff\xdcfe.mp3"));
    EXPECT_EQ(s.diag.GetCount(), 1); // the second name does not exist
}
#endif

TEST_F(PlaylistReadTest, HostileLinesAreReportedNotFollowed)
{
    // A 1 MB line, a NUL byte inside a name, and a name made over-long only by the folder.
    const std::string strHuge(1 << 20, 'x');
    const std::string strNul = std::string("a.mp3") + '\0' + "junk";
    const std::string strLong(static_cast<size_t>(Path::GetMaxPath()) - 3, 'y');
    const CString strList =
        Playlist("#EXTM3U\n" + strHuge + "\n" + strNul + "\n" + strLong + "\nb.mp3\n#" + strHuge);
    EXPECT_TRUE(LoadPlaylist(s.list, strList, CP_UTF8, &s.diag));
    EXPECT_EQ(s.Paths(), std::vector<CString>{P("m/b.mp3")});
    ASSERT_EQ(s.diag.GetCount(), 3);
    for (const CString& str : s.diag.GetMessages())
    {
        EXPECT_LT(str.GetLength(), Path::GetMaxPath() + 300);
        EXPECT_LT(str.Find(u'\0'), 0);
    }

    // A first line of 1 MB is no header.
    tagLISTSETUP t;
    EXPECT_FALSE(
        LoadPlaylist(t.list, Playlist("#EXTM3U" + strHuge + "\na.mp3\n"), CP_UTF8, &t.diag));
    EXPECT_EQ(t.list.GetCount(), 0);
    EXPECT_EQ(t.diag.GetMessages(),
              std::vector<CString>{Msg(Res::IDS_INVALID_PLAYLIST, P("m/l.m3u8"))});
}

TEST_F(PlaylistReadTest, CancelStopsReading)
{
    std::string strText = "#EXTM3U\n";
    for (int i = 0; i < 3; ++i)
        strText += "a.mp3\nb.mp3\nsub/c.mp3\n";
    const CString strList = Playlist(strText);
    // Esc before the header was read: nothing read, so no playlist either.
    s.host.m_nEscapeAtPoll = 1;
    EXPECT_FALSE(LoadPlaylist(s.list, strList, CP_UTF8, &s.diag));
    EXPECT_EQ(s.list.GetCount(), 0);

    // Esc after a few lines keeps what was added.
    tagLISTSETUP t;
    t.host.m_nEscapeAtPoll = 4;
    EXPECT_TRUE(LoadPlaylist(t.list, strList, CP_UTF8, &t.diag));
    EXPECT_GT(t.list.GetCount(), 0);
    EXPECT_LT(t.list.GetCount(), 3);
}

TEST_F(PlaylistReadTest, FileListReadsPathsAsTheyAre)
{
    WriteText(dir.PathOf("m/nested.m3u"), "#EXTM3U\r\nsub\\c.mp3\r\n");
    WriteText(dir.PathOf("m/nested.m3u8"), "#EXTM3U\r\nsub/deeper/d.mp3\r\n");
    WriteText(dir.PathOf("m/bad.m3u8"), "not a playlist\r\n");
    WriteText(dir.PathOf("m/other.lst"), P("m/b.mp3").ToUtf8() + "\n");
    const std::string strText = P("m/a.mp3").ToUtf8() + "\r\n\r\n" + P("m/nested.m3u").ToUtf8() +
                                "\n" + P("m/nested.m3u8").ToUtf8() + "\n" +
                                P("m/other.lst").ToUtf8() + "\n" + P("m/sub").ToUtf8() + "\n" +
                                P("m/bad.m3u8").ToUtf8() + "\n" + P("m/gone.mp3").ToUtf8() + "\n" +
                                P("m/notes.txt").ToUtf8();
    WriteText(dir.PathOf("files.lst"), strText);
    EXPECT_TRUE(LoadFileList(s.list, P("files.lst"), &s.diag));
    // The ".lst" line is ignored; the folder is scanned without its subfolders.
    const std::vector<CString> arrExpected = {P("m/a.mp3"), P("m/sub/c.mp3"),
                                              P("m/sub/deeper/d.mp3")};
    EXPECT_EQ(s.Paths(), arrExpected);
    const std::vector<CString> arrMessages = {Msg(Res::IDS_INVALID_PLAYLIST, P("m/bad.m3u8")),
                                              Msg(Res::IDS_FAILED_READING_FILE, P("m/gone.mp3"))};
    EXPECT_EQ(s.diag.GetMessages(), arrMessages);
    EXPECT_FALSE(s.busy.IsBusy());

    // A file list that cannot be opened: FALSE and no message.
    EXPECT_FALSE(LoadFileList(s.list, P("none.lst"), &s.diag));
    EXPECT_EQ(s.diag.GetCount(), 2);
}

TEST_F(PlaylistReadTest, FileListSurvivesHostileInput)
{
    std::string strText(1 << 20, '/');
    strText += "\n";
    strText += std::string("/x") + '\0' + "\n\xff\xfe\xfd\n";
    strText += P("m/a.mp3").ToUtf8();
    WriteText(dir.PathOf("files.lst"), strText);
    EXPECT_TRUE(LoadFileList(s.list, P("files.lst"), &s.diag));
    EXPECT_EQ(s.Paths(), std::vector<CString>{P("m/a.mp3")});
    EXPECT_EQ(s.diag.GetCount(), 2); // the huge line and the NUL line
}
