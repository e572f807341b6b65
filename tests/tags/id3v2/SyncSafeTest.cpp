#include "tags/id3v2/SyncSafe.h"

#include <gtest/gtest.h>

#include <array>

using namespace Tags::ID3v2Tag;

TEST(SyncSafeTest, ReadsSevenBitsPerByte)
{
    const BYTE small[] = {0x00, 0x00, 0x02, 0x01};
    EXPECT_EQ(257u, ReadSyncSafe(small));
    const BYTE largest[] = {0x7F, 0x7F, 0x7F, 0x7F};
    EXPECT_EQ(SYNCSAFE_MAX, ReadSyncSafe(largest));
    EXPECT_EQ(268435455u, SYNCSAFE_MAX);
}

TEST(SyncSafeTest, HighBitIsIgnoredWhenReadingAndReportedAsNotSyncSafe)
{
    const BYTE clean[] = {0x00, 0x00, 0x02, 0x01};
    const BYTE dirty[] = {0x80, 0x00, 0x82, 0x01};
    EXPECT_TRUE(IsSyncSafe(clean));
    EXPECT_FALSE(IsSyncSafe(dirty));
    EXPECT_EQ(257u, ReadSyncSafe(dirty));
    for (int i = 0; i < 4; ++i)
    {
        BYTE one[] = {0, 0, 0, 0};
        one[i] = 0x80;
        EXPECT_FALSE(IsSyncSafe(one)) << i;
        EXPECT_EQ(0u, ReadSyncSafe(one)) << i;
    }
}

TEST(SyncSafeTest, WritesSevenBitsPerByteAndDropsBitsAbove27)
{
    std::array<BYTE, 4> out{};
    WriteSyncSafe(out.data(), 257);
    EXPECT_EQ((std::array<BYTE, 4>{0x00, 0x00, 0x02, 0x01}), out);
    WriteSyncSafe(out.data(), 268435456);
    EXPECT_EQ((std::array<BYTE, 4>{0x00, 0x00, 0x00, 0x00}), out);
    WriteSyncSafe(out.data(), 0xFFFFFFFF);
    EXPECT_EQ((std::array<BYTE, 4>{0x7F, 0x7F, 0x7F, 0x7F}), out);
}

TEST(SyncSafeTest, RoundTripsAcrossTheRange)
{
    for (UINT n : {0u, 1u, 127u, 128u, 300u, 16383u, 16384u, 2097151u, 2097152u, SYNCSAFE_MAX})
    {
        BYTE out[4] = {};
        WriteSyncSafe(out, n);
        EXPECT_TRUE(IsSyncSafe(out));
        EXPECT_EQ(n, ReadSyncSafe(out));
    }
}

TEST(SyncSafeTest, PlainIntegersAreBigEndian)
{
    const BYTE bytes[] = {0x12, 0x34, 0x56, 0x78};
    EXPECT_EQ(0x123456u, ReadUInt24(bytes));
    EXPECT_EQ(0x12345678u, ReadUInt32(bytes));
    BYTE out[4] = {};
    WriteUInt32(out, 0xFEDCBA98);
    EXPECT_EQ(0xFEDCBA98u, ReadUInt32(out));
    EXPECT_EQ(0xFE, out[0]);
    EXPECT_EQ(0x98, out[3]);
}
