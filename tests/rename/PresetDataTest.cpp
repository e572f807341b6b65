#include "rename/PresetData.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace
{

std::vector<BYTE> BytesOf(const tagPRESETDATA& preset)
{
    std::vector<BYTE> bytes(PRESETDATA_SIZE, 0xEE);
    WritePresetBytes(preset, bytes.data());
    return bytes;
}

BOOL ValidFormat(const char16_t* pszFormat)
{
    return IsValidPreset(MakePreset(CString(pszFormat)));
}

} // namespace

TEST(PresetDataTest, StoredBytesAreLittleEndianAtFixedOffsets)
{
    const tagPRESETDATA preset = MakePreset(u"A<title>\u00e9", 0x0102, 0x07, 5, 0x11223344);
    const std::vector<BYTE> bytes = BytesOf(preset);

    std::vector<BYTE> expected(PRESETDATA_SIZE, 0);
    const std::array<BYTE, 18> format = {0x41, 0x00, 0x3C, 0x00, 0x74, 0x00, 0x69, 0x00, 0x74,
                                         0x00, 0x6C, 0x00, 0x65, 0x00, 0x3E, 0x00, 0xE9, 0x00};
    std::copy(format.begin(), format.end(), expected.begin());
    const std::array<BYTE, 16> counters = {0x02, 0x01, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00,
                                           0x05, 0x00, 0x00, 0x00, 0x44, 0x33, 0x22, 0x11};
    std::copy(counters.begin(), counters.end(), expected.begin() + 516);
    EXPECT_EQ(bytes, expected);
}

TEST(PresetDataTest, ReadingGivesBackWhatWasWrittenAndIgnoresThePadding)
{
    const tagPRESETDATA preset = MakePreset(u"<counter> - <artist>", 65535, 255, 1, FALSE);
    std::vector<BYTE> bytes = BytesOf(preset);
    bytes[514] = 0xAB;
    bytes[515] = 0xCD;
    const tagPRESETDATA read = ReadPresetBytes(bytes.data());
    EXPECT_EQ(GetPresetFormat(read), CString(u"<counter> - <artist>"));
    EXPECT_EQ(read.nCounterStart, 65535);
    EXPECT_EQ(read.nCounterStep, 255);
    EXPECT_EQ(read.nLeadingZeros, 1);
    EXPECT_EQ(read.bResetPerFolder, FALSE);
    EXPECT_EQ(read.wPadding, 0);
    // Written again, the padding is zero and everything else is unchanged.
    std::vector<BYTE> again = BytesOf(read);
    bytes[514] = 0;
    bytes[515] = 0;
    EXPECT_EQ(again, bytes);
}

TEST(PresetDataTest, NegativeValuesAreReadAsSigned)
{
    std::vector<BYTE> bytes = BytesOf(MakePreset(u"<title>"));
    for (int i = 516; i < 520; ++i)
        bytes[static_cast<size_t>(i)] = 0xFF;
    const tagPRESETDATA read = ReadPresetBytes(bytes.data());
    EXPECT_EQ(read.nCounterStart, -1);
    EXPECT_FALSE(IsValidPreset(read));
}

TEST(PresetDataTest, PatternIsCutToItsFieldWithoutSplittingAPair)
{
    tagPRESETDATA preset;
    SetPresetFormat(preset, CString(u'x', 300));
    EXPECT_EQ(GetPresetFormat(preset), CString(u'x', 256));
    EXPECT_EQ(preset.szFormat[256], u'\0');

    // A pair whose second half would be the 257th unit is left out whole.
    SetPresetFormat(preset, CString(u'x', 255) + CString(u"\U0001F600"));
    EXPECT_EQ(GetPresetFormat(preset), CString(u'x', 255));
    SetPresetFormat(preset, CString(u'x', 254) + CString(u"\U0001F600"));
    EXPECT_EQ(GetPresetFormat(preset).GetLength(), 256);
}

TEST(PresetDataTest, NewPresetsStartWithTheDialogsCounterValues)
{
    const tagPRESETDATA preset;
    EXPECT_EQ(preset.nCounterStart, 0);
    EXPECT_EQ(preset.nCounterStep, 1);
    EXPECT_EQ(preset.nLeadingZeros, 3);
    EXPECT_EQ(preset.bResetPerFolder, TRUE);
    EXPECT_TRUE(IsValidPreset(preset)); // the empty pattern is accepted
}

TEST(PresetDataTest, CounterRangesAreChecked)
{
    struct Case
    {
        int nStart, nStep, nZeros;
        BOOL bValid;
    };
    const Case cases[] = {{0, 1, 1, TRUE},      {65535, 255, 5, TRUE}, {-1, 1, 3, FALSE},
                          {65536, 1, 3, FALSE}, {0, 0, 3, FALSE},      {0, 256, 3, FALSE},
                          {0, -1, 3, FALSE},    {0, 1, 0, FALSE},      {0, 1, 6, FALSE}};
    for (const Case& c : cases)
        EXPECT_EQ(IsValidPreset(MakePreset(u"<title>", c.nStart, c.nStep, c.nZeros, TRUE)),
                  c.bValid)
            << c.nStart << " " << c.nStep << " " << c.nZeros;
    // The reset flag takes any value.
    EXPECT_TRUE(IsValidPreset(MakePreset(u"<title>", 0, 1, 3, -7)));
    EXPECT_TRUE(IsValidPreset(MakePreset(u"<title>", 0, 1, 3, 2)));
}

TEST(PresetDataTest, EveryTokenIsAcceptedExactlyAsWritten)
{
    for (const char16_t* pszToken : {u"<counter>", u"<filename>", u"<title>", u"<album>",
                                     u"<artist>", u"<track>", u"<year>", u"<genre>"})
        EXPECT_TRUE(ValidFormat(pszToken)) << CString(pszToken).ToUtf8();
    EXPECT_TRUE(ValidFormat(u"<counter> <title> (<year>) - <artist>.<album>"));
    EXPECT_FALSE(ValidFormat(u"<Title>"));
    EXPECT_FALSE(ValidFormat(u"<comment>"));
    EXPECT_FALSE(ValidFormat(u"<>"));
    EXPECT_FALSE(ValidFormat(u"< title>"));
}

TEST(PresetDataTest, BracketsMustPairUp)
{
    EXPECT_TRUE(ValidFormat(u""));
    EXPECT_TRUE(ValidFormat(u"<title"));   // still open at the end
    EXPECT_TRUE(ValidFormat(u"x <a:b*c")); // an open token's characters are not examined
    EXPECT_FALSE(ValidFormat(u"a<b<title>>"));
    EXPECT_FALSE(ValidFormat(u"x>y"));
    EXPECT_FALSE(ValidFormat(u"<title>>"));
}

TEST(PresetDataTest, CharactersThatNamesRefuseAreRejectedOutsideTokens)
{
    for (const char16_t* pszFormat :
         {u"a\\b", u"a/b", u"AC:DC", u"a*", u"?", u"say \"hi\"", u"a|b"})
        EXPECT_FALSE(ValidFormat(pszFormat)) << CString(pszFormat).ToUtf8();
    EXPECT_TRUE(ValidFormat(u"a.b-c_d (e) [f] 'g' & h"));
}

TEST(PresetDataTest, APatternWithoutItsTerminatorIsRefused)
{
    tagPRESETDATA preset;
    std::fill(std::begin(preset.szFormat), std::end(preset.szFormat), u'x');
    EXPECT_EQ(GetPresetFormat(preset).GetLength(), PRESET_FORMAT_SIZE);
    EXPECT_FALSE(IsValidPreset(preset));
    preset.szFormat[PRESET_FORMAT_MAX] = u'\0';
    EXPECT_TRUE(IsValidPreset(preset));
}
