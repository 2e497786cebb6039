// Tables on screen and under the mouse: backgrounds, border colour and
// bevels in rendered pictures; links, characters, search and copying
// delegated to the cells; every table page of the corpus.

#include "TableTestSupport.h"
#include "TestSupport.h"

#include "html/HtmlParser.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <climits>

namespace {

QRgb Pixel(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

// The panel rectangle of a cell when the document is painted at (0, 0).
QRect PanelBox(const ThtmlTable& table, const TCellObj& cell)
{
    return cell.Box.translated(table.TableIndent + table.GridIndent, table.YPosition + table.CaptionHeight);
}

int ContentLeftOf(const ThtmlTable& table, const TCellObj& cell)
{
    return table.TableIndent + table.GridIndent + cell.Box.left() + table.CellPadding;
}

void SelectAll(TSectionList& doc)
{
    doc.SelB = 0;
    doc.SelE = INT_MAX;
}

} // namespace

// ---------------------------------------------------------------------------
// Painting.

TEST(TablePaint, BackgroundsFillTheCellsAndTheBorderColourTheSpacing)
{
    TParsedPage page("<table cellspacing=6 cellpadding=4 bordercolor=red bgcolor=lime>"
                     "<tr><td>a<td bgcolor=blue>b</table>",
        400);
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    const QImage image = page.Render(400, 100);
    const QRect a = PanelBox(*table, *CellOf(*table, 0, 0));
    const QRect b = PanelBox(*table, *CellOf(*table, 0, 1));
    // Inside the padding, away from the text.
    EXPECT_EQ(Pixel(image, a.left() + 1, a.top() + 1), 0x00FF00u);
    EXPECT_EQ(Pixel(image, b.left() + 1, b.top() + 1), 0x0000FFu);
    // Between the cells and round them.
    EXPECT_EQ(Pixel(image, a.right() + 3, a.top() + 1), 0xFF0000u);
    EXPECT_EQ(Pixel(image, a.left() + 1, a.top() - 3), 0xFF0000u);
    // Outside the grid the page shows.
    EXPECT_EQ(Pixel(image, b.right() + 20, b.top() + 1), 0xFFFFFFu);
}

TEST(TablePaint, BareBorderGivesSpacingFourAndBevels)
{
    TParsedPage page("<table border><tr><td>a<td>b</table>", 400);
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->CellSpacing, 4);
    const QImage image = page.Render(400, 100);
    const QRgb shadow = ToQColor(clBtnShadow).rgb() & 0xFFFFFF;
    const QRgb silver = 0xC0C0C0; // the highlight on a white page
    const QRect grid(table->TableIndent + table->GridIndent, table->YPosition, table->GridWidth, table->SectionHeight);
    // The table's raised bevel: light at the top-left, dark at the bottom-right.
    EXPECT_EQ(Pixel(image, grid.left() + 2, grid.top()), silver);
    EXPECT_EQ(Pixel(image, grid.right(), grid.top() + 2), shadow);
    EXPECT_EQ(Pixel(image, grid.left() + 2, grid.bottom()), shadow);
    // Each cell's sunken bevel, one pixel outside its rectangle.
    const QRect a = PanelBox(*table, *CellOf(*table, 0, 0));
    EXPECT_EQ(Pixel(image, a.left() + 2, a.top() - 1), shadow);
    EXPECT_EQ(Pixel(image, a.left() - 1, a.top() + 2), shadow);
    EXPECT_EQ(Pixel(image, a.right() + 1, a.top() + 2), silver);
    EXPECT_EQ(Pixel(image, a.left() + 2, a.bottom() + 1), silver);
}

TEST(TablePaint, ATableLooksLikeTheSameTextWithoutItWhenItHasNoBorder)
{
    // Reference pair: a one-cell table without spacing or padding paints
    // exactly what its content paints on its own.
    TParsedPage table("<table cellspacing=0 cellpadding=0><tr><td valign=top>bonjour <b>le</b> monde</table>", 300);
    TParsedPage plain("bonjour <b>le</b> monde", 300);
    EXPECT_EQ(table.Render(300, 60), plain.Render(300, 60));
}

TEST(TablePaint, OnlyTheVisibleBandIsPainted)
{
    TParsedPage page("<p>x<table bgcolor=red><tr><td>a</table>", 300);
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    QImage image(300, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    // A band that ends above the table: nothing of it may show.
    const QRect above(0, 0, 300, table->YPosition - 1);
    table->Paint(painter, above, table->YPosition, 0);
    painter.end();
    for (int x = 0; x < 300; ++x)
        ASSERT_EQ(Pixel(image, x, 0), 0xFFFFFFu);
}

// ---------------------------------------------------------------------------
// Queries.

TEST(TableQueries, LinksImagesAndCharactersComeFromTheCellUnderThePoint)
{
    TParsedPage page("<table cellpadding=5><caption><a href=cap.htm>titre</a></caption>"
                     "<tr><td>rien<td><a href=b.htm>lien</a><tr><td colspan=2><a href=c.htm>large</a></table>",
        500);
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    TObject* control = nullptr;
    std::unique_ptr<TUrlTarget> link;
    auto linkAt = [&](const TCellObj& cell) -> std::string {
        const int x = table->TableIndent + table->GridIndent + cell.Box.left() + table->CellPadding + 2;
        const int y = cell.Cell.StartY + 3;
        link.reset();
        return page.Doc.LinkAt(x, y, control, link) && link ? link->Url : std::string();
    };
    EXPECT_EQ(linkAt(*CellOf(*table, 0, 0)), "");
    EXPECT_EQ(linkAt(*CellOf(*table, 0, 1)), "b.htm");
    EXPECT_EQ(linkAt(*CellOf(*table, 1, 0)), "c.htm");
    // The spanning cell answers over its filler's column as well.
    const TCellObj& wide = *CellOf(*table, 1, 0);
    const int rightPart = table->TableIndent + table->GridIndent + table->Widths[0] + table->CellSpacing + 1;
    TCharHit wideHit;
    const int wideIndex = page.Doc.CharIndexAt(rightPart, wide.Cell.StartY + 3, wideHit);
    EXPECT_GE(wideIndex, wide.Cell.StartCurs);
    EXPECT_LE(wideIndex, wide.Cell.StartCurs + wide.Cell.CellCharCount);
    // The caption band goes to the caption.
    const int captionLine = table->YPosition + 3;
    const auto* captionText = static_cast<TSection*>(table->Caption.Cell.Section(0));
    link.reset();
    ASSERT_TRUE(page.Doc.LinkAt(table->TableIndent + page.Line(*captionText, 0).LineX + 2, captionLine, control, link));
    EXPECT_EQ(link->Url, "cap.htm");
    // Characters: the index of a point in a cell, and back to the point.
    const TCellObj& second = *CellOf(*table, 0, 1);
    const int x = table->TableIndent + table->GridIndent + second.Box.left() + table->CellPadding;
    TCharHit hit;
    const int index = page.Doc.CharIndexAt(x + 1, second.Cell.StartY + 2, hit);
    ASSERT_GE(index, 0);
    EXPECT_EQ(index, second.Cell.StartCurs);
    int cx = 0, cy = 0;
    ASSERT_TRUE(page.Doc.CharIndexToXY(index, cx, cy));
    EXPECT_EQ(cx, x);
    EXPECT_EQ(cy, second.Cell.StartY);
    char ch = 0;
    TSectionBase* owner = nullptr;
    ASSERT_TRUE(page.Doc.CharAtIndex(index, ch, owner));
    EXPECT_EQ(ch, 'l');
    // Outside the grid there is nothing.
    EXPECT_EQ(page.Doc.CharIndexAt(table->TableIndent + table->TableWidth + 5, second.Cell.StartY + 2, hit), -1);
}

TEST(TableQueries, CopyingGoesCaptionRowsThenABottomCaption)
{
    TParsedPage top("<table><caption>haut</caption><tr><td>a<td>b<tr><td>c</table>fin");
    SelectAll(top.Doc);
    EXPECT_EQ(top.Doc.SelectionText(), "haut\r\na\r\nb\r\nc\r\nfin\r\n");
    TParsedPage bottom("<table><caption align=bottom>bas</caption><tr><td>a<td>b</table>");
    SelectAll(bottom.Doc);
    EXPECT_EQ(bottom.Doc.SelectionText(), "a\r\nb\r\nbas\r\n");
}

TEST(TableQueries, SearchRunsThroughTheCellsInOrder)
{
    TParsedPage page("avant<table><caption>cible 1</caption><tr><td>rien<td>cible 2</table>cible 3");
    const int first = page.Doc.FindText(0, "cible", true);
    ASSERT_GE(first, 0);
    const int second = page.Doc.FindText(first + 1, "CIBLE", false);
    const int third = page.Doc.FindText(second + 1, "cible", true);
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    char ch = 0;
    TSectionBase* owner = nullptr;
    ASSERT_TRUE(page.Doc.CharAtIndex(second + 6, ch, owner));
    EXPECT_EQ(ch, '2');
    EXPECT_EQ(page.Doc.FindText(third + 1, "cible", true), -1);
}

// ---------------------------------------------------------------------------
// Corpus: every page with a table lays out and paints, wide and narrow.

TEST(TableCorpus, EveryTablePageLaysOutAndPaints)
{
    const QString corpus = CorpusFolder();
    if (corpus.isEmpty())
        GTEST_SKIP() << "corpus absent";
    TRecordingDialogs dialogs;
    TScopedDialogs scoped(dialogs);
    int pages = 0;
    QDirIterator it(corpus + QStringLiteral("/html"), { QStringLiteral("*.htm"), QStringLiteral("*.html") },
        QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || !file.readAll().toLower().contains("<table"))
            continue;
        ++pages;
        for (int width : { 800, 120 }) {
            TSectionList doc;
            doc.SetBackground(clWhite);
            TStringList names;
            ASSERT_NO_THROW(ParseHtmlFile(doc, names, path)) << path.toStdString();
            int widest = 0, chars = 0;
            const int height = doc.DoLayout(0, width, widest, chars);
            EXPECT_GT(height, 0) << path.toStdString();
            QImage image(width, 600, QImage::Format_RGB32);
            QPainter painter(&image);
            for (int top = 0; top < std::min(height, 6000); top += 600) {
                doc.SetScrollOffset(top);
                doc.Draw(painter, QRect(0, 0, width, 600), 2000, 0, 0);
            }
            SelectAll(doc);
            EXPECT_FALSE(doc.SelectionText().empty()) << path.toStdString();
        }
    }
    EXPECT_GE(pages, 5);
}

TEST(TableQueries, AFloatingTableAnswersForItsCellsAndTheTextBesideIt)
{
    TParsedPage page("<table align=left><tr><td>gauche</table>texte \xE0 c\xF4t\xE9", 400);
    ThtmlTable* table = TableOf(page);
    ASSERT_NE(table, nullptr);
    const TCellObj& cell = *CellOf(*table, 0, 0);
    TCharHit hit;
    const int inCell = page.Doc.CharIndexAt(ContentLeftOf(*table, cell) + 1, cell.Cell.StartY + 2, hit);
    EXPECT_EQ(inCell, cell.Cell.StartCurs);
    const TSection* beside = page.Filled()[0];
    const int inText = page.Doc.CharIndexAt(page.Line(*beside, 0).LineX + 1, beside->YPosition + 2, hit);
    EXPECT_EQ(inText, beside->StartIndex);
}

TEST(TableQueries, NothingAnswersBeforeTheFirstLayout)
{
    TSectionList doc;
    TStringList names;
    const std::string html = "<table><tr><td><a href=x.htm>x</a></table>";
    ParseHtmlBuffer(doc, names, html.data(), html.size());
    ThtmlTable* table = TablesOf(doc).at(0);
    TObject* control = nullptr;
    std::unique_ptr<TUrlTarget> link;
    TCharHit hit;
    int x = 0, y = 0;
    EXPECT_FALSE(table->LinkAt(3, 3, control, link));
    EXPECT_EQ(table->CharIndexAt(3, 3, hit), -1);
    EXPECT_FALSE(table->CharIndexToXY(0, x, y));
    std::string dump;
    table->DumpLayout(dump, 0);
    EXPECT_NE(dump.find("ThtmlTable"), std::string::npos);
}
