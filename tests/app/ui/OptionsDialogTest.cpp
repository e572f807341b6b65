// The "Options" dialog driven as a person would: its pages and their controls, the rules that
// enable them, what OK stores and Cancel leaves alone, the folder picker and the start of the
// registration run for the shell integration.
#include "AppTestEnv.h"

#include "app/AppSettings.h"
#include "app/ui/App.h"
#include "app/ui/CommandIds.h"
#include "app/ui/OptionsDialog.h"
#include "app/ui/OptionsPage.h"
#include "browser/ui/QtString.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace
{

template <typename T> T* Find(const QWidget& parent, const char* szName)
{
    return parent.findChild<T*>(QString::fromLatin1(szName));
}

QAbstractButton* Button(const QWidget& parent, const char* szName)
{
    return Find<QAbstractButton>(parent, szName);
}

// A click on the indicator of a check box or radio button, or the middle of a push button.
void Click(QAbstractButton* pButton)
{
    QVERIFY(pButton);
    const QPoint pt = qobject_cast<QPushButton*>(pButton)
                          ? pButton->rect().center()
                          : QPoint(qMin(7, pButton->width() / 2), pButton->height() / 2);
    QTest::mouseClick(pButton, Qt::LeftButton, Qt::NoModifier, pt);
}

void ClickTab(const COptionsDialog& dialog, int nTab)
{
    auto* pBar = dialog.findChild<QTabBar*>();
    QVERIFY(pBar);
    QTest::mouseClick(pBar, Qt::LeftButton, Qt::NoModifier, pBar->tabRect(nTab).center());
}

// Values every page shows differently from the defaults.
void Fill(CAppSettings& s)
{
    s.m_bWriteID3v1 = FALSE;
    s.m_bRemoveID3v1 = TRUE;
    s.m_bWriteID3v2 = TRUE;
    s.m_bRemoveID3v2 = FALSE;
    s.m_nID3v2WriteVersion = 4;
    s.m_nID3v2TextEncoding = 3;
    s.m_strUserPath = CString(u"/music/start");
    s.m_strLastPath = CString(u"/music/last");
    s.m_bContinueFromLastPath = TRUE;
    s.m_bPlaylistWriteFullPath = TRUE;
    s.m_bPlaylistWriteExtInfo = FALSE;
    s.m_bShellIntegrationEnabled = TRUE;
}

struct tagSNAPSHOT
{
    BOOL bWriteID3v1, bRemoveID3v1, bWriteID3v2, bRemoveID3v2;
    int nVersion, nEncoding;
    QString strUserPath, strLastPath;
    BOOL bContinue, bFullPath, bExtInfo, bShell;

    bool operator==(const tagSNAPSHOT&) const = default;
};

tagSNAPSHOT Snapshot(const CAppSettings& s)
{
    return {s.m_bWriteID3v1,
            s.m_bRemoveID3v1,
            s.m_bWriteID3v2,
            s.m_bRemoveID3v2,
            s.m_nID3v2WriteVersion,
            s.m_nID3v2TextEncoding,
            ToQString(s.m_strUserPath),
            ToQString(s.m_strLastPath),
            s.m_bContinueFromLastPath,
            s.m_bPlaylistWriteFullPath,
            s.m_bPlaylistWriteExtInfo,
            s.m_bShellIntegrationEnabled};
}

// Notes the starts of the registration run and answers them as told.
struct tagSTARTS
{
    bool bSucceed = true;
    QStringList arrPrograms;
    QList<QStringList> arrArgs;

    COptionsIntegrationPage::ProgramStarter Starter()
    {
        return [this](const QString& strProgram, const QStringList& args)
        {
            arrPrograms << strProgram;
            arrArgs << args;
            return bSucceed;
        };
    }
};

} // namespace

class OptionsDialogTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CAppTestEnv> m_pEnv;
    CAppSettings m_settings;
    tagSTARTS m_starts;

    // A dialog on the window, open at the page, its registration runs watched.
    std::unique_ptr<COptionsDialog> Open(int nPage)
    {
        auto pDialog = std::make_unique<COptionsDialog>(m_settings, nPage);
        pDialog->SetProgramStarter(m_starts.Starter());
        pDialog->show();
        if (!QTest::qWaitForWindowExposed(pDialog.get()))
            qWarning("The options dialog was not shown");
        return pDialog;
    }

    // Runs act on the next modal dialog, which is closed afterwards if act left it open.
    // Nothing runs once pContext is gone.
    static void WhenModal(QObject* pContext, const std::function<void(QWidget&)>& act, bool* pRan)
    {
        QTimer::singleShot(0, pContext,
                           [act, pRan]
                           {
                               QWidget* pModal = QApplication::activeModalWidget();
                               if (!pModal)
                                   return;
                               *pRan = true;
                               act(*pModal);
                               if (pModal->isVisible())
                                   pModal->close();
                           });
    }

private slots:
    void initTestCase()
    {
        // The folder picker as Qt's own dialog, which a test can drive.
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    }

    void init()
    {
        m_pEnv = std::make_unique<CAppTestEnv>();
        Fill(m_settings);
        m_starts = tagSTARTS();
    }

    void cleanup() { m_pEnv.reset(); }

    void pagesButtonsAndTexts()
    {
        auto pDialog = Open(COptionsDialog::PAGE_GENERAL);
        QCOMPARE(pDialog->windowTitle(), QStringLiteral("Options"));
        auto* pTabs = pDialog->findChild<QTabWidget*>();
        QStringList arrTitles;
        QStringList arrPages;
        for (int n = 0; n < pTabs->count(); ++n)
        {
            arrTitles << pTabs->tabText(n);
            arrPages << pTabs->widget(n)->objectName();
        }
        QCOMPARE(arrTitles, (QStringList{"General", "Tags", "Playlist", "Integration"}));
        QCOMPARE(arrPages, (QStringList{"107", "106", "363", "364"}));
        QCOMPARE(pDialog->GetActiveIndex(), 0);

        QCOMPARE(Button(*pDialog, "1")->text(), QStringLiteral("OK"));
        QCOMPARE(Button(*pDialog, "2")->text(), QStringLiteral("Cancel"));
        QAbstractButton* pApply = Button(*pDialog, "12321");
        QVERIFY(pApply && !pApply->isEnabled());

        const QList<QPair<const char*, QString>> texts = {
            {"1053", "Use &follow path:"},
            {"1054", "Continue from &last visited folder"},
            {"1046", "Write"},
            {"1048", "Remove"},
            {"1047", "Write"},
            {"1049", "Remove"},
            {"1043", "ISO-8859-1 (Latin-1)"},
            {"1044", "UTF-16"},
            {"1045", "UTF-8"},
            {"1061", "&Relative (Default)"},
            {"1060", "&Full qualified"},
            {"1062", "Write &extra information (length, artist-title)"},
            {"1063", "Enable shell integration"}};
        for (const auto& [szId, strText] : texts)
        {
            QAbstractButton* pButton = Button(*pDialog, szId);
            QVERIFY2(pButton, szId);
            QCOMPARE(pButton->text(), strText);
        }
        QStringList arrGroups;
        for (const QGroupBox* pGroup : pDialog->findChildren<QGroupBox*>())
            arrGroups << pGroup->title();
        arrGroups.sort();
        QCOMPARE(arrGroups, (QStringList{"&Default Path", "ID3v&1", "ID3v&2", "Write Files Path"}));
        auto* pVersion = Find<QComboBox>(*pDialog, "1042");
        QCOMPARE(pVersion->count(), 2);
        QCOMPARE(pVersion->itemText(0), QStringLiteral("Version 2.3"));
        QCOMPARE(pVersion->itemText(1), QStringLiteral("Version 2.4"));
    }

    void generalPageEnablesThePathAndStoresIt()
    {
        auto pDialog = Open(COptionsDialog::PAGE_GENERAL);
        auto* pEdit = Find<QLineEdit>(*pDialog, "1055");
        QAbstractButton* pBrowse = Button(*pDialog, "1055Browse");
        QVERIFY(Button(*pDialog, "1054")->isChecked());
        QCOMPARE(pEdit->text(), QStringLiteral("/music/start"));
        QVERIFY(!pEdit->isEnabled());
        QVERIFY(!pBrowse->isEnabled());

        Click(Button(*pDialog, "1053"));
        QVERIFY(pEdit->isEnabled());
        QVERIFY(pBrowse->isEnabled());
        Click(Button(*pDialog, "1054"));
        QVERIFY(!pEdit->isEnabled());
        Click(Button(*pDialog, "1053"));

        // Stored as typed, even a folder that does not exist.
        pEdit->selectAll();
        QTest::keyClicks(pEdit, QStringLiteral("/no/such/folder"));
        Click(Button(*pDialog, "1"));
        QVERIFY(!pDialog->isVisible());
        QCOMPARE(ToQString(m_settings.m_strUserPath), QStringLiteral("/no/such/folder"));
        QCOMPARE(m_settings.m_bContinueFromLastPath, FALSE);
        // The last visited folder is not the page's.
        QCOMPARE(ToQString(m_settings.m_strLastPath), QStringLiteral("/music/last"));

        // An empty path is allowed too, and a non-zero flag shows as "continue".
        m_settings.m_bContinueFromLastPath = 7;
        pDialog = Open(COptionsDialog::PAGE_GENERAL);
        QVERIFY(Button(*pDialog, "1054")->isChecked());
        Click(Button(*pDialog, "1053"));
        Find<QLineEdit>(*pDialog, "1055")->clear();
        Click(Button(*pDialog, "1"));
        QVERIFY(m_settings.m_strUserPath.IsEmpty());
        QCOMPARE(m_settings.m_bContinueFromLastPath, FALSE);
    }

    void generalPageBrowsesForAFolder()
    {
        const QString strFrom = m_pEnv->DataDir() + QStringLiteral("/from");
        const QString strTo = m_pEnv->DataDir() + QStringLiteral("/to");
        QVERIFY(QDir().mkpath(strFrom));
        QVERIFY(QDir().mkpath(strTo));
        m_settings.m_strUserPath = ToCString(strFrom);
        m_settings.m_bContinueFromLastPath = FALSE;
        auto pDialog = Open(COptionsDialog::PAGE_GENERAL);
        auto* pEdit = Find<QLineEdit>(*pDialog, "1055");

        // Cancelled: the edit keeps its text.
        bool bRan = false;
        QString strStart;
        WhenModal(
            pDialog.get(),
            [&](QWidget& modal)
            {
                auto* pPicker = qobject_cast<QFileDialog*>(&modal);
                QVERIFY(pPicker);
                QCOMPARE(pPicker->fileMode(), QFileDialog::Directory);
                strStart = pPicker->directory().absolutePath();
                pPicker->reject();
            },
            &bRan);
        Click(Button(*pDialog, "1055Browse"));
        QVERIFY(bRan);
        QCOMPARE(strStart, strFrom);
        QCOMPARE(pEdit->text(), strFrom);

        // A folder chosen: it goes into the edit, and OK stores it.
        bRan = false;
        WhenModal(
            pDialog.get(),
            [&](QWidget& modal)
            {
                auto* pPicker = qobject_cast<QFileDialog*>(&modal);
                QVERIFY(pPicker);
                pPicker->setDirectory(strTo);
                static_cast<QDialog*>(pPicker)->accept();
            },
            &bRan);
        Click(Button(*pDialog, "1055Browse"));
        QVERIFY(bRan);
        QCOMPARE(pEdit->text(), strTo);
        Click(Button(*pDialog, "1"));
        QCOMPARE(ToQString(m_settings.m_strUserPath), strTo);
    }

    void tagsPageOffersUtf8OnlyWithVersion24()
    {
        auto pDialog = Open(COptionsDialog::PAGE_TAGS);
        QCOMPARE(pDialog->GetActiveIndex(), 1);
        auto* pVersion = Find<QComboBox>(*pDialog, "1042");
        QAbstractButton* pUtf16 = Button(*pDialog, "1044");
        QAbstractButton* pUtf8 = Button(*pDialog, "1045");
        QCOMPARE(pVersion->currentIndex(), 1);
        QVERIFY(pUtf8->isChecked());
        QVERIFY(pUtf8->isEnabled());

        // Down to 2.3: UTF-8 gives way to UTF-16 and cannot be chosen.
        QTest::keyClick(pVersion, Qt::Key_Up);
        QCOMPARE(pVersion->currentIndex(), 0);
        QVERIFY(pUtf16->isChecked());
        QVERIFY(!pUtf8->isChecked());
        QVERIFY(!pUtf8->isEnabled());
        Click(pUtf8);
        QVERIFY(pUtf16->isChecked());
        // Back to 2.4: UTF-8 can be chosen again, but UTF-16 stays chosen.
        QTest::keyClick(pVersion, Qt::Key_Down);
        QVERIFY(pUtf8->isEnabled());
        QVERIFY(pUtf16->isChecked());
        QTest::keyClick(pVersion, Qt::Key_Up);

        Click(Button(*pDialog, "1"));
        QCOMPARE(m_settings.m_nID3v2WriteVersion, 3);
        QCOMPARE(m_settings.m_nID3v2TextEncoding, 1);

        // Latin-1 with 2.4 is kept as it is.
        pDialog = Open(COptionsDialog::PAGE_TAGS);
        QVERIFY(!Button(*pDialog, "1045")->isEnabled());
        Click(Button(*pDialog, "1043"));
        QTest::keyClick(Find<QComboBox>(*pDialog, "1042"), Qt::Key_Down);
        Click(Button(*pDialog, "1"));
        QCOMPARE(m_settings.m_nID3v2WriteVersion, 4);
        QCOMPARE(m_settings.m_nID3v2TextEncoding, 0);

        // An encoding of 2.4 with version 2.3 (never loaded so) opens as UTF-16, not as a
        // choice OK would store unchanged.
        m_settings.m_nID3v2WriteVersion = 3;
        m_settings.m_nID3v2TextEncoding = 3;
        pDialog = Open(COptionsDialog::PAGE_TAGS);
        QVERIFY(Button(*pDialog, "1044")->isChecked());
        QVERIFY(!Button(*pDialog, "1045")->isEnabled());
    }

    void tagsPageWriteID3v2EnablesItsOptions()
    {
        auto pDialog = Open(COptionsDialog::PAGE_TAGS);
        QWidget* pVersion = Find<QComboBox>(*pDialog, "1042");
        const QList<QWidget*> arrOptions = {pVersion, Button(*pDialog, "1043"),
                                            Button(*pDialog, "1044"), Button(*pDialog, "1045")};
        QVERIFY(Button(*pDialog, "1047")->isChecked());
        for (QWidget* p : arrOptions)
            QVERIFY(p->isEnabled());

        Click(Button(*pDialog, "1047"));
        for (QWidget* p : arrOptions)
            QVERIFY(!p->isEnabled());
        // The other check boxes stay usable.
        for (const char* szId : {"1046", "1048", "1049"})
            QVERIFY(Button(*pDialog, szId)->isEnabled());
        Click(Button(*pDialog, "1047"));
        for (QWidget* p : arrOptions)
            QVERIFY(p->isEnabled());
        Click(Button(*pDialog, "1047"));

        // The four flags as checked; version and encoding are stored although disabled.
        Click(Button(*pDialog, "1046"));
        Click(Button(*pDialog, "1048"));
        Click(Button(*pDialog, "1049"));
        Click(Button(*pDialog, "1"));
        QCOMPARE(m_settings.m_bWriteID3v1, TRUE);
        QCOMPARE(m_settings.m_bRemoveID3v1, FALSE);
        QCOMPARE(m_settings.m_bWriteID3v2, FALSE);
        QCOMPARE(m_settings.m_bRemoveID3v2, TRUE);
        QCOMPARE(m_settings.m_nID3v2WriteVersion, 4);
        QCOMPARE(m_settings.m_nID3v2TextEncoding, 3);

        // Opened with ID3v2 "Write" off: all four disabled from the start.
        pDialog = Open(COptionsDialog::PAGE_TAGS);
        QVERIFY(!Find<QComboBox>(*pDialog, "1042")->isEnabled());
        for (const char* szId : {"1043", "1044", "1045"})
            QVERIFY(!Button(*pDialog, szId)->isEnabled());
        QVERIFY(Button(*pDialog, "1045")->isChecked());
    }

    void playlistPageOpensAtIndexTwo()
    {
        auto pDialog = Open(COptionsDialog::PAGE_PLAYLIST);
        QCOMPARE(pDialog->GetActiveIndex(), 2);
        QVERIFY(Find<QWidget>(*pDialog, "363")->isVisible());
        QVERIFY(Button(*pDialog, "1060")->isChecked());
        QVERIFY(!Button(*pDialog, "1062")->isChecked());
        Click(Button(*pDialog, "1061"));
        Click(Button(*pDialog, "1062"));
        Click(Button(*pDialog, "1"));
        QCOMPARE(m_settings.m_bPlaylistWriteFullPath, FALSE);
        QCOMPARE(m_settings.m_bPlaylistWriteExtInfo, TRUE);

        pDialog = Open(COptionsDialog::PAGE_PLAYLIST);
        QVERIFY(Button(*pDialog, "1061")->isChecked());
        QVERIFY(Button(*pDialog, "1062")->isChecked());
        Click(Button(*pDialog, "1060"));
        Click(Button(*pDialog, "1"));
        QCOMPARE(m_settings.m_bPlaylistWriteFullPath, TRUE);

        // An index out of range opens the first page.
        pDialog = Open(9);
        QCOMPARE(pDialog->GetActiveIndex(), 0);
    }

    void pagesNeverShownKeepTheirSettings()
    {
        // Values a page would change if it wrote itself back without being shown: flags other
        // than 1, and a version the list cannot show.
        m_settings.m_bWriteID3v1 = 5;
        m_settings.m_nID3v2WriteVersion = 0;
        m_settings.m_nID3v2TextEncoding = 2;
        m_settings.m_bPlaylistWriteFullPath = 9;
        m_settings.m_bShellIntegrationEnabled = FALSE;
        const tagSNAPSHOT before = Snapshot(m_settings);

        auto pDialog = Open(COptionsDialog::PAGE_GENERAL);
        QVERIFY(pDialog->GetPage(COptionsDialog::PAGE_GENERAL)->IsInitialized());
        QVERIFY(!pDialog->GetPage(COptionsDialog::PAGE_TAGS)->IsInitialized());
        Click(Button(*pDialog, "1"));
        QVERIFY(Snapshot(m_settings) == before);
        QVERIFY(m_starts.arrArgs.isEmpty());

        // A page once visited is stored even when another is current at OK.
        pDialog = Open(COptionsDialog::PAGE_GENERAL);
        ClickTab(*pDialog, COptionsDialog::PAGE_PLAYLIST);
        QCOMPARE(pDialog->GetActiveIndex(), 2);
        ClickTab(*pDialog, COptionsDialog::PAGE_GENERAL);
        Click(Button(*pDialog, "1"));
        QCOMPARE(m_settings.m_bPlaylistWriteFullPath, TRUE);
        QCOMPARE(m_settings.m_bWriteID3v1, 5);
        QCOMPARE(m_settings.m_nID3v2WriteVersion, 0);
        QCOMPARE(m_settings.m_nID3v2TextEncoding, 2);
        QVERIFY(m_starts.arrArgs.isEmpty());

        // Shown, the Tags page turns what it cannot show into valid values.
        pDialog = Open(COptionsDialog::PAGE_TAGS);
        Click(Button(*pDialog, "1"));
        QCOMPARE(m_settings.m_bWriteID3v1, TRUE);
        QCOMPARE(m_settings.m_nID3v2WriteVersion, 3);
        QCOMPARE(m_settings.m_nID3v2TextEncoding, 1);
    }

    void cancelChangesNothing()
    {
        const tagSNAPSHOT before = Snapshot(m_settings);
        auto pDialog = Open(COptionsDialog::PAGE_GENERAL);
        Click(Button(*pDialog, "1053"));
        Find<QLineEdit>(*pDialog, "1055")->clear();
        ClickTab(*pDialog, COptionsDialog::PAGE_TAGS);
        Click(Button(*pDialog, "1046"));
        Click(Button(*pDialog, "1047"));
        QTest::keyClick(Find<QComboBox>(*pDialog, "1042"), Qt::Key_Up);
        ClickTab(*pDialog, COptionsDialog::PAGE_PLAYLIST);
        Click(Button(*pDialog, "1061"));
        Click(Button(*pDialog, "1062"));
        ClickTab(*pDialog, COptionsDialog::PAGE_INTEGRATION);
        Click(Button(*pDialog, "1063"));
        Click(Button(*pDialog, "2"));
        QVERIFY(!pDialog->isVisible());
        QVERIFY(Snapshot(m_settings) == before);

        // Esc is Cancel too.
        pDialog = Open(COptionsDialog::PAGE_PLAYLIST);
        Click(Button(*pDialog, "1061"));
        QTest::keyClick(pDialog.get(), Qt::Key_Escape);
        QVERIFY(!pDialog->isVisible());
        QVERIFY(Snapshot(m_settings) == before);
        QVERIFY(m_starts.arrArgs.isEmpty());
    }

    void integrationStartsTheRegistrationRun()
    {
        // Unchanged: nothing is started.
        auto pDialog = Open(COptionsDialog::PAGE_INTEGRATION);
        QVERIFY(Button(*pDialog, "1063")->isChecked());
        Click(Button(*pDialog, "1"));
        QVERIFY(m_starts.arrArgs.isEmpty());
        QCOMPARE(m_settings.m_bShellIntegrationEnabled, TRUE);

        // Unchecked and the start fails: the setting stays, and the box shows it again.
        m_starts.bSucceed = false;
        pDialog = Open(COptionsDialog::PAGE_INTEGRATION);
        Click(Button(*pDialog, "1063"));
        Click(Button(*pDialog, "1"));
        QCOMPARE(m_starts.arrArgs, (QList<QStringList>{{"-DisableShellIntegration"}}));
        QCOMPARE(m_starts.arrPrograms, QStringList{QCoreApplication::applicationFilePath()});
        QCOMPARE(m_settings.m_bShellIntegrationEnabled, TRUE);
        pDialog = Open(COptionsDialog::PAGE_INTEGRATION);
        QVERIFY(Button(*pDialog, "1063")->isChecked());

        // Unchecked and started: the setting follows.
        m_starts.bSucceed = true;
        Click(Button(*pDialog, "1063"));
        Click(Button(*pDialog, "1"));
        QCOMPARE(m_settings.m_bShellIntegrationEnabled, FALSE);

        // Checked again: the enabling switch.
        pDialog = Open(COptionsDialog::PAGE_INTEGRATION);
        QVERIFY(!Button(*pDialog, "1063")->isChecked());
        Click(Button(*pDialog, "1063"));
        Click(Button(*pDialog, "1"));
        QCOMPARE(m_starts.arrArgs.last(), QStringList{"-EnableShellIntegration"});
        QCOMPARE(m_starts.arrArgs.size(), 3);
        QCOMPARE(m_settings.m_bShellIntegrationEnabled, TRUE);

        // Checked and failed: stays off.
        m_settings.m_bShellIntegrationEnabled = FALSE;
        m_starts.bSucceed = false;
        pDialog = Open(COptionsDialog::PAGE_INTEGRATION);
        Click(Button(*pDialog, "1063"));
        Click(Button(*pDialog, "1"));
        QCOMPARE(m_starts.arrArgs.last(), QStringList{"-EnableShellIntegration"});
        QCOMPARE(m_settings.m_bShellIntegrationEnabled, FALSE);
    }

    void integrationStartsARealProcess()
    {
        const QString strTrue = QStandardPaths::findExecutable(QStringLiteral("true"));
        QVERIFY(!strTrue.isEmpty());
        QVERIFY(COptionsIntegrationPage::StartDetached(
            strTrue, {QStringLiteral("-EnableShellIntegration")}));
        QVERIFY(!COptionsIntegrationPage::StartDetached(
            m_pEnv->DataDir() + QStringLiteral("/missing-program"),
            {QStringLiteral("-DisableShellIntegration")}));
        QVERIFY(!COptionsIntegrationPage::StartDetached(QString(), {}));
    }

    void modalRunAndTheOptionsCommand()
    {
        // The dialog's own modal run: OK answers Accepted and stores.
        COptionsDialog dialog(m_settings, COptionsDialog::PAGE_PLAYLIST);
        bool bRan = false;
        WhenModal(
            &dialog,
            [](QWidget& modal)
            {
                Click(Button(modal, "1061"));
                Click(Button(modal, "1"));
            },
            &bRan);
        QCOMPARE(dialog.DoModal(), int(QDialog::Accepted));
        QVERIFY(bRan);
        QCOMPARE(m_settings.m_bPlaylistWriteFullPath, FALSE);

        // Tools > Options: the application's settings, at the General page.
        CApp app;
        app.m_strUserPath = CString(u"/from/the/app");
        tagCMDSTATE state;
        QVERIFY(app.OnUpdateCommand(Cmd::ID_TOOLS_OPTIONS, state));
        QVERIFY(state.bEnabled);
        bRan = false;
        QObject context;
        WhenModal(
            &context,
            [](QWidget& modal)
            {
                auto* pOptions = qobject_cast<COptionsDialog*>(&modal);
                QVERIFY(pOptions);
                QCOMPARE(pOptions->GetActiveIndex(), 0);
                QCOMPARE(Find<QLineEdit>(modal, "1055")->text(), QStringLiteral("/from/the/app"));
                Click(Button(modal, "1053"));
                Find<QLineEdit>(modal, "1055")->setText(QStringLiteral("/chosen"));
                Click(Button(modal, "1"));
            },
            &bRan);
        QVERIFY(app.OnCommand(Cmd::ID_TOOLS_OPTIONS));
        QVERIFY(bRan);
        QCOMPARE(ToQString(app.m_strUserPath), QStringLiteral("/chosen"));
    }
};

QTEST_MAIN(OptionsDialogTest)
#include "OptionsDialogTest.moc"
