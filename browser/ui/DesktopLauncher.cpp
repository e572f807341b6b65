#include "browser/ui/DesktopLauncher.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QStringList>

namespace
{

const char kFileManagerService[] = "org.freedesktop.FileManager1";
const char kFileManagerPath[] = "/org/freedesktop/FileManager1";
const char kFileManagerInterface[] = "org.freedesktop.FileManager1";

} // namespace

bool CDesktopLauncher::OpenUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

void CDesktopLauncher::ShowItem(const QString& strPath, std::function<void()> onFailure)
{
    const QDBusConnection bus = m_strConnectionName.isEmpty()
                                    ? QDBusConnection::sessionBus()
                                    : QDBusConnection(m_strConnectionName);
    if (!bus.isConnected() || !QCoreApplication::instance())
    {
        if (onFailure)
            onFailure();
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kFileManagerService), QString::fromLatin1(kFileManagerPath),
        QString::fromLatin1(kFileManagerInterface), QStringLiteral("ShowItems"));
    // The items as URIs, and no start-up notification id.
    call << QStringList(QUrl::fromLocalFile(strPath).toString(QUrl::FullyEncoded)) << QString();
    // The watcher belongs to the application until the answer came, so none is left at exit.
    auto* pWatcher = new QDBusPendingCallWatcher(bus.asyncCall(call), QCoreApplication::instance());
    QObject::connect(pWatcher, &QDBusPendingCallWatcher::finished, pWatcher,
                     [onFailure = std::move(onFailure)](QDBusPendingCallWatcher* p)
                     {
                         if (p->isError() && onFailure)
                             onFailure();
                         p->deleteLater();
                     });
}
