#pragma once
// A console reporter that also keeps each benchmark's time per iteration,
// so that a program can print its figures as ratios to their references
// measured in the same run.

#include <benchmark/benchmark.h>

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
    // "BM_X/1024/min_time:1.000_median" -> "BM_X/1024_median".
    static std::string PlainName(std::string name)
    {
        const size_t at = name.find("/min_time:");
        if (at == std::string::npos)
            return name;
        const size_t end = name.find('_', name.find(':', at));
        return name.substr(0, at) + (end == std::string::npos ? std::string() : name.substr(end));
    }

    std::map<std::string, double> FSeconds;
};
