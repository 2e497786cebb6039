#include "html/HtmlAnimations.h"

#include "html/GifImage.h"

#include <QWidget>

TAnimationDriver::TAnimationDriver(const std::vector<TGIFImage*>& gifs) : FGifs(gifs)
{
    FTimer.setInterval(TickMs);
    QObject::connect(&FTimer, &QTimer::timeout, [this]() { Tick(); });
}

void TAnimationDriver::RestartAll()
{
    for (TGIFImage* gif : FGifs) {
        gif->SetFrameIndex(1);
        gif->SetRunning(false);
        gif->SetRunning(true);
    }
}

void TAnimationDriver::BeforePaint(const QRect& area)
{
    FTimer.stop();
    for (TGIFImage* gif : FGifs)
        if (gif->LastDrawRect.isEmpty() || area.intersects(gif->LastDrawRect))
            gif->PaintedFlag = false;
}

void TAnimationDriver::AfterPaint()
{
    if (FSurface != nullptr && !FGifs.empty())
        FTimer.start(TickMs);
}

void TAnimationDriver::Scrolled(int dy)
{
    for (TGIFImage* gif : FGifs)
        gif->LastDrawRect.translate(0, -dy);
}

void TAnimationDriver::Tick()
{
    const QRect visible = FSurface != nullptr ? FSurface->rect() : QRect();
    for (TGIFImage* gif : FGifs) {
        if (!gif->PaintedFlag)
            continue;
        // Painted once but now off the surface: it waits until drawn again.
        if (!visible.intersects(gif->LastDrawRect)) {
            gif->PaintedFlag = false;
            continue;
        }
        gif->AdvanceAnimation(FSurface);
    }
    FTimer.setInterval(TickMs);
}
