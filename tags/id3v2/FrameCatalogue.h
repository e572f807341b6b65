// What the program knows of ID3v2 frame identifiers: their display descriptions, the frames a
// user can add in the tag editors, and the ID3v2.2 identifiers with their four-character forms.
#pragma once

#include "base/Types.h"

#include <span>

namespace Tags::ID3v2Tag
{

struct tagFRAMEDESCRIPTION
{
    const char* szID;
    const char* szDescription;
};

struct tagADDABLEFRAME
{
    const char* szID;
    WORD nCommand;
};

struct tagV22MAPPING
{
    const char* szV22ID;
    const char* szID;
};

inline constexpr int FRAME_DESCRIPTION_COUNT = 92;
inline constexpr int ADDABLE_FRAME_COUNT = 65;
inline constexpr int V22_MAPPING_COUNT = 55;

// Sorted by identifier in byte order, for the binary search of GetFrameDescription.
std::span<const tagFRAMEDESCRIPTION> GetFrameDescriptions();
// In menu order; command numbers 1 to 65.
std::span<const tagADDABLEFRAME> GetAddableFrames();
std::span<const tagV22MAPPING> GetV22Mappings();

// The description of a frame identifier, or nullptr when the catalogue does not know it.
const char* GetFrameDescription(const char* szID);

// The four-character identifier of an ID3v2.2 frame, or nullptr when it has none.
const char* MapV22FrameID(const char* szV22ID);

// The seven ID3v2.2 identifiers kept as raw frames without mapping.
bool IsUnmappedV22FrameID(const char* szV22ID);

} // namespace Tags::ID3v2Tag
