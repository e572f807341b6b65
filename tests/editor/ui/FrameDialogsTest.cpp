// The frame edit dialogs and their value list, driven through their controls.
#include "browser/ui/NotifyVSListBox.h"
#include "browser/ui/QtString.h"
#include "editor/ui/CommentsFrameDialog.h"
#include "editor/ui/PopularimeterDialog.h"
#include "editor/ui/PresetDialog.h"
#include "editor/ui/TermOfUseFrameDialog.h"
#include "editor/ui/TextFrameDialog.h"
#include "editor/ui/UnsynchronizedLyricsFrameDialog.h"
#include "editor/ui/UrlLinkFrameDialog.h"
#include "tags/file/RenderBuffer.h"
#include "tags/id3v2/frames/CommentsFrame.h"
#include "tags/id3v2/frames/PopularimeterFrame.h"
#include "tags/id3v2/frames/TermOfUseFrame.h"
#include "tags/id3v2/frames/UnsynchronizedLyricsFrame.h"
#include "tags/id3v2/frames/UrlLinkFrame.h"
#include "tags/id3v2/frames/UserTextFrame.h"
#include "tags/id3v2/frames/UserUrlLinkFrame.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <cstring>
#include <functional>
#include <utility>

using namespace Tags::ID3v2Tag;

namespace
{

template <typename T> T* Child(const QWidget& parent, const char* szName)
{
    return parent.findChild<T*>(QString::fromLatin1(szName));
}

QListWidget* ListOf(const CNotifyVSListBox& box)
{
    return box.findChild<QListWidget*>();
}

QStringList Items(const CNotifyVSListBox& box)
{
    QStringList arr;
    for (int n = 0; n < box.GetCount(); ++n)
        arr.append(box.GetItemText(n));
    return arr;
}

QStringList Values(const CTextFrame& frame)
{
    QStringList arr;
    for (const CString& str : frame.m_values)
        arr.append(ToQString(str));
    return arr;
}

QByteArray Bytes(const CFrame& frame)
{
    Tags::CRenderBuffer buffer;
    frame.Render(buffer);
    return QByteArray(reinterpret_cast<const char*>(buffer.GetData()),
                      static_cast<qsizetype>(buffer.GetLength()));
}

// The browse button on the value list's in-place editor, or null.
QToolButton* BrowseButton(const CNotifyVSListBox& box)
{
    QLineEdit* pEditor = box.GetEditor();
    if (!pEditor)
        return nullptr;
    for (QToolButton* pButton : pEditor->findChildren<QToolButton*>())
    {
        if (pButton->defaultAction() &&
            pButton->defaultAction()->objectName() == QStringLiteral("Browse"))
            return pButton;
    }
    return nullptr;
}

// A press and release, then the double-click (the test's double-click alone has no press).
void DoubleClick(QWidget* pWidget, const QPoint& pos)
{
    QTest::mouseClick(pWidget, Qt::LeftButton, {}, pos);
    QTest::mouseDClick(pWidget, Qt::LeftButton, {}, pos);
}

void ClickRow(QListWidget& list, int nRow)
{
    list.scrollToItem(list.item(nRow));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(nRow)).center());
}

// Runs act on the next modal window to open (a picker or a message box) while it is open.
template <typename T> void OnNextModal(const std::function<void(T&)>& act)
{
    QTimer::singleShot(0, qApp,
                       [act]
                       {
                           auto* pModal = qobject_cast<T*>(QApplication::activeModalWidget());
                           QVERIFY(pModal);
                           act(*pModal);
                       });
}

// Runs the dialog on the frame and act while it is open and active; a dialog act left open is
// cancelled. Returns what EditFrame returned.
BOOL RunDialog(CFrameBaseDialog& dialog, CFrame& frame, const std::function<void()>& act)
{
    bool bRan = false;
    QTimer::singleShot(0, &dialog,
                       [&]
                       {
                           bRan = true;
                           [&]
                           {
                               QCOMPARE(QApplication::activeModalWidget(), &dialog);
                               dialog.activateWindow();
                               QVERIFY(QTest::qWaitForWindowActive(&dialog));
                               act();
                           }();
                           if (dialog.isVisible())
                               dialog.reject();
                       });
    const BOOL bResult = dialog.EditFrame(&frame);
    if (!bRan)
        qWarning("The dialog did not open.");
    return bResult;
}

} // namespace

class FrameDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void txxxShowsFieldAndValuesAndKeepsThemOnOk()
    {
        CUserTextFrame frame;
        frame.SetValues({u"MOOD", u"calm", u"slow"});
        CTextFrameDialog dialog;
        const BOOL bOk = RunDialog(
            dialog, frame,
            [&]
            {
                QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit tag"));
                auto* pField = Child<QLineEdit>(dialog, "1010");
                auto* pValues = Child<CNotifyVSListBox>(dialog, "1011");
                QVERIFY(pField->isEnabled());
                QCOMPARE(pField->text(), QStringLiteral("MOOD"));
                QCOMPARE(Items(*pValues), (QStringList{"calm", "slow"}));
                QVERIFY(pValues->findChild<QLabel*>()->text() == QStringLiteral("Values:"));
                for (const char* szButton : {"New", "Delete", "Move Up", "Move Down"})
                {
                    auto* pButton = Child<QToolButton>(*pValues, szButton);
                    QVERIFY(pButton && pButton->isVisible() && !pButton->toolTip().isEmpty());
                }
                QVERIFY(!pValues->HasBrowseButton());
                // Return in the Field presses OK.
                QTest::keyClick(pField, Qt::Key_Return);
                QVERIFY(!dialog.isVisible());
            });
        QVERIFY(bOk);
        QCOMPARE(Values(frame), (QStringList{"MOOD", "calm", "slow"}));
    }

    void txxxEditsFieldAndValuesByKeyboard()
    {
        CUserTextFrame frame;
        frame.SetValues({u"MOOD", u"calm", u"slow"});
        CTextFrameDialog dialog;
        const BOOL bOk = RunDialog(
            dialog, frame,
            [&]
            {
                auto* pField = Child<QLineEdit>(dialog, "1010");
                auto* pValues = Child<CNotifyVSListBox>(dialog, "1011");
                QListWidget* pList = ListOf(*pValues);
                QSignalSpy notified(pValues, &CNotifyVSListBox::notify);
                QTest::keyClick(&dialog, Qt::Key_F, Qt::AltModifier);
                QCOMPARE(QApplication::focusWidget(), pField);
                pField->selectAll();
                QTest::keyClicks(pField, QStringLiteral("TEMPO"));

                // Insert adds an item and edits it; Return commits it without closing the
                // dialog.
                pList->setFocus();
                QTest::keyClick(pList, Qt::Key_Insert);
                QVERIFY(pValues->GetEditor());
                QTest::keyClicks(pValues->GetEditor(), QStringLiteral("fast"));
                QTest::keyClick(pValues->GetEditor(), Qt::Key_Return);
                QVERIFY(dialog.isVisible());
                QCOMPARE(Items(*pValues), (QStringList{"calm", "slow", "fast"}));
                QCOMPARE(notified.count(), 1);
                QCOMPARE(notified.at(0).at(0).toInt(), CNotifyVSListBox::NOTIFY_ITEM_CHANGED);

                // F2 edits the selected item; Esc cancels the edit, not the dialog.
                QTest::keyClick(pList, Qt::Key_Up);
                QTest::keyClick(pList, Qt::Key_Up);
                QCOMPARE(pValues->GetSelItem(), 0);
                QTest::keyClick(pList, Qt::Key_F2);
                QTest::keyClicks(pValues->GetEditor(), QStringLiteral("xyz"));
                QTest::keyClick(pValues->GetEditor(), Qt::Key_Escape);
                QVERIFY(dialog.isVisible());
                QVERIFY(!pValues->GetEditor());
                QCOMPARE(pValues->GetItemText(0), QStringLiteral("calm"));
                QTest::keyClick(pList, Qt::Key_F2);
                pValues->GetEditor()->selectAll();
                QTest::keyClicks(pValues->GetEditor(), QStringLiteral("quiet"));
                QTest::keyClick(pValues->GetEditor(), Qt::Key_Return);

                // Alt+Down moves it below "slow".
                QTest::keyClick(pList, Qt::Key_Down, Qt::AltModifier);
                QCOMPARE(Items(*pValues), (QStringList{"slow", "quiet", "fast"}));
                QCOMPARE(pValues->GetSelItem(), 1);
                QTest::mouseClick(Child<QPushButton>(dialog, "1"), Qt::LeftButton);
            });
        QVERIFY(bOk);
        QCOMPARE(Values(frame), (QStringList{"TEMPO", "slow", "quiet", "fast"}));
    }

    void valueListEditsInPlace()
    {
        QWidget window;
        auto* pValues = new CNotifyVSListBox(&window);
        pValues->SetStandardButtons();
        for (const char* szText : {"one", "two", "three"})
            pValues->AddItem(QString::fromLatin1(szText));
        window.resize(300, 240);
        pValues->resize(300, 240);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QListWidget* pList = ListOf(*pValues);
        QSignalSpy notified(pValues, &CNotifyVSListBox::notify);

        // New left empty adds nothing, whether it ends with Return, Esc or a click elsewhere.
        auto* pNew = Child<QToolButton>(*pValues, "New");
        QTest::mouseClick(pNew, Qt::LeftButton);
        QTest::keyClick(pValues->GetEditor(), Qt::Key_Return);
        QTest::mouseClick(pNew, Qt::LeftButton);
        QTest::keyClicks(pValues->GetEditor(), QStringLiteral("typed"));
        QTest::keyClick(pValues->GetEditor(), Qt::Key_Escape);
        QTest::mouseClick(pNew, Qt::LeftButton);
        ClickRow(*pList, 0);
        QVERIFY(!pValues->GetEditor());
        QCOMPARE(Items(*pValues), (QStringList{"one", "two", "three"}));
        QCOMPARE(notified.count(), 0);

        // A double-click edits; an emptied text leaves the item as it was.
        DoubleClick(pList->viewport(), pList->visualItemRect(pList->item(1)).center());
        QVERIFY(pValues->GetEditor());
        QCOMPARE(pValues->GetEditor()->text(), QStringLiteral("two"));
        pValues->GetEditor()->clear();
        QTest::keyClick(pValues->GetEditor(), Qt::Key_Return);
        QCOMPARE(pValues->GetItemText(1), QStringLiteral("two"));
        QCOMPARE(notified.count(), 0);

        // Delete removes the selected item; the buttons follow the selection.
        auto* pUp = Child<QToolButton>(*pValues, "Move Up");
        auto* pDown = Child<QToolButton>(*pValues, "Move Down");
        ClickRow(*pList, 0);
        QVERIFY(!pUp->isEnabled());
        QVERIFY(pDown->isEnabled());
        QTest::mouseClick(pDown, Qt::LeftButton);
        QCOMPARE(Items(*pValues), (QStringList{"two", "one", "three"}));
        QTest::keyClick(pList, Qt::Key_Delete);
        QCOMPARE(Items(*pValues), (QStringList{"two", "three"}));
        QCOMPARE(notified.count(), 1);
        QCOMPARE(pValues->GetSelItem(), 1);
        QVERIFY(!pDown->isEnabled());
        QTest::mouseClick(pUp, Qt::LeftButton);
        QCOMPARE(Items(*pValues), (QStringList{"three", "two"}));
    }

    void tconBrowseChoosesGenreIntoEditedItem()
    {
        CTextFrame frame("TCON", 4);
        frame.SetValues({u"Rock", u"Pop"});
        CTextFrameDialog dialog;
        const BOOL bOk = RunDialog(
            dialog, frame,
            [&]
            {
                QCOMPARE(Child<QLineEdit>(dialog, "1010")->text(), QStringLiteral("Genre"));
                QVERIFY(!Child<QLineEdit>(dialog, "1010")->isEnabled());
                auto* pValues = Child<CNotifyVSListBox>(dialog, "1011");
                QListWidget* pList = ListOf(*pValues);
                ClickRow(*pList, 1);
                QTest::keyClick(pList, Qt::Key_F2);
                QToolButton* pBrowse = BrowseButton(*pValues);
                QVERIFY(pBrowse && pBrowse->isVisible());

                OnNextModal<CPresetDialog>(
                    [](CPresetDialog& picker)
                    {
                        QCOMPARE(picker.windowTitle(), QStringLiteral("Genres"));
                        auto* pGenres = Child<QTreeWidget>(picker, "1025");
                        QCOMPARE(pGenres->topLevelItemCount(), 148);
                        QVERIFY(pGenres->isHeaderHidden());
                        QVERIFY(pGenres->selectedItems().isEmpty());
                        QTreeWidgetItem* pJazz =
                            pGenres->findItems(QStringLiteral("Jazz"), Qt::MatchExactly).value(0);
                        QCOMPARE(pGenres->indexOfTopLevelItem(pJazz), 8);
                        pGenres->scrollToItem(pJazz);
                        const QPoint pos = pGenres->visualItemRect(pJazz).center();
                        // A double-click only selects.
                        DoubleClick(pGenres->viewport(), pos);
                        QVERIFY(picker.isVisible());
                        QTest::keyClick(pGenres, Qt::Key_Return);
                        QVERIFY(!picker.isVisible());
                        QCOMPARE(ToQString(picker.m_strSelected), QStringLiteral("Jazz"));
                    });
                QTest::mouseClick(pBrowse, Qt::LeftButton);
                QCOMPARE(Items(*pValues), (QStringList{"Rock", "Jazz"}));
                QCOMPARE(pValues->GetSelItem(), 1);
                QTest::mouseClick(Child<QPushButton>(dialog, "1"), Qt::LeftButton);
            });
        QVERIFY(bOk);
        QCOMPARE(Values(frame), (QStringList{"Rock", "Jazz"}));
    }

    void newThenBrowseGivesOneNewItem()
    {
        CTextFrame frame("TCON", 4);
        frame.SetValues({u"Rock"});
        CTextFrameDialog dialog;
        const BOOL bOk = RunDialog(
            dialog, frame,
            [&]
            {
                auto* pValues = Child<CNotifyVSListBox>(dialog, "1011");
                auto* pNew = Child<QToolButton>(*pValues, "New");
                // A cancelled picker leaves no empty item behind.
                QTest::mouseClick(pNew, Qt::LeftButton);
                OnNextModal<CPresetDialog>([](CPresetDialog& picker) { picker.reject(); });
                QTest::mouseClick(BrowseButton(*pValues), Qt::LeftButton);
                QCOMPARE(Items(*pValues), QStringList{"Rock"});
                QVERIFY(!pValues->GetEditor());

                // F4 browses from the editor too; the choice becomes the one new item.
                QTest::mouseClick(pNew, Qt::LeftButton);
                QCOMPARE(pValues->GetCount(), 2);
                dialog.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&dialog));
                OnNextModal<CPresetDialog>(
                    [](CPresetDialog& picker)
                    {
                        auto* pGenres = Child<QTreeWidget>(picker, "1025");
                        pGenres->setCurrentItem(pGenres->topLevelItem(0));
                        QTest::mouseClick(Child<QPushButton>(picker, "1"), Qt::LeftButton);
                    });
                QTest::keyClick(pValues->GetEditor(), Qt::Key_F4);
                QCOMPARE(Items(*pValues), (QStringList{"Rock", "Blues"}));
                QCOMPARE(pValues->GetSelItem(), 1);
                QTest::mouseClick(Child<QPushButton>(dialog, "1"), Qt::LeftButton);
            });
        QVERIFY(bOk);
        QCOMPARE(Values(frame), (QStringList{"Rock", "Blues"}));
    }

    void tpe1DeletesOneOfTwoValues()
    {
        CTextFrame frame("TPE1", 4);
        frame.SetValues({u"Ann", u"Bob"});
        CTextFrameDialog dialog;
        const BOOL bOk = RunDialog(
            dialog, frame,
            [&]
            {
                QCOMPARE(Child<QLineEdit>(dialog, "1010")->text(), QStringLiteral("Artist"));
                auto* pValues = Child<CNotifyVSListBox>(dialog, "1011");
                QCOMPARE(Items(*pValues), (QStringList{"Ann", "Bob"}));
                QListWidget* pList = ListOf(*pValues);
                ClickRow(*pList, 0);
                QTest::keyClick(pList, Qt::Key_F2);
                QVERIFY(pValues->GetEditor() && !BrowseButton(*pValues));
                QTest::keyClick(pValues->GetEditor(), Qt::Key_Escape);
                QTest::mouseClick(Child<QToolButton>(*pValues, "Delete"), Qt::LeftButton);
                QCOMPARE(Items(*pValues), QStringList{"Bob"});
                QTest::mouseClick(Child<QPushButton>(dialog, "1"), Qt::LeftButton);
            });
        QVERIFY(bOk);
        QCOMPARE(Values(frame), QStringList{"Bob"});
    }

    void commentsKeepLanguageAndTakeNewLines()
    {
        CCommentsFrame frame;
        std::strcpy(frame.m_szLanguage, "deu");
        frame.m_strDescription = u"short";
        frame.m_strText = u"first";
        CCommentsFrameDialog dialog;
        const BOOL bOk = RunDialog(dialog, frame,
                                   [&]
                                   {
                                       auto* pDescription = Child<QLineEdit>(dialog, "1013");
                                       auto* pText = Child<QPlainTextEdit>(dialog, "1018");
                                       QCOMPARE(pDescription->text(), QStringLiteral("short"));
                                       QCOMPARE(pText->toPlainText(), QStringLiteral("first"));
                                       QTest::keyClick(&dialog, Qt::Key_T, Qt::AltModifier);
                                       QCOMPARE(QApplication::focusWidget(), pText);
                                       pText->moveCursor(QTextCursor::End);
                                       // Return makes a new line; the dialog stays open.
                                       QTest::keyClick(pText, Qt::Key_Return);
                                       QTest::keyClicks(pText, QStringLiteral("second"));
                                       QVERIFY(dialog.isVisible());
                                       QTest::keyClicks(pDescription, QStringLiteral("er"));
                                       QTest::keyClick(pDescription, Qt::Key_Return);
                                   });
        QVERIFY(bOk);
        QCOMPARE(ToQString(frame.m_strDescription), QStringLiteral("shorter"));
        QCOMPARE(ToQString(frame.m_strText), QStringLiteral("first\nsecond"));
        QCOMPARE(QString::fromLatin1(frame.m_szLanguage), QStringLiteral("deu"));
    }

    void lyricsAndTermsOfUseWriteTheirText()
    {
        CUnsynchronizedLyricsFrame lyrics;
        lyrics.m_strText = u"la\r\nla";
        CUnsynchronizedLyricsFrameDialog lyricsDialog;
        QVERIFY(RunDialog(
            lyricsDialog, lyrics,
            [&]
            {
                QTest::keyClicks(Child<QLineEdit>(lyricsDialog, "1013"), QStringLiteral("verse"));
                QTest::mouseClick(Child<QPushButton>(lyricsDialog, "1"), Qt::LeftButton);
            }));
        QCOMPARE(ToQString(lyrics.m_strDescription), QStringLiteral("verse"));
        // Line breaks stay as they were.
        QCOMPARE(ToQString(lyrics.m_strText), QStringLiteral("la\r\nla"));

        CTermOfUseFrame terms;
        CTermOfUseFrameDialog termsDialog;
        QVERIFY(RunDialog(termsDialog, terms,
                          [&]
                          {
                              auto* pText = Child<QPlainTextEdit>(termsDialog, "1018");
                              QTest::keyClicks(pText, QStringLiteral("Free"));
                              QTest::keyClick(pText, Qt::Key_Return);
                              QTest::keyClicks(pText, QStringLiteral("use"));
                              QTest::mouseClick(Child<QPushButton>(termsDialog, "1"),
                                                Qt::LeftButton);
                          }));
        QCOMPARE(ToQString(terms.m_strText), QStringLiteral("Free\nuse"));
        QCOMPARE(QString::fromLatin1(terms.m_szLanguage), QStringLiteral("ENG"));
    }

    void urlDialogEditsWxxxDescriptionButNotWoars()
    {
        CUrlLinkFrame frame("WOAR", 4);
        frame.m_strUrl = u"http://old.example";
        CUrlLinkFrameDialog dialog;
        const BOOL bOk =
            RunDialog(dialog, frame,
                      [&]
                      {
                          auto* pDescription = Child<QLineEdit>(dialog, "1013");
                          auto* pUrl = Child<QLineEdit>(dialog, "1019");
                          QCOMPARE(pDescription->text(), QStringLiteral("URL- Artist"));
                          QVERIFY(!pDescription->isEnabled());
                          QCOMPARE(pUrl->text(), QStringLiteral("http://old.example"));
                          QTest::keyClick(&dialog, Qt::Key_U, Qt::AltModifier);
                          QCOMPARE(QApplication::focusWidget(), pUrl);
                          pUrl->selectAll();
                          QTest::keyClicks(pUrl, QStringLiteral("http://new.example"));
                          QTest::keyClick(pUrl, Qt::Key_Return);
                      });
        QVERIFY(bOk);
        QCOMPARE(ToQString(frame.m_strUrl), QStringLiteral("http://new.example"));
        QCOMPARE(QString::fromLatin1(frame.GetID()), QStringLiteral("WOAR"));

        CUserUrlLinkFrame user;
        user.m_strDescription = u"Shop";
        CUrlLinkFrameDialog userDialog;
        QVERIFY(RunDialog(userDialog, user,
                          [&]
                          {
                              auto* pDescription = Child<QLineEdit>(userDialog, "1013");
                              QVERIFY(pDescription->isEnabled());
                              QCOMPARE(pDescription->text(), QStringLiteral("Shop"));
                              QTest::keyClicks(pDescription, QStringLiteral("s"));
                              QTest::keyClicks(Child<QLineEdit>(userDialog, "1019"),
                                               QStringLiteral("http://x.example"));
                              QTest::keyClick(pDescription, Qt::Key_Return);
                          }));
        QCOMPARE(ToQString(user.m_strDescription), QStringLiteral("Shops"));
        QCOMPARE(ToQString(user.m_strUrl), QStringLiteral("http://x.example"));
    }

    void popularimeterWritesEmailRatingAndCounter()
    {
        CPopularimeterFrame frame;
        frame.m_strEmail = u"me@example.org";
        frame.m_nRating = 128;
        frame.m_nCounter = 42;
        CPopularimeterDialog dialog;
        const BOOL bOk = RunDialog(
            dialog, frame,
            [&]
            {
                auto* pRating = Child<QSlider>(dialog, "1021");
                auto* pCounter = Child<QLineEdit>(dialog, "1022");
                QCOMPARE(Child<QLineEdit>(dialog, "1020")->text(),
                         QStringLiteral("me@example.org"));
                QCOMPARE(pRating->minimum(), 0);
                QCOMPARE(pRating->maximum(), 255);
                QCOMPARE(pRating->value(), 128);
                QCOMPARE(pCounter->text(), QStringLiteral("42"));
                const QColor highlight = dialog.palette().color(QPalette::Highlight);
                for (const char* szLabel : {"1023", "1024"})
                    QCOMPARE(Child<QLabel>(dialog, szLabel)->palette().color(QPalette::WindowText),
                             highlight);

                QTest::keyClick(&dialog, Qt::Key_R, Qt::AltModifier);
                QCOMPARE(QApplication::focusWidget(), pRating);
                QTest::keyClick(pRating, Qt::Key_End);
                QTest::keyClick(pRating, Qt::Key_Left);
                QCOMPARE(pRating->value(), 254);
                QCOMPARE(pRating->toolTip(), QStringLiteral("254"));
                // Typed letters do not go in; a counter of 0 is accepted.
                pCounter->selectAll();
                QTest::keyClicks(pCounter, QStringLiteral("x0y"));
                QCOMPARE(pCounter->text(), QStringLiteral("0"));
                QTest::keyClick(pCounter, Qt::Key_Return);
            });
        QVERIFY(bOk);
        QCOMPARE(ToQString(frame.m_strEmail), QStringLiteral("me@example.org"));
        QCOMPARE(frame.m_nRating, 254);
        QCOMPARE(frame.m_nCounter, 0u);
    }

    void popularimeterRefusesCounterThatIsNotA32BitNumber()
    {
        CPopularimeterFrame frame;
        frame.m_nCounter = 42;
        const QByteArray before = Bytes(frame);
        CPopularimeterDialog dialog;
        QStringList arrMessages;
        const auto refuse = [&arrMessages](QMessageBox& box)
        {
            arrMessages.append(box.text());
            QCOMPARE(box.icon(), QMessageBox::Warning);
            box.accept();
        };
        const BOOL bOk = RunDialog(dialog, frame,
                                   [&]
                                   {
                                       auto* pCounter = Child<QLineEdit>(dialog, "1022");
                                       auto* pOk = Child<QPushButton>(dialog, "1");
                                       pCounter->selectAll();
                                       QTest::keyClicks(pCounter, QStringLiteral("4294967296"));
                                       OnNextModal<QMessageBox>(refuse);
                                       QTest::mouseClick(pOk, Qt::LeftButton);
                                       QVERIFY(dialog.isVisible());
                                       QCOMPARE(dialog.focusWidget(), pCounter);
                                       QCOMPARE(Bytes(frame), before);

                                       // Pasted text is not filtered as typing is, but OK refuses
                                       // it all the same.
                                       QApplication::clipboard()->setText(QStringLiteral("12ab"));
                                       pCounter->selectAll();
                                       QTest::keyClick(pCounter, Qt::Key_V, Qt::ControlModifier);
                                       QCOMPARE(pCounter->text(), QStringLiteral("12ab"));
                                       OnNextModal<QMessageBox>(refuse);
                                       QTest::keyClick(pCounter, Qt::Key_Return);
                                       QVERIFY(dialog.isVisible());

                                       pCounter->selectAll();
                                       QTest::keyClicks(pCounter, QStringLiteral("4294967295"));
                                       QTest::keyClick(pCounter, Qt::Key_Return);
                                   });
        QVERIFY(bOk);
        QCOMPARE(arrMessages, QStringList(2, QStringLiteral("Enter a positive integer.")));
        QCOMPARE(frame.m_nCounter, 4294967295u);
    }

    void cancelLeavesEveryFrameUntouched()
    {
        CUserTextFrame text;
        text.SetValues({u"MOOD", u"calm"});
        CCommentsFrame comments;
        comments.m_strText = u"text";
        CUnsynchronizedLyricsFrame lyrics;
        CTermOfUseFrame terms;
        CUserUrlLinkFrame url;
        url.m_strUrl = u"http://a.example";
        CPopularimeterFrame rating;
        CTextFrameDialog textDialog;
        CCommentsFrameDialog commentsDialog;
        CUnsynchronizedLyricsFrameDialog lyricsDialog;
        CTermOfUseFrameDialog termsDialog;
        CUrlLinkFrameDialog urlDialog;
        CPopularimeterDialog ratingDialog;
        const std::pair<CFrameBaseDialog*, CFrame*> arrCases[] = {
            {&textDialog, &text},   {&commentsDialog, &comments}, {&lyricsDialog, &lyrics},
            {&termsDialog, &terms}, {&urlDialog, &url},           {&ratingDialog, &rating}};

        for (const auto& [pDialog, pFrame] : arrCases)
        {
            const QByteArray before = Bytes(*pFrame);
            CFrameBaseDialog& dialog = *pDialog;
            const BOOL bOk =
                RunDialog(dialog, *pFrame,
                          [&]
                          {
                              // Change every control, then Esc.
                              for (QLineEdit* pEdit : dialog.findChildren<QLineEdit*>())
                                  QTest::keyClicks(pEdit, QStringLiteral("9"));
                              for (QPlainTextEdit* pEdit : dialog.findChildren<QPlainTextEdit*>())
                                  QTest::keyClicks(pEdit, QStringLiteral("changed"));
                              for (QSlider* pSlider : dialog.findChildren<QSlider*>())
                                  QTest::keyClick(pSlider, Qt::Key_End);
                              if (auto* pValues = dialog.findChild<CNotifyVSListBox*>())
                              {
                                  ClickRow(*ListOf(*pValues), 0);
                                  QTest::keyClick(ListOf(*pValues), Qt::Key_Delete);
                                  QCOMPARE(pValues->GetCount(), 0);
                              }
                              QTest::keyClick(&dialog, Qt::Key_Escape);
                              QVERIFY(!dialog.isVisible());
                          });
            QVERIFY2(!bOk, dialog.objectName().toLatin1().constData());
            QCOMPARE(Bytes(*pFrame), before);
        }

        // A frame of a class the dialog does not edit is left alone without opening it.
        CTextFrameDialog otherDialog;
        QVERIFY(!otherDialog.EditFrame(&comments));
        QVERIFY(!otherDialog.isVisible());
    }
};

QTEST_MAIN(FrameDialogsTest)
#include "FrameDialogsTest.moc"
