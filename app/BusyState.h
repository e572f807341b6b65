// The application's busy state: wait cursor, progress texts in the status bar, and Esc polled
// once per step, through the window that hosts it. It does not nest: the first EndBusy ends it.
#pragma once

#include "app/BusyHost.h"
#include "base/BusyState.h"

class CBusyState : public IBusyState
{
public:
    // pHost may be null (no window): the state and its cancel flag still work.
    explicit CBusyState(IBusyHost* pHost = nullptr) : m_pHost(pHost) {}

    void SetHost(IBusyHost* pHost) { m_pHost = pHost; }

    void BeginBusy() override;
    void EndBusy() override;
    BOOL IsCancelRequested() override;
    BOOL IsBusy() const override { return m_bBusy; }
    // The message pane of the status bar (nothing without a window).
    void SetStatusText(const CString& strText) override;

private:
    IBusyHost* m_pHost = nullptr;
    BOOL m_bBusy = FALSE;
    BOOL m_bCancelRequested = FALSE;
};
