#include "tags/id3v2/Unsynchronisation.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Tags::ID3v2Tag;

namespace
{

std::vector<BYTE> Decode(const std::vector<BYTE>& source)
{
    return DecodeUnsynchronisation(source.data(), static_cast<UINT>(source.size()));
}

} // namespace

TEST(UnsynchronisationTest, DropsTheZeroAfterFF)
{
    EXPECT_EQ((std::vector<BYTE>{0xFF, 0xE0}), Decode({0xFF, 0x00, 0xE0}));
    EXPECT_EQ((std::vector<BYTE>{0x00, 0xFF}), Decode({0x00, 0xFF, 0x00}));
    EXPECT_EQ((std::vector<BYTE>{0xFF, 0xFF, 0xFE}), Decode({0xFF, 0x00, 0xFF, 0x00, 0xFE}));
}

TEST(UnsynchronisationTest, LooksAtThePreviousSourceByte)
{
    // The encoder turns FF 00 into FF 00 00: only the first zero was inserted.
    EXPECT_EQ((std::vector<BYTE>{0xFF, 0x00}), Decode({0xFF, 0x00, 0x00}));
    EXPECT_EQ((std::vector<BYTE>{0xFF, 0x00, 0x41}), Decode({0xFF, 0x00, 0x00, 0x41}));
}

TEST(UnsynchronisationTest, KeepsEverythingElse)
{
    EXPECT_EQ((std::vector<BYTE>{0x41, 0xFF}), Decode({0x41, 0xFF}));
    EXPECT_EQ((std::vector<BYTE>{0xFF}), Decode({0xFF}));
    EXPECT_EQ((std::vector<BYTE>{0x00}), Decode({0x00}));
    EXPECT_EQ((std::vector<BYTE>{0x00, 0x00, 0xFE, 0x00}), Decode({0x00, 0x00, 0xFE, 0x00}));
    EXPECT_EQ((std::vector<BYTE>{0xFF, 0x01, 0xFF, 0xE0}), Decode({0xFF, 0x01, 0xFF, 0xE0}));
}

TEST(UnsynchronisationTest, EmptyInputGivesNothing)
{
    EXPECT_TRUE(DecodeUnsynchronisation(nullptr, 0).empty());
    const BYTE one = 0xFF;
    EXPECT_TRUE(DecodeUnsynchronisation(&one, 0).empty());
    EXPECT_TRUE(DecodeUnsynchronisation(nullptr, 5).empty());
}

TEST(UnsynchronisationTest, NeverLongerThanTheInput)
{
    std::vector<BYTE> source;
    for (int i = 0; i < 1000; ++i)
    {
        source.push_back(static_cast<BYTE>((i % 3 == 0) ? 0xFF : (i % 3 == 1 ? 0x00 : i)));
    }
    const std::vector<BYTE> decoded = Decode(source);
    EXPECT_LE(decoded.size(), source.size());
    EXPECT_EQ(source.size() - 333, decoded.size());
}
