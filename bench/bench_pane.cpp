// The viewer control: load, layout and first paint of a 1 MB page, against
// QTextBrowser::setHtml plus its first paint on the same page in the same
// run; and scrolling a pane that shows a 10 MB page by one screen (Page
// Down and the repaint it causes), median.

#include "BenchPages.h"
#include "BenchRatios.h"

#include "html/HtmlPane.h"
#include "platform/Application.h"
#include "platform/FileSystem.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTextBrowser>

#include <memory>

namespace {

constexpr int Width = 800;
constexpr int Height = 600;
constexpr int64_t MB1 = 1 << 20, MB10 = 10 << 20;

TMemoryFileSystem& Files()
{
    static TMemoryFileSystem files(QStringLiteral("C:\\Bench\\"));
    return files;
}

QString PagePath(int64_t bytes)
{
    const QString path = QStringLiteral("C:\\Bench\\page%1.htm").arg(bytes);
    if (!Files().FileExists(path))
        Files().AddFile(path, QByteArray::fromStdString(MakeHtml32Page(static_cast<size_t>(bytes))));
    return path;
}

std::unique_ptr<THtmlPane> ShownPane()
{
    auto pane = std::make_unique<THtmlPane>();
    pane->setAttribute(Qt::WA_DontShowOnScreen);
    pane->resize(Width, Height);
    pane->show();
    QApplication::processEvents();
    return pane;
}

void BM_PaneLoadAndPaint(benchmark::State& state)
{
    const QString path = PagePath(state.range(0));
    for (auto _ : state) {
        auto pane = ShownPane();
        pane->LoadHtmlFile(path);
        pane->PaintPanel()->repaint();
        benchmark::DoNotOptimize(pane->DocHeight());
        state.PauseTiming();
        pane.reset();
        state.ResumeTiming();
    }
}

void BM_TextBrowserLoadAndPaint(benchmark::State& state)
{
    const QString html = QString::fromLatin1(MakeHtml32Page(static_cast<size_t>(state.range(0))));
    for (auto _ : state) {
        auto browser = std::make_unique<QTextBrowser>();
        browser->setAttribute(Qt::WA_DontShowOnScreen);
        browser->resize(Width, Height);
        browser->show();
        QApplication::processEvents();
        browser->setHtml(html);
        browser->viewport()->repaint();
        state.PauseTiming();
        browser.reset();
        state.ResumeTiming();
    }
}

// Made once, freed before the application object goes.
std::unique_ptr<THtmlPane> ScrollPane;

void BM_PaneScrollScreen(benchmark::State& state)
{
    if (!ScrollPane) {
        ScrollPane = ShownPane();
        ScrollPane->LoadHtmlFile(PagePath(MB10));
    }
    THtmlPane* pane = ScrollPane.get();
    for (auto _ : state) {
        if (pane->VScrollPosition() >= pane->DocHeight() - 2 * Height)
            pane->ScrollToY(pane->DocHeight() / 2);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QCoreApplication::sendEvent(pane, &key);
        pane->PaintPanel()->repaint();
    }
}

} // namespace

BENCHMARK(BM_PaneLoadAndPaint)->Arg(MB1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TextBrowserLoadAndPaint)->Arg(MB1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PaneScrollScreen)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    InstallFontSubstitutions();
    SetFileSystem(&Files());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("pane load+layout+paint 1 MB / QTextBrowser 1 MB", "BM_PaneLoadAndPaint/1048576",
        "BM_TextBrowserLoadAndPaint/1048576", 0.5);
    std::printf("pane scroll one screen of a 10 MB page, median: %.3f ms (limit 5)\n",
        reporter.Seconds("BM_PaneScrollScreen_median") * 1e3);
    ScrollPane.reset();
    SetFileSystem(nullptr);
    benchmark::Shutdown();
    return 0;
}
