// The library's process-wide facts: its instance handle and the one module reference count
// that tells the system whether it may be unloaded.
#pragma once

#include <windows.h>

namespace Module
{

// Saved once, when the library is attached to a process.
void SetInstance(HINSTANCE hInstance);
HINSTANCE GetInstance();

// Live factories, live extension objects and locks of LockServer; interlocked.
LONG AddRef();
LONG Release();
LONG GetRefCount();

} // namespace Module
