// The rename dialogs driven through their controls on real files: the pattern with its tokens
// and limits, the counter fields, the presets, the confirmation with its marks and alterations,
// and the command's run with its counters, failures and Esc.
#include "app/BusyState.h"
#include "browser/FileAssocData.h"
#include "browser/FileMove.h"
#include "browser/ui/DiagnosticDialog.h"
#include "browser/ui/QtString.h"
#include "rename/AutoRename.h"
#include "rename/AutoRenamePreset.h"
#include "rename/ui/AlterNameDialog.h"
#include "rename/ui/AutoRenameCommand.h"
#include "rename/ui/AutoRenameDialog.h"
#include "rename/ui/RenameImages.h"
#include "rename/ui/RenameListDialog.h"
#include "res/StringTable.h"

#include "fixtures/Mp3Builder.h"
#include "fixtures/TempDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace
{

template <typename T> T* Child(const QWidget* pParent, const char* pszName)
{
    return pParent->findChild<T*>(QString::fromLatin1(pszName));
}

// An MP3 file with an ID3v1 title and track, and its record.
std::unique_ptr<CFileAssocData> MakeFile(const fs::path& folder, const std::string& strName,
                                         const std::string& strTitle)
{
    Fixtures::CMp3Builder::Id3v1Fields fields;
    fields.m_strTitle = strTitle;
    fields.m_nTrack = 1;
    Fixtures::CMp3Builder().AddFrames({}, 3).AddId3v1(fields).WriteTo(folder / strName);
    auto pRecord = std::make_unique<CFileAssocData>();
    pRecord->Load(Fixtures::ToCString(folder / strName));
    return pRecord;
}

std::vector<CFileAssocData*> Pointers(const std::vector<std::unique_ptr<CFileAssocData>>& records)
{
    std::vector<CFileAssocData*> arrRecords;
    for (const auto& pRecord : records)
        arrRecords.push_back(pRecord.get());
    return arrRecords;
}

QString Text(UINT nID)
{
    return ToQString(Res::LoadResourceString(nID));
}

// Hands every new modal widget to fn once, also those opened from inside fn; message boxes
// are answered with their default button after their text is kept.
class CModalScript : public QObject
{
public:
    explicit CModalScript(std::function<void(QWidget*)> fn) : m_fn(std::move(fn))
    {
        QTimer::singleShot(0, this, &CModalScript::Check);
    }

    QStringList m_arrMessages;
    int m_nHandled = 0;

private:
    void Check()
    {
        // A fresh timer reaches the event loop of a dialog that the handler opens.
        QTimer::singleShot(5, this, &CModalScript::Check);
        QWidget* pModal = QApplication::activeModalWidget();
        if (!pModal || !pModal->isVisible() || m_handled.contains(pModal))
            return;
        m_handled.append(pModal);
        ++m_nHandled;
        pModal->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pModal));
        if (auto* pBox = qobject_cast<QMessageBox*>(pModal))
        {
            m_arrMessages.append(pBox->text());
            pBox->accept();
            return;
        }
        m_fn(pModal);
        // A script that stopped early (a failed check) leaves its dialog open: close it so that
        // the test ends.
        if (pModal->isVisible() && QApplication::activeModalWidget() == pModal)
            pModal->close();
    }

    std::function<void(QWidget*)> m_fn;
    QList<QPointer<QWidget>> m_handled;
};

// Chooses the token of the command from the menu that opens when the button is pressed, by
// mouse or, with the focus on the button, by the space bar.
void ChooseToken(QToolButton* pButton, UINT nID, bool bKeyboard)
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
    if (bKeyboard)
        QTest::keyClick(pButton, Qt::Key_Space);
    else
        QTest::mouseClick(pButton, Qt::LeftButton);
}

// Every caption with a mnemonic leads to a control.
void CheckBuddies(const QWidget* pDialog)
{
    for (const QLabel* pLabel : pDialog->findChildren<QLabel*>())
    {
        if (pLabel->text().contains(QLatin1Char('&')))
            QVERIFY2(pLabel->buddy(), qPrintable(pLabel->text()));
    }
}

QImage ImageOf(const QVariant& decoration)
{
    return decoration.value<QIcon>().pixmap(QSize(16, 16)).toImage();
}

QImage ImageOf(ERenameImage nImage)
{
    return RenameImages::CreateImage(nImage).pixmap(QSize(16, 16)).toImage();
}

// The busy state's window side: an Esc key press is posted as the given poll begins and picked
// up by that poll, as the busy pump does.
class CEscapeHost : public QObject, public IBusyHost
{
public:
    explicit CEscapeHost(int nEscapeAtPoll) : m_nEscapeAtPoll(nEscapeAtPoll)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~CEscapeHost() override { QCoreApplication::instance()->removeEventFilter(this); }

    void SetBusyMode(BOOL bBusy) override { m_arrModes.append(bBusy != FALSE); }
    void SetStatusText(const CString& strText) override { m_strStatus = ToQString(strText); }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    BOOL PollEscape() override
    {
        if (++m_nPolls == m_nEscapeAtPoll)
            QCoreApplication::postEvent(
                &m_target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        QCoreApplication::processEvents();
        return std::exchange(m_bEscape, false) ? TRUE : FALSE;
    }

    bool eventFilter(QObject* pWatched, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(pEvent)->key() == Qt::Key_Escape && pWatched == &m_target)
        {
            m_bEscape = true;
            return true;
        }
        return QObject::eventFilter(pWatched, pEvent);
    }

    QList<bool> m_arrModes;
    QString m_strStatus;
    int m_nPolls = 0;

private:
    int m_nEscapeAtPoll = 0;
    bool m_bEscape = false;
    QWidget m_target;
};

} // namespace

class RenameDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void patternTakesTokensAtTheSelectionWithinItsLimit()
    {
        Fixtures::CTempDir dir;
        const auto pRecord = MakeFile(dir.GetPath(), "a.mp3", "Intro");
        CAutoRenamePreset presets;
        CAutoRenameDialog dialog;
        dialog.SetPresets(&presets);
        dialog.SetPreviewRecord(pRecord.get());
        CModalScript script(
            [&](QWidget* pDialog)
            {
                auto* pEdit = Child<QLineEdit>(pDialog, "1070");
                auto* pButton = Child<QToolButton>(pDialog, "1068");
                auto* pOK = Child<QPushButton>(pDialog, "1");
                auto* pAdd = Child<QPushButton>(pDialog, "1086");
                auto* pPreview = Child<QLabel>(pDialog, "Preview");
                QCOMPARE(pDialog->focusWidget(), pEdit);
                QVERIFY(!pOK->isEnabled() && !pAdd->isEnabled());
                QTest::keyClicks(pEdit, QStringLiteral("   "));
                QVERIFY(!pOK->isEnabled() && !pAdd->isEnabled());

                // At the caret, chosen with the mouse; the caret follows the token.
                pEdit->setText(QStringLiteral("a-b"));
                pEdit->setCursorPosition(2);
                ChooseToken(pButton, 32914, false);
                QCOMPARE(pEdit->text(), QStringLiteral("a-<title>b"));
                QCOMPARE(pEdit->cursorPosition(), 9);
                QCOMPARE(pDialog->focusWidget(), pEdit);
                QVERIFY(pOK->isEnabled() && pAdd->isEnabled());
                QCOMPARE(pPreview->text(), QStringLiteral("a-Introb.mp3"));
                // Over the selection, through the keyboard (the edit loses the focus first).
                QVERIFY(QTest::qWaitForWindowActive(pDialog));
                pEdit->setSelection(2, 7);
                QTest::keyClick(pEdit, Qt::Key_Tab);
                QCOMPARE(pDialog->focusWidget(), pButton);
                ChooseToken(pButton, 32918, true);
                QCOMPARE(pEdit->text(), QStringLiteral("a-<year>b"));
                QCOMPARE(pEdit->cursorPosition(), 8);

                // At most 256 characters are typed; a token may go beyond, and such a pattern
                // is refused whole, with the limit named.
                pEdit->clear();
                QTest::keyClicks(pEdit, QString(300, QLatin1Char('x')));
                QCOMPARE(pEdit->text().size(), 256);
                ChooseToken(pButton, 32914, false);
                QCOMPARE(pEdit->text().size(), 263);
                QTest::keyClick(pEdit, Qt::Key_Y);
                QCOMPARE(pEdit->text().size(), 263);
                pOK->click();
                pAdd->click();
                QCOMPARE(script.m_arrMessages,
                         QStringList(2, Text(Res::IDS_RENAME_FORMAT_TOO_LONG)));
                QVERIFY(pDialog->isVisible());
                QCOMPARE(presets.GetCount(), 0);
                QCOMPARE(pEdit->selectedText().size(), 263);
                QTest::keyClick(pEdit, Qt::Key_Backspace);
                QVERIFY(pEdit->text().isEmpty());

                // Blanks around the pattern are not part of it; Return presses OK.
                QTest::keyClicks(pEdit, QStringLiteral("   <title>   "));
                QTest::keyClick(pEdit, Qt::Key_Return);
            });
        QCOMPARE(dialog.DoModal(), int(QDialog::Accepted));
        QCOMPARE(GetPresetFormat(dialog.m_preset), CString(u"<title>"));
        QCOMPARE(dialog.m_preset.nCounterStart, 0);
        QCOMPARE(dialog.m_preset.nCounterStep, 1);
        QCOMPARE(dialog.m_preset.nLeadingZeros, 3);
        QCOMPARE(dialog.m_preset.bResetPerFolder, TRUE);
    }

    void counterFieldsAreReadInOrderAsBoundFields()
    {
        CAutoRenamePreset presets;
        {
            // Out of range: its message, then the pattern's; the dialog stays.
            CAutoRenameDialog dialog;
            dialog.SetPresets(&presets);
            CModalScript script(
                [&](QWidget* pDialog)
                {
                    auto* pStart = Child<QLineEdit>(pDialog, "1074");
                    auto* pStep = Child<QLineEdit>(pDialog, "1076");
                    auto* pZeros = Child<QLineEdit>(pDialog, "1079");
                    QCOMPARE(pStart->text(), QStringLiteral("0"));
                    QCOMPARE(pStep->text(), QStringLiteral("1"));
                    QCOMPARE(pZeros->text(), QStringLiteral("3"));
                    QVERIFY(Child<QCheckBox>(pDialog, "1073")->isChecked());
                    CheckBuddies(pDialog);
                    QTest::keyClick(pDialog, Qt::Key_T, Qt::AltModifier);
                    QVERIFY(pDialog->focusWidget() == pStep ||
                            pDialog->focusWidget() == Child<QWidget>(pDialog, "1077"));
                    // The arrows step within the range; only digits are typed.
                    QTest::keyClick(pZeros, Qt::Key_Up);
                    QTest::keyClick(pZeros, Qt::Key_Up);
                    QTest::keyClick(pZeros, Qt::Key_Up);
                    QCOMPARE(pZeros->text(), QStringLiteral("5"));
                    QTest::keyClicks(pStep, QStringLiteral("x"));
                    QCOMPARE(pStep->text(), QStringLiteral("1"));

                    Child<QLineEdit>(pDialog, "1070")->setText(QStringLiteral("<title>"));
                    pStart->selectAll();
                    QTest::keyClicks(pStart, QStringLiteral("70000"));
                    Child<QPushButton>(pDialog, "1")->click();
                    QCOMPARE(script.m_arrMessages,
                             (QStringList{QStringLiteral("Enter an integer between 0 and 65535."),
                                          Text(Res::IDS_INVALID_RENAME_FORMAT)}));
                    QVERIFY(pDialog->isVisible());
                    QCOMPARE(pDialog->focusWidget(), Child<QLineEdit>(pDialog, "1070"));
                    QTest::keyClick(pDialog, Qt::Key_Escape);
                });
            QCOMPARE(dialog.DoModal(), int(QDialog::Rejected));
        }

        // Not a number: its message, and OK with the values held before, the reset flag
        // included, as the reading stopped at the first field.
        CAutoRenameDialog dialog;
        dialog.SetPresets(&presets);
        CModalScript script(
            [&](QWidget* pDialog)
            {
                Child<QLineEdit>(pDialog, "1070")->setText(QStringLiteral("<title>"));
                Child<QLineEdit>(pDialog, "1076")->setText(QStringLiteral("5"));
                Child<QCheckBox>(pDialog, "1073")->setChecked(false);
                Child<QLineEdit>(pDialog, "1074")->clear();
                Child<QPushButton>(pDialog, "1")->click();
                QCOMPARE(script.m_arrMessages, QStringList{QStringLiteral("Enter an integer.")});
            });
        QCOMPARE(dialog.DoModal(), int(QDialog::Accepted));
        QCOMPARE(dialog.m_preset.nCounterStart, 0);
        QCOMPARE(dialog.m_preset.nCounterStep, 1);
        QCOMPARE(dialog.m_preset.nLeadingZeros, 3);
        QCOMPARE(dialog.m_preset.bResetPerFolder, TRUE);
    }

    void presetListChangesTheStoreAtOnce()
    {
        CAutoRenamePreset presets;
        presets.AddPreset(CString(u"<title>"));
        presets.AddPreset(MakePreset(CString(u"<artist>-<title>"), 7, 2, 2, FALSE));
        CAutoRenameDialog dialog;
        dialog.SetPresets(&presets);
        CModalScript script(
            [&](QWidget* pDialog)
            {
                auto* pList = Child<QWidget>(pDialog, "1085")->findChild<QListWidget*>();
                auto* pEdit = Child<QLineEdit>(pDialog, "1070");
                auto* pAdd = Child<QPushButton>(pDialog, "1086");
                QCOMPARE(pList->count(), 2);
                QVERIFY(pEdit->text().isEmpty());
                // Selecting a row applies its preset.
                pList->setFocus();
                pList->setCurrentRow(1);
                QCOMPARE(pEdit->text(), QStringLiteral("<artist>-<title>"));
                QCOMPARE(Child<QLineEdit>(pDialog, "1074")->text(), QStringLiteral("7"));
                QCOMPARE(Child<QLineEdit>(pDialog, "1076")->text(), QStringLiteral("2"));
                QCOMPARE(Child<QLineEdit>(pDialog, "1079")->text(), QStringLiteral("2"));
                QVERIFY(!Child<QCheckBox>(pDialog, "1073")->isChecked());

                pEdit->setText(QStringLiteral("<album>"));
                pAdd->click();
                QCOMPARE(presets.GetCount(), 3);
                QCOMPARE(pList->item(2)->text(), QStringLiteral("<album>"));
                QCOMPARE(presets.GetPreset(2)->nCounterStart, 7);
                // Move Up and Delete change the store the same way.
                pList->setFocus();
                pList->setCurrentRow(2);
                QTest::keyClick(pList, Qt::Key_Up, Qt::AltModifier);
                QCOMPARE(GetPresetFormat(*presets.GetPreset(1)), CString(u"<album>"));
                QCOMPARE(GetPresetFormat(*presets.GetPreset(2)), CString(u"<artist>-<title>"));
                pList->setCurrentRow(0);
                QTest::keyClick(pList, Qt::Key_Delete);
                QCOMPARE(presets.GetCount(), 2);
                QCOMPARE(GetPresetFormat(*presets.GetPreset(0)), CString(u"<album>"));
                QCOMPARE(pList->item(0)->text(), QStringLiteral("<album>"));

                // Equal presets may be added up to sixteen; the seventeenth is refused.
                while (presets.GetCount() < CAutoRenamePreset::MAX_PRESETS)
                    pAdd->click();
                QVERIFY(script.m_arrMessages.isEmpty());
                pAdd->click();
                QCOMPARE(script.m_arrMessages, QStringList{Text(Res::IDS_TOO_MANY_PRESETS)});
                QCOMPARE(presets.GetCount(), 16);
                QCOMPARE(pList->count(), 16);
                QTest::keyClick(pDialog, Qt::Key_Escape);
            });
        QCOMPARE(dialog.DoModal(), int(QDialog::Rejected));
        // Cancelling keeps what the list changed.
        QCOMPARE(presets.GetCount(), 16);
    }

    void confirmationMarksNamesAndAltersThem()
    {
        Fixtures::CTempDir dir;
        std::vector<std::unique_ptr<CFileAssocData>> records;
        records.push_back(MakeFile(dir.GetPath(), "a.mp3", "Same"));
        records.push_back(MakeFile(dir.GetPath(), "b.mp3", "Same"));
        records.push_back(MakeFile(dir.GetPath(), "c.mp3", ""));
        records.push_back(MakeFile(dir.GetPath(), "d.mp3", "d"));
        CBusyState busy;
        CAutoRename engine(busy);
        for (size_t i = 0; i < records.size(); ++i)
            engine.AddRecord(records[i].get(), static_cast<int>(i));
        QVERIFY(engine.PlanNames(MakePreset(CString(u"<title>"))));

        CRenameListDialog dialog;
        dialog.SetEngine(&engine);
        // The names typed in each Alter Name, in turn; the last of each is confirmed.
        QList<QStringList> arrAlterations = {
            {QStringLiteral("c2.mp3")},
            {QStringLiteral("a:b.mp3"), QStringLiteral("a<b.mp3"), QStringLiteral("a|b.mp3"),
             QStringLiteral("   "), QStringLiteral("   Unique.mp3  ")},
            {QStringLiteral("same.mp3")},
        };
        CModalScript script(
            [&](QWidget* pModal)
            {
                if (qobject_cast<CAlterNameDialog*>(pModal))
                {
                    auto* pEdit = Child<QLineEdit>(pModal, "1082");
                    auto* pOK = Child<QPushButton>(pModal, "1");
                    CheckBuddies(pModal);
                    const QStringList arrNames = arrAlterations.takeFirst();
                    for (const QString& strName : arrNames)
                    {
                        pEdit->setText(strName);
                        if (!pOK->isEnabled())
                            continue;
                        QTest::keyClick(pEdit, Qt::Key_Return);
                    }
                    return;
                }
                auto* pList = Child<QTreeView>(pModal, "1081");
                QAbstractItemModel* pModel = pList->model();
                QCOMPARE(pModel->rowCount(), 4);
                QCOMPARE(pModel->headerData(0, Qt::Horizontal).toString(),
                         QStringLiteral("Filename"));
                QCOMPARE(pModel->headerData(1, Qt::Horizontal).toString(),
                         QStringLiteral("New Filename"));
                QCOMPARE(pModel->headerData(2, Qt::Horizontal).toString(),
                         QStringLiteral("Folder"));
                QCOMPARE(pList->columnWidth(2), 500);
                QCOMPARE(pModel->index(1, 0).data().toString(), QStringLiteral("b.mp3"));
                QCOMPARE(pModel->index(1, 1).data().toString(), QStringLiteral("Same.mp3"));
                QCOMPARE(pModel->index(1, 2).data().toString(), ToQString(dir.StrPath()));
                const auto marks = [pModel]
                {
                    QList<ERenameImage> arrMarks;
                    for (int nRow = 0; nRow < pModel->rowCount(); ++nRow)
                    {
                        for (int n = 0; n < RENAME_IMAGE_COUNT; ++n)
                        {
                            const auto nImage = static_cast<ERenameImage>(n);
                            if (ImageOf(pModel->index(nRow, 1).data(Qt::DecorationRole)) ==
                                ImageOf(nImage))
                                arrMarks.append(nImage);
                        }
                    }
                    return arrMarks;
                };
                QCOMPARE(ImageOf(pModel->index(0, 0).data(Qt::DecorationRole)),
                         ImageOf(RENAME_IMAGE_ARROW));
                // The first of two equal names is usable, the second clashes; an empty title
                // warns; a name that is the file's own clashes with it.
                QCOMPARE(marks(), (QList<ERenameImage>{RENAME_IMAGE_READY, RENAME_IMAGE_CLASH,
                                                       RENAME_IMAGE_PARTIAL, RENAME_IMAGE_CLASH}));

                // F2 on the incomplete row: now complete, and every equal name clashes.
                QCOMPARE(pModal->focusWidget(), pList);
                pList->setCurrentIndex(pModel->index(2, 0));
                QTest::keyClick(pList, Qt::Key_F2);
                QCOMPARE(pModel->index(2, 1).data().toString(), QStringLiteral("c2.mp3"));
                QCOMPARE(marks(), (QList<ERenameImage>{RENAME_IMAGE_CLASH, RENAME_IMAGE_CLASH,
                                                       RENAME_IMAGE_READY, RENAME_IMAGE_CLASH}));
                // Altering one of the two equal names clears both crosses; the refused names
                // kept the dialog open with their message.
                pList->setCurrentIndex(pModel->index(0, 0));
                const QPoint pos = pList->visualRect(pModel->index(0, 1)).center();
                QTest::mouseClick(pList->viewport(), Qt::LeftButton, {}, pos);
                QTest::mouseDClick(pList->viewport(), Qt::LeftButton, {}, pos);
                QCOMPARE(script.m_arrMessages, QStringList(3, Text(Res::IDS_INVALID_FILE_NAME)));
                QCOMPARE(pModel->index(0, 1).data().toString(), QStringLiteral("Unique.mp3"));
                QCOMPARE(marks(), (QList<ERenameImage>{RENAME_IMAGE_READY, RENAME_IMAGE_READY,
                                                       RENAME_IMAGE_READY, RENAME_IMAGE_CLASH}));
                // A change of case alone is a change.
                pList->setCurrentIndex(pModel->index(1, 0));
                Child<QPushButton>(pModal, "1083")->click();
                QCOMPARE(pModel->index(1, 1).data().toString(), QStringLiteral("same.mp3"));
                QVERIFY(arrAlterations.isEmpty());
                pList->setFocus();
                QTest::keyClick(pList, Qt::Key_Return);
            });
        QCOMPARE(dialog.DoModal(), int(QDialog::Accepted));
        QCOMPARE(engine.GetItem(1)->strNewName, CString(u"same.mp3"));
        QCOMPARE(engine.GetItem(2)->bAllFields, TRUE);
    }

    void commandCountsPerFolderAndReportsRefusedRenames()
    {
        Fixtures::CTempDir dir;
        fs::create_directory(dir.PathOf("A"));
        fs::create_directory(dir.PathOf("B"));
        std::vector<std::unique_ptr<CFileAssocData>> records;
        records.push_back(MakeFile(dir.PathOf("A"), "1.mp3", "x"));
        records.push_back(MakeFile(dir.PathOf("B"), "2.mp3", "y"));
        records.push_back(MakeFile(dir.PathOf("A"), "3.mp3", "z"));
        CAutoRenamePreset presets;
        presets.AddPreset(CString(u"<counter> <title>"));
        CBusyState busy;
        CAutoRenameCommand command(busy, presets, nullptr);

        QStringList arrDiagnostics;
        CModalScript script(
            [&](QWidget* pModal)
            {
                if (auto* pDiagnostics = qobject_cast<CDiagnosticDialog*>(pModal))
                {
                    for (const CString& strLine : pDiagnostics->GetMessages())
                        arrDiagnostics.append(ToQString(strLine));
                    pDiagnostics->accept();
                    return;
                }
                // Grouped by folder, each folder counting from the start.
                QAbstractItemModel* pModel = Child<QTreeView>(pModal, "1081")->model();
                QStringList arrNames;
                for (int nRow = 0; nRow < pModel->rowCount(); ++nRow)
                    arrNames.append(pModel->index(nRow, 1).data().toString());
                QCOMPARE(arrNames,
                         (QStringList{QStringLiteral("000 x.mp3"), QStringLiteral("001 z.mp3"),
                                      QStringLiteral("000 y.mp3")}));
                // Another program takes one of the names before OK.
                Fixtures::CMp3Builder().AddFrames({}, 1).WriteTo(dir.PathOf("A/001 z.mp3"));
                Child<QPushButton>(pModal, "1")->click();
            });
        const std::vector<CFileAssocData*> arrShown = command.Run(0, Pointers(records));
        QCOMPARE(arrShown.size(), size_t(3));
        QVERIFY(fs::exists(dir.PathOf("A/000 x.mp3")));
        QVERIFY(fs::exists(dir.PathOf("B/000 y.mp3")));
        QVERIFY(fs::exists(dir.PathOf("A/3.mp3")));
        QCOMPARE(records[0]->m_strFileName, CString(u"000 x.mp3"));
        QCOMPARE(records[2]->m_strFileName, CString(u"3.mp3"));
        const CString strExpected =
            Res::FormatResourceString(Res::IDS_RENAME_FAILED, records[2]->GetFullPath(),
                                      records[2]->m_strFolder + u"/001 z.mp3") +
            u" " + GetOsErrorText(EEXIST);
        QCOMPARE(arrDiagnostics, QStringList{ToQString(strExpected)});
    }

    void escStopsARunBeforeTheNextFile()
    {
        Fixtures::CTempDir dir;
        std::vector<std::unique_ptr<CFileAssocData>> records;
        for (int i = 0; i < 100; ++i)
        {
            const std::string strNumber = std::to_string(1000 + i).substr(1);
            records.push_back(MakeFile(dir.GetPath(), "f" + strNumber + ".mp3", "T" + strNumber));
        }
        CAutoRenamePreset presets;
        presets.AddPreset(CString(u"<title>"));
        // Esc arrives while the third file is next.
        CEscapeHost host(3);
        CBusyState busy(&host);
        CAutoRenameCommand command(busy, presets, nullptr);
        CModalScript script(
            [](QWidget* pModal)
            {
                auto* pList = Child<QTreeView>(pModal, "1081");
                QTest::keyClick(pList, Qt::Key_Return);
            });
        QCOMPARE(command.Run(0, Pointers(records)).size(), size_t(100));
        QVERIFY(fs::exists(dir.PathOf("T000.mp3")));
        QVERIFY(fs::exists(dir.PathOf("T001.mp3")));
        int nLeft = 0;
        for (int i = 2; i < 100; ++i)
            nLeft += fs::exists(dir.PathOf("f" + std::to_string(1000 + i).substr(1) + ".mp3"));
        QCOMPARE(nLeft, 98);
        QCOMPARE(host.m_nPolls, 3);
        QVERIFY(!busy.IsBusy());
        QCOMPARE(host.m_arrModes, (QList<bool>{true, false}));
        QCOMPARE(host.m_strStatus, QStringLiteral("Ready"));
    }
};

QTEST_MAIN(RenameDialogsTest)
#include "RenameDialogsTest.moc"
