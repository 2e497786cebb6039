// How the parser builds tables: rows and cells from TR, TD, TH and CAPTION,
// text between cells, state that must not leak from one cell into the next,
// and input that ends inside a table.

#include "TableTestSupport.h"
#include "TestSupport.h"

#include "html/HtmlParser.h"
#include "platform/Dialogs.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>

TEST(TableParser, RowsAndCellsWithTheirAttributes)
{
    TParsedPage page("<table><tr bgcolor=silver align=right valign=bottom><td>a<td align=left valign=top>b"
                     "<tr><th>c<td>d</tr><td>e</table>");
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->RowCount(), 3);
    EXPECT_TRUE(table->Row(0)->BkGnd);
    EXPECT_EQ(table->Row(0)->BkColor, clSilver);
    // The row's ALIGN and VALIGN are the defaults of its cells.
    auto justify = [](TCellObj* cell) { return static_cast<TSection*>(cell->Cell.Section(0))->Justify; };
    EXPECT_EQ(justify(CellOf(*table, 0, 0)), JustRight);
    EXPECT_EQ(CellOf(*table, 0, 0)->VAlign, 2);
    EXPECT_EQ(justify(CellOf(*table, 0, 1)), JustLeft);
    EXPECT_EQ(CellOf(*table, 0, 1)->VAlign, 0);
    // TH is centred and bold, TD left; the default alignment is middle.
    EXPECT_EQ(justify(CellOf(*table, 1, 0)), JustCenter);
    EXPECT_EQ(justify(CellOf(*table, 1, 1)), JustLeft);
    EXPECT_EQ(CellOf(*table, 1, 1)->VAlign, 1);
    // A cell after the end of a row opens a new one.
    EXPECT_EQ(TextOf(CellOf(*table, 2, 0)->Cell), "e");
}

TEST(TableParser, TextBetweenCellsGoesToTheEnclosingCellBeforeTheTable)
{
    TParsedPage page("<table>perdu<tr><td>dedans</td> entre <td>x</table>apr\xE8s");
    std::vector<std::string> texts;
    for (TSection* s : page.Filled())
        texts.push_back(s->Buff);
    EXPECT_EQ(texts, (std::vector<std::string> { "perdu", "entre ", "apr\xE8s" }));
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(TextOf(CellOf(*table, 0, 0)->Cell), "dedans");
    // The table follows the text that was written inside it.
    EXPECT_EQ(page.Doc.IndexOf(table), page.Doc.IndexOf(page.Filled()[1]) + 1);
}

TEST(TableParser, FontsAndLinksDoNotLeakFromOneCellIntoTheNext)
{
    TParsedPage page("<table><tr><td><font size=7><i><a href=a.htm>lien<td>simple</table>apr\xE8s");
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    const auto* first = static_cast<TSection*>(CellOf(*table, 0, 0)->Cell.Section(0));
    const auto* second = static_cast<TSection*>(CellOf(*table, 0, 1)->Cell.Section(0));
    EXPECT_TRUE(first->Fonts.GetFontObjAt(0)->TheFont().italic());
    EXPECT_FALSE(first->Fonts.GetFontObjAt(0)->UrlTarget.Empty());
    EXPECT_FALSE(second->Fonts.GetFontObjAt(0)->TheFont().italic());
    EXPECT_TRUE(second->Fonts.GetFontObjAt(0)->UrlTarget.Empty());
    EXPECT_LT(
        second->Fonts.GetFontObjAt(0)->TheFont().pixelSize(), first->Fonts.GetFontObjAt(0)->TheFont().pixelSize());
    const TSection* after = page.Filled().back();
    EXPECT_EQ(after->Buff, "apr\xE8s");
    EXPECT_TRUE(after->Fonts.GetFontObjAt(0)->UrlTarget.Empty());
}

TEST(TableParser, ACaptionHoldsItsTextCentredAndMayGoBelow)
{
    TParsedPage page("<table><caption align=bottom>l\xE9gende</caption><tr><td>x</table>");
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    EXPECT_FALSE(table->TopCaption);
    EXPECT_EQ(TextOf(table->Caption.Cell), "l\xE9gende");
    EXPECT_EQ(static_cast<TSection*>(table->Caption.Cell.Section(0))->Justify, JustCenter);
}

TEST(TableParser, NestedTablesBelongToTheirCells)
{
    TParsedPage page("<table><tr><td>a<table><tr><td>b</table>c<td>d</table>");
    ThtmlTable* outer = TableOf(page);
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(TablesOf(page.Doc).size(), 1);
    TCell& cell = CellOf(*outer, 0, 0)->Cell;
    const std::vector<ThtmlTable*> inner = TablesOf(cell);
    ASSERT_EQ(inner.size(), 1);
    EXPECT_EQ(TextOf(CellOf(*inner[0], 0, 0)->Cell), "b");
    EXPECT_EQ(TextOf(cell), "ac");
    EXPECT_EQ(TextOf(CellOf(*outer, 0, 1)->Cell), "d");
}

TEST(TableParser, AnOpenCommentInsideACellKeepsWhatWasBuilt)
{
    TSectionList doc;
    TStringList names;
    const std::string html = "<table><tr><td>gard\xE9<td>aussi <!-- jamais ferm\xE9";
    EXPECT_THROW(ParseHtmlBuffer(doc, names, html.data(), html.size()), EParseError);
    ASSERT_EQ(TablesOf(doc).size(), 1);
    ThtmlTable& table = *TablesOf(doc)[0];
    EXPECT_EQ(TextOf(CellOf(table, 0, 0)->Cell), "gard\xE9");
    EXPECT_EQ(TextOf(CellOf(table, 0, 1)->Cell), "aussi ");
    // Nothing was left pointing into the table: it lays out and paints.
    int widest = 0, chars = 0;
    EXPECT_GT(doc.DoLayout(0, 400, widest, chars), 0);
}

TEST(TableParser, RandomTagSoupLaysOutAndPaints)
{
    TRecordingDialogs dialogs;
    TScopedDialogs scoped(dialogs);
    const char* pieces[] = { "<table>", "</table>", "<tr>", "</tr>", "<td>", "</td>", "<th>", "<caption>", "</caption>",
        "<caption align=bottom>", "<td colspan=N>", "<td rowspan=N>", "<td width=N%>", "<td width=N>",
        "<table width=N%>", "<table align=left>", "<table align=right hspace=N>",
        "<table border cellpadding=N cellspacing=N>", "<td height=N>", "<tr bgcolor=red>", "<td valign=bottom>",
        "texte ", "<br clear=left>", "<p>", "<b>", "<font size=7>", "<a href=x>", "</a>", "<ul><li>", "</ul>",
        "<center>", "</center>", "<pre>x\ny</pre>", "motmotmotmotmot " };
    const char* numbers[] = { "0", "-1", "1", "2", "3", "29", "30", "31", "100", "2147483647", "99999999999" };
    uint32_t seed = 7;
    auto next = [&](uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % n;
    };
    for (int page = 0; page < 300; ++page) {
        std::string html;
        for (uint32_t i = 0, n = 5 + next(120); i < n; ++i) {
            std::string piece = pieces[next(std::size(pieces))];
            for (size_t at; (at = piece.find('N')) != std::string::npos;)
                piece.replace(at, 1, numbers[next(std::size(numbers))]);
            html += piece;
        }
        TParsedPage parsed(html, 300);
        const QImage image = parsed.Render(300, 300);
        EXPECT_FALSE(image.isNull()) << html;
        parsed.Doc.SelB = 0;
        parsed.Doc.SelE = 1 << 30;
        parsed.Doc.SelectionText();
    }
}
