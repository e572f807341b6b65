// One link of the command route (file list, then main window, then application): a target
// either handles a command or leaves it to the next one, and likewise decides a command's state.
#pragma once

#include "base/Types.h"

// The state of a command's menu item and button, as a target sets it.
struct tagCMDSTATE
{
    BOOL bEnabled = TRUE;
    BOOL bChecked = FALSE;
};

class ICommandTarget
{
public:
    virtual ~ICommandTarget() = default;

    // Carries out the command; FALSE when this target does not handle it.
    virtual BOOL OnCommand(UINT nID) = 0;
    // Sets the command's state; FALSE when this target does not handle it.
    virtual BOOL OnUpdateCommand(UINT nID, tagCMDSTATE& state) = 0;
};
