#include "browser/FileList.h"

#include "RecordFiles.h"
#include "app/BusyState.h"
#include "base/File.h"
#include "base/Path.h"
#include "browser/Collator.h"
#include "browser/DiagnosticMessages.h"
#include "res/StringTable.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace Fixtures;
using namespace RecordFiles;

namespace
{

// The window around the busy state: records the status texts and reports Esc on a chosen poll.
class CTestBusyHost : public IBusyHost
{
public:
    void SetBusyMode(BOOL bBusy) override { m_arrModes.push_back(bBusy); }
    void SetStatusText(const CString& strText) override { m_arrTexts.push_back(strText); }
    void BeginWaitCursor() override { ++m_nWaitCursors; }
    void EndWaitCursor() override { --m_nWaitCursors; }
    BOOL PollEscape() override
    {
        ++m_nPolls;
        return m_nEscapeAtPoll > 0 && m_nPolls == m_nEscapeAtPoll;
    }

    int m_nEscapeAtPoll = 0; // 0: never
    int m_nPolls = 0;
    int m_nWaitCursors = 0;
    std::vector<BOOL> m_arrModes;
    std::vector<CString> m_arrTexts;
};

// The window around the list.
class CTestListHost : public IFileListHost
{
public:
    void SetRedraw(BOOL bRedraw) override { m_nRedrawDepth += bRedraw ? -1 : 1; }
    int GetFileImage(const CString&) override { return 7; }
    void OnBeginInsertItem(int nIndex) override
    {
        EXPECT_FALSE(m_bInserting);
        m_bInserting = true;
        m_arrInserted.push_back(nIndex);
    }
    void OnEndInsertItem() override
    {
        EXPECT_TRUE(m_bInserting);
        m_bInserting = false;
    }
    void OnResetSortMark() override { ++m_nSortResets; }

    int m_nRedrawDepth = 0;
    bool m_bInserting = false;
    std::vector<int> m_arrInserted;
    int m_nSortResets = 0;
};

class FileListTest : public ::testing::Test
{
protected:
    FileListTest() : m_busy(&m_busyHost), m_list(m_busy, &m_listHost) {}

    CString Audio(const std::string& strName) { return WriteAudio(m_dir, strName, 2); }
    void Folder(const std::string& strName)
    {
        ASSERT_TRUE(std::filesystem::create_directory(m_dir.PathOf(strName)));
    }
    void Text(const std::string& strName, const std::string& strText)
    {
        WriteFileBytes(m_dir.PathOf(strName), BytesOf(strText));
    }

    // The listed file names relative to the temporary folder, in list order, with "/".
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        const std::u16string strPrefix = m_dir.StrPath().str() + Path::chSeparator;
        for (int i = 0; i < m_list.GetCount(); ++i)
        {
            CString s = m_list.GetRecord(i)->GetFullPath();
            if (s.str().compare(0, strPrefix.size(), strPrefix) == 0)
                s = s.Mid(static_cast<int>(strPrefix.size()));
            s.Replace(Path::chSeparator, u'/');
            names.push_back(s.ToUtf8());
        }
        return names;
    }

    CTempDir m_dir;
    CTestBusyHost m_busyHost;
    CBusyState m_busy;
    CTestListHost m_listHost;
    CFileList m_list;
    CDiagnosticMessages m_diag;
};

using NameList = std::vector<std::string>;

CString ReadFailed(const CString& strPath)
{
    return Res::FormatResourceString(Res::IDS_FAILED_READING_FILE, strPath);
}

CString Unsupported(const CString& strPath)
{
    return Res::FormatResourceString(Res::IDS_UNSUPPORTED_FILE_TYPE, strPath);
}

CString DirectoryFailed(const CString& strPath, LONG lError)
{
    return Res::FormatResourceString(Res::IDS_READ_DIRECTORY_FAILED, strPath) + u" " +
           CFileException(CFileException::genericException, lError).GetErrorMessage();
}

const CString kSep(Path::chSeparator);

} // namespace

TEST_F(FileListTest, AddFileAppendsOnceAndFindsItByFullPath)
{
    const CString path = Audio("a.mp3");
    EXPECT_FALSE(m_list.FindFile(path));
    ASSERT_TRUE(m_list.AddFile(path));
    ASSERT_EQ(m_list.GetCount(), 1);
    EXPECT_TRUE(m_list.FindFile(path));
    EXPECT_EQ(m_list.GetRecord(0)->GetFullPath(), path);
    EXPECT_EQ(m_list.GetImage(0), 7);
    EXPECT_EQ(m_listHost.m_arrInserted, std::vector<int>{0});

    // Already listed: TRUE and nothing changes, also under another spelling of the same path.
    EXPECT_TRUE(m_list.AddFile(path));
    EXPECT_TRUE(m_list.AddFile(m_dir.StrPath() + kSep + u"." + kSep + u"a.mp3"));
    EXPECT_TRUE(m_list.AddFile(m_dir.StrPath() + kSep + kSep + u"a.mp3"));
    EXPECT_EQ(m_list.GetCount(), 1);
    EXPECT_EQ(m_listHost.m_arrInserted.size(), 1u);
    EXPECT_EQ(m_list.GetRecord(1), nullptr);
    EXPECT_EQ(m_list.GetRecord(-1), nullptr);
    EXPECT_EQ(m_list.GetImage(5), -1);
}

#ifdef _WIN32
TEST_F(FileListTest, PathsDifferingInCaseNameTheSameFile)
{
    const CString lower = Audio("song.mp3");
    ASSERT_TRUE(m_list.AddFile(lower));
    EXPECT_TRUE(m_list.FindFile(m_dir.StrPathOf("SONG.MP3")));
    EXPECT_TRUE(m_list.AddFile(m_dir.StrPathOf("Song.Mp3")));
    EXPECT_EQ(m_list.GetCount(), 1);
}
#else
TEST_F(FileListTest, PathsDifferingInCaseAreDifferentFilesHere)
{
    const CString lower = Audio("song.mp3");
    const CString upper = Audio("SONG.mp3");
    ASSERT_TRUE(m_list.AddFile(lower));
    EXPECT_FALSE(m_list.FindFile(upper));
    ASSERT_TRUE(m_list.AddFile(upper));
    EXPECT_EQ(m_list.GetCount(), 2);
    // A spelling that names no file is not read.
    EXPECT_FALSE(m_list.AddFile(m_dir.StrPathOf("Song.mp3")));
    EXPECT_EQ(m_list.GetCount(), 2);
}
#endif

TEST_F(FileListTest, ARelativePathFindsTheListedFile)
{
    const CString path = Audio("rel.mp3");
    ASSERT_TRUE(m_list.AddFile(path));
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(m_dir.GetPath());
    const BOOL bFound = m_list.FindFile(u"rel.mp3");
    const BOOL bAdded = m_list.AddFile(u"." + kSep + u"rel.mp3");
    std::filesystem::current_path(old);
    EXPECT_TRUE(bFound);
    EXPECT_TRUE(bAdded);
    EXPECT_EQ(m_list.GetCount(), 1);
}

TEST_F(FileListTest, AFileThatCannotBeReadIsNotAdded)
{
    EXPECT_FALSE(m_list.AddFile(m_dir.StrPathOf("missing.mp3")));
    EXPECT_EQ(m_list.GetCount(), 0);
    EXPECT_TRUE(m_listHost.m_arrInserted.empty());
}

TEST_F(FileListTest, ScanFolderAddsAudioInNameOrderIgnoringCase)
{
    Audio("b.mp3");
    Audio("A.mp3");
    Audio("c.MP2");
    Audio(".hidden.mp3");
    Audio("song.MP3");
    Audio("_under.mp1");
    Text("list.m3u", "#EXTM3U\nA.mp3\n");
    Text("files.lst", "A.mp3\n");
    Text("notes.txt", "x");
    Audio("song.mp4");
    Folder("Alpha");
    Audio("Alpha/inner.mp3");

    m_busy.BeginBusy();
    ASSERT_TRUE(m_list.ScanFolder(m_dir.StrPath(), FALSE, &m_diag));
    m_busy.EndBusy();
    // "_" lies after the letters once they are upper case.
    EXPECT_EQ(Names(),
              (NameList{".hidden.mp3", "A.mp3", "b.mp3", "c.MP2", "song.MP3", "_under.mp1"}));
    EXPECT_EQ(m_diag.GetCount(), 0);
}

TEST_F(FileListTest, ScanFolderWithSubfoldersDescendsWhereTheFolderStands)
{
    Audio("A.mp3");
    Folder("Alpha");
    Audio("Alpha/inner.mp3");
    Folder("Alpha/deeper");
    Audio("Alpha/deeper/deep.mp3");
    Audio("b.mp3");
    // A trailing separator on the folder is kept as it is.
    ASSERT_TRUE(m_list.ScanFolder(m_dir.StrPath() + kSep, TRUE, &m_diag));
    EXPECT_EQ(Names(), (NameList{"A.mp3", "Alpha/deeper/deep.mp3", "Alpha/inner.mp3", "b.mp3"}));

    // Scanning again adds nothing.
    ASSERT_TRUE(m_list.ScanFolder(m_dir.StrPath(), TRUE, &m_diag));
    EXPECT_EQ(m_list.GetCount(), 4);
    EXPECT_EQ(m_diag.GetCount(), 0);
}

#ifndef _WIN32
// Symbolic links and POSIX permissions are Linux's.
TEST_F(FileListTest, ScanFolderFollowsLinksAndNamesTheFailures)
{
    Audio("a.mp3");
    Folder("real");
    Audio("real/r.mp3");
    ASSERT_EQ(::symlink(m_dir.PathOf("real").c_str(), m_dir.PathOf("linked").c_str()), 0);
    ASSERT_EQ(::symlink(m_dir.PathOf("nothing.mp3").c_str(), m_dir.PathOf("broken.mp3").c_str()),
              0);

    ASSERT_TRUE(m_list.ScanFolder(m_dir.StrPath(), TRUE, &m_diag));
    EXPECT_EQ(Names(), (NameList{"a.mp3", "linked/r.mp3", "real/r.mp3"}));
    ASSERT_EQ(m_diag.GetCount(), 1);
    EXPECT_EQ(m_diag.GetMessages()[0], ReadFailed(m_dir.StrPathOf("broken.mp3")));
}
#endif

TEST_F(FileListTest, ScanFolderSetsTheStatusTextPerFile)
{
    Audio("one.mp3");
    m_busyHost.m_arrTexts.clear();
    ASSERT_TRUE(m_list.ScanFolder(m_dir.StrPath(), FALSE, nullptr));
    ASSERT_EQ(m_busyHost.m_arrTexts.size(), 2u);
    EXPECT_EQ(m_busyHost.m_arrTexts[0], u"Reading file : '" + m_dir.StrPathOf("one.mp3") + u"'...");
    EXPECT_EQ(m_busyHost.m_arrTexts[1], u"Please wait...");
}

TEST_F(FileListTest, AFolderThatCannotBeListedGivesOneLineWithTheSystemText)
{
    EXPECT_FALSE(m_list.ScanFolder(m_dir.StrPathOf("missing"), TRUE, &m_diag));
    Audio("file.mp3");
    EXPECT_FALSE(m_list.ScanFolder(m_dir.StrPathOf("file.mp3"), FALSE, &m_diag));
    ASSERT_EQ(m_diag.GetCount(), 2);
#ifdef _WIN32
    EXPECT_EQ(m_diag.GetMessages()[0],
              DirectoryFailed(m_dir.StrPathOf("missing"), ERROR_PATH_NOT_FOUND));
    // The system's own text follows the fixed part.
    const CString strPrefix = u"Enable to read directory '" + m_dir.StrPathOf("file.mp3") + u"'. ";
    EXPECT_EQ(m_diag.GetMessages()[1].Left(strPrefix.GetLength()), strPrefix);
    EXPECT_GT(m_diag.GetMessages()[1].GetLength(), strPrefix.GetLength());
#else
    EXPECT_EQ(m_diag.GetMessages()[0], DirectoryFailed(m_dir.StrPathOf("missing"), ENOENT));
    EXPECT_EQ(m_diag.GetMessages()[1], DirectoryFailed(m_dir.StrPathOf("file.mp3"), ENOTDIR));
    EXPECT_EQ(m_diag.GetMessages()[0], u"Enable to read directory '" + m_dir.StrPathOf("missing") +
                                           u"'. No such file or directory");
#endif
    // Without a collector nothing is reported.
    EXPECT_FALSE(m_list.ScanFolder(m_dir.StrPathOf("missing"), TRUE, nullptr));
    EXPECT_EQ(m_diag.GetCount(), 2);
}

#ifndef _WIN32
TEST_F(FileListTest, AnUnreadableSubfolderGivesOneLineAndTheScanGoesOn)
{
    // Permissions do not stop root, so the scan runs in a child without privileges.
    Audio("a.mp3");
    Folder("locked");
    Audio("locked/hidden.mp3");
    Audio("z.mp3");
    ASSERT_EQ(::chmod(m_dir.GetPath().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(m_dir.PathOf("a.mp3").c_str(), 0644), 0);
    ASSERT_EQ(::chmod(m_dir.PathOf("z.mp3").c_str(), 0644), 0);
    ASSERT_EQ(::chmod(m_dir.PathOf("locked").c_str(), 0700), 0);
    if (::geteuid() != 0 && ::access(m_dir.PathOf("locked").c_str(), R_OK) == 0)
        GTEST_SKIP() << "cannot make a folder unreadable for this user";

    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0)
    {
        ::close(fds[0]);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        CBusyState busy;
        CFileList list(busy);
        CDiagnosticMessages diag;
        const BOOL bResult = list.ScanFolder(m_dir.StrPath(), TRUE, &diag);
        // Appended piece by piece: GCC 12 misreads "text" + string in release builds.
        std::string strReport = std::to_string(bResult);
        strReport += '\n';
        strReport += std::to_string(list.GetCount());
        for (const CString& s : diag.GetMessages())
        {
            strReport += '\n';
            strReport += s.ToUtf8();
        }
        const ssize_t n = ::write(fds[1], strReport.data(), strReport.size());
        ::_exit(n == static_cast<ssize_t>(strReport.size()) ? 0 : 3);
    }
    ::close(fds[1]);
    std::string strReport;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fds[0], buf, sizeof(buf))) > 0)
        strReport.append(buf, static_cast<size_t>(n));
    ::close(fds[0]);
    int nStatus = 0;
    ASSERT_EQ(::waitpid(pid, &nStatus, 0), pid);
    ASSERT_TRUE(WIFEXITED(nStatus));
    ASSERT_EQ(WEXITSTATUS(nStatus), 0);
    std::string strExpected = "1\n2\n";
    strExpected += DirectoryFailed(m_dir.StrPathOf("locked"), EACCES).ToUtf8();
    EXPECT_EQ(strReport, strExpected);
}
#endif

TEST_F(FileListTest, EscStopsARecursiveScanAndKeepsWhatWasAdded)
{
    Audio("a.mp3");
    Folder("m");
    Audio("m/1.mp3");
    Audio("m/2.mp3");
    Audio("m/3.mp3");
    Audio("z.mp3");
    // The cancel test runs before every entry, "." and ".." included: top ".", "..", a.mp3,
    // m, then in m ".", "..", 1.mp3, 2.mp3 (the eighth poll).
    m_busyHost.m_nEscapeAtPoll = 8;
    ASSERT_TRUE(m_list.AddFolder(m_dir.StrPath(), TRUE, &m_diag));
    EXPECT_EQ(Names(), (NameList{"a.mp3", "m/1.mp3"}));
    EXPECT_EQ(m_busyHost.m_nPolls, 8);
    EXPECT_FALSE(m_busy.IsBusy());
    EXPECT_EQ(m_listHost.m_nRedrawDepth, 0);
    EXPECT_EQ(m_busyHost.m_nWaitCursors, 0);

    // The request outlives the operation: a scan outside the busy state stops at once.
    EXPECT_TRUE(m_list.ScanFolder(m_dir.StrPath(), TRUE, &m_diag));
    EXPECT_EQ(m_list.GetCount(), 2);
    // The next busy operation starts afresh.
    m_busyHost.m_nEscapeAtPoll = 0;
    ASSERT_TRUE(m_list.AddFolder(m_dir.StrPath(), TRUE, &m_diag));
    EXPECT_EQ(Names(), (NameList{"a.mp3", "m/1.mp3", "m/2.mp3", "m/3.mp3", "z.mp3"}));
}

TEST_F(FileListTest, OpenPathScansAFolderWithoutItsSubfolders)
{
    Audio("a.mp3");
    Folder("sub");
    Audio("sub/b.mp3");
    EXPECT_TRUE(m_list.OpenPath(m_dir.StrPath(), &m_diag));
    EXPECT_EQ(Names(), NameList{"a.mp3"});
    EXPECT_EQ(m_listHost.m_nSortResets, 1);
    EXPECT_FALSE(m_busy.IsBusy());
    EXPECT_EQ(m_listHost.m_nRedrawDepth, 0);
    // The busy state does not nest: one wait cursor, ended once.
    EXPECT_EQ(m_busyHost.m_arrModes, (std::vector<BOOL>{TRUE, FALSE}));
}

TEST_F(FileListTest, OpenPathAddsAnAudioFileOrReportsIt)
{
    const CString path = Audio("one.MP3");
    EXPECT_TRUE(m_list.OpenPath(path, &m_diag));
    EXPECT_EQ(Names(), NameList{"one.MP3"});
    EXPECT_EQ(m_listHost.m_nSortResets, 1);
    EXPECT_EQ(m_busyHost.m_arrTexts[1], u"Reading file : '" + path + u"'...");

    const CString missing = m_dir.StrPathOf("missing.mp3");
    EXPECT_FALSE(m_list.OpenPath(missing, &m_diag));
    EXPECT_EQ(m_listHost.m_nSortResets, 1);
    ASSERT_EQ(m_diag.GetCount(), 1);
    EXPECT_EQ(m_diag.GetMessages()[0], ReadFailed(missing));
}

TEST_F(FileListTest, OpenPathRefusesUnknownKinds)
{
    const CString path = Audio("song.mp4");
    EXPECT_FALSE(m_list.OpenPath(path, &m_diag));
    EXPECT_EQ(m_list.GetCount(), 0);
    ASSERT_EQ(m_diag.GetCount(), 1);
    EXPECT_EQ(m_diag.GetMessages()[0],
              u"The type of file '" + path + u"' is not currently supported.");
    EXPECT_EQ(m_listHost.m_nSortResets, 0);
    EXPECT_FALSE(m_busy.IsBusy());
}

TEST_F(FileListTest, DroppedPathsByKind)
{
    Audio("a.mp3");
    Folder("dir");
    Audio("dir/b.mp3");
    Folder("dir/sub");
    Audio("dir/sub/c.mp3");
    const CString mp4 = Audio("song.mp4");
    Text("files.lst", m_dir.StrPathOf("a.mp3").ToUtf8() + "\n");
    const CString lst = m_dir.StrPathOf("files.lst");
    const CString missing = m_dir.StrPathOf("missing.mp3");

    m_list.AddDroppedFiles({m_dir.StrPathOf("dir"), mp4, lst, missing, m_dir.StrPathOf("a.mp3")},
                           &m_diag);
    // The folder without its subfolder; the file list is not opened.
    EXPECT_EQ(Names(), (NameList{"dir/b.mp3", "a.mp3"}));
    ASSERT_EQ(m_diag.GetCount(), 3);
    EXPECT_EQ(m_diag.GetMessages()[0], Unsupported(mp4));
    EXPECT_EQ(m_diag.GetMessages()[1], Unsupported(lst));
    EXPECT_EQ(m_diag.GetMessages()[2], ReadFailed(missing));
    EXPECT_FALSE(m_busy.IsBusy());
    EXPECT_EQ(m_listHost.m_nRedrawDepth, 0);
    EXPECT_EQ(m_listHost.m_nSortResets, 0);
}

TEST_F(FileListTest, EscStopsADrop)
{
    const CString a = Audio("a.mp3");
    const CString b = Audio("b.mp3");
    const CString c = Audio("c.mp3");
    m_busyHost.m_nEscapeAtPoll = 2;
    m_list.AddDroppedFiles({a, b, c}, &m_diag);
    EXPECT_EQ(Names(), NameList{"a.mp3"});
}

TEST_F(FileListTest, RemovingItemsKeepsTheRestAndForgetsTheirPaths)
{
    for (const char* psz : {"0.mp3", "1.mp3", "2.mp3", "3.mp3", "4.mp3"})
        ASSERT_TRUE(m_list.AddFile(Audio(psz)));
    m_list.RemoveItems({3, 1, 3, 99, -1});
    EXPECT_EQ(Names(), (NameList{"0.mp3", "2.mp3", "4.mp3"}));
    EXPECT_FALSE(m_list.FindFile(m_dir.StrPathOf("1.mp3")));
    EXPECT_TRUE(m_list.FindFile(m_dir.StrPathOf("2.mp3")));
    m_list.RemoveAt(0);
    EXPECT_EQ(Names(), (NameList{"2.mp3", "4.mp3"}));
    ASSERT_TRUE(m_list.AddFile(m_dir.StrPathOf("1.mp3")));
    EXPECT_EQ(Names(), (NameList{"2.mp3", "4.mp3", "1.mp3"}));
    m_list.RemoveAll();
    EXPECT_EQ(m_list.GetCount(), 0);
    EXPECT_FALSE(m_list.FindFile(m_dir.StrPathOf("2.mp3")));
}

TEST_F(FileListTest, MovesUpDownAndToATarget)
{
    for (const char* psz : {"0.mp3", "1.mp3", "2.mp3", "3.mp3", "4.mp3", "5.mp3"})
        ASSERT_TRUE(m_list.AddFile(Audio(psz)));

    // A block at the top stays; the others move by one.
    EXPECT_EQ(m_list.MoveUp({0, 1, 3, 5}), (std::vector<int>{0, 1, 2, 4}));
    EXPECT_EQ(Names(), (NameList{"0.mp3", "1.mp3", "3.mp3", "2.mp3", "5.mp3", "4.mp3"}));
    EXPECT_EQ(m_list.MoveDown({2, 4, 5}), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(Names(), (NameList{"0.mp3", "1.mp3", "2.mp3", "3.mp3", "5.mp3", "4.mp3"}));

    // Before the item at the target, in the old order.
    EXPECT_EQ(m_list.MoveTo({4, 0}, 2), (std::vector<int>{1, 2}));
    EXPECT_EQ(Names(), (NameList{"1.mp3", "0.mp3", "5.mp3", "2.mp3", "3.mp3", "4.mp3"}));
    EXPECT_EQ(m_list.MoveTo({0}, 6), (std::vector<int>{5}));
    EXPECT_EQ(Names(), (NameList{"0.mp3", "5.mp3", "2.mp3", "3.mp3", "4.mp3", "1.mp3"}));
    // A selected item at the target, a negative target or no selection move nothing.
    EXPECT_EQ(m_list.MoveTo({1, 2}, 2), (std::vector<int>{1, 2}));
    EXPECT_EQ(m_list.MoveTo({1}, -1), (std::vector<int>{1}));
    EXPECT_TRUE(m_list.MoveTo({}, 0).empty());
    EXPECT_EQ(Names(), (NameList{"0.mp3", "5.mp3", "2.mp3", "3.mp3", "4.mp3", "1.mp3"}));

    m_list.SwapItems(0, 5);
    EXPECT_EQ(Names(), (NameList{"1.mp3", "5.mp3", "2.mp3", "3.mp3", "4.mp3", "0.mp3"}));
    EXPECT_EQ(m_list.GetImage(0), 7);
    EXPECT_TRUE(m_list.FindFile(m_dir.StrPathOf("0.mp3")));
}

TEST_F(FileListTest, SortsByAField)
{
    for (const char* psz : {"b.mp3", "C.mp3", "a.mp3"})
        ASSERT_TRUE(m_list.AddFile(Audio(psz)));
    const CCollator collator("C");
    m_list.Sort(
        [&collator](const CFileAssocData& x, const CFileAssocData& y)
        { return CFileAssocData::Compare(x, y, CFileAssocData::FIELD_FILENAME, collator); });
    EXPECT_EQ(Names(), (NameList{"C.mp3", "a.mp3", "b.mp3"}));
    // Equal keys keep their order.
    m_list.Sort([](const CFileAssocData&, const CFileAssocData&) { return 0; });
    EXPECT_EQ(Names(), (NameList{"C.mp3", "a.mp3", "b.mp3"}));
    EXPECT_EQ(m_list.IndexOf(m_list.GetRecord(2)), 2);
    EXPECT_EQ(m_list.IndexOf(nullptr), -1);
}

// By text (through sort keys) and by number, both directions, the order Sort gives with the
// records' comparison; equal values keep their order.
TEST_F(FileListTest, SortsByAFieldAsTheComparisonDoes)
{
#ifdef _WIN32
    const std::string strUpper = "F.mp3"; // "B.mp3" would be "b.mp3" again
#else
    const std::string strUpper = "B.mp3";
#endif
    const NameList added = {"d.mp3", strUpper, "a.mp3", "c.mp3", "b.mp3", "e.mp3"};
    for (const std::string& strName : added)
        ASSERT_TRUE(m_list.AddFile(Audio(strName.c_str())));
    // Two equal titles and an empty one.
    const char16_t* const titles[] = {u"Zed", u"alpha", u"Beta", u"alpha", u"", u"beta"};
    for (int i = 0; i < m_list.GetCount(); ++i)
    {
        m_list.GetRecord(i)->m_strTitle = titles[i];
        m_list.GetRecord(i)->m_nTrack = i % 3;
    }
    auto restore = [this, &added]
    {
        auto position = [&added](const CFileAssocData& r)
        { return std::find(added.begin(), added.end(), r.m_strFileName.ToUtf8()) - added.begin(); };
        m_list.Sort(
            [&](const CFileAssocData& x, const CFileAssocData& y)
            { return position(x) < position(y) ? -1 : (position(x) > position(y) ? 1 : 0); });
    };
    const CCollator collator("C");
    for (const int nField :
         {CFileAssocData::FIELD_TITLE, CFileAssocData::FIELD_FILENAME, CFileAssocData::FIELD_TRACK})
    {
        for (const BOOL bAscending : {TRUE, FALSE})
        {
            SCOPED_TRACE(nField * 2 + bAscending);
            restore();
            m_list.Sort(
                [&](const CFileAssocData& x, const CFileAssocData& y)
                {
                    const int n = CFileAssocData::Compare(x, y, nField, collator);
                    return bAscending ? n : -n;
                });
            const NameList expected = Names();
            restore();
            m_list.SortByField(nField, bAscending, collator);
            EXPECT_EQ(Names(), expected);
        }
    }
    restore();
    m_list.SortByField(CFileAssocData::FIELD_TITLE, TRUE, collator);
    EXPECT_EQ(Names(), (NameList{"b.mp3", "a.mp3", "d.mp3", strUpper, "c.mp3", "e.mp3"}));
    m_list.SortByField(CFileAssocData::FIELD_TITLE, FALSE, collator);
    EXPECT_EQ(Names(), (NameList{"e.mp3", strUpper, "c.mp3", "d.mp3", "a.mp3", "b.mp3"}));
}

TEST_F(FileListTest, RenamedRecordsAnswerForTheirNewPath)
{
    ASSERT_TRUE(m_list.AddFile(Audio("old.mp3")));
    ASSERT_TRUE(m_list.AddFile(Audio("gone.mp3")));
    std::filesystem::rename(m_dir.PathOf("old.mp3"), m_dir.PathOf("new.mp3"));
    CFileAssocData* pRecord = m_list.GetRecord(0);
    ASSERT_TRUE(pRecord->Load(m_dir.StrPathOf("new.mp3")));
    // The old path is free at once.
    EXPECT_FALSE(m_list.FindFile(m_dir.StrPathOf("old.mp3")));

    // A record whose new name could not be read is stale and leaves the list.
    m_list.GetRecord(1)->m_bStale = TRUE;
    EXPECT_EQ(m_list.RemoveStaleRecords(), 1);
    EXPECT_EQ(Names(), NameList{"new.mp3"});
    EXPECT_TRUE(m_list.FindFile(m_dir.StrPathOf("new.mp3")));
    EXPECT_FALSE(m_list.FindFile(m_dir.StrPathOf("gone.mp3")));

    ASSERT_TRUE(m_list.AddFile(Audio("old.mp3")));
    EXPECT_EQ(Names(), (NameList{"new.mp3", "old.mp3"}));
    EXPECT_TRUE(m_list.AddFile(m_dir.StrPathOf("new.mp3")));
    EXPECT_EQ(m_list.GetCount(), 2);
}

TEST_F(FileListTest, OpenPathReadsPlaylistsAndFileListsByExtension)
{
    Audio("a.mp3");
    Audio("b.mp3");
    Audio("c.mp3");
    Text("list.m3u", "#EXTM3U\r\na.mp3\r\n");
    Text("list.M3U8", "#EXTM3U\nb.mp3\n");
    Text("files.lst", m_dir.StrPathOf("c.mp3").ToUtf8() + "\n");
    EXPECT_TRUE(m_list.OpenPath(m_dir.StrPathOf("list.m3u"), &m_diag));
    EXPECT_TRUE(m_list.OpenPath(m_dir.StrPathOf("list.M3U8"), &m_diag));
    EXPECT_TRUE(m_list.OpenPath(m_dir.StrPathOf("files.lst"), &m_diag));
    EXPECT_EQ(Names(), (NameList{"a.mp3", "b.mp3", "c.mp3"}));
    EXPECT_EQ(m_listHost.m_nSortResets, 3);
    EXPECT_EQ(m_diag.GetCount(), 0);
    EXPECT_FALSE(m_busy.IsBusy());

    // Not a playlist: string 126 from the reader, and the sort mark stays.
    Text("bad.m3u", "a.mp3\n");
    EXPECT_FALSE(m_list.OpenPath(m_dir.StrPathOf("bad.m3u"), &m_diag));
    EXPECT_EQ(m_listHost.m_nSortResets, 3);
    ASSERT_EQ(m_diag.GetCount(), 1);
    EXPECT_EQ(m_diag.GetMessages()[0],
              Res::FormatResourceString(Res::IDS_INVALID_PLAYLIST, m_dir.StrPathOf("bad.m3u")));
}

TEST_F(FileListTest, ADroppedPlaylistIsLoaded)
{
    Audio("a.mp3");
    Audio("b.mp3");
    Text("list.m3u", "#EXTM3U\nb.mp3\na.mp3\n");
    m_list.AddDroppedFiles({m_dir.StrPathOf("list.m3u")}, &m_diag);
    EXPECT_EQ(Names(), (NameList{"b.mp3", "a.mp3"}));
    EXPECT_EQ(m_diag.GetCount(), 0);
    EXPECT_FALSE(m_busy.IsBusy());
    EXPECT_EQ(m_listHost.m_nRedrawDepth, 0);
}
