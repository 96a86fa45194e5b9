// Build output classification and each example project's whole change, timed without Google
// Benchmark (Debian ships it for Linux only), so that one source runs as a Linux program and as a
// Win32 program under Wine: scripts/performance.py puts the i686 product's figures beside the Linux
// build's. The things compared take turns within each round, each timed on its own in processor time
// of the thread (processor_time.h), repeated for at least 200 ms. A time is the fastest round's; the
// ratio of the classification to the split is the median of the rounds' ratios.
//
//   vivo_builds_benchmark SOURCE_DIR [LOG_MB]     prints "name<TAB>nanoseconds" lines
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "processor_time.h"
#include "synthetic_build_log.h"
#include "whole_change.h"
#include "queries/build_output.h"

namespace {

constexpr int kRounds = 9;
// One timing repeats its work until at least this long, so that the clock's grain does not count.
constexpr double kLeast = 200e6;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Fastest(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

template <class Body>
double Nanoseconds(Body&& body) {
    const std::int64_t start = vivo::benchmarks::ThreadProcessorNanoseconds();
    body();
    return static_cast<double>(vivo::benchmarks::ThreadProcessorNanoseconds() - start);
}

// How often `body` must run to take at least kLeast.
template <class Body>
long Repeats(Body&& body) {
    long n = 0;
    const std::int64_t start = vivo::benchmarks::ThreadProcessorNanoseconds();
    do {
        body();
        ++n;
    } while (static_cast<double>(vivo::benchmarks::ThreadProcessorNanoseconds() - start) < kLeast);
    return n;
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
    std::size_t lines = 0;
    vivo::LineInfo info;
    const auto splitPass = [&] {
        lines = vivo::benchmarks::ForEachLine(log, [](std::string_view line) { sink = sink + line.size(); });
    };
    const auto classifyPass = [&] {
        vivo::benchmarks::ForEachLine(log, [&](std::string_view line) {
            vivo::ClassifyOutputLine(line, info);
            sink = sink + info.messageFlag;
        });
    };
    const long splitRepeats = Repeats(splitPass), classifyRepeats = Repeats(classifyPass);
    std::vector<double> split, classify, ratio;
    for (int round = 0; round < kRounds; ++round) {
        split.push_back(Nanoseconds([&] { for (long n = 0; n < splitRepeats; ++n) splitPass(); }) / splitRepeats);
        classify.push_back(Nanoseconds([&] { for (long n = 0; n < classifyRepeats; ++n) classifyPass(); }) /
                           classifyRepeats);
        ratio.push_back(split.back() / classify.back());
    }
    std::printf("Classify/lines\t%zu\n", lines);
    std::printf("Classify/Split\t%.0f\n", Fastest(split));
    std::printf("Classify/Classify\t%.0f\n", Fastest(classify));
    std::printf("Classify/InTurns\t%.4f\n", Median(ratio));

    // Each example's whole change, the examples in turns within each round.
    std::vector<char> buffer(std::size_t{1} << 20);
    const std::vector<vivo::benchmarks::ExampleChange> changes = vivo::benchmarks::ExampleChanges(argv[1]);
    std::vector<long> repeats;
    for (const auto& change : changes) {
        if (vivo::benchmarks::RunChange(change, buffer) != 0) {
            std::fprintf(stderr, "a call of %s failed\n", change.name.c_str());
            return 1;
        }
        repeats.push_back(Repeats([&] { sink = sink + vivo::benchmarks::RunChange(change, buffer); }));
    }
    std::vector<std::vector<double>> times(changes.size());
    for (int round = 0; round < kRounds; ++round) {
        for (std::size_t i = 0; i < changes.size(); ++i) {
            times[i].push_back(Nanoseconds([&] {
                for (long n = 0; n < repeats[i]; ++n) sink = sink + vivo::benchmarks::RunChange(changes[i], buffer);
            }) / static_cast<double>(repeats[i]));
        }
    }
    for (std::size_t i = 0; i < changes.size(); ++i) std::printf("%s\t%.0f\n", changes[i].name.c_str(), Fastest(times[i]));
    return 0;
}
