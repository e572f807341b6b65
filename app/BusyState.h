// The busy state of long operations: wait cursor, progress texts in the status bar, and Esc
// polled once per step. It does not nest: the first EndBusy ends it.
#pragma once

#include "app/BusyHost.h"

class CBusyState
{
public:
    // pHost may be null (no window): the state and its cancel flag still work.
    explicit CBusyState(IBusyHost* pHost = nullptr) : m_pHost(pHost) {}

    void SetHost(IBusyHost* pHost) { m_pHost = pHost; }

    void BeginBusy();
    void EndBusy();
    // Polls for Esc while busy and no cancel is pending; TRUE once Esc was pressed during the
    // current or the last busy operation.
    BOOL IsCancelRequested();
    BOOL IsBusy() const { return m_bBusy; }

    // The message pane of the status bar (nothing without a window).
    void SetStatusText(const CString& strText);

private:
    IBusyHost* m_pHost = nullptr;
    BOOL m_bBusy = FALSE;
    BOOL m_bCancelRequested = FALSE;
};
