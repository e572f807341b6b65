// A tag read from a file, rendered and read back holds the same frames: every frame class, the
// written encodings and both written versions; ID3v2.2 tags are written with their later IDs.
#include "ID3v2TagBytes.h"

#include "tags/id3v2/frames/PictureFrame.h"
#include "tags/id3v2/frames/UnknowFrame.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace TagBytes;
using Tags::ID3v2Tag::CPictureFrame;
using Tags::ID3v2Tag::CUnknowFrame;

namespace
{

struct FrameSignature
{
    std::string strID;
    std::string strClass;
    std::string strText;
    Bytes body;
    bool operator==(const FrameSignature&) const = default;
};

std::ostream& operator<<(std::ostream& os, const FrameSignature& s)
{
    return os << s.strID << " " << s.strClass << " \"" << s.strText << "\" (" << s.body.size()
              << " bytes)";
}

std::vector<FrameSignature> Signatures(const CID3v2& tag)
{
    std::vector<FrameSignature> result;
    for (const auto& pFrame : tag.m_frames)
    {
        std::string strClass = pFrame->GetRuntimeClassName();
        // The 2.2 picture is written as, and so read back as, an APIC frame.
        if (strClass == "CPictureFrameV22")
        {
            strClass = "CPictureFrame";
        }
        result.push_back({pFrame->GetID(), strClass, pFrame->GetText().ToUtf8(), Body(*pFrame)});
    }
    return result;
}

std::string Z(std::string_view a, std::string_view b)
{
    return std::string(a) + '\0' + std::string(b);
}

// One frame of every class, text in UTF-8.
Bytes EveryFrameClass(const std::string& strText)
{
    const int v = 4;
    return Frame("TIT2", Text(3, strText), v) + Frame("TCON", Text(3, Z("Rock", "Pop")), v) +
           Frame("TXXX", Text(3, Z("desc", strText)), v) +
           Frame("COMM", Text(3, "eng" + Z("d", strText)), v) +
           Frame("USLT", Text(3, "deu" + Z(strText, "la la")), v) +
           Frame("USER", Text(3, "eng" + strText), v) +
           Frame("APIC", Text(3, Z("image/png", "\x03" + strText)) + Bytes{0, 0x89, 'P', 'N', 'G'},
                 v) +
           Frame("WOAR", Fixtures::BytesOf("http://example.com/a"), v) +
           Frame("WXXX", Text(3, Z(strText, "http://example.com/b")), v) +
           Frame("POPM", Fixtures::BytesOf(Z("me@example.com", "\xC8")) + Bytes{0, 0, 1, 0}, v) +
           Frame("PCNT", Bytes{0, 0, 0, 42}, v) +
           Frame("PRIV", Fixtures::BytesOf(Z("owner", "")) + Bytes{1, 2, 0, 255}, v) +
           Frame("GEOB", Bytes{0, 'a', 0, 'b', 0, 7, 7}, v);
}

class ID3v2RoundTripTest : public ::testing::TestWithParam<std::tuple<int, int>>
{
};

} // namespace

TEST_P(ID3v2RoundTripTest, EveryFrameClass)
{
    const auto [nVersion, nEncoding] = GetParam();
    const std::string strText =
        nEncoding == 0 ? "Caf\xC3\xA9" : "\xD0\x9F\xD1\x80\xD0\xB8 \xE2\x99\xAB";
    CTagFile file;
    auto pTag = file.Read(Tag(4, EveryFrameClass(strText), 64));
    ASSERT_EQ(13u, pTag->m_frames.size());
    EXPECT_TRUE(pTag->m_bValid);
    EXPECT_EQ(strText, pTag->GetTitle().ToUtf8());
    EXPECT_EQ(strText, pTag->GetComment().ToUtf8());
    EXPECT_EQ("Rock; Pop", pTag->GetGenre().ToUtf8());

    pTag->m_pHeader->m_nVersion = nVersion;
    pTag->m_nTextEncoding = nEncoding;
    const Bytes rendered = Render(*pTag);
    EXPECT_EQ(nVersion, rendered[3]);
    auto pAgain = Reparse(rendered);
    EXPECT_TRUE(pAgain->m_bValid);
    EXPECT_EQ(Signatures(*pTag), Signatures(*pAgain));
    EXPECT_EQ(strText, pAgain->GetTitle().ToUtf8());

    // Text frames were written in the encoding asked for.
    const auto* pTitle = dynamic_cast<const Tags::ID3v2Tag::CTextFrame*>(pAgain->FindFrame("TIT2"));
    ASSERT_NE(nullptr, pTitle);
    EXPECT_EQ(nEncoding, pTitle->m_nEncoding);

    // The frames read back render to the same bytes.
    pAgain->m_nTextEncoding = nEncoding;
    EXPECT_EQ(rendered, Render(*pAgain));
}

INSTANTIATE_TEST_SUITE_P(VersionsAndEncodings, ID3v2RoundTripTest,
                         ::testing::Combine(::testing::Values(3, 4), ::testing::Values(0, 1, 3)),
                         [](const auto& param)
                         {
                             return "V2" + std::to_string(std::get<0>(param.param)) + "Encoding" +
                                    std::to_string(std::get<1>(param.param));
                         });

TEST(ID3v2RoundTripTest22, Version22TagIsWrittenWithItsLaterIDs)
{
    const int v = 2;
    const Bytes body =
        TextFrame("TT2", "Title", v) + Frame("COM", Text(0, "eng" + Z("", "Note")), v) +
        Frame("PIC", Text(0, "PNG\x03" + Z("cover", "")) + Bytes{0x89, 'P', 'N', 'G'}, v) +
        Frame("GEO", Bytes{0, 'x', 0, 1, 2}, v) + TextFrame("TDA", "0612", v) +
        TextFrame("TCO", "(17)", v) + TextFrame("TYE", "1999", v) + TextFrame("TCP", "1", v) +
        TextFrame("TXY", "?", v);
    CTagFile file;
    auto pTag = file.Read(Tag(2, body));
    ASSERT_EQ((std::vector<std::string>{"TIT2", "COMM", "APIC", "GEOB", "TDA", "TCON", "TDRC",
                                        "TCMP", "TXY"}),
              IDs(*pTag));
    EXPECT_EQ(CString(u"Title"), pTag->GetTitle());
    EXPECT_EQ(CString(u"Note"), pTag->GetComment());
    EXPECT_EQ(CString(u"Rock"), pTag->GetGenre());
    // The year of a 2.2 tag is its TYE, read as TDRC.
    EXPECT_EQ(CString(u"1999"), pTag->GetYear());
    EXPECT_STREQ("CPictureFrameV22", pTag->FindFrame("APIC")->GetRuntimeClassName());

    pTag->m_pHeader->m_nVersion = 3;
    pTag->m_nTextEncoding = 0;
    const Bytes rendered = Render(*pTag);
    // Frames that keep a three-character ID stay in the tag but are not written.
    EXPECT_EQ(9u, pTag->m_frames.size());
    auto pAgain = Reparse(rendered);
    EXPECT_EQ((std::vector<std::string>{"TIT2", "COMM", "APIC", "GEOB", "TCON", "TYER", "TCMP"}),
              IDs(*pAgain));
    const auto* pPicture = dynamic_cast<const CPictureFrame*>(pAgain->FindFrame("APIC"));
    ASSERT_NE(nullptr, pPicture);
    EXPECT_EQ(CString(u"image/png"), pPicture->m_strMimeType);
    EXPECT_EQ(CString(u"cover"), pPicture->m_strDescription);
    EXPECT_EQ(3, pPicture->m_nPictureType);
    EXPECT_EQ((Bytes{0x89, 'P', 'N', 'G'}), pPicture->m_data);
    const auto* pObject = dynamic_cast<const CUnknowFrame*>(pAgain->FindFrame("GEOB"));
    ASSERT_NE(nullptr, pObject);
    EXPECT_EQ((Bytes{0, 'x', 0, 1, 2}),
              Bytes(pObject->m_pData.get(), pObject->m_pData.get() + pObject->m_nDataSize));
    EXPECT_EQ(CString(u"1999"), pAgain->GetYear());
    // No zero byte inside any written ID.
    for (const auto& pFrame : pAgain->m_frames)
    {
        EXPECT_EQ(4u, std::string(pFrame->GetID()).size());
    }
}
