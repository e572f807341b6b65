// What the busy state needs from the window around it: the status bar, the wait cursor and the
// input pump. The main window provides it; tests provide their own.
#pragma once

#include "base/String.h"

class IBusyHost
{
public:
    virtual ~IBusyHost() = default;

    // The status bar's layout: busy (TRUE) or idle.
    virtual void SetBusyMode(BOOL bBusy) = 0;
    // The message pane of the status bar, repainted at once.
    virtual void SetStatusText(const CString& strText) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // Lets pending events run (painting; user input is held back while busy) and tells whether
    // an Esc key press arrived since the last call.
    virtual BOOL PollEscape() = 0;
};
