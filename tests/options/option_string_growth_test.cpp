// How the work of splitting grows with the text, and option strings of a megabyte.

#include "options/option_string.h"

#include <gtest/gtest.h>

#include <string>

namespace vivo {
namespace {

std::string Repeat(std::string_view unit, size_t count) {
    std::string text;
    text.reserve(unit.size() * count);
    for (size_t i = 0; i < count; ++i) text += unit;
    return text;
}

// The characters examined, as the splitter counts them, for texts of the same shape and of N and 2N
// characters: a rescan per quoted stretch or per token would make the work grow fourfold, a walk
// that goes back over text would examine a character more than three times.
TEST(OptionStringGrowthTest, SplitQuotedWorkDoubles) {
    struct Row { const char* name; std::string_view prefix; std::string_view unit; std::string_view delimiters; };
    const Row rows[] = {
        {"items", "", R"([S|INCLUDE|"a b"|"c"] )", kItemDelimiters},
        {"fields", "", R"(S|"a""]]b"|)", kFieldDelimiters},
        {"runs of delimiters", "", "a \t\r\n ", kItemDelimiters},
        {"quotes only", "", "\"", kItemDelimiters},
        {"stretches in one token", "", R"("a b"c)", " "},
        {"unterminated quote", "\"", "a b ", " "},
    };
    constexpr size_t kCount = 1u << 15;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string half = std::string(row.prefix) + Repeat(row.unit, kCount);
        const std::string full = std::string(row.prefix) + Repeat(row.unit, 2 * kCount);
        const uint64_t halfWork = detail::SplitQuotedWork(half, row.delimiters);
        const uint64_t fullWork = detail::SplitQuotedWork(full, row.delimiters);
        EXPECT_GE(halfWork, half.size());
        EXPECT_LE(fullWork, 3 * full.size());
        EXPECT_NEAR(double(fullWork) / double(halfWork), 2.0, 0.01);
    }
}

// An option string of over a megabyte: every item is found and read byte-exact, and a key that
// stands in every item gathers all its values, the last item's first.
TEST(OptionStringGrowthTest, MegabyteOptionString) {
    std::string text;
    StringList items;
    OptionSet expected;
    std::string joined;
    for (size_t i = 0; text.size() < (1u << 20); ++i) {
        const std::string n = std::to_string(i);
        items.push_back(FormatOptionItem("S|K" + n, R"("a ""]] )" + n + R"("|)" + n));
        expected["S|K" + n] = R"("a ""]] )" + n + R"("|)" + n;
        items.push_back(FormatOptionItem("I|ALL", n));
        joined = n + (joined.empty() ? "" : "|") + joined;
        AppendWithSeparator(text, items[items.size() - 2], i % 2 ? ' ' : '\n');
        AppendWithSeparator(text, items.back(), '\t');
    }
    expected["I|ALL"] = joined;

    EXPECT_EQ(SplitQuoted(text, kItemDelimiters), items);
    OptionSet set;
    ASSERT_TRUE(ParseOptionString(text, set));
    EXPECT_TRUE(set == expected);
}

}  // namespace
}  // namespace vivo
