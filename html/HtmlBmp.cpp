#include "html/HtmlBmp.h"

#include "html/HtmlBitmaps.h"

#include <QBuffer>
#include <QImageReader>

QImage DecodeBmp(const QByteArray& data)
{
    if (ImageFileType(data) != TImageFileType::Bmp)
        return {};
    QByteArray bytes = data; // shared, not copied
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    // The format is forced: the reader never guesses from content or name.
    QImageReader reader(&buffer, "bmp");
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    const QSize size = reader.size(); // reads the header only
    if (!ImageSizeAllowed(size.width(), size.height(), 4))
        return {};
    // Our caps decide what is too large, not the reader's default limit.
    if (QImageReader::allocationLimit() < 256)
        QImageReader::setAllocationLimit(256);
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}
