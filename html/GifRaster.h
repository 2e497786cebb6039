#pragma once
// The raster combinations the GIF animation is composed and drawn with,
// on pixel buffers: copy, AND, AND NOT, XOR and OR of a source rectangle
// onto a destination, plain or stretched (nearest pixel: rows and columns
// are dropped or repeated, never blended).
//
// Colours combine on their 24 red-green-blue bits. A mask is white
// (0xFFFFFF) where transparent and black (0) where opaque, so that AND with a
// mask keeps what lies under transparent pixels and clears the rest.
//
// Destinations: Format_RGB32 / Format_ARGB32 (alpha is set opaque) or
// Format_Grayscale8 (a mask: 0 black, 255 white; only the low 8 bits of a
// combination are kept). Sources: those, Format_Indexed8 (through its colour
// table; indices beyond it are black) and Format_Mono (through its two
// colours). Rectangles are clipped to both images.

#include <QImage>
#include <QRect>

// Marks a function whose loops run once per pixel: in a fuzzing build it
// reports no coverage, since its branches go the same way for every pixel
// and tracing each of their comparisons would take most of a run's time.
// The sanitizers still check it.
#if defined(__clang__)
#define KORVALITH_PIXEL_LOOP __attribute__((no_sanitize("coverage")))
#else
#define KORVALITH_PIXEL_LOOP
#endif

enum class TRasterOp { Copy, And, AndNot, Xor, Or };

// Combines `sourceRect` of `source` onto `dest` with its top-left corner at
// `at`.
void RasterBlit(QImage& dest, QPoint at, const QImage& source, const QRect& sourceRect, TRasterOp op);
inline void RasterBlit(QImage& dest, QPoint at, const QImage& source, TRasterOp op)
{
    RasterBlit(dest, at, source, source.rect(), op);
}

// Stretches the whole of `source` over `destRect` of `dest`.
void RasterStretch(QImage& dest, const QRect& destRect, const QImage& source, TRasterOp op);

// Fills a rectangle (clipped) with a colour, 0xRRGGBB; a mask takes 0 or 255.
void RasterFill(QImage& dest, const QRect& rect, QRgb color);

// A new image of the size and format, filled with `color`; a null image when
// the memory cannot be had.
QImage NewFilledImage(int width, int height, QImage::Format format, QRgb color);

// A Format_Mono copy (colours black 0, white 1) of a Format_Grayscale8 mask:
// white wherever the mask is not 0.
QImage MonoMaskFromGray(const QImage& mask);

constexpr QRgb RasterBlack = 0x000000;
constexpr QRgb RasterWhite = 0xFFFFFF;
