// The command numbers of the main window, its menu 128 and toolbar, kept as the program has
// always numbered them.
#pragma once

#include "base/Types.h"

namespace Cmd
{

// The file list's commands.
inline constexpr UINT ID_EDIT_TAG = 32901;
inline constexpr UINT ID_REMOVE_TAG = 32902;
inline constexpr UINT ID_PLAY = 32904;
inline constexpr UINT ID_OPEN_FILE_LOCATION = 32905;
inline constexpr UINT ID_AUTO_RENAME = 32874;
inline constexpr UINT ID_RENAME = 32907;
inline constexpr UINT ID_REMOVE_FROM_LIST = 32906;
inline constexpr UINT ID_PROPERTIES = 32908;
inline constexpr UINT ID_SELECT_ALL = 57642;
inline constexpr UINT ID_INVERT_SELECTION = 32845;
inline constexpr UINT ID_MOVE_UP = 32929;
inline constexpr UINT ID_MOVE_DOWN = 32930;
inline constexpr UINT ID_CHOOSE_COLUMNS = 32775;

// The main window's and the application's.
inline constexpr UINT ID_LOAD_PLAYLIST = 32910;
inline constexpr UINT ID_CREATE_PLAYLIST = 32903;
inline constexpr UINT ID_APP_EXIT = 57665;
inline constexpr UINT ID_VIEW_TOOLBAR = 59392;
inline constexpr UINT ID_VIEW_STATUS_BAR = 59393;
inline constexpr UINT ID_VIEW_FOLDERS = 32771;
inline constexpr UINT ID_VIEW_REFRESH = 32772;
inline constexpr UINT ID_TOOLS_OPTIONS = 32811;
inline constexpr UINT ID_VERSION_HISTORY = 32846;
inline constexpr UINT ID_TERM_OF_USE = 32873;
inline constexpr UINT ID_APP_ABOUT = 57664;

// Resource numbers of the window.
inline constexpr UINT IDR_MAINFRAME = 128;
inline constexpr UINT IDS_TOOLBAR_STANDARD = 124;
inline constexpr UINT ID_INDICATOR_ITEMS = 316;
inline constexpr UINT ID_INDICATOR_BUSY = 318;

} // namespace Cmd
