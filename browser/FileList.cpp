#include "browser/FileList.h"

#include "base/BusyState.h"
#include "base/File.h"
#include "base/Path.h"
#include "browser/DiagnosticMessages.h"
#include "browser/PathKind.h"
#include "browser/Playlist.h"
#include "res/StringTable.h"

#include <algorithm>
#include <cerrno>
#include <numeric>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace
{

// The system's text for an error code, as the diagnostics lines carry it.
CString GetErrorText(LONG lOsError)
{
    return CFileException(CFileException::genericException, lOsError).GetErrorMessage();
}

// One directory entry: its name and, where the enumeration tells it, whether it is a folder.
struct tagENTRY
{
    CString strName;
    enum class Type
    {
        Unknown, // ask the file system
        Folder,
        NotFolder
    } type = Type::Unknown;
};

// The order NTFS keeps names in: each UTF-16 unit upper-cased, then compared by value. Names
// that differ only in case (possible here) follow in their exact order.
bool NameLess(const tagENTRY& a, const tagENTRY& b)
{
    const std::u16string& sa = a.strName.str();
    const std::u16string& sb = b.strName.str();
    const size_t n = std::min(sa.size(), sb.size());
    for (size_t i = 0; i < n; ++i)
    {
        const char16_t ca = ToUpperCase(sa[i]);
        const char16_t cb = ToUpperCase(sb[i]);
        if (ca != cb)
            return ca < cb;
    }
    if (sa.size() != sb.size())
        return sa.size() < sb.size();
    return sa < sb;
}

// The entries of a folder ("." and ".." first, then in name order ignoring case); FALSE with
// the error code when it cannot be listed.
BOOL ListFolder(const CString& strFolder, std::vector<tagENTRY>& entries, LONG& lOsError)
{
    entries.clear();
#ifdef _WIN32
    CString strPattern = strFolder + u"*";
    WIN32_FIND_DATAW data = {};
    HANDLE hFind = ::FindFirstFileW(Path::ToNative(strPattern).c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
    {
        lOsError = static_cast<LONG>(::GetLastError());
        return FALSE;
    }
    std::vector<tagENTRY> dots;
    do
    {
        tagENTRY entry;
        entry.strName = Path::FromNative(data.cFileName);
        entry.type = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? tagENTRY::Type::Folder
                                                                        : tagENTRY::Type::NotFolder;
        if (entry.strName == u"." || entry.strName == u"..")
            dots.push_back(std::move(entry));
        else
            entries.push_back(std::move(entry));
    } while (::FindNextFileW(hFind, &data));
    ::FindClose(hFind);
    // NTFS returns this order by itself, FAT volumes and network shares do not.
    std::sort(dots.begin(), dots.end(), NameLess);
    std::sort(entries.begin(), entries.end(), NameLess);
    entries.insert(entries.begin(), std::make_move_iterator(dots.begin()),
                   std::make_move_iterator(dots.end()));
    return TRUE;
#else
    DIR* pDir = ::opendir(Path::ToNative(strFolder).c_str());
    if (!pDir)
    {
        lOsError = errno;
        return FALSE;
    }
    std::vector<tagENTRY> dots;
    errno = 0;
    while (const dirent* pEntry = ::readdir(pDir))
    {
        tagENTRY entry;
        entry.strName = Path::FromNative(pEntry->d_name);
        if (pEntry->d_type == DT_DIR)
            entry.type = tagENTRY::Type::Folder;
        else if (pEntry->d_type != DT_UNKNOWN && pEntry->d_type != DT_LNK)
            entry.type = tagENTRY::Type::NotFolder;
        if (entry.strName == u"." || entry.strName == u"..")
            dots.push_back(std::move(entry));
        else
            entries.push_back(std::move(entry));
    }
    ::closedir(pDir);
    std::sort(dots.begin(), dots.end(), NameLess);
    std::sort(entries.begin(), entries.end(), NameLess);
    entries.insert(entries.begin(), std::make_move_iterator(dots.begin()),
                   std::make_move_iterator(dots.end()));
    return TRUE;
#endif
}

// GetPathKind of an entry, without asking the file system again when the enumeration already
// told whether it is a folder.
PATH_KIND GetEntryKind(const CString& strFullName, tagENTRY::Type type)
{
    if (type == tagENTRY::Type::Unknown || strFullName.GetLength() >= Path::GetMaxPath())
        return GetPathKind(strFullName);
    if (type == tagENTRY::Type::Folder)
        return PATH_FOLDER;
    return GetPathKindByExtension(strFullName);
}

} // namespace

CFileList::CFileList(IBusyState& busy, IFileListHost* pHost) : m_busy(busy), m_pHost(pHost) {}

CFileList::~CFileList() = default;

std::u16string CFileList::PathKey(const CString& strPath)
{
    std::u16string key = Path::GetFullPath(strPath).str();
#ifdef _WIN32
    for (char16_t& ch : key)
        ch = FoldCase(ch);
#endif
    return key;
}

std::u16string CFileList::RecordKey(const CFileAssocData& record)
{
    std::u16string key = record.GetFullPath().str();
#ifdef _WIN32
    for (char16_t& ch : key)
        ch = FoldCase(ch);
#endif
    return key;
}

void CFileList::IndexRecord(const CFileAssocData& record)
{
    m_paths[RecordKey(record)] = &record;
}

void CFileList::UnindexRecord(const CFileAssocData& record)
{
    const auto it = m_paths.find(RecordKey(record));
    if (it != m_paths.end() && it->second == &record)
        m_paths.erase(it);
}

void CFileList::RefreshPathIndex()
{
    m_paths.clear();
    m_paths.reserve(m_items.size());
    for (const tagITEM& item : m_items)
        IndexRecord(*item.pRecord);
}

BOOL CFileList::FindFile(const CString& strPath) const
{
    const std::u16string key = PathKey(strPath);
    const auto it = m_paths.find(key);
    // A record loaded under another name since it was indexed no longer answers for its old
    // path.
    return it != m_paths.end() && RecordKey(*it->second) == key;
}

BOOL CFileList::AddFile(const CString& strPath)
{
    if (FindFile(strPath))
        return TRUE;
    auto pRecord = std::make_unique<CFileAssocData>();
    if (!pRecord->Load(strPath))
        return FALSE;
    const int nImage = m_pHost ? m_pHost->GetFileImage(pRecord->GetFullPath()) : -1;
    const int nIndex = GetCount();
    if (m_pHost)
        m_pHost->OnBeginInsertItem(nIndex);
    IndexRecord(*pRecord);
    m_items.push_back(tagITEM{std::move(pRecord), nImage});
    if (m_pHost)
        m_pHost->OnEndInsertItem();
    return TRUE;
}

BOOL CFileList::IsCancelRequested()
{
    return m_busy.IsCancelRequested();
}

void CFileList::AddAudioFile(const CString& strPath, CDiagnosticMessages* pDiag)
{
    m_busy.SetStatusText(Res::FormatResourceString(Res::IDS_READING_FILE, strPath));
    if (!AddFile(strPath) && pDiag)
        pDiag->AddMessage(Res::FormatResourceString(Res::IDS_FAILED_READING_FILE, strPath));
    m_busy.SetStatusText(Res::LoadResourceString(Res::IDS_PLEASE_WAIT));
}

BOOL CFileList::ScanFolder(const CString& strPath, BOOL bIncludeSubfolders,
                           CDiagnosticMessages* pDiag)
{
    CString strFolder = strPath;
    if (strFolder.IsEmpty() || !Path::IsSeparator(strFolder[strFolder.GetLength() - 1]))
        strFolder += Path::chSeparator;

    std::vector<tagENTRY> entries;
    LONG lOsError = 0;
    if (!ListFolder(strFolder, entries, lOsError))
    {
        if (pDiag)
            pDiag->AddMessage(Res::FormatResourceString(Res::IDS_READ_DIRECTORY_FAILED, strPath) +
                              u" " + GetErrorText(lOsError));
        return FALSE;
    }

    for (const tagENTRY& entry : entries)
    {
        if (IsCancelRequested())
            break;
        if (entry.strName == u"." || entry.strName == u"..")
            continue;
        const CString strFullName = strFolder + entry.strName;
        switch (GetEntryKind(strFullName, entry.type))
        {
        case PATH_FOLDER:
            if (bIncludeSubfolders)
                ScanFolder(strFullName, TRUE, pDiag);
            break;
        case PATH_AUDIO:
            AddAudioFile(strFullName, pDiag);
            break;
        default:
            break;
        }
    }
    return TRUE;
}

void CFileList::SetRedraw(BOOL bRedraw)
{
    if (m_pHost)
        m_pHost->SetRedraw(bRedraw);
}

BOOL CFileList::AddFolder(const CString& strPath, BOOL bIncludeSubfolders,
                          CDiagnosticMessages* pDiag)
{
    m_busy.BeginBusy();
    SetRedraw(FALSE);
    const BOOL bResult = ScanFolder(strPath, bIncludeSubfolders, pDiag);
    SetRedraw(TRUE);
    m_busy.EndBusy();
    return bResult;
}

BOOL CFileList::OpenPath(const CString& strPath, CDiagnosticMessages* pDiag)
{
    m_busy.BeginBusy();
    BOOL bResult = FALSE;
    switch (GetPathKind(strPath))
    {
    case PATH_FOLDER:
        // A folder given as a path is never scanned with its subfolders.
        bResult = AddFolder(strPath, FALSE, pDiag);
        break;
    case PATH_AUDIO:
        m_busy.SetStatusText(Res::FormatResourceString(Res::IDS_READING_FILE, strPath));
        bResult = AddFile(strPath);
        if (!bResult && pDiag)
            pDiag->AddMessage(Res::FormatResourceString(Res::IDS_FAILED_READING_FILE, strPath));
        break;
    case PATH_M3U:
        bResult = LoadPlaylist(*this, strPath, CP_ACP, pDiag);
        break;
    case PATH_M3U8:
        bResult = LoadPlaylist(*this, strPath, CP_UTF8, pDiag);
        break;
    case PATH_LST:
        bResult = LoadFileList(*this, strPath, pDiag);
        break;
    default:
        if (pDiag)
            pDiag->AddMessage(Res::FormatResourceString(Res::IDS_UNSUPPORTED_FILE_TYPE, strPath));
        break;
    }
    m_busy.EndBusy();
    if (bResult && m_pHost)
        m_pHost->OnResetSortMark();
    return bResult;
}

void CFileList::AddDroppedFiles(const std::vector<CString>& arrPaths, CDiagnosticMessages* pDiag)
{
    m_busy.BeginBusy();
    SetRedraw(FALSE);
    for (const CString& strPath : arrPaths)
    {
        if (IsCancelRequested())
            break;
        switch (GetPathKind(strPath))
        {
        case PATH_FOLDER:
            ScanFolder(strPath, FALSE, pDiag);
            break;
        case PATH_AUDIO:
            AddAudioFile(strPath, pDiag);
            break;
        case PATH_M3U:
            LoadPlaylist(*this, strPath, CP_ACP, pDiag);
            break;
        case PATH_M3U8:
            LoadPlaylist(*this, strPath, CP_UTF8, pDiag);
            break;
        default:
            // A dropped file list is not opened.
            if (pDiag)
                pDiag->AddMessage(
                    Res::FormatResourceString(Res::IDS_UNSUPPORTED_FILE_TYPE, strPath));
            break;
        }
    }
    SetRedraw(TRUE);
    m_busy.EndBusy();
}

CFileAssocData* CFileList::GetRecord(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    return m_items[static_cast<size_t>(nIndex)].pRecord.get();
}

int CFileList::GetImage(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return -1;
    return m_items[static_cast<size_t>(nIndex)].nImage;
}

int CFileList::IndexOf(const CFileAssocData* pRecord) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        if (m_items[i].pRecord.get() == pRecord)
            return static_cast<int>(i);
    }
    return -1;
}

int CFileList::FindPath(const CString& strPath) const
{
    const auto it = m_paths.find(PathKey(strPath));
    return it == m_paths.end() ? -1 : IndexOf(it->second);
}

void CFileList::RemoveAt(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    const auto it = m_items.begin() + nIndex;
    UnindexRecord(*it->pRecord);
    m_items.erase(it);
}

void CFileList::RemoveItems(std::vector<int> arrIndexes)
{
    std::vector<char> remove(m_items.size(), 0);
    bool bAny = false;
    for (const int n : arrIndexes)
    {
        if (n >= 0 && n < GetCount())
        {
            remove[static_cast<size_t>(n)] = 1;
            bAny = true;
        }
    }
    if (!bAny)
        return;
    size_t nOut = 0;
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        if (remove[i])
        {
            UnindexRecord(*m_items[i].pRecord);
            m_items[i].pRecord.reset();
        }
        else
        {
            if (nOut != i)
                m_items[nOut] = std::move(m_items[i]);
            ++nOut;
        }
    }
    m_items.resize(nOut);
}

void CFileList::RemoveAll()
{
    m_paths.clear();
    m_items.clear();
}

int CFileList::RemoveStaleRecords()
{
    std::vector<int> arrStale;
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        if (m_items[i].pRecord->m_bStale)
            arrStale.push_back(static_cast<int>(i));
    }
    RemoveItems(arrStale);
    RefreshPathIndex();
    return static_cast<int>(arrStale.size());
}

void CFileList::SwapItems(int nA, int nB)
{
    if (nA < 0 || nB < 0 || nA >= GetCount() || nB >= GetCount() || nA == nB)
        return;
    std::swap(m_items[static_cast<size_t>(nA)], m_items[static_cast<size_t>(nB)]);
}

namespace
{

// The valid indexes, ascending, without duplicates.
std::vector<int> NormaliseSelection(const std::vector<int>& arrSelected, int nCount)
{
    std::vector<int> arr;
    for (const int n : arrSelected)
    {
        if (n >= 0 && n < nCount)
            arr.push_back(n);
    }
    std::sort(arr.begin(), arr.end());
    arr.erase(std::unique(arr.begin(), arr.end()), arr.end());
    return arr;
}

} // namespace

std::vector<int> CFileList::MoveUp(const std::vector<int>& arrSelected)
{
    const int nCount = GetCount();
    std::vector<char> selected(static_cast<size_t>(nCount), 0);
    for (const int n : NormaliseSelection(arrSelected, nCount))
        selected[static_cast<size_t>(n)] = 1;
    // From the top down: an item moves when its upper neighbour is not selected, so a block
    // touching the top stays and every other block moves as a whole.
    for (int i = 1; i < nCount; ++i)
    {
        if (selected[static_cast<size_t>(i)] && !selected[static_cast<size_t>(i - 1)])
        {
            SwapItems(i, i - 1);
            selected[static_cast<size_t>(i)] = 0;
            selected[static_cast<size_t>(i - 1)] = 1;
        }
    }
    std::vector<int> arrResult;
    for (int i = 0; i < nCount; ++i)
    {
        if (selected[static_cast<size_t>(i)])
            arrResult.push_back(i);
    }
    return arrResult;
}

std::vector<int> CFileList::MoveDown(const std::vector<int>& arrSelected)
{
    const int nCount = GetCount();
    std::vector<char> selected(static_cast<size_t>(nCount), 0);
    for (const int n : NormaliseSelection(arrSelected, nCount))
        selected[static_cast<size_t>(n)] = 1;
    for (int i = nCount - 2; i >= 0; --i)
    {
        if (selected[static_cast<size_t>(i)] && !selected[static_cast<size_t>(i + 1)])
        {
            SwapItems(i, i + 1);
            selected[static_cast<size_t>(i)] = 0;
            selected[static_cast<size_t>(i + 1)] = 1;
        }
    }
    std::vector<int> arrResult;
    for (int i = 0; i < nCount; ++i)
    {
        if (selected[static_cast<size_t>(i)])
            arrResult.push_back(i);
    }
    return arrResult;
}

std::vector<int> CFileList::MoveTo(const std::vector<int>& arrSelected, int nTarget)
{
    const std::vector<int> arrSel = NormaliseSelection(arrSelected, GetCount());
    if (nTarget < 0 || arrSel.empty() || nTarget > GetCount() ||
        std::binary_search(arrSel.begin(), arrSel.end(), nTarget))
        return arrSel;

    // The unselected items keep their order; the selected ones, in theirs, go in where the
    // target stands once the selected items above it are taken out.
    std::vector<char> selected(m_items.size(), 0);
    int nInsert = nTarget;
    for (const int n : arrSel)
    {
        selected[static_cast<size_t>(n)] = 1;
        if (n < nTarget)
            --nInsert;
    }
    std::vector<tagITEM> rest;
    std::vector<tagITEM> moved;
    rest.reserve(m_items.size() - arrSel.size());
    moved.reserve(arrSel.size());
    for (size_t i = 0; i < m_items.size(); ++i)
        (selected[i] ? moved : rest).push_back(std::move(m_items[i]));
    m_items.clear();
    m_items.reserve(rest.size() + moved.size());
    auto itSplit = rest.begin() + nInsert;
    m_items.insert(m_items.end(), std::make_move_iterator(rest.begin()),
                   std::make_move_iterator(itSplit));
    m_items.insert(m_items.end(), std::make_move_iterator(moved.begin()),
                   std::make_move_iterator(moved.end()));
    m_items.insert(m_items.end(), std::make_move_iterator(itSplit),
                   std::make_move_iterator(rest.end()));
    std::vector<int> arrResult;
    for (size_t i = 0; i < moved.size(); ++i)
        arrResult.push_back(nInsert + static_cast<int>(i));
    return arrResult;
}

void CFileList::Sort(
    const std::function<int(const CFileAssocData&, const CFileAssocData&)>& compare)
{
    std::stable_sort(m_items.begin(), m_items.end(),
                     [&compare](const tagITEM& a, const tagITEM& b)
                     { return compare(*a.pRecord, *b.pRecord) < 0; });
}

void CFileList::SortByField(int nField, BOOL bAscending, const CCollator& collator)
{
    if (m_items.empty() || !m_items.front().pRecord->GetSortText(nField))
    {
        if (bAscending)
            Sort([&](const CFileAssocData& a, const CFileAssocData& b)
                 { return CFileAssocData::Compare(a, b, nField, collator); });
        else
            Sort([&](const CFileAssocData& a, const CFileAssocData& b)
                 { return -CFileAssocData::Compare(a, b, nField, collator); });
        return;
    }
    std::vector<CCollator::SortKey> arrKeys;
    arrKeys.reserve(m_items.size());
    for (const tagITEM& item : m_items)
        arrKeys.push_back(collator.GetSortKey(*item.pRecord->GetSortText(nField)));
    SortByKeys(arrKeys, !bAscending);
}

void CFileList::SortByKeys(const std::vector<CCollator::SortKey>& arrKeys, BOOL bDescending)
{
    if (arrKeys.size() != m_items.size())
        return;
    std::vector<int> arrOrder(m_items.size());
    std::iota(arrOrder.begin(), arrOrder.end(), 0);
    if (bDescending)
        std::stable_sort(arrOrder.begin(), arrOrder.end(),
                         [&arrKeys](int a, int b) { return arrKeys[b] < arrKeys[a]; });
    else
        std::stable_sort(arrOrder.begin(), arrOrder.end(),
                         [&arrKeys](int a, int b) { return arrKeys[a] < arrKeys[b]; });
    std::vector<tagITEM> items;
    items.reserve(m_items.size());
    for (const int nIndex : arrOrder)
        items.push_back(std::move(m_items[static_cast<size_t>(nIndex)]));
    m_items = std::move(items);
}
