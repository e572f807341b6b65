// The 18 columns of the file list, registered with its column manager in this order; a column's
// id is its position here and selects the record field it shows (CFileAssocData::Field).
#pragma once

#include "base/Types.h"

class CColumnManager;

struct tagCOLUMNDEF
{
    const char16_t* pszTitle;
    WORD nFlags;
    int nWidth;
    int nMinWidth;
};

inline constexpr int FILE_LIST_COLUMN_COUNT = 18;

// The table by column id.
const tagCOLUMNDEF* GetFileListColumns();

// Registers the table with the manager (the file list's constructor does this once).
void AddFileListColumns(CColumnManager& manager);
