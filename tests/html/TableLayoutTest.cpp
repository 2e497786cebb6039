// Table layout from real HTML: grid normalisation and bad spans, the column
// count limit, attribute caps, column widths (spans, pixel and percentage
// widths), row heights and vertical alignment, captions, placement and
// floating tables.

#include "TableTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

int SumOfWidths(const ThtmlTable& table)
{
    return std::accumulate(table.Widths.begin(), table.Widths.begin() + table.NumCols, 0);
}

// pad = 2 x padding + spacing, included in every column width.
int PadOf(const ThtmlTable& table) { return 2 * table.CellPadding + table.CellSpacing; }

} // namespace

// ---------------------------------------------------------------------------
// Grid normalisation.

TEST(TableGrid, SpansBecomeFillersAndEveryRowIsAsLongAsTheLongest)
{
    TParsedPage page("<table><tr><td colspan=2>a<td rowspan=3>b"
                     "<tr><td>c"
                     "<tr><td>d<td>e<td>f<td>g</table>");
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    // b's row span puts fillers at its column in the rows below, pushing
    // what stands there right: row 2 becomes five long.
    EXPECT_EQ(table->NumCols, 5);
    for (int r = 0; r < table->RowCount(); ++r)
        EXPECT_EQ(table->Row(r)->Count(), 5) << "row " << r;
    // Row 0: a, its filler, b, padding.
    EXPECT_EQ(TextOf(CellOf(*table, 0, 0)->Cell), "a");
    EXPECT_TRUE(CellOf(*table, 0, 1)->IsFiller());
    EXPECT_EQ(CellOf(*table, 0, 1)->Owner, CellOf(*table, 0, 0));
    // Row 1: c, then b's filler at b's column.
    EXPECT_EQ(TextOf(CellOf(*table, 1, 0)->Cell), "c");
    EXPECT_EQ(CellOf(*table, 1, 2)->Owner, CellOf(*table, 0, 2));
    // Row 2: d, e, b's filler, f, g; the short rows are padded.
    EXPECT_EQ(CellOf(*table, 2, 2)->Owner, CellOf(*table, 0, 2));
    EXPECT_EQ(TextOf(CellOf(*table, 2, 3)->Cell), "f");
    EXPECT_EQ(CellOf(*table, 1, 4)->Owner, nullptr);
}

TEST(TableGrid, RowSpansAreCappedToTheRowsThatRemain)
{
    TParsedPage page("<table><tr><td rowspan=99999999>a<td>b<tr><td>c</table>");
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(CellOf(*table, 0, 0)->RowSpan, 2);
    EXPECT_EQ(table->RowCount(), 2);
    EXPECT_EQ(table->Row(1)->Count(), 2);
}

TEST(TableGrid, SpansThatAreNotNumbersAboveOneCountAsOne)
{
    for (const char* span : { "0", "-5", "1", "2147483648", "99999999999", "x", "\"\"" }) {
        TParsedPage page(std::string("<table><tr><td colspan=") + span + " rowspan=" + span + ">a<td>b</table>");
        ThtmlTable* table = TableOf(page);
        ASSERT_NE(table, nullptr) << span;
        EXPECT_EQ(table->NumCols, 2) << span;
        EXPECT_EQ(CellOf(*table, 0, 0)->ColSpan, 1) << span;
        EXPECT_EQ(CellOf(*table, 0, 0)->RowSpan, 1) << span;
    }
}

TEST(TableGrid, BackgroundsComeFromTheCellRowTableOrEnclosingCell)
{
    TParsedPage page("<table bgcolor=red><tr><td>t<td bgcolor=blue>own"
                     "<tr bgcolor=lime><td>row<td>"
                     "<table><tr><td>inner</table></table>");
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(CellOf(*table, 0, 0)->Cell.BkColor, 0x0000FF);
    EXPECT_EQ(CellOf(*table, 0, 1)->Cell.BkColor, 0xFF0000);
    EXPECT_EQ(CellOf(*table, 1, 0)->Cell.BkColor, 0x00FF00);
    // A table without BGCOLOR inside a cell with one takes the cell's.
    ThtmlTable* inner = TablesOf(CellOf(*table, 1, 1)->Cell).at(0);
    EXPECT_TRUE(inner->BkGnd);
    EXPECT_EQ(inner->BkColor, 0x00FF00);
    EXPECT_EQ(CellOf(*inner, 0, 0)->Cell.BkColor, 0x00FF00);
    // The document has no background of its own to hand down.
    TParsedPage plain("<table><tr><td>x</table>");
    EXPECT_FALSE(CellOf(*TableOf(plain), 0, 0)->Cell.BkGnd);
}

// ---------------------------------------------------------------------------
// The column limit.

TEST(TableColumns, ThirtyOneColumnsShowTheMessageOnceAndTheTableDisappears)
{
    TRecordingDialogs dialogs;
    TScopedDialogs scoped(dialogs);
    const std::string wide = "<table><tr>" + Repeat("<td>x", 31) + "</table>";
    TParsedPage page("<p>avant" + wide + wide + "<p>apr\xE8s la table");
    ASSERT_EQ(dialogs.Shown.size(), 1);
    EXPECT_EQ(dialogs.Shown[0].Text, QStringLiteral("Table has too many Columns"));
    EXPECT_EQ(TableOf(page), nullptr);
    // The rest of the page is laid out.
    const std::vector<TSection*> filled = page.Filled();
    ASSERT_EQ(filled.size(), 2);
    EXPECT_EQ(filled[1]->Buff, "apr\xE8s la table");
    EXPECT_FALSE(filled[1]->Lines.Empty());
    // Gone for good: the next layout has nothing to report.
    page.Layout(400);
    EXPECT_EQ(dialogs.Shown.size(), 1);
}

TEST(TableColumns, ThirtyColumnsAreKept)
{
    TParsedPage page("<table><tr>" + Repeat("<td>x", 30) + "</table>");
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->NumCols, 30);
}

TEST(TableColumns, HugeSpansAreRefusedBeforeAnyFillerIsMade)
{
    TRecordingDialogs dialogs;
    TScopedDialogs scoped(dialogs);
    for (const char* html :
        { "<table><tr><td colspan=31>a</table>", "<table><tr><td colspan=2147483647>a<td colspan=2147483647>b</table>",
            // Row spans make the rows below one longer each.
            "<table><tr><td rowspan=2>a<tr><td>1<td>2<td>3<td>4<td>5<td>6<td>7<td>8<td>9<td>10"
            "<td>1<td>2<td>3<td>4<td>5<td>6<td>7<td>8<td>9<td>20"
            "<td>1<td>2<td>3<td>4<td>5<td>6<td>7<td>8<td>9<td>30</table>" }) {
        TParsedPage page(std::string("<p>x") + html);
        EXPECT_EQ(TableOf(page), nullptr) << html;
    }
    EXPECT_EQ(dialogs.Shown.size(), 3);
}

TEST(TableColumns, ATooWideNestedTableDisappearsFromItsCellOnly)
{
    TRecordingDialogs dialogs;
    TScopedDialogs scoped(dialogs);
    TParsedPage page("<table><tr><td>outer<td><table><tr>" + Repeat("<td>x", 31) + "</table>kept</table>");
    ThtmlTable* outer = TableOf(page);
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(dialogs.Shown.size(), 1);
    TCell& cell = CellOf(*outer, 0, 1)->Cell;
    EXPECT_TRUE(TablesOf(cell).empty());
    EXPECT_EQ(TextOf(cell), "kept");
}

// ---------------------------------------------------------------------------
// Attributes.

TEST(TableAttributes, PaddingSpacingAndHSpaceAreCapped)
{
    struct {
        const char* attributes;
        int padding, spacing, hspace;
        bool border;
    } cases[] = {
        { "", 1, 2, 5, false },
        { "border", 1, 4, 5, true }, // a bare BORDER: spacing 2 + 2
        { "border=0", 1, 2, 5, false },
        { "border=3 cellspacing=40", 1, 42, 5, true },
        { "cellpadding=500 cellspacing=999 hspace=-30", 50, 40, 20, false },
        { "cellpadding=-4 cellspacing=-1 hspace=7", 0, 0, 7, false },
        { "cellpadding=x cellspacing=2147483648 hspace=-2147483648", 0, 0, 20, false },
    };
    for (const auto& c : cases) {
        TParsedPage page(std::string("<table ") + c.attributes + "><tr><td>x</table>");
        ThtmlTable* table = TableOf(page);
        ASSERT_NE(table, nullptr) << c.attributes;
        EXPECT_EQ(table->CellPadding, c.padding) << c.attributes;
        EXPECT_EQ(table->CellSpacing, c.spacing) << c.attributes;
        EXPECT_EQ(table->HSpace, c.hspace) << c.attributes;
        EXPECT_EQ(table->Border, c.border) << c.attributes;
    }
}

TEST(TableAttributes, WidthsInPixelsOrPercentInRange)
{
    struct {
        const char* width;
        int value;
        bool percent;
    } cases[] = { { "300", 300, false }, { "50%", 500, true }, { "\"100%\"", 1000, true }, { "150%", 0, false },
        { "0", 0, false }, { "-20", 0, false } };
    for (const auto& c : cases) {
        TParsedPage page(std::string("<table width=") + c.width + "><tr><td width=" + c.width + ">x</table>");
        ThtmlTable* table = TableOf(page);
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->Width, c.value) << c.width;
        EXPECT_EQ(table->AsPercent, c.percent) << c.width;
        EXPECT_EQ(CellOf(*table, 0, 0)->Wd, c.value) << c.width;
        EXPECT_EQ(CellOf(*table, 0, 0)->AsPercent, c.percent) << c.width;
    }
}

// ---------------------------------------------------------------------------
// Column widths.

TEST(TableWidths, ASpanningCellSharesItsExtraMinimumInProportion)
{
    // Narrow enough for every column to get its minimum.
    TParsedPage page("<table cellpadding=0 cellspacing=0>"
                     "<tr><td>aa<td>bbbbbbbb<td>c"
                     "<tr><td colspan=2>abcdefghijklmnopqrstuvwxyzabcdefghij<td>c</table>",
        20);
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    const int m0 = RangeOf(*CellOf(*table, 0, 0)).first;
    const int m1 = RangeOf(*CellOf(*table, 0, 1)).first;
    const int spanning = RangeOf(*CellOf(*table, 1, 0)).first;
    ASSERT_GT(spanning, m0 + m1);
    const int excess = spanning - m0 - m1;
    EXPECT_EQ(table->Widths[0], m0 + excess * m0 / (m0 + m1));
    EXPECT_EQ(table->Widths[0] + table->Widths[1], spanning);
    EXPECT_EQ(table->Widths[2], RangeOf(*CellOf(*table, 0, 2)).first);
}

TEST(TableWidths, FullWidthWithTwentyAndEightyPercentIsOneToFour)
{
    // W = 600 - 2 = 598: 119.6 and 478.4 truncate to 119 and 478; the
    // first column takes the pixel left over.
    TParsedPage page("<table width=100%><tr><td width=20%>a<td width=80%>b</table>", 600);
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->Widths[0], 120);
    EXPECT_EQ(table->Widths[1], 478);
    EXPECT_EQ(table->GridWidth, 600);
    EXPECT_EQ(table->TableWidth, 600);
}

TEST(TableWidths, ALongWordBeatsItsPercentageAndTheOthersShrink)
{
    const std::string word = "anticonstitutionnellement";
    TParsedPage page("<table width=100%><tr><td width=10%>" + word + "<td width=90%>x</table>", 300);
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    const int minimum = RangeOf(*CellOf(*table, 0, 0)).first + PadOf(*table);
    ASSERT_GT(minimum, 298 / 10);
    EXPECT_EQ(table->Widths[0], minimum);
    EXPECT_EQ(table->Widths[1], 298 - minimum);
}

TEST(TableWidths, APixelWidthFixesItsColumnWhenItFits)
{
    TParsedPage page("<table><tr><td width=200>x<td>quelques mots</table>", 600);
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->HasPixelWidths);
    EXPECT_EQ(table->Widths[0], 200 + PadOf(*table));
    EXPECT_EQ(table->Widths[1], RangeOf(*CellOf(*table, 0, 1)).second + PadOf(*table));
}

TEST(TableWidths, ColumnsShareTheRestInProportionToWhatTheyCouldUse)
{
    const std::string longText = Repeat("mot ", 60), shortText = Repeat("mot ", 20);
    TParsedPage page("<table><tr><td>" + longText + "<td>" + shortText + "</table>", 400);
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    // Too wide for maximums: the whole width is used, the longer text
    // gets the larger column.
    EXPECT_EQ(table->GridWidth, 400);
    EXPECT_GT(table->Widths[0], table->Widths[1]);
    // Wide enough: maximums, the table no wider than its content.
    page.Layout(3000);
    EXPECT_EQ(table->Widths[0], RangeOf(*CellOf(*table, 0, 0)).second + PadOf(*table));
    EXPECT_LT(table->GridWidth, 3000);
}

TEST(TableWidths, APercentageWithoutTableWidthSizesTheTableToIt)
{
    TParsedPage page("<table><tr><td width=25%>a<td>bbbbbbbbbbbb</table>", 2000);
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    const int columns = SumOfWidths(*table);
    // The first column is a quarter of the table, the second at least its
    // content.
    EXPECT_NEAR(table->Widths[0] * 4, columns, 4);
    EXPECT_GE(table->Widths[1], RangeOf(*CellOf(*table, 0, 1)).second + PadOf(*table));
    EXPECT_LT(table->GridWidth, 2000);
}

TEST(TableWidths, PercentagesOverAHundredAreReadAsParts)
{
    TParsedPage page("<table width=100%><tr><td width=60%>a<td width=90%>b</table>", 600);
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GridWidth, 600);
    EXPECT_LT(table->Widths[0], table->Widths[1]);
}

TEST(TableWidths, TheWidthRangeOfANestedTableCountsItsPixelWidth)
{
    TParsedPage page("<table><tr><td><table width=300><tr><td>x</table></table>", 800);
    ThtmlTable* outer = TableOf(page);
    ASSERT_NE(outer, nullptr);
    ThtmlTable* inner = TablesOf(CellOf(*outer, 0, 0)->Cell).at(0);
    int minimum = 0, maximum = 0;
    inner->WidthRange(minimum, maximum);
    EXPECT_EQ(minimum, 300);
    EXPECT_GE(maximum, 300);
    EXPECT_EQ(inner->TableWidth, 300);
    EXPECT_GE(outer->Widths[0], 300 + PadOf(*outer));
}

// ---------------------------------------------------------------------------
// Row heights and vertical alignment.

TEST(TableRows, HeightAndRowSpansRaiseTheRows)
{
    TParsedPage page("<table cellpadding=0 cellspacing=0><tr><td height=100>a<td>b</table>");
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->Row(0)->RowHeight, 100);
    EXPECT_EQ(table->SectionHeight, 100);

    TParsedPage spans("<table cellpadding=0 cellspacing=0><tr><td rowspan=2 height=101>a<td>b<tr><td>c</table>");
    table = TableOf(spans);
    ASSERT_NE(table, nullptr);
    const int line = table->Row(0)->RowHeight;
    // Each row gets an equal share of what is missing, the last one the
    // rounding remainder.
    EXPECT_EQ(table->Row(0)->RowHeight + table->Row(1)->RowHeight, 101);
    EXPECT_GE(table->Row(1)->RowHeight, line);
    EXPECT_LE(table->Row(1)->RowHeight - table->Row(0)->RowHeight, 1);
}

TEST(TableRows, CellsAlignVerticallyInTheirRows)
{
    TParsedPage page("<table cellpadding=0 cellspacing=0><tr><td height=60>tall"
                     "<td valign=top>t<td>m<td valign=bottom>b<td valign=baseline>l</table>");
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    const int free = 60 - CellOf(*table, 0, 1)->Ht;
    EXPECT_EQ(CellOf(*table, 0, 1)->YIndent, 0);
    EXPECT_EQ(CellOf(*table, 0, 2)->YIndent, free / 2);
    EXPECT_EQ(CellOf(*table, 0, 3)->YIndent, free);
    EXPECT_EQ(CellOf(*table, 0, 4)->YIndent, 0);
    // The content lies where the offset says.
    EXPECT_EQ(CellOf(*table, 0, 3)->Cell.StartY, table->YPosition + free);
}

TEST(TableRows, CellsStackBelowEachOtherWithTheSpacing)
{
    TParsedPage page("<table cellpadding=3 cellspacing=5><tr><td>a<tr><td>b</table>");
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    const TCellObj* a = CellOf(*table, 0, 0);
    const TCellObj* b = CellOf(*table, 1, 0);
    EXPECT_EQ(a->Cell.StartY, table->YPosition + 5 + 3 + a->YIndent);
    EXPECT_EQ(b->Box.top(), a->Box.bottom() + 1 + 5);
    EXPECT_EQ(table->SectionHeight, table->Row(0)->RowHeight + table->Row(1)->RowHeight + 5);
}

// ---------------------------------------------------------------------------
// Captions and placement.

TEST(TablePlacement, ACaptionWiderThanTheGridWidensTheTableAndCentresTheGrid)
{
    TParsedPage page("<table border><caption>une l\xE9gende bien plus large que la grille</caption>"
                     "<tr><td>x</table>");
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    const int captionMin = RangeOf(table->Caption).first;
    EXPECT_EQ(table->TableWidth, captionMin);
    EXPECT_GT(table->TableWidth, table->GridWidth);
    EXPECT_EQ(table->GridIndent, (table->TableWidth - table->GridWidth) / 2);
    // The caption on top pushes the grid down.
    EXPECT_GT(table->CaptionHeight, 0);
    EXPECT_EQ(CellOf(*table, 0, 0)->Box.top(), table->CellSpacing);
    EXPECT_GE(CellOf(*table, 0, 0)->Cell.StartY, table->YPosition + table->CaptionHeight);
}

TEST(TablePlacement, ABottomCaptionComesAfterTheRows)
{
    TParsedPage page("<table><caption align=bottom>dessous</caption><tr><td>x</table>");
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    EXPECT_FALSE(table->TopCaption);
    EXPECT_EQ(table->Caption.Cell.StartY, table->YPosition + table->SectionHeight - table->CaptionHeight);
    EXPECT_LT(CellOf(*table, 0, 0)->Cell.StartY, table->Caption.Cell.StartY);
}

TEST(TablePlacement, CentreAndRightOffsetTheTableInItsColumn)
{
    TParsedPage page("<table align=center><tr><td>x</table><center><table><tr><td>x</table></center>"
                     "<table><tr><td>x</table><div align=right><table><tr><td>x</table></div>"
                     "<table align=right><tr><td>x</table>",
        500);
    const std::vector<ThtmlTable*> tables = TablesOf(page.Doc);
    ASSERT_EQ(tables.size(), 5);
    const int w = tables[0]->TableWidth;
    EXPECT_EQ(tables[0]->TableIndent, (500 - w) / 2);
    EXPECT_EQ(tables[1]->TableIndent, (500 - w) / 2);
    EXPECT_EQ(tables[2]->TableIndent, 0);
    // The justification in force places a table without ALIGN, without
    // making it float; ALIGN=RIGHT floats.
    EXPECT_EQ(tables[3]->TableIndent, 500 - w);
    EXPECT_FALSE(tables[3]->Float);
    EXPECT_GT(tables[3]->SectionHeight, 0);
    EXPECT_EQ(tables[4]->TableIndent, 500 - w);
    EXPECT_TRUE(tables[4]->Float);
}

TEST(TablePlacement, ALeftTableLetsTextRunOnItsRightUntilAClear)
{
    TParsedPage page("<table align=left border><tr><td>un<br>deux<br>trois</table>"
                     "texte \xE0 droite<br clear=left>dessous",
        500);
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->Float);
    EXPECT_EQ(table->SectionHeight, 0);
    EXPECT_GT(table->DrawHeight, 0);
    const std::vector<TSection*> text = page.Filled();
    ASSERT_EQ(text.size(), 2);
    const LineRec& beside = page.Line(*text[0], 0);
    EXPECT_EQ(beside.LineX, table->TableWidth + table->HSpace + 1);
    EXPECT_EQ(beside.Y, table->YPosition);
    // After BR CLEAR=left the text starts below the table, at the left edge.
    const LineRec& below = page.Line(*text[1], text[1]->Lines.Count() - 1);
    EXPECT_GE(below.Y, table->YPosition + table->DrawHeight);
    EXPECT_EQ(below.LineX, 0);
}

TEST(TablePlacement, ARightTableStandsAtTheRightBound)
{
    TParsedPage page("<table align=right hspace=10><tr><td>x</table>texte", 500);
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->TableIndent + table->TableWidth, 500);
    EXPECT_EQ(page.Line(*page.Filled()[0], 0).LineX, 0);
    // The text wraps before the table and its horizontal space.
    page.Layout(500);
    EXPECT_EQ(page.Doc.IMgr.RightBoundAt(table->YPosition), 500 - table->TableWidth - 10 - 1);
}

TEST(TablePlacement, ATableInAListIsIndented)
{
    TParsedPage page("<ul><li>item<table><tr><td>x</table></ul>");
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->TableIndent, 35);
}

TEST(TablePlacement, DeepNestingLaysOutInLinearTime)
{
    // Every table lays its cells out twice; nested tables must not turn
    // that into 2 to the power of the depth.
    const std::string html = Repeat("<table><tr><td>x", 200) + Repeat("</table>", 200);
    TParsedPage page(html, 800);
    int depth = 0;
    for (const TCell* cell = &page.Doc; !TablesOf(*cell).empty(); cell = &CellOf(*TablesOf(*cell)[0], 0, 0)->Cell)
        ++depth;
    EXPECT_GT(depth, 100);
    EXPECT_GT(page.Height, 0);
}

// Each level: a tall cell, then a shorter one, centred in its row, holding
// the next level; the innermost cell holds plain text.
std::string ShiftedNesting(int levels)
{
    std::string html;
    for (int i = 0; i < levels; ++i)
        html += "<table><tr><td height=" + std::to_string((levels - i + 2) * 60) + ">x<td>niveau "
            + std::to_string(i);
    return html + Repeat("</table>", levels) + "fin";
}

TEST(TablePlacement, NestedTablesInCentredCellsAreLaidOutOncePerPlace)
{
    // Measuring a row lays its cells out where they would stand at the top;
    // a shorter cell then moves down. The tables inside must not be placed
    // again at each level for every move above them.
    const int levels = 60;
    TParsedPage page(ShiftedNesting(levels), 800);
    for (int pass = 0; pass < 2; ++pass) {
        int depth = 0;
        for (ThtmlTable* table = TableOf(page); table; ++depth) {
            TCellObj* tall = CellOf(*table, 0, 0);
            TCellObj* holder = CellOf(*table, 0, 1);
            EXPECT_LE(tall->LaidOut.Layouts, 2) << "level " << depth;
            EXPECT_LE(holder->LaidOut.Layouts, 2) << "level " << depth;
            EXPECT_TRUE(holder->LaidOut.Placed) << "level " << depth;
            EXPECT_GT(holder->YIndent, 0) << "level " << depth;
            // The content lies where its row puts it, and the table inside
            // within it.
            EXPECT_EQ(holder->LaidOut.Y,
                table->YPosition + holder->Box.top() + table->CellPadding + holder->YIndent);
            const std::vector<ThtmlTable*> inner = TablesOf(holder->Cell);
            table = inner.empty() ? nullptr : inner[0];
            if (table) {
                EXPECT_GE(table->YPosition, holder->LaidOut.Y);
                EXPECT_LE(table->YPosition + table->SectionHeight, holder->LaidOut.Y + holder->Ht);
            }
        }
        EXPECT_EQ(depth, levels);
        EXPECT_FALSE(page.Doc.MeasuringHeights);
        // Laid out again, as a resize does, at another width.
        page.Layout(700);
    }
}

TEST(TablePlacement, AnErrorInsideAMeasuredCellEndsTheMeasure)
{
    // The inner table has too many columns: it is dropped while its cell is
    // measured, and what follows is placed as usual.
    TRecordingDialogs dialogs;
    TScopedDialogs scoped(dialogs);
    TParsedPage page("<table><tr><td height=200>x<td><table><tr>" + Repeat("<td>c", 40)
            + "</table>reste</table><table><tr><td height=90>y<td><table><tr><td>z</table></table>",
        600);
    EXPECT_EQ(dialogs.Shown.size(), 1);
    EXPECT_FALSE(page.Doc.MeasuringHeights);
    ThtmlTable* second = TableOf(page, 1);
    ASSERT_NE(second, nullptr);
    TCellObj* holder = CellOf(*second, 0, 1);
    EXPECT_TRUE(holder->LaidOut.Placed);
    ASSERT_EQ(TablesOf(holder->Cell).size(), 1u);
    EXPECT_EQ(TablesOf(holder->Cell)[0]->YPosition, holder->LaidOut.Y);
}

TEST(TableWidths, HugePixelWidthsSaturateAndStillPaint)
{
    for (const char* page : { "<table width=2147483647 cellpadding=50 hspace=20><tr>"
                              "<td width=2147483647>a<td width=2147483646 colspan=2>b</table>apr\xE8s",
                              "<table border cellpadding=50><tr><td width=2147483647>a<td>b<tr>"
                              "<td colspan=2 width=2147483647>c</table>" }) {
        TParsedPage parsed(page, 300);
        ThtmlTable* table = TableOf(parsed);
        ASSERT_NE(table, nullptr) << page;
        EXPECT_GT(table->SectionHeight, 0);
        EXPECT_FALSE(parsed.Render(300, 50).isNull());
    }
}

TEST(TableRows, HugeHeightsSaturateAndStillPaint)
{
    TParsedPage page("<table bgcolor=red><tr><td height=2147483647>a<td rowspan=2 height=2147483647>b"
                     "<tr><td height=2000000000>c</table>apr\xE8s",
        300);
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    EXPECT_GT(table->SectionHeight, 0);
    EXPECT_GT(page.Height, table->SectionHeight);
    const QImage image = page.Render(300, 50);
    EXPECT_EQ(image.pixel(CellOf(*table, 0, 0)->Box.left() + 3, 10) & 0xFFFFFF, 0xFF0000u);
}
