#include "browser/Playlist.h"

#include "base/BusyState.h"
#include "base/CodePage.h"
#include "base/File.h"
#include "base/Path.h"
#include "browser/DiagnosticMessages.h"
#include "browser/FileAssocData.h"
#include "browser/FileList.h"
#include "browser/PathKind.h"
#include "browser/TempFolder.h"
#include "res/StringTable.h"

#include <algorithm>
#include <functional>
#include <string_view>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace
{

constexpr std::string_view HEADER_LINE = "#EXTM3U\r\n";
constexpr const char16_t* TEMP_PLAYLIST_NAME = u"Tagwright.m3u";
// Bytes read from a playlist at a time; the cancel test also runs once per block, so that a
// huge line without a break cannot keep it waiting.
constexpr UINT READ_BLOCK = 64 * 1024;

// The longest line and the longest resolved entry, in UTF-16 units: one less than the
// platform's path limit.
int GetMaxLine()
{
    return Path::GetMaxPath() - 1;
}

// Whether strPath starts with strPrefix by the platform's file-name rule.
bool StartsWithPath(const CString& strPath, const CString& strPrefix)
{
    const int n = strPrefix.GetLength();
    if (strPath.GetLength() < n)
        return false;
#ifdef _WIN32
    return strPath.Left(n).CompareNoCase(strPrefix) == 0;
#else
    return strPath.str().compare(0, static_cast<size_t>(n), strPrefix.str()) == 0;
#endif
}

bool HasLineBreak(const CString& str)
{
    return str.Find(u'\r') >= 0 || str.Find(u'\n') >= 0;
}

CString WithoutLineBreaks(CString str)
{
    str.Replace(u'\r', u' ');
    str.Replace(u'\n', u' ');
    return str;
}

// A path in a UTF-8 playlist. On Linux the name's own bytes, so that a name that is not valid
// UTF-8 survives; the reader below takes them back the same way.
std::string PathToUtf8(const CString& strPath)
{
#ifdef _WIN32
    return CodePage::WideToUtf8(strPath.str());
#else
    return Path::ToNative(strPath);
#endif
}

CString PathFromUtf8(std::string_view bytes)
{
#ifdef _WIN32
    return CodePage::Utf8ToWide(bytes);
#else
    return Path::FromNative(bytes);
#endif
}

// Whether the bytes are well-formed UTF-8 holding at least one character beyond ASCII.
bool IsUtf8BeyondAscii(std::string_view bytes)
{
    bool bBeyond = false;
    size_t i = 0;
    while (i < bytes.size())
    {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80)
        {
            ++i;
            continue;
        }
        size_t nMore = 0;
        unsigned int nMin = 0;
        unsigned int cp = 0;
        if ((b & 0xE0) == 0xC0)
        {
            nMore = 1;
            nMin = 0x80;
            cp = b & 0x1F;
        }
        else if ((b & 0xF0) == 0xE0)
        {
            nMore = 2;
            nMin = 0x800;
            cp = b & 0x0F;
        }
        else if ((b & 0xF8) == 0xF0)
        {
            nMore = 3;
            nMin = 0x10000;
            cp = b & 0x07;
        }
        else
        {
            return false;
        }
        if (i + nMore >= bytes.size())
            return false;
        for (size_t k = 1; k <= nMore; ++k)
        {
            const auto c = static_cast<unsigned char>(bytes[i + k]);
            if ((c & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (cp < nMin || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        bBeyond = true;
        i += nMore + 1;
    }
    return bBeyond;
}

// One line of a playlist or file list as text.
CString DecodeLine(std::string_view bytes, UINT nCodePage)
{
    if (nCodePage == CP_UTF8)
        return PathFromUtf8(bytes);
    // What this program writes into an ".m3u" playlist when ANSI cannot hold a name.
    if (nCodePage == CP_ACP && IsUtf8BeyondAscii(bytes))
        return PathFromUtf8(bytes);
    return CodePage::ToWide(nCodePage, bytes);
}

// Reads a file block by block and hands out its non-empty lines as bytes. Lines end at CR or
// LF. A line longer than the limit is marked and only its first bytes are kept, so memory stays
// bounded whatever the file holds. The file is read up to the length it had when opened.
class CLineReader
{
public:
    CLineReader(CFile& file, size_t nMaxBytes, std::function<bool()> isCancelled)
        : m_file(file), m_nMaxBytes(nMaxBytes), m_isCancelled(std::move(isCancelled)),
          m_nRemaining(file.GetLength())
    {
        m_block.resize(READ_BLOCK);
    }

    // The next non-empty line; false at the end of the file or on a cancel request. Read errors
    // are thrown as CFileException.
    bool Next(std::string& line, bool& bTooLong)
    {
        line.clear();
        bTooLong = false;
        size_t nLength = 0; // the line's length in the file, also beyond the kept bytes
        for (;;)
        {
            if (m_nPos == m_nFilled && !Fill())
                return nLength > 0;
            while (m_nPos < m_nFilled)
            {
                const char ch = m_block[m_nPos++];
                if (ch == '\r' || ch == '\n')
                {
                    if (nLength > 0)
                        return true;
                    continue;
                }
                ++nLength;
                if (line.size() < m_nMaxBytes)
                    line.push_back(ch);
                else
                    bTooLong = true;
            }
        }
    }

    bool IsCancelled() const { return m_bCancelled; }

private:
    bool Fill()
    {
        if (m_nRemaining == 0 || m_bCancelled)
            return false;
        if (m_isCancelled && m_isCancelled())
        {
            m_bCancelled = true;
            return false;
        }
        const UINT nWant = static_cast<UINT>(std::min<ULONGLONG>(m_nRemaining, READ_BLOCK));
        const UINT nGot = m_file.Read(m_block.data(), nWant);
        if (nGot == 0)
        {
            m_nRemaining = 0; // the file became shorter
            return false;
        }
        m_nRemaining -= nGot;
        m_nPos = 0;
        m_nFilled = nGot;
        return true;
    }

    CFile& m_file;
    size_t m_nMaxBytes;
    std::function<bool()> m_isCancelled;
    ULONGLONG m_nRemaining;
    std::string m_block;
    size_t m_nPos = 0;
    size_t m_nFilled = 0;
    bool m_bCancelled = false;
};

void AddMessage(CDiagnosticMessages* pDiag, UINT nID, const CString& strPath)
{
    if (pDiag)
        pDiag->AddMessage(Res::FormatResourceString(nID, strPath));
}

// A text fit for a diagnostics line: at most the line limit, no NUL.
CString ForMessage(CString str)
{
    if (str.GetLength() > GetMaxLine())
        str.Truncate(GetMaxLine());
    str.Replace(u'\0', u'\xFFFD');
    return str;
}

// One audio file of a playlist or file list: the status texts name the list being read.
void AddListedFile(CFileList& list, const CString& strEntry, const CString& strListPath,
                   CDiagnosticMessages* pDiag)
{
    IBusyState& busy = list.GetBusyState();
    busy.SetStatusText(Res::FormatResourceString(Res::IDS_READING_FILE, strListPath));
    if (!list.AddFile(strEntry))
        AddMessage(pDiag, Res::IDS_FAILED_READING_FILE, strEntry);
    busy.SetStatusText(Res::LoadResourceString(Res::IDS_PLEASE_WAIT));
}

// Opens a list file for reading, sharing reads.
bool OpenForReading(CFile& file, const CString& strPath)
{
    return file.Open(strPath, CFile::modeRead | CFile::shareDenyWrite) != FALSE;
}

// Writes all bytes to a new (or truncated) file; false on any failure.
bool WriteWholeFile(const CString& strPath, std::string_view bytes)
{
    CFile file;
    if (!file.Open(strPath, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive))
        return false;
    try
    {
        size_t nDone = 0;
        while (nDone < bytes.size())
        {
            const UINT n = static_cast<UINT>(std::min<size_t>(bytes.size() - nDone, 1u << 30));
            file.Write(bytes.data() + nDone, n);
            nDone += n;
        }
        file.Close();
    }
    catch (const CFileException&)
    {
        file.Abort();
        return false;
    }
    return true;
}

} // namespace

// --- Writing ---

CString GetPlaylistFolder(const CString& strPlaylistPath)
{
    int nLast = -1;
    for (int i = strPlaylistPath.GetLength() - 1; i >= 0; --i)
    {
        if (Path::IsSeparator(strPlaylistPath[i]))
        {
            nLast = i;
            break;
        }
    }
    return nLast < 0 ? CString() : strPlaylistPath.Left(nLast + 1);
}

CString GetPlaylistEntry(const CString& strFullPath, const CString& strFolder, BOOL bWriteFullPath)
{
    if (!bWriteFullPath && !strFolder.IsEmpty() &&
        strFullPath.GetLength() > strFolder.GetLength() && StartsWithPath(strFullPath, strFolder))
    {
        const CString strEntry = strFullPath.Mid(strFolder.GetLength());
        // A line that begins with "#" reads back as a comment: name such a file from "." instead.
        if (strEntry[0] == u'#')
            return CString(u".") + CString(std::u16string(1, Path::chSeparator)) + strEntry;
        return strEntry;
    }
    return strFullPath;
}

std::string BuildPlaylist(const CString& strPlaylistPath,
                          const std::vector<const CFileAssocData*>& arrRecords, BOOL bWriteFullPath,
                          BOOL bWriteExtInfo)
{
    const CString strFolder = GetPlaylistFolder(strPlaylistPath);

    struct tagBLOCK
    {
        CString strExtInf; // with its line break, or empty
        CString strEntry;
    };
    std::vector<tagBLOCK> blocks;
    blocks.reserve(arrRecords.size());
    for (const CFileAssocData* pRecord : arrRecords)
    {
        if (!pRecord)
            continue;
        tagBLOCK block;
        block.strEntry = GetPlaylistEntry(pRecord->GetFullPath(), strFolder, bWriteFullPath);
        // A name with a line break would read back as two entries.
        if (HasLineBreak(block.strEntry))
            continue;
        if (bWriteExtInfo)
            block.strExtInf.Format(u"#EXTINF:%d, %s - %s\r\n", pRecord->m_nLength,
                                   WithoutLineBreaks(pRecord->m_strArtist),
                                   WithoutLineBreaks(pRecord->m_strTitle));
        blocks.push_back(std::move(block));
    }

    std::string out(HEADER_LINE);
    // ".m3u" playlists are read with the ANSI code page, so they are written with it whenever
    // it holds every character; otherwise UTF-8 keeps the names, and the reader knows it.
    if (GetPathKindByExtension(strPlaylistPath) == PATH_M3U)
    {
        bool bLossy = false;
        for (const tagBLOCK& block : blocks)
        {
            bool bUsedDefault = false;
            out +=
                CodePage::FromWide(CP_ACP, (block.strExtInf + block.strEntry).str(), &bUsedDefault);
            out += "\r\n";
            if (bUsedDefault)
            {
                bLossy = true;
                break;
            }
        }
        if (!bLossy)
            return out;
        out.assign(HEADER_LINE);
    }
    for (const tagBLOCK& block : blocks)
    {
        out += CodePage::WideToUtf8(block.strExtInf.str());
        out += PathToUtf8(block.strEntry);
        out += "\r\n";
    }
    return out;
}

BOOL CreatePlaylist(const CString& strPlaylistPath,
                    const std::vector<const CFileAssocData*>& arrRecords, BOOL bWriteFullPath,
                    BOOL bWriteExtInfo)
{
    if (GetPlaylistFolder(strPlaylistPath).IsEmpty())
        return FALSE;
    return WriteWholeFile(strPlaylistPath,
                          BuildPlaylist(strPlaylistPath, arrRecords, bWriteFullPath, bWriteExtInfo))
               ? TRUE
               : FALSE;
}

BOOL CreatePlaylist(const CFileList& list, const CString& strPlaylistPath, BOOL bAllFiles,
                    const std::vector<int>& arrSelected, BOOL bWriteFullPath, BOOL bWriteExtInfo)
{
    std::vector<const CFileAssocData*> arrRecords;
    if (bAllFiles)
    {
        for (int i = 0; i < list.GetCount(); ++i)
            arrRecords.push_back(list.GetRecord(i));
    }
    else
    {
        std::vector<int> arrItems;
        for (const int n : arrSelected)
        {
            if (n >= 0 && n < list.GetCount())
                arrItems.push_back(n);
        }
        std::sort(arrItems.begin(), arrItems.end());
        arrItems.erase(std::unique(arrItems.begin(), arrItems.end()), arrItems.end());
        for (const int n : arrItems)
            arrRecords.push_back(list.GetRecord(n));
    }
    return CreatePlaylist(strPlaylistPath, arrRecords, bWriteFullPath, bWriteExtInfo);
}

// --- Reading ---

namespace
{

// Reads the lines of an opened list file until its end, Esc or a read error (reported with the
// list's path; the entries read so far stay listed). onLine(bytes, bTooLong) returns false to
// stop.
template <class FLine>
void ReadListLines(CFileList& list, CFile& file, const CString& strPath, CDiagnosticMessages* pDiag,
                   FLine onLine)
{
    // A line of the line limit in UTF-16 units takes at most three bytes per unit in UTF-8.
    CLineReader reader(file, static_cast<size_t>(GetMaxLine()) * 3,
                       [&list] { return list.IsCancelRequested() != FALSE; });
    std::string bytes;
    bool bTooLong = false;
    try
    {
        while (!list.IsCancelRequested() && reader.Next(bytes, bTooLong))
        {
            if (!onLine(bytes, bTooLong))
                break;
        }
    }
    catch (const CFileException&)
    {
        AddMessage(pDiag, Res::IDS_FAILED_READING_FILE, strPath);
    }
    file.Abort();
}

// One usable entry of a list: a folder is scanned without its subfolders and an audio file is
// added; playlists are read when bPlaylists is set (a file list may name them, a playlist not);
// anything else is ignored.
void AddListEntry(CFileList& list, const CString& strEntry, const CString& strListPath,
                  CDiagnosticMessages* pDiag, bool bPlaylists)
{
    switch (GetPathKind(strEntry))
    {
    case PATH_FOLDER:
        list.ScanFolder(strEntry, FALSE, pDiag);
        break;
    case PATH_AUDIO:
        AddListedFile(list, strEntry, strListPath, pDiag);
        break;
    case PATH_M3U:
        if (bPlaylists)
            LoadPlaylist(list, strEntry, CP_ACP, pDiag);
        break;
    case PATH_M3U8:
        if (bPlaylists)
            LoadPlaylist(list, strEntry, CP_UTF8, pDiag);
        break;
    default:
        break;
    }
}

} // namespace

BOOL LoadPlaylist(CFileList& list, const CString& strPath, UINT nCodePage,
                  CDiagnosticMessages* pDiag)
{
    const CString strFolder = GetPlaylistFolder(strPath);
    if (strFolder.IsEmpty())
    {
        AddMessage(pDiag, Res::IDS_FAILED_READING_FILE, strPath);
        return FALSE;
    }

    CBusyScope busy(list.GetBusyState());
    CFile file;
    if (!OpenForReading(file, strPath))
    {
        AddMessage(pDiag, Res::IDS_FAILED_READING_FILE, strPath);
        return FALSE;
    }

    const int nMaxLine = GetMaxLine();
    BOOL bResult = FALSE;
    bool bFirst = true;
    ReadListLines(list, file, strPath, pDiag,
                  [&](const std::string& bytes, bool bTooLong)
                  {
                      if (bFirst)
                      {
                          bFirst = false;
                          if (bTooLong ||
                              DecodeLine(bytes, nCodePage).CompareNoCase(u"#EXTM3U") != 0)
                          {
                              AddMessage(pDiag, Res::IDS_INVALID_PLAYLIST, strPath);
                              return false;
                          }
                          bResult = TRUE;
                          return true;
                      }
                      if (bytes[0] == '#')
                          return true;

                      CString strEntry = DecodeLine(bytes, nCodePage);
                      const bool bUsable =
                          !bTooLong && strEntry.GetLength() <= nMaxLine && strEntry.Find(u'\0') < 0;
                      if (bUsable && !Path::IsAbsolute(strEntry))
                      {
#ifndef _WIN32
                          // Playlists made on Windows separate relative names with backslashes.
                          strEntry.Replace(u'\\', u'/');
#endif
                          strEntry = strFolder + strEntry;
                      }
                      // A name cut to fit would be another file's: it is reported, not read.
                      if (!bUsable || strEntry.GetLength() > nMaxLine)
                          AddMessage(pDiag, Res::IDS_FAILED_READING_FILE, ForMessage(strEntry));
                      else
                          AddListEntry(list, strEntry, strPath, pDiag, false);
                      return true;
                  });
    return bResult;
}

BOOL LoadFileList(CFileList& list, const CString& strPath, CDiagnosticMessages* pDiag)
{
    CFile file;
    if (!OpenForReading(file, strPath))
        return FALSE;

    CBusyScope busy(list.GetBusyState());
    const int nMaxLine = GetMaxLine();
    ReadListLines(list, file, strPath, pDiag,
                  [&](const std::string& bytes, bool bTooLong)
                  {
                      const CString strLine = DecodeLine(bytes, CP_UTF8);
                      if (bTooLong || strLine.GetLength() > nMaxLine || strLine.Find(u'\0') >= 0)
                          AddMessage(pDiag, Res::IDS_FAILED_READING_FILE, ForMessage(strLine));
                      else
                          AddListEntry(list, strLine, strPath, pDiag, true);
                      return true;
                  });
    return TRUE;
}

// --- The temporary playlist of Play ---

CString GetTempPlaylistPath()
{
    CString strFolder;
    if (!GetTempFolder(strFolder))
        return CString();
    return strFolder + TEMP_PLAYLIST_NAME;
}

CString CreateTempPlaylist(const std::vector<CString>& arrFullPaths)
{
    const CString strPath = GetTempPlaylistPath();
    if (strPath.IsEmpty())
        return CString();
    std::string bytes(HEADER_LINE);
    for (const CString& strFile : arrFullPaths)
    {
        if (strFile.IsEmpty() || HasLineBreak(strFile))
            continue;
        bytes += PathToUtf8(strFile);
        bytes += "\r\n";
    }
    // An old playlist left in place would play other files than the chosen ones.
    if (!WriteWholeFile(strPath, bytes))
        return CString();
    return strPath;
}

CString GetPlayTarget(const std::vector<CString>& arrFullPaths)
{
    if (arrFullPaths.empty())
        return CString();
    if (arrFullPaths.size() == 1)
        return arrFullPaths.front();
    return CreateTempPlaylist(arrFullPaths);
}

void DeleteTempPlaylist()
{
    const CString strPath = GetTempPlaylistPath();
    if (strPath.IsEmpty())
        return;
#ifdef _WIN32
    ::DeleteFileW(Path::ToNative(strPath).c_str());
#else
    ::unlink(Path::ToNative(strPath).c_str());
#endif
}
