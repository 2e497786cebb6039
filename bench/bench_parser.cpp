// Parse throughput of the HTML parser on HTML 3.2 pages of 100 KB, 1 MB and
// 10 MB, against libxml2's HTML parser on the same 10 MB in the same run.

#include "BenchRatios.h"
#include "BenchPages.h"

#include "html/HtmlParser.h"
#include "platform/StringList.h"

#include <benchmark/benchmark.h>
#include <libxml/HTMLparser.h>

#include <QGuiApplication>

#include <memory>

namespace {

void BM_Parse(benchmark::State& state)
{
    const std::string& page = CachedHtml32Page(state.range(0));
    for (auto _ : state) {
        auto doc = std::make_unique<TSectionList>();
        TStringList names;
        ParseHtmlBuffer(*doc, names, page.data(), page.size());
        benchmark::DoNotOptimize(doc->Count());
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(page.size()));
}

void BM_Libxml2(benchmark::State& state)
{
    const std::string& page = CachedHtml32Page(state.range(0));
    for (auto _ : state) {
        htmlDocPtr doc = htmlReadMemory(page.data(), static_cast<int>(page.size()), "page.htm", "windows-1252",
                                        HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
        benchmark::DoNotOptimize(doc);
        state.PauseTiming();
        xmlFreeDoc(doc);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(page.size()));
}

constexpr int64_t KB100 = 100 << 10, MB1 = 1 << 20, MB10 = 10 << 20;

} // namespace

BENCHMARK(BM_Parse)->Arg(KB100)->Arg(MB1)->Arg(MB10)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Libxml2)->Arg(MB10)->Unit(benchmark::kMillisecond)->MinTime(1.0);

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("parse 10 MB / libxml2 10 MB", "BM_Parse/10485760", "BM_Libxml2/10485760", 1.0);
    // Time per MB: 100 KB and 10 MB against 1 MB (within 20 percent).
    const double perMb1 = reporter.Seconds("BM_Parse/1048576");
    if (perMb1 > 0) {
        std::printf("time per MB, 100 KB / 1 MB: %.3f (limit 0.80..1.20)\n",
                    reporter.Seconds("BM_Parse/102400") * 10.24 / perMb1);
        std::printf("time per MB, 10 MB / 1 MB:  %.3f (limit 0.80..1.20)\n",
                    reporter.Seconds("BM_Parse/10485760") / 10 / perMb1);
    }
    benchmark::Shutdown();
    return 0;
}
