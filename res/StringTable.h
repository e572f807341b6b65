// The string table: the program's messages by resource number. "%1" and "%2" are filled with
// paths by FormatResourceString.
#pragma once

#include "base/String.h"

namespace Res
{

inline constexpr UINT IDS_FAILED_READING_FILE = 140;
inline constexpr UINT IDS_FAILED_WRITING_FILE = 145;

// The text of a resource number; empty when there is none.
CString LoadResourceString(UINT nID);

// The text with "%1" and "%2" replaced by the arguments.
CString FormatResourceString(UINT nID, const CString& str1, const CString& str2 = CString());

} // namespace Res
