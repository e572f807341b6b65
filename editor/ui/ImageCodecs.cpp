#include "editor/ui/ImageCodecs.h"

#include <QImageReader>
#include <QImageWriter>

namespace
{

struct tagCODEC
{
    PICTURE_FORMAT format;
    const char* szDescription;
    const char* szName;
    const char* szExtensions;
};

// In the order the plugins list their formats.
constexpr tagCODEC Codecs[PICTURE_FORMAT_COUNT] = {
    {PICTURE_BMP, "BMP", "bmp", "*.bmp *.dib"},
    {PICTURE_GIF, "GIF", "gif", "*.gif"},
    {PICTURE_ICON, "ICO", "ico", "*.ico"},
    {PICTURE_JPEG, "JPEG", "jpeg", "*.jpg *.jpeg *.jpe *.jfif"},
    {PICTURE_PNG, "PNG", "png", "*.png"},
    {PICTURE_TIFF, "TIFF", "tiff", "*.tif *.tiff"},
};

} // namespace

tagIMAGEFILTER BuildImageFilter(IMAGE_CODEC_KIND kind)
{
    const QList<QByteArray> arrSupported = kind == IMAGE_DECODERS
                                               ? QImageReader::supportedImageFormats()
                                               : QImageWriter::supportedImageFormats();
    tagIMAGEFILTER filter;
    QStringList arrAllExtensions;
    for (const tagCODEC& codec : Codecs)
    {
        if (!arrSupported.contains(QByteArray(codec.szName)))
            continue;
        filter.arrFilters.append(QStringLiteral("%1 (%2)").arg(QLatin1String(codec.szDescription),
                                                               QLatin1String(codec.szExtensions)));
        filter.arrFormats.push_back(codec.format);
        arrAllExtensions.append(QLatin1String(codec.szExtensions));
    }
    if (kind == IMAGE_DECODERS)
        filter.arrFilters.prepend(
            QStringLiteral("All Formats (%1)").arg(arrAllExtensions.join(QLatin1Char(' '))));
    return filter;
}

QByteArray GetImageFormatName(PICTURE_FORMAT format)
{
    for (const tagCODEC& codec : Codecs)
    {
        if (codec.format == format)
            return QByteArray(codec.szName);
    }
    return QByteArray();
}
