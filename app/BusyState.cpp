#include "app/BusyState.h"

#include "res/StringTable.h"

void CBusyState::BeginBusy()
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

void CBusyState::EndBusy()
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

BOOL CBusyState::IsCancelRequested()
{
    if (m_bBusy && !m_bCancelRequested && m_pHost && m_pHost->PollEscape())
        m_bCancelRequested = TRUE;
    return m_bCancelRequested;
}

void CBusyState::SetStatusText(const CString& strText)
{
    if (m_pHost)
        m_pHost->SetStatusText(strText);
}
