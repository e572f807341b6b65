// Where the program's own files (the help texts) are. A program run from its build folder or on
// Windows has them beside it; an installed one finds them in the shared data folder of its
// prefix, "../share/tagwright" from the program's folder.
#pragma once

#include "base/String.h"

// The full path of the program's file strFileName: beside the program in strProgramFolder when
// it is there, else in the installed data folder when it is there, else the path beside the
// program, so that a message names where the file was looked for first. Empty when the folder
// is.
CString FindProgramFile(const CString& strProgramFolder, const CString& strFileName);
