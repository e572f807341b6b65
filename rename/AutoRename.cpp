#include "rename/AutoRename.h"

#include "base/Path.h"
#include "browser/DiagnosticMessages.h"
#include "browser/FileAssocData.h"
#include "browser/FileChange.h"
#include "browser/FileMove.h"
#include "res/StringTable.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace
{

// Folders are the same by the platform's file-name rule (grouping and counter restarts).
bool SameFolder(const CString& a, const CString& b)
{
#ifdef _WIN32
    return a.CompareNoCase(b) == 0;
#else
    return a.Compare(b) == 0;
#endif
}

// The key under which SameFolder finds a folder.
std::u16string FolderKey(const CString& strFolder)
{
#ifdef _WIN32
    std::u16string key(strFolder.str());
    for (char16_t& ch : key)
        ch = FoldCase(ch);
    return key;
#else
    return strFolder.str();
#endif
}

// The clash test ignores case on every platform.
bool SameNoCase(const CString& a, const CString& b)
{
    return a.CompareNoCase(b) == 0;
}

std::u16string Folded(std::u16string_view str)
{
    std::u16string folded(str);
    for (char16_t& ch : folded)
        ch = FoldCase(ch);
    return folded;
}

// Folder and planned name, both folded, as one key of the clash test.
std::u16string ClashKey(const tagRENAMEITEM& item)
{
    return Folded(item.pRecord->m_strFolder.str()) + u'\0' + Folded(item.strNewName.str());
}

// A planned name that the folder's own path cannot carry: a separator would move the file
// into another folder, a NUL would cut the name.

CString FolderPath(const CString& strFolder, const CString& strName)
{
    return strFolder + Path::chSeparator + strName;
}

// An entry of exactly this path exists.
bool PathExists(const CString& strPath)
{
#ifdef _WIN32
    return ::GetFileAttributesW(Path::ToNative(strPath).c_str()) != INVALID_FILE_ATTRIBUTES;
#else
    struct stat st = {};
    return ::lstat(Path::ToNative(strPath).c_str(), &st) == 0;
#endif
}

} // namespace

// The folded names of each folder the existence test has looked at, so that one planning pass
// reads every folder once.
struct CAutoRename::CFolderCache
{
    struct tagFOLDER
    {
        bool bListed = false;
        std::unordered_set<std::u16string> names;
    };
    std::unordered_map<std::u16string, tagFOLDER> folders;

    const tagFOLDER& Get(const CString& strFolder)
    {
        auto [it, bNew] = folders.try_emplace(strFolder.str());
        if (bNew)
            Read(strFolder, it->second);
        return it->second;
    }

    static void Read(const CString& strFolder, tagFOLDER& folder)
    {
#ifdef _WIN32
        // The platform's own lookup already ignores case.
        (void)strFolder;
        (void)folder;
#else
        const std::string path = Path::ToNative(strFolder.IsEmpty() ? CString(u"/") : strFolder);
        DIR* pDir = ::opendir(path.c_str());
        if (!pDir)
            return;
        while (const dirent* pEntry = ::readdir(pDir))
            folder.names.insert(Folded(Path::FromNative(pEntry->d_name).str()));
        ::closedir(pDir);
        folder.bListed = true;
#endif
    }
};

BOOL FormatName(CString& strNewName, const CFileAssocData& record, const CString& strFormat,
                LONGLONG nCounter, int nLeadingZeros)
{
    strNewName.Empty();
    BOOL bAllFields = TRUE;

    // Only the last full stop splits; the extension keeps its spelling. A name without one
    // gets none, so no full stop is added that the name did not have.
    const CString& strFileName = record.m_strFileName;
    const int nDot = strFileName.ReverseFind(u'.');
    const CString strBaseName = nDot < 0 ? strFileName : strFileName.Left(nDot);
    const CString strExtension = nDot < 0 ? CString() : strFileName.Mid(nDot);

    CString strResult;
    const auto onText = [&strResult](char16_t ch)
    {
        strResult += ch;
        return true;
    };
    const auto onToken = [&](std::u16string_view token)
    {
        CString strValue;
        if (token == u"<counter>")
        {
            strValue.Format(u"%d", nCounter);
            if (strValue.GetLength() < nLeadingZeros)
                strValue = (CString(u"00000") + strValue).Right(nLeadingZeros);
        }
        else if (token == u"<filename>")
            strValue = strBaseName;
        else if (token == u"<title>")
            strValue = record.m_strTitle;
        else if (token == u"<album>")
            strValue = record.m_strAlbum;
        else if (token == u"<artist>")
            strValue = record.m_strArtist;
        else if (token == u"<track>")
        {
            if (record.m_nTrack > 0)
                strValue.Format(u"%u", static_cast<UINT>(record.m_nTrack));
        }
        else if (token == u"<year>")
            strValue = record.m_strYear;
        else if (token == u"<genre>")
            strValue = record.m_strGenre;
        else
            return false;
        if (strValue.IsEmpty())
            bAllFields = FALSE;
        strResult += strValue;
        return true;
    };
    if (!ScanPresetFormat(strFormat.str(), onText, onToken))
        return FALSE;

    strNewName = strResult + strExtension;
    return bAllFields;
}

CAutoRename::CAutoRename(IBusyState& busyState, IRenameHost* pHost)
    : m_busyState(busyState), m_pHost(pHost)
{
}

CAutoRename::~CAutoRename() = default;

void CAutoRename::AddRecord(CFileAssocData* pRecord, int nIndex)
{
    if (!pRecord)
        return;
    auto pItem = std::make_unique<tagRENAMEITEM>();
    pItem->pRecord = pRecord;
    pItem->nIndex = nIndex;

    // Each file goes after the last one of its folder: the folders in the order in which each
    // first appeared, the files of one folder in selection order.
    const auto [it, bNew] =
        m_folders.try_emplace(FolderKey(pRecord->m_strFolder), static_cast<int>(m_folders.size()));
    if (!bNew && !m_itemFolders.empty() && m_itemFolders.back() != it->second)
        m_bGrouped = false;
    m_items.push_back(std::move(pItem));
    m_itemFolders.push_back(it->second);
}

void CAutoRename::GroupItems() const
{
    if (m_bGrouped)
        return;
    std::vector<size_t> order(m_items.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [this](size_t a, size_t b) { return m_itemFolders[a] < m_itemFolders[b]; });
    std::vector<std::unique_ptr<tagRENAMEITEM>> items;
    std::vector<int> folders;
    items.reserve(order.size());
    folders.reserve(order.size());
    for (size_t i : order)
    {
        items.push_back(std::move(m_items[i]));
        folders.push_back(m_itemFolders[i]);
    }
    m_items = std::move(items);
    m_itemFolders = std::move(folders);
    m_bGrouped = true;
}

BOOL CAutoRename::Execute(const tagPRESETDATA& preset, CDiagnosticMessages* pDiagnostics)
{
    if (!IsValidPreset(preset))
        return FALSE;

    if (m_pHost)
        m_pHost->BeginWaitCursor();
    PlanNames(preset);
    if (m_pHost)
        m_pHost->EndWaitCursor();

    if (m_pHost && !m_pHost->ConfirmRename(*this))
        return FALSE;

    RenameFiles(pDiagnostics);
    return TRUE;
}

BOOL CAutoRename::PlanNames(const tagPRESETDATA& preset)
{
    if (!IsValidPreset(preset))
        return FALSE;

    GroupItems();
    // Names still unplanned count as empty, so of equal names only the later ones clash.
    for (const auto& pItem : m_items)
    {
        pItem->strNewName.Empty();
        pItem->bAllFields = FALSE;
        pItem->bCanRename = FALSE;
    }

    const CString strFormat = GetPresetFormat(preset);
    CFolderCache cache;
    std::unordered_set<std::u16string> planned;
    LONGLONG nCounter = preset.nCounterStart;
    const tagRENAMEITEM* pPrevious = nullptr;
    for (const auto& pItem : m_items)
    {
        if (!preset.bResetPerFolder)
            nCounter =
                static_cast<LONGLONG>(preset.nCounterStep) * pItem->nIndex + preset.nCounterStart;
        else if (pPrevious &&
                 !SameFolder(pPrevious->pRecord->m_strFolder, pItem->pRecord->m_strFolder))
            nCounter = preset.nCounterStart;

        pItem->bAllFields = FormatName(pItem->strNewName, *pItem->pRecord, strFormat, nCounter,
                                       preset.nLeadingZeros);
        const std::u16string key = ClashKey(*pItem);
        const bool bDuplicate = !planned.insert(key).second;
        pItem->bCanRename = !bDuplicate && !NameExistsIn(pItem.get(), &cache);

        pPrevious = pItem.get();
        nCounter += preset.nCounterStep;
    }
    return TRUE;
}

void CAutoRename::RenameFiles(CDiagnosticMessages* pDiagnostics)
{
    GroupItems();
    m_busyState.BeginBusy();
    for (const auto& pItem : m_items)
    {
        // Esc is looked for between two files only.
        if (m_busyState.IsCancelRequested())
            break;
        if (!pItem->bCanRename)
            continue;

        CFileAssocData& record = *pItem->pRecord;
        const CString strOldPath = record.GetFullPath();
        LONG lError = 0;
        if (RenameRecordFile(record, pItem->strNewName, &lError))
        {
            if (m_pChange)
                m_pChange->FileRenamed(strOldPath,
                                       FolderPath(record.m_strFolder, pItem->strNewName));
        }
        else if (pDiagnostics)
        {
            pDiagnostics->AddMessage(
                Res::FormatResourceString(Res::IDS_RENAME_FAILED, strOldPath,
                                          FolderPath(record.m_strFolder, pItem->strNewName)) +
                u" " + GetOsErrorText(lError));
        }
    }
    m_busyState.EndBusy();
}

BOOL CAutoRename::IsDuplicateName(const tagRENAMEITEM* pItem) const
{
    if (!pItem || !pItem->pRecord)
        return FALSE;
    for (const auto& pOther : m_items)
    {
        if (pOther.get() != pItem &&
            SameNoCase(pOther->pRecord->m_strFolder, pItem->pRecord->m_strFolder) &&
            SameNoCase(pOther->strNewName, pItem->strNewName))
            return TRUE;
    }
    return FALSE;
}

BOOL CAutoRename::NameExists(const tagRENAMEITEM* pItem) const
{
    CFolderCache cache;
    return NameExistsIn(pItem, &cache);
}

BOOL CAutoRename::NameExistsIn(const tagRENAMEITEM* pItem, CFolderCache* pCache) const
{
    if (!pItem || !pItem->pRecord)
        return FALSE;
    // An empty name would name the folder itself.
    if (pItem->strNewName.IsEmpty())
        return TRUE;
    const CString& strFolder = pItem->pRecord->m_strFolder;
    if (PathExists(FolderPath(strFolder, pItem->strNewName)))
        return TRUE;
    const CFolderCache::tagFOLDER& folder = pCache->Get(strFolder);
    return folder.bListed && folder.names.count(Folded(pItem->strNewName.str())) != 0;
}

void CAutoRename::UpdateConflicts()
{
    std::unordered_map<std::u16string, int> counts;
    for (const auto& pItem : m_items)
        ++counts[ClashKey(*pItem)];
    CFolderCache cache;
    for (const auto& pItem : m_items)
        pItem->bCanRename = counts[ClashKey(*pItem)] < 2 && !NameExistsIn(pItem.get(), &cache);
}

tagRENAMEITEM* CAutoRename::GetItem(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    GroupItems();
    return m_items[static_cast<size_t>(nIndex)].get();
}
