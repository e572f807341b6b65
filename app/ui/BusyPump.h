// The input side of the busy state. While busy the whole application shows the wait cursor and
// an application-wide filter holds user input back (it is dropped, as the operation does not
// read it), except that an Esc key press is remembered as the cancel request. Each step of the
// operation pumps the queue, so painting and other non-input events keep running.
#pragma once

#include <QObject>

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

    // Lets pending events run; TRUE when an Esc key press arrived since the last call.
    bool Poll();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    bool m_bActive = false;
    bool m_bEscape = false;
};
