// The raster combinations read every source format through its colours:
// indexed pictures through their table (indices beyond it black), mono
// pictures through their two colours (black and white without a table),
// and each combination is clipped to both pictures.

#include "html/GifRaster.h"

#include <gtest/gtest.h>

namespace {

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

TEST(GifRaster, IndexedSourcesReadTheirTableAndIndicesBeyondItAreBlack)
{
    QImage source(3, 1, QImage::Format_Indexed8);
    source.setColorTable({qRgb(10, 20, 30), qRgb(200, 100, 50)});
    source.setPixel(0, 0, 0);
    source.setPixel(1, 0, 1);
    source.setPixel(2, 0, 7); // no colour 7 in the table
    QImage dest = NewFilledImage(3, 1, QImage::Format_RGB32, RasterWhite);
    RasterBlit(dest, QPoint(0, 0), source, TRasterOp::Copy);
    EXPECT_EQ(At(dest, 0, 0), 0x0A141Eu);
    EXPECT_EQ(At(dest, 1, 0), 0xC86432u);
    EXPECT_EQ(At(dest, 2, 0), RasterBlack);

    QImage tableless(2, 1, QImage::Format_Indexed8);
    tableless.fill(1);
    dest = NewFilledImage(2, 1, QImage::Format_RGB32, RasterWhite);
    RasterBlit(dest, QPoint(0, 0), tableless, TRasterOp::Copy);
    EXPECT_EQ(At(dest, 1, 0), RasterBlack);
}

TEST(GifRaster, MonoSourcesWithoutATableAreBlackAndWhite)
{
    QImage mono(9, 1, QImage::Format_Mono);
    mono.setColorTable({});
    mono.fill(0);
    mono.setPixel(8, 0, 1);
    QImage dest = NewFilledImage(9, 1, QImage::Format_RGB32, qRgb(1, 2, 3));
    RasterBlit(dest, QPoint(0, 0), mono, TRasterOp::Copy);
    EXPECT_EQ(At(dest, 0, 0), RasterBlack);
    EXPECT_EQ(At(dest, 8, 0), RasterWhite);
}

TEST(GifRaster, CombinationsAreClippedToBothPictures)
{
    const QImage source = NewFilledImage(4, 4, QImage::Format_RGB32, 0x0000FF);
    QImage dest = NewFilledImage(3, 3, QImage::Format_RGB32, 0xFF0000);
    RasterBlit(dest, QPoint(2, -2), source, TRasterOp::Or);
    EXPECT_EQ(At(dest, 2, 0), 0xFF00FFu);
    EXPECT_EQ(At(dest, 2, 1), 0xFF00FFu);
    EXPECT_EQ(At(dest, 1, 1), 0xFF0000u);
    EXPECT_EQ(At(dest, 2, 2), 0xFF0000u);
    RasterStretch(dest, QRect(-5, -5, 100, 100), source, TRasterOp::Xor);
    EXPECT_EQ(At(dest, 0, 0), 0xFF00FFu);
    EXPECT_EQ(At(dest, 2, 2), 0xFF00FFu);
}

} // namespace
