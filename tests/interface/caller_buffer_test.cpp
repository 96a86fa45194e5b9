// The four caller-buffer protocols, the NUL-separated lists, and the frame's promises.
#include "interface/caller_buffer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "interface/frame.h"

namespace vivo {
namespace {

constexpr char kGuard = '\x5A';

TEST(CallerBuffer, EveryProtocolAroundItsNeededCapacity) {
    // Columns: name, protocol, the length written back for `text`, the smallest capacity that succeeds,
    // what a successful call writes.
    struct ProtocolRow { const char* name; Protocol protocol; int32_t reported, needed; std::string bytes; };
    const std::string text = "ab\ncd\n\n";
    const ProtocolRow rows[] = {
        {"newline list", Protocol::kNewlineList, 7, 7, {"ab\0cd\0\0", 7}},
        {"newline text with terminator", Protocol::kNewlineTextWithTerminator, 7, 8, {"ab\0cd\0\0\0", 8}},
        {"terminated text", Protocol::kTerminatedText, 8, 8, {"ab\ncd\n\n\0", 8}},
        {"raw text", Protocol::kRawText, 7, 7, {"ab\ncd\n\n", 7}},
    };
    for (const ProtocolRow& row : rows) {
        for (int32_t capacity : {0, row.needed - 1, row.needed, row.needed + 1}) {
            SCOPED_TRACE(std::string(row.name) + ", capacity " + std::to_string(capacity));
            std::vector<char> buffer(static_cast<std::size_t>(capacity) + 4, kGuard);
            int32_t len = capacity;
            const int32_t result = Deliver(row.protocol, std::string_view(text), buffer.data(), &len);
            EXPECT_EQ(len, row.reported);
            std::string expected(buffer.size(), kGuard);
            EXPECT_EQ(result, capacity >= row.needed ? 0 : 1);
            if (capacity >= row.needed) expected.replace(0, row.bytes.size(), row.bytes);
            EXPECT_EQ(std::string(buffer.begin(), buffer.end()), expected);
        }
    }
}

// A negative capacity fails telling the needed length; a failed worker leaves buffer and length alone.
TEST(CallerBuffer, NegativeCapacityAndFailedWorkerWriteNothing) {
    char buffer[4] = {kGuard, kGuard, kGuard, kGuard};
    int32_t len = -5;
    EXPECT_EQ(Deliver(Protocol::kTerminatedText, std::string_view("ab"), buffer, &len), 1);
    EXPECT_EQ(len, 3);
    len = 4;
    EXPECT_EQ(Deliver(Protocol::kRawText, std::optional<std::string>(), buffer, &len), 1);
    EXPECT_EQ(len, 4);
    EXPECT_EQ(std::string(buffer, 4), std::string(4, kGuard));
}

TEST(NulList, ReadMeasureAndWrite) {
    struct Row { const char* name; std::string bytes; std::vector<std::string> strings; std::size_t size; };
    const Row rows[] = {
        {"empty list", std::string("\0", 1), {}, 1},
        {"two strings", std::string("a\0bc\0\0", 6), {"a", "bc"}, 6},
        {"an empty string ends the list", std::string("a\0\0b\0\0", 6), {"a"}, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ReadNulList(row.bytes.data()), row.strings);
        EXPECT_EQ(NulListSize(row.bytes.data()), row.size);
    }
    std::vector<std::string> appended = {"x"};
    ReadNulList("y\0", appended);
    EXPECT_EQ(appended, (std::vector<std::string>{"x", "y"}));
    char bytes[] = "a\nb\nc";
    NewlinesToNul(bytes, 3);  // only within the count
    EXPECT_EQ(std::string(bytes, 5), std::string("a\0b\nc", 5));
}

TEST(ExportFrame, NothingThrownLeavesTheFrameAndTheCallersResourcesComeBack) {
    auto* callers = reinterpret_cast<platform::ResourceLibrary*>(0x1);  // never dereferenced
    const platform::ResourceScope host(callers);
    platform::ResourceLibrary* duringCall = callers;
    const int32_t result = RunExport([&]() -> int32_t {
        duringCall = platform::CurrentResourceSource();
        throw std::runtime_error("worker failed");
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(duringCall, nullptr) << "the plug-in's own resources were not current";
    EXPECT_EQ(platform::CurrentResourceSource(), callers);
}

}  // namespace
}  // namespace vivo
