#include "UiFiles.h"

#include "fixtures/FileBytes.h"
#include "fixtures/Mp3Builder.h"
#include "tags/ID3v1.h"
#include "tags/MpegFile.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTest>

#include <filesystem>
#include <sys/stat.h>

namespace UiFiles
{

bool WriteUntagged(const Fixtures::CTempDir& dir, const std::string& strName)
{
    Fixtures::CMp3Builder builder;
    builder.AddXingFrame(Fixtures::CMp3Builder::FrameSpec());
    builder.AddFrames(Fixtures::CMp3Builder::FrameSpec(), 8);
    builder.WriteTo(dir.PathOf(strName));
    return std::filesystem::exists(dir.PathOf(strName));
}

bool WriteMp3(const Fixtures::CTempDir& dir, const std::string& strName, const tagTAGS& tags,
              unsigned nFrames)
{
    Fixtures::CMp3Builder builder;
    builder.AddXingFrame(Fixtures::CMp3Builder::FrameSpec());
    builder.AddFrames(Fixtures::CMp3Builder::FrameSpec(), nFrames);
    builder.WriteTo(dir.PathOf(strName));
    Tags::CMpegFile file(dir.StrPathOf(strName), FALSE);
    if (file.m_hFile == INVALID_HANDLE_VALUE)
        return false;
    Tags::ID3v1Tag::CID3v1* pTag = file.GetID3v1(TRUE);
    pTag->SetTitle(tags.strTitle);
    pTag->SetArtist(tags.strArtist);
    pTag->SetAlbum(tags.strAlbum);
    pTag->SetYear(tags.strYear);
    pTag->m_nTrack = tags.nTrack;
    return file.SaveTags(Tags::TAG_ID3V1) != FALSE;
}

void PrepareRuntimeDir()
{
    const QByteArray dir = qgetenv("XDG_RUNTIME_DIR");
    if (dir.isEmpty())
        return;
    std::filesystem::create_directories(dir.constData());
    ::chmod(dir.constData(), 0700);
}

void CTestBusyHost::SetBusyMode(BOOL bBusy)
{
    if (bBusy)
        ++m_nBusyModes;
}

void CTestBusyHost::SetStatusText(const CString& strText)
{
    const QString str = QString::fromStdString(strText.ToUtf8());
    m_arrStatus.append(str);
    if (str.startsWith(QStringLiteral("Reading file")))
    {
        ++m_nReading;
        if (m_nReading == m_nEscapeAfter && m_pTarget)
            QCoreApplication::postEvent(
                m_pTarget, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    }
}

BOOL CTestBusyHost::PollEscape()
{
    ++m_nPolls;
    QCoreApplication::processEvents();
    const bool bEscape = m_bEscape;
    m_bEscape = false;
    return bEscape ? TRUE : FALSE;
}

bool CTestBusyHost::eventFilter(QObject* pObject, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(pEvent)->key() == Qt::Key_Escape)
    {
        m_bEscape = true;
        return true;
    }
    return QObject::eventFilter(pObject, pEvent);
}

void CTestBusyHost::PressEscapeAfter(int nFiles, QWidget* pTarget)
{
    m_nEscapeAfter = nFiles;
    m_nReading = 0;
    m_bEscape = false;
    m_pTarget = pTarget;
    QCoreApplication::instance()->installEventFilter(this);
}

} // namespace UiFiles
