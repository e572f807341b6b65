#include "browser/FileMove.h"

#include "base/File.h"
#include "base/Path.h"
#include "browser/FileAssocData.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <atomic>
#include <string>

namespace
{

constexpr int MAX_ERROR_TEXT = 1024;

BOOL Fail(LONG lError, LONG* plOsError)
{
    if (plOsError)
        *plOsError = lError;
    return FALSE;
}

// A NUL would cut the name the system sees.
BOOL HasNul(const Path::NativePath& path)
{
    return path.find(static_cast<Path::NativePath::value_type>(0)) != Path::NativePath::npos;
}

// Longer than the platform's path buffer, terminator included.
BOOL IsTooLong(const Path::NativePath& path)
{
    return static_cast<int>(path.size()) + 1 > Path::GetMaxPath();
}

} // namespace

#ifdef _WIN32

BOOL MoveFileNoReplace(const CString& strOldPath, const CString& strNewPath, LONG* plOsError)
{
    const Path::NativePath oldPath = Path::ToNative(strOldPath);
    const Path::NativePath newPath = Path::ToNative(strNewPath);
    if (HasNul(oldPath) || HasNul(newPath))
        return Fail(ERROR_INVALID_NAME, plOsError);
    if (IsTooLong(oldPath) || IsTooLong(newPath))
        return Fail(ERROR_FILENAME_EXCED_RANGE, plOsError);
    // MoveFileW never replaces an existing file and changes the case of a name in place.
    if (!::MoveFileW(oldPath.c_str(), newPath.c_str()))
        return Fail(static_cast<LONG>(::GetLastError()), plOsError);
    if (strOldPath == strNewPath || strOldPath.CompareNoCase(strNewPath) != 0)
        return TRUE;
    // Some file systems (and emulations of Windows) take a change of case alone for a move
    // onto the same file and keep the old spelling: then the name goes through a free
    // temporary name in the same folder.
    const CString strWanted = Path::GetName(strNewPath);
    WIN32_FIND_DATAW data = {};
    const HANDLE hFind = ::FindFirstFileW(newPath.c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return TRUE;
    ::FindClose(hFind);
    if (Path::FromNative(data.cFileName) == strWanted)
        return TRUE;
    for (int nTry = 0; nTry < 100; ++nTry)
    {
        const Path::NativePath tempPath =
            Path::ToNative(strNewPath + FormatString(u".~tw%d", nTry));
        if (IsTooLong(tempPath))
            break;
        if (!::MoveFileW(newPath.c_str(), tempPath.c_str()))
            continue;
        if (::MoveFileW(tempPath.c_str(), newPath.c_str()))
            return TRUE;
        const LONG lError = static_cast<LONG>(::GetLastError());
        ::MoveFileW(tempPath.c_str(), oldPath.c_str());
        return Fail(lError, plOsError);
    }
    return Fail(ERROR_FILENAME_EXCED_RANGE, plOsError);
}

LONG GetInvalidNameError()
{
    return ERROR_INVALID_NAME;
}

#else

namespace
{

// The folder part of a native path ("." when there is none).
std::string FolderOf(const std::string& path)
{
    const size_t n = path.find_last_of('/');
    if (n == std::string::npos)
        return ".";
    if (n == 0)
        return "/";
    return path.substr(0, n);
}

std::string NameOf(const std::string& path)
{
    const size_t n = path.find_last_of('/');
    return n == std::string::npos ? path : path.substr(n + 1);
}

// The folder holds an entry spelled exactly so.
bool HasEntrySpelled(const std::string& folder, const std::string& name)
{
    DIR* pDir = ::opendir(folder.c_str());
    if (!pDir)
        return true; // cannot tell: assume it does, so nothing is replaced
    bool bFound = false;
    while (const dirent* pEntry = ::readdir(pDir))
    {
        if (name == pEntry->d_name)
        {
            bFound = true;
            break;
        }
    }
    ::closedir(pDir);
    return bFound;
}

// On a file system that ignores case, the new name may be only another spelling of the old
// file's own entry: the same file, and no entry of exactly that spelling.
bool IsOtherSpellingOfSelf(const std::string& oldPath, const std::string& newPath)
{
    if (NameOf(oldPath) == NameOf(newPath) || FolderOf(oldPath) != FolderOf(newPath))
        return false;
    struct stat stOld = {};
    struct stat stNew = {};
    if (::lstat(oldPath.c_str(), &stOld) != 0 || ::lstat(newPath.c_str(), &stNew) != 0)
        return false;
    if (stOld.st_dev != stNew.st_dev || stOld.st_ino != stNew.st_ino)
        return false;
    return !HasEntrySpelled(FolderOf(newPath), NameOf(newPath));
}

// One rename that never replaces: the kernel's no-replace rename, else a hard link and the
// removal of the old name, else (file systems without either) a plain rename after checking
// that the target is free. errno tells the failure.
bool RenameNoReplace(const std::string& oldPath, const std::string& newPath)
{
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, oldPath.c_str(), AT_FDCWD, newPath.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return false;
#endif
    if (::link(oldPath.c_str(), newPath.c_str()) == 0)
    {
        if (::unlink(oldPath.c_str()) == 0)
            return true;
        const int nError = errno;
        ::unlink(newPath.c_str());
        errno = nError;
        return false;
    }
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP && errno != EMLINK)
        return false;
    struct stat st = {};
    if (::lstat(newPath.c_str(), &st) == 0)
    {
        errno = EEXIST;
        return false;
    }
    if (errno != ENOENT)
        return false;
    return ::rename(oldPath.c_str(), newPath.c_str()) == 0;
}

// A change of case where the file system ignores case: through a free temporary name in the
// same folder, and back when the second step fails.
bool RenameThroughTemporary(const std::string& oldPath, const std::string& newPath)
{
    static std::atomic<unsigned> s_nSerial{0};
    const std::string folder = FolderOf(newPath);
    for (int nTry = 0; nTry < 100; ++nTry)
    {
        const std::string tempPath = folder + "/.tw-rename-" + std::to_string(::getpid()) + "-" +
                                     std::to_string(s_nSerial++);
        if (!RenameNoReplace(oldPath, tempPath))
        {
            if (errno == EEXIST)
                continue;
            return false;
        }
        if (RenameNoReplace(tempPath, newPath))
            return true;
        const int nError = errno;
        RenameNoReplace(tempPath, oldPath);
        errno = nError;
        return false;
    }
    errno = EEXIST;
    return false;
}

} // namespace

BOOL MoveFileNoReplace(const CString& strOldPath, const CString& strNewPath, LONG* plOsError)
{
    const std::string oldPath = Path::ToNative(strOldPath);
    const std::string newPath = Path::ToNative(strNewPath);
    if (HasNul(oldPath) || HasNul(newPath))
        return Fail(EINVAL, plOsError);
    if (IsTooLong(oldPath) || IsTooLong(newPath))
        return Fail(ENAMETOOLONG, plOsError);
    if (RenameNoReplace(oldPath, newPath))
        return TRUE;
    if (errno == EEXIST && IsOtherSpellingOfSelf(oldPath, newPath))
    {
        if (RenameThroughTemporary(oldPath, newPath))
            return TRUE;
    }
    return Fail(errno, plOsError);
}

LONG GetInvalidNameError()
{
    return EINVAL;
}

#endif

CString GetOsErrorText(LONG lOsError)
{
    CString strText = CFileException(CFileException::genericException, lOsError).GetErrorMessage();
    strText.TrimRight();
    if (strText.GetLength() > MAX_ERROR_TEXT)
        strText.Truncate(MAX_ERROR_TEXT);
    return strText;
}

BOOL IsPlainName(const CString& strName)
{
    if (strName.IsEmpty() || strName == u"." || strName == u"..")
        return FALSE;
    for (int i = 0; i < strName.GetLength(); ++i)
    {
        const char16_t ch = strName[i];
        if (ch == u'\0' || Path::IsSeparator(ch))
            return FALSE;
    }
    return TRUE;
}

BOOL RenameRecordFile(CFileAssocData& record, const CString& strNewName, LONG* plOsError)
{
    if (!IsPlainName(strNewName))
        return Fail(GetInvalidNameError(), plOsError);
    const CString strNewPath = record.m_strFolder + Path::chSeparator + strNewName;
    if (!MoveFileNoReplace(record.GetFullPath(), strNewPath, plOsError))
        return FALSE;
    if (!record.Load(strNewPath))
        record.m_bStale = TRUE;
    return TRUE;
}
