// Text layout from real HTML: line breaking, floats and clearing, empty
// paragraphs and breaks, list markers, rules, selection copying, queries,
// painting (reference pairs) and layout errors.

#include "LayoutTestSupport.h"
#include "TestSupport.h"

#include "html/HtmlSectionsMeasure.h"
#include "platform/Dialogs.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

namespace {

std::string LineText(const TSection& s, const LineRec& line) { return s.Buff.substr(line.Start, line.Ln); }

std::vector<std::string> LinesOf(const TSection& s)
{
    std::vector<std::string> lines;
    for (TObject* item : s.Lines)
        lines.push_back(LineText(s, *static_cast<LineRec*>(item)));
    return lines;
}

int TextWidthOf(const TSection& s, std::string_view text)
{
    const TCharWidths& w = CharWidths(s.Fonts.FontObj(0)->TheFont());
    int width = 0;
    for (char c : text)
        width += w[static_cast<unsigned char>(c)];
    return width;
}

std::vector<THorzLine*> RulesOf(const TParsedPage& page)
{
    std::vector<THorzLine*> rules;
    for (TObject* item : page.Doc)
        if (auto* rule = dynamic_cast<THorzLine*>(item))
            rules.push_back(rule);
    return rules;
}

} // namespace

TEST(LayoutLines, WordsWrapAndALongWordOverflowsWhole)
{
    const std::string word(40, 'm');
    TParsedPage page("short " + word + " end", 100);
    TSection* s = page.Filled()[0];
    EXPECT_EQ(LinesOf(*s), (std::vector<std::string>{"short ", word + " ", "end"}));
    EXPECT_GT(TextWidthOf(*s, word), 100);
    EXPECT_GT(page.Widest, 100); // the overflow can be scrolled to
    // Lines stack without gaps.
    EXPECT_EQ(page.Line(*s, 1).Y, page.Line(*s, 0).Height());
}

TEST(LayoutLines, EveryLineTakesACharacterWhateverTheWidth)
{
    for (int width : {0, -50, 1}) {
        std::string nested = "ab cd";
        for (int i = 0; i < 40; ++i)
            nested += "<ul>";
        TParsedPage page(nested + "<li>deep words here", width);
        for (TSection* s : page.Filled())
            for (TObject* item : s->Lines)
                EXPECT_GT(static_cast<LineRec*>(item)->Ln, 0);
        EXPECT_GT(page.Height, 0);
    }
}

TEST(LayoutLines, JustificationPlacesLines)
{
    TParsedPage page("<p align=center>mid<p align=right>right", 400);
    const auto filled = page.Filled();
    const LineRec& centred = page.Line(*filled[0], 0);
    EXPECT_EQ(centred.LineX, (400 - TextWidthOf(*filled[0], "mid")) / 2);
    const LineRec& right = page.Line(*filled[1], 0);
    EXPECT_EQ(right.LineX, 400 - TextWidthOf(*filled[1], "right") - 1);
}

TEST(LayoutLines, PreformattedTextNeverWraps)
{
    TParsedPage page("<pre>" + std::string(200, 'x') + " y</pre>", 100);
    TSection* s = page.Filled()[0];
    EXPECT_EQ(s->Lines.Count(), 1);
    EXPECT_GT(page.Widest, 200);
}

TEST(LayoutLines, EmptyParagraphTakesNoLineButBreakOnEmptyLineDoes)
{
    TParsedPage one("a<br>b");
    TParsedPage two("a<br><br>b");
    TParsedPage para("a<p>\n<p>b");
    TParsedPage paraPlain("a<p>b");
    const int lineHeight = one.Filled()[0]->Fonts.FontObj(0)->FontHeight;
    EXPECT_EQ(two.Height - one.Height, lineHeight);
    // The blank between the two P tags ends the paragraph space run, so a
    // second space is added, but the empty paragraph itself has no line.
    int emptyLines = 0;
    for (TSection* s : para.TextSections())
        if (s->Buff.empty())
            emptyLines += s->Lines.Count();
    EXPECT_EQ(emptyLines, 0);
    EXPECT_EQ(para.Height - paraPlain.Height, para.Doc.Section(1)->SectionHeight);
}

TEST(LayoutFloats, LeftImageWithTextOnItsRightAndClearBelow)
{
    TParsedPage page("<img src=none.gif width=50 height=60 align=left>some words beside"
                     "<br clear=left>below",
                     400);
    const auto filled = page.Filled();
    ASSERT_EQ(filled.size(), 2u);
    const TImageObj* image = filled[0]->Images.Image(0);
    EXPECT_EQ(image->ObjWidth, 50);
    EXPECT_EQ(image->ObjHeight, 60);
    // The text starts right of the image and its space.
    const LineRec& beside = page.Line(*filled[0], filled[0]->Lines.Count() - 1);
    EXPECT_EQ(beside.LineX, 50 + image->HSpace);
    EXPECT_GE(filled[0]->DrawHeight, 60);
    // CLEAR=left: the next text starts one pixel below the float.
    const TSection* below = filled[1];
    const LineRec& last = page.Line(*below, below->Lines.Count() - 1);
    EXPECT_EQ(last.Y, 61);
    EXPECT_EQ(last.LineX, 0);
}

TEST(LayoutFloats, TextPassingTheFloatReturnsToTheLeftEdge)
{
    std::string words;
    for (int i = 0; i < 60; ++i)
        words += "word ";
    TParsedPage page("<img src=none.gif width=40 height=30 align=left>" + words, 200);
    TSection* s = page.Filled()[0];
    bool sawBeside = false, sawBelow = false;
    for (TObject* item : s->Lines) {
        const auto* line = static_cast<LineRec*>(item);
        if (line->Ln == 0 || line->Start == 0)
            continue;
        if (line->Y < 30)
            sawBeside = sawBeside || line->LineX == 45;
        else
            sawBelow = sawBelow || line->LineX == 0;
        EXPECT_EQ(line->LineX, line->Y < 30 ? 45 : 0);
    }
    EXPECT_TRUE(sawBeside);
    EXPECT_TRUE(sawBelow);
}

TEST(LayoutImages, TallInlineImageMakesRoomAboveTheText)
{
    TParsedPage page("text <img src=none.gif width=30 height=80> more", 400);
    TSection* s = page.Filled()[0];
    ASSERT_EQ(s->Lines.Count(), 1);
    const LineRec& line = page.Line(*s, 0);
    EXPECT_EQ(line.SpaceBefore, 80 + line.Descent - line.LineHeight);
    EXPECT_EQ(line.Height(), 80 + line.Descent);
    int ix = -1, iy = -1;
    EXPECT_EQ(page.Doc.ImageAt(line.LineX + TextWidthOf(*s, "text ") + 3, 10, ix, iy), s->Images.Image(0));
    EXPECT_EQ(ix, 3);
}

TEST(LayoutLists, NumberingTypesAreCapped)
{
    std::string roman = "<ol type=I>", alpha = "<ol type=A>";
    for (int i = 0; i < 27; ++i) {
        roman += "<li>r";
        alpha += "<li>a";
    }
    TParsedPage romanPage(roman + "</ol>");
    TParsedPage alphaPage(alpha + "</ol>");
    const std::string romanDump = romanPage.Dump();
    EXPECT_NE(romanDump.find("marker=XIX."), std::string::npos);
    size_t xx = 0;
    for (size_t at = romanDump.find("marker=XX."); at != std::string::npos; at = romanDump.find("marker=XX.", at + 1))
        ++xx;
    EXPECT_EQ(xx, 8u); // items 20 to 27
    EXPECT_EQ(ListNumberText('A', 25), "Y.");
    EXPECT_EQ(ListNumberText('A', 26), "Z.");
    EXPECT_EQ(ListNumberText('A', 40), "Z.");
    EXPECT_EQ(ListNumberText('a', 2), "b.");
    EXPECT_EQ(ListNumberText('i', 4), "iv.");
    EXPECT_EQ(ListNumberText('1', 12), "12.");
    EXPECT_NE(alphaPage.Dump().find("marker=Z."), std::string::npos);
}

TEST(LayoutLists, ItemsIndentByLevel)
{
    TParsedPage page("<ul><li>one<ul><li>two</ul><li>three</ul>after");
    const auto filled = page.Filled();
    ASSERT_EQ(filled.size(), 4u);
    EXPECT_EQ(page.Line(*filled[0], 0).LineX, 35);
    EXPECT_EQ(page.Line(*filled[1], 0).LineX, 70);
    EXPECT_EQ(page.Line(*filled[2], 0).LineX, 35);
    EXPECT_EQ(page.Line(*filled[3], 0).LineX, 0);
}

TEST(LayoutRules, WidthAlignmentAndSize)
{
    TParsedPage page("<hr width=50% align=right><hr size=50><hr width=150%><hr width=100 align=left>", 600);
    const auto rules = RulesOf(page);
    auto rule = [&](int i) { return rules.at(i); };
    EXPECT_EQ(rule(0)->BarRight, 600);
    EXPECT_EQ(rule(0)->BarLeft, 300);
    EXPECT_EQ(rule(1)->Thickness, 2);
    EXPECT_EQ(rule(1)->SectionHeight, 20);
    EXPECT_EQ(rule(2)->BarLeft, 10);
    EXPECT_EQ(rule(2)->BarRight, 590);
    EXPECT_EQ(rule(3)->BarLeft, 0);
    EXPECT_EQ(rule(3)->BarRight, 100);
}

TEST(LayoutSelection, CopyAcrossAListKeepsThreeBlanksPerLevel)
{
    TParsedPage page("<p>top<ul><li>one<ul><li>two</ul></ul>");
    page.Doc.SelB = 0;
    page.Doc.SelE = 1000;
    EXPECT_EQ(page.Doc.SelectionText(), "\r\ntop\r\n   one\r\n      two\r\n");
    // A selection starting inside a line copies no indentation.
    page.Doc.SelB = page.Filled()[1]->StartIndex + 1;
    EXPECT_EQ(page.Doc.SelectionText(), "ne\r\n      two\r\n");
}

TEST(LayoutQueries, LinksCharactersAndSearch)
{
    TParsedPage page("<a href=\"x.htm\" target=t>link</a> plain Text", 600);
    TSection* s = page.Filled()[0];
    TObject* control = nullptr;
    std::unique_ptr<TUrlTarget> link;
    ASSERT_TRUE(page.Doc.LinkAt(2, 3, control, link));
    EXPECT_EQ(link->Url, "x.htm");
    EXPECT_EQ(link->Target, "t");
    link.reset();
    EXPECT_FALSE(page.Doc.LinkAt(TextWidthOf(*s, "link pl"), 3, control, link));
    EXPECT_FALSE(page.Doc.LinkAt(2, 500, control, link));

    TCharHit hit;
    const int x = TextWidthOf(*s, "link p") + 1;
    const int index = page.Doc.CharIndexAt(x, 3, hit);
    EXPECT_EQ(index, s->StartIndex + 6);
    int cx = 0, cy = 0;
    ASSERT_TRUE(page.Doc.CharIndexToXY(index, cx, cy));
    EXPECT_EQ(cx, TextWidthOf(*s, "link p"));
    EXPECT_EQ(cy, 0);
    char ch = 0;
    TSectionBase* owner = nullptr;
    ASSERT_TRUE(page.Doc.CharAtIndex(index, ch, owner));
    EXPECT_EQ(ch, 'l'); // the character after the caret
    EXPECT_EQ(owner, s);
    EXPECT_EQ(page.Doc.CharIndexAt(x, 900, hit), -1);

    EXPECT_EQ(page.Doc.FindText(0, "text", true), -1);
    EXPECT_EQ(page.Doc.FindText(0, "text", false), s->StartIndex + 11);
    EXPECT_EQ(page.Doc.FindText(0, "Text", true), s->StartIndex + 11);
    EXPECT_EQ(page.Doc.FindText(12, "Text", true), -1);
}

TEST(LayoutQueries, TopOfSectionAndSectionAt)
{
    TParsedPage page("one<p>two<hr>three");
    int top = 0;
    for (int i = 0; i < page.Doc.Count(); ++i) {
        EXPECT_EQ(page.Doc.TopOfSection(i), top);
        top += page.Doc.Section(i)->SectionHeight;
    }
    EXPECT_EQ(page.Doc.TopOfSection(999), page.Doc.TopOfSection(page.Doc.Count() - 1));
    TSectionBase* section = nullptr;
    int sectionTop = -1, index = -1;
    ASSERT_TRUE(page.Doc.SectionAt(page.Doc.Section(2)->YPosition + 1, section, sectionTop, index));
    EXPECT_EQ(index, 2);
}

TEST(LayoutFonts, DefaultSizeScalesHeightsAndRefreshesFonts)
{
    TParsedPage page("<h1>big</h1>text<p>more");
    const int before = page.Height;
    page.Doc.SetDefaults("Times New Roman", "Courier New", clWhite, 0xFF0000, clBlack, 24);
    page.Layout(600);
    EXPECT_GT(page.Height, before * 3 / 2);
    EXPECT_EQ(page.FirstOf<THeadingSpace>()->SectionHeight, 32); // heading space 16 at size 24
    EXPECT_EQ(page.Filled()[0]->Fonts.FontObj(0)->TheFont().Size(), 48);
}

namespace {

class TFailingSection : public TSectionBase {
public:
    using TSectionBase::TSectionBase;
    int ComputeLayout(int, int&, int&, IndentManager&) override { throw EProcessError("Table has too many Columns"); }
    std::string KindName() const override { return "TFailingSection"; }
};

} // namespace

TEST(LayoutErrors, FailingSectionsAreDroppedAndReportedOnce)
{
    TRecordingDialogs dialogs;
    TScopedDialogs scoped(dialogs);
    TParsedPage page("before");
    page.Doc.AddSection(std::make_unique<TFailingSection>(&page.Doc));
    page.Doc.AddSection(std::make_unique<TFailingSection>(&page.Doc));
    page.Doc.AddSection(std::make_unique<TParagraphSpace>(&page.Doc));
    page.Layout(600);
    ASSERT_EQ(dialogs.Shown.size(), 1);
    EXPECT_EQ(dialogs.Shown[0].Text, QStringLiteral("Table has too many Columns"));
    EXPECT_EQ(page.Doc.Count(), 2);
    EXPECT_GT(page.Height, page.Doc.Section(1)->SectionHeight);
}

// ---------------------------------------------------------------------------
// Painting.

TEST(LayoutPaint, ReferencePairsRenderIdentically)
{
    const std::pair<const char*, const char*> pairs[] = {
        {"<b>bold</b> and   <i>slanted</i>\ntext", "<strong>bold</strong> and <em>slanted</em> text"},
        {"<p>x<p><p>y", "<p>x<p>y"},
        {"a&nbsp;&amp;&#98;", "a\xA0&amp;b"},
        {"<ul><li>one<li>two</ul>", "<menu><li>one<li>two</menu>"},
    };
    for (const auto& [test, reference] : pairs) {
        TParsedPage a(test, 400);
        TParsedPage b(reference, 400);
        EXPECT_EQ(a.Render(400, 200), b.Render(400, 200)) << test;
    }
}

TEST(LayoutPaint, BulletColoursByLevelAndOutlinesOnDarkBackground)
{
    const std::string list = "<ul><li>one<ul><li>two<ul><li>three</ul></ul></ul>";
    auto discCentre = [](TParsedPage& page, int item) {
        const TSection* s = page.Filled()[item];
        const LineRec& line = page.Line(*s, 0);
        return QPoint(s->FirstLineLeft - 8, line.Y + line.SpaceBefore + line.LineHeight / 2);
    };
    TParsedPage light(list, 400);
    const QImage lightImage = light.Render(400, 200);
    EXPECT_EQ(lightImage.pixelColor(discCentre(light, 0)), QColor(0, 0, 128));
    EXPECT_EQ(lightImage.pixelColor(discCentre(light, 1)), QColor(128, 0, 0));
    EXPECT_EQ(lightImage.pixelColor(discCentre(light, 2)), QColor(255, 0, 0));

    TParsedPage dark("<body bgcolor=black text=yellow>" + list, 400);
    const QImage darkImage = dark.Render(400, 200);
    for (int item = 0; item < 3; ++item) {
        const QPoint centre = discCentre(dark, item);
        bool outline = false;
        for (int dx = -2; dx <= 2; ++dx)
            for (int dy = -2; dy <= 2; ++dy)
                outline = outline || darkImage.pixelColor(centre + QPoint(dx, dy)) == QColor(255, 255, 0);
        EXPECT_TRUE(outline) << item;
        EXPECT_EQ(darkImage.pixelColor(centre), QColor(0, 0, 0)) << item;
    }
}

TEST(LayoutPaint, SelectionIsDrawnOpaque)
{
    TParsedPage page("<font color=blue>selected</font>", 400);
    page.Doc.SelB = 0;
    page.Doc.SelE = 3;
    const QImage image = page.Render(400, 50);
    const LineRec& line = page.Line(*page.Filled()[0], 0);
    // The selection box is filled with the font colour.
    EXPECT_EQ(image.pixelColor(1, line.LineHeight - 2), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(300, line.LineHeight - 2), QColor(255, 255, 255));
}

TEST(LayoutPaint, RulesBevelOrSolid)
{
    TParsedPage page("<hr color=red><hr noshade>", 200);
    const QImage image = page.Render(200, 60);
    const auto rules = RulesOf(page);
    const THorzLine* solid = rules.at(0);
    const int y = solid->YPosition + (solid->SectionHeight - solid->Thickness) / 2;
    EXPECT_EQ(image.pixelColor(100, y), QColor(255, 0, 0));
    const THorzLine* plain = rules.at(1);
    const int y2 = plain->YPosition + (plain->SectionHeight - plain->Thickness) / 2;
    EXPECT_EQ(image.pixelColor(100, y2), QColor(0, 0, 0));
    EXPECT_EQ(image.pixelColor(100, y2 + 1), QColor(0, 0, 0));
}
