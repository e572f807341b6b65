#include "menuhook/Module.h"

namespace
{

// A COM server's module state is process-wide by nature: the system asks for it through the
// exported functions, which carry no object.
HINSTANCE s_hInstance = nullptr;
volatile LONG s_nRefCount = 0;

} // namespace

namespace Module
{

void SetInstance(HINSTANCE hInstance)
{
    s_hInstance = hInstance;
}

HINSTANCE GetInstance()
{
    return s_hInstance;
}

LONG AddRef()
{
    return ::InterlockedIncrement(&s_nRefCount);
}

LONG Release()
{
    return ::InterlockedDecrement(&s_nRefCount);
}

LONG GetRefCount()
{
    return ::InterlockedCompareExchange(&s_nRefCount, 0, 0);
}

} // namespace Module
