#include "tags/id3v2/ID3v2FrameHeader.h"

#include "tags/file/RenderBuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Tags::CRenderBuffer;
using Tags::ID3v2Tag::CFrameHeader;

namespace
{

using Bytes = std::vector<BYTE>;

CFrameHeader Parse(const Bytes& bytes, int nVersion)
{
    return CFrameHeader(bytes.data(), static_cast<UINT>(bytes.size()), nVersion);
}

Bytes RenderHeader(const CFrameHeader& header)
{
    CRenderBuffer buffer;
    header.Render(buffer);
    return buffer.GetBytes();
}

Bytes RenderExtras(const CFrameHeader& header)
{
    CRenderBuffer buffer;
    header.RenderExtras(buffer);
    return buffer.GetBytes();
}

Bytes Frame23(BYTE nStatus, BYTE nFormat, const Bytes& body)
{
    Bytes bytes = {'A', 'P', 'I', 'C', 0, 0, 0, static_cast<BYTE>(body.size()), nStatus, nFormat};
    for (BYTE b : body)
    {
        bytes.push_back(b);
    }
    return bytes;
}

Bytes Frame24(BYTE nStatus, BYTE nFormat, const Bytes& body)
{
    Bytes bytes = Frame23(nStatus, nFormat, body);
    bytes[7] = static_cast<BYTE>(body.size() & 0x7F);
    bytes[6] = static_cast<BYTE>(body.size() >> 7);
    return bytes;
}

// The extra bytes, header and rendering of a raw frame as a raw holder writes it: the header
// with the size of extras plus data, the extras, the data.
Bytes RenderRawFrame(CFrameHeader header, int nVersion, const Bytes& data)
{
    header.m_nVersion = nVersion;
    CRenderBuffer body;
    header.RenderExtras(body);
    body.Append(data.data(), static_cast<UINT>(data.size()));
    header.m_nSize = body.GetLength();
    CRenderBuffer out;
    header.Render(out);
    out.Append(body.GetData(), body.GetLength());
    return out.GetBytes();
}

} // namespace

TEST(ID3v2FrameHeaderTest, Version22HeaderHasThreeCharacterIdAnd24BitSize)
{
    const CFrameHeader header = Parse({'T', 'T', '2', 0x00, 0x00, 0x05, 'a'}, 2);
    EXPECT_STREQ("TT2", header.m_szID);
    EXPECT_EQ(5u, header.m_nSize);
    EXPECT_EQ(2, header.m_nVersion);
    EXPECT_EQ(6u, header.GetDataOffset());
    EXPECT_EQ(6u, header.GetHeaderSize());
    EXPECT_FALSE(header.IsRawFormat());

    const CFrameHeader large = Parse({'P', 'I', 'C', 0x12, 0x34, 0x56}, 2);
    EXPECT_EQ(0x123456u, large.m_nSize);
    // Versions 0 and 1 are read by the same rules.
    EXPECT_EQ(5u, Parse({'T', 'T', '2', 0x00, 0x00, 0x05}, 0).m_nSize);
}

TEST(ID3v2FrameHeaderTest, Version22ShortInput)
{
    const CFrameHeader idOnly = Parse({'T', 'T', '2', 0x00, 0x00}, 2);
    EXPECT_STREQ("TT2", idOnly.m_szID);
    EXPECT_EQ(0u, idOnly.m_nSize);
    const CFrameHeader nothing = Parse({'T', 'T'}, 2);
    EXPECT_STREQ("", nothing.m_szID);
    EXPECT_EQ(2, nothing.m_nVersion);
}

TEST(ID3v2FrameHeaderTest, Version23SizeIsPlain32Bit)
{
    const CFrameHeader header = Parse({'T', 'I', 'T', '2', 0x00, 0x00, 0x01, 0x2C, 0xE0, 0x00}, 3);
    EXPECT_STREQ("TIT2", header.m_szID);
    EXPECT_EQ(300u, header.m_nSize);
    EXPECT_TRUE(header.m_bTagAlterPreservation);
    EXPECT_TRUE(header.m_bFileAlterPreservation);
    EXPECT_TRUE(header.m_bFrameReadOnly);
    EXPECT_FALSE(header.IsRawFormat());
    EXPECT_EQ(10u, header.GetDataOffset());

    // Bit 7 in a size byte is part of a plain size.
    EXPECT_EQ(0x80808080u, Parse({'T', 'I', 'T', '2', 0x80, 0x80, 0x80, 0x80, 0, 0}, 3).m_nSize);
}

TEST(ID3v2FrameHeaderTest, Version23UndefinedFlagBitsMakeTheHeaderUnusable)
{
    for (WORD nBit :
         {0x0100, 0x0200, 0x0400, 0x0800, 0x1000, 0x0001, 0x0002, 0x0004, 0x0008, 0x0010})
    {
        const CFrameHeader header =
            Parse({'T', 'I', 'T', '2', 0x00, 0x00, 0x00, 0x05,
                   static_cast<BYTE>(0x80 | (nBit >> 8)), static_cast<BYTE>(0x80 | (nBit & 0xFF))},
                  3);
        EXPECT_STREQ("TIT2", header.m_szID) << nBit;
        EXPECT_EQ(0u, header.m_nSize) << nBit;
        EXPECT_FALSE(header.m_bTagAlterPreservation) << nBit;
        EXPECT_FALSE(header.m_bCompression) << nBit;
    }
}

TEST(ID3v2FrameHeaderTest, Version23AndLaterShortInput)
{
    for (int nVersion : {3, 4})
    {
        const CFrameHeader idOnly = Parse({'T', 'I', 'T', '2', 0x00, 0x00, 0x01, 0x2C}, nVersion);
        EXPECT_STREQ("TIT2", idOnly.m_szID);
        EXPECT_EQ(0u, idOnly.m_nSize);
        const CFrameHeader nothing = Parse({'T', 'I', 'T'}, nVersion);
        EXPECT_STREQ("", nothing.m_szID);
        EXPECT_EQ(nVersion, nothing.m_nVersion);
    }
    const CFrameHeader none(static_cast<const BYTE*>(nullptr), 10, 4);
    EXPECT_STREQ("", none.m_szID);
}

TEST(ID3v2FrameHeaderTest, Version24SizeIsSyncSafeIgnoringBit7)
{
    const CFrameHeader header = Parse({'T', 'I', 'T', '2', 0x00, 0x00, 0x02, 0x2C, 0x70, 0x00}, 4);
    EXPECT_EQ(300u, header.m_nSize);
    EXPECT_TRUE(header.m_bTagAlterPreservation);
    EXPECT_TRUE(header.m_bFileAlterPreservation);
    EXPECT_TRUE(header.m_bFrameReadOnly);

    EXPECT_EQ(300u, Parse({'T', 'I', 'T', '2', 0x80, 0x80, 0x82, 0x2C, 0, 0}, 4).m_nSize);
    // Versions above 4 follow the 2.4 rules; undefined 2.4 bits are ignored.
    const CFrameHeader v5 = Parse({'T', 'I', 'T', '2', 0x00, 0x00, 0x02, 0x2C, 0x8F, 0xB0}, 5);
    EXPECT_EQ(300u, v5.m_nSize);
    EXPECT_FALSE(v5.m_bTagAlterPreservation);
    EXPECT_FALSE(v5.IsRawFormat());
}

TEST(ID3v2FrameHeaderTest, Version24UnsynchronisationAndDataLengthIndicator)
{
    const CFrameHeader header = Parse(Frame24(0x00, 0x03, {0x00, 0x00, 0x00, 0x05, 'a', 'b'}), 4);
    EXPECT_TRUE(header.m_bUnsynchronisation);
    EXPECT_TRUE(header.m_bDataLengthIndicator);
    EXPECT_FALSE(header.IsRawFormat());
    EXPECT_EQ(14u, header.GetDataOffset());
    EXPECT_EQ(5u, header.m_nDataLength);
    // The frame is written afresh, so none of this is rendered.
    EXPECT_EQ(0, header.GetRenderFlags());
    EXPECT_TRUE(RenderExtras(header).empty());
}

TEST(ID3v2FrameHeaderTest, Version23CompressionAndEncryptionOffsets)
{
    const CFrameHeader compressed =
        Parse(Frame23(0x00, 0x80, {0x00, 0x00, 0x01, 0x00, 0x78, 0x9C}), 3);
    EXPECT_TRUE(compressed.m_bCompression);
    EXPECT_TRUE(compressed.IsRawFormat());
    EXPECT_EQ(14u, compressed.GetDataOffset());
    EXPECT_EQ(256u, compressed.m_nDataLength);

    // The encryption method byte belongs in front of the data.
    const CFrameHeader encrypted = Parse(Frame23(0x00, 0x40, {0x81, 0x11, 0x22}), 3);
    EXPECT_TRUE(encrypted.m_bEncryption);
    EXPECT_TRUE(encrypted.IsRawFormat());
    EXPECT_EQ(11u, encrypted.GetDataOffset());
    EXPECT_EQ(0x81, encrypted.m_nEncryptionMethod);

    const CFrameHeader all =
        Parse(Frame23(0x00, 0xE0, {0x00, 0x00, 0x00, 0x09, 0x82, 0x90, 0x78, 0x9C}), 3);
    EXPECT_TRUE(all.m_bCompression && all.m_bEncryption && all.m_bGroupingIdentity);
    EXPECT_EQ(16u, all.GetDataOffset());
    EXPECT_EQ(9u, all.m_nDataLength);
    EXPECT_EQ(0x82, all.m_nEncryptionMethod);
    EXPECT_EQ(0x90, all.m_nGroupSymbol);
}

TEST(ID3v2FrameHeaderTest, Version24ExtraBytesComeInFlagOrder)
{
    const CFrameHeader all =
        Parse(Frame24(0x00, 0x4D, {0x90, 0x82, 0x00, 0x00, 0x02, 0x2C, 0x78, 0x9C}), 4);
    EXPECT_TRUE(all.m_bGroupingIdentity && all.m_bCompression && all.m_bEncryption);
    EXPECT_TRUE(all.m_bDataLengthIndicator);
    EXPECT_EQ(16u, all.GetDataOffset());
    EXPECT_EQ(0x90, all.m_nGroupSymbol);
    EXPECT_EQ(0x82, all.m_nEncryptionMethod);
    EXPECT_EQ(300u, all.m_nDataLength);

    const CFrameHeader grouped = Parse(Frame24(0x00, 0x40, {0x07, 'a'}), 4);
    EXPECT_EQ(11u, grouped.GetDataOffset());
    EXPECT_EQ(0x07, grouped.m_nGroupSymbol);

    // Compression requires a data length; a frame that leaves out the flag still has the bytes.
    const CFrameHeader noIndicator = Parse(Frame24(0x00, 0x08, {0x00, 0x00, 0x00, 0x20, 0x78}), 4);
    EXPECT_FALSE(noIndicator.m_bDataLengthIndicator);
    EXPECT_EQ(14u, noIndicator.GetDataOffset());
    EXPECT_EQ(32u, noIndicator.m_nDataLength);
}

TEST(ID3v2FrameHeaderTest, ExtraBytesBeyondTheFrameAreNotRead)
{
    // The frame declares 2 bytes, fewer than its 4-byte decompressed size; the bytes after it
    // belong to the next frame.
    Bytes bytes = Frame23(0x00, 0x80, {0x00, 0x00});
    bytes.insert(bytes.end(), {0x00, 0x10, 'T', 'I', 'T', '2'});
    const CFrameHeader header = Parse(bytes, 3);
    EXPECT_EQ(2u, header.m_nSize);
    EXPECT_EQ(0u, header.m_nDataLength);
    CFrameHeader copy = header;
    EXPECT_FALSE(copy.ParseExtras(bytes.data(), 12));
    EXPECT_FALSE(copy.ParseExtras(bytes.data(), 5));
    EXPECT_FALSE(copy.ParseExtras(nullptr, 100));
    EXPECT_EQ(0u, copy.m_nDataLength);
    EXPECT_TRUE(copy.ParseExtras(bytes.data(), 14));
    EXPECT_EQ(16u, copy.m_nDataLength);

    // A plain frame has no extra bytes to miss.
    CFrameHeader plain("TIT2", 4);
    EXPECT_TRUE(plain.ParseExtras(nullptr, 0));
}

TEST(ID3v2FrameHeaderTest, ExtrasCanBeReadAgainFromADecodedCopy)
{
    // An unsynchronised 2.4 frame with group symbol FF: its raw bytes hold FF 00 before the
    // encryption method.
    const Bytes raw = Frame24(0x00, 0x46, {0xFF, 0x00, 0x83, 0x41});
    CFrameHeader header = Parse(raw, 4);
    ASSERT_EQ(4u, header.m_nSize);
    EXPECT_EQ(0x00, header.m_nEncryptionMethod);
    const Bytes decoded = {'A', 'P', 'I', 'C', 0, 0, 0, 4, 0x00, 0x46, 0xFF, 0x83, 0x41};
    EXPECT_TRUE(header.ParseExtras(decoded.data(), static_cast<UINT>(decoded.size())));
    EXPECT_EQ(0xFF, header.m_nGroupSymbol);
    EXPECT_EQ(0x83, header.m_nEncryptionMethod);
    EXPECT_EQ(12u, header.GetDataOffset());
}

TEST(ID3v2FrameHeaderTest, NewHeaderFromAnId)
{
    const CFrameHeader header("TXXX", 4);
    EXPECT_STREQ("TXXX", header.m_szID);
    EXPECT_EQ(0u, header.m_nSize);
    EXPECT_EQ(4, header.m_nVersion);
    EXPECT_FALSE(header.IsRawFormat());
    EXPECT_EQ(10u, header.GetDataOffset());

    // The byte form with length 4 is the same.
    const BYTE id[] = {'T', 'I', 'T', '2'};
    const CFrameHeader fromBytes(id, 4, 3);
    EXPECT_STREQ("TIT2", fromBytes.m_szID);
    EXPECT_EQ(0u, fromBytes.m_nSize);

    EXPECT_STREQ("COMM", CFrameHeader("COMMENT", 4).m_szID);
    EXPECT_STREQ("TT2", CFrameHeader("TT2", 2).m_szID);
    EXPECT_STREQ("", CFrameHeader(static_cast<const char*>(nullptr), 4).m_szID);
}

TEST(ID3v2FrameHeaderTest, SetIdReplacesTheWholeId)
{
    CFrameHeader header("TYE", 2);
    header.SetID("TYER");
    EXPECT_STREQ("TYER", header.m_szID);
    header.SetID("TT2");
    EXPECT_STREQ("TT2", header.m_szID);
    EXPECT_EQ('\0', header.m_szID[3]);
}

TEST(ID3v2FrameHeaderTest, RendersSizePerVersionAndNoFlags)
{
    CFrameHeader header = Parse({'T', 'I', 'T', '2', 0x00, 0x00, 0x02, 0x2C, 0x70, 0x03}, 4);
    header.m_nSize = 300;
    EXPECT_EQ((Bytes{'T', 'I', 'T', '2', 0x00, 0x00, 0x02, 0x2C, 0x00, 0x00}),
              RenderHeader(header));
    header.m_nVersion = 3;
    EXPECT_EQ((Bytes{'T', 'I', 'T', '2', 0x00, 0x00, 0x01, 0x2C, 0x00, 0x00}),
              RenderHeader(header));
    header.m_nSize = 0x12345678;
    EXPECT_EQ((Bytes{'T', 'I', 'T', '2', 0x12, 0x34, 0x56, 0x78, 0x00, 0x00}),
              RenderHeader(header));
}

TEST(ID3v2FrameHeaderTest, RenderAppendsAfterExistingBytes)
{
    CRenderBuffer buffer;
    buffer.AppendByte(0x55);
    CFrameHeader header("TALB", 4);
    header.m_nSize = 1;
    header.Render(buffer);
    ASSERT_EQ(11u, buffer.GetLength());
    EXPECT_EQ(0x55, buffer[0]);
    EXPECT_EQ('T', buffer[1]);
    EXPECT_EQ(0x01, buffer[8]);
}

TEST(ID3v2FrameHeaderTest, ThreeCharacterIdRendersWithAZeroByte)
{
    CFrameHeader header = Parse({'T', 'T', '2', 0x00, 0x00, 0x05}, 2);
    header.m_nVersion = 3;
    EXPECT_EQ((Bytes{'T', 'T', '2', 0x00, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00}),
              RenderHeader(header));
}

TEST(ID3v2FrameHeaderTest, RoundTripsForVersions23And24)
{
    for (int nVersion : {3, 4})
    {
        for (UINT nSize : {1u, 127u, 128u, 300u, 65536u, 268435455u})
        {
            CFrameHeader header("TPE1", nVersion);
            header.m_nSize = nSize;
            const Bytes bytes = RenderHeader(header);
            const CFrameHeader read = Parse(bytes, nVersion);
            EXPECT_STREQ("TPE1", read.m_szID);
            EXPECT_EQ(nSize, read.m_nSize);
            EXPECT_EQ(10u, read.GetDataOffset());
        }
    }
}

TEST(ID3v2FrameHeaderTest, Version22HeaderReadRendersAs23And24)
{
    CFrameHeader header = Parse({'T', 'T', '2', 0x00, 0x01, 0x00}, 2);
    header.SetID("TIT2");
    for (int nVersion : {3, 4})
    {
        header.m_nVersion = nVersion;
        const CFrameHeader read = Parse(RenderHeader(header), nVersion);
        EXPECT_STREQ("TIT2", read.m_szID);
        EXPECT_EQ(256u, read.m_nSize);
    }
}

TEST(ID3v2FrameHeaderTest, FlagsMapAcrossVersions)
{
    const CFrameHeader v23 = Parse(Frame23(0xE0, 0xE0, {0, 0, 0, 1, 2, 3, 4}), 3);
    EXPECT_EQ(0xE0E0, v23.GetFlags(3));
    EXPECT_EQ(0x704C, v23.GetFlags(4));
    EXPECT_EQ(0, v23.GetFlags(2));

    const CFrameHeader v24 = Parse(Frame24(0x70, 0x4F, {1, 2, 0, 0, 0, 1, 4}), 4);
    EXPECT_EQ(0x704F, v24.GetFlags(4));
    EXPECT_EQ(0x704F, v24.GetFlags(5));
    // Unsynchronisation and data length indicator have no 2.3 bits.
    EXPECT_EQ(0xE0E0, v24.GetFlags(3));

    struct Bit
    {
        WORD n23;
        WORD n24;
    };
    for (const Bit& bit : {Bit{0x8000, 0x4000}, Bit{0x4000, 0x2000}, Bit{0x2000, 0x1000},
                           Bit{0x0080, 0x0008}, Bit{0x0040, 0x0004}, Bit{0x0020, 0x0040}})
    {
        Bytes body = {0, 0, 0, 0, 0, 0, 0};
        const CFrameHeader from23 =
            Parse(Frame23(static_cast<BYTE>(bit.n23 >> 8), static_cast<BYTE>(bit.n23), body), 3);
        EXPECT_EQ(bit.n23, from23.GetFlags(3));
        EXPECT_EQ(bit.n24, from23.GetFlags(4));
        const CFrameHeader from24 =
            Parse(Frame24(static_cast<BYTE>(bit.n24 >> 8), static_cast<BYTE>(bit.n24), body), 4);
        EXPECT_EQ(bit.n24, from24.GetFlags(4));
        EXPECT_EQ(bit.n23, from24.GetFlags(3));
    }
}

TEST(ID3v2FrameHeaderTest, RawFrameRendersItsFlagsAndExtrasAtTheTargetVersion)
{
    const Bytes data = {0x78, 0x9C, 0x01, 0x02};
    // 2.3: compression, encryption, grouping; status flags set as well.
    Bytes body = {0x00, 0x00, 0x01, 0x2C, 0x82, 0x90};
    body.insert(body.end(), data.begin(), data.end());
    const Bytes frame23 = Frame23(0xE0, 0xE0, body);
    const CFrameHeader header = Parse(frame23, 3);
    ASSERT_TRUE(header.IsRawFormat());

    // Written back as 2.3: byte for byte, apart from the status flags that are not kept.
    Bytes expected23 = frame23;
    expected23[8] = 0x00;
    EXPECT_EQ(expected23, RenderRawFrame(header, 3, data));

    // As 2.4: group symbol, encryption method, data length (sync-safe), with the indicator.
    const Bytes expected24 = {'A',  'P',  'I',  'C',  0x00, 0x00, 0x00, 0x0A, 0x00, 0x4D,
                              0x90, 0x82, 0x00, 0x00, 0x02, 0x2C, 0x78, 0x9C, 0x01, 0x02};
    EXPECT_EQ(expected24, RenderRawFrame(header, 4, data));

    // Read back from 2.4 and written as 2.3 again gives the 2.3 frame.
    const CFrameHeader reread = Parse(expected24, 4);
    EXPECT_EQ(16u, reread.GetDataOffset());
    EXPECT_EQ(expected23, RenderRawFrame(reread, 3, data));
    EXPECT_EQ(expected24, RenderRawFrame(reread, 4, data));
}

TEST(ID3v2FrameHeaderTest, RawFrameDropsUnsynchronisationAndExtraLengthItCannotCarry)
{
    const Bytes data = {0x11, 0x22};
    // 2.4 encrypted, unsynchronised, with a data length: the data is held decoded.
    const Bytes frame = Frame24(0x00, 0x07, {0x85, 0x00, 0x00, 0x00, 0x02, 0x11, 0x22});
    const CFrameHeader header = Parse(frame, 4);
    ASSERT_TRUE(header.IsRawFormat());
    EXPECT_EQ(15u, header.GetDataOffset());
    EXPECT_EQ(0x05, header.GetRenderFlags());
    EXPECT_EQ((Bytes{'A', 'P', 'I', 'C', 0x00, 0x00, 0x00, 0x07, 0x00, 0x05, 0x85, 0x00, 0x00, 0x00,
                     0x02, 0x11, 0x22}),
              RenderRawFrame(header, 4, data));
    // 2.3 has a length only for compressed frames.
    CFrameHeader v3 = header;
    v3.m_nVersion = 3;
    EXPECT_EQ(0x0040, v3.GetRenderFlags());
    EXPECT_EQ((Bytes{'A', 'P', 'I', 'C', 0x00, 0x00, 0x00, 0x03, 0x00, 0x40, 0x85, 0x11, 0x22}),
              RenderRawFrame(header, 3, data));
}

TEST(ID3v2FrameHeaderTest, CompressedFrameGetsItsDataLengthIndicatorIn24)
{
    const Bytes data = {0x78, 0x9C};
    const CFrameHeader header = Parse(Frame23(0x00, 0x80, {0x00, 0x00, 0x10, 0x00, 0x78, 0x9C}), 3);
    EXPECT_EQ(4096u, header.m_nDataLength);
    const Bytes expected = {'A',  'P',  'I',  'C',  0x00, 0x00, 0x00, 0x06,
                            0x00, 0x09, 0x00, 0x00, 0x20, 0x00, 0x78, 0x9C};
    EXPECT_EQ(expected, RenderRawFrame(header, 4, data));
    const CFrameHeader reread = Parse(expected, 4);
    EXPECT_EQ(4096u, reread.m_nDataLength);
    EXPECT_TRUE(reread.m_bDataLengthIndicator);
}

TEST(ID3v2FrameHeaderTest, HostileSizesAreReportedNotTrusted)
{
    // A header declaring 256 MB in a buffer of 12 bytes: the size is only reported, and no extra
    // byte is read beyond the buffer.
    const Bytes hostile = {'A', 'P', 'I', 'C', 0x7F, 0x7F, 0x7F, 0x7F, 0x00, 0x4D, 0x01, 0x02};
    const CFrameHeader header = Parse(hostile, 4);
    EXPECT_EQ(268435455u, header.m_nSize);
    EXPECT_EQ(0u, header.m_nDataLength);
    EXPECT_EQ(0, header.m_nGroupSymbol);

    const Bytes hostile23 = {'A', 'P', 'I', 'C', 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0xE0, 0x01};
    const CFrameHeader header23 = Parse(hostile23, 3);
    EXPECT_EQ(0xFFFFFFFFu, header23.m_nSize);
    EXPECT_EQ(0u, header23.m_nDataLength);
    EXPECT_EQ(16u, header23.GetDataOffset());
}
