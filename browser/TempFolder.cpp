#include "browser/TempFolder.h"

#include "base/Path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef _WIN32

BOOL OpenPrivateFolder(const CString& strPath)
{
    const DWORD dwAttributes = ::GetFileAttributesW(Path::ToNative(strPath).c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        return ::CreateDirectoryW(Path::ToNative(strPath).c_str(), nullptr) ? TRUE : FALSE;
    return (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

BOOL GetTempFolder(CString& strFolder)
{
    strFolder.Empty();
    wchar_t szPath[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, szPath);
    if (n == 0 || n > MAX_PATH)
        return FALSE;
    strFolder = Path::FromNative(std::wstring_view(szPath, n));
    if (strFolder.IsEmpty() || !Path::IsSeparator(strFolder[strFolder.GetLength() - 1]))
        strFolder += Path::chSeparator;
    return TRUE;
}

#else

BOOL OpenPrivateFolder(const CString& strPath)
{
    if (strPath.IsEmpty())
        return FALSE;
    const std::string native = Path::ToNative(strPath);
    if (::mkdir(native.c_str(), 0700) != 0 && errno != EEXIST)
        return FALSE;
    // O_NOFOLLOW refuses a symbolic link put in the folder's place; the checks then run on the
    // opened folder itself, so nothing can be swapped in between.
    const int fd = ::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return FALSE;
    struct stat st = {};
    BOOL bResult = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
    if (bResult && (st.st_mode & 07777) != 0700)
        bResult = ::fchmod(fd, 0700) == 0;
    ::close(fd);
    return bResult;
}

namespace
{

// The user's runtime folder when it is set, absolute, a real folder and the user's own.
bool GetRuntimeFolder(CString& strFolder)
{
    const char* pszRuntime = std::getenv("XDG_RUNTIME_DIR");
    if (!pszRuntime || pszRuntime[0] != '/')
        return false;
    struct stat st = {};
    if (::lstat(pszRuntime, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return false;
    strFolder = Path::FromNative(pszRuntime);
    while (strFolder.GetLength() > 1 && strFolder[strFolder.GetLength() - 1] == u'/')
        strFolder.Truncate(strFolder.GetLength() - 1);
    return true;
}

} // namespace

BOOL GetTempFolder(CString& strFolder)
{
    strFolder.Empty();
    CString strPath;
    if (GetRuntimeFolder(strPath))
    {
        if (strPath != u"/")
            strPath += u'/';
        strPath += u"tagwright";
    }
    else
    {
        strPath.Format(u"/tmp/tagwright-%u", static_cast<unsigned>(::geteuid()));
    }
    if (!OpenPrivateFolder(strPath))
        return FALSE;
    strFolder = strPath + u'/';
    return TRUE;
}

#endif
