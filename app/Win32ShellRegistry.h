// CWin32ShellRegistry: the registration's system calls on Windows: the real registry (the
// classes root and the current user's key), the module path, IsWow64Process, ShellExecuteW and
// MessageBoxW.
#pragma once

#ifdef _WIN32

#include "app/ShellRegistry.h"

class CWin32ShellRegistry : public IShellRegistry
{
public:
    HRESULT SetClassesRootValue(const CString& strSubKey, const char16_t* pszValueName,
                                const char16_t* pszText) override;
    HRESULT GetClassesRootDefault(const CString& strSubKey, CString& strValue) override;
    HRESULT DeleteKeyTree(ERegistryRoot root, const CString& strSubKey) override;
    BOOL GetProgramPath(CString& strPath) override;
    BOOL IsWow64() override;
    void StartProgram(const CString& strPath, const CString& strParameters) override;
    void ShowMessage(const CString& strText) override;

    // The tree delete on any open key: each first subkey's tree in turn, then the key itself.
    static HRESULT DeleteKeyTree(HKEY hRoot, const wchar_t* pszSubKey);
};

#endif
