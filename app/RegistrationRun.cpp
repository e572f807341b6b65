#include "app/RegistrationRun.h"

#ifdef _WIN32

#include "app/AppCommandLineInfo.h"
#include "app/ShellRegistration.h"
#include "app/Win32ShellRegistry.h"

#include <windows.h>

namespace RegistrationRun
{

BOOL IsOtherInstanceRunning()
{
    return ::FindWindowW(reinterpret_cast<const wchar_t*>(WINDOW_CLASS), nullptr) != nullptr;
}

BOOL Run(int nCommand)
{
    CWin32ShellRegistry registry;
    CShellRegistration registration(registry, IsOtherInstanceRunning());
    switch (nCommand)
    {
    case CMD_ENABLE_SHELL:
    case CMD_INSTALL:
        return registration.RegisterContextMenuServer(TRUE);
    case CMD_DISABLE_SHELL:
        return registration.RegisterContextMenuServer(FALSE);
    case CMD_UNINSTALL:
        return registration.UnregisterContextMenuServer();
    default:
        return FALSE;
    }
}

} // namespace RegistrationRun

#endif
