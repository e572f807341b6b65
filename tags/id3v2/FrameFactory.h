// Building frame objects from the bytes of a tag's frame area: the frame header, the checks that
// decide whether a frame can be read at all, the ID3v2.2 identifiers and the class that
// represents each frame identifier.
#pragma once

#include "base/Types.h"
#include "tags/id3v2/ID3v2Frame.h"
#include "tags/id3v2/ID3v2FrameHeader.h"

#include <memory>

namespace Tags::ID3v2Tag
{

// TRUE when the first 3 (version below 3) or 4 characters of szID are all digits or upper-case
// letters A to Z.
BOOL IsValidFrameID(const char* szID, int nVersion);

// Reads one frame at pData, where nRemaining bytes of the frame area are left, from a tag of
// version nVersion. bTagUnsynchronisation is the tag header's flag, which in 2.4 means that every
// frame's body is unsynchronised. NULL when the frame does not fit into the remaining bytes or
// its ID is not valid; the reader stops there. A frame whose header declares size 0 is returned
// all the same: the reader decides what that means.
std::unique_ptr<CFrame> ReadFrame(const BYTE* pData, UINT nRemaining, int nVersion,
                                  BOOL bTagUnsynchronisation);

// Constructs the class that represents the frame's (already mapped) ID from the frame's nLength
// bytes (header included, body as it is to be read) and its parsed header:
// TXXX CUserTextFrame; other T-frames and IPLS CTextFrame, TCON with its genres converted;
// COMM, APIC, PIC, WXXX, other W-frames, POPM, PCNT, USLT, USER, PRIV their classes; everything
// else CUnknowFrame. A frame read compressed, encrypted or grouped is always a CUnknowFrame:
// its data cannot be interpreted and is kept as it is.
std::unique_ptr<CFrame> ConstructFrame(const BYTE* pFrame, UINT nLength,
                                       std::unique_ptr<CFrameHeader> pHeader);

} // namespace Tags::ID3v2Tag
