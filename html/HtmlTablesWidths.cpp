// Column ranges and width distribution. Every scaling truncates toward
// zero; what truncation leaves over goes to a named column so that widths
// add up exactly.

#include "html/HtmlTablesWidths.h"

#include "html/HtmlTables.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <numeric>

namespace {

// a * b / c in 64 bits, truncated, saturated to int; 0 when c is 0.
int Scaled(int64_t a, int64_t b, int64_t c)
{
    if (c == 0)
        return 0;
    const int64_t value = a * b / c;
    return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

int SumOf(const std::vector<int>& values)
{
    int64_t sum = 0;
    for (int v : values)
        sum += v;
    return static_cast<int>(std::clamp<int64_t>(sum, INT_MIN, INT_MAX));
}

template <class Field> int SumOver(const std::vector<TColumnRange>& ranges, int first, int count, Field field)
{
    int64_t sum = 0;
    for (int c = first; c < first + count; ++c)
        sum += ranges[c].*field;
    return static_cast<int>(std::clamp<int64_t>(sum, INT_MIN, INT_MAX));
}

// Gives `excess` to the chosen columns in proportion to `weights` (equal
// shares when they sum to 0); the last chosen column takes the remainder.
void ShareOut(std::vector<TColumnRange>& ranges, const std::vector<int>& chosen, const std::vector<int>& weights,
    int excess, int TColumnRange::*field)
{
    if (chosen.empty() || excess <= 0)
        return;
    const int64_t total = std::accumulate(weights.begin(), weights.end(), int64_t { 0 });
    int given = 0;
    for (size_t i = 0; i < chosen.size(); ++i) {
        const int share = total > 0 ? Scaled(excess, weights[i], total) : excess / static_cast<int>(chosen.size());
        ranges[chosen[i]].*field += share;
        given += share;
    }
    ranges[chosen.back()].*field += excess - given;
}

// Raises the spanned columns' `field` so that they sum to `need`, in
// proportion to their current values.
void SpreadExcess(std::vector<TColumnRange>& ranges, const TSpanCell& cell, int need, int TColumnRange::*field)
{
    const int have = SumOver(ranges, cell.Col, cell.Span, field);
    if (need <= have)
        return;
    std::vector<int> chosen, weights;
    for (int c = cell.Col; c < cell.Col + cell.Span; ++c) {
        chosen.push_back(c);
        weights.push_back(ranges[c].*field);
    }
    ShareOut(ranges, chosen, weights, need - have, field);
}

int LargestSpan(const std::vector<TSpanCell>& cells)
{
    int largest = 0;
    for (const TSpanCell& cell : cells)
        largest = std::max(largest, cell.Span);
    return largest;
}

void KeepMaxAboveMin(std::vector<TColumnRange>& ranges)
{
    for (TColumnRange& r : ranges)
        r.Max = std::max(r.Max, r.Min);
}

// A cell's percentage: its own, or its pixel WIDTH relative to `relativeTo`.
int CellPercent(const TSpanCell& cell, int relativeTo)
{
    if (cell.Percent > 0)
        return cell.Percent;
    if (cell.PixelWidth > 0 && relativeTo > 0)
        return std::min(1000, Scaled(1000, cell.PixelWidth, relativeTo));
    return 0;
}

// A spanning cell of the percentage-aware pass.
void SpreadWithPercents(std::vector<TColumnRange>& ranges, const TSpanCell& cell, int p)
{
    const int first = cell.Col, last = cell.Col + cell.Span;
    int P = 0;
    std::vector<int> without;
    for (int c = first; c < last; ++c) {
        if (ranges[c].Percent > 0)
            P += ranges[c].Percent;
        else
            without.push_back(c);
    }
    const int k = static_cast<int>(without.size());
    if (p == 0 && P == 0) {
        // Nothing asks for a share: the content decides.
        SpreadExcess(ranges, cell, cell.Min, &TColumnRange::Min);
        SpreadExcess(ranges, cell, cell.Max, &TColumnRange::Max);
        return;
    }
    if (k == 0 && P < p) {
        for (int c = first; c < last; ++c)
            ranges[c].Percent = Scaled(ranges[c].Percent, p, P);
    } else if (k > 0 && (p - P) / k > 0) {
        for (int c : without)
            ranges[c].Percent = (p - P) / k;
    }
    const int Q = std::max(P, p);
    const int sumMin = SumOver(ranges, first, cell.Span, &TColumnRange::Min);
    if (cell.Min > sumMin) {
        if (k == 0) {
            for (int c = first; c < last; ++c)
                ranges[c].Min = std::max(ranges[c].Min, Scaled(cell.Min, ranges[c].Percent, Q));
        } else {
            std::vector<int> weights;
            for (int c : without)
                weights.push_back(ranges[c].Max);
            ShareOut(ranges, without, weights, cell.Min - sumMin, &TColumnRange::Min);
        }
    }
    const int sumMax = SumOver(ranges, first, cell.Span, &TColumnRange::Max);
    if (cell.Max > sumMax) {
        if (k == 0) {
            for (int c = first; c < last; ++c)
                ranges[c].Max = std::max(ranges[c].Max, Scaled(cell.Max, ranges[c].Percent, Q));
        } else {
            ShareOut(ranges, without, std::vector<int>(without.size(), 0), cell.Max - sumMax, &TColumnRange::Max);
        }
    }
}

int SumMin(const std::vector<TColumnRange>& r) { return SumOver(r, 0, static_cast<int>(r.size()), &TColumnRange::Min); }
int SumMax(const std::vector<TColumnRange>& r) { return SumOver(r, 0, static_cast<int>(r.size()), &TColumnRange::Max); }

std::vector<int> Minimums(const std::vector<TColumnRange>& ranges)
{
    std::vector<int> widths;
    for (const TColumnRange& r : ranges)
        widths.push_back(r.Min);
    return widths;
}

// With a table WIDTH: every column with a percentage gets that share of
// the width (never less than its minimum, which then holds it), the others
// their minimum, and the rest or the excess is settled among them.
std::vector<int> FillTableWidth(const std::vector<TColumnRange>& ranges, int width)
{
    const int n = static_cast<int>(ranges.size());
    std::vector<int> widths(n);
    std::vector<bool> held(n, false);
    for (int c = 0; c < n; ++c) {
        const int share = Scaled(width, ranges[c].Percent, 1000);
        if (ranges[c].Percent > 0 && share > ranges[c].Min) {
            widths[c] = share;
        } else {
            widths[c] = ranges[c].Min;
            held[c] = ranges[c].Percent > 0;
        }
    }
    auto unheldPercents = [&](std::vector<int>& chosen, std::vector<int>& weights) {
        chosen.clear();
        weights.clear();
        for (int c = 0; c < n; ++c)
            if (ranges[c].Percent > 0 && !held[c]) {
                chosen.push_back(c);
                weights.push_back(ranges[c].Percent);
            }
    };
    std::vector<int> chosen, weights;
    int sum = SumOf(widths);
    if (sum < width) {
        for (int c = 0; c < n; ++c)
            if (ranges[c].Percent == 0) {
                chosen.push_back(c);
                weights.push_back(ranges[c].Max - ranges[c].Min);
            }
        if (chosen.empty())
            unheldPercents(chosen, weights);
        const int rest = width - sum;
        const int64_t total = std::accumulate(weights.begin(), weights.end(), int64_t { 0 });
        for (size_t i = 0; i < chosen.size(); ++i)
            widths[chosen[i]] += total > 0 ? Scaled(rest, weights[i], total) : rest / static_cast<int>(chosen.size());
    } else if (sum > width) {
        // Columns that would fall below their minimum are held there; up to
        // four rounds, as each hold moves the excess onto the others.
        for (int round = 0; round < 4; ++round) {
            unheldPercents(chosen, weights);
            const int64_t total = std::accumulate(weights.begin(), weights.end(), int64_t { 0 });
            const int excess = SumOf(widths) - width;
            bool newlyHeld = false;
            for (size_t i = 0; i < chosen.size() && total > 0; ++i) {
                const int c = chosen[i];
                if (widths[c] - Scaled(excess, weights[i], total) < ranges[c].Min) {
                    widths[c] = ranges[c].Min;
                    held[c] = true;
                    newlyHeld = true;
                }
            }
            if (!newlyHeld)
                break;
        }
        unheldPercents(chosen, weights);
        const int64_t total = std::accumulate(weights.begin(), weights.end(), int64_t { 0 });
        const int excess = SumOf(widths) - width;
        for (size_t i = 0; i < chosen.size() && total > 0 && excess > 0; ++i) {
            const int c = chosen[i];
            widths[c] = std::max(ranges[c].Min, widths[c] - Scaled(excess, weights[i], total));
        }
    }
    // Rounding: a shortfall goes to the first column, an excess comes off the
    // first column whose percentage is not held (never below its minimum).
    sum = SumOf(widths);
    if (sum < width && n > 0) {
        widths[0] += width - sum;
    } else if (sum > width) {
        for (int c = 0; c < n; ++c)
            if (!held[c]) {
                widths[c] = std::max(ranges[c].Min, widths[c] - (sum - width));
                break;
            }
    }
    return widths;
}

// Without a table WIDTH: the table is as wide as its percentage columns ask
// for, when that fits; otherwise the percentages are cut to what fits and
// become fixed widths.
std::vector<int> HonourPercents(std::vector<TColumnRange> ranges, int width, int totalPercent)
{
    const int n = static_cast<int>(ranges.size());
    int asked = 0;
    int othersMax = 0;
    bool hasOthers = false;
    for (const TColumnRange& r : ranges) {
        if (r.Percent > 0) {
            asked = std::max(asked, Scaled(r.Max, 1000, r.Percent));
        } else {
            hasOthers = true;
            othersMax += r.Max;
        }
    }
    if (hasOthers)
        asked = std::max(asked, totalPercent >= 1000 ? 30000 : Scaled(othersMax, 1000, 1000 - totalPercent));
    if (asked <= width) {
        std::vector<int> widths(n);
        std::vector<int> others, weights;
        for (int c = 0; c < n; ++c) {
            if (ranges[c].Percent > 0) {
                widths[c] = Scaled(asked, ranges[c].Percent, 1000);
            } else {
                others.push_back(c);
                weights.push_back(ranges[c].Max);
            }
        }
        if (!others.empty()) {
            // The other columns share what the percentages leave, rounding
            // included, so that the table is exactly as wide as asked.
            const int rest = asked - SumOf(widths);
            std::vector<TColumnRange> shares(n);
            ShareOut(shares, others, weights, rest, &TColumnRange::Max);
            for (int c : others)
                widths[c] = shares[c].Max;
        }
        return widths;
    }
    for (TColumnRange& r : ranges)
        if (r.Percent > 0 && Scaled(width, r.Percent, 1000) - 1 < r.Min)
            r.Percent = 0;
    int spaceLeft = width;
    int shares = 0;
    for (const TColumnRange& r : ranges) {
        if (r.Percent > 0)
            shares += Scaled(width, r.Percent, 1000);
        else
            spaceLeft -= r.Min;
    }
    spaceLeft = std::max(0, spaceLeft);
    for (TColumnRange& r : ranges) {
        if (r.Percent == 0)
            continue;
        int share = Scaled(width, r.Percent, 1000);
        if (shares > spaceLeft)
            share = Scaled(share, spaceLeft, shares);
        r.Min = r.Max = std::max(share, r.Min);
    }
    return ProportionalWidths(ranges, width);
}

} // namespace

std::vector<TColumnRange> PlainColumnRanges(const std::vector<TSpanCell>& cells, int numCols)
{
    std::vector<TColumnRange> ranges(static_cast<size_t>(std::max(0, numCols)));
    const int largest = LargestSpan(cells);
    for (int span = 1; span <= largest; ++span)
        for (const TSpanCell& cell : cells) {
            if (cell.Span != span)
                continue;
            if (span == 1) {
                int minimum = cell.Min, maximum = cell.Max;
                if (cell.PixelWidth > 0) {
                    // WIDTH may be as large as an int holds: the sum saturates.
                    const int wanted = static_cast<int>(
                        std::min<int64_t>(int64_t { cell.PixelWidth } + cell.Pad, INT_MAX));
                    minimum = std::max(minimum, wanted);
                    maximum = std::max(minimum, wanted);
                }
                ranges[cell.Col].Min = std::max(ranges[cell.Col].Min, minimum);
                ranges[cell.Col].Max = std::max(ranges[cell.Col].Max, maximum);
            } else {
                SpreadExcess(ranges, cell, cell.Min, &TColumnRange::Min);
                SpreadExcess(ranges, cell, cell.Max, &TColumnRange::Max);
            }
        }
    KeepMaxAboveMin(ranges);
    return ranges;
}

std::vector<TColumnRange> PercentColumnRanges(const std::vector<TSpanCell>& cells, int numCols, int relativeTo)
{
    std::vector<TColumnRange> ranges(static_cast<size_t>(std::max(0, numCols)));
    const int largest = LargestSpan(cells);
    for (int span = 1; span <= largest; ++span)
        for (const TSpanCell& cell : cells) {
            if (cell.Span != span)
                continue;
            const int p = CellPercent(cell, relativeTo);
            if (span == 1) {
                TColumnRange& r = ranges[cell.Col];
                r.Min = std::max(r.Min, cell.Min);
                r.Max = std::max(r.Max, cell.Max);
                r.Percent = std::max(r.Percent, p);
            } else {
                SpreadWithPercents(ranges, cell, p);
            }
        }
    KeepMaxAboveMin(ranges);
    return ranges;
}

std::vector<int> ProportionalWidths(const std::vector<TColumnRange>& ranges, int width)
{
    const int sumMin = SumMin(ranges), sumMax = SumMax(ranges);
    std::vector<int> widths = Minimums(ranges);
    if (sumMin >= width)
        return widths;
    if (width < sumMax) {
        for (size_t c = 0; c < ranges.size(); ++c)
            widths[c] += Scaled(ranges[c].Max - ranges[c].Min, width - sumMin, sumMax - sumMin);
        if (!widths.empty())
            widths[0] += width - SumOf(widths);
        return widths;
    }
    for (size_t c = 0; c < ranges.size(); ++c)
        widths[c] = ranges[c].Max;
    return widths;
}

std::vector<int> PercentWidths(std::vector<TColumnRange> ranges, int width, bool tableHasWidth)
{
    if (SumMin(ranges) >= width)
        return Minimums(ranges);
    if (tableHasWidth)
        return FillTableWidth(ranges, width);
    int total = 0;
    for (const TColumnRange& r : ranges)
        total += r.Percent;
    if (total > 1000) {
        // Percentages asking for more than the whole are read as parts of it.
        for (TColumnRange& r : ranges)
            r.Percent = Scaled(r.Percent, 1000, total);
        total = 0;
        for (const TColumnRange& r : ranges)
            total += r.Percent;
    }
    if (total > 0)
        return HonourPercents(std::move(ranges), width, total);
    return ProportionalWidths(ranges, width);
}

// ---------------------------------------------------------------------------
// The table's side: its cells measured, and the widths for a layout.

std::vector<TSpanCell> ThtmlTable::MeasureCells()
{
    std::vector<TSpanCell> cells;
    const int pad = 2 * CellPadding + CellSpacing;
    for (TObject* item : Rows) {
        const auto* row = static_cast<TCellList*>(item);
        for (int c = 0; c < row->Count(); ++c) {
            TCellObj* cell = row->Cell(c);
            if (cell->IsFiller())
                continue;
            TSpanCell measured;
            cell->ContentRange(measured.Min, measured.Max);
            measured.Min += pad;
            measured.Max += pad;
            measured.Col = c;
            measured.Span = std::min(cell->ColSpan, NumCols - c);
            measured.PixelWidth = cell->AsPercent ? 0 : cell->Wd;
            measured.Percent = cell->AsPercent ? cell->Wd : 0;
            measured.Pad = pad;
            cells.push_back(measured);
        }
    }
    return cells;
}

std::vector<TColumnRange> ThtmlTable::ColumnRanges(
    const std::vector<TSpanCell>& cells, bool percentAware, int relativeTo) const
{
    return percentAware ? PercentColumnRanges(cells, NumCols, relativeTo) : PlainColumnRanges(cells, NumCols);
}

// W is what the table asks for (the available width, or its WIDTH) less
// the spacing that the grid adds to its columns, and never below 20.
void ThtmlTable::ComputeWidths(int available)
{
    const int target = Width == 0 ? available : AsPercent ? Scaled(available, Width, 1000) : Width;
    const int W = std::max(20, target - CellSpacing);
    const std::vector<TSpanCell> cells = MeasureCells();
    std::vector<TColumnRange> ranges = ColumnRanges(cells, UsesPercentRanges(), W);
    const std::vector<int> widths
        = UsesPercentRanges() ? PercentWidths(ranges, W, Width > 0) : ProportionalWidths(ranges, W);
    Widths.fill(0);
    Percents.fill(0);
    int64_t gridWidth = CellSpacing;
    for (int c = 0; c < NumCols; ++c) {
        Widths[c] = std::max(0, widths[c]);
        Percents[c] = ranges[c].Percent;
        gridWidth += Widths[c];
    }
    // Columns as wide as a huge WIDTH asks may together pass what an int holds.
    GridWidth = static_cast<int>(std::min<int64_t>(gridWidth, INT_MAX));
}
