// Tables: construction from the tags' attributes, grid normalisation, layout
// (widths, row heights, placement), queries delegated to the cells, and the
// layout dump. Painting is in HtmlTablesPaint.cpp, the width arithmetic in
// HtmlTablesWidths.cpp.

#include "html/HtmlTables.h"

#include "html/HtmlScannerText.h"
#include "platform/Exceptions.h"

#include <QScopedValueRollback>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

namespace {

// A sum of heights that cannot overflow, however tall the cells ask to be.
int AddHeights(int a, int b)
{
    return static_cast<int>(std::clamp<int64_t>(int64_t { a } + b, INT_MIN / 2, INT_MAX / 2));
}

bool SameWord(std::string_view text, std::string_view word)
{
    return text.size() == word.size() && std::equal(text.begin(), text.end(), word.begin(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == b;
    });
}

// WIDTH: pixels above 0, or 1 to 100 percent kept in tenths.
void ReadWidth(const TAttributeList& attributes, int& width, bool& percent)
{
    const TAttribute* a = attributes.FindAttribute(WidthSy);
    if (!a)
        return;
    if (a->Text.find('%') != std::string::npos) {
        if (a->Number >= 1 && a->Number <= 100) {
            width = a->Number * 10;
            percent = true;
        }
    } else if (a->Number > 0) {
        // Far wider than any screen, and small enough that 30 columns of it
        // and their spacing add up within an int.
        width = std::min(a->Number, ThtmlTable::MaxPixelWidth);
    }
}

bool ReadColor(const TAttributeList& attributes, TAttrSymbol symbol, TColor& color)
{
    const TAttribute* a = attributes.FindAttribute(symbol);
    return a && ColorFromString(a->Text, color);
}

int SpanOf(const TAttributeList& attributes, TAttrSymbol symbol)
{
    const TAttribute* a = attributes.FindAttribute(symbol);
    return a && a->Number > 1 ? a->Number : 1;
}

// A cap, with a default when absent and negative values counting as 0.
int CappedNumber(const TAttributeList& attributes, TAttrSymbol symbol, int fallback, int cap)
{
    const TAttribute* a = attributes.FindAttribute(symbol);
    return a ? std::clamp(a->Number, 0, cap) : fallback;
}

constexpr char TooManyColumns[] = "Table has too many Columns";

} // namespace

// ---------------------------------------------------------------------------
// Cells and rows.

TCellObj::TCellObj(TSectionList* document, const TAttributeList& attributes, int vAlign)
    : VAlign(vAlign)
    , Cell(document)
    , Owner(this)
{
    ColSpan = SpanOf(attributes, ColSpanSy);
    RowSpan = SpanOf(attributes, RowSpanSy);
    ReadWidth(attributes, Wd, AsPercent);
    if (const TAttribute* a = attributes.FindAttribute(HeightSy); a && a->Number > 0)
        SpecHt = std::min(a->Number, ThtmlTable::MaxPixelWidth);
    Cell.BkGnd = ReadColor(attributes, BGColorSy, Cell.BkColor);
}

TCellObj::TCellObj(TSectionList* document, TCellObj* owner)
    : ColSpan(0)
    , Cell(document)
    , Owner(owner)
{
}

void TCellObj::ContentRange(int& minimum, int& maximum)
{
    const unsigned stamp = Cell.Document->LayoutStamp;
    if (Measured.Stamp != stamp) {
        Cell.WidthRange(Measured.Min, Measured.Max);
        Measured.Stamp = stamp;
    }
    minimum = Measured.Min;
    maximum = Measured.Max;
}

bool TCellObj::LaidOutWith(int width, int charIndex) const
{
    return LaidOut.Stamp == Cell.Document->LayoutStamp && LaidOut.Width == width && LaidOut.Index == charIndex;
}

int TCellObj::HeightAt(int y, int width, int& charIndex)
{
    if (LaidOutWith(width, charIndex)) {
        charIndex += LaidOut.Chars;
        return LaidOut.Height;
    }
    // Restored on the way out, an error of the content's layout included.
    const QScopedValueRollback<bool> measuring(Cell.Document->MeasuringHeights, true);
    return Lay(y, width, charIndex);
}

int TCellObj::LayoutAt(int y, int width, int& charIndex)
{
    if (LaidOutWith(width, charIndex) && LaidOut.Y == y && LaidOut.Placed) {
        charIndex += LaidOut.Chars;
        return LaidOut.Height;
    }
    return Lay(y, width, charIndex);
}

int TCellObj::Lay(int y, int width, int& charIndex)
{
    TSectionList& document = *Cell.Document;
    const unsigned stamp = document.LayoutStamp;
    const int layouts = LaidOut.Stamp == stamp ? LaidOut.Layouts + 1 : 1;
    const unsigned unplaced = document.UnplacedTables;
    const int start = charIndex;
    int widest = 0;
    const int height = Cell.ComputeLayout(y, charIndex, widest, width);
    LaidOut = { stamp, width, y, start, charIndex - start, height, document.UnplacedTables == unplaced, layouts };
    return height;
}

TCellList::TCellList(const TAttributeList& attributes) { BkGnd = ReadColor(attributes, BGColorSy, BkColor); }

// ---------------------------------------------------------------------------
// The table.

ThtmlTable::ThtmlTable(
    TSectionList* document, int level, TCell* enclosingCell, int justification, const TAttributeList& attributes)
    : TSectionBase(document)
    , Caption(document, &Caption)
    , Align(justification)
    , ListLevel(level)
    , FEnclosingCell(enclosingCell)
{
    Caption.ColSpan = 1;
    if (const TAttribute* a = attributes.FindAttribute(AlignSy)) {
        if (SameWord(a->Text, "LEFT")) {
            Align = JustLeft;
            Float = true;
        } else if (SameWord(a->Text, "CENTER")) {
            Align = JustCenter;
        } else if (SameWord(a->Text, "RIGHT")) {
            Align = JustRight;
            Float = true;
        }
    }
    if (const TAttribute* a = attributes.FindAttribute(BorderSy))
        Border = a->Number > 0;
    CellPadding = CappedNumber(attributes, CellPaddingSy, 1, MaxPadding);
    CellSpacing = CappedNumber(attributes, CellSpacingSy, 2, MaxSpacing) + (Border ? 2 : 0);
    ReadWidth(attributes, Width, AsPercent);
    BkGnd = ReadColor(attributes, BGColorSy, BkColor);
    BdrOn = ReadColor(attributes, BorderColorSy, BdrColor);
    if (const TAttribute* a = attributes.FindAttribute(HSpaceSy))
        HSpace = static_cast<int>(std::min<int64_t>(std::llabs(int64_t { a->Number }), MaxHSpace));
}

ThtmlTable::~ThtmlTable() noexcept(false) = default;

void ThtmlTable::AddRow(std::unique_ptr<TCellList> row)
{
    if (row)
        Rows.Add(row.release());
}

// 1. and 2. Backgrounds come down from the enclosing cell to the table, and
// from the row or else the table to each cell that has none.
void ThtmlTable::InheritBackgrounds()
{
    if (!BkGnd && FEnclosingCell && FEnclosingCell->BkGnd) {
        BkColor = FEnclosingCell->BkColor;
        BkGnd = true;
    }
    for (TObject* item : Rows) {
        auto* row = static_cast<TCellList*>(item);
        for (TObject* c : *row) {
            TCell& cell = static_cast<TCellObj*>(c)->Cell;
            if (!cell.BkGnd && row->BkGnd) {
                cell.BkColor = row->BkColor;
                cell.BkGnd = true;
            }
            if (!cell.BkGnd && BkGnd) {
                cell.BkColor = BkColor;
                cell.BkGnd = true;
            }
        }
    }
}

// Spans become fillers so that every row has a slot for every column. The
// whole grid is planned as slots first, with the column count checked as it
// grows, so a huge span never makes a single filler.
void ThtmlTable::Normalize()
{
    if (Normalized)
        return;
    Normalized = true;
    InheritBackgrounds();
    struct TSlot {
        TCellObj* Cell; // null for a filler
        TCellObj* Owner; // the cell a filler stands for (null: padding)
        int RowSpan;
    };
    const int rowCount = RowCount();
    std::vector<std::vector<TSlot>> grid(static_cast<size_t>(rowCount));
    int columns = 0;
    for (int i = 0; i < rowCount; ++i) {
        int64_t length = 0;
        for (TObject* item : *Row(i))
            length += static_cast<TCellObj*>(item)->ColSpan;
        if (length > MaxCols) {
            FTooManyColumns = true;
            return;
        }
        for (TObject* item : *Row(i)) {
            auto* cell = static_cast<TCellObj*>(item);
            if (cell->Wd > 0 && !cell->AsPercent)
                HasPixelWidths = true;
            grid[i].push_back({ cell, cell, cell->RowSpan });
            for (int k = 1; k < cell->ColSpan; ++k)
                grid[i].push_back({ nullptr, cell, cell->RowSpan });
        }
        columns = std::max(columns, static_cast<int>(length));
    }
    // 3. Row spans, column by column, capped to the rows that remain.
    for (int c = 0; c < columns; ++c)
        for (int i = 0; i < rowCount; ++i) {
            if (c >= static_cast<int>(grid[i].size()))
                continue;
            TSlot& slot = grid[i][c];
            const int span = std::min(slot.RowSpan, rowCount - i);
            if (slot.Cell)
                slot.Cell->RowSpan = span;
            for (int k = 1; k < span; ++k) {
                std::vector<TSlot>& below = grid[i + k];
                while (static_cast<int>(below.size()) < c)
                    below.push_back({ nullptr, nullptr, 1 });
                if (below.size() >= MaxCols) {
                    FTooManyColumns = true;
                    return;
                }
                below.insert(below.begin() + c, { nullptr, slot.Owner, 1 });
                columns = std::max(columns, static_cast<int>(below.size()));
            }
        }
    NumCols = columns;
    for (int i = 0; i < rowCount; ++i) {
        TCellList* row = Row(i);
        std::vector<TCellObj*> cells;
        while (row->Count() > 0)
            cells.push_back(static_cast<TCellObj*>(row->Extract(0)));
        grid[i].resize(static_cast<size_t>(columns), { nullptr, nullptr, 1 });
        for (const TSlot& slot : grid[i])
            row->Add(slot.Cell ? slot.Cell : new TCellObj(Document, slot.Owner));
    }
}

// ---------------------------------------------------------------------------
// Layout.

void ThtmlTable::WidthRange(int& minimum, int& maximum)
{
    Normalize();
    minimum = maximum = 0;
    if (FTooManyColumns)
        return;
    if (FRange.Stamp != Document->LayoutStamp) {
        const std::vector<TSpanCell> cells = MeasureCells();
        const int relativeTo = Width > 0 && !AsPercent ? Width : 0;
        const std::vector<TColumnRange> ranges = ColumnRanges(cells, UsesPercentRanges(), relativeTo);
        FRange.Min = FRange.Max = CellSpacing;
        for (const TColumnRange& r : ranges) {
            FRange.Min = AddHeights(FRange.Min, r.Min);
            FRange.Max = AddHeights(FRange.Max, r.Max);
        }
        if (Width > 0 && !AsPercent) {
            FRange.Min = std::max(FRange.Min, Width);
            FRange.Max = std::max(FRange.Max, Width);
        }
        int captionMin = 0, captionMax = 0;
        Caption.ContentRange(captionMin, captionMax);
        FRange.Min = std::max(FRange.Min, captionMin);
        FRange.Max = std::max(FRange.Max, captionMin);
        FRange.Stamp = Document->LayoutStamp;
    }
    minimum = FRange.Min;
    maximum = FRange.Max;
}

int ThtmlTable::CellContentWidth(const TCellObj& cell, int column) const
{
    int width = 0;
    for (int c = column; c < column + cell.ColSpan && c < NumCols; ++c)
        width += Widths[c];
    return std::max(0, width - CellSpacing - 2 * CellPadding);
}

int ThtmlTable::ContentLeft(const TCellObj& cell) const
{
    return TableIndent + GridIndent + cell.Box.left() + CellPadding;
}

int ThtmlTable::ComputeLayout(int y, int& charIndex, int& widest, IndentManager& indents)
{
    YPosition = y;
    StartIndex = charIndex;
    indents.SetListLevel(y, ListLevel);
    Normalize();
    if (FTooManyColumns)
        throw EProcessError(TooManyColumns);
    const int left = indents.LeftBoundAt(y);
    const int available = indents.RightBoundAt(y) - left;
    ComputeWidths(available);

    // Placement: the caption may widen the table; the grid is centred in it.
    int captionMin = 0, captionMax = 0;
    Caption.ContentRange(captionMin, captionMax);
    TableWidth = std::max(GridWidth, captionMin);
    TableIndent = left;
    if (TableWidth < available) {
        if (Align == JustCenter)
            TableIndent += (available - TableWidth) / 2;
        else if (Align == JustRight)
            TableIndent += available - TableWidth;
    }
    GridIndent = (TableWidth - GridWidth) / 2;

    CaptionHeight = TopCaption ? Caption.LayoutAt(y, TableWidth, charIndex) : 0;
    const int afterGrid = RowHeights(charIndex);
    if (Document->MeasuringHeights) {
        charIndex = afterGrid;
        ++Document->UnplacedTables;
    } else {
        LayoutRows(charIndex);
    }
    const int gridHeight = GridHeight();
    if (!TopCaption)
        CaptionHeight = Caption.LayoutAt(AddHeights(GridTop(), gridHeight), TableWidth, charIndex);
    const int height = AddHeights(CaptionHeight, gridHeight);
    CharCount = charIndex - StartIndex;
    widest = TableIndent + TableWidth;
    if (Float) {
        // Text flows beside it: it adds nothing to the flow itself.
        indents.AddFloat(y, TableWidth + HSpace + 1,
            static_cast<int>(Align == JustLeft ? TFloatSide::Left : TFloatSide::Right), height);
        SectionHeight = 0;
        DrawHeight = height;
    } else {
        SectionHeight = DrawHeight = height;
    }
    return SectionHeight;
}

int ThtmlTable::GridHeight() const
{
    int height = CellSpacing;
    for (TObject* item : Rows)
        height = AddHeights(height, static_cast<TCellList*>(item)->RowHeight);
    return height;
}

// Row heights: every cell's content height at its width (laid out where a
// top-aligned cell would stand, in reading order, so that the final pass
// often finds it already in place), then passes by row span. A cell already
// laid out at its width keeps its height without a new layout, and tables
// inside a cell being measured stop at their height: otherwise a table laid
// out again at another place would lay out each cell again, and every
// measure of a cell would place the whole nesting below it once more.
int ThtmlTable::RowHeights(int charIndex)
{
    const int rowCount = RowCount();
    const int pad = 2 * CellPadding;
    int top = GridTop() + CellSpacing;
    int largestSpan = 1;
    for (int i = 0; i < rowCount; ++i) {
        TCellList* row = Row(i);
        row->RowHeight = 0;
        for (int c = 0; c < row->Count(); ++c) {
            TCellObj* cell = row->Cell(c);
            if (cell->IsFiller())
                continue;
            cell->Ht = cell->HeightAt(top + CellPadding, CellContentWidth(*cell, c), charIndex);
            largestSpan = std::max(largestSpan, cell->RowSpan);
            if (cell->RowSpan == 1) {
                const int need = AddHeights(std::max(cell->Ht, cell->SpecHt - pad), pad + CellSpacing);
                row->RowHeight = std::max(row->RowHeight, need);
            }
        }
        top = AddHeights(top, row->RowHeight);
    }
    for (int span = 2; span <= largestSpan; ++span)
        for (int i = 0; i < rowCount; ++i)
            for (TObject* item : *Row(i)) {
                auto* cell = static_cast<TCellObj*>(item);
                if (cell->IsFiller() || cell->RowSpan != span)
                    continue;
                const int need = AddHeights(std::max(cell->Ht, cell->SpecHt - pad), pad + CellSpacing);
                int spanned = 0;
                for (int k = i; k < i + span; ++k)
                    spanned = AddHeights(spanned, Row(k)->RowHeight);
                if (spanned >= need)
                    continue;
                const int share = (need - spanned) / span;
                for (int k = i; k < i + span; ++k)
                    Row(k)->RowHeight += share;
                Row(i + span - 1)->RowHeight += need - spanned - share * span;
            }
    FRowTops.assign(static_cast<size_t>(rowCount), 0);
    for (int i = 1; i < rowCount; ++i)
        FRowTops[i] = AddHeights(FRowTops[i - 1], Row(i - 1)->RowHeight);
    return charIndex;
}

// Each cell at its final place, aligned vertically in the rows it spans.
void ThtmlTable::LayoutRows(int& charIndex)
{
    std::array<int, MaxCols + 1> lefts {};
    for (int c = 1; c <= NumCols; ++c)
        lefts[c] = lefts[c - 1] + Widths[c - 1];
    const int gridTop = GridTop();
    for (int i = 0; i < RowCount(); ++i) {
        TCellList* row = Row(i);
        for (int c = 0; c < row->Count(); ++c) {
            TCellObj* cell = row->Cell(c);
            if (cell->IsFiller())
                continue;
            int spanned = 0;
            for (int k = i; k < i + cell->RowSpan; ++k)
                spanned = AddHeights(spanned, Row(k)->RowHeight);
            cell->SpannedHt = spanned - CellSpacing;
            const int free = std::max(0, cell->SpannedHt - 2 * CellPadding - cell->Ht);
            cell->YIndent = cell->VAlign == 0 ? 0 : cell->VAlign == 1 ? free / 2 : free;
            const int right = lefts[std::min(NumCols, c + cell->ColSpan)];
            cell->Box = QRect(
                lefts[c] + CellSpacing, FRowTops[i] + CellSpacing, right - lefts[c] - CellSpacing, cell->SpannedHt);
            cell->LayoutAt(AddHeights(gridTop, cell->Box.top() + CellPadding + cell->YIndent),
                CellContentWidth(*cell, c), charIndex);
        }
    }
}

// ---------------------------------------------------------------------------
// Queries, delegated to the cell concerned.

template <class F> void ThtmlTable::ForEachCellInOrder(F&& f) const
{
    auto& caption = const_cast<TCellObj&>(Caption);
    if (TopCaption)
        f(caption, TableIndent);
    for (TObject* item : Rows)
        for (TObject* c : *static_cast<TCellList*>(item)) {
            auto* cell = static_cast<TCellObj*>(c);
            if (!cell->IsFiller())
                f(*cell, ContentLeft(*cell));
        }
    if (!TopCaption)
        f(caption, TableIndent);
}

TCellObj* ThtmlTable::CellAt(int x, int y, int& contentLeft) const
{
    const int gridTop = GridTop();
    const int gridHeight = GridHeight();
    const int captionTop = TopCaption ? YPosition : gridTop + gridHeight;
    if (y >= captionTop && y < captionTop + CaptionHeight) {
        if (x < TableIndent || x >= TableIndent + TableWidth)
            return nullptr;
        contentLeft = TableIndent;
        return const_cast<TCellObj*>(&Caption);
    }
    const int gx = x - TableIndent - GridIndent;
    const int gy = y - gridTop;
    // Nothing answers before the first layout.
    if (gx < 0 || gx >= GridWidth || gy < 0 || gy >= gridHeight || RowCount() == 0 || NumCols == 0
        || static_cast<int>(FRowTops.size()) != RowCount())
        return nullptr;
    int row = 0;
    while (row + 1 < RowCount() && FRowTops[row + 1] <= gy)
        ++row;
    int column = 0;
    for (int edge = Widths[0]; column + 1 < NumCols && edge <= gx; edge += Widths[column])
        ++column;
    TCellList* cells = Row(row);
    if (column >= cells->Count())
        return nullptr;
    TCellObj* cell = cells->Cell(column)->Owner;
    if (cell)
        contentLeft = ContentLeft(*cell);
    return cell;
}

bool ThtmlTable::LinkAt(int x, int y, TObject*& formControl, std::unique_ptr<TUrlTarget>& link)
{
    int left = 0;
    TCellObj* cell = CellAt(x, y, left);
    return cell && cell->Cell.LinkAt(x - left, y, formControl, link);
}

TImageObj* ThtmlTable::ImageAt(int x, int y, int& imageX, int& imageY)
{
    int left = 0;
    TCellObj* cell = CellAt(x, y, left);
    return cell ? cell->Cell.ImageAt(x - left, y, imageX, imageY) : nullptr;
}

int ThtmlTable::CharIndexAt(int x, int y, TCharHit& hit)
{
    int left = 0;
    TCellObj* cell = CellAt(x, y, left);
    if (!cell)
        return -1;
    const int index = cell->Cell.CharIndexAt(x - left, y, hit);
    if (index >= 0)
        hit.CaretX += left;
    return index;
}

// The cell holding the character at `index`; failing that, the cell it
// ends (an index just past the last character of a cell).
TCell* ThtmlTable::CellWithIndex(int index, int& contentLeft) const
{
    TCell* found = nullptr;
    for (const int past : { 0, 1 })
        ForEachCellInOrder([&](TCellObj& cell, int left) {
            const TCell& c = cell.Cell;
            if (!found && c.CellCharCount > 0 && index >= c.StartCurs && index < c.StartCurs + c.CellCharCount + past) {
                found = &cell.Cell;
                contentLeft = left;
            }
        });
    return found;
}

bool ThtmlTable::CharIndexToXY(int index, int& x, int& y)
{
    int left = 0;
    TCell* cell = CellWithIndex(index, left);
    if (!cell || !cell->CharIndexToXY(index, x, y))
        return false;
    x += left;
    return true;
}

bool ThtmlTable::CharAtIndex(int index, char& ch, TSectionBase*& owner)
{
    bool found = false;
    ForEachCellInOrder([&](TCellObj& cell, int) {
        const TCell& c = cell.Cell;
        if (!found && index >= c.StartCurs && index < c.StartCurs + c.CellCharCount)
            found = cell.Cell.CharAtIndex(index, ch, owner);
    });
    return found;
}

int ThtmlTable::FindText(int from, std::string_view text, bool matchCase)
{
    int found = -1;
    ForEachCellInOrder([&](TCellObj& cell, int) {
        if (found < 0 && cell.Cell.StartCurs + cell.Cell.CellCharCount > from)
            found = cell.Cell.FindText(from, text, matchCase);
    });
    return found;
}

void ThtmlTable::CopySelection(std::string& sink)
{
    ForEachCellInOrder([&](TCellObj& cell, int) { cell.Cell.CopySelection(sink); });
}

void ThtmlTable::RefreshFonts()
{
    ForEachCellInOrder([](TCellObj& cell, int) {
        cell.Cell.RefreshFonts();
        cell.Measured.Stamp = 0;
        cell.LaidOut.Stamp = 0;
    });
    FRange.Stamp = 0;
}

// ---------------------------------------------------------------------------
// The layout dump: the table, its columns, then each row and cell with the
// sections inside.

void ThtmlTable::DumpLayout(std::string& out, int indent) const
{
    const std::string pad(static_cast<size_t>(indent) * 2, ' ');
    TSectionBase::DumpLayout(out, indent);
    out.pop_back();
    out += " x=" + std::to_string(TableIndent) + " w=" + std::to_string(TableWidth)
        + " grid=" + std::to_string(GridIndent) + "+" + std::to_string(GridWidth) + " cols=";
    for (int c = 0; c < NumCols; ++c)
        out += (c ? "," : "") + std::to_string(Widths[c]);
    out += "\n";
    auto dumpCaption = [&] {
        if (Caption.Cell.Count() == 0)
            return;
        out += pad;
        out += "  caption y=" + std::to_string(Caption.Cell.StartY) + " h=" + std::to_string(CaptionHeight) + "\n";
        Caption.Cell.DumpLayout(out, indent + 2);
    };
    if (TopCaption)
        dumpCaption();
    for (int i = 0; i < RowCount(); ++i) {
        const TCellList* row = Row(i);
        const int top = i < static_cast<int>(FRowTops.size()) ? FRowTops[i] : 0;
        out += pad;
        out += "  row y=" + std::to_string(GridTop() + top) + " h=" + std::to_string(row->RowHeight) + "\n";
        for (const TObject* item : *row) {
            const auto* cell = static_cast<const TCellObj*>(item);
            if (cell->IsFiller())
                continue;
            out += pad;
            out += "    cell x=" + std::to_string(ContentLeft(*cell)) + " y=" + std::to_string(cell->Cell.StartY)
                + " w=" + std::to_string(cell->Box.width()) + " h=" + std::to_string(cell->Box.height())
                + " span=" + std::to_string(cell->ColSpan) + "x" + std::to_string(cell->RowSpan) + "\n";
            cell->Cell.DumpLayout(out, indent + 3);
        }
    }
    if (!TopCaption)
        dumpCaption();
}
