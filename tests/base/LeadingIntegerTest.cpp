#include "base/LeadingInteger.h"

#include <gtest/gtest.h>

#include <limits>

TEST(LeadingIntegerTest, BlanksSignAndDigitsUpToTheFirstOtherCharacter)
{
    EXPECT_EQ(GetLeadingInteger(u"12"), 12);
    EXPECT_EQ(GetLeadingInteger(u" \t 7/12"), 7);
    EXPECT_EQ(GetLeadingInteger(u"+5x"), 5);
    EXPECT_EQ(GetLeadingInteger(u"-1"), -1);
    EXPECT_EQ(GetLeadingInteger(u"007"), 7);
    EXPECT_EQ(GetLeadingInteger(u"3 4"), 3);
    // A blank between the sign and the digits ends the number before it begins.
    EXPECT_EQ(GetLeadingInteger(u"- 1"), 0);
}

TEST(LeadingIntegerTest, NoDigitsGiveZeroAndNoEnd)
{
    for (const char16_t* psz : {u"", u"   ", u"-", u"+x", u"<Keep>", u"x12"})
    {
        LONGLONG nValue = 99;
        int nEnd = 99;
        EXPECT_FALSE(ParseLeadingInteger(psz, nValue, &nEnd));
        EXPECT_EQ(nValue, 0);
        EXPECT_EQ(nEnd, 0);
        EXPECT_EQ(GetLeadingInteger(psz), 0);
    }
    LONGLONG nValue = 0;
    int nEnd = 0;
    EXPECT_TRUE(ParseLeadingInteger(u" -42)Rock", nValue, &nEnd));
    EXPECT_EQ(nValue, -42);
    EXPECT_EQ(nEnd, 4);
}

TEST(LeadingIntegerTest, HugeNumbersAreHeldAtTheLimit)
{
    constexpr LONGLONG nMax = std::numeric_limits<LONGLONG>::max();
    EXPECT_EQ(GetLeadingInteger(u"9223372036854775807"), nMax);
    EXPECT_EQ(GetLeadingInteger(u"9223372036854775808"), nMax);
    EXPECT_EQ(GetLeadingInteger(u"123456789012345678901234567890"), nMax);
    EXPECT_EQ(GetLeadingInteger(u"-99999999999999999999"), -nMax);
}
