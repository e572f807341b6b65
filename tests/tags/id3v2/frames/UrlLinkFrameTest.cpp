#include "tags/id3v2/frames/UrlLinkFrame.h"
#include "tags/id3v2/frames/UserUrlLinkFrame.h"

#include "FrameLayoutBytes.h"

#include <gtest/gtest.h>

using namespace FrameLayout;
using namespace Tags::ID3v2Tag;

TEST(UrlLinkFrameTest, NewFrameTakesItsIdAndVersion)
{
    CUrlLinkFrame frame("WOAR", 3);
    EXPECT_STREQ(frame.GetID(), "WOAR");
    EXPECT_EQ(frame.m_pHeader->m_nVersion, 3);
    EXPECT_TRUE(frame.m_strUrl.IsEmpty());
    EXPECT_STREQ(frame.GetRuntimeClassName(), "CUrlLinkFrame");
    EXPECT_EQ(RenderBody(frame), (Bytes{0x00}));
}

TEST(UrlLinkFrameTest, WholeBodyIsTheUrl)
{
    auto pFrame = ReadBody<CUrlLinkFrame>("WOAF", Text("http://example.org/a?b=c"));
    EXPECT_EQ(pFrame->GetText(), CString(u"http://example.org/a?b=c"));
    EXPECT_EQ(RenderBody(*pFrame), Join({Text("http://example.org/a?b=c"), {0x00}}));

    // A terminated URL reads the same and is written the same.
    ParseInto(*pFrame, Join({Text("http://x.test/"), {0x00}}));
    EXPECT_EQ(pFrame->m_strUrl, CString(u"http://x.test/"));
    EXPECT_EQ(RenderBody(*pFrame), Join({Text("http://x.test/"), {0x00}}));

    ParseInto(*pFrame, {});
    EXPECT_TRUE(pFrame->m_strUrl.IsEmpty());
}

TEST(UrlLinkFrameTest, UrlIsAlwaysEncoding0)
{
    CUrlLinkFrame frame("WPUB", 4);
    frame.m_strUrl = u"http://m\u00FCller.test/";
    frame.SetTextEncoding(1);
    EXPECT_EQ(RenderBody(frame), Join({Text("http://m\xFCller.test/"), {0x00}}));
}

TEST(UrlLinkFrameTest, CloneKeepsTheId)
{
    auto pFrame = ReadFrame<CUrlLinkFrame>(FrameOf("WCOM", Text("http://shop.test"), 3, 0x40), 3);
    auto pClone = pFrame->Clone();
    EXPECT_TRUE(IsFreshHeader(*pClone, "WCOM"));
    EXPECT_STREQ(pClone->GetRuntimeClassName(), "CUrlLinkFrame");
    EXPECT_EQ(dynamic_cast<const CUrlLinkFrame&>(*pClone).m_strUrl, CString(u"http://shop.test"));
}

TEST(UserUrlLinkFrameTest, NewFrameHasTheDefaults)
{
    CUserUrlLinkFrame frame;
    EXPECT_STREQ(frame.GetID(), "WXXX");
    EXPECT_EQ(frame.m_pHeader->m_nVersion, 4);
    EXPECT_EQ(frame.m_nEncoding, 0);
    EXPECT_TRUE(frame.m_strDescription.IsEmpty());
    EXPECT_TRUE(frame.m_strUrl.IsEmpty());
    EXPECT_STREQ(frame.GetRuntimeClassName(), "CUserUrlLinkFrame");
    EXPECT_EQ(RenderBody(frame), (Bytes{0x00, 0x00, 0x00}));
}

TEST(UserUrlLinkFrameTest, TextShowsTheDescriptionOnlyWhenThereIsOne)
{
    auto pFrame = ReadBody<CUserUrlLinkFrame>("WXXX", Join({{0x00, 0x00}, Text("http://a.test")}));
    EXPECT_TRUE(pFrame->m_strDescription.IsEmpty());
    EXPECT_EQ(pFrame->GetText(), CString(u"http://a.test"));

    ParseInto(*pFrame, Join({{0x00}, Text("Home"), {0x00}, Text("http://b.test"), {0x00}}));
    EXPECT_EQ(pFrame->m_strDescription, CString(u"Home"));
    EXPECT_EQ(pFrame->m_strUrl, CString(u"http://b.test"));
    EXPECT_EQ(pFrame->GetText(), CString(u"[Home] http://b.test"));
}

TEST(UserUrlLinkFrameTest, ShortBodyChangesNothing)
{
    // A one-byte body from a file: the URL must not be taken from it either.
    auto pFrame = ReadBody<CUserUrlLinkFrame>("WXXX", {'h'});
    EXPECT_TRUE(pFrame->m_strUrl.IsEmpty());
    EXPECT_EQ(pFrame->m_nEncoding, 0);

    pFrame->m_strUrl = u"http://kept.test";
    ParseInto(*pFrame, {0x01});
    EXPECT_EQ(pFrame->m_strUrl, CString(u"http://kept.test"));
    EXPECT_EQ(pFrame->m_nEncoding, 0);

    // Two bytes: encoding and an unterminated description, no URL.
    ParseInto(*pFrame, {0x00, 'd'});
    EXPECT_EQ(pFrame->m_strDescription, CString(u"d"));
    EXPECT_TRUE(pFrame->m_strUrl.IsEmpty());
}

TEST(UserUrlLinkFrameTest, DescriptionFollowsTheEncodingAndTheUrlStaysEncoding0)
{
    for (int nEncoding : {0, 1, 3})
    {
        CUserUrlLinkFrame frame;
        frame.m_strDescription =
            nEncoding == 0 ? CString(u"Caf\u00E9") : CString(u"\u30DB\u30FC\u30E0");
        frame.m_strUrl = u"http://x.test/\u00E9";
        frame.SetTextEncoding(nEncoding);
        const Bytes body = RenderBody(frame);
        EXPECT_EQ(body[0], nEncoding);
        // The URL is the last bytes, in the code page, with one zero byte.
        const Bytes url = Join({Text("http://x.test/\xE9"), {0x00}});
        ASSERT_GE(body.size(), url.size());
        EXPECT_EQ(Bytes(body.end() - static_cast<long>(url.size()), body.end()), url);

        CUserUrlLinkFrame back;
        ParseInto(back, body);
        EXPECT_EQ(back.m_nEncoding, nEncoding);
        EXPECT_EQ(back.m_strDescription, frame.m_strDescription) << nEncoding;
        EXPECT_EQ(back.m_strUrl, frame.m_strUrl);
    }
    const Bytes utf16 = Join({{0x01}, Utf16(u"Site"), {0, 0}, Text("http://s.test"), {0}});
    auto pFrame = ReadBody<CUserUrlLinkFrame>("WXXX", utf16);
    EXPECT_EQ(pFrame->GetText(), CString(u"[Site] http://s.test"));
    EXPECT_EQ(RenderBody(*pFrame), utf16);
}

TEST(UserUrlLinkFrameTest, CloneIsAUserUrlLinkFrame)
{
    auto pFrame = ReadBody<CUserUrlLinkFrame>(
        "WXXX", Join({{0x03}, Text("Shop"), {0x00}, Text("http://shop.test")}));
    auto pClone = pFrame->Clone();
    EXPECT_TRUE(IsFreshHeader(*pClone, "WXXX"));
    const auto& clone = dynamic_cast<const CUserUrlLinkFrame&>(*pClone);
    EXPECT_EQ(clone.m_nEncoding, 3);
    EXPECT_EQ(clone.m_strDescription, CString(u"Shop"));
    EXPECT_EQ(clone.m_strUrl, CString(u"http://shop.test"));
}
