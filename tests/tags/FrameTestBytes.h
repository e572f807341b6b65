// Frame bytes as they stand in a tag, for the frame class tests: header of the version, body.
#pragma once

#include "base/Types.h"
#include "tags/id3v2/ID3v2FrameHeader.h"

#include <memory>
#include <vector>

namespace FrameTest
{

using Bytes = std::vector<BYTE>;

inline Bytes FrameBytes(const char* szID, const Bytes& body, int nVersion, BYTE nFormat = 0)
{
    // Sized once and written by index: GCC 12 misreads growing inserts here as overflows.
    const size_t nHeader = nVersion < 3 ? 6 : 10;
    const size_t nIDLength = nVersion < 3 ? 3 : 4;
    const UINT n = static_cast<UINT>(body.size());
    Bytes frame(nHeader + body.size(), 0);
    for (size_t i = 0; i < nIDLength; ++i)
    {
        frame[i] = static_cast<BYTE>(szID[i]);
    }
    if (nVersion < 3)
    {
        frame[3] = BYTE(n >> 16);
        frame[4] = BYTE(n >> 8);
        frame[5] = BYTE(n);
    }
    else
    {
        const bool bSyncSafe = nVersion >= 4;
        for (size_t i = 0; i < 4; ++i)
        {
            const unsigned nShift = static_cast<unsigned>(3 - i) * (bSyncSafe ? 7U : 8U);
            frame[4 + i] = static_cast<BYTE>((n >> nShift) & (bSyncSafe ? 0x7FU : 0xFFU));
        }
        frame[9] = nFormat;
    }
    for (size_t i = 0; i < body.size(); ++i)
    {
        frame[nHeader + i] = body[i];
    }
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
