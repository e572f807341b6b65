#include "app/Win32ShellRegistry.h"

#ifdef _WIN32

#include "res/StringTable.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace
{

const wchar_t* Wide(const CString& str)
{
    return reinterpret_cast<const wchar_t*>(str.GetString());
}

const wchar_t* Wide(const char16_t* psz)
{
    return reinterpret_cast<const wchar_t*>(psz);
}

HRESULT FromWin32(LONG lError)
{
    return HRESULT_FROM_WIN32(static_cast<DWORD>(lError));
}

HKEY RootKey(ERegistryRoot root)
{
    return root == ERegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_CLASSES_ROOT;
}

} // namespace

HRESULT CWin32ShellRegistry::SetClassesRootValue(const CString& strSubKey,
                                                 const char16_t* pszValueName,
                                                 const char16_t* pszText)
{
    HKEY hKey = nullptr;
    LONG lResult = ::RegCreateKeyExW(HKEY_CLASSES_ROOT, Wide(strSubKey), 0, nullptr,
                                     REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &hKey, nullptr);
    if (lResult != ERROR_SUCCESS)
        return FromWin32(lResult);
    if (pszText)
    {
        // The terminator is stored with the text, as the system's readers expect of REG_SZ.
        const std::u16string_view text(pszText);
        const DWORD cbData = static_cast<DWORD>((text.size() + 1) * sizeof(char16_t));
        lResult = ::RegSetValueExW(hKey, pszValueName ? Wide(pszValueName) : nullptr, 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(pszText), cbData);
    }
    ::RegCloseKey(hKey);
    return FromWin32(lResult);
}

HRESULT CWin32ShellRegistry::GetClassesRootDefault(const CString& strSubKey, CString& strValue)
{
    strValue.Empty();
    HKEY hKey = nullptr;
    LONG lResult = ::RegOpenKeyExW(HKEY_CLASSES_ROOT, Wide(strSubKey), 0, KEY_READ, &hKey);
    if (lResult != ERROR_SUCCESS)
        return FromWin32(lResult);
    // Read the same view on 64-bit Windows whatever the program's bits; a system without
    // reflection says so, which changes nothing here.
    ::RegDisableReflectionKey(hKey);
    wchar_t szBuffer[ShellRegistry::TEXT_BUFFER] = {};
    DWORD cbData = sizeof(szBuffer);
    DWORD dwType = REG_NONE;
    lResult = ::RegQueryValueExW(hKey, nullptr, nullptr, &dwType, reinterpret_cast<BYTE*>(szBuffer),
                                 &cbData);
    ::RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS)
        return FromWin32(lResult);
    if (dwType != REG_SZ && dwType != REG_EXPAND_SZ)
        return FromWin32(ERROR_INVALID_DATA);
    // A value stored without its terminator may fill the buffer to the last character; then
    // there is no room to end it and it did not fit.
    size_t nChars = cbData / sizeof(wchar_t);
    if (nChars > 0 && szBuffer[nChars - 1] == L'\0')
        --nChars;
    else if (nChars >= ShellRegistry::TEXT_BUFFER)
        return FromWin32(ERROR_MORE_DATA);
    std::u16string value(reinterpret_cast<const char16_t*>(szBuffer), nChars);
    // A value with a zero inside ends there, as the system's own readers see it.
    value.resize(value.find(u'\0') == std::u16string::npos ? value.size() : value.find(u'\0'));
    strValue = CString(std::move(value));
    return S_OK;
}

HRESULT CWin32ShellRegistry::DeleteKeyTree(HKEY hRoot, const wchar_t* pszSubKey)
{
    HKEY hKey = nullptr;
    LONG lResult = ::RegOpenKeyExW(hRoot, pszSubKey, 0, KEY_READ | KEY_WRITE, &hKey);
    if (lResult != ERROR_SUCCESS)
        return FromWin32(lResult);
    std::wstring strLast;
    for (;;)
    {
        wchar_t szName[ShellRegistry::TEXT_BUFFER] = {};
        lResult = ::RegEnumKeyW(hKey, 0, szName, ShellRegistry::TEXT_BUFFER);
        if (lResult == ERROR_NO_MORE_ITEMS || lResult == ERROR_BADKEY)
            break;
        if (lResult != ERROR_SUCCESS)
        {
            ::RegCloseKey(hKey);
            return FromWin32(lResult);
        }
        // A subkey that is still first after its deletion would never end the loop.
        if (strLast == szName)
        {
            ::RegCloseKey(hKey);
            return FromWin32(ERROR_ACCESS_DENIED);
        }
        strLast = szName;
        const HRESULT hr = DeleteKeyTree(hKey, szName);
        if (FAILED(hr))
        {
            ::RegCloseKey(hKey);
            return hr;
        }
    }
    ::RegCloseKey(hKey);
    return FromWin32(::RegDeleteKeyW(hRoot, pszSubKey));
}

HRESULT CWin32ShellRegistry::DeleteKeyTree(ERegistryRoot root, const CString& strSubKey)
{
    return DeleteKeyTree(RootKey(root), Wide(strSubKey));
}

BOOL CWin32ShellRegistry::GetProgramPath(CString& strPath)
{
    strPath.Empty();
    wchar_t szPath[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    // A path cut to the buffer would name another folder.
    if (n == 0 || n >= MAX_PATH)
        return FALSE;
    strPath = CString(std::u16string(reinterpret_cast<const char16_t*>(szPath), n));
    return TRUE;
}

BOOL CWin32ShellRegistry::IsWow64()
{
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    const HMODULE hKernel = ::GetModuleHandleW(L"kernel32");
    if (!hKernel)
        return FALSE;
    // Looked up: systems before it lack the call.
    const auto pfnIsWow64Process = reinterpret_cast<IsWow64ProcessFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(hKernel, "IsWow64Process")));
    BOOL bWow64 = FALSE;
    if (!pfnIsWow64Process || !pfnIsWow64Process(::GetCurrentProcess(), &bWow64))
        return FALSE;
    return bWow64;
}

void CWin32ShellRegistry::StartProgram(const CString& strPath, const CString& strParameters)
{
    ::ShellExecuteW(nullptr, L"open", Wide(strPath), Wide(strParameters), nullptr, SW_SHOWNORMAL);
}

void CWin32ShellRegistry::ShowMessage(const CString& strText)
{
    const CString strTitle = Res::LoadResourceString(Res::IDS_APP_TITLE);
    ::MessageBoxW(nullptr, Wide(strText), Wide(strTitle), MB_OK | MB_ICONWARNING);
}

#endif
