// Remove Tag over the selected records: each file opened without its audio properties, the tags
// the options select removed, its record read again. A file that cannot be changed adds string
// 145 with its path to the collector and the batch goes on with the next.
#pragma once

#include "base/Types.h"

#include <vector>

class CDiagnosticMessages;
class CFileAssocData;
class CFileChange;

// nFlags: TAG_ID3V1 and/or TAG_ID3V2 (0 opens and closes each file unchanged). Returns the
// records whose files were changed and read again, in the order given. pChange, when given,
// records each file changed, for Undo.
std::vector<CFileAssocData*> RemoveRecordTags(const std::vector<CFileAssocData*>& arrRecords,
                                              UINT nFlags, CDiagnosticMessages* pDiag,
                                              CFileChange* pChange = nullptr);
