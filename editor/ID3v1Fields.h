// The seven ID3v1 fields of the tag editors: the values the dialog exchanges with its controls,
// how they are loaded from and stored into an ID3v1 tag, the track check, and "Copy from ID3v2"
// for one field.
#pragma once

#include "base/String.h"
#include "base/Types.h"

namespace Tags
{
class CTagBase;
}
namespace Tags::ID3v1Tag
{
class CID3v1;
}

// In the order of the dialog's fields and of their menu buttons.
enum ID3V1_FIELD : int
{
    FIELD_TITLE,
    FIELD_ALBUM,
    FIELD_ARTIST,
    FIELD_GENRE,
    FIELD_YEAR,
    FIELD_TRACK,
    FIELD_COMMENT
};

inline constexpr int ID3V1_FIELD_COUNT = 7;

// The largest track number an ID3v1 tag holds.
inline constexpr int TRACK_NUMBER_MAX = 255;

// The dialog's values: texts as typed, the genre as the index of the genre box's selection
// (-1 for none).
struct tagID3V1VALUES
{
    CString strTitle;
    CString strAlbum;
    CString strArtist;
    CString strYear;
    CString strTrack;
    CString strComment;
    int nGenre = -1;
};

// The text of a field among the values; null for the genre, which is an index.
CString* GetFieldText(ID3V1_FIELD field, tagID3V1VALUES& values);
const CString* GetFieldText(ID3V1_FIELD field, const tagID3V1VALUES& values);

// How many characters a user may type into the field: 30 for title, album, artist and comment,
// 4 for the year, 3 for the track; 0 (no text) for the genre. Texts the program sets may be
// longer.
int GetFieldTextLimit(ID3V1_FIELD field);

// The track rule: the Track text read as GetLeadingInteger does (so "<Keep>" and an empty text
// give 0), TRUE when the number is 0 to 255; nTrack is then the number to store. A negative
// number or one above 255 gives FALSE and leaves nTrack alone.
BOOL CheckTrackNumber(const CString& strTrack, int& nTrack);

// The genre box's selection for a tag's genre index: 0 to 147 select that genre, anything else
// (255 included) nothing (-1).
int GetGenreSelection(int nGenre);
// The genre index to store for a selection: 0 to 147 as they are, anything else 255 (no genre).
int GetGenreToStore(int nSelection);

// The values of a tag, or empty texts and no genre when there is none. The track is the decimal
// text of its number, "0" when it has none.
tagID3V1VALUES LoadID3v1Values(const Tags::ID3v1Tag::CID3v1* pTag);

// Takes one field's value from the tag into values, as the tag holds it: texts through the
// getters (cut to 30 characters by the setters), the genre as a selection, the track as
// decimal text.
void LoadID3v1Field(ID3V1_FIELD field, const Tags::ID3v1Tag::CID3v1& tag, tagID3V1VALUES& values);

// Sets every field of the tag from the values, in the order title, album, artist, genre, year,
// track, comment; nTrack is the number CheckTrackNumber gave for the Track text.
void StoreID3v1Values(const tagID3V1VALUES& values, int nTrack, Tags::ID3v1Tag::CID3v1& tag);

// "Copy from ID3v2" for one field: the field of source (read through its getters) into target.
// The genre is looked up by name in the genre table (a name that is not there gives 255); the
// track number is copied as it is, also above 255, so that the track check refuses it when the
// field is stored. Returns FALSE when the track copied is outside 0 to 255, which a caller
// that stores the number without the check must not write.
BOOL CopyFieldFromID3v2(ID3V1_FIELD field, const Tags::CTagBase& source,
                        Tags::ID3v1Tag::CID3v1& target);
