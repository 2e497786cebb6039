#pragma once
// GIF images (GIF87a and GIF89a): decoding into pixel buffers and playing
// animations inside pages.
//
// How the image loader uses this unit:
//  - `LoadGifFromFile(name, isStill)` or `LoadGifFromStream(device, isStill)`
//    give a decoded TGIFImage, or null when the data is not a GIF or cannot
//    be decoded (nothing is thrown).
//  - isStill: take `*FirstFrameBitmap()` (Format_RGB32, ImageWidth by
//    ImageHeight, black where transparent) as the image and, when
//    `HasTransparency`, `*FirstFrameMask()` (Format_Mono, white where
//    transparent) as its mask, transparency mode 2; then drop the TGIFImage.
//  - animated: cache the TGIFImage itself. The first image object to use a
//    cached one uses it directly; later ones use their own `CopyGif` of it.
//    Painting: set `PaintedFlag` and `Shown`, call `DrawGif`. The document
//    clears every `PaintedFlag` before a paint and, at each 50 ms tick, calls
//    `AdvanceAnimation(window)` for the GIFs whose flag is set; after each
//    layout it calls `SetFrameIndex(1)`, `SetRunning(false)`,
//    `SetRunning(true)` on each.
//  - `SetGifCachePurge` installs what releases unused cached images when a
//    GIF fails to decode.

#include "platform/TObject.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QIODevice;
class QPainter;
class QWidget;
class TGIFImage;
class TGifReader;
class TLzwDecoder;

using TGifPalette = std::array<uint8_t, 768>; // 256 red-green-blue triples

struct TGifRGB {
    uint8_t Red = 0, Green = 0, Blue = 0;
};

// GIF89a, section 23: the Graphic Control Extension that applies to the next
// image.
struct TGraphicControl {
    uint8_t Packed = 0;
    uint16_t Delay = 0; // hundredths of a second
    uint8_t TransparentIndex = 0;
};

// Frame disposal (what happens to its area before the next frame).
constexpr uint8_t DisposalUnspecified = 0;
constexpr uint8_t DisposalLeave = 1;
constexpr uint8_t DisposalBackground = 2; // cleared to black and transparent
constexpr uint8_t DisposalPrevious = 3; // restored as it was before

// Limits on what a file may make us allocate.
constexpr int64_t MaxGifPixels = 64 * 1024 * 1024;
constexpr int64_t MaxGifMemory = 256 * 1024 * 1024;
constexpr int MaxGifFrames = 256;
constexpr qint64 MaxGifFileBytes = 256 * 1024 * 1024;

enum class TImageBlockResult {
    Read, // a frame
    Skipped, // a frame of width or height 0: its data is passed over
    Failed, // unreadable: parsing stops, earlier frames remain
    Refused, // too large: the whole file is refused
};

// One image of the file.
class TFrame : public TObject {
public:
    explicit TFrame(TGIFImage* owner)
        : OwnerGif(owner)
    {
    }

    int FrameLeft = 0, FrameTop = 0, FrameWidth = 0, FrameHeight = 0;
    int LocalColorBits = 0;
    int DelayMs = 0;
    uint8_t Disposal = DisposalUnspecified;
    bool OwnsColorTable = false;
    bool Interlaced = false;
    bool Transparent = false;
    uint8_t TransparentIndex = 0;
    TGifRGB TransparentRGB;
    const uint8_t* ColorTable = nullptr; // 768 bytes: the local copy or the owner's
    QImage FrameBitmap; // Format_Indexed8, black where transparent
    QImage FrameMask; // Format_Grayscale8, white (255) where transparent
    QImage SavedImage, SavedMask; // disposal 3: the area before the frame
    TGIFImage* OwnerGif;
    std::string FrameComment;

    // Reads the image data (minimum code size, sub-blocks) into FrameBitmap
    // and, for a transparent frame, FrameMask.
    virtual void DecodeLzw(TGifReader& reader);
    // Reads an image descriptor and its data at the reader's position.
    virtual TImageBlockResult ReadImageBlock(
        TGifReader& reader, const uint8_t* globalTable, const TGraphicControl& control);

    QRect Area() const { return { FrameLeft, FrameTop, FrameWidth, FrameHeight }; }
    int64_t DecodedBytes() const; // what decoding this frame allocates
    void CopyFrom(const TFrame& source);

private:
    void ApplyGraphicControl(const TGraphicControl& control);
    void PlaceRows(const uint8_t* indices);
    void BuildMask();
    void SetBitmapColors();

    std::unique_ptr<TGifPalette> FLocalTable;
};

// What shows through transparent pixels: the containing block's own colour
// when it is not the document and has one, else the document's background
// image tiled with the page (when it has one), else the document's colour.
struct TGifBackdrop {
    std::optional<QRgb> BlockColor;
    QRgb DocumentColor = 0xFFFFFF;
    const QImage* BackgroundImage = nullptr;
    int VerticalOffset = 0; // the document's scroll position
};

class TGIFImage : public TObject {
public:
    TGIFImage();
    ~TGIFImage() noexcept(false) override;

    bool IsMultiFrame = false;
    int FrameIndex = 1; // 1-based
    bool IsEmpty = true;
    int ImageWidth = 0, ImageHeight = 0;
    int FrameCount = 0;
    int PlayCount = 1; // 0: without end
    int SpeedPercent = 100;
    bool HasTransparency = false;
    bool Shown = true;
    int ColorBits = 0;
    TGifPalette GlobalPalette {};
    QImage ComposedBitmap; // Format_RGB32
    QImage ComposedMask; // Format_Grayscale8: 255 transparent, 0 opaque
    QImage WorkBitmap; // Format_RGB32: backdrop and picture combined
    bool NeedBackdrop = false;
    bool Running = false;
    QRect LastDrawRect;
    std::vector<std::unique_ptr<TFrame>> FrameList;
    int LoopsDone = 1;
    bool HoldFirstTick = false;
    bool ScanOnly = false;
    QByteArray GifData; // held only while parsing
    qint64 LastAdvanceTime = 0;
    int FrameDelay = 1;
    bool PaintedFlag = false;
    bool OwnedCopy = false;

    TFrame& Frame(int index) { return *FrameList[size_t(index - 1)]; }
    const TFrame& Frame(int index) const { return *FrameList[size_t(index - 1)]; }

    virtual bool ParseGifData();

    // Full decoding; false (and everything cleared) on any failure.
    bool LoadFromFile(const QString& fileName);
    bool LoadFromStream(QIODevice& stream);
    bool LoadFromBytes(const QByteArray& data);
    // Structure only: frames with geometry, timing and transparency, no pixels.
    bool ScanFile(const QString& fileName);
    bool ScanStream(QIODevice& stream);
    bool ScanBytes(const QByteArray& data);

    void CopyGif(const TGIFImage& source);
    void ClearFrames();
    void ClearAll();
    void SetRunning(bool on);
    void SetFrameIndex(int index);
    void SetShown(bool shown) { Shown = shown; }

    // Frame 1 alone on the logical screen; null when there is nothing
    // decoded (or no transparency, for the mask). Made once and kept.
    const QImage* FirstFrameBitmap();
    const QImage* FirstFrameMask();

    void ComposeFrame();
    void DisposeFrame(int index);
    void AdvanceAnimation(QWidget* window);
    void DrawGif(QPainter& canvas, const TGifBackdrop& backdrop, int x, int y, int width, int height);
    void PaintBackdrop(const TGifBackdrop& backdrop, int x, int y, int width, int height);

    // Colours of frames without any colour table.
    static const uint8_t* DefaultPalette();
    int GlobalColorBits() const { return FGlobalBits; }
    // Scratch buffers and the LZW tables, kept across the frames of a parse.
    TLzwDecoder& Decoder();
    std::vector<uint8_t>& CodeBuffer() { return FCodeBuffer; }
    std::vector<uint8_t>& IndexBuffer() { return FIndexBuffer; }

private:
    bool Load(const QByteArray& data, bool scanOnly);
    bool ParseStructure();
    void ReadExtension(TGifReader& reader, TGraphicControl& control, std::string& comment);
    bool FitsMemoryBudget() const;
    bool CreateComposedPictures();
    void ReleasePictures();
    int ScaledDelay(int delayMs) const;

    int FGlobalBits = 0;
    bool FHasGlobalTable = false;
    std::unique_ptr<QImage> FFirstBitmap, FFirstMask;
    std::unique_ptr<TLzwDecoder> FDecoder;
    std::vector<uint8_t> FCodeBuffer, FIndexBuffer;
};

// Decodes a GIF file or stream; null when it is not a GIF or cannot be
// decoded. `isStill` tells whether it has a single frame.
std::unique_ptr<TGIFImage> LoadGifFromFile(const QString& fileName, bool& isStill);
std::unique_ptr<TGIFImage> LoadGifFromStream(QIODevice& stream, bool& isStill);
std::unique_ptr<TGIFImage> LoadGifFromBytes(const QByteArray& data, bool& isStill);

// Called when a GIF fails to decode, to release unused cached images.
void SetGifCachePurge(std::function<void()> purge);
// The millisecond clock animations run on; an empty function restores the
// system's steady clock.
void SetGifClock(std::function<qint64()> clock);
