// Hostile entries on the browser's side: folders holding a FIFO, a folder and an empty file under
// audio names and files whose names hold line breaks, bars, leading dashes and bytes that are not
// UTF-8; playlists and file lists that name them or are FIFOs themselves. Nothing hangs, every
// regular file is listed under its exact name, and what a playlist cannot hold is left out.
#include "PlaylistFiles.h"

#include "base/Path.h"
#include "browser/FileAssocData.h"
#include "browser/Playlist.h"

#include <gtest/gtest.h>

#ifndef _WIN32

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace PlaylistFiles;
using Fixtures::CTempDir;
namespace fs = std::filesystem;

namespace
{

// The odd names, each a regular audio file.
const std::vector<std::string>& OddNames()
{
    static const std::vector<std::string> arr = {
        "line\nbreak.mp3", "a|b.mp3",     "-dash.mp3", "--remove-tags.mp3",
        "\xff\xfe.mp3",    "caf\xe9.mp3", "cr\r.mp3",  " lead and trail .mp3",
        "100% #1.mp3"};
    return arr;
}

bool HasLineBreak(const std::string& str)
{
    return str.find('\n') != std::string::npos || str.find('\r') != std::string::npos;
}

class HostileEntriesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = m_dir.PathOf("m");
        fs::create_directory(m_folder);
        for (const std::string& strName : OddNames())
            WriteAudio(m_folder / strName, "Artist", "Title");
        WriteText(m_folder / "empty.mp3", "");
        ASSERT_EQ(::mkfifo((m_folder / "pipe.mp3").c_str(), 0600), 0);
        fs::create_directory(m_folder / "folder.mp3");
    }

    CString P(const std::string& strName) const
    {
        return Path::FromNative((m_folder / strName).native());
    }

    // In a child with an alarm, so that a read that waits for ever fails instead of hanging.
    template <typename F> void WithoutHanging(F fn)
    {
        const pid_t pid = ::fork();
        if (pid == 0)
        {
            ::alarm(20);
            ::_exit(fn() ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }

    CTempDir m_dir;
    fs::path m_folder;
};

} // namespace

TEST_F(HostileEntriesTest, AFolderScanListsEveryRegularFileByItsExactName)
{
    WithoutHanging(
        [&]
        {
            tagLISTSETUP s;
            s.list.ScanFolder(Path::FromNative(m_folder.native()), TRUE, &s.diag);
            std::vector<std::string> arrListed;
            for (const CString& str : s.Paths())
                arrListed.push_back(Path::ToNative(str));
            std::vector<std::string> arrExpected;
            for (const std::string& strName : OddNames())
                arrExpected.push_back((m_folder / strName).native());
            arrExpected.push_back((m_folder / "empty.mp3").native());
            std::sort(arrListed.begin(), arrListed.end());
            std::sort(arrExpected.begin(), arrExpected.end());
            // Each record read its file: the odd names carry their tags.
            for (int i = 0; i < s.list.GetCount(); ++i)
            {
                const CFileAssocData* pRecord = s.list.GetRecord(i);
                if (pRecord->m_strFileName != u"empty.mp3" &&
                    (pRecord->m_strTitle != u"Title" || pRecord->m_strArtist != u"Artist"))
                    return false;
            }
            return arrListed == arrExpected;
        });
}

TEST_F(HostileEntriesTest, PlaylistsOfOddNamesLeaveOutOnlyWhatALineCannotHold)
{
    tagLISTSETUP s;
    for (const std::string& strName : OddNames())
        ASSERT_TRUE(s.list.AddFile(P(strName))) << strName;
    std::vector<const CFileAssocData*> arrRecords;
    for (int i = 0; i < s.list.GetCount(); ++i)
        arrRecords.push_back(s.list.GetRecord(i));
    std::vector<CString> arrExpected;
    for (const std::string& strName : OddNames())
    {
        if (!HasLineBreak(strName))
            arrExpected.push_back(P(strName));
    }
    for (const BOOL bFullPath : {FALSE, TRUE})
    {
        SCOPED_TRACE(bFullPath ? "full paths" : "relative paths");
        const CString strPlaylist = P(bFullPath ? "full.m3u8" : "relative.m3u8");
        ASSERT_TRUE(CreatePlaylist(strPlaylist, arrRecords, bFullPath, TRUE));
        tagLISTSETUP t;
        EXPECT_TRUE(LoadPlaylist(t.list, strPlaylist, CP_UTF8, &t.diag));
        EXPECT_EQ(t.Paths(), arrExpected);
        EXPECT_EQ(t.diag.GetMessages(), std::vector<CString>{});
    }
}

// A name that begins with "#" in the playlist's folder would read back as a comment (here and in
// every player): it is written from "." instead.
TEST_F(HostileEntriesTest, ARelativeNameThatBeginsWithAHashStaysAnEntry)
{
    WriteAudio(m_folder / "#1 hit.mp3");
    tagLISTSETUP s;
    ASSERT_TRUE(s.list.AddFile(P("#1 hit.mp3")));
    ASSERT_TRUE(CreatePlaylist(P("list.m3u8"), {s.list.GetRecord(0)}, FALSE, FALSE));
    tagLISTSETUP t;
    EXPECT_TRUE(LoadPlaylist(t.list, P("list.m3u8"), CP_UTF8, &t.diag));
    EXPECT_EQ(t.Paths(), std::vector<CString>{P("#1 hit.mp3")});
}

TEST_F(HostileEntriesTest, ListsThatNameAFifoOrAFolderOrAreAFifo)
{
    const std::string strText = "#EXTM3U\npipe.mp3\nfolder.mp3\nempty.mp3\n-dash.mp3\n";
    WriteText(m_folder / "list.m3u8", strText);
    WriteText(m_folder / "files.lst", (m_folder / "pipe.mp3").native() + "\n" +
                                          (m_folder / "folder.mp3").native() + "\n" +
                                          (m_folder / "a|b.mp3").native() + "\n");
    ASSERT_EQ(::mkfifo((m_folder / "fifo.lst").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((m_folder / "fifo.m3u8").c_str(), 0600), 0);
    WithoutHanging(
        [&]
        {
            tagLISTSETUP s;
            if (!LoadPlaylist(s.list, P("list.m3u8"), CP_UTF8, &s.diag))
                return false;
            // The folder entry is scanned (it is empty), the FIFO is not read.
            if (s.Paths() != std::vector<CString>{P("empty.mp3"), P("-dash.mp3")})
                return false;
            tagLISTSETUP t;
            if (!LoadFileList(t.list, P("files.lst"), &t.diag) ||
                t.Paths() != std::vector<CString>{P("a|b.mp3")})
                return false;
            tagLISTSETUP u;
            return !LoadFileList(u.list, P("fifo.lst"), &u.diag) &&
                   !LoadPlaylist(u.list, P("fifo.m3u8"), CP_UTF8, &u.diag) &&
                   u.list.GetCount() == 0;
        });
}

TEST_F(HostileEntriesTest, ThePlayersPlaylistLeavesOutNamesWithLineBreaks)
{
    // The playlist goes to a private folder of the runtime folder: one of this test's own.
    const fs::path runtime = m_dir.PathOf("runtime");
    fs::create_directory(runtime);
    ::chmod(runtime.c_str(), 0700);
    const char* pszOld = std::getenv("XDG_RUNTIME_DIR");
    const std::string strOld = pszOld ? pszOld : "";
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    std::vector<CString> arrPaths;
    for (const std::string& strName : OddNames())
        arrPaths.push_back(P(strName));
    const CString strPlaylist = CreateTempPlaylist(arrPaths);
    if (strPlaylist.IsEmpty())
        GTEST_SKIP() << "no private temporary folder for the player's playlist";
    tagLISTSETUP s;
    EXPECT_TRUE(LoadPlaylist(s.list, strPlaylist, CP_UTF8, &s.diag));
    std::vector<CString> arrExpected;
    for (const std::string& strName : OddNames())
    {
        if (!HasLineBreak(strName))
            arrExpected.push_back(P(strName));
    }
    EXPECT_EQ(s.Paths(), arrExpected);
    DeleteTempPlaylist();
    if (pszOld)
        ::setenv("XDG_RUNTIME_DIR", strOld.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
}

#endif // _WIN32
