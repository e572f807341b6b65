#include "tags/id3v2/frames/PlayCounterFrame.h"
#include "tags/id3v2/frames/PopularimeterFrame.h"

#include "FrameLayoutBytes.h"

#include <gtest/gtest.h>

using namespace FrameLayout;
using namespace Tags::ID3v2Tag;

TEST(PopularimeterFrameTest, NewFrameHasTheDefaults)
{
    CPopularimeterFrame frame;
    EXPECT_STREQ(frame.GetID(), "POPM");
    EXPECT_EQ(frame.m_pHeader->m_nVersion, 4);
    EXPECT_TRUE(frame.m_strEmail.IsEmpty());
    EXPECT_EQ(frame.m_nRating, 0);
    EXPECT_EQ(frame.m_nCounter, 0u);
    EXPECT_STREQ(frame.GetRuntimeClassName(), "CPopularimeterFrame");
    EXPECT_EQ(RenderBody(frame), (Bytes{0, 0, 0, 0, 0, 0}));
}

TEST(PopularimeterFrameTest, ReadsRatingAndCounter)
{
    const Bytes body = Join({Text("abc"), {0x00, 0xFF, 0x00, 0x00, 0x01, 0x00}});
    auto pFrame = ReadBody<CPopularimeterFrame>("POPM", body);
    EXPECT_EQ(pFrame->m_strEmail, CString(u"abc"));
    EXPECT_EQ(pFrame->m_nRating, 255);
    EXPECT_EQ(pFrame->m_nCounter, 256u);
    EXPECT_EQ(pFrame->GetText(), CString(u"abc [Rating: 255 Counter: 256]"));
    EXPECT_EQ(RenderBody(*pFrame), body);
}

TEST(PopularimeterFrameTest, EmailOnlyGainsRatingAndCounterWhenWritten)
{
    auto pFrame = ReadBody<CPopularimeterFrame>("POPM", Join({Text("abc"), {0x00}}));
    EXPECT_EQ(pFrame->m_nRating, 0);
    EXPECT_EQ(pFrame->m_nCounter, 0u);
    EXPECT_EQ(RenderBody(*pFrame), Join({Text("abc"), {0x00, 0x00, 0x00, 0x00, 0x00, 0x00}}));
}

TEST(PopularimeterFrameTest, ParseStartsRatingAndCounterFromZero)
{
    CPopularimeterFrame frame;
    frame.m_nRating = 128;
    frame.m_nCounter = 9;
    // Rating, but a counter of fewer than four bytes.
    ParseInto(frame, Join({Text("x@y"), {0x00, 0x40, 0x01, 0x02}}));
    EXPECT_EQ(frame.m_strEmail, CString(u"x@y"));
    EXPECT_EQ(frame.m_nRating, 0x40);
    EXPECT_EQ(frame.m_nCounter, 0u);

    ParseInto(frame, {});
    EXPECT_TRUE(frame.m_strEmail.IsEmpty());
    EXPECT_EQ(frame.m_nRating, 0);
}

TEST(PopularimeterFrameTest, LongerCounterCountsAllItsBytes)
{
    CPopularimeterFrame frame;
    ParseInto(frame, {'a', 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00});
    EXPECT_EQ(frame.m_nCounter, 256u);
    // Beyond 32 bits the counter is held as the largest value.
    ParseInto(frame, {'a', 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00});
    EXPECT_EQ(frame.m_nCounter, 0xFFFFFFFFu);
    EXPECT_EQ(RenderBody(frame), (Bytes{'a', 0x00, 0x01, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(PopularimeterFrameTest, RatingIsWrittenWithinItsByte)
{
    CPopularimeterFrame frame;
    frame.m_nRating = 300;
    EXPECT_EQ(RenderBody(frame)[1], 0xFF);
    frame.m_nRating = -1;
    EXPECT_EQ(RenderBody(frame)[1], 0x00);
}

TEST(PopularimeterFrameTest, RoundTripAndClone)
{
    CPopularimeterFrame frame;
    frame.m_strEmail = u"j\u00F6rg@example.org";
    frame.m_nRating = 196;
    frame.m_nCounter = 0x12345678;
    frame.SetTextEncoding(1);
    const Bytes body = RenderBody(frame);
    EXPECT_EQ(body, Join({Text("j\xF6rg@example.org"), {0x00, 196, 0x12, 0x34, 0x56, 0x78}}));

    CPopularimeterFrame back;
    ParseInto(back, body);
    EXPECT_EQ(back.GetText(), CString(u"j\u00F6rg@example.org [Rating: 196 Counter: 305419896]"));

    auto pClone = back.Clone();
    EXPECT_TRUE(IsFreshHeader(*pClone, "POPM"));
    EXPECT_EQ(RenderBody(*pClone), body);
}

TEST(PlayCounterFrameTest, ReadsTheCounter)
{
    auto pFrame = ReadBody<CPlayCounterFrame>("PCNT", {0x00, 0x00, 0x00, 0x2A});
    EXPECT_EQ(pFrame->m_nCounter, 42u);
    EXPECT_EQ(pFrame->GetText(), CString(u"42"));
    EXPECT_STREQ(pFrame->GetRuntimeClassName(), "CPlayCounterFrame");
    EXPECT_EQ(RenderBody(*pFrame), (Bytes{0x00, 0x00, 0x00, 0x2A}));
}

TEST(PlayCounterFrameTest, ShortBodyReadsZero)
{
    CPlayCounterFrame frame;
    frame.m_nCounter = 7;
    ParseInto(frame, {0x00, 0x00, 0x2A});
    EXPECT_EQ(frame.m_nCounter, 0u);
    EXPECT_EQ(RenderBody(frame), (Bytes{0x00, 0x00, 0x00, 0x00}));
}

TEST(PlayCounterFrameTest, LongerCounterCountsAllItsBytes)
{
    CPlayCounterFrame frame;
    ParseInto(frame, {0x00, 0x00, 0x00, 0x01, 0x00});
    EXPECT_EQ(frame.m_nCounter, 256u);
    ParseInto(frame, {0x01, 0x00, 0x00, 0x00, 0x00});
    EXPECT_EQ(frame.GetText(), CString(u"4294967295"));
}

TEST(PlayCounterFrameTest, NewFrameAndClone)
{
    CPlayCounterFrame frame;
    EXPECT_STREQ(frame.GetID(), "PCNT");
    EXPECT_EQ(frame.m_pHeader->m_nVersion, 4);
    EXPECT_EQ(frame.GetText(), CString(u"0"));
    frame.m_nCounter = 0xFFFFFFFF;
    auto pClone = frame.Clone();
    EXPECT_TRUE(IsFreshHeader(*pClone, "PCNT"));
    EXPECT_EQ(dynamic_cast<const CPlayCounterFrame&>(*pClone).m_nCounter, 0xFFFFFFFFu);
    EXPECT_EQ(RenderBody(*pClone), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
}
