#include "base/FileException.h"

#include <algorithm>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#endif

CFileException::CFileException(int cause, LONG lOsError, const CString& strFileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(strFileName)
{
}

void CFileException::ThrowOsError(LONG lOsError, const CString& strFileName)
{
    throw CFileException(OsErrorToException(lOsError), lOsError, strFileName);
}

namespace
{

const char16_t* CauseText(int cause)
{
    switch (cause)
    {
    case CFileException::none:
        return u"No error occurred.";
    case CFileException::fileNotFound:
        return u"The file could not be found.";
    case CFileException::badPath:
        return u"All or part of the path is invalid.";
    case CFileException::tooManyOpenFiles:
        return u"Too many files are open.";
    case CFileException::accessDenied:
        return u"Access to the file was denied.";
    case CFileException::invalidFile:
        return u"The file is not open or not a regular file.";
    case CFileException::removeCurrentDir:
        return u"The current working folder cannot be removed.";
    case CFileException::directoryFull:
        return u"There are no more directory entries.";
    case CFileException::badSeek:
        return u"The file position could not be set.";
    case CFileException::hardIO:
        return u"A hardware error occurred.";
    case CFileException::sharingViolation:
        return u"The file is in use by another program.";
    case CFileException::lockViolation:
        return u"The file is locked.";
    case CFileException::diskFull:
        return u"The disk is full.";
    case CFileException::endOfFile:
        return u"The end of the file was reached.";
    default:
        return u"An unspecified error occurred.";
    }
}

} // namespace

#ifdef _WIN32

int CFileException::OsErrorToException(LONG lOsError)
{
    switch (static_cast<DWORD>(lOsError))
    {
    case NO_ERROR:
        return none;
    case ERROR_FILE_NOT_FOUND:
        return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_DRIVE:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
        return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
    case ERROR_WRITE_PROTECT:
        return accessDenied;
    case ERROR_INVALID_HANDLE:
        return invalidFile;
    case ERROR_CURRENT_DIRECTORY:
        return removeCurrentDir;
    case ERROR_CANNOT_MAKE:
        return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK:
        return badSeek;
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_CRC:
    case ERROR_GEN_FAILURE:
        return hardIO;
    case ERROR_SHARING_VIOLATION:
        return sharingViolation;
    case ERROR_LOCK_VIOLATION:
        return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE:
        return diskFull;
    case ERROR_HANDLE_EOF:
        return endOfFile;
    default:
        return genericException;
    }
}

CString CFileException::GetErrorMessage() const
{
    if (m_lOsError > 0)
    {
        wchar_t* pszText = nullptr;
        const DWORD n =
            ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, static_cast<DWORD>(m_lOsError), 0,
                             reinterpret_cast<wchar_t*>(&pszText), 0, nullptr);
        if (n != 0 && pszText)
        {
            CString str(std::u16string(pszText, pszText + n));
            ::LocalFree(pszText);
            str.TrimRight();
            return str;
        }
    }
    return CString(CauseText(m_cause));
}

#else

int CFileException::OsErrorToException(LONG lOsError)
{
    switch (lOsError)
    {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case EEXIST:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case EMLINK:
        return directoryFull;
    case ESPIPE:
    case EOVERFLOW:
        return badSeek;
    case EIO:
        return hardIO;
    case EWOULDBLOCK:
    case EBUSY:
        return sharingViolation;
    case ENOLCK:
    case EDEADLK:
        return lockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return diskFull;
    default:
        return genericException;
    }
}

namespace
{

// strerror_r comes in two forms: the GNU one returns the text, the POSIX one fills the buffer.
[[maybe_unused]] const char* ErrorText(const char* pszText, const char*)
{
    return pszText;
}
[[maybe_unused]] const char* ErrorText(int nResult, const char* pszBuffer)
{
    return nResult == 0 ? pszBuffer : "Unknown error";
}

} // namespace

CString CFileException::GetErrorMessage() const
{
    if (m_lOsError > 0)
    {
        char szBuffer[256] = {};
        return CString::FromUtf8(ErrorText(
            ::strerror_r(static_cast<int>(m_lOsError), szBuffer, sizeof(szBuffer)), szBuffer));
    }
    return CString(CauseText(m_cause));
}

#endif

BOOL CFileException::GetErrorMessage(char16_t* pszError, UINT nMaxError, UINT* pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!pszError || nMaxError == 0)
        return FALSE;
    const CString str = GetErrorMessage();
    const size_t n = std::min<size_t>(static_cast<size_t>(str.GetLength()), nMaxError - 1);
    std::copy_n(str.GetString(), n, pszError);
    pszError[n] = u'\0';
    return TRUE;
}

const char* CFileException::what() const noexcept
{
    try
    {
        m_strWhat = GetErrorMessage().ToUtf8();
        if (!m_strFileName.IsEmpty())
            m_strWhat += " (" + m_strFileName.ToUtf8() + ")";
        return m_strWhat.c_str();
    }
    catch (...)
    {
        return "file exception";
    }
}
