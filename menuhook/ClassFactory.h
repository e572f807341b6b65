// ClassFactory: makes FileContextMenuExt objects for the system (no aggregation) and keeps the
// library loaded while a caller holds a lock.
#pragma once

#include <windows.h>

#include <unknwn.h>

class ClassFactory : public IClassFactory
{
public:
    // Reference count 1; the module count goes up by one.
    ClassFactory();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IClassFactory
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override;

protected:
    // Only Release deletes.
    virtual ~ClassFactory();

private:
    volatile LONG m_nRefCount = 1;
};
