#pragma once
// Inline images of text sections: the image object (attributes, sizing,
// painting, hit rectangle), the images of one section, and what an image
// needs from its document (TImageContext).

#include "html/HtmlBitmaps.h"
#include "html/HtmlFonts.h"
#include "html/HtmlSupport.h"

#include <QByteArray>
#include <QImage>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QObject;
class QPainter;
class TGIFImage;
struct TGifBackdrop;

// The viewer's image-request handler: given the SRC of an image, it sets
// Stream to the image data, to &WaitStream() when the data comes later, or
// leaves it null when it has nothing.
using TGetImageEvent = std::function<void(QObject* Sender, const std::string& SRC, const QByteArray*& Stream)>;
// The shared "wait" answer of TGetImageEvent.
const QByteArray& WaitStream();

enum class TImageAlign { Top = 0, Middle = 1, Bottom = 2, Left = 3, Right = 4 };

enum class TImageState {
    NotLoaded, // not yet sized
    Loaded,    // a real picture
    Pending,   // waiting for data: the waiting placeholder
    Failed,    // the error placeholder
    ImagesOff  // images switched off: the waiting placeholder
};

// The document's side of image handling. The document holds one and hands
// it to the image objects of its sections.
class TImageContext {
public:
    // ViewImages of the viewer.
    bool ShowImages = true;
    // Passed as Sender to OnImageRequest.
    QObject* Viewer = nullptr;
    TGetImageEvent OnImageRequest;
    // Expands a SRC relative to the page (used without OnImageRequest); the
    // name is used as given when unset.
    std::function<std::string(const std::string&)> ExpandImageName;
    // Document background, for the sunken frame of placeholders.
    TColor Background = clWhite;
    // Images waiting for data, with the name they wait for.
    struct TWaiting {
        std::string Name;
        class TImageObj* Image;
    };
    std::vector<TWaiting> WaitingList;
    // Animated images of the page (not owned: their image objects own them).
    std::vector<TGIFImage*> AnimationList;
    // The document's image maps (TMapItem), or null.
    const TFreeList* MapList = nullptr;

    bool IsWaiting(const std::string& name) const;
    // Forgets the waiting and animated images (the document is cleared).
    void Clear();
};

// Returns the map called name (exact, upper-case) among maps (TMapItem).
TMapItem* FindMapItem(const TFreeList* maps, const std::string& name);

class TImageObj : public TObject {
public:
    // CreateImage: reads SRC, ALT, ALIGN, BORDER, WIDTH, HEIGHT, TRANSP,
    // ISMAP, USEMAP and HSPACE.
    TImageObj(int position, const TAttributeList& attributes);
    ~TImageObj() noexcept(false) override;

    // Loads the image if needed and computes its size against the available
    // width (percent widths). run is the font run holding the image (link
    // border, ALT text colour); it may be null.
    void SizeImage(TImageContext& document, int availableWidth, const TFontObj* run);
    // Paints an inline image on its line: baseline is the y of the line's
    // baseline, lineTop the top of the line's text. Floats are painted with
    // their top at lineTop and x = FloatX + the column's left edge.
    // backdrop: what the transparent pixels of an animation show (the
    // document colour alone when null).
    void PaintImage(QPainter& canvas, int x, const TFontObj* run, int baseline, int lineTop,
                    TColor background, const TGifBackdrop* backdrop = nullptr);
    // Draws the picture (or placeholder) with its layout box at (x, y).
    void PaintAt(QPainter& canvas, int x, int y, const TFontObj* run, TColor background,
                 const TGifBackdrop* backdrop = nullptr);
    // Rectangle used by hit tests: painted position and computed size.
    QRect HitRect() const { return QRect(DrawX, DrawY, ImageWidth, ImageHeight); }
    bool IsPlaceholder() const { return State != TImageState::Loaded; }
    bool IsFloat() const { return Alignment == TImageAlign::Left || Alignment == TImageAlign::Right; }
    // Drops the loaded image so that the next SizeImage loads again (data
    // for a waiting image arrived, or images were switched on).
    void ResetImage();

    // Position of the placeholder byte in the section's text.
    int Pos;
    std::string Source;
    std::string AltText;
    TImageAlign Alignment = TImageAlign::Bottom;
    bool NoBorder = false;
    // Requested size; 0 when not given. SpecWidth is a percentage when
    // PercentWidth is set (1..100).
    int SpecHeight = 0;
    int SpecWidth = 0;
    bool PercentWidth = false;
    bool Transp = false;
    bool IsMap = false;
    bool UseMap = false;
    std::string MapName;
    int HSpace = DefaultHSpace;

    // The picture: a bitmap, or an animated GIF (drawn through the decoder).
    QImage Image;
    QImage Mask;
    std::shared_ptr<TGIFImage> Animated;
    TTransparency Transparency = TTransparency::None;
    TImageState State = TImageState::NotLoaded;

    int ImageHeight = 0;
    int ImageWidth = 0;
    bool ImageKnown = false;
    // Layout size: the computed size, + 2 with a link border.
    int ObjHeight = 0;
    int ObjWidth = 0;
    bool HasBorder = false;

    TObject* MyCell = nullptr;
    TObject* MyFormControl = nullptr;
    int DrawX = 0;
    int DrawY = 0;
    // x relative to the column, given to floats by IndentManager.
    int FloatX = 0;

    static constexpr int DefaultHSpace = 5;
    static constexpr int MaxHSpace = 20;
    // Requested sizes are capped: no attribute makes a huge bitmap.
    static constexpr int MaxSpecSize = 16384;

private:
    void Load(TImageContext& document);
    void ComputeSize(int availableWidth);
    void PaintPlaceholder(QPainter& canvas, int x, int y, const TFontObj* run, TColor background);
    void ReleaseCachedImage();

    std::string FCacheKey;    // name under which the image is in the cache
    QImage FComposed;         // Image with Mask applied as alpha, made on first draw
};

// The images of one section, ordered by position.
class TImageObjList : public TFreeList {
public:
    TImageObj* Image(int index) const { return ItemAs<TImageObj>(index); }
    // The image whose placeholder is at pos, or null.
    TImageObj* FindImage(int pos) const;

    struct THit {
        TImageObj* Image = nullptr;
        int X = 0; // offset inside the image
        int Y = 0;
        TMapItem* Map = nullptr;
        bool IsMap = false;
        TObject* FormControl = nullptr;
    };
    // The first image whose hit rectangle contains the point; USEMAP images
    // report their map found by name among maps.
    bool ImageHit(int x, int y, const TFreeList* maps, THit& hit) const;
};

// Result of GetImage.
struct TImageResult {
    QImage Image;
    QImage Mask;
    std::shared_ptr<TGIFImage> Animated;
    bool Pending = false;
    bool FromCache = false;
    bool Loaded() const { return !Image.isNull() || Animated != nullptr; }
};

// The image loader with the process-wide cache: a cached image is taken
// from the cache; otherwise the data comes from OnImageRequest or from the
// file of that name, and the type is recognised by content. transparency is
// in/out: TRANSP asks for a corner-colour mask; GIF and PNG transparency is
// reported back.
TImageResult GetImage(TImageContext& document, const std::string& name, TTransparency& transparency);
