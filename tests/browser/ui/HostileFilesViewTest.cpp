// The file list over files and names built to hurt: a tag that claims a gigabyte, 100,000 tiny
// frames, a 50 MB picture, a file of 0 bytes, a FIFO and a folder under audio names, and names
// with line breaks, bars, leading dashes and bytes that are not UTF-8. Everything is listed under
// its exact name, shown, its properties open, and it can be renamed, without a hang.
#include "UiFiles.h"

#include "app/BusyState.h"
#include "base/Path.h"
#include "base/ProfileStore.h"
#include "browser/FileAssocData.h"
#include "browser/ui/FileView.h"
#include "browser/ui/QtString.h"
#include "fixtures/FileBytes.h"
#include "fixtures/Mp3Builder.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <sys/stat.h>

using Fixtures::Bytes;
using Fixtures::CMp3Builder;
using Fixtures::Concat;
using Fixtures::CTempDir;

namespace
{

Bytes Audio()
{
    CMp3Builder builder;
    builder.AddFrames(CMp3Builder::FrameSpec(), 20);
    return builder.Build();
}

Bytes Tag(const Bytes& frames)
{
    return CMp3Builder::Id3v2Tag(3, static_cast<UINT>(frames.size()), 0, frames);
}

Bytes Title(const std::string& strTitle)
{
    return CMp3Builder::Id3v2Frame23("TIT2", Concat({Bytes{0}, Fixtures::BytesOf(strTitle)}));
}

// The odd names, each a valid file with the title "Odd".
const std::vector<std::string>& OddNames()
{
    static const std::vector<std::string> arr = {"line\nbreak.mp3", "a|b.mp3", "-dash.mp3",
                                                 "\xff\xfe.mp3", "caf\xe9.mp3"};
    return arr;
}

} // namespace

class HostileFilesViewTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CTempDir> m_pDir;
    UiFiles::CTestBusyHost m_host;
    std::unique_ptr<CBusyState> m_pBusy;
    CMemoryProfileStore m_profile;
    std::unique_ptr<CFileView> m_pView;

    void Write(const std::string& strName, const Bytes& bytes)
    {
        Fixtures::WriteFileBytes(m_pDir->PathOf(strName), bytes);
    }

    // The names on disk of the listed files, in list order.
    std::vector<std::string> ListedNames() const
    {
        std::vector<std::string> arr;
        const CFileList& list = m_pView->GetFileList();
        for (int i = 0; i < list.GetCount(); ++i)
            arr.push_back(std::filesystem::path(Path::ToNative(list.GetRecord(i)->GetFullPath()))
                              .filename()
                              .native());
        return arr;
    }

    int RowOf(const std::string& strName) const
    {
        const std::vector<std::string> arr = ListedNames();
        const auto it = std::find(arr.begin(), arr.end(), strName);
        return it == arr.end() ? -1 : static_cast<int>(it - arr.begin());
    }

    void Focus(int nRow)
    {
        m_pView->SelectRows({nRow});
        m_pView->selectionModel()->setCurrentIndex(m_pView->model()->index(nRow, 0),
                                                   QItemSelectionModel::NoUpdate);
    }

private slots:
    void initTestCase() { UiFiles::PrepareRuntimeDir(); }

    void init()
    {
        m_pDir = std::make_unique<CTempDir>();
        m_pBusy = std::make_unique<CBusyState>(&m_host);
        m_pView = std::make_unique<CFileView>(*m_pBusy, &m_profile);
        m_pView->resize(900, 400);
        m_pView->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_pView.get()));
    }

    void cleanup()
    {
        m_pView.reset();
        m_pBusy.reset();
        m_pDir.reset();
    }

    void listsShowsAndOpensEveryFile()
    {
        const Bytes audio = Audio();
        // A picture frame that claims a gigabyte after the title.
        Write("gigabyte.mp3",
              Concat({Tag(Concat({Title("Claims a GB"),
                                  CMp3Builder::Id3v2Frame23("APIC", Bytes(64, 1), 0x40000000)})),
                      audio}));
        // A tag header that claims 256 MB in a file of a few KB.
        Bytes huge = CMp3Builder::Id3v2Tag(4, 0);
        huge[6] = huge[7] = huge[8] = huge[9] = 0x7F;
        Write("header.mp3", Concat({huge, audio}));
        Bytes many;
        const Bytes one = CMp3Builder::Id3v2Frame23("TIT3", Bytes{0, 'a', 0});
        for (int i = 0; i < 100000; ++i)
            many.insert(many.end(), one.begin(), one.end());
        Write("many.mp3", Concat({Tag(Concat({many, Title("Many")})), audio}));
        Bytes picture = Concat({Bytes{0}, Fixtures::BytesOf("image/png"), Bytes{0, 3, 0}});
        picture.resize(picture.size() + (50u << 20), 0x89);
        Write("picture.mp3",
              Concat({Tag(Concat({Title("Pictured"), CMp3Builder::Id3v2Frame23("APIC", picture)})),
                      audio}));
        Write("empty.mp3", {});
        QCOMPARE(::mkfifo(m_pDir->PathOf("pipe.mp3").c_str(), 0600), 0);
        std::filesystem::create_directory(m_pDir->PathOf("folder.mp3"));
        for (const std::string& strName : OddNames())
            Write(strName, Concat({Tag(Title("Odd")), audio}));

        QVERIFY(m_pView->AddFolder(m_pDir->StrPath(), FALSE, nullptr));
        std::vector<std::string> arrListed = ListedNames();
        std::sort(arrListed.begin(), arrListed.end());
        std::vector<std::string> arrExpected = OddNames();
        for (const char* pszName :
             {"gigabyte.mp3", "header.mp3", "many.mp3", "picture.mp3", "empty.mp3"})
            arrExpected.push_back(pszName);
        std::sort(arrExpected.begin(), arrExpected.end());
        QCOMPARE(arrListed, arrExpected);

        // Each row shows its name as it reads and the title the tag holds.
        const CFileList& list = m_pView->GetFileList();
        const auto Expect = [&](const std::string& strName, const char16_t* pszTitle)
        {
            const int nRow = RowOf(strName);
            QVERIFY(nRow >= 0);
            QCOMPARE(list.GetRecord(nRow)->m_strTitle, CString(pszTitle));
            QCOMPARE(m_pView->model()->index(nRow, 0).data().toString(),
                     ToQString(Path::FromNative(strName)));
        };
        Expect("gigabyte.mp3", u"Claims a GB");
        Expect("many.mp3", u"Many");
        Expect("picture.mp3", u"Pictured");
        Expect("empty.mp3", u"");
        for (const std::string& strName : OddNames())
            Expect(strName, u"Odd");

        // The properties of every file open and close (Alt+Enter).
        for (int nRow = 0; nRow < list.GetCount(); ++nRow)
        {
            Focus(nRow);
            QString strTitle;
            QTimer::singleShot(0,
                               [&strTitle]
                               {
                                   if (QWidget* pModal = QApplication::activeModalWidget())
                                   {
                                       strTitle = pModal->windowTitle();
                                       pModal->close();
                                   }
                               });
            QTest::keyClick(m_pView.get(), Qt::Key_Return, Qt::AltModifier);
            QCOMPARE(strTitle, ToQString(list.GetRecord(nRow)->m_strFileName) +
                                   QStringLiteral(" Properties"));
        }
    }

    void renamesOddNamesInPlace()
    {
        for (const std::string& strName : OddNames())
            Write(strName, Concat({Tag(Title("Odd")), Audio()}));
        QVERIFY(m_pView->AddFolder(m_pDir->StrPath(), FALSE, nullptr));
        int nRenamed = 0;
        for (const std::string& strName : OddNames())
        {
            const int nRow = RowOf(strName);
            QVERIFY(nRow >= 0);
            Focus(nRow);
            QTest::keyClick(m_pView.get(), Qt::Key_F2);
            QLineEdit* pEdit = m_pView->GetLabelEditor();
            QVERIFY(pEdit);
            QCOMPARE(pEdit->text(), ToQString(Path::FromNative(strName)));
            pEdit->selectAll();
            const QString strNew = QStringLiteral("renamed%1.mp3").arg(++nRenamed);
            QTest::keyClicks(pEdit, strNew);
            QTest::keyClick(pEdit, Qt::Key_Return);
            QTRY_VERIFY(std::filesystem::exists(m_pDir->PathOf(strNew.toStdString())));
            QVERIFY(!std::filesystem::exists(m_pDir->PathOf(strName)));
            QCOMPARE(m_pView->GetFileList().GetRecord(nRow)->m_strTitle, CString(u"Odd"));
        }
    }
};

QTEST_MAIN(HostileFilesViewTest)
#include "HostileFilesViewTest.moc"
