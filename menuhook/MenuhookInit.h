// IMenuhookInit: the interface by which Explorer hands a context-menu extension the selected
// items before it asks for menu items. Same slots as the shell's own declaration.
#pragma once

#include <windows.h>

#include <objidl.h>
#include <shtypes.h>

struct IMenuhookInit : public IUnknown
{
    // pidlFolder: the folder when the menu is for its background; pDataObject: the selection;
    // hKeyProgID: the file class key of the items.
    virtual HRESULT STDMETHODCALLTYPE Initialize(PCIDLIST_ABSOLUTE pidlFolder,
                                                 IDataObject* pDataObject, HKEY hKeyProgID) = 0;

protected:
    // Objects go away through Release.
    ~IMenuhookInit() = default;
};
