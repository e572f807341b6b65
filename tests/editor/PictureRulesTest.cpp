#include "EditorFiles.h"

#include "editor/PictureRules.h"

#include <gtest/gtest.h>

#include <utility>

namespace
{

std::pair<int, int> Size(tagPICTURESIZE size)
{
    return {size.nWidth, size.nHeight};
}

} // namespace

TEST(PictureRulesTest, MimeTypeFromTheFileNameExtension)
{
    EXPECT_EQ(GetPictureMimeType(u"/pics/cover.JPG"), CString(u"image/jpeg"));
    EXPECT_EQ(GetPictureMimeType(u"/pics/cover.tif"), CString(u"image/tiff"));
    EXPECT_EQ(GetPictureMimeType(u"/pics/cover.PNG"), CString(u"image/PNG"));
    EXPECT_EQ(GetPictureMimeType(u"/pics/cover.tar.gif"), CString(u"image/gif"));
    // Without an extension the decoded format names the type; a dotted folder does not.
    EXPECT_EQ(GetPictureMimeType(u"/my.pics/cover"), CString(u"image/"));
    EXPECT_EQ(GetPictureMimeType(u"/my.pics/cover", u"jpg"), CString(u"image/jpeg"));
}

TEST(PictureRulesTest, PreviewFitsTheBoxKeepingItsProportionsAndIsCentred)
{
    const tagPICTURESIZE box = GetPreviewBox(202, 182);
    EXPECT_EQ(Size(box), std::make_pair(200, 180));
    EXPECT_EQ(Size(GetPreviewSize({1000, 500}, box)), std::make_pair(200, 100));
    EXPECT_EQ(Size(GetPreviewSize({100, 80}, box)), std::make_pair(100, 80));
    EXPECT_EQ(Size(GetPreviewSize({500, 1000}, box)), std::make_pair(90, 180));
    // A near-square image in a flat box is fitted by its height, never past the box.
    EXPECT_EQ(Size(GetPreviewSize({300, 290}, {200, 100})), std::make_pair(103, 100));
    // A sliver keeps a pixel; nothing to show gives no preview.
    EXPECT_EQ(Size(GetPreviewSize({100000, 1}, box)), std::make_pair(200, 1));
    EXPECT_EQ(Size(GetPreviewSize({0, 100}, box)), std::make_pair(0, 0));

    const tagPICTURERECT rect = GetPreviewRect({51, 100}, {202, 182});
    EXPECT_EQ(std::make_pair(rect.nLeft, rect.nTop), std::make_pair(76, 41));
    EXPECT_EQ(Size({rect.nWidth, rect.nHeight}), std::make_pair(51, 100));
}

TEST(PictureRulesTest, TextsTypesAndButtons)
{
    EXPECT_EQ(FormatPictureSize(1000, 500), CString(u"1000x500 (px)"));
    EXPECT_EQ(GetPreviewPlaceholder(TRUE), CString(u"Unavailable preview"));
    EXPECT_EQ(GetPreviewPlaceholder(FALSE), CString(u"Please select a picture"));

    ASSERT_EQ(GetPictureTypeNames().size(), 21u);
    EXPECT_EQ(CString(GetPictureTypeNames()[20]), CString(u"PublisherLogo"));
    EXPECT_EQ(GetPictureTypeSelection(21), -1);
    // No selection keeps the type the frame holds.
    EXPECT_EQ(GetPictureTypeToStore(4, 3), 4);
    EXPECT_EQ(GetPictureTypeToStore(-1, 40), 40);

    const tagCOVERBUTTONS buttons = GetCoverButtonStates(TRUE, FALSE);
    EXPECT_TRUE(buttons.bExtract && buttons.bCopy);
    EXPECT_FALSE(buttons.bPaste);
    EXPECT_TRUE(GetCoverButtonStates(FALSE, TRUE).bPaste);
    EXPECT_FALSE(GetCoverButtonStates(FALSE, TRUE).bCopy);
}

TEST(PictureRulesTest, SavedNamesGetTheFormatsExtensionWhenTheyHaveNone)
{
    EXPECT_EQ(AddDefaultImageExtension(u"/out/cover", PICTURE_PNG), CString(u"/out/cover.png"));
    EXPECT_EQ(AddDefaultImageExtension(u"/out/cover.jpg", PICTURE_PNG), CString(u"/out/cover.jpg"));
    EXPECT_EQ(AddDefaultImageExtension(u"/out.d/cover", PICTURE_JPEG),
              CString(u"/out.d/cover.jpg"));
    EXPECT_EQ(AddDefaultImageExtension(u"/out/cover.", PICTURE_TIFF), CString(u"/out/cover.tif"));
    EXPECT_EQ(GetDefaultImageExtension(PICTURE_ICON), CString(u"ico"));
}
