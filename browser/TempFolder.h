// The private per-user temporary folder, where the temporary playlist of Play and the hand-over
// list of a second instance live.
#pragma once

#include "base/String.h"
#include "base/Types.h"

// The folder with its trailing separator, created (mode 0700) when missing: on Linux
// "$XDG_RUNTIME_DIR/tagwright" when that runtime folder is the user's own, else
// "/tmp/tagwright-<uid>"; on Windows the system's temporary folder. FALSE when there is none:
// it cannot be created, or it is a symbolic link, not a folder, or another user's.
BOOL GetTempFolder(CString& strFolder);

// The same rules for one given folder path (without trailing separator): creates it when
// missing, refuses a symbolic link, anything but a folder and a folder of another user, and
// takes access away from everybody else. For the rules above and their tests.
BOOL OpenPrivateFolder(const CString& strPath);
