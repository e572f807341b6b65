// CFileEx: the tag library's file: the exclusive open with its read-only fallback, and the two
// rewriting primitives that put a head of another length in place or cut a range out.
#pragma once

#include "base/File.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace Tags
{

// What tells one state of a file from another: the file itself (its identity on its volume),
// its length and its last write time. Equal stamps: the same file, not written in between as
// far as the file system's clock tells.
struct tagFILESTAMP
{
    ULONGLONG nVolume = 0;
    ULONGLONG nIndex = 0;
    ULONGLONG nLength = 0;
    ULONGLONG nWriteTime = 0;

    bool operator==(const tagFILESTAMP&) const = default;
};

class CFileEx;

// A batch of rewrites over many files. Each rewrite writes its new file beside the original and
// waits; Commit then flushes the waiting new files together (the file system writes them in one
// go rather than one commit each), puts each in its original's place, and makes the renames
// durable once per folder. No file takes its original's name before its content is on disk, so
// a crash leaves every file as it was or as it should be.
class CRewriteBatch
{
public:
    CRewriteBatch() = default;
    // Commits what still waits.
    ~CRewriteBatch();
    CRewriteBatch(const CRewriteBatch&) = delete;
    CRewriteBatch& operator=(const CRewriteBatch&) = delete;

    int GetCount() const { return static_cast<int>(m_arrWaiting.size()); }
    // Commits every waiting rewrite in the order they were made; returns the files whose commit
    // failed, each left as it was. Never throws.
    std::vector<CFileEx*> Commit();

private:
    friend class CFileEx;
    void Add(CFileEx* pFile) { m_arrWaiting.push_back(pFile); }
    void Remove(CFileEx* pFile);
    void AddFolder(const CString& strFolder);

    std::vector<CFileEx*> m_arrWaiting;
    std::vector<CString> m_arrFolders;
    // Per folder (its native path), the entries that looked like temporary files of rewrites
    // when the batch first rewrote a file there: read once, not once per file, as a killed
    // rewrite leaves none behind while the batch runs.
    std::unordered_map<std::string, std::vector<std::string>> m_tempNames;
};

class CFileEx : public CFile
{
public:
    CFileEx();
    // A rewrite still waiting in a batch is dropped: the file stays as it was.
    ~CFileEx() override;

    // Opens for reading and writing with no sharing (an exclusive lock); else for reading only,
    // letting others read (a shared lock), with m_bReadOnly TRUE; else the file stays closed.
    // pError, when given, receives the failure of the last attempt.
    virtual BOOL OpenFile(const CString& strPath, CFileException* pError = nullptr);

    // Replaces the first nOldLength bytes (at most the whole file) by the nNewLength bytes at
    // pData. Equal lengths write in place and touch nothing after the head; other lengths
    // rewrite the file through a temporary file renamed over it, so a failure leaves the file as
    // it was. Afterwards the position is just after the new head. Throws CFileException.
    void ReplaceHead(const BYTE* pData, UINT nNewLength, UINT nOldLength);

    // Deletes nLength bytes at nPosition (clipped to the end of the file); what follows moves
    // down. Safe as ReplaceHead. Afterwards the position is nPosition (or the end when that is
    // shorter). Throws CFileException.
    void RemoveRange(ULONGLONG nPosition, UINT nLength);

    // Replaces the first nOldHead bytes by the nNewHead bytes at pHead and the last nOldTail
    // bytes by the nNewTail bytes at pTail, in one rewrite through a temporary file: the file is
    // either as it was or as it should be, also when the process dies midway. The two old ranges
    // must not overlap. Afterwards the position is just after the new head. Throws
    // CFileException.
    void ReplaceHeadAndTail(const BYTE* pHead, UINT nNewHead, UINT nOldHead, const BYTE* pTail,
                            UINT nNewTail, UINT nOldTail);

    // The full path before its last separator; empty when it has none or only the first one.
    CString GetFileFolder() const;

    // Throws CFileException when the path no longer leads to the file this object holds: it was
    // deleted, its folder removed, or another file or a folder took its name. A write then
    // would change what nobody can reach any more, and a save would be reported that no one
    // sees. Every write of the tag library checks this first.
    void CheckPathLeadsHere() const;

    // The open file's stamp. Throws CFileException.
    tagFILESTAMP GetFileStamp() const;

    // TRUE when the file could only be opened by the read-only fallback; every write of the
    // tag library refuses while it is set.
    BOOL m_bReadOnly = FALSE;

    // When set, a rewrite waits in the batch instead of replacing the original at once (only
    // where the system lets the batch do better; elsewhere it completes at once). While it
    // waits the object works on the new file and holds the original, still locked, beside it.
    // After a failed commit the object holds the original again, but its tags describe the new
    // file: it is only to be closed.
    CRewriteBatch* m_pBatch = nullptr;
    BOOL IsRewriteWaiting() const { return m_pWaiting != nullptr; }

private:
    friend class CRewriteBatch;

    // Refuses writing on a closed, read-only or too large (4 GiB or more) file.
    ULONGLONG CheckWritable() const;
    // What a rewrite puts into the new file, in this order: new bytes, the original's first
    // bytes, a range of the original (to its end at most), new bytes again.
    struct tagREWRITE
    {
        const BYTE* pHead = nullptr;
        UINT nHeadLength = 0;
        ULONGLONG nKeepLength = 0;
        ULONGLONG nTailFrom = 0;
        ULONGLONG nTailTo = ~0ULL;
        const BYTE* pEnd = nullptr;
        UINT nEndLength = 0;
        ULONGLONG nNewPosition = 0; // where the position is afterwards
    };
    // Writes the new file beside the original, renames it over the original and works on it from
    // then on. Temporary files that killed rewrites of the same file left are removed first.
    void Rewrite(const tagREWRITE& plan);

    // A rewrite that has written its new file and waits for its batch.
    struct tagWAITING;
    std::unique_ptr<tagWAITING> m_pWaiting;
    // The batch's steps for this file: start writing the new file out; wait until it is on disk
    // (a failure is kept for the next step); then put it in the original's place and work on it
    // from then on (flushing it first when the step before did not). Throws CFileException.
    void StartFlushWaiting();
    void SyncWaiting();
    void CommitWaiting();
    // Makes the renames in a folder durable; failures change nothing that could be undone.
    static void SyncFolder(const CString& strFolder);
};

} // namespace Tags
