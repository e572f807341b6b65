// CFileAssocData: the record of one listed file. A snapshot of everything the list shows for
// the file, filled in one pass through the tag library; it never keeps the file open.
#pragma once

#include "base/String.h"
#include "base/Types.h"

class CCollator;

class CFileAssocData
{
public:
    // The fields by the file list's column ids.
    enum Field : int
    {
        FIELD_FILENAME = 0,
        FIELD_SIZE = 1,
        FIELD_CREATED = 2,
        FIELD_MODIFIED = 3,
        FIELD_ACCESSED = 4,
        FIELD_FOLDER = 5,
        FIELD_TAG = 6,
        FIELD_TITLE = 7,
        FIELD_ARTIST = 8,
        FIELD_ALBUM = 9,
        FIELD_GENRE = 10,
        FIELD_YEAR = 11,
        FIELD_COMMENT = 12,
        FIELD_TRACK = 13,
        FIELD_LENGTH = 14,
        FIELD_BITRATE = 15,
        FIELD_SAMPLERATE = 16,
        FIELD_CHANNELS = 17,
        FIELD_COUNT = 18
    };

    // The run-time class name the framework's object root reports.
    static constexpr const char* CLASS_NAME = "CFileAssocData";

    CFileAssocData() = default;
    virtual ~CFileAssocData() = default;
    CFileAssocData(const CFileAssocData&) = default;
    CFileAssocData& operator=(const CFileAssocData&) = default;

    // Fills the record from the file at the path. FALSE when the file could not be opened: the
    // tag fields are then empty, name and folder name the path, and size, times and audio
    // values keep what they held.
    BOOL Load(const CString& strPath);
    // Load(GetFullPath()), after a command changed the file.
    BOOL Reload();
    // m_strFolder, the separator, m_strFileName.
    CString GetFullPath() const;

    // The display text of a field (FIELD_...); empty for an unknown one.
    CString GetText(int nField) const;
    // The text a field sorts by, for the fields that sort as text (the collator compares
    // them); null for the others.
    const CString* GetSortText(int nField) const;
    // Negative, zero or positive for ascending order by the field; texts by the collator's
    // locale-aware, case-sensitive comparison. An unknown field compares equal.
    static int Compare(const CFileAssocData& a, const CFileAssocData& b, int nField,
                       const CCollator& collator);

    // Display forms, shared with the properties dialog.
    // Below 1024 "%d Bytes", below 1048576 "%.2f KB", else "%.2f MB" (single precision).
    static CString FormatFileSize(LONGLONG nSize);
    // Local time as "MM/DD/YYYY hh:mm:ss"; empty when the time cannot be converted.
    static CString FormatFileTime(const FILETIME& ft);
    // "%d" above 0, else empty.
    static CString FormatTrack(int nTrack);
    // "%02d:%02d": minutes (not limited) and seconds.
    static CString FormatLength(int nLength);
    static CString FormatBitrate(int nBitrate);       // "%dKbps"
    static CString FormatSampleRate(int nSampleRate); // "%dHz"
    static CString FormatChannels(int nChannels);     // "%d"
    // -1, 0 or 1 as the framework's CompareFileTime.
    static int CompareFileTime(const FILETIME& a, const FILETIME& b);

    // Set by the auto-rename when a renamed file could not be read under its new name; the list
    // then removes the record.
    BOOL m_bStale = FALSE;
    CString m_strFileName; // name with extension
    CString m_strFolder;   // without the trailing separator
    LONGLONG m_nSize = 0;
    FILETIME m_ftCreated = {};
    FILETIME m_ftAccessed = {};
    FILETIME m_ftModified = {};
    // Which tags the file carries: "", "ID3v1 ", "ID3v2.3", "!ID3v2.4", "ID3v1 ID3v2.3", ...
    CString m_strTag;
    CString m_strTitle;
    CString m_strAlbum;
    CString m_strArtist;
    CString m_strYear;
    CString m_strComment;
    int m_nTrack = 0; // 0: none
    CString m_strGenre;
    int m_nBitrate = 0;    // kbit/s
    int m_nSampleRate = 0; // Hz
    int m_nChannels = 0;
    int m_nLength = 0; // whole seconds
};
