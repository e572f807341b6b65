// The diagnostics dialog as a bulk operation fills it and its caller shows it.
#include "UiFiles.h"

#include "app/BusyState.h"
#include "base/ProfileStore.h"
#include "browser/ui/DiagnosticDialog.h"
#include "browser/ui/FileView.h"
#include "browser/ui/QtString.h"

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>

class DiagnosticDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { UiFiles::PrepareRuntimeDir(); }

    void showsOneRowPerMessageFirstSelected()
    {
        CDiagnosticDialog dialog;
        for (int n = 0; n < 50; ++n)
            dialog.AddMessage(CString(QStringLiteral("Problem %1\r\nsecond").arg(n).toStdString()));
        QCOMPARE(dialog.GetCount(), 50);
        bool bChecked = false;
        QTimer::singleShot(
            0, this,
            [&]
            {
                QCOMPARE(QApplication::activeModalWidget(), &dialog);
                QCOMPARE(dialog.windowTitle(), QStringLiteral("Diagnostic Messages"));
                QTreeWidget* pList = dialog.GetList();
                QCOMPARE(pList->headerItem()->text(0), QStringLiteral("Message"));
                QCOMPARE(pList->columnCount(), 1);
                QCOMPARE(pList->topLevelItemCount(), 50);
                QCOMPARE(pList->topLevelItem(0)->text(0), QStringLiteral("Problem 0 second"));
                QVERIFY(pList->topLevelItem(0)->isSelected());
                QCOMPARE(pList->selectedItems().size(), 1);
                const QImage image = pList->topLevelItem(7)->icon(0).pixmap(16, 16).toImage();
                QCOMPARE(image.size(), QSize(16, 16));
                QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
                const QColor centre = image.pixelColor(3, 8);
                QVERIFY(centre.red() > 180 && centre.green() < 80);
                bChecked = true;
                auto* pOk = dialog.findChild<QPushButton*>(QStringLiteral("1"));
                QVERIFY(pOk);
                QCOMPARE(pOk->text(), QStringLiteral("OK"));
                QTest::mouseClick(pOk, Qt::LeftButton);
            });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY(bChecked);
        // The messages stay with the object.
        QCOMPARE(dialog.GetCount(), 50);
    }

    void collectsTheProblemsOfADrop()
    {
        Fixtures::CTempDir dir;
        QVERIFY(UiFiles::WriteUntagged(dir, "song.MP3"));
        QVERIFY(UiFiles::WriteUntagged(dir, "song.mp4"));
        QVERIFY(UiFiles::WriteUntagged(dir, "list.lst"));
        CBusyState busy;
        CFileView view(busy, nullptr);
        CDiagnosticDialog dialog(&view);
        view.AddDroppedFiles(
            {dir.StrPathOf("song.MP3"), dir.StrPathOf("song.mp4"), dir.StrPathOf("list.lst")},
            &dialog);
        QCOMPARE(view.GetItemCount(), 1);
        QCOMPARE(dialog.GetCount(), 2);
        QCOMPARE(ToQString(dialog.GetMessages()[0]),
                 QStringLiteral("The type of file '%1' is not currently supported.")
                     .arg(ToQString(dir.StrPathOf("song.mp4"))));
    }
};

QTEST_MAIN(DiagnosticDialogTest)
#include "DiagnosticDialogTest.moc"
