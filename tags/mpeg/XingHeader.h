// The Xing or Info header that encoders put in the first frame of a stream: the frame and byte
// counts from which the length of a variable-bit-rate stream follows.
#pragma once

#include "base/Types.h"

namespace Tags
{

class CXingHeader
{
public:
    // Bytes parsed: the tag, the flags and the two counts.
    static constexpr UINT SIZE = 16;

    // Parses the 16 bytes at pData. Valid when they start with "Xing" or "Info" and the flags
    // announce both the frame count and the byte count.
    explicit CXingHeader(const BYTE* pData);
    virtual ~CXingHeader();
    CXingHeader(const CXingHeader&) = default;
    CXingHeader& operator=(const CXingHeader&) = default;

    BOOL m_bValid = FALSE;
    UINT m_nFrames = 0;
    UINT m_nBytes = 0;
};

} // namespace Tags
