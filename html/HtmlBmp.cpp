#include "html/HtmlBmp.h"

#include "html/HtmlBitmaps.h"

#include <QBuffer>
#include <QImageReader>

#include <array>
#include <bit>
#include <cstdint>

namespace {

uint32_t Read32(const QByteArray& data, int at)
{
    if (at + 4 > data.size())
        return 0;
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(data[at + i]);
    return value;
}

uint16_t Read16(const QByteArray& data, int at)
{
    if (at + 2 > data.size())
        return 0;
    return static_cast<uint16_t>(static_cast<uint8_t>(data[at]) | (static_cast<uint8_t>(data[at + 1]) << 8));
}

// The red, green and blue masks of a 16- or 32-bit BMP: its bit fields when
// it has them, the default 5-5-5 layout for 16-bit files without; nothing
// for the other depths.
std::array<uint32_t, 3> ChannelMasks(const QByteArray& data)
{
    constexpr int InfoHeader = 14; // after the file header
    constexpr int BiBitfields = 3;
    constexpr int BiAlphaBitfields = 6;
    const uint32_t headerSize = Read32(data, InfoHeader);
    const int bits = Read16(data, InfoHeader + 14);
    const uint32_t compression = Read32(data, InfoHeader + 16);
    if (headerSize < 40 || (bits != 16 && bits != 32))
        return {0, 0, 0};
    if (compression == BiBitfields || compression == BiAlphaBitfields) {
        // The masks follow a 40-byte header, or are part of a longer one.
        const int at = InfoHeader + 40;
        return {Read32(data, at), Read32(data, at + 4), Read32(data, at + 8)};
    }
    if (bits == 16)
        return {0x7C00, 0x03E0, 0x001F};
    return {0, 0, 0};
}

// The reader widens a channel of n < 8 bits by shifting it left (31 -> 248
// for 5 bits); full intensity must stay full (31 -> 255), so the channel is
// scaled to 0..255 instead.
std::array<uint8_t, 256> WideningTable(uint32_t mask)
{
    std::array<uint8_t, 256> table{};
    const int n = std::popcount(mask);
    for (int v = 0; v < 256; ++v)
        table[static_cast<size_t>(v)] = static_cast<uint8_t>(v);
    if (n < 1 || n >= 8)
        return table;
    const int maximum = (1 << n) - 1;
    const int step = 256 >> n;
    for (int v = 0; v < 256; ++v) {
        const int c = std::min(v / step, maximum);
        table[static_cast<size_t>(v)] = static_cast<uint8_t>((c * 255 + maximum / 2) / maximum);
    }
    return table;
}

void WidenNarrowChannels(QImage& image, const std::array<uint32_t, 3>& masks)
{
    if (std::popcount(masks[0]) >= 8 && std::popcount(masks[1]) >= 8 && std::popcount(masks[2]) >= 8)
        return;
    if (masks[0] == 0 && masks[1] == 0 && masks[2] == 0)
        return;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    const auto red = WideningTable(masks[0]);
    const auto green = WideningTable(masks[1]);
    const auto blue = WideningTable(masks[2]);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = row[x];
            row[x] = qRgba(red[qRed(p)], green[qGreen(p)], blue[qBlue(p)], qAlpha(p));
        }
    }
}

} // namespace

QImage DecodeBmp(const QByteArray& data)
{
    if (ImageFileType(data) != TImageFileType::Bmp)
        return {};
    QByteArray bytes = data; // shared, not copied
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    // The format is forced: the reader never guesses from content or name.
    QImageReader reader(&buffer, "bmp");
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    const QSize size = reader.size(); // reads the header only
    if (!ImageSizeAllowed(size.width(), size.height(), 4))
        return {};
    // Our caps decide what is too large, not the reader's default limit.
    if (QImageReader::allocationLimit() < 256)
        QImageReader::setAllocationLimit(256);
    QImage image;
    if (!reader.read(&image))
        return {};
    WidenNarrowChannels(image, ChannelMasks(data));
    return image;
}
