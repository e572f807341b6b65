// Building frames from tag bytes: the checks, the ID3v2.2 identifiers and the class chosen for
// each identifier.
#include "ID3v2TagBytes.h"

#include "tags/id3v2/FrameFactory.h"
#include "tags/id3v2/frames/CommentsFrame.h"
#include "tags/id3v2/frames/PictureFrame.h"
#include "tags/id3v2/frames/PictureFrameV22.h"
#include "tags/id3v2/frames/TextFrame.h"
#include "tags/id3v2/frames/UnknowFrame.h"

#include <gtest/gtest.h>

using namespace TagBytes;
using Tags::ID3v2Tag::CCommentsFrame;
using Tags::ID3v2Tag::CPictureFrame;
using Tags::ID3v2Tag::CPictureFrameV22;
using Tags::ID3v2Tag::CTextFrame;
using Tags::ID3v2Tag::CUnknowFrame;
using Tags::ID3v2Tag::IsValidFrameID;
using Tags::ID3v2Tag::ReadFrame;

namespace
{

std::unique_ptr<CFrame> Read(const Bytes& bytes, int nVersion, BOOL bUnsynchronised = FALSE)
{
    return ReadFrame(bytes.data(), static_cast<UINT>(bytes.size()), nVersion, bUnsynchronised);
}

std::string ClassOf(const std::unique_ptr<CFrame>& pFrame)
{
    return pFrame ? pFrame->GetRuntimeClassName() : "NULL";
}

} // namespace

TEST(FrameFactoryTest, ClassByIdentifier)
{
    struct Case
    {
        const char* pszID;
        const char* pszClass;
    };
    const Case cases[] = {
        {"TXXX", "CUserTextFrame"},
        {"TIT2", "CTextFrame"},
        {"TKWD", "CTextFrame"},
        {"TCON", "CTextFrame"},
        {"IPLS", "CTextFrame"},
        {"COMM", "CCommentsFrame"},
        {"APIC", "CPictureFrame"},
        {"WXXX", "CUserUrlLinkFrame"},
        {"WOAR", "CUrlLinkFrame"},
        {"WZZZ", "CUrlLinkFrame"},
        {"POPM", "CPopularimeterFrame"},
        {"PCNT", "CPlayCounterFrame"},
        {"USLT", "CUnsynchronizedLyricsFrame"},
        {"USER", "CTermOfUseFrame"},
        {"PRIV", "CPrivateFrame"},
        {"GEOB", "CUnknowFrame"},
        {"MCDI", "CUnknowFrame"},
        {"XYZ1", "CUnknowFrame"},
    };
    for (const Case& c : cases)
    {
        for (int nVersion : {3, 4})
        {
            auto pFrame =
                Read(Frame(c.pszID, Text(0, std::string("eng\0abc", 7)), nVersion), nVersion);
            EXPECT_EQ(c.pszClass, ClassOf(pFrame)) << c.pszID << " " << nVersion;
            ASSERT_NE(nullptr, pFrame);
            EXPECT_STREQ(c.pszID, pFrame->GetID());
        }
    }
}

TEST(FrameFactoryTest, GenresAreConvertedOnRead)
{
    auto pFrame = Read(Frame("TCON", Text(0, std::string("(17)\0(31)Trance Music", 21)), 4), 4);
    EXPECT_EQ((std::vector<std::string>{"Rock", "Trance", "Trance"}), Values(pFrame.get()));
    // Only TCON.
    auto pTitle = Read(Frame("TIT2", Text(0, "(17)"), 4), 4);
    EXPECT_EQ((std::vector<std::string>{"(17)"}), Values(pTitle.get()));
}

TEST(FrameFactoryTest, FrameMustFitAndHaveAValidID)
{
    // TPE1 of size 10 in a 20-byte area is accepted; of size 11 it is not.
    Bytes fits = Frame("TPE1", Text(0, "123456789"), 3);
    ASSERT_EQ(20u, fits.size());
    EXPECT_NE(nullptr, Read(fits, 3));
    Bytes over = fits;
    over[7] = 11;
    EXPECT_EQ(nullptr, Read(over, 3));

    for (const char* pszID : {"tit2", "TI T", "TIT\x01", "T-T2"})
    {
        EXPECT_EQ(nullptr, Read(Frame(pszID, Text(0, "x"), 3), 3)) << pszID;
    }
    EXPECT_TRUE(IsValidFrameID("A1Z9", 4));
    EXPECT_TRUE(IsValidFrameID("TT2", 2));
    EXPECT_FALSE(IsValidFrameID("TT", 2));
    EXPECT_FALSE(IsValidFrameID("TT2", 3));
    EXPECT_FALSE(IsValidFrameID(nullptr, 4));

    // Too short for a header at all.
    const Bytes tiny = Fixtures::BytesOf("TIT");
    EXPECT_EQ(nullptr, Read(tiny, 4));
    EXPECT_EQ(nullptr, ReadFrame(nullptr, 0, 4, FALSE));

    // A size near 4 GiB does not wrap round.
    Bytes huge = fits;
    huge[4] = huge[5] = huge[6] = huge[7] = 0xFF;
    EXPECT_EQ(nullptr, Read(huge, 3));

    // Size 0 passes; the tag reader rejects it.
    auto pZero = Read(Frame("TIT2", {}, 4), 4);
    ASSERT_NE(nullptr, pZero);
    EXPECT_EQ(0u, pZero->m_pHeader->m_nSize);
}

TEST(FrameFactoryTest, Version22Identifiers)
{
    struct Case
    {
        const char* pszV22;
        const char* pszID;
        const char* pszClass;
    };
    const Case cases[] = {
        {"TT2", "TIT2", "CTextFrame"},          {"TYE", "TDRC", "CTextFrame"},
        {"TRD", "TDRC", "CTextFrame"},          {"TOR", "TDOR", "CTextFrame"},
        {"IPL", "TIPL", "CTextFrame"},          {"TXX", "TXXX", "CUserTextFrame"},
        {"COM", "COMM", "CCommentsFrame"},      {"ULT", "USLT", "CUnsynchronizedLyricsFrame"},
        {"WXX", "WXXX", "CUserUrlLinkFrame"},   {"WAR", "WOAR", "CUrlLinkFrame"},
        {"POP", "POPM", "CPopularimeterFrame"}, {"CNT", "PCNT", "CPlayCounterFrame"},
        {"GEO", "GEOB", "CUnknowFrame"},        {"PIC", "APIC", "CPictureFrameV22"},
        {"TDA", "TDA", "CUnknowFrame"},         {"TIM", "TIM", "CUnknowFrame"},
        {"TSI", "TSI", "CUnknowFrame"},         {"CRM", "CRM", "CUnknowFrame"},
        {"EQU", "EQU", "CUnknowFrame"},         {"LNK", "LNK", "CUnknowFrame"},
        {"RVA", "RVA", "CUnknowFrame"},         {"TCP", "TCMP", "CTextFrame"},
        {"TXY", "TXY", "CTextFrame"},           {"XYZ", "XYZ", "CUnknowFrame"},
    };
    for (const Case& c : cases)
    {
        auto pFrame = Read(Frame(c.pszV22,
                                 Text(0, std::string("PNG\x03"
                                                     "d\0data",
                                                     10)),
                                 2),
                           2);
        ASSERT_NE(nullptr, pFrame) << c.pszV22;
        EXPECT_STREQ(c.pszID, pFrame->GetID()) << c.pszV22;
        EXPECT_EQ(c.pszClass, ClassOf(pFrame)) << c.pszV22;
        // The body is still read after the 6-byte header.
        EXPECT_EQ(2, pFrame->m_pHeader->m_nVersion) << c.pszV22;
        EXPECT_EQ(6u, pFrame->m_pHeader->GetDataOffset()) << c.pszV22;
    }

    auto pText = Read(Frame("TT2", Text(0, "Title"), 2), 2);
    EXPECT_EQ((std::vector<std::string>{"Title"}), Values(pText.get()));
    auto pGenre = Read(Frame("TCO", Text(0, "(17)"), 2), 2);
    EXPECT_STREQ("TCON", pGenre->GetID());
    EXPECT_EQ((std::vector<std::string>{"Rock"}), Values(pGenre.get()));

    auto pRaw = Read(Frame("TDA", Text(0, "0612"), 2), 2);
    const auto* pUnknown = dynamic_cast<const CUnknowFrame*>(pRaw.get());
    ASSERT_NE(nullptr, pUnknown);
    EXPECT_EQ(Text(0, "0612"),
              Bytes(pUnknown->m_pData.get(), pUnknown->m_pData.get() + pUnknown->m_nDataSize));

    auto pPicture = Read(Frame("PIC",
                               Text(0, std::string("png\x03"
                                                   "d\0data",
                                                   10)),
                               2),
                         2);
    const auto* pV22 = dynamic_cast<const CPictureFrameV22*>(pPicture.get());
    ASSERT_NE(nullptr, pV22);
    EXPECT_EQ(CString(u"image/png"), pV22->m_strMimeType);
    EXPECT_EQ(3, pV22->m_nPictureType);
    EXPECT_EQ(Fixtures::BytesOf("data"), pV22->m_data);
}

TEST(FrameFactoryTest, MappingIsForVersion22Only)
{
    // A four-character ID in 2.3 is never mapped; a 2.2 ID read by the 2.3 rules is not valid.
    auto pFrame = Read(Frame("TYER", Text(0, "1999"), 3), 3);
    EXPECT_STREQ("TYER", pFrame->GetID());
}

TEST(FrameFactoryTest, Version24UnsynchronisedBodyIsDecodedBeforeTheClassReadsIt)
{
    const Bytes body = Text(0, "A") + Bytes{0xFF, 0x00, 0xE0};
    auto pFlagged = Read(Frame("TIT2", body, 4, 0, 0x02), 4);
    ASSERT_NE(nullptr, pFlagged);
    EXPECT_EQ(5u, pFlagged->m_pHeader->m_nSize);
    const auto* pText = dynamic_cast<const CTextFrame*>(pFlagged.get());
    ASSERT_NE(nullptr, pText);
    // "A", 0xFF, 0xE0 in Windows-1252.
    EXPECT_EQ(CString(u"A\u00FF\u00E0"), pText->m_values.at(0));

    // The tag's flag works the same; in 2.3 the frame flag does not exist.
    auto pByTag = Read(Frame("TIT2", body, 4), 4, TRUE);
    EXPECT_EQ(CString(u"A\u00FF\u00E0"), dynamic_cast<const CTextFrame&>(*pByTag).m_values.at(0));
    auto pPlain = Read(Frame("TIT2", body, 4), 4);
    EXPECT_EQ(CString(u"A\u00FF"), dynamic_cast<const CTextFrame&>(*pPlain).m_values.at(0));

    // A compressed frame with a data length indicator, unsynchronised: the data is decoded, the
    // data length read from the decoded bytes.
    const Bytes raw = SyncSafe(1000) + Bytes{0xFF, 0x00, 0xE0, 7};
    auto pRaw = Read(Frame("APIC", raw, 4, 0, 0x0B), 4);
    const auto* pUnknown = dynamic_cast<const CUnknowFrame*>(pRaw.get());
    ASSERT_NE(nullptr, pUnknown);
    EXPECT_EQ(1000u, pUnknown->m_pHeader->m_nDataLength);
    EXPECT_EQ((Bytes{0xFF, 0xE0, 7}),
              Bytes(pUnknown->m_pData.get(), pUnknown->m_pData.get() + pUnknown->m_nDataSize));
}
