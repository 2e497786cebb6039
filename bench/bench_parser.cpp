// Parse throughput of the HTML parser on HTML 3.2 pages of 100 KB, 1 MB and
// 10 MB, against libxml2's HTML parser on the same 10 MB in the same run.
// Each figure is the median of five repetitions.

#include "BenchRatios.h"
#include "BenchPages.h"

#include "html/HtmlParser.h"
#include "platform/StringList.h"

#include <benchmark/benchmark.h>
#include <libxml/HTMLparser.h>

#include <QGuiApplication>

#include <malloc.h>

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

void Measured(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Unit(benchmark::kMillisecond)->MinTime(0.4)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_Parse)->Arg(KB100)->Arg(MB1)->Arg(MB10)->Apply(Measured);
BENCHMARK(BM_Libxml2)->Arg(MB10)->Apply(Measured);

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Fixed heap thresholds: by default the C library adjusts when it hands
    // freed memory back to the system from what was freed before, so one
    // page size would pay for faulting its memory in again on every
    // iteration or not, depending on which benchmark ran before it.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 128 << 10);
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("parse 10 MB / libxml2 10 MB", "BM_Parse/10485760_median", "BM_Libxml2/10485760_median", 1.0);
    // Time per MB: 100 KB and 10 MB against 1 MB (within 20 percent).
    const double perMb1 = reporter.Seconds("BM_Parse/1048576_median");
    if (perMb1 > 0) {
        std::printf("time per MB, 100 KB / 1 MB: %.3f (limit 0.80..1.20)\n",
                    reporter.Seconds("BM_Parse/102400_median") * 10.24 / perMb1);
        std::printf("time per MB, 10 MB / 1 MB:  %.3f (limit 0.80..1.20)\n",
                    reporter.Seconds("BM_Parse/10485760_median") / 10 / perMb1);
    }
    benchmark::Shutdown();
    return 0;
}
