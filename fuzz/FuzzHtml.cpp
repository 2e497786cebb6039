// HTML: a page parsed, laid out at a wide and a narrow width and painted
// off screen, with scrolling, selection and point queries, as the viewer
// drives the engine.
//
// The input is the page, then the files it names, each after the separator
// "\n\f\f\n" (line feed, two form feeds, line feed):
//     page SEP file 1 SEP file 2 ...
// An include directive <!--#include FILE="2"--> reads file 2, and an image
// SRC="1" is the bytes of file 1 (a picture beyond the harnesses' pixel
// budget is not served); other names are files that cannot be read.

#include "fuzz/FuzzPixels.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTarget.h"
#include "html/HtmlImageCache.h"
#include "html/HtmlParser.h"
#include "html/HtmlSections.h"
#include "platform/Exceptions.h"
#include "platform/StringList.h"

#include <QImage>
#include <QPainter>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int WideWidth = 640;
constexpr int NarrowWidth = 120;
constexpr int CanvasHeight = 120;
constexpr std::string_view FileSeparator = "\n\f\f\n";

class TServedFiles {
public:
    explicit TServedFiles(std::vector<std::string_view> parts) : FParts(std::move(parts)) {}

    std::string_view Page() const { return FParts.front(); }
    // The file of that name: its number among the parts after the page.
    const QByteArray* File(const std::string& name)
    {
        bool ok = false;
        const int index = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())).trimmed().toInt(&ok);
        if (!ok || index < 1 || index >= static_cast<int>(FParts.size()))
            return nullptr;
        FServed.push_back(std::make_unique<QByteArray>(FParts[size_t(index)].data(),
                                                       static_cast<qsizetype>(FParts[size_t(index)].size())));
        return FServed.back().get();
    }

private:
    std::vector<std::string_view> FParts;
    std::vector<std::unique_ptr<QByteArray>> FServed;
};

// The FILE="..." value of the first parameter line; empty when absent.
std::string IncludedName(const TStringList& params)
{
    if (params.Count() == 0)
        return {};
    const QString line = params.Strings(0);
    const qsizetype start = line.indexOf(QStringLiteral("FILE=\""));
    if (start < 0)
        return {};
    const qsizetype from = start + 6;
    const qsizetype end = line.indexOf(QLatin1Char('"'), from);
    return line.mid(from, end < 0 ? -1 : end - from).toStdString();
}

// One canvas per width for the whole run: a fresh image for each paint would
// cost a mapping, its page faults and an unmapping every time, a fifth of the
// target's time.
QImage& CanvasOfWidth(int width)
{
    static QImage wide(WideWidth, CanvasHeight, QImage::Format_RGB32);
    static QImage narrow(NarrowWidth, CanvasHeight, QImage::Format_RGB32);
    return width == WideWidth ? wide : narrow;
}

void PaintAt(TSectionList& document, int width, int scroll)
{
    QImage& canvas = CanvasOfWidth(width);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    document.SetScrollOffset(scroll);
    const QRect area(0, 0, width, CanvasHeight);
    document.Draw(painter, area, width, 0, 0);
}

void QueryPoints(TSectionList& document, int width, int height)
{
    for (int y = 0; y < height; y += std::max(1, height / 7))
        for (int x = -1; x <= width; x += std::max(1, width / 5)) {
            TObject* control = nullptr;
            std::unique_ptr<TUrlTarget> link;
            document.LinkAt(x, y, control, link);
            int imageX = 0, imageY = 0;
            document.ImageAt(x, y, imageX, imageY);
            TCharHit hit;
            const int index = document.CharIndexAt(x, y, hit);
            int cx = 0, cy = 0;
            if (index >= 0)
                document.CharIndexToXY(index, cx, cy);
        }
}

void LayOutAndPaint(TSectionList& document, int width)
{
    int widest = 0;
    int charIndex = 0;
    const int height = document.DoLayout(0, width, widest, charIndex);
    PaintAt(document, width, 0);
    PaintAt(document, width, std::max(0, height - CanvasHeight / 2));
    QueryPoints(document, width, height);
    document.SelB = 0;
    document.SelE = charIndex;
    document.SelectionText();
    document.FindText(0, "e", false);
}

}  // namespace

KORVALITH_FUZZ_TARGET(html)(const uint8_t* data, size_t size)
{
    ResetFuzzDoubles();
    TServedFiles files(SplitFuzzInput(data, size, FileSeparator));
    {
        TSectionList document;
        TStringList nameList;
        document.ImageContext.OnImageRequest = [&](QObject*, const std::string& source, const QByteArray*& stream) {
            stream = files.File(source);
            // Large pictures belong to the image harnesses and tests.
            if (stream && !PictureWithinFuzzBudget(*stream))
                stream = nullptr;
        };
        const TIncludeType include = [&](const QString& command, std::unique_ptr<TStringList> params,
                                         QByteArray& buffer, int& buffSize) {
            if (command.compare(QStringLiteral("Include"), Qt::CaseInsensitive) != 0 || !params)
                return;
            if (const QByteArray* file = files.File(IncludedName(*params))) {
                buffer = *file;
                buffSize = static_cast<int>(buffer.size());
            }
        };
        try {
            ParseHtmlBuffer(document, nameList, files.Page().data(), files.Page().size(), include);
        } catch (const EParseError&) {
            // An open comment at the end: what was built is kept and shown.
        }
        LayOutAndPaint(document, WideWidth);
        LayOutAndPaint(document, NarrowWidth);
        document.LayoutDump();
    }
    BitmapList().Clear();
    return 0;
}
