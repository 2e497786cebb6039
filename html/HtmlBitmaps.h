#pragma once
// Bitmap helpers of the image code: recognising a file type by content,
// size caps, transparency masks and drawing through them, the shared
// 256-colour palette for 8-bit displays with ToSharedPalette, the
// device-independent copy TDib, and the built-in placeholder pictures.

#include <QByteArray>
#include <QImage>
#include <QVector>

#include <cstdint>
#include <string_view>
#include <vector>

class QPainter;

enum class TTransparency {
    None = 0,
    LowerLeft = 1, // TRANSP: the bottom-left pixel's colour is transparent
    TGif = 2,      // the GIF's transparent colour
    TPng = 3       // a PNG palette transparency
};

enum class TImageFileType { Unknown, Gif87, Gif89, Bmp, Png, Jpeg };
// By the first bytes: "GIF8", "BM", the PNG signature, FF D8.
TImageFileType ImageFileType(std::string_view data);
inline TImageFileType ImageFileType(const QByteArray& data)
{
    return ImageFileType(std::string_view(data.constData(), static_cast<size_t>(data.size())));
}

// Decoders refuse pictures larger than these before allocating anything.
constexpr int64_t MaxImagePixels = 64LL * 1024 * 1024;
constexpr int MaxImageSide = 16384;
// Width x height x bytes per pixel, checked: false for sizes that are not
// positive, exceed a cap, or overflow.
bool ImageSizeAllowed(int64_t width, int64_t height, int bytesPerPixel = 4);

// Monochrome mask, white where the pixel has the transparent colour: the
// given colour, or the bottom-left pixel's when useColor is false.
QImage MakeMask(const QImage& bitmap, bool useColor, QRgb color = 0);
// The image with every pixel that is white in the mask made transparent.
QImage ComposeTransparent(const QImage& image, const QImage& mask);
// Stretches the image over what is already drawn, through the mask.
void DrawTransparent(QPainter& canvas, const QImage& image, const QImage& mask, int x, int y,
                     int width, int height);

// Display depth classed as 4 (at most 4 bits), 8, or 24 (more than 8).
int ColorBits();
// Tests (and the start-up code) may force the display depth class.
void SetColorBits(int bits);
// The shared palette: system colours, the 6x6x6 cube over 55, 115, 165,
// 205, 235, 255 without white, and 24 greys.
const QVector<QRgb>& SharedPalette();
// The bitmap redrawn through a TDib into a device bitmap: on 8-bit
// displays an 8-bit image realised with the shared palette, otherwise the
// display's 32-bit format.
QImage ToSharedPalette(const QImage& bitmap);

// A device-independent copy of a bitmap: a header, a colour table of 2^bits
// entries for 8 bits or less, 16- and 32-bit pixels stored as 24-bit, rows
// bottom-up and padded to 4 bytes.
class TDib {
public:
    explicit TDib(const QImage& bitmap);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int BitCount() const { return FBitCount; }
    int RowBytes() const { return FRowBytes; }
    const QVector<QRgb>& ColorTable() const { return FColors; }
    const uint8_t* Bits() const { return FBits.data(); }
    size_t BitsSize() const { return FBits.size(); }
    // Back to a bitmap (QImage).
    QImage ToImage() const;

    static int RowBytesFor(int bits, int width) { return (bits * width + 31) / 32 * 4; }

private:
    int FWidth = 0;
    int FHeight = 0;
    int FBitCount = 0;
    int FRowBytes = 0;
    QVector<QRgb> FColors;
    std::vector<uint8_t> FBits;
};

// The placeholders, kept as resources 1001 (loading failed), 1005 (its
// mask) and 1002 (not available yet, or images switched off).
const QImage& ErrorBitmap();
const QImage& ErrorBitmapMask();
const QImage& DefaultBitmap();
