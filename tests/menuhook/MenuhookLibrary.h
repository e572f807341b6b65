// CMenuhookLibrary: a copy of Menuhook.dll in a folder of the test's own, loaded as Explorer
// loads it, with its two exported functions. The stand-in Tagwright.exe is copied beside it
// when asked for.
#pragma once

#include <windows.h>

#include <string>

class CMenuhookLibrary
{
public:
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

    CMenuhookLibrary(const std::wstring& strFolder, bool bWithProgram);
    ~CMenuhookLibrary();
    CMenuhookLibrary(const CMenuhookLibrary&) = delete;
    CMenuhookLibrary& operator=(const CMenuhookLibrary&) = delete;

    // The folder of the test program, where the build puts the library and the stand-in.
    static std::wstring GetBuildFolder();

    bool IsLoaded() const { return m_hModule && m_pfnGetClassObject && m_pfnCanUnloadNow; }
    HMODULE GetModule() const { return m_hModule; }
    HRESULT GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) const
    {
        return m_pfnGetClassObject(rclsid, riid, ppv);
    }
    HRESULT CanUnloadNow() const { return m_pfnCanUnloadNow(); }
    // The object of the one class under the given interface, through its factory.
    HRESULT CreateInstance(REFIID riid, void** ppv) const;

private:
    HMODULE m_hModule = nullptr;
    GetClassObjectFn m_pfnGetClassObject = nullptr;
    CanUnloadNowFn m_pfnCanUnloadNow = nullptr;
};
