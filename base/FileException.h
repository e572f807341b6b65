// CFileException: the framework's file exception, the one kind of exception the file layer
// throws: a cause, the operating system's error and the file's name.
#pragma once

#include "base/String.h"
#include "base/Types.h"

#include <exception>
#include <string>

class CFileException : public std::exception
{
public:
    enum
    {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    CFileException() = default;
    CFileException(int cause, LONG lOsError = -1, const CString& strFileName = CString());

    // The cause that best describes an OS error (errno here, GetLastError on Windows).
    static int OsErrorToException(LONG lOsError);
    [[noreturn]] static void ThrowOsError(LONG lOsError, const CString& strFileName = CString());

    // The OS error text (strerror), or a text for the cause when no OS error is known.
    CString GetErrorMessage() const;
    // The framework's form: copies the text, cut to fit nMaxError units with its terminator.
    BOOL GetErrorMessage(char16_t* pszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const;

    const char* what() const noexcept override;

    int m_cause = none;
    LONG m_lOsError = -1;
    CString m_strFileName;

private:
    mutable std::string m_strWhat; // UTF-8 form of the message for what()
};
