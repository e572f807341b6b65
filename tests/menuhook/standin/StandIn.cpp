// A stand-in for Tagwright.exe beside the context-menu library in the tests: it writes the
// command line it was started with, and each argument as the system splits it, to the file
// named by TW_STANDIN_RECORD (UTF-16, one per line), then sets the event TW_STANDIN_EVENT.
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace
{

std::wstring Environment(const wchar_t* pszName)
{
    wchar_t sz[MAX_PATH * 2] = {};
    const DWORD n = ::GetEnvironmentVariableW(pszName, sz, MAX_PATH * 2);
    return n > 0 && n < MAX_PATH * 2 ? std::wstring(sz, n) : std::wstring();
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const std::wstring strRecord = Environment(L"TW_STANDIN_RECORD");
    const std::wstring strEvent = Environment(L"TW_STANDIN_EVENT");
    if (strRecord.empty() || strEvent.empty())
        return 2;
    std::wstring strText = ::GetCommandLineW();
    int nArgs = 0;
    if (wchar_t** ppszArgs = ::CommandLineToArgvW(::GetCommandLineW(), &nArgs))
    {
        for (int i = 1; i < nArgs; ++i)
            strText += L"\n" + std::wstring(ppszArgs[i]);
        ::LocalFree(ppszArgs);
    }
    const HANDLE hFile = ::CreateFileW(strRecord.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return 3;
    DWORD nWritten = 0;
    ::WriteFile(hFile, strText.data(), static_cast<DWORD>(strText.size() * sizeof(wchar_t)),
                &nWritten, nullptr);
    ::CloseHandle(hFile);
    if (const HANDLE hEvent = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, strEvent.c_str()))
    {
        ::SetEvent(hEvent);
        ::CloseHandle(hEvent);
    }
    return 0;
}
