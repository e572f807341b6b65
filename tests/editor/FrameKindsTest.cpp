#include "editor/FrameKinds.h"

#include "tags/id3v2/FrameCatalogue.h"
#include "tags/id3v2/frames/CommentsFrame.h"
#include "tags/id3v2/frames/PictureFrame.h"
#include "tags/id3v2/frames/PlayCounterFrame.h"
#include "tags/id3v2/frames/PopularimeterFrame.h"
#include "tags/id3v2/frames/TermOfUseFrame.h"
#include "tags/id3v2/frames/TextFrame.h"
#include "tags/id3v2/frames/UnknowFrame.h"
#include "tags/id3v2/frames/UnsynchronizedLyricsFrame.h"
#include "tags/id3v2/frames/UrlLinkFrame.h"
#include "tags/id3v2/frames/UserTextFrame.h"
#include "tags/id3v2/frames/UserUrlLinkFrame.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Tags::ID3v2Tag;

TEST(FrameKindsTest, DialogKindByID)
{
    EXPECT_EQ(GetFrameDialogKind("TIT2"), FRAME_DIALOG_TEXT);
    EXPECT_EQ(GetFrameDialogKind("TXXX"), FRAME_DIALOG_TEXT);
    EXPECT_EQ(GetFrameDialogKind("TKWD"), FRAME_DIALOG_TEXT);
    EXPECT_EQ(GetFrameDialogKind("COMM"), FRAME_DIALOG_COMMENTS);
    EXPECT_EQ(GetFrameDialogKind("WOAR"), FRAME_DIALOG_URL_LINK);
    EXPECT_EQ(GetFrameDialogKind("WXXX"), FRAME_DIALOG_URL_LINK);
    EXPECT_EQ(GetFrameDialogKind("APIC"), FRAME_DIALOG_PICTURE);
    EXPECT_EQ(GetFrameDialogKind("POPM"), FRAME_DIALOG_POPULARIMETER);
    EXPECT_EQ(GetFrameDialogKind("USLT"), FRAME_DIALOG_LYRICS);
    EXPECT_EQ(GetFrameDialogKind("USER"), FRAME_DIALOG_TERM_OF_USE);
    for (const char* szID : {"PRIV", "PCNT", "SYLT", "IPLS", "GEOB", "PIC", "comm", ""})
        EXPECT_EQ(GetFrameDialogKind(szID), FRAME_DIALOG_NONE) << szID;
    EXPECT_EQ(GetFrameDialogKind(nullptr), FRAME_DIALOG_NONE);

    // Every frame a user can add has a dialog.
    for (const tagADDABLEFRAME& frame : GetAddableFrames())
        EXPECT_NE(GetFrameDialogKind(frame.szID), FRAME_DIALOG_NONE) << frame.szID;
}

TEST(FrameKindsTest, AFrameHeldRawHasNoDialogWhateverItsID)
{
    EXPECT_EQ(GetFrameDialogKind(CTextFrame("TIT2", 4)), FRAME_DIALOG_TEXT);
    EXPECT_EQ(GetFrameDialogKind(CUserTextFrame()), FRAME_DIALOG_TEXT);
    EXPECT_EQ(GetFrameDialogKind(CUserUrlLinkFrame()), FRAME_DIALOG_URL_LINK);
    EXPECT_EQ(GetFrameDialogKind(CPictureFrame()), FRAME_DIALOG_PICTURE);
    EXPECT_EQ(GetFrameDialogKind(CPlayCounterFrame()), FRAME_DIALOG_NONE);
    // Read compressed or encrypted, a frame keeps its ID but not its layout.
    for (const char* szID :
         {"TIT2", "TXXX", "COMM", "WOAR", "WXXX", "APIC", "POPM", "USLT", "USER"})
        EXPECT_EQ(GetFrameDialogKind(CUnknowFrame(szID, 4)), FRAME_DIALOG_NONE) << szID;
    // A text frame renamed to TXXX lacks the description the dialog takes from it.
    EXPECT_EQ(GetFrameDialogKind(CTextFrame("TXXX", 4)), FRAME_DIALOG_NONE);
}

TEST(FrameKindsTest, NewFramesOfTheMatchingClassWithTheirDefaults)
{
    struct tagCASE
    {
        const char* szID;
        const char* szClass;
    };
    const tagCASE kCases[] = {
        {"TIT2", "CTextFrame"},          {"TXXX", "CUserTextFrame"},
        {"COMM", "CCommentsFrame"},      {"WOAR", "CUrlLinkFrame"},
        {"WXXX", "CUserUrlLinkFrame"},   {"APIC", "CPictureFrame"},
        {"POPM", "CPopularimeterFrame"}, {"USLT", "CUnsynchronizedLyricsFrame"},
        {"USER", "CTermOfUseFrame"}};
    for (const tagCASE& c : kCases)
    {
        auto pFrame = CreateNewFrame(c.szID);
        ASSERT_NE(pFrame, nullptr) << c.szID;
        EXPECT_STREQ(pFrame->GetRuntimeClassName(), c.szClass);
        EXPECT_STREQ(pFrame->GetID(), c.szID);
        EXPECT_EQ(GetFrameDialogKind(*pFrame), GetFrameDialogKind(c.szID)) << c.szID;
    }
    auto pText = CreateNewFrame("TCON");
    EXPECT_TRUE(static_cast<CTextFrame&>(*pText).m_values.empty());
    auto pPicture = CreateNewFrame("APIC");
    EXPECT_EQ(static_cast<CPictureFrame&>(*pPicture).m_nPictureType, 3);
    EXPECT_EQ(static_cast<CPictureFrame&>(*pPicture).GetDataSize(), 0u);
    auto pComment = CreateNewFrame("COMM");
    EXPECT_STREQ(static_cast<CCommentsFrame&>(*pComment).m_szLanguage, "ENG");

    for (const char* szID : {"PRIV", "PCNT", "IPLS", "GEOB", "", "comm"})
        EXPECT_EQ(CreateNewFrame(szID), nullptr) << szID;
    EXPECT_EQ(CreateNewFrame(nullptr), nullptr);
}
