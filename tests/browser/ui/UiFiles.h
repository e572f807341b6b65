// Real MP3 files with ID3v1 tags for the window tests, and a busy host that stands in for the
// main window's status bar and busy pump.
#pragma once

#include "app/BusyHost.h"
#include "base/String.h"
#include "fixtures/TempDir.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

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

} // namespace UiFiles
