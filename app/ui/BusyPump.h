// The input side of the busy state. While busy the whole application shows the wait cursor and
// an application-wide filter holds user input back (it is dropped, as the operation does not
// read it), except that an Esc key press is remembered as the cancel request. Each step of the
// operation pumps the queue, so painting and other non-input events keep running; the queue
// runs at most every PUMP_INTERVAL, which keeps the window live at a small cost per step.
#pragma once

#include <QObject>

#include <chrono>

class CBusyPump : public QObject
{
    Q_OBJECT

public:
    explicit CBusyPump(QObject* pParent = nullptr);
    ~CBusyPump() override;

    // Wait cursor and input filter on (Begin) or off (End). They do not nest.
    void Begin();
    void End();
    bool IsActive() const { return m_bActive; }

    // Lets pending events run when the interval has passed since they last ran (always on the
    // first call after Begin); TRUE when an Esc key press arrived since the last call.
    bool Poll();

    static constexpr std::chrono::milliseconds PUMP_INTERVAL{20};

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    bool m_bActive = false;
    bool m_bEscape = false;
    bool m_bPumped = false;
    std::chrono::steady_clock::time_point m_lastPump;
};
