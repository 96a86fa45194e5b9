#include "options/option_string.h"

#include <gtest/gtest.h>

namespace vivo {
namespace {

using namespace std::string_literals;

TEST(OptionStringTest, SplitQuoted) {
    struct Row { const char* name; std::string text; std::string_view delimiters; StringList tokens; };
    const Row rows[] = {
        {"item fields", R"([S|INCLUDE|"a b"|"c"])", kFieldDelimiters, {"S", "INCLUDE", R"("a b")", R"("c")"}},
        {"items in whitespace", "  [B|DEBUG|1]\n[I|PACK|1]\t", kItemDelimiters, {"[B|DEBUG|1]", "[I|PACK|1]"}},
        {"delimiters only", "|||", "|", {}},
        {"quotes inside a token", R"(a"b c"d e)", " ", {R"(a"b c"d)", "e"}},
        {"doubled quotes", R"("x""y z" w)", " ", {R"("x""y z")", "w"}},
        {"doubled brackets", R"([S|P|"a]]b|c"])", kFieldDelimiters, {"S", "P", R"("a]]b|c")"}},
        {"unterminated quote", R"(a "b c d)", " ", {"a", R"("b)", "c", "d"}},
        {"unterminated after pair", R"("a b" "c d)", " ", {R"("a b")", R"("c)", "d"}},
        {"NUL is no delimiter", "a\0b c"s, " ", {"a\0b"s, "c"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SplitQuoted(std::string_view(row.text), row.delimiters), row.tokens);
    }
    EXPECT_FALSE(SplitQuoted(static_cast<const char*>(nullptr), "|").has_value());
    for (size_t count : {100000, 100001}) {  // pairs close and reopen; an odd last one is unterminated
        const std::string quotes(count, '"');
        EXPECT_EQ(SplitQuoted(quotes, kItemDelimiters), StringList{quotes});
    }
}

TEST(OptionStringTest, Escapes) {
    using Op = std::string (*)(std::string_view, std::string_view);
    struct Row { const char* name; Op op; std::string text; std::string_view chars; std::string result; };
    const Op unescape = [](std::string_view s, std::string_view) { return UnescapeCSequences(s); };
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

}  // namespace
}  // namespace vivo
