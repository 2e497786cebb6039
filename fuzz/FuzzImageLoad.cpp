#include "fuzz/FuzzImageLoad.h"

#include "fuzz/FuzzSupport.h"
#include "html/HtmlBitmaps.h"
#include "html/HtmlImageCache.h"
#include "html/HtmlImages.h"

#include <QPainter>

#include <string>

namespace {

void PaintImageObject(TImageContext& document, const std::string& name, bool sized)
{
    TAttributeList attributes;
    attributes.AddAttribute(SrcSy, 0, name);
    attributes.AddAttribute(TranspSy, 0);
    if (sized) {
        attributes.AddAttribute(WidthSy, 40, "40");
        attributes.AddAttribute(HeightSy, 30, "30");
    }
    TImageObj image(0, attributes);
    image.SizeImage(document, 600, nullptr);
    QImage canvas(64, 64, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    image.PaintAt(painter, 2, 2, nullptr, clWhite);
}

void LoadAtDepth(const QByteArray& bytes, const std::string& name, int colorBits)
{
    SetColorBits(colorBits);
    TImageContext document;
    document.OnImageRequest = [&](QObject*, const std::string& source, const QByteArray*& stream) {
        stream = source == name ? &bytes : nullptr;
    };
    TTransparency plain = TTransparency::None;
    GetImage(document, name, plain);
    // The second request is served by the cache, with a corner-colour mask.
    TTransparency corner = TTransparency::LowerLeft;
    GetImage(document, name, corner);

    PaintImageObject(document, name, true);
    PaintImageObject(document, name, false);
    BitmapList().Clear();
}

}  // namespace

void LoadThroughImageLoader(const uint8_t* data, size_t size, const char* name)
{
    const QByteArray bytes = FuzzBytes(data, size);
    const int displayBits = ColorBits();
    LoadAtDepth(bytes, name, 24);
    LoadAtDepth(bytes, name, 8);
    SetColorBits(displayBits);
}
