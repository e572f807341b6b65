// The file properties dialog over real MP3 files: every row it shows, its list's layout, and the
// message for a file it cannot open.
#include "UiFiles.h"

#include "base/FileTime.h"
#include "browser/FileAssocData.h"
#include "browser/ui/FilePropertiesDialog.h"
#include "browser/ui/QtString.h"
#include "fixtures/FileBytes.h"
#include "fixtures/Mp3Builder.h"
#include "fixtures/TempDir.h"
#include "tags/file/FileEx.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/frames/CommentsFrame.h"
#include "tags/id3v2/frames/TextFrame.h"

#include <QApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

using Fixtures::CMp3Builder;
using FrameSpec = Fixtures::CMp3Builder::FrameSpec;

constexpr uid_t nNobody = 65534;

struct tagID3V2FIELDS
{
    CString strTitle;
    CString strArtist;
    CString strAlbum;
    CString strYear;
    CString strTrack;
    CString strGenre;
    CString strComment;
};

void AddText(Tags::ID3v2Tag::CID3v2& tag, const char* szID, const CString& strText)
{
    if (strText.IsEmpty())
        return;
    auto pFrame = std::make_unique<Tags::ID3v2Tag::CTextFrame>(szID, tag.m_pHeader->m_nVersion);
    pFrame->SetValues({strText});
    tag.AddTail(std::move(pFrame));
}

// Saves an ID3v2 tag of the version (3 or 4) through the tag library.
bool SaveID3v2(const CString& strPath, int nVersion, const tagID3V2FIELDS& f)
{
    Tags::CMpegFile file(strPath, FALSE);
    if (file.m_hFile == INVALID_HANDLE_VALUE)
        return false;
    Tags::ID3v2Tag::CID3v2* pTag = file.GetID3v2(TRUE);
    pTag->m_pHeader->m_nVersion = nVersion;
    AddText(*pTag, "TIT2", f.strTitle);
    AddText(*pTag, "TPE1", f.strArtist);
    AddText(*pTag, "TALB", f.strAlbum);
    AddText(*pTag, nVersion == 4 ? "TDRC" : "TYER", f.strYear);
    AddText(*pTag, "TRCK", f.strTrack);
    AddText(*pTag, "TCON", f.strGenre);
    if (!f.strComment.IsEmpty())
    {
        auto pComment = std::make_unique<Tags::ID3v2Tag::CCommentsFrame>();
        pComment->m_strText = f.strComment;
        pTag->AddTail(std::move(pComment));
    }
    return file.SaveTags(Tags::TAG_ID3V2) != FALSE;
}

// "Group|Property|Value" for every row the list shows, in display order.
QStringList ShownRows(const QTreeWidget* pList)
{
    QStringList arrRows;
    for (int i = 0; i < pList->topLevelItemCount(); ++i)
    {
        const QTreeWidgetItem* pGroup = pList->topLevelItem(i);
        if (pGroup->isHidden())
            continue;
        for (int j = 0; j < pGroup->childCount(); ++j)
        {
            const QTreeWidgetItem* pRow = pGroup->child(j);
            if (!pRow->isHidden())
                arrRows.append(pGroup->text(0) + u'|' + pRow->text(0) + u'|' + pRow->text(1));
        }
    }
    return arrRows;
}

QStringList Prefixed(const QString& strGroup, const QStringList& arrRows)
{
    QStringList arrResult;
    for (const QString& str : arrRows)
        arrResult.append(strGroup + u'|' + str);
    return arrResult;
}

struct tagSHOWN
{
    int nResult = -1;
    bool bShown = false;
    QString strTitle;
    QStringList arrRows;
};

// Opens the dialog for the path; while it is shown records its title and rows, runs check and
// closes it with OK.
tagSHOWN ShowDialog(const CString& strPath,
                    const std::function<void(CFilePropertiesDialog&)>& check = {})
{
    tagSHOWN shown;
    CFilePropertiesDialog dialog;
    dialog.m_strPath = strPath;
    QTimer::singleShot(0, &dialog,
                       [&]
                       {
                           QWidget* pModal = QApplication::activeModalWidget();
                           if (auto* pBox = qobject_cast<QMessageBox*>(pModal))
                               pBox->button(QMessageBox::Ok)->click();
                           if (pModal != &dialog)
                               return;
                           shown.bShown = true;
                           shown.strTitle = dialog.windowTitle();
                           shown.arrRows = ShownRows(dialog.GetList());
                           if (check)
                               check(dialog);
                           QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("1")),
                                             Qt::LeftButton);
                       });
    shown.nResult = dialog.DoModal();
    return shown;
}

// The local time as the Unix time.
std::time_t LocalTime(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond)
{
    std::tm tmLocal = {};
    tmLocal.tm_year = nYear - 1900;
    tmLocal.tm_mon = nMonth - 1;
    tmLocal.tm_mday = nDay;
    tmLocal.tm_hour = nHour;
    tmLocal.tm_min = nMinute;
    tmLocal.tm_sec = nSecond;
    tmLocal.tm_isdst = -1;
    return std::mktime(&tmLocal);
}

// Modified 03/04/2019 05:06:07 and accessed in the future, where reading leaves the access
// time alone on relatime mounts.
bool SetKnownTimes(const std::filesystem::path& path)
{
    timespec times[2] = {};
    times[0].tv_sec = LocalTime(2031, 7, 8, 9, 10, 11);
    times[1].tv_sec = LocalTime(2019, 3, 4, 5, 6, 7);
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

// The "File" rows the dialog must show for the file, its times taken now from a descriptor
// that reads nothing.
QStringList FileRows(const Fixtures::CTempDir& dir, const std::string& strName,
                     const QString& strSize, const QString& strAttributes)
{
    FILETIME ftCreated = {};
    FILETIME ftAccessed = {};
    FILETIME ftWritten = {};
    const int fd = ::open(dir.PathOf(strName).c_str(), O_RDONLY);
    if (fd < 0 || !::GetFileTime(fd, &ftCreated, &ftAccessed, &ftWritten))
        return {QStringLiteral("cannot read the times of ") + QString::fromStdString(strName)};
    ::close(fd);
    return Prefixed(
        QStringLiteral("File"),
        {QStringLiteral("Name|") + QString::fromStdString(strName),
         QStringLiteral("Folder|") + ToQString(dir.StrPath()), QStringLiteral("Size|") + strSize,
         QStringLiteral("Created|") + ToQString(CFileAssocData::FormatFileTime(ftCreated)),
         QStringLiteral("Modified|") + ToQString(CFileAssocData::FormatFileTime(ftWritten)),
         QStringLiteral("Accessed|") + ToQString(CFileAssocData::FormatFileTime(ftAccessed)),
         QStringLiteral("Attributes|") + strAttributes});
}

QStringList MpegRows(const QString& strVersion, const QString& strBitrate,
                     const QString& strSampleRate, const QString& strChannelMode,
                     const QString& strProtected, const QString& strCopyrighted,
                     const QString& strOriginal, const QString& strEmphasis)
{
    return Prefixed(QStringLiteral("MPEG Info"), {QStringLiteral("Version|") + strVersion,
                                                  QStringLiteral("Bit rate|") + strBitrate,
                                                  QStringLiteral("Sample Rate|") + strSampleRate,
                                                  QStringLiteral("Channel Mode|") + strChannelMode,
                                                  QStringLiteral("Protected|") + strProtected,
                                                  QStringLiteral("Copyrighted|") + strCopyrighted,
                                                  QStringLiteral("Original|") + strOriginal,
                                                  QStringLiteral("Emphasis|") + strEmphasis});
}

QStringList TagRows(const QString& strID3v1, const QString& strID3v2)
{
    return Prefixed(QStringLiteral("Tags"),
                    {QStringLiteral("ID3v1|") + strID3v1, QStringLiteral("ID3v2|") + strID3v2});
}

// Runs f with the rights of an ordinary user: as root, who may write any file, real and
// effective ids become nobody's until f returns (the saved id lets the test become root again).
// False when the process cannot change its ids.
bool AsOrdinaryUser(const std::function<void()>& f)
{
    if (::geteuid() != 0)
    {
        f();
        return true;
    }
    if (::setresgid(nNobody, nNobody, 0) != 0)
        return false;
    if (::setresuid(nNobody, nNobody, 0) != 0)
    {
        ::setresgid(0, 0, 0);
        return false;
    }
    f();
    const bool bBack = ::setresuid(0, 0, 0) == 0 && ::setresgid(0, 0, 0) == 0;
    return bBack;
}

} // namespace

class FilePropertiesDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { UiFiles::PrepareRuntimeDir(); }

    void bothTagsShowTheID3v2FieldsAndJointStereoLayerIII()
    {
        // A Xing frame and 200 frames of MPEG-1 Layer III, 128 kbit/s, 44100 Hz, joint stereo.
        CMp3Builder builder;
        builder.AddXingFrame(FrameSpec()).AddFrames(FrameSpec(), 200);
        builder.WriteTo(m_dir.PathOf("both.mp3"));
        const CString strPath = m_dir.StrPathOf("both.mp3");
        QVERIFY(SaveID3v2(
            strPath, 3,
            {u"Song of Both", u"Band", u"Record", u"1999", u"7/12", u"Rock", u"Nice one"}));
        {
            Tags::CMpegFile file(strPath, FALSE);
            Tags::ID3v1Tag::CID3v1* pTag = file.GetID3v1(TRUE);
            pTag->SetTitle(u"Version one title");
            pTag->SetArtist(u"Version one artist");
            pTag->m_nTrack = 2;
            QVERIFY(file.SaveTags(Tags::TAG_ID3V1));
        }
        QVERIFY(SetKnownTimes(m_dir.PathOf("both.mp3")));
        const Fixtures::Bytes before = Fixtures::ReadFileBytes(m_dir.PathOf("both.mp3"));

        bool bUnlocked = false;
        const tagSHOWN shown = ShowDialog(strPath,
                                          [&](CFilePropertiesDialog&)
                                          {
                                              // The file is not held while the dialog is open.
                                              Tags::CFileEx other;
                                              bUnlocked =
                                                  other.OpenFile(strPath) && !other.m_bReadOnly;
                                          });
        QVERIFY(shown.bShown);
        QCOMPARE(shown.nResult, int(QDialog::Accepted));
        QCOMPARE(shown.strTitle, QStringLiteral("both.mp3 Properties"));
        QVERIFY(bUnlocked);

        const QStringList arrExpected =
            Prefixed(QStringLiteral("Media"),
                     {QStringLiteral("Length|00:05"), QStringLiteral("Title|Song of Both"),
                      QStringLiteral("Album|Record"), QStringLiteral("Artist|Band"),
                      QStringLiteral("Genre|Rock"), QStringLiteral("Year|1999"),
                      QStringLiteral("Track|7"), QStringLiteral("Comment|Nice one")}) +
            TagRows(QStringLiteral("Yes"), QStringLiteral("Yes (v2.3)")) +
            MpegRows(QStringLiteral("MPEG1 Layer III"), QStringLiteral("128Kbps"),
                     QStringLiteral("44100Hz"), QStringLiteral("Joint Stereo"),
                     QStringLiteral("No"), QStringLiteral("No"), QStringLiteral("No"),
                     QStringLiteral("None")) +
            FileRows(m_dir, "both.mp3", FormatSize(before.size()), QString());
        QCOMPARE(shown.arrRows, arrExpected);
        QVERIFY(shown.arrRows.contains(QStringLiteral("File|Modified|03/04/2019 05:06:07")));
        // The dialog only reads.
        QVERIFY(Fixtures::ReadFileBytes(m_dir.PathOf("both.mp3")) == before);
    }

    void onlyID3v1FillsTheMediaRows()
    {
        // 1000 frames of MPEG-1 Layer I, 192 kbit/s, 48000 Hz: 192 bytes each, 8 seconds.
        FrameSpec frame;
        frame.m_nLayer = 1;
        frame.m_nBitrate = 192;
        frame.m_nSampleRate = 48000;
        frame.m_nChannelMode = CMp3Builder::DUAL_CHANNEL;
        frame.m_bOriginal = TRUE;
        frame.m_nEmphasis = 2;
        CMp3Builder::Id3v1Fields fields;
        fields.m_strTitle = "Old Title";
        fields.m_strArtist = "Old Artist";
        fields.m_strAlbum = "Old Album";
        fields.m_strYear = "1985";
        fields.m_strComment = "Old comment";
        fields.m_nTrack = 3;
        fields.m_nGenre = 0;
        CMp3Builder builder;
        builder.AddFrames(frame, 1000).AddId3v1(fields);
        const CMp3Builder::Layout layout = builder.WriteTo(m_dir.PathOf("v1.mp3"));

        const tagSHOWN shown = ShowDialog(m_dir.StrPathOf("v1.mp3"));
        QVERIFY(shown.bShown);
        QCOMPARE(shown.strTitle, QStringLiteral("v1.mp3 Properties"));
        const QStringList arrExpected =
            Prefixed(QStringLiteral("Media"),
                     {QStringLiteral("Length|00:08"), QStringLiteral("Title|Old Title"),
                      QStringLiteral("Album|Old Album"), QStringLiteral("Artist|Old Artist"),
                      QStringLiteral("Genre|Blues"), QStringLiteral("Year|1985"),
                      QStringLiteral("Track|3"), QStringLiteral("Comment|Old comment")}) +
            TagRows(QStringLiteral("Yes"), QStringLiteral("No")) +
            MpegRows(QStringLiteral("MPEG1 Layer I"), QStringLiteral("192Kbps"),
                     QStringLiteral("48000Hz"), QStringLiteral("Dual Channel"),
                     QStringLiteral("No"), QStringLiteral("No"), QStringLiteral("Yes"),
                     QStringLiteral("Reserved")) +
            FileRows(m_dir, "v1.mp3", FormatSize(layout.m_nFileSize), QString());
        QCOMPARE(shown.arrRows, arrExpected);
    }

    void id3v24AndTheHeaderFlagsOfMpeg2LayerII()
    {
        // 400 protected frames of MPEG-2 Layer II, 64 kbit/s, 22050 Hz: about 20.9 seconds.
        FrameSpec frame;
        frame.m_nVersion = CMp3Builder::MPEG2;
        frame.m_nLayer = 2;
        frame.m_nBitrate = 64;
        frame.m_nSampleRate = 22050;
        frame.m_nChannelMode = CMp3Builder::STEREO;
        frame.m_bProtected = TRUE;
        frame.m_bCopyrighted = TRUE;
        frame.m_nEmphasis = 1;
        CMp3Builder builder;
        builder.AddFrames(frame, 400);
        builder.WriteTo(m_dir.PathOf("v24.mp3"));
        const CString strPath = m_dir.StrPathOf("v24.mp3");
        QVERIFY(SaveID3v2(strPath, 4, {u"Fresh", u"New Band", u"", u"2024", u"", u"Jazz", u""}));
        const auto nSize = std::filesystem::file_size(m_dir.PathOf("v24.mp3"));

        const tagSHOWN shown = ShowDialog(strPath);
        QVERIFY(shown.bShown);
        const QStringList arrExpected =
            Prefixed(QStringLiteral("Media"),
                     {QStringLiteral("Length|00:20"), QStringLiteral("Title|Fresh"),
                      QStringLiteral("Album|"), QStringLiteral("Artist|New Band"),
                      QStringLiteral("Genre|Jazz"), QStringLiteral("Year|2024"),
                      QStringLiteral("Track|"), QStringLiteral("Comment|")}) +
            TagRows(QStringLiteral("No"), QStringLiteral("Yes (v2.4)")) +
            MpegRows(QStringLiteral("MPEG2 Layer II"), QStringLiteral("64Kbps"),
                     QStringLiteral("22050Hz"), QStringLiteral("Stereo"), QStringLiteral("Yes"),
                     QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("50/15")) +
            FileRows(m_dir, "v24.mp3", FormatSize(nSize), QString());
        QCOMPARE(shown.arrRows, arrExpected);
    }

    void sizesInBytesAndMegabytes()
    {
        // Exactly 3 MB: 15000 frames of MPEG-2.5 Layer III, 32 kbit/s, 11025 Hz, mono
        // (208 bytes each), then zeros.
        FrameSpec frame;
        frame.m_nVersion = CMp3Builder::MPEG25;
        frame.m_nBitrate = 32;
        frame.m_nSampleRate = 11025;
        frame.m_nChannelMode = CMp3Builder::MONO;
        frame.m_nEmphasis = 3;
        CMp3Builder builder;
        builder.AddFrames(frame, 15000);
        Fixtures::Bytes bytes = builder.Build();
        QVERIFY(bytes.size() < 3 * 1048576);
        bytes.resize(3 * 1048576, 0);
        Fixtures::WriteFileBytes(m_dir.PathOf("big.mp3"), bytes);
        // 512 bytes of zeros: no tag and no frame.
        Fixtures::WriteFileBytes(m_dir.PathOf("small.mp3"), Fixtures::Bytes(512, 0));

        const tagSHOWN big = ShowDialog(m_dir.StrPathOf("big.mp3"));
        QVERIFY(big.bShown);
        // Constant bit rate over the whole range: 208 * (3145728 / 208 + 1) / 4000 s.
        QCOMPARE(
            big.arrRows,
            QStringList{QStringLiteral("Media|Length|13:06")} +
                TagRows(QStringLiteral("No"), QStringLiteral("No")) +
                MpegRows(QStringLiteral("MPEG2.5 Layer III"), QStringLiteral("32Kbps"),
                         QStringLiteral("11025Hz"), QStringLiteral("Single Channel"),
                         QStringLiteral("No"), QStringLiteral("No"), QStringLiteral("No"),
                         QStringLiteral("CCIT J.17")) +
                FileRows(m_dir, "big.mp3", QStringLiteral("3.00 MB (3145728 bytes)"), QString()));

        const tagSHOWN small = ShowDialog(m_dir.StrPathOf("small.mp3"));
        QVERIFY(small.bShown);
        QCOMPARE(small.arrRows.filter(QStringLiteral("|Size|")),
                 QStringList{QStringLiteral("File|Size|512 Bytes (512 bytes)")});
    }

    void withoutTagsOrFramesNoMpegInfoIsMadeUp()
    {
        // Zeros hold no frame candidate; a first candidate with the reserved sample rate is no
        // valid header. Neither describes audio: the length is 0 and no header facts are shown.
        Fixtures::WriteFileBytes(m_dir.PathOf("zeros.mp3"), Fixtures::Bytes(512, 0));
        Fixtures::Bytes damaged(512, 0);
        damaged[0] = 0xFF;
        damaged[1] = 0xFB;
        damaged[2] = 0x9C;
        Fixtures::WriteFileBytes(m_dir.PathOf("damaged.mp3"), damaged);

        for (const char* szName : {"zeros.mp3", "damaged.mp3"})
        {
            bool bMpegGroupHidden = false;
            const tagSHOWN shown =
                ShowDialog(m_dir.StrPathOf(szName), [&](CFilePropertiesDialog& dialog)
                           { bMpegGroupHidden = dialog.GetList()->topLevelItem(2)->isHidden(); });
            QVERIFY(shown.bShown);
            QVERIFY(bMpegGroupHidden);
            QCOMPARE(
                shown.arrRows,
                QStringList{QStringLiteral("Media|Length|00:00")} +
                    TagRows(QStringLiteral("No"), QStringLiteral("No")) +
                    FileRows(m_dir, szName, QStringLiteral("512 Bytes (512 bytes)"), QString()));
        }
    }

    void attributesReadOnlyAndHidden()
    {
        QVERIFY(UiFiles::WriteUntagged(m_dir, "ro.mp3"));
        QVERIFY(UiFiles::WriteUntagged(m_dir, ".hidden.mp3"));
        QVERIFY(UiFiles::WriteUntagged(m_dir, ".both.mp3"));
        QCOMPARE(::chmod(m_dir.PathOf("ro.mp3").c_str(), 0444), 0);
        QCOMPARE(::chmod(m_dir.PathOf(".hidden.mp3").c_str(), 0666), 0);
        QCOMPARE(::chmod(m_dir.PathOf(".both.mp3").c_str(), 0444), 0);
        // Nobody may look into the folder, and write only the hidden file.
        QCOMPARE(::chmod(m_dir.GetPath().c_str(), 0755), 0);

        QString strReadOnly;
        QString strHidden;
        QString strBoth;
        bool bWritable = false;
        auto attributes = [&](const char* szName)
        {
            const tagSHOWN shown = ShowDialog(m_dir.StrPathOf(szName));
            const QStringList arrRow = shown.arrRows.filter(QStringLiteral("File|Attributes|"));
            return arrRow.size() == 1 ? arrRow[0].mid(16) : QStringLiteral("<missing>");
        };
        const bool bRan = AsOrdinaryUser(
            [&]
            {
                bWritable = ::access(m_dir.PathOf("ro.mp3").c_str(), W_OK) == 0;
                strReadOnly = attributes("ro.mp3");
                strHidden = attributes(".hidden.mp3");
                strBoth = attributes(".both.mp3");
            });
        if (!bRan)
            QSKIP("running as root without the right to act as another user");
        if (bWritable)
            QSKIP("this user may write a file of mode 0444");
        QCOMPARE(strReadOnly, QStringLiteral("R"));
        QCOMPARE(strHidden, QStringLiteral("H"));
        QCOMPARE(strBoth, QStringLiteral("RH"));
    }

    void listLayoutAndSelection()
    {
        QVERIFY(UiFiles::WriteMp3(m_dir, "layout.mp3", {u"T", u"A", u"B", u"2001", 4}));
        bool bChecked = false;
        auto check = [&](CFilePropertiesDialog& dialog)
        {
            QCOMPARE(dialog.objectName(), QStringLiteral("361"));
            auto* pList = dialog.findChild<QTreeWidget*>(QStringLiteral("1052"));
            QCOMPARE(pList, dialog.GetList());
            QCOMPARE(pList->columnCount(), 2);
            QCOMPARE(pList->headerItem()->text(0), QStringLiteral("Property"));
            QCOMPARE(pList->headerItem()->text(1), QStringLiteral("Value"));
            QCOMPARE(pList->columnWidth(0), 120);
            QCOMPARE(pList->columnWidth(1), 200);
            QVERIFY(!pList->isSortingEnabled());
            QVERIFY(!pList->header()->sectionsClickable());
            QCOMPARE(pList->selectionMode(), QAbstractItemView::SingleSelection);
            QCOMPARE(pList->selectionBehavior(), QAbstractItemView::SelectRows);
            QCOMPARE(pList->topLevelItemCount(), 4);
            const QStringList arrGroups = {QStringLiteral("Media"), QStringLiteral("Tags"),
                                           QStringLiteral("MPEG Info"), QStringLiteral("File")};
            for (int i = 0; i < 4; ++i)
            {
                QTreeWidgetItem* pGroup = pList->topLevelItem(i);
                QCOMPARE(pGroup->text(0), arrGroups[i]);
                QVERIFY(!pGroup->isHidden());
                QVERIFY(pGroup->isExpanded());
                QVERIFY(pGroup->isFirstColumnSpanned());
                QVERIFY(!(pGroup->flags() & Qt::ItemIsSelectable));
            }
            auto* pOk = dialog.findChild<QPushButton*>(QStringLiteral("1"));
            QVERIFY(pOk);
            QCOMPARE(pOk->text(), QStringLiteral("OK"));

            // A click on a group header selects nothing; a click on a row selects that row.
            QWidget* pViewport = pList->viewport();
            QTreeWidgetItem* pTags = pList->topLevelItem(1);
            QTest::mouseClick(pViewport, Qt::LeftButton, {}, pList->visualItemRect(pTags).center());
            QVERIFY(pList->selectedItems().isEmpty());
            QTreeWidgetItem* pID3v1 = pTags->child(0);
            QTreeWidgetItem* pID3v2 = pTags->child(1);
            QTest::mouseClick(pViewport, Qt::LeftButton, {},
                              pList->visualItemRect(pID3v1).center());
            QCOMPARE(pList->selectedItems(), QList<QTreeWidgetItem*>{pID3v1});
            // The whole row, not only the cell under the pointer.
            QVERIFY(
                pList->selectionModel()->isRowSelected(0, pList->indexFromItem(pID3v1).parent()));
            QTest::mouseClick(pViewport, Qt::LeftButton, Qt::ControlModifier,
                              pList->visualItemRect(pID3v2).center());
            QCOMPARE(pList->selectedItems().size(), 1);
            bChecked = true;
        };
        const tagSHOWN first = ShowDialog(m_dir.StrPathOf("layout.mp3"), check);
        QVERIFY(bChecked);
        QCOMPARE(first.nResult, int(QDialog::Accepted));
        QCOMPARE(first.strTitle, QStringLiteral("layout.mp3 Properties"));
        QVERIFY(first.arrRows.contains(QStringLiteral("Media|Title|T")));
        QVERIFY(first.arrRows.contains(QStringLiteral("Media|Track|4")));
    }

    void showingTwiceListsEachRowOnce()
    {
        QVERIFY(UiFiles::WriteUntagged(m_dir, "twice.mp3"));
        CFilePropertiesDialog dialog;
        dialog.m_strPath = m_dir.StrPathOf("twice.mp3");
        QStringList arrRuns[2];
        for (QStringList& arrRows : arrRuns)
        {
            QTimer::singleShot(0, &dialog,
                               [&]
                               {
                                   arrRows = ShownRows(dialog.GetList());
                                   dialog.accept();
                               });
            QCOMPARE(dialog.DoModal(), int(QDialog::Accepted));
        }
        QCOMPARE(arrRuns[0].size(), 1 + 2 + 8 + 7);
        QCOMPARE(arrRuns[1], arrRuns[0]);
    }

    void aFileThatDoesNotOpenShowsTheErrorAndCancels()
    {
        std::filesystem::create_directory(m_dir.PathOf("folder.mp3"));
        for (const char* szName : {"missing.mp3", "folder.mp3"})
        {
            const CString strPath = m_dir.StrPathOf(szName);
            CFilePropertiesDialog dialog;
            dialog.m_strPath = strPath;
            QString strText;
            QMessageBox::Icon nIcon = QMessageBox::NoIcon;
            bool bDialogVisible = true;
            QTimer::singleShot(0, &dialog,
                               [&]
                               {
                                   auto* pBox = qobject_cast<QMessageBox*>(
                                       QApplication::activeModalWidget());
                                   if (!pBox)
                                       return;
                                   strText = pBox->text();
                                   nIcon = pBox->icon();
                                   bDialogVisible = dialog.isVisible();
                                   pBox->button(QMessageBox::Ok)->click();
                               });
            QCOMPARE(dialog.DoModal(), int(QDialog::Rejected));
            QCOMPARE(strText,
                     QStringLiteral("Failed to reading file at '%1'.\n\nMake sure the file exist "
                                    "in the specified path and not openned in the another "
                                    "program also check the user has read access right.")
                         .arg(ToQString(strPath)));
            QCOMPARE(nIcon, QMessageBox::Critical);
            QVERIFY(!bDialogVisible);
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QCOMPARE(dialog.windowTitle(),
                     QString::fromLatin1(szName) + QStringLiteral(" Properties"));
        }
    }

private:
    static QString FormatSize(std::uintmax_t nSize)
    {
        return ToQString(CFileAssocData::FormatFileSize(static_cast<LONGLONG>(nSize))) +
               QStringLiteral(" (%1 bytes)").arg(nSize);
    }

    Fixtures::CTempDir m_dir;
};

QTEST_MAIN(FilePropertiesDialogTest)
#include "FilePropertiesDialogTest.moc"
