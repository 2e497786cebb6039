// Differential tests: GIFs made at test time with ImageMagick and gifsicle
// are decoded by the gifframes tool and compared frame by frame with
// `convert FILE -coalesce`.
//
// Where the two readings of the format differ, the comparison allows it:
//  - Our picture grows to cover frames that lie beyond the logical screen;
//    ImageMagick cuts them at the screen. Only the screen is compared.
//  - Where ImageMagick shows no picture at all (before any frame painted a
//    pixel, or after "restore to background") it has a transparent pixel.
//    Ours is transparent too when the file has any transparency; in a file
//    without transparency we have no mask and show black there.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString GifFramesProgram() { return QStringLiteral(KORVALITH_BINARY_DIR "/bin/gifframes"); }

struct TRun {
    int Status = -1;
    QByteArray Out, Err;
};

TRun RunProgram(const QString& program, const QStringList& arguments, const QString& folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    TRun run;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.Status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.Out = process.readAllStandardOutput();
    run.Err = process.readAllStandardError();
    return run;
}

class GifDifferential : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("gifsicle")).isEmpty())
            GTEST_SKIP() << "ImageMagick or gifsicle missing (scripts/setup.sh installs them)";
        if (!QFile::exists(GifFramesProgram()))
            GTEST_SKIP() << "gifframes not built";
        ASSERT_TRUE(FDir.isValid());
        // The pieces the files are made of: a many-coloured background, a
        // two-colour square, a small green block and a half-transparent
        // stripe pattern.
        Shell("convert", "-seed 1 -size 40x30 plasma:fractal bg.gif");
        Shell("convert", "-size 10x10 xc:blue -fill yellow -draw \"rectangle 2,2 5,5\" sq.gif");
        Shell("convert", "-size 8x8 xc:lime g.gif");
        Shell("convert", "-size 12x9 pattern:verticalsaw -fill red -opaque black stripes.gif");
    }

    QString Path(const QString& name) const { return FDir.filePath(name); }

    // Runs a tool with arguments split like a shell would (double quotes
    // group), in the test folder.
    QByteArray Shell(const QString& program, const QString& arguments)
    {
        const TRun run = RunProgram(program, QProcess::splitCommand(arguments), FDir.path());
        EXPECT_EQ(run.Status, 0) << program.toStdString() << " " << arguments.toStdString() << ": "
                                 << run.Err.toStdString();
        return run.Out;
    }

    struct TDecoded {
        QJsonObject Summary;
        std::vector<QImage> Ours, Theirs;
    };

    TDecoded DecodeBoth(const QString& gif)
    {
        TDecoded d;
        const QString ours = "ours-" + gif, theirs = "theirs-" + gif;
        QDir(FDir.path()).mkpath(theirs);
        const TRun run = RunProgram(GifFramesProgram(), { Path(gif), Path(ours) }, FDir.path());
        EXPECT_EQ(run.Status, 0) << run.Err.toStdString();
        d.Summary = QJsonDocument::fromJson(run.Out).object();
        Shell("convert", gif + " -coalesce " + theirs + "/f_%03d.png");
        for (int i = 0; i < d.Summary["frames"].toInt(); ++i)
            d.Ours.emplace_back(Path(QStringLiteral("%1/frame_%2.png").arg(ours).arg(i, 3, 10, QLatin1Char('0'))));
        const QStringList theirFiles = QDir(Path(theirs)).entryList({ "f_*.png" }, QDir::Files, QDir::Name);
        for (const QString& f : theirFiles)
            d.Theirs.emplace_back(Path(theirs + "/" + f));
        return d;
    }

    // Compares frame by frame within ImageMagick's screen; returns the
    // number of frames compared.
    int Compare(const TDecoded& d, const std::string& what)
    {
        const bool transparent = d.Summary["transparent"].toBool();
        const size_t frames = std::min(d.Ours.size(), d.Theirs.size());
        for (size_t i = 0; i < frames; ++i) {
            const QImage ours = d.Ours[i].convertToFormat(QImage::Format_ARGB32);
            const QImage theirs = d.Theirs[i].convertToFormat(QImage::Format_ARGB32);
            EXPECT_GE(ours.width(), theirs.width());
            EXPECT_GE(ours.height(), theirs.height());
            int different = 0;
            for (int y = 0; y < std::min(ours.height(), theirs.height()); ++y)
                for (int x = 0; x < std::min(ours.width(), theirs.width()); ++x) {
                    const QRgb p = ours.pixel(x, y), q = theirs.pixel(x, y);
                    if (qAlpha(q) == 0) {
                        const bool nothing = qAlpha(p) == 0 || (!transparent && (p & 0xFFFFFF) == 0);
                        different += !nothing;
                    } else {
                        different += p != q;
                    }
                }
            EXPECT_EQ(different, 0) << what << ": frame " << i;
        }
        return int(frames);
    }

    std::vector<int> Delays(const QJsonObject& summary)
    {
        std::vector<int> delays;
        for (const auto& v : summary["delays_ms"].toArray())
            delays.push_back(v.toInt());
        return delays;
    }

    QTemporaryDir FDir;
};

} // namespace

TEST_F(GifDifferential, EveryDisposalMatches)
{
    const char* names[] = { "none", "asis", "background", "previous" };
    for (int disposal = 0; disposal < 4; ++disposal) {
        const QString file = QStringLiteral("disposal%1.gif").arg(disposal);
        // The square (local colour table) takes the disposal; the green
        // block after it shows what it left behind.
        Shell("gifsicle",
            QStringLiteral("--delay 7 bg.gif --disposal=%1 -p 5,5 sq.gif --disposal=none -p 20,10 g.gif "
                           "-p 8,8 g.gif -o %2")
                .arg(names[disposal], file));
        EXPECT_TRUE(Shell("gifsicle", "--info " + file).contains("local color table"));
        const TDecoded d = DecodeBoth(file);
        EXPECT_EQ(d.Summary["frames"].toInt(), 4);
        EXPECT_EQ(d.Theirs.size(), 4u);
        EXPECT_EQ(Delays(d.Summary), (std::vector<int> { 70, 70, 70, 70 }));
        EXPECT_EQ(Compare(d, file.toStdString()), 4);
    }
}

TEST_F(GifDifferential, TransparentFramesAndDisposalsMatch)
{
    for (const char* disposal : { "none", "background", "previous" }) {
        const QString file = QStringLiteral("transparent-%1.gif").arg(disposal);
        // Red is transparent in the stripes; the first frame is smaller than
        // the screen, so the rest of the screen starts empty.
        Shell("gifsicle",
            QStringLiteral("--logical-screen 40x30 --transparent=#FF0000 -p 2,3 stripes.gif "
                           "--disposal=%1 -p 10,10 stripes.gif --disposal=none -p 14,12 stripes.gif "
                           "--no-transparent bg.gif -o %2")
                .arg(disposal, file));
        const TDecoded d = DecodeBoth(file);
        EXPECT_TRUE(d.Summary["transparent"].toBool());
        EXPECT_EQ(Compare(d, file.toStdString()), 4);
    }
}

TEST_F(GifDifferential, InterlacedFilesMatch)
{
    Shell("gifsicle", "--interlace bg.gif -p 3,4 sq.gif -o interlaced.gif");
    const TDecoded d = DecodeBoth("interlaced.gif");
    EXPECT_EQ(Compare(d, "interlaced"), 2);
    // And the same pixels as without interlacing.
    Shell("gifsicle", "--no-interlace interlaced.gif -o plain.gif");
    const TDecoded plain = DecodeBoth("plain.gif");
    ASSERT_EQ(plain.Ours.size(), 2u);
    EXPECT_EQ(plain.Ours[1], d.Ours[1]);
}

TEST_F(GifDifferential, FramesBeyondTheScreenGrowOurPicture)
{
    Shell("gifsicle", "--logical-screen 30x20 bg.gif -p 25,15 sq.gif -o outside.gif");
    const TDecoded d = DecodeBoth("outside.gif");
    // The background frame alone is 40 x 30; the square reaches 35 x 25.
    EXPECT_EQ(d.Summary["width"].toInt(), 40);
    EXPECT_EQ(d.Summary["height"].toInt(), 30);
    EXPECT_EQ(Compare(d, "outside"), 2);
}

TEST_F(GifDifferential, LoopCountsAndDelays)
{
    Shell("gifsicle", "--loopcount=forever --delay 0 bg.gif sq.gif -o forever.gif");
    Shell("gifsicle", "--loopcount=3 --delay 12 bg.gif --delay 3 sq.gif -o three.gif");
    Shell("gifsicle", "--no-loopcount bg.gif sq.gif -o once.gif");
    EXPECT_EQ(DecodeBoth("forever.gif").Summary["loop"].toInt(), 0);
    const TDecoded three = DecodeBoth("three.gif");
    EXPECT_EQ(three.Summary["loop"].toInt(), 3);
    EXPECT_EQ(Delays(three.Summary), (std::vector<int> { 120, 30 }));
    EXPECT_EQ(DecodeBoth("once.gif").Summary["loop"].toInt(), 1);
}

TEST_F(GifDifferential, ThreeHundredFramesKeepTheFirst256)
{
    // Four colours in turn (ImageMagick is slow to write 300 frames itself).
    QString frames;
    for (const char* color : { "red", "lime", "blue", "yellow" })
        Shell("convert", QStringLiteral("-size 6x4 xc:%1 %1.gif").arg(color));
    for (int i = 0; i < 75; ++i)
        frames += " red.gif lime.gif blue.gif yellow.gif";
    Shell("gifsicle", "--delay 2 --loopcount=forever" + frames + " -o many.gif");
    const TDecoded d = DecodeBoth("many.gif");
    EXPECT_EQ(d.Summary["frames"].toInt(), 256);
    EXPECT_EQ(d.Theirs.size(), 300u);
    EXPECT_EQ(Compare(d, "many"), 256);
}

TEST_F(GifDifferential, DataThatIsNotAGifFails)
{
    QFile text(Path("text.gif"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is not a picture");
    text.close();
    const TRun run = RunProgram(GifFramesProgram(), { Path("text.gif"), Path("out") }, FDir.path());
    EXPECT_EQ(run.Status, 1);
    EXPECT_FALSE(run.Err.isEmpty());
    EXPECT_TRUE(run.Out.isEmpty());
}
