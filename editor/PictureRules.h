// The picture frame dialog's rules that need no image library: the MIME type of a chosen file,
// the preview's size and place, the dimensions text, the picture type box, the image formats
// of the open and save dialogs, and which buttons are enabled.
#pragma once

#include "base/String.h"
#include "base/Types.h"

#include <span>

struct tagPICTURESIZE
{
    int nWidth = 0;
    int nHeight = 0;
};

struct tagPICTURERECT
{
    int nLeft = 0;
    int nTop = 0;
    int nWidth = 0;
    int nHeight = 0;
};

// The image formats the open and save dialogs offer; codecs of other formats are left out.
enum PICTURE_FORMAT : int
{
    PICTURE_BMP,
    PICTURE_GIF,
    PICTURE_ICON,
    PICTURE_JPEG,
    PICTURE_PNG,
    PICTURE_TIFF
};

inline constexpr int PICTURE_FORMAT_COUNT = 6;

// The MIME type stored for a picture loaded from a file: "image/" followed by the extension of
// the file name (the text after its last "."), with "jpg" as "jpeg" and "tif" as "tiff" ignoring
// case, and any other extension as written ("image/PNG"). A name without an extension takes the
// decoded format's name instead (strDecodedFormat, such as "png"), by the same rule; without
// that, the subtype stays empty. A dot in a folder name is no extension of the file.
CString GetPictureMimeType(const CString& strPath, const CString& strDecodedFormat = CString());

// The box the preview is fitted into: the preview control's client size less 1 pixel on every
// side (never negative).
tagPICTURESIZE GetPreviewBox(int nClientWidth, int nClientHeight);

// The preview's size for an image in a box: the image's own size when it fits, else scaled
// down, keeping its proportions, to the largest size that fits in both directions (whole
// pixels, at least 1). An image or box without area gives no preview (0 x 0).
tagPICTURESIZE GetPreviewSize(tagPICTURESIZE image, tagPICTURESIZE box);

// Where a preview is drawn in the preview control of the given size: at its own size, centred
// (each offset is half the control less half the preview, in whole pixels).
tagPICTURERECT GetPreviewRect(tagPICTURESIZE preview, tagPICTURESIZE control);

// The dimensions text, "%dx%d (px)" with the picture's full width and height.
CString FormatPictureSize(int nWidth, int nHeight);

// The text the preview control shows without a preview: "Unavailable preview" for a picture
// that decoded but could not be scaled, "Please select a picture" otherwise.
CString GetPreviewPlaceholder(BOOL bHasPicture);

// The picture type names in type order, from 0 "Other" to 20 "PublisherLogo"; the type box's
// entry index is the type number.
std::span<const char16_t* const> GetPictureTypeNames();

// The type box's selection for a frame's picture type: the type when it is 0 to 20, else none.
int GetPictureTypeSelection(int nPictureType);
// The type OK stores: the selected entry, or the frame's own type when the box has no selection
// (a stored type outside 0 to 20 that the user did not change).
int GetPictureTypeToStore(int nSelection, int nFramePictureType);

// The extension a saved picture gets when its name has none: "bmp", "gif", "ico", "jpg", "png",
// "tif".
CString GetDefaultImageExtension(PICTURE_FORMAT format);

// The name to save to: strPath as chosen when its file name has an extension, else with "."
// and the format's default extension appended.
CString AddDefaultImageExtension(const CString& strPath, PICTURE_FORMAT format);

// Enabled state of the cover buttons, whenever the dialog becomes active: Extract Cover and
// Copy Cover exactly when there is a preview, Paste Cover exactly when the clipboard holds an
// image.
struct tagCOVERBUTTONS
{
    BOOL bExtract = FALSE;
    BOOL bCopy = FALSE;
    BOOL bPaste = FALSE;
};
tagCOVERBUTTONS GetCoverButtonStates(BOOL bHasPreview, BOOL bClipboardHasImage);
