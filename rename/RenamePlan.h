// The rename plan as the command and the confirmation handle it: which files enter it, which
// mark each planned name shows, and which altered names it takes.
#pragma once

#include "base/String.h"
#include "base/Types.h"

#include <vector>

class CAutoRename;
class CFileAssocData;
struct tagRENAMEITEM;

// Adds the selected records in list order to the engine, each with its position in the
// selection (entries without a record count as well) and its stale mark cleared.
void AddSelectedRecords(CAutoRename& engine, const std::vector<CFileAssocData*>& arrRecords);

// The images of the confirmation list.
enum ERenameImage
{
    RENAME_IMAGE_ARROW,   // every row, before the current name
    RENAME_IMAGE_READY,   // a name that can be used and has every field
    RENAME_IMAGE_PARTIAL, // a name that can be used but has an empty field
    RENAME_IMAGE_CLASH,   // a name that repeats another planned name or an existing file
    RENAME_IMAGE_COUNT
};

// The mark of the item's planned name.
ERenameImage GetNewNameImage(const tagRENAMEITEM& item);

// What becomes of a name typed in the alteration.
enum class EAlteredName
{
    Valid,
    Blank,            // nothing but blanks
    IllegalCharacter, // one of \ / : * ? " < > |
};

// The name typed, trimmed at both ends, into *pstrName, and whether it may be used.
EAlteredName CheckAlteredName(const CString& strText, CString* pstrName = nullptr);
