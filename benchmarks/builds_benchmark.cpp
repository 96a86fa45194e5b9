// Build output classification and each example project's whole change, timed without Google
// Benchmark (Debian ships it for Linux only), so that one source runs as a Linux program and as a
// Win32 program under Wine: scripts/performance.py puts the i686 product's figures beside the Linux
// build's. The things compared take turns within each round, each timed on its own with the
// monotonic clock; every figure is the median over the rounds.
//
//   vivo_builds_benchmark SOURCE_DIR [LOG_MB]     prints "name<TAB>nanoseconds" lines
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "synthetic_build_log.h"
#include "whole_change.h"
#include "queries/build_output.h"

namespace {

constexpr int kRounds = 7;
// One timing of a change repeats it until at least this long, so that the clock's grain does not count.
constexpr std::chrono::nanoseconds kLeast = std::chrono::milliseconds(20);

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <class Body>
double Nanoseconds(Body&& body) {
    const auto start = Clock::now();
    body();
    return static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count());
}

volatile std::size_t sink = 0;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vivo_builds_benchmark SOURCE_DIR [LOG_MB]\n");
        return 2;
    }
    const std::size_t megabytes = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 32;
    const std::string log = vivo::benchmarks::MakeLog(megabytes << 20);

    // The log cut into lines and nothing else, and every line classified as the export does it.
    std::vector<double> split, classify, ratio;
    std::size_t lines = 0;
    vivo::LineInfo info;
    for (int round = 0; round < kRounds; ++round) {
        split.push_back(Nanoseconds([&] {
            lines = vivo::benchmarks::ForEachLine(log, [](std::string_view line) { sink = sink + line.size(); });
        }));
        classify.push_back(Nanoseconds([&] {
            vivo::benchmarks::ForEachLine(log, [&](std::string_view line) {
                vivo::ClassifyOutputLine(line, info);
                sink = sink + info.messageFlag;
            });
        }));
        ratio.push_back(split.back() / classify.back());
    }
    std::printf("Classify/lines\t%zu\n", lines);
    std::printf("Classify/Split\t%.0f\n", Median(split));
    std::printf("Classify/Classify\t%.0f\n", Median(classify));
    std::printf("Classify/InTurns\t%.4f\n", Median(ratio));

    // Each example's whole change, the examples in turns within each round.
    std::vector<char> buffer(std::size_t{1} << 20);
    const std::vector<vivo::benchmarks::ExampleChange> changes = vivo::benchmarks::ExampleChanges(argv[1]);
    std::vector<long> repeats;
    for (const auto& change : changes) {
        long n = 0;
        const auto start = Clock::now();
        do {
            if (vivo::benchmarks::RunChange(change, buffer) != 0) {
                std::fprintf(stderr, "a call of %s failed\n", change.name.c_str());
                return 1;
            }
            ++n;
        } while (Clock::now() - start < kLeast);
        repeats.push_back(n);
    }
    std::vector<std::vector<double>> times(changes.size());
    for (int round = 0; round < kRounds; ++round) {
        for (std::size_t i = 0; i < changes.size(); ++i) {
            times[i].push_back(Nanoseconds([&] {
                for (long n = 0; n < repeats[i]; ++n) sink = sink + vivo::benchmarks::RunChange(changes[i], buffer);
            }) / static_cast<double>(repeats[i]));
        }
    }
    for (std::size_t i = 0; i < changes.size(); ++i) std::printf("%s\t%.0f\n", changes[i].name.c_str(), Median(times[i]));
    return 0;
}
