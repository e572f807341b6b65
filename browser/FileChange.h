// CFileChange: what one command did to files, kept so that Undo can take it back. For each file
// whose tags were written: the bytes its tags took before (the ID3v2 region at its start and the
// ID3v1 block at its end) and a fingerprint of what the write left there; for each file renamed:
// its old name. Undo puts back only files nobody changed since.
#pragma once

#include "base/BusyState.h"
#include "base/String.h"
#include "base/Types.h"
#include "tags/file/FileEx.h"

#include <memory>
#include <vector>

class CDiagnosticMessages;

namespace Tags
{
class CMpegFile;
}

// The memory the kept bytes of all changes share; beyond nBound they go to files.
struct tagUNDOBUDGET
{
    ULONGLONG nUsed = 0;
    ULONGLONG nBound = 64ULL * 1024 * 1024;
};

// A file Undo took back: where it was, and where it is now (another path when it got its old name
// back); its stamp before the change and now, when it is again as it was then.
struct tagUNDONEFILE
{
    CString strPath;
    CString strNewPath;
    Tags::tagFILESTAMP stampBefore;
    Tags::tagFILESTAMP stampNow;
};

class CFileChange
{
public:
    // strName: the command, for the Undo text ("Edit Tag"). pBudget is shared with the other
    // changes of the history and must outlive this one; strSpillFolder is the private folder the
    // bytes go to beyond the budget (empty: they stay in memory).
    CFileChange(const CString& strName, tagUNDOBUDGET* pBudget, const CString& strSpillFolder);
    // The bytes kept in memory go back to the budget, the spill file is deleted.
    ~CFileChange();
    CFileChange(const CFileChange&) = delete;
    CFileChange& operator=(const CFileChange&) = delete;

    const CString& GetName() const { return m_strName; }
    // The files Undo would take back: those written (see TagsWritten) or renamed.
    int GetFileCount() const;
    BOOL IsEmpty() const { return GetFileCount() == 0; }

    // Before the tags of the open file are written: keeps the bytes they take now. Returns the
    // key for TagsWritten; -1 when they could not be read, and the file's write will not be
    // undoable. Never throws.
    int KeepTags(Tags::CMpegFile& file);
    // After the write of a kept file has completed (a rewrite committed): fingerprints what the
    // write left, through the same open file. A kept file never passed here (its write failed)
    // is not part of the change. Never throws; a file that cannot be read back is dropped.
    void TagsWritten(int nKey, Tags::CMpegFile& file);
    // After a file was renamed (or moved). Never throws.
    void FileRenamed(const CString& strOldPath, const CString& strNewPath);

    // Takes the change back, the last file first, inside the busy state (status text per file,
    // Esc between files). A file changed since by anything else, or that cannot be opened or
    // written, is left alone and listed in pDiag; a file whose old name is taken keeps its new
    // one and is listed. arrUndone receives every file written back or renamed back. Returns
    // FALSE when Esc stopped it: the files not reached stay in the change, to be undone later.
    BOOL Undo(IBusyState& busy, CDiagnosticMessages* pDiag, std::vector<tagUNDONEFILE>& arrUndone);
    // After a newer change was undone: the file is as it was before that change, so where this
    // change left it in the state the newer one found (stamp stampBefore), it counts as not
    // changed since, under its new stamp.
    void Restamp(const tagUNDONEFILE& undone);

private:
    struct tagKEPTBYTES;
    struct tagFILEENTRY;

    // Where bytes are kept: in memory within the budget, else appended to the spill file.
    BOOL Keep(const std::vector<BYTE>& bytes, tagKEPTBYTES& kept);
    BOOL Load(const tagKEPTBYTES& kept, std::vector<BYTE>& bytes) const;
    void Release(tagKEPTBYTES& kept);
    // The steps of Undo for one file; FALSE with the message added when it was left alone.
    BOOL UndoTags(tagFILEENTRY& entry, CDiagnosticMessages* pDiag, Tags::tagFILESTAMP& stampNow);
    BOOL UndoRename(tagFILEENTRY& entry, CDiagnosticMessages* pDiag);

    CString m_strName;
    tagUNDOBUDGET* m_pBudget = nullptr;
    CString m_strSpillFolder;
    CString m_strSpillPath;
    std::unique_ptr<CFile> m_pSpill;
    ULONGLONG m_nSpillLength = 0;
    std::vector<std::unique_ptr<tagFILEENTRY>> m_entries;
};
