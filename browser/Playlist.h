// Playlists: M3U playlists written from the file list, M3U playlists and ".lst" file lists read
// into it, and the temporary playlist that the Play command hands to the player.
#pragma once

#include "base/String.h"
#include "base/Types.h"

#include <string>
#include <vector>

class CDiagnosticMessages;
class CFileAssocData;
class CFileList;

// --- Writing ---

// The folder of a playlist: its path up to and including the last separator; empty when the
// path has none.
CString GetPlaylistFolder(const CString& strPlaylistPath);

// How a file is named in a playlist whose folder (with its trailing separator) is strFolder: the
// rest of the full path after the folder when the file lies in it or below it and
// bWriteFullPath is FALSE, else the full path. Folders compare by the platform's file-name rule
// (exact on Linux, ignoring case on Windows); no ".." form is produced.
CString GetPlaylistEntry(const CString& strFullPath, const CString& strFolder, BOOL bWriteFullPath);

// The bytes of a playlist at strPlaylistPath holding the records in order: "#EXTM3U\r\n", then
// per record an optional "#EXTINF:<length>, <artist> - <title>\r\n" line and its entry with
// "\r\n". A ".m3u" playlist is written in the ANSI code page when every character of it fits,
// else (and any other playlist always) in UTF-8 without a byte-order mark. Line breaks inside
// the #EXTINF texts become blanks; a file whose path holds a line break cannot be named in a
// playlist and is left out.
std::string BuildPlaylist(const CString& strPlaylistPath,
                          const std::vector<const CFileAssocData*>& arrRecords, BOOL bWriteFullPath,
                          BOOL bWriteExtInfo);

// The options a playlist is written with: "Playlist_WriteFullPath" and "Playlist_WriteExtInfo".
struct tagPLAYLISTOPTIONS
{
    BOOL bWriteFullPath = FALSE;
    BOOL bWriteExtInfo = FALSE;
};

// Creates (or truncates) the playlist and writes BuildPlaylist's bytes. FALSE when the path has
// no folder or the file cannot be created or written; the window then shows string 145 with the
// path (error icon).
BOOL CreatePlaylist(const CString& strPlaylistPath,
                    const std::vector<const CFileAssocData*>& arrRecords, BOOL bWriteFullPath,
                    BOOL bWriteExtInfo);
// The same for the items of the list: every item with bAllFiles, else the items whose indexes
// are in arrSelected (any order; duplicates and bad indexes ignored), in list order.
BOOL CreatePlaylist(const CFileList& list, const CString& strPlaylistPath, BOOL bAllFiles,
                    const std::vector<int>& arrSelected, BOOL bWriteFullPath, BOOL bWriteExtInfo);

// --- Reading ---

// Adds the entries of an M3U playlist to the list, decoded with nCodePage (CP_ACP for ".m3u",
// CP_UTF8 for ".m3u8"; an ".m3u" line that is valid UTF-8 beyond ASCII is read as UTF-8, the
// form this program writes when ANSI cannot hold a name). The first non-empty line must be
// "#EXTM3U" (case folded), else string 126 and nothing is added. Later lines starting with "#"
// are skipped; other lines are entries, relative ones taken against the playlist's folder ("\"
// read as the separator on Linux): folders are scanned without their subfolders, audio files
// added (string 140 when one cannot be read), anything else is ignored. String 140 with the
// playlist's path when it has no folder or cannot be opened. Runs in the busy state (begun and
// ended here only when the caller is not busy already) and stops at a cancel request.
// TRUE when the file began with the "#EXTM3U" line.
BOOL LoadPlaylist(CFileList& list, const CString& strPath, UINT nCodePage,
                  CDiagnosticMessages* pDiag);

// Adds the paths of a ".lst" file list (UTF-8, one path per line, used as they are): folders
// without their subfolders, audio files (string 140 when one cannot be read), ".m3u" and ".m3u8"
// playlists; other lines are ignored. FALSE, without a message, only when the file cannot be
// opened.
BOOL LoadFileList(CFileList& list, const CString& strPath, CDiagnosticMessages* pDiag);

// --- The temporary playlist of Play ---

// "Tagwright.m3u" in the private per-user temporary folder; empty when there is none.
CString GetTempPlaylistPath();
// Writes the temporary playlist: "#EXTM3U\r\n", then each full path with "\r\n", in UTF-8.
// Returns its path, or an empty text when it could not be written.
CString CreateTempPlaylist(const std::vector<CString>& arrFullPaths);
// What Play opens for the selected files' full paths: nothing for none, the file itself for
// one, the temporary playlist for several (empty when it could not be written).
CString GetPlayTarget(const std::vector<CString>& arrFullPaths);
// Removes the temporary playlist (at exit); nothing happens when there is none.
void DeleteTempPlaylist();
