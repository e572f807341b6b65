#include "editor/FrameRows.h"

#include "tags/id3v2/FrameCatalogue.h"

#include <cstring>

namespace
{

bool Is(const char* szID, const char* szOther)
{
    return std::strcmp(szID, szOther) == 0;
}

} // namespace

FRAME_GROUP GetFrameGroup(const char* szID)
{
    if (szID == nullptr)
        return GROUP_OTHER;
    if (szID[0] == 'T' || Is(szID, "COMM") || Is(szID, "IPLS"))
        return GROUP_BASIC;
    if (Is(szID, "APIC"))
        return GROUP_PICTURES;
    if (szID[0] == 'W')
        return GROUP_URL_LINKS;
    if (Is(szID, "POPM") || Is(szID, "PCNT"))
        return GROUP_RATING;
    if (Is(szID, "USLT") || Is(szID, "SYLT"))
        return GROUP_LYRICS;
    if (Is(szID, "PRIV"))
        return GROUP_PRIVATE;
    return GROUP_OTHER;
}

CString GetFrameGroupHeader(int nGroup)
{
    static constexpr const char16_t* kHeaders[FRAME_GROUP_COUNT] = {u"Basic Informations",
                                                                    u"Attached Pictures",
                                                                    u"URL Links",
                                                                    u"Rating",
                                                                    u"Lyrics",
                                                                    u"Private",
                                                                    u"Other"};
    if (nGroup < 1 || nGroup > FRAME_GROUP_COUNT)
        return CString();
    return CString(kHeaders[nGroup - 1]);
}

CString GetFrameCaption(const char* szID)
{
    if (szID == nullptr)
        return CString();
    const char* szDescription = Tags::ID3v2Tag::GetFrameDescription(szID);
    // Frame IDs are checked to be digits and capitals when read, so the ID is plain text.
    return CString(szDescription ? szDescription : szID);
}

int GetSelectionAfterRemoval(int nRow, int nCount)
{
    if (nRow < 0 || nRow >= nCount)
        return -1;
    if (nRow + 1 < nCount)
        return nRow;
    return nRow - 1;
}

int GetNextRow(int nRow, int nCount)
{
    return nRow >= 0 && nRow + 1 < nCount ? nRow + 1 : -1;
}
