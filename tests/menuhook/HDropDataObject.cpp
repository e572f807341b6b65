#include "HDropDataObject.h"

#include <shlobj.h>

#include <cstring>

CHDropDataObject::CHDropDataObject(std::vector<std::wstring> paths, bool bOffersDrop)
    : m_paths(std::move(paths)), m_bOffersDrop(bOffersDrop)
{
}

HRESULT STDMETHODCALLTYPE CHDropDataObject::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject))
    {
        *ppv = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CHDropDataObject::AddRef()
{
    return static_cast<ULONG>(++m_nRefCount);
}

ULONG STDMETHODCALLTYPE CHDropDataObject::Release()
{
    const LONG nCount = --m_nRefCount;
    if (nCount == 0)
        delete this;
    return static_cast<ULONG>(nCount);
}

HRESULT STDMETHODCALLTYPE CHDropDataObject::GetData(FORMATETC* pFormat, STGMEDIUM* pMedium)
{
    ++m_nGetDataCalls;
    if (QueryGetData(pFormat) != S_OK || !pMedium)
        return DV_E_FORMATETC;
    // DROPFILES, then each path with its terminator, then one more terminator (two for none).
    size_t nChars = m_paths.empty() ? 2 : 1;
    for (const std::wstring& strPath : m_paths)
        nChars += strPath.size() + 1;
    const size_t nBytes = sizeof(DROPFILES) + nChars * sizeof(wchar_t);
    const HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, nBytes);
    if (!hGlobal)
        return E_OUTOFMEMORY;
    auto* pDrop = static_cast<DROPFILES*>(::GlobalLock(hGlobal));
    pDrop->pFiles = sizeof(DROPFILES);
    pDrop->fWide = TRUE;
    auto* pszNext = reinterpret_cast<wchar_t*>(reinterpret_cast<BYTE*>(pDrop) + sizeof(DROPFILES));
    for (const std::wstring& strPath : m_paths)
    {
        std::memcpy(pszNext, strPath.c_str(), (strPath.size() + 1) * sizeof(wchar_t));
        pszNext += strPath.size() + 1;
    }
    ::GlobalUnlock(hGlobal);
    pMedium->tymed = TYMED_HGLOBAL;
    pMedium->hGlobal = hGlobal;
    pMedium->pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CHDropDataObject::GetDataHere(FORMATETC*, STGMEDIUM*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CHDropDataObject::QueryGetData(FORMATETC* pFormat)
{
    if (!m_bOffersDrop || !pFormat || pFormat->cfFormat != CF_HDROP ||
        !(pFormat->tymed & TYMED_HGLOBAL) || pFormat->dwAspect != DVASPECT_CONTENT)
        return DV_E_FORMATETC;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CHDropDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* pOut)
{
    if (pOut)
        pOut->ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CHDropDataObject::SetData(FORMATETC*, STGMEDIUM*, BOOL)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CHDropDataObject::EnumFormatEtc(DWORD, IEnumFORMATETC** ppEnum)
{
    if (ppEnum)
        *ppEnum = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CHDropDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT STDMETHODCALLTYPE CHDropDataObject::DUnadvise(DWORD)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT STDMETHODCALLTYPE CHDropDataObject::EnumDAdvise(IEnumSTATDATA** ppEnum)
{
    if (ppEnum)
        *ppEnum = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}
