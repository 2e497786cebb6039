#include "html/HtmlBitmaps.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <optional>

// ---------------------------------------------------------------------------
// File type and size caps

TImageFileType ImageFileType(std::string_view data)
{
    static constexpr std::string_view PngSignature("\x89PNG\r\n\x1a\n", 8);
    if (data.substr(0, 4) == "GIF8")
        return data.size() > 4 && data[4] == '9' ? TImageFileType::Gif89 : TImageFileType::Gif87;
    if (data.substr(0, 2) == "BM")
        return TImageFileType::Bmp;
    if (data.substr(0, 8) == PngSignature)
        return TImageFileType::Png;
    if (data.size() >= 2 && static_cast<unsigned char>(data[0]) == 0xFF && static_cast<unsigned char>(data[1]) == 0xD8)
        return TImageFileType::Jpeg;
    return TImageFileType::Unknown;
}

bool ImageSizeAllowed(int64_t width, int64_t height, int bytesPerPixel)
{
    if (width <= 0 || height <= 0 || bytesPerPixel <= 0)
        return false;
    if (width > MaxImageSide || height > MaxImageSide)
        return false;
    // Both sides are at most 2^14 here, so the products fit in 64 bits; the
    // byte count must also fit the 32-bit sizes of the bitmap classes.
    const int64_t pixels = width * height;
    return pixels <= MaxImagePixels && pixels * bytesPerPixel <= std::numeric_limits<int32_t>::max();
}

// ---------------------------------------------------------------------------
// Masks

namespace {

QImage NewMask(int width, int height)
{
    QImage mask(width, height, QImage::Format_Mono);
    if (mask.isNull())
        return mask;
    mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mask.fill(0);
    return mask;
}

} // namespace

QImage MakeMask(const QImage& bitmap, bool useColor, QRgb color)
{
    if (bitmap.isNull())
        return {};
    const QImage rgb = bitmap.convertToFormat(QImage::Format_RGB32);
    QImage mask = NewMask(rgb.width(), rgb.height());
    if (mask.isNull())
        return {};
    const QRgb transparent = (useColor ? color : rgb.pixel(0, rgb.height() - 1)) & 0xFFFFFF;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            if ((row[x] & 0xFFFFFF) == transparent)
                mask.setPixel(x, y, 1);
    }
    return mask;
}

QImage ComposeTransparent(const QImage& image, const QImage& mask)
{
    if (image.isNull() || mask.isNull() || mask.size() != image.size())
        return image;
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    const QImage white = mask.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        const auto* maskRow = reinterpret_cast<const QRgb*>(white.constScanLine(y));
        for (int x = 0; x < result.width(); ++x)
            if ((maskRow[x] & 0xFFFFFF) == 0xFFFFFF)
                row[x] = 0;
    }
    return result;
}

void DrawTransparent(QPainter& canvas, const QImage& image, const QImage& mask, int x, int y,
                     int width, int height)
{
    canvas.drawImage(QRect(x, y, width, height), ComposeTransparent(image, mask));
}

// ---------------------------------------------------------------------------
// Display depth and the shared palette

namespace {

std::optional<int>& ForcedColorBits()
{
    static std::optional<int> bits;
    return bits;
}

int ClassOfDepth(int depth)
{
    if (depth <= 4)
        return 4;
    if (depth <= 8)
        return 8;
    return 24;
}

// The twenty static colours of an 8-bit desktop palette: the first ten sit
// at indices 0..9, the last ten at 246..255.
constexpr std::array<QRgb, 20> SystemPaletteColors = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080,
    0xFFC0C0C0, 0xFFC0DCC0, 0xFFA6CAF0, 0xFFFFFBF0, 0xFFA0A0A4, 0xFF808080, 0xFFFF0000,
    0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};

QVector<QRgb> BuildSharedPalette()
{
    QVector<QRgb> palette(256);
    for (int i = 0; i < 10; ++i) {
        palette[i] = SystemPaletteColors[static_cast<size_t>(i)];
        palette[246 + i] = SystemPaletteColors[static_cast<size_t>(10 + i)];
    }
    for (int i = 10; i < 246; ++i)
        palette[i] = SystemPaletteColors[0];
    static constexpr int Levels[6] = {55, 115, 165, 205, 235, 255};
    int index = 10;
    for (int r : Levels)
        for (int g : Levels)
            for (int b : Levels)
                if (!(r == 255 && g == 255 && b == 255))
                    palette[index++] = qRgb(r, g, b);
    for (int i = 1; i <= 24; ++i) {
        const int grey = 5 * i + 130;
        palette[224 + i] = qRgb(grey, grey, grey);
    }
    return palette;
}

} // namespace

int ColorBits()
{
    if (ForcedColorBits())
        return *ForcedColorBits();
    const QScreen* screen = QGuiApplication::primaryScreen();
    return ClassOfDepth(screen ? screen->depth() : 24);
}

void SetColorBits(int bits)
{
    if (bits <= 0)
        ForcedColorBits().reset();
    else
        ForcedColorBits() = ClassOfDepth(bits);
}

const QVector<QRgb>& SharedPalette()
{
    static const QVector<QRgb> palette = BuildSharedPalette();
    return palette;
}

QImage ToSharedPalette(const QImage& bitmap)
{
    if (bitmap.isNull())
        return bitmap;
    if (ColorBits() != 8) {
        // Already in the display format: nothing to redraw.
        if (bitmap.format() == QImage::Format_RGB32)
            return bitmap;
        return bitmap.convertToFormat(QImage::Format_RGB32);
    }
    const QImage redrawn = TDib(bitmap).ToImage();
    if (redrawn.format() == QImage::Format_Indexed8 && !redrawn.colorTable().isEmpty())
        return redrawn;
    QImage result = redrawn.convertToFormat(QImage::Format_Indexed8, SharedPalette(), Qt::ThresholdDither);
    if (result.colorTable().isEmpty())
        result.setColorTable(SharedPalette());
    return result;
}

// ---------------------------------------------------------------------------
// TDib

namespace {

// One pixel row between a DIB and a QImage. RGB888 is red first and a DIB row
// blue first, so 24-bit rows swap those bytes, the same either way.
void CopyDibRow(uint8_t* to, const uint8_t* from, int bitCount, int width, size_t used)
{
    if (bitCount != 24) {
        std::memcpy(to, from, used);
        return;
    }
    for (int x = 0; x < width; ++x) {
        to[3 * x] = from[3 * x + 2];
        to[3 * x + 1] = from[3 * x + 1];
        to[3 * x + 2] = from[3 * x];
    }
}

} // namespace

TDib::TDib(const QImage& bitmap)
{
    if (bitmap.isNull())
        return;
    QImage source;
    if (bitmap.depth() == 1) {
        FBitCount = 1;
        source = bitmap.convertToFormat(QImage::Format_Mono);
    } else if (bitmap.format() == QImage::Format_Indexed8) {
        FBitCount = 8;
        source = bitmap;
    } else {
        // 16- and 32-bit pixels are kept as 24-bit.
        FBitCount = 24;
        source = bitmap.convertToFormat(QImage::Format_RGB888);
    }
    FWidth = source.width();
    FHeight = source.height();
    FRowBytes = RowBytesFor(FBitCount, FWidth);
    if (FBitCount <= 8) {
        FColors = source.colorTable();
        FColors.resize(1 << FBitCount, qRgb(0, 0, 0));
    }
    FBits.assign(static_cast<size_t>(FRowBytes) * static_cast<size_t>(FHeight), 0);
    const size_t used = static_cast<size_t>((FBitCount * FWidth + 7) / 8);
    for (int y = 0; y < FHeight; ++y) {
        const uchar* from = source.constScanLine(y);
        uint8_t* to = FBits.data() + static_cast<size_t>(FHeight - 1 - y) * static_cast<size_t>(FRowBytes);
        CopyDibRow(to, from, FBitCount, FWidth, used);
    }
}

QImage TDib::ToImage() const
{
    if (FBits.empty())
        return {};
    const QImage::Format format = FBitCount == 1 ? QImage::Format_Mono
                                  : FBitCount == 8 ? QImage::Format_Indexed8
                                                   : QImage::Format_RGB888;
    QImage image(FWidth, FHeight, format);
    if (image.isNull())
        return image;
    if (FBitCount <= 8)
        image.setColorTable(FColors);
    const size_t used = static_cast<size_t>((FBitCount * FWidth + 7) / 8);
    for (int y = 0; y < FHeight; ++y) {
        const uint8_t* from = FBits.data() + static_cast<size_t>(FHeight - 1 - y) * static_cast<size_t>(FRowBytes);
        uchar* to = image.scanLine(y);
        CopyDibRow(to, from, FBitCount, FWidth, used);
    }
    return image;
}

// ---------------------------------------------------------------------------
// Placeholders

// The resource file is compiled into the static library; initialising it by
// name keeps it from being dropped by the linker.
static void InitPlaceholderResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(placeholders);
        return true;
    }();
    (void)done;
}

namespace {

// Should a picture still be missing, a plain drawing stands in so that a
// placeholder is never empty.
QImage LoadPlaceholder(const char* resource, int fallbackSize, QRgb fallback)
{
    InitPlaceholderResources();
    QImage image(QString::fromLatin1(resource));
    if (!image.isNull())
        return image.convertToFormat(QImage::Format_RGB32);
    image = QImage(fallbackSize, fallbackSize, QImage::Format_RGB32);
    image.fill(fallback);
    return image;
}

} // namespace

const QImage& ErrorBitmap()
{
    static const QImage image = LoadPlaceholder(":/korvalith/images/1001.png", 16, 0xFFC00000);
    return image;
}

const QImage& ErrorBitmapMask()
{
    static const QImage mask = [] {
        InitPlaceholderResources();
        QImage loaded(QStringLiteral(":/korvalith/images/1005.png"));
        if (!loaded.isNull() && loaded.size() == ErrorBitmap().size())
            return MakeMask(loaded, true, qRgb(255, 255, 255));
        return NewMask(ErrorBitmap().width(), ErrorBitmap().height());
    }();
    return mask;
}

const QImage& DefaultBitmap()
{
    static const QImage image = LoadPlaceholder(":/korvalith/images/1002.png", 16, 0xFF808080);
    return image;
}
