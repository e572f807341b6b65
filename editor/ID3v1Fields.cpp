#include "editor/ID3v1Fields.h"

#include "base/LeadingInteger.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v1/ID3v1Genres.h"

using Tags::ID3v1Tag::CID3v1;

namespace
{

bool IsGenreIndex(int nIndex)
{
    return nIndex >= 0 && nIndex < Tags::ID3v1Tag::ID3v1GenreCount;
}

CString FormatTrack(int nTrack)
{
    return FormatString(u"%d", nTrack);
}

} // namespace

int GetFieldTextLimit(ID3V1_FIELD field)
{
    switch (field)
    {
    case FIELD_TITLE:
    case FIELD_ALBUM:
    case FIELD_ARTIST:
    case FIELD_COMMENT:
        return CID3v1::MAX_FIELD_LENGTH;
    case FIELD_YEAR:
        return 4;
    case FIELD_TRACK:
        return 3;
    case FIELD_GENRE:
        break;
    }
    return 0;
}

BOOL CheckTrackNumber(const CString& strTrack, int& nTrack)
{
    const LONGLONG nNumber = GetLeadingInteger(strTrack);
    if (nNumber < 0 || nNumber > TRACK_NUMBER_MAX)
        return FALSE;
    nTrack = static_cast<int>(nNumber);
    return TRUE;
}

int GetGenreSelection(int nGenre)
{
    return IsGenreIndex(nGenre) ? nGenre : -1;
}

int GetGenreToStore(int nSelection)
{
    return IsGenreIndex(nSelection) ? nSelection : CID3v1::NO_GENRE;
}

tagID3V1VALUES LoadID3v1Values(const CID3v1* pTag)
{
    tagID3V1VALUES values;
    if (pTag == nullptr)
        return values;
    for (int i = 0; i < ID3V1_FIELD_COUNT; ++i)
        LoadID3v1Field(static_cast<ID3V1_FIELD>(i), *pTag, values);
    return values;
}

void LoadID3v1Field(ID3V1_FIELD field, const CID3v1& tag, tagID3V1VALUES& values)
{
    switch (field)
    {
    case FIELD_TITLE:
        values.strTitle = tag.GetTitle();
        break;
    case FIELD_ALBUM:
        values.strAlbum = tag.GetAlbum();
        break;
    case FIELD_ARTIST:
        values.strArtist = tag.GetArtist();
        break;
    case FIELD_GENRE:
        values.nGenre = GetGenreSelection(tag.m_nGenre);
        break;
    case FIELD_YEAR:
        values.strYear = tag.GetYear();
        break;
    case FIELD_TRACK:
        values.strTrack = FormatTrack(tag.GetTrack());
        break;
    case FIELD_COMMENT:
        values.strComment = tag.GetComment();
        break;
    }
}

void StoreID3v1Values(const tagID3V1VALUES& values, int nTrack, CID3v1& tag)
{
    tag.SetTitle(values.strTitle);
    tag.SetAlbum(values.strAlbum);
    tag.SetArtist(values.strArtist);
    tag.m_nGenre = GetGenreToStore(values.nGenre);
    tag.SetYear(values.strYear);
    tag.m_nTrack = nTrack;
    tag.SetComment(values.strComment);
}

BOOL CopyFieldFromID3v2(ID3V1_FIELD field, const Tags::CTagBase& source, CID3v1& target)
{
    switch (field)
    {
    case FIELD_TITLE:
        target.SetTitle(source.GetTitle());
        break;
    case FIELD_ALBUM:
        target.SetAlbum(source.GetAlbum());
        break;
    case FIELD_ARTIST:
        target.SetArtist(source.GetArtist());
        break;
    case FIELD_GENRE:
        target.m_nGenre = GetGenreToStore(CID3v1::FindGenre(source.GetGenre()));
        break;
    case FIELD_YEAR:
        target.SetYear(source.GetYear());
        break;
    case FIELD_TRACK:
        target.m_nTrack = source.GetTrack();
        return target.m_nTrack >= 0 && target.m_nTrack <= TRACK_NUMBER_MAX;
    case FIELD_COMMENT:
        target.SetComment(source.GetComment());
        break;
    }
    return TRUE;
}

CString* GetFieldText(ID3V1_FIELD field, tagID3V1VALUES& values)
{
    switch (field)
    {
    case FIELD_TITLE:
        return &values.strTitle;
    case FIELD_ALBUM:
        return &values.strAlbum;
    case FIELD_ARTIST:
        return &values.strArtist;
    case FIELD_YEAR:
        return &values.strYear;
    case FIELD_TRACK:
        return &values.strTrack;
    case FIELD_COMMENT:
        return &values.strComment;
    case FIELD_GENRE:
        break;
    }
    return nullptr;
}

const CString* GetFieldText(ID3V1_FIELD field, const tagID3V1VALUES& values)
{
    return GetFieldText(field, const_cast<tagID3V1VALUES&>(values));
}
