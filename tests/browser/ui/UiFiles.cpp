#include "UiFiles.h"

#include "fixtures/FileBytes.h"
#include "fixtures/Mp3Builder.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

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

CModalHandler::CModalHandler(std::function<void(QWidget*)> fn) : m_fn(std::move(fn))
{
    QTimer::singleShot(5, this, &CModalHandler::Check);
}

void CModalHandler::Check()
{
    // A timer is not delivered again while its own handler runs; a fresh one is, also inside
    // the event loop of a dialog that fn opened.
    QTimer::singleShot(5, this, &CModalHandler::Check);
    QWidget* pModal = QApplication::activeModalWidget();
    if (!pModal || !pModal->isVisible())
        return;
    m_handled.removeAll(QPointer<QWidget>());
    for (const QPointer<QWidget>& p : m_handled)
    {
        if (p == pModal)
            return;
    }
    m_handled.append(pModal);
    ++m_nCount;
    m_fn(pModal);
}

void ChooseFile(QWidget* pFileDialog, const QString& strPath)
{
    auto* pDialog = qobject_cast<QFileDialog*>(pFileDialog);
    auto* pEdit = pFileDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* pButtons = pFileDialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    if (!pDialog || !pEdit || !pButtons)
        return;
    // The folder is gone to as a user browses there; the name is typed (the name field takes
    // a typed path apart as it goes, so a whole path cannot be typed into it).
    const QFileInfo info(strPath);
    pDialog->setDirectory(info.absolutePath());
    pEdit->setFocus();
    pEdit->selectAll();
    QTest::keyClicks(pEdit, info.fileName());
    // The completion list that typing opened would take the click on the button.
    if (QCompleter* pCompleter = pEdit->completer())
        pCompleter->popup()->hide();
    for (QAbstractButton* pButton : pButtons->buttons())
    {
        if (pButtons->buttonRole(pButton) == QDialogButtonBox::AcceptRole)
        {
            QTest::mouseClick(pButton, Qt::LeftButton);
            return;
        }
    }
}

bool CRecordingLauncher::OpenUrl(const QUrl& url)
{
    m_arrOpened.append(url);
    return m_bOpenSucceeds;
}

void CRecordingLauncher::ShowItem(const QString& strPath, std::function<void()> onFailure)
{
    m_arrShown.append(strPath);
    if (!m_bFileManager && onFailure)
        onFailure();
}

} // namespace UiFiles
