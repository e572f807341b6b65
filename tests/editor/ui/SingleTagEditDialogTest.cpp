// The "Tags" dialog for one file, driven as a person would: fields, the frame list, the menus,
// the keyboard, and what OK writes to the file on disk.
#include "editor/ui/SingleTagEditDialog.h"
#include "browser/ui/NotifyVSListBox.h"
#include "browser/ui/QtString.h"
#include "editor/ui/BalloonTip.h"
#include "fixtures/FileBytes.h"
#include "fixtures/Mp3Builder.h"
#include "fixtures/TempDir.h"
#include "res/StringTable.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/frames/CommentsFrame.h"
#include "tags/id3v2/frames/PopularimeterFrame.h"
#include "tags/id3v2/frames/PrivateFrame.h"
#include "tags/id3v2/frames/TextFrame.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <filesystem>
#include <functional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Fixtures;
using namespace Tags;
using namespace Tags::ID3v2Tag;

namespace
{

std::unique_ptr<CTextFrame> Text(const char* szID, const CString& strValue)
{
    auto pFrame = std::make_unique<CTextFrame>(szID, 4);
    pFrame->SetValues({strValue});
    return pFrame;
}

// A file with an ID3v1 tag (title, genre Rock, track 5) and a 2.3 tag with a title, an artist,
// a comment and a rating.
void WriteTaggedFile(const CString& strPath, const CString& strV2Title = u"Song")
{
    CMp3Builder builder;
    builder.AddFrames(CMp3Builder::FrameSpec(), 8);
    WriteFileBytes(std::filesystem::path(strPath.ToUtf8()), builder.Build());
    CMpegFile file(strPath, FALSE);
    ID3v1Tag::CID3v1* pV1 = file.GetID3v1(TRUE);
    pV1->SetTitle(u"Old title");
    pV1->m_nGenre = 17;
    pV1->m_nTrack = 5;
    CID3v2* pV2 = file.GetID3v2(TRUE);
    pV2->m_pHeader->m_nVersion = 3;
    pV2->AddTail(Text("TIT2", strV2Title));
    pV2->AddTail(Text("TPE1", u"Singer"));
    auto pComment = std::make_unique<CCommentsFrame>();
    pComment->m_strText = u"Nice";
    pV2->AddTail(std::move(pComment));
    auto pRating = std::make_unique<CPopularimeterFrame>();
    pRating->m_nRating = 200;
    pV2->AddTail(std::move(pRating));
    QVERIFY(file.SaveTags(TAG_ID3V1 | TAG_ID3V2));
}

tagTAGOPTIONS Options(BOOL bWriteID3v1 = TRUE, BOOL bWriteID3v2 = TRUE)
{
    tagTAGOPTIONS options;
    options.bWriteID3v1 = bWriteID3v1;
    options.bWriteID3v2 = bWriteID3v2;
    return options;
}

template <class T> T* Child(QWidget* pParent, const char* pszName)
{
    return pParent->findChild<T*>(QString::fromLatin1(pszName));
}

// Runs the dialog; body runs inside it, active, and ends it (OK or Cancel); a body that stops
// early (a failed check) leaves it to be cancelled.
int Run(CSingleTagEditDialog& dialog, const std::function<void()>& body)
{
    QTimer::singleShot(
        0, &dialog,
        [&dialog, body]
        {
            const std::unique_ptr<CSingleTagEditDialog, void (*)(CSingleTagEditDialog*)> end(
                &dialog,
                [](CSingleTagEditDialog* p)
                {
                    if (p->isVisible())
                        p->reject();
                });
            dialog.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            body();
        });
    return dialog.DoModal();
}

// Closes the next modal message box (or other modal window) and keeps its text.
void CatchModal(QString* pText)
{
    QTimer::singleShot(0,
                       [pText]
                       {
                           QWidget* pModal = QApplication::activeModalWidget();
                           if (auto* pBox = qobject_cast<QMessageBox*>(pModal))
                               *pText = pBox->text();
                           if (pModal)
                               pModal->close();
                       });
}

QStringList RowTexts(const QTreeWidget& list)
{
    QStringList arr;
    for (int nGroup = 0; nGroup < list.topLevelItemCount(); ++nGroup)
    {
        const QTreeWidgetItem* pGroup = list.topLevelItem(nGroup);
        if (pGroup->isHidden())
            continue;
        arr.append(QStringLiteral("[") + pGroup->text(0) + QStringLiteral("]"));
        for (int n = 0; n < pGroup->childCount(); ++n)
            arr.append(pGroup->child(n)->text(0) + QStringLiteral("=") + pGroup->child(n)->text(1));
    }
    return arr;
}

} // namespace

class SingleTagEditDialogTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTempDir> m_pDir;
    CString m_strPath;

private slots:
    void initTestCase()
    {
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        if (!runtime.isEmpty())
        {
            std::filesystem::create_directories(runtime.toStdString());
            ::chmod(runtime.constData(), 0700);
        }
    }

    void init()
    {
        m_pDir = std::make_unique<CTempDir>();
        m_strPath = m_pDir->StrPathOf("song.mp3");
        WriteTaggedFile(m_strPath);
    }

    void cleanup() { m_pDir.reset(); }

    void showsTheFieldsAndTheFramesByGroupAndCancelWritesNothing()
    {
        const Bytes before = ReadFileBytes(m_pDir->PathOf("song.mp3"));
        CSingleTagEditDialog dialog;
        dialog.SetFilePath(m_strPath);
        dialog.SetTagOptions([] { return Options(); });
        const int nResult = Run(
            dialog,
            [&]
            {
                QCOMPARE(dialog.windowTitle(), QStringLiteral("Tags"));
                QCOMPARE(Child<QLineEdit>(&dialog, "1010")->text(), QStringLiteral("Old title"));
                QCOMPARE(Child<QComboBox>(&dialog, "1034")->currentText(), QStringLiteral("Rock"));
                QCOMPARE(Child<QLineEdit>(&dialog, "1033")->text(), QStringLiteral("5"));
                QCOMPARE(
                    RowTexts(*dialog.GetFrameList()),
                    (QStringList{"[Basic Informations]", "Title=Song", "Artist=Singer",
                                 "Comments=Nice", "[Rating]",
                                 "Popularimeter=" +
                                     dialog.GetFrameList()->topLevelItem(3)->child(0)->text(1)}));
                QVERIFY(!Child<QPushButton>(&dialog, "4")->isEnabled());
                QVERIFY(!Child<QPushButton>(&dialog, "7")->isEnabled());
                dialog.GetFrameList()->setCurrentItem(
                    dialog.GetFrameList()->topLevelItem(0)->child(1));
                QVERIFY(Child<QPushButton>(&dialog, "4")->isEnabled());
                QVERIFY(Child<QPushButton>(&dialog, "5")->isEnabled());
                Child<QLineEdit>(&dialog, "1010")->setText(QStringLiteral("Changed"));
                QTest::keyClick(&dialog, Qt::Key_Escape);
            });
        QCOMPARE(nResult, int(QDialog::Rejected));
        QCOMPARE(ReadFileBytes(m_pDir->PathOf("song.mp3")), before);
    }

    void theAddMenuAndTheFieldMenus()
    {
        CSingleTagEditDialog dialog;
        dialog.SetFilePath(m_strPath);
        Run(dialog,
            [&]
            {
                QMenu* pMenu = dialog.GetAddMenu();
                const QList<QAction*> arrTop = pMenu->actions();
                QCOMPARE(arrTop.size(), 19);
                QCOMPARE(std::count_if(arrTop.begin(), arrTop.end(),
                                       [](QAction* p) { return p->isSeparator(); }),
                         4);
                QVERIFY(arrTop[17]->isSeparator());
                QCOMPARE(arrTop[18]->text(), QStringLiteral("All"));
                QCOMPARE(arrTop[18]->menu()->actions().size(), 65);
                QCOMPARE(arrTop[0]->text(), QStringLiteral("Title"));
                // Alt+A opens it from the keyboard; Esc closes it again.
                bool bShown = false;
                QTimer::singleShot(300,
                                   [&bShown, pMenu]
                                   {
                                       bShown = pMenu->isVisible();
                                       QTest::keyClick(pMenu, Qt::Key_Escape);
                                   });
                QTest::keyClick(&dialog, Qt::Key_A, Qt::AltModifier);
                QTRY_VERIFY(bShown);
                QTRY_VERIFY(!pMenu->isVisible());
                // Every field's menu: Copy from ID3v2, a separator, &Keep (disabled here).
                QMenu* pField = dialog.GetFieldButton(FIELD_ALBUM)->menu();
                QCOMPARE(pField->actions().size(), 3);
                QCOMPARE(pField->actions()[0]->text(), QStringLiteral("Copy from ID3v2"));
                QVERIFY(!pField->actions()[2]->isEnabled());
                dialog.reject();
            });
    }

    void theTrackCheck()
    {
        // Refused: the balloon tip, the focus on Track, the dialog stays open.
        for (const char* pszTrack : {"256", "-1", "999"})
        {
            CSingleTagEditDialog dialog;
            dialog.SetFilePath(m_strPath);
            dialog.SetTagOptions([] { return Options(); });
            Run(dialog,
                [&]
                {
                    QLineEdit* pTrack = Child<QLineEdit>(&dialog, "1033");
                    pTrack->setText(QString::fromLatin1(pszTrack));
                    QTest::mouseClick(Child<QPushButton>(&dialog, "1"), Qt::LeftButton);
                    QVERIFY(dialog.isVisible());
                    auto* pTip = dialog.findChild<CBalloonTip*>(QStringLiteral("BalloonTip"));
                    QVERIFY(pTip);
                    QCOMPARE(pTip->GetTitle(), QStringLiteral("Invalid value"));
                    QCOMPARE(pTip->GetText(),
                             ToQString(Res::LoadResourceString(Res::IDS_TRACK_RANGE)));
                    QCOMPARE(QApplication::focusWidget(), pTrack);
                    dialog.reject();
                });
        }
        // Accepted and written: 0, 255 and an empty text (no track).
        for (const auto& [pszTrack, nStored] : {std::pair{"0", 0}, {"255", 255}, {"", 0}})
        {
            CSingleTagEditDialog dialog;
            dialog.SetFilePath(m_strPath);
            dialog.SetTagOptions([] { return Options(); });
            const int nResult = Run(dialog,
                                    [&]
                                    {
                                        QLineEdit* pTrack = Child<QLineEdit>(&dialog, "1033");
                                        pTrack->setText(QString::fromLatin1(pszTrack));
                                        // Return in a field presses OK.
                                        QTest::keyClick(pTrack, Qt::Key_Return);
                                    });
            QCOMPARE(nResult, int(QDialog::Accepted));
            CMpegFile file(m_strPath, FALSE);
            QCOMPARE(file.GetID3v1(FALSE)->m_nTrack, nStored);
        }
    }

    void copyFromID3v2()
    {
        WriteTaggedFile(m_strPath, CString(u'x', 40));
        {
            CMpegFile file(m_strPath, FALSE);
            file.GetID3v2(FALSE)->AddTail(Text("TCON", u"Not a genre of the table"));
            QVERIFY(file.SaveTags(TAG_ID3V2));
        }
        CSingleTagEditDialog dialog;
        dialog.SetFilePath(m_strPath);
        Run(dialog,
            [&]
            {
                Child<QLineEdit>(&dialog, "1029")->setText(QStringLiteral("Typed album"));
                dialog.GetFieldButton(FIELD_TITLE)->menu()->actions()[0]->trigger();
                QCOMPARE(Child<QLineEdit>(&dialog, "1010")->text(), QString(30, QLatin1Char('x')));
                dialog.GetFieldButton(FIELD_GENRE)->menu()->actions()[0]->trigger();
                QCOMPARE(Child<QComboBox>(&dialog, "1034")->currentIndex(), -1);
                // The other fields keep what was typed.
                QCOMPARE(Child<QLineEdit>(&dialog, "1029")->text(), QStringLiteral("Typed album"));
                dialog.reject();
            });
    }

    void removeByKeyboardAndSave()
    {
        CSingleTagEditDialog dialog;
        dialog.SetFilePath(m_strPath);
        dialog.SetTagOptions([] { return Options(); });
        const int nResult =
            Run(dialog,
                [&]
                {
                    QTreeWidget* pList = dialog.GetFrameList();
                    pList->setFocus();
                    dialog.GetFrameList()->setCurrentItem(pList->topLevelItem(0)->child(1));
                    QTest::keyClick(pList, Qt::Key_Delete);
                    // The row below takes the selection.
                    QCOMPARE(pList->currentItem()->text(0), QStringLiteral("Comments"));
                    QCOMPARE(pList->topLevelItem(0)->childCount(), 2);
                    QTest::mouseClick(Child<QPushButton>(&dialog, "1"), Qt::LeftButton);
                });
        QCOMPARE(nResult, int(QDialog::Accepted));
        CMpegFile file(m_strPath, FALSE);
        CID3v2* pTag = file.GetID3v2(FALSE);
        QVERIFY(pTag);
        QCOMPARE(pTag->m_frames.size(), size_t(3));
        QCOMPARE(ToQString(pTag->GetArtist()), QString());
        QCOMPARE(ToQString(pTag->GetTitle()), QStringLiteral("Song"));
    }

    void addEditAndSaveThroughTheFrameDialogs()
    {
        {
            CMpegFile file(m_strPath, FALSE);
            file.GetID3v2(FALSE)->AddTail(std::make_unique<CPrivateFrame>());
            QVERIFY(file.SaveTags(TAG_ID3V2));
        }
        CSingleTagEditDialog dialog;
        dialog.SetFilePath(m_strPath);
        dialog.SetTagOptions([] { return Options(); });
        // Each frame dialog, when it comes up, gets its values and OK.
        const auto answerNext = [](const std::function<void(QWidget*)>& fill)
        {
            QTimer::singleShot(0,
                               [fill]
                               {
                                   QWidget* pModal = QApplication::activeModalWidget();
                                   QVERIFY(pModal);
                                   fill(pModal);
                                   Child<QPushButton>(pModal, "1")->click();
                               });
        };
        const int nResult =
            Run(dialog,
                [&]
                {
                    QTreeWidget* pList = dialog.GetFrameList();
                    // Add a comment from the Add menu.
                    answerNext(
                        [](QWidget* pFrameDialog)
                        {
                            Child<QLineEdit>(pFrameDialog, "1013")->setText(QStringLiteral("Note"));
                            auto* pText = Child<QPlainTextEdit>(pFrameDialog, "1018");
                            QTest::keyClicks(pText, QStringLiteral("Two"));
                            QTest::keyClick(pText, Qt::Key_Return);
                            QTest::keyClicks(pText, QStringLiteral("lines"));
                        });
                    dialog.GetAddMenu()->actions()[6]->trigger();
                    QCOMPARE(pList->currentItem()->text(1), QStringLiteral("Two\nlines"));
                    // A rating from the Popularimeter entry.
                    answerNext(
                        [](QWidget* pFrameDialog)
                        {
                            Child<QSlider>(pFrameDialog, "1021")->setValue(128);
                            Child<QLineEdit>(pFrameDialog, "1022")->setText(QStringLiteral("7"));
                        });
                    dialog.GetAddMenu()->actions()[12]->trigger();
                    // Enter on the title row edits it.
                    pList->setFocus();
                    pList->setCurrentItem(pList->topLevelItem(0)->child(0));
                    answerNext(
                        [](QWidget* pFrameDialog) {
                            Child<CNotifyVSListBox>(pFrameDialog, "1011")
                                ->SetItemText(0, QStringLiteral("Renamed"));
                        });
                    QTest::keyClick(pList, Qt::Key_Return);
                    QCOMPARE(pList->topLevelItem(0)->child(0)->text(1), QStringLiteral("Renamed"));
                    // A frame without a dialog can only be removed.
                    QString strMessage;
                    pList->setCurrentItem(pList->topLevelItem(5)->child(0));
                    CatchModal(&strMessage);
                    QTest::keyClick(pList, Qt::Key_F2);
                    QCOMPARE(strMessage,
                             ToQString(Res::LoadResourceString(Res::IDS_UNSUPPORTED_FIELD)));
                    QTest::mouseClick(Child<QPushButton>(&dialog, "1"), Qt::LeftButton);
                });
        QCOMPARE(nResult, int(QDialog::Accepted));
        CMpegFile file(m_strPath, FALSE);
        CID3v2* pTag = file.GetID3v2(FALSE);
        QVERIFY(pTag);
        QCOMPARE(ToQString(pTag->GetTitle()), QStringLiteral("Renamed"));
        int nComments = 0;
        const CPopularimeterFrame* pAddedRating = nullptr;
        for (const auto& pFrame : pTag->m_frames)
        {
            if (auto* pComment = dynamic_cast<const CCommentsFrame*>(pFrame.get()))
                nComments += pComment->m_strDescription == u"Note" ? 1 : 0;
            if (auto* pRating = dynamic_cast<const CPopularimeterFrame*>(pFrame.get()))
                pAddedRating = pRating->m_nCounter == 7 ? pRating : pAddedRating;
        }
        QCOMPARE(nComments, 1);
        QVERIFY(pAddedRating);
        QCOMPARE(pAddedRating->m_nRating, 128);
    }

    void aFileHeldByAnotherProgramStaysOpenWithTheMessage()
    {
        const int fd = ::open(m_strPath.ToUtf8().c_str(), O_RDONLY);
        QVERIFY(fd >= 0);
        QCOMPARE(::flock(fd, LOCK_SH), 0);
        const Bytes before = ReadFileBytes(m_pDir->PathOf("song.mp3"));
        CSingleTagEditDialog dialog;
        dialog.SetFilePath(m_strPath);
        dialog.SetTagOptions([] { return Options(); });
        QString strMessage;
        const int nResult =
            Run(dialog,
                [&]
                {
                    Child<QLineEdit>(&dialog, "1010")->setText(QStringLiteral("New"));
                    CatchModal(&strMessage);
                    QTest::mouseClick(Child<QPushButton>(&dialog, "1"), Qt::LeftButton);
                    QVERIFY(dialog.isVisible());
                    QCOMPARE(Child<QLineEdit>(&dialog, "1010")->text(), QStringLiteral("New"));
                    dialog.reject();
                });
        ::close(fd);
        QCOMPARE(nResult, int(QDialog::Rejected));
        QCOMPARE(strMessage,
                 ToQString(Res::FormatResourceString(Res::IDS_FAILED_WRITING_FILE, m_strPath)));
        QCOMPARE(ReadFileBytes(m_pDir->PathOf("song.mp3")), before);
    }

    void aFileThatVanishedIsReported()
    {
        std::filesystem::remove(m_pDir->PathOf("song.mp3"));
        CSingleTagEditDialog dialog;
        dialog.SetFilePath(m_strPath);
        QString strMessage;
        CatchModal(&strMessage);
        QCOMPARE(dialog.DoModal(), int(QDialog::Rejected));
        QCOMPARE(strMessage,
                 ToQString(Res::FormatResourceString(Res::IDS_FAILED_READING_FILE, m_strPath)));
        QVERIFY(!std::filesystem::exists(m_pDir->PathOf("song.mp3")));
    }
};

QTEST_MAIN(SingleTagEditDialogTest)
#include "SingleTagEditDialogTest.moc"
