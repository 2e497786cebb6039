#include "html/HtmlImages.h"

#include "html/GifImage.h"
#include "html/HtmlBmp.h"
#include "html/HtmlImageCache.h"
#include "html/HtmlJpeg.h"
#include "platform/FileSystem.h"
#include "platform/Numbers.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

// ---------------------------------------------------------------------------
// Document side

const QByteArray& WaitStream()
{
    static const QByteArray wait("wait");
    return wait;
}

bool TImageContext::IsWaiting(const std::string& name) const
{
    return std::any_of(WaitingList.begin(), WaitingList.end(),
                       [&](const TWaiting& waiting) { return waiting.Name == name; });
}

void TImageContext::Clear()
{
    WaitingList.clear();
    AnimationList.clear();
}

TMapItem* FindMapItem(const TFreeList* maps, const std::string& name)
{
    if (maps == nullptr)
        return nullptr;
    for (TObject* item : *maps)
        if (auto* map = dynamic_cast<TMapItem*>(item); map && map->MapKey == name)
            return map;
    return nullptr;
}

// ---------------------------------------------------------------------------
// Attributes

namespace {

TImageAlign AlignmentOf(const std::string& value)
{
    const std::string upper = UpperCase1252(value);
    if (upper == "TOP")
        return TImageAlign::Top;
    if (upper == "MIDDLE" || upper == "ABSMIDDLE")
        return TImageAlign::Middle;
    if (upper == "LEFT")
        return TImageAlign::Left;
    if (upper == "RIGHT")
        return TImageAlign::Right;
    return TImageAlign::Bottom;
}

int CappedSize(int64_t value)
{
    return static_cast<int>(std::clamp<int64_t>(value, 1, TImageObj::MaxSpecSize));
}

// USEMAP="#name": upper-cased, trimmed, one leading "#" removed.
std::string MapNameOf(const std::string& value)
{
    std::string name = UpperCase1252(TrimSpaces(value));
    if (!name.empty() && name.front() == '#')
        name.erase(0, 1);
    return name;
}

} // namespace

TImageObj::TImageObj(int position, const TAttributeList& attributes) : Pos(position)
{
    for (TObject* item : attributes) {
        const auto* attribute = static_cast<const TAttribute*>(item);
        switch (attribute->Symbol) {
        case SrcSy: Source = attribute->Text; break;
        case AltSy: AltText = attribute->Text; break;
        case AlignSy: Alignment = AlignmentOf(attribute->Text); break;
        case BorderSy: NoBorder = attribute->Number == 0; break;
        case WidthSy:
            if (attribute->Text.find('%') != std::string::npos) {
                if (attribute->Number >= 1 && attribute->Number <= 100) {
                    PercentWidth = true;
                    SpecWidth = attribute->Number;
                }
            } else if (attribute->Number > 0) {
                PercentWidth = false;
                SpecWidth = CappedSize(attribute->Number);
            }
            break;
        case HeightSy: SpecHeight = CappedSize(attribute->Number); break;
        case TranspSy: Transp = true; break;
        case IsMapSy: IsMap = true; break;
        case UseMapSy:
            UseMap = true;
            MapName = MapNameOf(attribute->Text);
            break;
        case HSpaceSy:
            HSpace = static_cast<int>(std::min<int64_t>(std::abs(static_cast<int64_t>(attribute->Number)), MaxHSpace));
            break;
        default: break;
        }
    }
}

TImageObj::~TImageObj() noexcept(false)
{
    ReleaseCachedImage();
}

void TImageObj::ReleaseCachedImage()
{
    if (!FCacheKey.empty())
        BitmapList().Release(FCacheKey);
    FCacheKey.clear();
}

void TImageObj::ResetImage()
{
    ReleaseCachedImage();
    Image = QImage();
    Mask = QImage();
    Animated.reset();
    FComposed = QImage();
    Transparency = TTransparency::None;
    State = TImageState::NotLoaded;
    ImageKnown = false;
}

// ---------------------------------------------------------------------------
// Loading and sizing

void TImageObj::Load(TImageContext& document)
{
    std::string name = Source;
    if (!document.OnImageRequest && document.ExpandImageName)
        name = document.ExpandImageName(Source);
    if (document.IsWaiting(name)) {
        State = TImageState::Pending;
    } else {
        TTransparency mode = Transp ? TTransparency::LowerLeft : TTransparency::None;
        TImageResult result;
        try {
            result = GetImage(document, name, mode);
        } catch (...) {
            result = TImageResult(); // any failure shows the error placeholder
        }
        if (result.Pending) {
            State = TImageState::Pending;
            document.WaitingList.push_back({name, this});
        } else if (result.Loaded()) {
            State = TImageState::Loaded;
            FCacheKey = ImageCacheKey(name);
            Image = result.Image;
            Mask = result.Mask;
            Animated = result.Animated;
            if (Animated && result.FromCache) {
                // The first user plays the cached animation itself; later
                // ones play their own copy of it.
                auto copy = std::make_shared<TGIFImage>();
                copy->CopyGif(*result.Animated);
                Animated = std::move(copy);
            }
            Transparency = Mask.isNull() ? TTransparency::None : mode;
            if (Animated)
                document.AnimationList.push_back(Animated.get());
            return;
        } else {
            State = TImageState::Failed;
        }
    }
    if (State == TImageState::Failed) {
        Image = ErrorBitmap();
        Mask = ErrorBitmapMask();
        Transparency = TTransparency::LowerLeft;
    } else {
        Image = DefaultBitmap();
        Mask = QImage();
    }
}

void TImageObj::SizeImage(TImageContext& document, int availableWidth, const TFontObj* run)
{
    if (State == TImageState::ImagesOff && document.ShowImages)
        ResetImage();
    if (State == TImageState::NotLoaded) {
        if (document.ShowImages) {
            Load(document);
        } else {
            State = TImageState::ImagesOff;
            Image = DefaultBitmap();
        }
    }
    if (!ImageKnown)
        ComputeSize(availableWidth);
    HasBorder = run != nullptr && !run->UrlTarget.Empty() && !NoBorder;
    const int border = HasBorder ? 2 : 0;
    ObjWidth = ImageWidth + border;
    ObjHeight = ImageHeight + border;
}

void TImageObj::ComputeSize(int availableWidth)
{
    const int naturalWidth = std::max(1, Animated ? Animated->ImageWidth : Image.width());
    const int naturalHeight = std::max(1, Animated ? Animated->ImageHeight : Image.height());
    const bool pixelWidth = SpecWidth > 0 && !PercentWidth;
    if (IsPlaceholder()) {
        if (pixelWidth && SpecHeight > 0) {
            ImageWidth = SpecWidth;
            ImageHeight = SpecHeight;
        } else {
            // The box holds the icon and the ALT text (Arial 8 points).
            QFont font(QStringLiteral("Arial"));
            font.setPixelSize(PointsToPixels(8));
            const QFontMetrics metrics(font);
            const int textWidth = metrics.horizontalAdvance(Win1252ToQString(AltText)) + 2;
            ImageWidth = std::max(naturalWidth, textWidth + 24);
            ImageHeight = std::max({naturalHeight, 24, metrics.height()});
        }
        ImageKnown = true;
        return;
    }
    if (PercentWidth) {
        ImageWidth = CappedSize(static_cast<int64_t>(std::max(0, availableWidth)) * SpecWidth / 100);
        ImageHeight = SpecHeight > 0 ? SpecHeight : naturalHeight;
        ImageKnown = false; // follows the available width at every layout
        return;
    }
    if (pixelWidth && SpecHeight > 0) {
        ImageWidth = SpecWidth;
        ImageHeight = SpecHeight;
    } else if (pixelWidth) {
        ImageWidth = SpecWidth;
        ImageHeight = CappedSize(MulDiv(naturalHeight, SpecWidth, naturalWidth));
    } else if (SpecHeight > 0) {
        ImageHeight = SpecHeight;
        ImageWidth = CappedSize(MulDiv(naturalWidth, SpecHeight, naturalHeight));
    } else {
        ImageWidth = naturalWidth;
        ImageHeight = naturalHeight;
    }
    ImageKnown = true;
}

// ---------------------------------------------------------------------------
// Painting

void TImageObj::PaintImage(QPainter& canvas, int x, const TFontObj* run, int baseline, int lineTop,
                           TColor background, const TGifBackdrop* backdrop)
{
    int y = lineTop;
    switch (Alignment) {
    case TImageAlign::Middle:
        y = run ? baseline + run->Descent - run->TextHeight / 2 - ObjHeight / 2 : baseline - ObjHeight / 2;
        break;
    case TImageAlign::Bottom: y = baseline - ObjHeight; break;
    case TImageAlign::Top:
    case TImageAlign::Left:
    case TImageAlign::Right: y = lineTop; break;
    }
    PaintAt(canvas, x, y, run, background, backdrop);
}

void TImageObj::PaintAt(QPainter& canvas, int x, int y, const TFontObj* run, TColor background,
                        const TGifBackdrop* backdrop)
{
    const int inset = HasBorder ? 1 : 0;
    DrawX = x + inset;
    DrawY = y + inset;
    const QRect target(DrawX, DrawY, ImageWidth, ImageHeight);
    if (IsPlaceholder()) {
        PaintPlaceholder(canvas, DrawX, DrawY, run, background);
    } else if (Animated) {
        Animated->PaintedFlag = true;
        Animated->SetShown(true);
        TGifBackdrop plain;
        plain.DocumentColor = ToQColor(background).rgb();
        Animated->DrawGif(canvas, backdrop ? *backdrop : plain, DrawX, DrawY, ImageWidth, ImageHeight);
    } else if (!Mask.isNull() && Transparency != TTransparency::None) {
        if (FComposed.isNull())
            FComposed = ComposeTransparent(Image, Mask);
        canvas.drawImage(target, FComposed);
    } else if (!Image.isNull()) {
        canvas.drawImage(target, Image);
    }
    if (HasBorder && run != nullptr) {
        canvas.save();
        canvas.setPen(QPen(ToQColor(run->TheFont().Color), 0));
        canvas.setBrush(Qt::NoBrush);
        canvas.drawRect(x, y, ObjWidth - 1, ObjHeight - 1);
        canvas.restore();
    }
}

void TImageObj::PaintPlaceholder(QPainter& canvas, int x, int y, const TFontObj* run, TColor background)
{
    if (ImageWidth <= 23 || ImageHeight <= 23)
        return;
    constexpr int Inset = 4;
    constexpr int IconArea = 24;
    const QImage& icon = State == TImageState::Failed ? ErrorBitmap() : DefaultBitmap();
    if (State == TImageState::Failed)
        DrawTransparent(canvas, icon, ErrorBitmapMask(), x + Inset, y + Inset, icon.width(), icon.height());
    else
        canvas.drawImage(QPoint(x + Inset, y + Inset), icon);
    if (!AltText.empty()) {
        canvas.save();
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(PointsToPixels(8));
        canvas.setFont(font);
        canvas.setPen(HasBorder && run ? ToQColor(run->TheFont().Color) : QColor(Qt::black));
        WrapTextInBox(canvas, QRect(x + IconArea, y + Inset, ImageWidth - IconArea - Inset, ImageHeight - 2 * Inset),
                      AltText);
        canvas.restore();
    }
    if (!HasBorder)
        DrawBevel(background, canvas, x, y, x + ImageWidth - 1, y + ImageHeight - 1, TBevel::Sunken);
}

// ---------------------------------------------------------------------------
// TImageObjList

TImageObj* TImageObjList::FindImage(int pos) const
{
    for (TObject* item : *this)
        if (auto* image = static_cast<TImageObj*>(item); image->Pos == pos)
            return image;
    return nullptr;
}

bool TImageObjList::ImageHit(int x, int y, const TFreeList* maps, THit& hit) const
{
    hit = THit();
    for (TObject* item : *this) {
        auto* image = static_cast<TImageObj*>(item);
        if (!image->HitRect().contains(x, y))
            continue;
        hit.Image = image;
        hit.X = x - image->DrawX;
        hit.Y = y - image->DrawY;
        hit.IsMap = image->IsMap;
        hit.FormControl = image->MyFormControl;
        if (image->UseMap)
            hit.Map = FindMapItem(maps, image->MapName);
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// GetImage

namespace {

// Image files larger than this are not read.
constexpr qint64 MaxImageFileBytes = 256LL * 1024 * 1024;

struct TDecoded {
    QImage Image;
    QImage Mask;
    std::shared_ptr<TGIFImage> Animated;
    TTransparency Transparency = TTransparency::None;
};

// BMP or JPEG by content; GIF data goes to the GIF decoder.
bool DecodeStill(const QByteArray& data, TDecoded& decoded)
{
    switch (ImageFileType(data)) {
    case TImageFileType::Bmp:
        decoded.Image = DecodeBmp(data);
        break;
    case TImageFileType::Jpeg: {
        TJpegMod jpeg;
        jpeg.PixelFormat = ColorBits() > 8 ? TJpegMod::TPixelFormat::pf24bit : TJpegMod::TPixelFormat::pf8bit;
        if (jpeg.LoadFromData(data))
            decoded.Image = jpeg.Bitmap();
        break;
    }
    default:
        // GIF has its own decoder; PNG and anything else are not shown.
        return false;
    }
    if (decoded.Image.isNull())
        return false;
    decoded.Image = ToSharedPalette(decoded.Image);
    if (decoded.Image.isNull()) {
        // Only memory can make the conversion fail: give back what the cache
        // holds for nobody before reporting it.
        BitmapList().Purge();
        throw EOutOfResources("Out of memory converting an image");
    }
    return true;
}

// A still GIF becomes a plain bitmap (with its mask when transparent); an
// animated one stays a TGIFImage, drawn and stepped by its image objects.
bool DecodeGif(const QByteArray& data, TDecoded& decoded)
{
    static const bool purgeInstalled = [] {
        // A GIF that fails to decode drops the unused cached images.
        SetGifCachePurge([] { BitmapList().Purge(); });
        return true;
    }();
    (void)purgeInstalled;
    bool isStill = true;
    std::unique_ptr<TGIFImage> gif = LoadGifFromBytes(data, isStill);
    if (!gif)
        return false;
    if (!isStill) {
        decoded.Animated = std::shared_ptr<TGIFImage>(std::move(gif));
        return true;
    }
    const QImage* frame = gif->FirstFrameBitmap();
    if (frame == nullptr || frame->isNull())
        return false;
    decoded.Image = ToSharedPalette(*frame);
    if (gif->HasTransparency) {
        if (const QImage* mask = gif->FirstFrameMask()) {
            decoded.Mask = *mask;
            decoded.Transparency = TTransparency::TGif;
        }
    }
    return !decoded.Image.isNull();
}

bool DecodeData(const QByteArray& data, TDecoded& decoded)
{
    const TImageFileType type = ImageFileType(data);
    if (type == TImageFileType::Gif87 || type == TImageFileType::Gif89)
        return DecodeGif(data, decoded);
    return DecodeStill(data, decoded);
}

bool LoadNamed(TImageContext& document, const std::string& name, TDecoded& decoded, bool& pending)
{
    if (document.OnImageRequest) {
        const QByteArray* stream = nullptr;
        document.OnImageRequest(document.Viewer, name, stream);
        if (stream == &WaitStream()) {
            pending = true;
            return false;
        }
        return stream != nullptr && !stream->isEmpty() && DecodeData(*stream, decoded);
    }
    QByteArray data;
    if (!FileSystem().ReadFile(Win1252ToQString(name), data, MaxImageFileBytes))
        return false;
    // ".gif" goes to the GIF decoder first; content decides otherwise and
    // when that decoder refuses the file.
    const std::string lower = LowerCase1252(TrimSpaces(name));
    if (lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".gif") == 0 && DecodeGif(data, decoded))
        return true;
    return DecodeStill(data, decoded);
}

} // namespace

TImageResult GetImage(TImageContext& document, const std::string& name, TTransparency& transparency)
{
    TImageResult result;
    const std::string key = ImageCacheKey(name);
    if (key.empty())
        return result;
    TStringBitmapList& cache = BitmapList();
    if (const int index = cache.IndexOf(key); index >= 0) {
        TBitmapItem* item = cache.Take(index);
        result.FromCache = true;
        result.Animated = item->Animated;
        result.Image = item->Image;
        if (!item->Animated) {
            if (item->Transparency == TTransparency::TGif || item->Transparency == TTransparency::TPng)
                transparency = item->Transparency;
            else if (transparency == TTransparency::LowerLeft && item->Mask.isNull()) {
                item->Mask = MakeMask(item->Image, false);
                item->Transparency = TTransparency::LowerLeft;
            }
            result.Mask = item->Mask;
        }
        return result;
    }

    TDecoded decoded;
    if (!LoadNamed(document, name, decoded, result.Pending))
        return result;
    if (decoded.Transparency != TTransparency::None)
        transparency = decoded.Transparency;
    else if (transparency == TTransparency::LowerLeft && !decoded.Animated)
        decoded.Mask = MakeMask(decoded.Image, false);

    auto item = std::make_unique<TBitmapItem>();
    item->Image = decoded.Image;
    item->Mask = decoded.Mask;
    item->Animated = decoded.Animated;
    item->Transparency = decoded.Mask.isNull() ? TTransparency::None : transparency;
    cache.AddObject(key, std::move(item));
    result.Image = decoded.Image;
    result.Mask = decoded.Mask;
    result.Animated = decoded.Animated;
    return result;
}
