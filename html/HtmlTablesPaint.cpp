// Painting of tables: caption, border colour between the cells, cell
// backgrounds and content, sunken cell bevels and the raised table bevel.

#include "html/HtmlTables.h"

#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

// A cell box moved to the grid's place; a table whose saturated heights
// reach the end of the int range keeps its boxes inside it.
QRect SafelyTranslated(const QRect& box, int dx, int dy)
{
    const auto clamp = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN / 2, INT_MAX / 2)); };
    return QRect(QPoint(clamp(int64_t { box.left() } + dx), clamp(int64_t { box.top() } + dy)),
                 QPoint(clamp(int64_t { box.right() } + dx), clamp(int64_t { box.bottom() } + dy)));
}

} // namespace

int ThtmlTable::Paint(QPainter& canvas, const QRect& area, int y, int x)
{
    const int height = std::max(DrawHeight, SectionHeight);
    if (y > area.bottom() || y + height < area.top())
        return y + SectionHeight;
    const int yOff = y - YPosition;
    DrawX = x + TableIndent;
    DrawY = y;
    auto paintCaption = [&] { Caption.Cell.Paint(canvas, area, Caption.Cell.StartY + yOff, DrawX, TableWidth); };
    if (TopCaption)
        paintCaption();
    PaintGrid(canvas, area, DrawX + GridIndent, GridTop() + yOff);
    if (!TopCaption)
        paintCaption();
    return y + SectionHeight;
}

void ThtmlTable::PaintGrid(QPainter& canvas, const QRect& area, int gridX, int gridY)
{
    const int gridHeight = GridHeight();
    const QRect grid(gridX, gridY, GridWidth, gridHeight);
    // With BORDERCOLOR what is left between the cells (one pixel more round
    // each with BORDER, for its bevel) takes the border colour.
    const int bevelMargin = Border ? 1 : 0;
    if (BdrOn) {
        QRegion spacing(grid);
        for (TObject* item : Rows)
            for (TObject* c : *static_cast<TCellList*>(item)) {
                const auto* cell = static_cast<TCellObj*>(c);
                if (!cell->IsFiller())
                    spacing -= cell->Box.translated(gridX, gridY)
                                   .adjusted(-bevelMargin, -bevelMargin, bevelMargin, bevelMargin);
            }
        const QColor color = ToQColor(BdrColor);
        for (const QRect& part : spacing)
            canvas.fillRect(part, color);
    }
    const int yOff = gridY - GridTop();
    for (TObject* item : Rows)
        for (TObject* c : *static_cast<TCellList*>(item)) {
            auto* cell = static_cast<TCellObj*>(c);
            if (cell->IsFiller())
                continue;
            const QRect box = SafelyTranslated(cell->Box, gridX, gridY);
            if (box.top() - bevelMargin > area.bottom() || box.bottom() + bevelMargin < area.top())
                continue;
            if (cell->Cell.BkGnd)
                canvas.fillRect(box, ToQColor(cell->Cell.BkColor));
            cell->Cell.Paint(canvas, area, cell->Cell.StartY + yOff, box.left() + CellPadding,
                std::max(0, box.width() - 2 * CellPadding));
            if (Border)
                DrawBevel(Document->Background, canvas, box.left() - 1, box.top() - 1, box.right() + 1,
                    box.bottom() + 1, TBevel::Sunken);
        }
    if (Border && GridWidth > 0 && gridHeight > 0)
        DrawBevel(Document->Background, canvas, grid.left(), grid.top(), grid.right(), grid.bottom(), TBevel::Raised);
}
