// Files whose tags contradict each other or the file, as damaged or hostile files have them:
// saving over them never damages what the file holds and never fails with an exception that a
// working file system would not raise.
#include "tags/file/MpegFile.h"

#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/ID3v2Header.h"
#include "tags/id3v2/SyncSafe.h"
#include "tags/id3v2/frames/TextFrame.h"
#include "tags/mpeg/AudioProperties.h"

#include "fixtures/CorpusCopy.h"
#include "fixtures/FileBytes.h"
#include "fixtures/Mp3Builder.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

using namespace Tags;
using namespace Tags::ID3v2Tag;
using namespace Fixtures;

namespace
{

class MpegFileDamagedTagsTest : public ::testing::Test
{
protected:
    static Bytes Audio()
    {
        CMp3Builder b;
        b.SetPayload(CMp3Builder::Payload::Pattern, 3);
        b.AddFrames(CMp3Builder::FrameSpec(), 4);
        return b.Build();
    }

    static Bytes V1Block(const std::string& strTitle)
    {
        CMp3Builder::Id3v1Fields f;
        f.m_strTitle = strTitle;
        return CMp3Builder::Id3v1Block(f);
    }

    // A 2.3 text frame in encoding 0.
    static Bytes Text23(const char* pszID, const std::string& strText)
    {
        return CMp3Builder::Id3v2Frame23(pszID, Concat({Bytes{0}, BytesOf(strText)}));
    }

    // An ID3v2 tag with one title frame whose header declares nDeclared body bytes.
    static Bytes TagDeclaring(UINT nDeclared)
    {
        const Bytes frame = Concat({BytesOf("TIT2"), Bytes{0, 0, 0, 4, 0, 0, 0}, BytesOf("Old")});
        Bytes tag = CMp3Builder::Id3v2Tag(3, static_cast<UINT>(frame.size()), 0, frame);
        tag[6] = static_cast<BYTE>((nDeclared >> 21) & 0x7F);
        tag[7] = static_cast<BYTE>((nDeclared >> 14) & 0x7F);
        tag[8] = static_cast<BYTE>((nDeclared >> 7) & 0x7F);
        tag[9] = static_cast<BYTE>(nDeclared & 0x7F);
        return tag;
    }

    static void SetTitle(CMpegFile& file, const CString& strTitle)
    {
        CID3v2* pTag = file.GetID3v2(TRUE);
        while (pTag->DeleteFrameByID("TIT2"))
        {
        }
        auto pFrame = std::make_unique<CTextFrame>("TIT2", 4);
        pFrame->SetValues({strTitle});
        pTag->AddTail(std::move(pFrame));
    }

    CString Write(const Bytes& bytes)
    {
        WriteFileBytes(m_dir.PathOf("a.mp3"), bytes);
        return m_dir.StrPathOf("a.mp3");
    }
    Bytes Read() const { return ReadFileBytes(m_dir.PathOf("a.mp3")); }
    Bytes Read(CFile& held) const
    {
        return Fixtures::ReadHeldFileBytes(m_dir.PathOf("a.mp3"), held);
    }

    CTempDir m_dir;
};

} // namespace

// The ID3v2 header claims bytes that the ID3v1 block at the end holds: replacing or removing that
// tag would take the block with it, and then the block's own update would land inside the new
// tag (or cut a file shorter than a block).
TEST_F(MpegFileDamagedTagsTest, TagThatRunsIntoTheBlockIsNeverReplaced)
{
    const Bytes audio = Audio();
    // The tag's frame, then the audio and the block, which the declared size covers as well.
    const Bytes tag = TagDeclaring(0);
    const UINT nBody = static_cast<UINT>(tag.size() - 10 + audio.size() + 128);
    const Bytes original = Concat({TagDeclaring(nBody), audio, V1Block("Old")});
    const CString path = Write(original);

    const UINT arrFlags[] = {TAG_ID3V2, TAG_ID3V1 | TAG_ID3V2};
    for (const UINT nFlags : arrFlags)
    {
        for (const bool bClear : {false, true})
        {
            SCOPED_TRACE(testing::Message() << "flags " << nFlags << (bClear ? " cleared" : ""));
            CMpegFile file(path, FALSE);
            ASSERT_TRUE(file.HasID3v2());
            ASSERT_TRUE(file.HasID3v1());
            if (bClear)
            {
                file.GetID3v2(FALSE)->m_frames.clear();
                *file.GetID3v1(FALSE) = ID3v1Tag::CID3v1();
            }
            else
            {
                SetTitle(file, u"New");
                file.GetID3v1(FALSE)->SetTitle(u"New");
            }
            BOOL bSaved = TRUE;
            EXPECT_NO_THROW(bSaved = file.SaveTags(nFlags));
            EXPECT_FALSE(bSaved);
            ASSERT_EQ(Read(file), original);

            BOOL bRemoved = TRUE;
            EXPECT_NO_THROW(bRemoved = file.RemoveTags(nFlags));
            EXPECT_FALSE(bRemoved);
            ASSERT_EQ(Read(file), original);
        }
    }

    // The block alone can still be written and removed: that touches nothing else.
    {
        CMpegFile file(path, FALSE);
        file.GetID3v1(FALSE)->SetTitle(u"Block only");
        EXPECT_TRUE(file.SaveTags(TAG_ID3V1));
    }
    Bytes expected = original;
    const Bytes block = V1Block("Block only");
    std::copy(block.begin(), block.end(), expected.end() - 128);
    EXPECT_EQ(Read(), expected);
}

// Frames that declare no body (written so by some players) and 2.4 frames whose sizes were
// written as plain integers: a save changing the title keeps every other frame and the audio,
// and writes the sizes as they should be.
TEST_F(MpegFileDamagedTagsTest, SaveKeepsTheFramesAroundEmptyAndPlainSizedFrames)
{
    const auto Frame24 = [](const char* pszID, const Bytes& body, bool bPlainSize)
    {
        const UINT n = static_cast<UINT>(body.size());
        const Bytes size = bPlainSize ? Bytes{BYTE(n >> 24), BYTE(n >> 16), BYTE(n >> 8), BYTE(n)}
                                      : Bytes{BYTE((n >> 21) & 0x7F), BYTE((n >> 14) & 0x7F),
                                              BYTE((n >> 7) & 0x7F), BYTE(n & 0x7F)};
        return Concat({BytesOf(pszID), size, Bytes{0, 0}, body});
    };
    const auto Text = [](const std::string& str) { return Concat({Bytes{0}, BytesOf(str)}); };
    const std::string strComposer(300, 'c');
    const Bytes frames = Concat({Frame24("TENC", {}, false), Frame24("TIT2", Text("Old"), false),
                                 Frame24("TCOM", Text(strComposer), true),
                                 Frame24("WXXX", {}, false), Frame24("TALB", Text("Album"), true)});
    const Bytes audio = Audio();
    const CString path = Write(Concat(
        {CMp3Builder::Id3v2Tag(4, static_cast<UINT>(frames.size()) + 64, 0, frames), audio}));
    {
        CMpegFile file(path, FALSE);
        ASSERT_TRUE(file.HasID3v2());
        EXPECT_FALSE(file.GetID3v2(FALSE)->m_bValid);
        SetTitle(file, u"New");
        ASSERT_TRUE(file.SaveTags(TAG_ID3V2));
    }
    const Bytes saved = Read();
    const auto range = CMp3Builder::AudioRange(saved);
    EXPECT_EQ(Bytes(saved.begin() + static_cast<std::ptrdiff_t>(range.first),
                    saved.begin() + static_cast<std::ptrdiff_t>(range.second)),
              audio);
    CMpegFile file(path, FALSE);
    const CID3v2* pTag = file.GetID3v2(FALSE);
    ASSERT_NE(pTag, nullptr);
    EXPECT_TRUE(pTag->m_bValid);
    std::vector<std::string> ids;
    for (const auto& pFrame : pTag->m_frames)
        ids.emplace_back(pFrame->m_pHeader->m_szID);
    EXPECT_EQ(ids, (std::vector<std::string>{"TCOM", "TALB", "TIT2"}));
    EXPECT_EQ(pTag->GetTitle(), CString(u"New"));
    EXPECT_EQ(pTag->FindFrame("TCOM")->GetText(), CString(strComposer.c_str()));
    EXPECT_EQ(pTag->FindFrame("TALB")->GetText(), CString(u"Album"));
}

// A truncated copy: the tag header claims more than the file holds, and the file ends inside the
// last frame. The frames there whole are read, the tag shows as damaged, and it ends with them:
// a save or a removal replaces just that much and keeps the cut frame's bytes.
TEST_F(MpegFileDamagedTagsTest, TruncatedTagEndsWithItsLastWholeFrame)
{
    const Bytes album = Text23("TALB", "Album");
    const Bytes cut(album.begin(), album.begin() + 12);
    const Bytes frames = Concat({Text23("TIT2", "Old"), Text23("TPE1", "Artist")});
    // Unsynchronised, the title ends in FF and the zero byte put after it: both are the tag's.
    const Bytes unsynchronised = Concat(
        {BytesOf("TIT2"), Bytes{0, 0, 0, 3, 0, 0, 0, 'A', 0xFF, 0}, Text23("TPE1", "Artist")});
    for (const bool bUnsynchronised : {false, true})
    {
        SCOPED_TRACE(bUnsynchronised ? "unsynchronised" : "plain");
        const Bytes whole = bUnsynchronised ? unsynchronised : frames;
        Bytes header = CMp3Builder::Id3v2Tag(3, 0, bUnsynchronised ? 0x80 : 0);
        WriteSyncSafe(header.data() + 6, 4096);
        const CString path = Write(Concat({header, whole, cut}));
        {
            CMpegFile file(path, TRUE);
            ASSERT_TRUE(file.HasID3v2());
            const CID3v2* pTag = file.GetID3v2(FALSE);
            EXPECT_FALSE(pTag->m_bValid);
            EXPECT_EQ(pTag->m_frames.size(), 2u);
            EXPECT_EQ(pTag->GetArtist(), CString(u"Artist"));
            EXPECT_EQ(file.GetID3v2Size(), header.size() + whole.size());
            SetTitle(file, u"New");
            ASSERT_TRUE(file.SaveTags(TAG_ID3V2));
        }
        const Bytes saved = Read();
        ASSERT_GT(saved.size(), cut.size());
        EXPECT_EQ(Bytes(saved.end() - static_cast<std::ptrdiff_t>(cut.size()), saved.end()), cut);
        {
            CMpegFile file(path, FALSE);
            const CID3v2* pTag = file.GetID3v2(FALSE);
            ASSERT_NE(pTag, nullptr);
            EXPECT_TRUE(pTag->m_bValid);
            EXPECT_EQ(pTag->GetTitle(), CString(u"New"));
            EXPECT_EQ(pTag->GetArtist(), CString(u"Artist"));
            EXPECT_EQ(file.GetID3v2Size() + cut.size(), saved.size());
            ASSERT_TRUE(file.RemoveTags(TAG_ID3V2));
        }
        EXPECT_EQ(Read(), cut);
    }
}

// A tag whose size is wrong, claiming far more than the file holds, before the audio and an ID3v1
// block: the audio after its frames is no part of it and stays as it is.
TEST_F(MpegFileDamagedTagsTest, TagClaimingMoreThanTheFileKeepsTheAudioAfterItsFrames)
{
    const Bytes audio = Audio();
    const CString path = Write(Concat({TagDeclaring(1 << 20), audio, V1Block("Old")}));
    {
        CMpegFile file(path, TRUE);
        ASSERT_TRUE(file.HasID3v2());
        ASSERT_TRUE(file.HasID3v1());
        EXPECT_EQ(file.GetID3v2(FALSE)->GetTitle(), CString(u"Old"));
        ASSERT_NE(file.GetAudioProperties(), nullptr);
        EXPECT_GT(file.GetAudioProperties()->GetBitrate(), 0);
        SetTitle(file, u"New");
        file.GetID3v1(FALSE)->SetTitle(u"New");
        ASSERT_TRUE(file.SaveTags(TAG_ID3V1 | TAG_ID3V2));
    }
    EXPECT_EQ(CMp3Builder::AudioBytes(Read()), audio);
    CMpegFile file(path, FALSE);
    ASSERT_TRUE(file.HasID3v2());
    EXPECT_TRUE(file.GetID3v2(FALSE)->m_bValid);
    EXPECT_EQ(file.GetID3v2(FALSE)->GetTitle(), CString(u"New"));
    EXPECT_EQ(file.GetID3v1(FALSE)->GetTitle(), CString(u"New"));
}

// A real truncated copy: its frames, a compressed picture first, run to the end of the file. All
// are read; a save as 2.4 keeps the picture frame byte for byte.
TEST_F(MpegFileDamagedTagsTest, TruncatedCorpusFileKeepsItsCompressedPicture)
{
    const CCorpusCopy corpus;
    const std::filesystem::path path = corpus.GetRoot() / "taglib" / "compressed_id3_frame.mp3";
    const Bytes original = ReadFileBytes(path);
    ASSERT_GT(original.size(), 20u);
    const size_t nPicture = 10 + ReadSyncSafe(original.data() + 14);
    ASSERT_LT(10 + nPicture, original.size());
    const Bytes picture(original.begin() + 10,
                        original.begin() + 10 + static_cast<std::ptrdiff_t>(nPicture));
    const CString strTitle = u"Braveheart Theme (Techno remix)";
    {
        CMpegFile file(ToCString(path), TRUE);
        ASSERT_TRUE(file.HasID3v2());
        CID3v2* pTag = file.GetID3v2(FALSE);
        EXPECT_FALSE(pTag->m_bValid);
        EXPECT_EQ(file.GetID3v2Size(), original.size());
        EXPECT_EQ(pTag->GetTitle(), CString(u"Braveheart Theme (Techno remix"));
        SetTitle(file, strTitle);
        pTag->m_pHeader->m_nVersion = 4;
        ASSERT_TRUE(file.SaveTags(TAG_ID3V2));
    }
    const Bytes saved = ReadFileBytes(path);
    ASSERT_GT(saved.size(), 10 + picture.size());
    EXPECT_EQ(
        Bytes(saved.begin() + 10, saved.begin() + 10 + static_cast<std::ptrdiff_t>(picture.size())),
        picture);
    CMpegFile file(ToCString(path), FALSE);
    const CID3v2* pTag = file.GetID3v2(FALSE);
    ASSERT_NE(pTag, nullptr);
    EXPECT_TRUE(pTag->m_bValid);
    EXPECT_EQ(file.GetID3v2Size(), saved.size());
    std::vector<std::string> ids;
    for (const auto& pFrame : pTag->m_frames)
        ids.emplace_back(pFrame->m_pHeader->m_szID);
    EXPECT_EQ(ids, (std::vector<std::string>{"APIC", "TPE1", "TALB", "TCON", "TIT2"}));
    EXPECT_EQ(pTag->GetTitle(), strTitle);
    EXPECT_EQ(pTag->GetArtist(), CString(u"Moby"));
    EXPECT_EQ(pTag->GetAlbum(), CString(u"<Undefined>"));
    EXPECT_EQ(pTag->GetGenre(), CString(u"Techno-Dance"));
}
