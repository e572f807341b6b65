// What the fuzz targets share: the input as the content of an open file (in memory, so nothing
// touches the disk), a choice of options taken from the input's first byte, and the checks that
// end a run with a report when a property does not hold.
#pragma once

#include "base/Types.h"
#include "tags/file/FileEx.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <sys/mman.h>
#include <unistd.h>

namespace Fuzz
{

// A property of the code under test failed: report it where the fuzzer shows it, and stop.
[[noreturn]] inline void Fail(const char* pszWhat)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", pszWhat);
    std::abort();
}

inline void Check(bool bHolds, const char* pszWhat)
{
    if (!bHolds)
        Fail(pszWhat);
}

// The bytes as an open, writable file of the tag library, backed by memory.
class CMemoryFile : public Tags::CFileEx
{
public:
    CMemoryFile(const uint8_t* pData, size_t nSize)
    {
        const int fd = ::memfd_create("fuzz", MFD_CLOEXEC);
        Check(fd >= 0, "memfd_create");
        size_t nDone = 0;
        while (nDone < nSize)
        {
            const ssize_t r = ::write(fd, pData + nDone, nSize - nDone);
            Check(r > 0, "writing the input");
            nDone += static_cast<size_t>(r);
        }
        Check(::lseek(fd, 0, SEEK_SET) == 0, "rewinding the input");
        m_hFile = fd;
        m_bCloseOnDelete = TRUE;
    }
    ~CMemoryFile() override
    {
        if (m_hFile != INVALID_HANDLE_VALUE)
            ::close(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
    CMemoryFile(const CMemoryFile&) = delete;
    CMemoryFile& operator=(const CMemoryFile&) = delete;
};

// Splits the first byte off as the run's options.
struct tagSPLITINPUT
{
    tagSPLITINPUT(const uint8_t* pData, size_t nSize)
    {
        if (nSize > 0)
        {
            nOptions = pData[0];
            pRest = pData + 1;
            nRest = nSize - 1;
        }
    }
    BYTE nOptions = 0;
    const uint8_t* pRest = nullptr;
    size_t nRest = 0;
};

} // namespace Fuzz
