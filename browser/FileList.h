// CFileList: the ordered records of the file list and the rules by which files enter it (one
// file, a folder with or without its subfolders, any path, a drop). The window only shows it:
// it learns of new items, painting and the sort mark through IFileListHost.
#pragma once

#include "base/String.h"
#include "base/Types.h"
#include "browser/Collator.h"
#include "browser/FileAssocData.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class IBusyState;
class CDiagnosticMessages;

// What the list needs from the window that shows it. Every operation has a default that does
// nothing, so a list without a window works as well.
class IFileListHost
{
public:
    virtual ~IFileListHost() = default;

    // Painting suspended (FALSE) or resumed (TRUE) around bulk adds.
    virtual void SetRedraw(BOOL /*bRedraw*/) {}
    // The small icon of a file about to be listed; -1 for none.
    virtual int GetFileImage(const CString& /*strPath*/) { return -1; }
    // Brackets the append of one item at nIndex.
    virtual void OnBeginInsertItem(int /*nIndex*/) {}
    virtual void OnEndInsertItem() {}
    // The sort mark comes off the header (SortByColumn with column -1).
    virtual void OnResetSortMark() {}
};

class CFileList
{
public:
    explicit CFileList(IBusyState& busy, IFileListHost* pHost = nullptr);
    ~CFileList();
    CFileList(const CFileList&) = delete;
    CFileList& operator=(const CFileList&) = delete;

    void SetHost(IFileListHost* pHost) { m_pHost = pHost; }
    IBusyState& GetBusyState() { return m_busy; }

    // --- Adding files ---

    // Adds one audio file at the end; TRUE also when it is already listed. FALSE when it cannot
    // be read (nothing is added).
    BOOL AddFile(const CString& strPath);
    // TRUE when a record with this full path is listed (the platform's file-name rule: exact
    // on Linux, ignoring case on Windows). Constant time.
    BOOL FindFile(const CString& strPath) const;
    // Adds the audio files of one folder, in name order ignoring case, and with bIncludeSubfolders
    // those of every subfolder. FALSE only when the folder cannot be listed (string 143 with the
    // system's error text goes to pDiag). Stops at a cancel request.
    BOOL ScanFolder(const CString& strPath, BOOL bIncludeSubfolders, CDiagnosticMessages* pDiag);
    // ScanFolder in the busy state with painting suspended.
    BOOL AddFolder(const CString& strPath, BOOL bIncludeSubfolders, CDiagnosticMessages* pDiag);
    // Adds whatever the path names: a folder without its subfolders, an audio file, a playlist
    // or a file list; string 138 for any other kind. Takes the sort mark off on success.
    BOOL OpenPath(const CString& strPath, CDiagnosticMessages* pDiag);
    // Adds dropped paths in their order: folders without subfolders, audio files, playlists;
    // string 138 for file lists and other kinds.
    void AddDroppedFiles(const std::vector<CString>& arrPaths, CDiagnosticMessages* pDiag);
    // The cancel test between entries: a pending cancel request, or Esc pressed while busy.
    BOOL IsCancelRequested();

    // --- Items ---

    int GetCount() const { return static_cast<int>(m_items.size()); }
    // The record of an item; NULL for an index that does not exist.
    CFileAssocData* GetRecord(int nIndex) const;
    // The item's small icon index, fixed when it was added; -1 for none or a bad index.
    int GetImage(int nIndex) const;
    // The index of a record in the list; -1 when it is not listed.
    int IndexOf(const CFileAssocData* pRecord) const;
    // The index of the record listed under the path; -1 when none is.
    int FindPath(const CString& strPath) const;

    // Deletes items with their records. Indexes may come in any order; duplicates and indexes
    // that do not exist are ignored.
    void RemoveAt(int nIndex);
    void RemoveItems(std::vector<int> arrIndexes);
    void RemoveAll();
    // Removes the records whose m_bStale is set (after a rename); returns how many.
    int RemoveStaleRecords();
    // Records whose paths changed (loaded under a new name) must be indexed again before the
    // next duplicate test; RemoveStaleRecords does this as well.
    void RefreshPathIndex();

    // Exchanges two items (record and image).
    void SwapItems(int nA, int nB);
    // Moves the selected items (indexes in any order) one place up or down; a block of
    // adjacent items moves as a whole and a block touching the end stays. Returns the indexes
    // the items have afterwards, ascending.
    std::vector<int> MoveUp(const std::vector<int>& arrSelected);
    std::vector<int> MoveDown(const std::vector<int>& arrSelected);
    // Moves the selected items, in their order, to stand before the item at nTarget (the end
    // when nTarget is the count). Nothing happens for a negative target, no selection, or a
    // selected item at the target. Returns the new indexes of the moved items, ascending, or
    // the selection unchanged when nothing moved.
    std::vector<int> MoveTo(const std::vector<int>& arrSelected, int nTarget);
    // Orders the items by a comparison of records (negative, zero, positive); equal records
    // keep their order.
    void Sort(const std::function<int(const CFileAssocData&, const CFileAssocData&)>& compare);
    // Orders the items by a record field as CFileAssocData::Compare compares it (negated when
    // descending); equal records keep their order. Texts are turned into sort keys once each
    // instead of being collated at every comparison.
    void SortByField(int nField, BOOL bAscending, const CCollator& collator);

private:
    void SortByKeys(const std::vector<CCollator::SortKey>& arrKeys, BOOL bDescending);

    struct tagITEM
    {
        std::unique_ptr<CFileAssocData> pRecord;
        int nImage = -1;
    };

    // The duplicate test's key of a path: its full form, case folded where the file system
    // ignores case.
    static std::u16string PathKey(const CString& strPath);
    // The key of a listed record.
    static std::u16string RecordKey(const CFileAssocData& record);
    void IndexRecord(const CFileAssocData& record);
    void UnindexRecord(const CFileAssocData& record);
    // One audio file of a scan or a drop: status texts, AddFile, string 140 on failure.
    void AddAudioFile(const CString& strPath, CDiagnosticMessages* pDiag);
    void SetRedraw(BOOL bRedraw);

    IBusyState& m_busy;
    IFileListHost* m_pHost = nullptr;
    std::vector<tagITEM> m_items;
    // Full path keys of the listed records.
    std::unordered_map<std::u16string, const CFileAssocData*> m_paths;
};
