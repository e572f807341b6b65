// The image formats the picture dialog opens and saves: BMP, GIF, Icon, JPEG, PNG and TIFF, as far
// as the image plugins present can read or write them, and the file dialog filters for them.
#pragma once

#include "editor/PictureRules.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

enum IMAGE_CODEC_KIND : int
{
    IMAGE_DECODERS, // the formats that can be read, for opening
    IMAGE_ENCODERS  // the formats that can be written, for saving
};

struct tagIMAGEFILTER
{
    // The file dialog's filters, such as "PNG (*.png)". For opening, "All Formats" with every
    // extension comes first; for saving, filter n is the format arrFormats[n].
    QStringList arrFilters;
    // The format of each codec entry, in the order of the entries.
    std::vector<PICTURE_FORMAT> arrFormats;
};

tagIMAGEFILTER BuildImageFilter(IMAGE_CODEC_KIND kind);

// The name the image library knows the format by ("png", "jpeg", ...).
QByteArray GetImageFormatName(PICTURE_FORMAT format);
