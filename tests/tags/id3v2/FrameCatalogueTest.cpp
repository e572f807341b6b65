#include "tags/id3v2/FrameCatalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

using namespace Tags::ID3v2Tag;

TEST(FrameCatalogueTest, DescriptionsAreSortedAndFoundByBinarySearch)
{
    const auto table = GetFrameDescriptions();
    ASSERT_EQ(table.size(), 92u);
    for (size_t i = 1; i < table.size(); ++i)
        EXPECT_LT(std::strcmp(table[i - 1].szID, table[i].szID), 0) << table[i].szID;
    // Every entry is reachable, which a search over a mis-sorted table would not give.
    for (const auto& e : table)
        EXPECT_STREQ(GetFrameDescription(e.szID), e.szDescription);

    EXPECT_STREQ(GetFrameDescription("TIT2"), "Title");
    EXPECT_STREQ(GetFrameDescription("TORY"), "Original Year");
    EXPECT_STREQ(GetFrameDescription("USLT"), "Unsychronized Lyric");
    EXPECT_EQ(GetFrameDescription("XXXX"), nullptr);
    EXPECT_EQ(GetFrameDescription("TT2"), nullptr);
    EXPECT_EQ(GetFrameDescription("AAAA"), nullptr);
    EXPECT_EQ(GetFrameDescription("ZZZZ"), nullptr);
}

TEST(FrameCatalogueTest, SharedDescriptions)
{
    EXPECT_STREQ(GetFrameDescription("RVA2"), GetFrameDescription("RVAD"));
    EXPECT_STREQ(GetFrameDescription("TDOR"), GetFrameDescription("TORY"));
    EXPECT_STREQ(GetFrameDescription("IPLS"), GetFrameDescription("TIPL"));
    EXPECT_STRNE(GetFrameDescription("EQU2"), GetFrameDescription("EQUA"));
}

TEST(FrameCatalogueTest, AddableFramesAreNumberedInOrderAndDescribed)
{
    const auto list = GetAddableFrames();
    ASSERT_EQ(list.size(), 65u);
    std::set<std::string> ids;
    for (size_t i = 0; i < list.size(); ++i)
    {
        EXPECT_EQ(list[i].nCommand, i + 1);
        EXPECT_NE(GetFrameDescription(list[i].szID), nullptr) << list[i].szID;
        ids.insert(list[i].szID);
    }
    EXPECT_EQ(ids.size(), 65u);
    EXPECT_STREQ(list[0].szID, "APIC");
    EXPECT_STREQ(list[64].szID, "WXXX");
}

TEST(FrameCatalogueTest, V22Mapping)
{
    ASSERT_EQ(GetV22Mappings().size(), 55u);
    EXPECT_STREQ(MapV22FrameID("TT2"), "TIT2");
    EXPECT_STREQ(MapV22FrameID("TYE"), "TDRC");
    EXPECT_STREQ(MapV22FrameID("TRD"), "TDRC");
    EXPECT_STREQ(MapV22FrameID("TOR"), "TDOR");
    EXPECT_STREQ(MapV22FrameID("IPL"), "TIPL");
    EXPECT_STREQ(MapV22FrameID("COM"), "COMM");
    EXPECT_EQ(MapV22FrameID("PIC"), nullptr);
    // The iTunes frames keep their data in 2.3 and 2.4.
    EXPECT_STREQ(MapV22FrameID("TCP"), "TCMP");
    EXPECT_STREQ(MapV22FrameID("TSO"), nullptr);
    EXPECT_STREQ(MapV22FrameID("TS2"), "TSO2");
    EXPECT_EQ(MapV22FrameID("TDA"), nullptr);
    for (const char* id : {"CRM", "EQU", "LNK", "RVA", "TDA", "TIM", "TSI"})
    {
        EXPECT_TRUE(IsUnmappedV22FrameID(id));
        EXPECT_EQ(MapV22FrameID(id), nullptr);
    }
    EXPECT_FALSE(IsUnmappedV22FrameID("TT2"));
    for (const auto& m : GetV22Mappings())
        EXPECT_NE(GetFrameDescription(m.szID), nullptr) << m.szID;
}
