// The registration run: a start with one of the shell-integration switches does the switch's
// action and ends without a window. On Windows the action is the registration of the context
// menu with the real registry; Linux has its own desktop integration.
#pragma once

#include "base/Types.h"

namespace RegistrationRun
{

// The main window's class, by which one instance finds another.
inline constexpr char16_t WINDOW_CLASS[] = u"Corvell_Tagwright_WndClass";

#ifdef _WIN32

// Whether the main window of another instance exists.
BOOL IsOtherInstanceRunning();

// The action of a switch's command (CMD_ENABLE_SHELL to CMD_UNINSTALL): enabling and installing
// register the library with its handlers, disabling removes the handlers, uninstalling removes
// everything unless another instance runs. The registration's result; FALSE for any other
// command.
BOOL Run(int nCommand);

#endif

} // namespace RegistrationRun
