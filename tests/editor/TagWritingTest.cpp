#include "EditorFiles.h"

#include "editor/TagWriting.h"

#include "base/File.h"
#include "fixtures/FileBytes.h"
#include "fixtures/TempDir.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/frames/TextFrame.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

using namespace Tags;
using namespace Tags::ID3v2Tag;
using namespace Fixtures;
using EditorFiles::NewText;
namespace fs = std::filesystem;

namespace
{

class TagWritingTest : public ::testing::Test
{
protected:
    // a.mp3: the audio with a 2.3 tag and an ID3v1 tag, both titled "Old".
    void SetUp() override
    {
        m_path = m_dir.PathOf("a.mp3");
        m_strPath = m_dir.StrPathOf("a.mp3");
        WriteFileBytes(m_path, EditorFiles::Audio());
        EditorFiles::SaveBothTags(m_strPath, u"Old");
        m_original = ReadFileBytes(m_path);
    }

    static void SetTitle(CMpegFile& file, const CString& strTitle)
    {
        CID3v2* pTag = file.GetID3v2(TRUE);
        while (pTag->DeleteFrameByID("TIT2"))
        {
        }
        pTag->AddTail(NewText("TIT2", strTitle));
        file.GetID3v1(TRUE)->SetTitle(strTitle);
    }

    CTempDir m_dir;
    fs::path m_path;
    CString m_strPath;
    Bytes m_original;
};

} // namespace

TEST(TagWritingRulesTest, FlagsFromTheOptions)
{
    EXPECT_EQ(GetWriteTagFlags(FALSE, FALSE), 0u);
    EXPECT_EQ(GetWriteTagFlags(TRUE, FALSE), TAG_ID3V1);
    EXPECT_EQ(GetWriteTagFlags(TRUE, TRUE), TAG_ID3V1 | TAG_ID3V2);
    EXPECT_EQ(GetRemoveTagFlags(FALSE, TRUE), TAG_ID3V2);
}

TEST(TagWritingRulesTest, VersionAndAnEncodingTheWrittenTagCanHold)
{
    struct tagCASE
    {
        int nTagVersion, nWriteVersion, nEncoding;
        int nVersion, nWrittenEncoding;
    };
    const tagCASE kCases[] = {{4, 3, 0, 3, 0},
                              {3, 4, 3, 4, 3},
                              // Other versions leave the tag's own.
                              {4, 5, 1, 4, 1},
                              {2, 0, 3, 2, 3},
                              // UTF-8 has no place in 2.3; UTF-16BE and unknown encodings
                              // would be written empty.
                              {4, 3, 3, 3, 1},
                              {4, 4, 2, 4, 1},
                              {4, 4, 7, 4, 1}};
    for (const tagCASE& c : kCases)
    {
        CID3v2 tag;
        tag.m_pHeader->m_nVersion = c.nTagVersion;
        PrepareID3v2ForWriting(tag, c.nWriteVersion, c.nEncoding);
        EXPECT_EQ(tag.m_pHeader->m_nVersion, c.nVersion) << c.nWriteVersion << " " << c.nEncoding;
        EXPECT_EQ(tag.m_nTextEncoding, c.nWrittenEncoding) << c.nWriteVersion << " " << c.nEncoding;
    }
}

TEST_F(TagWritingTest, WritesTheSelectedTagsInTheChosenVersionAndEncoding)
{
    {
        CMpegFile file(m_strPath, FALSE);
        SetTitle(file, u"Neu \u00fc\u4e2d");
        EXPECT_TRUE(WriteFileTags(file, FALSE, TRUE, 4, 3));
    }
    {
        CMpegFile file(m_strPath, FALSE);
        ASSERT_NE(file.GetID3v2(FALSE), nullptr);
        EXPECT_EQ(file.GetID3v2(FALSE)->m_pHeader->m_nVersion, 4);
        EXPECT_EQ(file.GetID3v2(FALSE)->GetTitle(), CString(u"Neu \u00fc\u4e2d"));
        const auto* pFrame =
            dynamic_cast<const CTextFrame*>(file.GetID3v2(FALSE)->FindFrame("TIT2"));
        ASSERT_NE(pFrame, nullptr);
        EXPECT_EQ(pFrame->m_nEncoding, 3);
        // Not selected: the ID3v1 tag on disk is left alone.
        EXPECT_EQ(file.GetID3v1(FALSE)->GetTitle(), CString(u"Old"));

        // A version other than 3 or 4 keeps the tag's own, here 2.3, which gets UTF-16 for
        // the UTF-8 asked for.
        file.GetID3v2(FALSE)->m_pHeader->m_nVersion = 3;
        SetTitle(file, u"Drei \u4e2d");
        EXPECT_TRUE(WriteFileTags(file, TRUE, TRUE, 0, 3));
    }
    CMpegFile file(m_strPath, FALSE);
    EXPECT_EQ(file.GetID3v2(FALSE)->m_pHeader->m_nVersion, 3);
    EXPECT_EQ(file.GetID3v2(FALSE)->GetTitle(), CString(u"Drei \u4e2d"));
    EXPECT_EQ(dynamic_cast<const CTextFrame*>(file.GetID3v2(FALSE)->FindFrame("TIT2"))->m_nEncoding,
              1);
    EXPECT_EQ(file.GetID3v1(FALSE)->GetTitle(), CString(u"Drei ?"));
}

TEST_F(TagWritingTest, NoWriteOptionPreparesTheTagButWritesNothing)
{
    {
        CMpegFile file(m_strPath, FALSE);
        SetTitle(file, u"Unsaved");
        EXPECT_TRUE(WriteFileTags(file, FALSE, FALSE, 4, 1));
        EXPECT_EQ(file.GetID3v2(FALSE)->m_pHeader->m_nVersion, 4);
    }
    EXPECT_EQ(ReadFileBytes(m_path), m_original);
}

TEST_F(TagWritingTest, EmptySelectedTagsAreRemovedAndRemoveTakesOnlyTheSelected)
{
    {
        CMpegFile file(m_strPath, FALSE);
        ASSERT_TRUE(TryRemoveTags(file, GetRemoveTagFlags(TRUE, FALSE)));
    }
    EXPECT_EQ(ReadFileBytes(m_path).size(), m_original.size() - ID3v1Tag::CID3v1::BLOCK_SIZE);
    {
        CMpegFile file(m_strPath, FALSE);
        EXPECT_FALSE(file.HasID3v1());
        ASSERT_TRUE(file.HasID3v2());
        while (file.GetID3v2(FALSE)->DeleteFrameByID("TIT2"))
        {
        }
        // A new ID3v1 object that stays empty is not written either.
        file.GetID3v1(TRUE);
        EXPECT_TRUE(WriteFileTags(file, TRUE, TRUE, 3, 1));
    }
    EXPECT_EQ(ReadFileBytes(m_path), EditorFiles::Audio());
}

TEST_F(TagWritingTest, AFileOpenedReadOnlyIsRefusedAndLeftAsItWas)
{
    // Another program holds the file for reading: the container falls back to read-only.
#ifdef _WIN32
    const HANDLE hOther = ::CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hOther, INVALID_HANDLE_VALUE);
#else
    const int fdOther = ::open(m_path.c_str(), O_RDONLY);
    ASSERT_GE(fdOther, 0);
    ASSERT_EQ(::flock(fdOther, LOCK_SH | LOCK_NB), 0);
#endif
    {
        CMpegFile file(m_strPath, FALSE);
        ASSERT_NE(file.m_hFile, INVALID_HANDLE_VALUE);
        ASSERT_TRUE(file.m_bReadOnly);
        SetTitle(file, u"New");
        EXPECT_FALSE(WriteFileTags(file, TRUE, TRUE, 4, 1));
        EXPECT_FALSE(TrySaveTags(file, TAG_ID3V1 | TAG_ID3V2));
        EXPECT_FALSE(TryRemoveTags(file, TAG_ID3V1 | TAG_ID3V2));
    }
#ifdef _WIN32
    ::CloseHandle(hOther);
#else
    ::close(fdOther);
#endif
    EXPECT_EQ(ReadFileBytes(m_path), m_original);
}

#ifndef _WIN32
// Windows does not let a file held open by the container be deleted.
TEST_F(TagWritingTest, AFileRemovedAfterOpenIsRefusedWithoutAnException)
{
    // A second name keeps the opened file's bytes reachable after its own name is gone.
    const fs::path kept = m_dir.PathOf("kept.mp3");
    fs::create_hard_link(m_path, kept);
    CMpegFile file(m_strPath, FALSE);
    ASSERT_NE(file.m_hFile, INVALID_HANDLE_VALUE);
    ASSERT_FALSE(file.m_bReadOnly);
    ASSERT_TRUE(fs::remove(m_path));
    SetTitle(file, u"A longer title that moves the audio along");

    // The container itself throws here; the editors' calls report it as a failure.
    EXPECT_THROW(file.SaveTags(TAG_ID3V1), CFileException);
    EXPECT_FALSE(WriteFileTags(file, TRUE, TRUE, 4, 1));
    EXPECT_FALSE(TrySaveTags(file, TAG_ID3V1));
    EXPECT_FALSE(TryRemoveTags(file, TAG_ID3V1 | TAG_ID3V2));
    EXPECT_FALSE(fs::exists(m_path));
    EXPECT_EQ(ReadFileBytes(kept), m_original);
}
#endif
