// Watches the sizes of the allocations made while it exists, for tests that a reader never
// allocates more than its input holds. Only sanitizer builds can watch (through the sanitizer's
// allocation hooks); elsewhere IsActive is false and tests skip the check.
#pragma once

#include <algorithm>
#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define TW_ALLOCATION_HOOKS 1
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*,
                                                                             std::size_t),
                                                         void (*free_hook)(const volatile void*));
#endif

namespace TagBytes
{

class CAllocationWatch
{
public:
    CAllocationWatch()
    {
#ifdef TW_ALLOCATION_HOOKS
        // The hooks cannot be removed; they do nothing while no watch exists.
        static const bool bInstalled =
            __sanitizer_install_malloc_and_free_hooks(&OnMalloc, &OnFree) != 0;
        m_bActive = bInstalled;
        Largest() = 0;
        Watching() = true;
#endif
    }
    ~CAllocationWatch()
    {
        Watching() = false;
    }
    CAllocationWatch(const CAllocationWatch&) = delete;
    CAllocationWatch& operator=(const CAllocationWatch&) = delete;

    bool IsActive() const
    {
        return m_bActive;
    }
    // The largest single allocation so far, in bytes.
    std::size_t GetLargest() const
    {
        return Largest();
    }

private:
    static std::size_t& Largest()
    {
        static std::size_t nLargest = 0;
        return nLargest;
    }
    static bool& Watching()
    {
        static bool bWatching = false;
        return bWatching;
    }
    static void OnMalloc(const volatile void*, std::size_t nSize)
    {
        if (Watching())
        {
            Largest() = std::max(Largest(), nSize);
        }
    }
    static void OnFree(const volatile void*) {}

    bool m_bActive = false;
};

} // namespace TagBytes
