// The command numbers the file list handles, shared by its menus, the main window's menu and
// toolbar and the command routing (the list is asked first).
#pragma once

#include "base/Types.h"

namespace Cmd
{

inline constexpr UINT ID_EDIT_TAG = 32901;
inline constexpr UINT ID_REMOVE_TAG = 32902;
inline constexpr UINT ID_PLAY = 32904;
inline constexpr UINT ID_OPEN_FILE_LOCATION = 32905;
inline constexpr UINT ID_AUTO_RENAME = 32874;
inline constexpr UINT ID_TAGS_FROM_NAME = 32875;
inline constexpr UINT ID_RENAME_PRESET_FIRST = 32934;
inline constexpr UINT ID_RENAME_PRESET_LAST = 32950;
inline constexpr UINT ID_RENAME = 32907;
inline constexpr UINT ID_REMOVE_FROM_LIST = 32906;
inline constexpr UINT ID_PROPERTIES = 32908;
inline constexpr UINT ID_LOAD_PLAYLIST = 32910;
inline constexpr UINT ID_CREATE_PLAYLIST = 32903;
inline constexpr UINT ID_EDIT_UNDO = 57643;
inline constexpr UINT ID_SELECT_ALL = 57642;
inline constexpr UINT ID_INVERT_SELECTION = 32845;
inline constexpr UINT ID_MOVE_UP = 32929;
inline constexpr UINT ID_MOVE_DOWN = 32930;
inline constexpr UINT ID_CHOOSE_COLUMNS = 32775;
inline constexpr UINT ID_SIZE_ALL_COLUMNS = 32780;
inline constexpr UINT ID_RESET_COLUMNS = 32781;

} // namespace Cmd
