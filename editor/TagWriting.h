// Writing and removing the tags of an open file for the editors and the Remove Tag command:
// which tags the options select, how the ID3v2 tag is prepared before it is written, and saving
// and removing without letting an exception out (they run in window slots, which must not see
// one). The options come in as plain values; their store belongs to the application.
#pragma once

#include "base/Types.h"

namespace Tags
{
class CMpegFile;
}
namespace Tags::ID3v2Tag
{
class CID3v2;
}

// The options the editors and Remove Tag read when they run ("WriteID3v1", "WriteID3v2",
// "RemoveID3v1", "RemoveID3v2", "ID3v2_WriteVersion", "ID3v2_WriteTextEncoding").
struct tagTAGOPTIONS
{
    BOOL bWriteID3v1 = TRUE;
    BOOL bWriteID3v2 = TRUE;
    BOOL bRemoveID3v1 = TRUE;
    BOOL bRemoveID3v2 = TRUE;
    int nWriteVersion = 3;
    int nTextEncoding = 1;
};

// TAG_ID3V2 when bWriteID3v2 is set, plus TAG_ID3V1 when bWriteID3v1 is set.
UINT GetWriteTagFlags(BOOL bWriteID3v1, BOOL bWriteID3v2);
// TAG_ID3V2 when bRemoveID3v2 is set, plus TAG_ID3V1 when bRemoveID3v1 is set; 0 removes nothing.
UINT GetRemoveTagFlags(BOOL bRemoveID3v1, BOOL bRemoveID3v2);

// Gives the tag the version it is written in (nWriteVersion, only when it is 3 or 4; otherwise
// the tag keeps its own) and the text encoding of its frames. An encoding the written tag
// cannot hold is replaced by UTF-16 (1): UTF-8 (3) in a 2.3 tag, and UTF-16BE (2) or any other
// value, which the library does not write and would leave every text empty.
void PrepareID3v2ForWriting(Tags::ID3v2Tag::CID3v2& tag, int nWriteVersion, int nTextEncoding);

// SaveTags / RemoveTags of the file with these flags. FALSE when they report failure and when
// the file layer throws (a write error, a file removed or replaced since it was opened, memory
// running out); the container leaves the file as it was in every such case.
BOOL TrySaveTags(Tags::CMpegFile& file, UINT nFlags);
BOOL TryRemoveTags(Tags::CMpegFile& file, UINT nFlags);

// The single-file editor's writing on OK, after its ID3v1 fields went into the ID3v1 tag: the
// file's ID3v2 tag, when it has one (read or added), is prepared whether or not it is written;
// then the tags the write options select are saved. A selected tag that is empty is removed
// from the file, one not selected is left as it is.
BOOL WriteFileTags(Tags::CMpegFile& file, BOOL bWriteID3v1, BOOL bWriteID3v2, int nWriteVersion,
                   int nTextEncoding);
