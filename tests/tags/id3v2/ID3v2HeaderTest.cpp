#include "tags/id3v2/ID3v2Header.h"

#include "tags/file/RenderBuffer.h"

#include <gtest/gtest.h>

#include <vector>

using Tags::CRenderBuffer;
using Tags::ID3v2Tag::CHeader;

namespace
{

std::vector<BYTE> Render(const CHeader& header)
{
    CRenderBuffer buffer;
    header.Render(buffer);
    return buffer.GetBytes();
}

} // namespace

TEST(ID3v2HeaderTest, NewHeaderIsVersion4AndEmpty)
{
    const CHeader header;
    EXPECT_EQ(4, header.m_nVersion);
    EXPECT_EQ(0, header.m_nRevision);
    EXPECT_EQ(0u, header.m_nSize);
    EXPECT_FALSE(header.m_bUnsynchronisation);
    EXPECT_FALSE(header.m_bExtendedHeader);
    EXPECT_FALSE(header.m_bExperimental);
    EXPECT_FALSE(header.m_bFooter);
    EXPECT_EQ(10u, header.GetTagLength());
}

TEST(ID3v2HeaderTest, ParsesVersionRevisionFlagsAndSize)
{
    const BYTE bytes[] = {'I', 'D', '3', 0x03, 0x01, 0xF0, 0x00, 0x00, 0x02, 0x01};
    CHeader header;
    header.Parse(bytes, sizeof(bytes));
    EXPECT_EQ(3, header.m_nVersion);
    EXPECT_EQ(1, header.m_nRevision);
    EXPECT_EQ(257u, header.m_nSize);
    EXPECT_TRUE(header.m_bUnsynchronisation);
    EXPECT_TRUE(header.m_bExtendedHeader);
    EXPECT_TRUE(header.m_bExperimental);
    EXPECT_TRUE(header.m_bFooter);
    EXPECT_EQ(10u + 257u + 10u, header.GetTagLength());

    const BYTE plain[] = {'I', 'D', '3', 0x04, 0x00, 0x40, 0x00, 0x00, 0x00, 0x7F};
    header.Parse(plain, sizeof(plain));
    EXPECT_FALSE(header.m_bUnsynchronisation);
    EXPECT_TRUE(header.m_bExtendedHeader);
    EXPECT_FALSE(header.m_bExperimental);
    EXPECT_FALSE(header.m_bFooter);
    EXPECT_EQ(10u + 127u, header.GetTagLength());
}

TEST(ID3v2HeaderTest, SizeThatIsNotSyncSafeGivesAnEmptyTagAndReadsNothingElse)
{
    const BYTE bytes[] = {'I', 'D', '3', 0x03, 0x00, 0x00, 0x00, 0x00, 0x02, 0x81};
    CHeader header;
    header.Parse(bytes, sizeof(bytes));
    EXPECT_EQ(0u, header.m_nSize);
    EXPECT_EQ(4, header.m_nVersion);

    // A header that already holds values keeps them, apart from the size.
    CHeader read;
    const BYTE first[] = {'I', 'D', '3', 0x02, 0x00, 0x80, 0x00, 0x00, 0x01, 0x00};
    read.Parse(first, sizeof(first));
    const BYTE dirty[] = {'I', 'D', '3', 0x04, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00};
    read.Parse(dirty, sizeof(dirty));
    EXPECT_EQ(2, read.m_nVersion);
    EXPECT_TRUE(read.m_bUnsynchronisation);
    EXPECT_EQ(0u, read.m_nSize);
}

TEST(ID3v2HeaderTest, ShortInputChangesNothing)
{
    const BYTE bytes[] = {'I', 'D', '3', 0x03, 0x00, 0x80, 0x00, 0x00, 0x02};
    CHeader header;
    header.m_nSize = 99;
    header.Parse(bytes, sizeof(bytes));
    header.Parse(nullptr, 10);
    EXPECT_EQ(4, header.m_nVersion);
    EXPECT_EQ(99u, header.m_nSize);
    EXPECT_FALSE(header.m_bUnsynchronisation);
}

TEST(ID3v2HeaderTest, AnyVersionNumberIsKept)
{
    for (BYTE nVersion : {0, 1, 2, 3, 4, 5, 0xFF})
    {
        const BYTE bytes[] = {'I', 'D', '3', nVersion, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10};
        CHeader header;
        header.Parse(bytes, sizeof(bytes));
        EXPECT_EQ(nVersion, header.m_nVersion);
        EXPECT_EQ(16u, header.m_nSize);
    }
}

TEST(ID3v2HeaderTest, MarkerTest)
{
    const BYTE bytes[] = {'I', 'D', '3', 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_TRUE(CHeader::IsHeader(bytes, 10));
    EXPECT_FALSE(CHeader::IsHeader(bytes, 9));
    EXPECT_FALSE(CHeader::IsHeader(nullptr, 10));
    const BYTE other[] = {'I', 'D', '4', 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_FALSE(CHeader::IsHeader(other, 10));
}

TEST(ID3v2HeaderTest, RendersVersionAndSizeWithoutFlagsOrRevision)
{
    CHeader header;
    header.m_nVersion = 3;
    header.m_nRevision = 7;
    header.m_nSize = 300;
    header.m_bUnsynchronisation = TRUE;
    header.m_bExtendedHeader = TRUE;
    header.m_bExperimental = TRUE;
    header.m_bFooter = TRUE;
    EXPECT_EQ((std::vector<BYTE>{'I', 'D', '3', 0x03, 0x00, 0x00, 0x00, 0x00, 0x02, 0x2C}),
              Render(header));
}

TEST(ID3v2HeaderTest, RenderAppendsAfterExistingBytes)
{
    CRenderBuffer buffer;
    buffer.AppendByte(0xAA);
    CHeader header;
    header.m_nSize = 1;
    header.Render(buffer);
    ASSERT_EQ(11u, buffer.GetLength());
    EXPECT_EQ(0xAA, buffer[0]);
    EXPECT_EQ('I', buffer[1]);
    EXPECT_EQ(0x01, buffer[10]);
}

TEST(ID3v2HeaderTest, RoundTripsForEveryWrittenVersion)
{
    for (int nVersion : {2, 3, 4})
    {
        for (UINT nSize : {0u, 1u, 1024u, 2048u, 268435455u})
        {
            CHeader header;
            header.m_nVersion = nVersion;
            header.m_nSize = nSize;
            const std::vector<BYTE> bytes = Render(header);
            ASSERT_EQ(10u, bytes.size());
            ASSERT_TRUE(CHeader::IsHeader(bytes.data(), 10));
            CHeader read;
            read.m_nVersion = 0;
            read.Parse(bytes.data(), 10);
            EXPECT_EQ(nVersion, read.m_nVersion);
            EXPECT_EQ(nSize, read.m_nSize);
            EXPECT_FALSE(read.m_bExtendedHeader);
        }
    }
}

TEST(ID3v2HeaderTest, NoExtendedHeaderWithoutTheFlag)
{
    CHeader header;
    const BYTE body[] = {0x00, 0x00, 0x00, 0x0C, 0x01, 0x20};
    EXPECT_EQ(0u, header.GetExtendedHeaderSize(body, sizeof(body)));
}

TEST(ID3v2HeaderTest, Version4ExtendedHeaderSizeIsSyncSafeAndCountsItself)
{
    CHeader header;
    header.m_nVersion = 4;
    header.m_bExtendedHeader = TRUE;
    const BYTE body[] = {0x00, 0x00, 0x00, 0x0C, 0x01, 0x20, 0x05, 0x0F,
                         0x47, 0x0F, 0x54, 0x14, 'T',  'I',  'T',  '2'};
    EXPECT_EQ(12u, header.GetExtendedHeaderSize(body, sizeof(body)));
    const BYTE big[] = {0x00, 0x00, 0x01, 0x00, 0x00, 0x00};
    EXPECT_EQ(6u, header.GetExtendedHeaderSize(big, sizeof(big)));
    // A size below its own four bytes still skips them.
    const BYTE zero[] = {0x00, 0x00, 0x00, 0x00, 'T', 'I', 'T', '2'};
    EXPECT_EQ(4u, header.GetExtendedHeaderSize(zero, sizeof(zero)));
    // Versions above 4 follow the same rule.
    header.m_nVersion = 5;
    EXPECT_EQ(12u, header.GetExtendedHeaderSize(body, sizeof(body)));
}

TEST(ID3v2HeaderTest, Version3ExtendedHeaderSizeIsPlainAndLeavesOutItsOwnFourBytes)
{
    CHeader header;
    header.m_nVersion = 3;
    header.m_bExtendedHeader = TRUE;
    // 6 bytes without CRC: flags 00 00, padding size 00 00 00 00.
    const BYTE noCrc[] = {0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00,
                          0x00, 0x00, 0x00, 'T',  'I',  'T',  '2'};
    EXPECT_EQ(10u, header.GetExtendedHeaderSize(noCrc, sizeof(noCrc)));
    // 10 bytes with CRC: flags 80 00, padding size, CRC.
    const BYTE withCrc[] = {0x00, 0x00, 0x00, 0x0A, 0x80, 0x00, 0x00, 0x00, 0x00,
                            0x00, 0x12, 0x34, 0x56, 0x78, 'T',  'I',  'T',  '2'};
    EXPECT_EQ(14u, header.GetExtendedHeaderSize(withCrc, sizeof(withCrc)));
    // A plain size with bit 7 set is no sync-safe value and still taken as it stands.
    const BYTE plain[] = {0x00, 0x00, 0x00, 0x86, 0x00};
    EXPECT_EQ(5u, header.GetExtendedHeaderSize(plain, sizeof(plain)));
}

TEST(ID3v2HeaderTest, FlagWithoutExtendedHeaderLeavesTheFramesInPlace)
{
    CHeader header;
    header.m_bExtendedHeader = TRUE;
    const BYTE body[] = {'T', 'I', 'T', '2', 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00};
    for (int nVersion : {3, 4})
    {
        header.m_nVersion = nVersion;
        EXPECT_EQ(0u, header.GetExtendedHeaderSize(body, sizeof(body))) << nVersion;
    }
}

TEST(ID3v2HeaderTest, ExtendedHeaderSizeIsBoundedByTheBody)
{
    CHeader header;
    header.m_bExtendedHeader = TRUE;
    const BYTE hostile[] = {0x7F, 0x7F, 0x7F, 0x7F, 0x00, 0x00};
    const BYTE hostile3[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
    for (int nVersion : {2, 3, 4})
    {
        header.m_nVersion = nVersion;
        EXPECT_EQ(6u, header.GetExtendedHeaderSize(hostile, sizeof(hostile)));
        EXPECT_EQ(6u, header.GetExtendedHeaderSize(hostile3, sizeof(hostile3)));
        EXPECT_EQ(3u, header.GetExtendedHeaderSize(hostile, 3));
        EXPECT_EQ(0u, header.GetExtendedHeaderSize(hostile, 0));
        EXPECT_EQ(0u, header.GetExtendedHeaderSize(nullptr, 6));
    }
}
