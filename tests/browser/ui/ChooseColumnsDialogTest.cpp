// The "Choose Columns" dialog over the file list's real columns.
#include "UiFiles.h"

#include "app/BusyState.h"
#include "base/ProfileStore.h"
#include "browser/ui/ChooseColumnsDialog.h"
#include "browser/ui/FileView.h"
#include "browser/ui/FileViewCommands.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace
{

QStringList ShownTitles(const CFileView& view)
{
    QStringList arr;
    for (const int n : view.GetColumns().GetColumnOrder())
        arr.append(view.model()->headerData(n, Qt::Horizontal).toString());
    return arr;
}

QStringList ItemTitles(const QListWidget& list)
{
    QStringList arr;
    for (int n = 0; n < list.count(); ++n)
        arr.append(list.item(n)->text());
    return arr;
}

QListWidgetItem* FindItem(const QListWidget& list, const QString& strTitle)
{
    for (int n = 0; n < list.count(); ++n)
    {
        if (list.item(n)->text() == strTitle)
            return list.item(n);
    }
    return nullptr;
}

} // namespace

class ChooseColumnsDialogTest : public QObject
{
    Q_OBJECT

private:
    CBusyState m_busy;
    CMemoryProfileStore m_profile;
    std::unique_ptr<CFileView> m_pView;

    // Opens the dialog through the list's command and runs act on it while it is modal.
    void RunDialog(const std::function<void(CChooseColumnsDialog&)>& act)
    {
        bool bRan = false;
        QTimer::singleShot(0, this,
                           [&]
                           {
                               auto* pDialog = qobject_cast<CChooseColumnsDialog*>(
                                   QApplication::activeModalWidget());
                               QVERIFY(pDialog);
                               bRan = true;
                               act(*pDialog);
                               if (pDialog->isVisible())
                                   pDialog->reject();
                           });
        QVERIFY(m_pView->OnCommand(Cmd::ID_CHOOSE_COLUMNS));
        QVERIFY(bRan);
    }

private slots:
    void initTestCase() { UiFiles::PrepareRuntimeDir(); }

    void init()
    {
        m_profile = CMemoryProfileStore();
        m_pView = std::make_unique<CFileView>(m_busy, &m_profile);
        m_pView->resize(800, 300);
        m_pView->show();
    }

    void cleanup() { m_pView.reset(); }

    void opensWithShownColumnsFirst()
    {
        RunDialog(
            [](CChooseColumnsDialog& dialog)
            {
                QCOMPARE(dialog.windowTitle(), QStringLiteral("Choose Columns"));
                auto* pList = dialog.findChild<QListWidget*>(QStringLiteral("201"));
                QVERIFY(pList);
                QCOMPARE(ItemTitles(*pList),
                         (QStringList{"Filename", "Size", "Date modified", "Tag", "Title", "Artist",
                                      "Album", "Genre", "Year", "Comment", "Track#", "Length",
                                      "Bitrate", "Sample rate", "Channels", "Date created",
                                      "Date accessed", "Folder"}));
                QCOMPARE(pList->item(14)->checkState(), Qt::Checked);
                QCOMPARE(pList->item(15)->checkState(), Qt::Unchecked);
                QCOMPARE(pList->currentRow(), 0);
                auto* pUp = dialog.findChild<QPushButton*>(QStringLiteral("203"));
                auto* pDown = dialog.findChild<QPushButton*>(QStringLiteral("204"));
                QVERIFY(!pUp->isEnabled());
                QVERIFY(pDown->isEnabled());
                QVERIFY(pUp->text().isEmpty());
                auto* pWidth = dialog.findChild<QLineEdit*>(QStringLiteral("202"));
                QCOMPARE(pWidth->text(), QStringLiteral("200"));
                QCOMPARE(pWidth->maxLength(), 3);
                // The Filename column cannot be unchecked.
                pList->item(0)->setCheckState(Qt::Unchecked);
                QCOMPARE(pList->item(0)->checkState(), Qt::Checked);
                QCOMPARE(pList->item(0)->foreground().color(),
                         dialog.palette().color(QPalette::Disabled, QPalette::WindowText));
            });
    }

    void okShowsTheCheckedColumnsInTheDialogsOrder()
    {
        RunDialog(
            [](CChooseColumnsDialog& dialog)
            {
                auto* pList = dialog.findChild<QListWidget*>(QStringLiteral("201"));
                auto* pUp = dialog.findChild<QPushButton*>(QStringLiteral("203"));
                auto* pWidth = dialog.findChild<QLineEdit*>(QStringLiteral("202"));
                // Folder shown, moved up twice, 150 wide; Size hidden.
                QListWidgetItem* pFolder = FindItem(*pList, QStringLiteral("Folder"));
                pFolder->setCheckState(Qt::Checked);
                pList->setCurrentItem(pFolder);
                QTest::mouseClick(pUp, Qt::LeftButton);
                QTest::mouseClick(pUp, Qt::LeftButton);
                QCOMPARE(pList->currentItem()->text(), QStringLiteral("Folder"));
                QCOMPARE(pList->currentRow(), 15);
                QCOMPARE(pList->currentItem()->checkState(), Qt::Checked);
                pWidth->selectAll();
                QTest::keyClicks(pWidth, QStringLiteral("1500"));
                QCOMPARE(pWidth->text(), QStringLiteral("150"));
                FindItem(*pList, QStringLiteral("Size"))->setCheckState(Qt::Unchecked);
                // A width below the minimum becomes the minimum.
                pList->setCurrentItem(FindItem(*pList, QStringLiteral("Title")));
                pWidth->selectAll();
                QTest::keyClicks(pWidth, QStringLiteral("5"));
                QCOMPARE(pWidth->text(), QStringLiteral("5"));
                dialog.accept();
            });
        const QStringList arrTitles = ShownTitles(*m_pView);
        QCOMPARE(arrTitles, (QStringList{"Filename", "Date modified", "Tag", "Title", "Artist",
                                         "Album", "Genre", "Year", "Comment", "Track#", "Length",
                                         "Bitrate", "Sample rate", "Channels", "Folder"}));
        const QHeaderView* pHeader = m_pView->horizontalHeader();
        QCOMPARE(pHeader->sectionSize(pHeader->logicalIndex(14)), 150);
        QCOMPARE(pHeader->sectionSize(pHeader->logicalIndex(3)), 60);
        // The command stored the layout.
        QVERIFY(m_profile.HasValue(u"Settings", u"ColumnsOrder"));
    }

    void cancelLeavesTheListAsItWas()
    {
        const QStringList arrBefore = ShownTitles(*m_pView);
        RunDialog(
            [](CChooseColumnsDialog& dialog)
            {
                auto* pList = dialog.findChild<QListWidget*>(QStringLiteral("201"));
                auto* pDown = dialog.findChild<QPushButton*>(QStringLiteral("204"));
                pList->setCurrentRow(0);
                QTest::mouseClick(pDown, Qt::LeftButton);
                pList->item(3)->setCheckState(Qt::Unchecked);
                dialog.reject();
            });
        QCOMPARE(ShownTitles(*m_pView), arrBefore);
        // Cancel still stores the layout, unchanged.
        std::vector<BYTE> data;
        QVERIFY(m_profile.GetProfileBinary(u"Settings", u"ColumnsOrder", data));
        QCOMPARE(data.size(), size_t(15 * 8));
    }

    void lastItemCannotMoveDown()
    {
        RunDialog(
            [](CChooseColumnsDialog& dialog)
            {
                auto* pList = dialog.findChild<QListWidget*>(QStringLiteral("201"));
                auto* pDown = dialog.findChild<QPushButton*>(QStringLiteral("204"));
                auto* pUp = dialog.findChild<QPushButton*>(QStringLiteral("203"));
                pList->setCurrentRow(pList->count() - 1);
                QVERIFY(!pDown->isEnabled());
                QVERIFY(pUp->isEnabled());
            });
    }
};

QTEST_MAIN(ChooseColumnsDialogTest)
#include "ChooseColumnsDialogTest.moc"
