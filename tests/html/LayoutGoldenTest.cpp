// Golden layout dumps: each page of tests/data/layout/*.htm, and a handful
// of corpus pages, is laid out at 600 pixels and its dump compared with the
// .txt beside it. KORVALITH_REBASELINE=1 rewrites the expected files after a
// deliberate change. Every corpus page parses, lays out and paints.

#include "LayoutTestSupport.h"
#include "TestSupport.h"

#include "html/HtmlParser.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

namespace {

bool Rebaseline() { return qEnvironmentVariableIntValue("KORVALITH_REBASELINE") == 1; }

// Corpus pages whose dumps are kept.
const QStringList GoldenCorpusPages = {
    QStringLiteral("html/lynx-test/tags.html"),
    QStringLiteral("html/lynx-test/spaces.html"),
    QStringLiteral("html/tidy-testbase/case-427841.html"),
    QStringLiteral("html/tidy-testbase/case-511679.html"),
    QStringLiteral("html/w3c-libwww/Library/Test/User/gluecode.html"),
};

std::string DumpOfFile(const QString& path, int width)
{
    TSectionList doc;
    doc.SetBackground(clWhite);
    TStringList names;
    const QString folder = QFileInfo(path).absolutePath() + QLatin1Char('/');
    doc.ImageContext.ExpandImageName = [folder](const std::string& name) {
        return QStringToWin1252(folder) + name;
    };
    ParseHtmlFile(doc, names, path);
    int widest = 0, chars = 0;
    doc.DoLayout(0, width, widest, chars);
    return doc.LayoutDump();
}

void CompareWithGolden(const std::string& dump, const QString& expectedPath)
{
    if (Rebaseline()) {
        QFile out(expectedPath);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate)) << expectedPath.toStdString();
        out.write(dump.data(), static_cast<qint64>(dump.size()));
        return;
    }
    QFile in(expectedPath);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << "missing " << expectedPath.toStdString()
                                              << " (run with KORVALITH_REBASELINE=1)";
    const QByteArray expected = in.readAll();
    EXPECT_EQ(dump, expected.toStdString()) << expectedPath.toStdString();
}

} // namespace

TEST(LayoutGolden, TestPagesMatchTheirDumps)
{
    const QDir folder(TestDataPath(QStringLiteral("layout")));
    const QStringList pages = folder.entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name);
    ASSERT_FALSE(pages.isEmpty());
    for (const QString& page : pages) {
        const QString path = folder.filePath(page);
        CompareWithGolden(DumpOfFile(path, 600), path.left(path.size() - 4) + QStringLiteral(".txt"));
    }
}

TEST(LayoutGolden, CorpusPagesMatchTheirDumps)
{
    const QString corpus = CorpusFolder();
    if (corpus.isEmpty())
        GTEST_SKIP() << "corpus absent";
    for (const QString& page : GoldenCorpusPages) {
        const QString path = corpus + QLatin1Char('/') + page;
        if (!QFileInfo::exists(path))
            continue;
        const QString name = QStringLiteral("corpus-") + QFileInfo(page).completeBaseName() + QStringLiteral(".txt");
        CompareWithGolden(DumpOfFile(path, 600), TestDataPath(QStringLiteral("layout/") + name));
    }
}

TEST(LayoutCorpus, EveryPageParsesLaysOutAndPaints)
{
    const QString corpus = CorpusFolder();
    if (corpus.isEmpty())
        GTEST_SKIP() << "corpus absent";
    QDirIterator it(corpus + QStringLiteral("/html"), {QStringLiteral("*.html"), QStringLiteral("*.htm")},
                    QDir::Files, QDirIterator::Subdirectories);
    int pages = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        SCOPED_TRACE(path.toStdString());
        TSectionList doc;
        TStringList names;
        ASSERT_NO_THROW(ParseHtmlFile(doc, names, path));
        for (int width : {800, 250}) {
            int widest = 0, chars = 0;
            const int height = doc.DoLayout(0, width, widest, chars);
            EXPECT_GE(height, 0);
            QImage image(width, 600, QImage::Format_RGB32);
            QPainter painter(&image);
            for (int top : {0, height / 2})
                doc.Draw(painter, QRect(0, 0, width, 600), 2000, 0, -top);
            TCharHit hit;
            for (int y = 0; y < height; y += 97)
                doc.CharIndexAt(width / 3, y, hit);
        }
        ++pages;
    }
    EXPECT_GT(pages, 30);
}
