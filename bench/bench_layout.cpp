// Parse plus layout of a 1 MB and a 10 MB HTML 3.2 page at width 800,
// against Qt's rich-text engine (QTextDocument: setHtml, then a full layout)
// on the same 1 MB in the same run; and painting one 800 x 600 screen.

#include "BenchLayout.h"
#include "BenchRatios.h"
#include "BenchPages.h"

#include "html/HtmlParser.h"
#include "platform/StringList.h"

#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTextDocument>

#include <memory>

namespace {

constexpr int Width = 800;


void BM_ParseLayout(benchmark::State& state)
{
    const std::string& page = CachedHtml32Page(state.range(0));
    for (auto _ : state) {
        auto laid = std::make_unique<TLaidOutPage>(page, Width);
        benchmark::DoNotOptimize(laid->Height);
        state.PauseTiming();
        laid.reset();
        state.ResumeTiming();
    }
}

void BM_QTextDocument(benchmark::State& state)
{
    const QString html = QString::fromLatin1(CachedHtml32Page(state.range(0)));
    for (auto _ : state) {
        auto doc = std::make_unique<QTextDocument>();
        doc->setTextWidth(Width);
        doc->setHtml(html);
        benchmark::DoNotOptimize(doc->documentLayout()->documentSize().height());
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}

void BM_PaintScreen(benchmark::State& state)
{
    static TLaidOutPage laid(CachedHtml32Page(1 << 20), Width);
    QImage screen(Width, 600, QImage::Format_RGB32);
    int top = laid.Height / 2;
    for (auto _ : state) {
        screen.fill(Qt::white);
        QPainter painter(&screen);
        laid.Doc.SetScrollOffset(top);
        laid.Doc.Draw(painter, QRect(0, 0, Width, 600), 2000, 0, 0);
        top = top > 600 ? top - 600 : laid.Height / 2;
    }
}

constexpr int64_t MB1 = 1 << 20, MB10 = 10 << 20;

} // namespace

// The same number of runs for both sizes, so that each pays its first
// touch of fresh memory in the same proportion.
BENCHMARK(BM_ParseLayout)->Arg(MB1)->Arg(MB10)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_QTextDocument)->Arg(MB1)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_PaintScreen)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("parse+layout 1 MB / QTextDocument 1 MB", "BM_ParseLayout/1048576",
                        "BM_QTextDocument/1048576", 0.5);
    reporter.PrintRatio("parse+layout 10 MB / 1 MB", "BM_ParseLayout/10485760", "BM_ParseLayout/1048576", 11.0);
    std::printf("paint one 800 x 600 screen, median: %.3f ms (limit 5)\n",
                reporter.Seconds("BM_PaintScreen_median") * 1e3);
    benchmark::Shutdown();
    return 0;
}
