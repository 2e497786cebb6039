#pragma once
// Column widths of a table grid: the minimum and maximum width of every
// column from the cells' content (two variants: plain, and one that also
// carries percentages), and the distribution of a width over the columns.
// Plain arithmetic on small arrays, free of drawing and of the section model.

#include <vector>

// One cell as the width computation sees it. Min and Max are its content's
// range plus the padding and spacing that every column width includes.
struct TSpanCell {
    int Col = 0;
    int Span = 1;
    int Min = 0;
    int Max = 0;
    int PixelWidth = 0; // WIDTH in pixels, 0 when none
    int Percent = 0; // WIDTH in tenths of a percent, 0 when none
    int Pad = 0; // added to a pixel WIDTH
};

struct TColumnRange {
    int Min = 0;
    int Max = 0;
    int Percent = 0; // tenths, 0 when the column has none
};

// Ranges where a pixel WIDTH raises a single column's minimum and maximum.
std::vector<TColumnRange> PlainColumnRanges(const std::vector<TSpanCell>& cells, int numCols);

// Ranges with percentages. A pixel WIDTH w counts as 1000 * w / relativeTo
// tenths (at most 1000), or as nothing when relativeTo is 0; it does not
// change the minimum or maximum.
std::vector<TColumnRange> PercentColumnRanges(const std::vector<TSpanCell>& cells, int numCols, int relativeTo);

// Minimums when they reach `width`; otherwise each column gets its minimum
// plus a share of the rest in proportion to (max - min), or its maximum when
// all maximums fit.
std::vector<int> ProportionalWidths(const std::vector<TColumnRange>& ranges, int width);

// The widths of the percentage-aware ranges for `width`: with a table WIDTH
// the columns fill it, honouring their percentages; without one, columns
// with percentages make the table as wide as those ask for, within `width`.
std::vector<int> PercentWidths(std::vector<TColumnRange> ranges, int width, bool tableHasWidth);
