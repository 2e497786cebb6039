// The block, list and preformatted parsers and the entry points, driven
// with real HTML text and checked on the section model.

#include "LayoutTestSupport.h"
#include "TestSupport.h"

#include "html/HtmlParser.h"
#include "html/HtmlTables.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

namespace {

template <class T>
int CountOf(const TSectionList& doc)
{
    int n = 0;
    for (TObject* item : doc)
        n += dynamic_cast<T*>(item) != nullptr;
    return n;
}

std::string Kinds(const TSectionList& doc)
{
    std::string kinds;
    for (TObject* item : doc) {
        const auto* s = static_cast<TSectionBase*>(item);
        if (const auto* t = dynamic_cast<const TSection*>(s); t && t->Buff.empty())
            continue; // empty text sections take no room
        kinds += (kinds.empty() ? "" : ",") + s->KindName().substr(1);
    }
    return kinds;
}

std::string AllText(const TParsedPage& page)
{
    std::string text;
    for (TSection* s : page.TextSections())
        text += s->Buff + "|";
    return text;
}

} // namespace

TEST(ParserBlocks, ParagraphsEmitOneSpaceForARun)
{
    TParsedPage page("one<p><P></p>two");
    EXPECT_EQ(CountOf<TParagraphSpace>(page.Doc), 1);
    EXPECT_EQ(Kinds(page.Doc), "Section,ParagraphSpace,Section");
    // P ALIGN sets the justification of the paragraph only.
    TParsedPage aligned("<p align=center>mid<p>left");
    const auto filled = aligned.Filled();
    ASSERT_EQ(filled.size(), 2u);
    EXPECT_EQ(filled[0]->Justify, JustCenter);
    EXPECT_EQ(filled[1]->Justify, JustLeft);
}

TEST(ParserBlocks, HeadingSpacingFontAndReturn)
{
    TParsedPage page("before<h2 align=right>Title</h2>after");
    EXPECT_EQ(Kinds(page.Doc), "Section,HeadingSpace,Section,HeadingSpace,Section");
    const auto filled = page.Filled();
    ASSERT_EQ(filled.size(), 3u);
    const TMyFont& heading = filled[1]->Fonts.FontObj(0)->TheFont();
    EXPECT_TRUE(heading.bold());
    EXPECT_EQ(heading.LogicalSize(), 18);
    EXPECT_EQ(filled[1]->Justify, JustRight);
    const TMyFont& after = filled[2]->Fonts.FontObj(0)->TheFont();
    EXPECT_FALSE(after.bold());
    EXPECT_EQ(after.LogicalSize(), 12);

    // H without a digit: level 0, 12 points, not bold, heading space 8.
    TParsedPage plain("<h>x</h>");
    const TMyFont& h0 = plain.Filled()[0]->Fonts.FontObj(0)->TheFont();
    EXPECT_FALSE(h0.bold());
    EXPECT_EQ(h0.LogicalSize(), 12);
    EXPECT_EQ(plain.FirstOf<THeadingSpace>()->SectionHeight, 8);
}

TEST(ParserBlocks, StyleAndFontRuns)
{
    TParsedPage page("a<b>b<i>c</b>d</i><tt>e</tt><font size=+2 color=red face=\"Arial, Helvetica\">f</font>g");
    TSection* s = page.Filled()[0];
    EXPECT_EQ(s->Buff, "abcdefg");
    auto fontAt = [&](int pos) -> const TMyFont& { return s->Fonts.GetFontObjAt(pos)->TheFont(); };
    EXPECT_FALSE(fontAt(0).bold());
    EXPECT_TRUE(fontAt(1).bold());
    EXPECT_TRUE(fontAt(2).bold() && fontAt(2).italic());
    EXPECT_TRUE(!fontAt(3).bold() && fontAt(3).italic());
    EXPECT_TRUE(fontAt(4).Fixed);
    EXPECT_EQ(fontAt(4).LogicalSize(), 10);
    EXPECT_EQ(fontAt(5).LogicalSize(), 18); // step 3 + 2
    EXPECT_EQ(fontAt(5).Color, clRed);
    EXPECT_EQ(fontAt(5).family(), QStringLiteral("Arial"));
    EXPECT_EQ(fontAt(6).LogicalSize(), 12);
}

TEST(ParserBlocks, BigAndSmallStopAtTheEndsOfTheScale)
{
    TParsedPage page("<font size=7><big>a</big></font><font size=1><small>b</small></font><big>c</big>");
    TSection* s = page.Filled()[0];
    EXPECT_EQ(s->Fonts.GetFontObjAt(0)->TheFont().LogicalSize(), 36);
    EXPECT_EQ(s->Fonts.GetFontObjAt(1)->TheFont().LogicalSize(), 8);
    EXPECT_EQ(s->Fonts.GetFontObjAt(2)->TheFont().LogicalSize(), 14);
}

TEST(ParserBlocks, LinksAndAnchors)
{
    TParsedPage page("<a name=Top>x</a><a href=\"p.htm#s\" target=main>link</a> after");
    TSection* s = page.Filled()[0];
    ASSERT_EQ(page.Names.Count(), 1);
    EXPECT_EQ(page.Names.Strings(0), QStringLiteral("TOP"));
    EXPECT_EQ(page.Names.Objects(0), s);
    const TFontObj* link = s->Fonts.GetFontObjAt(2);
    EXPECT_EQ(link->UrlTarget.Url, "p.htm#s");
    EXPECT_EQ(link->UrlTarget.Target, "main");
    EXPECT_TRUE(link->TheFont().underline());
    EXPECT_EQ(link->TheFont().Color, page.Doc.HotSpotColor);
    EXPECT_TRUE(s->Fonts.GetFontObjAt(s->Buff.size() - 1)->UrlTarget.Empty());
}

TEST(ParserBlocks, TitleBaseBodyAndTextAfterBody)
{
    TParsedPage page("<title>Le &eacute;t&eacute;</title><base href=\"c:\\docs\\\" target=f>"
                     "<body bgcolor=black text=white link=#00ff00>shown</body>hidden");
    EXPECT_EQ(page.Result.Title, "Le \xE9t\xE9");
    EXPECT_EQ(page.Result.Base, "c:\\docs\\");
    EXPECT_EQ(page.Result.BaseTarget, "f");
    EXPECT_EQ(page.Doc.Background, clBlack);
    EXPECT_EQ(page.Doc.FontColor, clWhite);
    EXPECT_EQ(page.Doc.HotSpotColor, 0x00FF00);
    EXPECT_EQ(AllText(page).find("hidden"), std::string::npos);
    EXPECT_EQ(page.Filled()[0]->Fonts.FontObj(0)->TheFont().Color, clWhite);
}

TEST(ParserBlocks, GreaterThanDroppedOutsidePreKeptInside)
{
    TParsedPage page("a > b<pre>c > d</pre>");
    const auto filled = page.Filled();
    ASSERT_EQ(filled.size(), 2u);
    EXPECT_EQ(filled[0]->Buff, "a b");
    EXPECT_EQ(filled[1]->Buff, "c > d");
}

TEST(ParserBlocks, BreakClearAndRule)
{
    TParsedPage page("x<br clear=left>y<br clear=all>z<hr size=5 width=50% align=right noshade>");
    const auto filled = page.Filled();
    ASSERT_EQ(filled.size(), 3u);
    EXPECT_EQ(filled[1]->ClearAttr, ClearLeft);
    EXPECT_EQ(filled[2]->ClearAttr, ClearAll);
    auto* rule = dynamic_cast<THorzLine*>(page.Doc.Section(page.Doc.Count() - 1));
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rule->Thickness, 5);
    EXPECT_TRUE(rule->Percent);
    EXPECT_EQ(rule->Width, 50);
    EXPECT_EQ(rule->Align, JustRight);
    EXPECT_TRUE(rule->NoShade);
}

TEST(ParserLists, ItemsLevelsAndNumbering)
{
    TParsedPage page("<ol type=A start=3><li>a<li><p>b<ul><li>c<ol><li>d</ol></ul><li>e</ol>after");
    std::vector<std::pair<std::string, int>> items;
    for (TSection* s : page.Filled())
        items.emplace_back(s->KindName() + ":" + s->Buff, s->ListLevel);
    const std::vector<std::pair<std::string, int>> expected = {
        {"TOListItem:a", 1}, {"TOListItem:b", 1}, {"TUListItem:c", 2},
        {"TOListItem:d", 3}, {"TOListItem:e", 1}, {"TSection:after", 0}};
    EXPECT_EQ(items, expected);
    const auto filled = page.Filled();
    EXPECT_EQ(static_cast<TOListItem*>(filled[0])->ItemNumber, 3);
    EXPECT_EQ(static_cast<TOListItem*>(filled[4])->ItemNumber, 5);
    EXPECT_EQ(static_cast<TOListItem*>(filled[4])->NumberType, 'A');
    // No paragraph space for the P right after LI.
    EXPECT_EQ(CountOf<TParagraphSpace>(page.Doc), 0);
}

TEST(ParserLists, AnyListEndClosesTheInnermostList)
{
    TParsedPage page("<ul><li>a</ol>b");
    const auto filled = page.Filled();
    ASSERT_EQ(filled.size(), 2u);
    EXPECT_EQ(filled[0]->ListLevel, 1);
    EXPECT_EQ(filled[1]->ListLevel, 0);
    EXPECT_EQ(filled[1]->Buff, "b");
}

TEST(ParserLists, DefinitionListsAndBlockquote)
{
    TParsedPage page("<dl><dt>term<dd>meaning</dl><blockquote>quoted</blockquote>");
    const auto filled = page.Filled();
    ASSERT_EQ(filled.size(), 3u);
    EXPECT_EQ(filled[0]->KindName(), "TDListItem");
    EXPECT_EQ(filled[0]->ListLevel, 0);
    EXPECT_EQ(filled[1]->ListLevel, 1);
    EXPECT_EQ(filled[2]->ListLevel, 1);
}

TEST(ParserPre, LinesBecomeSectionsAndBlanksStay)
{
    TParsedPage page("<pre>a  b\r\n\r\n<b>c</b>&amp;<br>d</pre>e");
    std::vector<std::string> pre;
    for (TSection* s : page.TextSections())
        if (dynamic_cast<TPreFormated*>(s))
            pre.push_back(s->Buff);
    const std::vector<std::string> expected = {"a  b", " ", "c&", "d"};
    EXPECT_EQ(pre, expected);
    EXPECT_TRUE(page.Filled().back()->Buff == "e");
}

TEST(ParserCentered, CenterAndDivSetJustification)
{
    TParsedPage page("<center>c<div align=right>r</div>c2</center>l");
    std::vector<std::pair<std::string, int>> got;
    for (TSection* s : page.Filled())
        got.emplace_back(s->Buff, s->Justify);
    // Either end tag closes either block.
    const std::vector<std::pair<std::string, int>> expected = {
        {"c", JustCenter}, {"r", JustRight}, {"c2", JustCenter}, {"l", JustLeft}};
    EXPECT_EQ(got, expected);
}

TEST(ParserTables, CellsFlowInTheEnclosingCell)
{
    TParsedPage page("<table><tr><td><p>one<td><b>two<tr><th>three</table>four");
    // The cells' sections go into the table's cells, the text after the
    // table into the document.
    std::vector<TSection*> filled;
    for (TObject* item : page.Doc)
        if (auto* table = dynamic_cast<ThtmlTable*>(item)) {
            for (TObject* row : table->Rows)
                for (TObject* cell : *static_cast<TCellList*>(row))
                    for (TObject* section : static_cast<TCellObj*>(cell)->Cell)
                        if (auto* s = dynamic_cast<TSection*>(section); s && !s->Buff.empty())
                            filled.push_back(s);
        } else if (auto* s = dynamic_cast<TSection*>(item); s && !s->Buff.empty()) {
            filled.push_back(s);
        }
    std::vector<std::string> texts;
    for (TSection* s : filled)
        texts.push_back(s->Buff);
    const std::vector<std::string> expected = {"one", "two", "three", "four"};
    EXPECT_EQ(texts, expected);
    // A P at the top of a cell adds no space; bold does not leak out of
    // a cell; TH is bold and centred.
    EXPECT_EQ(CountOf<TParagraphSpace>(page.Doc), 0);
    ASSERT_EQ(filled.size(), 4);
    EXPECT_TRUE(filled[2]->Fonts.FontObj(0)->TheFont().bold());
    EXPECT_EQ(filled[2]->Justify, JustCenter);
    EXPECT_FALSE(filled[3]->Fonts.FontObj(0)->TheFont().bold());
}

TEST(ParserHandlers, ScriptSoundMetaAndMap)
{
    TSectionList doc;
    TStringList names;
    std::string language, script;
    doc.OnScript = [&](QObject*, const std::string& lang, const std::string& text) {
        language = lang;
        script = text;
    };
    const std::string html = "<script language=js>a<b\n<!-- c --></SCRIPT>x"
                             "<map name=m><area shape=rect coords=\"0,0,9,9\" href=h></map>";
    ParseHtmlBuffer(doc, names, html.data(), html.size());
    EXPECT_EQ(language, "js");
    EXPECT_EQ(script, "a<b\r\n<!-- c -->");
    ASSERT_EQ(doc.MapList.Count(), 1);
    EXPECT_EQ(doc.MapList.ItemAs<TMapItem>(0)->MapKey, "M");
    EXPECT_EQ(doc.MapList.ItemAs<TMapItem>(0)->AreaRegions.size(), 1u);

    TMemoryFileSystem files;
    files.AddFile(QStringLiteral("C:\\p.htm"),
                  "<bgsound src=s.wav loop=3><meta http-equiv=refresh content=\"5; url=x.htm\">");
    TScopedFileSystem scoped(files);
    std::string sound;
    int loop = 0;
    std::string httpEq, content;
    TSectionList doc2;
    ParseHtmlFile(doc2, names, QStringLiteral("C:\\p.htm"), {},
                  [&](const std::string& src, int l, bool terminate) {
                      sound = src;
                      loop = l;
                      EXPECT_FALSE(terminate);
                  },
                  [&](const std::string& eq, const std::string&, const std::string& c) {
                      httpEq = eq;
                      content = c;
                  });
    EXPECT_EQ(sound, "s.wav");
    EXPECT_EQ(loop, 3);
    EXPECT_EQ(httpEq, "refresh");
    EXPECT_EQ(content, "5; url=x.htm");
}

namespace {

// A stand-in control recording what the parser gives it.
class TRecordingControl : public TSectionControl {
public:
    int ControlWidth() const override { return 40; }
    int ControlHeight() const override { return 20; }
    void PlaceAt(int, int) override {}
    void AddOption(const std::string& value, const std::string& caption, bool selected) override
    {
        Options.push_back(value + "=" + caption + (selected ? "*" : ""));
    }
    void AddLine(const std::string& line) override { Options.push_back("line:" + line); }
    void ResetToInitial() override { Reset = true; }
    std::vector<std::string> Options;
    bool Reset = false;
};

} // namespace

TEST(ParserHandlers, SelectOptionsAndTextArea)
{
    TSectionList doc;
    TStringList names;
    std::vector<TRecordingControl*> made;
    doc.FormControlFactory = [&](TSectionList&, TObject*&, const std::string& tag, const TAttributeList&,
                                 bool& placeholder) {
        placeholder = tag != "hidden";
        auto control = std::make_unique<TRecordingControl>();
        made.push_back(control.get());
        return std::unique_ptr<TSectionControl>(std::move(control));
    };
    const std::string html = "<select><option value=1>One <option selected>Two</option>x</select>"
                             "<textarea>l1\n&lt;b> </TEXTAREA >after<input type=hidden>";
    ParseHtmlBuffer(doc, names, html.data(), html.size());
    ASSERT_EQ(made.size(), 3u);
    EXPECT_EQ(made[0]->Options, (std::vector<std::string>{"1=One", "=Two*"}));
    EXPECT_TRUE(made[0]->Reset);
    EXPECT_EQ(made[1]->Options, (std::vector<std::string>{"line:l1", "line:<b> "}));
    const auto* s = doc.ItemAs<TSection>(0);
    EXPECT_EQ(s->Buff, std::string("\x02\x02" "after"));
    EXPECT_EQ(doc.FormControlList.size(), 3u);
}

TEST(ParserEntryPoints, OpenCommentKeepsPageFromFileButRaisesFromBuffer)
{
    TMemoryFileSystem files;
    files.AddFile(QStringLiteral("C:\\open.htm"), "kept <!-- never closed");
    TScopedFileSystem scoped(files);
    TSectionList doc;
    TStringList names;
    EXPECT_NO_THROW(ParseHtmlFile(doc, names, QStringLiteral("C:\\open.htm")));
    ASSERT_GE(doc.Count(), 1);
    EXPECT_EQ(doc.ItemAs<TSection>(0)->Buff, "kept ");

    TSectionList doc2;
    const std::string html = "kept <!-- never closed";
    EXPECT_THROW(ParseHtmlBuffer(doc2, names, html.data(), html.size()), EParseError);
    ASSERT_EQ(doc2.Count(), 1);
    EXPECT_EQ(doc2.ItemAs<TSection>(0)->Buff, "kept ");

    EXPECT_THROW(ParseHtmlFile(doc, names, QStringLiteral("C:\\missing.htm")), EInOutError);
}

TEST(ParserEntryPoints, TextFileLinesArePreformatted)
{
    TMemoryFileSystem files;
    files.AddFile(QStringLiteral("C:\\a.txt"), "one\r\n\r\n<b>two</b>\tend");
    TScopedFileSystem scoped(files);
    TSectionList doc;
    TStringList names;
    ParseTextFile(doc, names, QStringLiteral("C:\\a.txt"));
    std::vector<std::string> lines;
    for (TObject* item : doc) {
        auto* s = dynamic_cast<TPreFormated*>(item);
        ASSERT_NE(s, nullptr);
        lines.push_back(s->Buff);
        EXPECT_TRUE(s->Fonts.FontObj(0)->TheFont().Fixed);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"one", " ", "<b>two</b> end"}));
}

TEST(ParserEntryPoints, ImagePageFromBuffer)
{
    TSectionList doc;
    TStringList names;
    const std::string html = "<img src=\"C:\\pic.gif\">";
    ParseHtmlBuffer(doc, names, html.data(), html.size());
    const auto* s = doc.ItemAs<TSection>(0);
    ASSERT_EQ(s->Images.Count(), 1);
    EXPECT_EQ(s->Images.Image(0)->Source, "C:\\pic.gif");
    EXPECT_EQ(s->Buff, std::string(1, ImageChar));
}
