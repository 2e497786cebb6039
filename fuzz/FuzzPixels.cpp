#include "fuzz/FuzzPixels.h"

#include "html/GifImage.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>

int64_t PixelsToDecode(const TGIFImage& gif)
{
    int64_t pixels = int64_t{gif.ImageWidth} * gif.ImageHeight;
    for (const auto& frame : gif.FrameList)
        pixels += int64_t{frame->FrameWidth} * frame->FrameHeight;
    return pixels;
}

int64_t PixelsToPlay(const TGIFImage& gif)
{
    return int64_t{gif.ImageWidth} * gif.ImageHeight * std::max(gif.FrameCount, 1);
}

bool PictureWithinFuzzBudget(const QByteArray& bytes)
{
    if (bytes.startsWith("GIF")) {
        TGIFImage scanned;
        if (!scanned.ScanBytes(bytes))
            return true;
        return PixelsToDecode(scanned) <= MaxFuzzedPixels && PixelsToPlay(scanned) <= MaxFuzzedPixels;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    return !size.isValid() || int64_t{size.width()} * size.height() <= MaxFuzzedPixels;
}
