// The tag changes of fields read from a file's name: the frame actions and ID3v1 field values
// the multi-file write applies, with every field the name does not give left as the file has it.
#pragma once

#include "base/String.h"
#include "base/Types.h"
#include "editor/ID3v1Fields.h"

class CActionList;

// The fields a name gave; an empty text is a field not given.
struct tagNAMEFIELDVALUES
{
    CString strTitle;
    CString strAlbum;
    CString strArtist;
    CString strTrack;
    CString strYear;
    CString strGenre;
};

// Fills actions (which should be empty) and values for one file. ID3v2: TIT2, TALB, TPE1, TRCK
// and TCON are set to the given texts; the year is set in the frame of the version written
// (TYER for 3, TDRC for 4) and the other year frame removed, so that a tag never holds both.
// ID3v1: title, album, artist and year take the given texts, the track its leading number when
// that is 0 to 255, the genre its index when the text names an ID3v1 genre; the rest "<Keep>".
void GetNameFieldChanges(const tagNAMEFIELDVALUES& fields, int nWriteVersion, CActionList& actions,
                         tagID3V1VALUES& values);
