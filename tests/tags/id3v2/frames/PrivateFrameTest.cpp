#include "tags/id3v2/frames/PrivateFrame.h"

#include "FrameLayoutBytes.h"

#include <gtest/gtest.h>

using namespace FrameLayout;
using namespace Tags::ID3v2Tag;

TEST(PrivateFrameTest, NewFrameIsEmpty)
{
    CPrivateFrame frame;
    EXPECT_STREQ(frame.GetID(), "PRIV");
    EXPECT_EQ(frame.m_pHeader->m_nVersion, 4);
    EXPECT_TRUE(frame.m_strOwner.IsEmpty());
    EXPECT_EQ(frame.GetDataSize(), 0u);
    EXPECT_STREQ(frame.GetRuntimeClassName(), "CPrivateFrame");
    EXPECT_EQ(RenderBody(frame), (Bytes{0x00}));
}

TEST(PrivateFrameTest, OwnerAndDataAreKeptByteForByte)
{
    const Bytes body = Join({Text("WM/MediaClassPrimaryID"), {0x00, 0xBC, 0x00, 0x00, 0x7D, 0xFF}});
    auto pFrame = ReadBody<CPrivateFrame>("PRIV", body);
    EXPECT_EQ(pFrame->GetText(), CString(u"WM/MediaClassPrimaryID"));
    EXPECT_EQ(pFrame->m_data, (Bytes{0xBC, 0x00, 0x00, 0x7D, 0xFF}));
    pFrame->SetTextEncoding(1);
    EXPECT_EQ(RenderBody(*pFrame), body);
}

TEST(PrivateFrameTest, BodyWithoutZeroIsAllOwner)
{
    auto pFrame = ReadBody<CPrivateFrame>("PRIV", Text("owner"));
    EXPECT_EQ(pFrame->m_strOwner, CString(u"owner"));
    EXPECT_EQ(pFrame->GetDataSize(), 0u);
    EXPECT_EQ(RenderBody(*pFrame), Join({Text("owner"), {0x00}}));
}

TEST(PrivateFrameTest, BodyEndingInItsZeroHasNoData)
{
    CPrivateFrame frame;
    frame.m_data = {1, 2, 3};
    ParseInto(frame, Join({Text("owner"), {0x00}}));
    EXPECT_EQ(frame.m_strOwner, CString(u"owner"));
    EXPECT_EQ(frame.GetDataSize(), 0u);

    // An empty owner: the data starts after the first byte.
    ParseInto(frame, {0x00, 0x00, 0x01});
    EXPECT_TRUE(frame.m_strOwner.IsEmpty());
    EXPECT_EQ(frame.m_data, (Bytes{0x00, 0x01}));
    EXPECT_EQ(RenderBody(frame), (Bytes{0x00, 0x00, 0x01}));
}

TEST(PrivateFrameTest, OneByteBodyChangesNothing)
{
    CPrivateFrame frame;
    frame.m_strOwner = u"kept";
    ParseInto(frame, {'x'});
    EXPECT_EQ(frame.m_strOwner, CString(u"kept"));
}

TEST(PrivateFrameTest, CloneCopiesOwnerAndData)
{
    auto pFrame = ReadFrame<CPrivateFrame>(
        FrameOf("PRIV", Join({Text("o\xE9"), {0x00, 0x10, 0x20}}), 4, 0x40, 0x00), 4);
    EXPECT_EQ(pFrame->m_strOwner, CString(u"o\u00E9"));
    auto pClone = pFrame->Clone();
    EXPECT_TRUE(IsFreshHeader(*pClone, "PRIV"));
    pFrame->SetData(nullptr, 0);
    const auto& clone = dynamic_cast<const CPrivateFrame&>(*pClone);
    EXPECT_EQ(clone.m_strOwner, CString(u"o\u00E9"));
    EXPECT_EQ(clone.m_data, (Bytes{0x10, 0x20}));
}
