// The "Tags" dialog for several files, driven as a person would: the rows and fields it starts
// with, Add, Edit, Remove and Keep on the rows, the field menus, and what OK writes to each file.
#include "editor/ui/MultiTagEditDialog.h"
#include "base/BusyState.h"
#include "browser/DiagnosticMessages.h"
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
#include "tags/id3v2/frames/PrivateFrame.h"
#include "tags/id3v2/frames/TextFrame.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
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

// The application's busy state as far as the editor sees it: Esc "arrives" at a chosen poll.
class CTestBusy : public IBusyState
{
public:
    void BeginBusy() override
    {
        m_bBusy = TRUE;
        m_bCancel = FALSE;
        m_nPolls = 0;
    }
    void EndBusy() override { m_bBusy = FALSE; }
    BOOL IsCancelRequested() override
    {
        if (m_bBusy && ++m_nPolls == m_nEscAtPoll)
            m_bCancel = TRUE;
        return m_bCancel;
    }
    BOOL IsBusy() const override { return m_bBusy; }
    void SetStatusText(const CString& strText) override { m_texts.push_back(strText); }

    int m_nEscAtPoll = 0; // 0: never
    std::vector<CString> m_texts;

private:
    BOOL m_bBusy = FALSE;
    BOOL m_bCancel = FALSE;
    int m_nPolls = 0;
};

void AddText(CID3v2& tag, const char* szID, const CString& strValue)
{
    auto pFrame = std::make_unique<CTextFrame>(szID, 4);
    pFrame->SetValues({strValue});
    tag.AddTail(std::move(pFrame));
}

// A file whose ID3v1 and 2.3 tags carry the title; bExtra adds the frames that tell a, b and c
// apart: a has an artist and a comment, b an album, c a comment and a private frame.
CString MakeFile(const CTempDir& dir, const char* pszName, const CString& strTitle)
{
    CMp3Builder builder;
    builder.AddFrames(CMp3Builder::FrameSpec(), 4);
    WriteFileBytes(dir.PathOf(pszName), builder.Build());
    const CString strPath = dir.StrPathOf(pszName);
    CMpegFile file(strPath, FALSE);
    file.GetID3v1(TRUE)->SetTitle(strTitle);
    CID3v2* pTag = file.GetID3v2(TRUE);
    pTag->m_pHeader->m_nVersion = 3;
    AddText(*pTag, "TIT2", strTitle);
    const std::string strName = pszName;
    if (strName == "a.mp3")
        AddText(*pTag, "TPE1", u"Singer");
    if (strName == "b.mp3")
        AddText(*pTag, "TALB", u"Album");
    if (strName == "a.mp3" || strName == "c.mp3")
    {
        auto pComment = std::make_unique<CCommentsFrame>();
        pComment->m_strText = u"Old " + strTitle;
        pTag->AddTail(std::move(pComment));
    }
    if (strName == "c.mp3")
        pTag->AddTail(std::make_unique<CPrivateFrame>());
    file.SaveTags(TAG_ID3V1 | TAG_ID3V2);
    return strPath;
}

struct tagTAGS
{
    QString strTitle, strArtist, strV1Title, strV1Artist;
    QStringList arrComments;
};

tagTAGS ReadTags(const CString& strPath)
{
    CMpegFile file(strPath, FALSE);
    tagTAGS tags;
    if (const CID3v2* pTag = file.GetID3v2(FALSE))
    {
        tags.strTitle = ToQString(pTag->GetTitle());
        tags.strArtist = ToQString(pTag->GetArtist());
        for (const auto& pFrame : pTag->m_frames)
        {
            if (auto* pComment = dynamic_cast<const CCommentsFrame*>(pFrame.get()))
                tags.arrComments.append(ToQString(pComment->m_strText));
        }
    }
    if (const ID3v1Tag::CID3v1* pV1 = file.GetID3v1(FALSE))
    {
        tags.strV1Title = ToQString(pV1->GetTitle());
        tags.strV1Artist = ToQString(pV1->GetArtist());
    }
    return tags;
}

tagTAGOPTIONS Options()
{
    tagTAGOPTIONS options;
    options.bWriteID3v1 = TRUE;
    options.bWriteID3v2 = TRUE;
    return options;
}

template <class T> T* Child(QWidget* pParent, const char* pszName)
{
    return pParent->findChild<T*>(QString::fromLatin1(pszName));
}

// Runs the dialog; body runs inside it, active, and ends it; a body that stops early (a failed
// check) leaves it to be cancelled.
int Run(CMultiTagEditDialog& dialog, const std::function<void()>& body)
{
    QTimer::singleShot(
        0, &dialog,
        [&dialog, body]
        {
            const std::unique_ptr<CMultiTagEditDialog, void (*)(CMultiTagEditDialog*)> end(
                &dialog,
                [](CMultiTagEditDialog* p)
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

// Answers the next modal window with fill (a message box: the button; a frame dialog: its
// values and OK) and keeps a message box's text.
void AnswerNext(const std::function<void(QWidget*)>& fill, QString* pText = nullptr)
{
    QTimer::singleShot(0,
                       [fill, pText]
                       {
                           QWidget* pModal = QApplication::activeModalWidget();
                           QVERIFY(pModal);
                           if (auto* pBox = qobject_cast<QMessageBox*>(pModal); pBox && pText)
                               *pText = pBox->text();
                           fill(pModal);
                       });
}

void Answer(QWidget* pBox, QMessageBox::StandardButton button)
{
    qobject_cast<QMessageBox*>(pBox)->button(button)->click();
}

// A text frame dialog gets one value and OK.
void FillText(QWidget* pFrameDialog, const QString& strValue)
{
    auto* pList = Child<CNotifyVSListBox>(pFrameDialog, "1011");
    QVERIFY(pList);
    QCOMPARE(pList->GetCount(), 0);
    pList->AddItem(strValue);
    Child<QPushButton>(pFrameDialog, "1")->click();
}

void FillComment(QWidget* pFrameDialog, const QString& strValue)
{
    QTest::keyClicks(Child<QPlainTextEdit>(pFrameDialog, "1018"), strValue);
    Child<QPushButton>(pFrameDialog, "1")->click();
}

// The Add menu's entry, on top or in "All".
QAction* AddEntry(const QMenu& menu, const QString& strText)
{
    for (QAction* pAction : menu.actions())
    {
        if (pAction->text() == strText)
            return pAction;
        if (QAction* pFound = pAction->menu() ? AddEntry(*pAction->menu(), strText) : nullptr)
            return pFound;
    }
    return nullptr;
}

QAction* AddEntry(CMultiTagEditDialog& dialog, const QString& strText)
{
    QAction* pAction = AddEntry(*dialog.GetAddMenu(), strText);
    if (!pAction)
        qFatal("no Add entry %s", qPrintable(strText));
    return pAction;
}

QStringList RowTexts(const QTreeWidget& list)
{
    QStringList arr;
    for (int nGroup = 0; nGroup < list.topLevelItemCount(); ++nGroup)
    {
        const QTreeWidgetItem* pGroup = list.topLevelItem(nGroup);
        for (int n = 0; n < pGroup->childCount(); ++n)
            arr.append(pGroup->child(n)->text(0) + QStringLiteral("=") + pGroup->child(n)->text(1));
    }
    return arr;
}

QTreeWidgetItem* Row(const QTreeWidget& list, int nGroup, int nRow)
{
    return list.topLevelItem(nGroup)->child(nRow);
}

} // namespace

class MultiTagEditDialogTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTempDir> m_pDir;
    std::vector<CString> m_files;
    CTestBusy m_busy;

    void Prepare(CMultiTagEditDialog& dialog)
    {
        dialog.m_files = m_files;
        dialog.SetTagOptions([] { return Options(); });
    }

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
        m_files = {MakeFile(*m_pDir, "a.mp3", u"A"), MakeFile(*m_pDir, "b.mp3", u"B"),
                   MakeFile(*m_pDir, "c.mp3", u"C")};
        m_busy = CTestBusy();
    }

    void cleanup() { m_pDir.reset(); }

    void startsAtKeepWithTheUnionOfTheFramesAndTheFieldMenusSetPlaceholders()
    {
        const Bytes before = ReadFileBytes(m_pDir->PathOf("b.mp3"));
        CMultiTagEditDialog dialog(m_busy);
        Prepare(dialog);
        const int nResult = Run(
            dialog,
            [&]
            {
                QCOMPARE(RowTexts(*dialog.GetFrameList()),
                         (QStringList{"Title=<Keep>", "Artist=<Keep>", "Comments=<Keep>",
                                      "Album=<Keep>", "Private=<Keep>"}));
                for (const char* pszEdit : {"1010", "1029", "1030", "1031", "1033", "1032"})
                    QCOMPARE(Child<QLineEdit>(&dialog, pszEdit)->text(), QStringLiteral("<Keep>"));
                auto* pGenre = Child<QComboBox>(&dialog, "1034");
                QCOMPARE(pGenre->count(), 150);
                QCOMPARE(pGenre->currentIndex(), 148);
                QCOMPARE(pGenre->itemText(149), QStringLiteral("<Copy from ID3v2>"));
                QVERIFY(Child<QPushButton>(&dialog, "7")->isEnabled());
                QVERIFY(dialog.GetFieldButton(FIELD_TITLE)->menu()->actions()[2]->isEnabled());
                QCOMPARE(m_busy.m_texts.size(), size_t(3));

                // A field's menu sets that field; what was typed into the others stays.
                Child<QLineEdit>(&dialog, "1010")->setText(QStringLiteral("Typed"));
                dialog.GetFieldButton(FIELD_ARTIST)->menu()->actions()[0]->trigger();
                dialog.GetFieldButton(FIELD_GENRE)->menu()->actions()[0]->trigger();
                QCOMPARE(Child<QLineEdit>(&dialog, "1010")->text(), QStringLiteral("Typed"));
                QCOMPARE(Child<QLineEdit>(&dialog, "1030")->text(),
                         QStringLiteral("<Copy from ID3v2>"));
                QCOMPARE(pGenre->currentIndex(), 149);
                dialog.GetFieldButton(FIELD_TITLE)->menu()->actions()[2]->trigger();
                dialog.GetFieldButton(FIELD_GENRE)->menu()->actions()[2]->trigger();
                QCOMPARE(Child<QLineEdit>(&dialog, "1010")->text(), QStringLiteral("<Keep>"));
                QCOMPARE(pGenre->currentIndex(), 148);
                QTest::keyClick(&dialog, Qt::Key_Escape);
            });
        QCOMPARE(nResult, int(QDialog::Rejected));
        QCOMPARE(ReadFileBytes(m_pDir->PathOf("b.mp3")), before);
    }

    void addEditRemoveAndKeepOnTheRows()
    {
        CMultiTagEditDialog dialog(m_busy);
        Prepare(dialog);
        Run(dialog,
            [&]
            {
                QTreeWidget& list = *dialog.GetFrameList();
                const QString strQuestion =
                    ToQString(Res::LoadResourceString(Res::IDS_USE_SAME_FIELD));
                // Adding an ID that has a row asks first; No leaves the row alone.
                QString strAsked;
                AnswerNext([](QWidget* pBox) { Answer(pBox, QMessageBox::No); }, &strAsked);
                AddEntry(dialog, QStringLiteral("Title"))->trigger();
                QCOMPARE(strAsked, strQuestion);
                QCOMPARE(Row(list, 0, 0)->text(1), QStringLiteral("<Keep>"));
                // Yes, then the frame dialog starts empty and its value goes to the row.
                AnswerNext(
                    [](QWidget* pBox)
                    {
                        AnswerNext([](QWidget* pFrame)
                                   { FillText(pFrame, QStringLiteral("New")); });
                        Answer(pBox, QMessageBox::Yes);
                    });
                AddEntry(dialog, QStringLiteral("Title"))->trigger();
                QCOMPARE(Row(list, 0, 0)->text(1), QStringLiteral("New"));
                QCOMPARE(list.currentItem(), Row(list, 0, 0));
                // A set row is edited without the question, from its own frame.
                AnswerNext(
                    [](QWidget* pFrame)
                    {
                        auto* pValues = Child<CNotifyVSListBox>(pFrame, "1011");
                        QCOMPARE(pValues->GetItemText(0), QStringLiteral("New"));
                        pValues->SetItemText(0, QStringLiteral("Newer"));
                        Child<QPushButton>(pFrame, "1")->click();
                    });
                list.setFocus();
                QTest::keyClick(&list, Qt::Key_Return);
                QCOMPARE(Row(list, 0, 0)->text(1), QStringLiteral("Newer"));
                // An ID without a row gets one at the end of its group, without the question.
                AnswerNext([](QWidget* pFrame) { FillText(pFrame, QStringLiteral("Bach")); });
                AddEntry(dialog, QStringLiteral("Composer"))->trigger();
                QCOMPARE(RowTexts(list).at(4), QStringLiteral("Composer=Bach"));
                // A frame without a dialog can only be removed or kept.
                QString strMessage;
                list.setCurrentItem(Row(list, 5, 0));
                AnswerNext([](QWidget* pBox) { Answer(pBox, QMessageBox::Ok); }, &strMessage);
                QTest::mouseClick(Child<QPushButton>(&dialog, "4"), Qt::LeftButton);
                QCOMPARE(strMessage,
                         ToQString(Res::LoadResourceString(Res::IDS_UNSUPPORTED_FIELD)));

                // Remove and Keep walk down the rows.
                list.setCurrentItem(Row(list, 0, 0));
                QTest::mouseClick(Child<QPushButton>(&dialog, "5"), Qt::LeftButton);
                QTest::keyClick(&list, Qt::Key_Delete);
                QTest::mouseClick(Child<QPushButton>(&dialog, "7"), Qt::LeftButton);
                QCOMPARE(RowTexts(list).mid(0, 4),
                         (QStringList{"Title=<Remove>", "Artist=<Remove>", "Comments=<Keep>",
                                      "Album=<Keep>"}));
                QCOMPARE(list.currentItem(), Row(list, 0, 3));
                QVERIFY(!dialog.GetActions()->FindAction("TIT2")->m_pFrame);
                // A removed row is edited without the question, from an empty frame.
                list.setCurrentItem(Row(list, 0, 1));
                AnswerNext([](QWidget* pFrame) { FillText(pFrame, QStringLiteral("Solo")); });
                QTest::keyClick(&list, Qt::Key_F2);
                QCOMPARE(Row(list, 0, 1)->text(1), QStringLiteral("Solo"));
                QCOMPARE(dialog.GetActions()->FindAction("TPE1")->m_nType, int(ACTION_SET));
                dialog.reject();
            });
        QCOMPARE(ReadTags(m_files[0]).strArtist, QStringLiteral("Singer"));
    }

    void okWritesEveryFileAndKeepsWhatWasKept()
    {
        CMultiTagEditDialog dialog(m_busy);
        CDiagnosticMessages diagnostics;
        Prepare(dialog);
        dialog.SetDiagnostics(&diagnostics);
        const int nResult =
            Run(dialog,
                [&]
                {
                    QTreeWidget& list = *dialog.GetFrameList();
                    // A track out of range is refused before anything is written.
                    auto* pTrack = Child<QLineEdit>(&dialog, "1033");
                    pTrack->setText(QStringLiteral("300"));
                    QTest::mouseClick(Child<QPushButton>(&dialog, "1"), Qt::LeftButton);
                    QVERIFY(dialog.isVisible());
                    QVERIFY(dialog.findChild<CBalloonTip*>(QStringLiteral("BalloonTip")));
                    QVERIFY(m_busy.m_texts.size() == 3);
                    dialog.GetFieldButton(FIELD_TRACK)->menu()->actions()[2]->trigger();

                    // The artist row for every file, the ID3v1 artist copied from it, one comment.
                    list.setCurrentItem(Row(list, 0, 1));
                    AnswerNext(
                        [](QWidget* pBox)
                        {
                            AnswerNext([](QWidget* pFrame)
                                       { FillText(pFrame, QStringLiteral("New Artist")); });
                            Answer(pBox, QMessageBox::Yes);
                        });
                    QTest::mouseClick(Child<QPushButton>(&dialog, "4"), Qt::LeftButton);
                    dialog.GetFieldButton(FIELD_ARTIST)->menu()->actions()[0]->trigger();
                    AnswerNext(
                        [](QWidget* pBox)
                        {
                            AnswerNext([](QWidget* pFrame)
                                       { FillComment(pFrame, QStringLiteral("Shared")); });
                            Answer(pBox, QMessageBox::Yes);
                        });
                    AddEntry(dialog, QStringLiteral("Comments"))->trigger();
                    QTest::keyClick(Child<QLineEdit>(&dialog, "1029"), Qt::Key_Return);
                });
        QCOMPARE(nResult, int(QDialog::Accepted));
        QCOMPARE(diagnostics.GetCount(), 0);
        QCOMPARE(m_busy.m_texts.back(),
                 FormatString(Res::LoadResourceString(Res::IDS_WRITING_FILE), m_files[2]));
        const QStringList arrTitles = {"A", "B", "C"};
        for (size_t i = 0; i < m_files.size(); ++i)
        {
            const tagTAGS tags = ReadTags(m_files[i]);
            QCOMPARE(tags.strTitle, arrTitles[int(i)]);
            QCOMPARE(tags.strV1Title, arrTitles[int(i)]);
            QCOMPARE(tags.strArtist, QStringLiteral("New Artist"));
            QCOMPARE(tags.strV1Artist, QStringLiteral("New Artist"));
            QCOMPARE(tags.arrComments, QStringList{QStringLiteral("Shared")});
        }
    }

    void escAfterTheFirstOfFiftyFilesStopsTheLoop()
    {
        m_files.clear();
        for (int n = 0; n < 50; ++n)
        {
            const std::string strName = "f" + std::to_string(n) + ".mp3";
            m_files.push_back(MakeFile(*m_pDir, strName.c_str(), u"Own"));
        }
        CMultiTagEditDialog dialog(m_busy);
        Prepare(dialog);
        const int nResult =
            Run(dialog,
                [&]
                {
                    Child<QLineEdit>(&dialog, "1010")->setText(QStringLiteral("T"));
                    // Esc comes while the first file is written.
                    m_busy.m_nEscAtPoll = 2;
                    QTest::mouseClick(Child<QPushButton>(&dialog, "1"), Qt::LeftButton);
                });
        QCOMPARE(nResult, int(QDialog::Accepted));
        QCOMPARE(ReadTags(m_files[0]).strV1Title, QStringLiteral("T"));
        for (size_t i = 1; i < m_files.size(); ++i)
            QCOMPARE(ReadTags(m_files[i]).strV1Title, QStringLiteral("Own"));
    }

    void aLockedFileIsListedAndTheOthersAreWritten()
    {
        const int fd = ::open(m_files[1].ToUtf8().c_str(), O_RDONLY);
        QVERIFY(fd >= 0);
        QCOMPARE(::flock(fd, LOCK_SH), 0);
        CMultiTagEditDialog dialog(m_busy);
        CDiagnosticMessages diagnostics;
        Prepare(dialog);
        dialog.SetDiagnostics(&diagnostics);
        Run(dialog,
            [&]
            {
                Child<QLineEdit>(&dialog, "1010")->setText(QStringLiteral("T"));
                QTest::mouseClick(Child<QPushButton>(&dialog, "1"), Qt::LeftButton);
            });
        ::close(fd);
        QCOMPARE(diagnostics.GetMessages(), std::vector<CString>{Res::FormatResourceString(
                                                Res::IDS_FAILED_WRITING_FILE, m_files[1])});
        QCOMPARE(ReadTags(m_files[0]).strV1Title, QStringLiteral("T"));
        QCOMPARE(ReadTags(m_files[1]).strV1Title, QStringLiteral("B"));
        QCOMPARE(ReadTags(m_files[2]).strV1Title, QStringLiteral("T"));
    }

    void theScanStopsTheEditorBeforeItShows()
    {
        // A file that does not open: string 140, no dialog.
        std::filesystem::remove(m_pDir->PathOf("b.mp3"));
        {
            CMultiTagEditDialog dialog(m_busy);
            Prepare(dialog);
            QString strMessage;
            AnswerNext([](QWidget* pBox) { Answer(pBox, QMessageBox::Ok); }, &strMessage);
            QCOMPARE(dialog.DoModal(), int(QDialog::Rejected));
            QCOMPARE(strMessage, ToQString(Res::FormatResourceString(Res::IDS_FAILED_READING_FILE,
                                                                     m_files[1])));
        }
        // Esc during the scan: no dialog, no message.
        CMultiTagEditDialog dialog(m_busy);
        Prepare(dialog);
        m_busy.m_nEscAtPoll = 2;
        bool bShown = false;
        QTimer::singleShot(0, [&bShown] { bShown = QApplication::activeModalWidget() != nullptr; });
        QCOMPARE(dialog.DoModal(), int(QDialog::Rejected));
        QCoreApplication::processEvents();
        QVERIFY(!bShown);
    }
};

QTEST_MAIN(MultiTagEditDialogTest)
#include "MultiTagEditDialogTest.moc"
