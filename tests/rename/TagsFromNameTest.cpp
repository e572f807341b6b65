#include "rename/TagsFromName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

namespace
{

// The fields as "title|album|artist|track|year|genre", or nothing when the path does not match.
std::optional<std::u16string> Match(const char16_t* pszPattern, const char16_t* pszPath)
{
    const CNamePattern pattern{CString(pszPattern)};
    tagNAMEFIELDS fields;
    if (!pattern.Match(CString(pszPath), fields))
        return std::nullopt;
    std::u16string strResult;
    for (int i = 0; i < NAME_FIELD_COUNT; ++i)
        strResult += (i ? u"|" : u"") + fields.arrValues[i].str();
    return strResult;
}

ENamePatternCheck Check(const char16_t* pszPattern)
{
    return CNamePattern(CString(pszPattern)).GetCheck();
}

} // namespace

TEST(TagsFromNameTest, ValueEndsAtTheFirstOccurrenceOfTheNextLiteral)
{
    // The last token takes the rest, separators included.
    EXPECT_EQ(Match(u"<track> - <artist> - <title>", u"/m/01 - Artist - Title - Live.mp3"),
              u"Title - Live||Artist|01||");
    EXPECT_EQ(Match(u"<track> <title>", u"/m/07 Song.mp3"), u"Song|||07||");
    EXPECT_EQ(Match(u"<track>_<title>", u"/m/7of12_Song.mp3"), u"Song|||7of12||");
}

TEST(TagsFromNameTest, NamesWithoutTheSeparatorsDoNotMatch)
{
    EXPECT_EQ(Match(u"<artist> - <title>", u"/m/Artist_Title.mp3"), std::nullopt);
    EXPECT_EQ(Match(u"<track> - <artist> - <title>", u"/m/01 - Title.mp3"), std::nullopt);
    // The extension is not part of the name: its dot is no separator.
    EXPECT_EQ(Match(u"<artist>.<title>", u"/m/Artist Title.mp3"), std::nullopt);
    EXPECT_EQ(Match(u"<artist>.<title>", u"/m/Artist.Title.mp3"), u"Title||Artist|||");
}

TEST(TagsFromNameTest, LiteralsAtTheEndsAreAnchored)
{
    EXPECT_EQ(Match(u"[<year>] <title> (live)", u"/m/[1999] Song (live) (live).mp3"),
              u"Song (live)||||1999|");
    EXPECT_EQ(Match(u"[<year>] <title>", u"/m/x[1999] Song.mp3"), std::nullopt);
    EXPECT_EQ(Match(u"<title> (live)", u"/m/Song (live) x.mp3"), std::nullopt);
    // Values are trimmed; an empty one is not given.
    EXPECT_EQ(Match(u"<artist>-<title>", u"/m/  A  -   .mp3"), u"||A|||");
}

TEST(TagsFromNameTest, FolderLevelsAboveTheFile)
{
    EXPECT_EQ(
        Match(u"<artist>/<album> (<year>)/<track> <title>", u"/music/Band/Best (2001)/03 Song.mp3"),
        u"Song|Best|Band|03|2001|");
    EXPECT_EQ(Match(u"<genre>/<artist>/<album>/<title>", u"/Band/Best/Song.mp3"), std::nullopt);
    EXPECT_EQ(Match(u"<album>/<title>", u"Song.mp3"), std::nullopt);
    // A level of literal text only must equal the folder's name; <skip> throws a level away.
    EXPECT_EQ(Match(u"Music/<skip>/<title>", u"/x/Music/Any/Song.mp3"), u"Song|||||");
    EXPECT_EQ(Match(u"Music/<skip>/<title>", u"/x/Musik/Any/Song.mp3"), std::nullopt);
    // The value nearest the file name wins when a field occurs twice.
    EXPECT_EQ(Match(u"<artist>/<artist> - <title>", u"/A/B - T.mp3"), u"T||B|||");
    EXPECT_EQ(Match(u"<artist>/<skip> - <title>", u"/A/B - T.mp3"), u"T||A|||");
}

TEST(TagsFromNameTest, SkipNonAsciiAndCase)
{
    EXPECT_EQ(Match(u"<skip> - <artist> - <title>", u"/m/CD1 - Björk – x - Jóga.mp3"),
              u"Jóga||Björk – x|||");
    EXPECT_EQ(Match(u"<artist>・<title>", u"/m/久石譲・あの夏へ.mp3"), u"あの夏へ||久石譲|||");
    // Tokens in any case, literal text as written.
    EXPECT_EQ(Match(u"<ARTIST> feat <Title>", u"/m/A feat B.mp3"), u"B||A|||");
    EXPECT_EQ(Match(u"<artist> feat <title>", u"/m/A Feat B.mp3"), std::nullopt);
}

TEST(TagsFromNameTest, InvalidPatterns)
{
    EXPECT_EQ(Check(u"<track> - <title>"), ENamePatternCheck::Valid);
    EXPECT_EQ(Check(u"  "), ENamePatternCheck::Empty);
    EXPECT_EQ(Check(u"<titel> - <artist>"), ENamePatternCheck::UnknownToken);
    EXPECT_EQ(Check(u"<skip> - x"), ENamePatternCheck::NoField);
    EXPECT_EQ(Check(u"<track><title>"), ENamePatternCheck::AdjacentTokens);
    EXPECT_EQ(Check(u"<artist>//<title>"), ENamePatternCheck::EmptyLevel);
    EXPECT_EQ(Check(u"<title>/"), ENamePatternCheck::EmptyLevel);
    // A "<" that is not a token is literal text.
    EXPECT_EQ(Check(u"<3 <title>"), ENamePatternCheck::Valid);
    EXPECT_EQ(Match(u"<3 <title>", u"/m/<3 Song.mp3"), u"Song|||||");
    EXPECT_EQ(Match(u"<track><title>", u"/m/01Song.mp3"), std::nullopt);
}

TEST(TagsFromNameTest, TokenMenu)
{
    std::u16string strTexts;
    for (const tagRENAMETOKEN& token : GetNameTokens())
    {
        strTexts += token.pszText;
        EXPECT_EQ(FindNameToken(token.nID), token.pszText);
    }
    EXPECT_EQ(strTexts, u"<title><album><artist><track><year><genre><skip>");
    EXPECT_EQ(FindNameToken(0), nullptr);
}

TEST(TagsFromNameTest, RecentPatternsMostRecentFirstWithoutRepeats)
{
    std::vector<CString> arrRecent;
    for (int i = 0; i < 12; ++i)
        AddRecentNamePattern(arrRecent, CString::FromUtf8("<title> " + std::to_string(i)));
    ASSERT_EQ(arrRecent.size(), 10u);
    EXPECT_EQ(arrRecent.front(), CString(u"<title> 11"));
    EXPECT_EQ(arrRecent.back(), CString(u"<title> 2"));
    AddRecentNamePattern(arrRecent, CString(u" <title> 5 "));
    AddRecentNamePattern(arrRecent, CString(u" "));
    ASSERT_EQ(arrRecent.size(), 10u);
    EXPECT_EQ(arrRecent[0], CString(u"<title> 5"));
    EXPECT_EQ(arrRecent[1], CString(u"<title> 11"));
    EXPECT_EQ(std::count(arrRecent.begin(), arrRecent.end(), CString(u"<title> 5")), 1);
}
