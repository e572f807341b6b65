// The rows of the tag editors' frame list: the group a frame ID is shown under, the groups'
// header texts, the text of a row's "Frame" column, and which row is selected after one is taken
// out of the list.
#pragma once

#include "base/String.h"

enum FRAME_GROUP : int
{
    GROUP_BASIC = 1,
    GROUP_PICTURES = 2,
    GROUP_URL_LINKS = 3,
    GROUP_RATING = 4,
    GROUP_LYRICS = 5,
    GROUP_PRIVATE = 6,
    GROUP_OTHER = 7
};

// Groups are numbered 1 to FRAME_GROUP_COUNT and created in that order.
inline constexpr int FRAME_GROUP_COUNT = 7;

// Tested in this order: first character "T", "COMM" or "IPLS" basic; "APIC" pictures; first
// character "W" URL links; "POPM" or "PCNT" rating; "USLT" or "SYLT" lyrics; "PRIV" private;
// anything else (a null or empty ID included) other. Comparisons are exact and case-sensitive.
FRAME_GROUP GetFrameGroup(const char* szID);

// "Basic Informations", "Attached Pictures", ... for groups 1 to 7; empty for other numbers.
CString GetFrameGroupHeader(int nGroup);

// The "Frame" column of a row: the catalogue's description of the ID, or the ID itself when the
// catalogue does not know it.
CString GetFrameCaption(const char* szID);

// After the row at nRow (as displayed, of nCount rows) is removed: the row to select, counted
// in the list without it. The row below takes its place; the last row passes the selection to
// the one above; removing the only row, or a row that is not in the list, selects nothing (-1).
int GetSelectionAfterRemoval(int nRow, int nCount);

// The row after nRow when there is one, else -1: Remove and Keep in the multi-file editor walk
// down the list on repeated presses.
int GetNextRow(int nRow, int nCount);
