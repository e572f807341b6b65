// Byte helpers for the tests of the frame layouts (pictures, comments, URLs, counters, private
// data): whole frames as a tag holds them, frames built from them as the factory builds them,
// and rendered bodies.
#pragma once

#include "tags/file/RenderBuffer.h"
#include "tags/id3v2/ID3v2Frame.h"
#include "tags/id3v2/ID3v2FrameHeader.h"

#include <cstring>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <vector>

namespace FrameLayout
{

using Bytes = std::vector<BYTE>;

// The bytes of a text, no terminator.
inline Bytes Text(std::string_view text)
{
    Bytes bytes(text.size());
    if (!text.empty())
    {
        std::memcpy(bytes.data(), text.data(), text.size());
    }
    return bytes;
}

// UTF-16 little-endian with the byte order mark FF FE, no terminator.
inline Bytes Utf16(std::u16string_view text)
{
    Bytes bytes = {0xFF, 0xFE};
    for (char16_t ch : text)
    {
        bytes.push_back(static_cast<BYTE>(ch & 0xFF));
        bytes.push_back(static_cast<BYTE>(ch >> 8));
    }
    return bytes;
}

// Concatenation of byte sequences.
inline Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes bytes;
    for (const Bytes& part : parts)
    {
        for (BYTE b : part)
        {
            bytes.push_back(b);
        }
    }
    return bytes;
}

// A whole frame of a tag of nVersion: header (6 bytes below 3, else 10 with these flag bytes),
// then the body. Sizes are plain in 2.2 and 2.3, sync-safe in 2.4.
inline Bytes FrameOf(const char* szID, const Bytes& body, int nVersion, BYTE nStatus = 0,
                     BYTE nFormat = 0)
{
    const UINT nSize = static_cast<UINT>(body.size());
    Bytes bytes;
    if (nVersion < 3)
    {
        bytes = {static_cast<BYTE>(szID[0]),    static_cast<BYTE>(szID[1]),
                 static_cast<BYTE>(szID[2]),    static_cast<BYTE>(nSize >> 16),
                 static_cast<BYTE>(nSize >> 8), static_cast<BYTE>(nSize)};
    }
    else
    {
        const int nShift = nVersion == 3 ? 8 : 7;
        const UINT nMask = nVersion == 3 ? 0xFF : 0x7F;
        bytes = {static_cast<BYTE>(szID[0]),
                 static_cast<BYTE>(szID[1]),
                 static_cast<BYTE>(szID[2]),
                 static_cast<BYTE>(szID[3]),
                 static_cast<BYTE>((nSize >> (3 * nShift)) & nMask),
                 static_cast<BYTE>((nSize >> (2 * nShift)) & nMask),
                 static_cast<BYTE>((nSize >> nShift) & nMask),
                 static_cast<BYTE>(nSize & nMask),
                 nStatus,
                 nFormat};
    }
    return Join({bytes, body});
}

// A frame of class T built from whole frame bytes, as the factory builds it.
template <typename T> std::unique_ptr<T> ReadFrame(const Bytes& frame, int nVersion)
{
    auto pHeader = std::make_unique<Tags::ID3v2Tag::CFrameHeader>(
        frame.data(), static_cast<UINT>(frame.size()), nVersion);
    return std::make_unique<T>(frame.data(), static_cast<UINT>(frame.size()), std::move(pHeader));
}

// A frame of class T read from a 2.3 frame with this ID and body.
template <typename T> std::unique_ptr<T> ReadBody(const char* szID, const Bytes& body)
{
    return ReadFrame<T>(FrameOf(szID, body, 3), 3);
}

inline Bytes RenderBody(const Tags::ID3v2Tag::CFrame& frame)
{
    Tags::CRenderBuffer buffer;
    frame.Render(buffer);
    return buffer.GetBytes();
}

// Parses the bytes into the frame.
inline void ParseInto(Tags::ID3v2Tag::CFrame& frame, const Bytes& body)
{
    frame.Parse(body.data(), static_cast<UINT>(body.size()));
}

// What a clone's header must be: same ID, version 4, no flags.
inline bool IsFreshHeader(const Tags::ID3v2Tag::CFrame& frame, const char* szID)
{
    const Tags::ID3v2Tag::CFrameHeader& h = *frame.m_pHeader;
    return std::strcmp(h.m_szID, szID) == 0 && h.m_nVersion == 4 && h.m_nSize == 0 &&
           !h.m_bTagAlterPreservation && !h.m_bFileAlterPreservation && !h.m_bFrameReadOnly &&
           !h.m_bCompression && !h.m_bEncryption && !h.m_bGroupingIdentity &&
           !h.m_bUnsynchronisation && !h.m_bDataLengthIndicator;
}

} // namespace FrameLayout
