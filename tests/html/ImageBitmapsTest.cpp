// Bitmap helpers: type by content, size caps, masks, the shared palette,
// device-independent copies and the placeholder resources.

#include "html/HtmlBitmaps.h"

#include <gtest/gtest.h>

#include <QPainter>

TEST(ImageBitmaps, FileTypeIsRecognisedByContent)
{
    EXPECT_EQ(ImageFileType(std::string_view("GIF89a...")), TImageFileType::Gif89);
    EXPECT_EQ(ImageFileType(std::string_view("GIF87a")), TImageFileType::Gif87);
    EXPECT_EQ(ImageFileType(std::string_view("GIF8")), TImageFileType::Gif87);
    EXPECT_EQ(ImageFileType(std::string_view("BMxxxx")), TImageFileType::Bmp);
    EXPECT_EQ(ImageFileType(std::string_view("\x89PNG\r\n\x1a\n", 8)), TImageFileType::Png);
    EXPECT_EQ(ImageFileType(std::string_view("\xFF\xD8\xFF", 3)), TImageFileType::Jpeg);
    EXPECT_EQ(ImageFileType(std::string_view("\xFF", 1)), TImageFileType::Unknown);
    EXPECT_EQ(ImageFileType(std::string_view("<html>")), TImageFileType::Unknown);
}

TEST(ImageBitmaps, SizeCapsRefuseLargeAndOverflowingPictures)
{
    EXPECT_TRUE(ImageSizeAllowed(16384, 4096));
    EXPECT_FALSE(ImageSizeAllowed(16385, 1));
    EXPECT_FALSE(ImageSizeAllowed(1, 16385));
    EXPECT_FALSE(ImageSizeAllowed(8193, 8193)); // 67 megapixels
    EXPECT_FALSE(ImageSizeAllowed(0, 10));
    EXPECT_FALSE(ImageSizeAllowed(-5, 10));
    EXPECT_FALSE(ImageSizeAllowed(1LL << 40, 1LL << 40));
    EXPECT_FALSE(ImageSizeAllowed(16384, 4096, 32)); // 2 GB of pixels
}

TEST(ImageBitmaps, MaskIsWhiteWhereTheTransparentColourIs)
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(qRgb(10, 20, 30));
    image.setPixel(1, 1, qRgb(200, 0, 0));
    image.setPixel(2, 0, qRgb(0, 0, 255));
    const QImage corner = MakeMask(image, false);
    EXPECT_EQ(corner.pixel(0, 2), qRgb(255, 255, 255));
    EXPECT_EQ(corner.pixel(1, 1), qRgb(0, 0, 0));
    const QImage given = MakeMask(image, true, qRgb(0, 0, 255));
    EXPECT_EQ(given.pixel(2, 0), qRgb(255, 255, 255));
    EXPECT_EQ(given.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_TRUE(MakeMask(QImage(), false).isNull());

    QImage canvas(8, 6, QImage::Format_RGB32);
    canvas.fill(qRgb(9, 9, 9));
    {
        QPainter painter(&canvas);
        DrawTransparent(painter, image, corner, 0, 0, 8, 6); // stretched twice
    }
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(9, 9, 9));
    EXPECT_EQ(canvas.pixel(2, 2), qRgb(200, 0, 0));
}

TEST(ImageBitmaps, SharedPaletteHoldsTheCubeAndTheGreys)
{
    const QVector<QRgb>& palette = SharedPalette();
    ASSERT_EQ(palette.size(), 256);
    EXPECT_EQ(palette[0], qRgb(0, 0, 0));
    EXPECT_EQ(palette[10], qRgb(55, 55, 55));
    EXPECT_EQ(palette[11], qRgb(55, 55, 115)); // blue varies fastest
    EXPECT_EQ(palette[16], qRgb(55, 115, 55));
    EXPECT_EQ(palette[224], qRgb(255, 255, 235)); // the cube without white
    EXPECT_EQ(palette[225], qRgb(135, 135, 135));
    EXPECT_EQ(palette[248], qRgb(250, 250, 250));
    EXPECT_EQ(palette[255], qRgb(255, 255, 255));
}

TEST(ImageBitmaps, ToSharedPaletteFollowsTheDisplayDepth)
{
    QImage image(5, 3, QImage::Format_RGB888);
    image.fill(qRgb(55, 115, 165));
    SetColorBits(8);
    const QImage eight = ToSharedPalette(image);
    EXPECT_EQ(eight.format(), QImage::Format_Indexed8);
    EXPECT_EQ(eight.colorTable(), SharedPalette());
    EXPECT_EQ(eight.pixel(2, 1), qRgb(55, 115, 165)); // a cube colour stays exact
    SetColorBits(32);
    EXPECT_EQ(ColorBits(), 24);
    const QImage deep = ToSharedPalette(image);
    EXPECT_EQ(deep.format(), QImage::Format_RGB32);
    EXPECT_EQ(deep.pixel(2, 1), qRgb(55, 115, 165));
    SetColorBits(0);
}

TEST(ImageBitmaps, DibPadsRowsAndKeepsPixels)
{
    EXPECT_EQ(TDib::RowBytesFor(24, 5), 16);
    EXPECT_EQ(TDib::RowBytesFor(1, 33), 8);
    EXPECT_EQ(TDib::RowBytesFor(8, 4), 4);

    QImage image(5, 2, QImage::Format_ARGB32);
    image.fill(qRgb(1, 2, 3));
    image.setPixel(4, 1, qRgb(250, 128, 7));
    const TDib dib(image);
    EXPECT_EQ(dib.BitCount(), 24); // 32-bit pixels are stored as 24-bit
    EXPECT_EQ(dib.RowBytes(), 16);
    EXPECT_EQ(dib.BitsSize(), 32u);
    EXPECT_TRUE(dib.ColorTable().isEmpty());
    EXPECT_EQ(dib.Bits()[12], 7); // bottom-up rows, blue first
    EXPECT_EQ(dib.ToImage().pixel(4, 1), qRgb(250, 128, 7));

    QImage indexed(3, 3, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(0, 0, 0), qRgb(9, 8, 7)});
    indexed.fill(1);
    const TDib palette(indexed);
    EXPECT_EQ(palette.BitCount(), 8);
    EXPECT_EQ(palette.ColorTable().size(), 256);
    EXPECT_EQ(palette.ToImage().pixel(1, 1), qRgb(9, 8, 7));
}

TEST(ImageBitmaps, PlaceholdersComeFromTheResources)
{
    const QImage& error = ErrorBitmap();
    const QImage& mask = ErrorBitmapMask();
    const QImage& waiting = DefaultBitmap();
    ASSERT_EQ(error.size(), QSize(16, 16));
    ASSERT_EQ(mask.size(), error.size());
    ASSERT_EQ(waiting.size(), QSize(16, 16));
    // The drawn pictures, not the plain stand-ins: a red cross on the error
    // picture, a transparent border in its mask.
    bool red = false;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            red |= qRed(error.pixel(x, y)) > 150 && qGreen(error.pixel(x, y)) < 50;
    EXPECT_TRUE(red);
    EXPECT_EQ(mask.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(mask.pixel(8, 8), qRgb(0, 0, 0));
    EXPECT_NE(waiting.pixel(1, 1), waiting.pixel(1, 14));
}
