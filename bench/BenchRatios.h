#pragma once
// A console reporter that also keeps each benchmark's time per iteration,
// so that a program can print its figures as ratios to their references
// measured in the same run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.iterations > 0)
                FSeconds[PlainName(run.benchmark_name())] =
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }

    double Seconds(const std::string& name) const
    {
        const auto it = FSeconds.find(name);
        return it == FSeconds.end() ? 0.0 : it->second;
    }

    // Prints "label: a / b = ratio (limit)"; missing figures are skipped.
    void PrintRatio(const std::string& label, const std::string& ours, const std::string& reference,
                    double limit) const
    {
        const double a = Seconds(ours), b = Seconds(reference);
        if (a <= 0 || b <= 0)
            return;
        std::printf("%-48s %10.3f ms / %10.3f ms = %6.3f (limit %.2f) %s\n", label.c_str(), a * 1e3, b * 1e3,
                    a / b, limit, a / b <= limit ? "ok" : "OVER");
    }

private:
    // "BM_X/1024/min_time:1.000" -> "BM_X/1024", "BM_Y/repeats:9_median" ->
    // "BM_Y_median": run options are dropped, aggregate suffixes kept.
    static std::string PlainName(const std::string& name)
    {
        std::string plain, suffix;
        size_t start = 0;
        while (start <= name.size()) {
            const size_t slash = std::min(name.find('/', start), name.size());
            const std::string segment = name.substr(start, slash - start);
            const size_t colon = segment.find(':');
            if (colon == std::string::npos) {
                plain += (plain.empty() ? "" : "/") + segment;
            } else if (const size_t underscore = segment.find('_', colon); underscore != std::string::npos) {
                suffix = segment.substr(underscore);
            }
            start = slash + 1;
        }
        return plain + suffix;
    }

    std::map<std::string, double> FSeconds;
};
