#include "editor/FrameKinds.h"

#include "tags/id3v2/FrameCatalogue.h"
#include "tags/id3v2/frames/CommentsFrame.h"
#include "tags/id3v2/frames/PictureFrame.h"
#include "tags/id3v2/frames/TextFrame.h"
#include "tags/id3v2/frames/UnknowFrame.h"
#include "tags/id3v2/frames/UserTextFrame.h"

#include <gtest/gtest.h>

using namespace Tags::ID3v2Tag;

TEST(FrameKindsTest, DialogKindByID)
{
    const std::pair<const char*, FRAME_DIALOG_KIND> kCases[] = {
        {"TKWD", FRAME_DIALOG_TEXT},     {"TXXX", FRAME_DIALOG_TEXT},
        {"COMM", FRAME_DIALOG_COMMENTS}, {"WXXX", FRAME_DIALOG_URL_LINK},
        {"APIC", FRAME_DIALOG_PICTURE},  {"POPM", FRAME_DIALOG_POPULARIMETER},
        {"USLT", FRAME_DIALOG_LYRICS},   {"USER", FRAME_DIALOG_TERM_OF_USE},
        {"PCNT", FRAME_DIALOG_NONE},     {"IPLS", FRAME_DIALOG_NONE},
        {"PIC", FRAME_DIALOG_NONE},      {"comm", FRAME_DIALOG_NONE}};
    for (const auto& [szID, kind] : kCases)
        EXPECT_EQ(GetFrameDialogKind(szID), kind) << szID;
    EXPECT_EQ(GetFrameDialogKind(nullptr), FRAME_DIALOG_NONE);

    // Every frame a user can add has a dialog and a new frame of the class it edits.
    for (const tagADDABLEFRAME& frame : GetAddableFrames())
    {
        auto pFrame = CreateNewFrame(frame.szID);
        ASSERT_NE(pFrame, nullptr) << frame.szID;
        EXPECT_STREQ(pFrame->GetID(), frame.szID);
        EXPECT_NE(GetFrameDialogKind(*pFrame), FRAME_DIALOG_NONE) << frame.szID;
    }
}

TEST(FrameKindsTest, AFrameHeldRawHasNoDialogWhateverItsID)
{
    EXPECT_EQ(GetFrameDialogKind(CTextFrame("TIT2", 4)), FRAME_DIALOG_TEXT);
    // Read compressed or encrypted, a frame keeps its ID but not its layout.
    for (const char* szID : {"TIT2", "TXXX", "COMM", "WOAR", "APIC", "POPM", "USLT", "USER"})
        EXPECT_EQ(GetFrameDialogKind(CUnknowFrame(szID, 4)), FRAME_DIALOG_NONE) << szID;
    // A plain text frame named TXXX lacks the description its dialog takes from it.
    EXPECT_EQ(GetFrameDialogKind(CTextFrame("TXXX", 4)), FRAME_DIALOG_NONE);
}

TEST(FrameKindsTest, NewFramesOfTheMatchingClassWithTheirDefaults)
{
    EXPECT_STREQ(CreateNewFrame("TXXX")->GetRuntimeClassName(), "CUserTextFrame");
    EXPECT_STREQ(CreateNewFrame("TCON")->GetRuntimeClassName(), "CTextFrame");
    EXPECT_STREQ(CreateNewFrame("WXXX")->GetRuntimeClassName(), "CUserUrlLinkFrame");
    EXPECT_STREQ(CreateNewFrame("WOAR")->GetRuntimeClassName(), "CUrlLinkFrame");
    auto pPicture = CreateNewFrame("APIC");
    EXPECT_EQ(static_cast<CPictureFrame&>(*pPicture).m_nPictureType, 3);
    EXPECT_EQ(static_cast<CPictureFrame&>(*pPicture).GetDataSize(), 0u);
    EXPECT_STREQ(static_cast<CCommentsFrame&>(*CreateNewFrame("COMM")).m_szLanguage, "ENG");

    for (const char* szID : {"PRIV", "PCNT", "IPLS", "GEOB", ""})
        EXPECT_EQ(CreateNewFrame(szID), nullptr) << szID;
    EXPECT_EQ(CreateNewFrame(nullptr), nullptr);
}
