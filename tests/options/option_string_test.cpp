#include "options/option_string.h"

#include <gtest/gtest.h>

#include <map>

#include "resources/string_table.h"

namespace vivo {
namespace {

using namespace std::string_literals;

TEST(SplitQuotedTest, Tokens) {
    struct Row { const char* name; std::string text; std::string_view delimiters; StringList tokens; };
    const Row rows[] = {
        {"item fields", R"([S|INCLUDE|"a b"|"c"])", kFieldDelimiters, {"S", "INCLUDE", R"("a b")", R"("c")"}},
        {"items in whitespace", "  [B|DEBUG|1]\n[I|PACK|1]\t", kItemDelimiters, {"[B|DEBUG|1]", "[I|PACK|1]"}},
        {"run of delimiters", "a||b", "|", {"a", "b"}},
        {"delimiters only", "|||", "|", {}},
        {"empty", "", "|", {}},
        {"quotes inside a token", R"(a"b c"d e)", " ", {R"(a"b c"d)", "e"}},
        {"doubled quotes", R"("x""y z" w)", " ", {R"("x""y z")", "w"}},
        {"doubled brackets", R"([S|P|"a]]b|c"])", kFieldDelimiters, {"S", "P", R"("a]]b|c")"}},
        {"empty quotes", R"([S|X|""])", kFieldDelimiters, {"S", "X", R"("")"}},
        {"unterminated quote", R"(a "b c d)", " ", {"a", R"("b)", "c", "d"}},
        {"unterminated after pair", R"("a b" "c d)", " ", {R"("a b")", R"("c)", "d"}},
        {"lone quote", "\"", " ", {"\""}},
        {"NUL is no delimiter", "a\0b c"s, " ", {"a\0b"s, "c"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SplitQuoted(std::string_view(row.text), row.delimiters), row.tokens);
    }
    EXPECT_FALSE(SplitQuoted(static_cast<const char*>(nullptr), "|").has_value());
    EXPECT_EQ(SplitQuoted("a|b", "|"), std::optional<StringList>(StringList{"a", "b"}));
}

TEST(ParseOptionStringTest, Items) {
    using Set = std::map<std::string, std::string>;
    struct Row { const char* name; const char* text; bool ok; Set set; };
    const Row rows[] = {
        {"two items", "[S|CPU|KZ600] [B|DEBUG|1]", true, {{"S|CPU", "KZ600"}, {"B|DEBUG", "1"}}},
        {"quoted values", R"([S|INCLUDE|"a b"|"c|d"])", true, {{"S|INCLUDE", R"("a b"|"c|d")"}}},
        {"empty quoted value", R"([S|X|""])", true, {{"S|X", R"("")"}}},
        {"duplicates, later first", "[S|X|a]\r\n[S|X|b]\t[S|X|c]", true, {{"S|X", "c|b|a"}}},
        {"empty field dropped", "[S|X||a]", true, {{"S|X", "a"}}},
        {"only whitespace", " \r\n\t ", true, {}},
        {"empty value", "[B|DEBUG|]", false, {}},
        {"two fields", "[S|X]", false, {}},
        {"lone word last", "[S|CPU|KZ600] word", false, {}},
        {"lone word first keeps items right of it", "word [S|CPU|KZ600]", false, {{"S|CPU", "KZ600"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OptionSet set{{"OLD|KEY", "gone"}};
        EXPECT_EQ(ParseOptionString(row.text, set), row.ok);
        EXPECT_EQ(Set(set.begin(), set.end()), row.set);
    }
    OptionSet kept{{"OLD|KEY", "kept"}};
    EXPECT_FALSE(ParseOptionString(static_cast<const char*>(nullptr), kept));
    EXPECT_EQ(kept.at("OLD|KEY"), "kept");
}

TEST(OptionStringTest, FormatAndAppend) {
    std::string text;
    AppendWithSeparator(text, FormatOptionItem("S|CPU", "KZ600"), ' ');
    AppendWithSeparator(text, FormatOptionItem("S|P", R"("a b"|x)"), ' ');
    AppendWithSeparator(text, "", '|');
    EXPECT_EQ(text, R"([S|CPU|KZ600] [S|P|"a b"|x]|)");
}

TEST(OptionStringTest, NextTokenAndSplitList) {
    struct Row { const char* name; std::string_view text; std::string_view delimiters; StringList tokens; };
    const Row rows[] = {
        {"newline alone", "\n", "\n", {""}},
        {"trailing delimiter", "x|y|", "|", {"x", "y"}},
        {"runs at both ends", "||a|| b||", "|", {"a", " b"}},
        {"empty", "", "|", {}},
        {"no quote handling", R"(a"b c")", " ", {R"(a"b)", R"(c")"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        StringList list{"kept"};
        SplitList(row.text, row.delimiters, list);
        StringList expected{"kept"};
        expected.insert(expected.end(), row.tokens.begin(), row.tokens.end());
        EXPECT_EQ(list, expected);
        // The in-place form hands out the same tokens, one per call, and empties the rest.
        std::string rest(row.text);
        StringList taken;
        while (!rest.empty()) taken.push_back(NextToken(rest, row.delimiters));
        EXPECT_EQ(taken, row.tokens);
    }
    std::string rest = "  a  b c";
    EXPECT_EQ(NextToken(rest, " "), "a");
    EXPECT_EQ(rest, "b c");
}

TEST(OptionStringTest, IsListedPairReadsStringTableLines) {
    // Any list entry of the plug-in's own table with a line "a|b" serves.
    for (uint32_t id = 0; id < 10000; ++id) {
        const std::optional<std::string_view> entry = OwnString(id);
        if (!entry || entry->find('\n') == std::string_view::npos) continue;
        const std::string_view line = entry->substr(0, entry->find('\n'));
        const size_t bar = line.find('|');
        if (bar == std::string_view::npos) continue;
        SCOPED_TRACE(id);
        const std::string_view a = line.substr(0, bar), b = line.substr(bar + 1);
        EXPECT_TRUE(IsListedPair(id, a, b));
        EXPECT_FALSE(IsListedPair(id, a, std::string(b) + "X"));
        EXPECT_FALSE(IsListedPair(id, a, b.substr(0, b.size() - 1)));
        if (!OwnString(id + 100000)) {
            EXPECT_FALSE(IsListedPair(id + 100000, a, b));
        }
        return;
    }
    GTEST_SKIP() << "the string table has no list with a bar";
}

TEST(OptionStringTest, EscapeTexts) {
    struct Row { const char* name; std::string (*op)(std::string_view, std::string_view); std::string text; std::string_view chars; std::string result; };
    const auto unescape = [](std::string_view s, std::string_view) { return UnescapeCSequences(s); };
    const Row rows[] = {
        {"NULs written", unescape, R"(A\0B\0)", "", "A\0B\0"s},
        {"table escapes", unescape, R"(\n\t\b\r\f\'\")", "", "\n\t\b\r\f'\""},
        {"other escapes give the letter", unescape, R"(\\\x)", "", "\\x"},
        {"trailing backslash", unescape, "ab\\", "", "ab"},
        {"source ends at NUL", unescape, "a\0b"s, "", "a"},
        {"double value", DoubleEscapeInQuotes, R"(]["a"]"])", kValueEscapes, R"(]["a""]]"])"},
        {"double without pair", DoubleEscapeInQuotes, R"(a"]b)", kValueEscapes, R"(a"]b)"},
        {"undouble value", UndoubleEscapes, R"("a""]]")", kValueEscapes, R"("a"]")"},
        {"undouble quotes", UndoubleEscapes, R"(""""")", "\"", R"(""")"},
        {"undouble lone and quote", UndoubleEscapes, R"(]"]]]x")", "]", R"("]]x")"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.op(row.text, row.chars), row.result);
    }
}

TEST(OptionStringTest, LongRunsOfQuotes) {
    for (size_t count : {100000u, 100001u}) {
        SCOPED_TRACE(count);
        const std::string quotes(count, '"');
        EXPECT_EQ(SplitQuoted(quotes, kItemDelimiters), StringList{quotes});
        OptionSet set;
        EXPECT_FALSE(ParseOptionString(quotes, set));
    }
}

}  // namespace
}  // namespace vivo
