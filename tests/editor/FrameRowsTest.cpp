#include "EditorFiles.h"

#include "editor/FrameRows.h"

#include <gtest/gtest.h>

TEST(FrameRowsTest, GroupsByIDInTheirOrder)
{
    const std::pair<const char*, FRAME_GROUP> kCases[] = {
        {"TKWD", GROUP_BASIC},    {"COMM", GROUP_BASIC},     {"IPLS", GROUP_BASIC},
        {"APIC", GROUP_PICTURES}, {"WXXX", GROUP_URL_LINKS}, {"PCNT", GROUP_RATING},
        {"POPM", GROUP_RATING},   {"SYLT", GROUP_LYRICS},    {"USLT", GROUP_LYRICS},
        {"PRIV", GROUP_PRIVATE},  {"USER", GROUP_OTHER},     {"PIC", GROUP_OTHER},
        {"comm", GROUP_OTHER},    {"", GROUP_OTHER}};
    for (const auto& [szID, group] : kCases)
        EXPECT_EQ(GetFrameGroup(szID), group) << szID;
    EXPECT_EQ(GetFrameGroup(nullptr), GROUP_OTHER);
}

TEST(FrameRowsTest, HeadersAndCaptions)
{
    EXPECT_EQ(GetFrameGroupHeader(1), CString(u"Basic Informations"));
    EXPECT_EQ(GetFrameGroupHeader(2), CString(u"Attached Pictures"));
    EXPECT_EQ(GetFrameGroupHeader(7), CString(u"Other"));
    EXPECT_EQ(GetFrameGroupHeader(8), CString());

    EXPECT_EQ(GetFrameCaption("WOAR"), CString(u"URL- Artist"));
    // Unknown to the catalogue: the raw ID.
    EXPECT_EQ(GetFrameCaption("XYZW"), CString(u"XYZW"));
    EXPECT_EQ(GetFrameCaption("TDA"), CString(u"TDA"));
}

TEST(FrameRowsTest, SelectionAfterRemovalAndNextRow)
{
    // The row below moves into the removed row's place; the last row passes it up; the only
    // row leaves nothing to select.
    EXPECT_EQ(GetSelectionAfterRemoval(1, 3), 1);
    EXPECT_EQ(GetSelectionAfterRemoval(2, 3), 1);
    EXPECT_EQ(GetSelectionAfterRemoval(0, 1), -1);
    EXPECT_EQ(GetSelectionAfterRemoval(-1, 3), -1);

    EXPECT_EQ(GetNextRow(0, 3), 1);
    EXPECT_EQ(GetNextRow(2, 3), -1);
}
