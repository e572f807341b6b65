// The predefined values the text frame dialog offers through its browse button, and how a value
// chosen in the picker goes into the list being edited.
#pragma once

#include "base/String.h"

#include <span>
#include <vector>

inline constexpr int FILE_TYPE_VALUE_COUNT = 8;
inline constexpr int MEDIA_TYPE_VALUE_COUNT = 67;

// The file-type and media-type codes of ID3v2, each refinement joined to its base code.
extern const char16_t* const FileTypeValues[FILE_TYPE_VALUE_COUNT];
extern const char16_t* const MediaTypeValues[MEDIA_TYPE_VALUE_COUNT];

// What the picker shows for a frame ID.
struct tagPRESETVALUES
{
    std::span<const char16_t* const> values;
    CString strCaption;
};

// The browse button is on for "TCON" (the 148 genre names, "Genres"), "TFLT" (FileTypeValues,
// "File Types") and "TMED" (MediaTypeValues, "Media Types"); FALSE, with no values and no
// caption, for any other ID.
BOOL GetPresetValues(const char* szID, tagPRESETVALUES& preset);

// Puts the value chosen in the picker into the list's items: as a new item at the end when
// nNotedIndex (the selection noted before the picker opened) is the number of items (the list
// dropped an item just created with New when its editor lost the focus) or not an item at all;
// otherwise into the item at nNotedIndex. An empty choice changes nothing. Returns the index of
// the item that holds the choice, to be selected, or -1.
int ApplyPresetChoice(std::vector<CString>& arrItems, int nNotedIndex, const CString& strChoice);
