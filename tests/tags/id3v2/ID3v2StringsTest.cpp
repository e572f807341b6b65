#include "tags/id3v2/ID3v2Strings.h"

#include "tags/file/RenderBuffer.h"

#include <gtest/gtest.h>

#include <vector>

using Tags::_SPLITINFO;
using Tags::CRenderBuffer;
using namespace Tags::ID3v2Tag;

namespace
{

using Bytes = std::vector<BYTE>;

CString Decode(const Bytes& bytes, int nEncoding)
{
    CString str(u"stale");
    DecodeString(bytes.data(), static_cast<UINT>(bytes.size()), str, nEncoding);
    return str;
}

Bytes Encode(const CString& str, int nEncoding)
{
    CRenderBuffer buffer;
    EncodeString(buffer, str, nEncoding);
    return buffer.GetBytes();
}

std::vector<Bytes> Split(const Bytes& bytes, UINT nTerminator, UINT nAlignment)
{
    std::vector<_SPLITINFO> pieces(3); // emptied by the call
    SplitStrings(bytes.data(), static_cast<UINT>(bytes.size()), nTerminator, nAlignment, pieces);
    std::vector<Bytes> result;
    for (const _SPLITINFO& piece : pieces)
    {
        EXPECT_EQ(piece.nLength == 0, piece.pData == nullptr);
        result.emplace_back(piece.pData.get(), piece.pData.get() + piece.nLength);
    }
    return result;
}

} // namespace

TEST(ID3v2Strings, CharSizeIsOneForSingleByteEncodingsAndTwoOtherwise)
{
    EXPECT_EQ(GetCharSize(0), 1U);
    EXPECT_EQ(GetCharSize(3), 1U);
    EXPECT_EQ(GetCharSize(1), 2U);
    EXPECT_EQ(GetCharSize(2), 2U);
    EXPECT_EQ(GetCharSize(7), 2U);
}

TEST(ID3v2Strings, DecodeAnsiDropsOneTrailingZeroAndUsesTheAnsiCodePage)
{
    EXPECT_EQ(Decode({'R', 'o', 'c', 'k', 0}, 0), CString(u"Rock"));
    EXPECT_EQ(Decode({'C', 'a', 'f', 0xE9}, 0), CString(u"Caf\u00E9"));
    EXPECT_EQ(Decode({0x80}, 0), CString(u"\u20AC"));
    // Nothing after an embedded zero survives.
    EXPECT_EQ(Decode({'A', 0, 'B', 0}, 0), CString(u"A"));
    EXPECT_EQ(Decode({}, 0), CString());
    CString str(u"stale");
    DecodeString(nullptr, 5, str, 0);
    EXPECT_TRUE(str.IsEmpty());
}

TEST(ID3v2Strings, DecodeUtf8)
{
    EXPECT_EQ(Decode({0xD0, 0x90, 0xE2, 0x82, 0xAC, 0}, 3), CString(u"\u0410\u20AC"));
    EXPECT_EQ(Decode({0xF0, 0x9F, 0x8E, 0xB5}, 3), CString(u"\U0001F3B5"));
}

TEST(ID3v2Strings, DecodeUtf16HonoursBothByteOrderMarks)
{
    EXPECT_EQ(Decode({0xFF, 0xFE, 0x41, 0x00, 0x10, 0x04}, 1), CString(u"A\u0410"));
    EXPECT_EQ(Decode({0x41, 0x00, 0x10, 0x04}, 1), CString(u"A\u0410"));
    EXPECT_EQ(Decode({0xFE, 0xFF, 0x00, 0x41, 0x04, 0x10}, 1), CString(u"A\u0410"));
    // The result ends at the first zero character; an odd last byte is a character of its own.
    EXPECT_EQ(Decode({0xFF, 0xFE, 0x41, 0x00, 0x00, 0x00, 0x42, 0x00}, 1), CString(u"A"));
    EXPECT_EQ(Decode({0xFF, 0xFE, 0x41, 0x00, 0x42}, 1), CString(u"AB"));
    EXPECT_EQ(Decode({0xFF, 0xFE}, 1), CString());
}

TEST(ID3v2Strings, DecodeUtf16BigEndianSwapsPairs)
{
    EXPECT_EQ(Decode({0x00, 0x41, 0x00, 0x42}, 2), CString(u"AB"));
    EXPECT_EQ(Decode({0x04, 0x10, 0x04, 0x20}, 2), CString(u"\u0410\u0420"));
    // FF FE is not a mark here but the character U+FFFE.
    EXPECT_EQ(Decode({0xFF, 0xFE, 0x00, 0x41}, 2), CString(u"\uFFFEA"));
}

TEST(ID3v2Strings, UnknownEncodingDecodesEmpty)
{
    EXPECT_EQ(Decode({'A', 'B'}, 4), CString());
    EXPECT_EQ(Decode({'A', 'B'}, -1), CString());
}

TEST(ID3v2Strings, DecodeTerminatedStringCountsTheTerminator)
{
    const Bytes ansi{'a', 'b', 0, 'c'};
    CString str;
    EXPECT_EQ(DecodeTerminatedString(ansi.data(), 4, str, 0), 3U);
    EXPECT_EQ(str, CString(u"ab"));
    EXPECT_EQ(DecodeTerminatedString(ansi.data() + 3, 1, str, 0), 1U);
    EXPECT_EQ(str, CString(u"c"));

    // UTF-16 terminators are found only at even offsets: 41 00 | 00 42 is "A" then U+4200.
    const Bytes wide{0xFF, 0xFE, 0x41, 0x00, 0x00, 0x42, 0x00, 0x00, 0x43, 0x00};
    EXPECT_EQ(DecodeTerminatedString(wide.data(), 10, str, 1), 8U);
    EXPECT_EQ(str, CString(u"A\u4200"));

    // No terminator: everything is consumed, an odd byte included.
    const Bytes open{0x41, 0x00, 0x42};
    EXPECT_EQ(DecodeTerminatedString(open.data(), 3, str, 1), 3U);
    EXPECT_EQ(str, CString(u"AB"));

    EXPECT_EQ(DecodeTerminatedString(nullptr, 0, str, 0), 0U);
    EXPECT_TRUE(str.IsEmpty());
}

TEST(ID3v2Strings, SplitStringsOnSingleZeros)
{
    const std::vector<Bytes> pieces = Split({'R', 'o', 0, 'P', 0, 0, 'J'}, 1, 1);
    ASSERT_EQ(pieces.size(), 4U);
    EXPECT_EQ(pieces[0], (Bytes{'R', 'o'}));
    EXPECT_EQ(pieces[1], (Bytes{'P'}));
    EXPECT_EQ(pieces[2], Bytes{});
    EXPECT_EQ(pieces[3], (Bytes{'J'}));

    // A terminator at the end leaves an empty last piece; a lone terminator two empty ones.
    EXPECT_EQ(Split({'A', 0}, 1, 1), (std::vector<Bytes>{{'A'}, {}}));
    EXPECT_EQ(Split({0}, 1, 1), (std::vector<Bytes>{{}, {}}));
}

TEST(ID3v2Strings, SplitStringsFindsUtf16TerminatorsOnlyAtAlignedOffsets)
{
    // "A", then U+4200 (00 42) whose zero byte follows A's zero high byte, then "C".
    const std::vector<Bytes> pieces = Split({0x41, 0x00, 0x00, 0x42, 0x00, 0x00, 0x43, 0x00}, 2, 2);
    ASSERT_EQ(pieces.size(), 2U);
    EXPECT_EQ(pieces[0], (Bytes{0x41, 0x00, 0x00, 0x42}));
    EXPECT_EQ(pieces[1], (Bytes{0x43, 0x00}));

    // Alignment counts from the start of each piece, not of the input.
    EXPECT_EQ(Split({0x41, 0x00, 0x00, 0x00, 0x42, 0x00, 0x00, 0x00}, 2, 2),
              (std::vector<Bytes>{{0x41, 0x00}, {0x42, 0x00}, {}}));
    // Without alignment the same bytes split one byte early.
    EXPECT_EQ(Split({0x41, 0x00, 0x00, 0x42}, 2, 1), (std::vector<Bytes>{{0x41}, {0x42}}));
}

TEST(ID3v2Strings, SplitStringsDropsAPartialTerminatorAtTheEnd)
{
    EXPECT_EQ(Split({0x41, 0x00, 0x42, 0x00, 0x00}, 2, 2),
              (std::vector<Bytes>{{0x41, 0x00, 0x42, 0x00}}));
    EXPECT_EQ(Split({0x41, 0x42, 0x00}, 2, 2), (std::vector<Bytes>{{0x41, 0x42}}));
}

TEST(ID3v2Strings, SplitStringsOfTooFewBytesHasNoPieces)
{
    EXPECT_TRUE(Split({}, 1, 1).empty());
    EXPECT_TRUE(Split({0x41}, 2, 2).empty());
    EXPECT_EQ(Split({0x41, 0x00}, 2, 2), (std::vector<Bytes>{{0x41, 0x00}}));
}

TEST(ID3v2Strings, EncodeEmptyStringIsTheTerminatorOnly)
{
    EXPECT_EQ(Encode(CString(), 0), Bytes{0});
    EXPECT_EQ(Encode(CString(), 3), Bytes{0});
    // UTF-16 with a byte order mark keeps the mark even when empty.
    EXPECT_EQ(Encode(CString(), 1), (Bytes{0xFF, 0xFE, 0, 0}));
    EXPECT_EQ(Encode(CString(), 2), (Bytes{0, 0}));
    EXPECT_EQ(Encode(CString(), 9), (Bytes{0, 0}));
}

TEST(ID3v2Strings, EncodeInEachWrittenEncoding)
{
    EXPECT_EQ(Encode(CString(u"Caf\u00E9"), 0), (Bytes{'C', 'a', 'f', 0xE9, 0}));
    // Characters the ANSI code page lacks become "?".
    EXPECT_EQ(Encode(CString(u"\u0410"), 0), (Bytes{'?', 0}));
    EXPECT_EQ(Encode(CString(u"\u0410"), 3), (Bytes{0xD0, 0x90, 0}));
    EXPECT_EQ(Encode(CString(u"A\u0410"), 1), (Bytes{0xFF, 0xFE, 0x41, 0x00, 0x10, 0x04, 0, 0}));
    // A text that carries its own mark gets no second one.
    EXPECT_EQ(Encode(CString(u"\uFEFFA"), 1), (Bytes{0xFF, 0xFE, 0x41, 0x00, 0, 0}));
    // Encoding 2 is never written, nor is any unknown one.
    EXPECT_TRUE(Encode(CString(u"A"), 2).empty());
    EXPECT_TRUE(Encode(CString(u"A"), 5).empty());
}

TEST(ID3v2Strings, EncodeAppendsAfterExistingBytes)
{
    CRenderBuffer buffer;
    buffer.AppendByte(0x01);
    EncodeString(buffer, CString(u"A"), 1);
    EncodeString(buffer, CString(u"B"), 0);
    EXPECT_EQ(buffer.GetBytes(), (Bytes{0x01, 0xFF, 0xFE, 0x41, 0x00, 0x00, 0x00, 'B', 0}));
}

TEST(ID3v2Strings, EncodedStringsDecodeBack)
{
    const CString texts[] = {CString(u"Rock"), CString(u"\u00C0 la carte"),
                             CString(u"\u041C\u0443\u0437\u044B\u043A\u0430 \U0001F3B5")};
    for (int nEncoding : {0, 1, 3})
    {
        for (const CString& str : texts)
        {
            if (nEncoding == 0 && str.GetAt(0) == u'\u041C')
            {
                continue; // not representable in the ANSI code page
            }
            const Bytes bytes = Encode(str, nEncoding);
            CString decoded;
            EXPECT_EQ(DecodeTerminatedString(bytes.data(), static_cast<UINT>(bytes.size()), decoded,
                                             nEncoding),
                      bytes.size());
            EXPECT_EQ(decoded, str) << "encoding " << nEncoding;
        }
    }
}
