// JPEG decoding: pixels equal djpeg's for the same file, every corpus file
// loads or is refused without crashing, and the refusals that protect the
// process (size caps, scan cap, 12-bit, lossless) hold.

#include "html/HtmlBitmaps.h"
#include "html/HtmlJpeg.h"
#include "ImageTestSupport.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace {

QImage DecodeJpegFile(const QString& path, QString* error = nullptr)
{
    TJpegMod jpeg;
    const bool ok = jpeg.LoadFromData(ReadTestFile(path));
    if (error)
        *error = jpeg.ErrorText();
    return ok ? jpeg.Bitmap() : QImage();
}

// djpeg's decode of the file as RGB (PPM, or PGM for grayscale); null when
// djpeg fails or warns (then our partial-data policy may differ).
QImage DjpegImage(const QString& path)
{
    QProcess djpeg;
    djpeg.start(QStringLiteral("djpeg"), {QStringLiteral("-pnm"), path});
    if (!djpeg.waitForFinished(30000) || djpeg.exitStatus() != QProcess::NormalExit || djpeg.exitCode() != 0)
        return {};
    if (!djpeg.readAllStandardError().isEmpty())
        return {};
    return ParsePnm(djpeg.readAllStandardOutput());
}

bool HaveDjpeg()
{
    return !QStandardPaths::findExecutable(QStringLiteral("djpeg")).isEmpty();
}

QStringList CorpusJpegs()
{
    QStringList files;
    const QString corpus = CorpusFolder();
    if (corpus.isEmpty())
        return files;
    QDirIterator it(corpus + QStringLiteral("/jpeg"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

} // namespace

TEST(JpegDecode, OwnFilesMatchDjpeg)
{
    if (!HaveDjpeg())
        GTEST_SKIP() << "djpeg not installed";
    for (const char* name : {"baseline.jpg", "progressive.jpg", "gray.jpg", "h2v1.jpg", "cmyk.jpg"}) {
        const QString path = TestDataPath(QStringLiteral("images/") + QLatin1String(name));
        SCOPED_TRACE(name);
        const QImage ours = DecodeJpegFile(path);
        const QImage reference = DjpegImage(path);
        ASSERT_FALSE(ours.isNull());
        ASSERT_FALSE(reference.isNull());
        EXPECT_EQ(ours.format(), QImage::Format_RGB32);
        EXPECT_EQ(FirstPixelDifference(ours, reference), QString());
    }
}

TEST(JpegDecode, CorpusFilesDjpegDecodesCleanlyMatchExactly)
{
    if (!HaveDjpeg())
        GTEST_SKIP() << "djpeg not installed";
    const QStringList files = CorpusJpegs();
    if (files.isEmpty())
        GTEST_SKIP() << "corpus absent";
    int compared = 0;
    for (const QString& path : files) {
        if (QFileInfo(path).size() > 8 * 1024 * 1024)
            continue;
        const QImage reference = DjpegImage(path);
        if (reference.isNull())
            continue;
        SCOPED_TRACE(path.toStdString());
        const QImage ours = DecodeJpegFile(path);
        if (ours.isNull())
            continue; // refused on purpose (12-bit, lossless, too large, too many scans)
        EXPECT_EQ(FirstPixelDifference(ours, reference), QString());
        ++compared;
    }
    EXPECT_GT(compared, 10);
}

TEST(JpegDecode, EveryCorpusFileLoadsOrIsRefused)
{
    const QStringList files = CorpusJpegs();
    if (files.isEmpty())
        GTEST_SKIP() << "corpus absent";
    int loaded = 0;
    for (const QString& path : files) {
        QString error;
        const QImage image = DecodeJpegFile(path, &error);
        if (!image.isNull()) {
            ++loaded;
            EXPECT_TRUE(ImageSizeAllowed(image.width(), image.height())) << path.toStdString();
        } else {
            EXPECT_FALSE(error.isEmpty()) << path.toStdString();
        }
    }
    EXPECT_GT(loaded, 0);
}

TEST(JpegDecode, TruncatedFileKeepsDecodedRowsAndGarbageIsRefused)
{
    const QByteArray whole = ReadTestFile(TestDataPath(QStringLiteral("images/baseline.jpg")));
    ASSERT_FALSE(whole.isEmpty());
    TJpegMod jpeg;
    ASSERT_TRUE(jpeg.LoadFromData(whole.left(whole.size() * 2 / 3)));
    const QImage full = DecodeJpegFile(TestDataPath(QStringLiteral("images/baseline.jpg")));
    ASSERT_EQ(jpeg.Bitmap().size(), full.size());
    EXPECT_EQ(jpeg.Bitmap().pixel(3, 3), full.pixel(3, 3)); // the top rows were decoded

    for (int cut : {0, 1, 2, 3, 20, 100}) {
        TJpegMod part;
        part.LoadFromData(whole.left(cut)); // must return, whatever it decides
    }
    QByteArray garbage("\xFF\xD8\xFF\xC0\x00\x0B\x08\xFF\xFF\xFF\xFF\x01\x01\x11\x00", 15);
    EXPECT_FALSE(jpeg.LoadFromData(garbage));
    EXPECT_FALSE(jpeg.ErrorText().isEmpty());
}

TEST(JpegDecode, RefusesOversizedTwelveBitAndLosslessFrames)
{
    // A baseline header announcing 20000 x 20 pixels is refused before any
    // pixel memory is taken.
    QByteArray data = ReadTestFile(TestDataPath(QStringLiteral("images/baseline.jpg")));
    const int sof = data.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    QByteArray wide = data;
    wide[sof + 7] = char(20000 >> 8);
    wide[sof + 8] = char(20000 & 0xFF);
    TJpegMod jpeg;
    EXPECT_FALSE(jpeg.LoadFromData(wide));

    QByteArray twelveBit = data;
    twelveBit[sof + 4] = 12;
    EXPECT_FALSE(jpeg.LoadFromData(twelveBit));

    QByteArray lossless = data;
    lossless[sof + 1] = char(0xC3);
    EXPECT_FALSE(jpeg.LoadFromData(lossless));
    EXPECT_TRUE(jpeg.ErrorText().contains(QStringLiteral("Lossless")));
}

TEST(JpegDecode, StopsProgressiveFilesAfterOneHundredScans)
{
    // A progressive file whose last scan is repeated many times: each
    // repetition is a valid refinement scan, so only the cap stops it.
    const QByteArray data = ReadTestFile(TestDataPath(QStringLiteral("images/progressive.jpg")));
    const int lastScan = data.lastIndexOf(QByteArray("\xFF\xDA", 2));
    const int end = data.lastIndexOf(QByteArray("\xFF\xD9", 2));
    ASSERT_GT(lastScan, 0);
    ASSERT_GT(end, lastScan);
    const QByteArray scan = data.mid(lastScan, end - lastScan);
    QByteArray many = data.left(end);
    for (int i = 0; i < 150; ++i)
        many += scan;
    many += QByteArray("\xFF\xD9", 2);
    TJpegMod jpeg;
    EXPECT_FALSE(jpeg.LoadFromData(many));
    EXPECT_TRUE(jpeg.ErrorText().contains(QStringLiteral("scans")));
    EXPECT_TRUE(jpeg.LoadFromData(data));
}

TEST(JpegDecode, EightBitDisplayGetsSharedPalette)
{
    TJpegMod jpeg;
    jpeg.PixelFormat = TJpegMod::TPixelFormat::pf8bit;
    ASSERT_TRUE(jpeg.LoadFromData(ReadTestFile(TestDataPath(QStringLiteral("images/baseline.jpg")))));
    EXPECT_EQ(jpeg.Bitmap().format(), QImage::Format_Indexed8);
    EXPECT_EQ(jpeg.Bitmap().colorTable(), SharedPalette());
}
