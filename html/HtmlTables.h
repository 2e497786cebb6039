#pragma once
// Tables: rows of cells turned into a grid. Column and row spans are
// expanded into a rectangular array of cells and fillers, the columns get
// minimum and maximum widths from their cells' content, the available width
// is distributed over them (pixel and percentage widths honoured), the rows
// get their heights (row spans and HEIGHT honoured), and the table is placed
// in its column: left, centred, right, or floating with text beside it.
//
// Geometry. Every column width and row height includes one cell spacing, so
// the grid is spacing + the sum of the column widths wide. A cell's
// rectangle starts one spacing into its first column and ends where its last
// column ends; its content is inset by the padding. Cells lay their content
// out in document y and in x relative to their own content's left edge.

#include "html/HtmlSections.h"
#include "html/HtmlTablesWidths.h"

#include <array>
#include <memory>
#include <vector>

// One cell as written in the page, or a filler that span expansion puts in
// the slots a spanning cell covers (column span 0).
class TCellObj : public TObject {
public:
    TCellObj(TSectionList* document, const TAttributeList& attributes, int vAlign);
    // A filler standing for `owner` (null for the padding of a short row).
    TCellObj(TSectionList* document, TCellObj* owner);

    bool IsFiller() const { return ColSpan == 0; }

    int ColSpan = 1;
    int RowSpan = 1;
    int Wd = 0; // WIDTH: pixels, or tenths of a percent with AsPercent
    bool AsPercent = false;
    int SpecHt = 0; // HEIGHT in pixels
    int VAlign = 1; // 0 top, 1 middle, 2 bottom
    TCell Cell;
    TCellObj* Owner; // the cell a filler stands for; a cell itself

    // From the last layout.
    int Ht = 0; // content height
    int SpannedHt = 0; // the rows it spans, less one spacing
    int YIndent = 0; // vertical offset of the content
    QRect Box; // its rectangle, relative to the grid's top-left

    // Layout caches, valid for one document layout (TSectionList::LayoutStamp).
    struct TMeasure {
        unsigned Stamp = 0;
        int Min = 0;
        int Max = 0;
    } Measured;
    struct TLaidOut {
        unsigned Stamp = 0;
        int Width = -1;
        int Y = 0;
        int Index = 0;
        int Chars = 0;
        int Height = 0;
        // False when a table inside stopped at its height (see HeightAt):
        // the content must be laid out again before it can be painted.
        bool Placed = false;
        int Layouts = 0; // layouts of the content in this document layout
    } LaidOut;

    // The content's width range, measured once per document layout.
    void ContentRange(int& minimum, int& maximum);
    // Lays the content out at (y, width), unless it already lies there;
    // returns its height.
    int LayoutAt(int y, int width, int& charIndex);
    // The content's height at this width, from the last layout when it had
    // the same width and first character (the height does not depend on
    // where the cell stands); laid out at y otherwise, with the tables
    // inside it stopping once their height is known: their cells are placed
    // only when this cell is laid out at its final place.
    int HeightAt(int y, int width, int& charIndex);

private:
    bool LaidOutWith(int width, int charIndex) const;
    int Lay(int y, int width, int& charIndex);
};

// One row: its cells in order.
class TCellList : public TFreeList {
public:
    explicit TCellList(const TAttributeList& attributes);
    TCellList() = default;

    TCellObj* Cell(int index) const { return ItemAs<TCellObj>(index); }

    TColor BkColor = clNone;
    bool BkGnd = false;
    int RowHeight = 0;
};

class ThtmlTable : public TSectionBase {
public:
    // At most this many columns; more raises "Table has too many Columns".
    static constexpr int MaxCols = 30;
    static constexpr int MaxPadding = 50;
    static constexpr int MaxSpacing = 40;
    static constexpr int MaxHSpace = 20;
    static constexpr int MaxPixelWidth = 100000; // WIDTH and HEIGHT in pixels

    ThtmlTable(
        TSectionList* document, int level, TCell* enclosingCell, int justification, const TAttributeList& attributes);
    ~ThtmlTable() noexcept(false) override;

    // Rows are appended by the parser.
    void AddRow(std::unique_ptr<TCellList> row);

    void CopySelection(std::string& sink) override;
    int ComputeLayout(int y, int& charIndex, int& widest, IndentManager& indents) override;
    int Paint(QPainter& canvas, const QRect& area, int y, int x) override;
    bool LinkAt(int x, int y, TObject*& formControl, std::unique_ptr<TUrlTarget>& link) override;
    TImageObj* ImageAt(int x, int y, int& imageX, int& imageY) override;
    int CharIndexAt(int x, int y, TCharHit& hit) override;
    int FindText(int from, std::string_view text, bool matchCase) override;
    bool CharIndexToXY(int index, int& x, int& y) override;
    bool CharAtIndex(int index, char& ch, TSectionBase*& owner) override;
    void RefreshFonts() override;
    void WidthRange(int& minimum, int& maximum) override;
    std::string KindName() const override { return "ThtmlTable"; }
    void DumpLayout(std::string& out, int indent) const override;

    TCellList* Row(int index) const { return Rows.ItemAs<TCellList>(index); }
    int RowCount() const { return Rows.Count(); }

    TFreeList Rows;
    TCellObj Caption;
    bool TopCaption = true;
    int Align; // 1 left, 2 centre, 3 right
    bool Float = false; // ALIGN LEFT or RIGHT: text flows beside it
    bool Border = false;
    int CellPadding = 1;
    int CellSpacing = 2;
    int Width = 0; // WIDTH: pixels, or tenths of a percent with AsPercent
    bool AsPercent = false;
    TColor BkColor = clNone;
    bool BkGnd = false;
    TColor BdrColor = clNone;
    bool BdrOn = false;
    int HSpace = 5;
    int ListLevel;

    // Computed.
    int NumCols = 0;
    std::array<int, MaxCols + 1> Widths {};
    std::array<int, MaxCols + 1> Percents {}; // tenths
    int GridWidth = 0;
    int TableWidth = 0;
    int TableIndent = 0; // x of the table in its column
    int GridIndent = 0; // x of the grid inside the table
    int CaptionHeight = 0;
    bool HasPixelWidths = false;
    bool Normalized = false;
    int DrawX = 0; // painted position of the table
    int DrawY = 0;

private:
    // HtmlTables.cpp
    void Normalize();
    void InheritBackgrounds();
    // Content heights and row heights; charIndex is where the cells' text
    // will be numbered from. Returns the index after the last cell.
    int RowHeights(int charIndex);
    void LayoutRows(int& charIndex);
    int GridHeight() const;
    int CellContentWidth(const TCellObj& cell, int column) const;
    int GridTop() const { return YPosition + (TopCaption ? CaptionHeight : 0); }
    // The cell under (x, y), x relative to the enclosing cell; its content's
    // left edge in the same coordinates.
    TCellObj* CellAt(int x, int y, int& contentLeft) const;
    TCell* CellWithIndex(int index, int& contentLeft) const;
    int ContentLeft(const TCellObj& cell) const;
    // Caption on top, every cell row by row, caption at the bottom.
    template <class F> void ForEachCellInOrder(F&& f) const;

    // HtmlTablesWidths.cpp
    // The cells' content ranges plus padding, in grid order.
    std::vector<TSpanCell> MeasureCells();
    // Percentages of pixel WIDTHs are taken relative to `relativeTo` (0:
    // they carry none).
    std::vector<TColumnRange> ColumnRanges(
        const std::vector<TSpanCell>& cells, bool percentAware, int relativeTo) const;
    bool UsesPercentRanges() const { return !HasPixelWidths || Width > 0; }
    void ComputeWidths(int available);

    // HtmlTablesPaint.cpp
    void PaintGrid(QPainter& canvas, const QRect& area, int gridX, int gridY);

    TCell* FEnclosingCell;
    bool FTooManyColumns = false;
    std::vector<int> FRowTops; // relative to the grid's top, each with its spacing
    struct TRangeCache {
        unsigned Stamp = 0;
        int Min = 0;
        int Max = 0;
    } FRange;
};
