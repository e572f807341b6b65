#include "base/FileTime.h"

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace
{
// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::int64_t nEpochDelta = 11644473600LL;
} // namespace

FILETIME UnixTimeToFileTime(std::int64_t nSeconds, std::uint32_t nNanoseconds)
{
    FILETIME ft = {};
    if (nSeconds < -nEpochDelta)
        return ft;
    constexpr std::int64_t nMaxSeconds = 1844674407369LL - nEpochDelta; // keeps n in 64 bits
    if (nSeconds > nMaxSeconds)
        nSeconds = nMaxSeconds;
    const ULONGLONG n = static_cast<ULONGLONG>(nSeconds + nEpochDelta) * 10000000ULL +
                        (nNanoseconds % 1000000000U) / 100U;
    ft.dwLowDateTime = static_cast<DWORD>(n & 0xFFFFFFFFULL);
    ft.dwHighDateTime = static_cast<DWORD>(n >> 32);
    return ft;
}

ULONGLONG FileTimeToUInt64(const FILETIME& ft)
{
    return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

#ifndef _WIN32
BOOL GetFileTime(HANDLE hFile, FILETIME* pCreated, FILETIME* pAccessed, FILETIME* pWritten)
{
    if (hFile == INVALID_HANDLE_VALUE)
    {
        errno = EBADF;
        return FALSE;
    }
    struct statx stx = {};
    if (::statx(hFile, "", AT_EMPTY_PATH | AT_STATX_SYNC_AS_STAT,
                STATX_ATIME | STATX_MTIME | STATX_CTIME | STATX_BTIME, &stx) == 0)
    {
        const struct statx_timestamp& created =
            (stx.stx_mask & STATX_BTIME) ? stx.stx_btime : stx.stx_ctime;
        if (pCreated)
            *pCreated = UnixTimeToFileTime(created.tv_sec, created.tv_nsec);
        if (pAccessed)
            *pAccessed = UnixTimeToFileTime(stx.stx_atime.tv_sec, stx.stx_atime.tv_nsec);
        if (pWritten)
            *pWritten = UnixTimeToFileTime(stx.stx_mtime.tv_sec, stx.stx_mtime.tv_nsec);
        return TRUE;
    }
    if (errno != ENOSYS)
        return FALSE;
    // Kernels without statx: no birth time.
    struct stat st = {};
    if (::fstat(hFile, &st) != 0)
        return FALSE;
    if (pCreated)
        *pCreated =
            UnixTimeToFileTime(st.st_ctim.tv_sec, static_cast<std::uint32_t>(st.st_ctim.tv_nsec));
    if (pAccessed)
        *pAccessed =
            UnixTimeToFileTime(st.st_atim.tv_sec, static_cast<std::uint32_t>(st.st_atim.tv_nsec));
    if (pWritten)
        *pWritten =
            UnixTimeToFileTime(st.st_mtim.tv_sec, static_cast<std::uint32_t>(st.st_mtim.tv_nsec));
    return TRUE;
}
#endif
