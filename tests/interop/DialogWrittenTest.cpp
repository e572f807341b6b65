// What the tag editor's dialogs write, as a person fills them in (every frame kind they add, as
// ID3v2.3 and 2.4 in each text encoding), read back by mutagen, eyeD3 and ffprobe with the same
// values; the audio bytes stay exactly as they were.

#include "interop/InteropFiles.h"
#include "interop/PeerProcess.h"
#include "interop/TagRecords.h"

#include "base/BusyState.h"
#include "browser/ui/NotifyVSListBox.h"
#include "browser/ui/QtString.h"
#include "editor/AddMenu.h"
#include "editor/ui/MultiTagEditDialog.h"
#include "editor/ui/SingleTagEditDialog.h"
#include "fixtures/Mp3Builder.h"
#include "tags/file/MpegFile.h"
#include "tags/id3v2/ID3v2.h"
#include "tags/id3v2/frames/CommentsFrame.h"
#include "tags/id3v2/frames/TextFrame.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cstring>
#include <functional>
#include <memory>

using namespace Fixtures;
using namespace Interop;

namespace
{

// The windows run offscreen, in one application made when a test first needs it and destroyed
// after the last test, so that what it holds is freed before the process ends.
class CApplicationEnvironment : public ::testing::Environment
{
public:
    static QApplication& Get()
    {
        if (!s_pApp)
        {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            s_pApp = std::make_unique<QApplication>(s_nArgc, s_argv);
        }
        return *s_pApp;
    }
    void TearDown() override { s_pApp.reset(); }

private:
    static inline int s_nArgc = 1;
    static inline char s_szName[] = "interop_tests";
    static inline char* s_argv[] = {s_szName, nullptr};
    static inline std::unique_ptr<QApplication> s_pApp;
};

[[maybe_unused]] ::testing::Environment* const g_pApplicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new CApplicationEnvironment);

QApplication& Application()
{
    return CApplicationEnvironment::Get();
}

template <class T> T* Child(QWidget* pParent, const char* pszName)
{
    return pParent->findChild<T*>(QString::fromLatin1(pszName));
}

// The Add menu's entry for a frame ID, from the top part or the "All" submenu.
QAction* AddAction(QMenu& menu, const char* szID)
{
    for (QAction* pAction : menu.actions())
    {
        if (QMenu* pAll = pAction->menu())
        {
            for (QAction* pEntry : pAll->actions())
            {
                const char* szEntry = GetAddMenuFrameID(pEntry->data().toInt());
                if (szEntry && std::strcmp(szEntry, szID) == 0)
                    return pEntry;
            }
        }
    }
    return nullptr;
}

// Adds a frame through the Add menu: its dialog, when it comes up, is filled and confirmed. With
// bAsked, the question whether all files get the frame comes first and is answered Yes.
void AddFrame(CBaseTagEditDialog& dialog, const char* szID,
              const std::function<void(QWidget*)>& fill, bool bAsked = false)
{
    const auto answer = [fill]
    {
        QWidget* pModal = QApplication::activeModalWidget();
        ASSERT_NE(pModal, nullptr);
        fill(pModal);
        Child<QPushButton>(pModal, "1")->click();
    };
    QTimer::singleShot(0,
                       [answer, bAsked]
                       {
                           if (!bAsked)
                           {
                               answer();
                               return;
                           }
                           auto* pBox =
                               qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                           ASSERT_NE(pBox, nullptr);
                           QTimer::singleShot(0, answer);
                           pBox->button(QMessageBox::Yes)->click();
                       });
    QAction* pAction = AddAction(*dialog.GetAddMenu(), szID);
    ASSERT_NE(pAction, nullptr) << szID;
    pAction->trigger();
}

void Type(QWidget* pWidget, const QString& strText)
{
    QTest::keyClicks(pWidget, strText);
}

struct tagDIALOGCASE
{
    int nVersion;
    int nEncoding;
};

class DialogWrittenTest : public ::testing::TestWithParam<tagDIALOGCASE>
{
protected:
    void SetUp() override
    {
        Application();
        m_path = m_dir.PathOf("edited.mp3");
        WriteFileBytes(m_path, FixtureAudio());
    }

    // Latin-1 only in encoding 0, otherwise other scripts too.
    QString Title() const
    {
        return GetParam().nEncoding == 0 ? QStringLiteral("Ch\u00e2teau \u00e9t\u00e9")
                                         : QStringLiteral("\u65e5\u672c \u0410 \u2603");
    }

    // Fills in the dialog as a person would and presses OK.
    void EditWithTheDialogs()
    {
        CSingleTagEditDialog dialog;
        dialog.SetFilePath(ToCString(QString::fromStdString(m_path.string())));
        dialog.SetTagOptions(
            [this]
            {
                tagTAGOPTIONS options;
                options.nWriteVersion = GetParam().nVersion;
                options.nTextEncoding = GetParam().nEncoding;
                return options;
            });
        QImage cover(40, 30, QImage::Format_RGB32);
        cover.fill(Qt::darkCyan);
        QApplication::clipboard()->setImage(cover);
        QTimer::singleShot(0, &dialog, [&] { Fill(dialog); });
        ASSERT_EQ(dialog.DoModal(), int(QDialog::Accepted));
    }

    void Fill(CSingleTagEditDialog& dialog)
    {
        Type(Child<QLineEdit>(&dialog, "1010"), QStringLiteral("Chateau"));
        Type(Child<QLineEdit>(&dialog, "1033"), QStringLiteral("7"));
        Child<QComboBox>(&dialog, "1034")->setCurrentIndex(8); // Jazz
        AddFrame(dialog, "TIT2",
                 [this](QWidget* p) { Child<CNotifyVSListBox>(p, "1011")->AddItem(Title()); });
        AddFrame(dialog, "TCON",
                 [](QWidget* p)
                 { Child<CNotifyVSListBox>(p, "1011")->AddItem(QStringLiteral("Jazz")); });
        AddFrame(dialog, "TXXX",
                 [](QWidget* p)
                 {
                     Type(Child<QLineEdit>(p, "1010"), QStringLiteral("MOOD"));
                     Child<CNotifyVSListBox>(p, "1011")->AddItem(QStringLiteral("calm"));
                 });
        AddFrame(dialog, "COMM",
                 [](QWidget* p)
                 {
                     Type(Child<QLineEdit>(p, "1013"), QStringLiteral("note"));
                     Type(Child<QPlainTextEdit>(p, "1018"), QStringLiteral("Recorded live"));
                 });
        AddFrame(dialog, "USLT",
                 [](QWidget* p)
                 { Type(Child<QPlainTextEdit>(p, "1018"), QStringLiteral("La la la")); });
        AddFrame(dialog, "USER",
                 [](QWidget* p)
                 { Type(Child<QPlainTextEdit>(p, "1018"), QStringLiteral("Free to share")); });
        AddFrame(dialog, "WOAR",
                 [](QWidget* p)
                 { Type(Child<QLineEdit>(p, "1019"), QStringLiteral("https://example.org/a")); });
        AddFrame(dialog, "WXXX",
                 [](QWidget* p)
                 {
                     Type(Child<QLineEdit>(p, "1013"), QStringLiteral("shop"));
                     Type(Child<QLineEdit>(p, "1019"), QStringLiteral("https://example.org/s"));
                 });
        AddFrame(dialog, "POPM",
                 [](QWidget* p)
                 {
                     Type(Child<QLineEdit>(p, "1020"), QStringLiteral("me@example.org"));
                     Child<QSlider>(p, "1021")->setValue(196);
                     Child<QLineEdit>(p, "1022")->setText(QStringLiteral("12"));
                 });
        AddFrame(dialog, "APIC",
                 [](QWidget* p)
                 {
                     Child<QToolButton>(p, "1019")->click(); // Paste Cover
                     Type(Child<QLineEdit>(p, "1013"), QStringLiteral("front"));
                 });
        Child<QPushButton>(&dialog, "1")->click();
    }

    std::string Peer(const std::vector<std::string>& args)
    {
        const tagPROCESSRESULT result = RunProcess(args, PeerEnvironment(m_dir.PathOf("home")));
        EXPECT_EQ(result.nExitCode, 0) << Describe(args, result);
        return result.strOut;
    }

    CTempDir m_dir;
    std::filesystem::path m_path;
};

TEST_P(DialogWrittenTest, PeersReadWhatTheDialogsWrote)
{
    EditWithTheDialogs();
    if (HasFatalFailure())
        return;
    const std::string strTitle = Title().toStdString();

    // The library and mutagen see the same frames, holding what was typed.
    const tagTAGVIEW library = LibraryRead(m_path);
    const tagTAGVIEW mutagen = MutagenRead(m_path);
    EXPECT_EQ(library.nID3v2Version, GetParam().nVersion);
    EXPECT_EQ(mutagen.nID3v2Version, GetParam().nVersion);
    EXPECT_EQ(SortedLines(mutagen.frames), SortedLines(library.frames));
    const std::vector<std::string> lines = SortedLines(library.frames);
    const std::string all = [&]
    {
        std::string joined;
        for (const std::string& line : lines)
            joined += line + "\n";
        return joined;
    }();
    for (const std::string& value :
         {strTitle, std::string("MOOD\tcalm"), std::string("Recorded live"),
          std::string("La la la"), std::string("Free to share"),
          std::string("https://example.org/a"), std::string("shop\thttps://example.org/s"),
          std::string("me@example.org\t196\t12"), std::string("image/jpeg")})
        EXPECT_NE(all.find(value), std::string::npos) << value << "\n" << all;
    EXPECT_TRUE(mutagen.bHasID3v1);
    EXPECT_EQ(mutagen.id3v1, library.id3v1);

    // eyeD3 shows the same texts.
    const std::string eyed3 = Peer({"eyeD3", "--no-color", "--no-config", "-v", m_path.string()});
    for (const std::string& value :
         {strTitle, std::string("Recorded live"), std::string("La la la"),
          std::string("https://example.org/a"), std::string("me@example.org"), std::string("calm")})
        EXPECT_NE(eyed3.find(value), std::string::npos) << value << "\n" << eyed3;

    // ffprobe reads the title and the comment.
    const std::string ffprobe = Peer(
        {"ffprobe", "-v", "error", "-show_entries", "format_tags", "-of", "flat", m_path.string()});
    EXPECT_NE(ffprobe.find(strTitle), std::string::npos) << ffprobe;
    EXPECT_NE(ffprobe.find("Recorded live"), std::string::npos) << ffprobe;

    // The audio is untouched.
    EXPECT_EQ(ContainerAudio(m_path), FixtureAudio());
}

// The multi-file editor over three files: an artist and a comment for all of them, each file's
// own title kept.
TEST(MultiDialogWrittenTest, PeersReadTheSharedArtistAndCommentAndEachFilesOwnTitle)
{
    Application();
    CTempDir dir;
    const std::vector<std::string> titles = {"Alpha", "Beta", "Gamma"};
    std::vector<CString> files;
    for (const std::string& strTitle : titles)
    {
        const std::filesystem::path path = dir.PathOf(strTitle + ".mp3");
        WriteFileBytes(path, FixtureAudio());
        files.push_back(ToCString(QString::fromStdString(path.string())));
        Tags::CMpegFile file(files.back(), FALSE);
        Tags::ID3v2Tag::CID3v2* pTag = file.GetID3v2(TRUE);
        pTag->m_pHeader->m_nVersion = 3;
        for (const auto& [szID, strValue] : {std::pair{"TIT2", strTitle}, {"TPE1", "Old artist"}})
        {
            auto pText = std::make_unique<Tags::ID3v2Tag::CTextFrame>(szID, 4);
            pText->SetValues({ToCString(QString::fromStdString(strValue))});
            pTag->AddTail(std::move(pText));
        }
        auto pComment = std::make_unique<Tags::ID3v2Tag::CCommentsFrame>();
        pComment->m_strText = ToCString(QString::fromStdString("About " + strTitle));
        pTag->AddTail(std::move(pComment));
        ASSERT_TRUE(file.SaveTags(Tags::TAG_ID3V2));
    }

    class CNoBusy : public IBusyState
    {
        void BeginBusy() override {}
        void EndBusy() override {}
        BOOL IsCancelRequested() override { return FALSE; }
        BOOL IsBusy() const override { return FALSE; }
        void SetStatusText(const CString&) override {}
    } busy;
    CMultiTagEditDialog dialog(busy);
    dialog.m_files = files;
    dialog.SetTagOptions([] { return tagTAGOPTIONS(); });
    QTimer::singleShot(
        0, &dialog,
        [&dialog]
        {
            AddFrame(
                dialog, "TPE1",
                [](QWidget* p)
                { Child<CNotifyVSListBox>(p, "1011")->AddItem(QStringLiteral("New artist")); },
                true);
            dialog.GetFieldButton(FIELD_ARTIST)->menu()->actions()[0]->trigger();
            AddFrame(
                dialog, "COMM",
                [](QWidget* p)
                { Type(Child<QPlainTextEdit>(p, "1018"), QStringLiteral("Shared comment")); },
                true);
            Child<QPushButton>(&dialog, "1")->click();
        });
    ASSERT_EQ(dialog.DoModal(), int(QDialog::Accepted));

    for (size_t i = 0; i < files.size(); ++i)
    {
        const std::filesystem::path path = dir.PathOf(titles[i] + ".mp3");
        const tagTAGVIEW mutagen = MutagenRead(path);
        const tagBASICS basics = BasicsFromRecords(mutagen);
        EXPECT_EQ(basics.strTitle, titles[i]);
        EXPECT_EQ(basics.strArtist, "New artist");
        EXPECT_EQ(basics.strComment, "Shared comment");
        const auto nComments = std::count_if(mutagen.frames.begin(), mutagen.frames.end(),
                                             [](const Record& r) { return r.at(0) == "COMM"; });
        EXPECT_EQ(nComments, 1);
        EXPECT_TRUE(mutagen.bHasID3v1);
        EXPECT_EQ(mutagen.id3v1.at(1), "New artist");

        const tagPROCESSRESULT eyed3 =
            RunProcess({"eyeD3", "--no-color", "--no-config", path.string()},
                       PeerEnvironment(dir.PathOf("home")));
        EXPECT_EQ(eyed3.nExitCode, 0);
        for (const std::string& value :
             {titles[i], std::string("New artist"), std::string("Shared comment")})
            EXPECT_NE(eyed3.strOut.find(value), std::string::npos) << value << "\n" << eyed3.strOut;
        EXPECT_EQ(eyed3.strOut.find("Old artist"), std::string::npos) << eyed3.strOut;
        EXPECT_EQ(ContainerAudio(path), FixtureAudio());
    }
}

INSTANTIATE_TEST_SUITE_P(EveryVersionAndEncoding, DialogWrittenTest,
                         ::testing::Values(tagDIALOGCASE{3, 0}, tagDIALOGCASE{3, 1},
                                           tagDIALOGCASE{4, 0}, tagDIALOGCASE{4, 1},
                                           tagDIALOGCASE{4, 3}),
                         [](const ::testing::TestParamInfo<tagDIALOGCASE>& param)
                         {
                             return "V" + std::to_string(param.param.nVersion) + "Encoding" +
                                    std::to_string(param.param.nEncoding);
                         });

} // namespace
