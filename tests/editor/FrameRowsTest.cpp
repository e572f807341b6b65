#include "EditorFiles.h"

#include "editor/FrameRows.h"

#include <gtest/gtest.h>

TEST(FrameRowsTest, GroupsByIDInTheirOrder)
{
    EXPECT_EQ(GetFrameGroup("TIT2"), GROUP_BASIC);
    EXPECT_EQ(GetFrameGroup("TXXX"), GROUP_BASIC);
    EXPECT_EQ(GetFrameGroup("TKWD"), GROUP_BASIC);
    EXPECT_EQ(GetFrameGroup("COMM"), GROUP_BASIC);
    EXPECT_EQ(GetFrameGroup("IPLS"), GROUP_BASIC);
    EXPECT_EQ(GetFrameGroup("APIC"), GROUP_PICTURES);
    EXPECT_EQ(GetFrameGroup("WOAR"), GROUP_URL_LINKS);
    EXPECT_EQ(GetFrameGroup("WXXX"), GROUP_URL_LINKS);
    EXPECT_EQ(GetFrameGroup("POPM"), GROUP_RATING);
    EXPECT_EQ(GetFrameGroup("PCNT"), GROUP_RATING);
    EXPECT_EQ(GetFrameGroup("USLT"), GROUP_LYRICS);
    EXPECT_EQ(GetFrameGroup("SYLT"), GROUP_LYRICS);
    EXPECT_EQ(GetFrameGroup("PRIV"), GROUP_PRIVATE);
    for (const char* szID : {"GEOB", "USER", "PIC", "apic", "comm", "", "XYZW"})
        EXPECT_EQ(GetFrameGroup(szID), GROUP_OTHER) << szID;
    EXPECT_EQ(GetFrameGroup(nullptr), GROUP_OTHER);
}

TEST(FrameRowsTest, HeadersAndCaptions)
{
    const char16_t* const kHeaders[] = {u"Basic Informations",
                                        u"Attached Pictures",
                                        u"URL Links",
                                        u"Rating",
                                        u"Lyrics",
                                        u"Private",
                                        u"Other"};
    for (int nGroup = 1; nGroup <= FRAME_GROUP_COUNT; ++nGroup)
        EXPECT_EQ(GetFrameGroupHeader(nGroup), CString(kHeaders[nGroup - 1]));
    EXPECT_EQ(GetFrameGroupHeader(0), CString());
    EXPECT_EQ(GetFrameGroupHeader(8), CString());

    EXPECT_EQ(GetFrameCaption("TIT2"), CString(u"Title"));
    EXPECT_EQ(GetFrameCaption("WOAR"), CString(u"URL- Artist"));
    // Unknown to the catalogue: the raw ID.
    EXPECT_EQ(GetFrameCaption("XYZW"), CString(u"XYZW"));
    EXPECT_EQ(GetFrameCaption("TDA"), CString(u"TDA"));
}

TEST(FrameRowsTest, SelectionAfterRemovalAndNextRow)
{
    // The row below moves into the removed row's place.
    EXPECT_EQ(GetSelectionAfterRemoval(0, 3), 0);
    EXPECT_EQ(GetSelectionAfterRemoval(1, 3), 1);
    // The last row passes it up; the only row leaves nothing to select.
    EXPECT_EQ(GetSelectionAfterRemoval(2, 3), 1);
    EXPECT_EQ(GetSelectionAfterRemoval(0, 1), -1);
    EXPECT_EQ(GetSelectionAfterRemoval(-1, 3), -1);
    EXPECT_EQ(GetSelectionAfterRemoval(3, 3), -1);

    EXPECT_EQ(GetNextRow(0, 3), 1);
    EXPECT_EQ(GetNextRow(2, 3), -1);
    EXPECT_EQ(GetNextRow(-1, 3), -1);
}
