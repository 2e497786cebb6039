#include "ImageTestSupport.h"

#include <QFile>

QByteArray ReadTestFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

namespace {

// Next whitespace-separated header number of a PNM file.
bool ReadHeaderNumber(const QByteArray& data, int& pos, int& value)
{
    while (pos < data.size() && (data[pos] == ' ' || data[pos] == '\n' || data[pos] == '\r' || data[pos] == '\t'))
        ++pos;
    const int start = pos;
    while (pos < data.size() && data[pos] >= '0' && data[pos] <= '9')
        ++pos;
    bool ok = false;
    value = data.mid(start, pos - start).toInt(&ok);
    return ok;
}

} // namespace

QImage ParsePnm(const QByteArray& data)
{
    if (data.size() < 3 || data[0] != 'P' || (data[1] != '5' && data[1] != '6'))
        return {};
    const int channels = data[1] == '6' ? 3 : 1;
    int pos = 2, width = 0, height = 0, maxval = 0;
    if (!ReadHeaderNumber(data, pos, width) || !ReadHeaderNumber(data, pos, height)
        || !ReadHeaderNumber(data, pos, maxval) || maxval != 255)
        return {};
    ++pos; // the single blank after maxval
    if (data.size() - pos < qsizetype(width) * height * channels)
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    const auto* p = reinterpret_cast<const uchar*>(data.constData()) + pos;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, p += channels)
            image.setPixel(x, y, channels == 3 ? qRgb(p[0], p[1], p[2]) : qRgb(p[0], p[0], p[0]));
    return image;
}

QString FirstPixelDifference(const QImage& actual, const QImage& expected)
{
    if (actual.size() != expected.size())
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(actual.width()).arg(actual.height()).arg(expected.width()).arg(expected.height());
    const QImage a = actual.convertToFormat(QImage::Format_RGB32);
    const QImage e = expected.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (e.pixel(x, y) & 0xFFFFFF))
                return QStringLiteral("pixel (%1, %2) is %3, expected %4")
                    .arg(x).arg(y).arg(a.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                    .arg(e.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'));
    return {};
}
