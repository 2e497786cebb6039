// The htmlsnap program: its command line, exit status, picture and layout
// dump, run as a separate process on the files of tests/data/pane.

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct TRun {
    int Status = -1;
    QString Out;
    QString Err;
};

TRun RunHtmlsnap(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KORVALITH_BINARY_DIR "/bin/htmlsnap"), arguments);
    TRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.Status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.Out = QString::fromUtf8(process.readAllStandardOutput());
    run.Err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QColor Pixel(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

TEST(HtmlsnapTest, WritesTheWholeDocumentAndItsLayout)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("short.png"));
    const TRun run = RunHtmlsnap({ QStringLiteral("--width"), QStringLiteral("300"), QStringLiteral("--height"),
        QStringLiteral("60"), QStringLiteral("--layout"), TestDataPath(QStringLiteral("pane/short.htm")), out });
    ASSERT_EQ(run.Status, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Out.contains(QStringLiteral("\"Titre\""))) << run.Out.toStdString();
    EXPECT_TRUE(run.Out.contains(QStringLiteral("\"Bas de page")));

    const QImage picture(out);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.width(), 298) << "the panel inside the one-pixel frame";
    EXPECT_GT(picture.height(), 60) << "the full height, not the pane's";
    // The white page background and the green square somewhere below.
    EXPECT_EQ(Pixel(picture, 2, 2), QColor(Qt::white));
    bool green = false;
    for (int y = 0; y < picture.height() && !green; ++y)
        for (int x = 0; x < picture.width() && !green; ++x)
            green = Pixel(picture, x, y) == QColor(0, 160, 0);
    EXPECT_TRUE(green);
}

TEST(HtmlsnapTest, NoImagesShowsPlaceholders)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("noimg.png"));
    ASSERT_EQ(
        RunHtmlsnap({ QStringLiteral("--no-images"), TestDataPath(QStringLiteral("pane/short.htm")), out }).Status, 0);
    const QImage picture(out);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.width(), 798);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ASSERT_NE(Pixel(picture, x, y), QColor(0, 160, 0)) << x << "," << y;
}

TEST(HtmlsnapTest, TextAndImageFilesByExtension)
{
    const TRun text = RunHtmlsnap({ QStringLiteral("--layout"), TestDataPath(QStringLiteral("pane/notes.txt")) });
    ASSERT_EQ(text.Status, 0);
    EXPECT_TRUE(text.Out.contains(QStringLiteral("TPreFormated"))) << text.Out.toStdString();
    EXPECT_TRUE(text.Out.contains(QStringLiteral("deuxieme ligne")));

    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("img.png"));
    ASSERT_EQ(RunHtmlsnap({ TestDataPath(QStringLiteral("pane/carre.bmp")), out }).Status, 0);
    const QImage picture(out);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(Pixel(picture, 10 + 25, 5 + 20), QColor(0, 160, 0)) << "the image alone, inside the margins";
}

TEST(HtmlsnapTest, MissingPageAndBadArguments)
{
    const TRun missing = RunHtmlsnap({ QStringLiteral("nowhere/absent.htm") });
    EXPECT_EQ(missing.Status, 1);
    EXPECT_TRUE(missing.Err.contains(QStringLiteral("Can't locate file: nowhere/absent.htm")))
        << missing.Err.toStdString();
    EXPECT_EQ(RunHtmlsnap({}).Status, 2);
    EXPECT_EQ(RunHtmlsnap({ QStringLiteral("--width"), QStringLiteral("abc"), QStringLiteral("x.htm") }).Status, 2);
    EXPECT_EQ(RunHtmlsnap({ QStringLiteral("--bogus"), QStringLiteral("x.htm") }).Status, 2);
}

// A page's message (here a table wider than the engine allows) is printed,
// not shown in a box that nobody could close.
TEST(HtmlsnapTest, PageMessagesGoToStandardError)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString page = folder.filePath(QStringLiteral("wide.htm"));
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray row = "<table><tr>";
    for (int i = 0; i < 31; ++i)
        row += "<td>c</td>";
    file.write(row + "</tr></table><p>after");
    file.close();
    const TRun run = RunHtmlsnap({ QStringLiteral("--layout"), page });
    EXPECT_EQ(run.Status, 0);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("Table has too many Columns"))) << run.Err.toStdString();
    EXPECT_TRUE(run.Out.contains(QStringLiteral("after")));
}

} // namespace
