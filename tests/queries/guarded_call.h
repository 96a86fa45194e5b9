#pragma once
// Calling a buffer-filling export the way a careful host checks it: the buffer is followed by guard
// bytes, and everything the export did not promise to write must still hold the fill byte.

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "support/plugin.h"

namespace vivo::test {

inline constexpr char kFill = '\xA5';
inline constexpr size_t kGuardBytes = 16;

struct GuardedCall {
    int32_t result = 0;
    int32_t len = 0;    // the length argument after the call
    std::string bytes;  // the whole buffer after the call, guard bytes included
};

// Calls `call(buffer, &len)` with *len = capacity and a buffer of capacity bytes plus guard bytes.
template <class Call>
GuardedCall CallGuarded(int32_t capacity, Call&& call) {
    GuardedCall c;
    c.bytes.assign(static_cast<size_t>(capacity) + kGuardBytes, kFill);
    c.len = capacity;
    c.result = call(c.bytes.data(), &c.len);
    return c;
}

// The buffer starts with exactly `expected` and holds the fill byte everywhere behind it.
inline ::testing::AssertionResult WroteExactly(const GuardedCall& c, std::string_view expected) {
    if (c.bytes.size() < expected.size() || std::string_view(c.bytes).substr(0, expected.size()) != expected)
        return ::testing::AssertionFailure() << "buffer starts with " << ::testing::PrintToString(c.bytes)
                                             << ", expected " << ::testing::PrintToString(std::string(expected));
    const size_t touched = c.bytes.find_first_not_of(kFill, expected.size());
    if (touched != std::string::npos)
        return ::testing::AssertionFailure() << "byte " << touched << " behind the result was written";
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult WroteNothing(const GuardedCall& c) { return WroteExactly(c, ""); }

// With `capacity` bytes the export delivers exactly `bytes` and reports `reported`; with one byte
// less it fails, writes nothing and still reports `reported`.
template <class Call>
void ExpectDelivers(Call&& call, std::string_view bytes, int32_t reported, int32_t capacity) {
    const GuardedCall fits = CallGuarded(capacity, call);
    EXPECT_EQ(fits.result, 0);
    EXPECT_EQ(fits.len, reported);
    EXPECT_TRUE(WroteExactly(fits, bytes));
    if (capacity == 0) return;
    const GuardedCall small = CallGuarded(capacity - 1, call);
    EXPECT_EQ(small.result, 1);
    EXPECT_EQ(small.len, reported);
    EXPECT_TRUE(WroteNothing(small));
}

// Terminated text: `text` and its NUL, the length with the NUL, and no room for less.
template <class Call>
void ExpectDeliversTerminated(Call&& call, std::string_view text) {
    const int32_t size = static_cast<int32_t>(text.size() + 1);
    ExpectDelivers(call, std::string(text) + '\0', size, size);
}

// The export returns `result` and writes nothing; the length becomes `len`, or stays as it was.
template <class Call>
void ExpectWritesNothing(Call&& call, int32_t result, std::optional<int32_t> len = std::nullopt) {
    constexpr int32_t kCapacity = 256;
    const GuardedCall c = CallGuarded(kCapacity, call);
    EXPECT_EQ(c.result, result);
    EXPECT_EQ(c.len, len.value_or(kCapacity));
    EXPECT_TRUE(WroteNothing(c));
}

// A NUL-separated list as the host passes it: each string, NUL, then one more NUL.
inline std::string NulList(std::initializer_list<std::string_view> strings) {
    std::string list;
    for (std::string_view s : strings) {
        list += s;
        list += '\0';
    }
    list += '\0';
    return list;
}

template <class Container>
std::string NulListOf(const Container& strings) {
    std::string list;
    for (const auto& s : strings) {
        list += s;
        list += '\0';
    }
    list += '\0';
    return list;
}

// The loaded plug-in shared by the tests of one file.
inline Plugin& SharedPlugin() {
    static Plugin plugin(BuiltPluginFile());
    return plugin;
}

inline constexpr const char* kCompiler = "Veltora KZ C/C++ Compiler";
inline constexpr const char* kAssembler = "Veltora KZ Assembler";
inline constexpr const char* kLinker = "Veltora Bindex";

}  // namespace vivo::test
