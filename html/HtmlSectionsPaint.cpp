// Painting of text sections, list markers and rules.

#include "html/HtmlSections.h"

#include "html/GifImage.h"
#include "html/HtmlSectionsMeasure.h"

#include <QPainter>

#include <algorithm>

namespace {

// The backgrounds on which bullets are drawn filled in their level colour.
bool IsLightBackground(TColor background)
{
    return background == clBtnFace || background == clWhite || background == clSilver ||
           (background == clWindow && ColorToRGB(clWindow) == clWhite);
}

// What shows through the transparent pixels of an animation: the colour of
// the table cell it stands in, or else the page's tiled image or colour.
TGifBackdrop AnimationBackdrop(TSectionList& document)
{
    TGifBackdrop backdrop;
    const TCell* cell = document.PaintingCell;
    if (cell != nullptr && cell != &document && cell->BkGnd) {
        backdrop.BlockColor = ToQColor(cell->BkColor).rgb();
        return backdrop;
    }
    backdrop.DocumentColor = ToQColor(document.Background).rgb();
    if (document.ImageContext.ShowImages)
        backdrop.BackgroundImage = document.BackgroundImage();
    backdrop.VerticalOffset = document.YOff;
    return backdrop;
}

} // namespace

int TSection::Paint(QPainter& canvas, const QRect& area, int y, int x)
{
    const int yOff = y - YPosition;
    if (y > area.bottom() || y + std::max(DrawHeight, SectionHeight) < area.top())
        return y + SectionHeight;
    bool first = true;
    for (TObject* item : Lines) {
        auto* line = static_cast<LineRec*>(item);
        const int top = line->Y + yOff;
        if (top > area.bottom())
            break;
        const bool isClearLine = line->Ln == 0;
        if (top + std::max(line->Height(), line->LineDrawHeight) >= area.top() && !isClearLine)
            PaintLine(canvas, *line, x, yOff);
        if (first && !isClearLine) {
            first = false;
            PaintMarker(canvas, *line, x, yOff);
        }
    }
    const TGifBackdrop backdrop = AnimationBackdrop(*Document);
    for (const TFloatPlacement& placed : FFloats)
        placed.Image->PaintAt(canvas, x + placed.Image->FloatX, placed.Y + yOff, Fonts.GetFontObjAt(placed.Image->Pos),
                              Document->Background, &backdrop);
    return y + SectionHeight;
}

// 3. to 5. Text on the baseline run by run, the selection opaque, inline
// images and form controls at the current x.
void TSection::PaintLine(QPainter& canvas, LineRec& line, int x, int yOff)
{
    const int top = line.Y + yOff;
    const int textTop = top + line.SpaceBefore;
    const int baseline = textTop + line.LineHeight - line.Descent;
    const int end = line.Start + line.Ln;
    const int selB = Document->SelB - StartIndex;
    const int selE = Document->SelE - StartIndex;
    int cx = x + line.LineX;
    line.DrawX = cx;
    int p = line.Start;
    while (p < end) {
        int runIndex = 0;
        const TFontObj* run = Fonts.GetFontObjAt(p, &runIndex);
        const int runEnd = runIndex + 1 < Fonts.Count() ? std::min(end, std::max(p + 1, Fonts.FontObj(runIndex + 1)->Pos)) : end;
        const char c = Buff[p];
        if (c == ImageChar) {
            TImageObj* image = Images.FindImage(p);
            if (image && !image->IsFloat()) {
                const TGifBackdrop backdrop = AnimationBackdrop(*Document);
                image->PaintImage(canvas, cx, run, baseline, textTop, Document->Background, &backdrop);
            }
            cx += Extent(p, p + 1);
            ++p;
            continue;
        }
        if (c == ControlChar) {
            if (TSectionControl* control = ControlAt(p)) {
                const int h = control->ControlHeight();
                const int bottom = control->OnBaseline() ? baseline : baseline + line.Descent;
                control->PlaceAt(cx, bottom - h);
                control->ShownInPaint = true;
            }
            cx += Extent(p, p + 1);
            ++p;
            continue;
        }
        int pieceEnd = p;
        while (pieceEnd < runEnd && Buff[pieceEnd] != ImageChar && Buff[pieceEnd] != ControlChar)
            ++pieceEnd;
        // Split at the selection bounds: selected characters are opaque.
        int textY = baseline;
        if (run->SScript == TSubSuper::Super)
            textY -= run->FontHeight / 3;
        else if (run->SScript == TSubSuper::Sub)
            textY += run->Descent / 2 + 1;
        canvas.setFont(PaintFont(run->TheFont()));
        int a = p;
        while (a < pieceEnd) {
            const bool selected = a >= selB && a < selE;
            int b = pieceEnd;
            if (selected)
                b = std::min(b, selE);
            else if (a < selB)
                b = std::min(b, selB);
            const int width = Extent(a, b);
            const QString text = Win1252ToQString(std::string_view(Buff).substr(a, b - a));
            if (selected) {
                canvas.fillRect(QRect(cx, textTop, width, line.LineHeight), ToQColor(run->TheFont().Color));
                canvas.setPen(ToQColor(Document->Background));
            } else {
                canvas.setPen(ToQColor(run->TheFont().Color));
            }
            canvas.drawText(cx - run->Overhang / 2, textY, text);
            cx += width;
            a = b;
        }
        p = pieceEnd;
    }
}

// 6. Numbers right-aligned 5 pixels left of the text, bullets 8 pixels
// left of it; definition items have none.
void TSection::PaintMarker(QPainter& canvas, const LineRec& line, int x, int yOff)
{
    const int left = x + FirstLineLeft;
    const int top = line.Y + yOff + line.SpaceBefore;
    if (ListKind == ListNumbered) {
        const auto* item = static_cast<const TOListItem*>(this);
        const QString text = Win1252ToQString(ListNumberText(item->NumberType, item->ItemNumber));
        const QFont font = PaintFont(ItemFont);
        canvas.setFont(font);
        canvas.setPen(ToQColor(ItemFont.Color));
        const int width = QFontMetrics(font).horizontalAdvance(text);
        canvas.drawText(left - 5 - width, top + line.LineHeight - line.Descent, text);
    } else if (ListKind == ListBulleted && !static_cast<const TUListItem*>(this)->Plain) {
        const QRect disc(left - 8 - 2, top + line.LineHeight / 2 - 2, 5, 5);
        canvas.save();
        if (IsLightBackground(Document->Background)) {
            const QColor color = ToQColor(BulletColor(ListLevel));
            canvas.setPen(color);
            canvas.setBrush(color);
        } else {
            canvas.setPen(ToQColor(Document->FontColor));
            canvas.setBrush(Qt::NoBrush);
        }
        canvas.drawEllipse(disc.adjusted(0, 0, -1, -1));
        canvas.restore();
    }
}

// 7. A rule: a solid bar with COLOR, otherwise a bevel (black with NOSHADE).
int THorzLine::Paint(QPainter& canvas, const QRect& area, int y, int x)
{
    if (y > area.bottom() || y + SectionHeight < area.top())
        return y + SectionHeight;
    const int top = y + (SectionHeight - Thickness) / 2;
    const QRect bar(x + BarLeft, top, std::max(0, BarRight - BarLeft), Thickness);
    if (HasColor) {
        canvas.fillRect(bar, ToQColor(Color));
        return y + SectionHeight;
    }
    const bool whiteBackground = (ColorToRGB(Document->Background) & 0xFFFFFF) == 0xFFFFFF;
    const QColor shadow = NoShade ? QColor(Qt::black) : ToQColor(clBtnShadow);
    const QColor light = NoShade ? QColor(Qt::black) : whiteBackground ? ToQColor(clSilver) : ToQColor(clBtnHighlight);
    const int l = bar.left(), t = bar.top(), r = bar.left() + bar.width() - 1, b = bar.top() + bar.height() - 1;
    canvas.setPen(shadow);
    canvas.drawLine(l, b, l, t);
    canvas.drawLine(l, t, r, t);
    canvas.setPen(light);
    canvas.drawLine(r, t, r, b);
    canvas.drawLine(r, b, l, b);
    return y + SectionHeight;
}
