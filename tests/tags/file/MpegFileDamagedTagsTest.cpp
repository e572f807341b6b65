// Files whose tags contradict each other or the file, as damaged or hostile files have them:
// saving over them never damages what the file holds and never fails with an exception that a
// working file system would not raise.
#include "tags/file/MpegFile.h"

#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/ID3v2Header.h"
#include "tags/id3v2/frames/TextFrame.h"

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
