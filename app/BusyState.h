// The busy state of long operations: wait cursor, progress texts in the status bar, and Esc
// polled once per step. It does not nest: the first EndBusy ends it. Kept in the header so the
// browser and rename logic can use it without linking the application library.
#pragma once

#include "app/BusyHost.h"
#include "res/StringTable.h"

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

inline void CBusyState::BeginBusy()
{
    if (m_bBusy)
        return;
    if (m_pHost)
        m_pHost->BeginWaitCursor();
    m_bCancelRequested = FALSE;
    m_bBusy = TRUE;
    if (m_pHost)
    {
        m_pHost->SetBusyMode(TRUE);
        m_pHost->SetStatusText(Res::LoadResourceString(Res::IDS_PLEASE_WAIT));
    }
}

inline void CBusyState::EndBusy()
{
    if (!m_bBusy)
        return;
    if (m_pHost)
        m_pHost->EndWaitCursor();
    m_bBusy = FALSE;
    if (m_pHost)
    {
        m_pHost->SetBusyMode(FALSE);
        m_pHost->SetStatusText(Res::LoadResourceString(Res::IDS_READY));
    }
}

inline BOOL CBusyState::IsCancelRequested()
{
    if (m_bBusy && !m_bCancelRequested && m_pHost && m_pHost->PollEscape())
        m_bCancelRequested = TRUE;
    return m_bCancelRequested;
}

inline void CBusyState::SetStatusText(const CString& strText)
{
    if (m_pHost)
        m_pHost->SetStatusText(strText);
}
