#include "base/File.h"

#include "base/Path.h"

#include <algorithm>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

// ---------------------------------------------------------------------------------------------
// CFile, common parts

CFile::CFile() = default;

CFile::CFile(HANDLE hFile) : m_hFile(hFile) {}

CFile::CFile(const CString& strFileName, UINT nOpenFlags)
{
    CFileException e;
    if (!Open(strFileName, nOpenFlags, &e))
        throw e;
}

CFile::~CFile()
{
    if (m_hFile != INVALID_HANDLE_VALUE && m_bCloseOnDelete)
        CFile::Abort();
}

CString CFile::GetFileName() const
{
    return Path::GetName(m_strFileName);
}

CString CFile::GetFileTitle() const
{
    const CString strName = GetFileName();
    const int nDot = strName.ReverseFind(u'.');
    return nDot > 0 ? strName.Left(nDot) : strName;
}

CString CFile::GetFilePath() const
{
    return m_strFileName;
}

void CFile::SetFilePath(const CString& strNewName)
{
    m_strFileName = Path::GetFullPath(strNewName);
}

void CFile::CheckOpen() const
{
    if (m_hFile == INVALID_HANDLE_VALUE)
    {
#ifdef _WIN32
        throw CFileException(CFileException::invalidFile, ERROR_INVALID_HANDLE, m_strFileName);
#else
        throw CFileException(CFileException::invalidFile, EBADF, m_strFileName);
#endif
    }
}

#ifdef _WIN32

// ---------------------------------------------------------------------------------------------
// CFile on Win32: the framework's share modes are the system's own.

BOOL CFile::Open(const CString& strFileName, UINT nOpenFlags, CFileException* pError)
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        Abort();
    m_strFileName = Path::GetFullPath(strFileName);
    auto fail = [&](LONG lOsError)
    {
        if (pError)
        {
            pError->m_cause = CFileException::OsErrorToException(lOsError);
            pError->m_lOsError = lOsError;
            pError->m_strFileName = m_strFileName;
        }
        return FALSE;
    };
    // The system's full-path call stops at a zero, so look at the name as given.
    if (m_strFileName.IsEmpty() || strFileName.Find(u'\0') >= 0)
        return fail(ERROR_BAD_PATHNAME);
    // The name as the disk spells it (the path may differ in case), like the framework's own.
    if (m_strFileName.FindOneOf(u"*?") < 0)
    {
        WIN32_FIND_DATAW data = {};
        const HANDLE hFind = ::FindFirstFileW(Path::ToNative(m_strFileName).c_str(), &data);
        if (hFind != INVALID_HANDLE_VALUE)
        {
            ::FindClose(hFind);
            const CString strFolder = Path::GetFolder(m_strFileName);
            if (!strFolder.IsEmpty() && !Path::GetName(m_strFileName).IsEmpty())
                m_strFileName = strFolder + Path::chSeparator + Path::FromNative(data.cFileName);
        }
    }

    DWORD dwAccess = 0;
    switch (nOpenFlags & 3)
    {
    case modeRead:
        dwAccess = GENERIC_READ;
        break;
    case modeWrite:
        dwAccess = GENERIC_WRITE;
        break;
    case modeReadWrite:
        dwAccess = GENERIC_READ | GENERIC_WRITE;
        break;
    default:
        return fail(ERROR_INVALID_PARAMETER);
    }
    DWORD dwShare = 0;
    switch (nOpenFlags & 0x70)
    {
    case shareCompat:
    case shareExclusive:
        dwShare = 0;
        break;
    case shareDenyWrite:
        dwShare = FILE_SHARE_READ;
        break;
    case shareDenyRead:
        dwShare = FILE_SHARE_WRITE;
        break;
    case shareDenyNone:
        dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
        break;
    default:
        return fail(ERROR_INVALID_PARAMETER);
    }
    DWORD dwCreate = OPEN_EXISTING;
    if (nOpenFlags & modeCreate)
        dwCreate = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, FALSE};
    const std::wstring native = Path::ToNative(m_strFileName);
    HANDLE h = ::CreateFileW(native.c_str(), dwAccess, dwShare, &sa, dwCreate,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return fail(static_cast<LONG>(::GetLastError()));
    if (::GetFileType(h) != FILE_TYPE_DISK)
    {
        ::CloseHandle(h);
        return fail(ERROR_INVALID_HANDLE);
    }
    m_hFile = h;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

ULONGLONG CFile::GetPosition() const
{
    CheckOpen();
    LARGE_INTEGER zero = {};
    LARGE_INTEGER pos = {};
    if (!::SetFilePointerEx(m_hFile, zero, &pos, FILE_CURRENT))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
    return static_cast<ULONGLONG>(pos.QuadPart);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    CheckOpen();
    DWORD dwMethod = FILE_BEGIN;
    if (nFrom == current)
        dwMethod = FILE_CURRENT;
    else if (nFrom == end)
        dwMethod = FILE_END;
    else if (nFrom != begin)
        throw CFileException(CFileException::badSeek, ERROR_INVALID_PARAMETER, m_strFileName);
    LARGE_INTEGER off;
    off.QuadPart = lOff;
    LARGE_INTEGER pos = {};
    if (!::SetFilePointerEx(m_hFile, off, &pos, dwMethod))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
    return static_cast<ULONGLONG>(pos.QuadPart);
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    CheckOpen();
    const ULONGLONG nPos = GetPosition();
    Seek(static_cast<LONGLONG>(dwNewLen), begin);
    if (!::SetEndOfFile(m_hFile))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
    Seek(static_cast<LONGLONG>(nPos), begin);
}

ULONGLONG CFile::GetLength() const
{
    CheckOpen();
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(m_hFile, &size))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
    return static_cast<ULONGLONG>(size.QuadPart);
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    CheckOpen();
    if (nCount == 0)
        return 0;
    auto* p = static_cast<BYTE*>(lpBuf);
    UINT nDone = 0;
    while (nDone < nCount)
    {
        DWORD nGot = 0;
        if (!::ReadFile(m_hFile, p + nDone, nCount - nDone, &nGot, nullptr))
            CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
        if (nGot == 0)
            break;
        nDone += nGot;
    }
    return nDone;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    CheckOpen();
    const auto* p = static_cast<const BYTE*>(lpBuf);
    UINT nDone = 0;
    while (nDone < nCount)
    {
        DWORD nPut = 0;
        if (!::WriteFile(m_hFile, p + nDone, nCount - nDone, &nPut, nullptr))
            CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
        if (nPut == 0)
            throw CFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
        nDone += nPut;
    }
}

void CFile::Abort()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
}

void CFile::Flush()
{
    if (m_hFile == INVALID_HANDLE_VALUE)
        return;
    if (!::FlushFileBuffers(m_hFile))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
}

void CFile::Close()
{
    if (m_hFile == INVALID_HANDLE_VALUE)
        return;
    const BOOL bOk = ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
    if (!bOk)
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
}

#else

// ---------------------------------------------------------------------------------------------
// CFile on POSIX. Share modes become advisory locks: shareDenyWrite a shared lock, every mode
// that keeps others from reading or writing an exclusive one, shareDenyNone none.

static_assert(sizeof(off_t) == 8, "64-bit file offsets are required");

namespace
{

// The refusal of something that is not a regular file, as errno and cause.
void NonRegularError(mode_t mode, int& nErr, int& nCause)
{
    if (S_ISDIR(mode))
    {
        nErr = EISDIR;
        nCause = CFileException::accessDenied;
    }
    else
    {
        nErr = EINVAL;
        nCause = CFileException::invalidFile;
    }
}

} // namespace

BOOL CFile::Open(const CString& strFileName, UINT nOpenFlags, CFileException* pError)
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        Abort();
    m_strFileName = Path::GetFullPath(strFileName);
    auto fail = [&](int nCause, int nErr)
    {
        if (pError)
        {
            pError->m_cause = nCause;
            pError->m_lOsError = nErr;
            pError->m_strFileName = m_strFileName;
        }
        return FALSE;
    };
    auto failErrno = [&](int nErr) { return fail(CFileException::OsErrorToException(nErr), nErr); };

    if (m_strFileName.IsEmpty())
        return fail(CFileException::badPath, ENOENT);
    const std::string native = Path::ToNative(m_strFileName);
    if (native.find('\0') != std::string::npos)
        return fail(CFileException::badPath, EINVAL);

    int nFlags = O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    switch (nOpenFlags & 3)
    {
    case modeRead:
        nFlags |= O_RDONLY;
        break;
    case modeWrite:
        nFlags |= O_WRONLY;
        break;
    case modeReadWrite:
        nFlags |= O_RDWR;
        break;
    default:
        return fail(CFileException::genericException, EINVAL);
    }
    if (nOpenFlags & modeCreate)
        nFlags |= O_CREAT; // truncated only once locked, below

    int nLock = 0;
    switch (nOpenFlags & 0x70)
    {
    case shareCompat:
    case shareExclusive:
    case shareDenyRead:
        nLock = LOCK_EX;
        break;
    case shareDenyWrite:
        nLock = LOCK_SH;
        break;
    case shareDenyNone:
        nLock = 0;
        break;
    default:
        return fail(CFileException::genericException, EINVAL);
    }

    int nErr = 0;
    int nCause = 0;
    // A folder, FIFO or device is not even opened: opening some devices has effects.
    struct stat st = {};
    if (::stat(native.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
    {
        NonRegularError(st.st_mode, nErr, nCause);
        return fail(nCause, nErr);
    }

    int fd = -1;
    do
    {
        fd = ::open(native.c_str(), nFlags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return failErrno(errno);

    auto failClose = [&](int nCauseClose, int nErrClose)
    {
        ::close(fd);
        return fail(nCauseClose, nErrClose);
    };

    // Checked again on the descriptor: the name may have changed since.
    if (::fstat(fd, &st) != 0)
        return failClose(CFileException::OsErrorToException(errno), errno);
    if (!S_ISREG(st.st_mode))
    {
        NonRegularError(st.st_mode, nErr, nCause);
        return failClose(nCause, nErr);
    }

    if (nLock != 0)
    {
        int r = 0;
        do
        {
            r = ::flock(fd, nLock | LOCK_NB);
        } while (r != 0 && errno == EINTR);
        if (r != 0)
        {
            nErr = errno;
            // A file system without locks keeps the file usable, unprotected.
            if (nErr != ENOLCK && nErr != EOPNOTSUPP && nErr != ENOTSUP)
            {
                return failClose(nErr == EWOULDBLOCK ? CFileException::sharingViolation
                                                     : CFileException::OsErrorToException(nErr),
                                 nErr);
            }
        }
    }

    const int nFl = ::fcntl(fd, F_GETFL);
    if (nFl < 0 || ::fcntl(fd, F_SETFL, nFl & ~O_NONBLOCK) != 0)
        return failClose(CFileException::OsErrorToException(errno), errno);

    if ((nOpenFlags & modeCreate) && !(nOpenFlags & modeNoTruncate))
    {
        int r = 0;
        do
        {
            r = ::ftruncate(fd, 0);
        } while (r != 0 && errno == EINTR);
        if (r != 0)
            return failClose(CFileException::OsErrorToException(errno), errno);
    }

    m_hFile = fd;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

ULONGLONG CFile::GetPosition() const
{
    CheckOpen();
    const off_t pos = ::lseek(m_hFile, 0, SEEK_CUR);
    if (pos < 0)
        CFileException::ThrowOsError(errno, m_strFileName);
    return static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    CheckOpen();
    int nWhence = SEEK_SET;
    if (nFrom == current)
        nWhence = SEEK_CUR;
    else if (nFrom == end)
        nWhence = SEEK_END;
    else if (nFrom != begin)
        throw CFileException(CFileException::badSeek, EINVAL, m_strFileName);
    const off_t pos = ::lseek(m_hFile, static_cast<off_t>(lOff), nWhence);
    if (pos < 0)
    {
        const int nErr = errno;
        throw CFileException(nErr == EINVAL ? CFileException::badSeek
                                            : CFileException::OsErrorToException(nErr),
                             nErr, m_strFileName);
    }
    return static_cast<ULONGLONG>(pos);
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    CheckOpen();
    if (dwNewLen > static_cast<ULONGLONG>(INT64_MAX))
        throw CFileException(CFileException::badSeek, EFBIG, m_strFileName);
    int r = 0;
    do
    {
        r = ::ftruncate(m_hFile, static_cast<off_t>(dwNewLen));
    } while (r != 0 && errno == EINTR);
    if (r != 0)
        CFileException::ThrowOsError(errno, m_strFileName);
}

ULONGLONG CFile::GetLength() const
{
    CheckOpen();
    struct stat st = {};
    if (::fstat(m_hFile, &st) != 0)
        CFileException::ThrowOsError(errno, m_strFileName);
    return static_cast<ULONGLONG>(st.st_size);
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    CheckOpen();
    if (nCount == 0)
        return 0;
    auto* p = static_cast<BYTE*>(lpBuf);
    UINT nDone = 0;
    while (nDone < nCount)
    {
        const size_t nWant = std::min<size_t>(nCount - nDone, 1u << 30);
        const ssize_t r = ::read(m_hFile, p + nDone, nWant);
        if (r < 0)
        {
            if (errno == EINTR)
                continue;
            CFileException::ThrowOsError(errno, m_strFileName);
        }
        if (r == 0)
            break;
        nDone += static_cast<UINT>(r);
    }
    return nDone;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    CheckOpen();
    const auto* p = static_cast<const BYTE*>(lpBuf);
    UINT nDone = 0;
    while (nDone < nCount)
    {
        const size_t nWant = std::min<size_t>(nCount - nDone, 1u << 30);
        const ssize_t r = ::write(m_hFile, p + nDone, nWant);
        if (r < 0)
        {
            if (errno == EINTR)
                continue;
            CFileException::ThrowOsError(errno, m_strFileName);
        }
        if (r == 0)
            throw CFileException(CFileException::diskFull, ENOSPC, m_strFileName);
        nDone += static_cast<UINT>(r);
    }
}

void CFile::Abort()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        ::close(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
}

void CFile::Flush()
{
    if (m_hFile == INVALID_HANDLE_VALUE)
        return;
    if (::fsync(m_hFile) != 0)
        CFileException::ThrowOsError(errno, m_strFileName);
}

void CFile::Close()
{
    if (m_hFile == INVALID_HANDLE_VALUE)
        return;
    // The descriptor is released even when close reports an error; never retried.
    const int r = ::close(m_hFile);
    const int nErr = errno;
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
    if (r != 0 && nErr != EINTR)
        CFileException::ThrowOsError(nErr, m_strFileName);
}

#endif
