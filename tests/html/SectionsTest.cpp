// The builder operations of text sections and cells: blank rules, runs,
// placeholders, width ranges, clearing the document.

#include "LayoutTestSupport.h"

#include "html/HtmlSectionsMeasure.h"

#include <gtest/gtest.h>

namespace {

TMyFont BaseFont()
{
    TMyFont font;
    font.setFamily(QStringLiteral("Times New Roman"));
    font.SetLogicalSize(12, 12);
    return font;
}

std::unique_ptr<TSection> NewSection(TSectionList& doc)
{
    return std::make_unique<TSection>(&doc, 0, JustLeft, TUrlTarget(), BaseFont(), 0, TSubSuper::None);
}

void FloatImage(TAttributeList& attributes)
{
    attributes.AddAttribute(SrcSy, 0, "none.gif");
    attributes.AddAttribute(AlignSy, 0, "left");
    attributes.AddAttribute(WidthSy, 20, "20");
    attributes.AddAttribute(HeightSy, 20, "20");
}

} // namespace

TEST(SectionsText, LeadingBlankRules)
{
    TSectionList doc;
    auto s = NewSection(doc);
    s->AddText(" a");
    s->AddText(" b ");
    s->AddText(" c");
    s->AddText("");
    EXPECT_EQ(s->Buff, "a b c");

    auto afterFloat = NewSection(doc);
    TAttributeList attributes;
    FloatImage(attributes);
    afterFloat->AddImage(attributes, &doc);
    afterFloat->AddText(" text");
    EXPECT_EQ(afterFloat->Buff, std::string(1, ImageChar) + "text");

    TPreFormated pre(&doc, 0, JustLeft, TUrlTarget(), BaseFont(), 0, TSubSuper::None);
    pre.AddText("  kept");
    EXPECT_EQ(pre.Buff, "  kept");
}

TEST(SectionsText, RunsReplaceOrStartAndKeepTheLink)
{
    TSectionList doc;
    auto s = NewSection(doc);
    TMyFont bold = BaseFont();
    bold.setBold(true);
    s->ChangeFont(bold, 0, TSubSuper::None); // at position 0: replaces the first run
    EXPECT_EQ(s->Fonts.Count(), 1);
    EXPECT_TRUE(s->Fonts.FontObj(0)->TheFont().bold());
    s->SetLink(true, BaseFont(), 0, TSubSuper::None, TUrlTarget("a.htm", ""));
    s->AddText("link");
    s->ChangeFont(BaseFont(), StyleItalic, TSubSuper::Sub);
    ASSERT_EQ(s->Fonts.Count(), 2);
    const TFontObj* sub = s->Fonts.FontObj(1);
    EXPECT_EQ(sub->Pos, 4);
    EXPECT_EQ(sub->UrlTarget.Url, "a.htm"); // a new run inherits the link
    EXPECT_TRUE(sub->TheFont().italic());
    EXPECT_EQ(sub->TheFont().pixelSize(), BaseFont().pixelSize() * 3 / 4);
    s->SetLink(false, BaseFont(), 0, TSubSuper::None, TUrlTarget());
    EXPECT_TRUE(s->Fonts.FontObj(1)->UrlTarget.Empty());
}

TEST(SectionsText, JustificationQueryKeepsALineOnAnEmptySection)
{
    TSectionList doc;
    auto s = NewSection(doc);
    EXPECT_EQ(s->CurrentJustification(), JustLeft);
    EXPECT_EQ(s->Buff, " ");
}

TEST(SectionsCell, AddSectionFinishesSections)
{
    TSectionList doc;
    doc.AddSection(nullptr);
    EXPECT_EQ(doc.Count(), 0);
    doc.AddSection(std::make_unique<TPreFormated>(&doc, 0, JustLeft, TUrlTarget(), BaseFont(), 0, TSubSuper::None));
    ASSERT_EQ(doc.Count(), 1);
    EXPECT_EQ(doc.ItemAs<TSection>(0)->Buff, " ");
    EXPECT_EQ(doc.Section(0)->Document, &doc);
    doc.Clear();
    EXPECT_EQ(doc.Count(), 0);
}

TEST(SectionsWidth, RangesFromWordsAndWholeText)
{
    TParsedPage page("tiny enormousword<pre>pre line</pre>");
    const auto filled = page.Filled();
    int minimum = 0, maximum = 0;
    filled[0]->WidthRange(minimum, maximum);
    const TCharWidths& w = CharWidths(filled[0]->Fonts.FontObj(0)->TheFont());
    auto width = [&](std::string_view t) {
        int sum = 0;
        for (char c : t)
            sum += w[static_cast<unsigned char>(c)];
        return sum;
    };
    EXPECT_EQ(minimum, width("enormousword"));
    EXPECT_EQ(maximum, width("tiny enormousword"));
    filled[1]->WidthRange(minimum, maximum);
    EXPECT_EQ(minimum, maximum);
    EXPECT_LE(minimum, 500);
}
