// Frame bytes as they stand in a tag, for the frame class tests: header of the version, body.
#pragma once

#include "base/Types.h"
#include "tags/ID3v2FrameHeader.h"

#include <memory>
#include <vector>

namespace FrameTest
{

using Bytes = std::vector<BYTE>;

inline Bytes FrameBytes(const char* szID, const Bytes& body, int nVersion, BYTE nFormat = 0)
{
    Bytes frame(szID, szID + (nVersion < 3 ? 3 : 4));
    const UINT n = static_cast<UINT>(body.size());
    if (nVersion < 3)
    {
        frame.insert(frame.end(), {BYTE(n >> 16), BYTE(n >> 8), BYTE(n)});
    }
    else if (nVersion == 3)
    {
        frame.insert(frame.end(),
                     {BYTE(n >> 24), BYTE(n >> 16), BYTE(n >> 8), BYTE(n), 0, nFormat});
    }
    else
    {
        frame.insert(frame.end(), {BYTE((n >> 21) & 0x7F), BYTE((n >> 14) & 0x7F),
                                   BYTE((n >> 7) & 0x7F), BYTE(n & 0x7F), 0, nFormat});
    }
    frame.insert(frame.end(), body.begin(), body.end());
    return frame;
}

// Builds the frame class from the bytes as the frame factory does.
template <typename TFrame>
std::unique_ptr<TFrame> ReadFrame(const char* szID, const Bytes& body, int nVersion = 4,
                                  BYTE nFormat = 0)
{
    const Bytes frame = FrameBytes(szID, body, nVersion, nFormat);
    const UINT nLength = static_cast<UINT>(frame.size());
    auto pHeader = std::make_unique<Tags::ID3v2Tag::CFrameHeader>(frame.data(), nLength, nVersion);
    return std::make_unique<TFrame>(frame.data(), nLength, std::move(pHeader));
}

} // namespace FrameTest
