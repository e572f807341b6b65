#include "tags/id3v1/ID3v1.h"

#include "base/CodePage.h"
#include "tags/file/FileEx.h"
#include "tags/file/RenderBuffer.h"
#include "tags/id3v1/ID3v1Genres.h"

#include <cstring>
#include <string>
#include <string_view>

namespace Tags::ID3v1Tag
{

namespace
{

// Block layout.
constexpr UINT TITLE_OFFSET = 3;
constexpr UINT ARTIST_OFFSET = 33;
constexpr UINT ALBUM_OFFSET = 63;
constexpr UINT YEAR_OFFSET = 93;
constexpr UINT COMMENT_OFFSET = 97;
constexpr UINT TEXT_SIZE = 30;
constexpr UINT YEAR_SIZE = 4;
constexpr UINT COMMENT_V11_SIZE = 28;
constexpr UINT TRACK_MARK_OFFSET = 125;
constexpr UINT TRACK_OFFSET = 126;
constexpr UINT GENRE_OFFSET = 127;

// A text field as stored: ANSI bytes up to the first zero, without trailing white space.
CString ParseField(const BYTE* pBlock, UINT nOffset, UINT nSize)
{
    const std::string_view bytes(reinterpret_cast<const char*>(pBlock + nOffset), nSize);
    CString str = CodePage::ToWide(CP_ACP, bytes).Left(static_cast<int>(nSize));
    const int nZero = str.Find(u'\0');
    if (nZero >= 0)
    {
        str.Truncate(nZero);
    }
    str.TrimRight();
    return str;
}

// Writes at most nSize characters of the text into at most nSize bytes; a character that does
// not fit whole is left out, so the field never spills into the next one.
void RenderField(BYTE* pBlock, UINT nOffset, UINT nSize, const CString& str)
{
    const std::string bytes =
        CodePage::FromWideBounded(CP_ACP, str.Left(static_cast<int>(nSize)), nSize);
    std::memcpy(pBlock + nOffset, bytes.data(), bytes.size());
}

} // namespace

CID3v1::CID3v1() = default;

CID3v1::~CID3v1() = default;

CString CID3v1::GetTitle() const
{
    return m_strTitle;
}

CString CID3v1::GetAlbum() const
{
    return m_strAlbum;
}

CString CID3v1::GetArtist() const
{
    return m_strArtist;
}

CString CID3v1::GetYear() const
{
    return m_strYear;
}

CString CID3v1::GetComment() const
{
    return m_strComment;
}

int CID3v1::GetTrack() const
{
    return m_nTrack;
}

CString CID3v1::GetGenre() const
{
    // Compared as unsigned, so that a negative index names no genre either.
    if (static_cast<unsigned>(m_nGenre) < static_cast<unsigned>(ID3v1GenreCount))
    {
        return CString(ID3v1Genres[m_nGenre]);
    }
    return CString();
}

BOOL CID3v1::IsEmpty() const
{
    return m_strTitle.IsEmpty() && m_strAlbum.IsEmpty() && m_strArtist.IsEmpty() &&
           m_strYear.IsEmpty() && m_strComment.IsEmpty() && m_nTrack == 0 && m_nGenre == NO_GENRE;
}

void CID3v1::SetTitle(const CString& strTitle)
{
    m_strTitle = strTitle.Left(MAX_FIELD_LENGTH);
}

void CID3v1::SetAlbum(const CString& strAlbum)
{
    m_strAlbum = strAlbum.Left(MAX_FIELD_LENGTH);
}

void CID3v1::SetArtist(const CString& strArtist)
{
    m_strArtist = strArtist.Left(MAX_FIELD_LENGTH);
}

void CID3v1::SetYear(const CString& strYear)
{
    m_strYear = strYear;
}

void CID3v1::SetComment(const CString& strComment)
{
    m_strComment = strComment.Left(MAX_FIELD_LENGTH);
}

int CID3v1::FindGenre(const CString& strGenre)
{
    for (int i = 0; i < ID3v1GenreCount; ++i)
    {
        if (strGenre.CompareNoCase(CString(ID3v1Genres[i])) == 0)
        {
            return i;
        }
    }
    return -1;
}

BOOL CID3v1::Read(CFileEx& file)
{
    if (file.GetLength() < BLOCK_SIZE)
    {
        return FALSE;
    }
    file.Seek(-static_cast<LONGLONG>(BLOCK_SIZE), CFile::end);

    BYTE block[BLOCK_SIZE];
    UINT nRead = 0;
    while (nRead < BLOCK_SIZE)
    {
        const UINT n = file.Read(block + nRead, BLOCK_SIZE - nRead);
        if (n == 0)
        {
            break;
        }
        nRead += n;
    }
    if (nRead < BLOCK_SIZE || std::memcmp(block, "TAG", 3) != 0)
    {
        return FALSE;
    }
    Parse(block);
    return TRUE;
}

void CID3v1::Parse(const BYTE* pBlock)
{
    m_strTitle = ParseField(pBlock, TITLE_OFFSET, TEXT_SIZE);
    m_strArtist = ParseField(pBlock, ARTIST_OFFSET, TEXT_SIZE);
    m_strAlbum = ParseField(pBlock, ALBUM_OFFSET, TEXT_SIZE);
    m_strYear = ParseField(pBlock, YEAR_OFFSET, YEAR_SIZE);

    if (pBlock[TRACK_MARK_OFFSET] != 0)
    {
        // ID3v1: all 30 bytes are comment; the track number is left as it is.
        SetComment(ParseField(pBlock, COMMENT_OFFSET, TEXT_SIZE));
    }
    else
    {
        // ID3v1.1: 28 bytes of comment, a zero byte, the track number.
        SetComment(ParseField(pBlock, COMMENT_OFFSET, COMMENT_V11_SIZE));
        m_nTrack = pBlock[TRACK_OFFSET];
    }
    m_nGenre = pBlock[GENRE_OFFSET];
}

void CID3v1::Render(CRenderBuffer& buffer) const
{
    BYTE* pBlock = buffer.Append(BLOCK_SIZE);
    std::memcpy(pBlock, "TAG", 3);
    RenderField(pBlock, TITLE_OFFSET, TEXT_SIZE, m_strTitle);
    RenderField(pBlock, ARTIST_OFFSET, TEXT_SIZE, m_strArtist);
    RenderField(pBlock, ALBUM_OFFSET, TEXT_SIZE, m_strAlbum);
    RenderField(pBlock, YEAR_OFFSET, YEAR_SIZE, m_strYear);
    if (m_nTrack == 0)
    {
        RenderField(pBlock, COMMENT_OFFSET, TEXT_SIZE, m_strComment);
    }
    else
    {
        RenderField(pBlock, COMMENT_OFFSET, COMMENT_V11_SIZE, m_strComment);
        pBlock[TRACK_MARK_OFFSET] = 0;
        pBlock[TRACK_OFFSET] = static_cast<BYTE>(m_nTrack & 0xFF);
    }
    pBlock[GENRE_OFFSET] = static_cast<BYTE>(m_nGenre & 0xFF);
}

} // namespace Tags::ID3v1Tag
