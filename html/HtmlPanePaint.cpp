// The viewer's surfaces: the paint panel (double-buffered painting with the
// tiled background), the frame, and the two scroll bars.

#include "html/HtmlPane.h"

#include "html/HtmlBitmaps.h"
#include "platform/Exceptions.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

// ---------------------------------------------------------------------------
// TPaintPanel

TPaintPanel::TPaintPanel(THtmlPane* viewer, QWidget* parent)
    : QWidget(parent)
    , Viewer(viewer)
{
    // Opaque: a scroll moves the pixels and repaints only the uncovered strip.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(HtmlCursor(crIBeamText));
}

void TPaintPanel::paintEvent(QPaintEvent* event)
{
    // 1. and 2.
    if (Viewer->LayingOut())
        return;
    Viewer->DrawBorder();
    const QRect clip = event->rect();
    if (clip.isEmpty())
        return;
    LastPaintRect = clip;
    ++PaintCount;
    // 3. The off-screen image covers the clip rectangle; its origin is
    // shifted so that drawing uses panel coordinates.
    QImage buffer(clip.size(), QImage::Format_RGB32);
    if (buffer.isNull())
        throw EOutOfResources("Out of Resources");
    {
        QPainter canvas(&buffer);
        canvas.translate(-clip.topLeft());
        Canvas = &canvas;
        struct TForget {
            QPainter*& Canvas;
            ~TForget() { Canvas = nullptr; }
        } forget { Canvas };
        // 4.
        EraseBackground = false;
        Viewer->PaintBackground(canvas, clip);
        if (OnPaint)
            OnPaint(canvas, clip);
    }
    // 5. One block transfer, through the shared palette when the display
    // has one.
    if (const QVector<QRgb>* palette = THtmlPane::PaletteQuery())
        buffer = buffer.convertToFormat(QImage::Format_Indexed8, *palette, Qt::ThresholdDither | Qt::AvoidDither);
    QPainter screen(this);
    screen.drawImage(clip.topLeft(), buffer);
}

const QVector<QRgb>* THtmlPane::PaletteQuery()
{
    return ColorBits() == 8 ? &SharedPalette() : nullptr;
}

void TPaintPanel::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    Viewer->DocMouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

void TPaintPanel::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    Viewer->DocMouseMove(event->modifiers(), p.x(), p.y());
}

void TPaintPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    Viewer->DocMouseUp(event->button(), event->modifiers(), p.x(), p.y());
}

void TPaintPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    Viewer->SelectWordAt(p.x(), p.y());
}

// ---------------------------------------------------------------------------
// TBorderBox

TBorderBox::TBorderBox(THtmlPane* viewer, QWidget* parent)
    : QWidget(parent)
    , Viewer(viewer)
{
}

void TBorderBox::Refresh()
{
    if (Viewer->BorderColor() == FDrawnColor)
        return;
    // Only the one-pixel ring: the panel above stays as it is.
    update(QRegion(rect()).subtracted(QRegion(rect().adjusted(1, 1, -1, -1))));
}

void TBorderBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    FDrawnColor = Viewer->BorderColor();
    painter.setPen(FDrawnColor);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// ---------------------------------------------------------------------------
// T32ScrollBar

T32ScrollBar::T32ScrollBar(QWidget* parent)
    : QScrollBar(Qt::Vertical, parent)
{
    setRange(0, 0);
}

void T32ScrollBar::SetParams(int position, int page, int max, int min)
{
    if (position == FPosition && page == FPage && max == FMax && min == FMin)
        return;
    FPosition = position;
    FPage = std::max(1, page);
    FMax = max;
    FMin = min;
    // The toolkit's bar runs over positions, with the page as thumb size.
    const QSignalBlocker block(this);
    setRange(FMin, std::max(FMin, FMax - FPage + 1));
    setPageStep(FPage);
    setValue(FPosition);
}

// ---------------------------------------------------------------------------
// Painting

QColor THtmlPane::BorderColor() const
{
    const bool dark
        = (hasFocus() && FBorderStyle == THTMLBorderStyle::htFocused) || FBorderStyle == THTMLBorderStyle::htSingle;
    return dark ? ToQColor(clBtnText) : FPaintPanel->palette().color(QPalette::Window);
}

void THtmlPane::DrawBorder()
{
    if (isVisible())
        FBorderPanel->Refresh();
}

void THtmlPane::PaintBackground(QPainter& canvas, const QRect& area)
{
    const QColor plain = FPaintPanel->palette().color(QPalette::Window);
    const QImage* tile = ViewImages() ? FSectionList.BackgroundImage() : nullptr;
    if (!tile || tile->width() <= 0 || tile->height() <= 0) {
        canvas.fillRect(area, plain);
        return;
    }
    const int w = tile->width();
    const int h = tile->height();
    // The first tile lies at or above and left of the area, aligned on the
    // scrolled document.
    int x0 = -(FHScrollBar->value() % w);
    int y0 = -(VScrollPosition() % h);
    while (x0 + w <= area.left())
        x0 += w;
    while (y0 + h <= area.top())
        y0 += h;
    for (int y = y0; y <= area.bottom(); y += h)
        for (int x = x0; x <= area.right(); x += w)
            canvas.drawImage(x, y, *tile);
}

void THtmlPane::PaintDocument(QPainter& canvas, const QRect& area)
{
    if (FLayingOut)
        return;
    const QRect visible = area.intersected(FPaintPanel->rect());
    FSectionList.Draw(canvas, visible, MaxLayoutClipWidth, FMarginWidth - FHScrollBar->value(), FMarginHeight);
}

// ---------------------------------------------------------------------------
// Scrolling

void THtmlPane::MoveVertically(int newPosition)
{
    newPosition = std::max(0, std::min(newPosition, MaxVScroll()));
    const int old = VScrollPosition();
    if (newPosition == old)
        return;
    FVScrollBar->SetPosition(newPosition);
    FSectionList.SetScrollOffset(newPosition);
    const int moved = newPosition - old;
    if (moved < PanelHeight() && -moved < PanelHeight())
        FPaintPanel->scroll(0, -moved);
    else
        FPaintPanel->update();
}

void THtmlPane::VScrollAction(int action)
{
    setFocus();
    const int old = VScrollPosition();
    int position = old;
    switch (action) {
    case QAbstractSlider::SliderMove:
        position = FVScrollBar->sliderPosition();
        break;
    case QAbstractSlider::SliderSingleStepSub:
        position = old - FVScrollBar->SmallChange;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        position = old + FVScrollBar->SmallChange;
        break;
    case QAbstractSlider::SliderPageStepSub:
        position = old - FVScrollBar->LargeChange;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        position = old + FVScrollBar->LargeChange;
        break;
    case QAbstractSlider::SliderToMinimum:
        position = 0;
        break;
    case QAbstractSlider::SliderToMaximum:
        position = MaxVScroll();
        break;
    default:
        break;
    }
    MoveVertically(position);
    // The toolkit would apply its own step after this signal: keep ours.
    FVScrollBar->setSliderPosition(VScrollPosition());
}

void THtmlPane::HScrollMoved(int value)
{
    setFocus();
    const int limit = std::max(0, FHMax - FPaintPanel->width());
    if (value > limit)
        SetHorizontal(limit);
    FPaintPanel->update();
}
