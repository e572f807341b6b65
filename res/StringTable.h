// The string table: the program's messages by resource number. "%1" and "%2" are filled with
// paths by FormatResourceString.
#pragma once

#include "base/String.h"

namespace Res
{

inline constexpr UINT IDS_TOOLBAR_STANDARD = 124;
inline constexpr UINT IDS_INVALID_PLAYLIST = 126;
inline constexpr UINT IDS_USE_SAME_FIELD = 127;
inline constexpr UINT IDS_APP_TITLE = 128;
inline constexpr UINT IDS_TRACK_RANGE = 129;
inline constexpr UINT IDS_CONFIRM_REMOVE_TAGS = 130;
inline constexpr UINT IDS_WRITING_FILE = 131;
inline constexpr UINT IDS_PLEASE_WAIT = 132;
inline constexpr UINT IDS_ALREADY_RUNNING = 133;
inline constexpr UINT IDS_UNSUPPORTED_FIELD = 134;
inline constexpr UINT IDS_LOAD_IMAGE_FAILED = 135;
inline constexpr UINT IDS_SAVE_IMAGE_FAILED = 136;
inline constexpr UINT IDS_NO_IMAGE = 137;
inline constexpr UINT IDS_UNSUPPORTED_FILE_TYPE = 138;
inline constexpr UINT IDS_RENAME_FAILED = 139;
inline constexpr UINT IDS_FAILED_READING_FILE = 140;
inline constexpr UINT IDS_READING_FILE = 141;
inline constexpr UINT IDS_DEFAULT_PATH_SET = 142;
inline constexpr UINT IDS_READ_DIRECTORY_FAILED = 143;
inline constexpr UINT IDS_PLAY_FAILED = 144;
inline constexpr UINT IDS_FAILED_WRITING_FILE = 145;
inline constexpr UINT IDS_INVALID_RENAME_FORMAT = 146;
inline constexpr UINT IDS_INVALID_FILE_NAME = 147;
inline constexpr UINT IDS_TOO_MANY_PRESETS = 148;
// Added in this version: a pattern longer than a preset holds.
inline constexpr UINT IDS_RENAME_FORMAT_TOO_LONG = 149;
// Added in this version: a file "Tags from File Name" leaves alone.
inline constexpr UINT IDS_NAME_DOES_NOT_MATCH = 150;
inline constexpr UINT IDS_UNDO_FILE_CHANGED = 160;
inline constexpr UINT IDS_UNDOING_FILE = 161;
inline constexpr UINT IDS_UNDO_COMMAND = 162;
inline constexpr UINT IDS_UNDO_COMMAND_ONE = 163;
inline constexpr UINT IDS_PRESS_ESC_TO_CANCEL = 318;
// The folder pane's buttons: status-bar prompt, "\n", tool tip; numbered as their commands.
inline constexpr UINT IDS_INCLUDE_SUBDIRECTORIES = 320;
inline constexpr UINT IDS_APPEND_TO_LIST = 321;
inline constexpr UINT IDS_SET_DEFAULT_PATH = 322;
inline constexpr UINT IDS_READY = 57345;
// The dialog framework's messages for bound integer fields.
inline constexpr UINT IDS_ENTER_INTEGER = 61712;
inline constexpr UINT IDS_ENTER_INTEGER_RANGE = 61714;
inline constexpr UINT IDS_ENTER_POSITIVE_INTEGER = 61719;

// The text of a resource number; empty when there is none.
CString LoadResourceString(UINT nID);

// The text with "%1" and "%2" replaced by the arguments.
CString FormatResourceString(UINT nID, const CString& str1, const CString& str2 = CString());

} // namespace Res
