#include "EditorFiles.h"

#include "editor/FrameDialogFields.h"
#include "editor/PresetValues.h"

#include "tags/id3v1/ID3v1Genres.h"
#include "tags/id3v2/frames/TextFrame.h"
#include "tags/id3v2/frames/UrlLinkFrame.h"
#include "tags/id3v2/frames/UserTextFrame.h"
#include "tags/id3v2/frames/UserUrlLinkFrame.h"

#include <gtest/gtest.h>

#include <iterator>
#include <vector>

using namespace Tags::ID3v2Tag;

TEST(FrameDialogFieldsTest, UserTextFrameSplitsDescriptionFromValuesAndBack)
{
    CUserTextFrame frame;
    frame.SetValues({u"MOOD", u"calm", u"slow"});
    const tagTEXTFRAMEFIELDS fields = GetTextFrameFields(frame);
    EXPECT_EQ(fields.strField, CString(u"MOOD"));
    EXPECT_EQ(fields.arrValues, (std::vector<CString>{u"calm", u"slow"}));
    EXPECT_TRUE(IsFieldEditable("TXXX"));
    EXPECT_EQ(BuildTextFrameValues("TXXX", fields), frame.m_values);

    const tagTEXTFRAMEFIELDS empty = GetTextFrameFields(CUserTextFrame());
    EXPECT_TRUE(empty.strField.IsEmpty());
    EXPECT_TRUE(empty.arrValues.empty());
    // The description stays as the first string even when it and every value are empty.
    EXPECT_EQ(BuildTextFrameValues("TXXX", empty), std::vector<CString>{CString()});
}

TEST(FrameDialogFieldsTest, OtherTextFramesShowTheirDescriptionAndEveryString)
{
    CTextFrame frame("TPE1", 4);
    frame.SetValues({u"One", u"Two"});
    tagTEXTFRAMEFIELDS fields = GetTextFrameFields(frame);
    EXPECT_FALSE(IsFieldEditable("TPE1"));
    EXPECT_EQ(fields.strField, CString(u"Artist"));
    EXPECT_EQ(fields.arrValues, frame.m_values);
    fields.arrValues.pop_back();
    EXPECT_EQ(BuildTextFrameValues("TPE1", fields), std::vector<CString>{u"One"});
    fields.arrValues.clear();
    EXPECT_TRUE(BuildTextFrameValues("TPE1", fields).empty());

    EXPECT_TRUE(GetTextFrameFields(CTextFrame("TKWD", 4)).strField.IsEmpty());
}

TEST(FrameDialogFieldsTest, UrlDescriptions)
{
    CUrlLinkFrame artist("WOAR", 4);
    EXPECT_FALSE(IsUrlDescriptionEditable("WOAR"));
    EXPECT_EQ(GetUrlDescription(artist), CString(u"URL- Artist"));
    CUserUrlLinkFrame user;
    user.m_strDescription = u"Shop";
    EXPECT_TRUE(IsUrlDescriptionEditable("WXXX"));
    EXPECT_EQ(GetUrlDescription(user), CString(u"Shop"));
    EXPECT_TRUE(GetUrlDescription(CUrlLinkFrame("WZZZ", 4)).IsEmpty());
}

TEST(FrameDialogFieldsTest, CounterIsAnUnsigned32BitNumber)
{
    UINT nCounter = 7;
    EXPECT_TRUE(ParseCounter(u"0", nCounter));
    EXPECT_EQ(nCounter, 0u);
    EXPECT_TRUE(ParseCounter(u"4294967295", nCounter));
    EXPECT_EQ(nCounter, 4294967295u);
    EXPECT_TRUE(ParseCounter(u" 12 ", nCounter));
    EXPECT_EQ(nCounter, 12u);
    for (const char16_t* psz : {u"4294967296", u"99999999999999999999", u"", u" ", u"12a", u"a12",
                                u"-1", u"+1", u"1 2", u"1.5"})
    {
        nCounter = 7;
        EXPECT_FALSE(ParseCounter(psz, nCounter)) << CString(psz).ToUtf8();
        EXPECT_EQ(nCounter, 7u);
    }
}

TEST(FrameDialogFieldsTest, PresetListsForTheBrowseButton)
{
    ASSERT_EQ(std::size(FileTypeValues), 8u);
    ASSERT_EQ(std::size(MediaTypeValues), 67u);
    EXPECT_EQ(CString(FileTypeValues[4]), CString(u"MPG/2.5"));
    EXPECT_EQ(CString(MediaTypeValues[0]), CString(u"DIG"));
    EXPECT_EQ(CString(MediaTypeValues[18]), CString(u"TT/80"));
    EXPECT_EQ(CString(MediaTypeValues[66]), CString(u"REE/IV"));

    tagPRESETVALUES preset;
    ASSERT_TRUE(GetPresetValues("TCON", preset));
    EXPECT_EQ(preset.strCaption, CString(u"Genres"));
    ASSERT_EQ(preset.values.size(), 148u);
    EXPECT_EQ(CString(preset.values[8]), CString(u"Jazz"));
    ASSERT_TRUE(GetPresetValues("TFLT", preset));
    EXPECT_EQ(preset.strCaption, CString(u"File Types"));
    EXPECT_EQ(preset.values.data(), FileTypeValues);
    ASSERT_TRUE(GetPresetValues("TMED", preset));
    EXPECT_EQ(preset.strCaption, CString(u"Media Types"));
    EXPECT_EQ(preset.values.size(), 67u);
    for (const char* szID : {"TIT2", "TXXX", "tcon", "COMM"})
    {
        EXPECT_FALSE(GetPresetValues(szID, preset)) << szID;
        EXPECT_TRUE(preset.values.empty());
        EXPECT_TRUE(preset.strCaption.IsEmpty());
    }
    EXPECT_FALSE(GetPresetValues(nullptr, preset));
}

TEST(FrameDialogFieldsTest, PresetChoiceGoesIntoTheNotedItemOrAtTheEnd)
{
    std::vector<CString> items = {u"Rock", u"Pop"};
    EXPECT_EQ(ApplyPresetChoice(items, 1, u"Jazz"), 1);
    EXPECT_EQ(items, (std::vector<CString>{u"Rock", u"Jazz"}));
    // The item just created with New was dropped: the noted index is the count.
    EXPECT_EQ(ApplyPresetChoice(items, 2, u"Blues"), 2);
    EXPECT_EQ(items, (std::vector<CString>{u"Rock", u"Jazz", u"Blues"}));
    EXPECT_EQ(ApplyPresetChoice(items, 0, CString()), -1);
    EXPECT_EQ(items.size(), 3u);
    EXPECT_EQ(ApplyPresetChoice(items, -1, u"Funk"), 3);
    EXPECT_EQ(items.back(), CString(u"Funk"));
}
