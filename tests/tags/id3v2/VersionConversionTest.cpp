// Saving a tag as another version: frames renamed or kept as TXXX, and the date frames of 2.3
// and 2.4 translated into each other so that the year survives.
#include "ID3v2TagBytes.h"

#include "tags/id3v2/VersionConversion.h"
#include "tags/id3v2/frames/TextFrame.h"
#include "tags/id3v2/frames/UnknowFrame.h"
#include "tags/id3v2/frames/UserTextFrame.h"

#include <gtest/gtest.h>

using namespace TagBytes;
using Tags::ID3v2Tag::CTextFrame;
using Tags::ID3v2Tag::CUnknowFrame;
using Tags::ID3v2Tag::CUserTextFrame;
using Tags::ID3v2Tag::ParseTimestamp;
using Tags::ID3v2Tag::tagTIMESTAMP;

namespace
{

using Frames = std::vector<std::pair<const char*, std::vector<const char*>>>;

std::unique_ptr<CID3v2> MakeTag(int nVersion, const Frames& frames)
{
    auto pTag = std::make_unique<CID3v2>();
    pTag->m_pHeader->m_nVersion = nVersion;
    for (const auto& [pszID, values] : frames)
    {
        auto pFrame = std::make_unique<CTextFrame>(pszID, nVersion);
        for (const char* psz : values)
        {
            pFrame->m_values.push_back(CString(psz));
        }
        pTag->AddTail(std::move(pFrame));
    }
    return pTag;
}

// Saves the tag as the version and reads the result back.
std::unique_ptr<CID3v2> SaveAs(CID3v2& tag, int nVersion)
{
    tag.m_pHeader->m_nVersion = nVersion;
    return Reparse(Render(tag));
}

using Summary = std::vector<std::pair<std::string, std::vector<std::string>>>;

Summary Summarise(const CID3v2& tag)
{
    Summary summary;
    for (const auto& pFrame : tag.m_frames)
    {
        summary.emplace_back(pFrame->GetID(), Values(pFrame.get()));
    }
    return summary;
}

} // namespace

TEST(VersionConversionTest, RecordingTimeBecomesYearDateAndTime)
{
    struct Case
    {
        const char* pszTDRC;
        Summary expected;
    };
    const Case cases[] = {
        {"2004", {{"TYER", {"2004"}}}},
        {"2004-05", {{"TYER", {"2004"}}}},
        {"2004-05-06", {{"TYER", {"2004"}}, {"TDAT", {"0605"}}}},
        {"2004-05-06T12", {{"TYER", {"2004"}}, {"TDAT", {"0605"}}}},
        {"2004-05-06T12:30", {{"TYER", {"2004"}}, {"TDAT", {"0605"}}, {"TIME", {"1230"}}}},
        {"2004-05-06T12:30:45", {{"TYER", {"2004"}}, {"TDAT", {"0605"}}, {"TIME", {"1230"}}}},
        {"2004-13-06", {{"TYER", {"2004"}}}},
        {"2004-05-32", {{"TYER", {"2004"}}}},
        {"2004-05-06T24:00", {{"TYER", {"2004"}}, {"TDAT", {"0605"}}}},
        {"Spring 2004", {{"TYER", {"Spring 2004"}}}},
        {"04", {{"TYER", {"04"}}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszTDRC);
        auto pTag = MakeTag(4, {{"TIT2", {"t"}}, {"TDRC", {c.pszTDRC}}, {"TPE1", {"a"}}});
        auto pSaved = SaveAs(*pTag, 3);
        Summary expected{{"TIT2", {"t"}}};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        expected.push_back({"TPE1", {"a"}});
        EXPECT_EQ(expected, Summarise(*pSaved));
        // The tag in memory holds the converted frames too.
        EXPECT_EQ(expected, Summarise(*pTag));
    }
}

TEST(VersionConversionTest, YearOfA24TagSurvivesSavingAs23)
{
    CTagFile file;
    auto pTag = file.Read(Tag(4, TextFrame("TDRC", "2004", 4)));
    EXPECT_EQ(CString(u"2004"), pTag->GetYear());
    auto pSaved = SaveAs(*pTag, 3);
    EXPECT_EQ(3, pSaved->m_pHeader->m_nVersion);
    EXPECT_EQ((Summary{{"TYER", {"2004"}}}), Summarise(*pSaved));
    EXPECT_EQ(CString(u"2004"), pSaved->GetYear());
}

TEST(VersionConversionTest, YearOfA23TagSurvivesSavingAs24)
{
    CTagFile file;
    auto pTag = file.Read(Tag(3, TextFrame("TYER", "1999", 3)));
    auto pSaved = SaveAs(*pTag, 4);
    EXPECT_EQ((Summary{{"TDRC", {"1999"}}}), Summarise(*pSaved));
    EXPECT_EQ(CString(u"1999"), pSaved->GetYear());
}

TEST(VersionConversionTest, YearDateAndTimeBecomeOneRecordingTime)
{
    auto pTag =
        MakeTag(3, {{"TIME", {"1230"}}, {"TYER", {"1999"}}, {"TIT2", {"t"}}, {"TDAT", {"0612"}}});
    auto pSaved = SaveAs(*pTag, 4);
    EXPECT_EQ((Summary{{"TDRC", {"1999-12-06T12:30"}}, {"TIT2", {"t"}}}), Summarise(*pSaved));

    // And back again.
    auto pBack = SaveAs(*pSaved, 3);
    EXPECT_EQ(
        (Summary{{"TYER", {"1999"}}, {"TDAT", {"0612"}}, {"TIME", {"1230"}}, {"TIT2", {"t"}}}),
        Summarise(*pBack));
}

TEST(VersionConversionTest, DateAndTimeThatCannotJoinTheYearAreKept)
{
    struct Case
    {
        const char* pszCase;
        Frames frames;
        Summary expected;
    };
    const Case cases[] = {
        {"time without date",
         {{"TYER", {"1999"}}, {"TIME", {"1230"}}},
         {{"TDRC", {"1999"}}, {"TXXX", {"TIME", "1230"}}}},
        {"date without year", {{"TDAT", {"0612"}}}, {{"TXXX", {"DATE", "0612"}}}},
        {"invalid date",
         {{"TYER", {"1999"}}, {"TDAT", {"0613"}}, {"TIME", {"1230"}}},
         {{"TDRC", {"1999"}}, {"TXXX", {"DATE", "0613"}}, {"TXXX", {"TIME", "1230"}}}},
        {"day 32",
         {{"TYER", {"1999"}}, {"TDAT", {"3201"}}},
         {{"TDRC", {"1999"}}, {"TXXX", {"DATE", "3201"}}}},
        {"invalid time",
         {{"TYER", {"1999"}}, {"TDAT", {"0612"}}, {"TIME", {"1260"}}},
         {{"TDRC", {"1999-12-06"}}, {"TXXX", {"TIME", "1260"}}}},
        {"year not four digits",
         {{"TYER", {"c. 1999"}}, {"TDAT", {"0612"}}},
         {{"TDRC", {"c. 1999"}}, {"TXXX", {"DATE", "0612"}}}},
        {"date of two values",
         {{"TYER", {"1999"}}, {"TDAT", {"0612", "0712"}}},
         {{"TDRC", {"1999"}}, {"TXXX", {"DATE", "0612", "0712"}}}},
        {"second year",
         {{"TYER", {"1999"}}, {"TYER", {"2000"}}},
         {{"TDRC", {"1999"}}, {"TXXX", {"YEAR", "2000"}}}},
        {"year of two values", {{"TYER", {"1999", "2000"}}}, {{"TDRC", {"1999", "2000"}}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszCase);
        auto pTag = MakeTag(3, c.frames);
        EXPECT_EQ(c.expected, Summarise(*SaveAs(*pTag, 4)));
    }
}

TEST(VersionConversionTest, AtMostOneRecordingTime)
{
    struct Case
    {
        const char* pszCase;
        Frames frames;
        Summary expected;
    };
    const Case cases[] = {
        {"TRDA alone", {{"TRDA", {"2004"}}}, {{"TDRC", {"2004"}}}},
        {"TRDA after TYER",
         {{"TYER", {"1999"}}, {"TRDA", {"June 12"}}},
         {{"TDRC", {"1999"}}, {"TXXX", {"TRDA", "June 12"}}}},
        {"TRDA before TYER",
         {{"TRDA", {"June 12"}}, {"TYER", {"1999"}}},
         {{"TXXX", {"TRDA", "June 12"}}, {"TDRC", {"1999"}}}},
        {"two TRDA",
         {{"TRDA", {"a"}}, {"TRDA", {"b"}}},
         {{"TDRC", {"a"}}, {"TXXX", {"TRDA", "b"}}}},
        {"TDRC held with TYER",
         {{"TDRC", {"2001"}}, {"TYER", {"1999"}}},
         {{"TXXX", {"TDRC", "2001"}}, {"TDRC", {"1999"}}}},
        {"TDRC held with TRDA",
         {{"TRDA", {"June 12"}}, {"TDRC", {"2001"}}},
         {{"TXXX", {"TRDA", "June 12"}}, {"TDRC", {"2001"}}}},
        {"two TDRC held",
         {{"TDRC", {"2001"}}, {"TDRC", {"2002"}}},
         {{"TDRC", {"2001"}}, {"TXXX", {"TDRC", "2002"}}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszCase);
        auto pTag = MakeTag(3, c.frames);
        auto pSaved = SaveAs(*pTag, 4);
        EXPECT_EQ(c.expected, Summarise(*pSaved));
        EXPECT_EQ(c.expected.size(), pSaved->m_frames.size());
    }
}

TEST(VersionConversionTest, NoDateFrameIsDoubledOnTheWayTo23)
{
    // The tag already says its year in 2.3 terms: the TDRC is kept whole as the recording date.
    auto pHeld = MakeTag(4, {{"TYER", {"1998"}}, {"TDRC", {"2004-05-06"}}});
    EXPECT_EQ((Summary{{"TYER", {"1998"}}, {"TRDA", {"2004-05-06"}}}),
              Summarise(*SaveAs(*pHeld, 3)));
    auto pDate = MakeTag(4, {{"TDRC", {"2004-05-06"}}, {"TDAT", {"0101"}}});
    EXPECT_EQ((Summary{{"TRDA", {"2004-05-06"}}, {"TDAT", {"0101"}}}),
              Summarise(*SaveAs(*pDate, 3)));

    // A 2.2 tag whose TYE and TRD both read as TDRC.
    CTagFile file;
    auto p22 = file.Read(Tag(2, TextFrame("TYE", "1999", 2) + TextFrame("TRD", "June 12", 2)));
    EXPECT_EQ((std::vector<std::string>{"TDRC", "TDRC"}), IDs(*p22));
    EXPECT_EQ((Summary{{"TYER", {"1999"}}, {"TRDA", {"June 12"}}}), Summarise(*SaveAs(*p22, 3)));
    EXPECT_EQ((Summary{{"TDRC", {"1999"}}, {"TXXX", {"TRDA", "June 12"}}}),
              Summarise(*SaveAs(*p22, 4)));
}

TEST(VersionConversionTest, OriginalReleaseTime)
{
    auto pTo23 = MakeTag(4, {{"TDOR", {"1987-03-01"}}});
    EXPECT_EQ((Summary{{"TORY", {"1987"}}}), Summarise(*SaveAs(*pTo23, 3)));
    auto pText = MakeTag(4, {{"TDOR", {"unknown"}}});
    EXPECT_EQ((Summary{{"TORY", {"unknown"}}}), Summarise(*SaveAs(*pText, 3)));
    auto pTo24 = MakeTag(3, {{"TORY", {"1987"}}});
    EXPECT_EQ((Summary{{"TDOR", {"1987"}}}), Summarise(*SaveAs(*pTo24, 4)));
}

TEST(VersionConversionTest, FramesThat23DoesNotDefine)
{
    const std::pair<const char*, const char*> rows[] = {
        {"TDEN", "Encoding Time"},        {"TDRL", "Release Time"},
        {"TDTG", "Tagging Time"},         {"TMOO", "Mood"},
        {"TPRO", "Produced Notice"},      {"TSOA", "Album Sort Order"},
        {"TSOP", "Performer Sort Order"}, {"TSOT", "Title Sort Order"},
        {"TSST", "Set Subtitle"},
    };
    for (const auto& [pszID, pszDescription] : rows)
    {
        SCOPED_TRACE(pszID);
        auto pTag = MakeTag(4, {{pszID, {"Calm", "Quiet"}}});
        auto pSaved = SaveAs(*pTag, 3);
        EXPECT_EQ((Summary{{"TXXX", {pszDescription, "Calm", "Quiet"}}}), Summarise(*pSaved));
        // Read back, it is a user text frame; in memory it stays the text frame it was.
        ASSERT_NE(nullptr, dynamic_cast<const CUserTextFrame*>(pSaved->FindFrame("TXXX")));
        EXPECT_STREQ("CTextFrame", pTag->FindFrame("TXXX")->GetRuntimeClassName());
    }
    auto pMood = SaveAs(*MakeTag(4, {{"TMOO", {"Calm"}}}), 3);
    EXPECT_EQ(CString(u"[Mood] Calm"), pMood->FindFrame("TXXX")->GetText());

    auto pPeople = MakeTag(4, {{"TIPL", {"a", "b"}}, {"TMCL", {"c", "d"}}});
    EXPECT_EQ((Summary{{"IPLS", {"a", "b"}}, {"IPLS", {"c", "d"}}}),
              Summarise(*SaveAs(*pPeople, 3)));

    // A TXXX is never converted back; 2.4 frames stay in a 2.4 save.
    auto pStay = MakeTag(4, {{"TMOO", {"Calm"}}, {"TDRC", {"2004-05-06"}}, {"TIPL", {"a"}}});
    EXPECT_EQ((Summary{{"TMOO", {"Calm"}}, {"TDRC", {"2004-05-06"}}, {"TIPL", {"a"}}}),
              Summarise(*SaveAs(*pStay, 4)));
}

TEST(VersionConversionTest, FramesThat24DoesNotDefine)
{
    auto pTag = MakeTag(3, {{"TSIZ", {"12345"}}, {"IPLS", {"a", "b"}}, {"TIT2", {"t"}}});
    EXPECT_EQ(
        (Summary{{"TXXX", {"AUDIOFILE SIZE", "12345"}}, {"TIPL", {"a", "b"}}, {"TIT2", {"t"}}}),
        Summarise(*SaveAs(*pTag, 4)));
    // 2.3 frames stay in a 2.3 save.
    auto pStay = MakeTag(3, {{"TYER", {"1999"}}, {"TDAT", {"0612"}}, {"TSIZ", {"1"}}});
    EXPECT_EQ((Summary{{"TYER", {"1999"}}, {"TDAT", {"0612"}}, {"TSIZ", {"1"}}}),
              Summarise(*SaveAs(*pStay, 3)));
}

TEST(VersionConversionTest, RawFramesAreLeftAsTheyAre)
{
    CID3v2 tag;
    auto pRaw = std::make_unique<CUnknowFrame>("TDRC", 4);
    const BYTE data[] = {1, 2, 3};
    pRaw->Parse(data, 3);
    pRaw->m_pHeader->m_bEncryption = TRUE;
    tag.AddTail(std::move(pRaw));
    tag.m_pHeader->m_nVersion = 3;
    const Bytes rendered = Render(tag);
    EXPECT_EQ((std::vector<std::string>{"TDRC"}), IDs(tag));
    EXPECT_EQ(Frame("TDRC", Bytes{0, 1, 2, 3}, 3, 0, 0x40),
              Bytes(rendered.begin() + 10, rendered.begin() + 24));
}

TEST(VersionConversionTest, EveryFrameGetsTheTargetVersion)
{
    CTagFile file;
    auto pTag = file.Read(Tag(2, TextFrame("TT2", "t", 2) + TextFrame("TDA", "0612", 2)));
    pTag->m_pHeader->m_nVersion = 3;
    pTag->ConvertToV23();
    for (const auto& pFrame : pTag->m_frames)
    {
        EXPECT_EQ(3, pFrame->m_pHeader->m_nVersion);
    }
    pTag->ConvertToV24();
    for (const auto& pFrame : pTag->m_frames)
    {
        EXPECT_EQ(4, pFrame->m_pHeader->m_nVersion);
    }
}

TEST(VersionConversionTest, Timestamps)
{
    tagTIMESTAMP t;
    EXPECT_FALSE(ParseTimestamp(CString(u"200"), t));
    EXPECT_FALSE(ParseTimestamp(CString(u"x2004"), t));
    ASSERT_TRUE(ParseTimestamp(CString(u"2004-05-06 07:08"), t));
    EXPECT_EQ(2004, t.nYear);
    EXPECT_EQ(5, t.nMonth);
    EXPECT_EQ(6, t.nDay);
    EXPECT_EQ(7, t.nHour);
    EXPECT_EQ(8, t.nMinute);
    ASSERT_TRUE(ParseTimestamp(CString(u"2004-5-06"), t));
    EXPECT_EQ(-1, t.nMonth);
    EXPECT_EQ(-1, t.nDay);
    ASSERT_TRUE(ParseTimestamp(CString(u"2004-00"), t));
    EXPECT_EQ(-1, t.nMonth);
}
