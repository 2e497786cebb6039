// Layout of a page of 200 tables of 10 x 10 cells, with column and row
// spans and percentage widths, at width 800: parse plus layout, and layout
// alone, against Qt's rich-text engine (QTextDocument: setHtml, then a full
// layout) on the same page in the same run.

#include "BenchLayout.h"
#include "BenchRatios.h"

#include "html/HtmlParser.h"
#include "html/HtmlTables.h"
#include "platform/StringList.h"

#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextDocument>

#include <memory>
#include <string>

namespace {

constexpr int Width = 800;
constexpr int Tables = 200;
constexpr int Size = 10;

// Row 0 gives the columns their percentages (10% each, the first two
// joined); a cell in the middle spans two rows, one in every other row two
// columns.
std::string TablePage()
{
    std::string page = "<html><body>\n";
    for (int t = 0; t < Tables; ++t) {
        page += "<p>Tableau " + std::to_string(t + 1) + "\n";
        page += "<table border=1 cellpadding=2 width=" + std::string(t % 2 ? "90%" : "100%") + ">\n";
        for (int r = 0; r < Size; ++r) {
            page += "<tr>";
            for (int c = 0; c < Size;) {
                std::string attributes;
                int span = 1;
                if (r == 0 && c == 0) {
                    attributes = " colspan=2 width=20%";
                    span = 2;
                } else if (r == 0) {
                    attributes = " width=10%";
                } else if (r % 2 == 1 && c == 4) {
                    attributes = " colspan=2";
                    span = 2;
                } else if (r == 2 && c == 7) {
                    attributes = " rowspan=2";
                }
                if (r == 3 && c == 7) {
                    // covered by the row span above
                    ++c;
                    continue;
                }
                page += "<td" + attributes + ">cellule " + std::to_string(r) + "," + std::to_string(c)
                    + (c % 3 == 0 ? " avec un peu plus de texte" : "") + "</td>";
                c += span;
            }
            page += "</tr>\n";
        }
        page += "</table>\n";
    }
    page += "</body></html>\n";
    return page;
}

const std::string& Page()
{
    static const std::string page = TablePage();
    return page;
}


void BM_TablesParseLayout(benchmark::State& state)
{
    for (auto _ : state) {
        auto laid = std::make_unique<TLaidOutPage>(Page(), Width);
        benchmark::DoNotOptimize(laid->Height);
        state.PauseTiming();
        laid.reset();
        state.ResumeTiming();
    }
}

// The page must be what it claims: 200 tables of ten columns.
bool IsTheIntendedPage(const TSectionList& doc)
{
    int tables = 0;
    for (TObject* item : doc)
        if (const auto* table = dynamic_cast<const ThtmlTable*>(item))
            tables += table->NumCols == Size && table->RowCount() == Size;
    return tables == Tables;
}

void BM_TablesLayout(benchmark::State& state)
{
    TLaidOutPage laid(Page(), Width);
    if (!IsTheIntendedPage(laid.Doc)) {
        state.SkipWithError("the page does not hold 200 tables of 10 x 10 cells");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(laid.Layout());
}

void BM_TablesQTextDocument(benchmark::State& state)
{
    const QString html = QString::fromLatin1(Page());
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

} // namespace

BENCHMARK(BM_TablesParseLayout)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_TablesLayout)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_TablesQTextDocument)->Unit(benchmark::kMillisecond)->MinTime(1.0);

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
    reporter.PrintRatio(
        "200 tables: parse+layout / QTextDocument", "BM_TablesParseLayout", "BM_TablesQTextDocument", 0.5);
    reporter.PrintRatio("200 tables: layout alone / QTextDocument", "BM_TablesLayout", "BM_TablesQTextDocument", 0.5);
    benchmark::Shutdown();
    return 0;
}
