#include "menuhook/FileContextMenuExt.h"

#include "menuhook/MenuhookGuids.h"
#include "menuhook/Module.h"
#include "menuhook/resource.h"

#include <climits>
#include <cwchar>
#include <new>
#include <string>

#include <shellapi.h>
#include <shlwapi.h>

namespace
{

constexpr UINT MAX_PATH_CHARS = MAX_PATH; // path buffers of 260 characters
constexpr HRESULT INSUFFICIENT_BUFFER = static_cast<HRESULT>(0x8007007A);

// Windows before Vista draws menu bitmaps without alpha.
bool IsBeforeVista()
{
    return LOBYTE(LOWORD(::GetVersion())) <= 5;
}

// The bounded string copy: a size of 0 or beyond the largest signed 32-bit value is refused
// (an empty string stored first where there is room); a text that does not fit is cut to the
// size less one and reported.
template <typename Char> HRESULT BoundedCopy(Char* pszDest, UINT cchDest, const Char* pszSource)
{
    if (cchDest == 0)
        return E_INVALIDARG;
    if (cchDest > static_cast<UINT>(INT_MAX))
    {
        pszDest[0] = 0;
        return E_INVALIDARG;
    }
    UINT i = 0;
    for (; i + 1 < cchDest && pszSource[i] != 0; ++i)
        pszDest[i] = pszSource[i];
    pszDest[i] = 0;
    return pszSource[i] == 0 ? S_OK : INSUFFICIENT_BUFFER;
}

// A verb pointer whose high part is zero is a command offset.
bool IsOffset(const void* pVerb)
{
    return (reinterpret_cast<ULONG_PTR>(pVerb) >> 16) == 0;
}

WORD OffsetOf(const void* pVerb)
{
    return LOWORD(reinterpret_cast<ULONG_PTR>(pVerb));
}

} // namespace

FileContextMenuExt::FileContextMenuExt()
{
    Module::AddRef();
    if (IsBeforeVista())
        m_hMenuBitmap = static_cast<HBITMAP>(
            ::LoadImageW(Module::GetInstance(), MAKEINTRESOURCEW(IDB_MENU_BITMAP_8BPP),
                         IMAGE_BITMAP, 0, 0, LR_LOADTRANSPARENT | LR_DEFAULTSIZE));
    else
        m_hMenuBitmap = static_cast<HBITMAP>(
            ::LoadImageW(Module::GetInstance(), MAKEINTRESOURCEW(IDB_MENU_BITMAP_32BPP),
                         IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_DEFAULTSIZE));
}

FileContextMenuExt::~FileContextMenuExt()
{
    if (m_hMenuBitmap)
        ::DeleteObject(m_hMenuBitmap);
    Module::Release();
}

HRESULT STDMETHODCALLTYPE FileContextMenuExt::QueryInterface(REFIID riid, void** ppv)
{
    static const QITAB table[] = {
        {&IID_IContextMenu, OFFSETOFCLASS(IContextMenu, FileContextMenuExt)},
        {&IID_IMenuhookInit, OFFSETOFCLASS(IMenuhookInit, FileContextMenuExt)},
        {nullptr, 0},
    };
    return ::QISearch(this, table, riid, ppv);
}

ULONG STDMETHODCALLTYPE FileContextMenuExt::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_nRefCount));
}

ULONG STDMETHODCALLTYPE FileContextMenuExt::Release()
{
    const LONG nCount = ::InterlockedDecrement(&m_nRefCount);
    if (nCount == 0)
        delete this;
    return static_cast<ULONG>(nCount);
}

HRESULT STDMETHODCALLTYPE FileContextMenuExt::Initialize(PCIDLIST_ABSOLUTE,
                                                         IDataObject* pDataObject, HKEY)
{
    if (!pDataObject)
        return E_INVALIDARG;
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    if (FAILED(pDataObject->GetData(&format, &medium)))
        return E_FAIL;
    if (!::GlobalLock(medium.hGlobal))
    {
        ::ReleaseStgMedium(&medium);
        return E_FAIL;
    }
    const HDROP hDrop = static_cast<HDROP>(medium.hGlobal);
    HRESULT hr = E_FAIL;
    const UINT nFiles = ::DragQueryFileW(hDrop, 0xFFFFFFFF, nullptr, 0);
    if (nFiles != 0)
    {
        const size_t nChars = static_cast<size_t>(nFiles) * MAX_PATH_CHARS + 262;
        m_pszSelectedFiles.reset();
        std::unique_ptr<wchar_t[]> pszArgument(new (std::nothrow) wchar_t[nChars]());
        if (!pszArgument)
        {
            hr = E_OUTOFMEMORY;
        }
        else
        {
            // A quote, the paths in drop order with a bar after each but the last index, a
            // quote: "C:\a.mp3|C:\b.mp3".
            size_t nLength = 0;
            pszArgument[nLength++] = L'"';
            for (UINT i = 0; i < nFiles; ++i)
            {
                wchar_t szPath[MAX_PATH_CHARS] = {};
                const UINT nPath = ::DragQueryFileW(hDrop, i, szPath, MAX_PATH_CHARS);
                if (nPath == 0)
                    continue;
                const size_t nCopy = std::wcslen(szPath);
                std::wmemcpy(pszArgument.get() + nLength, szPath, nCopy);
                nLength += nCopy;
                if (i + 1 < nFiles)
                    pszArgument[nLength++] = L'|';
            }
            pszArgument[nLength++] = L'"';
            m_pszSelectedFiles = std::move(pszArgument);
            hr = S_OK;
        }
    }
    ::GlobalUnlock(medium.hGlobal);
    ::ReleaseStgMedium(&medium);
    return hr;
}

HRESULT STDMETHODCALLTYPE FileContextMenuExt::QueryContextMenu(HMENU hMenu, UINT indexMenu,
                                                               UINT idCmdFirst, UINT, UINT uFlags)
{
    if (uFlags & CMF_DEFAULTONLY)
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);

    MENUITEMINFOW item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STRING | MIIM_FTYPE | MIIM_ID | MIIM_STATE;
    item.wID = idCmdFirst;
    item.fType = MFT_STRING;
    item.dwTypeData = const_cast<wchar_t*>(m_pszMenuText);
    item.fState = MFS_ENABLED;
    if (IsBeforeVista())
    {
        item.fMask |= MIIM_CHECKMARKS;
        item.hbmpChecked = m_hMenuBitmap;
        item.hbmpUnchecked = m_hMenuBitmap;
    }
    else
    {
        item.fMask |= MIIM_BITMAP;
        item.hbmpItem = m_hMenuBitmap;
    }
    if (!::InsertMenuItemW(hMenu, indexMenu, TRUE, &item))
        return HRESULT_FROM_WIN32(::GetLastError());

    MENUITEMINFOW separator = {};
    separator.cbSize = sizeof(separator);
    separator.fMask = MIIM_TYPE;
    separator.fType = MFT_SEPARATOR;
    if (!::InsertMenuItemW(hMenu, indexMenu + 1, TRUE, &separator))
        return HRESULT_FROM_WIN32(::GetLastError());

    // One command identifier used.
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
}

HRESULT STDMETHODCALLTYPE FileContextMenuExt::InvokeCommand(LPCMINVOKECOMMANDINFO pici)
{
    if (!pici)
        return E_INVALIDARG;
    bool bMatch = false;
    // The extended record is recognised by its size on this platform (64 bytes in a 32-bit
    // build, more in a 64-bit one).
    if (pici->cbSize == sizeof(CMINVOKECOMMANDINFOEX) && (pici->fMask & CMIC_MASK_UNICODE))
    {
        const auto* piciEx = reinterpret_cast<const CMINVOKECOMMANDINFOEX*>(pici);
        if (!IsOffset(piciEx->lpVerbW))
            bMatch = ::StrCmpIW(piciEx->lpVerbW, m_pwszVerb) == 0;
        else
            bMatch = OffsetOf(pici->lpVerb) == 0;
    }
    else if (!IsOffset(pici->lpVerb))
    {
        bMatch = ::lstrcmpiA(pici->lpVerb, m_pszVerb) == 0;
    }
    else
    {
        bMatch = OffsetOf(pici->lpVerb) == 0;
    }
    if (!bMatch)
        return E_FAIL;
    OpenSelectedFiles();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FileContextMenuExt::GetCommandString(UINT_PTR idCmd, UINT uType, UINT*,
                                                               LPSTR pszName, UINT cchMax)
{
    if (idCmd != 0)
        return E_INVALIDARG;
    if (!pszName && (uType == GCS_VERBA || uType == GCS_HELPTEXTA || uType == GCS_VERBW ||
                     uType == GCS_HELPTEXTW))
        return E_INVALIDARG;
    switch (uType)
    {
    case GCS_VERBA:
        return BoundedCopy(pszName, cchMax, m_pszVerb);
    case GCS_HELPTEXTA:
        return BoundedCopy(pszName, cchMax, m_pszHelpText);
    case GCS_VERBW:
        return BoundedCopy(reinterpret_cast<wchar_t*>(pszName), cchMax, m_pwszVerb);
    case GCS_HELPTEXTW:
        return BoundedCopy(reinterpret_cast<wchar_t*>(pszName), cchMax, m_pwszHelpText);
    default:
        return S_OK;
    }
}

void FileContextMenuExt::OpenSelectedFiles() const
{
    wchar_t szModule[MAX_PATH_CHARS] = {};
    const DWORD nModule = ::GetModuleFileNameW(Module::GetInstance(), szModule, MAX_PATH_CHARS);
    // A path cut to the buffer would name another file.
    if (nModule == 0 || nModule >= MAX_PATH_CHARS)
        return;
    std::wstring strProgram(szModule, nModule);
    const size_t nSlash = strProgram.rfind(L'\\');
    if (nSlash == std::wstring::npos)
        return;
    strProgram.resize(nSlash);
    strProgram += L"\\Tagwright.exe";
    const HINSTANCE hResult = ::ShellExecuteW(nullptr, L"open", strProgram.c_str(),
                                              m_pszSelectedFiles.get(), nullptr, SW_SHOW);
    if (reinterpret_cast<INT_PTR>(hResult) < 32)
        ::MessageBoxW(nullptr, L"Enable to lunch Tagwright.exe", L"Error", MB_ICONERROR);
}
