// The keys the shell-integration registration writes into the real registry, for the suites
// that check them there: their names, reading them back, and a start without any of them.
#pragma once

#ifdef _WIN32

#include <windows.h>

#include <string>

namespace RegistrationKeys
{

inline const wchar_t* const kClassKey = L"CLSID\\{5A6DE7BD-86AE-47C7-B886-192E505D51FB}";
inline const wchar_t* const kHandlerTail =
    L"\\shellex\\ContextMenuHandlers\\{5A6DE7BD-86AE-47C7-B886-192E505D51FB}";
inline const wchar_t* const kTypes[] = {L".mp3", L".mp2", L".mp1", L".m3u", L".m3u8", L"Folder"};
// A file class that a test may name as the default value of ".mp3".
inline const wchar_t* const kMp3Class = L"TagwrightTest.mp3file";
inline const wchar_t* const kSettingsKey = L"Software\\Corvell\\Tagwright";

inline bool KeyExists(HKEY hRoot, const std::wstring& strKey)
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(hRoot, strKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(hKey);
    return true;
}

// The value as REG_SZ; "<none>" when there is none of that type.
inline std::wstring ValueOf(HKEY hRoot, const std::wstring& strKey,
                            const wchar_t* pszName = nullptr)
{
    wchar_t sz[1024] = {};
    DWORD cb = sizeof(sz);
    if (::RegGetValueW(hRoot, strKey.c_str(), pszName, RRF_RT_REG_SZ, nullptr, sz, &cb) !=
        ERROR_SUCCESS)
        return L"<none>";
    return sz;
}

// The running test program's folder, with its final backslash.
inline std::wstring ProgramFolder()
{
    wchar_t sz[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameW(nullptr, sz, MAX_PATH);
    std::wstring str(sz, n);
    return str.substr(0, str.rfind(L'\\') + 1);
}

// Removes every key the registration touches, the test's file class and the program's
// settings. The Windows suites that write these keys do not run at the same time (see
// tests/CMakeLists.txt).
inline void RemoveAll()
{
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey);
    for (const wchar_t* pszType : kTypes)
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, pszType);
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kMp3Class);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
}

} // namespace RegistrationKeys

#endif
