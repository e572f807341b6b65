// The command numbers of the main window, its menu 128 and toolbar, kept as the program has
// always numbered them. The file list's own commands come from its header.
#pragma once

#include "base/Types.h"
#include "browser/ui/FileViewCommands.h"

namespace Cmd
{

// The main window's and the application's.
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
