// Appending change lines to the summary: the cost per line must not grow with the lines held.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "summary/change_summary.h"

namespace {

std::vector<std::string> DistinctLines(int count) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        lines.push_back("  Option -optimize=" + std::to_string(i) + " has been converted to -speed\r\n");
    return lines;
}

// n new lines, then the same n lines again (all already held), as repeated phases add them.
void AppendUniqueLines(benchmark::State& state) {
    const std::vector<std::string> lines = DistinctLines(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        vivo::ChangeSummary summary;
        summary.AppendUniqueLines(lines);
        summary.AppendUniqueLines(lines);
        benchmark::DoNotOptimize(summary.lines().data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 2);
}
BENCHMARK(AppendUniqueLines)->RangeMultiplier(4)->Range(1 << 10, 1 << 18);

// For scale only: the same work as a scan of the held lines per new line.
void ScanPerLineForComparison(benchmark::State& state) {
    const std::vector<std::string> lines = DistinctLines(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<std::string> held;
        for (int round = 0; round < 2; ++round)
            for (const std::string& line : lines)
                if (std::find(held.begin(), held.end(), line) == held.end()) held.push_back(line);
        benchmark::DoNotOptimize(held.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 2);
}
BENCHMARK(ScanPerLineForComparison)->RangeMultiplier(4)->Range(1 << 10, 1 << 14);

}  // namespace
