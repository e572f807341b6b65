// The multi-file editor's look at its files before it shows: one "<Keep>" action for every frame
// ID that occurs in any of them, in order of first appearance. Each file is opened, read and
// closed again; no file stays open while the dialog is shown, and nothing read is kept but the
// IDs.
#pragma once

#include "base/BusyState.h"
#include "base/String.h"
#include "tags/file/FileEx.h"

#include <vector>

class CActionList;

enum SCAN_RESULT : int
{
    SCAN_DONE,
    SCAN_CANCELLED,   // Esc before a file: the files before it were added
    SCAN_OPEN_FAILED, // a file did not open (string 140): the editor is not to be shown
};

// Adds an ACTION_KEEP to actions for each frame ID that it has no action for yet: the first
// file's frames in tag order, then the IDs first seen in the second file, and so on. Inside the
// busy state: before each file the cancel request is polled and the status text names the file
// (string 141). A file that does not open ends the scan; its path goes to pFailedPath. pStamps,
// when given, receives each scanned file's stamp in order, so that the write can tell a file
// that changed since.
SCAN_RESULT ScanFrameIDs(const std::vector<CString>& arrFiles, CActionList& actions,
                         IBusyState& busy, CString* pFailedPath = nullptr,
                         std::vector<Tags::tagFILESTAMP>* pStamps = nullptr);
