// The engine's support lists: owning list, attributes, image maps, the
// indent manager, URL-to-path conversion and the drawing helpers.

#include "html/HtmlImages.h"
#include "html/HtmlSupport.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// Records the order in which list items are destroyed.
class TTracked : public TObject {
public:
    TTracked(std::vector<int>& log, int id) : FLog(log), FId(id) {}
    ~TTracked() noexcept(false) override { FLog.push_back(FId); }

private:
    std::vector<int>& FLog;
    int FId;
};

std::unique_ptr<TAttributeList> Area(const std::string& shape, const std::string& coords,
                                     const std::string& href, bool noHref = false)
{
    auto list = std::make_unique<TAttributeList>();
    if (!shape.empty())
        list->AddAttribute(ShapeSy, 0, shape);
    list->AddAttribute(CoordsSy, 0, coords);
    if (!href.empty())
        list->AddAttribute(HrefSy, 0, href);
    if (noHref)
        list->AddAttribute(NoHrefSy, 0);
    return list;
}

std::string HitUrl(const TMapItem& map, int x, int y)
{
    std::unique_ptr<TUrlTarget> link;
    if (!map.HitTest(x, y, link))
        return "miss";
    return link->Url;
}

} // namespace

TEST(SupportFreeList, FreesItemsFirstToLastOnClearAndDestruction)
{
    std::vector<int> log;
    {
        TFreeList list;
        for (int id = 1; id <= 3; ++id)
            list.Add(new TTracked(log, id));
        list.Delete(1);
        EXPECT_EQ(log, (std::vector<int>{2}));
        TObject* kept = list.Extract(0);
        list.Add(new TTracked(log, 4));
        list.Clear();
        EXPECT_EQ(log, (std::vector<int>{2, 3, 4}));
        EXPECT_EQ(list.Count(), 0);
        list.Add(kept);
    }
    EXPECT_EQ(log, (std::vector<int>{2, 3, 4, 1}));
    TFreeList list;
    EXPECT_THROW(list.Items(0), EListError);
}

TEST(SupportAttributes, FindAttributeReturnsTheFirstOfDuplicatesAndSymbolsCoverTheVocabulary)
{
    TAttributeList list;
    list.AddAttribute(AltSy, 0, "first");
    list.AddAttribute(SrcSy, 0, "a.gif");
    list.AddAttribute(AltSy, 0, "second");
    TAttribute* found = nullptr;
    ASSERT_TRUE(list.FindAttribute(AltSy, found));
    EXPECT_EQ(found->Text, "first");
    EXPECT_FALSE(list.FindAttribute(HeightSy, found));
    EXPECT_EQ(found, nullptr);

    EXPECT_EQ(AttributeSymbol("HREF"), HrefSy);
    EXPECT_EQ(AttributeSymbol("HTTP-EQUIV"), HttpEqSy);
    EXPECT_EQ(AttributeSymbol("ENCTYPE"), EncTypeSy);
    EXPECT_EQ(AttributeSymbol("VALUE"), ValueSy);
    EXPECT_EQ(AttributeSymbol("href"), UnknownAttrSy); // names arrive upper-cased
    EXPECT_EQ(AttributeSymbol("BOGUS"), UnknownAttrSy);
}

TEST(SupportUrlTarget, AssignReplacesOnlyTheGivenFields)
{
    TUrlTarget link("a.htm", "frame1");
    link.Assign(std::nullopt, std::string("frame2"));
    EXPECT_EQ(link.Url, "a.htm");
    EXPECT_EQ(link.Target, "frame2");
    link.Assign(std::string("b.htm"), std::nullopt);
    EXPECT_EQ(link.Url, "b.htm");
    link.Clear();
    EXPECT_TRUE(link.Url.empty() && link.Target.empty());
}

TEST(SupportImageMap, ShapesNeedEnoughCoordinatesAndCircleIsTheEllipseInItsBox)
{
    TMapItem map;
    map.AddArea(*Area("rect", "1,2,3", "three.htm"));
    EXPECT_TRUE(map.AreaRegions.empty());
    map.AddArea(*Area("circle", "10,10,5", "circle.htm"));
    ASSERT_EQ(map.AreaRegions.size(), 1u);
    EXPECT_EQ(map.AreaRegions[0].Region.boundingRect(), QRect(QPoint(5, 5), QPoint(15, 15)));
    EXPECT_EQ(HitUrl(map, 10, 10), "circle.htm");
    EXPECT_EQ(HitUrl(map, 6, 6), "miss"); // a corner of the box, outside the ellipse

    TMapItem rect;
    rect.AddArea(*Area("", "10,20,30,40", "r.htm")); // no SHAPE: rectangle, corners included
    EXPECT_EQ(HitUrl(rect, 30, 40), "r.htm");
    EXPECT_EQ(HitUrl(rect, 31, 40), "miss");
    EXPECT_EQ(rect.AreaTargetList.size(), 1u);
}

TEST(SupportImageMap, EarlierAreaWinsAndNoHrefAreaMisses)
{
    TMapItem map;
    map.AddArea(*Area("rect", "0,0,50,50", "first.htm"));
    map.AddArea(*Area("rect", "0,0,100,100", "second.htm"));
    EXPECT_EQ(HitUrl(map, 25, 25), "first.htm");
    EXPECT_EQ(HitUrl(map, 75, 75), "second.htm");
    EXPECT_EQ(HitUrl(map, 101, 5), "miss");

    TMapItem holes;
    holes.AddArea(*Area("rect", "0,0,50,50", "ignored.htm", true)); // HREF then NOHREF
    holes.AddArea(*Area("rect", "0,0,100,100", "second.htm"));
    EXPECT_EQ(HitUrl(holes, 25, 25), "miss");
    EXPECT_EQ(HitUrl(holes, 75, 75), "second.htm");

    auto withTarget = Area("poly", "0,0,20,0,20,20,0,20", "p.htm");
    withTarget->AddAttribute(TargetSy, 0, "main");
        std::unique_ptr<TUrlTarget> link;
    TMapItem poly;
    poly.AddArea(*withTarget);
    ASSERT_TRUE(poly.HitTest(10, 10, link));
    EXPECT_EQ(link->Target, "main");
}

TEST(SupportImageMap, CoordsReadingStopsAtAnEmptyItemAndIsBounded)
{
    EXPECT_EQ(ParseCoords("1, 2,,3,4"), (std::vector<int>{1, 2}));
    EXPECT_EQ(ParseCoords("7,x,  9 ,"), (std::vector<int>{7, 0, 9}));
    EXPECT_EQ(ParseCoords("99999999,-99999999"), (std::vector<int>{32767, -32768}));
    std::string many;
    for (int i = 0; i < 500; ++i)
        many += "1,";
    EXPECT_EQ(ParseCoords(many).size(), 201u);
    EXPECT_EQ(ParseCoords(std::string(100000, ',')).size(), 0u);

    TMapItem map;
    map.AddArea(*Area("rect", "1,2,,3,4", "stopped.htm"));
    map.AddArea(*Area("circ", "10,10,0", "zero.htm"));
    map.AddArea(*Area("circ", "10,10,-4", "negative.htm"));
    map.AddArea(*Area("poly", "0,0,10,10,7", "two-points.htm"));
    EXPECT_TRUE(map.AreaRegions.empty());
    map.AddArea(*Area("rect", "30,40,10,20", "reversed.htm"));
    EXPECT_EQ(HitUrl(map, 20, 30), "reversed.htm");
}

TEST(SupportIndents, ListLevelsIndentAndClosingEndsThemAboveY)
{
    IndentManager m;
    m.Reset(0, 600);
    m.SetListLevel(100, 2);
    EXPECT_EQ(m.LeftBoundAt(100), 70);
    EXPECT_EQ(m.LeftBoundAt(99), 0);
    EXPECT_EQ(m.ClearBottom(), 0); // list indents are not floats
    m.SetListLevel(500, 0);
    ASSERT_EQ(m.LeftList.Count(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(m.LeftAt(i)->Bottom, 499);
        EXPECT_EQ(m.LeftAt(i)->Level, 0);
    }
    EXPECT_EQ(m.ClearBottom(), 499);
    EXPECT_EQ(m.LeftBoundAt(499), 0);
    EXPECT_EQ(m.Level, 0);
}

TEST(SupportIndents, FloatsNarrowTheColumnOnTheirSideOnly)
{
    IndentManager m;
    m.Reset(10, 410);
    m.AddFloat(0, 100, 1, 50);  // left
    m.AddFloat(20, 60, 3, 100); // right
    m.AddFloat(0, 60, 2, 100);  // neither side: nothing
    EXPECT_EQ(m.LeftBoundAt(10), 110);
    EXPECT_EQ(m.LeftBoundAt(50), 10);
    EXPECT_EQ(m.RightBoundAt(10), 410);
    EXPECT_EQ(m.RightBoundAt(30), 350);
    int left = 0, right = 0;
    m.SideClearances(left, right);
    EXPECT_EQ(left, 51);
    EXPECT_EQ(right, 121);
    EXPECT_EQ(m.ClearBottom(), 120);

    // A list item inside the float: lines reach below the wider float.
    m.SetListLevel(10, 1);
    EXPECT_EQ(m.LeftBoundAt(10), 145);
    EXPECT_EQ(m.BelowWiderLefts(), 1);
    m.AddFloat(12, 200, 1, 30);
    EXPECT_EQ(m.BelowWiderLefts(), 43);
    m.Clear();
    EXPECT_EQ(m.LeftBoundAt(10), 10);
}

// Every intrusion in one plain list, each query a scan of all of them: the
// meaning the indent manager's bookkeeping has to keep.
class TPlainIndents {
public:
    struct TRec {
        int32_t Edge, Top, Bottom, Level;
        bool Left;
        bool Covers(int32_t y) const { return Top <= y && y < Bottom; }
    };

    int32_t LeftBoundAt(int32_t y) const
    {
        int32_t edge = 0;
        for (const TRec& rec : FRecs)
            if (rec.Left && rec.Covers(y))
                edge = std::max(edge, rec.Edge);
        return edge;
    }
    int32_t RightBoundAt(int32_t y, int32_t rightEdge) const
    {
        int32_t edge = 0;
        for (const TRec& rec : FRecs)
            if (!rec.Left && rec.Covers(y))
                edge = std::min(edge, rec.Edge);
        return rightEdge + edge;
    }
    void AddFloat(int32_t y, int32_t width, bool left, int32_t height, int32_t rightEdge)
    {
        const int32_t edge = left ? LeftBoundAt(y) + width : RightBoundAt(y, rightEdge) - rightEdge - width;
        FRecs.push_back({edge, y, y + height, 0, left});
    }
    void SetListLevel(int32_t y, int32_t level)
    {
        for (int32_t d = FLevel + 1; d <= level; ++d)
            FRecs.push_back({LeftBoundAt(y) + IndentManagerBasic::ListIndent, y, IndentManagerBasic::OpenBottom, d, true});
        for (TRec& rec : FRecs)
            if (level < FLevel && rec.Level > level) {
                rec.Level = 0;
                rec.Bottom = y - 1;
            }
        FLevel = level;
    }
    int32_t ClearBottom() const
    {
        int32_t bottom = 0;
        for (const TRec& rec : FRecs)
            if (rec.Level == 0)
                bottom = std::max(bottom, rec.Bottom);
        return bottom;
    }
    int32_t BelowWiderLefts() const
    {
        int32_t levelEdge = 0;
        for (const TRec& rec : FRecs)
            if (rec.Left && rec.Level == FLevel)
                levelEdge = rec.Edge;
        int32_t bottom = 0;
        for (const TRec& rec : FRecs)
            if (rec.Left && rec.Edge > levelEdge)
                bottom = std::max(bottom, rec.Bottom);
        return bottom + 1;
    }
    void ForgetAbove(int32_t y)
    {
        FRecs.erase(std::remove_if(FRecs.begin(), FRecs.end(), [y](const TRec& rec) { return rec.Bottom < y; }),
                    FRecs.end());
    }

private:
    std::vector<TRec> FRecs;
    int32_t FLevel = 0;
};

TEST(SupportIndents, NestedListsAndFloatsAnswerAsAPlainScanWould)
{
    constexpr int32_t Width = 600;
    std::mt19937 random(7);
    auto below = [&](int n) { return static_cast<int32_t>(random() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 40; ++round) {
        IndentManager m;
        m.Reset(0, Width);
        TPlainIndents plain;
        int32_t y = 0;
        for (int step = 0; step < 300; ++step) {
            // Mostly downwards, as layout goes; now and then a step back up.
            y = std::max(0, y + below(40) - (below(10) == 0 ? 60 : 0));
            switch (below(6)) {
            case 0: {
                const bool left = below(2) == 0;
                const int32_t width = below(120), height = below(80);
                m.AddFloat(y, width, left ? 1 : 3, height);
                plain.AddFloat(y, width, left, height, Width);
                break;
            }
            case 1:
            case 2: {
                const int32_t level = below(round % 2 ? 40 : 6);
                m.SetListLevel(y, level);
                plain.SetListLevel(y, level);
                break;
            }
            case 3:
                if (below(4) == 0) {
                    m.ForgetAbove(y);
                    plain.ForgetAbove(y);
                }
                break;
            default: break;
            }
            for (const int32_t at : {y, y - 1, y + 5, y - 30, below(y + 100)}) {
                ASSERT_EQ(m.LeftBoundAt(at), plain.LeftBoundAt(at)) << "round " << round << " step " << step;
                ASSERT_EQ(m.RightBoundAt(at), plain.RightBoundAt(at, Width)) << "round " << round << " step " << step;
            }
            ASSERT_EQ(m.ClearBottom(), plain.ClearBottom());
            if (m.Level > 0) { // asked only inside list items
                ASSERT_EQ(m.BelowWiderLefts(), plain.BelowWiderLefts());
            }
        }
    }
}

TEST(SupportIndents, DeepListsKeepEveryBoundQueryShort)
{
    // 256 open levels and thousands of lines on them: each query searches
    // the levels, so this takes milliseconds, not a scan per level per line.
    IndentManager m;
    m.Reset(0, 100000);
    for (int32_t level = 1; level <= 256; ++level)
        m.SetListLevel(level, level);
    EXPECT_EQ(m.OpenLevelCount(), 256);
    EXPECT_EQ(m.LeftBoundAt(256), 256 * IndentManagerBasic::ListIndent);
    EXPECT_EQ(m.LeftBoundAt(100), 100 * IndentManagerBasic::ListIndent);
    QElapsedTimer timer;
    timer.start();
    int64_t sum = 0;
    for (int32_t y = 256; y < 256 + 1000000; ++y)
        sum += m.LeftBoundAt(y) + m.BelowWiderLefts();
    EXPECT_GT(sum, 0);
    EXPECT_LT(timer.elapsed(), 1500);
    m.SetListLevel(300000, 0);
    EXPECT_EQ(m.OpenLevelCount(), 0);
    EXPECT_EQ(m.LeftList.Count(), 256);
    m.ForgetAbove(300000);
    EXPECT_EQ(m.LeftList.Count(), 0);
}

TEST(SupportIndents, FloatImagesArePlacedAgainstTheBounds)
{
    TAttributeList leftAttrs;
    leftAttrs.AddAttribute(AlignSy, 0, "left");
    TImageObj leftImage(0, leftAttrs);
    leftImage.ImageWidth = 40;
    leftImage.ImageHeight = 30;
    TAttributeList rightAttrs;
    rightAttrs.AddAttribute(AlignSy, 0, "RIGHT");
    rightAttrs.AddAttribute(HSpaceSy, 3);
    TImageObj rightImage(1, rightAttrs);
    rightImage.ImageWidth = 50;
    rightImage.ImageHeight = 20;
    TImageObj inlineImage(2, TAttributeList());

    IndentManager m;
    m.Reset(0, 500);
    m.AddFloat(0, 20, 1, 100);
    m.AddFloatImage(10, &leftImage);
    EXPECT_EQ(leftImage.FloatX, 20);
    EXPECT_EQ(m.LeftBoundAt(10), 65); // width + the default HSPACE 5
    EXPECT_EQ(m.LeftBoundAt(40), 20);
    m.AddFloatImage(10, &rightImage);
    EXPECT_EQ(m.RightBoundAt(10), 447);
    EXPECT_EQ(rightImage.FloatX + rightImage.ImageWidth, 500); // touches the right bound
    m.AddFloatImage(10, &inlineImage);
    m.AddFloatImage(10, nullptr);
    EXPECT_EQ(m.LeftList.Count() + m.RightList.Count(), 3);
}

TEST(SupportStrings, UrlToPathDecodesEscapesAndConvertsFileUrls)
{
    EXPECT_EQ(UrlToPath("file:///C|/Mes%20Documents/Page.HTM"), "c:\\mes documents\\page.htm");
    EXPECT_EQ(UrlToPath("file://D|/A.htm"), "d:\\a.htm");
    EXPECT_EQ(UrlToPath("Mon%20Fichier.HTM"), "Mon Fichier.HTM"); // no "/": case kept
    EXPECT_EQ(UrlToPath("%41bc%20d"), "%41bc%20d");               // escape first: nothing decoded
    EXPECT_EQ(UrlToPath("a%zz%20b"), "a%zz%20b");                  // stops at a bad escape
    EXPECT_EQ(UrlToPath("ab%2"), "ab%2");
    EXPECT_EQ(UrlToPath("x/%252e%252e"), "x\\%2e%2e");             // each escape decoded once
    EXPECT_EQ(UrlToPathFrom("/docs/a.htm", "c:"), "c:\\docs\\a.htm");
    EXPECT_EQ(UrlToPathFrom("docs/a.htm", "c:"), "docs\\a.htm");
    EXPECT_EQ(TrimSpaces("\t \x01 a b \r\n"), "a b");
    EXPECT_EQ(TrimSpaces("   "), "");
}

TEST(SupportStrings, Windows1252ConvertsBothWaysAndChangesCase)
{
    const std::string bytes = "\x80 \xE9t\xE9 \x9C";
    const QString text = Win1252ToQString(bytes);
    EXPECT_EQ(text, QString::fromUtf8("€ été œ"));
    EXPECT_EQ(QStringToWin1252(text), bytes);
    EXPECT_EQ(QStringToWin1252(QString::fromUtf8("漢")), "?");
    EXPECT_EQ(UpperCase1252("\xE9t\xE9 \x9C"), "\xC9T\xC9 \x8C");
    EXPECT_EQ(LowerCase1252("\xC9T\xC9 \xD7"), "\xE9t\xE9 \xD7");
}

TEST(SupportDrawing, WrapTextInBoxWrapsAndStaysInsideTheBox)
{
    QImage canvas(200, 100, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    const QRect box(10, 10, 60, 45);
    int lineHeight = 0;
    {
        QPainter painter(&canvas);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(11);
        painter.setFont(font);
        painter.setPen(Qt::black);
        lineHeight = painter.fontMetrics().height();
        WrapTextInBox(painter, box, "  un deux trois quatre cinq six sept huit neuf dix onze douze");
        EXPECT_GT(TextWidth(painter, "abcdef", 3), 0);
        EXPECT_EQ(TextWidth(painter, "abc", 99), TextWidth(painter, "abc"));
    }
    int inkRows = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < canvas.width(); ++x)
            if (canvas.pixel(x, y) != qRgb(255, 255, 255)) {
                ink = true;
                EXPECT_TRUE(box.contains(x, y)) << x << "," << y;
            }
        inkRows += ink;
    }
    // Several lines were drawn, but only those that fit above the bottom.
    EXPECT_GT(inkRows, lineHeight);
}

TEST(SupportDrawing, BevelPutsTheLightSideFirstAndSilverOnWhite)
{
    QImage canvas(20, 20, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        DrawBevel(clWhite, painter, 2, 2, 10, 10, TBevel::Raised);
    }
    const QRgb shadow = ToQColor(clBtnShadow).rgb();
    EXPECT_EQ(canvas.pixel(2, 10), qRgb(192, 192, 192)); // bottom-left: first colour
    EXPECT_EQ(canvas.pixel(5, 2), qRgb(192, 192, 192));
    EXPECT_EQ(canvas.pixel(10, 2), shadow);               // top-right: second colour
    EXPECT_EQ(canvas.pixel(10, 10), shadow);
    EXPECT_EQ(canvas.pixel(5, 5), qRgb(255, 255, 255));
    {
        QPainter painter(&canvas);
        DrawBevel(clBlack, painter, 2, 2, 10, 10, TBevel::Sunken);
    }
    EXPECT_EQ(canvas.pixel(2, 5), shadow);
    EXPECT_EQ(canvas.pixel(10, 5), ToQColor(clBtnHighlight).rgb());
}

TEST(SupportImageMap, HugeCirclesAndTallPolygonsStayCheap)
{
    // A circle across the whole coordinate range and a 100-corner zigzag once
    // took seconds to minutes to become pixel regions; points are now tested
    // directly.
    std::string zigzag;
    for (int k = 0; k < 100; ++k)
        zigzag += std::to_string(k * 300 % 32767) + "," + std::to_string((k % 2) * 32000) + ",";
    QElapsedTimer clock;
    clock.start();
    TMapItem map;
    map.AddArea(*Area("circle", "0,0,32767", "big.htm"));
    map.AddArea(*Area("poly", zigzag, "zigzag.htm"));
    ASSERT_EQ(map.AreaRegions.size(), 2u);
    int hits = 0;
    for (int y = -32768; y < 32768; y += 512)
        for (int x = -32768; x < 32768; x += 512)
            hits += HitUrl(map, x, y) != "miss";
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_GT(hits, 0);
    EXPECT_EQ(HitUrl(map, 32767, 0), "big.htm");    // on the circle's edge
    EXPECT_EQ(HitUrl(map, -23170, -23170), "big.htm"); // just inside the diagonal
    EXPECT_EQ(HitUrl(map, -23200, -23200), "miss");    // just outside it
}
