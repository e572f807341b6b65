// CHDropDataObject: the data object Explorer hands a context-menu extension, holding the
// selected paths as CF_HDROP in global memory; each GetData gives a fresh copy that the
// receiver frees with ReleaseStgMedium.
#pragma once

#include <windows.h>

#include <objidl.h>

#include <string>
#include <vector>

class CHDropDataObject : public IDataObject
{
public:
    // Reference count 1. Without bOffersDrop the object holds no CF_HDROP at all (as a data
    // object of other formats).
    explicit CHDropDataObject(std::vector<std::wstring> paths, bool bOffersDrop = true);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDataObject: only GetData and QueryGetData of CF_HDROP in TYMED_HGLOBAL.
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* pFormat, STGMEDIUM* pMedium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* pFormat) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* pOut) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC** ppEnum) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** ppEnum) override;

    int GetDataCalls() const { return m_nGetDataCalls; }

protected:
    virtual ~CHDropDataObject() = default;

private:
    LONG m_nRefCount = 1;
    std::vector<std::wstring> m_paths;
    bool m_bOffersDrop;
    int m_nGetDataCalls = 0;
};
