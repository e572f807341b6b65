// CAutoRename: the engine of one rename command. It collects the files, plans every new name
// from a preset (with the counter), marks names that clash, lets the confirmation look at and
// alter the plan, and then renames the files that may be renamed.
#pragma once

#include "base/BusyState.h"
#include "base/String.h"
#include "rename/PresetData.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CDiagnosticMessages;
class CFileAssocData;
class CFileChange;
class CAutoRename;

// One file of a rename command.
struct tagRENAMEITEM
{
    CFileAssocData* pRecord = nullptr; // borrowed from the file list
    CString strNewName;                // planned name with the extension; empty until planned
    BOOL bAllFields = FALSE;           // every token of the pattern had a value
    BOOL bCanRename = FALSE;           // no clash with another planned name or an existing file
    int nIndex = 0;                    // position in the user's selection, from 0
};

// What Execute needs from the windows: the wait cursor while planning and the confirmation of
// the plan (which may alter names and then calls UpdateConflicts).
class IRenameHost
{
public:
    virtual ~IRenameHost() = default;

    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // Shows the plan; TRUE when the user confirmed it.
    virtual BOOL ConfirmRename(CAutoRename& engine) = 0;
};

// Builds one new name from a pattern and a record: the tokens' values in place of the tokens,
// the counter padded to nLeadingZeros digits, the file's extension kept. TRUE when every token
// had a value; FALSE also on a pattern error, which leaves strNewName empty.
BOOL FormatName(CString& strNewName, const CFileAssocData& record, const CString& strFormat,
                LONGLONG nCounter, int nLeadingZeros);

class CAutoRename
{
public:
    // The busy state of the application, used while the files are renamed; the host may be null
    // for a run without windows (the plan then counts as confirmed).
    explicit CAutoRename(IBusyState& busyState, IRenameHost* pHost = nullptr);
    CAutoRename(const CAutoRename&) = delete;
    CAutoRename& operator=(const CAutoRename&) = delete;
    ~CAutoRename();

    const char* GetRuntimeClassName() const { return "CAutoRename"; }

    // Adds one selected file with its position in the selection. Files of one folder are kept
    // together, in selection order; folders keep the order in which each first appeared.
    void AddRecord(CFileAssocData* pRecord, int nIndex);

    // The whole command: FALSE at once when the preset is not valid; plans, asks the host to
    // confirm (FALSE when it does not) and renames. TRUE when the renames were carried out, also
    // when Esc stopped them.
    BOOL Execute(const tagPRESETDATA& preset, CDiagnosticMessages* pDiagnostics);

    // The planning of Execute: every item's name, completeness and clash state. FALSE, changing
    // nothing, when the preset is not valid.
    BOOL PlanNames(const tagPRESETDATA& preset);
    // The renames of Execute, in the engine's order, inside the busy state; Esc stops between two
    // files. Each failure adds one line to the collector (none without one).
    void RenameFiles(CDiagnosticMessages* pDiagnostics);

    // Another item of the same folder has the same planned name (both ignoring case).
    BOOL IsDuplicateName(const tagRENAMEITEM* pItem) const;
    // An entry of the item's folder has the planned name, ignoring case (so a name that differs
    // from an existing one only in case counts as taken on every file system).
    BOOL NameExists(const tagRENAMEITEM* pItem) const;
    // Every item's clash state again, against all planned names (after a name was altered).
    void UpdateConflicts();

    int GetCount() const { return static_cast<int>(m_items.size()); }
    // Where the renames are recorded for Undo; none: nothing is recorded.
    void SetChange(CFileChange* pChange) { m_pChange = pChange; }
    // The item at the position in the engine's order, or null.
    tagRENAMEITEM* GetItem(int nIndex) const;

private:
    struct CFolderCache;
    BOOL NameExistsIn(const tagRENAMEITEM* pItem, CFolderCache* pCache) const;
    // Brings the items into folder order when a file joined a folder seen earlier.
    void GroupItems() const;

    IBusyState& m_busyState;
    IRenameHost* m_pHost = nullptr;
    CFileChange* m_pChange = nullptr;
    // The items and, beside each, the position of its folder in order of first appearance. The
    // folder order is restored lazily, so adding many files stays linear.
    mutable std::vector<std::unique_ptr<tagRENAMEITEM>> m_items;
    mutable std::vector<int> m_itemFolders;
    mutable bool m_bGrouped = true;
    std::unordered_map<std::u16string, int> m_folders;
};
