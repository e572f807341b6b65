// MP3 files with chosen tags for the file record and file list tests: the audio from the
// fixture builder, the tags saved through the tag library.
#pragma once

#include "base/String.h"
#include "fixtures/FileBytes.h"
#include "fixtures/Mp3Builder.h"
#include "fixtures/TempDir.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/frames/CommentsFrame.h"
#include "tags/id3v2/frames/TextFrame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

// Failure messages show texts as UTF-8.
inline void PrintTo(const CString& str, std::ostream* pStream)
{
    *pStream << '"' << str.ToUtf8() << '"';
}

namespace RecordFiles
{

using Fixtures::Bytes;
using Fixtures::CMp3Builder;

struct tagFIELDS
{
    CString strTitle;
    CString strArtist;
    CString strAlbum;
    CString strYear;
    CString strComment;
    CString strTrack; // TRCK text, or the ID3v1 track as a number
    CString strGenre;
};

// 20 frames of MPEG-1 Layer III, 128 kbit/s, 44100 Hz, joint stereo, behind a Xing frame.
inline Bytes Audio(UINT nFrames = 20)
{
    CMp3Builder b;
    b.AddXingFrame(CMp3Builder::FrameSpec());
    b.AddFrames(CMp3Builder::FrameSpec(), nFrames);
    return b.Build();
}

inline void AddText(Tags::ID3v2Tag::CID3v2& tag, const char* szID, const CString& strText)
{
    if (strText.IsEmpty())
        return;
    auto pFrame = std::make_unique<Tags::ID3v2Tag::CTextFrame>(szID, tag.m_pHeader->m_nVersion);
    pFrame->SetValues({strText});
    tag.AddTail(std::move(pFrame));
}

// Saves an ID3v2 tag of the version (3 or 4) with the fields into the file.
inline void SaveID3v2(const CString& strPath, int nVersion, const tagFIELDS& f)
{
    Tags::CMpegFile file(strPath, FALSE);
    ASSERT_NE(file.m_hFile, INVALID_HANDLE_VALUE);
    Tags::ID3v2Tag::CID3v2* pTag = file.GetID3v2(TRUE);
    pTag->m_pHeader->m_nVersion = nVersion;
    pTag->m_nTextEncoding = 1;
    AddText(*pTag, "TIT2", f.strTitle);
    AddText(*pTag, "TPE1", f.strArtist);
    AddText(*pTag, "TALB", f.strAlbum);
    AddText(*pTag, nVersion == 4 ? "TDRC" : "TYER", f.strYear);
    AddText(*pTag, "TRCK", f.strTrack);
    AddText(*pTag, "TCON", f.strGenre);
    if (!f.strComment.IsEmpty())
    {
        auto pComment = std::make_unique<Tags::ID3v2Tag::CCommentsFrame>();
        pComment->m_strText = f.strComment;
        pTag->AddTail(std::move(pComment));
    }
    ASSERT_TRUE(file.SaveTags(Tags::TAG_ID3V2));
}

// Saves an ID3v1 tag with the fields; the track is a number, the genre a name of the list.
inline void SaveID3v1(const CString& strPath, const tagFIELDS& f)
{
    Tags::CMpegFile file(strPath, FALSE);
    ASSERT_NE(file.m_hFile, INVALID_HANDLE_VALUE);
    Tags::ID3v1Tag::CID3v1* pTag = file.GetID3v1(TRUE);
    pTag->SetTitle(f.strTitle);
    pTag->SetArtist(f.strArtist);
    pTag->SetAlbum(f.strAlbum);
    pTag->SetYear(f.strYear);
    pTag->SetComment(f.strComment);
    pTag->m_nTrack = f.strTrack.IsEmpty() ? 0 : std::stoi(f.strTrack.ToUtf8());
    if (!f.strGenre.IsEmpty())
        pTag->m_nGenre = Tags::ID3v1Tag::CID3v1::FindGenre(f.strGenre);
    ASSERT_TRUE(file.SaveTags(Tags::TAG_ID3V1));
}

// An untagged audio file in the folder.
inline CString WriteAudio(const Fixtures::CTempDir& dir, const std::string& strName,
                          UINT nFrames = 20)
{
    Fixtures::WriteFileBytes(dir.PathOf(strName), Audio(nFrames));
    return dir.StrPathOf(strName);
}

} // namespace RecordFiles
