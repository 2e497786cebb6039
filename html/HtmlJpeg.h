#pragma once
// JPEG decoding through the IJG API of libjpeg-turbo. Library errors return
// to the loader (never exit the process); pictures above the size caps, more
// than MaxScans progressive scans, 12-bit and lossless files are refused.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstddef>
#include <cstdint>

class TJpegMod {
public:
    enum class TPixelFormat { pf24bit, pf8bit };

    static constexpr int MaxScans = 100;
    static constexpr long MaxMemory = 512L * 1024 * 1024;

    // pf24bit gives the display's 32-bit RGB format; pf8bit an 8-bit image
    // realised with the shared palette.
    TPixelFormat PixelFormat = TPixelFormat::pf24bit;

    // Decodes the data; false (with ErrorText set) when the file is not a
    // JPEG we can show. A truncated file keeps the rows that were decoded.
    bool LoadFromData(const uint8_t* data, size_t size);
    bool LoadFromData(const QByteArray& data)
    {
        return LoadFromData(reinterpret_cast<const uint8_t*>(data.constData()), static_cast<size_t>(data.size()));
    }

    const QImage& Bitmap() const { return FBitmap; }
    const QString& ErrorText() const { return FError; }

private:
    QImage FBitmap;
    QString FError;
};
