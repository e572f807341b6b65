// The desktop services the file list hands files to: a file opened with the desktop's default
// application, and the file manager showing a file selected in its folder. The list reaches
// them through IDesktopLauncher only, so that nothing is started where it is replaced.
#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class IDesktopLauncher
{
public:
    virtual ~IDesktopLauncher() = default;

    // Opens the URL with the desktop's default application for it (for a local file: the one
    // for its type); false when the desktop reported that it could not.
    virtual bool OpenUrl(const QUrl& url) = 0;
    // Asks the file manager to show the local file selected in its folder. onFailure runs,
    // perhaps later, when no file manager took the request.
    virtual void ShowItem(const QString& strPath, std::function<void()> onFailure) = 0;
};

class CDesktopLauncher : public IDesktopLauncher
{
public:
    // The file manager is looked for on the session bus, or on the named D-Bus connection.
    CDesktopLauncher() = default;
    explicit CDesktopLauncher(const QString& strConnectionName)
        : m_strConnectionName(strConnectionName)
    {
    }

    bool OpenUrl(const QUrl& url) override;
    // org.freedesktop.FileManager1.ShowItems, without waiting for the answer: a file manager
    // that has to be started first would otherwise hold up the window.
    void ShowItem(const QString& strPath, std::function<void()> onFailure) override;

private:
    QString m_strConnectionName;
};
