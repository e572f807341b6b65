// The texts of the entries that offer Tagwright on a Linux desktop: the desktop entry (the menu,
// and "Open With" for MPEG audio files, M3U playlists and folders) and the context-menu entries
// of Dolphin (service menu), Nautilus (script) and Nemo (action). Each starts the program with
// the selected paths as one argument, joined by "|", as the Windows context menu does.
//
// The user's own entries, which the integration switches write and remove, carry the marker
// line; the system's, installed with the program, do not.
#pragma once

#ifndef _WIN32

#include <string>

namespace DesktopEntries
{

// The desktop id: the name of the desktop entry, of the metadata and of the icon, and the name
// the program gives the desktop for its windows.
inline constexpr char DESKTOP_ID[] = "com.corvell.Tagwright";

// The entries' places below a data folder ($XDG_DATA_HOME for the user's, the prefix's share
// folder for the system's). Nautilus takes scripts only from the user's folder; the name is the
// menu item's text.
inline constexpr char DESKTOP_ENTRY_PATH[] = "applications/com.corvell.Tagwright.desktop";
inline constexpr char SERVICE_MENU_PATH[] = "kio/servicemenus/com.corvell.Tagwright.desktop";
inline constexpr char NAUTILUS_SCRIPT_PATH[] = "nautilus/scripts/Tagwright";
inline constexpr char NEMO_ACTION_PATH[] = "nemo/actions/com.corvell.Tagwright.nemo_action";

// The icon of an entry when the program's own is not installed.
inline constexpr char FALLBACK_ICON[] = "audio-x-generic";

// The marker line of the user's entries.
inline constexpr char MARKER[] =
    "# Tagwright shell integration: written by \"Tagwright -Install\", removed by "
    "\"Tagwright -Uninstall\".";

// Each entry starts strProgram (an absolute path, or a name found on the search path) and shows
// strIcon (an icon name of the theme, or the absolute path of an image); bMarked puts the marker
// line first.
std::string MakeDesktopEntry(const std::string& strProgram, const std::string& strIcon,
                             bool bMarked);
std::string MakeServiceMenu(const std::string& strProgram, const std::string& strIcon,
                            bool bMarked);
std::string MakeNemoAction(const std::string& strProgram, const std::string& strIcon, bool bMarked);
// Always marked: only a user has one.
std::string MakeNautilusScript(const std::string& strProgram);

} // namespace DesktopEntries

#endif
