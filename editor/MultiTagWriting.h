// The multi-file editor's OK: the recorded frame actions and the ID3v1 field values applied to
// each file in turn, each file opened anew for its write (nothing read while the dialog was
// shown is written back) and saved with the tags the options select.
#pragma once

#include "base/BusyState.h"
#include "base/String.h"
#include "base/Types.h"
#include "editor/ID3v1Fields.h"
#include "editor/TagWriting.h"
#include "tags/file/FileEx.h"
#include "tags/id3v1/ID3v1Genres.h"

#include <functional>
#include <vector>

class CActionList;
class CDiagnosticMessages;
class CFileChange;

namespace Tags
{
class CMpegFile;
}

// The ID3v1 fields' placeholders besides "<Keep>" (ActionList.h), compared as whole texts.
inline constexpr char16_t PLACEHOLDER_COPY_FROM_ID3V2[] = u"<Copy from ID3v2>";

// The two entries the multi-file editor's genre box has after the genres.
inline constexpr int GENRE_ENTRY_KEEP = Tags::ID3v1Tag::ID3v1GenreCount;
inline constexpr int GENRE_ENTRY_COPY_FROM_ID3V2 = Tags::ID3v1Tag::ID3v1GenreCount + 1;

// The values every field starts with: "<Keep>" in the six texts and the "<Keep>" genre entry.
tagID3V1VALUES GetFieldsToKeep();

// The frame actions onto the file's ID3v2 tag (created when the file has none), in list order:
// Keep does nothing; Set and Remove delete every frame with the action's ID, and Set then
// appends a copy of its frame at the end. The tag's version and encoding are left alone: the
// ID3v1 fields are copied from the tag as it was read.
void ApplyActions(Tags::CMpegFile& file, const CActionList& actions);

// The field values onto the file's ID3v1 tag (created when the file has none). Per field:
// "<Keep>" (the genre entry GENRE_ENTRY_KEEP) leaves it alone; "<Copy from ID3v2>"
// (GENRE_ENTRY_COPY_FROM_ID3V2) copies it from the ID3v2 tag as the actions left it; any
// other value is stored: the texts through the setters, the genre when it names one (else
// none), the track as the track check reads it. A file with no ID3v2 tag to copy from (none
// read and none made by the actions) keeps the fields set to be copied. A track that is not
// 0 to 255, typed or copied, is never stored: the file keeps its own.
void ApplyID3v1Fields(Tags::CMpegFile& file, const tagID3V1VALUES& values);

// How many rewritten files wait to be flushed together; each holds three descriptors meanwhile.
inline constexpr int REWRITE_BATCH_SIZE = 32;

enum FILE_WRITE_RESULT : int
{
    FILE_WRITTEN,
    FILE_OPEN_FAILED, // string 140
    FILE_SAVE_FAILED, // string 145: open only for reading, or the save failed
    FILE_CHANGED,     // string 140: not the file, or not the state of it, that the editor read
};

// The whole write of one file: opened anew (exclusively), the actions applied when bWriteID3v2
// is set and the fields when bWriteID3v1 is set, the ID3v2 tag given the version and encoding
// of the options, the selected tags saved, the file closed. A file deleted since the dialog
// read it does not open; one another program holds is opened only for reading and refused; one
// deleted or replaced while it is open is refused before anything is written. With pExpected,
// a file whose stamp differs (replaced or written since the editor read it) is left alone: the
// user chose the changes for the file as it was. Never throws.
FILE_WRITE_RESULT WriteTagsToFile(const CString& strPath, const CActionList& actions,
                                  const tagID3V1VALUES& values, const tagTAGOPTIONS& options,
                                  const Tags::tagFILESTAMP* pExpected = nullptr);

// The message a failed write is reported with (140 or 145); 0 for a written file.
UINT GetWriteFailureMessage(FILE_WRITE_RESULT result);

// OK's loop over the files in order, inside the busy state: before each file the cancel request
// is polled and the status text names the file (string 131); a file that fails adds its message
// with its path to pDiag and the loop goes on. Returns FALSE when Esc stopped it: the files
// before stay written, the rest are not touched. pStamps, when given, holds each file's stamp
// as the editor read it, in the order of arrFiles. Files whose tags must grow are rewritten in
// batches of up to REWRITE_BATCH_SIZE, flushed together; a file's failure is reported once its
// batch has been committed, and the messages keep the order of the files. pChange, when given,
// records each file written, for Undo.
BOOL WriteTagsToFiles(const std::vector<CString>& arrFiles, const CActionList& actions,
                      const tagID3V1VALUES& values, const tagTAGOPTIONS& options, IBusyState& busy,
                      CDiagnosticMessages* pDiag,
                      const std::vector<Tags::tagFILESTAMP>* pStamps = nullptr,
                      CFileChange* pChange = nullptr);

// What one file of the loop gets: the frame actions and the field values, borrowed from the
// provider until it is asked for the next file.
struct tagFILECHANGES
{
    const CActionList* pActions = nullptr;
    const tagID3V1VALUES* pValues = nullptr;
};

// Asked for each file, by its index in arrFiles, just before the file is opened; FALSE skips the
// file, which is then neither opened nor reported.
using FileChangesProvider = std::function<BOOL(size_t nIndex, tagFILECHANGES& changes)>;

// The same loop with changes of each file's own.
BOOL WriteTagsToFiles(const std::vector<CString>& arrFiles, const FileChangesProvider& provider,
                      const tagTAGOPTIONS& options, IBusyState& busy, CDiagnosticMessages* pDiag,
                      const std::vector<Tags::tagFILESTAMP>* pStamps = nullptr,
                      CFileChange* pChange = nullptr);
