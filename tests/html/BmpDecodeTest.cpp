// BMP decoding: good bmpsuite files match their reference pictures, every
// corpus file loads or is refused without crashing, and the reader never
// decodes another format or an oversized picture.

#include "html/HtmlBitmaps.h"
#include "html/HtmlBmp.h"
#include "ImageTestSupport.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace {

QStringList CorpusBmps(const QString& subfolder)
{
    QStringList files;
    const QString corpus = CorpusFolder();
    if (corpus.isEmpty())
        return files;
    QDirIterator it(corpus + QStringLiteral("/bmp/") + subfolder, {QStringLiteral("*.bmp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

// Little-endian field writers for hand-made headers.
void Put16(QByteArray& data, int at, int value)
{
    data[at] = char(value & 0xFF);
    data[at + 1] = char((value >> 8) & 0xFF);
}
void Put32(QByteArray& data, int at, qint64 value)
{
    for (int i = 0; i < 4; ++i)
        data[at + i] = char((value >> (8 * i)) & 0xFF);
}

// A 24-bit BMP with an INFO header: 14-byte file header, 40-byte info
// header, then the rows (not all of them need to be present).
QByteArray BmpHeader(qint64 width, qint64 height, int pixelBytes)
{
    QByteArray data(54 + pixelBytes, '\0');
    data[0] = 'B';
    data[1] = 'M';
    Put32(data, 2, data.size()); // file size
    Put32(data, 10, 54);         // pixel offset
    Put32(data, 14, 40);         // info header size
    Put32(data, 18, width);
    Put32(data, 22, height);
    Put16(data, 26, 1);          // planes
    Put16(data, 28, 24);         // bits per pixel
    return data;
}

} // namespace

TEST(BmpDecode, GoodSuiteFilesMatchReferencePictures)
{
    const QStringList files = CorpusBmps(QStringLiteral("g"));
    if (files.isEmpty())
        GTEST_SKIP() << "corpus absent";
    int compared = 0;
    for (const QString& path : files) {
        const QString reference = CorpusFolder() + QStringLiteral("/bmp/reference/") + QFileInfo(path).completeBaseName() + QStringLiteral(".png");
        const QImage expected(reference);
        if (expected.isNull())
            continue;
        SCOPED_TRACE(path.toStdString());
        const QImage image = DecodeBmp(ReadTestFile(path));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(FirstPixelDifference(image, expected), QString());
        ++compared;
    }
    EXPECT_GT(compared, 10);
}

TEST(BmpDecode, EveryCorpusFileLoadsOrIsRefused)
{
    const QStringList files = CorpusBmps(QString());
    if (files.isEmpty())
        GTEST_SKIP() << "corpus absent";
    int loaded = 0;
    for (const QString& path : files) {
        const QImage image = DecodeBmp(ReadTestFile(path));
        if (!image.isNull()) {
            ++loaded;
            EXPECT_TRUE(ImageSizeAllowed(image.width(), image.height())) << path.toStdString();
        }
    }
    EXPECT_GT(loaded, 20);
}

TEST(BmpDecode, OwnFileDecodesAndOtherFormatsAreNeverGuessed)
{
    const QImage image = DecodeBmp(ReadTestFile(TestDataPath(QStringLiteral("images/rgb24.bmp"))));
    ASSERT_EQ(image.size(), QSize(61, 47));
    EXPECT_EQ(image.pixel(30, 23) & 0xFFFFFF, 0xFFFF00u); // the yellow disc
    EXPECT_TRUE(DecodeBmp(ReadTestFile(TestDataPath(QStringLiteral("images/baseline.jpg")))).isNull());
    EXPECT_TRUE(DecodeBmp(ReadTestFile(TestDataPath(QStringLiteral("images/picture.png")))).isNull());
    EXPECT_TRUE(DecodeBmp(QByteArray()).isNull());
}

TEST(BmpDecode, RefusesPicturesAboveTheCapsBeforeReading)
{
    EXPECT_TRUE(DecodeBmp(BmpHeader(20000, 10, 0)).isNull());
    EXPECT_TRUE(DecodeBmp(BmpHeader(10000, 10000, 0)).isNull()); // 100 megapixels
    EXPECT_TRUE(DecodeBmp(BmpHeader(0x7FFFFFFF, 0x7FFFFFFF, 0)).isNull());
    // A small picture whose rows are missing still must not crash.
    DecodeBmp(BmpHeader(16, 16, 10));
    EXPECT_FALSE(DecodeBmp(BmpHeader(2, 2, 16)).isNull());
}
