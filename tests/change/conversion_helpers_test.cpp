// The pieces of the cross-family conversions: the conversion table, the helpers, and the frame. Each
// table row's output is checked end to end on the example projects (tests/e2e); here what they cannot show.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "change/conversion_helpers.h"
#include "change/conversion_table.h"
#include "change/cross_family.h"
#include "summary/change_summary.h"

namespace vivo {
namespace {

using Items = std::vector<std::string>;
using Lines = Items;

// The rewrites of a whole item list. Columns: name, rewrite, items before, items after.
struct RewriteRow { const char* name; void (*rewrite)(Items&); Items before, after; };

constexpr auto kExt = ConvertOutputFileExtensions;
constexpr auto kLib = ConvertLibraryAndOutputItems;
constexpr auto kCrc = ConvertCrcAndVectItems;

const RewriteRow kRewriteRows[] = {
    {"assembler output, no directory", kExt, {R"([S|OUTPUTPATH|"a.a30"]])"}, {R"([S|OUTPUTPATH|"a.src"])"}},
    {"preprocessed C++, language named later", kExt, {R"([S|OUTPUT|"a.i"])", "[S|LANG|CPP]"}, {R"([S|OUTPUT|"a.pp"])", "[S|LANG|CPP]"}},
    {"preprocessed EC++", kExt, {"[S|LANG|ECPP]", R"([S|OUTPUT|"a.i"])"}, {"[S|LANG|ECPP]", R"([S|OUTPUT|"a.pp"])"}},
    {"extensions are case-sensitive", kExt, {R"([S|OUTPUT|"a.X30"])"}, {R"([S|OUTPUT|"a.X30"])"}},
    {"unquoted and input items untouched", kExt, {"[S|OUTPUT|SRC]", R"([S|INPUT|"a.r30"])", R"([S|OUTPUT|"a.mot"])"},
     {"[S|OUTPUT|SRC]", R"([S|INPUT|"a.r30"])", R"([S|OUTPUT|"a.mot"])"}},
    // Library directories folded into the library names.
    {"plain directory", kLib, {R"([S|INPUTLIBRARY|-D="C:\lib"|-L=c.lib])"}, {R"([S|INPUTLIBRARY|"C:\lib\c.lib"])"}},
    {"macro directory", kLib, {R"([S|INPUTLIBRARY|-D=$(PROJDIR)\lib|-L=c.lib])"}, {R"([S|INPUTLIBRARY|"$(PROJDIR)\lib\c.lib"])"}},
    {"macro name joined as written", kLib, {R"([S|INPUTLIBRARY|-D=C:\lib|-L=$(X)\..\c.lib])"}, {R"([S|INPUTLIBRARY|"C:\lib\$(X)\..\c.lib"])"}},
    {"plain names joined as paths", kLib, {R"([S|INPUTLIBRARY|-D=C:\lib\x|-L=..\c.lib])"}, {R"([S|INPUTLIBRARY|"C:\lib\c.lib"])"}},
    {"rooted names kept, other pieces dropped", kLib, {R"([S|INPUTLIBRARY|-D=C:\lib|-L=C:\x\c.lib|-X=1|-L=\y\d.lib])"},
     {R"([S|INPUTLIBRARY|"C:\x\c.lib"|"\y\d.lib"])"}},
    // Librarian and converter outputs merged.
    {"one output: nothing removed", kLib, {R"([S|OUTPUT|"p.abs"])"}, {R"([S|OUTPUT|"p.abs"])"}},
    {"S-type output wins", kLib, {R"([S|OUTPUT|"o\p.abs"])", "[B|DEBUG|1]", R"([S|OUTPUT|"o\p.mot"])"},
     {"[B|DEBUG|1]", R"([S|OUTPUT|"o\p.mot"])", "[S|FORM|STYPE]"}},
    {"existing form kept", kLib, {R"([S|OUTPUT|"p.abs"])", R"([S|OUTPUT|"p.hex"])", "[S|FORM|HEXADECIMAL]"},
     {R"([S|OUTPUT|"p.hex"])", "[S|FORM|HEXADECIMAL]"}},
    {"librarian form counts", kLib, {R"([S|OUTPUT|"a.abs"])", "[S|MODE|CREATE|m.obj]", R"([S|OUTPUT|"b.abs"])"},
     {"[S|FORM|LIBRARY=U]", "[S|INPUT|m.obj]"}},
    {"no load module among outputs", kLib, {R"([S|OUTPUT|"a.mot"])", R"([S|OUTPUT|"a.hex"])"},
     {R"([S|OUTPUT|"a.mot"])", R"([S|OUTPUT|"a.hex"])", "[S|FORM|STYPE]"}},
    // CRC gets its DEFAULT piece.
    {"CRC of one piece", kCrc, {"[S|CRC|CCITT]"}, {"[S|CRC|CCITT|DEFAULT]"}},
    {"CRC of three pieces", kCrc, {"[S|CRC|16|1000|2000]]"}, {"[S|CRC|16|DEFAULT|1000|2000]"}},
    {"CRC without value kept", kCrc, {"[S|CRC|]"}, {"[S|CRC|]"}},
    {"vector table items untouched", kCrc, {R"([S|VECTN|3,"_a"])", "[B|VECT|1]"}, {R"([S|VECTN|3,"_a"])", "[B|VECT|1]"}},
};

TEST(ConversionHelpers, RewriteItemLists) {
    for (const RewriteRow& row : kRewriteRows) {
        SCOPED_TRACE(row.name);
        Items items = row.before;
        row.rewrite(items);
        EXPECT_EQ(items, row.after);
    }
}

TEST(ConvertAssemblyItem, RebuildsTheNestedAssemblerOptions) {
    struct Row { const char* name; Items source, appended; };  // the source lines; what follows "[V|VERSION|1]"
    const std::array rows = {
        Row{"no source line", {}, {}},
        Row{"no assembly item", {"[B|DEBUG|1]"}, {}},
        Row{"only the first line is read", {"[B|DEBUG|1]", R"([S|ASSEMBLY|"[B|HEAP|1]]"])"}, {}},
        Row{"empty inner text", {R"([S|ASSEMBLY|""])"}, {R"([S|ASSEMBLY|"[V|VERSION|1]]"])"}},
        Row{"heap define, unmatched and other values dropped",
            {R"([S|CPU|X] [S|ASSEMBLY|"[B|HEAP|1]] [B|LIST|1]] [B|SKIPDEPENDENCY|0]] [B|SKIPDEPENDENCY|1]]"])"},
            {R"([S|ASSEMBLY|"[V|VERSION|1]] [S|DEFINE|__HEAP__=1]] [B|SKIPDEPENDENCY|1]]"])"}},
        Row{"object path without the file-leaf macro kept", {R"([S|ASSEMBLY|"[S|OUTPUTPATH|""out.r30""]] [B|GOPTIMIZE|1]]"])"},
            {R"([S|ASSEMBLY|"[V|VERSION|1]] [S|OUTPUTPATH|""out.r30""]] [B|GOPTIMIZE|1]]"])"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Items items = {"[V|VERSION|1]"}, expected = items;
        ChangeSummary summary;
        ConvertAssemblyItem(row.source, items, summary);
        EXPECT_TRUE(summary.lines().empty());
        expected.insert(expected.end(), row.appended.begin(), row.appended.end());
        EXPECT_EQ(items, expected);
    }
}

TEST(ReadRtosVersionNumbers, FollowsScanfRules) {
    struct Row { const char* name; std::array<int, 3> numbers; };
    const std::array rows = {
        Row{"V.1.2 Release 3", {1, 2, 3}},
        Row{"V.1.2Release 3", {1, 2, 3}},      // a blank of the pattern matches no blank too
        Row{"V.1.2 \tRelease  4", {1, 2, 4}},  // ... or any run of white space
        Row{"V. 7.8 Release 9", {7, 8, 9}},    // a number skips white space before it
        Row{"V.5.x Release 1", {5, 0, 0}},     // reading stops at the first mismatch
        Row{"v.1.2 Release 3", {0, 0, 0}},
        Row{"", {0, 0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ReadRtosVersionNumbers(row.name), row.numbers);
    }
}

constexpr std::array kRows = {
    ConversionRow{"[B|DEBUG|", nullptr, "[B|DEBUG|", nullptr},
    ConversionRow{"[B|DEBUG|", "-g", "[B|STACK|", "-stack"},
    ConversionRow{"[B|HEAP|1]", "-D", "[S|DEFINE|__HEAP__=1]", "-D"},
    ConversionRow{"[S|X|", "-x", "[B|X|1] [S|Y|", "-y"},
    ConversionRow{"[S|N|", nullptr, "[S|N|", ""},
};

const std::string kHeading = "\r\nPhaseOptions:\r\n";

// Columns: name, source lines, items appended behind "[V|VERSION|1]", lines the summary gains.
struct ConvertRow { const char* name; Lines source, items, summary; };

TEST(ConvertOptionItems, AppliesEveryRowToEveryItem) {
    const std::string g = "  Option -g has been converted to -stack\r\n";
    const std::array rows = {
        ConvertRow{"equal labels log nothing", {"[B|HEAP|1]"}, {"[S|DEFINE|__HEAP__=1]"}, {}},
        ConvertRow{"longer item keeps its rest", {"[B|HEAP|1]]"}, {"[S|DEFINE|__HEAP__=1]]"}, {}},
        ConvertRow{"two rows with one prefix, in row order", {"[B|DEBUG|0]"}, {"[B|DEBUG|0]", "[B|STACK|0]"}, {kHeading, g}},
        ConvertRow{"heading once, lines in order, each once", {"[S|X|\"a b\"] [B|DEBUG|1]", "\t[S|X|c]\r\n"},
                   {"[B|X|1] [S|Y|\"a b\"]", "[B|DEBUG|1]", "[B|STACK|1]", "[B|X|1] [S|Y|c]"},
                   {kHeading, "  Option -x has been converted to -y\r\n", g}},
        ConvertRow{"unmatched and case-different items dropped", {"[S|CPU|KZ600] [b|DEBUG|1] [B|HEAP|0] [B|DEBUGX|1]"}, {}, {}},
        ConvertRow{"a null label differs from an empty one", {"[S|N|1]"}, {"[S|N|1]"}, {kHeading, "  Option  has been converted to \r\n"}},
    };
    for (const ConvertRow& row : rows) {
        SCOPED_TRACE(row.name);
        ChangeSummary summary;
        Lines items = {"[V|VERSION|1]"}, expected = items;
        ConvertOptionItems(row.source, ConversionTable{{kRows}}, items, summary);
        expected.insert(expected.end(), row.items.begin(), row.items.end());
        EXPECT_EQ(items, expected);
        EXPECT_EQ(summary.lines(), row.summary);
    }
}

// A table made of stretches (as Lumo V7 is Lumo V6 with one row inserted) is read stretch by stretch.
TEST(ConvertOptionItems, ReadsTheStretchesOfATableInOrder) {
    constexpr std::array kFirst = {Kept("[S|A|")};
    constexpr std::array kSecond = {Renamed("[S|A|", "[S|B|")};
    Lines items;
    ChangeSummary summary;
    ConvertOptionItems({"[S|A|1]"}, ConversionTable{{ConversionRows(kSecond), kFirst, kSecond}}, items, summary);
    EXPECT_EQ(items, (Lines{"[S|B|1]", "[S|A|1]", "[S|B|1]"}));
}

TEST(CrossFamilyConversions, ToolsAndListsTheTablesDoNotCover) {
    // Columns: name, conversion, phase, source lines, the result text before and after.
    struct Row { const char* name; ConversionStep conversion; const char* phase; Lines source; std::string before, result; };
    const std::array rows = {
        Row{"old tool name", ChangeTessaroV90400toKZV10100, "Veltora Tessaro C/C++ Compiler", {"[B|DEBUG|1]"}, "", ""},
        Row{"tool names are case-sensitive", ChangePexaV54500toKZV10100, "veltora bindex", {"[B|DEBUG|1]"}, "", ""},
        Row{"no option strings", ChangeLumoV60000toKZV10100, "Veltora Bindex", {}, "", "[V|VERSION|6]"},
        Row{"appended behind existing text", ChangeTessaroV90400toKZV10100, "Veltora KZ Assembler", {"[B|DEBUG|0]"}, "[S|X|1]",
            "[S|X|1] [V|VERSION|1] [B|DEBUG|0]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChangeSummary summary;
        std::string result = row.before;
        EXPECT_EQ(row.conversion(row.phase, row.source, result, summary), 0);
        EXPECT_EQ(result, row.result);
        EXPECT_TRUE(summary.lines().empty());
    }
}

}  // namespace
}  // namespace vivo
