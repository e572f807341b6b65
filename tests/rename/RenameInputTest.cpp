#include "app/BusyState.h"
#include "browser/FileAssocData.h"
#include "rename/AutoRename.h"
#include "rename/PatternInput.h"
#include "rename/RenamePlan.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

struct Inserted
{
    std::string strText;
    int nCaret;
};

Inserted Insert(const char16_t* pszText, int nStart, int nEnd, const char16_t* pszToken)
{
    int nCaret = -1;
    const CString str = InsertToken(CString(pszText), nStart, nEnd, CString(pszToken), &nCaret);
    return {str.ToUtf8(), nCaret};
}

tagCOUNTERREAD Read(const char16_t* pszStart, const char16_t* pszStep, const char16_t* pszZeros,
                    tagCOUNTERVALUES& values, BOOL bReset = FALSE)
{
    const CString arrTexts[COUNTER_FIELDS] = {CString(pszStart), CString(pszStep),
                                              CString(pszZeros)};
    return ReadCounterValues(arrTexts, bReset, values);
}

} // namespace

TEST(PatternInputTest, TokenMenuOffersEveryTokenWithItsCommand)
{
    std::u16string texts;
    for (const tagRENAMETOKEN& token : GetRenameTokens())
        texts += token.pszText ? token.pszText : u"|";
    EXPECT_EQ(texts, u"<counter><filename>|<title><album><artist><track><year><genre>");
    EXPECT_EQ(CString(FindRenameToken(32922)), CString(u"<genre>"));
    EXPECT_EQ(FindRenameToken(0), nullptr);
    EXPECT_EQ(FindRenameToken(32919), nullptr);
}

TEST(PatternInputTest, TokenReplacesTheSelectionAndTheCaretFollowsIt)
{
    // At the caret in the middle.
    Inserted result = Insert(u"a-b", 2, 2, u"<title>");
    EXPECT_EQ(result.strText, "a-<title>b");
    EXPECT_EQ(result.nCaret, 9);
    // Over a selection, whichever end it was made from.
    result = Insert(u"x<album>y", 8, 1, u"<year>");
    EXPECT_EQ(result.strText, "x<year>y");
    EXPECT_EQ(result.nCaret, 7);
    // Into an empty pattern, and with positions beyond the text.
    EXPECT_EQ(Insert(u"", 0, 0, u"<counter>").strText, "<counter>");
    result = Insert(u"ab", 5, 9, u"<track>");
    EXPECT_EQ(result.strText, "ab<track>");
    EXPECT_EQ(result.nCaret, 9);
}

TEST(PatternInputTest, CounterFieldsAreReadInOrderUpToTheFirstBadOne)
{
    tagCOUNTERVALUES values;
    tagCOUNTERREAD read = Read(u"10", u" 2 ", u"4", values);
    EXPECT_EQ(read.nFailedField, -1);
    EXPECT_TRUE(read.strMessage.IsEmpty());
    EXPECT_EQ(values.nCounterStart, 10);
    EXPECT_EQ(values.nCounterStep, 2);
    EXPECT_EQ(values.nLeadingZeros, 4);
    EXPECT_FALSE(values.bResetPerFolder);

    // Not a number: nothing from it on is stored, the reset flag included.
    read = Read(u"", u"9", u"1", values, TRUE);
    EXPECT_EQ(read.nFailedField, COUNTER_START);
    EXPECT_EQ(read.strMessage, CString(u"Enter an integer."));
    EXPECT_EQ(values.nCounterStart, 10);
    EXPECT_EQ(values.nCounterStep, 2);
    EXPECT_FALSE(values.bResetPerFolder);

    // Out of range: stored, and the reading stops after it.
    read = Read(u"70000", u"9", u"1", values, TRUE);
    EXPECT_EQ(read.nFailedField, COUNTER_START);
    EXPECT_EQ(read.strMessage, CString(u"Enter an integer between 0 and 65535."));
    EXPECT_EQ(values.nCounterStart, 70000);
    EXPECT_EQ(values.nCounterStep, 2);

    read = Read(u"0", u"256", u"1", values);
    EXPECT_EQ(read.nFailedField, COUNTER_STEP);
    EXPECT_EQ(read.strMessage, CString(u"Enter an integer between 1 and 255."));
    read = Read(u"0", u"1", u"0", values);
    EXPECT_EQ(read.nFailedField, COUNTER_LEADING_ZEROS);
    EXPECT_EQ(read.strMessage, CString(u"Enter an integer between 1 and 5."));
    EXPECT_EQ(values.nLeadingZeros, 0);

    // Beyond 32 bits is out of range, not a wrapped value; other text is no number.
    read = Read(u"99999999999999999999", u"1", u"1", values);
    EXPECT_EQ(values.nCounterStart, 2147483647);
    EXPECT_EQ(read.nFailedField, COUNTER_START);
    for (const char16_t* pszText : {u"1x", u"x", u"-", u"1 2"})
        EXPECT_EQ(Read(pszText, u"1", u"1", values).strMessage, CString(u"Enter an integer."));
}

TEST(PatternInputTest, PatternIsTrimmedAndCheckedAsAPreset)
{
    tagCOUNTERVALUES values;
    values.nCounterStart = 5;
    tagPRESETDATA preset;
    EXPECT_EQ(CheckPattern(CString(u"   <title>   "), values, &preset), EPatternCheck::Valid);
    EXPECT_EQ(GetPresetFormat(preset), CString(u"<title>"));
    EXPECT_EQ(preset.nCounterStart, 5);
    EXPECT_EQ(CheckPattern(CString(u"<genre>"), values, nullptr), EPatternCheck::Valid);
    EXPECT_EQ(CheckPattern(CString(u"AC:DC"), values, nullptr), EPatternCheck::Invalid);
    values.nCounterStart = 70000;
    EXPECT_EQ(CheckPattern(CString(u"<title>"), values, nullptr), EPatternCheck::Invalid);

    // A pattern longer than a preset holds is refused whole, never cut.
    values.nCounterStart = 0;
    const CString str256(std::u16string(256, u'a').c_str());
    EXPECT_EQ(CheckPattern(str256, values, nullptr), EPatternCheck::Valid);
    EXPECT_EQ(CheckPattern(str256 + u"<title>", values, nullptr), EPatternCheck::TooLong);
    EXPECT_EQ(CheckPattern(CString(u"  ") + str256 + u"  ", values, nullptr), EPatternCheck::Valid);
}

TEST(RenamePlanTest, SelectionEntersInListOrderWithItsPositions)
{
    CFileAssocData a;
    a.m_strFolder = u"/A";
    a.m_strFileName = u"a.mp3";
    a.m_bStale = TRUE;
    CFileAssocData b = a;
    b.m_strFolder = u"/B";
    CBusyState busy;
    CAutoRename engine(busy);
    // An entry without a record still takes its position.
    AddSelectedRecords(engine, {&a, nullptr, &b});
    ASSERT_EQ(engine.GetCount(), 2);
    EXPECT_EQ(engine.GetItem(0)->pRecord, &a);
    EXPECT_EQ(engine.GetItem(0)->nIndex, 0);
    EXPECT_EQ(engine.GetItem(1)->nIndex, 2);
    EXPECT_FALSE(a.m_bStale);
    EXPECT_FALSE(b.m_bStale);
}

TEST(RenamePlanTest, EachNameShowsItsMark)
{
    tagRENAMEITEM item;
    item.bCanRename = TRUE;
    item.bAllFields = TRUE;
    EXPECT_EQ(GetNewNameImage(item), RENAME_IMAGE_READY);
    item.bAllFields = FALSE;
    EXPECT_EQ(GetNewNameImage(item), RENAME_IMAGE_PARTIAL);
    item.bCanRename = FALSE;
    EXPECT_EQ(GetNewNameImage(item), RENAME_IMAGE_CLASH);
}

TEST(RenamePlanTest, AlteredNamesAreTrimmedAndRefuseTheCharactersNamesCannotHold)
{
    CString strName;
    EXPECT_EQ(CheckAlteredName(CString(u"   x.mp3  "), &strName), EAlteredName::Valid);
    EXPECT_EQ(strName, CString(u"x.mp3"));
    EXPECT_EQ(CheckAlteredName(CString(u" \t "), &strName), EAlteredName::Blank);
    for (const char16_t* pszName : {u"a\\b.mp3", u"a/b.mp3", u"a:b.mp3", u"a*b.mp3", u"a?b.mp3",
                                    u"a\"b.mp3", u"a<b.mp3", u"a>b.mp3", u"a|b.mp3"})
        EXPECT_EQ(CheckAlteredName(CString(pszName)), EAlteredName::IllegalCharacter)
            << CString(pszName).ToUtf8();
}
