// The library's entry points: DllMain, and the two functions the system calls to create
// objects of the class and to ask whether the library may be unloaded.
#include "menuhook/ClassFactory.h"
#include "menuhook/MenuhookGuids.h"
#include "menuhook/Module.h"

#include <windows.h>

#include <new>

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH)
    {
        Module::SetInstance(hInstance);
        ::DisableThreadLibraryCalls(hInstance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualCLSID(rclsid, CLSID_FileContextMenuExt))
        return CLASS_E_CLASSNOTAVAILABLE;
    ClassFactory* pFactory = new (std::nothrow) ClassFactory();
    if (!pFactory)
        return E_OUTOFMEMORY;
    const HRESULT hr = pFactory->QueryInterface(riid, ppv);
    pFactory->Release();
    return hr;
}

STDAPI DllCanUnloadNow()
{
    return Module::GetRefCount() > 0 ? S_FALSE : S_OK;
}
