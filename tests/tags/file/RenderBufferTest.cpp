#include "tags/file/RenderBuffer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using Tags::CRenderBuffer;

namespace
{

std::string Text(const CRenderBuffer& buffer)
{
    return std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetLength());
}

} // namespace

TEST(RenderBufferTest, GrowsAfterWhatItHolds)
{
    CRenderBuffer buffer;
    EXPECT_TRUE(buffer.IsEmpty());
    buffer.Append("abc", 3);
    const UINT nOffset = buffer.Grow(4);
    EXPECT_EQ(nOffset, 3u);
    EXPECT_EQ(buffer.GetLength(), 7u);
    EXPECT_EQ(Text(buffer), std::string("abc\0\0\0\0", 7));
    buffer[nOffset + 1] = 'x';
    buffer.AppendByte('!');
    EXPECT_EQ(Text(buffer), std::string("abc\0x\0\0!", 8));

    buffer.Truncate(3);
    EXPECT_EQ(Text(buffer), "abc");
    buffer.Truncate(10);
    EXPECT_EQ(Text(buffer), "abc");

    const std::vector<BYTE> bytes = buffer.Detach();
    EXPECT_EQ(bytes.size(), 3u);
    EXPECT_TRUE(buffer.IsEmpty());
}

TEST(RenderBufferTest, AppendingItsOwnBytesCopiesThemWhole)
{
    CRenderBuffer buffer;
    buffer.Append("0123456789", 10);
    for (int i = 0; i < 6; ++i)
    {
        buffer.Append(buffer.GetData() + 2, 4); // the source moves while the buffer grows
    }
    EXPECT_EQ(Text(buffer), "0123456789234523452345234523452345");
}

TEST(RenderBufferTest, RefusesToPassFourGibibytes)
{
    CRenderBuffer buffer;
    buffer.AppendByte(1);
    EXPECT_THROW(buffer.Grow(0xFFFFFFFFu), std::length_error);
    EXPECT_EQ(buffer.GetLength(), 1u);
}
