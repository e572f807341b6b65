#include "EditorFiles.h"

#include "browser/DiagnosticMessages.h"
#include "browser/FileAssocData.h"
#include "editor/RemoveTags.h"
#include "editor/TagWriting.h"
#include "res/StringTable.h"

#include "fixtures/FileBytes.h"
#include "fixtures/TempDir.h"

#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

using namespace Fixtures;

namespace
{

// A listed file with both tags, its record loaded.
std::unique_ptr<CFileAssocData> TaggedRecord(const CTempDir& dir, const std::string& strName)
{
    WriteFileBytes(dir.PathOf(strName), EditorFiles::Audio());
    EditorFiles::SaveBothTags(dir.StrPathOf(strName), u"Title");
    auto pRecord = std::make_unique<CFileAssocData>();
    EXPECT_TRUE(pRecord->Load(dir.StrPathOf(strName)));
    return pRecord;
}

} // namespace

TEST(RemoveTagsTest, EachOptionPairRemovesWhatItSelects)
{
    struct tagCASE
    {
        BOOL bV1, bV2;
        const char16_t* pszTag;
    };
    for (const tagCASE& c :
         {tagCASE{TRUE, TRUE, u""}, tagCASE{TRUE, FALSE, u"ID3v2.3"},
          tagCASE{FALSE, TRUE, u"ID3v1 "}, tagCASE{FALSE, FALSE, u"ID3v1 ID3v2.3"}})
    {
        CTempDir dir;
        auto pRecord = TaggedRecord(dir, "a.mp3");
        const LONGLONG nOldSize = pRecord->m_nSize;
        CDiagnosticMessages diag;
        const auto arrChanged =
            RemoveRecordTags({pRecord.get()}, GetRemoveTagFlags(c.bV1, c.bV2), &diag);
        EXPECT_EQ(diag.GetCount(), 0);
        ASSERT_EQ(arrChanged.size(), 1u);
        EXPECT_EQ(pRecord->m_strTag, CString(c.pszTag));
        EXPECT_EQ(pRecord->m_nSize < nOldSize, c.bV1 || c.bV2);
        // With ID3v1 removed, the fields still come from the ID3v2 tag, and the other way round.
        EXPECT_EQ(pRecord->m_strTitle, CString(c.bV1 && c.bV2 ? u"" : u"Title"));
    }
}

// Another holder's lock is a POSIX lock here.
#ifndef _WIN32
TEST(RemoveTagsTest, AFileThatCannotBeChangedIsReportedAndTheOthersAreDone)
{
    CTempDir dir;
    auto pGone = TaggedRecord(dir, "gone.mp3");
    auto pLocked = TaggedRecord(dir, "locked.mp3");
    auto pFree = TaggedRecord(dir, "free.mp3");
    std::filesystem::remove(dir.PathOf("gone.mp3"));
    // Another holder's shared lock leaves only the read-only open.
    const int fd = ::open(dir.PathOf("locked.mp3").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_SH), 0);
    const Bytes lockedBytes = ReadFileBytes(dir.PathOf("locked.mp3"));

    CDiagnosticMessages diag;
    const auto arrChanged = RemoveRecordTags({pGone.get(), pLocked.get(), pFree.get()},
                                             Tags::TAG_ID3V1 | Tags::TAG_ID3V2, &diag);
    ::close(fd);
    ASSERT_EQ(arrChanged, (std::vector<CFileAssocData*>{pFree.get()}));
    ASSERT_EQ(diag.GetCount(), 2);
    EXPECT_EQ(diag.GetMessages()[0],
              Res::FormatResourceString(Res::IDS_FAILED_WRITING_FILE, dir.StrPathOf("gone.mp3")));
    EXPECT_EQ(diag.GetMessages()[1],
              Res::FormatResourceString(Res::IDS_FAILED_WRITING_FILE, dir.StrPathOf("locked.mp3")));
    EXPECT_EQ(ReadFileBytes(dir.PathOf("locked.mp3")), lockedBytes);
    EXPECT_EQ(pLocked->m_strTitle, CString(u"Title"));
    EXPECT_EQ(pFree->m_strTag, CString(u""));
}
#endif
