// File times as the framework gives them: FILETIME values, 100 ns steps since 1601-01-01 UTC.
#pragma once

#include "base/Types.h"

#include <cstdint>

// The Unix time (seconds and nanoseconds since 1970-01-01 UTC) as a FILETIME; times before 1601
// become 0.
FILETIME UnixTimeToFileTime(std::int64_t nSeconds, std::uint32_t nNanoseconds);
ULONGLONG FileTimeToUInt64(const FILETIME& ft);

#ifndef _WIN32
// The created, last-accessed and last-written times of an open file; any pointer may be NULL.
// "Created" is the birth time where the file system keeps one, else the status-change time.
// FALSE (with errno set) when the handle is not an open file.
BOOL GetFileTime(HANDLE hFile, FILETIME* pCreated, FILETIME* pAccessed, FILETIME* pWritten);
#endif
