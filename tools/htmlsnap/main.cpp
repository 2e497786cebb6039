// htmlsnap [--width W] [--height H] [--no-images] [--layout] PAGE [OUT.png]
//
// Loads PAGE into a viewer control of W x H pixels (800 x 600 by default),
// exactly as the windows do: an .htm or .html page, a .txt file or an image
// file (.bmp, .gif, .jpg, .jpeg, .png), chosen by extension in lower case; any
// other extension loads as a page. Writes the whole document, its full
// height, as OUT.png (nothing is written without OUT.png), and with --layout
// prints the text dump of the laid-out model on standard output.
// Exit status: 0 on success; 1 when the page cannot be loaded or the picture
// cannot be written (a missing page prints "Can't locate file: " and the
// name on standard error); 2 for wrong arguments.

#include "html/HtmlPane.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Exceptions.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>

namespace {

// A document taller than this is cut: the picture stays within memory.
constexpr int MaxPictureHeight = 32000;
constexpr int MaxPaneSize = 8000;

struct TOptions {
    int Width = 800;
    int Height = 600;
    bool Images = true;
    bool Layout = false;
    QString Page;
    QString Out;
};

int Usage()
{
    std::fprintf(stderr, "usage: htmlsnap [--width W] [--height H] [--no-images] [--layout] PAGE [OUT.png]\n");
    return 2;
}

bool ReadSize(const char* text, int& value)
{
    bool ok = false;
    value = QString::fromLocal8Bit(text).toInt(&ok);
    return ok && value >= 1 && value <= MaxPaneSize;
}

bool ParseArguments(int argc, char** argv, TOptions& options)
{
    QStringList positional;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--width") || arg == QLatin1String("--height")) {
            if (i + 1 >= argc)
                return false;
            int& target = arg == QLatin1String("--width") ? options.Width : options.Height;
            if (!ReadSize(argv[++i], target))
                return false;
        } else if (arg == QLatin1String("--no-images")) {
            options.Images = false;
        } else if (arg == QLatin1String("--layout")) {
            options.Layout = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return false;
        } else {
            positional << arg;
        }
    }
    if (positional.isEmpty() || positional.size() > 2)
        return false;
    options.Page = positional.at(0);
    if (positional.size() == 2)
        options.Out = positional.at(1);
    return true;
}

void Load(THtmlPane& pane, const QString& page)
{
    const QString ext = ExtractFileExt(page).toLower();
    if (ext == QLatin1String(".txt"))
        pane.LoadTextFile(page);
    else if (ext == QLatin1String(".bmp") || ext == QLatin1String(".gif") || ext == QLatin1String(".jpg")
        || ext == QLatin1String(".jpeg") || ext == QLatin1String(".png"))
        pane.LoadImageFile(page);
    else
        pane.LoadHtmlFile(page);
}

// The whole document: the pane grows to the document's height (the width,
// and so the layout, stays), and its panel paints itself into the picture.
QImage Snapshot(THtmlPane& pane)
{
    const int border = pane.BorderStyle() == THTMLBorderStyle::htNone ? 0 : 1;
    const int width = pane.width();
    // Three pixels more than the document keep the vertical bar away.
    int height = std::min(std::max(pane.DocHeight(), 1) + 2 * border + 3, MaxPictureHeight);
    pane.resize(width, height);
    if (pane.HScrollBar()->isVisible())
        pane.resize(width, std::min(height + pane.ScrollBarWidth(), MaxPictureHeight + pane.ScrollBarWidth()));
    pane.ScrollToY(0);
    TPaintPanel* panel = pane.PaintPanel();
    QImage picture(panel->size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    panel->render(&picture);
    return picture;
}

// A command-line tool has nobody to close a message box: messages the page
// raises (a table with too many columns, say) go to standard error.
class TConsoleDialogs : public TDialogs {
public:
    void ShowMessage(const QString&, const QString& text) override { Print(text); }
    bool Confirm(const QString&, const QString& text) override
    {
        Print(text);
        return false;
    }
    void ShowError(const QString& message) override { Print(message); }
    TColorDialogResult ChooseColor(int&) override { return TColorDialogResult::Unavailable; }

private:
    static void Print(const QString& text) { std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData()); }
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    InstallFontSubstitutions();
    TConsoleDialogs dialogs;
    SetDialogs(&dialogs);

    TOptions options;
    if (!ParseArguments(argc, argv, options))
        return Usage();

    // Shown off screen: a hidden widget gets its size changes only when shown.
    THtmlPane pane;
    pane.setAttribute(Qt::WA_DontShowOnScreen);
    pane.resize(options.Width, options.Height);
    pane.show();
    QApplication::processEvents();
    pane.SetViewImages(options.Images);
    try {
        Load(pane, options.Page);
    } catch (const Exception& error) {
        std::fprintf(stderr, "%s\n", error.Message().toLocal8Bit().constData());
        return 1;
    }
    if (options.Layout)
        std::fputs(pane.SectionList().LayoutDump().c_str(), stdout);
    if (!options.Out.isEmpty() && !Snapshot(pane).save(options.Out, "PNG")) {
        std::fprintf(stderr, "htmlsnap: cannot write %s\n", options.Out.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
