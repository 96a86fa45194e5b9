#pragma once
// Calling a buffer-filling export the way a careful host checks it: guard bytes behind the buffer,
// and everything the export did not promise to write must still hold the fill byte.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/plugin.h"

namespace vivo::test {

inline constexpr char kFill = '\xA5';

struct GuardedCall {
    int32_t result = 0;
    int32_t len = 0;    // the length argument after the call
    std::string bytes;  // the whole buffer after the call, guard bytes included
};

// Calls `call(buffer, &len)` with *len = capacity and a buffer of capacity bytes plus 16 guard bytes.
template <class Call>
GuardedCall CallGuarded(int32_t capacity, Call&& call) {
    GuardedCall c{0, capacity, std::string(static_cast<size_t>(capacity) + 16, kFill)};
    c.result = call(c.bytes.data(), &c.len);
    return c;
}

// The buffer starts with exactly `expected` and holds the fill byte everywhere behind it.
inline ::testing::AssertionResult WroteExactly(const GuardedCall& c, std::string_view expected) {
    if (!std::string_view(c.bytes).starts_with(expected))
        return ::testing::AssertionFailure() << ::testing::PrintToString(c.bytes) << " does not start with "
                                             << ::testing::PrintToString(std::string(expected));
    if (const size_t at = c.bytes.find_first_not_of(kFill, expected.size()); at != std::string::npos)
        return ::testing::AssertionFailure() << "byte " << at << " behind the result was written";
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult WroteNothing(const GuardedCall& c) { return WroteExactly(c, ""); }

// As a host asks: with one byte less than `capacity` the export fails, writes nothing and reports
// `reported`; then with `capacity` bytes it delivers exactly `bytes` and reports `reported`.
template <class Call>
void ExpectDelivers(Call&& call, std::string_view bytes, int32_t reported, int32_t capacity) {
    if (capacity > 0) {
        const GuardedCall small = CallGuarded(capacity - 1, call);
        EXPECT_EQ(small.result, 1);
        EXPECT_EQ(small.len, reported);
        EXPECT_TRUE(WroteNothing(small));
    }
    const GuardedCall fits = CallGuarded(capacity, call);
    EXPECT_EQ(fits.result, 0);
    EXPECT_EQ(fits.len, reported);
    EXPECT_TRUE(WroteExactly(fits, bytes));
}

// The export reports the size of `bytes` and needs exactly that capacity.
template <class Call>
void ExpectDelivers(Call&& call, std::string_view bytes) {
    ExpectDelivers(call, bytes, static_cast<int32_t>(bytes.size()), static_cast<int32_t>(bytes.size()));
}

// Terminated text: `text` and its NUL, the length with the NUL, and no room for less.
template <class Call>
void ExpectDeliversTerminated(Call&& call, std::string_view text) {
    ExpectDelivers(call, std::string(text) + '\0');
}

// The export returns `result` and writes nothing; the length becomes `len`, or stays as it was.
template <class Call>
void ExpectWritesNothing(Call&& call, int32_t result, std::optional<int32_t> len = std::nullopt) {
    const GuardedCall c = CallGuarded(256, call);
    EXPECT_EQ(c.result, result);
    EXPECT_EQ(c.len, len.value_or(256));
    EXPECT_TRUE(WroteNothing(c));
}

// Asks the size with a one-byte buffer, then calls with exactly that capacity; the bytes delivered.
template <class Call>
std::string DeliveredAtItsSize(Call&& call) {
    int32_t len = 0;
    char probe = 0;
    (void)call(&probe, &len);
    const GuardedCall c = CallGuarded(len, call);
    EXPECT_EQ(c.result, 0);
    EXPECT_EQ(c.len, len);
    EXPECT_TRUE(WroteExactly(c, c.bytes.substr(0, static_cast<size_t>(len))));
    return c.bytes.substr(0, static_cast<size_t>(len));
}

// A NUL-separated list as the host passes it: each string, NUL, then one more NUL.
template <class Container>
std::string NulListOf(const Container& strings) {
    std::string list;
    for (const auto& s : strings) (list += s) += '\0';
    return list + '\0';
}

inline std::string NulList(const std::vector<std::string>& strings) { return NulListOf(strings); }

// The loaded plug-in shared by the tests of one file.
inline Plugin& SharedPlugin() {
    static Plugin plugin(BuiltPluginFile());
    return plugin;
}

inline constexpr const char* kCompiler = "Veltora KZ C/C++ Compiler";
inline constexpr const char* kAssembler = "Veltora KZ Assembler";
inline constexpr const char* kLinker = "Veltora Bindex";

}  // namespace vivo::test
