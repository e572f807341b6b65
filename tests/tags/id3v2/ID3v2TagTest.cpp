// The ID3v2 tag: reading real files, the frame list, the basic fields, rendering and its padding,
// unsynchronisation, raw frames and hostile sizes.
#include "AllocationWatch.h"
#include "ID3v2TagBytes.h"

#include "tags/file/FileEx.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/SyncSafe.h"
#include "tags/id3v2/frames/CommentsFrame.h"
#include "tags/id3v2/frames/PrivateFrame.h"
#include "tags/id3v2/frames/TextFrame.h"
#include "tags/id3v2/frames/UnknowFrame.h"
#include "tags/id3v2/frames/UserTextFrame.h"

#include <gtest/gtest.h>

#include <climits>

using namespace TagBytes;
using Tags::ID3v2Tag::CCommentsFrame;
using Tags::ID3v2Tag::CID3v2;
using Tags::ID3v2Tag::CPrivateFrame;
using Tags::ID3v2Tag::CTextFrame;
using Tags::ID3v2Tag::CUnknowFrame;
using Tags::ID3v2Tag::CUserTextFrame;

namespace
{

std::unique_ptr<CTextFrame> NewText(const char* szID, std::initializer_list<const char*> values)
{
    auto pFrame = std::make_unique<CTextFrame>(szID, 4);
    for (const char* psz : values)
    {
        pFrame->m_values.push_back(CString(psz));
    }
    return pFrame;
}

// A PRIV frame of exactly nLength bytes in a 2.3 or 2.4 tag (header included).
std::unique_ptr<CPrivateFrame> PrivateFrameOfLength(UINT nLength)
{
    auto pFrame = std::make_unique<CPrivateFrame>();
    pFrame->m_strOwner = u"x";
    pFrame->m_data.assign(nLength - 12, 0xAB);
    return pFrame;
}

// The text of the first frame with the ID; "<none>" when there is none.
CString TextOf(const CID3v2& tag, const char* szID)
{
    const CFrame* pFrame = tag.FindFrame(szID);
    return pFrame != nullptr ? pFrame->GetText() : CString(u"<none>");
}

} // namespace

TEST(ID3v2TagTest, NewTagIsVersion4EmptyAndValid)
{
    CID3v2 tag;
    EXPECT_EQ(4, tag.m_pHeader->m_nVersion);
    EXPECT_EQ(0u, tag.m_pHeader->m_nSize);
    EXPECT_TRUE(tag.m_bValid);
    EXPECT_TRUE(tag.IsEmpty());
    EXPECT_EQ(1, tag.m_nTextEncoding);
    EXPECT_EQ(CString(), tag.GetTitle());
    EXPECT_EQ(0, tag.GetTrack());
}

TEST(ID3v2TagTest, ReadsFramesFromAFile)
{
    CTagFile file;
    const Bytes body = TextFrame("TIT2", "Title", 3) + TextFrame("TPE1", "Artist", 3) +
                       TextFrame("TALB", "Album", 3) + TextFrame("TYER", "1999", 3) +
                       TextFrame("TRCK", "7/12", 3) + TextFrame("TCON", "(17)", 3);
    auto pTag = file.Read(Tag(3, body, 100));
    EXPECT_EQ(3, pTag->m_pHeader->m_nVersion);
    EXPECT_EQ(body.size() + 100, pTag->m_pHeader->m_nSize);
    EXPECT_TRUE(pTag->m_bValid);
    EXPECT_EQ((std::vector<std::string>{"TIT2", "TPE1", "TALB", "TYER", "TRCK", "TCON"}),
              IDs(*pTag));
    EXPECT_EQ(CString(u"Title"), pTag->GetTitle());
    EXPECT_EQ(CString(u"Artist"), pTag->GetArtist());
    EXPECT_EQ(CString(u"Album"), pTag->GetAlbum());
    EXPECT_EQ(CString(u"1999"), pTag->GetYear());
    EXPECT_EQ(7, pTag->GetTrack());
    EXPECT_EQ(CString(u"Rock"), pTag->GetGenre());
}

TEST(ID3v2TagTest, FileWithoutTag)
{
    Fixtures::CTempDir dir;
    Fixtures::CMp3Builder()
        .AddFrames(Fixtures::CMp3Builder::FrameSpec(), 3)
        .WriteTo(dir.PathOf("a.mp3"));
    Fixtures::WriteFileBytes(dir.PathOf("short.mp3"), Fixtures::BytesOf("ID3\x03"));
    for (const char* pszName : {"a.mp3", "short.mp3"})
    {
        Tags::CFileEx file;
        ASSERT_TRUE(file.OpenFile(dir.StrPathOf(pszName)));
        CID3v2 tag;
        EXPECT_FALSE(tag.Read(file)) << pszName;
        EXPECT_FALSE(tag.m_bValid) << pszName;
    }
}

TEST(ID3v2TagTest, SizeZeroIsAPresentEmptyTag)
{
    CTagFile file;
    auto pTag = file.Read(Tag(3, {}));
    EXPECT_TRUE(pTag->IsEmpty());
    EXPECT_TRUE(pTag->m_bValid);
}

TEST(ID3v2TagTest, TrackGenreCommentAndYearSlots)
{
    auto pTag = Parse(4, TextFrame("TRCK", "12", 4) +
                             Frame("TCON", Text(0, std::string("Rock\0Pop", 8)), 4) +
                             Frame("COMM", Text(0, std::string("eng\0first", 9)), 4) +
                             Frame("COMM", Text(0, std::string("eng\0second", 10)), 4) +
                             TextFrame("TYER", "1998", 4) + TextFrame("TDRC", "2004-05-06", 4));
    EXPECT_EQ(12, pTag->GetTrack());
    EXPECT_EQ(CString(u"Rock; Pop"), pTag->GetGenre());
    EXPECT_EQ(CString(u"first"), pTag->GetComment());
    EXPECT_EQ(CString(u"2004-05-06"), pTag->GetYear());

    // A 2.3 tag takes TYER; a 2.4 tag without TDRC falls back to it.
    pTag->m_pHeader->m_nVersion = 3;
    EXPECT_EQ(CString(u"1998"), pTag->GetYear());
    pTag->m_pHeader->m_nVersion = 4;
    EXPECT_TRUE(pTag->DeleteFrameByID("TDRC"));
    EXPECT_EQ(CString(u"1998"), pTag->GetYear());

    for (const char* pszTrack : {"", "/12", "x7", "-3"})
    {
        auto pOther = Parse(3, TextFrame("TRCK", pszTrack, 3));
        EXPECT_EQ(0, pOther->GetTrack()) << pszTrack;
    }
    EXPECT_EQ(0, Parse(3, TextFrame("TIT2", "x", 3))->GetTrack());
    EXPECT_EQ(99999, Parse(3, TextFrame("TRCK", " 99999 of many", 3))->GetTrack());
    EXPECT_EQ(4, Parse(3, TextFrame("TRCK", "+4", 3))->GetTrack());
    EXPECT_EQ(INT_MAX, Parse(3, TextFrame("TRCK", "99999999999999999999", 3))->GetTrack());
}

TEST(ID3v2TagTest, FindAndDeleteFrames)
{
    CID3v2 tag;
    CFrame* pFirst = tag.AddTail(NewText("TPE1", {"a"}));
    CFrame* pSecond = tag.AddTail(NewText("TPE1", {"b"}));
    tag.AddTail(NewText("TIT2", {"t"}));
    EXPECT_EQ(pFirst, tag.FindFrame("TPE1"));
    EXPECT_EQ(nullptr, tag.FindFrame("TPE"));
    EXPECT_EQ(nullptr, tag.FindFrame("tpe1"));

    CTextFrame stranger("TPE1", 4);
    EXPECT_FALSE(tag.DeleteFrame(&stranger));
    EXPECT_FALSE(tag.DeleteFrame(nullptr));
    EXPECT_TRUE(tag.DeleteFrame(pFirst));
    EXPECT_EQ(pSecond, tag.FindFrame("TPE1"));
    EXPECT_TRUE(tag.DeleteFrameByID("TPE1"));
    EXPECT_FALSE(tag.DeleteFrameByID("TPE1"));
    EXPECT_EQ((std::vector<std::string>{"TIT2"}), IDs(tag));
}

TEST(ID3v2TagTest, DeleteFramesByIDTakesEveryFrameOfTheIDAndKeepsTheOrderOfTheRest)
{
    CID3v2 tag;
    tag.AddTail(NewText("TPE1", {"a"}));
    tag.AddTail(NewText("TIT2", {"t"}));
    tag.AddTail(NewText("TPE1", {"b"}));
    tag.AddTail(NewText("TALB", {"x"}));
    tag.AddTail(NewText("TPE1", {"c"}));
    EXPECT_EQ(0, tag.DeleteFramesByID("tpe1"));
    EXPECT_EQ(0, tag.DeleteFramesByID(nullptr));
    EXPECT_EQ(3, tag.DeleteFramesByID("TPE1"));
    EXPECT_EQ(0, tag.DeleteFramesByID("TPE1"));
    EXPECT_EQ((std::vector<std::string>{"TIT2", "TALB"}), IDs(tag));

    // A tag of many frames: every second one goes, the others stay in their order.
    constexpr int kFrames = 100000;
    CID3v2 large;
    for (int i = 0; i < kFrames; ++i)
    {
        auto pFrame = std::make_unique<CTextFrame>(i % 2 == 0 ? "TALB" : "TIT2", 4);
        pFrame->m_values.push_back(FormatString(u"%d", i));
        large.AddTail(std::move(pFrame));
    }
    EXPECT_EQ(kFrames / 2, large.DeleteFramesByID("TIT2"));
    ASSERT_EQ(static_cast<size_t>(kFrames / 2), large.m_frames.size());
    int nExpected = 0;
    for (const auto& pFrame : large.m_frames)
    {
        ASSERT_EQ(pFrame->GetText(), FormatString(u"%d", nExpected));
        nExpected += 2;
    }
}

TEST(ID3v2TagTest, ValidityOfTheFrameList)
{
    const Bytes first = TextFrame("TIT2", "Title", 3);

    // A zero-size second frame is left out and the list goes on after it (a save keeps what
    // follows); the list is marked as damaged. The same in 2.2 and 2.4.
    for (const int nVersion : {2, 3, 4})
    {
        const bool b22 = nVersion == 2;
        auto pZero = Parse(nVersion, TextFrame(b22 ? "TT2" : "TIT2", "Title", nVersion) +
                                         Frame(b22 ? "TP1" : "TPE1", {}, nVersion) +
                                         Frame(b22 ? "TP1" : "TPE1", {}, nVersion) +
                                         TextFrame(b22 ? "TAL" : "TALB", "Album", nVersion));
        // 2.2 frames are read under their later IDs.
        EXPECT_EQ((std::vector<std::string>{"TIT2", "TALB"}), IDs(*pZero)) << nVersion;
        EXPECT_EQ(CString(u"Album"), TextOf(*pZero, "TALB")) << nVersion;
        EXPECT_FALSE(pZero->m_bValid) << nVersion;
    }
    // A zero-size frame just before the padding or the end.
    auto pZeroLast = Parse(3, first + Frame("TPE1", {}, 3) + Bytes(8, 0));
    EXPECT_EQ((std::vector<std::string>{"TIT2"}), IDs(*pZeroLast));
    EXPECT_FALSE(pZeroLast->m_bValid);

    // A 2.3 header with undefined flag bits counts as size 0.
    auto pFlags = Parse(3, first + Frame("TPE1", Text(0, "x"), 3, 0x01));
    EXPECT_EQ(1u, pFlags->m_frames.size());
    EXPECT_FALSE(pFlags->m_bValid);

    // A body shorter than one frame header.
    EXPECT_FALSE(Parse(3, Bytes(9, 'A'))->m_bValid);
    EXPECT_FALSE(Parse(2, Bytes(5, 'A'))->m_bValid);

    // A frame that does not fit, an invalid ID and the padding end the list quietly.
    Bytes tooLong = first + TextFrame("TPE1", "Artist", 3);
    tooLong.pop_back();
    auto pTooLong = Parse(3, tooLong);
    EXPECT_EQ(1u, pTooLong->m_frames.size());
    EXPECT_TRUE(pTooLong->m_bValid);

    auto pBadID = Parse(3, first + TextFrame("tpe1", "Artist", 3));
    EXPECT_EQ(1u, pBadID->m_frames.size());
    EXPECT_TRUE(pBadID->m_bValid);

    auto pPadding = Parse(3, first + Bytes(20, 0) + TextFrame("TPE1", "Artist", 3));
    EXPECT_EQ(1u, pPadding->m_frames.size());
    EXPECT_TRUE(pPadding->m_bValid);

    // A frame ending exactly at the end of the area is read.
    auto pExact = Parse(3, first + TextFrame("TPE1", "Artist", 3));
    EXPECT_EQ(2u, pExact->m_frames.size());
}

TEST(ID3v2TagTest, ExtendedHeadersAreSkipped)
{
    const Bytes frames = TextFrame("TIT2", "Title", 3) + TextFrame("TPE1", "Artist", 3);
    CTagFile file;
    // 2.3: a plain size that leaves out its own four bytes (6 bytes follow: flags and padding
    // size).
    const Bytes ext23 = BigEndian32(6) + Bytes{0, 0, 0, 0, 0, 0};
    auto p23 = file.Read(Tag(3, ext23 + frames, 10, 0x40), "23.mp3");
    EXPECT_EQ((std::vector<std::string>{"TIT2", "TPE1"}), IDs(*p23));
    EXPECT_TRUE(p23->m_bValid);

    // 2.4: a sync-safe size that counts the whole extended header.
    const Bytes frames24 = TextFrame("TIT2", "Title", 4) + TextFrame("TPE1", "Artist", 4);
    const Bytes ext24 = SyncSafe(6) + Bytes{1, 0};
    auto p24 = file.Read(Tag(4, ext24 + frames24, 10, 0x40), "24.mp3");
    EXPECT_EQ((std::vector<std::string>{"TIT2", "TPE1"}), IDs(*p24));

    // The rendering has no extended header.
    const Bytes rendered = Render(*p24);
    EXPECT_EQ(0, rendered[5]);
    EXPECT_EQ((std::vector<std::string>{"TIT2", "TPE1"}), IDs(*Reparse(rendered)));
}

TEST(ID3v2TagTest, WholeTagUnsynchronisationIn23)
{
    auto pPrivate = Bytes{'o', 0, 0xFF, 0xE0, 0xFF, 0x00, 0xFF};
    const Bytes body =
        TextFrame("TIT2", "Title", 3) + Frame("PRIV", pPrivate, 3) + TextFrame("TPE1", "Artist", 3);
    CTagFile file;
    auto pTag = file.Read(Tag(3, Unsynchronise(body), 0, 0x80));
    ASSERT_EQ((std::vector<std::string>{"TIT2", "PRIV", "TPE1"}), IDs(*pTag));
    const auto* pFrame = dynamic_cast<const CPrivateFrame*>(pTag->FindFrame("PRIV"));
    ASSERT_NE(nullptr, pFrame);
    EXPECT_EQ((Bytes{0xFF, 0xE0, 0xFF, 0x00, 0xFF}), pFrame->m_data);
    EXPECT_EQ(CString(u"Artist"), pTag->GetArtist());

    // Written without unsynchronisation.
    const Bytes rendered = Render(*pTag);
    EXPECT_EQ(0, rendered[5]);
    auto pAgain = Reparse(rendered);
    EXPECT_EQ(IDs(*pTag), IDs(*pAgain));
}

TEST(ID3v2TagTest, PerFrameUnsynchronisationIn24)
{
    const Bytes data{'o', 0, 0xFF, 0xE0, 0xFF, 0x00, 0xFF};
    const Bytes coded = Unsynchronise(data);
    ASSERT_NE(data.size(), coded.size());

    // Only the frame that says so is decoded; the tag body as a whole is not.
    const Bytes body =
        Frame("PRIV", coded, 4, 0, 0x02) + Frame("PRIV", coded, 4) + TextFrame("TIT2", "Title", 4);
    CTagFile file;
    auto pTag = file.Read(Tag(4, body, 10), "frame.mp3");
    ASSERT_EQ((std::vector<std::string>{"PRIV", "PRIV", "TIT2"}), IDs(*pTag));
    auto it = pTag->m_frames.begin();
    const auto* pDecoded = dynamic_cast<const CPrivateFrame*>(it->get());
    const auto* pPlain = dynamic_cast<const CPrivateFrame*>((++it)->get());
    ASSERT_NE(nullptr, pDecoded);
    ASSERT_NE(nullptr, pPlain);
    EXPECT_EQ(Bytes(data.begin() + 2, data.end()), pDecoded->m_data);
    EXPECT_EQ(Bytes(coded.begin() + 2, coded.end()), pPlain->m_data);

    // The tag header's flag means every frame.
    auto pAll = file.Read(Tag(4, Frame("PRIV", coded, 4) + TextFrame("TIT2", "Title", 4), 0, 0x80),
                          "tag.mp3");
    const auto* pFrame = dynamic_cast<const CPrivateFrame*>(pAll->FindFrame("PRIV"));
    ASSERT_NE(nullptr, pFrame);
    EXPECT_EQ(Bytes(data.begin() + 2, data.end()), pFrame->m_data);
    EXPECT_EQ(CString(u"Title"), pAll->GetTitle());

    // Written plain: no flag, decoded size.
    const Bytes rendered = Render(*pTag);
    const Bytes expected = Frame("PRIV", data, 4);
    EXPECT_EQ(expected, Bytes(rendered.begin() + 10, rendered.begin() + 10 + expected.size()));
}

TEST(ID3v2TagTest, PaddingKeepsTheSizeWhileTheFramesFit)
{
    // A 2.3 tag of body size 2048 holding 500 bytes of frames.
    CTagFile file;
    auto pRead = file.Read(Tag(3, Frame("PRIV", Bytes{'x', 0} + Bytes(488, 1), 3), 1548));
    ASSERT_EQ(1u, pRead->m_frames.size());
    ASSERT_EQ(2048u, pRead->m_pHeader->m_nSize);

    struct Case
    {
        UINT nFrames;
        UINT nBodySize;
    };
    for (const Case& c : {Case{800, 2048}, Case{2047, 2048}, Case{2048, 3072}, Case{2049, 3073}})
    {
        SCOPED_TRACE(c.nFrames);
        auto pTag = file.Read(Tag(3, Frame("PRIV", Bytes{'x', 0} + Bytes(488, 1), 3), 1548));
        pTag->DeleteFrameByID("PRIV");
        pTag->AddTail(PrivateFrameOfLength(c.nFrames));
        const Bytes rendered = Render(*pTag);
        EXPECT_EQ(10u + c.nBodySize, rendered.size());
        EXPECT_EQ(c.nBodySize, pTag->m_pHeader->m_nSize);
        EXPECT_EQ(SyncSafe(c.nBodySize), Bytes(rendered.begin() + 6, rendered.begin() + 10));
        for (size_t i = 10 + c.nFrames; i < rendered.size(); ++i)
        {
            ASSERT_EQ(0, rendered[i]) << i;
        }
    }
}

TEST(ID3v2TagTest, NewTagGetsTheStandardPadding)
{
    CID3v2 tag;
    tag.m_nTextEncoding = 0;
    tag.AddTail(NewText("TIT2", {"Hello"}));
    const Bytes rendered = Render(tag);
    const Bytes frame = TextFrame("TIT2", std::string("Hello\0", 6), 4);
    ASSERT_EQ(10 + frame.size() + 1024, rendered.size());
    const Bytes header =
        Fixtures::BytesOf("ID3") + Bytes{4, 0, 0} + SyncSafe(UINT(frame.size() + 1024));
    EXPECT_EQ(header, Bytes(rendered.begin(), rendered.begin() + 10));
    EXPECT_EQ(frame, Bytes(rendered.begin() + 10, rendered.begin() + 10 + frame.size()));

    // Rendering again keeps the size.
    EXPECT_EQ(rendered, Render(tag));
}

TEST(ID3v2TagTest, EmptyBodiesAndUnsupportedVersionsOnOutput)
{
    CID3v2 tag;
    tag.m_pHeader->m_nVersion = 2;
    tag.AddTail(std::make_unique<CUnknowFrame>("GEOB", 2));
    tag.AddTail(NewText("TIT2", {"t"}));
    const Bytes rendered = Render(tag);
    // Written as 2.4, with the frame without data left out but kept.
    EXPECT_EQ(4, rendered[3]);
    EXPECT_EQ(4, tag.m_pHeader->m_nVersion);
    EXPECT_EQ(2u, tag.m_frames.size());
    EXPECT_EQ((std::vector<std::string>{"TIT2"}), IDs(*Reparse(rendered)));
}

TEST(ID3v2TagTest, RenderedHeaderHasNoFlags)
{
    CTagFile file;
    auto pTag = file.Read(Tag(4, TextFrame("TIT2", "Title", 4), 20, 0x10 | 0x20));
    EXPECT_TRUE(pTag->m_pHeader->m_bFooter);
    const Bytes rendered = Render(*pTag);
    EXPECT_EQ(0, rendered[5]);
    EXPECT_FALSE(pTag->m_pHeader->m_bFooter);
    EXPECT_FALSE(pTag->m_pHeader->m_bExperimental);
    EXPECT_EQ(rendered.size(), pTag->m_pHeader->GetTagLength());
}

TEST(ID3v2TagTest, CompressedEncryptedAndGroupedFramesAreKeptRaw)
{
    // 2.3: compression with its decompressed size, encryption with its method, grouping with
    // its symbol. The data is made up: it is never looked at.
    const Bytes compressed =
        Frame("TIT2", BigEndian32(300) + Bytes{0x78, 0x9C, 1, 2, 3}, 3, 0, 0x80);
    const Bytes encrypted = Frame("COMM", Bytes{0x81, 9, 8, 7}, 3, 0, 0x40);
    const Bytes grouped = Frame("TPE1", Bytes{0x05, 0, 'A', 'b'}, 3, 0, 0x20);
    const Bytes all = Frame("APIC", BigEndian32(70) + Bytes{0x82, 0x06, 1, 2}, 3, 0, 0xE0);
    const Bytes body = compressed + encrypted + grouped + all + TextFrame("TALB", "Album", 3);
    CTagFile file;
    auto pTag = file.Read(Tag(3, body));
    ASSERT_EQ((std::vector<std::string>{"TIT2", "COMM", "TPE1", "APIC", "TALB"}), IDs(*pTag));
    int nRaw = 0;
    for (const auto& pFrame : pTag->m_frames)
    {
        if (const auto* pUnknown = dynamic_cast<const CUnknowFrame*>(pFrame.get()))
        {
            EXPECT_TRUE(pUnknown->IsRawFormat());
            ++nRaw;
        }
    }
    EXPECT_EQ(4, nRaw);
    // The raw frames' text is not shown.
    EXPECT_EQ(CString(), pTag->GetTitle());
    EXPECT_EQ(CString(), pTag->GetComment());

    // Written back as 2.3: byte for byte.
    pTag->m_nTextEncoding = 0;
    const Bytes rendered = Render(*pTag);
    const Bytes expected = compressed + encrypted + grouped + all +
                           Frame("TALB", Text(0, std::string("Album\0", 6)), 3);
    ASSERT_GE(rendered.size(), 10 + expected.size());
    EXPECT_EQ(expected, Bytes(rendered.begin() + 10, rendered.begin() + 10 + expected.size()));

    // As 2.4: the flags at the 2.4 positions, the extra bytes in the 2.4 order, the decompressed
    // size as the data length (sync-safe, with its indicator).
    pTag->m_pHeader->m_nVersion = 4;
    const Bytes rendered24 = Render(*pTag);
    const Bytes expected24 =
        Frame("TIT2", SyncSafe(300) + Bytes{0x78, 0x9C, 1, 2, 3}, 4, 0, 0x09) +
        Frame("COMM", Bytes{0x81, 9, 8, 7}, 4, 0, 0x04) +
        Frame("TPE1", Bytes{0x05, 0, 'A', 'b'}, 4, 0, 0x40) +
        Frame("APIC", Bytes{0x06, 0x82} + SyncSafe(70) + Bytes{1, 2}, 4, 0, 0x4D);
    ASSERT_GE(rendered24.size(), 10 + expected24.size());
    EXPECT_EQ(expected24,
              Bytes(rendered24.begin() + 10, rendered24.begin() + 10 + expected24.size()));

    // And read back from the 2.4 rendering, then written as 2.3 again: the original bytes.
    auto pAgain = Reparse(rendered24);
    pAgain->m_pHeader->m_nVersion = 3;
    pAgain->m_nTextEncoding = 0;
    const Bytes again = Render(*pAgain);
    EXPECT_EQ(expected, Bytes(again.begin() + 10, again.begin() + 10 + expected.size()));
}

TEST(ID3v2TagTest, HostileTagSizeCostsOnlyWhatTheFileHolds)
{
    // A tag header claiming the largest size in a file of 1 KiB.
    Fixtures::CTempDir dir;
    Bytes bytes = Fixtures::BytesOf("ID3") + Bytes{3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F} +
                  TextFrame("TIT2", "Title", 3);
    bytes.resize(1024, 0);
    Fixtures::WriteFileBytes(dir.PathOf("hostile.mp3"), bytes);
    Tags::CFileEx file;
    ASSERT_TRUE(file.OpenFile(dir.StrPathOf("hostile.mp3")));
    CID3v2 tag;
    {
        CAllocationWatch watch;
        EXPECT_TRUE(tag.Read(file));
        if (watch.IsActive())
        {
            EXPECT_LE(watch.GetLargest(), 1024u);
        }
    }
    // The frame that is there, in a tag marked damaged. The size stays as declared, but the tag
    // ends with the file, since only padding follows its frame.
    EXPECT_EQ(CString(u"Title"), tag.GetTitle());
    EXPECT_FALSE(tag.m_bValid);
    EXPECT_EQ(0x0FFFFFFFu, tag.m_pHeader->m_nSize);
    EXPECT_EQ(1024u, tag.GetLengthInFile());

    // Rendered, it is padded to what the file held at most, not to the size claimed.
    tag.DeleteFrameByID("TIT2");
    tag.AddTail(NewText("TIT2", {"New"}));
    {
        CAllocationWatch watch;
        EXPECT_EQ(1024u, Render(tag).size());
        if (watch.IsActive())
        {
            EXPECT_LE(watch.GetLargest(), 2048u);
        }
    }
    EXPECT_EQ(1014u, tag.m_pHeader->m_nSize);
    // From then on the size is its own again.
    tag.AddTail(PrivateFrameOfLength(2000));
    EXPECT_EQ(10u + 21 + 2000 + 1024, Render(tag).size());
}

// Some 2.4 writers store frame sizes as plain integers. Such a size is read as meant when only
// it ends at a frame boundary; a real sync-safe size always wins.
TEST(ID3v2TagTest, PlainFrameSizesIn24)
{
    const auto PlainFrame = [](std::string_view id, const Bytes& body)
    {
        return Fixtures::BytesOf(id) + BigEndian32(static_cast<UINT>(body.size())) + Bytes{0, 0} +
               body;
    };
    // 200 bytes: plain 00 00 00 C8 has bit 7 set in the last byte.
    const std::string strLong(199, 'L');
    // 300 bytes: plain 00 00 01 2C reads as sync-safe 172, inside the body.
    const std::string strLonger(299, 'M');
    const Bytes body = PlainFrame("TIT2", Text(0, strLong)) +
                       PlainFrame("TPE1", Text(0, strLonger)) + TextFrame("TALB", "Album", 4);
    for (const UINT nPadding : {0u, 16u})
    {
        auto pTag = Parse(4, body + Bytes(nPadding, 0));
        EXPECT_EQ((std::vector<std::string>{"TIT2", "TPE1", "TALB"}), IDs(*pTag)) << nPadding;
        EXPECT_EQ(CString(strLong.c_str()), TextOf(*pTag, "TIT2"));
        EXPECT_EQ(CString(strLonger.c_str()), TextOf(*pTag, "TPE1"));
        EXPECT_TRUE(pTag->m_bValid);

        // Written back, the sizes are sync-safe.
        Tags::CRenderBuffer buffer;
        pTag->m_nTextEncoding = 0;
        pTag->Render(buffer);
        const Bytes rendered(buffer.GetData(), buffer.GetData() + buffer.GetLength());
        auto pBack = Parse(4, Bytes(rendered.begin() + 10, rendered.end()));
        EXPECT_EQ(IDs(*pTag), IDs(*pBack));
        EXPECT_EQ(CString(strLong.c_str()), TextOf(*pBack, "TIT2"));
        EXPECT_EQ(CString(strLonger.c_str()), TextOf(*pBack, "TPE1"));
        EXPECT_TRUE(Tags::ID3v2Tag::IsSyncSafe(rendered.data() + 14));
    }

    // A correct sync-safe size is kept even where the plain reading would also fit: 128 bytes are
    // 00 00 01 00, plain 256; the frame after it starts at the sync-safe end.
    const std::string strPadded(127, 'P');
    const Bytes second = TextFrame("TPE1", "Artist", 4);
    Bytes tail = second + Bytes(256, 0);
    auto pSyncSafe = Parse(4, TextFrame("TIT2", strPadded, 4) + tail);
    EXPECT_EQ((std::vector<std::string>{"TIT2", "TPE1"}), IDs(*pSyncSafe));
    EXPECT_EQ(CString(strPadded.c_str()), TextOf(*pSyncSafe, "TIT2"));

    // Neither reading reaches a boundary: the sync-safe size stands and the list ends after it.
    Bytes broken = TextFrame("TIT2", "Title", 4) + Fixtures::BytesOf("TPE1") +
                   Bytes{0, 0, 1, 0x2C, 0, 0} + Bytes(200, 'x');
    auto pBroken = Parse(4, broken);
    EXPECT_EQ((std::vector<std::string>{"TIT2", "TPE1"}), IDs(*pBroken));
    ASSERT_NE(nullptr, pBroken->FindFrame("TPE1"));
    EXPECT_EQ(172u, pBroken->FindFrame("TPE1")->m_pHeader->m_nSize);
}

TEST(ID3v2TagTest, HostileFrameSizeStopsTheList)
{
    const Bytes body = TextFrame("TIT2", "Title", 3) + Fixtures::BytesOf("TPE1") +
                       BigEndian32(0xFFFFFFF0) + Bytes{0, 0} + Fixtures::BytesOf("Artist");
    Fixtures::CTempDir dir;
    Fixtures::WriteFileBytes(dir.PathOf("hostile.mp3"), Tag(3, body));
    Tags::CFileEx file;
    ASSERT_TRUE(file.OpenFile(dir.StrPathOf("hostile.mp3")));
    CID3v2 tag;
    {
        CAllocationWatch watch;
        EXPECT_TRUE(tag.Read(file));
        if (watch.IsActive())
        {
            EXPECT_LE(watch.GetLargest(), body.size() + 1024);
        }
    }
    EXPECT_EQ((std::vector<std::string>{"TIT2"}), IDs(tag));
    EXPECT_TRUE(tag.m_bValid);
}

TEST(ID3v2TagTest, ReadReplacesWhatTheTagHeld)
{
    CTagFile file;
    auto pTag = file.Read(Tag(3, TextFrame("TIT2", "One", 3), 0, 0x80), "one.mp3");
    pTag->m_bValid = FALSE;
    Fixtures::CMp3Builder()
        .AddId3v2(Tag(4, TextFrame("TPE1", "Two", 4)))
        .WriteTo(file.m_dir.PathOf("two.mp3"));
    Tags::CFileEx two;
    ASSERT_TRUE(two.OpenFile(file.m_dir.StrPathOf("two.mp3")));
    EXPECT_TRUE(pTag->Read(two));
    EXPECT_EQ((std::vector<std::string>{"TPE1"}), IDs(*pTag));
    EXPECT_TRUE(pTag->m_bValid);
    EXPECT_FALSE(pTag->m_pHeader->m_bUnsynchronisation);
    EXPECT_EQ(4, pTag->m_pHeader->m_nVersion);
}
