// The files and edits the save suites share: audio frames, an ID3v1 block and a 2.3 tag with a
// title, and a container edit that replaces the title.
#pragma once

#include "tags/file/MpegFile.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/ID3v2Header.h"
#include "tags/id3v2/frames/TextFrame.h"

#include "fixtures/FileBytes.h"
#include "fixtures/Mp3Builder.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The save suites speak of the library's, the fixtures' and the file system's names alike.
namespace SaveFiles
{

using namespace Tags;
using namespace Tags::ID3v2Tag;
using namespace Fixtures;
namespace fs = std::filesystem;

// nFrames MPEG frames whose payload pattern starts at nSeed.
inline Fixtures::Bytes Audio(int nSeed, int nFrames)
{
    Fixtures::CMp3Builder b;
    b.SetPayload(Fixtures::CMp3Builder::Payload::Pattern, nSeed);
    b.AddFrames(Fixtures::CMp3Builder::FrameSpec(), nFrames);
    return b.Build();
}

inline Fixtures::Bytes V1Block(const std::string& strTitle)
{
    Fixtures::CMp3Builder::Id3v1Fields f;
    f.m_strTitle = strTitle;
    return Fixtures::CMp3Builder::Id3v1Block(f);
}

// A 2.3 tag with a title frame and nPadding bytes of padding (2.4 with a footer for flag 0x10).
inline Fixtures::Bytes V2Tag(const std::string& strTitle, UINT nPadding, BYTE nFlags = 0)
{
    using namespace Fixtures;
    const UINT nText = static_cast<UINT>(strTitle.size()) + 1;
    const Bytes frame =
        Concat({BytesOf("TIT2"), Bytes{0, 0, 0, BYTE(nText), 0, 0, 0}, BytesOf(strTitle)});
    return CMp3Builder::Id3v2Tag(nFlags & 0x10 ? 4 : 3, static_cast<UINT>(frame.size()) + nPadding,
                                 nFlags, frame);
}

// Replaces every title of the container's ID3v2 tag (made when missing) by one, for a 2.3 save;
// nEncoding, when not negative, is the text encoding it is written in.
inline void SetTitle(Tags::CMpegFile& file, const CString& strTitle, int nEncoding = -1)
{
    Tags::ID3v2Tag::CID3v2* pTag = file.GetID3v2(TRUE);
    while (pTag->DeleteFrameByID("TIT2"))
    {
    }
    auto pFrame = std::make_unique<Tags::ID3v2Tag::CTextFrame>("TIT2", 4);
    pFrame->SetValues({strTitle});
    pTag->AddTail(std::move(pFrame));
    pTag->m_pHeader->m_nVersion = 3;
    if (nEncoding >= 0)
        pTag->m_nTextEncoding = static_cast<BYTE>(nEncoding);
}

} // namespace SaveFiles
