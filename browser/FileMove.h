// Renaming a file on disk the way the renames of the list need it: never over an existing entry,
// and a change of case only works also where the file system ignores case.
#pragma once

#include "base/String.h"
#include "base/Types.h"

class CFileAssocData;

// Moves the file; FALSE when the system refused (the new path names an existing entry, a
// folder is missing, the name is not allowed, no rights, ...), with the system's error code in
// *plOsError (errno here, GetLastError on Windows). A path too long for the platform, or one
// holding a NUL, is refused without asking the system.
BOOL MoveFileNoReplace(const CString& strOldPath, const CString& strNewPath,
                       LONG* plOsError = nullptr);

// The system's text for an error code, at most 1024 characters.
CString GetOsErrorText(LONG lOsError);

// The error code for a name the engine refuses itself (one that would leave its folder).
LONG GetInvalidNameError();

// A name that stays in its folder: not empty, not "." or "..", no separator and no NUL.
BOOL IsPlainName(const CString& strName);

// Renames a listed file within its folder and brings its record up to date: loaded under the new
// name, or marked stale when that fails. FALSE, the record unchanged, when the name is not plain
// (GetInvalidNameError) or the system refused the move, with the error code in *plOsError.
BOOL RenameRecordFile(CFileAssocData& record, const CString& strNewName, LONG* plOsError = nullptr);
