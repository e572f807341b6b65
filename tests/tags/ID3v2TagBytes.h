// Bytes of ID3v2 tags for the tag tests, and the round of writing a tag into a real MP3 file and
// reading it back through the file layer.
#pragma once

#include "base/Types.h"
#include "fixtures/FileBytes.h"
#include "fixtures/Mp3Builder.h"
#include "fixtures/TempDir.h"
#include "tags/file/FileEx.h"
#include "tags/file/RenderBuffer.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/frames/TextFrame.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace TagBytes
{

using Fixtures::Bytes;
using Tags::ID3v2Tag::CFrame;
using Tags::ID3v2Tag::CID3v2;

inline Bytes SyncSafe(UINT n)
{
    return {BYTE((n >> 21) & 0x7F), BYTE((n >> 14) & 0x7F), BYTE((n >> 7) & 0x7F), BYTE(n & 0x7F)};
}

inline Bytes BigEndian32(UINT n)
{
    return {BYTE(n >> 24), BYTE(n >> 16), BYTE(n >> 8), BYTE(n)};
}

inline Bytes operator+(Bytes a, const Bytes& b)
{
    for (BYTE x : b)
    {
        a.push_back(x);
    }
    return a;
}

// A frame as it stands in a tag of the version: ID, size of everything after the header, the two
// flag bytes (2.3 and 2.4), then the body.
inline Bytes Frame(std::string_view id, const Bytes& body, int nVersion, BYTE nStatus = 0,
                   BYTE nFormat = 0)
{
    Bytes frame = Fixtures::BytesOf(id);
    const UINT n = static_cast<UINT>(body.size());
    if (nVersion < 3)
    {
        frame = frame + Bytes{BYTE(n >> 16), BYTE(n >> 8), BYTE(n)};
    }
    else
    {
        frame = frame + (nVersion == 3 ? BigEndian32(n) : SyncSafe(n)) + Bytes{nStatus, nFormat};
    }
    return frame + body;
}

// An encoding byte and the text bytes as given (values separated by the caller's terminators).
inline Bytes Text(BYTE nEncoding, std::string_view text)
{
    return Bytes{nEncoding} + Fixtures::BytesOf(text);
}

inline Bytes TextFrame(std::string_view id, std::string_view text, int nVersion)
{
    return Frame(id, Text(0, text), nVersion);
}

// A whole tag: header (flags as given) and the body, followed by nPadding zero bytes.
inline Bytes Tag(int nVersion, const Bytes& body, UINT nPadding = 0, BYTE nFlags = 0)
{
    return Fixtures::CMp3Builder::Id3v2Tag(nVersion, static_cast<UINT>(body.size()) + nPadding,
                                           nFlags, body);
}

// The unsynchronisation scheme as a writer applies it: a zero byte after every 0xFF that is
// followed by a byte of 0xE0 or more or by a zero, and after a final 0xFF.
inline Bytes Unsynchronise(const Bytes& bytes)
{
    Bytes out;
    for (size_t i = 0; i < bytes.size(); ++i)
    {
        out.push_back(bytes[i]);
        if (bytes[i] == 0xFF &&
            (i + 1 == bytes.size() || bytes[i + 1] >= 0xE0 || bytes[i + 1] == 0))
        {
            out.push_back(0);
        }
    }
    return out;
}

// Writes the tag bytes in front of a few MPEG frames into a real file and reads the tag back
// through the file layer. ASSERTs that the file opens and that Read found a tag.
class CTagFile
{
public:
    std::unique_ptr<CID3v2> Read(const Bytes& tag, const std::string& strName = "tag.mp3")
    {
        Fixtures::CMp3Builder builder;
        builder.AddId3v2(tag).AddFrames(Fixtures::CMp3Builder::FrameSpec(), 3);
        builder.WriteTo(m_dir.PathOf(strName));
        Tags::CFileEx file;
        auto pTag = std::make_unique<CID3v2>();
        EXPECT_TRUE(file.OpenFile(m_dir.StrPathOf(strName)));
        EXPECT_TRUE(pTag->Read(file));
        return pTag;
    }

    Fixtures::CTempDir m_dir;
};

// The rendered tag.
inline Bytes Render(CID3v2& tag)
{
    Tags::CRenderBuffer buffer;
    tag.Render(buffer);
    return buffer.GetBytes();
}

// A new tag built from rendered tag bytes: the header, then ParseFrames on the body.
inline std::unique_ptr<CID3v2> Reparse(const Bytes& rendered)
{
    auto pTag = std::make_unique<CID3v2>();
    EXPECT_GE(rendered.size(), 10u);
    if (rendered.size() < 10)
    {
        return pTag;
    }
    pTag->m_pHeader->Parse(rendered.data(), 10);
    EXPECT_EQ(rendered.size(), 10u + pTag->m_pHeader->m_nSize);
    pTag->ParseFrames(rendered.data() + 10, static_cast<UINT>(rendered.size() - 10));
    return pTag;
}

// A tag of the version holding the frames of a body, parsed without a file.
inline std::unique_ptr<CID3v2> Parse(int nVersion, const Bytes& body)
{
    auto pTag = std::make_unique<CID3v2>();
    pTag->m_pHeader->m_nVersion = nVersion;
    pTag->ParseFrames(body.data(), static_cast<UINT>(body.size()));
    return pTag;
}

inline std::vector<std::string> IDs(const CID3v2& tag)
{
    std::vector<std::string> ids;
    for (const auto& pFrame : tag.m_frames)
    {
        ids.emplace_back(pFrame->GetID());
    }
    return ids;
}

// The values of a text frame, as UTF-8; empty when the frame is missing or not a text frame.
inline std::vector<std::string> Values(const CFrame* pFrame)
{
    std::vector<std::string> values;
    if (const auto* pText = dynamic_cast<const Tags::ID3v2Tag::CTextFrame*>(pFrame))
    {
        for (const CString& str : pText->m_values)
        {
            values.push_back(str.ToUtf8());
        }
    }
    return values;
}

inline std::vector<std::string> Values(const CID3v2& tag, const char* szID)
{
    return Values(tag.FindFrame(szID));
}

// The body a frame renders in its current encoding.
inline Bytes Body(const CFrame& frame)
{
    Tags::CRenderBuffer buffer;
    frame.Render(buffer);
    return buffer.GetBytes();
}

} // namespace TagBytes
