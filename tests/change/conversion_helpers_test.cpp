// The item-list rewrites of the cross-family conversions, case by case. Each conversion table row's
// output is checked end to end on the example projects (tests/e2e).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "change/conversion_helpers.h"

namespace vivo {
namespace {

using Items = std::vector<std::string>;

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

}  // namespace
}  // namespace vivo
