// CFileEx: the tag library's file: the exclusive open with its read-only fallback, and the two
// rewriting primitives that put a head of another length in place or cut a range out.
#pragma once

#include "base/File.h"

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

class CFileEx : public CFile
{
public:
    CFileEx() = default;

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

private:
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
};

} // namespace Tags
