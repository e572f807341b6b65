#include "browser/UndoHistory.h"

#include "base/String.h"
#include "browser/DiagnosticMessages.h"
#include "browser/FileMove.h"
#include "browser/TempFolder.h"
#include "fixtures/CorpusCopy.h"
#include "fixtures/FileBytes.h"
#include "fixtures/Mp3Builder.h"
#include "fixtures/TempDir.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/ID3v2Header.h"
#include "tags/id3v2/frames/TextFrame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

using namespace Fixtures;
namespace fs = std::filesystem;

namespace
{

class CTestBusy : public IBusyState
{
public:
    explicit CTestBusy(int nCancelAt = -1) : m_nCancelAt(nCancelAt) {}
    void BeginBusy() override
    {
        m_bBusy = TRUE;
        m_nPolls = 0;
    }
    void EndBusy() override { m_bBusy = FALSE; }
    BOOL IsCancelRequested() override { return m_nCancelAt >= 0 && m_nPolls++ >= m_nCancelAt; }
    BOOL IsBusy() const override { return m_bBusy; }
    void SetStatusText(const CString&) override {}

private:
    int m_nCancelAt;
    int m_nPolls = 0;
    BOOL m_bBusy = FALSE;
};

// A file with 10 frames of audio, an ID3v2.3 tag with a title and padding, and optionally an
// ID3v1 block.
void WriteSample(const fs::path& path, bool bID3v1, bool bID3v2 = true)
{
    CMp3Builder builder;
    if (bID3v2)
        builder.AddId3v2(CMp3Builder::Id3v2Tag(
            3, 200, 0, CMp3Builder::Id3v2Frame23("TIT2", BytesOf(std::string("\0Old", 4)))));
    builder.AddFrames(CMp3Builder::FrameSpec(), 10).SetPayload(CMp3Builder::Payload::Pattern, 7);
    if (bID3v1)
    {
        CMp3Builder::Id3v1Fields fields;
        fields.m_strTitle = "Old";
        builder.AddId3v1(fields);
    }
    builder.WriteTo(path);
}

// One change over the files: each opened, changed by edit, saved with nFlags (remove when
// bRemove), recorded.
std::unique_ptr<CFileChange> Change(CUndoHistory& history, const std::vector<CString>& arrPaths,
                                    const std::function<void(Tags::CMpegFile&)>& edit,
                                    UINT nFlags = Tags::TAG_ID3V1 | Tags::TAG_ID3V2,
                                    bool bRemove = false)
{
    auto pChange = history.BeginChange(u"Edit Tag");
    for (const CString& strPath : arrPaths)
    {
        Tags::CMpegFile file(strPath, FALSE);
        EXPECT_NE(file.m_hFile, INVALID_HANDLE_VALUE);
        const int nKey = pChange->KeepTags(file);
        EXPECT_GE(nKey, 0);
        edit(file);
        EXPECT_TRUE(bRemove ? file.RemoveTags(nFlags) : file.SaveTags(nFlags));
        pChange->TagsWritten(nKey, file);
    }
    return pChange;
}

void SetTitle(Tags::CMpegFile& file, const CString& strTitle)
{
    auto* pTag = file.GetID3v2(TRUE);
    pTag->DeleteFramesByID("TIT2");
    auto pFrame = std::make_unique<Tags::ID3v2Tag::CTextFrame>("TIT2", 3);
    pFrame->SetValues({strTitle});
    pTag->AddTail(std::move(pFrame));
}

} // namespace

TEST(UndoHistoryTest, EditsComeBackByteForByte)
{
    CTempDir dir;
    // In place; a tag grown past its padding with an ID3v1 block added; tags removed.
    struct tagCASE
    {
        bool bID3v1;
        std::function<void(Tags::CMpegFile&)> edit;
        UINT nFlags;
        bool bRemove;
        bool bNoID3v2 = false;
    } cases[] = {
        {true, [](Tags::CMpegFile& f) { SetTitle(f, u"New"); }, Tags::TAG_ID3V2, false},
        {false,
         [](Tags::CMpegFile& f)
         {
             SetTitle(f, CString(std::u16string(400, u'x')));
             f.GetID3v1(TRUE)->SetTitle(u"New");
         },
         Tags::TAG_ID3V1 | Tags::TAG_ID3V2, false},
        {true, [](Tags::CMpegFile&) {}, Tags::TAG_ID3V1 | Tags::TAG_ID3V2, true},
        {true,
         [](Tags::CMpegFile& f)
         {
             SetTitle(f, u"Edited");
             f.GetID3v1(TRUE)->SetTitle(u"Edited");
         },
         Tags::TAG_ID3V1 | Tags::TAG_ID3V2, false, true},
        {true, [](Tags::CMpegFile& f) { f.GetID3v1(TRUE)->SetTitle(u"Edited"); }, Tags::TAG_ID3V1,
         false},
        {true, [](Tags::CMpegFile&) {}, Tags::TAG_ID3V1, true},
    };
    int n = 0;
    for (const tagCASE& test : cases)
    {
        SCOPED_TRACE(n);
        const fs::path path = dir.PathOf("case" + std::to_string(n++) + ".mp3");
        WriteSample(path, test.bID3v1, !test.bNoID3v2);
        const Bytes original = ReadFileBytes(path);
        CUndoHistory history;
        history.AddChange(Change(history, {ToCString(path)}, test.edit, test.nFlags, test.bRemove));
        ASSERT_NE(ReadFileBytes(path), original);
        EXPECT_EQ(history.GetUndoText(), CString(u"Undo Edit Tag (1 file)"));
        CTestBusy busy;
        CDiagnosticMessages diag;
        std::vector<tagUNDONEFILE> arrUndone;
        EXPECT_TRUE(history.Undo(busy, &diag, arrUndone));
        EXPECT_EQ(diag.GetCount(), 0);
        EXPECT_EQ(arrUndone.size(), 1u);
        EXPECT_EQ(ReadFileBytes(path), original);
        EXPECT_FALSE(history.CanUndo());
    }
}

TEST(UndoHistoryTest, RealFilesComeBackOrAreLeftAlone)
{
    CCorpusCopy corpus;
    int nFiles = 0;
    for (const auto& entry : fs::recursive_directory_iterator(corpus.GetRoot()))
    {
        if (!entry.is_regular_file() || entry.path().extension() != ".mp3")
            continue;
        SCOPED_TRACE(entry.path().string());
        const CString strPath = ToCString(entry.path());
        const Bytes original = ReadFileBytes(entry.path());
        CUndoHistory history;
        auto pChange = history.BeginChange(u"Edit Tag");
        {
            Tags::CMpegFile file(strPath, FALSE);
            const int nKey = pChange->KeepTags(file);
            SetTitle(file, CString(std::u16string(700, u'y')));
            file.GetID3v1(TRUE)->SetTitle(u"y");
            try
            {
                if (file.SaveTags(Tags::TAG_ID3V1 | Tags::TAG_ID3V2))
                    pChange->TagsWritten(nKey, file);
            }
            catch (const CFileException&)
            {
            }
        }
        history.AddChange(std::move(pChange));
        if (!history.CanUndo())
        {
            EXPECT_EQ(ReadFileBytes(entry.path()), original);
            continue;
        }
        ++nFiles;
        CTestBusy busy;
        CDiagnosticMessages diag;
        std::vector<tagUNDONEFILE> arrUndone;
        history.Undo(busy, &diag, arrUndone);
        EXPECT_EQ(ReadFileBytes(entry.path()), original);
    }
    EXPECT_GT(nFiles, 0);
}

TEST(UndoHistoryTest, FilesChangedSinceAreLeftAndListed)
{
    CTempDir dir;
    const fs::path a = dir.PathOf("a.mp3");
    const fs::path b = dir.PathOf("b.mp3");
    WriteSample(a, true);
    WriteSample(b, true);
    const Bytes originalB = ReadFileBytes(b);
    CUndoHistory history;
    history.AddChange(Change(history, {ToCString(a), ToCString(b)},
                             [](Tags::CMpegFile& f) { SetTitle(f, u"New"); }));
    EXPECT_EQ(history.GetUndoText(), CString(u"Undo Edit Tag (2 files)"));
    // Another program writes a, in its tag, keeping the length.
    Bytes changed = ReadFileBytes(a);
    changed[20] ^= 1;
    WriteFileBytes(a, changed);
    CTestBusy busy;
    CDiagnosticMessages diag;
    std::vector<tagUNDONEFILE> arrUndone;
    EXPECT_TRUE(history.Undo(busy, &diag, arrUndone));
    EXPECT_EQ(ReadFileBytes(a), changed);
    EXPECT_EQ(ReadFileBytes(b), originalB);
    ASSERT_EQ(diag.GetCount(), 1);
    EXPECT_NE(diag.GetMessages()[0].Find(ToCString(a)), -1);
}

TEST(UndoHistoryTest, BytesBeyondTheBoundGoToAPrivateFileDroppedWithTheHistory)
{
    CString strFolder;
    ASSERT_TRUE(GetTempFolder(strFolder));
    auto countSpills = [&strFolder]
    {
        int nCount = 0;
        for (const auto& entry : fs::directory_iterator(fs::path(strFolder.ToUtf8())))
            nCount += entry.path().filename().string().rfind("undo-", 0) == 0;
        return nCount;
    };
    const int nBefore = countSpills();
    CTempDir dir;
    const fs::path path = dir.PathOf("a.mp3");
    WriteSample(path, true);
    const Bytes original = ReadFileBytes(path);
    {
        CUndoHistory history(10, 0);
        history.AddChange(
            Change(history, {ToCString(path)}, [](Tags::CMpegFile& f) { SetTitle(f, u"New"); }));
        EXPECT_EQ(history.GetBudget().nUsed, 0u);
        EXPECT_EQ(countSpills(), nBefore + 1);
        CTestBusy busy;
        std::vector<tagUNDONEFILE> arrUndone;
        EXPECT_TRUE(history.Undo(busy, nullptr, arrUndone));
        EXPECT_EQ(ReadFileBytes(path), original);
    }
    EXPECT_EQ(countSpills(), nBefore);
}

TEST(UndoHistoryTest, RenamesGoBackWhenTheOldNameIsFree)
{
    CTempDir dir;
    CUndoHistory history;
    auto pChange = history.BeginChange(u"Auto Rename");
    for (const char* psz : {"a", "b", "c"})
    {
        WriteSample(dir.PathOf(std::string(psz) + ".mp3"), false);
        ASSERT_TRUE(MoveFileNoReplace(dir.StrPathOf(std::string(psz) + ".mp3"),
                                      dir.StrPathOf(std::string(psz) + "2.mp3")));
        pChange->FileRenamed(dir.StrPathOf(std::string(psz) + ".mp3"),
                             dir.StrPathOf(std::string(psz) + "2.mp3"));
    }
    history.AddChange(std::move(pChange));
    EXPECT_EQ(history.GetUndoText(), CString(u"Undo Auto Rename (3 files)"));
    // Another file took b's old name.
    WriteSample(dir.PathOf("b.mp3"), true);
    // Esc after the first file: c is back, a and b wait.
    CTestBusy stopped(1);
    CDiagnosticMessages diag;
    std::vector<tagUNDONEFILE> arrUndone;
    EXPECT_FALSE(history.Undo(stopped, &diag, arrUndone));
    ASSERT_EQ(arrUndone.size(), 1u);
    EXPECT_EQ(arrUndone[0].strNewPath, dir.StrPathOf("c.mp3"));
    EXPECT_EQ(history.GetUndoText(), CString(u"Undo Auto Rename (2 files)"));
    CTestBusy busy;
    EXPECT_TRUE(history.Undo(busy, &diag, arrUndone));
    EXPECT_TRUE(fs::exists(dir.PathOf("a.mp3")));
    EXPECT_TRUE(fs::exists(dir.PathOf("b2.mp3")));
    EXPECT_TRUE(fs::exists(dir.PathOf("c.mp3")));
    EXPECT_EQ(diag.GetCount(), 1);
    EXPECT_FALSE(history.CanUndo());
}

TEST(UndoHistoryTest, KeepsTheNewestLevelsAndDropsEmptyChanges)
{
    CTempDir dir;
    const fs::path path = dir.PathOf("a.mp3");
    WriteSample(path, false);
    CUndoHistory history(2);
    history.AddChange(history.BeginChange(u"Remove Tag"));
    EXPECT_FALSE(history.CanUndo());
    const Bytes original = ReadFileBytes(path);
    for (const char16_t* psz : {u"1", u"2", u"3"})
        history.AddChange(
            Change(history, {ToCString(path)}, [psz](Tags::CMpegFile& f) { SetTitle(f, psz); }));
    EXPECT_EQ(history.GetCount(), 2);
    CTestBusy busy;
    std::vector<tagUNDONEFILE> arrUndone;
    EXPECT_TRUE(history.Undo(busy, nullptr, arrUndone));
    EXPECT_TRUE(history.Undo(busy, nullptr, arrUndone));
    // Back to title "1": the change before it was dropped, out of reach.
    EXPECT_NE(ReadFileBytes(path), original);
    Tags::CMpegFile file(ToCString(path), FALSE);
    EXPECT_EQ(file.GetID3v2(FALSE)->GetTitle(), CString(u"1"));
    EXPECT_FALSE(history.CanUndo());
}
