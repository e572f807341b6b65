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
    {IDS_TOOLBAR_STANDARD, u"Standard"},
    {IDS_INVALID_PLAYLIST, u"The file '%1'  is not valid playlist."},
    {IDS_USE_SAME_FIELD,
     u"The field you want to add/edit is already exist and/or it's value is vary for each tag "
     u"of file. Do you want to use same field for all tag of files?"},
    {IDS_APP_TITLE, u"Tagwright"},
    {IDS_TRACK_RANGE, u"The track number must be between 0 and 255."},
    {IDS_CONFIRM_REMOVE_TAGS, u"Are you sure do you want remove the tags of the selected file(s)?"},
    {IDS_WRITING_FILE, u"Writing file: '%s'..."},
    {IDS_PLEASE_WAIT, u"Please wait..."},
    {IDS_ALREADY_RUNNING,
     u"The application is already running. Please close the application and try again."},
    {IDS_UNSUPPORTED_FIELD,
     u"Unsupported or unknow field. You can only remove these type of fields."},
    {IDS_LOAD_IMAGE_FAILED, u"Load image failed.\n'%1'"},
    {IDS_SAVE_IMAGE_FAILED, u"Enable to save image.\nPath: '%1'"},
    {IDS_NO_IMAGE, u"There is no image to save."},
    {IDS_UNSUPPORTED_FILE_TYPE, u"The type of file '%1' is not currently supported."},
    {IDS_RENAME_FAILED, u"Couldn't rename file from '%1' to '%2'"},
    {IDS_FAILED_READING_FILE,
     u"Failed to reading file at '%1'.\n\nMake sure the file exist in the specified path and not "
     u"openned in the another program also check the user has read access right."},
    {IDS_READING_FILE, u"Reading file : '%1'..."},
    {IDS_DEFAULT_PATH_SET,
     u"Path '%1' is set as the program default path. To change the settings goto Tools menu, "
     u"Options, General tab."},
    {IDS_READ_DIRECTORY_FAILED, u"Enable to read directory '%1'."},
    {IDS_PLAY_FAILED,
     u"Couldn't create playlist or play the file. Make sure Windows Media Player or another "
     u"appropriate application is installed on your system."},
    {IDS_FAILED_WRITING_FILE,
     u"Failed to writing file at '%1'. Close the file that's open in another program."},
    {IDS_INVALID_RENAME_FORMAT,
     u"The rename format can be contain combination of following items:\n<counter>\n<filename>\n"
     u"<title>\n<album>\n<artist>\n<track>\n<year>\n\n And must not contains illegal characters: "
     u"\\ /   : * ? \" |"},
    {IDS_INVALID_FILE_NAME,
     u"A file name can't contain any of the following characters: \\ / \" * ? < > |"},
    {IDS_TOO_MANY_PRESETS, u"You can't create more than 16 presets."},
    {IDS_RENAME_FORMAT_TOO_LONG,
     u"The rename format is too long: it can hold at most 256 characters. Shorten it and try "
     u"again."},
    {IDS_NAME_DOES_NOT_MATCH, u"The name of '%1' does not match the pattern."},
    {IDS_UNDO_FILE_CHANGED, u"'%1' was changed since, or is gone: Undo left it as it is."},
    {IDS_UNDOING_FILE, u"Undoing file: '%1'..."},
    {IDS_UNDO_COMMAND, u"Undo %1 (%2 files)"},
    {IDS_UNDO_COMMAND_ONE, u"Undo %1 (1 file)"},
    {IDS_PRESS_ESC_TO_CANCEL, u"Press [Esc] to cancel"},
    {IDS_INCLUDE_SUBDIRECTORIES, u"Include subdirectorues\nInclude Subdirectories"},
    {IDS_APPEND_TO_LIST, u"Append to the current list of files\nAppend to the Files List"},
    {IDS_SET_DEFAULT_PATH, u"Set selected directory as the default path\nSet Default Path"},
    {IDS_READY, u"Ready"},
    {IDS_ENTER_INTEGER, u"Enter an integer."},
    {IDS_ENTER_INTEGER_RANGE, u"Enter an integer between %1 and %2."},
    {IDS_ENTER_POSITIVE_INTEGER, u"Enter a positive integer."},
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
