// The registration against the real registry (under Wine in the Windows build): the keys and
// values it leaves, what disabling and uninstalling take away, the default values it reads.
#ifdef _WIN32

#include "app/Win32ShellRegistry.h"
#include "app/ShellRegistration.h"

#include "MessageBoxWatch.h"
#include "RegistrationKeys.h"
#include "res/StringTable.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>

#include <string>

using namespace RegistrationKeys;
using namespace ShellIntegration;

namespace
{

void SetRaw(const std::wstring& strKey, const std::wstring& strText, bool bTerminator)
{
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CLASSES_ROOT, strKey.c_str(), 0, nullptr, 0, KEY_WRITE,
                                nullptr, &hKey, nullptr),
              ERROR_SUCCESS);
    const DWORD cb = static_cast<DWORD>((strText.size() + (bTerminator ? 1 : 0)) * 2);
    ASSERT_EQ(::RegSetValueExW(hKey, nullptr, 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(strText.c_str()), cb),
              ERROR_SUCCESS);
    ::RegCloseKey(hKey);
}

// Starts and ends with none of the keys the registration touches.
class Win32ShellRegistryTest : public ::testing::Test
{
protected:
    void SetUp() override { RegistrationKeys::RemoveAll(); }
    void TearDown() override { RegistrationKeys::RemoveAll(); }

    CWin32ShellRegistry m_registry;
};

} // namespace

TEST_F(Win32ShellRegistryTest, EnableWritesTheClassTheServerAndEveryHandler)
{
    SetRaw(L".mp3", kMp3Class, true);
    SetRaw(L"Folder", L"NotAClass", true);
    CShellRegistration registration(m_registry);
    ASSERT_TRUE(registration.RegisterContextMenuServer(TRUE));

    // The class identifier in the system's own text form.
    wchar_t szClsid[40] = {};
    const CLSID clsid = {
        0x5A6DE7BD, 0x86AE, 0x47C7, {0xB8, 0x86, 0x19, 0x2E, 0x50, 0x5D, 0x51, 0xFB}};
    ASSERT_GT(::StringFromGUID2(clsid, szClsid, 40), 0);
    EXPECT_EQ(std::wstring(L"CLSID\\") + szClsid, kClassKey);
    EXPECT_EQ(reinterpret_cast<const wchar_t*>(CLASS_ID), std::wstring(szClsid));

    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, kClassKey), L"Tagwright.FileContextMenuExt class");
    const std::wstring strServer = std::wstring(kClassKey) + L"\\InprocServer32";
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, strServer), ProgramFolder() + L"Menuhook.dll");
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, strServer, L"ThreadingModel"), L"Apartment");

    // ".mp3" names its file class; the others have none; "Folder" is taken as it is.
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, std::wstring(kMp3Class) + kHandlerTail),
              L"Tagwright.FileContextMenuExt");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(L".mp3") + kHandlerTail));
    for (const wchar_t* pszType : {L".mp2", L".mp1", L".m3u", L".m3u8", L"Folder"})
        EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, std::wstring(pszType) + kHandlerTail),
                  L"Tagwright.FileContextMenuExt")
            << pszType;
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(L"NotAClass") + kHandlerTail));

    // Every text is stored with its terminator.
    DWORD cb = 0;
    DWORD dwType = 0;
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CLASSES_ROOT, strServer.c_str(), 0, KEY_READ, &hKey),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegQueryValueExW(hKey, L"ThreadingModel", nullptr, &dwType, nullptr, &cb),
              ERROR_SUCCESS);
    ::RegCloseKey(hKey);
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(cb, sizeof(L"Apartment"));
}

TEST_F(Win32ShellRegistryTest, DisableKeepsTheClassKeysAndRemovesTheHandlers)
{
    CShellRegistration registration(m_registry);
    ASSERT_TRUE(registration.RegisterContextMenuServer(TRUE));
    ASSERT_TRUE(registration.RegisterContextMenuServer(FALSE));
    EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, kClassKey), L"Tagwright.FileContextMenuExt class");
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(kClassKey) + L"\\InprocServer32"));
    for (const wchar_t* pszType : kTypes)
    {
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(pszType) + kHandlerTail)) << pszType;
        EXPECT_TRUE(
            KeyExists(HKEY_CLASSES_ROOT, std::wstring(pszType) + L"\\shellex\\ContextMenuHandlers"))
            << pszType;
    }
}

TEST_F(Win32ShellRegistryTest, UninstallRemovesEverythingIncludingTheSettings)
{
    CShellRegistration registration(m_registry);
    ASSERT_TRUE(registration.RegisterContextMenuServer(TRUE));
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Corvell\\Tagwright\\2.5\\Settings",
                                0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr),
              ERROR_SUCCESS);
    const DWORD dwValue = 1;
    ::RegSetValueExW(hKey, L"WriteID3v1", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                     sizeof(dwValue));
    ::RegCloseKey(hKey);
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER,
                                L"Software\\Corvell\\Tagwright\\2.5\\SettingsPro", 0, nullptr, 0,
                                KEY_WRITE, nullptr, &hKey, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(hKey);

    EXPECT_TRUE(registration.UnregisterContextMenuServer());
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    for (const wchar_t* pszType : kTypes)
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(pszType) + kHandlerTail)) << pszType;
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Corvell\\Tagwright"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Corvell"));
}

TEST_F(Win32ShellRegistryTest, UninstallWhileAnotherInstanceRunsShowsMessage133AndKeepsAll)
{
    CShellRegistration enable(m_registry);
    ASSERT_TRUE(enable.RegisterContextMenuServer(TRUE));
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Corvell\\Tagwright\\2.5", 0, nullptr,
                                0, KEY_WRITE, nullptr, &hKey, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(hKey);

    Fixtures::CMessageBoxWatch watch;
    ASSERT_TRUE(watch.IsWatching());
    CShellRegistration registration(m_registry, TRUE);
    EXPECT_FALSE(registration.UnregisterContextMenuServer());
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(L"Folder") + kHandlerTail));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\Corvell\\Tagwright\\2.5"));
    if (!Fixtures::CMessageBoxWatch::CanShowWindows())
        GTEST_SKIP() << "no display to show the message on";
    ASSERT_EQ(watch.GetBoxes().size(), 1u);
    EXPECT_EQ(watch.GetBoxes()[0].strText, L"The application is already running. Please close "
                                           L"the application and try again.");
    EXPECT_EQ(watch.GetBoxes()[0].strCaption, L"Tagwright");
    EXPECT_TRUE(watch.GetBoxes()[0].bWarningIcon);
}

TEST_F(Win32ShellRegistryTest, DefaultValuesAreReadWithinTheirBuffer)
{
    CString strValue;
    SetRaw(L".mp3", std::wstring(259, L'a'), true);
    EXPECT_EQ(m_registry.GetClassesRootDefault(u".mp3", strValue), S_OK);
    EXPECT_EQ(strValue.GetLength(), 259);
    // Without its terminator a text of 259 still fits; one of 260 fills the buffer, one of 300
    // is beyond it: neither is taken.
    SetRaw(L".mp3", std::wstring(259, L'b'), false);
    EXPECT_EQ(m_registry.GetClassesRootDefault(u".mp3", strValue), S_OK);
    EXPECT_EQ(strValue, CString(u'b', 259));
    SetRaw(L".mp3", std::wstring(260, L'c'), false);
    EXPECT_TRUE(FAILED(m_registry.GetClassesRootDefault(u".mp3", strValue)));
    EXPECT_TRUE(strValue.IsEmpty());
    SetRaw(L".mp3", std::wstring(300, L'd'), true);
    EXPECT_TRUE(FAILED(m_registry.GetClassesRootDefault(u".mp3", strValue)));
    EXPECT_EQ(m_registry.GetClassesRootDefault(u".nosuchtype", strValue),
              HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));

    // So a type whose class name cannot be read keeps its handler below itself.
    CShellRegistration registration(m_registry);
    ASSERT_TRUE(registration.RegisterContextMenuServer(TRUE));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(L".mp3") + kHandlerTail));
}

TEST_F(Win32ShellRegistryTest, AClassNameTooLongForTheKeyBufferFailsOnlyItsType)
{
    SetRaw(L".mp3", std::wstring(200, L'x'), true);
    CShellRegistration registration(m_registry);
    EXPECT_FALSE(registration.RegisterContextMenuServer(TRUE));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(200, L'x')));
    for (const wchar_t* pszType : {L".mp2", L".mp1", L".m3u", L".m3u8", L"Folder"})
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(pszType) + kHandlerTail)) << pszType;
}

TEST_F(Win32ShellRegistryTest, DeleteKeyTreeRemovesEveryLevelAndReportsAMissingKey)
{
    for (const wchar_t* pszKey : {L".mp3\\a\\b\\c", L".mp3\\a\\d", L".mp3\\e"})
        SetRaw(pszKey, L"x", true);
    EXPECT_EQ(m_registry.DeleteKeyTree(ERegistryRoot::ClassesRoot, u".mp3\\a"), S_OK);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L".mp3\\a"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L".mp3\\e"));
    EXPECT_EQ(m_registry.DeleteKeyTree(ERegistryRoot::ClassesRoot, u".mp3\\a"),
              HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
}

TEST_F(Win32ShellRegistryTest, TheProgramsOwnFactsComeFromTheSystem)
{
    CString strPath;
    ASSERT_TRUE(m_registry.GetProgramPath(strPath));
    const std::wstring strWide(reinterpret_cast<const wchar_t*>(strPath.GetString()));
    EXPECT_EQ(strWide.substr(0, strWide.rfind(L'\\') + 1), ProgramFolder());
    EXPECT_EQ(strWide.substr(strWide.rfind(L'\\') + 1), L"app_tests.exe");
    // A 64-bit program registers directly.
    EXPECT_FALSE(m_registry.IsWow64());
}

#endif
