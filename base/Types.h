// The framework's plain types, as the tag library and the program use them.
#pragma once

#include <cstddef>
#include <cstdint>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
using BOOL = int;
using UINT = unsigned int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using WCHAR = char16_t;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// A file handle: a descriptor here, a Windows HANDLE there.
using HANDLE = int;
inline constexpr HANDLE INVALID_HANDLE_VALUE = -1;

// 100-nanosecond intervals since 1601-01-01 UTC, split as Windows keeps it.
struct FILETIME
{
    DWORD dwLowDateTime = 0;
    DWORD dwHighDateTime = 0;
};
#endif

inline constexpr UINT TW_CP_ACP = 0;
inline constexpr UINT TW_CP_UTF8 = 65001;
#ifndef CP_ACP
#define CP_ACP TW_CP_ACP
#endif
#ifndef CP_UTF8
#define CP_UTF8 TW_CP_UTF8
#endif
