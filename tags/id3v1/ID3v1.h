// The ID3v1 tag: the 128-byte block at the end of an MPEG audio file, with the ID3v1.1 track
// number in the last two bytes of the comment.
#pragma once

#include "base/String.h"
#include "base/Types.h"
#include "tags/file/TagBase.h"

namespace Tags
{
class CFileEx;
class CRenderBuffer;
} // namespace Tags

namespace Tags::ID3v1Tag
{

class CID3v1 : public CTagBase
{
public:
    // Size of the block on disk.
    static constexpr UINT BLOCK_SIZE = 128;
    // Longest title, artist, album and comment the setters keep.
    static constexpr int MAX_FIELD_LENGTH = 30;
    // Genre index meaning "no genre".
    static constexpr int NO_GENRE = 255;

    CID3v1();
    ~CID3v1() override;
    CID3v1(const CID3v1&) = default;
    CID3v1& operator=(const CID3v1&) = default;

    CString GetTitle() const override;
    CString GetAlbum() const override;
    CString GetArtist() const override;
    CString GetYear() const override;
    CString GetComment() const override;
    int GetTrack() const override;
    CString GetGenre() const override;
    BOOL IsEmpty() const override;

    // Title, album, artist and comment keep their first 30 characters; the year is kept whole
    // (only 4 characters are written).
    void SetTitle(const CString& strTitle);
    void SetAlbum(const CString& strAlbum);
    void SetArtist(const CString& strArtist);
    void SetYear(const CString& strYear);
    void SetComment(const CString& strComment);

    // Index of the first genre whose name matches case-insensitively, or -1.
    static int FindGenre(const CString& strGenre);

    // Looks for the block at the end of the file and parses it. FALSE when the file is too short
    // or does not end with a block; file errors are raised as CFileException.
    BOOL Read(CFileEx& file);
    // Takes the fields from a 128-byte block (the "TAG" is not checked here).
    void Parse(const BYTE* pBlock);
    // Appends the 128-byte block to the buffer: ID3v1.1 when a track number is set.
    void Render(CRenderBuffer& buffer) const;

protected:
    CString m_strTitle;
    CString m_strAlbum;
    CString m_strArtist;
    CString m_strYear;
    CString m_strComment;

public:
    // 0 to 255; 0 means no track number. The editors set it directly.
    int m_nTrack = 0;
    // 0 to 147 name a genre; 255 means none; 148 to 254 are kept and written back.
    int m_nGenre = NO_GENRE;
};

} // namespace Tags::ID3v1Tag
