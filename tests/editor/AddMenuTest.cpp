#include "EditorFiles.h"

#include "editor/AddMenu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// The fixed part as the menu reads, "-" for a separator.
std::vector<std::string> Texts(const std::vector<tagADDMENUITEM>& arrItems)
{
    std::vector<std::string> texts;
    for (const tagADDMENUITEM& item : arrItems)
        texts.push_back(item.bSeparator ? "-" : item.strText.ToUtf8());
    return texts;
}

} // namespace

TEST(AddMenuTest, FixedPartReadsAsTheFramesAddedMostOften)
{
    const tagADDMENU menu = BuildAddMenu();
    const std::vector<std::string> expected = {"Title",
                                               "Album",
                                               "Artist",
                                               "Genre",
                                               "Year",
                                               "Track",
                                               "Comments",
                                               "-",
                                               "Composer",
                                               "Album Artist",
                                               "-",
                                               "Picture",
                                               "Popularimeter",
                                               "Unsychronized Lyric",
                                               "-",
                                               "Custom Text Field",
                                               "Custom URL Field",
                                               "-"};
    EXPECT_EQ(Texts(menu.arrTop), expected);
    // Each entry carries its number in the addable list; separators carry none.
    const tagADDMENUITEM& title = menu.arrTop[0];
    EXPECT_STREQ(title.szID, "TIT2");
    EXPECT_EQ(title.nCommand, 22);
    EXPECT_EQ(menu.arrTop[11].nCommand, 1);  // APIC
    EXPECT_EQ(menu.arrTop[16].nCommand, 65); // WXXX
    EXPECT_EQ(menu.arrTop[7].nCommand, 0);
    EXPECT_EQ(menu.arrTop[7].szID, nullptr);
}

TEST(AddMenuTest, AllHoldsTheSixtyFiveAddableFramesInListOrder)
{
    const tagADDMENU menu = BuildAddMenu();
    EXPECT_EQ(menu.strAllCaption, CString(u"All"));
    ASSERT_EQ(menu.arrAll.size(), 65u);
    for (size_t i = 0; i < menu.arrAll.size(); ++i)
    {
        const tagADDMENUITEM& item = menu.arrAll[i];
        EXPECT_FALSE(item.bSeparator);
        EXPECT_EQ(static_cast<size_t>(item.nCommand), i + 1);
        EXPECT_STREQ(GetAddMenuFrameID(item.nCommand), item.szID);
        EXPECT_FALSE(item.strText.IsEmpty()) << item.szID;
    }
    EXPECT_STREQ(menu.arrAll[0].szID, "APIC");
    EXPECT_EQ(menu.arrAll[54].strText, CString(u"Terms of Use"));
    EXPECT_STREQ(menu.arrAll[64].szID, "WXXX");

    // No entry chosen, or a number the menu does not have: no frame.
    EXPECT_EQ(GetAddMenuFrameID(0), nullptr);
    EXPECT_EQ(GetAddMenuFrameID(66), nullptr);
    EXPECT_EQ(GetAddMenuFrameID(-1), nullptr);
}
