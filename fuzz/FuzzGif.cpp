// GIF: the decoder as the image loader uses it (LoadGifFromBytes, the first
// frame and its mask for a still picture), then every frame of an animation
// composed and drawn as the document's timer plays it, on the image and on a
// copy, over the backdrops that transparent pixels show.

#include "fuzz/FuzzPixels.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTarget.h"
#include "html/GifImage.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <memory>

namespace {

// The canvas is small: a display size is a stretch, whatever the picture.
constexpr int CanvasSize = 64;

qint64 FakeNow = 0;

void DrawOnCanvas(TGIFImage& gif, const TGifBackdrop& backdrop)
{
    QImage canvas(CanvasSize, CanvasSize, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    gif.PaintedFlag = true;
    gif.DrawGif(painter, backdrop, 3, 2, std::clamp(gif.ImageWidth, 1, CanvasSize - 3),
                std::clamp(gif.ImageHeight, 1, CanvasSize - 2));
}

// Steps through every frame twice (the second round disposes of the last
// frame and starts again), drawing each.
void PlayFrames(TGIFImage& gif, const TGifBackdrop& backdrop)
{
    for (int step = 0; step < 2 * gif.FrameCount; ++step) {
        gif.SetFrameIndex(gif.FrameIndex + 1);
        DrawOnCanvas(gif, backdrop);
    }
}

// The document's timer: each tick comes after any frame delay.
void RunTimer(TGIFImage& gif, const TGifBackdrop& backdrop)
{
    gif.SetFrameIndex(1);
    gif.SetRunning(false);
    gif.SetRunning(true);
    for (int tick = 0; tick < gif.FrameCount + 2; ++tick) {
        FakeNow += 1'000'000'000;
        gif.AdvanceAnimation(nullptr);
        DrawOnCanvas(gif, backdrop);
    }
}

}  // namespace

KORVALITH_FUZZ_TARGET(gif)(const uint8_t* data, size_t size)
{
    static const bool clockInstalled = (SetGifClock([] { return FakeNow; }), true);
    (void)clockInstalled;

    const QByteArray bytes = FuzzBytes(data, size);
    TGIFImage scanned;
    if (scanned.ScanBytes(bytes) && PixelsToDecode(scanned) > MaxFuzzedPixels)
        return 0;

    bool isStill = false;
    std::unique_ptr<TGIFImage> gif = LoadGifFromBytes(bytes, isStill);
    // The scan and the full decoding may see different pictures (a scan
    // that fails, frames dropped by damage); playback is bounded by what
    // was decoded.
    if (!gif || PixelsToDecode(*gif) > MaxFuzzedPixels)
        return 0;
    if (isStill || PixelsToPlay(*gif) > MaxFuzzedPixels) {
        gif->FirstFrameBitmap();
        if (gif->HasTransparency)
            gif->FirstFrameMask();
        return 0;
    }

    QImage tile(7, 5, QImage::Format_RGB32);
    tile.fill(Qt::darkCyan);
    TGifBackdrop blockColour;
    blockColour.BlockColor = qRgb(10, 200, 30);
    TGifBackdrop tiled;
    tiled.BackgroundImage = &tile;
    tiled.VerticalOffset = 13;

    RunTimer(*gif, blockColour);
    PlayFrames(*gif, tiled);

    TGIFImage copy;
    copy.CopyGif(*gif);
    RunTimer(copy, tiled);
    PlayFrames(copy, TGifBackdrop());
    return 0;
}
