// FileContextMenuExt: the context-menu extension Explorer creates per menu. It takes the
// selected paths (IMenuhookInit), adds the item "Tag&wright" (IContextMenu) and, when the item
// is chosen, starts Tagwright.exe from the library's folder with the paths as one argument.
#pragma once

#include "menuhook/MenuhookInit.h"

#include <windows.h>

#include <memory>
#include <shlobj.h>

class FileContextMenuExt : public IMenuhookInit, public IContextMenu
{
public:
    // Reference count 1; the module count goes up by one and the menu bitmap is loaded.
    FileContextMenuExt();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IMenuhookInit
    HRESULT STDMETHODCALLTYPE Initialize(PCIDLIST_ABSOLUTE pidlFolder, IDataObject* pDataObject,
                                         HKEY hKeyProgID) override;

    // IContextMenu
    HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU hMenu, UINT indexMenu, UINT idCmdFirst,
                                               UINT idCmdLast, UINT uFlags) override;
    HRESULT STDMETHODCALLTYPE InvokeCommand(LPCMINVOKECOMMANDINFO pici) override;
    HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR idCmd, UINT uType, UINT* pReserved,
                                               LPSTR pszName, UINT cchMax) override;

protected:
    // Only Release deletes.
    virtual ~FileContextMenuExt();

private:
    // Starts Tagwright.exe beside the library with the selected-files argument; a start that
    // fails is reported in a message box.
    void OpenSelectedFiles() const;

    volatile LONG m_nRefCount = 1;
    // The quoted, "|"-joined paths of the last successful Initialize; null before it.
    std::unique_ptr<wchar_t[]> m_pszSelectedFiles;
    HBITMAP m_hMenuBitmap = nullptr;
    const wchar_t* m_pszMenuText = L"Tag&wright";
    const char* m_pszVerb = "openwithtagwright";
    const wchar_t* m_pwszVerb = L"openwithtagwright";
    const char* m_pszHelpText = "Open selected files with Tagwright";
    const wchar_t* m_pwszHelpText = L"Open selected files with Tagwright";
};
