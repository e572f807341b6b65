// CFile: the framework's binary file class over the operating system's own calls (POSIX
// descriptors here, Win32 handles on Windows). Failures are thrown as CFileException; Open
// reports them through its optional exception object instead.
#pragma once

#include "base/FileException.h"
#include "base/String.h"
#include "base/Types.h"

class CFile
{
public:
    enum OpenFlags : UINT
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };

    enum SeekPosition : UINT
    {
        begin = 0x0,
        current = 0x1,
        end = 0x2
    };

    CFile();
    // Takes over an open handle; it is not closed on delete unless m_bCloseOnDelete is set.
    explicit CFile(HANDLE hFile);
    // Opens or throws CFileException.
    CFile(const CString& strFileName, UINT nOpenFlags);
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    virtual ~CFile();

    // Virtual operations in the framework's order.
    virtual ULONGLONG GetPosition() const;
    virtual CString GetFileName() const;
    virtual CString GetFileTitle() const;
    virtual CString GetFilePath() const;
    virtual void SetFilePath(const CString& strNewName);
    // Opens the full form of the path (see Path::GetFullPath), which the object keeps also when
    // the open fails. Only regular files open: a folder, a FIFO or a device is refused without
    // blocking. An object that is already open is closed first.
    virtual BOOL Open(const CString& strFileName, UINT nOpenFlags,
                      CFileException* pError = nullptr);
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    virtual void SetLength(ULONGLONG dwNewLen);
    virtual ULONGLONG GetLength() const;
    // Reads up to nCount bytes; fewer only at the end of the file, 0 there.
    virtual UINT Read(void* lpBuf, UINT nCount);
    // Writes all nCount bytes or throws.
    virtual void Write(const void* lpBuf, UINT nCount);
    // Closes without throwing.
    virtual void Abort();
    // Forces the file's data to the disk.
    virtual void Flush();
    // Closes; throws when the system reports an error (the handle is released either way). The
    // path stays known.
    virtual void Close();

    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    BOOL m_bCloseOnDelete = FALSE;

protected:
    // Throws invalidFile when no file is open.
    void CheckOpen() const;

    CString m_strFileName; // full path
};
