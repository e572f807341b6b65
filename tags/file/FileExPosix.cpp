// The rewrite of a file on POSIX systems: a temporary file beside it that takes its place by a
// rename.
#ifndef _WIN32

#include "tags/file/FileEx.h"

#include "base/Path.h"

#include <algorithm>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <string_view>
#include <vector>

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

namespace Tags
{

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

// Appends up to nCount bytes of fdFrom from nOffset (to its end when it is shorter) to fdTo,
// through the nBufferSize bytes at pBuffer; returns how many were copied.
ULONGLONG CopyRange(int fdFrom, ULONGLONG nOffset, ULONGLONG nCount, int fdTo, BYTE* pBuffer,
                    size_t nBufferSize, const CString& strPath)
{
    ULONGLONG nDone = 0;
    while (nDone < nCount)
    {
        const size_t nWant = static_cast<size_t>(std::min<ULONGLONG>(nCount - nDone, nBufferSize));
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

// Whether an entry of the folder is a temporary file of a rewrite of the name whose TempPrefix
// is prefix (taken once for the whole folder, which may hold many thousand entries).
bool IsTempNameOf(std::string_view entry, std::string_view prefix)
{
    const size_t nEnd = sizeof(szTempEnd) - 1;
    if (entry.size() != prefix.size() + nRandomDigits + nEnd || !entry.starts_with(prefix) ||
        !entry.ends_with(szTempEnd))
        return false;
    return std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(prefix.size()),
                       entry.end() - static_cast<std::ptrdiff_t>(nEnd),
                       [](char ch)
                       { return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f'); });
}

// The folder's entries that may be temporary files of rewrites: hidden, with the end those
// names have. Empty when the folder cannot be read.
std::vector<std::string> ListTempLikeNames(int fdFolder)
{
    std::vector<std::string> arrNames;
    const int fdList = ::dup(fdFolder);
    if (fdList < 0)
        return arrNames;
    DIR* pDir = ::fdopendir(fdList);
    if (!pDir)
    {
        ::close(fdList);
        return arrNames;
    }
    while (const struct dirent* pEntry = ::readdir(pDir))
    {
        const std::string_view name(pEntry->d_name);
        if (name.starts_with('.') && name.ends_with(szTempEnd))
            arrNames.emplace_back(name);
    }
    ::closedir(pDir);
    return arrNames;
}

// Removes the temporary files that rewrites of strName left when they were killed: a rewrite
// that runs holds a lock on its file, one that died holds none. Only the holder of the file's
// own exclusive lock gets here, so no other rewrite of the same file can be starting meanwhile.
// arrCandidates: the folder's temporary-looking entries (ListTempLikeNames). Failures change
// nothing and are ignored.
void RemoveStaleTempFiles(int fdFolder, const std::string& strName,
                          const std::vector<std::string>& arrCandidates)
{
    if (strName.empty())
        return;
    const std::string strPrefix = TempPrefix(strName);
    std::vector<std::string> arrStale;
    for (const std::string& strCandidate : arrCandidates)
    {
        if (IsTempNameOf(strCandidate, strPrefix))
            arrStale.push_back(strCandidate);
    }
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

} // namespace

// The descriptors and names of one rewrite: the temporary file is removed unless it was
// committed.
struct CFileEx::tagWAITING
{
    int fdFolder = -1;
    // The new file while it is written; once the rewrite waits, the original (the object works
    // on the new file then).
    int fdTemp = -1;
    std::string strTempName;
    bool bCommitted = false;
    bool bSynced = false; // flushed; nSyncError tells how that went
    int nSyncError = 0;
    std::string strName; // the original's name in the folder
    std::string strFolder;
    struct stat stOriginal = {};
    ULONGLONG nNewPosition = 0;

    ~tagWAITING()
    {
        if (fdTemp >= 0)
            ::close(fdTemp);
        if (!bCommitted && !strTempName.empty() && fdFolder >= 0)
            ::unlinkat(fdFolder, strTempName.c_str(), 0);
        if (fdFolder >= 0)
            ::close(fdFolder);
    }

    // The name must still lead to the file we hold, or we would replace another one.
    void CheckSameFile(const CString& strPath) const
    {
        struct stat stNow = {};
        if (::fstatat(fdFolder, strName.c_str(), &stNow, AT_SYMLINK_NOFOLLOW) != 0)
            ThrowErrno(errno, strPath);
        if (!SameFile(stNow, stOriginal))
            ThrowErrno(ESTALE, strPath);
    }
};

CFileEx::CFileEx() = default;

CFileEx::~CFileEx()
{
    if (m_pWaiting && m_pBatch)
        m_pBatch->Remove(this);
}

void CFileEx::SyncFolder(const CString& strFolder)
{
    const int fd = ::open(Path::ToNative(strFolder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)::fsync(fd);
    ::close(fd);
}

void CFileEx::StartFlushWaiting()
{
#ifdef __linux__
    if (m_pWaiting)
        (void)::sync_file_range(m_hFile, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

void CFileEx::SyncWaiting()
{
    if (!m_pWaiting || m_pWaiting->bSynced)
        return;
    m_pWaiting->nSyncError = ::fsync(m_hFile) == 0 ? 0 : errno;
    m_pWaiting->bSynced = true;
}

void CFileEx::CommitWaiting()
{
    std::unique_ptr<tagWAITING> pState = std::move(m_pWaiting);
    if (!pState)
        return;
    if (m_pBatch)
        m_pBatch->Remove(this);
    try
    {
        if (!pState->bSynced && ::fsync(m_hFile) != 0)
            ThrowErrno(errno, m_strFileName);
        if (pState->nSyncError != 0)
            ThrowErrno(pState->nSyncError, m_strFileName);
        pState->CheckSameFile(m_strFileName);
        if (::renameat(pState->fdFolder, pState->strTempName.c_str(), pState->fdFolder,
                       pState->strName.c_str()) != 0)
            ThrowErrno(errno, m_strFileName);
    }
    catch (const CFileException&)
    {
        // Back to the original, which nothing has touched; the new file goes.
        std::swap(m_hFile, pState->fdTemp);
        throw;
    }
    pState->bCommitted = true;
    // The new file is in place; making the rename itself durable is all that is left, and its
    // failure changes nothing that could be undone.
    if (m_pBatch)
        m_pBatch->AddFolder(Path::FromNative(pState->strFolder));
    else
        (void)::fsync(pState->fdFolder);
}

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

tagFILESTAMP CFileEx::GetFileStamp() const
{
    CheckOpen();
    struct stat st = {};
    if (::fstat(m_hFile, &st) != 0)
        ThrowErrno(errno, m_strFileName);
    tagFILESTAMP stamp;
    stamp.nVolume = static_cast<ULONGLONG>(st.st_dev);
    stamp.nIndex = static_cast<ULONGLONG>(st.st_ino);
    stamp.nLength = static_cast<ULONGLONG>(st.st_size);
    stamp.nWriteTime = static_cast<ULONGLONG>(st.st_mtim.tv_sec) * 1000000000ULL +
                       static_cast<ULONGLONG>(st.st_mtim.tv_nsec);
    return stamp;
}

void CFileEx::Rewrite(const tagREWRITE& plan)
{
    // A rewrite that waits holds what the file is to be: this one starts from it.
    CommitWaiting();
    struct stat stOriginal = {};
    if (::fstat(m_hFile, &stOriginal) != 0)
        ThrowErrno(errno, m_strFileName);

    const ULONGLONG nOldLength = static_cast<ULONGLONG>(stOriginal.st_size);
    const ULONGLONG nTailTo = std::min(plan.nTailTo, nOldLength);
    const ULONGLONG nTailLength = nTailTo > plan.nTailFrom ? nTailTo - plan.nTailFrom : 0;

    // No larger than the longer of the two copied ranges, and not cleared: every byte copied is
    // read into it first. A small file's rewrite then neither clears nor maps a whole block.
    const size_t nBufferSize = static_cast<size_t>(std::clamp<ULONGLONG>(
        std::max(std::min(plan.nKeepLength, nOldLength), nTailLength), 1, nBlockSize));
    std::unique_ptr<BYTE[]> pBuffer;
    try
    {
        pBuffer = std::make_unique_for_overwrite<BYTE[]>(nBufferSize);
    }
    catch (const std::bad_alloc&)
    {
        throw CFileException(CFileException::genericException, ENOMEM, m_strFileName);
    }

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

    auto pState = std::make_unique<tagWAITING>();
    tagWAITING& state = *pState;
    state.strName = strName;
    state.strFolder = strFolder;
    state.stOriginal = stOriginal;
    state.nNewPosition = plan.nNewPosition;
    state.fdFolder = ::open(strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (state.fdFolder < 0)
        ThrowErrno(errno, m_strFileName);
    state.CheckSameFile(m_strFileName);
    if (m_pBatch)
    {
        auto it = m_pBatch->m_tempNames.find(strFolder);
        if (it == m_pBatch->m_tempNames.end())
            it = m_pBatch->m_tempNames.emplace(strFolder, ListTempLikeNames(state.fdFolder)).first;
        RemoveStaleTempFiles(state.fdFolder, strName, it->second);
    }
    else
    {
        RemoveStaleTempFiles(state.fdFolder, strName, ListTempLikeNames(state.fdFolder));
    }

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

    const ULONGLONG nNewLength =
        plan.nHeadLength + plan.nKeepLength + nTailLength + plan.nEndLength;

    // Reserving the space first finds a full disk before any copying.
    if (nNewLength > 0 && ::fallocate(state.fdTemp, 0, 0, static_cast<off_t>(nNewLength)) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS && errno != EINVAL)
        ThrowErrno(errno, m_strFileName);

    WriteAll(state.fdTemp, plan.pHead, plan.nHeadLength, m_strFileName);
    ULONGLONG nCopied = CopyRange(m_hFile, 0, plan.nKeepLength, state.fdTemp, pBuffer.get(),
                                  nBufferSize, m_strFileName);
    nCopied += CopyRange(m_hFile, plan.nTailFrom, nTailLength, state.fdTemp, pBuffer.get(),
                         nBufferSize, m_strFileName);
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

    // Work on the new file from now on: its descriptor already holds the lock, so there is no
    // moment without one. The original stays open, and locked, until the commit.
    std::swap(m_hFile, state.fdTemp);
    Seek(static_cast<LONGLONG>(plan.nNewPosition), begin);
    m_pWaiting = std::move(pState);
    if (m_pBatch)
        m_pBatch->Add(this);
    else
        CommitWaiting();
}

} // namespace Tags

#endif
