// Turns SIGTERM and SIGINT into a call on the event loop, so the program ends as if its window
// were closed (settings saved, temporary files removed).
#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

class CTermSignal : public QObject
{
    Q_OBJECT

public:
    // onSignal runs on the event loop after a signal arrived. One object at a time.
    explicit CTermSignal(std::function<void()> onSignal, QObject* pParent = nullptr);
    ~CTermSignal() override;

private:
    static void Handler(int nSignal);

    std::function<void()> m_onSignal;
    std::unique_ptr<QSocketNotifier> m_pNotifier;
    int m_fds[2] = {-1, -1};
};
