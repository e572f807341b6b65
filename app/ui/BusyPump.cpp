#include "app/ui/BusyPump.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMainWindow>

CBusyPump::CBusyPump(QObject* pParent) : QObject(pParent) {}

CBusyPump::~CBusyPump()
{
    End();
}

void CBusyPump::Begin()
{
    if (m_bActive)
        return;
    m_bActive = true;
    m_bEscape = false;
    m_bPumped = false;
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    qApp->installEventFilter(this);
}

void CBusyPump::End()
{
    if (!m_bActive)
        return;
    m_bActive = false;
    if (qApp)
    {
        qApp->removeEventFilter(this);
        QApplication::restoreOverrideCursor();
    }
}

bool CBusyPump::Poll()
{
    // Painting after every one of many fast steps would cost more than the steps themselves;
    // the first step still finds a key that was already waiting.
    const auto now = std::chrono::steady_clock::now();
    if (m_bPumped && now - m_lastPump < PUMP_INTERVAL)
        return false;
    m_bPumped = true;
    m_lastPump = now;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const bool bEscape = m_bEscape;
    m_bEscape = false;
    return bEscape;
}

bool CBusyPump::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    switch (pEvent->type())
    {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(pEvent)->key() == Qt::Key_Escape)
            m_bEscape = true;
        return true;
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::InputMethod:
        return true;
    case QEvent::Close:
        // Closing the main window would take the list away from the operation running on it.
        if (qobject_cast<QMainWindow*>(pWatched))
        {
            pEvent->ignore();
            return true;
        }
        return QObject::eventFilter(pWatched, pEvent);
    default:
        return QObject::eventFilter(pWatched, pEvent);
    }
}
