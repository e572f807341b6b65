// CUndoHistory: the last changes Tagwright made to files, newest last, for Edit > Undo. The
// commands record into a change they begin here and hand it back when done; the kept bytes of
// all changes share one memory bound, beyond which they go to the private temporary folder, and
// everything is dropped with the history (at exit).
#pragma once

#include "base/BusyState.h"
#include "base/String.h"
#include "browser/FileChange.h"

#include <memory>
#include <vector>

class CDiagnosticMessages;

class CUndoHistory
{
public:
    // nLevels: how many changes are kept; nMemoryBound: the bytes kept in memory across them.
    explicit CUndoHistory(int nLevels = 10, ULONGLONG nMemoryBound = 64ULL * 1024 * 1024);
    ~CUndoHistory();
    CUndoHistory(const CUndoHistory&) = delete;
    CUndoHistory& operator=(const CUndoHistory&) = delete;

    // A new change to record into, named after its command ("Edit Tag"); give it back with
    // AddChange. It must not outlive the history.
    std::unique_ptr<CFileChange> BeginChange(const CString& strName);
    // Keeps the change as the newest, dropping the oldest beyond the levels; an empty change
    // (nothing written or renamed) is dropped.
    void AddChange(std::unique_ptr<CFileChange> pChange);

    BOOL CanUndo() const { return !m_changes.empty(); }
    int GetCount() const { return static_cast<int>(m_changes.size()); }
    // "Undo Edit Tag (3 files)" for the newest change; empty when there is none.
    CString GetUndoText() const;
    // Takes back the newest change (see CFileChange::Undo). When Esc stops it, the files not
    // reached stay, as the newest change. FALSE when there was nothing to undo or Esc stopped it.
    BOOL Undo(IBusyState& busy, CDiagnosticMessages* pDiag, std::vector<tagUNDONEFILE>& arrUndone);

    const tagUNDOBUDGET& GetBudget() const { return m_budget; }

private:
    int m_nLevels;
    tagUNDOBUDGET m_budget;
    // The changes go before the budget they count against.
    std::vector<std::unique_ptr<CFileChange>> m_changes;
};
