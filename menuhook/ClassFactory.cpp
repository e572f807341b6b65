#include "menuhook/ClassFactory.h"

#include "menuhook/FileContextMenuExt.h"
#include "menuhook/Module.h"

#include <new>

#include <shlwapi.h>

ClassFactory::ClassFactory()
{
    Module::AddRef();
}

ClassFactory::~ClassFactory()
{
    Module::Release();
}

HRESULT STDMETHODCALLTYPE ClassFactory::QueryInterface(REFIID riid, void** ppv)
{
    static const QITAB table[] = {
        {&IID_IClassFactory, OFFSETOFCLASS(IClassFactory, ClassFactory)},
        {nullptr, 0},
    };
    return ::QISearch(this, table, riid, ppv);
}

ULONG STDMETHODCALLTYPE ClassFactory::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_nRefCount));
}

ULONG STDMETHODCALLTYPE ClassFactory::Release()
{
    const LONG nCount = ::InterlockedDecrement(&m_nRefCount);
    if (nCount == 0)
        delete this;
    return static_cast<ULONG>(nCount);
}

HRESULT STDMETHODCALLTYPE ClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (pUnkOuter)
        return CLASS_E_NOAGGREGATION;
    FileContextMenuExt* pExt = new (std::nothrow) FileContextMenuExt();
    if (!pExt)
        return E_OUTOFMEMORY;
    const HRESULT hr = pExt->QueryInterface(riid, ppv);
    pExt->Release();
    return hr;
}

HRESULT STDMETHODCALLTYPE ClassFactory::LockServer(BOOL fLock)
{
    if (fLock)
        Module::AddRef();
    else
        Module::Release();
    return S_OK;
}
