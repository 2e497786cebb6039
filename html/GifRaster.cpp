#include "html/GifRaster.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t OpaqueAlpha = 0xFF000000u;

bool IsMask(const QImage& image)
{
    return image.format() == QImage::Format_Grayscale8;
}

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

// Reads the pixels of a source image as 0xAARRGGBB, whatever its format.
class TPixelSource {
public:
    explicit TPixelSource(const QImage& image) : FImage(image)
    {
        switch (image.format()) {
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32:
        case QImage::Format_ARGB32_Premultiplied:
        case QImage::Format_Grayscale8:
            break;
        case QImage::Format_Indexed8:
        case QImage::Format_Mono:
            FillLookup();
            break;
        default:
            FConverted = image.convertToFormat(QImage::Format_RGB32);
            FImage = FConverted;
            break;
        }
    }

    void Fetch(int y, int x0, int count, uint32_t* out) const
    {
        const uchar* line = FImage.constScanLine(y);
        switch (FImage.format()) {
        case QImage::Format_Indexed8:
            for (int i = 0; i < count; ++i)
                out[i] = FLookup[line[x0 + i]];
            break;
        case QImage::Format_Mono:
            for (int i = 0; i < count; ++i) {
                const int x = x0 + i;
                out[i] = FLookup[(line[x >> 3] >> (7 - (x & 7))) & 1];
            }
            break;
        case QImage::Format_Grayscale8:
            for (int i = 0; i < count; ++i)
                out[i] = OpaqueAlpha | (uint32_t{line[x0 + i]} * 0x010101u);
            break;
        default:
            std::memcpy(out, reinterpret_cast<const uint32_t*>(line) + x0, sizeof(uint32_t) * size_t(count));
            break;
        }
    }

private:
    // Indices beyond the colour table are black; a mono image without one
    // is black (0) and white (1).
    void FillLookup()
    {
        const QList<QRgb> table = FImage.colorTable();
        std::fill(std::begin(FLookup), std::end(FLookup), OpaqueAlpha);
        if (FImage.format() == QImage::Format_Mono && table.size() < 2)
            FLookup[1] = 0xFFFFFFFFu;
        for (int i = 0; i < std::min<int>(256, int(table.size())); ++i)
            FLookup[i] = table[i];
    }

    QImage FImage;
    QImage FConverted;
    uint32_t FLookup[256];
};

template <TRasterOp Op>
inline uint32_t Combine(uint32_t d, uint32_t s)
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

template <TRasterOp Op>
void CombineRow(QImage& dest, int y, int x0, const uint32_t* source, int count)
{
    if (IsMask(dest)) {
        uint8_t* d = dest.scanLine(y) + x0;
        for (int i = 0; i < count; ++i)
            d[i] = static_cast<uint8_t>(Combine<Op>(d[i], source[i]));
    } else {
        uint32_t* d = reinterpret_cast<uint32_t*>(dest.scanLine(y)) + x0;
        for (int i = 0; i < count; ++i)
            d[i] = Combine<Op>(d[i], source[i]) | OpaqueAlpha;
    }
}

void CombineRow(QImage& dest, int y, int x0, const uint32_t* source, int count, TRasterOp op)
{
    switch (op) {
    case TRasterOp::Copy: return CombineRow<TRasterOp::Copy>(dest, y, x0, source, count);
    case TRasterOp::And: return CombineRow<TRasterOp::And>(dest, y, x0, source, count);
    case TRasterOp::AndNot: return CombineRow<TRasterOp::AndNot>(dest, y, x0, source, count);
    case TRasterOp::Xor: return CombineRow<TRasterOp::Xor>(dest, y, x0, source, count);
    case TRasterOp::Or: return CombineRow<TRasterOp::Or>(dest, y, x0, source, count);
    }
}

}  // namespace

void RasterBlit(QImage& dest, QPoint at, const QImage& source, const QRect& sourceRect, TRasterOp op)
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

    TPixelSource pixels(source);
    std::vector<uint32_t> row(static_cast<size_t>(to.width()));
    for (int i = 0; i < to.height(); ++i) {
        pixels.Fetch(from.top() + i, from.left(), to.width(), row.data());
        CombineRow(dest, to.top() + i, to.left(), row.data(), to.width(), op);
    }
}

void RasterStretch(QImage& dest, const QRect& destRect, const QImage& source, TRasterOp op)
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
        CombineRow(dest, y, clip.left(), sampled.data(), clip.width(), op);
    }
}

void RasterFill(QImage& dest, const QRect& rect, QRgb color)
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
        image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        image.fill((color & 0xFFFFFF) != 0 ? 1u : 0u);
        break;
    default:
        image.fill(OpaqueAlpha | (color & 0xFFFFFF));
        break;
    }
    return image;
}

QImage MonoMaskFromGray(const QImage& mask)
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
