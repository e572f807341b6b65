#include "EditorFiles.h"

#include "editor/AddMenu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(AddMenuTest, FixedPartReadsAsTheFramesAddedMostOften)
{
    const tagADDMENU menu = BuildAddMenu();
    std::vector<std::string> texts;
    for (const tagADDMENUITEM& item : menu.arrTop)
        texts.push_back(item.bSeparator ? "-" : item.strText.ToUtf8());
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
    EXPECT_EQ(texts, expected);
    // Each entry carries its number in the addable list; separators carry none.
    EXPECT_STREQ(menu.arrTop[0].szID, "TIT2");
    EXPECT_EQ(menu.arrTop[0].nCommand, 22);
    EXPECT_EQ(menu.arrTop[16].nCommand, 65);
    EXPECT_EQ(menu.arrTop[7].nCommand, 0);
}

TEST(AddMenuTest, AllHoldsTheSixtyFiveAddableFramesInListOrder)
{
    const tagADDMENU menu = BuildAddMenu();
    EXPECT_EQ(menu.strAllCaption, CString(u"All"));
    ASSERT_EQ(menu.arrAll.size(), 65u);
    for (size_t i = 0; i < menu.arrAll.size(); ++i)
    {
        EXPECT_EQ(static_cast<size_t>(menu.arrAll[i].nCommand), i + 1);
        EXPECT_STREQ(GetAddMenuFrameID(menu.arrAll[i].nCommand), menu.arrAll[i].szID);
    }
    EXPECT_STREQ(menu.arrAll[0].szID, "APIC");
    EXPECT_EQ(menu.arrAll[54].strText, CString(u"Terms of Use"));

    // No entry chosen, or a number the menu does not have: no frame.
    EXPECT_EQ(GetAddMenuFrameID(0), nullptr);
    EXPECT_EQ(GetAddMenuFrameID(66), nullptr);
}
