// The registration switches' actions against the real registry (under Wine in the Windows
// build), with and without the main window of another instance.
#ifdef _WIN32

#include "app/RegistrationRun.h"
#include "app/AppCommandLineInfo.h"

#include "MessageBoxWatch.h"
#include "RegistrationKeys.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

using namespace RegistrationKeys;

namespace
{

// A top-level window of the main window's class, as a running instance has; hidden.
class COtherInstanceWindow
{
public:
    COtherInstanceWindow()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = reinterpret_cast<const wchar_t*>(RegistrationRun::WINDOW_CLASS);
        m_atom = ::RegisterClassW(&wc);
        if (m_atom)
            m_hWnd =
                ::CreateWindowW(wc.lpszClassName, L"Tagwright", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~COtherInstanceWindow()
    {
        if (m_hWnd)
            ::DestroyWindow(m_hWnd);
        if (m_atom)
            ::UnregisterClassW(reinterpret_cast<const wchar_t*>(RegistrationRun::WINDOW_CLASS),
                               ::GetModuleHandleW(nullptr));
    }
    COtherInstanceWindow(const COtherInstanceWindow&) = delete;
    COtherInstanceWindow& operator=(const COtherInstanceWindow&) = delete;

    bool IsOpen() const { return m_hWnd != nullptr; }

private:
    ATOM m_atom = 0;
    HWND m_hWnd = nullptr;
};

class RegistrationRunTest : public ::testing::Test
{
protected:
    void SetUp() override { RemoveAll(); }
    void TearDown() override { RemoveAll(); }

    static void ExpectRegistered()
    {
        EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, kClassKey), L"Tagwright.FileContextMenuExt class");
        const std::wstring strServer = std::wstring(kClassKey) + L"\\InprocServer32";
        EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, strServer), ProgramFolder() + L"Menuhook.dll");
        EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, strServer, L"ThreadingModel"), L"Apartment");
    }
    static void ExpectHandlers(bool bPresent)
    {
        for (const wchar_t* pszType : kTypes)
        {
            if (bPresent)
                EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, std::wstring(pszType) + kHandlerTail),
                          L"Tagwright.FileContextMenuExt")
                    << pszType;
            else
                EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::wstring(pszType) + kHandlerTail))
                    << pszType;
        }
    }
    static void WriteSettings()
    {
        HKEY hKey = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER,
                                    (std::wstring(kSettingsKey) + L"\\2.5\\Settings").c_str(), 0,
                                    nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr),
                  ERROR_SUCCESS);
        ::RegCloseKey(hKey);
    }
};

} // namespace

TEST_F(RegistrationRunTest, EnableAndInstallRegisterTheLibraryWithEveryHandler)
{
    for (const int nCommand : {CMD_ENABLE_SHELL, CMD_INSTALL})
    {
        SCOPED_TRACE(nCommand);
        RemoveAll();
        ASSERT_TRUE(RegistrationRun::Run(nCommand));
        ExpectRegistered();
        ExpectHandlers(true);
    }
}

TEST_F(RegistrationRunTest, DisableRemovesOnlyTheHandlers)
{
    ASSERT_TRUE(RegistrationRun::Run(CMD_ENABLE_SHELL));
    WriteSettings();
    ASSERT_TRUE(RegistrationRun::Run(CMD_DISABLE_SHELL));
    ExpectRegistered();
    ExpectHandlers(false);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
    // Enabling again brings them back.
    ASSERT_TRUE(RegistrationRun::Run(CMD_ENABLE_SHELL));
    ExpectHandlers(true);
}

TEST_F(RegistrationRunTest, UninstallRemovesTheClassTheHandlersAndTheSettings)
{
    ASSERT_TRUE(RegistrationRun::Run(CMD_INSTALL));
    WriteSettings();
    ASSERT_FALSE(RegistrationRun::IsOtherInstanceRunning());
    EXPECT_TRUE(RegistrationRun::Run(CMD_UNINSTALL));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    ExpectHandlers(false);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
}

TEST_F(RegistrationRunTest, NoCommandChangesNothing)
{
    EXPECT_FALSE(RegistrationRun::Run(0));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    ExpectHandlers(false);
}

TEST_F(RegistrationRunTest, WhileAnotherInstanceRunsOnlyUninstallIsRefused)
{
    ASSERT_TRUE(RegistrationRun::Run(CMD_INSTALL));
    WriteSettings();
    Fixtures::CMessageBoxWatch watch;
    ASSERT_TRUE(watch.IsWatching());
    {
        COtherInstanceWindow window;
        if (!window.IsOpen() && !Fixtures::CMessageBoxWatch::CanShowWindows())
            GTEST_SKIP() << "no display to open the other instance's window on";
        ASSERT_TRUE(window.IsOpen());
        EXPECT_TRUE(RegistrationRun::IsOtherInstanceRunning());

        EXPECT_FALSE(RegistrationRun::Run(CMD_UNINSTALL));
        ExpectRegistered();
        ExpectHandlers(true);
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::wstring(kSettingsKey) + L"\\2.5\\Settings"));
        ASSERT_EQ(watch.GetBoxes().size(), 1u);
        EXPECT_EQ(watch.GetBoxes()[0].strText, L"The application is already running. Please "
                                               L"close the application and try again.");
        EXPECT_TRUE(watch.GetBoxes()[0].bWarningIcon);

        // The other switches still work.
        EXPECT_TRUE(RegistrationRun::Run(CMD_DISABLE_SHELL));
        ExpectHandlers(false);
        EXPECT_TRUE(RegistrationRun::Run(CMD_ENABLE_SHELL));
        ExpectHandlers(true);
        EXPECT_EQ(watch.GetBoxes().size(), 1u);
    }

    // Once that window is gone, uninstalling goes ahead.
    EXPECT_FALSE(RegistrationRun::IsOtherInstanceRunning());
    EXPECT_TRUE(RegistrationRun::Run(CMD_UNINSTALL));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
    EXPECT_EQ(watch.GetBoxes().size(), 1u);
}

#endif
