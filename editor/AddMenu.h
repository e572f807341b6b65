// The Add button's menu of the tag editors, as plain data for the window to build its menu from:
// a fixed part with the frames added most often, then the submenu "All" with every frame a user
// can add, in the order and with the numbers of the catalogue's addable list.
#pragma once

#include "base/String.h"
#include "base/Types.h"

#include <vector>

// One entry: a separator, or a frame with its command number (1 to 65) and its text.
struct tagADDMENUITEM
{
    BOOL bSeparator = FALSE;
    WORD nCommand = 0;          // 0 for a separator
    const char* szID = nullptr; // null for a separator
    CString strText;            // the frame's description; empty for a separator
};

struct tagADDMENU
{
    // 18 entries, four of them separators, the last one directly above "All": Title, Album,
    // Artist, Genre, Year, Track, Comments, -, Composer, Album Artist, -, Picture,
    // Popularimeter, Unsychronized Lyric, -, Custom Text Field, Custom URL Field, -.
    std::vector<tagADDMENUITEM> arrTop;
    // The submenu's caption, "All", and its 65 entries in list order.
    CString strAllCaption;
    std::vector<tagADDMENUITEM> arrAll;
};

tagADDMENU BuildAddMenu();

// The frame ID of the Add-menu command nCommand (1 to 65); null for any other number, the 0 of
// "no entry chosen" included.
const char* GetAddMenuFrameID(int nCommand);
