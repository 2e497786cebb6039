// Playing a GIF: composing frames incrementally on one picture, disposing of
// them, stepping on the document's timer and drawing over the page.

#include "html/GifImage.h"

#include "html/GifRaster.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <climits>

namespace {

std::function<qint64()>& ClockOverride()
{
    static std::function<qint64()> clock;
    return clock;
}

qint64 Now()
{
    if (ClockOverride())
        return ClockOverride()();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int FloorDiv(int a, int b)
{
    const int q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

void SetGifClock(std::function<qint64()> clock) { ClockOverride() = std::move(clock); }

int TGIFImage::ScaledDelay(int delayMs) const
{
    const int64_t speed = std::max(SpeedPercent, 1);
    const int64_t scaled = (int64_t { delayMs } * 100 + speed / 2) / speed;
    return int(std::clamp<int64_t>(scaled, 1, INT_MAX));
}

void TGIFImage::ComposeFrame()
{
    if (ScanOnly || IsEmpty || FrameCount == 0 || ComposedBitmap.isNull())
        return;
    const TFrame& frame = Frame(FrameIndex);
    const QRect area = frame.Area();
    NeedBackdrop = Frame(1).Disposal < DisposalBackground && FrameIndex == 1;

    if (frame.Disposal == DisposalPrevious) {
        TFrame& saving = Frame(FrameIndex);
        if (!ComposedMask.isNull())
            RasterBlit(saving.SavedMask, { 0, 0 }, ComposedMask, area, TRasterOp::Copy);
        RasterBlit(saving.SavedImage, { 0, 0 }, ComposedBitmap, area, TRasterOp::Copy);
    }
    if (frame.Transparent) {
        // The mask is white where the frame is transparent: AND keeps what
        // lies there and clears the rest, and XOR then adds the frame,
        // which is black where transparent.
        if (!ComposedMask.isNull())
            RasterBlit(ComposedMask, area.topLeft(), frame.FrameMask, TRasterOp::And);
        RasterBlit(ComposedBitmap, area.topLeft(), frame.FrameMask, TRasterOp::And);
        RasterBlit(ComposedBitmap, area.topLeft(), frame.FrameBitmap, TRasterOp::Xor);
    } else {
        if (!ComposedMask.isNull())
            RasterFill(ComposedMask, area, RasterBlack);
        RasterBlit(ComposedBitmap, area.topLeft(), frame.FrameBitmap, TRasterOp::Copy);
    }
}

void TGIFImage::DisposeFrame(int index)
{
    if (ScanOnly || IsEmpty || index < 1 || index > FrameCount || ComposedBitmap.isNull())
        return;
    const TFrame& frame = Frame(index);
    if (frame.Disposal == DisposalBackground) {
        if (!ComposedMask.isNull())
            RasterFill(ComposedMask, frame.Area(), RasterWhite);
        RasterFill(ComposedBitmap, frame.Area(), RasterBlack);
    } else if (frame.Disposal == DisposalPrevious) {
        if (!ComposedMask.isNull())
            RasterBlit(ComposedMask, frame.Area().topLeft(), frame.SavedMask, TRasterOp::Copy);
        RasterBlit(ComposedBitmap, frame.Area().topLeft(), frame.SavedImage, TRasterOp::Copy);
    }
}

void TGIFImage::SetRunning(bool on)
{
    if (on == Running)
        return;
    Running = on;
    LoopsDone = 1;
    if (on && FrameCount > 1) {
        FrameDelay = ScaledDelay(Frame(FrameIndex).DelayMs);
        LastAdvanceTime = Now();
    }
}

void TGIFImage::SetFrameIndex(int index)
{
    if (index == FrameIndex || FrameCount == 0)
        return;
    DisposeFrame(FrameIndex);
    if (index > FrameCount)
        index = 1;
    else if (index <= 0)
        index = FrameCount;
    FrameIndex = index;
    ComposeFrame();
}

void TGIFImage::AdvanceAnimation(QWidget* window)
{
    if (!Running || IsEmpty || ScanOnly || FrameCount == 0)
        return;
    const qint64 now = Now();
    if (now - LastAdvanceTime < FrameDelay)
        return;
    LastAdvanceTime = now;

    if (PlayCount > 0 && FrameIndex == FrameCount) {
        if (LoopsDone >= PlayCount) {
            SetRunning(false); // the last frame stays
            return;
        }
        ++LoopsDone;
    }
    if (HoldFirstTick) {
        HoldFirstTick = false;
    } else {
        DisposeFrame(FrameIndex);
        FrameIndex = FrameIndex >= FrameCount ? 1 : FrameIndex + 1;
        ComposeFrame();
        if (window != nullptr)
            window->update(LastDrawRect);
    }
    FrameDelay = ScaledDelay(Frame(FrameIndex).DelayMs);
}

void TGIFImage::DrawGif(QPainter& canvas, const TGifBackdrop& backdrop, int x, int y, int width, int height)
{
    LastDrawRect = QRect(x, y, width, height);
    if (!Shown || IsEmpty || ScanOnly || FrameCount == 0 || ComposedBitmap.isNull())
        return;
    // A display size beyond what a picture may hold draws nothing.
    if (width <= 0 || height <= 0 || int64_t { width } * height > MaxGifPixels)
        return;
    const QRect display(0, 0, width, height);
    canvas.save();
    canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);

    if (!Frame(1).Transparent || ComposedMask.isNull()) {
        QImage picture = NewFilledImage(width, height, QImage::Format_RGB32, RasterBlack);
        RasterStretch(picture, display, ComposedBitmap, TRasterOp::Copy);
        canvas.drawImage(x, y, picture);
    } else if (Frame(FrameIndex).Disposal >= DisposalBackground) {
        // XOR, AND with the mask and OR leave the canvas where the mask is
        // white and put the picture elsewhere: the same as drawing the
        // picture with its transparent pixels given alpha 0.
        QImage picture = NewFilledImage(width, height, QImage::Format_ARGB32_Premultiplied, RasterBlack);
        QImage mask = NewFilledImage(width, height, QImage::Format_Grayscale8, RasterWhite);
        if (!picture.isNull() && !mask.isNull()) {
            RasterStretch(picture, display, ComposedBitmap, TRasterOp::Copy);
            RasterStretch(mask, display, ComposedMask, TRasterOp::Copy);
            for (int row = 0; row < height; ++row) {
                const uchar* m = mask.constScanLine(row);
                QRgb* p = reinterpret_cast<QRgb*>(picture.scanLine(row));
                for (int col = 0; col < width; ++col)
                    if (m[col] != 0)
                        p[col] = 0;
            }
            canvas.drawImage(x, y, picture);
        }
    } else {
        // Combined off screen over a fresh backdrop, then copied at once.
        // The backdrop is painted at every draw: what showed through at the
        // last draw may have moved with the page, or been covered since.
        if (WorkBitmap.size() != display.size())
            WorkBitmap = NewFilledImage(width, height, QImage::Format_RGB32, RasterBlack);
        if (!WorkBitmap.isNull()) {
            PaintBackdrop(backdrop, x, y, width, height);
            NeedBackdrop = false;
            RasterStretch(WorkBitmap, display, ComposedBitmap, TRasterOp::Xor);
            RasterStretch(WorkBitmap, display, ComposedMask, TRasterOp::And);
            RasterStretch(WorkBitmap, display, ComposedBitmap, TRasterOp::Or);
            canvas.drawImage(x, y, WorkBitmap);
        }
    }
    canvas.restore();
}

void TGIFImage::PaintBackdrop(const TGifBackdrop& backdrop, int x, int y, int width, int height)
{
    if (WorkBitmap.isNull())
        WorkBitmap = NewFilledImage(width, height, QImage::Format_RGB32, RasterBlack);
    if (WorkBitmap.isNull())
        return;
    if (backdrop.BlockColor) {
        RasterFill(WorkBitmap, WorkBitmap.rect(), *backdrop.BlockColor);
        return;
    }
    const QImage* tile = backdrop.BackgroundImage;
    if (tile == nullptr || tile->isNull()) {
        RasterFill(WorkBitmap, WorkBitmap.rect(), backdrop.DocumentColor);
        return;
    }
    // Tiles line up with the page, not with the image: the first starts at
    // the last multiple of the tile size before the image's page position.
    const int pageY = backdrop.VerticalOffset + y;
    const int left = FloorDiv(x, tile->width()) * tile->width() - x;
    const int top = FloorDiv(pageY, tile->height()) * tile->height() - pageY;
    QPainter painter(&WorkBitmap);
    painter.setBrushOrigin(left, top);
    painter.fillRect(WorkBitmap.rect(), QBrush(*tile));
}
