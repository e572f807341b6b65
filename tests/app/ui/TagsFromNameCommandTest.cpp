// "Tags from File Name" from the main window's list: the dialog over the selection, the fields
// of the matching names written into both tags, a file whose name does not match left as it
// was and listed, the rows shown again and the pattern kept among the recent ones.
#include "AppTestEnv.h"

#include "app/ui/App.h"
#include "app/ui/MainFrame.h"
#include "browser/FileAssocData.h"
#include "browser/ui/DiagnosticDialog.h"
#include "browser/ui/FileView.h"
#include "browser/ui/FileViewCommands.h"
#include "browser/ui/QtString.h"
#include "fixtures/FileBytes.h"
#include "fixtures/Mp3Builder.h"
#include "rename/ui/TagsFromNameDialog.h"
#include "res/StringTable.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/ID3v2.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>

namespace
{

// An MP3 file of the album with an ID3v1 tag holding only the album's name.
QString MakeTrack(const CAppTestEnv& env, const QString& strName)
{
    const QString strFolder = env.DataDir() + QStringLiteral("/album");
    std::filesystem::create_directories(QFile::encodeName(strFolder).constData());
    Fixtures::CMp3Builder::Id3v1Fields fields;
    fields.m_strAlbum = "Album";
    const QString strPath = strFolder + QLatin1Char('/') + strName;
    Fixtures::CMp3Builder().AddFrames({}, 4).AddId3v1(fields).WriteTo(
        QFile::encodeName(strPath).constData());
    return strPath;
}

// Hands every new modal widget to fn once.
class CModalScript : public QObject
{
public:
    explicit CModalScript(std::function<void(QWidget*)> fn) : m_fn(std::move(fn))
    {
        QTimer::singleShot(0, this, &CModalScript::Check);
    }

private:
    void Check()
    {
        QTimer::singleShot(5, this, &CModalScript::Check);
        QWidget* pModal = QApplication::activeModalWidget();
        if (!pModal || !pModal->isVisible() || m_handled.contains(pModal))
            return;
        m_handled.append(pModal);
        pModal->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pModal));
        m_fn(pModal);
        if (pModal->isVisible() && QApplication::activeModalWidget() == pModal)
            pModal->close();
    }

    std::function<void(QWidget*)> m_fn;
    QList<QPointer<QWidget>> m_handled;
};

} // namespace

class TagsFromNameCommandTest : public QObject
{
    Q_OBJECT

private slots:
    void ctrlShiftF2WritesTheFieldsOfTheMatchingNames()
    {
        CAppTestEnv env;
        const QStringList arrPaths = {MakeTrack(env, QStringLiteral("01 - Artist - Intro.mp3")),
                                      MakeTrack(env, QStringLiteral("02 - Artist - Song.mp3")),
                                      MakeTrack(env, QStringLiteral("03 - Band - Outro.mp3")),
                                      MakeTrack(env, QStringLiteral("Unnamed.mp3"))};
        const auto unnamed = std::filesystem::path(QFile::encodeName(arrPaths[3]).constData());
        const Fixtures::Bytes before = Fixtures::ReadFileBytes(unnamed);
        std::vector<Fixtures::Bytes> arrBefore;
        for (const QString& strPath : arrPaths)
            arrBefore.push_back(Fixtures::ReadFileBytes(
                std::filesystem::path(QFile::encodeName(strPath).constData())));
        CApp app;
        QVERIFY(app.InitInstance(Args({env.DataDir() + QStringLiteral("/album")})));
        CFileView& view = *app.GetMainFrame()->GetFileView();
        view.SelectRows({0, 1, 2, 3});

        QStringList arrMessages;
        CModalScript script(
            [&arrMessages](QWidget* pModal)
            {
                if (qobject_cast<CTagsFromNameDialog*>(pModal))
                {
                    QLineEdit* pEdit = pModal->findChild<QComboBox*>()->lineEdit();
                    QTest::keyClicks(pEdit, QStringLiteral("<track> - <artist> - <title>"));
                    QTest::keyClick(pEdit, Qt::Key_Return);
                }
                else if (auto* pDiag = qobject_cast<CDiagnosticDialog*>(pModal))
                {
                    for (const CString& strMessage : pDiag->GetMessages())
                        arrMessages.append(ToQString(strMessage));
                    QTest::keyClick(pModal, Qt::Key_Escape);
                }
            });
        app.GetMainFrame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(app.GetMainFrame()));
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier);

        QCOMPARE(arrMessages, QStringList{ToQString(Res::FormatResourceString(
                                  Res::IDS_NAME_DOES_NOT_MATCH, ToCString(arrPaths[3])))});
        QVERIFY(Fixtures::ReadFileBytes(unnamed) == before);
        const char* const kTitles[] = {"Intro", "Song", "Outro"};
        const char* const kArtists[] = {"Artist", "Artist", "Band"};
        for (int i = 0; i < 3; ++i)
        {
            Tags::CMpegFile file(ToCString(arrPaths[i]), TRUE);
            const Tags::ID3v2Tag::CID3v2* pV2 = file.GetID3v2(FALSE);
            QVERIFY(pV2);
            QCOMPARE(pV2->GetTitle().ToUtf8(), std::string(kTitles[i]));
            QCOMPARE(pV2->GetArtist().ToUtf8(), std::string(kArtists[i]));
            QCOMPARE(pV2->GetTrack(), i + 1);
            const Tags::ID3v1Tag::CID3v1* pV1 = file.GetID3v1(FALSE);
            QVERIFY(pV1);
            QCOMPARE(pV1->GetTitle().ToUtf8(), std::string(kTitles[i]));
            QCOMPARE(pV1->GetAlbum().ToUtf8(), std::string("Album"));
            QCOMPARE(pV1->m_nTrack, i + 1);
            QCOMPARE(ToQString(view.GetRecord(i)->m_strTitle), QString::fromLatin1(kTitles[i]));
        }
        QCOMPARE(app.m_arrNamePatterns.size(), size_t{1});
        QCOMPARE(ToQString(app.m_arrNamePatterns.front()),
                 QStringLiteral("<track> - <artist> - <title>"));

        // Ctrl+Z: every file as it was, byte for byte, and the rows with it.
        app.GetMainFrame()->UpdateCommandUI();
        QCOMPARE(app.GetMainFrame()->GetAction(Cmd::ID_EDIT_UNDO)->text(),
                 QStringLiteral("&Undo Tags from File Name (3 files)\tCtrl+Z"));
        app.GetMainFrame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(app.GetMainFrame()));
        QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
        for (int i = 0; i < arrPaths.size(); ++i)
            QVERIFY(Fixtures::ReadFileBytes(std::filesystem::path(
                        QFile::encodeName(arrPaths[i]).constData())) == arrBefore[size_t(i)]);
        QCOMPARE(ToQString(view.GetRecord(0)->m_strTitle), QString());
        app.ExitInstance();
    }
};

QTEST_MAIN(TagsFromNameCommandTest)
#include "TagsFromNameCommandTest.moc"
