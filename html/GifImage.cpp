// Reading GIF files: the block structure, the frames and their pixels, and
// the entry points of the image loader. Composition and playback are in
// GifAnimation.cpp.

#include "html/GifImage.h"

#include "html/GifRaster.h"
#include "html/GifReader.h"
#include "html/LzwDecoder.h"
#include "platform/FileSystem.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace {

constexpr uint8_t ExtensionIntroducer = 0x21;
constexpr uint8_t ImageSeparator = 0x2C;
constexpr uint8_t Trailer = 0x3B;
constexpr uint8_t PlainTextLabel = 0x01;
constexpr uint8_t GraphicControlLabel = 0xF9;
constexpr uint8_t CommentLabel = 0xFE;
constexpr uint8_t ApplicationLabel = 0xFF;
constexpr size_t MaxCommentBytes = 64 * 1024;

int64_t IndexedBytes(int64_t width, int64_t height) { return ((width + 3) & ~int64_t { 3 }) * height; }

std::function<void()>& CachePurge()
{
    static std::function<void()> purge;
    return purge;
}

QImage NewImageOrThrow(int width, int height, QImage::Format format, QRgb color)
{
    QImage image = NewFilledImage(width, height, format, color);
    if (image.isNull())
        throw std::bad_alloc();
    return image;
}

bool ReadCapped(QIODevice& stream, QByteArray& data)
{
    data = stream.read(MaxGifFileBytes + 1);
    return data.size() <= MaxGifFileBytes;
}

} // namespace

// ---------------------------------------------------------------------------
// TFrame

int64_t TFrame::DecodedBytes() const
{
    const int64_t w = FrameWidth, h = FrameHeight;
    int64_t bytes = IndexedBytes(w, h);
    if (Transparent)
        bytes += IndexedBytes(w, h);
    if (Disposal == DisposalPrevious)
        bytes += w * h * 4 + IndexedBytes(w, h);
    return bytes;
}

void TFrame::ApplyGraphicControl(const TGraphicControl& control)
{
    // GIF89a, section 23: disposal in bits 2 to 4, transparency in bit 0.
    // The undefined disposals 4 to 7 are taken as "restore to background".
    const uint8_t disposal = (control.Packed >> 2) & 7;
    Disposal = disposal <= DisposalPrevious ? disposal : DisposalBackground;
    DelayMs = control.Delay * 10;
    Transparent = (control.Packed & 1) != 0;
    TransparentIndex = control.TransparentIndex;
}

TImageBlockResult TFrame::ReadImageBlock(TGifReader& reader, const uint8_t* globalTable, const TGraphicControl& control)
{
    // GIF89a, section 20: Image Descriptor.
    if (!reader.Has(10) || reader.Peek() != ImageSeparator)
        return TImageBlockResult::Failed;
    reader.Skip(1);
    FrameLeft = reader.U16();
    FrameTop = reader.U16();
    FrameWidth = reader.U16();
    FrameHeight = reader.U16();
    const uint8_t packed = reader.U8();
    const bool scanOnly = OwnerGif->ScanOnly;

    ColorTable = globalTable;
    if (packed & 0x80) {
        // Section 21: Local Color Table.
        LocalColorBits = (packed & 7) + 1;
        OwnsColorTable = true;
        const size_t size = size_t { 3 } << LocalColorBits;
        if (!reader.Has(size))
            return TImageBlockResult::Failed;
        if (scanOnly) {
            reader.Skip(size);
        } else {
            FLocalTable = std::make_unique<TGifPalette>();
            FLocalTable->fill(0);
            reader.Read(FLocalTable->data(), size);
            ColorTable = FLocalTable->data();
        }
    }
    Interlaced = (packed & 0x40) != 0;
    ApplyGraphicControl(control);

    if (FrameWidth == 0 || FrameHeight == 0) {
        reader.Skip(1);
        reader.SkipSubBlocks();
        reader.SkipZeroBytes();
        return TImageBlockResult::Skipped;
    }
    if (int64_t { FrameWidth } * FrameHeight > MaxGifPixels)
        return TImageBlockResult::Refused;
    if (!reader.Has(1))
        return TImageBlockResult::Failed;

    if (scanOnly) {
        reader.Skip(1);
        reader.SkipSubBlocks();
    } else {
        FrameBitmap = QImage(FrameWidth, FrameHeight, QImage::Format_Indexed8);
        if (FrameBitmap.isNull())
            throw std::bad_alloc();
        if (Transparent)
            FrameMask = NewImageOrThrow(FrameWidth, FrameHeight, QImage::Format_Grayscale8, RasterBlack);
        if (Disposal == DisposalPrevious) {
            SavedImage = NewImageOrThrow(FrameWidth, FrameHeight, QImage::Format_RGB32, RasterBlack);
            SavedMask = NewImageOrThrow(FrameWidth, FrameHeight, QImage::Format_Grayscale8, RasterWhite);
        }
        DecodeLzw(reader);
        SetBitmapColors();
        if (Transparent) {
            const uint8_t* rgb = ColorTable + 3 * TransparentIndex;
            TransparentRGB = { rgb[0], rgb[1], rgb[2] };
        }
    }
    reader.SkipZeroBytes();
    return TImageBlockResult::Read;
}

void TFrame::DecodeLzw(TGifReader& reader)
{
    const int minCodeSize = reader.U8();
    std::vector<uint8_t>& codes = OwnerGif->CodeBuffer();
    codes.clear();
    reader.GatherSubBlocks(codes, reader.Remaining());

    // Rows in file order go straight into the bitmap when it has no row
    // padding; interlaced or padded frames go through a flat buffer.
    const size_t pixelCount = size_t(FrameWidth) * size_t(FrameHeight);
    const bool direct = !Interlaced && FrameBitmap.bytesPerLine() == FrameWidth;
    uint8_t* indices;
    if (direct) {
        indices = FrameBitmap.bits();
    } else {
        std::vector<uint8_t>& buffer = OwnerGif->IndexBuffer();
        buffer.resize(pixelCount);
        indices = buffer.data();
    }
    const TLzwResult result = OwnerGif->Decoder().Decode(codes, minCodeSize, { indices, pixelCount });
    // What damaged data never reaches shows colour 0.
    std::fill(indices + result.PixelsWritten, indices + pixelCount, uint8_t { 0 });
    if (!direct)
        PlaceRows(indices);
    if (Transparent)
        BuildMask();
}

KORVALITH_PIXEL_LOOP void TFrame::PlaceRows(const uint8_t* indices)
{
    int fileRow = 0;
    auto place = [&](int y) KORVALITH_PIXEL_LOOP {
        std::memcpy(FrameBitmap.scanLine(y), indices + size_t(fileRow++) * size_t(FrameWidth), size_t(FrameWidth));
    };
    if (!Interlaced) {
        for (int y = 0; y < FrameHeight; ++y)
            place(y);
        return;
    }
    // GIF89a, appendix E: four passes over every 8th row from 0, every 8th
    // from 4, every 4th from 2, every 2nd from 1.
    static constexpr int PassStart[4] = { 0, 4, 2, 1 };
    static constexpr int PassStep[4] = { 8, 8, 4, 2 };
    for (int pass = 0; pass < 4; ++pass)
        for (int y = PassStart[pass]; y < FrameHeight; y += PassStep[pass])
            place(y);
}

KORVALITH_PIXEL_LOOP void TFrame::BuildMask()
{
    const uint8_t transparent = TransparentIndex;
    for (int y = 0; y < FrameHeight; ++y) {
        const uchar* pixels = FrameBitmap.constScanLine(y);
        uchar* mask = FrameMask.scanLine(y);
        for (int x = 0; x < FrameWidth; ++x)
            mask[x] = pixels[x] == transparent ? 0xFF : 0;
    }
}

void TFrame::SetBitmapColors()
{
    int count = 256; // the default palette
    if (OwnsColorTable)
        count = 1 << LocalColorBits;
    else if (OwnerGif->GlobalColorBits() > 0)
        count = 1 << OwnerGif->GlobalColorBits();
    // Indices beyond the table are black, and so are transparent pixels:
    // composing then needs no separate clearing pass.
    QList<QRgb> colors(256, qRgb(0, 0, 0));
    for (int i = 0; i < count; ++i)
        colors[i] = qRgb(ColorTable[3 * i], ColorTable[3 * i + 1], ColorTable[3 * i + 2]);
    if (Transparent)
        colors[TransparentIndex] = qRgb(0, 0, 0);
    FrameBitmap.setColorTable(colors);
}

void TFrame::CopyFrom(const TFrame& source)
{
    FrameLeft = source.FrameLeft;
    FrameTop = source.FrameTop;
    FrameWidth = source.FrameWidth;
    FrameHeight = source.FrameHeight;
    LocalColorBits = source.LocalColorBits;
    DelayMs = source.DelayMs;
    Disposal = source.Disposal;
    OwnsColorTable = source.OwnsColorTable;
    Interlaced = source.Interlaced;
    Transparent = source.Transparent;
    TransparentIndex = source.TransparentIndex;
    TransparentRGB = source.TransparentRGB;
    // Bitmaps are shared until written (only the saved areas ever are).
    FrameBitmap = source.FrameBitmap;
    FrameMask = source.FrameMask;
    SavedImage = source.SavedImage;
    SavedMask = source.SavedMask;
    FrameComment = source.FrameComment;
    if (source.FLocalTable) {
        FLocalTable = std::make_unique<TGifPalette>(*source.FLocalTable);
        ColorTable = FLocalTable->data();
    } else {
        ColorTable = OwnerGif->GlobalColorBits() > 0 ? OwnerGif->GlobalPalette.data() : TGIFImage::DefaultPalette();
    }
}

// ---------------------------------------------------------------------------
// TGIFImage: loading and parsing

TGIFImage::TGIFImage() = default;
TGIFImage::~TGIFImage() noexcept(false) = default;

const uint8_t* TGIFImage::DefaultPalette()
{
    // A file without any colour table: index 0 black, 1 white, then greys,
    // so that two-colour pictures stay readable.
    static const TGifPalette palette = [] {
        TGifPalette p {};
        for (int i = 0; i < 256; ++i)
            p[size_t(3 * i)] = p[size_t(3 * i + 1)] = p[size_t(3 * i + 2)] = uint8_t(i == 1 ? 255 : i);
        return p;
    }();
    return palette.data();
}

TLzwDecoder& TGIFImage::Decoder()
{
    if (!FDecoder)
        FDecoder = std::make_unique<TLzwDecoder>();
    return *FDecoder;
}

bool TGIFImage::LoadFromFile(const QString& fileName)
{
    QByteArray data;
    if (!FileSystem().ReadFile(fileName, data, MaxGifFileBytes)) {
        ClearAll();
        return false;
    }
    return Load(data, false);
}

bool TGIFImage::LoadFromStream(QIODevice& stream)
{
    QByteArray data;
    if (!ReadCapped(stream, data)) {
        ClearAll();
        return false;
    }
    return Load(data, false);
}

bool TGIFImage::LoadFromBytes(const QByteArray& data) { return Load(data, false); }

bool TGIFImage::ScanFile(const QString& fileName)
{
    QByteArray data;
    if (!FileSystem().ReadFile(fileName, data, MaxGifFileBytes)) {
        ClearAll();
        return false;
    }
    return Load(data, true);
}

bool TGIFImage::ScanStream(QIODevice& stream)
{
    QByteArray data;
    if (!ReadCapped(stream, data)) {
        ClearAll();
        return false;
    }
    return Load(data, true);
}

bool TGIFImage::ScanBytes(const QByteArray& data) { return Load(data, true); }

bool TGIFImage::Load(const QByteArray& data, bool scanOnly)
{
    bool ok = false;
    try {
        GifData = data;
        ScanOnly = scanOnly;
        ok = ParseGifData();
    } catch (...) {
        ok = false;
    }
    GifData.clear();
    FCodeBuffer = {};
    FIndexBuffer = {};
    if (!ok)
        ClearAll();
    return ok;
}

bool TGIFImage::ParseGifData()
{
    if (!ScanOnly) {
        // Learn what the whole file needs before allocating any picture.
        ScanOnly = true;
        const bool fits = ParseStructure() && FitsMemoryBudget();
        ScanOnly = false;
        if (!fits)
            return false;
    }
    if (!ParseStructure() || !FitsMemoryBudget())
        return false;

    ReleasePictures();
    FFirstBitmap.reset();
    FFirstMask.reset();
    if (!ScanOnly && !CreateComposedPictures())
        return false;
    IsMultiFrame = FrameCount > 1;
    IsEmpty = false;
    ComposeFrame();
    GifData.clear();
    return true;
}

bool TGIFImage::ParseStructure()
{
    ClearFrames();
    TGraphicControl control;
    std::string comment;

    TGifReader reader({ reinterpret_cast<const uint8_t*>(GifData.constData()), size_t(GifData.size()) });
    if (!reader.StartsWith("GIF")) {
        GifData.clear();
        return false;
    }
    // GIF89a, sections 17 and 18: header, Logical Screen Descriptor.
    reader.Skip(6);
    if (!reader.Has(7))
        return false;
    const int screenWidth = reader.U16();
    const int screenHeight = reader.U16();
    const uint8_t packed = reader.U8();
    reader.Skip(2); // background colour index, pixel aspect ratio
    GlobalPalette.fill(0);
    FHasGlobalTable = (packed & 0x80) != 0;
    FGlobalBits = 0;
    if (FHasGlobalTable) {
        // Section 19: Global Color Table.
        FGlobalBits = (packed & 7) + 1;
        ColorBits = FGlobalBits;
        reader.Read(GlobalPalette.data(), size_t { 3 } << FGlobalBits);
    }
    const uint8_t* globalTable = FHasGlobalTable ? GlobalPalette.data() : DefaultPalette();

    while (!reader.AtEnd()) {
        const size_t before = reader.Position();
        const uint8_t introducer = reader.Peek();
        if (introducer == ExtensionIntroducer) {
            ReadExtension(reader, control, comment);
        } else if (introducer == ImageSeparator) {
            if (FrameCount == MaxGifFrames)
                break;
            auto frame = std::make_unique<TFrame>(this);
            const TImageBlockResult result = frame->ReadImageBlock(reader, globalTable, control);
            if (result == TImageBlockResult::Refused)
                return false;
            if (result == TImageBlockResult::Failed)
                break;
            if (result == TImageBlockResult::Read) {
                ColorBits = std::max(ColorBits, frame->LocalColorBits);
                HasTransparency = HasTransparency || frame->Transparent;
                frame->FrameComment = std::move(comment);
                FrameList.push_back(std::move(frame));
                ++FrameCount;
            }
            comment.clear();
            control = {};
        } else if (introducer == Trailer) {
            break;
        }
        if (reader.Position() == before)
            break;
    }
    if (FrameCount == 0)
        return false;

    // The picture covers the logical screen and every frame.
    int64_t width = screenWidth, height = screenHeight;
    for (const auto& frame : FrameList) {
        width = std::max<int64_t>(width, frame->FrameLeft + frame->FrameWidth);
        height = std::max<int64_t>(height, frame->FrameTop + frame->FrameHeight);
    }
    if (width * height > MaxGifPixels)
        return false;
    ImageWidth = int(width);
    ImageHeight = int(height);
    return true;
}

void TGIFImage::ReadExtension(TGifReader& reader, TGraphicControl& control, std::string& comment)
{
    reader.Skip(1);
    if (reader.AtEnd())
        return;
    const uint8_t label = reader.U8();
    uint8_t block[255];
    switch (label) {
    case GraphicControlLabel: {
        // GIF89a, section 23: a block of (normally 4) bytes: packed fields,
        // delay, transparent colour index. Read by its declared size.
        const uint8_t size = reader.U8();
        const size_t got = reader.Read(block, size);
        if (size >= 4 && got >= 4)
            control = { block[0], uint16_t(block[1] | (block[2] << 8)), block[3] };
        if (size != 0)
            reader.SkipSubBlocks();
        return;
    }
    case CommentLabel: {
        // Section 24: the text of all sub-blocks; a later comment replaces
        // an earlier one.
        std::vector<uint8_t> text;
        reader.GatherSubBlocks(text, MaxCommentBytes);
        comment.assign(text.begin(), text.end());
        return;
    }
    case ApplicationLabel: {
        // Section 26: an identifier block, then data sub-blocks. The
        // looping extension has the identifier "NETSCAPE2.0" and a data
        // block 1, loop count (16 bits).
        const uint8_t size = reader.U8();
        const size_t got = reader.Read(block, size);
        if (size == 0)
            return;
        if (got == 11 && size == 11 && std::memcmp(block, "NETSCAPE2.0", 11) == 0 && !reader.AtEnd()) {
            const uint8_t dataSize = reader.U8();
            if (dataSize == 0)
                return;
            const size_t dataGot = reader.Read(block, dataSize);
            if (dataGot >= 3 && block[0] == 1)
                PlayCount = block[1] | (block[2] << 8);
        }
        reader.SkipSubBlocks();
        return;
    }
    case PlainTextLabel:
    default:
        // Plain text (section 25) is not drawn; unknown extensions have the
        // same sub-block form and are passed over too.
        reader.SkipSubBlocks();
        return;
    }
}

bool TGIFImage::FitsMemoryBudget() const
{
    // The frames' own pictures; the composed ones are bounded by the pixel
    // cap on the screen.
    int64_t total = 0;
    for (const auto& frame : FrameList) {
        total += frame->DecodedBytes();
        if (total > MaxGifMemory)
            return false;
    }
    return true;
}

bool TGIFImage::CreateComposedPictures()
{
    ComposedBitmap = NewFilledImage(ImageWidth, ImageHeight, QImage::Format_RGB32, RasterBlack);
    if (ComposedBitmap.isNull())
        return false;
    if (HasTransparency) {
        ComposedMask = NewFilledImage(ImageWidth, ImageHeight, QImage::Format_Grayscale8, RasterWhite);
        WorkBitmap = NewFilledImage(ImageWidth, ImageHeight, QImage::Format_RGB32, RasterBlack);
        if (ComposedMask.isNull() || WorkBitmap.isNull())
            return false;
    }
    return true;
}

void TGIFImage::ReleasePictures()
{
    ComposedBitmap = QImage();
    ComposedMask = QImage();
    WorkBitmap = QImage();
}

void TGIFImage::ClearFrames()
{
    IsEmpty = true;
    while (!FrameList.empty())
        FrameList.pop_back();
    FrameCount = 0;
    FrameIndex = 1;
    PlayCount = 1;
    LoopsDone = 1;
    HoldFirstTick = true;
    ColorBits = 0;
    HasTransparency = false;
}

void TGIFImage::ClearAll()
{
    ClearFrames();
    FFirstBitmap.reset();
    FFirstMask.reset();
    ReleasePictures();
}

void TGIFImage::CopyGif(const TGIFImage& source)
{
    ClearAll();
    IsMultiFrame = source.IsMultiFrame;
    IsEmpty = source.IsEmpty;
    ImageWidth = source.ImageWidth;
    ImageHeight = source.ImageHeight;
    PlayCount = source.PlayCount;
    SpeedPercent = source.SpeedPercent;
    HasTransparency = source.HasTransparency;
    Shown = source.Shown;
    ColorBits = source.ColorBits;
    GlobalPalette = source.GlobalPalette;
    FGlobalBits = source.FGlobalBits;
    FHasGlobalTable = source.FHasGlobalTable;
    ScanOnly = source.ScanOnly;
    OwnedCopy = true;
    for (const auto& from : source.FrameList) {
        auto frame = std::make_unique<TFrame>(this);
        frame->CopyFrom(*from);
        FrameList.push_back(std::move(frame));
    }
    FrameCount = int(FrameList.size());
    FrameIndex = 1;
    LoopsDone = 1;
    Running = false;
    if (IsEmpty || ScanOnly)
        return;
    ComposedBitmap = NewFilledImage(ImageWidth, ImageHeight, QImage::Format_RGB32, RasterBlack);
    if (HasTransparency)
        ComposedMask = NewFilledImage(ImageWidth, ImageHeight, QImage::Format_Grayscale8, RasterWhite);
    if (ComposedBitmap.isNull() || (HasTransparency && ComposedMask.isNull())) {
        ClearAll(); // out of memory: the copy stays empty and draws nothing
        return;
    }
    ComposeFrame();
}

const QImage* TGIFImage::FirstFrameBitmap()
{
    if (IsEmpty || ScanOnly || FrameCount == 0)
        return nullptr;
    if (!FFirstBitmap) {
        // Frame 1 placed on the screen, so that an offset or smaller frame
        // keeps its place in the picture.
        QImage picture = NewFilledImage(ImageWidth, ImageHeight, QImage::Format_RGB32, RasterBlack);
        if (picture.isNull())
            return nullptr;
        RasterBlit(picture, Frame(1).Area().topLeft(), Frame(1).FrameBitmap, TRasterOp::Copy);
        FFirstBitmap = std::make_unique<QImage>(std::move(picture));
    }
    return FFirstBitmap.get();
}

const QImage* TGIFImage::FirstFrameMask()
{
    if (IsEmpty || ScanOnly || FrameCount == 0 || !HasTransparency)
        return nullptr;
    if (!FFirstMask) {
        QImage mask = NewFilledImage(ImageWidth, ImageHeight, QImage::Format_Grayscale8, RasterWhite);
        if (mask.isNull())
            return nullptr;
        const TFrame& first = Frame(1);
        if (first.Transparent)
            RasterBlit(mask, first.Area().topLeft(), first.FrameMask, TRasterOp::Copy);
        else
            RasterFill(mask, first.Area(), RasterBlack);
        QImage mono = MonoMaskFromGray(mask);
        if (mono.isNull())
            return nullptr;
        FFirstMask = std::make_unique<QImage>(std::move(mono));
    }
    return FFirstMask.get();
}

// ---------------------------------------------------------------------------
// Entry points of the image loader

void SetGifCachePurge(std::function<void()> purge) { CachePurge() = std::move(purge); }

std::unique_ptr<TGIFImage> LoadGifFromBytes(const QByteArray& data, bool& isStill)
{
    isStill = true;
    auto gif = std::make_unique<TGIFImage>();
    // A first pass over the structure only tells still from animated.
    if (!gif->ScanBytes(data))
        return nullptr;
    gif->SetRunning(false);
    gif->Shown = false;
    isStill = !gif->IsMultiFrame;
    if (!gif->LoadFromBytes(data)) {
        if (CachePurge())
            CachePurge()();
        return nullptr;
    }
    return gif;
}

std::unique_ptr<TGIFImage> LoadGifFromFile(const QString& fileName, bool& isStill)
{
    isStill = true;
    QByteArray data;
    if (!FileSystem().ReadFile(fileName, data, MaxGifFileBytes))
        return nullptr;
    return LoadGifFromBytes(data, isStill);
}

std::unique_ptr<TGIFImage> LoadGifFromStream(QIODevice& stream, bool& isStill)
{
    isStill = true;
    QByteArray data;
    if (!ReadCapped(stream, data))
        return nullptr;
    return LoadGifFromBytes(data, isStill);
}
