// Path kinds: what a path names for the file list, by its trailing separator, the file system
// and its extension.
#pragma once

#include "base/String.h"

enum PATH_KIND : int
{
    PATH_OTHER = 0,
    PATH_FOLDER = 1,
    PATH_AUDIO = 2,
    PATH_M3U = 3,
    PATH_M3U8 = 4,
    PATH_LST = 5
};

// Tested in this order: a trailing separator or an existing directory is PATH_FOLDER; then the
// extension (from the last dot of the whole path, case folded): ".mp3", ".mp2", ".mp1" audio,
// ".m3u8", ".m3u", ".lst"; anything else, the empty path included, PATH_OTHER. A path longer
// than the platform's limit is cut to it first.
PATH_KIND GetPathKind(const CString& strPath);

// The extension rules alone, without looking at the file system or a trailing separator.
PATH_KIND GetPathKindByExtension(const CString& strPath);
