// The document's animation timer: which GIFs move, and when.

#include "GifTestFiles.h"
#include "PaneTestSupport.h"

#include "html/GifImage.h"

namespace {

using namespace giftest;

class TAnimationTest : public TPaneTest {
protected:
    // A two-frame animation looping forever, 10 ms per frame.
    void AddAnimation(const QString& path)
    {
        TGifBuilder gif(20, 20, FourColors());
        gif.Loop(0);
        for (uint8_t colour : { 0, 1 }) {
            TFrameSpec frame = SolidFrame(0, 0, 20, 20, colour);
            frame.Control = true;
            frame.DelayCs = 1;
            gif.Frame(frame);
        }
        Files.AddFile(path, gif.Bytes());
    }

    // Two frames whose every pixel is transparent: only the backdrop shows.
    void AddClearAnimation(const QString& path)
    {
        TGifBuilder gif(20, 20, FourColors());
        gif.Loop(0);
        for (int i = 0; i < 2; ++i) {
            TFrameSpec frame = SolidFrame(0, 0, 20, 20, 3);
            frame.Control = true;
            frame.DelayCs = 1;
            frame.Disposal = 1;
            frame.TransparentIndex = 3;
            gif.Frame(frame);
        }
        Files.AddFile(path, gif.Bytes());
    }

    QRgb ColourAtGifCentre()
    {
        Settle();
        const QRect drawn = Gifs().front()->LastDrawRect;
        return Pane.PaintPanel()->grab().toImage().pixel(drawn.center());
    }

    std::vector<TGIFImage*>& Gifs() { return Pane.SectionList().ImageContext.AnimationList; }

    // Makes every GIF due for its next step and ticks once.
    void TickDue()
    {
        for (TGIFImage* gif : Gifs())
            gif->LastAdvanceTime = 0;
        Pane.SectionList().Animations.Tick();
    }
};

TEST_F(TAnimationTest, OnlyGifsOnTheSurfaceAdvance)
{
    AddAnimation(QStringLiteral("C:\\Pages\\anim.gif"));
    AddPage(QStringLiteral("C:\\Pages\\a.htm"),
            "<img src=\"anim.gif\">" + LongBody(60) + "<img src=\"anim.gif\">");
    Pane.LoadHtmlFile(QStringLiteral("C:\\Pages\\a.htm"));
    Settle();
    ASSERT_EQ(Gifs().size(), 2u);
    TGIFImage* top = Gifs()[0];
    TGIFImage* bottom = Gifs()[1];
    EXPECT_NE(top, bottom) << "the second user of a cached animation plays its own copy";
    EXPECT_TRUE(Pane.SectionList().Animations.Running());
    EXPECT_TRUE(top->PaintedFlag);
    EXPECT_FALSE(bottom->PaintedFlag);

    // The first tick after a layout only measures the delay.
    TickDue();
    EXPECT_EQ(top->FrameIndex, 1);
    TickDue();
    EXPECT_EQ(top->FrameIndex, 2);
    EXPECT_EQ(bottom->FrameIndex, 1);

    // Scrolled to the end, the top one rests and the bottom one moves.
    Pane.ScrollToY(1 << 20);
    Settle();
    TickDue();
    TickDue();
    EXPECT_EQ(top->FrameIndex, 2);
    EXPECT_EQ(bottom->FrameIndex, 2);
}

TEST_F(TAnimationTest, APartialRepaintDoesNotFreezeAnotherGif)
{
    AddAnimation(QStringLiteral("C:\\Pages\\b.gif"));
    AddPage(QStringLiteral("C:\\Pages\\b.htm"), "<img src=\"b.gif\"><br><br><br><br><img src=\"b.gif\">");
    Pane.LoadHtmlFile(QStringLiteral("C:\\Pages\\b.htm"));
    Settle();
    ASSERT_EQ(Gifs().size(), 2u);
    TGIFImage* first = Gifs()[0];
    TGIFImage* second = Gifs()[1];
    // Only the first one's rectangle is repainted.
    Pane.PaintPanel()->repaint(first->LastDrawRect);
    EXPECT_TRUE(first->PaintedFlag);
    EXPECT_TRUE(second->PaintedFlag);
    TickDue();
    TickDue();
    EXPECT_EQ(second->FrameIndex, 2);
}

TEST_F(TAnimationTest, LayoutRestartsAtTheFirstFrameAndClearingStopsTheTimer)
{
    AddAnimation(QStringLiteral("C:\\Pages\\c.gif"));
    AddPage(QStringLiteral("C:\\Pages\\c.htm"), "<img src=\"c.gif\">");
    Pane.LoadHtmlFile(QStringLiteral("C:\\Pages\\c.htm"));
    Settle();
    TickDue();
    TickDue();
    ASSERT_EQ(Gifs().front()->FrameIndex, 2);
    Pane.resize(300, 300); // a new width lays the page out again
    QCoreApplication::processEvents();
    EXPECT_EQ(Gifs().front()->FrameIndex, 1);
    EXPECT_TRUE(Gifs().front()->Running);

    Pane.ClearDocument();
    EXPECT_FALSE(Pane.SectionList().Animations.Running());
    EXPECT_TRUE(Gifs().empty());
}

TEST_F(TAnimationTest, TransparentPixelsShowTheCellColourOrThePageTile)
{
    AddClearAnimation(QStringLiteral("C:\\Pages\\clear.gif"));
    AddPage(QStringLiteral("C:\\Pages\\cell.htm"),
            "<table><tr><td bgcolor=\"#00FF00\"><img src=\"clear.gif\"></td></tr></table>");
    Pane.LoadHtmlFile(QStringLiteral("C:\\Pages\\cell.htm"));
    ASSERT_EQ(Gifs().size(), 1u);
    EXPECT_EQ(ColourAtGifCentre(), qRgb(0, 255, 0));

    AddPicture(QStringLiteral("C:\\Pages\\tile.bmp"), 8, 8); // red
    AddPage(QStringLiteral("C:\\Pages\\tiled.htm"), "<body background=\"tile.bmp\"><img src=\"clear.gif\">");
    Pane.LoadHtmlFile(QStringLiteral("C:\\Pages\\tiled.htm"));
    ASSERT_EQ(Gifs().size(), 1u);
    EXPECT_EQ(ColourAtGifCentre(), qRgb(255, 0, 0));
}

TEST_F(TAnimationTest, RealTimerStepsTheAnimation)
{
    AddAnimation(QStringLiteral("C:\\Pages\\d.gif"));
    AddPage(QStringLiteral("C:\\Pages\\d.htm"), "<img src=\"d.gif\">");
    Pane.LoadHtmlFile(QStringLiteral("C:\\Pages\\d.htm"));
    Settle();
    ASSERT_EQ(Gifs().size(), 1u);
    EXPECT_TRUE(QTest::qWaitFor([&]() { return Gifs().front()->FrameIndex == 2; }, 2000));
}

} // namespace
