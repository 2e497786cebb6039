// The GIF decoder on files built in memory: structure, pixels, composition,
// playback and the limits on bad input.

#include "html/GifImage.h"

#include "GifTestFiles.h"

#include <QBuffer>
#include <QPainter>

#include <gtest/gtest.h>

#include <random>

using namespace giftest;

namespace {

QRgb Rgb(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

bool TransparentAt(const TGIFImage& gif, int x, int y)
{
    return !gif.ComposedMask.isNull() && gif.ComposedMask.constScanLine(y)[x] != 0;
}

std::unique_ptr<TGIFImage> Decode(const QByteArray& bytes)
{
    auto gif = std::make_unique<TGIFImage>();
    if (!gif->LoadFromBytes(bytes))
        return nullptr;
    return gif;
}

constexpr QRgb Red = 0xFF0000, Green = 0x00FF00, Blue = 0x0000FF, White = 0xFFFFFF, Black = 0;

// A fake clock for playback.
class TClockGuard {
public:
    TClockGuard()
    {
        SetGifClock([this] { return Now; });
    }
    ~TClockGuard() { SetGifClock({}); }
    qint64 Now = 1000;
};

QByteArray Animation(int frames, int delayCs, int loop = -1)
{
    TGifBuilder b(2, 2, FourColors());
    if (loop >= 0)
        b.Loop(loop);
    for (int i = 0; i < frames; ++i) {
        TFrameSpec f = SolidFrame(0, 0, 2, 2, uint8_t(i % 4));
        f.Control = true;
        f.DelayCs = delayCs;
        b.Frame(f);
    }
    return b.Bytes();
}

// Runs the document's timer: ticks of 50 ms until the animation stops or
// `ticks` have passed; returns the frames shown, in order.
std::vector<int> Play(TGIFImage& gif, TClockGuard& clock, int ticks)
{
    std::vector<int> shown { gif.FrameIndex };
    for (int i = 0; i < ticks && gif.Running; ++i) {
        clock.Now += 50;
        const int before = gif.FrameIndex;
        gif.AdvanceAnimation(nullptr);
        if (gif.FrameIndex != before)
            shown.push_back(gif.FrameIndex);
    }
    return shown;
}

} // namespace

TEST(GifImage, StillGifBecomesFramePlacedOnTheScreenWithMask)
{
    // One transparent frame at (2, 1) on a 6 x 4 screen.
    TFrameSpec f;
    f.Left = 2;
    f.Top = 1;
    f.Width = 2;
    f.Height = 2;
    f.Pixels = { 0, 1, 2, 3 };
    f.TransparentIndex = 1;
    bool isStill = false;
    auto gif = LoadGifFromBytes(TGifBuilder(6, 4, FourColors()).Frame(f).Bytes(), isStill);
    ASSERT_TRUE(gif);
    EXPECT_TRUE(isStill);
    EXPECT_FALSE(gif->Shown); // the loader's first pass leaves it hidden

    const QImage* bitmap = gif->FirstFrameBitmap();
    const QImage* mask = gif->FirstFrameMask();
    ASSERT_TRUE(bitmap && mask);
    EXPECT_EQ(bitmap->size(), QSize(6, 4));
    EXPECT_EQ(mask->format(), QImage::Format_Mono);
    EXPECT_EQ(Rgb(*bitmap, 2, 1), Red);
    EXPECT_EQ(Rgb(*bitmap, 3, 1), Black); // transparent pixels are black
    EXPECT_EQ(Rgb(*bitmap, 2, 2), Blue);
    EXPECT_EQ(Rgb(*mask, 3, 1), White); // transparent
    EXPECT_EQ(Rgb(*mask, 0, 0), White); // outside the frame
    EXPECT_EQ(Rgb(*mask, 3, 2), Black); // opaque
    EXPECT_EQ(gif->Frame(1).TransparentRGB.Green, 255);
    EXPECT_EQ(gif->FirstFrameBitmap(), bitmap); // made once

    // Opaque still: no mask.
    auto opaque = LoadGifFromBytes(TGifBuilder(2, 2, FourColors()).Frame(SolidFrame(0, 0, 2, 2, 2)).Bytes(), isStill);
    ASSERT_TRUE(opaque);
    EXPECT_EQ(opaque->FirstFrameMask(), nullptr);
    EXPECT_EQ(Rgb(*opaque->FirstFrameBitmap(), 1, 1), Blue);
}

TEST(GifImage, EntryPointsTellAnimatedFromStillAndRefuseOtherData)
{
    bool isStill = true;
    auto gif = LoadGifFromBytes(Animation(3, 10), isStill);
    ASSERT_TRUE(gif);
    EXPECT_FALSE(isStill);
    EXPECT_TRUE(gif->IsMultiFrame);
    EXPECT_EQ(gif->FrameCount, 3);
    EXPECT_FALSE(gif->ScanOnly);

    QBuffer stream;
    stream.setData(Animation(2, 10));
    stream.open(QIODevice::ReadOnly);
    EXPECT_TRUE(LoadGifFromStream(stream, isStill));

    int purges = 0;
    SetGifCachePurge([&] { ++purges; });
    EXPECT_FALSE(LoadGifFromBytes("BM not a gif", isStill));
    EXPECT_TRUE(isStill);
    EXPECT_FALSE(LoadGifFromBytes("GIF89a", isStill)); // header only
    EXPECT_FALSE(LoadGifFromBytes(TGifBuilder(1, 1).Bytes(), isStill)); // no frames
    EXPECT_FALSE(LoadGifFromFile(QStringLiteral("/no/such/file.gif"), isStill));
    SetGifCachePurge({});
    EXPECT_EQ(purges, 0); // refused by the first pass: nothing was decoded
}

TEST(GifImage, ScanOnlyReadsStructureWithoutPixels)
{
    TGIFImage gif;
    ASSERT_TRUE(gif.ScanBytes(Animation(4, 7, 3)));
    EXPECT_TRUE(gif.ScanOnly);
    EXPECT_EQ(gif.FrameCount, 4);
    EXPECT_EQ(gif.PlayCount, 3);
    EXPECT_EQ(gif.Frame(2).DelayMs, 70);
    EXPECT_TRUE(gif.Frame(1).FrameBitmap.isNull());
    EXPECT_TRUE(gif.ComposedBitmap.isNull());
    EXPECT_EQ(gif.FirstFrameBitmap(), nullptr);
}

TEST(GifImage, FramesBeyondTheScreenEnlargeThePicture)
{
    TGifBuilder b(4, 4, FourColors());
    b.Frame(SolidFrame(0, 0, 4, 4, 0));
    b.Frame(SolidFrame(3, 2, 5, 5, 1));
    auto gif = Decode(b.Bytes());
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->ImageWidth, 8);
    EXPECT_EQ(gif->ImageHeight, 7);
    gif->SetFrameIndex(2);
    EXPECT_EQ(Rgb(gif->ComposedBitmap, 7, 6), Green);
}

TEST(GifImage, InterlacedDecodesToTheSamePixels)
{
    std::mt19937 random(5);
    for (int height : { 1, 2, 3, 5, 8, 9, 13, 21 }) {
        TFrameSpec f;
        f.Width = 7; // rows padded to 8 bytes in the bitmap
        f.Height = height;
        for (int i = 0; i < 7 * height; ++i)
            f.Pixels.push_back(uint8_t(random() % 4));
        auto plain = Decode(TGifBuilder(7, height, FourColors()).Frame(f).Bytes());
        f.Interlaced = true;
        auto interlaced = Decode(TGifBuilder(7, height, FourColors()).Frame(f).Bytes());
        ASSERT_TRUE(plain && interlaced);
        EXPECT_TRUE(interlaced->Frame(1).Interlaced);
        EXPECT_EQ(plain->ComposedBitmap, interlaced->ComposedBitmap) << "height " << height;
        EXPECT_EQ(Rgb(plain->ComposedBitmap, 6, height - 1), FourColors()[f.Pixels.back()] & 0xFFFFFF);
    }
}

TEST(GifImage, DisposalRestoresPreviousOrClearsToBackground)
{
    // Frame 1: red, with a transparent pixel at (3, 3). Frame 2 covers
    // (1, 1)-(2, 2) in green and is then disposed of; frame 3 is one blue
    // pixel at (0, 0).
    for (int disposal : { DisposalPrevious, DisposalBackground }) {
        TFrameSpec first = SolidFrame(0, 0, 4, 4, 0);
        first.Pixels[15] = 3;
        first.TransparentIndex = 3;
        TFrameSpec second = SolidFrame(1, 1, 2, 2, 1);
        second.Control = true;
        second.Disposal = disposal;
        TGifBuilder b(4, 4, FourColors());
        b.Frame(first).Frame(second).Frame(SolidFrame(0, 0, 1, 1, 2));
        auto gif = Decode(b.Bytes());
        ASSERT_TRUE(gif);
        const QImage before = gif->ComposedBitmap.copy();
        gif->SetFrameIndex(2);
        EXPECT_EQ(Rgb(gif->ComposedBitmap, 1, 1), Green);
        EXPECT_FALSE(TransparentAt(*gif, 1, 1));
        gif->SetFrameIndex(3);
        EXPECT_EQ(Rgb(gif->ComposedBitmap, 0, 0), Blue);
        EXPECT_TRUE(TransparentAt(*gif, 3, 3));
        if (disposal == DisposalPrevious) {
            EXPECT_EQ(gif->ComposedBitmap.copy(1, 1, 2, 2), before.copy(1, 1, 2, 2));
            EXPECT_FALSE(TransparentAt(*gif, 2, 2));
        } else {
            EXPECT_EQ(Rgb(gif->ComposedBitmap, 2, 2), Black);
            EXPECT_TRUE(TransparentAt(*gif, 2, 2));
            EXPECT_EQ(Rgb(gif->ComposedBitmap, 3, 2), Red); // outside the frame: kept
        }
    }
}

TEST(GifImage, UndefinedDisposalsCountAsBackground)
{
    TGifBuilder b(1, 1, FourColors());
    TFrameSpec f = SolidFrame(0, 0, 1, 1, 0);
    f.Control = true;
    f.Disposal = 6;
    auto gif = Decode(b.Frame(f).Bytes());
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->Frame(1).Disposal, DisposalBackground);
}

TEST(GifImage, DelaysAreScaledAndNeverZero)
{
    TClockGuard clock;
    auto instant = Decode(Animation(3, 0, 0));
    ASSERT_TRUE(instant);
    instant->SetRunning(true);
    EXPECT_EQ(instant->FrameDelay, 1);
    // The first step after parsing only takes the delay; then one frame per
    // document tick.
    EXPECT_EQ(Play(*instant, clock, 4), (std::vector<int> { 1, 2, 3, 1 }));

    auto slow = Decode(Animation(2, 10, 0));
    ASSERT_TRUE(slow);
    slow->SpeedPercent = 200;
    slow->SetRunning(true);
    EXPECT_EQ(slow->FrameDelay, 50);
    clock.Now += 49;
    slow->HoldFirstTick = false;
    slow->AdvanceAnimation(nullptr);
    EXPECT_EQ(slow->FrameIndex, 1); // not yet
    clock.Now += 1;
    slow->AdvanceAnimation(nullptr);
    EXPECT_EQ(slow->FrameIndex, 2);

    slow->SpeedPercent = 0; // no division by zero
    slow->SetRunning(false);
    slow->SetRunning(true);
    EXPECT_GE(slow->FrameDelay, 1);
}

TEST(GifImage, LoopCountDecidesHowOftenTheAnimationPlays)
{
    TClockGuard clock;
    auto once = Decode(Animation(3, 0)); // no looping extension
    ASSERT_TRUE(once);
    EXPECT_EQ(once->PlayCount, 1);
    once->SetRunning(true);
    EXPECT_EQ(Play(*once, clock, 100), (std::vector<int> { 1, 2, 3 }));
    EXPECT_FALSE(once->Running);
    EXPECT_EQ(once->FrameIndex, 3); // stops on its last frame

    auto twice = Decode(Animation(2, 0, 2));
    ASSERT_TRUE(twice);
    twice->SetRunning(true);
    EXPECT_EQ(Play(*twice, clock, 100), (std::vector<int> { 1, 2, 1, 2 }));

    auto endless = Decode(Animation(2, 0, 0));
    ASSERT_TRUE(endless);
    EXPECT_EQ(endless->PlayCount, 0);
    endless->SetRunning(true);
    EXPECT_EQ(Play(*endless, clock, 200).size(), 200u);
    EXPECT_TRUE(endless->Running);
}

TEST(GifImage, SetFrameIndexWrapsAround)
{
    auto gif = Decode(Animation(3, 0));
    ASSERT_TRUE(gif);
    gif->SetFrameIndex(4);
    EXPECT_EQ(gif->FrameIndex, 1);
    gif->SetFrameIndex(0);
    EXPECT_EQ(gif->FrameIndex, 3);
    EXPECT_EQ(Rgb(gif->ComposedBitmap, 0, 0), Blue);
}

TEST(GifImage, KeepsTheFirst256Frames)
{
    auto gif = Decode(Animation(300, 1));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->FrameCount, 256);
    EXPECT_EQ(gif->FrameList.size(), 256u);
}

TEST(GifImage, CommentBelongsToTheFollowingFrame)
{
    TGifBuilder b(1, 1, FourColors());
    TFrameSpec second = SolidFrame(0, 0, 1, 1, 1);
    second.Comment = "deuxième image";
    b.Frame(SolidFrame(0, 0, 1, 1, 0)).Frame(second).Frame(SolidFrame(0, 0, 1, 1, 2));
    auto gif = Decode(b.Bytes());
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->Frame(1).FrameComment, "");
    EXPECT_EQ(gif->Frame(2).FrameComment, "deuxième image");
    EXPECT_EQ(gif->Frame(3).FrameComment, "");
}

TEST(GifImage, CopiesPlayOnTheirOwn)
{
    auto source = Decode(Animation(3, 0, 0));
    ASSERT_TRUE(source);
    source->SetFrameIndex(3);
    TGIFImage copy;
    copy.CopyGif(*source);
    EXPECT_TRUE(copy.OwnedCopy);
    EXPECT_FALSE(copy.Running);
    EXPECT_EQ(copy.FrameIndex, 1);
    EXPECT_EQ(copy.FrameCount, 3);
    EXPECT_EQ(copy.PlayCount, 0);
    EXPECT_EQ(Rgb(copy.ComposedBitmap, 0, 0), Red);
    copy.SetFrameIndex(2);
    EXPECT_EQ(Rgb(copy.ComposedBitmap, 0, 0), Green);
    EXPECT_EQ(Rgb(source->ComposedBitmap, 0, 0), Blue);
    source.reset(); // the copy owns everything it draws with
    copy.SetFrameIndex(3);
    EXPECT_EQ(Rgb(copy.ComposedBitmap, 1, 1), Blue);
}

// ---------------------------------------------------------------------------
// Bad input

TEST(GifImage, RefusesPicturesTooLargeBeforeAllocating)
{
    // A screen of 9000 x 8000 (72 megapixels) with a one-pixel frame.
    EXPECT_FALSE(Decode(TGifBuilder(9000, 8000, FourColors()).Frame(SolidFrame(0, 0, 1, 1, 0)).Bytes()));

    // A frame of 65535 x 65535 declared with almost no data.
    TGifBuilder huge(1, 1, FourColors());
    huge.Raw(QByteArray("\x2C\0\0\0\0\xFF\xFF\xFF\xFF\0\x02\x02\x44\x01\0", 15));
    EXPECT_FALSE(Decode(huge.Bytes()));
    TGIFImage scanned;
    EXPECT_FALSE(scanned.ScanBytes(huge.Bytes()));

    // Five frames of 8000 x 8000 would need 320 MB of frame pictures.
    TGifBuilder many(8000, 8000, FourColors());
    for (int i = 0; i < 5; ++i)
        many.Raw(QByteArray("\x2C\0\0\0\0\x40\x1F\x40\x1F\0\x02\x02\x44\x01\0", 15));
    EXPECT_FALSE(Decode(many.Bytes()));
}

TEST(GifImage, SkipsFramesOfZeroSize)
{
    TGifBuilder b(2, 2, FourColors());
    b.Frame(SolidFrame(0, 0, 0, 2, 1)).Frame(SolidFrame(0, 0, 2, 2, 2)).Frame(SolidFrame(0, 0, 2, 0, 3));
    auto gif = Decode(b.Bytes());
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->FrameCount, 1);
    EXPECT_EQ(Rgb(gif->ComposedBitmap, 1, 1), Blue);
}

TEST(GifImage, BadCodeSizeEndsOnlyThatFrame)
{
    TGifBuilder b(2, 2, FourColors());
    TFrameSpec wide = SolidFrame(0, 0, 2, 2, 3);
    wide.MinCodeSize = 9;
    b.Frame(wide).Frame(SolidFrame(0, 0, 2, 2, 2));
    auto gif = Decode(b.Bytes());
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->FrameCount, 2);
    EXPECT_EQ(Rgb(gif->ComposedBitmap, 0, 0), Red); // nothing decoded: colour 0
    gif->SetFrameIndex(2);
    EXPECT_EQ(Rgb(gif->ComposedBitmap, 0, 0), Blue);
}

TEST(GifImage, HandBuiltFileWithoutColourTableOrClearCode)
{
    // clang-format off
    static const unsigned char bytes[] = {
        'G', 'I', 'F', '8', '7', 'a',
        0x03, 0x00, 0x01, 0x00,  // screen 3 x 1
        0x00,                    // no global colour table
        0x00, 0x00,              // background index, aspect ratio
        0x2C,                    // image descriptor
        0x00, 0x00, 0x00, 0x00,  // left 0, top 0
        0x03, 0x00, 0x01, 0x00,  // 3 x 1
        0x00,                    // no local table, not interlaced
        0x02,                    // minimum code size 2: clear 4, end 5
        0x02,                    // one sub-block of 2 bytes:
        0x08, 0x0A,              //   codes 0, 1, 0 (3 bits), end (4 bits): no clear code first
        0x00,                    // terminator
        0x3B,                    // trailer
    };
    // clang-format on
    auto gif = Decode(QByteArray(reinterpret_cast<const char*>(bytes), sizeof bytes));
    ASSERT_TRUE(gif);
    // The default palette: index 0 black, 1 white.
    EXPECT_EQ(Rgb(gif->ComposedBitmap, 0, 0), Black);
    EXPECT_EQ(Rgb(gif->ComposedBitmap, 1, 0), White);
    EXPECT_EQ(Rgb(gif->ComposedBitmap, 2, 0), Black);
}

TEST(GifImage, HandBuiltFileWithCorruptCodeKeepsDecodedRows)
{
    // clang-format off
    static const unsigned char bytes[] = {
        'G', 'I', 'F', '8', '9', 'a',
        0x02, 0x00, 0x02, 0x00,  // screen 2 x 2
        0x80,                    // global table of 2 entries
        0x00, 0x00,
        0xFF, 0x00, 0x00,        // 0 red
        0x00, 0x00, 0xFF,        // 1 blue
        0x2C, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x02, 0x00, 0x00,
        0x02,                    // minimum code size 2
        0x02,                    // 2 bytes of codes (3 bits each):
        0xCC, 0x01,              //   clear 4, 1, then 7 where 6 is the next free code
        0x00,
        0x3B,
    };
    // clang-format on
    auto gif = Decode(QByteArray(reinterpret_cast<const char*>(bytes), sizeof bytes));
    ASSERT_TRUE(gif);
    EXPECT_EQ(Rgb(gif->ComposedBitmap, 0, 0), Blue);
    EXPECT_EQ(Rgb(gif->ComposedBitmap, 1, 0), Red); // never reached: colour 0
    EXPECT_EQ(Rgb(gif->ComposedBitmap, 1, 1), Red);
}

TEST(GifImage, IndicesBeyondTheColourTableAreBlack)
{
    TFrameSpec f;
    f.Width = 4;
    f.Height = 1;
    f.Pixels = { 0, 1, 2, 3 };
    f.MinCodeSize = 2;
    auto gif = Decode(TGifBuilder(4, 1, { qRgb(255, 0, 0), qRgb(0, 255, 0) }).Frame(f).Bytes());
    ASSERT_TRUE(gif);
    EXPECT_EQ(Rgb(gif->ComposedBitmap, 1, 0), Green);
    EXPECT_EQ(Rgb(gif->ComposedBitmap, 2, 0), Black);
    EXPECT_EQ(Rgb(gif->ComposedBitmap, 3, 0), Black);
}

TEST(GifImage, TruncatedDataKeepsWhatWasRead)
{
    TGifBuilder b(64, 64, FourColors());
    std::mt19937 random(1);
    QByteArray twoFrames;
    for (int i = 0; i < 3; ++i) {
        if (i == 2)
            twoFrames = b.BytesWithoutTrailer();
        TFrameSpec f = SolidFrame(0, 0, 64, 64, 0);
        for (auto& p : f.Pixels)
            p = uint8_t(random() % 4);
        b.Frame(f);
    }
    const QByteArray whole = b.Bytes();
    auto complete = Decode(whole);
    ASSERT_TRUE(complete);
    ASSERT_EQ(complete->FrameCount, 3);
    // Cut inside the last frame's data: its first rows remain.
    auto cut = Decode(whole.left(whole.size() - 400));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->FrameCount, 3);
    cut->SetFrameIndex(3);
    complete->SetFrameIndex(3);
    EXPECT_EQ(cut->ComposedBitmap.copy(0, 0, 64, 10), complete->ComposedBitmap.copy(0, 0, 64, 10));
    // Cut inside the last image descriptor: two frames.
    auto two = Decode(twoFrames + QByteArray("\x2C\0\0\x01", 4));
    ASSERT_TRUE(two);
    EXPECT_EQ(two->FrameCount, 2);
}

TEST(GifImage, ExtensionsAreReadByTheirDeclaredLengths)
{
    TGifBuilder b(1, 1, FourColors());
    // Graphic control block of 5 bytes (one more than usual): disposal 3,
    // transparent index 2, delay 0x0102 hundredths.
    b.Raw(QByteArray("\x21\xF9\x05\x0D\x02\x01\x02\x2C\x00", 9));
    // Application extension whose identifier block is 10 bytes long: not
    // the looping extension, even though its bytes begin the same way.
    b.Raw(QByteArray("\x21\xFF\x0ANETSCAPE2.\x03\x01\x05\x00\x00", 18));
    // An extension with an unknown label and two sub-blocks.
    b.Raw(QByteArray("\x21\x99\x02\x2C\x2C\x01\x3B\x00", 8));
    TFrameSpec f = SolidFrame(0, 0, 1, 1, 2);
    auto gif = Decode(b.Frame(f).Frame(SolidFrame(0, 0, 1, 1, 1)).Bytes());
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->FrameCount, 2);
    EXPECT_EQ(gif->PlayCount, 1);
    EXPECT_EQ(gif->Frame(1).Disposal, DisposalPrevious);
    EXPECT_TRUE(gif->Frame(1).Transparent);
    EXPECT_EQ(gif->Frame(1).TransparentIndex, 2);
    EXPECT_EQ(gif->Frame(1).DelayMs, 2580);
    EXPECT_FALSE(gif->Frame(2).Transparent); // the record applies to one frame

    TGifBuilder looping(1, 1, FourColors());
    looping.Loop(7).Loop(9); // the last one counts
    EXPECT_EQ(Decode(looping.Frame(SolidFrame(0, 0, 1, 1, 0)).Bytes())->PlayCount, 9);
}

TEST(GifImage, DamagedFilesNeverCrashOrHang)
{
    TGifBuilder b(20, 10, FourColors());
    b.Loop(0);
    for (int i = 0; i < 4; ++i) {
        TFrameSpec f = SolidFrame(i, i, 12, 6, uint8_t(i));
        f.Pixels[5] = 3;
        f.TransparentIndex = i == 2 ? 3 : -1;
        f.Disposal = i;
        f.Interlaced = i == 1;
        f.Comment = "x";
        b.Frame(f);
    }
    const QByteArray good = b.Bytes();
    std::mt19937 random(42);
    int decoded = 0;
    for (int round = 0; round < 800; ++round) {
        QByteArray bad = good;
        const int changes = 1 + int(random() % 6);
        // The screen size stays: huge but valid screens only cost time.
        for (int c = 0; c < changes; ++c)
            bad[10 + int(random() % unsigned(bad.size() - 10))] = char(random());
        if (round % 5 == 0)
            bad.truncate(int(random() % unsigned(bad.size())));
        bool isStill;
        if (auto gif = LoadGifFromBytes(bad, isStill)) {
            ++decoded;
            for (int i = 0; i <= gif->FrameCount; ++i)
                gif->SetFrameIndex(gif->FrameIndex + 1);
            QImage canvas(30, 30, QImage::Format_RGB32);
            QPainter painter(&canvas);
            gif->Shown = true;
            gif->DrawGif(painter, {}, 1, 1, 25, 17);
        }
    }
    EXPECT_GT(decoded, 50);
}

// ---------------------------------------------------------------------------
// Drawing

namespace {

QImage Canvas(QRgb color)
{
    QImage canvas(12, 12, QImage::Format_RGB32);
    canvas.fill(0xFF000000 | color);
    return canvas;
}

} // namespace

TEST(GifImage, DrawsStretchedByDroppingOrRepeatingPixels)
{
    TFrameSpec f;
    f.Width = 2;
    f.Height = 2;
    f.Pixels = { 0, 1, 2, 3 };
    auto gif = Decode(TGifBuilder(2, 2, FourColors()).Frame(f).Bytes());
    ASSERT_TRUE(gif);
    QImage canvas = Canvas(Black);
    {
        QPainter painter(&canvas);
        gif->DrawGif(painter, {}, 2, 3, 4, 6);
    }
    EXPECT_EQ(gif->LastDrawRect, QRect(2, 3, 4, 6));
    EXPECT_EQ(Rgb(canvas, 2, 3), Red);
    EXPECT_EQ(Rgb(canvas, 3, 5), Red);
    EXPECT_EQ(Rgb(canvas, 4, 3), Green);
    EXPECT_EQ(Rgb(canvas, 5, 8), White);
    EXPECT_EQ(Rgb(canvas, 6, 3), Black); // outside

    gif->Shown = false;
    QImage untouched = Canvas(Black);
    QPainter painter(&untouched);
    gif->DrawGif(painter, {}, 0, 0, 4, 4);
    EXPECT_EQ(Rgb(untouched, 0, 0), Black);
}

TEST(GifImage, TransparentPixelsShowTheBackdrop)
{
    // 2 x 1: red, transparent.
    TFrameSpec f;
    f.Width = 2;
    f.Height = 1;
    f.Pixels = { 0, 1 };
    f.TransparentIndex = 1;
    for (int disposal : { DisposalLeave, DisposalBackground }) {
        f.Disposal = disposal;
        auto gif = Decode(TGifBuilder(2, 1, FourColors()).Frame(f).Bytes());
        ASSERT_TRUE(gif);
        QImage canvas = Canvas(Blue);
        TGifBackdrop backdrop;
        backdrop.DocumentColor = Green;
        {
            QPainter painter(&canvas);
            gif->DrawGif(painter, backdrop, 0, 0, 4, 2);
        }
        EXPECT_EQ(Rgb(canvas, 1, 1), Red);
        // Disposal 0 and 1 are combined over the painted backdrop; 2 and 3
        // straight over what the canvas holds.
        EXPECT_EQ(Rgb(canvas, 3, 1), disposal == DisposalLeave ? Green : Blue) << disposal;
    }
}

TEST(GifImage, BackdropTilesLineUpWithThePage)
{
    TFrameSpec f = SolidFrame(0, 0, 4, 4, 1);
    f.TransparentIndex = 1;
    auto gif = Decode(TGifBuilder(4, 4, FourColors()).Frame(f).Bytes());
    ASSERT_TRUE(gif);
    // A 3 x 3 tile whose top-left pixel is red, the rest white.
    QImage tile(3, 3, QImage::Format_RGB32);
    tile.fill(0xFFFFFFFF);
    tile.setPixel(0, 0, 0xFFFF0000);
    TGifBackdrop backdrop;
    backdrop.BackgroundImage = &tile;
    backdrop.VerticalOffset = 2;
    QImage canvas = Canvas(Black);
    {
        QPainter painter(&canvas);
        gif->DrawGif(painter, backdrop, 4, 5, 4, 4);
    }
    // Page pixel (x, y + offset) is red where both are multiples of 3.
    for (int y = 5; y < 9; ++y)
        for (int x = 4; x < 8; ++x)
            EXPECT_EQ(Rgb(canvas, x, y), (x % 3 == 0 && (y + 2) % 3 == 0) ? Red : White) << x << "," << y;

    backdrop.BlockColor = Blue;
    QImage block = Canvas(Black);
    QPainter painter(&block);
    gif->DrawGif(painter, backdrop, 0, 0, 4, 4);
    EXPECT_EQ(Rgb(block, 2, 2), Blue);
}
