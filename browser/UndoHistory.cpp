#include "browser/UndoHistory.h"

#include "browser/TempFolder.h"
#include "res/StringTable.h"

#include <algorithm>

CUndoHistory::CUndoHistory(int nLevels, ULONGLONG nMemoryBound) : m_nLevels(std::max(nLevels, 1))
{
    m_budget.nBound = nMemoryBound;
}

CUndoHistory::~CUndoHistory()
{
    m_changes.clear();
}

std::unique_ptr<CFileChange> CUndoHistory::BeginChange(const CString& strName)
{
    CString strFolder;
    if (!GetTempFolder(strFolder))
        strFolder.Empty();
    return std::make_unique<CFileChange>(strName, &m_budget, strFolder);
}

void CUndoHistory::AddChange(std::unique_ptr<CFileChange> pChange)
{
    if (!pChange || pChange->IsEmpty())
        return;
    m_changes.push_back(std::move(pChange));
    if (static_cast<int>(m_changes.size()) > m_nLevels)
        m_changes.erase(m_changes.begin());
}

CString CUndoHistory::GetUndoText() const
{
    if (m_changes.empty())
        return CString();
    const CFileChange& change = *m_changes.back();
    const int nFiles = change.GetFileCount();
    if (nFiles == 1)
        return Res::FormatResourceString(Res::IDS_UNDO_COMMAND_ONE, change.GetName());
    return Res::FormatResourceString(Res::IDS_UNDO_COMMAND, change.GetName(),
                                     FormatString(u"%d", nFiles));
}

BOOL CUndoHistory::Undo(IBusyState& busy, CDiagnosticMessages* pDiag,
                        std::vector<tagUNDONEFILE>& arrUndone)
{
    if (m_changes.empty())
        return FALSE;
    const size_t nFirst = arrUndone.size();
    const BOOL bDone = m_changes.back()->Undo(busy, pDiag, arrUndone);
    // Older changes find the files they left as they left them, under new stamps.
    for (size_t i = nFirst; i < arrUndone.size(); ++i)
        for (size_t n = 0; n + 1 < m_changes.size(); ++n)
            m_changes[n]->Restamp(arrUndone[i]);
    if (m_changes.back()->IsEmpty())
        m_changes.pop_back();
    return bDone;
}
