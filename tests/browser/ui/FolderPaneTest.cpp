// The folder pane driven as a person would: clicks and keys on the real tree over real folders,
// the toolbar's buttons, and the default-path message box.

#include "browser/ui/FolderBar.h"
#include "browser/ui/FolderPaneSettings.h"
#include "browser/ui/FolderToolBar.h"
#include "browser/ui/FolderTreeModel.h"
#include "browser/ui/FolderView.h"
#include "browser/ui/QtString.h"
#include "fixtures/FileBytes.h"
#include "fixtures/TempDir.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace
{

// The application's three options, as plain members.
struct tagTESTSETTINGS
{
    CString m_strUserPath;
    CString m_strLastPath;
    BOOL m_bContinueFromLastPath = TRUE;
};

struct tagLOAD
{
    CString strPath;
    bool bIncludeSubfolders;
    bool bAppend;
};

// A pane over a temporary folder with three visible folders, a hidden one and a file, with
// every load it hands out recorded.
class CPaneFixture
{
public:
    explicit CPaneFixture(bool bContinue = TRUE, const std::string& strLast = "",
                          const std::string& strUser = "")
        : m_adapter(m_settings)
    {
        for (const char* pszName : {"Alpha", "Beta", "Beta/Inner", "Gamma", ".hidden"})
            std::filesystem::create_directories(m_dir.PathOf(pszName));
        std::filesystem::path file = m_dir.PathOf("song.mp3");
        Fixtures::WriteFileBytes(file, Fixtures::BytesOf("not really audio"));

        m_settings.m_bContinueFromLastPath = bContinue;
        if (!strLast.empty())
            m_settings.m_strLastPath = Path(strLast);
        if (!strUser.empty())
            m_settings.m_strUserPath = Path(strUser);

        std::vector<tagFOLDERROOT> arrRoots = {
            {tagFOLDERROOT::ROOT_HOME, QStringLiteral("Test"), ToQString(m_dir.StrPath())}};
        m_pBar = std::make_unique<CFolderBar>(&m_adapter,
                                              std::make_unique<CFolderView>(arrRoots, nullptr));
        QObject::connect(m_pBar.get(), &CFolderBar::folderActivated,
                         [this](const CString& strPath, bool bInclude, bool bAppend) {
                             m_arrLoads.push_back({strPath, bInclude, bAppend});
                         });
        m_pBar->resize(320, 480);
        m_pBar->show();
    }

    CString Path(const std::string& strName) const { return m_dir.StrPathOf(strName); }
    CFolderBar& Bar() { return *m_pBar; }
    CFolderView& View() { return *m_pBar->GetFolderView(); }
    QAction& Button(UINT nID) { return *m_pBar->GetToolBar()->GetAction(nID); }

    QModelIndex IndexOf(const std::string& strName)
    {
        return View().GetFolderModel()->FindPath(ToQString(Path(strName)));
    }

    void Click(const std::string& strName, Qt::MouseButton nButton = Qt::LeftButton)
    {
        const QModelIndex index = IndexOf(strName);
        QVERIFY(index.isValid());
        for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
            View().expand(parent);
        View().scrollTo(index);
        QTest::mouseClick(View().viewport(), nButton, {}, View().visualRect(index).center());
    }

    void VerifyLoad(size_t nIndex, const std::string& strName, bool bInclude, bool bAppend)
    {
        QVERIFY(nIndex < m_arrLoads.size());
        QCOMPARE(ToQString(m_arrLoads[nIndex].strPath), ToQString(Path(strName)));
        QCOMPARE(m_arrLoads[nIndex].bIncludeSubfolders, bInclude);
        QCOMPARE(m_arrLoads[nIndex].bAppend, bAppend);
    }

    Fixtures::CTempDir m_dir;
    tagTESTSETTINGS m_settings;
    CFolderPaneSettings<tagTESTSETTINGS> m_adapter;
    std::unique_ptr<CFolderBar> m_pBar;
    std::vector<tagLOAD> m_arrLoads;
};

// Acts on the first modal dialog that appears: records a message box's text and icon and
// closes it with OK.
class CMessageBoxCloser : public QObject
{
public:
    CMessageBoxCloser()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { Poll(); });
        m_timer.start();
    }

    void Poll()
    {
        auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!pBox)
            return;
        ++m_nShown;
        m_strText = pBox->text();
        m_nIcon = pBox->icon();
        pBox->button(QMessageBox::Ok)->click();
    }

    QTimer m_timer;
    int m_nShown = 0;
    QString m_strText;
    QMessageBox::Icon m_nIcon = QMessageBox::NoIcon;
};

} // namespace

class CFolderPaneTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void treeHasHomeRootAndVolumes();
    void mountedVolumesAreRealFileSystemsUnderMediaAndMnt();
    void treeListsVisibleFoldersAndReadsThemAgainOnExpand();
    void startFolderIsSelectedButNotLoaded();
    void startFolderIsReachedFromTheFileSystemRoot();
    void clickLoadsTheFolderAndSetsLastPath();
    void arrowKeysMoveTheSelectionAndEnterLoads();
    void otherButtonsNeitherSelectNorLoad();
    void expandButtonAndDoubleClick();
    void itemWithoutPathLoadsNothing();
    void toolbarButtonsTextsAndStates();
    void includeSubdirectoriesIsOneShot();
    void appendStaysUntilToggled();
    void setDefaultPathWithoutSelectionDoesNothing();
    void setDefaultPathShowsMessageAndChangesSettings();
    void focusOnThePaneGoesToTheTree();
};

void CFolderPaneTest::initTestCase()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
    {
        QDir().mkpath(QString::fromLocal8Bit(runtime));
        ::chmod(runtime.constData(), 0700);
    }
}

void CFolderPaneTest::treeHasHomeRootAndVolumes()
{
    CFolderView view;
    const QAbstractItemModel* pModel = view.model();
    QStringList arrPaths;
    for (int nRow = 0; nRow < pModel->rowCount(); ++nRow)
        arrPaths << ToQString(view.GetItemPath(pModel->index(nRow, 0)));
    QVERIFY(arrPaths.contains(QStringLiteral("/")));
    if (QDir::cleanPath(QDir::homePath()) != u"/")
        QCOMPARE(arrPaths.first(), QDir::cleanPath(QDir::homePath()));
    // Every further root is a mounted volume.
    for (const QString& strPath : arrPaths.mid(2))
        QVERIFY(strPath.startsWith(u"/media") || strPath.startsWith(u"/mnt") ||
                strPath.startsWith(u"/run/media/"));
}

void CFolderPaneTest::mountedVolumesAreRealFileSystemsUnderMediaAndMnt()
{
    const QString strMounts = QStringLiteral("/dev/sda2 / ext4 rw,relatime 0 0\n"
                                             "proc /proc proc rw 0 0\n"
                                             "/dev/sdb1 /media/ann/USB\\040Stick vfat rw 0 0\n"
                                             "systemd-1 /mnt/auto autofs rw 0 0\n"
                                             "nas:/music /mnt/nas nfs4 rw 0 0\n"
                                             "/dev/sdc1 /run/media/ann/Back\\134up ext4 rw 0 0\n"
                                             "/dev/sdd1 /mediafiles ext4 rw 0 0\n"
                                             "tmpfs /run/user/1000 tmpfs rw 0 0\n"
                                             "nas:/music /mnt/nas nfs4 rw 0 0\n"
                                             "/dev/sde1 /mnt ext4 rw 0 0\n"
                                             "short line\n");
    const std::vector<QString> arrVolumes = FolderRoots::ParseMountedVolumes(strMounts);
    const std::vector<QString> arrExpected = {
        QStringLiteral("/media/ann/USB Stick"), QStringLiteral("/mnt/nas"),
        QStringLiteral("/run/media/ann/Back\\up"), QStringLiteral("/mnt")};
    QCOMPARE(arrVolumes, arrExpected);
}

void CFolderPaneTest::treeListsVisibleFoldersAndReadsThemAgainOnExpand()
{
    CPaneFixture pane;
    CFolderView& view = pane.View();
    const QModelIndex root = view.model()->index(0, 0);
    view.expand(root);
    auto names = [&]
    {
        QStringList arrNames;
        for (int nRow = 0; nRow < view.model()->rowCount(root); ++nRow)
            arrNames << view.model()->index(nRow, 0, root).data().toString();
        return arrNames;
    };
    QCOMPARE(names(), (QStringList{"Alpha", "Beta", "Gamma"}));
    QVERIFY(view.model()->hasChildren(pane.IndexOf("Beta")));
    QVERIFY(!view.model()->hasChildren(pane.IndexOf("Alpha")));

    std::filesystem::create_directories(pane.m_dir.PathOf("alpha2"));
    std::filesystem::remove(pane.m_dir.PathOf("Gamma"));
    view.collapse(root);
    view.expand(root);
    QCOMPARE(names(), (QStringList{"Alpha", "alpha2", "Beta"}));
}

void CFolderPaneTest::startFolderIsSelectedButNotLoaded()
{
    {
        CPaneFixture pane(TRUE, "Beta/Inner", "Gamma");
        QCOMPARE(ToQString(pane.View().GetSelectedPath()), ToQString(pane.Path("Beta/Inner")));
        QVERIFY(pane.View().isExpanded(pane.IndexOf("Beta")));
        QVERIFY(pane.m_arrLoads.empty());
        QCOMPARE(ToQString(pane.m_settings.m_strLastPath), ToQString(pane.Path("Beta/Inner")));
    }
    {
        CPaneFixture pane(FALSE, "Beta/Inner", "Gamma");
        QCOMPARE(ToQString(pane.View().GetSelectedPath()), ToQString(pane.Path("Gamma")));
        QVERIFY(pane.m_arrLoads.empty());
    }
    {
        // A start folder that is gone selects nothing.
        CPaneFixture pane(TRUE, "Missing");
        QVERIFY(pane.View().GetSelectedPath().IsEmpty());
    }
}

void CFolderPaneTest::startFolderIsReachedFromTheFileSystemRoot()
{
    Fixtures::CTempDir dir;
    std::filesystem::create_directories(dir.PathOf("Music/Rock"));
    tagTESTSETTINGS settings;
    settings.m_strLastPath = dir.StrPathOf("Music/Rock");
    CFolderPaneSettings<tagTESTSETTINGS> adapter(settings);
    CFolderBar bar(&adapter);
    QCOMPARE(ToQString(bar.GetSelectedPath()), ToQString(dir.StrPathOf("Music/Rock")));
}

void CFolderPaneTest::clickLoadsTheFolderAndSetsLastPath()
{
    CPaneFixture pane;
    QVERIFY(QTest::qWaitForWindowExposed(&pane.Bar()));
    pane.Click("Alpha");
    QCOMPARE(pane.m_arrLoads.size(), size_t(1));
    pane.VerifyLoad(0, "Alpha", false, false);
    QCOMPARE(ToQString(pane.m_settings.m_strLastPath), ToQString(pane.Path("Alpha")));

    // A click on the folder that is selected already is not a new choice.
    pane.Click("Alpha");
    QCOMPARE(pane.m_arrLoads.size(), size_t(1));

    pane.Click("Beta");
    QCOMPARE(pane.m_arrLoads.size(), size_t(2));
    pane.VerifyLoad(1, "Beta", false, false);
    QCOMPARE(ToQString(pane.m_settings.m_strLastPath), ToQString(pane.Path("Beta")));
}

void CFolderPaneTest::arrowKeysMoveTheSelectionAndEnterLoads()
{
    CPaneFixture pane(TRUE, "Alpha");
    QVERIFY(QTest::qWaitForWindowExposed(&pane.Bar()));
    CFolderView& view = pane.View();
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Down);
    QCOMPARE(ToQString(view.GetSelectedPath()), ToQString(pane.Path("Beta")));
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Up);
    QCOMPARE(ToQString(view.GetSelectedPath()), ToQString(pane.Path("Beta")));
    QVERIFY(pane.m_arrLoads.empty());
    QCOMPARE(ToQString(pane.m_settings.m_strLastPath), ToQString(pane.Path("Alpha")));

    QTest::keyClick(&view, Qt::Key_Return);
    QCOMPARE(pane.m_arrLoads.size(), size_t(1));
    pane.VerifyLoad(0, "Beta", false, false);
    QCOMPARE(ToQString(pane.m_settings.m_strLastPath), ToQString(pane.Path("Beta")));
    // Enter loads the selected folder again, also from the keypad.
    QTest::keyClick(&view, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(pane.m_arrLoads.size(), size_t(2));
    pane.VerifyLoad(1, "Beta", false, false);

    // Nothing selected: Enter does nothing.
    view.ClearFolderSelection();
    QTest::keyClick(&view, Qt::Key_Return);
    QCOMPARE(pane.m_arrLoads.size(), size_t(2));
}

void CFolderPaneTest::otherButtonsNeitherSelectNorLoad()
{
    CPaneFixture pane(TRUE, "Alpha");
    QVERIFY(QTest::qWaitForWindowExposed(&pane.Bar()));
    pane.Click("Gamma", Qt::RightButton);
    pane.Click("Gamma", Qt::MiddleButton);
    QVERIFY(pane.m_arrLoads.empty());
    QCOMPARE(ToQString(pane.View().GetSelectedPath()), ToQString(pane.Path("Alpha")));
    // So the next left click on it is still a choice.
    pane.Click("Gamma");
    QCOMPARE(pane.m_arrLoads.size(), size_t(1));
}

void CFolderPaneTest::expandButtonAndDoubleClick()
{
    CPaneFixture pane(TRUE, "Alpha");
    QVERIFY(QTest::qWaitForWindowExposed(&pane.Bar()));
    CFolderView& view = pane.View();
    const QModelIndex beta = pane.IndexOf("Beta");
    QVERIFY(!view.isExpanded(beta));
    // The expand button opens the folder without choosing it.
    const QRect rect = view.visualRect(beta);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                      QPoint(rect.left() - view.indentation() / 2, rect.center().y()));
    QVERIFY(view.isExpanded(beta));
    QVERIFY(pane.m_arrLoads.empty());
    QCOMPARE(ToQString(view.GetSelectedPath()), ToQString(pane.Path("Alpha")));

    // A double click chooses the folder once and opens or closes it.
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(pane.m_arrLoads.size(), size_t(1));
    pane.VerifyLoad(0, "Beta", false, false);
}

void CFolderPaneTest::itemWithoutPathLoadsNothing()
{
    Fixtures::CTempDir dir;
    std::filesystem::create_directories(dir.PathOf("Alpha"));
    tagTESTSETTINGS settings;
    settings.m_strLastPath = dir.StrPathOf("Alpha");
    CFolderPaneSettings<tagTESTSETTINGS> adapter(settings);
    std::vector<tagFOLDERROOT> arrRoots = {
        {tagFOLDERROOT::ROOT_FILE_SYSTEM, QStringLiteral("Network"), QString()},
        {tagFOLDERROOT::ROOT_HOME, QStringLiteral("Test"), ToQString(dir.StrPath())}};
    CFolderBar bar(&adapter, std::make_unique<CFolderView>(arrRoots, nullptr));
    std::vector<tagLOAD> arrLoads;
    QObject::connect(&bar, &CFolderBar::folderActivated,
                     [&](const CString& strPath, bool bInclude, bool bAppend) {
                         arrLoads.push_back({strPath, bInclude, bAppend});
                     });
    bar.resize(320, 480);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));

    CFolderView& view = *bar.GetFolderView();
    const QModelIndex network = view.model()->index(0, 0);
    QVERIFY(!view.model()->hasChildren(network));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(network).center());
    QCOMPARE(view.GetSelectedItem(), network);
    QTest::keyClick(&view, Qt::Key_Return);
    CMessageBoxCloser closer;
    bar.GetToolBar()->GetAction(CFolderToolBar::ID_SET_DEFAULT_PATH)->trigger();
    QTest::qWait(50);
    QCOMPARE(closer.m_nShown, 0);
    QVERIFY(arrLoads.empty());
    QCOMPARE(ToQString(settings.m_strLastPath), ToQString(dir.StrPathOf("Alpha")));
    QVERIFY(settings.m_strUserPath.IsEmpty());
}

void CFolderPaneTest::toolbarButtonsTextsAndStates()
{
    CPaneFixture pane;
    QCOMPARE(pane.Bar().windowTitle(), QStringLiteral("Folders"));
    const QList<QAction*> arrActions = pane.Bar().GetToolBar()->actions();
    QCOMPARE(arrActions.size(), 4);
    QCOMPARE(arrActions[0], &pane.Button(CFolderToolBar::ID_INCLUDE_SUBDIRECTORIES));
    QCOMPARE(arrActions[1], &pane.Button(CFolderToolBar::ID_APPEND_TO_LIST));
    QVERIFY(arrActions[2]->isSeparator());
    QCOMPARE(arrActions[3], &pane.Button(CFolderToolBar::ID_SET_DEFAULT_PATH));
    QCOMPARE(pane.Bar().GetToolBar()->GetAction(323), nullptr);

    struct
    {
        UINT nID;
        const char* pszTip;
        const char* pszPrompt;
    } const arrExpected[] = {
        {320, "Include Subdirectories", "Include subdirectorues"},
        {321, "Append to the Files List", "Append to the current list of files"},
        {322, "Set Default Path", "Set selected directory as the default path"},
    };
    for (const auto& expected : arrExpected)
    {
        QAction& button = pane.Button(expected.nID);
        QCOMPARE(button.toolTip(), QString::fromUtf8(expected.pszTip));
        QCOMPARE(button.statusTip(), QString::fromUtf8(expected.pszPrompt));
        QVERIFY(button.isEnabled());
        QVERIFY(!button.isChecked());
        QVERIFY(!button.icon().isNull());
        QWidget* pWidget = pane.Bar().GetToolBar()->widgetForAction(&button);
        QVERIFY(pWidget);
        QCOMPARE(pWidget->size(), QSize(22, 21));
    }
    QVERIFY(!pane.Bar().GetToolBar()->isMovable());

    pane.Button(CFolderToolBar::ID_INCLUDE_SUBDIRECTORIES).trigger();
    QVERIFY(pane.Button(CFolderToolBar::ID_INCLUDE_SUBDIRECTORIES).isChecked());
    QVERIFY(pane.Bar().IsIncludeSubfolders());
    pane.Button(CFolderToolBar::ID_INCLUDE_SUBDIRECTORIES).trigger();
    QVERIFY(!pane.Button(CFolderToolBar::ID_INCLUDE_SUBDIRECTORIES).isChecked());
    QVERIFY(!pane.Bar().IsIncludeSubfolders());
    // Set Default Path is a command, never a pressed state.
    QVERIFY(!pane.Button(CFolderToolBar::ID_SET_DEFAULT_PATH).isCheckable());
}

void CFolderPaneTest::includeSubdirectoriesIsOneShot()
{
    CPaneFixture pane;
    QVERIFY(QTest::qWaitForWindowExposed(&pane.Bar()));
    QAction& include = pane.Button(CFolderToolBar::ID_INCLUDE_SUBDIRECTORIES);
    pane.Click("Beta");
    QCOMPARE(pane.m_arrLoads.size(), size_t(1));

    // Pressing the button clears the selection, so a click on the same folder loads it again,
    // now with its subfolders.
    QTest::mouseClick(pane.Bar().GetToolBar()->widgetForAction(&include), Qt::LeftButton);
    QVERIFY(include.isChecked());
    QVERIFY(pane.View().GetSelectedPath().IsEmpty());
    pane.Click("Beta");
    QCOMPARE(pane.m_arrLoads.size(), size_t(2));
    pane.VerifyLoad(1, "Beta", true, false);
    QVERIFY(!include.isChecked());
    QVERIFY(!pane.Bar().IsIncludeSubfolders());

    pane.Click("Gamma");
    QCOMPARE(pane.m_arrLoads.size(), size_t(3));
    pane.VerifyLoad(2, "Gamma", false, false);

    // Enter counts as a load too.
    include.trigger();
    pane.View().SelectPath(pane.Path("Alpha"));
    QTest::keyClick(&pane.View(), Qt::Key_Return);
    pane.VerifyLoad(3, "Alpha", true, false);
    QVERIFY(!include.isChecked());
}

void CFolderPaneTest::appendStaysUntilToggled()
{
    CPaneFixture pane;
    QVERIFY(QTest::qWaitForWindowExposed(&pane.Bar()));
    QAction& append = pane.Button(CFolderToolBar::ID_APPEND_TO_LIST);
    pane.Click("Alpha");
    pane.VerifyLoad(0, "Alpha", false, false);

    QTest::mouseClick(pane.Bar().GetToolBar()->widgetForAction(&append), Qt::LeftButton);
    QVERIFY(append.isChecked());
    // The selection stays: a click on the selected folder is still no choice.
    QCOMPARE(ToQString(pane.View().GetSelectedPath()), ToQString(pane.Path("Alpha")));
    pane.Click("Beta");
    pane.Click("Gamma");
    QCOMPARE(pane.m_arrLoads.size(), size_t(3));
    pane.VerifyLoad(1, "Beta", false, true);
    pane.VerifyLoad(2, "Gamma", false, true);
    QVERIFY(append.isChecked());

    // With both options: subfolders once, appending throughout.
    pane.Button(CFolderToolBar::ID_INCLUDE_SUBDIRECTORIES).trigger();
    pane.Click("Beta");
    pane.Click("Alpha");
    pane.VerifyLoad(3, "Beta", true, true);
    pane.VerifyLoad(4, "Alpha", false, true);

    append.trigger();
    QVERIFY(!append.isChecked());
    pane.Click("Gamma");
    pane.VerifyLoad(5, "Gamma", false, false);
}

void CFolderPaneTest::setDefaultPathWithoutSelectionDoesNothing()
{
    CPaneFixture pane(TRUE, "Alpha", "Gamma");
    pane.View().ClearFolderSelection();
    CMessageBoxCloser closer;
    pane.Button(CFolderToolBar::ID_SET_DEFAULT_PATH).trigger();
    QTest::qWait(50);
    QCOMPARE(closer.m_nShown, 0);
    QCOMPARE(ToQString(pane.m_settings.m_strUserPath), ToQString(pane.Path("Gamma")));
    QVERIFY(pane.m_settings.m_bContinueFromLastPath);
    QVERIFY(pane.m_arrLoads.empty());
}

void CFolderPaneTest::setDefaultPathShowsMessageAndChangesSettings()
{
    CPaneFixture pane(TRUE, "Beta/Inner", "Gamma");
    QVERIFY(QTest::qWaitForWindowExposed(&pane.Bar()));
    CMessageBoxCloser closer;
    QToolButton* pButton = qobject_cast<QToolButton*>(pane.Bar().GetToolBar()->widgetForAction(
        &pane.Button(CFolderToolBar::ID_SET_DEFAULT_PATH)));
    QVERIFY(pButton);
    QTest::mouseClick(pButton, Qt::LeftButton);

    QCOMPARE(closer.m_nShown, 1);
    QCOMPARE(closer.m_nIcon, QMessageBox::Information);
    QCOMPARE(closer.m_strText,
             QStringLiteral("Path '") + ToQString(pane.Path("Beta/Inner")) +
                 QStringLiteral("' is set as the program default path. To change the settings "
                                "goto Tools menu, Options, General tab."));
    QCOMPARE(ToQString(pane.m_settings.m_strUserPath), ToQString(pane.Path("Beta/Inner")));
    QVERIFY(!pane.m_settings.m_bContinueFromLastPath);
    QCOMPARE(ToQString(pane.m_settings.m_strLastPath), ToQString(pane.Path("Beta/Inner")));
    QVERIFY(pane.m_arrLoads.empty());
    QVERIFY(!pane.Button(CFolderToolBar::ID_SET_DEFAULT_PATH).isChecked());
}

void CFolderPaneTest::focusOnThePaneGoesToTheTree()
{
    CPaneFixture pane;
    QVERIFY(QTest::qWaitForWindowExposed(&pane.Bar()));
    pane.Bar().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&pane.Bar()));
    pane.Bar().setFocus();
    QTRY_VERIFY(pane.View().hasFocus());
}

QTEST_MAIN(CFolderPaneTest)
#include "FolderPaneTest.moc"
