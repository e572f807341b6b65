#include "editor/PresetValues.h"

#include "tags/id3v1/ID3v1Genres.h"

#include <cstring>

const char16_t* const FileTypeValues[FILE_TYPE_VALUE_COUNT] = {
    u"MPG", u"MPG/1", u"MPG/2", u"MPG/3", u"MPG/2.5", u"MPG/AAC", u"VQF", u"PCM"};

const char16_t* const MediaTypeValues[MEDIA_TYPE_VALUE_COUNT] = {
    u"DIG",      u"DIG/A",    u"ANA",     u"ANA/WAC", u"ANA/8CA",  u"CD",        u"CD/A",
    u"CD/DD",    u"CD/AD",    u"CD/AA",   u"LD",      u"LD/A",     u"TT",        u"TT/33",
    u"TT/45",    u"TT/71",    u"TT/76",   u"TT/78",   u"TT/80",    u"MD",        u"MD/A",
    u"DAT",      u"DAT/A",    u"DAT/1",   u"DAT/2",   u"DAT/3",    u"DAT/4",     u"DAT/5",
    u"DAT/6",    u"DCC",      u"DCC/A",   u"DVD",     u"DVD/A",    u"TV",        u"TV/PAL",
    u"TV/NTSC",  u"TV/SECAM", u"VID",     u"VID/PAL", u"VID/NTSC", u"VID/SECAM", u"VID/VHS",
    u"VID/SVHS", u"VID/BETA", u"RAD",     u"RAD/FM",  u"RAD/AM",   u"RAD/LW",    u"RAD/MW",
    u"TEL",      u"TEL/I",    u"MC",      u"MC/4",    u"MC/9",     u"MC/I",      u"MC/II",
    u"MC/III",   u"MC/IV",    u"REE",     u"REE/9",   u"REE/19",   u"REE/38",    u"REE/76",
    u"REE/I",    u"REE/II",   u"REE/III", u"REE/IV"};

BOOL GetPresetValues(const char* szID, tagPRESETVALUES& preset)
{
    preset = tagPRESETVALUES();
    if (szID == nullptr)
        return FALSE;
    if (std::strcmp(szID, "TCON") == 0)
    {
        preset.values = Tags::ID3v1Tag::ID3v1Genres;
        preset.strCaption = CString(u"Genres");
    }
    else if (std::strcmp(szID, "TFLT") == 0)
    {
        preset.values = FileTypeValues;
        preset.strCaption = CString(u"File Types");
    }
    else if (std::strcmp(szID, "TMED") == 0)
    {
        preset.values = MediaTypeValues;
        preset.strCaption = CString(u"Media Types");
    }
    else
    {
        return FALSE;
    }
    return TRUE;
}

int ApplyPresetChoice(std::vector<CString>& arrItems, int nNotedIndex, const CString& strChoice)
{
    if (strChoice.IsEmpty())
        return -1;
    const int nCount = static_cast<int>(arrItems.size());
    if (nNotedIndex < 0 || nNotedIndex >= nCount)
    {
        // No item to put it into: the choice is kept as a new one rather than dropped.
        arrItems.push_back(strChoice);
        return nCount;
    }
    arrItems[static_cast<size_t>(nNotedIndex)] = strChoice;
    return nNotedIndex;
}
