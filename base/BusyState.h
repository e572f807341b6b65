// The busy state of long operations as the logic sees it: begin and end it, poll for the cancel
// request once per step, and show a progress text. The application implements it with the
// window around it (wait cursor, status bar, Esc); the logic never knows that window.
#pragma once

#include "base/String.h"
#include "base/Types.h"

class IBusyState
{
public:
    virtual ~IBusyState() = default;

    // Begins the state; it does not nest, so a second BeginBusy while busy changes nothing.
    virtual void BeginBusy() = 0;
    // Ends the state: the first EndBusy ends it.
    virtual void EndBusy() = 0;
    // Polls for Esc while busy; TRUE once Esc was pressed during the current or the last busy
    // operation.
    virtual BOOL IsCancelRequested() = 0;
    virtual BOOL IsBusy() const = 0;
    // The progress text of the status bar.
    virtual void SetStatusText(const CString& strText) = 0;
};

// The busy state of one operation, restored on every way out. The state does not nest, so an
// operation called inside another bulk operation leaves that operation's state alone: it
// begins and ends the state only when it was not busy yet.
class CBusyScope
{
public:
    explicit CBusyScope(IBusyState& busy) : m_busy(busy), m_bBegun(!busy.IsBusy())
    {
        if (m_bBegun)
            m_busy.BeginBusy();
    }
    ~CBusyScope()
    {
        if (m_bBegun)
            m_busy.EndBusy();
    }
    CBusyScope(const CBusyScope&) = delete;
    CBusyScope& operator=(const CBusyScope&) = delete;

private:
    IBusyState& m_busy;
    bool m_bBegun;
};
