#include "tags/id3v2/frames/TextFrame.h"

#include "FrameTestBytes.h"
#include "tags/file/RenderBuffer.h"
#include "tags/id3v2/ID3v2FrameHeader.h"
#include "tags/id3v2/frames/UserTextFrame.h"

#include <gtest/gtest.h>

#include <vector>

using Tags::CRenderBuffer;
using namespace Tags::ID3v2Tag;

namespace
{

using FrameTest::Bytes;
using FrameTest::ReadFrame;
using Values = std::vector<CString>;

Values ReadValues(const Bytes& body)
{
    return ReadFrame<CTextFrame>("TIT2", body)->m_values;
}

Bytes RenderBody(const CFrame& frame)
{
    CRenderBuffer buffer;
    frame.Render(buffer);
    return buffer.GetBytes();
}

} // namespace

TEST(TextFrame, ReadsAnsiValuesAndWritesEachWithItsTerminator)
{
    auto pFrame = ReadFrame<CTextFrame>("TCON", {0x00, 'R', 'o', 'c', 'k', 0x00, 'P', 'o', 'p'});
    EXPECT_EQ(pFrame->m_nEncoding, 0);
    EXPECT_EQ(pFrame->m_values, (Values{u"Rock", u"Pop"}));
    EXPECT_EQ(pFrame->GetText(), CString(u"Rock; Pop"));
    EXPECT_EQ(RenderBody(*pFrame), (Bytes{0x00, 'R', 'o', 'c', 'k', 0x00, 'P', 'o', 'p', 0x00}));
}

TEST(TextFrame, KeepsEmptyValuesBetweenTerminators)
{
    EXPECT_EQ(ReadValues({0x00, 'A', 0x00, 0x00, 'B'}), (Values{u"A", u"", u"B"}));
    // Trailing terminators do not make values.
    EXPECT_EQ(ReadValues({0x00, 'A', 0x00, 0x00, 0x00}), (Values{u"A"}));
}

TEST(TextFrame, ReadsUtf16ValuesWithTheirMarks)
{
    auto pFrame = ReadFrame<CTextFrame>(
        "TPE1", {0x01, 0xFF, 0xFE, 0x41, 0x00, 0x00, 0x00, 0xFF, 0xFE, 0x42, 0x00});
    EXPECT_EQ(pFrame->m_values, (Values{u"A", u"B"}));
    EXPECT_EQ(RenderBody(*pFrame), (Bytes{0x01, 0xFF, 0xFE, 0x41, 0x00, 0x00, 0x00, 0xFF, 0xFE,
                                          0x42, 0x00, 0x00, 0x00}));

    // The dropped zero high byte of the last character comes back.
    EXPECT_EQ(ReadValues({0x01, 0xFF, 0xFE, 0x41, 0x00, 0x42, 0x00, 0x00, 0x00}), (Values{u"AB"}));
}

TEST(TextFrame, ReadsUtf16WithBigEndianMark)
{
    EXPECT_EQ(
        ReadValues({0x01, 0xFE, 0xFF, 0x04, 0x10, 0x00, 0x41, 0x00, 0x00, 0xFF, 0xFE, 0x42, 0x00}),
        (Values{u"\u0410A", u"B"}));
}

TEST(TextFrame, ReadsUtf16BigEndian)
{
    EXPECT_EQ(ReadValues({0x02, 0x00, 0x41, 0x00, 0x42}), (Values{u"AB"}));
    EXPECT_EQ(ReadValues({0x02, 0x04, 0x10, 0x04, 0x20}), (Values{u"\u0410\u0420"}));
    // A last character whose low byte is zero survives the trailing-zero rule.
    EXPECT_EQ(ReadValues({0x02, 0x00, 0x41, 0x01, 0x00, 0x00, 0x00}), (Values{u"A\u0100"}));
}

TEST(TextFrame, EncodingByteAloneHasNoValuesAndRendersOneByte)
{
    auto pFrame = ReadFrame<CTextFrame>("TALB", {0x03});
    EXPECT_TRUE(pFrame->m_values.empty());
    EXPECT_EQ(pFrame->GetText(), CString());
    EXPECT_EQ(RenderBody(*pFrame), Bytes{0x00});

    CTextFrame created("TALB", 4);
    EXPECT_EQ(RenderBody(created), Bytes{0x00});
}

TEST(TextFrame, ParseOfAShortBodyClearsTheValuesAndKeepsTheEncoding)
{
    auto pFrame = ReadFrame<CTextFrame>("TALB", {0x03, 'x'});
    const BYTE one[] = {0x00};
    pFrame->Parse(one, 1);
    EXPECT_TRUE(pFrame->m_values.empty());
    EXPECT_EQ(pFrame->m_nEncoding, 3);
}

TEST(TextFrame, OddUtf16BodyIsNeverReadBeyondItsEnd)
{
    // One byte of text is less than one character: nothing.
    EXPECT_TRUE(ReadValues({0x01, 0x41}).empty());
    // Three bytes: the mark and a lone byte, which counts as a character.
    EXPECT_EQ(ReadValues({0x01, 0xFF, 0xFE, 0x41}), (Values{u"A"}));
}

TEST(TextFrame, UnknownEncodingReadsEmptyValues)
{
    auto pFrame = ReadFrame<CTextFrame>("TIT2", {0x07, 'A', 0x00, 0x00, 0x00, 'B', 0x00});
    EXPECT_EQ(pFrame->m_nEncoding, 7);
    EXPECT_EQ(pFrame->m_values, (Values{u"", u""}));
}

TEST(TextFrame, ReadsTheBodyFromTheDataOffset)
{
    // 2.2: six-byte header.
    auto pV22 = ReadFrame<CTextFrame>("TT2", {0x00, 'X'}, 2);
    EXPECT_STREQ(pV22->GetID(), "TT2");
    EXPECT_EQ(pV22->m_values, (Values{u"X"}));
    // 2.3.
    EXPECT_EQ(ReadFrame<CTextFrame>("TIT2", {0x00, 'Y'}, 3)->m_values, (Values{u"Y"}));
    // 2.4 with a data length indicator: four bytes between header and text.
    auto pIndicated = ReadFrame<CTextFrame>("TIT2", {0x00, 0x00, 0x00, 0x02, 0x00, 'Z'}, 4, 0x01);
    EXPECT_EQ(pIndicated->m_values, (Values{u"Z"}));
}

TEST(TextFrame, RoundTripsInEveryWrittenEncoding)
{
    const Values latin{u"Caf\u00E9", u"", u"\u00C9t\u00E9 \u20AC"};
    const Values any{u"\u041C\u0443\u0437\u044B\u043A\u0430", u"", u"\U0001F3B5 x"};
    for (int nEncoding : {0, 1, 3})
    {
        const Values& values = nEncoding == 0 ? latin : any;
        CTextFrame frame("TIT2", 4);
        frame.SetValues(values);
        frame.SetTextEncoding(nEncoding);
        const Bytes body = RenderBody(frame);
        ASSERT_FALSE(body.empty());
        EXPECT_EQ(body[0], nEncoding);
        auto pRead = ReadFrame<CTextFrame>("TIT2", body);
        EXPECT_EQ(pRead->m_nEncoding, nEncoding);
        EXPECT_EQ(pRead->m_values, values) << "encoding " << nEncoding;
        EXPECT_EQ(RenderBody(*pRead), body);
    }
}

TEST(TextFrame, BigEndianTextIsRewrittenInTheWriteEncoding)
{
    auto pFrame = ReadFrame<CTextFrame>("TIT2", {0x02, 0x04, 0x10, 0x00, 0x00, 0x00, 0x41});
    EXPECT_EQ(pFrame->m_values, (Values{u"\u0410", u"A"}));
    pFrame->SetTextEncoding(1);
    const Bytes body = RenderBody(*pFrame);
    EXPECT_EQ(body, (Bytes{0x01, 0xFF, 0xFE, 0x10, 0x04, 0x00, 0x00, 0xFF, 0xFE, 0x41, 0x00, 0x00,
                           0x00}));
    EXPECT_EQ(ReadFrame<CTextFrame>("TIT2", body)->m_values, (Values{u"\u0410", u"A"}));
}

TEST(TextFrame, Utf8IsWrittenWhateverTheHeaderVersion)
{
    CTextFrame frame("TIT2", 3);
    frame.SetValues({u"\u00E9"});
    frame.SetTextEncoding(3);
    EXPECT_EQ(RenderBody(frame), (Bytes{0x03, 0xC3, 0xA9, 0x00}));
}

TEST(TextFrame, CloneHasAFreshHeaderAndItsOwnValues)
{
    auto pFrame = ReadFrame<CTextFrame>("TPE1", {0x01, 0xFF, 0xFE, 0x41, 0x00}, 3);
    pFrame->m_pHeader->m_bFrameReadOnly = TRUE;
    std::unique_ptr<CFrame> pClone = pFrame->Clone();
    ASSERT_NE(pClone, nullptr);
    EXPECT_STREQ(pClone->GetRuntimeClassName(), "CTextFrame");
    EXPECT_STREQ(pClone->GetID(), "TPE1");
    EXPECT_EQ(pClone->m_pHeader->m_nVersion, 4);
    EXPECT_EQ(pClone->m_pHeader->m_nSize, 0U);
    EXPECT_EQ(pClone->m_pHeader->GetFlags(4), 0);
    auto* pText = dynamic_cast<CTextFrame*>(pClone.get());
    ASSERT_NE(pText, nullptr);
    EXPECT_EQ(pText->m_values, (Values{u"A"}));
    EXPECT_EQ(pText->m_nEncoding, 1);

    pFrame->SetValues({u"changed"});
    EXPECT_EQ(pText->m_values, (Values{u"A"}));
}

TEST(TextFrame, NewFrameHasTheGivenIDAndVersion)
{
    CTextFrame frame("TYER", 3);
    EXPECT_STREQ(frame.GetID(), "TYER");
    EXPECT_EQ(frame.m_pHeader->m_nVersion, 3);
    EXPECT_TRUE(frame.m_values.empty());
    EXPECT_STREQ(frame.GetRuntimeClassName(), "CTextFrame");
    frame.SetID("TDRC");
    EXPECT_STREQ(frame.GetID(), "TDRC");
}

TEST(UserTextFrame, ShowsTheBracketedDescriptionAndTheText)
{
    auto pFrame =
        ReadFrame<CUserTextFrame>("TXXX", {0x00, 'M', 'o', 'o', 'd', 0x00, 'C', 'a', 'l', 'm'});
    EXPECT_EQ(pFrame->GetDescription(), CString(u"Mood"));
    EXPECT_EQ(pFrame->GetText(), CString(u"[Mood] Calm"));

    pFrame->SetValues({u"Mood"});
    EXPECT_EQ(pFrame->GetText(), CString(u"[Mood] "));
    pFrame->SetValues({u"Mood", u"Calm", u"Warm"});
    EXPECT_EQ(pFrame->GetText(), CString(u"[Mood] Calm; Warm"));

    CUserTextFrame empty;
    EXPECT_EQ(empty.GetDescription(), CString());
    EXPECT_EQ(empty.GetText(), CString(u"[] "));
}

TEST(UserTextFrame, NewFrameIsTXXXVersion4WithoutValues)
{
    CUserTextFrame frame;
    EXPECT_STREQ(frame.GetID(), "TXXX");
    EXPECT_EQ(frame.m_pHeader->m_nVersion, 4);
    EXPECT_TRUE(frame.m_values.empty());
    EXPECT_STREQ(frame.GetRuntimeClassName(), "CUserTextFrame");
}

TEST(UserTextFrame, RoundTripsInEveryWrittenEncoding)
{
    for (int nEncoding : {0, 1, 3})
    {
        CUserTextFrame frame;
        frame.SetValues({u"REPLAYGAIN_TRACK_GAIN", u"-6.5 dB"});
        frame.SetTextEncoding(nEncoding);
        const Bytes body = RenderBody(frame);
        auto pRead = ReadFrame<CUserTextFrame>("TXXX", body);
        EXPECT_EQ(pRead->m_values, frame.m_values) << "encoding " << nEncoding;
        EXPECT_EQ(pRead->GetDescription(), CString(u"REPLAYGAIN_TRACK_GAIN"));
    }
    // Encoding 2 is read only.
    auto pBigEndian = ReadFrame<CUserTextFrame>("TXXX", {0x02, 0x00, 0x44, 0x00, 0x00, 0x00, 0x54});
    EXPECT_EQ(pBigEndian->GetText(), CString(u"[D] T"));
}

TEST(UserTextFrame, CloneStaysAUserTextFrame)
{
    CUserTextFrame frame;
    frame.SetValues({u"Mood", u"Calm"});
    frame.SetTextEncoding(3);
    std::unique_ptr<CFrame> pClone = frame.Clone();
    auto* pUser = dynamic_cast<CUserTextFrame*>(pClone.get());
    ASSERT_NE(pUser, nullptr);
    EXPECT_STREQ(pUser->GetID(), "TXXX");
    EXPECT_EQ(pUser->m_values, frame.m_values);
    EXPECT_EQ(pUser->m_nEncoding, 3);
    EXPECT_EQ(pUser->GetText(), CString(u"[Mood] Calm"));
}
