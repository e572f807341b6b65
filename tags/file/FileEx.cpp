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

#ifdef _WIN32

namespace
{

// Copy block: large enough for speed, small enough that memory stays flat for any file.
constexpr DWORD nBlockSize = 256 * 1024;

[[noreturn]] void ThrowWin32(DWORD dwError, const CString& strPath)
{
    CFileException::ThrowOsError(static_cast<LONG>(dwError), strPath);
}

void WriteAll(HANDLE hFile, const BYTE* p, ULONGLONG n, const CString& strPath)
{
    while (n > 0)
    {
        DWORD nPut = 0;
        const DWORD nWant = static_cast<DWORD>(std::min<ULONGLONG>(n, 1u << 30));
        if (!::WriteFile(hFile, p, nWant, &nPut, nullptr))
            ThrowWin32(::GetLastError(), strPath);
        if (nPut == 0)
            ThrowWin32(ERROR_DISK_FULL, strPath);
        p += nPut;
        n -= nPut;
    }
}

// Temporary names: ".<name>.tw<12 hex digits>.tmp" beside the file, ".tw<12 hex digits>.tmp"
// where the full path would not fit the system's limit.
constexpr size_t nRandomDigits = 12;
constexpr wchar_t szTempEnd[] = L".tmp";

std::wstring TempPrefix(const std::wstring& strName)
{
    return strName.empty() ? std::wstring(L".tw") : L"." + strName + L".tw";
}

std::wstring TempName(const std::wstring& strName, std::mt19937_64& rng)
{
    static constexpr wchar_t szHex[] = L"0123456789abcdef";
    std::wstring strTemp = TempPrefix(strName);
    ULONGLONG n = rng();
    for (size_t i = 0; i < nRandomDigits; ++i, n >>= 4)
        strTemp += szHex[n & 15];
    return strTemp + szTempEnd;
}

bool IsTempNameOf(const std::wstring& strEntry, const std::wstring& strName)
{
    const std::wstring strPrefix = TempPrefix(strName);
    const size_t nEnd = std::size(szTempEnd) - 1;
    if (strEntry.size() != strPrefix.size() + nRandomDigits + nEnd ||
        strEntry.compare(0, strPrefix.size(), strPrefix) != 0 ||
        strEntry.compare(strEntry.size() - nEnd, nEnd, szTempEnd) != 0)
        return false;
    return std::all_of(strEntry.begin() + static_cast<std::ptrdiff_t>(strPrefix.size()),
                       strEntry.end() - static_cast<std::ptrdiff_t>(nEnd),
                       [](wchar_t ch)
                       { return (ch >= L'0' && ch <= L'9') || (ch >= L'a' && ch <= L'f'); });
}

// Removes the temporary files that killed rewrites of strName left. A rewrite that runs holds
// its temporary file without sharing, so its deletion fails; failures change nothing.
void RemoveStaleTempFiles(const std::wstring& strFolder, const std::wstring& strName)
{
    std::vector<std::wstring> arrStale;
    WIN32_FIND_DATAW data = {};
    const HANDLE hFind = ::FindFirstFileW(
        (strFolder + L"\\" + TempPrefix(strName) + L"*" + szTempEnd).c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do
    {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            IsTempNameOf(data.cFileName, strName))
            arrStale.emplace_back(data.cFileName);
    } while (::FindNextFileW(hFind, &data));
    ::FindClose(hFind);
    for (const std::wstring& strStale : arrStale)
        ::DeleteFileW((strFolder + L"\\" + strStale).c_str());
}

// The temporary file of one rewrite: removed unless it took the original's place.
struct CRewriteState
{
    HANDLE hTemp = INVALID_HANDLE_VALUE;
    std::wstring strTemp;
    bool bCommitted = false;

    ~CRewriteState()
    {
        if (hTemp != INVALID_HANDLE_VALUE)
            ::CloseHandle(hTemp);
        if (!bCommitted && !strTemp.empty())
            ::DeleteFileW(strTemp.c_str());
    }
};

} // namespace

void CFileEx::CheckPathLeadsHere() const
{
    // The file is held without sharing delete: its name cannot change while it is open.
    CheckOpen();
}

void CFileEx::Rewrite(const tagREWRITE& plan)
{
    std::unique_ptr<BYTE[]> pBuffer(new (std::nothrow) BYTE[nBlockSize]);
    if (!pBuffer)
        ThrowWin32(ERROR_NOT_ENOUGH_MEMORY, m_strFileName);

    const std::wstring strPath = Path::ToNative(m_strFileName);
    const size_t nSlash = strPath.find_last_of(L"\\/");
    if (nSlash == std::wstring::npos || nSlash + 1 >= strPath.size())
        ThrowWin32(ERROR_INVALID_NAME, m_strFileName);
    const std::wstring strFolder = strPath.substr(0, nSlash);
    const std::wstring strName = strPath.substr(nSlash + 1);
    RemoveStaleTempFiles(strFolder, strName);

    const ULONGLONG nOldLength = GetLength();
    const ULONGLONG nTailTo = std::min(plan.nTailTo, nOldLength);
    const ULONGLONG nTailLength = nTailTo > plan.nTailFrom ? nTailTo - plan.nTailFrom : 0;
    const ULONGLONG nNewLength =
        plan.nHeadLength + plan.nKeepLength + nTailLength + plan.nEndLength;

    // The new file beside the original, held without sharing like the original.
    std::random_device random;
    std::mt19937_64 rng((static_cast<ULONGLONG>(random()) << 32) ^ random() ^ ::GetTickCount64() ^
                        (static_cast<ULONGLONG>(::GetCurrentProcessId()) << 40));
    auto tempPath = [&](bool bShort)
    { return strFolder + L"\\" + TempName(bShort ? std::wstring() : strName, rng); };
    CRewriteState state;
    bool bShortName = false;
    for (int nTry = 0; nTry < 100 && state.hTemp == INVALID_HANDLE_VALUE; ++nTry)
    {
        std::wstring strTemp = tempPath(bShortName);
        if (!bShortName && strTemp.size() >= MAX_PATH)
        {
            bShortName = true;
            strTemp = tempPath(true);
        }
        const HANDLE h = ::CreateFileW(strTemp.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE)
        {
            state.hTemp = h;
            state.strTemp = strTemp;
            break;
        }
        const DWORD dwError = ::GetLastError();
        if (dwError == ERROR_FILENAME_EXCED_RANGE && !bShortName)
            bShortName = true;
        else if (dwError != ERROR_FILE_EXISTS && dwError != ERROR_ALREADY_EXISTS)
            ThrowWin32(dwError, m_strFileName);
    }
    if (state.hTemp == INVALID_HANDLE_VALUE)
        ThrowWin32(ERROR_FILE_EXISTS, m_strFileName);

    // Reserving the space first finds a full disk before any copying.
    LARGE_INTEGER nAt;
    nAt.QuadPart = static_cast<LONGLONG>(nNewLength);
    if (!::SetFilePointerEx(state.hTemp, nAt, nullptr, FILE_BEGIN) || !::SetEndOfFile(state.hTemp))
        ThrowWin32(::GetLastError(), m_strFileName);
    nAt.QuadPart = 0;
    if (!::SetFilePointerEx(state.hTemp, nAt, nullptr, FILE_BEGIN))
        ThrowWin32(::GetLastError(), m_strFileName);

    WriteAll(state.hTemp, plan.pHead, plan.nHeadLength, m_strFileName);
    auto copyRange = [&](ULONGLONG nFrom, ULONGLONG nCount)
    {
        Seek(static_cast<LONGLONG>(nFrom), begin);
        ULONGLONG nDone = 0;
        while (nDone < nCount)
        {
            const UINT nGot = Read(
                pBuffer.get(), static_cast<UINT>(std::min<ULONGLONG>(nCount - nDone, nBlockSize)));
            if (nGot == 0)
                break;
            WriteAll(state.hTemp, pBuffer.get(), nGot, m_strFileName);
            nDone += nGot;
        }
        return nDone;
    };
    const ULONGLONG nCopied =
        copyRange(0, plan.nKeepLength) + copyRange(plan.nTailFrom, nTailLength);
    if (nCopied != plan.nKeepLength + nTailLength)
        ThrowWin32(ERROR_HANDLE_EOF, m_strFileName);
    WriteAll(state.hTemp, plan.pEnd, plan.nEndLength, m_strFileName);
    if (!::FlushFileBuffers(state.hTemp))
        ThrowWin32(::GetLastError(), m_strFileName);
    ::CloseHandle(state.hTemp);
    state.hTemp = INVALID_HANDLE_VALUE;

    // The replace needs the original closed: nobody else could have opened it so far, and only
    // for the moment of the replace can anybody now. ReplaceFileW keeps the original's
    // attributes, security and creation time; the backup name keeps the original reachable when
    // the replace stops halfway.
    const std::wstring strBackup = tempPath(bShortName);
    // What the new file must keep of the old one where the replace itself does not carry it (a
    // rename, or systems whose replace only renames).
    BY_HANDLE_FILE_INFORMATION original = {};
    const BOOL bKnown = ::GetFileInformationByHandle(m_hFile, &original);
    ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    BOOL bReplaced = ::ReplaceFileW(strPath.c_str(), state.strTemp.c_str(), strBackup.c_str(),
                                    REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    DWORD dwError = bReplaced ? ERROR_SUCCESS : ::GetLastError();
    if (!bReplaced && (dwError == ERROR_NOT_SUPPORTED || dwError == ERROR_INVALID_FUNCTION ||
                       dwError == ERROR_INVALID_PARAMETER))
    {
        // File systems without the replace still rename atomically over a file.
        bReplaced = ::MoveFileExW(state.strTemp.c_str(), strPath.c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        dwError = bReplaced ? ERROR_SUCCESS : ::GetLastError();
    }
    if (!bReplaced && dwError == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
    {
        // The original went to the backup name and the new file did not take its place.
        ::MoveFileExW(strBackup.c_str(), strPath.c_str(), 0);
    }
    if (bReplaced)
    {
        state.bCommitted = true;
        ::DeleteFileW(strBackup.c_str());
    }

    // Hold the file again, the new one or the unchanged original.
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, FALSE};
    const HANDLE hFile = ::CreateFileW(strPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, &sa,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        ThrowWin32(::GetLastError(), m_strFileName);
    m_hFile = hFile;
    if (!bReplaced)
        ThrowWin32(dwError, m_strFileName);
    if (bKnown)
    {
        // The content is in place; a file system that keeps no such detail changes nothing.
        ::SetFileTime(m_hFile, &original.ftCreationTime, nullptr, nullptr);
        ::SetFileAttributesW(strPath.c_str(), original.dwFileAttributes &
                                                  (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                   FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                                   FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
    }
    Seek(static_cast<LONGLONG>(plan.nNewPosition), begin);
}

#else

namespace
{

// Copy block: large enough for speed, small enough that memory stays flat for any file.
constexpr size_t nBlockSize = 256 * 1024;

[[noreturn]] void ThrowErrno(int nErr, const CString& strPath)
{
    CFileException::ThrowOsError(nErr, strPath);
}

void WriteAll(int fd, const BYTE* p, size_t n, const CString& strPath)
{
    while (n > 0)
    {
        const ssize_t r = ::write(fd, p, std::min<size_t>(n, 1u << 30));
        if (r < 0)
        {
            if (errno == EINTR)
                continue;
            ThrowErrno(errno, strPath);
        }
        if (r == 0)
            ThrowErrno(ENOSPC, strPath);
        p += r;
        n -= static_cast<size_t>(r);
    }
}

// Appends up to nCount bytes of fdFrom from nOffset (to its end when it is shorter) to fdTo;
// returns how many were copied.
ULONGLONG CopyRange(int fdFrom, ULONGLONG nOffset, ULONGLONG nCount, int fdTo, BYTE* pBuffer,
                    const CString& strPath)
{
    ULONGLONG nDone = 0;
    while (nDone < nCount)
    {
        const size_t nWant = static_cast<size_t>(std::min<ULONGLONG>(nCount - nDone, nBlockSize));
        const ssize_t r = ::pread(fdFrom, pBuffer, nWant, static_cast<off_t>(nOffset + nDone));
        if (r < 0)
        {
            if (errno == EINTR)
                continue;
            ThrowErrno(errno, strPath);
        }
        if (r == 0)
            break;
        WriteAll(fdTo, pBuffer, static_cast<size_t>(r), strPath);
        nDone += static_cast<ULONGLONG>(r);
    }
    return nDone;
}

// Extended attributes (ACLs among them) go with the content; those the system does not let us
// set are left behind.
void CopyExtendedAttributes(int fdFrom, int fdTo)
{
    const ssize_t nList = ::flistxattr(fdFrom, nullptr, 0);
    if (nList <= 0)
        return;
    std::string names(static_cast<size_t>(nList), '\0');
    const ssize_t nGot = ::flistxattr(fdFrom, names.data(), names.size());
    if (nGot <= 0)
        return;
    names.resize(static_cast<size_t>(nGot));
    std::string value;
    for (size_t i = 0; i < names.size();)
    {
        const char* pszName = names.c_str() + i;
        i += std::char_traits<char>::length(pszName) + 1;
        const ssize_t nSize = ::fgetxattr(fdFrom, pszName, nullptr, 0);
        if (nSize < 0)
            continue;
        value.assign(static_cast<size_t>(nSize), '\0');
        const ssize_t nValue = ::fgetxattr(fdFrom, pszName, value.data(), value.size());
        if (nValue < 0)
            continue;
        (void)::fsetxattr(fdTo, pszName, value.data(), static_cast<size_t>(nValue), 0);
    }
}

// Temporary names: ".<name>.tw<12 hex digits>.tmp", the name cut (at a character boundary) so
// the whole fits NAME_MAX; ".tw<12 hex digits>.tmp" without a name.
constexpr size_t nRandomDigits = 12;
constexpr char szTempEnd[] = ".tmp";

// The part before the random digits.
std::string TempPrefix(const std::string& strName)
{
    if (strName.empty())
        return ".tw";
    const size_t nRoom = NAME_MAX - 1 - (3 + nRandomDigits + sizeof(szTempEnd) - 1);
    size_t nKeep = std::min(strName.size(), nRoom);
    while (nKeep > 0 && nKeep < strName.size() &&
           (static_cast<unsigned char>(strName[nKeep]) & 0xC0) == 0x80)
        --nKeep;
    return "." + strName.substr(0, nKeep) + ".tw";
}

std::string TempName(const std::string& strName, std::mt19937_64& rng)
{
    static constexpr char szHex[] = "0123456789abcdef";
    std::string strTemp = TempPrefix(strName);
    ULONGLONG n = rng();
    for (size_t i = 0; i < nRandomDigits; ++i, n >>= 4)
        strTemp += szHex[n & 15];
    return strTemp + szTempEnd;
}

// Whether an entry of the folder is a temporary file of a rewrite of strName.
bool IsTempNameOf(const std::string& strEntry, const std::string& strName)
{
    const std::string strPrefix = TempPrefix(strName);
    const size_t nEnd = sizeof(szTempEnd) - 1;
    if (strEntry.size() != strPrefix.size() + nRandomDigits + nEnd ||
        strEntry.compare(0, strPrefix.size(), strPrefix) != 0 ||
        strEntry.compare(strEntry.size() - nEnd, nEnd, szTempEnd) != 0)
        return false;
    return std::all_of(strEntry.begin() + static_cast<std::ptrdiff_t>(strPrefix.size()),
                       strEntry.end() - static_cast<std::ptrdiff_t>(nEnd),
                       [](char ch)
                       { return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f'); });
}

// Removes the temporary files that rewrites of strName left when they were killed: a rewrite
// that runs holds a lock on its file, one that died holds none. Only the holder of the file's
// own exclusive lock gets here, so no other rewrite of the same file can be starting meanwhile.
// Failures change nothing and are ignored.
void RemoveStaleTempFiles(int fdFolder, const std::string& strName)
{
    if (strName.empty())
        return;
    const int fdList = ::dup(fdFolder);
    if (fdList < 0)
        return;
    DIR* pDir = ::fdopendir(fdList);
    if (!pDir)
    {
        ::close(fdList);
        return;
    }
    std::vector<std::string> arrStale;
    while (const struct dirent* pEntry = ::readdir(pDir))
    {
        if (IsTempNameOf(pEntry->d_name, strName))
            arrStale.emplace_back(pEntry->d_name);
    }
    ::closedir(pDir);
    for (const std::string& strStale : arrStale)
    {
        const int fd = ::openat(fdFolder, strStale.c_str(),
                                O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            continue;
        struct stat st = {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(fdFolder, strStale.c_str(), 0);
        ::close(fd);
    }
}

// A seed from the kernel, which needs no descriptor (the table may be full); else from the clock.
ULONGLONG RandomSeed()
{
    ULONGLONG nSeed = 0;
    if (::getrandom(&nSeed, sizeof(nSeed), GRND_NONBLOCK) == static_cast<ssize_t>(sizeof(nSeed)))
        return nSeed;
    struct timespec ts = {};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return (static_cast<ULONGLONG>(ts.tv_sec) << 30) ^ static_cast<ULONGLONG>(ts.tv_nsec) ^
           (static_cast<ULONGLONG>(::getpid()) << 48);
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The descriptors of one rewrite: the temporary file is removed unless it was committed.
struct CRewriteState
{
    int fdFolder = -1;
    int fdTemp = -1;
    std::string strTempName;
    bool bCommitted = false;

    ~CRewriteState()
    {
        if (fdTemp >= 0)
            ::close(fdTemp);
        if (!bCommitted && !strTempName.empty() && fdFolder >= 0)
            ::unlinkat(fdFolder, strTempName.c_str(), 0);
        if (fdFolder >= 0)
            ::close(fdFolder);
    }
};

} // namespace

void CFileEx::CheckPathLeadsHere() const
{
    CheckOpen();
    struct stat stHeld = {};
    if (::fstat(m_hFile, &stHeld) != 0)
        ThrowErrno(errno, m_strFileName);
    struct stat stNamed = {};
    if (::stat(Path::ToNative(m_strFileName).c_str(), &stNamed) != 0)
        ThrowErrno(errno == ENOTDIR ? ENOENT : errno, m_strFileName);
    if (!SameFile(stNamed, stHeld))
        ThrowErrno(ESTALE, m_strFileName);
}

void CFileEx::Rewrite(const tagREWRITE& plan)
{
    std::unique_ptr<BYTE[]> pBuffer;
    try
    {
        pBuffer = std::make_unique<BYTE[]>(nBlockSize);
    }
    catch (const std::bad_alloc&)
    {
        throw CFileException(CFileException::genericException, ENOMEM, m_strFileName);
    }

    struct stat stOriginal = {};
    if (::fstat(m_hFile, &stOriginal) != 0)
        ThrowErrno(errno, m_strFileName);

    // The file itself: through a symbolic link the link stays and its target is replaced.
    const std::string strNative = Path::ToNative(m_strFileName);
    char* pszReal = ::realpath(strNative.c_str(), nullptr);
    if (!pszReal)
        ThrowErrno(errno, m_strFileName);
    const std::string strReal(pszReal);
    std::free(pszReal);
    const size_t nSlash = strReal.rfind('/');
    if (nSlash == std::string::npos || nSlash + 1 >= strReal.size())
        ThrowErrno(EINVAL, m_strFileName);
    const std::string strFolder = nSlash == 0 ? std::string("/") : strReal.substr(0, nSlash);
    const std::string strName = strReal.substr(nSlash + 1);

    CRewriteState state;
    state.fdFolder = ::open(strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (state.fdFolder < 0)
        ThrowErrno(errno, m_strFileName);

    // The name must still lead to the file we hold, or we would replace another one.
    auto checkSameFile = [&]()
    {
        struct stat stNow = {};
        if (::fstatat(state.fdFolder, strName.c_str(), &stNow, AT_SYMLINK_NOFOLLOW) != 0)
            ThrowErrno(errno, m_strFileName);
        if (!SameFile(stNow, stOriginal))
            ThrowErrno(ESTALE, m_strFileName);
    };
    checkSameFile();
    RemoveStaleTempFiles(state.fdFolder, strName);

    std::mt19937_64 rng(RandomSeed());
    bool bShortName = false; // for file systems that allow shorter names than usual
    for (int nTry = 0; nTry < 100 && state.fdTemp < 0; ++nTry)
    {
        const std::string strTemp = TempName(bShortName ? std::string() : strName, rng);
        const int fd = ::openat(state.fdFolder, strTemp.c_str(),
                                O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
        if (fd >= 0)
        {
            state.fdTemp = fd;
            state.strTempName = strTemp;
        }
        else if (errno == ENAMETOOLONG && !bShortName)
            bShortName = true;
        else if (errno != EEXIST)
            ThrowErrno(errno, m_strFileName);
    }
    if (state.fdTemp < 0)
        ThrowErrno(EEXIST, m_strFileName);

    // The new file is ours alone before it has a name others look for.
    if (::flock(state.fdTemp, LOCK_EX | LOCK_NB) != 0 && errno != ENOLCK && errno != EOPNOTSUPP &&
        errno != ENOTSUP)
        ThrowErrno(errno, m_strFileName);

    const ULONGLONG nOldLength = static_cast<ULONGLONG>(stOriginal.st_size);
    const ULONGLONG nTailTo = std::min(plan.nTailTo, nOldLength);
    const ULONGLONG nTailLength = nTailTo > plan.nTailFrom ? nTailTo - plan.nTailFrom : 0;
    const ULONGLONG nNewLength =
        plan.nHeadLength + plan.nKeepLength + nTailLength + plan.nEndLength;

    // Reserving the space first finds a full disk before any copying.
    if (nNewLength > 0 && ::fallocate(state.fdTemp, 0, 0, static_cast<off_t>(nNewLength)) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS && errno != EINVAL)
        ThrowErrno(errno, m_strFileName);

    WriteAll(state.fdTemp, plan.pHead, plan.nHeadLength, m_strFileName);
    ULONGLONG nCopied =
        CopyRange(m_hFile, 0, plan.nKeepLength, state.fdTemp, pBuffer.get(), m_strFileName);
    nCopied +=
        CopyRange(m_hFile, plan.nTailFrom, nTailLength, state.fdTemp, pBuffer.get(), m_strFileName);
    // Another program that ignores locks changed the length meanwhile: no guessing.
    if (nCopied != plan.nKeepLength + nTailLength || GetLength() != nOldLength)
        ThrowErrno(ESTALE, m_strFileName);
    WriteAll(state.fdTemp, plan.pEnd, plan.nEndLength, m_strFileName);

    CopyExtendedAttributes(m_hFile, state.fdTemp);
    // Owner first: changing it clears the set-id bits that the mode then restores.
    if (::fchown(state.fdTemp, stOriginal.st_uid, stOriginal.st_gid) != 0)
        (void)::fchown(state.fdTemp, static_cast<uid_t>(-1), stOriginal.st_gid);
    if (::fchmod(state.fdTemp, stOriginal.st_mode & 07777) != 0)
        ThrowErrno(errno, m_strFileName);

    if (::fsync(state.fdTemp) != 0)
        ThrowErrno(errno, m_strFileName);

    checkSameFile();
    if (::renameat(state.fdFolder, state.strTempName.c_str(), state.fdFolder, strName.c_str()) != 0)
        ThrowErrno(errno, m_strFileName);
    state.bCommitted = true;
    // The new file is in place; making the rename itself durable is all that is left, and its
    // failure changes nothing that could be undone.
    (void)::fsync(state.fdFolder);

    // Work on the new file: its descriptor already holds the lock, so there is no moment
    // without one.
    const int fdOld = m_hFile;
    m_hFile = state.fdTemp;
    state.fdTemp = -1;
    ::close(fdOld);
    Seek(static_cast<LONGLONG>(plan.nNewPosition), begin);
}

#endif

} // namespace Tags
