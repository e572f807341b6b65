#include "tags/file/FileEx.h"

#include "base/Path.h"

#include <algorithm>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

namespace Tags
{

namespace
{

// Files of this size or more lie outside the 32-bit model and are never written.
constexpr ULONGLONG nMaxFileLength = 0x100000000ULL;

#ifdef _WIN32
constexpr LONG nErrAccessDenied = ERROR_ACCESS_DENIED;
constexpr LONG nErrTooLarge = ERROR_FILE_TOO_LARGE;
constexpr LONG nErrInvalid = ERROR_INVALID_PARAMETER;
#else
constexpr LONG nErrAccessDenied = EACCES;
constexpr LONG nErrTooLarge = EFBIG;
constexpr LONG nErrInvalid = EINVAL;
#endif

} // namespace

BOOL CFileEx::OpenFile(const CString& strPath, CFileException* pError)
{
    m_bReadOnly = FALSE;
    if (Open(strPath, modeReadWrite | shareCompat | typeBinary, pError))
        return TRUE;
    if (Open(strPath, modeRead | shareDenyWrite | typeBinary, pError))
    {
        m_bReadOnly = TRUE;
        return TRUE;
    }
    return FALSE;
}

CString CFileEx::GetFileFolder() const
{
    return Path::GetFolder(m_strFileName);
}

ULONGLONG CFileEx::CheckWritable() const
{
    CheckOpen();
    if (m_bReadOnly)
        throw CFileException(CFileException::accessDenied, nErrAccessDenied, m_strFileName);
    CheckPathLeadsHere();
    const ULONGLONG nLength = GetLength();
    if (nLength >= nMaxFileLength)
        throw CFileException(CFileException::genericException, nErrTooLarge, m_strFileName);
    return nLength;
}

void CFileEx::ReplaceHead(const BYTE* pData, UINT nNewLength, UINT nOldLength)
{
    const ULONGLONG nLength = CheckWritable();
    if (nNewLength > 0 && !pData)
        throw CFileException(CFileException::genericException, nErrInvalid, m_strFileName);
    const ULONGLONG nOldHead = std::min<ULONGLONG>(nOldLength, nLength);
    if (nNewLength + (nLength - nOldHead) >= nMaxFileLength)
        throw CFileException(CFileException::genericException, nErrTooLarge, m_strFileName);

    if (nNewLength == nOldLength)
    {
        // The usual case: the tag keeps its size and nothing after it is touched.
        SeekToBegin();
        Write(pData, nNewLength);
        return;
    }
    tagREWRITE plan;
    plan.pHead = pData;
    plan.nHeadLength = nNewLength;
    plan.nTailFrom = nOldHead;
    plan.nNewPosition = nNewLength;
    Rewrite(plan);
}

void CFileEx::RemoveRange(ULONGLONG nPosition, UINT nLength)
{
    const ULONGLONG nFileLength = CheckWritable();
    if (nLength == 0 || nPosition >= nFileLength)
    {
        Seek(static_cast<LONGLONG>(std::min(nPosition, nFileLength)), begin);
        return;
    }
    const ULONGLONG nEnd = nPosition + nLength;
    if (nEnd >= nFileLength)
    {
        // Nothing follows the range: a cut is enough and moves no byte.
        SetLength(nPosition);
        Seek(static_cast<LONGLONG>(nPosition), begin);
        return;
    }
    tagREWRITE plan;
    plan.nKeepLength = nPosition;
    plan.nTailFrom = nEnd;
    plan.nNewPosition = nPosition;
    Rewrite(plan);
}

void CFileEx::ReplaceHeadAndTail(const BYTE* pHead, UINT nNewHead, UINT nOldHead, const BYTE* pTail,
                                 UINT nNewTail, UINT nOldTail)
{
    const ULONGLONG nLength = CheckWritable();
    if ((nNewHead > 0 && !pHead) || (nNewTail > 0 && !pTail) ||
        static_cast<ULONGLONG>(nOldHead) + nOldTail > nLength)
        throw CFileException(CFileException::genericException, nErrInvalid, m_strFileName);
    const ULONGLONG nMiddle = nLength - nOldHead - nOldTail;
    if (static_cast<ULONGLONG>(nNewHead) + nMiddle + nNewTail >= nMaxFileLength)
        throw CFileException(CFileException::genericException, nErrTooLarge, m_strFileName);
    tagREWRITE plan;
    plan.pHead = pHead;
    plan.nHeadLength = nNewHead;
    plan.nTailFrom = nOldHead;
    plan.nTailTo = nLength - nOldTail;
    plan.pEnd = pTail;
    plan.nEndLength = nNewTail;
    plan.nNewPosition = nNewHead;
    Rewrite(plan);
}

// --- CRewriteBatch ---

CRewriteBatch::~CRewriteBatch()
{
    Commit();
}

void CRewriteBatch::Remove(CFileEx* pFile)
{
    m_arrWaiting.erase(std::remove(m_arrWaiting.begin(), m_arrWaiting.end(), pFile),
                       m_arrWaiting.end());
}

void CRewriteBatch::AddFolder(const CString& strFolder)
{
    // Files in list order mostly come folder by folder: the last one is checked first.
    if (!m_arrFolders.empty() && m_arrFolders.back() == strFolder)
        return;
    if (std::find(m_arrFolders.begin(), m_arrFolders.end(), strFolder) == m_arrFolders.end())
        m_arrFolders.push_back(strFolder);
}

std::vector<CFileEx*> CRewriteBatch::Commit()
{
    const std::vector<CFileEx*> arrWaiting = std::move(m_arrWaiting);
    m_arrWaiting.clear();
    // All new files are sent to the disk before the first is waited for.
    for (CFileEx* pFile : arrWaiting)
        pFile->StartFlushWaiting();
    // Every new file is made durable before the first takes its original's name: the renames
    // in between would each cost the file system a commit of its own.
    for (CFileEx* pFile : arrWaiting)
        pFile->SyncWaiting();
    std::vector<CFileEx*> arrFailed;
    for (CFileEx* pFile : arrWaiting)
    {
        try
        {
            pFile->CommitWaiting();
        }
        catch (const CFileException&)
        {
            arrFailed.push_back(pFile);
        }
    }
    for (const CString& strFolder : m_arrFolders)
        CFileEx::SyncFolder(strFolder);
    m_arrFolders.clear();
    return arrFailed;
}

} // namespace Tags
