#include "tags/id3v2/frames/PictureFrame.h"
#include "tags/id3v2/frames/PictureFrameV22.h"

#include "FrameLayoutBytes.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace FrameLayout;
using namespace Tags::ID3v2Tag;

namespace
{

const Bytes kPicture = {0x89, 'P', 'N', 'G', 0x00, 0x0D, 0xFF, 0x00};

Bytes ApicBody(BYTE nEncoding, const Bytes& description)
{
    return Join({{nEncoding}, Text("image/png"), {0x00, 0x03}, description, kPicture});
}

} // namespace

TEST(PictureFrameTest, NewFrameHasTheDefaults)
{
    CPictureFrame frame;
    EXPECT_STREQ(frame.GetID(), "APIC");
    EXPECT_EQ(frame.m_pHeader->m_nVersion, 4);
    EXPECT_EQ(frame.m_nEncoding, 0);
    EXPECT_TRUE(frame.m_strMimeType.IsEmpty());
    EXPECT_EQ(frame.m_nPictureType, 3);
    EXPECT_TRUE(frame.m_strDescription.IsEmpty());
    EXPECT_EQ(frame.GetDataSize(), 0u);
    EXPECT_STREQ(frame.GetRuntimeClassName(), "CPictureFrame");
    // Encoding, empty MIME type, type, empty description.
    EXPECT_EQ(RenderBody(frame), (Bytes{0x00, 0x00, 0x03, 0x00}));
}

TEST(PictureFrameTest, ReadsEveryFieldAndRendersTheSameBody)
{
    const Bytes body = ApicBody(0, Join({Text("Cover"), {0x00}}));
    auto pFrame = ReadBody<CPictureFrame>("APIC", body);
    EXPECT_EQ(pFrame->m_nEncoding, 0);
    EXPECT_EQ(pFrame->m_strMimeType, CString(u"image/png"));
    EXPECT_EQ(pFrame->m_nPictureType, 3);
    EXPECT_EQ(pFrame->m_strDescription, CString(u"Cover"));
    EXPECT_EQ(pFrame->m_data, kPicture);
    EXPECT_EQ(pFrame->GetText(), CString(u"[image/png] Cover"));
    pFrame->SetTextEncoding(1);
    EXPECT_EQ(RenderBody(*pFrame), body);
}

TEST(PictureFrameTest, BodyFollowsTheDataLengthOfA24Frame)
{
    // Format flag 0x01: four data length bytes lie between header and body.
    const Bytes body = ApicBody(0, {0x00});
    const Bytes frame = Join(
        {FrameOf("APIC", Join({{0, 0, 0, static_cast<BYTE>(body.size())}, body}), 4, 0, 0x01)});
    auto pFrame = ReadFrame<CPictureFrame>(frame, 4);
    EXPECT_EQ(pFrame->m_strMimeType, CString(u"image/png"));
    EXPECT_EQ(pFrame->m_data, kPicture);
}

TEST(PictureFrameTest, Utf16DescriptionThatAnsiHoldsIsWrittenInEncoding0)
{
    auto pFrame =
        ReadBody<CPictureFrame>("APIC", ApicBody(1, Join({Utf16(u"Caf\u00E9"), {0x00, 0x00}})));
    EXPECT_EQ(pFrame->m_strDescription, CString(u"Caf\u00E9"));
    for (int nEncoding : {0, 1, 3})
    {
        pFrame->SetTextEncoding(nEncoding);
        EXPECT_EQ(pFrame->m_nEncoding, 0);
        EXPECT_EQ(RenderBody(*pFrame), ApicBody(0, {'C', 'a', 'f', 0xE9, 0x00}));
    }
}

TEST(PictureFrameTest, DescriptionAnsiCannotHoldKeepsTheWriteEncoding)
{
    const CString strJapanese(u"\u8868\u7D19");
    for (int nEncoding : {1, 3})
    {
        CPictureFrame frame;
        frame.m_strMimeType = u"image/png";
        frame.m_strDescription = strJapanese;
        frame.SetData(kPicture.data(), static_cast<UINT>(kPicture.size()));
        frame.SetTextEncoding(nEncoding);
        EXPECT_EQ(frame.m_nEncoding, nEncoding);
        const Bytes body = RenderBody(frame);
        EXPECT_EQ(body[0], nEncoding);

        CPictureFrame back;
        ParseInto(back, body);
        EXPECT_EQ(back.m_strDescription, strJapanese);
        EXPECT_EQ(back.m_strMimeType, CString(u"image/png"));
        EXPECT_EQ(back.m_data, kPicture);
    }
    // A tag written in encoding 0 cannot do better than the code page's default character.
    CPictureFrame frame;
    frame.m_strDescription = strJapanese;
    frame.SetTextEncoding(0);
    EXPECT_EQ(frame.m_nEncoding, 0);
    EXPECT_EQ(RenderBody(frame), (Bytes{0x00, 0x00, 0x03, '?', '?', 0x00}));
}

TEST(PictureFrameTest, RoundTripsInEveryWrittenEncoding)
{
    const CString strDescription(u"Front \u00C6 \u4E2D");
    for (int nEncoding : {0, 1, 3})
    {
        CPictureFrame frame;
        frame.m_nEncoding = nEncoding;
        frame.m_strMimeType = u"image/jpeg";
        frame.m_nPictureType = 4;
        frame.m_strDescription = nEncoding == 0 ? CString(u"Front \u00C6") : strDescription;
        frame.SetData(kPicture.data(), static_cast<UINT>(kPicture.size()));

        CPictureFrame back;
        ParseInto(back, RenderBody(frame));
        EXPECT_EQ(back.m_nEncoding, nEncoding);
        EXPECT_EQ(back.m_strMimeType, frame.m_strMimeType);
        EXPECT_EQ(back.m_nPictureType, 4);
        EXPECT_EQ(back.m_strDescription, frame.m_strDescription);
        EXPECT_EQ(back.m_data, kPicture);
    }
}

TEST(PictureFrameTest, BigEndianDescriptionIsWrittenInAnEncodingThatKeepsIt)
{
    // Encoding 2 is read but never written.
    auto pFrame = ReadBody<CPictureFrame>("APIC", ApicBody(2, {0x4E, 0x2D, 0x00, 0x00}));
    EXPECT_EQ(pFrame->m_strDescription, CString(u"\u4E2D"));
    EXPECT_EQ(RenderBody(*pFrame), ApicBody(1, {0xFF, 0xFE, 0x2D, 0x4E, 0x00, 0x00}));
}

TEST(PictureFrameTest, AnyPictureTypeByteIsKept)
{
    Bytes body = ApicBody(0, {0x00});
    body[11] = 0xFF;
    auto pFrame = ReadBody<CPictureFrame>("APIC", body);
    EXPECT_EQ(pFrame->m_nPictureType, -1);
    EXPECT_EQ(RenderBody(*pFrame), body);
}

TEST(PictureFrameTest, ShortAndTruncatedBodies)
{
    CPictureFrame frame;
    frame.m_strMimeType = u"image/gif";
    ParseInto(frame, {0x00, 'a', 0x00, 0x05});
    EXPECT_EQ(frame.m_strMimeType, CString(u"image/gif"));
    EXPECT_EQ(frame.m_nPictureType, 3);

    // A description without terminator runs to the end; no picture bytes are left.
    ParseInto(frame, Join({{0x00}, Text("image/png"), {0x00, 0x06}, Text("Disc")}));
    EXPECT_EQ(frame.m_strMimeType, CString(u"image/png"));
    EXPECT_EQ(frame.m_nPictureType, 6);
    EXPECT_EQ(frame.m_strDescription, CString(u"Disc"));
    EXPECT_EQ(frame.GetDataSize(), 0u);

    // A MIME type without terminator takes the whole body.
    ParseInto(frame, Join({{0x00}, Text("image/png")}));
    EXPECT_EQ(frame.m_strMimeType, CString(u"image/png"));
    EXPECT_EQ(frame.m_nPictureType, 0);
    EXPECT_TRUE(frame.m_strDescription.IsEmpty());
}

TEST(PictureFrameTest, PictureTypeNames)
{
    EXPECT_EQ(PictureTypeCount, 21);
    EXPECT_EQ(CString(PictureTypeNames[0]), CString(u"Other"));
    EXPECT_EQ(CString(PictureTypeNames[3]), CString(u"FrontCover"));
    EXPECT_EQ(CString(PictureTypeNames[16]), CString(u"MovieScreenCapture"));
    EXPECT_EQ(CString(PictureTypeNames[17]), CString(u"ColouredFish"));
    EXPECT_EQ(CString(PictureTypeNames[20]), CString(u"PublisherLogo"));
}

TEST(PictureFrameTest, CloneCopiesEverythingWithAFreshHeader)
{
    auto pFrame = ReadFrame<CPictureFrame>(
        FrameOf("APIC", ApicBody(0, Join({Text("Cover"), {0x00}})), 3, 0x80, 0x00), 3);
    ASSERT_TRUE(pFrame->m_pHeader->m_bTagAlterPreservation);
    auto pClone = pFrame->Clone();
    EXPECT_TRUE(IsFreshHeader(*pClone, "APIC"));
    EXPECT_STREQ(pClone->GetRuntimeClassName(), "CPictureFrame");
    EXPECT_EQ(RenderBody(*pClone), RenderBody(*pFrame));
    // The copy owns its bytes.
    pFrame->m_data.clear();
    EXPECT_EQ(static_cast<CPictureFrame&>(*pClone).m_data, kPicture);
}

TEST(PictureFrameV22Test, PngBecomesAnApicFrame)
{
    const Bytes body = Join({{0x00}, Text("png"), {0x03}, Text("Cover"), {0x00}, kPicture});
    const Bytes frame = FrameOf("PIC", body, 2);
    auto pFrame = ReadFrame<CPictureFrameV22>(frame, 2);
    EXPECT_STREQ(pFrame->GetID(), "APIC");
    EXPECT_EQ(pFrame->m_pHeader->m_nVersion, 2);
    EXPECT_EQ(pFrame->m_pHeader->m_nSize, body.size());
    EXPECT_STREQ(pFrame->GetRuntimeClassName(), "CPictureFrameV22");
    EXPECT_EQ(pFrame->m_strMimeType, CString(u"image/png"));
    EXPECT_EQ(pFrame->m_nPictureType, 3);
    EXPECT_EQ(pFrame->m_strDescription, CString(u"Cover"));
    EXPECT_EQ(pFrame->m_data, kPicture);
    EXPECT_EQ(pFrame->GetText(), CString(u"[image/png] Cover"));
    pFrame->SetTextEncoding(1);
    EXPECT_EQ(RenderBody(*pFrame), ApicBody(0, Join({Text("Cover"), {0x00}})));
}

TEST(PictureFrameV22Test, ImageFormatsBecomeMimeTypes)
{
    const struct
    {
        const char* szFormat;
        const char16_t* szMime;
    } cases[] = {{"JPG", u"image/jpeg"},
                 {"jpg", u"image/jpeg"},
                 {"PnG", u"image/png"},
                 {"GIF", u"image/GIF"},
                 {"BM\0", u"image/BM"}};
    for (const auto& c : cases)
    {
        CPictureFrameV22 frame(nullptr, 0, nullptr);
        ParseInto(frame, Join({{0x00}, Bytes(c.szFormat, c.szFormat + 3), {0x08, 0x00}}));
        EXPECT_EQ(frame.m_strMimeType, CString(c.szMime)) << c.szFormat;
        EXPECT_EQ(frame.m_nPictureType, 8);
    }
}

TEST(PictureFrameV22Test, ShortBodyLeavesTheDefaults)
{
    auto pFrame = ReadFrame<CPictureFrameV22>(FrameOf("PIC", {0x00, 'P', 'N', 'G'}, 2), 2);
    EXPECT_STREQ(pFrame->GetID(), "APIC");
    EXPECT_TRUE(pFrame->m_strMimeType.IsEmpty());
    EXPECT_EQ(pFrame->m_nPictureType, 3);
    // Five bytes are enough: no description, no picture.
    ParseInto(*pFrame, {0x00, 'P', 'N', 'G', 0x00});
    EXPECT_EQ(pFrame->m_strMimeType, CString(u"image/png"));
    EXPECT_EQ(pFrame->m_nPictureType, 0);
}

TEST(PictureFrameV22Test, CloneIsAnApicFrame)
{
    auto pFrame = ReadFrame<CPictureFrameV22>(
        FrameOf("PIC", Join({{0x01}, Text("JPG"), {0x12}, Utf16(u"Band"), {0, 0}, kPicture}), 2),
        2);
    auto pClone = pFrame->Clone();
    EXPECT_TRUE(IsFreshHeader(*pClone, "APIC"));
    EXPECT_STREQ(pClone->GetRuntimeClassName(), "CPictureFrame");
    EXPECT_EQ(dynamic_cast<CPictureFrameV22*>(pClone.get()), nullptr);
    const auto& clone = dynamic_cast<const CPictureFrame&>(*pClone);
    EXPECT_EQ(clone.m_nEncoding, 1);
    EXPECT_EQ(clone.m_strMimeType, CString(u"image/jpeg"));
    EXPECT_EQ(clone.m_nPictureType, 0x12);
    EXPECT_EQ(clone.m_strDescription, CString(u"Band"));
    EXPECT_EQ(clone.m_data, kPicture);
}
