#include "html/GifRaster.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t OpaqueAlpha = 0xFF000000u;

bool IsMask(const QImage& image) { return image.format() == QImage::Format_Grayscale8; }

bool IsWritable(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_Grayscale8:
        return true;
    default:
        return false;
    }
}

// The source formats read directly; any other is converted to RGB32 first.
enum class TSourceKind { Rgb32, Indexed8, Mono, Gray8 };

// Reads the pixels of a source image as 0xAARRGGBB, whatever its format.
class TPixelSource {
public:
    explicit TPixelSource(const QImage& image)
        : FImage(image)
    {
        switch (image.format()) {
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32:
        case QImage::Format_ARGB32_Premultiplied:
            FKind = TSourceKind::Rgb32;
            break;
        case QImage::Format_Grayscale8:
            FKind = TSourceKind::Gray8;
            break;
        case QImage::Format_Indexed8:
            FKind = TSourceKind::Indexed8;
            FillLookup();
            break;
        case QImage::Format_Mono:
            FKind = TSourceKind::Mono;
            FillLookup();
            break;
        default:
            FImage = image.convertToFormat(QImage::Format_RGB32);
            FKind = TSourceKind::Rgb32;
            break;
        }
    }

    TSourceKind Kind() const { return FKind; }
    const uchar* Line(int y) const { return FImage.constScanLine(y); }

    template <TSourceKind Kind> KORVALITH_PIXEL_LOOP uint32_t Pixel(const uchar* line, int x) const
    {
        if constexpr (Kind == TSourceKind::Rgb32)
            return reinterpret_cast<const uint32_t*>(line)[x];
        else if constexpr (Kind == TSourceKind::Indexed8)
            return FLookup[line[x]];
        else if constexpr (Kind == TSourceKind::Mono)
            return FLookup[(line[x >> 3] >> (7 - (x & 7))) & 1];
        else
            return OpaqueAlpha | (uint32_t { line[x] } * 0x010101u);
    }

    void Fetch(int y, int x0, int count, uint32_t* out) const
    {
        switch (FKind) {
        case TSourceKind::Rgb32:
            return FetchAs<TSourceKind::Rgb32>(y, x0, count, out);
        case TSourceKind::Indexed8:
            return FetchAs<TSourceKind::Indexed8>(y, x0, count, out);
        case TSourceKind::Mono:
            return FetchAs<TSourceKind::Mono>(y, x0, count, out);
        case TSourceKind::Gray8:
            return FetchAs<TSourceKind::Gray8>(y, x0, count, out);
        }
    }

private:
    template <TSourceKind Kind> KORVALITH_PIXEL_LOOP void FetchAs(int y, int x0, int count, uint32_t* out) const
    {
        const uchar* line = Line(y);
        for (int i = 0; i < count; ++i)
            out[i] = Pixel<Kind>(line, x0 + i);
    }

    // Indices beyond the colour table are black; a mono image without one
    // is black (0) and white (1).
    void FillLookup()
    {
        const QList<QRgb> table = FImage.colorTable();
        const size_t known = std::min<size_t>(256, size_t(table.size()));
        std::copy_n(table.constBegin(), known, FLookup);
        std::fill(FLookup + known, std::end(FLookup), OpaqueAlpha);
        if (FImage.format() == QImage::Format_Mono && known < 2)
            FLookup[1] = 0xFFFFFFFFu;
    }

    QImage FImage;
    TSourceKind FKind = TSourceKind::Rgb32;
    uint32_t FLookup[256];
};

template <TRasterOp Op> KORVALITH_PIXEL_LOOP inline uint32_t Combine(uint32_t d, uint32_t s)
{
    if constexpr (Op == TRasterOp::Copy)
        return s;
    else if constexpr (Op == TRasterOp::And)
        return d & s;
    else if constexpr (Op == TRasterOp::AndNot)
        return d & ~s;
    else if constexpr (Op == TRasterOp::Xor)
        return d ^ s;
    else
        return d | s;
}

// Combines `count` source pixels, produced by `pixel(i)`, into row y of the
// destination from x0. Colour destinations stay opaque.
template <TRasterOp Op, class TPixelAt> KORVALITH_PIXEL_LOOP void CombineRow(QImage& dest, int y, int x0, int count, TPixelAt pixel)
{
    if (IsMask(dest)) {
        uint8_t* d = dest.scanLine(y) + x0;
        for (int i = 0; i < count; ++i)
            d[i] = static_cast<uint8_t>(Combine<Op>(d[i], pixel(i)));
    } else {
        uint32_t* d = reinterpret_cast<uint32_t*>(dest.scanLine(y)) + x0;
        for (int i = 0; i < count; ++i)
            d[i] = Combine<Op>(d[i], pixel(i)) | OpaqueAlpha;
    }
}

template <class TPixelAt> KORVALITH_PIXEL_LOOP void CombineRow(QImage& dest, int y, int x0, int count, TRasterOp op, TPixelAt pixel)
{
    switch (op) {
    case TRasterOp::Copy:
        return CombineRow<TRasterOp::Copy>(dest, y, x0, count, pixel);
    case TRasterOp::And:
        return CombineRow<TRasterOp::And>(dest, y, x0, count, pixel);
    case TRasterOp::AndNot:
        return CombineRow<TRasterOp::AndNot>(dest, y, x0, count, pixel);
    case TRasterOp::Xor:
        return CombineRow<TRasterOp::Xor>(dest, y, x0, count, pixel);
    case TRasterOp::Or:
        return CombineRow<TRasterOp::Or>(dest, y, x0, count, pixel);
    }
}

// Reads and combines in one pass per row (frames composed onto the picture
// are the hot case).
template <TSourceKind Kind>
KORVALITH_PIXEL_LOOP void BlitRows(QImage& dest, const QRect& to, const TPixelSource& source, QPoint from, TRasterOp op)
{
    for (int i = 0; i < to.height(); ++i) {
        const uchar* line = source.Line(from.y() + i);
        const int x0 = from.x();
        CombineRow(
            dest, to.top() + i, to.left(), to.width(), op, [&](int x) KORVALITH_PIXEL_LOOP { return source.Pixel<Kind>(line, x0 + x); });
    }
}

} // namespace

KORVALITH_PIXEL_LOOP void RasterBlit(QImage& dest, QPoint at, const QImage& source, const QRect& sourceRect, TRasterOp op)
{
    if (!IsWritable(dest) || source.isNull())
        return;
    QRect from = sourceRect & source.rect();
    // Clip against the destination by moving both rectangles together.
    const QPoint shift = at - sourceRect.topLeft();
    const QRect to = from.translated(shift) & dest.rect();
    if (to.isEmpty())
        return;
    from = to.translated(-shift);

    const TPixelSource pixels(source);
    switch (pixels.Kind()) {
    case TSourceKind::Rgb32:
        return BlitRows<TSourceKind::Rgb32>(dest, to, pixels, from.topLeft(), op);
    case TSourceKind::Indexed8:
        return BlitRows<TSourceKind::Indexed8>(dest, to, pixels, from.topLeft(), op);
    case TSourceKind::Mono:
        return BlitRows<TSourceKind::Mono>(dest, to, pixels, from.topLeft(), op);
    case TSourceKind::Gray8:
        return BlitRows<TSourceKind::Gray8>(dest, to, pixels, from.topLeft(), op);
    }
}

KORVALITH_PIXEL_LOOP void RasterStretch(QImage& dest, const QRect& destRect, const QImage& source, TRasterOp op)
{
    if (!IsWritable(dest) || source.isNull() || destRect.isEmpty())
        return;
    const QRect clip = destRect & dest.rect();
    if (clip.isEmpty())
        return;
    const int64_t sw = source.width(), sh = source.height();
    const int64_t dw = destRect.width(), dh = destRect.height();

    std::vector<int> columnOf(static_cast<size_t>(clip.width()));
    for (int i = 0; i < clip.width(); ++i)
        columnOf[size_t(i)] = int((clip.left() + i - destRect.left()) * sw / dw);

    TPixelSource pixels(source);
    std::vector<uint32_t> sourceRow(static_cast<size_t>(sw));
    std::vector<uint32_t> sampled(static_cast<size_t>(clip.width()));
    int fetchedRow = -1;
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const int sy = int((y - destRect.top()) * sh / dh);
        if (sy != fetchedRow) {
            pixels.Fetch(sy, 0, int(sw), sourceRow.data());
            for (size_t i = 0; i < sampled.size(); ++i)
                sampled[i] = sourceRow[size_t(columnOf[i])];
            fetchedRow = sy;
        }
        CombineRow(dest, y, clip.left(), clip.width(), op, [&](int i) KORVALITH_PIXEL_LOOP { return sampled[size_t(i)]; });
    }
}

KORVALITH_PIXEL_LOOP void RasterFill(QImage& dest, const QRect& rect, QRgb color)
{
    if (!IsWritable(dest))
        return;
    const QRect clip = rect & dest.rect();
    if (clip.isEmpty())
        return;
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        if (IsMask(dest)) {
            std::memset(dest.scanLine(y) + clip.left(), int(color & 0xFF), size_t(clip.width()));
        } else {
            uint32_t* line = reinterpret_cast<uint32_t*>(dest.scanLine(y)) + clip.left();
            std::fill(line, line + clip.width(), OpaqueAlpha | (color & 0xFFFFFF));
        }
    }
}

QImage NewFilledImage(int width, int height, QImage::Format format, QRgb color)
{
    QImage image(width, height, format);
    if (image.isNull())
        return {};
    switch (format) {
    case QImage::Format_Grayscale8:
        image.fill(uint(color & 0xFF));
        break;
    case QImage::Format_Mono:
        image.setColorTable({ qRgb(0, 0, 0), qRgb(255, 255, 255) });
        image.fill((color & 0xFFFFFF) != 0 ? 1u : 0u);
        break;
    default:
        image.fill(OpaqueAlpha | (color & 0xFFFFFF));
        break;
    }
    return image;
}

KORVALITH_PIXEL_LOOP QImage MonoMaskFromGray(const QImage& mask)
{
    QImage mono = NewFilledImage(mask.width(), mask.height(), QImage::Format_Mono, RasterBlack);
    if (mono.isNull() || mask.format() != QImage::Format_Grayscale8)
        return mono;
    for (int y = 0; y < mask.height(); ++y) {
        const uchar* from = mask.constScanLine(y);
        uchar* to = mono.scanLine(y);
        for (int x = 0; x < mask.width(); ++x)
            if (from[x] != 0)
                to[x >> 3] |= uchar(0x80 >> (x & 7));
    }
    return mono;
}
