// Pictures of the real program for the README and the package check, asked for through the
// environment; nothing happens without TAGWRIGHT_SCREENSHOT.
//
// TAGWRIGHT_SCREENSHOT=<file.png>: once the main window has been laid out and painted, saves a
// picture of it and closes it, so that the program ends as after a normal close (settings saved,
// TAGWRIGHT_LIST_DUMP written).
// TAGWRIGHT_SCREENSHOT_DIALOG=<name>: the picture is of a command's dialog instead: the rows
// listed in TAGWRIGHT_SCREENSHOT_ROWS ("0,2,5"; the first row when unset) are selected, the
// command is carried out as the menu would, and its dialog is pictured and cancelled, so no file
// is changed. The names:
//   edit-tag   Edit Tag: the single-file editor over one row, the multi-file editor over several
//   rename     the first rename preset: the "Confirm Rename" list of the names it would give
#pragma once

class CMainFrame;

void ScheduleScreenshot(CMainFrame& frame);
