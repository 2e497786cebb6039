// Image objects and the image cache: attributes, sizing, placeholders,
// painting, hit tests, loading through files and the image-request handler.

#include "html/GifImage.h"
#include "html/HtmlImageCache.h"
#include "html/HtmlImages.h"
#include "ImageTestSupport.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <memory>

namespace {

// Counts the reads, so that tests can tell a file was loaded only once.
class TCountingFileSystem : public TMemoryFileSystem {
public:
    bool ReadFile(const QString& path, QByteArray& data, qint64 maxBytes = -1) const override
    {
        ++Reads;
        return TMemoryFileSystem::ReadFile(path, data, maxBytes);
    }
    mutable int Reads = 0;
};

class ImageObjects : public ::testing::Test {
protected:
    void SetUp() override
    {
        BitmapList().Clear();
        BitmapList().SetMaxAge(TStringBitmapList::DefaultMaxAge);
        Files.AddFile(QStringLiteral("C:\\Docs\\pic.bmp"), ReadTestFile(TestDataPath(QStringLiteral("images/rgb24.bmp"))));
        Files.AddFile(QStringLiteral("C:\\Docs\\photo.jpg"), ReadTestFile(TestDataPath(QStringLiteral("images/baseline.jpg"))));
        Files.AddFile(QStringLiteral("C:\\Docs\\pic.png"), ReadTestFile(TestDataPath(QStringLiteral("images/picture.png"))));
    }
    void TearDown() override { BitmapList().Clear(); }

    std::unique_ptr<TImageObj> Image(std::initializer_list<std::pair<TAttrSymbol, std::string>> attributes)
    {
        TAttributeList list;
        for (const auto& [symbol, text] : attributes)
            list.AddAttribute(symbol, std::atoi(text.c_str()), text);
        return std::make_unique<TImageObj>(0, list);
    }

    TCountingFileSystem Files;
    TScopedFileSystem Installed{Files};
    TImageContext Document;
};

} // namespace

TEST_F(ImageObjects, AttributesAreReadAndBounded)
{
    auto image = Image({{SrcSy, "pic.bmp"}, {AltSy, "Une image"}, {AlignSy, "absmiddle"}, {BorderSy, "0"},
                        {UseMapSy, " #carte "}, {IsMapSy, ""}, {TranspSy, ""}, {HSpaceSy, "-12"}});
    EXPECT_EQ(image->Source, "pic.bmp");
    EXPECT_EQ(image->AltText, "Une image");
    EXPECT_EQ(image->Alignment, TImageAlign::Middle);
    EXPECT_TRUE(image->NoBorder && image->IsMap && image->Transp && image->UseMap);
    EXPECT_EQ(image->MapName, "CARTE");
    EXPECT_EQ(image->HSpace, 12);
    EXPECT_EQ(Image({{AlignSy, "Left"}})->Alignment, TImageAlign::Left);
    EXPECT_EQ(Image({{AlignSy, "baseline"}})->Alignment, TImageAlign::Bottom);
    EXPECT_EQ(Image({})->HSpace, TImageObj::DefaultHSpace);

    auto huge = Image({{WidthSy, "2000000000"}, {HeightSy, "2000000000"}, {HSpaceSy, "-2147483648"}});
    EXPECT_EQ(huge->SpecWidth, TImageObj::MaxSpecSize);
    EXPECT_EQ(huge->SpecHeight, TImageObj::MaxSpecSize);
    EXPECT_EQ(huge->HSpace, TImageObj::MaxHSpace);
    EXPECT_FALSE(Image({{WidthSy, "150%"}})->PercentWidth);
    EXPECT_EQ(Image({{HeightSy, "0"}})->SpecHeight, 1);
}

TEST_F(ImageObjects, SameSourceIsLoadedOnceAndFreedAtTheFifthAgeingStep)
{
    auto first = Image({{SrcSy, "C:\\Docs\\pic.bmp"}});
    auto second = Image({{SrcSy, "c:\\docs\\PIC.bmp "}});
    first->SizeImage(Document, 500, nullptr);
    second->SizeImage(Document, 500, nullptr);
    EXPECT_EQ(Files.Reads, 1);
    EXPECT_EQ(first->State, TImageState::Loaded);
    EXPECT_EQ(second->ImageWidth, 61);
    ASSERT_EQ(BitmapList().Count(), 1);
    EXPECT_EQ(BitmapList().Item(0)->UsageCount, 2);

    // Ageing step 1 comes while the second image still uses it.
    first.reset();
    BitmapList().Age();
    EXPECT_EQ(BitmapList().Count(), 1) << "still used by the second image";
    second.reset();
    for (int step = 2; step <= 4; ++step) {
        BitmapList().Age();
        EXPECT_EQ(BitmapList().Count(), 1) << "step " << step;
    }
    BitmapList().Age();
    EXPECT_EQ(BitmapList().Count(), 0);
}

TEST_F(ImageObjects, CacheOperationsRespectUses)
{
    auto item = std::make_unique<TBitmapItem>();
    item->Image = QImage(2, 2, QImage::Format_RGB32);
    BitmapList().AddObject("B", std::move(item));
    BitmapList().AddObject("A", std::make_unique<TBitmapItem>());
    EXPECT_EQ(BitmapList().Key(0), "A");
    EXPECT_EQ(BitmapList().IndexOf("B"), 1);
    BitmapList().Release(" b ");
    BitmapList().Purge();
    ASSERT_EQ(BitmapList().Count(), 1);
    EXPECT_EQ(BitmapList().Key(0), "A");
    BitmapList().Take(0);
    BitmapList().Release("a");
    BitmapList().Release("a");
    BitmapList().Release("a"); // never below 0
    EXPECT_EQ(BitmapList().Item(0)->UsageCount, 0);
    BitmapList().Age();
    BitmapList().Age();
    BitmapList().SetMaxAge(1);
    EXPECT_EQ(BitmapList().Count(), 0);
    EXPECT_EQ(BitmapList().MaxAge(), 1);
}

TEST_F(ImageObjects, SizesFollowWidthHeightAndPercent)
{
    auto percent = Image({{SrcSy, "C:\\Docs\\pic.bmp"}, {WidthSy, "50%"}});
    percent->SizeImage(Document, 400, nullptr);
    EXPECT_EQ(percent->ImageWidth, 200);
    EXPECT_EQ(percent->ImageHeight, 47);
    percent->SizeImage(Document, 600, nullptr);
    EXPECT_EQ(percent->ImageWidth, 300);
    percent->SizeImage(Document, 0, nullptr);
    EXPECT_EQ(percent->ImageWidth, 1);

    auto width = Image({{SrcSy, "C:\\Docs\\pic.bmp"}, {WidthSy, "40"}});
    width->SizeImage(Document, 400, nullptr);
    EXPECT_EQ(width->ImageWidth, 40);
    EXPECT_EQ(width->ImageHeight, 31); // 47 * 40 / 61, rounded
    EXPECT_TRUE(width->ImageKnown);

    auto flat = Image({{SrcSy, "C:\\Docs\\pic.bmp"}, {WidthSy, "10"}, {HeightSy, "0"}});
    flat->SizeImage(Document, 400, nullptr);
    EXPECT_EQ(flat->ImageHeight, 1);
    EXPECT_EQ(flat->ImageWidth, 10);

    auto tall = Image({{SrcSy, "C:\\Docs\\pic.bmp"}, {HeightSy, "94"}});
    tall->SizeImage(Document, 400, nullptr);
    EXPECT_EQ(tall->ImageWidth, 122);

    auto huge = Image({{SrcSy, "C:\\Docs\\pic.bmp"}, {HeightSy, "2000000000"}});
    huge->SizeImage(Document, 400, nullptr);
    EXPECT_LE(huge->ImageWidth, TImageObj::MaxSpecSize);
    EXPECT_LE(huge->ImageHeight, TImageObj::MaxSpecSize);
}

TEST_F(ImageObjects, LinkBorderAddsTwoUnlessBorderIsZero)
{
    TMyFont font;
    TFontObj link(font, 0);
    link.UrlTarget.Url = "page.htm";
    auto image = Image({{SrcSy, "C:\\Docs\\pic.bmp"}});
    image->SizeImage(Document, 400, &link);
    EXPECT_TRUE(image->HasBorder);
    EXPECT_EQ(image->ObjWidth, 63);
    EXPECT_EQ(image->ObjHeight, 49);
    auto plain = Image({{SrcSy, "C:\\Docs\\pic.bmp"}, {BorderSy, "0"}});
    plain->SizeImage(Document, 400, &link);
    EXPECT_EQ(plain->ObjWidth, 61);
    auto outside = Image({{SrcSy, "C:\\Docs\\pic.bmp"}});
    outside->SizeImage(Document, 400, nullptr);
    EXPECT_EQ(outside->ObjWidth, 61);
}

TEST_F(ImageObjects, PngShowsTheErrorPlaceholderWithItsAltText)
{
    auto image = Image({{SrcSy, "C:\\Docs\\pic.png"}, {AltSy, "Plan du site"}});
    image->SizeImage(Document, 400, nullptr);
    EXPECT_EQ(image->State, TImageState::Failed);
    EXPECT_GE(image->ImageWidth, 24 + 40);
    EXPECT_GE(image->ImageHeight, 24);
    EXPECT_EQ(BitmapList().Count(), 0);

    QImage canvas(200, 60, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        image->PaintAt(painter, 0, 0, nullptr, clWhite);
    }
    auto inkIn = [&](const QRect& area) {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (qGray(canvas.pixel(x, y)) < 100)
                    return true;
        return false;
    };
    EXPECT_TRUE(inkIn(QRect(24, 4, image->ImageWidth - 28, image->ImageHeight - 8))) << "ALT text";
    EXPECT_TRUE(inkIn(QRect(4, 4, 16, 16))) << "icon";
    // Sunken frame on a white page: the right side takes silver.
    EXPECT_EQ(canvas.pixel(image->ImageWidth - 1, 10), qRgb(192, 192, 192));

    // Too small a box shows no text.
    auto small = Image({{SrcSy, "C:\\Docs\\pic.png"}, {AltSy, "Plan"}, {WidthSy, "20"}, {HeightSy, "20"}});
    small->SizeImage(Document, 400, nullptr);
    EXPECT_EQ(small->ImageWidth, 20);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        small->PaintAt(painter, 0, 0, nullptr, clWhite);
    }
    EXPECT_FALSE(inkIn(QRect(0, 0, 40, 40)));
}

TEST_F(ImageObjects, MissingFilesAndDisabledImagesGetPlaceholders)
{
    auto missing = Image({{SrcSy, "C:\\Docs\\absent.jpg"}});
    missing->SizeImage(Document, 400, nullptr);
    EXPECT_EQ(missing->State, TImageState::Failed);
    EXPECT_FALSE(missing->Image.isNull());

    Document.ShowImages = false;
    auto off = Image({{SrcSy, "C:\\Docs\\pic.bmp"}, {WidthSy, "100"}, {HeightSy, "80"}});
    off->SizeImage(Document, 400, nullptr);
    EXPECT_EQ(off->State, TImageState::ImagesOff);
    EXPECT_EQ(off->ImageWidth, 100);
    EXPECT_EQ(Files.Reads, 1);
    Document.ShowImages = true;
    off->SizeImage(Document, 400, nullptr);
    EXPECT_EQ(off->State, TImageState::Loaded);
}

TEST_F(ImageObjects, ImageRequestHandlerSuppliesDataOrAsksToWait)
{
    const QByteArray jpeg = ReadTestFile(TestDataPath(QStringLiteral("images/baseline.jpg")));
    const QByteArray png = ReadTestFile(TestDataPath(QStringLiteral("images/picture.png")));
    std::vector<std::string> asked;
    Document.OnImageRequest = [&](QObject*, const std::string& src, const QByteArray*& stream) {
        asked.push_back(src);
        if (src == "later.jpg")
            stream = &WaitStream();
        else if (src == "photo.jpg")
            stream = &jpeg;
        else if (src == "pic.png")
            stream = &png;
    };
    Document.ExpandImageName = [](const std::string&) -> std::string { return "never used with a handler"; };

    auto later = Image({{SrcSy, "later.jpg"}});
    later->SizeImage(Document, 400, nullptr);
    EXPECT_EQ(later->State, TImageState::Pending);
    ASSERT_EQ(Document.WaitingList.size(), 1u);
    EXPECT_EQ(Document.WaitingList[0].Image, later.get());
    auto again = Image({{SrcSy, "later.jpg"}});
    again->SizeImage(Document, 400, nullptr);
    EXPECT_EQ(again->State, TImageState::Pending);
    EXPECT_EQ(asked.size(), 1u) << "a waiting name is not asked again";

    auto photo = Image({{SrcSy, "photo.jpg"}});
    photo->SizeImage(Document, 400, nullptr);
    EXPECT_EQ(photo->State, TImageState::Loaded);
    EXPECT_EQ(photo->ImageWidth, 61);
    auto broken = Image({{SrcSy, "pic.png"}});
    broken->SizeImage(Document, 400, nullptr);
    EXPECT_EQ(broken->State, TImageState::Failed);
    auto nothing = Image({{SrcSy, "unknown.bmp"}});
    nothing->SizeImage(Document, 400, nullptr);
    EXPECT_EQ(nothing->State, TImageState::Failed);
}

TEST_F(ImageObjects, TranspMasksTheBottomLeftColourAndPaintsThroughIt)
{
    auto image = Image({{SrcSy, "C:\\Docs\\pic.bmp"}, {TranspSy, ""}});
    image->SizeImage(Document, 400, nullptr);
    ASSERT_FALSE(image->Mask.isNull());
    EXPECT_EQ(image->Transparency, TTransparency::LowerLeft);
    EXPECT_EQ(image->Mask.pixel(0, image->Mask.height() - 1), qRgb(255, 255, 255));
    EXPECT_EQ(image->Mask.pixel(30, 23), qRgb(0, 0, 0));

    QImage canvas(80, 60, QImage::Format_RGB32);
    canvas.fill(qRgb(1, 2, 3));
    {
        QPainter painter(&canvas);
        image->PaintImage(painter, 5, nullptr, 55, 0, clWhite); // bottom-aligned on baseline 55
    }
    EXPECT_EQ(image->DrawX, 5);
    EXPECT_EQ(image->DrawY, 8);
    EXPECT_EQ(canvas.pixel(5, 54), qRgb(1, 2, 3)); // transparent corner
    EXPECT_EQ(canvas.pixel(35, 31) & 0xFFFFFF, 0xFFFF00u);

    // A second user of the cached image asking for TRANSP gets the mask too.
    auto second = Image({{SrcSy, "C:\\Docs\\pic.bmp"}, {TranspSy, ""}});
    second->SizeImage(Document, 400, nullptr);
    EXPECT_FALSE(second->Mask.isNull());
}

TEST_F(ImageObjects, HitTestUsesThePaintedRectangleAndFindsMaps)
{
    TFreeList maps;
    auto* map = new TMapItem;
    map->MapKey = "CARTE";
    maps.Add(map);
    TImageObjList images;
    images.Add(Image({{SrcSy, "C:\\Docs\\pic.bmp"}, {UseMapSy, "#carte"}}).release());
    images.Add(Image({{SrcSy, "C:\\Docs\\pic.bmp"}, {IsMapSy, ""}}).release());
    images.Image(1)->Pos = 7;
    QImage canvas(300, 100, QImage::Format_RGB32);
    {
        QPainter painter(&canvas);
        for (int i = 0; i < 2; ++i) {
            images.Image(i)->SizeImage(Document, 400, nullptr);
            images.Image(i)->PaintAt(painter, 10 + 100 * i, 20, nullptr, clWhite);
        }
    }
    TImageObjList::THit hit;
    ASSERT_TRUE(images.ImageHit(15, 25, &maps, hit));
    EXPECT_EQ(hit.Image, images.Image(0));
    EXPECT_EQ(hit.X, 5);
    EXPECT_EQ(hit.Y, 5);
    EXPECT_EQ(hit.Map, map);
    ASSERT_TRUE(images.ImageHit(170, 66, &maps, hit));
    EXPECT_TRUE(hit.IsMap);
    EXPECT_EQ(hit.Map, nullptr);
    EXPECT_FALSE(images.ImageHit(71, 25, &maps, hit));
    EXPECT_EQ(images.FindImage(7), images.Image(1));
    EXPECT_EQ(images.FindImage(3), nullptr);
}

TEST_F(ImageObjects, GifsGoToTheDecoderStillOnesBecomeBitmaps)
{
    Files.AddFile(QStringLiteral("C:\\Docs\\still.gif"), ReadTestFile(TestDataPath(QStringLiteral("images/still.gif"))));
    Files.AddFile(QStringLiteral("C:\\Docs\\anim.gif"), ReadTestFile(TestDataPath(QStringLiteral("images/anim.gif"))));
    Files.AddFile(QStringLiteral("C:\\Docs\\broken.gif"), QByteArray("GIF89a\x05\x00", 8));

    auto still = Image({{SrcSy, "C:\\Docs\\still.gif"}});
    still->SizeImage(Document, 400, nullptr);
    ASSERT_EQ(still->State, TImageState::Loaded);
    EXPECT_EQ(still->Animated, nullptr);
    EXPECT_EQ(still->ImageWidth, 12);
    EXPECT_EQ(still->Transparency, TTransparency::TGif);
    EXPECT_EQ(still->Mask.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(still->Mask.pixel(5, 5), qRgb(0, 0, 0));
    EXPECT_EQ(still->Image.pixel(5, 5) & 0xFFFFFF, 0x0000FFu);

    auto first = Image({{SrcSy, "C:\\Docs\\anim.gif"}});
    auto second = Image({{SrcSy, "C:\\Docs\\anim.gif"}});
    first->SizeImage(Document, 400, nullptr);
    second->SizeImage(Document, 400, nullptr);
    ASSERT_NE(first->Animated, nullptr);
    ASSERT_NE(second->Animated, nullptr);
    EXPECT_NE(first->Animated, second->Animated) << "the second user plays a copy";
    EXPECT_EQ(first->ImageWidth, 8);
    EXPECT_EQ(Document.AnimationList.size(), 2u);
    QImage canvas(20, 20, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        first->PaintAt(painter, 2, 2, nullptr, clWhite);
    }
    EXPECT_TRUE(first->Animated->PaintedFlag);
    EXPECT_EQ(canvas.pixel(4, 4) & 0xFFFFFF, 0x008000u);

    auto broken = Image({{SrcSy, "C:\\Docs\\broken.gif"}});
    broken->SizeImage(Document, 400, nullptr);
    EXPECT_EQ(broken->State, TImageState::Failed);
}

TEST_F(ImageObjects, AlignmentPlacesTheImageOnItsLineAndLinksGetAFrame)
{
    TMyFont font;
    font.Color = clRed;
    TFontObj run(font, 0);
    QImage canvas(200, 200, QImage::Format_RGB32);
    QPainter painter(&canvas);

    auto top = Image({{SrcSy, "C:\\Docs\\pic.bmp"}, {AlignSy, "top"}});
    top->SizeImage(Document, 400, &run);
    top->PaintImage(painter, 0, &run, 100, 80, clWhite);
    EXPECT_EQ(top->DrawY, 80);

    auto middle = Image({{SrcSy, "C:\\Docs\\pic.bmp"}, {AlignSy, "middle"}});
    middle->SizeImage(Document, 400, &run);
    middle->PaintImage(painter, 0, &run, 100, 80, clWhite);
    // Centred on the middle of the run's font box.
    EXPECT_EQ(middle->DrawY, 100 + run.Descent - run.TextHeight / 2 - 47 / 2);

    run.UrlTarget.Url = "page.htm";
    auto linked = Image({{SrcSy, "C:\\Docs\\pic.bmp"}});
    linked->SizeImage(Document, 400, &run);
    canvas.fill(Qt::white);
    linked->PaintImage(painter, 10, &run, 150, 80, clWhite);
    EXPECT_EQ(linked->DrawX, 11); // inside the one-pixel frame
    EXPECT_EQ(linked->DrawY, 150 - 49 + 1);
    painter.end();
    EXPECT_EQ(canvas.pixel(10, 101), qRgb(255, 0, 0)); // frame in the link colour
    EXPECT_EQ(canvas.pixel(72, 149), qRgb(255, 0, 0));
    EXPECT_EQ(linked->HitRect(), QRect(11, 102, 61, 47));
}
