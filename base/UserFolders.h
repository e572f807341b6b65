// Folders of the current user that the desktop names.
#pragma once

#include "base/String.h"

namespace UserFolders
{

// The user's music folder, which must exist (it is not created); empty when it cannot be
// determined. Linux: XDG_MUSIC_DIR of the XDG user-dirs file, else ~/Music.
CString GetMusicFolder();

} // namespace UserFolders
