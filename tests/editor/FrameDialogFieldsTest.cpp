#include "EditorFiles.h"

#include "editor/FrameDialogFields.h"
#include "editor/PresetValues.h"

#include "tags/id3v2/frames/TextFrame.h"
#include "tags/id3v2/frames/UrlLinkFrame.h"
#include "tags/id3v2/frames/UserTextFrame.h"
#include "tags/id3v2/frames/UserUrlLinkFrame.h"

#include <gtest/gtest.h>

#include <iterator>
#include <vector>

using namespace Tags::ID3v2Tag;

TEST(FrameDialogFieldsTest, TextFramesSplitIntoFieldAndValuesAndBack)
{
    CUserTextFrame user;
    user.SetValues({u"MOOD", u"calm", u"slow"});
    const tagTEXTFRAMEFIELDS fields = GetTextFrameFields(user);
    EXPECT_EQ(fields.strField, CString(u"MOOD"));
    EXPECT_EQ(fields.arrValues, (std::vector<CString>{u"calm", u"slow"}));
    EXPECT_EQ(BuildTextFrameValues("TXXX", fields), user.m_values);
    EXPECT_TRUE(GetTextFrameFields(CUserTextFrame()).strField.IsEmpty());

    CTextFrame artist("TPE1", 4);
    artist.SetValues({u"One", u"Two"});
    tagTEXTFRAMEFIELDS shown = GetTextFrameFields(artist);
    EXPECT_FALSE(IsFieldEditable("TPE1"));
    EXPECT_EQ(shown.strField, CString(u"Artist"));
    EXPECT_EQ(shown.arrValues, artist.m_values);
    shown.arrValues.pop_back();
    EXPECT_EQ(BuildTextFrameValues("TPE1", shown), std::vector<CString>{u"One"});
}

TEST(FrameDialogFieldsTest, UrlDescriptions)
{
    EXPECT_EQ(GetUrlDescription(CUrlLinkFrame("WOAR", 4)), CString(u"URL- Artist"));
    EXPECT_FALSE(IsUrlDescriptionEditable("WOAR"));
    CUserUrlLinkFrame user;
    user.m_strDescription = u"Shop";
    EXPECT_EQ(GetUrlDescription(user), CString(u"Shop"));
    EXPECT_TRUE(IsUrlDescriptionEditable("WXXX"));
}

TEST(FrameDialogFieldsTest, CounterIsAnUnsigned32BitNumber)
{
    UINT nCounter = 7;
    EXPECT_TRUE(ParseCounter(u"0", nCounter));
    EXPECT_EQ(nCounter, 0u);
    EXPECT_TRUE(ParseCounter(u" 4294967295 ", nCounter));
    EXPECT_EQ(nCounter, 4294967295u);
    for (const char16_t* psz : {u"4294967296", u"", u"12a", u"a12", u"-1", u"+1", u"1 2"})
    {
        nCounter = 7;
        EXPECT_FALSE(ParseCounter(psz, nCounter)) << CString(psz).ToUtf8();
        EXPECT_EQ(nCounter, 7u);
    }
}

TEST(FrameDialogFieldsTest, PresetListsForTheBrowseButton)
{
    EXPECT_EQ(std::size(FileTypeValues), 8u);
    ASSERT_EQ(std::size(MediaTypeValues), 67u);
    EXPECT_EQ(CString(MediaTypeValues[18]), CString(u"TT/80"));
    EXPECT_EQ(CString(MediaTypeValues[66]), CString(u"REE/IV"));

    tagPRESETVALUES preset;
    ASSERT_TRUE(GetPresetValues("TCON", preset));
    EXPECT_EQ(preset.strCaption, CString(u"Genres"));
    EXPECT_EQ(CString(preset.values[8]), CString(u"Jazz"));
    ASSERT_TRUE(GetPresetValues("TFLT", preset));
    EXPECT_EQ(preset.strCaption, CString(u"File Types"));
    ASSERT_TRUE(GetPresetValues("TMED", preset));
    EXPECT_EQ(preset.values.size(), 67u);
    EXPECT_FALSE(GetPresetValues("TIT2", preset));
    EXPECT_TRUE(preset.values.empty());
}

TEST(FrameDialogFieldsTest, PresetChoiceGoesIntoTheNotedItemOrAtTheEnd)
{
    std::vector<CString> items = {u"Rock", u"Pop"};
    EXPECT_EQ(ApplyPresetChoice(items, 1, u"Jazz"), 1);
    // The item just created with New was dropped: the noted index is the count.
    EXPECT_EQ(ApplyPresetChoice(items, 2, u"Blues"), 2);
    EXPECT_EQ(ApplyPresetChoice(items, 0, CString()), -1);
    EXPECT_EQ(items, (std::vector<CString>{u"Rock", u"Jazz", u"Blues"}));
}
