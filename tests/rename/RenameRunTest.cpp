#include "app/BusyState.h"
#include "base/Path.h"
#include "browser/DiagnosticMessages.h"
#include "browser/FileAssocData.h"
#include "browser/FileMove.h"
#include "rename/AutoRename.h"

#include <gtest/gtest.h>

#include "fixtures/FileBytes.h"
#include "fixtures/Mp3Builder.h"
#include "fixtures/TempDir.h"

#include <cerrno>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;
using Fixtures::CMp3Builder;

namespace
{

// The system's error codes for the refusals below.
#ifdef _WIN32
constexpr LONG kExists = ERROR_ALREADY_EXISTS;
constexpr LONG kNotFound = ERROR_FILE_NOT_FOUND;
constexpr LONG kTooLong = ERROR_FILENAME_EXCED_RANGE;
constexpr LONG kNulInName = ERROR_INVALID_NAME;
#else
constexpr LONG kExists = EEXIST;
constexpr LONG kNotFound = ENOENT;
constexpr LONG kTooLong = ENAMETOOLONG;
constexpr LONG kNulInName = EINVAL;
#endif

// The window side of the busy state: Esc presses come from a queue the test fills.
class CTestBusyHost : public IBusyHost
{
public:
    void SetBusyMode(BOOL bBusy) override { m_log.push_back(bBusy ? "busy" : "idle"); }
    void SetStatusText(const CString& strText) override { m_log.push_back(strText.ToUtf8()); }
    void BeginWaitCursor() override { m_log.push_back("wait"); }
    void EndWaitCursor() override { m_log.push_back("arrow"); }
    BOOL PollEscape() override
    {
        ++m_nPolls;
        if (m_escapes.empty())
            return m_bEscapeAfterQueue;
        const bool b = m_escapes.front();
        m_escapes.pop_front();
        return b;
    }

    std::vector<std::string> m_log;
    std::deque<bool> m_escapes;
    BOOL m_bEscapeAfterQueue = FALSE;
    int m_nPolls = 0;
};

// The confirmation: answers as told and may alter the plan first.
class CTestRenameHost : public IRenameHost
{
public:
    void BeginWaitCursor() override { ++m_nWaits; }
    void EndWaitCursor() override { --m_nWaits; }
    BOOL ConfirmRename(CAutoRename& engine) override
    {
        ++m_nConfirms;
        m_nWaitsAtConfirm = m_nWaits;
        if (m_pfnAlter)
            m_pfnAlter(engine);
        return m_bConfirm;
    }

    BOOL m_bConfirm = TRUE;
    int m_nWaits = 0;
    int m_nWaitsAtConfirm = -1;
    int m_nConfirms = 0;
    void (*m_pfnAlter)(CAutoRename&) = nullptr;
};

class CRenameRunTest : public ::testing::Test
{
protected:
    // An MP3 file with an ID3v1 tag; its record loaded from it.
    CFileAssocData* AddFile(const fs::path& folder, const std::string& strName,
                            const std::string& strTitle, const std::string& strArtist = "")
    {
        CMp3Builder::Id3v1Fields fields;
        fields.m_strTitle = strTitle;
        fields.m_strArtist = strArtist;
        fields.m_nTrack = 1;
        CMp3Builder().AddFrames({}, 3).AddId3v1(fields).WriteTo(folder / strName);
        auto pRecord = std::make_unique<CFileAssocData>();
        EXPECT_TRUE(pRecord->Load(Fixtures::ToCString(folder / strName)));
        m_records.push_back(std::move(pRecord));
        m_engine.AddRecord(m_records.back().get(), m_nNext++);
        return m_records.back().get();
    }

    BOOL Run(const char16_t* pszFormat)
    {
        return m_engine.Execute(MakePreset(CString(pszFormat)), &m_diagnostics);
    }

    std::vector<std::string> Messages() const
    {
        std::vector<std::string> lines;
        for (const CString& str : m_diagnostics.GetMessages())
            lines.push_back(str.ToUtf8());
        return lines;
    }

    Fixtures::CTempDir m_dir;
    CTestBusyHost m_busyHost;
    CBusyState m_busy{&m_busyHost};
    CTestRenameHost m_renameHost;
    CAutoRename m_engine{m_busy, &m_renameHost};
    CDiagnosticMessages m_diagnostics;
    std::vector<std::unique_ptr<CFileAssocData>> m_records;
    int m_nNext = 0;
};

} // namespace

TEST_F(CRenameRunTest, RenamesAndReloadsEachRecordUnderItsNewName)
{
    CFileAssocData* pFirst = AddFile(m_dir.GetPath(), "a.mp3", "First", "Band");
    CFileAssocData* pSecond = AddFile(m_dir.GetPath(), "b.mp3", "Second", "Band");
    const Fixtures::Bytes bytes = Fixtures::ReadFileBytes(m_dir.PathOf("a.mp3"));

    ASSERT_TRUE(Run(u"<counter> <artist>-<title>"));
    EXPECT_EQ(m_renameHost.m_nConfirms, 1);
    EXPECT_EQ(m_renameHost.m_nWaitsAtConfirm, 0); // the wait cursor ended before the dialog
    EXPECT_FALSE(fs::exists(m_dir.PathOf("a.mp3")));
    EXPECT_FALSE(fs::exists(m_dir.PathOf("b.mp3")));
    EXPECT_EQ(Fixtures::ReadFileBytes(m_dir.PathOf("000 Band-First.mp3")), bytes);
    EXPECT_TRUE(fs::exists(m_dir.PathOf("001 Band-Second.mp3")));

    EXPECT_EQ(pFirst->m_strFileName, CString(u"000 Band-First.mp3"));
    EXPECT_EQ(pFirst->m_strFolder, m_dir.StrPath());
    EXPECT_EQ(pFirst->m_strTitle, CString(u"First"));
    EXPECT_EQ(pSecond->GetFullPath(), m_dir.StrPathOf("001 Band-Second.mp3"));
    EXPECT_FALSE(pFirst->m_bStale);
    EXPECT_EQ(m_diagnostics.GetCount(), 0);

    // The busy state framed the run and was left idle.
    ASSERT_GE(m_busyHost.m_log.size(), 2u);
    EXPECT_EQ(m_busyHost.m_log[1], "busy");
    EXPECT_EQ(m_busyHost.m_log.back(), "Ready");
    EXPECT_FALSE(m_busy.IsBusy());
}

TEST_F(CRenameRunTest, CancelledConfirmationRenamesNothing)
{
    AddFile(m_dir.GetPath(), "a.mp3", "First");
    m_renameHost.m_bConfirm = FALSE;
    EXPECT_FALSE(Run(u"<title>"));
    EXPECT_TRUE(fs::exists(m_dir.PathOf("a.mp3")));
    EXPECT_TRUE(m_busyHost.m_log.empty());
    EXPECT_EQ(m_diagnostics.GetCount(), 0);
}

TEST_F(CRenameRunTest, AnInvalidPresetEndsSilentlyBeforeThePlan)
{
    AddFile(m_dir.GetPath(), "a.mp3", "First");
    EXPECT_FALSE(Run(u"<Title>"));
    EXPECT_EQ(m_renameHost.m_nConfirms, 0);
    EXPECT_TRUE(m_engine.GetItem(0)->strNewName.IsEmpty());
    EXPECT_TRUE(fs::exists(m_dir.PathOf("a.mp3")));
}

TEST_F(CRenameRunTest, AMoveOntoAFileCreatedMeanwhileIsRefusedAndReported)
{
    AddFile(m_dir.GetPath(), "a.mp3", "Target");
    ASSERT_TRUE(m_engine.PlanNames(MakePreset(u"<title>")));
    ASSERT_TRUE(m_engine.GetItem(0)->bCanRename);
    Fixtures::WriteFileBytes(m_dir.PathOf("Target.mp3"), Fixtures::BytesOf("keep me"));

    m_engine.RenameFiles(&m_diagnostics);
    EXPECT_EQ(Fixtures::ReadFileBytes(m_dir.PathOf("Target.mp3")), Fixtures::BytesOf("keep me"));
    EXPECT_TRUE(fs::exists(m_dir.PathOf("a.mp3")));
    ASSERT_EQ(m_diagnostics.GetCount(), 1);
    const std::string strExpected =
        "Couldn't rename file from '" + m_dir.StrPathOf("a.mp3").ToUtf8() + "' to '" +
        m_dir.StrPathOf("Target.mp3").ToUtf8() + "' " + GetOsErrorText(kExists).ToUtf8();
    EXPECT_EQ(Messages(), std::vector<std::string>{strExpected});
    EXPECT_EQ(m_records[0]->m_strFileName, CString(u"a.mp3"));
    EXPECT_FALSE(m_records[0]->m_bStale);
}

TEST_F(CRenameRunTest, FailuresWithoutACollectorAreSilent)
{
    AddFile(m_dir.GetPath(), "a.mp3", "Target");
    ASSERT_TRUE(m_engine.PlanNames(MakePreset(u"<title>")));
    Fixtures::WriteFileBytes(m_dir.PathOf("Target.mp3"), Fixtures::BytesOf("keep me"));
    m_engine.RenameFiles(nullptr);
    EXPECT_TRUE(fs::exists(m_dir.PathOf("a.mp3")));
}

TEST_F(CRenameRunTest, MarkedItemsAreLeftAlone)
{
    AddFile(m_dir.GetPath(), "Same.mp3", "Same"); // its own name
    AddFile(m_dir.GetPath(), "b.mp3", "Dup");
    AddFile(m_dir.GetPath(), "c.mp3", "Dup");
    ASSERT_TRUE(Run(u"<title>"));
    EXPECT_TRUE(fs::exists(m_dir.PathOf("Same.mp3")));
    EXPECT_TRUE(fs::exists(m_dir.PathOf("Dup.mp3")));
    EXPECT_TRUE(fs::exists(m_dir.PathOf("c.mp3")));
    EXPECT_EQ(m_diagnostics.GetCount(), 0);
}

TEST_F(CRenameRunTest, EveryItemMarkedRenamesNothingAndReportsNothing)
{
    AddFile(m_dir.GetPath(), "b.mp3", "Dup");
    AddFile(m_dir.GetPath(), "c.mp3", "Dup");
    m_renameHost.m_pfnAlter = [](CAutoRename& engine) { engine.UpdateConflicts(); };
    ASSERT_TRUE(Run(u"<title>"));
    EXPECT_TRUE(fs::exists(m_dir.PathOf("b.mp3")));
    EXPECT_TRUE(fs::exists(m_dir.PathOf("c.mp3")));
    EXPECT_EQ(m_diagnostics.GetCount(), 0);
}

TEST_F(CRenameRunTest, NamesAlteredInTheConfirmationAreUsed)
{
    AddFile(m_dir.GetPath(), "b.mp3", "Dup");
    AddFile(m_dir.GetPath(), "c.mp3", "Dup");
    m_renameHost.m_pfnAlter = [](CAutoRename& engine)
    {
        engine.GetItem(0)->strNewName = u"Unique.mp3";
        engine.UpdateConflicts();
    };
    ASSERT_TRUE(Run(u"<title>"));
    EXPECT_TRUE(fs::exists(m_dir.PathOf("Unique.mp3")));
    EXPECT_TRUE(fs::exists(m_dir.PathOf("Dup.mp3")));
}

TEST_F(CRenameRunTest, ACaseOnlyRenameWorks)
{
    CFileAssocData* pRecord = AddFile(m_dir.GetPath(), "song.mp3", "Song");
    ASSERT_TRUE(m_engine.PlanNames(MakePreset(u"<title>")));
    // The clash test ignores case, so the plan marks it; a caller that clears the mark gets the
    // rename.
    EXPECT_FALSE(m_engine.GetItem(0)->bCanRename);
    m_engine.GetItem(0)->bCanRename = TRUE;
    m_engine.RenameFiles(&m_diagnostics);
    EXPECT_EQ(m_diagnostics.GetCount(), 0);
#ifdef _WIN32
    // Both spellings name the file here; the folder listing shows the one on disk.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_dir.GetPath()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"Song.mp3"});
#else
    EXPECT_TRUE(fs::exists(m_dir.PathOf("Song.mp3")));
    EXPECT_FALSE(fs::exists(m_dir.PathOf("song.mp3")));
#endif
    EXPECT_EQ(pRecord->m_strFileName, CString(u"Song.mp3"));
}

TEST_F(CRenameRunTest, EscStopsBetweenFiles)
{
    const char* const names[] = {"f0.mp3", "f1.mp3", "f2.mp3", "f3.mp3", "f4.mp3"};
    const char* const titles[] = {"T0", "T1", "T2", "T3", "T4"};
    for (int i = 0; i < 5; ++i)
        AddFile(m_dir.GetPath(), names[i], titles[i]);
    // No Esc before the first two files, then Esc.
    m_busyHost.m_escapes = {false, false};
    m_busyHost.m_bEscapeAfterQueue = TRUE;
    ASSERT_TRUE(Run(u"<title>"));
    EXPECT_TRUE(fs::exists(m_dir.PathOf("T0.mp3")));
    EXPECT_TRUE(fs::exists(m_dir.PathOf("T1.mp3")));
    for (int i = 2; i < 5; ++i)
        EXPECT_TRUE(fs::exists(m_dir.PathOf(names[i]))) << names[i];
    EXPECT_EQ(m_busyHost.m_nPolls, 3);
    EXPECT_EQ(m_busyHost.m_log.back(), "Ready");
    EXPECT_FALSE(m_busy.IsBusy());
    EXPECT_TRUE(m_busy.IsCancelRequested());
}

TEST_F(CRenameRunTest, EscPendingAtTheStartRenamesNothing)
{
    AddFile(m_dir.GetPath(), "a.mp3", "T");
    m_busyHost.m_bEscapeAfterQueue = TRUE;
    ASSERT_TRUE(Run(u"<title>"));
    EXPECT_TRUE(fs::exists(m_dir.PathOf("a.mp3")));
    EXPECT_FALSE(m_busy.IsBusy());
}

#ifndef _WIN32
// FIFOs are POSIX's.
TEST_F(CRenameRunTest, ARecordThatCannotBeReadAfterTheMoveIsMarkedStale)
{
    // A FIFO moves like a file but never opens as one.
    ASSERT_EQ(::mkfifo(m_dir.PathOf("pipe.mp3").c_str(), 0600), 0);
    auto pRecord = std::make_unique<CFileAssocData>();
    pRecord->m_strFolder = m_dir.StrPath();
    pRecord->m_strFileName = u"pipe.mp3";
    pRecord->m_strTitle = u"Piped";
    m_engine.AddRecord(pRecord.get(), 0);
    ASSERT_TRUE(Run(u"<title>"));
    EXPECT_TRUE(fs::is_fifo(m_dir.PathOf("Piped.mp3")));
    EXPECT_TRUE(pRecord->m_bStale);
    EXPECT_EQ(m_diagnostics.GetCount(), 0);
}
#endif

TEST_F(CRenameRunTest, ASeparatorInATagValueNeverMovesTheFileElsewhere)
{
    fs::create_directory(m_dir.PathOf("AC"));
    AddFile(m_dir.GetPath(), "a.mp3", "AC/DC");
    ASSERT_TRUE(Run(u"<title>"));
    EXPECT_TRUE(fs::exists(m_dir.PathOf("a.mp3")));
    EXPECT_TRUE(fs::is_empty(m_dir.PathOf("AC")));
    ASSERT_EQ(m_diagnostics.GetCount(), 1);
    EXPECT_EQ(Messages()[0], "Couldn't rename file from '" + m_dir.StrPathOf("a.mp3").ToUtf8() +
                                 "' to '" + (m_dir.StrPath() + Path::chSeparator).ToUtf8() +
                                 "AC/DC.mp3' " + GetOsErrorText(GetInvalidNameError()).ToUtf8());
}

TEST_F(CRenameRunTest, FilesOfSeveralFoldersAreRenamedInTheirOwnFolders)
{
    Fixtures::CTempDir other;
    AddFile(m_dir.GetPath(), "a.mp3", "X");
    AddFile(other.GetPath(), "b.mp3", "Y");
    AddFile(m_dir.GetPath(), "c.mp3", "Z");
    ASSERT_TRUE(Run(u"<counter> <title>"));
    EXPECT_TRUE(fs::exists(m_dir.PathOf("000 X.mp3")));
    EXPECT_TRUE(fs::exists(m_dir.PathOf("001 Z.mp3")));
    EXPECT_TRUE(fs::exists(other.PathOf("000 Y.mp3")));
}

// ---------------------------------------------------------------------------------------------
// The move itself

TEST(FileMoveTest, NeverReplacesAndReportsTheSystemsError)
{
    Fixtures::CTempDir dir;
    Fixtures::WriteFileBytes(dir.PathOf("a"), Fixtures::BytesOf("a"));
    Fixtures::WriteFileBytes(dir.PathOf("b"), Fixtures::BytesOf("b"));
    LONG lError = 0;
    EXPECT_FALSE(MoveFileNoReplace(dir.StrPathOf("a"), dir.StrPathOf("b"), &lError));
    EXPECT_EQ(lError, kExists);
    EXPECT_EQ(Fixtures::ReadFileBytes(dir.PathOf("b")), Fixtures::BytesOf("b"));
#ifndef _WIN32
    // Windows moves a file onto its own name as a move that changes nothing.
    EXPECT_FALSE(MoveFileNoReplace(dir.StrPathOf("a"), dir.StrPathOf("a"), &lError));
    EXPECT_EQ(lError, kExists);
#endif

    EXPECT_FALSE(MoveFileNoReplace(dir.StrPathOf("missing"), dir.StrPathOf("c"), &lError));
    EXPECT_EQ(lError, kNotFound);
    EXPECT_FALSE(GetOsErrorText(kNotFound).IsEmpty());

    EXPECT_TRUE(MoveFileNoReplace(dir.StrPathOf("a"), dir.StrPathOf("c"), &lError));
    EXPECT_EQ(Fixtures::ReadFileBytes(dir.PathOf("c")), Fixtures::BytesOf("a"));
}

#ifndef _WIN32
// Needs a file system that tells names apart by case.
TEST(FileMoveTest, AnotherEntryDifferingOnlyInCaseIsNotReplaced)
{
    Fixtures::CTempDir dir;
    Fixtures::WriteFileBytes(dir.PathOf("x.mp3"), Fixtures::BytesOf("x"));
    // A second name of the same file, spelled in upper case: a real entry of its own.
    fs::create_hard_link(dir.PathOf("x.mp3"), dir.PathOf("X.mp3"));
    LONG lError = 0;
    EXPECT_FALSE(MoveFileNoReplace(dir.StrPathOf("x.mp3"), dir.StrPathOf("X.mp3"), &lError));
    EXPECT_EQ(lError, kExists);
    EXPECT_TRUE(fs::exists(dir.PathOf("x.mp3")));
    EXPECT_TRUE(fs::exists(dir.PathOf("X.mp3")));
}
#endif

TEST(FileMoveTest, PathsThatCannotReachTheSystemWhole)
{
    Fixtures::CTempDir dir;
    Fixtures::WriteFileBytes(dir.PathOf("a"), Fixtures::BytesOf("a"));
    LONG lError = 0;
    EXPECT_FALSE(
        MoveFileNoReplace(dir.StrPathOf("a"), dir.StrPathOf("b") + CString(u"\0c", 2), &lError));
    EXPECT_EQ(lError, kNulInName);
    EXPECT_FALSE(fs::exists(dir.PathOf("b")));
    EXPECT_FALSE(
        MoveFileNoReplace(dir.StrPathOf("a"), dir.StrPathOf(std::string(5000, 'n')), &lError));
    EXPECT_EQ(lError, kTooLong);
    EXPECT_TRUE(fs::exists(dir.PathOf("a")));
}
