#include "tags/id3v2/frames/CommentsFrame.h"
#include "tags/id3v2/frames/TermOfUseFrame.h"
#include "tags/id3v2/frames/UnsynchronizedLyricsFrame.h"

#include "FrameLayoutBytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <type_traits>

using namespace FrameLayout;
using namespace Tags::ID3v2Tag;

namespace
{

// Comments and lyrics share their layout; every layout test runs for both.
template <typename T> class DescribedTextFrameTest : public ::testing::Test
{
};

using DescribedTextFrames = ::testing::Types<CCommentsFrame, CUnsynchronizedLyricsFrame>;

class DescribedTextFrameNames
{
public:
    template <typename T> static std::string GetName(int)
    {
        return std::is_same_v<T, CCommentsFrame> ? "Comments" : "Lyrics";
    }
};

template <typename T> const char* IdOf()
{
    return std::is_same_v<T, CCommentsFrame> ? "COMM" : "USLT";
}

} // namespace

TYPED_TEST_SUITE(DescribedTextFrameTest, DescribedTextFrames, DescribedTextFrameNames);

TYPED_TEST(DescribedTextFrameTest, NewFrameHasTheDefaults)
{
    TypeParam frame;
    EXPECT_STREQ(frame.GetID(), IdOf<TypeParam>());
    EXPECT_EQ(frame.m_pHeader->m_nVersion, 4);
    EXPECT_EQ(frame.m_nEncoding, 0);
    EXPECT_STREQ(frame.m_szLanguage, "ENG");
    EXPECT_TRUE(frame.m_strDescription.IsEmpty());
    EXPECT_TRUE(frame.m_strText.IsEmpty());
    EXPECT_EQ(RenderBody(frame), (Bytes{0x00, 'E', 'N', 'G', 0x00, 0x00}));
}

TYPED_TEST(DescribedTextFrameTest, ReadsDescriptionAndText)
{
    auto pFrame = ReadBody<TypeParam>(
        IdOf<TypeParam>(),
        Join({{0x00}, Text("eng"), Text("Short"), {0x00}, Text("Full text"), {0x00}}));
    EXPECT_STREQ(pFrame->m_szLanguage, "eng");
    EXPECT_EQ(pFrame->m_strDescription, CString(u"Short"));
    EXPECT_EQ(pFrame->m_strText, CString(u"Full text"));
    EXPECT_EQ(pFrame->GetText(), CString(u"Full text"));
}

TYPED_TEST(DescribedTextFrameTest, TextWithoutTerminatorIsRead)
{
    auto pFrame =
        ReadBody<TypeParam>(IdOf<TypeParam>(), Join({{0x00}, Text("eng"), {0x00}, Text("Hello")}));
    EXPECT_TRUE(pFrame->m_strDescription.IsEmpty());
    EXPECT_EQ(pFrame->m_strText, CString(u"Hello"));
    EXPECT_EQ(RenderBody(*pFrame), Join({{0x00}, Text("eng"), {0x00}, Text("Hello"), {0x00}}));
}

TYPED_TEST(DescribedTextFrameTest, BodyWithoutAnyTerminatorLeavesBothStrings)
{
    auto pFrame = ReadBody<TypeParam>(IdOf<TypeParam>(), Join({{0x00}, Text("eng"), Text("Hi")}));
    EXPECT_TRUE(pFrame->m_strDescription.IsEmpty());
    EXPECT_TRUE(pFrame->m_strText.IsEmpty());
    EXPECT_STREQ(pFrame->m_szLanguage, "eng");

    pFrame->m_strDescription = u"kept";
    pFrame->m_strText = u"also kept";
    ParseInto(*pFrame, Join({{0x03}, Text("deu"), Text("Hi")}));
    EXPECT_EQ(pFrame->m_nEncoding, 3);
    EXPECT_STREQ(pFrame->m_szLanguage, "deu");
    EXPECT_EQ(pFrame->m_strDescription, CString(u"kept"));
    EXPECT_EQ(pFrame->m_strText, CString(u"also kept"));
}

TYPED_TEST(DescribedTextFrameTest, ShortBodyChangesNothing)
{
    TypeParam frame;
    frame.m_strText = u"x";
    ParseInto(frame, {0x01, 'd', 'e', 'u'});
    EXPECT_EQ(frame.m_nEncoding, 0);
    EXPECT_STREQ(frame.m_szLanguage, "ENG");
    EXPECT_EQ(frame.m_strText, CString(u"x"));
}

TYPED_TEST(DescribedTextFrameTest, RoundTripsInEveryWrittenEncoding)
{
    for (int nEncoding : {0, 1, 3})
    {
        TypeParam frame;
        frame.m_strDescription = nEncoding == 0 ? CString(u"Caf\u00E9") : CString(u"\u6B4C");
        frame.m_strText = nEncoding == 0 ? CString(u"line 1\r\nline 2 \u00FC")
                                         : CString(u"line 1\r\n\u0100A \U0001F3B5");
        frame.SetTextEncoding(nEncoding);
        EXPECT_EQ(frame.m_nEncoding, nEncoding);

        TypeParam back;
        ParseInto(back, RenderBody(frame));
        EXPECT_EQ(back.m_nEncoding, nEncoding);
        EXPECT_STREQ(back.m_szLanguage, "ENG");
        EXPECT_EQ(back.m_strDescription, frame.m_strDescription) << nEncoding;
        EXPECT_EQ(back.m_strText, frame.m_strText) << nEncoding;
    }
}

TYPED_TEST(DescribedTextFrameTest, Utf16BytesAreExact)
{
    TypeParam frame;
    frame.m_strDescription = u"D";
    frame.m_strText = u"A\u0100";
    frame.SetTextEncoding(1);
    // The zero high byte of "A" and the zero low byte of U+0100 are no terminator.
    const Bytes body = Join({{0x01}, Text("ENG"), Utf16(u"D"), {0, 0}, Utf16(u"A\u0100"), {0, 0}});
    EXPECT_EQ(RenderBody(frame), body);
    TypeParam back;
    ParseInto(back, body);
    EXPECT_EQ(back.m_strText, CString(u"A\u0100"));
}

TYPED_TEST(DescribedTextFrameTest, BigEndianIsReadAndWrittenAsUtf16)
{
    auto pFrame = ReadBody<TypeParam>(
        IdOf<TypeParam>(), Join({{0x02}, Text("eng"), {0x00, 'A', 0, 0, 0x04, 0x10, 0, 0}}));
    EXPECT_EQ(pFrame->m_strDescription, CString(u"A"));
    EXPECT_EQ(pFrame->m_strText, CString(u"\u0410"));
    // Encoding 2 is never written; rendering keeps the text in UTF-16 with its mark.
    EXPECT_EQ(RenderBody(*pFrame),
              Join({{0x01}, Text("eng"), Utf16(u"A"), {0, 0}, Utf16(u"\u0410"), {0, 0}}));
}

TYPED_TEST(DescribedTextFrameTest, FurtherStringsAreIgnored)
{
    auto pFrame = ReadBody<TypeParam>(
        IdOf<TypeParam>(), Join({{0x00}, Text("eng"), Text("d"), {0}, Text("t"), {0}, Text("x")}));
    EXPECT_EQ(pFrame->m_strDescription, CString(u"d"));
    EXPECT_EQ(pFrame->m_strText, CString(u"t"));
}

TYPED_TEST(DescribedTextFrameTest, ZeroLanguageIsWrittenBackAsZeroBytes)
{
    const Bytes body = Join({{0x00}, {0, 0, 0}, Text("d"), {0}, Text("t"), {0}});
    auto pFrame = ReadBody<TypeParam>(IdOf<TypeParam>(), body);
    EXPECT_STREQ(pFrame->m_szLanguage, "");
    EXPECT_EQ(RenderBody(*pFrame), body);

    // A short language is read up to its zero byte and padded again.
    ParseInto(*pFrame, Join({{0x00}, {'d', 'e', 0}, Text("d"), {0}, Text("t"), {0}}));
    EXPECT_STREQ(pFrame->m_szLanguage, "de");
    EXPECT_EQ(RenderBody(*pFrame), Join({{0x00}, {'d', 'e', 0}, Text("d"), {0}, Text("t"), {0}}));
}

TYPED_TEST(DescribedTextFrameTest, CloneCopiesContentAndOnlyAWholeLanguage)
{
    auto pFrame = ReadFrame<TypeParam>(
        FrameOf(IdOf<TypeParam>(), Join({{0x03}, Text("fra"), Text("d"), {0}, Text("t"), {0}}), 4,
                0x20, 0x00),
        4);
    ASSERT_TRUE(pFrame->m_pHeader->m_bFileAlterPreservation);
    auto pClone = pFrame->Clone();
    EXPECT_TRUE(IsFreshHeader(*pClone, IdOf<TypeParam>()));
    auto& clone = dynamic_cast<TypeParam&>(*pClone);
    EXPECT_EQ(clone.m_nEncoding, 3);
    EXPECT_STREQ(clone.m_szLanguage, "fra");
    EXPECT_EQ(clone.m_strDescription, CString(u"d"));
    EXPECT_EQ(clone.m_strText, CString(u"t"));

    for (const char* szLanguage : {"", "de"})
    {
        std::strcpy(pFrame->m_szLanguage, szLanguage);
        auto pOther = pFrame->Clone();
        EXPECT_STREQ(dynamic_cast<TypeParam&>(*pOther).m_szLanguage, "ENG");
    }
}

TEST(CommentsFrameTest, RunTimeClassNames)
{
    EXPECT_STREQ(CCommentsFrame().GetRuntimeClassName(), "CCommentsFrame");
    EXPECT_STREQ(CUnsynchronizedLyricsFrame().GetRuntimeClassName(), "CUnsynchronizedLyricsFrame");
    EXPECT_STREQ(CTermOfUseFrame().GetRuntimeClassName(), "CTermOfUseFrame");
}

TEST(TermOfUseFrameTest, NewFrameHasTheDefaults)
{
    CTermOfUseFrame frame;
    EXPECT_STREQ(frame.GetID(), "USER");
    EXPECT_EQ(frame.m_pHeader->m_nVersion, 4);
    EXPECT_EQ(frame.m_nEncoding, 0);
    EXPECT_STREQ(frame.m_szLanguage, "ENG");
    EXPECT_TRUE(frame.m_strText.IsEmpty());
    EXPECT_EQ(RenderBody(frame), (Bytes{0x00, 'E', 'N', 'G', 0x00}));
}

TEST(TermOfUseFrameTest, TermsRunToTheEndAndAreWrittenWithTerminator)
{
    auto pFrame = ReadBody<CTermOfUseFrame>("USER", Join({{0x00}, Text("eng"), Text("Terms")}));
    EXPECT_STREQ(pFrame->m_szLanguage, "eng");
    EXPECT_EQ(pFrame->GetText(), CString(u"Terms"));
    EXPECT_EQ(RenderBody(*pFrame), Join({{0x00}, Text("eng"), Text("Terms"), {0x00}}));

    // Four bytes: language, no terms. Fewer: nothing changes.
    ParseInto(*pFrame, {0x01, 'd', 'e', 'u'});
    EXPECT_EQ(pFrame->m_nEncoding, 1);
    EXPECT_STREQ(pFrame->m_szLanguage, "deu");
    EXPECT_TRUE(pFrame->m_strText.IsEmpty());
    pFrame->m_strText = u"x";
    ParseInto(*pFrame, {0x00, 'f', 'r'});
    EXPECT_STREQ(pFrame->m_szLanguage, "deu");
    EXPECT_EQ(pFrame->m_strText, CString(u"x"));
}

TEST(TermOfUseFrameTest, RoundTripsInEveryWrittenEncoding)
{
    for (int nEncoding : {0, 1, 3})
    {
        CTermOfUseFrame frame;
        frame.m_strText = nEncoding == 0 ? CString(u"\u00A9 all rights")
                                         : CString(u"\u00A9 \u8457\u4F5C\u6A29 \U0001F3B5");
        frame.SetTextEncoding(nEncoding);
        CTermOfUseFrame back;
        ParseInto(back, RenderBody(frame));
        EXPECT_EQ(back.m_nEncoding, nEncoding);
        EXPECT_EQ(back.m_strText, frame.m_strText) << nEncoding;
    }
}

TEST(TermOfUseFrameTest, ZeroLanguageAndClone)
{
    const Bytes body = Join({{0x00}, {0, 0, 0}, Text("t"), {0}});
    auto pFrame = ReadBody<CTermOfUseFrame>("USER", body);
    EXPECT_EQ(RenderBody(*pFrame), body);
    auto pClone = pFrame->Clone();
    EXPECT_TRUE(IsFreshHeader(*pClone, "USER"));
    const auto& clone = dynamic_cast<const CTermOfUseFrame&>(*pClone);
    EXPECT_STREQ(clone.m_szLanguage, "ENG");
    EXPECT_EQ(clone.m_strText, CString(u"t"));

    std::strcpy(pFrame->m_szLanguage, "nld");
    pFrame->m_nEncoding = 1;
    auto pSecond = pFrame->Clone();
    EXPECT_STREQ(dynamic_cast<const CTermOfUseFrame&>(*pSecond).m_szLanguage, "nld");
    EXPECT_EQ(dynamic_cast<const CTermOfUseFrame&>(*pSecond).m_nEncoding, 1);
}
