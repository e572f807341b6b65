// What the frame edit dialogs show of a frame and write back into it, where that is more than
// copying a member: the text frames' Field and value list, the URL frames' description, and the
// popularimeter's counter check.
#pragma once

#include "base/String.h"
#include "base/Types.h"

#include <vector>

namespace Tags::ID3v2Tag
{
class CTextFrame;
class CUrlLinkFrame;
} // namespace Tags::ID3v2Tag

// The text frame dialog's two parts: the Field edit and the value list.
struct tagTEXTFRAMEFIELDS
{
    CString strField;
    std::vector<CString> arrValues;
};

// TRUE for "TXXX", whose first string is a description the user edits in the Field edit; every
// other text frame shows its catalogue description there, read-only.
BOOL IsFieldEditable(const char* szID);

// For "TXXX": the first string as Field and the rest as values (both empty when the frame has no
// strings). For any other ID: the catalogue's description (empty when it has none) and all the
// strings.
tagTEXTFRAMEFIELDS GetTextFrameFields(const Tags::ID3v2Tag::CTextFrame& frame);

// The strings OK gives the frame: for "TXXX" the Field text followed by the values, for any
// other ID the values alone (an empty list included).
std::vector<CString> BuildTextFrameValues(const char* szID, const tagTEXTFRAMEFIELDS& fields);

// TRUE for "WXXX", whose description is its own and editable; every other URL frame shows its
// catalogue description, read-only.
BOOL IsUrlDescriptionEditable(const char* szID);

// "WXXX": its own description; any other URL frame: the catalogue's description of its ID (for
// example "URL- Artist"), empty when there is none.
CString GetUrlDescription(const Tags::ID3v2Tag::CUrlLinkFrame& frame);

// The popularimeter's counter as typed: TRUE when it is an unsigned 32-bit decimal number
// (white space around the digits allowed, no sign), nCounter then holding it. An empty text,
// other characters or a number above 4294967295 give FALSE: the dialog says "Enter a positive
// integer." and keeps the frame as it was.
BOOL ParseCounter(const CString& strText, UINT& nCounter);
