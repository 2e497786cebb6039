// The viewer control's painting: the tiled background follows the scroll
// position, the frame colour follows focus and style, and an idle pane does
// not keep repainting itself.

#include "PaneTestSupport.h"

#include "html/HtmlBitmaps.h"

#include <QPainter>

namespace {

const QString Page = QStringLiteral("C:\\Pages\\p.htm");

class PanePaintTest : public TPaneTest {
protected:
    // A 10 x 10 tile: red on its top half, blue below.
    void AddTile()
    {
        QImage tile(10, 10, QImage::Format_RGB32);
        tile.fill(Qt::red);
        QPainter(&tile).fillRect(0, 5, 10, 5, Qt::blue);
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        tile.save(&buffer, "BMP");
        Files.AddFile(QStringLiteral("C:\\Pages\\tile.bmp"), data);
    }
    QColor PanelPixel(int x, int y) { return Pane.PaintPanel()->grab().toImage().pixelColor(x, y); }
};

TEST_F(PanePaintTest, BackgroundTilesFollowTheScrollPosition)
{
    AddTile();
    AddPage(Page, "<body background=\"tile.bmp\">" + LongBody(40) + "</body>");
    Pane.LoadHtmlFile(Page);
    Settle();
    // Column 2 lies in the left margin, where no text is painted.
    EXPECT_EQ(PanelPixel(2, 2), QColor(Qt::red));
    EXPECT_EQ(PanelPixel(2, 7), QColor(Qt::blue));
    Pane.ScrollToY(5);
    Settle();
    EXPECT_EQ(PanelPixel(2, 2), QColor(Qt::blue));
    EXPECT_EQ(PanelPixel(2, 7), QColor(Qt::red));

    Pane.SetViewImages(false);
    Settle();
    EXPECT_EQ(PanelPixel(2, 2), ToQColor(Pane.DefBackground())) << "no images, plain fill";
}

TEST_F(PanePaintTest, FrameColourFollowsFocusAndStyle)
{
    const QColor dark = ToQColor(clBtnText);
    Pane.clearFocus();
    QCoreApplication::processEvents();
    EXPECT_NE(Pane.BorderColor(), dark);
    Pane.SetBorderStyle(THTMLBorderStyle::htSingle);
    EXPECT_EQ(Pane.BorderColor(), dark);
    Pane.SetBorderStyle(THTMLBorderStyle::htNone);
    EXPECT_EQ(Pane.PaintPanel()->pos(), QPoint(0, 0));
    EXPECT_EQ(Pane.PaintPanel()->size(), Pane.size());
}

TEST_F(PanePaintTest, AnIdlePaneStopsPainting)
{
    AddPage(Page, LongBody(20));
    Pane.LoadHtmlFile(Page);
    QTest::qWait(50);
    const int count = Pane.PaintPanel()->PaintCount;
    QTest::qWait(100);
    EXPECT_EQ(Pane.PaintPanel()->PaintCount, count);
}

} // namespace

namespace {

// On an 8-bit display the control paints through the shared palette.
TEST_F(PanePaintTest, EightBitDisplaysPaintThroughTheSharedPalette)
{
    AddPage(Page, "<body bgcolor=\"#123456\">texte</body>");
    Pane.LoadHtmlFile(Page);
    SetColorBits(8);
    ASSERT_NE(THtmlPane::PaletteQuery(), nullptr);
    const QColor eight = PanelPixel(2, 2);
    SetColorBits(32);
    EXPECT_EQ(THtmlPane::PaletteQuery(), nullptr);
    const QColor deep = PanelPixel(2, 2);
    SetColorBits(0);
    EXPECT_EQ(deep, QColor(0x12, 0x34, 0x56));
    EXPECT_TRUE(SharedPalette().contains(eight.rgb())) << eight.name().toStdString();
    EXPECT_NE(eight, deep);
}

} // namespace
