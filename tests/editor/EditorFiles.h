// Helpers of the editor suite: readable texts in failure messages, and MP3 files with chosen
// tags, the audio from the fixture builder and the tags saved through the tag library.
#pragma once

#include "base/String.h"
#include "fixtures/Mp3Builder.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/frames/TextFrame.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Failure messages show texts as UTF-8.
inline void PrintTo(const CString& str, std::ostream* pStream)
{
    *pStream << '"' << str.ToUtf8() << '"';
}

namespace EditorFiles
{

// 10 frames of MPEG-1 Layer III behind a Xing frame.
inline Fixtures::Bytes Audio()
{
    Fixtures::CMp3Builder builder;
    builder.AddXingFrame(Fixtures::CMp3Builder::FrameSpec());
    builder.AddFrames(Fixtures::CMp3Builder::FrameSpec(), 10);
    return builder.Build();
}

inline std::unique_ptr<Tags::ID3v2Tag::CTextFrame> NewText(const char* szID,
                                                           const CString& strValue)
{
    auto pFrame = std::make_unique<Tags::ID3v2Tag::CTextFrame>(szID, 4);
    pFrame->SetValues({strValue});
    return pFrame;
}

// Gives the file an ID3v2 tag (of nVersion) with the title and an ID3v1 tag with the title.
inline void SaveBothTags(const CString& strPath, const CString& strTitle, int nVersion = 3)
{
    Tags::CMpegFile file(strPath, FALSE);
    ASSERT_NE(file.m_hFile, INVALID_HANDLE_VALUE);
    Tags::ID3v2Tag::CID3v2* pV2 = file.GetID3v2(TRUE);
    pV2->m_pHeader->m_nVersion = nVersion;
    pV2->AddTail(NewText("TIT2", strTitle));
    file.GetID3v1(TRUE)->SetTitle(strTitle);
    ASSERT_TRUE(file.SaveTags(Tags::TAG_ID3V1 | Tags::TAG_ID3V2));
}

} // namespace EditorFiles
