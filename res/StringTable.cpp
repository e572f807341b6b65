#include "res/StringTable.h"

#include <algorithm>
#include <iterator>

namespace Res
{

namespace
{

struct tagSTRINGRESOURCE
{
    UINT nID;
    const char16_t* pszText;
};

// Sorted by number.
constexpr tagSTRINGRESOURCE kStrings[] = {
    {IDS_FAILED_READING_FILE,
     u"Failed to reading file at '%1'.\n\nMake sure the file exist in the specified path and not "
     u"openned in the another program also check the user has read access right."},
    {IDS_FAILED_WRITING_FILE,
     u"Failed to writing file at '%1'. Close the file that's open in another program."},
};

} // namespace

CString LoadResourceString(UINT nID)
{
    const auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), nID,
                                     [](const tagSTRINGRESOURCE& s, UINT n) { return s.nID < n; });
    if (it == std::end(kStrings) || it->nID != nID)
        return CString();
    return CString(it->pszText);
}

CString FormatResourceString(UINT nID, const CString& str1, const CString& str2)
{
    // One pass, so a path that itself holds "%2" is not filled in again.
    const CString strText = LoadResourceString(nID);
    CString strResult;
    for (int i = 0; i < strText.GetLength(); ++i)
    {
        if (strText[i] == u'%' && i + 1 < strText.GetLength() &&
            (strText[i + 1] == u'1' || strText[i + 1] == u'2'))
        {
            strResult += strText[i + 1] == u'1' ? str1 : str2;
            ++i;
        }
        else
        {
            strResult += strText[i];
        }
    }
    return strResult;
}

} // namespace Res
