// CMessageBoxWatch: while it exists, every message box the current thread opens is recorded
// (caption, text, whether it shows the error or the warning icon) and closed at once, so that
// code that warns the user can run in a test without anyone to press OK.
#pragma once

#ifdef _WIN32

#include <windows.h>

#include <string>
#include <vector>

namespace Fixtures
{

class CMessageBoxWatch
{
public:
    struct tagBOX
    {
        std::wstring strCaption;
        std::wstring strText;
        bool bErrorIcon = false;
        bool bWarningIcon = false;
    };

    CMessageBoxWatch()
    {
        Current() = this;
        m_hHook = ::SetWindowsHookExW(WH_CBT, CbtProc, nullptr, ::GetCurrentThreadId());
    }
    ~CMessageBoxWatch()
    {
        if (m_hHook)
            ::UnhookWindowsHookEx(m_hHook);
        Current() = nullptr;
    }
    CMessageBoxWatch(const CMessageBoxWatch&) = delete;
    CMessageBoxWatch& operator=(const CMessageBoxWatch&) = delete;

    bool IsWatching() const { return m_hHook != nullptr; }

    // Whether message boxes can open at all: Wine without an X display has none (the Windows
    // suites run in a virtual display under make test).
    static bool CanShowWindows()
    {
        const HMODULE hNtdll = ::GetModuleHandleW(L"ntdll.dll");
        const bool bWine = hNtdll && ::GetProcAddress(hNtdll, "wine_get_version");
        return !bWine || ::GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) > 0;
    }
    const std::vector<tagBOX>& GetBoxes() const { return m_boxes; }

private:
    static CMessageBoxWatch*& Current()
    {
        static thread_local CMessageBoxWatch* s_pWatch = nullptr;
        return s_pWatch;
    }

    static std::wstring TextOf(HWND hWnd)
    {
        wchar_t sz[1024] = {};
        ::GetWindowTextW(hWnd, sz, 1024);
        return sz;
    }

    static LRESULT CALLBACK CbtProc(int nCode, WPARAM wParam, LPARAM lParam)
    {
        CMessageBoxWatch* pWatch = Current();
        if (nCode == HCBT_ACTIVATE && pWatch)
        {
            const HWND hBox = reinterpret_cast<HWND>(wParam);
            wchar_t szClass[32] = {};
            ::GetClassNameW(hBox, szClass, 32);
            if (std::wstring(szClass) == L"#32770")
            {
                tagBOX box;
                box.strCaption = TextOf(hBox);
                // The message box's text is the static control 0xFFFF, its icon the static
                // 0x14 on Windows and 0x440 under Wine.
                box.strText = TextOf(::GetDlgItem(hBox, 0xFFFF));
                auto hIcon =
                    reinterpret_cast<HICON>(::SendDlgItemMessageW(hBox, 0x14, STM_GETICON, 0, 0));
                if (!hIcon)
                    hIcon = reinterpret_cast<HICON>(
                        ::SendDlgItemMessageW(hBox, 0x440, STM_GETICON, 0, 0));
                box.bErrorIcon = hIcon && hIcon == ::LoadIconW(nullptr, IDI_ERROR);
                box.bWarningIcon = hIcon && hIcon == ::LoadIconW(nullptr, IDI_WARNING);
                pWatch->m_boxes.push_back(box);
                ::PostMessageW(hBox, WM_COMMAND, IDOK, 0);
            }
        }
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }

    HHOOK m_hHook = nullptr;
    std::vector<tagBOX> m_boxes;
};

} // namespace Fixtures

#endif
