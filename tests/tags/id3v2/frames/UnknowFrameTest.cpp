#include "tags/id3v2/frames/UnknowFrame.h"

#include "FrameTestBytes.h"
#include "tags/file/RenderBuffer.h"
#include "tags/id3v2/ID3v2FrameHeader.h"

#include <gtest/gtest.h>

using FrameTest::Bytes;
using FrameTest::ReadFrame;
using Tags::CRenderBuffer;
using namespace Tags::ID3v2Tag;

namespace
{

Bytes DataOf(const CUnknowFrame& frame)
{
    return Bytes(frame.m_pData.get(), frame.m_pData.get() + frame.m_nDataSize);
}

Bytes RenderBody(const CFrame& frame)
{
    CRenderBuffer buffer;
    frame.Render(buffer);
    return buffer.GetBytes();
}

// The frame as the tag writes it at the header's version: header, extra bytes, data.
Bytes RenderWhole(const CFrame& frame, int nVersion)
{
    CRenderBuffer body;
    frame.Render(body);
    CFrameHeader& header = *frame.m_pHeader;
    header.m_nVersion = nVersion;
    header.m_nSize = header.GetExtrasSize() + body.GetLength();
    CRenderBuffer buffer;
    header.Render(buffer);
    header.RenderExtras(buffer);
    buffer.Append(body.GetData(), body.GetLength());
    return buffer.GetBytes();
}

} // namespace

TEST(UnknowFrame, KeepsTheBodyUnchangedAndShowsNothing)
{
    const Bytes body{0x00, 0xFF, 0x10, 0x00, 'x'};
    auto pFrame = ReadFrame<CUnknowFrame>("MCDI", body, 3);
    EXPECT_STREQ(pFrame->GetID(), "MCDI");
    EXPECT_EQ(DataOf(*pFrame), body);
    EXPECT_EQ(pFrame->GetText(), CString());
    EXPECT_FALSE(pFrame->IsRawFormat());
    pFrame->SetTextEncoding(1);
    EXPECT_EQ(RenderBody(*pFrame), body);
    EXPECT_STREQ(pFrame->GetRuntimeClassName(), "CUnknowFrame");
}

TEST(UnknowFrame, ReadsFromTheDataOffsetOfEachVersion)
{
    EXPECT_EQ(DataOf(*ReadFrame<CUnknowFrame>("TDA", {'0', '1'}, 2)), (Bytes{'0', '1'}));
    // A data length indicator alone does not make the frame raw; its bytes are not data.
    auto pIndicated =
        ReadFrame<CUnknowFrame>("SEEK", {0x00, 0x00, 0x00, 0x02, 0xAB, 0xCD}, 4, 0x01);
    EXPECT_FALSE(pIndicated->IsRawFormat());
    EXPECT_EQ(DataOf(*pIndicated), (Bytes{0xAB, 0xCD}));
}

TEST(UnknowFrame, EmptyFrameRendersNothing)
{
    auto pFrame = ReadFrame<CUnknowFrame>("PRIV", {});
    EXPECT_EQ(pFrame->m_pData, nullptr);
    EXPECT_EQ(pFrame->m_nDataSize, 0U);
    EXPECT_TRUE(RenderBody(*pFrame).empty());
    CUnknowFrame created("RVRB", 4);
    EXPECT_TRUE(RenderBody(created).empty());
}

TEST(UnknowFrame, ParseReplacesTheBytesByACopy)
{
    CUnknowFrame frame("ETCO", 4);
    BYTE data[] = {1, 2, 3};
    frame.Parse(data, 3);
    data[0] = 9;
    EXPECT_EQ(DataOf(frame), (Bytes{1, 2, 3}));
    frame.Parse(nullptr, 0);
    EXPECT_EQ(frame.m_nDataSize, 0U);
}

TEST(UnknowFrame, CloneCopiesTheBytesWithAFreshHeader)
{
    auto pFrame = ReadFrame<CUnknowFrame>("MCDI", {5, 6, 7}, 3);
    pFrame->m_pHeader->m_bTagAlterPreservation = TRUE;
    std::unique_ptr<CFrame> pClone = pFrame->Clone();
    auto* pUnknown = dynamic_cast<CUnknowFrame*>(pClone.get());
    ASSERT_NE(pUnknown, nullptr);
    EXPECT_STREQ(pUnknown->GetID(), "MCDI");
    EXPECT_EQ(pUnknown->m_pHeader->m_nVersion, 4);
    EXPECT_EQ(pUnknown->m_pHeader->GetFlags(4), 0);
    EXPECT_EQ(DataOf(*pUnknown), (Bytes{5, 6, 7}));
    EXPECT_NE(pUnknown->m_pData.get(), pFrame->m_pData.get());
}

TEST(UnknowFrame, CompressedFrameIsWrittenBackWithItsFlagsAtEachVersion)
{
    // 2.3: four bytes of decompressed size (256), then the compressed data.
    const Bytes data{0x78, 0x9C, 0x01, 0x02};
    Bytes body{0x00, 0x00, 0x01, 0x00};
    body.insert(body.end(), data.begin(), data.end());
    auto pFrame = ReadFrame<CUnknowFrame>("TIT2", body, 3, 0x80);
    EXPECT_TRUE(pFrame->IsRawFormat());
    EXPECT_EQ(DataOf(*pFrame), data);

    Bytes expected23{'T', 'I', 'T', '2', 0, 0, 0, 8, 0x00, 0x80, 0x00, 0x00, 0x01, 0x00};
    expected23.insert(expected23.end(), data.begin(), data.end());
    EXPECT_EQ(RenderWhole(*pFrame, 3), expected23);

    // 2.4: compression with the data length indicator it requires, sync-safe.
    Bytes expected24{'T', 'I', 'T', '2', 0, 0, 0, 8, 0x00, 0x09, 0x00, 0x00, 0x02, 0x00};
    expected24.insert(expected24.end(), data.begin(), data.end());
    EXPECT_EQ(RenderWhole(*pFrame, 4), expected24);
}

TEST(UnknowFrame, GroupedEncryptedFrameKeepsItsExtraBytesInEachVersionsOrder)
{
    // 2.4: group symbol 0x05, then encryption method 0x80, then the data.
    auto pFrame = ReadFrame<CUnknowFrame>("COMM", {0x05, 0x80, 'a', 'b'}, 4, 0x44);
    EXPECT_TRUE(pFrame->IsRawFormat());
    EXPECT_EQ(DataOf(*pFrame), (Bytes{'a', 'b'}));
    EXPECT_EQ(RenderWhole(*pFrame, 4),
              (Bytes{'C', 'O', 'M', 'M', 0, 0, 0, 4, 0x00, 0x44, 0x05, 0x80, 'a', 'b'}));
    // 2.3 orders the method before the group symbol.
    EXPECT_EQ(RenderWhole(*pFrame, 3),
              (Bytes{'C', 'O', 'M', 'M', 0, 0, 0, 4, 0x00, 0x60, 0x80, 0x05, 'a', 'b'}));
}

TEST(UnknowFrame, CloneOfARawFrameKeepsWhatItsDataNeeds)
{
    const Bytes body{0x00, 0x00, 0x00, 0x10, 0x42, 0x07, 'z'};
    auto pFrame = ReadFrame<CUnknowFrame>("APIC", body, 3, 0xE0);
    pFrame->m_pHeader->m_bFileAlterPreservation = TRUE;
    std::unique_ptr<CFrame> pClone = pFrame->Clone();
    const CFrameHeader& header = *pClone->m_pHeader;
    EXPECT_EQ(header.m_nVersion, 4);
    EXPECT_FALSE(header.m_bFileAlterPreservation);
    EXPECT_TRUE(header.IsRawFormat());
    EXPECT_EQ(RenderWhole(*pClone, 3), RenderWhole(*pFrame, 3));
    EXPECT_EQ(RenderWhole(*pClone, 4), RenderWhole(*pFrame, 4));
}
