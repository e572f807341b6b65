// The frame kinds the tag editors can edit and add: which edit dialog a frame ID gets, and the
// new frame object that Add hands to that dialog.
#pragma once

#include "tags/id3v2/ID3v2Frame.h"

#include <memory>

// In the order the IDs are tested.
enum FRAME_DIALOG_KIND : int
{
    FRAME_DIALOG_TEXT,          // first character "T"
    FRAME_DIALOG_COMMENTS,      // "COMM"
    FRAME_DIALOG_URL_LINK,      // first character "W"
    FRAME_DIALOG_PICTURE,       // "APIC"
    FRAME_DIALOG_POPULARIMETER, // "POPM"
    FRAME_DIALOG_LYRICS,        // "USLT"
    FRAME_DIALOG_TERM_OF_USE,   // "USER"
    FRAME_DIALOG_NONE           // anything else: the frame can only be removed (or kept)
};

// The dialog for a frame ID; comparisons are exact and case-sensitive. A null ID has none.
FRAME_DIALOG_KIND GetFrameDialogKind(const char* szID);

// The dialog for a frame of a tag: the one of its ID when the frame is of the class that dialog
// edits, else none. A frame the library keeps as raw bytes (read compressed, encrypted or
// grouped, or an ID3v2.2 frame without a later ID) may carry an ID such as "TIT2" whose dialog
// would take it for what it is not.
FRAME_DIALOG_KIND GetFrameDialogKind(const Tags::ID3v2Tag::CFrame& frame);

// A new frame for Add, with the defaults of its class: "TXXX" a CUserTextFrame, any other ID
// beginning with "T" a CTextFrame of that ID, "COMM" a CCommentsFrame, "WXXX" a
// CUserUrlLinkFrame, any other ID beginning with "W" a CUrlLinkFrame of that ID, "APIC" a
// CPictureFrame, "POPM" a CPopularimeterFrame, "USLT" a CUnsynchronizedLyricsFrame, "USER" a
// CTermOfUseFrame; null for every other ID and for a null or empty one.
std::unique_ptr<Tags::ID3v2Tag::CFrame> CreateNewFrame(const char* szID);
