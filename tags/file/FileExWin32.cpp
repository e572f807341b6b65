// The rewrite of a file on Windows: a temporary file that ReplaceFileW puts in the original's
// place.
#ifdef _WIN32

#include "tags/file/FileEx.h"

#include "base/Path.h"

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <windows.h>

namespace Tags
{

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

// A rewrite here completes at once: ReplaceFileW needs the new file flushed first, and the
// durability of the replace is the file system's; nothing ever waits.
struct CFileEx::tagWAITING
{
};

CFileEx::CFileEx() = default;

CFileEx::~CFileEx() = default;

void CFileEx::SyncFolder(const CString&) {}

void CFileEx::StartFlushWaiting() {}

void CFileEx::SyncWaiting() {}

void CFileEx::CommitWaiting()
{
    m_pWaiting.reset();
}

tagFILESTAMP CFileEx::GetFileStamp() const
{
    CheckOpen();
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!::GetFileInformationByHandle(m_hFile, &info))
        ThrowWin32(::GetLastError(), m_strFileName);
    const auto join = [](DWORD dwHigh, DWORD dwLow)
    { return (static_cast<ULONGLONG>(dwHigh) << 32) | dwLow; };
    tagFILESTAMP stamp;
    stamp.nVolume = info.dwVolumeSerialNumber;
    stamp.nIndex = join(info.nFileIndexHigh, info.nFileIndexLow);
    stamp.nLength = join(info.nFileSizeHigh, info.nFileSizeLow);
    stamp.nWriteTime =
        join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
    return stamp;
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

} // namespace Tags

#endif
