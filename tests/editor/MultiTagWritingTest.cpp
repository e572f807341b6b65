#include "EditorFiles.h"

#include "editor/ActionList.h"
#include "editor/MultiTagScan.h"
#include "editor/MultiTagWriting.h"

#include "browser/DiagnosticMessages.h"
#include "browser/UndoHistory.h"
#include "fixtures/FileBytes.h"
#include "fixtures/TempDir.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/frames/CommentsFrame.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

using namespace Tags;
using namespace Fixtures;
using EditorFiles::NewText;
using Tags::ID3v2Tag::CCommentsFrame;
namespace fs = std::filesystem;

namespace
{

// Records the texts and the begin/end pairs; Esc counts as pressed from poll nCancelAt on.
class CTestBusy : public IBusyState
{
public:
    explicit CTestBusy(int nCancelAt = -1) : m_nCancelAt(nCancelAt) {}

    void BeginBusy() override
    {
        ++m_nBegun;
        m_bBusy = TRUE;
        m_nPolls = 0;
    }
    void EndBusy() override
    {
        ++m_nEnded;
        m_bBusy = FALSE;
    }
    BOOL IsCancelRequested() override { return m_nCancelAt >= 0 && m_nPolls++ >= m_nCancelAt; }
    BOOL IsBusy() const override { return m_bBusy; }
    void SetStatusText(const CString& strText) override { m_texts.push_back(strText); }

    int m_nBegun = 0;
    int m_nEnded = 0;
    std::vector<CString> m_texts;

private:
    int m_nCancelAt;
    int m_nPolls = 0;
    BOOL m_bBusy = FALSE;
};

std::vector<std::string> FrameIDs(const CString& strPath)
{
    CMpegFile file(strPath, FALSE);
    std::vector<std::string> ids;
    if (const ID3v2Tag::CID3v2* pTag = file.GetID3v2(FALSE))
    {
        for (const auto& pFrame : pTag->m_frames)
            ids.emplace_back(pFrame->GetID());
    }
    return ids;
}

// What a file holds: the ID3v1 fields as the dialog shows them and the ID3v2 title, year and
// version; empty values for a tag the file does not have.
struct tagREADBACK
{
    tagID3V1VALUES v1;
    CString strTitle;
    CString strYear;
    int nVersion = 0;
};

tagREADBACK ReadBack(const CString& strPath)
{
    CMpegFile file(strPath, FALSE);
    tagREADBACK result;
    result.v1 = LoadID3v1Values(file.GetID3v1(FALSE));
    if (const ID3v2Tag::CID3v2* pTag = file.GetID3v2(FALSE))
    {
        result.strTitle = pTag->GetTitle();
        result.strYear = pTag->GetYear();
        result.nVersion = pTag->m_pHeader->m_nVersion;
    }
    return result;
}

class MultiTagWritingTest : public ::testing::Test
{
protected:
    // The audio with a tag of nVersion and an ID3v1 tag, both titled strTitle.
    CString MakeFile(const std::string& strName, const CString& strTitle, int nVersion = 3)
    {
        WriteFileBytes(m_dir.PathOf(strName), EditorFiles::Audio());
        EditorFiles::SaveBothTags(m_dir.StrPathOf(strName), strTitle, nVersion);
        return m_dir.StrPathOf(strName);
    }

    template <typename... Frames>
    static void AddFrames(const CString& strPath, std::unique_ptr<Frames>... frames)
    {
        CMpegFile file(strPath, FALSE);
        (file.GetID3v2(TRUE)->AddTail(std::move(frames)), ...);
        ASSERT_TRUE(file.SaveTags(TAG_ID3V2));
    }

    static std::unique_ptr<CCommentsFrame> NewComment(const char* szLanguage, const CString& str)
    {
        auto pFrame = std::make_unique<CCommentsFrame>();
        std::snprintf(pFrame->m_szLanguage, sizeof(pFrame->m_szLanguage), "%s", szLanguage);
        pFrame->m_strDescription = str;
        pFrame->m_strText = str;
        return pFrame;
    }

    CTempDir m_dir;
    CActionList m_actions;
    CDiagnosticMessages m_diag;
};

} // namespace

TEST_F(MultiTagWritingTest, FieldsAtKeepLeaveEachFilesOwnAndATypedValueGoesToAll)
{
    const std::vector<CString> files = {MakeFile("a.mp3", u"A"), MakeFile("b.mp3", u"B"),
                                        MakeFile("c.mp3", u"C")};
    CTestBusy busy;
    ASSERT_EQ(ScanFrameIDs(files, m_actions, busy), SCAN_DONE);
    tagID3V1VALUES values = GetFieldsToKeep();
    EXPECT_TRUE(WriteTagsToFiles(files, m_actions, values, tagTAGOPTIONS(), busy, &m_diag));
    EXPECT_EQ(busy.m_nBegun, 2);
    EXPECT_EQ(busy.m_nEnded, 2);
    ASSERT_EQ(busy.m_texts.size(), 6u);
    EXPECT_EQ(busy.m_texts[0], u"Reading file : '" + files[0] + u"'...");
    EXPECT_EQ(busy.m_texts[5], u"Writing file: '" + files[2] + u"'...");

    const CString kTitles[] = {u"A", u"B", u"C"};
    for (size_t i = 0; i < files.size(); ++i)
    {
        EXPECT_EQ(ReadBack(files[i]).v1.strTitle, kTitles[i]);
        EXPECT_EQ(ReadBack(files[i]).strTitle, kTitles[i]);
    }

    values.strTitle = u"Typed";
    EXPECT_TRUE(WriteTagsToFiles(files, m_actions, values, tagTAGOPTIONS(), busy, &m_diag));
    for (size_t i = 0; i < files.size(); ++i)
    {
        EXPECT_EQ(ReadBack(files[i]).v1.strTitle, CString(u"Typed"));
        // The frame row was kept.
        EXPECT_EQ(ReadBack(files[i]).strTitle, kTitles[i]);
    }
    EXPECT_EQ(m_diag.GetCount(), 0);
}

TEST_F(MultiTagWritingTest, RowsAreTheUnionOfIDsAndRemoveTouchesOnlyTheFilesThatHaveTheID)
{
    const std::vector<CString> files = {MakeFile("a.mp3", u"A"), MakeFile("b.mp3", u"B"),
                                        MakeFile("c.mp3", u"C")};
    AddFrames(files[1], NewText("TPE1", u"Artist"), NewText("TPE2", u"Band"),
              NewText("TPE2", u"Band 2"));
    AddFrames(files[2], NewText("TALB", u"Album"), NewText("TPE1", u"Artist"));

    CTestBusy busy;
    ASSERT_EQ(ScanFrameIDs(files, m_actions, busy), SCAN_DONE);
    std::vector<std::string> rows;
    for (const auto& pAction : m_actions)
    {
        EXPECT_EQ(pAction->m_nType, ACTION_KEEP);
        rows.emplace_back(pAction->m_szFrameID);
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"TIT2", "TPE1", "TPE2", "TALB"}));

    m_actions.FindAction("TPE2")->Remove();
    EXPECT_TRUE(
        WriteTagsToFiles(files, m_actions, GetFieldsToKeep(), tagTAGOPTIONS(), busy, &m_diag));
    EXPECT_EQ(FrameIDs(files[0]), (std::vector<std::string>{"TIT2"}));
    EXPECT_EQ(FrameIDs(files[1]), (std::vector<std::string>{"TIT2", "TPE1"}));
    EXPECT_EQ(FrameIDs(files[2]), (std::vector<std::string>{"TIT2", "TALB", "TPE1"}));
}

TEST_F(MultiTagWritingTest, ASetCommentReplacesEveryCommentOfEveryFile)
{
    const std::vector<CString> files = {MakeFile("a.mp3", u"A"), MakeFile("b.mp3", u"B"),
                                        MakeFile("c.mp3", u"C")};
    AddFrames(files[0], NewComment("eng", u"one"), NewText("TALB", u"Album"),
              NewComment("deu", u"two"));
    AddFrames(files[1], NewComment("eng", u"three"));

    CTestBusy busy;
    ASSERT_EQ(ScanFrameIDs(files, m_actions, busy), SCAN_DONE);
    ASSERT_NE(m_actions.FindAction("COMM"), nullptr);
    m_actions.FindAction("COMM")->Set(NewComment("fra", u"New"));
    EXPECT_TRUE(
        WriteTagsToFiles(files, m_actions, GetFieldsToKeep(), tagTAGOPTIONS(), busy, &m_diag));

    EXPECT_EQ(FrameIDs(files[0]), (std::vector<std::string>{"TIT2", "TALB", "COMM"}));
    EXPECT_EQ(FrameIDs(files[1]), (std::vector<std::string>{"TIT2", "COMM"}));
    EXPECT_EQ(FrameIDs(files[2]), (std::vector<std::string>{"TIT2", "COMM"}));
    for (const CString& strPath : files)
    {
        CMpegFile file(strPath, FALSE);
        ASSERT_NE(file.GetID3v2(FALSE), nullptr);
        const auto* pComment =
            dynamic_cast<const CCommentsFrame*>(file.GetID3v2(FALSE)->FindFrame("COMM"));
        ASSERT_NE(pComment, nullptr);
        EXPECT_EQ(pComment->m_strText, CString(u"New"));
        EXPECT_STREQ(pComment->m_szLanguage, "fra");
        // Comment at "<Keep>": the ID3v1 tag still has none.
        EXPECT_EQ(LoadID3v1Values(file.GetID3v1(FALSE)).strComment, CString());
    }
}

TEST_F(MultiTagWritingTest, CopyFromID3v2TakesTheTagToBeWrittenAndNeverAnUnstorableTrack)
{
    // a: ID3v2 title "A" and track 300, ID3v1 title "x" and track 7. b: only ID3v1, "Old", 9.
    const CString strA = MakeFile("a.mp3", u"A");
    AddFrames(strA, NewText("TRCK", u"300"));
    const CString strB = m_dir.StrPathOf("b.mp3");
    WriteFileBytes(m_dir.PathOf("b.mp3"), EditorFiles::Audio());
    for (const auto& [strPath, pszTitle, nTrack] :
         {std::tuple{strA, u"x", 7}, std::tuple{strB, u"Old", 9}})
    {
        CMpegFile file(strPath, FALSE);
        file.GetID3v1(TRUE)->SetTitle(pszTitle);
        file.GetID3v1(TRUE)->m_nTrack = nTrack;
        ASSERT_TRUE(file.SaveTags(TAG_ID3V1));
    }
    tagID3V1VALUES values = GetFieldsToKeep();
    values.strTitle = values.strTrack = PLACEHOLDER_COPY_FROM_ID3V2;
    const CString strLong = u"A title longer than thirty characters";
    m_actions.AddAction(ACTION_SET, "TIT2", NewText("TIT2", strLong));

    // ID3v2 not written: the actions change nothing, the titles come from the tags read.
    tagTAGOPTIONS options;
    options.bWriteID3v2 = FALSE;
    EXPECT_EQ(WriteTagsToFile(strA, m_actions, values, options), FILE_WRITTEN);
    EXPECT_EQ(WriteTagsToFile(strB, m_actions, values, options), FILE_WRITTEN);
    EXPECT_EQ(ReadBack(strA).strTitle, CString(u"A"));
    EXPECT_EQ(ReadBack(strA).v1.strTitle, CString(u"A"));
    EXPECT_EQ(ReadBack(strA).v1.strTrack, CString(u"7"));
    EXPECT_EQ(ReadBack(strB).v1.strTitle, CString(u"Old"));
    EXPECT_EQ(ReadBack(strB).v1.strTrack, CString(u"9"));

    // ID3v2 written, but no action gives b a tag: there is nothing to copy from.
    const CActionList none;
    EXPECT_EQ(WriteTagsToFile(strB, none, values, tagTAGOPTIONS()), FILE_WRITTEN);
    EXPECT_FALSE(CMpegFile(strB, FALSE).HasID3v2());
    EXPECT_EQ(ReadBack(strB).v1.strTitle, CString(u"Old"));
    EXPECT_EQ(ReadBack(strB).v1.strTrack, CString(u"9"));

    // With the actions applied the new title is copied, cut to 30 characters.
    EXPECT_EQ(WriteTagsToFile(strA, m_actions, values, tagTAGOPTIONS()), FILE_WRITTEN);
    EXPECT_EQ(WriteTagsToFile(strB, m_actions, values, tagTAGOPTIONS()), FILE_WRITTEN);
    for (const CString& strPath : {strA, strB})
    {
        EXPECT_EQ(ReadBack(strPath).strTitle, strLong);
        EXPECT_EQ(ReadBack(strPath).v1.strTitle, strLong.Left(30));
    }
    EXPECT_EQ(ReadBack(strA).v1.strTrack, CString(u"7"));

    // Nor is a typed track the byte cannot hold; the dialog refuses it before it writes.
    values.strTrack = u"256";
    EXPECT_EQ(WriteTagsToFile(strA, none, values, tagTAGOPTIONS()), FILE_WRITTEN);
    EXPECT_EQ(ReadBack(strA).v1.strTrack, CString(u"7"));
}

TEST_F(MultiTagWritingTest, ATagOf24WrittenAs23KeepsItsYearInBothTags)
{
    const CString strPath = MakeFile("a.mp3", u"A", 4);
    AddFrames(strPath, NewText("TDRC", u"1999"));
    tagID3V1VALUES values = GetFieldsToKeep();
    values.strYear = PLACEHOLDER_COPY_FROM_ID3V2;
    tagTAGOPTIONS options;
    options.nWriteVersion = 3;
    CTestBusy busy;
    ASSERT_EQ(ScanFrameIDs({strPath}, m_actions, busy), SCAN_DONE);
    EXPECT_TRUE(WriteTagsToFiles({strPath}, m_actions, values, options, busy, &m_diag));

    const tagREADBACK written = ReadBack(strPath);
    EXPECT_EQ(written.nVersion, 3);
    EXPECT_EQ(written.strYear, CString(u"1999"));
    EXPECT_EQ(written.v1.strYear, CString(u"1999"));
}

TEST_F(MultiTagWritingTest, AFileChangedSinceTheScanIsReportedAndLeftAlone)
{
    const std::vector<CString> files = {MakeFile("a.mp3", u"A"), MakeFile("b.mp3", u"B"),
                                        MakeFile("c.mp3", u"C"), MakeFile("d.mp3", u"D")};
    CTestBusy busy;
    std::vector<Tags::tagFILESTAMP> stamps;
    ASSERT_EQ(ScanFrameIDs(files, m_actions, busy, nullptr, &stamps), SCAN_DONE);
    ASSERT_EQ(stamps.size(), files.size());
    m_actions.AddAction(ACTION_SET, "TPE1", NewText("TPE1", u"Artist"));
    tagID3V1VALUES values = GetFieldsToKeep();
    values.strTitle = u"Typed";

    // b deleted, c held by another program, d replaced by a file with other frames.
    const Bytes originalA = ReadFileBytes(m_dir.PathOf("a.mp3"));
    fs::remove(m_dir.PathOf("b.mp3"));
    const Bytes originalC = ReadFileBytes(m_dir.PathOf("c.mp3"));
#ifdef _WIN32
    const HANDLE hOther =
        ::CreateFileW(m_dir.PathOf("c.mp3").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hOther, INVALID_HANDLE_VALUE);
#else
    const int fdOther = ::open(m_dir.PathOf("c.mp3").c_str(), O_RDONLY);
    ASSERT_GE(fdOther, 0);
    ASSERT_EQ(::flock(fdOther, LOCK_SH | LOCK_NB), 0);
#endif
    const CString strNew = MakeFile("new.mp3", u"D2", 4);
    AddFrames(strNew, NewText("TALB", u"Album"));
    fs::rename(m_dir.PathOf("new.mp3"), m_dir.PathOf("d.mp3"));
    const Bytes replacedD = ReadFileBytes(m_dir.PathOf("d.mp3"));

    CUndoHistory history;
    auto pChange = history.BeginChange(u"Edit Tag");
    EXPECT_TRUE(WriteTagsToFiles(files, m_actions, values, tagTAGOPTIONS(), busy, &m_diag, &stamps,
                                 pChange.get()));
    // Undo takes back what was written, and only that.
    EXPECT_EQ(pChange->GetFileCount(), 1);
    history.AddChange(std::move(pChange));
#ifdef _WIN32
    ::CloseHandle(hOther);
#else
    ::close(fdOther);
#endif

    EXPECT_EQ(m_diag.GetMessages(),
              (std::vector<CString>{
                  u"Failed to reading file at '" + files[1] +
                      u"'.\n\nMake sure the file exist in the specified path and not openned in "
                      u"the another program also check the user has read access right.",
                  u"Failed to writing file at '" + files[2] +
                      u"'. Close the file that's open in another program.",
                  u"Failed to reading file at '" + files[3] +
                      u"'.\n\nMake sure the file exist in the specified path and not openned in "
                      u"the another program also check the user has read access right."}));
    EXPECT_FALSE(fs::exists(m_dir.PathOf("b.mp3")));
    EXPECT_EQ(ReadFileBytes(m_dir.PathOf("c.mp3")), originalC);
    EXPECT_EQ(ReadFileBytes(m_dir.PathOf("d.mp3")), replacedD);
    EXPECT_EQ(FrameIDs(files[0]), (std::vector<std::string>{"TIT2", "TPE1"}));
    EXPECT_EQ(ReadBack(files[0]).v1.strTitle, CString(u"Typed"));
    std::vector<tagUNDONEFILE> arrUndone;
    EXPECT_TRUE(history.Undo(busy, nullptr, arrUndone));
    EXPECT_EQ(ReadFileBytes(m_dir.PathOf("a.mp3")), originalA);
    EXPECT_EQ(ReadFileBytes(m_dir.PathOf("d.mp3")), replacedD);

    // Without the scan's stamps the file is written from what it holds now.
    CDiagnosticMessages diag;
    EXPECT_TRUE(WriteTagsToFiles({files[3]}, m_actions, values, tagTAGOPTIONS(), busy, &diag));
    EXPECT_EQ(diag.GetCount(), 0);
    EXPECT_EQ(FrameIDs(files[3]), (std::vector<std::string>{"TIT2", "TALB", "TPE1"}));
}

TEST_F(MultiTagWritingTest, EscStopsTheScanAndTheWriteBeforeTheNextFile)
{
    const std::vector<CString> files = {MakeFile("a.mp3", u"A"), MakeFile("b.mp3", u"B")};
    AddFrames(files[1], NewText("TALB", u"Album"));

    CTestBusy scanBusy(1);
    EXPECT_EQ(ScanFrameIDs(files, m_actions, scanBusy), SCAN_CANCELLED);
    EXPECT_EQ(m_actions.GetCount(), 1);
    EXPECT_EQ(scanBusy.m_texts.size(), 1u);
    EXPECT_EQ(scanBusy.m_nEnded, 1);

    tagID3V1VALUES values = GetFieldsToKeep();
    values.strTitle = u"Typed";
    CTestBusy writeBusy(1);
    EXPECT_FALSE(WriteTagsToFiles(files, m_actions, values, tagTAGOPTIONS(), writeBusy, &m_diag));
    EXPECT_EQ(writeBusy.m_nEnded, 1);
    EXPECT_EQ(ReadBack(files[0]).v1.strTitle, CString(u"Typed"));
    EXPECT_EQ(ReadBack(files[1]).v1.strTitle, CString(u"B"));

    // A file that does not open ends the scan.
    CString strFailed;
    CActionList actions;
    CTestBusy busy;
    EXPECT_EQ(
        ScanFrameIDs({files[0], m_dir.StrPathOf("gone.mp3"), files[1]}, actions, busy, &strFailed),
        SCAN_OPEN_FAILED);
    EXPECT_EQ(strFailed, m_dir.StrPathOf("gone.mp3"));
    EXPECT_EQ(actions.GetCount(), 1);
}

TEST_F(MultiTagWritingTest, GrowingTagsAreWrittenInBatchesAndFailuresKeepTheirOrder)
{
    // More files than one batch holds, each tag growing by a long comment; two are missing.
    std::vector<CString> files;
    for (int n = 0; n < REWRITE_BATCH_SIZE + 8; ++n)
        files.push_back(MakeFile("f" + std::to_string(n) + ".mp3", u"Own"));
    fs::remove(m_dir.PathOf("f3.mp3"));
    fs::remove(m_dir.PathOf("f" + std::to_string(REWRITE_BATCH_SIZE + 2) + ".mp3"));
    m_actions.AddAction(ACTION_SET, "COMM", NewComment("eng", CString(std::u16string(4000, u'x'))));
    const Bytes original = ReadFileBytes(m_dir.PathOf("f0.mp3"));
    CTestBusy busy;
    CUndoHistory history;
    auto pChange = history.BeginChange(u"Edit Tag");
    EXPECT_TRUE(WriteTagsToFiles(files, m_actions, GetFieldsToKeep(), tagTAGOPTIONS(), busy,
                                 &m_diag, nullptr, pChange.get()));
    EXPECT_EQ(pChange->GetFileCount(), static_cast<int>(files.size()) - 2);
    history.AddChange(std::move(pChange));

    ASSERT_EQ(m_diag.GetCount(), 2);
    EXPECT_NE(m_diag.GetMessages()[0].Find(files[3]), -1);
    EXPECT_NE(m_diag.GetMessages()[1].Find(files[REWRITE_BATCH_SIZE + 2]), -1);
    size_t nEntries = 0;
    for (const auto& entry : fs::directory_iterator(m_dir.GetPath()))
        nEntries += entry.path().extension() == ".mp3" ? 1 : 100;
    EXPECT_EQ(nEntries, files.size() - 2);
    for (const size_t i : {size_t(0), size_t(REWRITE_BATCH_SIZE), files.size() - 1})
    {
        EXPECT_EQ(FrameIDs(files[i]), (std::vector<std::string>{"TIT2", "COMM"}));
        EXPECT_EQ(ReadBack(files[i]).strTitle, CString(u"Own"));
    }
    // The rewritten files come back as they were.
    std::vector<tagUNDONEFILE> arrUndone;
    EXPECT_TRUE(history.Undo(busy, nullptr, arrUndone));
    EXPECT_EQ(arrUndone.size(), files.size() - 2);
    for (const size_t i : {size_t(0), size_t(REWRITE_BATCH_SIZE), files.size() - 1})
        EXPECT_EQ(ReadFileBytes(fs::path(files[i].ToUtf8())), original);
}
