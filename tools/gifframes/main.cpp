// gifframes FILE.gif OUTDIR
//
// Decodes a GIF with the viewer's decoder and writes every composed frame as
// OUTDIR/frame_NNN.png (RGBA; transparent pixels have alpha 0), then prints
// one JSON object: width, height, frames, delays_ms, loop, transparent.
// Data that is not a GIF, or that cannot be decoded, gives a message on
// standard error and exit status 1; wrong arguments give status 2.

#include "html/GifImage.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <cstdio>

namespace {

int Fail(const QString& message, int status)
{
    std::fprintf(stderr, "gifframes: %s\n", qPrintable(message));
    return status;
}

// The composed picture as it stands, transparent where the mask is white.
QImage ComposedRgba(const TGIFImage& gif)
{
    QImage rgba = gif.ComposedBitmap.convertToFormat(QImage::Format_ARGB32);
    if (gif.ComposedMask.isNull())
        return rgba;
    for (int y = 0; y < rgba.height(); ++y) {
        const uchar* mask = gif.ComposedMask.constScanLine(y);
        QRgb* line = reinterpret_cast<QRgb*>(rgba.scanLine(y));
        for (int x = 0; x < rgba.width(); ++x)
            if (mask[x] != 0)
                line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]), 0);
    }
    return rgba;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return Fail(QStringLiteral("usage: gifframes FILE.gif OUTDIR"), 2);
    const QString fileName = QString::fromLocal8Bit(argv[1]);
    const QString outDir = QString::fromLocal8Bit(argv[2]);

    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("cannot read %1").arg(fileName), 1);
    const QByteArray data = file.read(MaxGifFileBytes + 1);
    if (!data.startsWith("GIF"))
        return Fail(QStringLiteral("%1 is not a GIF file").arg(fileName), 1);

    TGIFImage gif;
    if (!gif.LoadFromBytes(data))
        return Fail(QStringLiteral("%1 could not be decoded").arg(fileName), 1);
    if (!QDir().mkpath(outDir))
        return Fail(QStringLiteral("cannot create %1").arg(outDir), 1);

    QJsonArray delays;
    for (int index = 1; index <= gif.FrameCount; ++index) {
        gif.SetFrameIndex(index);
        const QString name = QStringLiteral("%1/frame_%2.png").arg(outDir).arg(index - 1, 3, 10, QLatin1Char('0'));
        if (!ComposedRgba(gif).save(name, "PNG"))
            return Fail(QStringLiteral("cannot write %1").arg(name), 1);
        delays.append(gif.Frame(index).DelayMs);
    }

    QJsonObject summary;
    summary.insert(QStringLiteral("width"), gif.ImageWidth);
    summary.insert(QStringLiteral("height"), gif.ImageHeight);
    summary.insert(QStringLiteral("frames"), gif.FrameCount);
    summary.insert(QStringLiteral("delays_ms"), delays);
    summary.insert(QStringLiteral("loop"), gif.PlayCount);
    summary.insert(QStringLiteral("transparent"), gif.HasTransparency);
    std::printf("%s\n", QJsonDocument(summary).toJson(QJsonDocument::Compact).constData());
    return 0;
}
