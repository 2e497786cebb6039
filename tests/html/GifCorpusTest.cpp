// Third-party GIF files (../shared/corpus/gif, see its MANIFEST.tsv): every
// file decodes or is refused cleanly, and where the suites carry reference
// pictures our frames match them.

#include "html/GifImage.h"

#include "common/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QString GifCorpus()
{
    const QString corpus = CorpusFolder();
    return corpus.isEmpty() || !QDir(corpus + "/gif").exists() ? QString() : corpus + "/gif";
}

// The composed picture as RGBA, transparent pixels with alpha 0.
QImage ComposedRgba(const TGIFImage& gif)
{
    QImage rgba = gif.ComposedBitmap.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; !gif.ComposedMask.isNull() && y < rgba.height(); ++y)
        for (int x = 0; x < rgba.width(); ++x)
            if (gif.ComposedMask.constScanLine(y)[x] != 0)
                rgba.setPixel(x, y, 0);
    return rgba;
}

// Pixels that differ; two fully transparent pixels are equal whatever
// their colour.
int DifferentPixels(const QImage& ours, const QImage& reference)
{
    const QImage a = ours.convertToFormat(QImage::Format_ARGB32);
    const QImage b = reference.convertToFormat(QImage::Format_ARGB32);
    if (a.size() != b.size())
        return -1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (p != q && (qAlpha(p) != 0 || qAlpha(q) != 0))
                ++count;
        }
    return count;
}

} // namespace

TEST(GifCorpus, EveryFileDecodesOrIsRefusedCleanly)
{
    const QString corpus = GifCorpus();
    if (corpus.isEmpty())
        GTEST_SKIP() << "no GIF corpus";
    int files = 0, decoded = 0;
    QDirIterator it(corpus, { QStringLiteral("*.gif") }, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        ++files;
        bool isStill = false;
        auto gif = LoadGifFromFile(path, isStill);
        if (!gif)
            continue;
        ++decoded;
        EXPECT_EQ(isStill, gif->FrameCount == 1) << path.toStdString();
        EXPECT_LE(gif->FrameCount, MaxGifFrames);
        EXPECT_LE(int64_t { gif->ImageWidth } * gif->ImageHeight, MaxGifPixels);
        if (isStill) {
            ASSERT_NE(gif->FirstFrameBitmap(), nullptr) << path.toStdString();
            EXPECT_EQ(gif->FirstFrameMask() != nullptr, gif->HasTransparency);
        }
        // Play every frame and draw each kind of way.
        gif->Shown = true;
        QImage canvas(64, 64, QImage::Format_RGB32);
        QPainter painter(&canvas);
        for (int i = 0; i < gif->FrameCount; ++i) {
            gif->SetFrameIndex(gif->FrameIndex + 1);
            gif->DrawGif(painter, {}, 3, 3, 40 + i % 3, 20);
        }
    }
    EXPECT_GT(files, 200);
    EXPECT_GT(decoded, 100);
}

TEST(GifCorpus, GifTestSuiteFramesMatchTheirReferences)
{
    const QString corpus = GifCorpus();
    if (corpus.isEmpty())
        GTEST_SKIP() << "no GIF corpus";
    const QDir suite(corpus + "/gif-test-suite/gifs");
    const QStringList files = suite.entryList({ QStringLiteral("*.gif") }, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    int compared = 0;
    for (const QString& file : files) {
        const QString base = file.chopped(4);
        TGIFImage gif;
        ASSERT_TRUE(gif.LoadFromFile(suite.filePath(file))) << file.toStdString();
        for (int i = 1; i <= gif.FrameCount; ++i) {
            gif.SetFrameIndex(i);
            QString reference = suite.filePath(QStringLiteral("frames/%1-%2.png").arg(base).arg(i - 1));
            if (!QFile::exists(reference))
                reference = suite.filePath(QStringLiteral("frames/%1.png").arg(base));
            const QImage expected(reference);
            ASSERT_FALSE(expected.isNull()) << reference.toStdString();
            EXPECT_EQ(DifferentPixels(ComposedRgba(gif), expected), 0) << file.toStdString() << " frame " << i;
            ++compared;
        }
    }
    EXPECT_GE(compared, 30);
}

TEST(GifCorpus, StillPicturesMatchTheRawReferenceDumps)
{
    // giflib's expected/*.rgb: the screen as red-green-blue bytes.
    const QString corpus = GifCorpus();
    if (corpus.isEmpty())
        GTEST_SKIP() << "no GIF corpus";
    for (const char* name : { "gifgrid", "solid2", "treescap", "treescap-interlaced" }) {
        const QString folder = corpus + "/giflib/";
        QFile dump(folder + "expected/" + name + ".rgb");
        TGIFImage gif;
        ASSERT_TRUE(dump.open(QIODevice::ReadOnly) && gif.LoadFromFile(folder + name + ".gif")) << name;
        const QByteArray rgb = dump.readAll();
        ASSERT_EQ(rgb.size(), qsizetype(gif.ImageWidth) * gif.ImageHeight * 3) << name;
        int differences = 0;
        for (int y = 0; y < gif.ImageHeight; ++y)
            for (int x = 0; x < gif.ImageWidth; ++x) {
                const qsizetype at = (qsizetype(y) * gif.ImageWidth + x) * 3;
                const QRgb expected = qRgb(uchar(rgb[at]), uchar(rgb[at + 1]), uchar(rgb[at + 2]));
                differences += (gif.ComposedBitmap.pixel(x, y) & 0xFFFFFF) != (expected & 0xFFFFFF);
            }
        EXPECT_EQ(differences, 0) << name;
    }
}
