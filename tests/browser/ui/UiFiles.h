// Real MP3 files with ID3v1 tags for the window tests, and a busy host that stands in for the
// main window's status bar and busy pump.
#pragma once

#include "app/BusyHost.h"
#include "base/String.h"
#include "browser/ui/DesktopLauncher.h"
#include "fixtures/TempDir.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <string>

namespace UiFiles
{

struct tagTAGS
{
    CString strTitle;
    CString strArtist;
    CString strAlbum;
    CString strYear;
    int nTrack = 0;
};

// An MP3 file of nFrames MPEG frames with an ID3v1 tag saved through the tag library; FALSE
// when it could not be made.
bool WriteMp3(const Fixtures::CTempDir& dir, const std::string& strName, const tagTAGS& tags,
              unsigned nFrames = 8);
// The same without a tag.
bool WriteUntagged(const Fixtures::CTempDir& dir, const std::string& strName);

// Qt Test needs a runtime folder of mode 0700 for the offscreen platform.
void PrepareRuntimeDir();

// The status texts and busy layouts the list asked for; an Esc key press sent to pTarget once
// the n-th "Reading file" text was shown, picked up by the next poll as the busy pump does.
class CTestBusyHost : public QObject, public IBusyHost
{
public:
    void SetBusyMode(BOOL bBusy) override;
    void SetStatusText(const CString& strText) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    BOOL PollEscape() override;

    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

    void PressEscapeAfter(int nFiles, QWidget* pTarget);

    QStringList m_arrStatus;
    int m_nBusyModes = 0;
    int m_nReading = 0;
    int m_nPolls = 0;

private:
    int m_nEscapeAfter = -1;
    QPointer<QWidget> m_pTarget;
    bool m_bEscape = false;
};

// Hands every modal widget to fn once, as soon as it is the active modal widget: checked every
// few milliseconds, so a dialog opened from inside fn (a question over a file dialog) is handed
// over as well while fn still waits for it. Stops when the object goes away.
class CModalHandler : public QObject
{
public:
    explicit CModalHandler(std::function<void(QWidget*)> fn);
    // How many modal widgets were handed over.
    int GetCount() const { return m_nCount; }

private:
    void Check();

    std::function<void(QWidget*)> m_fn;
    QList<QPointer<QWidget>> m_handled;
    int m_nCount = 0;
};

// The file name typed into a file dialog's name field, then its accept button ("Open" or
// "Save") pressed.
void ChooseFile(QWidget* pFileDialog, const QString& strPath);

// Stands in for the desktop: records what would have been opened or shown.
class CRecordingLauncher : public IDesktopLauncher
{
public:
    bool OpenUrl(const QUrl& url) override;
    void ShowItem(const QString& strPath, std::function<void()> onFailure) override;

    QList<QUrl> m_arrOpened;
    QStringList m_arrShown;
    // What the desktop answers: whether an application opened the URL, and whether a file
    // manager took the request.
    bool m_bOpenSucceeds = true;
    bool m_bFileManager = true;
};

} // namespace UiFiles
