// The viewer control on real widgets: loading with anchors, missing files,
// links within and between pages, history, meta refresh, scroll-bar rules
// and property clamps.

#include "PaneTestSupport.h"

#include "platform/Exceptions.h"

namespace {

const QString PageA = QStringLiteral("C:\\Pages\\a.htm");
const QString PageB = QStringLiteral("C:\\Pages\\b.htm");

std::string AnchoredPage()
{
    return "<html><head><title>Page A</title></head><body>"
           "<a href=\"#fin\">Aller</a> <a href=\"a.htm\">Ici</a> <a href=\"notes.txt\">Notes</a> "
           "<a href=\"pic.bmp\">Image</a>\n"
        + TPaneTest::LongBody(60) + "<a name=\"Fin\">Fin du texte</a>" + TPaneTest::LongBody(10) + "</body></html>";
}

class PaneLoadTest : public TPaneTest {
protected:
    PaneLoadTest()
    {
        AddPage(PageA, AnchoredPage());
        AddPage(PageB, "<title>Page B</title><p>Deux</p>");
        AddPage(QStringLiteral("C:\\Pages\\notes.txt"), "du texte");
        AddPicture(QStringLiteral("C:\\Pages\\pic.bmp"), 40, 30);
    }
    int AnchorY()
    {
        const int index = Pane.NameList().IndexOf(QStringLiteral("FIN"));
        EXPECT_GE(index, 0);
        return static_cast<TSectionBase*>(Pane.NameList().Objects(index))->YPosition;
    }
    // Clicks the first line of the page at the start of `text`.
    void ClickText(const std::string& text)
    {
        const int index = IndexOfText(text);
        ASSERT_GE(index, 0) << text;
        QTest::mouseClick(Pane.PaintPanel(), Qt::LeftButton, {}, PointOfChar(index));
    }
};

TEST_F(PaneLoadTest, LowerCaseAnchorJumpsAndReloadingWithoutAnchorKeepsThePosition)
{
    Pane.LoadHtmlFile(PageA + QStringLiteral("#fin"));
    EXPECT_EQ(Pane.ShownFile(), PageA);
    EXPECT_EQ(Pane.PageTitle(), "Page A");
    ASSERT_GT(Pane.VScrollPosition(), 0);
    EXPECT_EQ(Pane.VScrollPosition(), AnchorY());
    EXPECT_TRUE(Pane.VScrollBar()->isVisible());

    const int position = Pane.VScrollPosition();
    Pane.LoadHtmlFile(PageA);
    EXPECT_EQ(Pane.VScrollPosition(), position);
    EXPECT_EQ(HtmlLoads, 2);

    Pane.LoadHtmlFile(PageB);
    EXPECT_EQ(Pane.VScrollPosition(), 0) << "another file starts at the top";
}

TEST_F(PaneLoadTest, MissingFileKeepsThePreviousPageAndNamesTheFile)
{
    Pane.LoadHtmlFile(PageA);
    const int sections = Pane.SectionList().Count();
    try {
        Pane.LoadHtmlFile(QStringLiteral("C:\\Pages\\absent.htm"));
        FAIL() << "no failure";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Message(), QStringLiteral("Can't locate file: C:\\Pages\\absent.htm"));
    }
    EXPECT_EQ(Pane.ShownFile(), PageA);
    EXPECT_EQ(Pane.SectionList().Count(), sections);
    EXPECT_FALSE(Pane.Processing());
    // The control is usable again.
    Pane.LoadHtmlFile(PageB);
    EXPECT_EQ(Pane.ShownFile(), PageB);
}

TEST_F(PaneLoadTest, LinksToAnAnchorTheSameFileATextFileAndAnImage)
{
    Pane.SetHistoryMaxCount(5);
    Pane.LoadHtmlFile(PageA);
    ASSERT_EQ(HtmlLoads, 1);
    std::vector<std::string> clicked;
    Pane.OnHotSpotClick = [&](QObject*, const std::string& src, bool& handled) {
        EXPECT_FALSE(handled);
        clicked.push_back(src);
    };

    ClickText("Aller");
    EXPECT_EQ(clicked.back(), "#fin");
    EXPECT_EQ(Pane.VScrollPosition(), AnchorY());
    EXPECT_EQ(HtmlLoads, 1) << "an anchor link does not reload";
    // The first load recorded the page; the jump records its new place.
    ASSERT_EQ(Pane.History().Count(), 2);
    EXPECT_EQ(Pane.PositionHistory().ItemAs<PositionObj>(1)->SavedPosition, 0);

    Pane.ScrollToY(0);
    ClickText("Ici");
    EXPECT_EQ(clicked.back(), "a.htm");
    EXPECT_EQ(HtmlLoads, 1) << "a link to the shown file without an anchor does nothing";
    EXPECT_EQ(Pane.VScrollPosition(), 0);

    ClickText("Notes");
    EXPECT_EQ(Pane.ShownFile(), PageA) << "a text file link is ignored";

    ClickText("Image");
    EXPECT_EQ(Pane.ShownFile(), QStringLiteral("C:\\Pages\\pic.bmp"));
    EXPECT_EQ(Pane.ShownFileKind(), 2);
    EXPECT_EQ(HtmlLoads, 1);
    ASSERT_GE(Pane.SectionList().Count(), 1);
    int images = 0;
    for (TObject* item : Pane.SectionList())
        if (auto* section = dynamic_cast<TSection*>(item))
            images += section->Images.Count();
    EXPECT_EQ(images, 1);
    EXPECT_EQ(Pane.History().Count(), 3);
    EXPECT_EQ(Pane.History().Strings(0), QStringLiteral("C:\\Pages\\pic.bmp"));
}

TEST_F(PaneLoadTest, HandledClickDoesNotFollowTheLink)
{
    Pane.LoadHtmlFile(PageA);
    Pane.OnHotSpotClick = [](QObject*, const std::string&, bool& handled) { handled = true; };
    ClickText("Image");
    EXPECT_EQ(Pane.ShownFile(), PageA);
    EXPECT_EQ(Pane.LinkURL(), "pic.bmp");
}

TEST_F(PaneLoadTest, HistoryMaxCountZeroRecordsNothing)
{
    int changes = 0;
    Pane.OnHistoryChange = [&](QObject*) { ++changes; };
    Pane.LoadHtmlFile(PageA);
    Pane.LoadHtmlFile(PageB);
    Pane.LoadHtmlFile(PageA + QStringLiteral("#fin"));
    EXPECT_EQ(Pane.History().Count(), 0);
    EXPECT_EQ(changes, 0);

    Pane.SetHistoryMaxCount(2);
    Pane.LoadHtmlFile(PageB);
    Pane.LoadHtmlFile(PageA);
    Pane.LoadHtmlFile(PageB);
    EXPECT_EQ(Pane.History().Count(), 2);
    EXPECT_EQ(Pane.History().Strings(0), PageB);
    EXPECT_EQ(Pane.TitleHistory().Strings(1), QStringLiteral("Page A"));
    EXPECT_EQ(changes, 3);
    Pane.SetHistoryMaxCount(1);
    EXPECT_EQ(Pane.History().Count(), 0) << "a decrease clears the history";
}

TEST_F(PaneLoadTest, MetaRefreshNeedsADelayOfOneOrMoreAndAUrl)
{
    std::vector<std::pair<int, std::string>> refreshes;
    Pane.OnMetaRefresh = [&](QObject*, int delay, const std::string& url) { refreshes.emplace_back(delay, url); };
    const auto load = [&](const std::string& content) {
        AddPage(PageB, "<meta http-equiv=\"Refresh\" content=\"" + content + "\"><p>x</p>");
        Pane.LoadHtmlFile(PageB);
    };
    load("5");
    load("0; url=next.htm");
    load("2");
    EXPECT_TRUE(refreshes.empty());
    load("3; URL=Next.htm");
    ASSERT_EQ(refreshes.size(), 1u);
    EXPECT_EQ(refreshes[0], std::make_pair(3, std::string("Next.htm")));
    Pane.LoadHtmlFile(PageA);
    EXPECT_EQ(refreshes.size(), 1u) << "the request belongs to one load";
}

TEST_F(PaneLoadTest, ScrollBarsFollowTheDocumentHeight)
{
    Pane.LoadHtmlFile(PageB);
    EXPECT_LT(Pane.DocHeight(), Pane.height() - 2 - Pane.ScrollBarWidth());
    EXPECT_FALSE(Pane.VScrollBar()->isVisible());
    EXPECT_FALSE(Pane.HScrollBar()->isVisible());
    EXPECT_EQ(Pane.PaintPanel()->geometry(), QRect(1, 1, 398, 298));

    Pane.LoadHtmlFile(PageA);
    EXPECT_TRUE(Pane.VScrollBar()->isVisible());
    EXPECT_EQ(Pane.PaintPanel()->width(), 400 - Pane.ScrollBarWidth() - 2);
    EXPECT_EQ(Pane.VScrollBar()->Max(), Pane.DocHeight());
    Pane.ScrollToY(1 << 30);
    EXPECT_EQ(Pane.VScrollPosition(), Pane.DocHeight() - Pane.PaintPanel()->height());

    // A shorter document than the panel goes back to the top on a resize.
    Pane.LoadHtmlFile(PageB);
    Pane.SetVScrollPosition(40);
    Pane.resize(380, 300);
    EXPECT_EQ(Pane.VScrollPosition(), 0);
}

TEST_F(PaneLoadTest, PropertyDefaultsAndClamps)
{
    EXPECT_EQ(Pane.MarginWidth(), 10);
    EXPECT_EQ(Pane.MarginHeight(), 5);
    EXPECT_EQ(Pane.DefFontSize(), 12);
    EXPECT_EQ(Pane.ImageCacheCount(), 5);
    EXPECT_EQ(Pane.HistoryMaxCount(), 0);
    EXPECT_EQ(Pane.ScrollBars(), TScrollStyle::ssBoth);
    EXPECT_EQ(Pane.DefFontName(), "Times New Roman");
    EXPECT_EQ(Pane.DefPreFontName(), "Courier New");

    Pane.SetMarginWidth(51);
    Pane.SetMarginWidth(-1);
    EXPECT_EQ(Pane.MarginWidth(), 10);
    Pane.SetMarginHeight(50);
    EXPECT_EQ(Pane.MarginHeight(), 50);
    Pane.SetDefFontSize(3);
    EXPECT_EQ(Pane.DefFontSize(), 6);
    Pane.SetImageCacheCount(25);
    EXPECT_EQ(Pane.ImageCacheCount(), 20);
    Pane.SetImageCacheCount(5);
    Pane.SetHistoryMaxCount(-3);
    EXPECT_EQ(Pane.HistoryMaxCount(), 0);
    Pane.SetServerRoot("  C:\\Site\\ ");
    EXPECT_EQ(Pane.ServerRoot(), "C:\\Site");
    EXPECT_EQ(Pane.ExpandLinkName("/docs/x.htm"), QStringLiteral("C:\\Site\\docs\\x.htm"));
}

TEST_F(PaneLoadTest, MarginChangeKeepsTheScrollState)
{
    Pane.LoadHtmlFile(PageA);
    Pane.SetMarginHeight(20);
    EXPECT_EQ(Pane.VScrollPosition(), 0) << "the top stays the top";
    Pane.LoadHtmlFile(PageA + QStringLiteral("#FIN"));
    const int state = Pane.GetScrollState();
    ASSERT_GT(state, 0);
    Pane.SetMarginWidth(30);
    EXPECT_EQ(Pane.GetScrollState(), state);
    EXPECT_EQ(Pane.VScrollPosition(), AnchorY());
    Pane.SetScrollState(-1);
    Pane.SetScrollState(0x7FFF0000);
    EXPECT_EQ(Pane.GetScrollState(), state) << "bad states are ignored";
}

TEST_F(PaneLoadTest, ClearDocumentEmptiesTheViewerButKeepsTheFileName)
{
    Pane.LoadHtmlFile(PageA);
    Pane.ClearDocument();
    EXPECT_EQ(Pane.SectionList().Count(), 0);
    EXPECT_EQ(Pane.NameList().Count(), 0);
    EXPECT_TRUE(Pane.PageTitle().empty());
    EXPECT_FALSE(Pane.VScrollBar()->isVisible());
    EXPECT_EQ(Pane.ShownFile(), PageA);
    EXPECT_EQ(HtmlLoads, 2) << "the sound stops";
}

} // namespace
