// "Tags from File Name" driven through its controls: the preview following the pattern as it is
// typed, the token menu, the recent patterns, and the keys that end it.
#include "rename/ui/TagsFromNameDialog.h"
#include "browser/ui/QtString.h"

#include "fixtures/TempDir.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QBrush>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <functional>

namespace
{

template <typename T> T* Child(const QWidget* pParent, const char* pszName)
{
    return pParent->findChild<T*>(QString::fromLatin1(pszName));
}

QString Cell(const QWidget* pDialog, int nRow, int nColumn)
{
    const QAbstractItemModel* pModel = Child<QTreeView>(pDialog, "Preview")->model();
    return pModel->index(nRow, nColumn).data().toString();
}

bool IsGreyed(const QWidget* pDialog, int nRow)
{
    const QAbstractItemModel* pModel = Child<QTreeView>(pDialog, "Preview")->model();
    return pModel->index(nRow, 0).data(Qt::ForegroundRole).isValid();
}

// Runs the dialog with fn acting on it once it is shown; a dialog fn left open is cancelled.
int RunDialog(CTagsFromNameDialog& dialog, const std::function<void()>& fn)
{
    QTimer::singleShot(0, &dialog,
                       [&dialog, &fn]
                       {
                           dialog.activateWindow();
                           if (QTest::qWaitForWindowActive(&dialog))
                               fn();
                           if (dialog.isVisible())
                               dialog.reject();
                       });
    return dialog.exec();
}

// Chooses the token of the command from the menu the button opens.
void ChooseToken(QToolButton* pButton, UINT nID)
{
    QTimer::singleShot(0, pButton,
                       [nID]
                       {
                           auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                           QVERIFY(pMenu);
                           for (QAction* pAction : pMenu->actions())
                           {
                               if (pAction->data().toUInt() == nID)
                               {
                                   QTest::mouseClick(pMenu, Qt::LeftButton, {},
                                                     pMenu->actionGeometry(pAction).center());
                                   return;
                               }
                           }
                           pMenu->close();
                       });
    QTest::mouseClick(pButton, Qt::LeftButton);
}

} // namespace

class TagsFromNameDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void typingUpdatesThePreviewAndMarksNamesThatDoNotMatch()
    {
        Fixtures::CTempDir dir;
        CTagsFromNameDialog dialog;
        dialog.m_files = {dir.StrPathOf("01 - Artist - Title - Live.mp3"),
                          dir.StrPathOf("Other.mp3")};
        const int nResult = RunDialog(
            dialog,
            [&dialog]
            {
                auto* pEdit = Child<QComboBox>(&dialog, "Pattern")->lineEdit();
                auto* pOK = Child<QPushButton>(&dialog, "1");
                QCOMPARE(pEdit->text(), QString());
                QVERIFY(!pOK->isEnabled());
                QCOMPARE(Cell(&dialog, 0, 0), QStringLiteral("01 - Artist - Title - Live.mp3"));

                QTest::keyClicks(pEdit, QStringLiteral("<track> - <artist> - <title>"));
                QCOMPARE(Cell(&dialog, 0, 1), QStringLiteral("Title - Live"));
                QCOMPARE(Cell(&dialog, 0, 2), QStringLiteral("Artist"));
                QCOMPARE(Cell(&dialog, 0, 4), QStringLiteral("01"));
                QCOMPARE(Cell(&dialog, 1, 1), QStringLiteral("(does not match)"));
                QVERIFY(!IsGreyed(&dialog, 0));
                QVERIFY(IsGreyed(&dialog, 1));
                QCOMPARE(Child<QLabel>(&dialog, "Status")->text(),
                         QStringLiteral("1 of 2 files match the pattern."));
                QVERIFY(pOK->isEnabled());

                // Two fields with nothing between them: refused, the preview empty.
                pEdit->setText(QStringLiteral("<track><title>"));
                QVERIFY(!pOK->isEnabled());
                QCOMPARE(Cell(&dialog, 0, 1), QString());
                QCOMPARE(Child<QLabel>(&dialog, "Status")->text(),
                         QStringLiteral("Two fields need some text between them."));
                // Valid, but no file matches.
                pEdit->setText(QStringLiteral("[<title>]"));
                QVERIFY(!pOK->isEnabled());

                // Return on a disabled OK does nothing; the mnemonics reach every control.
                QTest::keyClick(pEdit, Qt::Key_Return);
                QVERIFY(dialog.isVisible());
                QTest::keyClick(&dialog, Qt::Key_F, Qt::AltModifier);
                QCOMPARE(QApplication::focusWidget(), Child<QTreeView>(&dialog, "Preview"));
                QTest::keyClick(&dialog, Qt::Key_P, Qt::AltModifier);
                QCOMPARE(QApplication::focusWidget(), Child<QWidget>(&dialog, "Pattern"));
                QTest::keyClick(&dialog, Qt::Key_Escape);
            });
        QCOMPARE(nResult, int(QDialog::Rejected));
    }

    void tokenMenuInsertsAtTheSelection()
    {
        CTagsFromNameDialog dialog;
        dialog.m_files = {CString(u"/m/x.mp3")};
        RunDialog(dialog,
                  [&dialog]
                  {
                      auto* pEdit = Child<QComboBox>(&dialog, "Pattern")->lineEdit();
                      auto* pButton = Child<QToolButton>(&dialog, "Tokens");
                      QTest::keyClicks(pEdit, QStringLiteral("X - Y"));
                      pEdit->setSelection(0, 1);
                      ChooseToken(pButton, 33003); // <artist>
                      QCOMPARE(pEdit->text(), QStringLiteral("<artist> - Y"));
                      pEdit->setSelection(11, 1);
                      ChooseToken(pButton, 33007); // <skip>
                      QCOMPARE(pEdit->text(), QStringLiteral("<artist> - <skip>"));
                      QCOMPARE(pEdit->cursorPosition(), pEdit->text().size());
                      QCOMPARE(dialog.focusWidget(), Child<QWidget>(&dialog, "Pattern"));
                  });
    }

    void recentPatternsAreOfferedAndReturnPressesOK()
    {
        CTagsFromNameDialog dialog;
        dialog.m_files = {CString(u"/m/Artist - Song.mp3")};
        dialog.m_arrRecent = {CString(u"<artist> - <title>"), CString(u"<title>")};
        const int nResult =
            RunDialog(dialog,
                      [&dialog]
                      {
                          auto* pCombo = Child<QComboBox>(&dialog, "Pattern");
                          QCOMPARE(pCombo->count(), 2);
                          QCOMPARE(pCombo->itemText(1), QStringLiteral("<title>"));
                          QCOMPARE(pCombo->currentText(), QStringLiteral("<artist> - <title>"));
                          QCOMPARE(Cell(&dialog, 0, 1), QStringLiteral("Song"));
                          // The second entry chosen with the keyboard, then Return.
                          QTest::keyClick(pCombo->lineEdit(), Qt::Key_Down);
                          QCOMPARE(pCombo->currentText(), QStringLiteral("<title>"));
                          QCOMPARE(Cell(&dialog, 0, 1), QStringLiteral("Artist - Song"));
                          pCombo->lineEdit()->setText(QStringLiteral(" <title> "));
                          QTest::keyClick(pCombo->lineEdit(), Qt::Key_Return);
                      });
        QCOMPARE(nResult, int(QDialog::Accepted));
        QCOMPARE(ToQString(dialog.m_strPattern), QStringLiteral("<title>"));
    }
};

QTEST_MAIN(TagsFromNameDialogTest)
#include "TagsFromNameDialogTest.moc"
