#include "editor/PictureRules.h"

#include "base/Path.h"
#include "tags/id3v2/frames/PictureFrame.h"

#include <algorithm>

namespace
{

// The text after the last "." of the file name; empty when the name has none.
CString GetNameExtension(const CString& strPath)
{
    const CString strName = Path::GetName(strPath);
    const int nDot = strName.ReverseFind(u'.');
    return nDot < 0 ? CString() : strName.Mid(nDot + 1);
}

CString ToMimeSubtype(const CString& strExtension)
{
    if (strExtension.CompareNoCase(CString(u"jpg")) == 0)
        return CString(u"jpeg");
    if (strExtension.CompareNoCase(CString(u"tif")) == 0)
        return CString(u"tiff");
    return strExtension;
}

} // namespace

CString GetPictureMimeType(const CString& strPath, const CString& strDecodedFormat)
{
    const CString strExtension = GetNameExtension(strPath);
    return CString(u"image/") +
           ToMimeSubtype(strExtension.IsEmpty() ? strDecodedFormat : strExtension);
}

tagPICTURESIZE GetPreviewBox(int nClientWidth, int nClientHeight)
{
    return {std::max(nClientWidth - 2, 0), std::max(nClientHeight - 2, 0)};
}

tagPICTURESIZE GetPreviewSize(tagPICTURESIZE image, tagPICTURESIZE box)
{
    if (image.nWidth <= 0 || image.nHeight <= 0 || box.nWidth <= 0 || box.nHeight <= 0)
        return {};
    if (image.nWidth <= box.nWidth && image.nHeight <= box.nHeight)
        return image;
    // Whichever side reaches the box first sets the scale; 64 bits, so that no product wraps.
    const LONGLONG nWide = static_cast<LONGLONG>(image.nWidth) * box.nHeight;
    const LONGLONG nTall = static_cast<LONGLONG>(image.nHeight) * box.nWidth;
    tagPICTURESIZE preview;
    if (nWide >= nTall)
    {
        preview.nWidth = box.nWidth;
        preview.nHeight = static_cast<int>(nTall / image.nWidth);
    }
    else
    {
        preview.nHeight = box.nHeight;
        preview.nWidth = static_cast<int>(nWide / image.nHeight);
    }
    preview.nWidth = std::max(preview.nWidth, 1);
    preview.nHeight = std::max(preview.nHeight, 1);
    return preview;
}

tagPICTURERECT GetPreviewRect(tagPICTURESIZE preview, tagPICTURESIZE control)
{
    return {control.nWidth / 2 - preview.nWidth / 2, control.nHeight / 2 - preview.nHeight / 2,
            preview.nWidth, preview.nHeight};
}

CString FormatPictureSize(int nWidth, int nHeight)
{
    return FormatString(u"%dx%d (px)", nWidth, nHeight);
}

CString GetPreviewPlaceholder(BOOL bHasPicture)
{
    return CString(bHasPicture ? u"Unavailable preview" : u"Please select a picture");
}

std::span<const char16_t* const> GetPictureTypeNames()
{
    return Tags::ID3v2Tag::PictureTypeNames;
}

int GetPictureTypeSelection(int nPictureType)
{
    return nPictureType >= 0 && nPictureType < Tags::ID3v2Tag::PictureTypeCount ? nPictureType : -1;
}

int GetPictureTypeToStore(int nSelection, int nFramePictureType)
{
    return GetPictureTypeSelection(nSelection) >= 0 ? nSelection : nFramePictureType;
}

CString GetDefaultImageExtension(PICTURE_FORMAT format)
{
    switch (format)
    {
    case PICTURE_BMP:
        return CString(u"bmp");
    case PICTURE_GIF:
        return CString(u"gif");
    case PICTURE_ICON:
        return CString(u"ico");
    case PICTURE_JPEG:
        return CString(u"jpg");
    case PICTURE_PNG:
        return CString(u"png");
    case PICTURE_TIFF:
        return CString(u"tif");
    }
    return CString();
}

CString AddDefaultImageExtension(const CString& strPath, PICTURE_FORMAT format)
{
    if (!GetNameExtension(strPath).IsEmpty())
        return strPath;
    // A name that ends in the dot already only needs the extension itself.
    const BOOL bEndsInDot = !strPath.IsEmpty() && strPath[strPath.GetLength() - 1] == u'.';
    return strPath + (bEndsInDot ? CString() : CString(u".")) + GetDefaultImageExtension(format);
}

tagCOVERBUTTONS GetCoverButtonStates(BOOL bHasPreview, BOOL bClipboardHasImage)
{
    tagCOVERBUTTONS buttons;
    buttons.bExtract = bHasPreview ? TRUE : FALSE;
    buttons.bCopy = buttons.bExtract;
    buttons.bPaste = bClipboardHasImage ? TRUE : FALSE;
    return buttons;
}
