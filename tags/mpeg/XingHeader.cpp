#include "tags/mpeg/XingHeader.h"

#include <cstring>

namespace Tags
{

namespace
{

constexpr BYTE FLAG_FRAMES = 0x01;
constexpr BYTE FLAG_BYTES = 0x02;

UINT ReadBigEndian(const BYTE* p)
{
    return (static_cast<UINT>(p[0]) << 24) | (static_cast<UINT>(p[1]) << 16) |
           (static_cast<UINT>(p[2]) << 8) | static_cast<UINT>(p[3]);
}

} // namespace

CXingHeader::CXingHeader(const BYTE* pData)
{
    if (std::memcmp(pData, "Xing", 4) != 0 && std::memcmp(pData, "Info", 4) != 0)
    {
        return;
    }
    // Only the low byte of the big-endian flags word carries defined flags.
    const BYTE nFlags = pData[7];
    if ((nFlags & FLAG_FRAMES) == 0 || (nFlags & FLAG_BYTES) == 0)
    {
        return;
    }
    m_nFrames = ReadBigEndian(pData + 8);
    m_nBytes = ReadBigEndian(pData + 12);
    m_bValid = TRUE;
}

CXingHeader::~CXingHeader() = default;

} // namespace Tags
