#include "change/conversion_helpers.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace vivo {
namespace {

using Items = std::vector<std::string>;

// One rewrite of a whole item list: the list before and after.
struct RewriteRow {
    const char* name;
    Items before;
    Items after;
};

TEST(ConvertOutputFileExtensions, ChangesOnlyTheExtensionOfQuotedOutputs) {
    const std::array rows = {
        RewriteRow{"load module", {R"([S|OUTPUT|"C:\out\p.x30"])"}, {R"([S|OUTPUT|"C:\out\p.abs"])"}},
        RewriteRow{"object with macros",
                   {R"([S|OUTPUTPATH|"$(CONFIGDIR)\$(FILELEAF).r30"])"},
                   {R"([S|OUTPUTPATH|"$(CONFIGDIR)\$(FILELEAF).obj"])"}},
        RewriteRow{"assembler output, no directory", {R"([S|OUTPUTPATH|"a.a30"]])"}, {R"([S|OUTPUTPATH|"a.src"])"}},
        RewriteRow{"preprocessed C", {R"([S|OUTPUTPATH|"pre\$(FILELEAF).i"])"}, {R"([S|OUTPUTPATH|"pre\$(FILELEAF).p"])"}},
        RewriteRow{"preprocessed C++, language named later",
                   {R"([S|OUTPUT|"a.i"])", "[S|LANG|CPP]"},
                   {R"([S|OUTPUT|"a.pp"])", "[S|LANG|CPP]"}},
        RewriteRow{"preprocessed EC++", {"[S|LANG|ECPP]", R"([S|OUTPUT|"a.i"])"}, {"[S|LANG|ECPP]", R"([S|OUTPUT|"a.pp"])"}},
        RewriteRow{"other language item is C", {"[S|LANG|C]", R"([S|OUTPUT|"a.i"])"}, {"[S|LANG|C]", R"([S|OUTPUT|"a.p"])"}},
        RewriteRow{"extensions are case-sensitive", {R"([S|OUTPUT|"a.X30"])"}, {R"([S|OUTPUT|"a.X30"])"}},
        RewriteRow{"unquoted and input items untouched",
                   {"[S|OUTPUT|SRC]", R"([S|INPUT|"a.r30"])", R"([S|OUTPUT|"a.mot"])"},
                   {"[S|OUTPUT|SRC]", R"([S|INPUT|"a.r30"])", R"([S|OUTPUT|"a.mot"])"}},
    };
    for (const RewriteRow& row : rows) {
        SCOPED_TRACE(row.name);
        Items items = row.before;
        ConvertOutputFileExtensions(items);
        EXPECT_EQ(items, row.after);
    }
}

TEST(ConvertAssemblyItem, RebuildsTheNestedAssemblerOptions) {
    struct Row {
        const char* name;
        Items source;
        Items appended;
    };
    const std::array rows = {
        Row{"no source line", {}, {}},
        Row{"no assembly item", {"[B|DEBUG|1]"}, {}},
        Row{"only the first line is read", {"[B|DEBUG|1]", R"([S|ASSEMBLY|"[B|HEAP|1]]"])"}, {}},
        Row{"empty inner text", {R"([S|ASSEMBLY|""])"}, {R"([S|ASSEMBLY|"[V|VERSION|1]]"])"}},
        Row{"heap define, unmatched and other values dropped",
            {R"([S|CPU|X] [S|ASSEMBLY|"[B|HEAP|1]] [B|LIST|1]] [B|SKIPDEPENDENCY|0]] [B|SKIPDEPENDENCY|1]]"])"},
            {R"([S|ASSEMBLY|"[V|VERSION|1]] [S|DEFINE|__HEAP__=1]] [B|SKIPDEPENDENCY|1]]"])"}},
        Row{"quoted values re-escaped, object path renamed",
            {R"([S|ASSEMBLY|"[S|INCLUDE|""C:\a b""]] [B|IO|1]] [S|OUTPUTPATH|""$(CONFIGDIR)\$(FILELEAF).r30""]]"])"},
            {R"([S|ASSEMBLY|"[V|VERSION|1]] [S|INCLUDE|""C:\a b""]] [S|DEFINE|__STANDARD_IO__=1]] )"
             R"([S|OUTPUTPATH|""$(CONFIGDIR)\$(FILELEAF).obj""]]"])"}},
        Row{"object path without the file-leaf macro kept",
            {R"([S|ASSEMBLY|"[S|OUTPUTPATH|""out.r30""]] [B|GOPTIMIZE|1]]"])"},
            {R"([S|ASSEMBLY|"[V|VERSION|1]] [S|OUTPUTPATH|""out.r30""]] [B|GOPTIMIZE|1]]"])"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Items items = {"[V|VERSION|1]"};
        ConvertAssemblyItem(row.source, items);
        Items expected = {"[V|VERSION|1]"};
        expected.insert(expected.end(), row.appended.begin(), row.appended.end());
        EXPECT_EQ(items, expected);
    }
}

TEST(ConvertLibraryAndOutputItems, FoldsDirectoriesIntoLibraryNames) {
    const std::array rows = {
        RewriteRow{"plain directory", {R"([S|INPUTLIBRARY|-D="C:\lib"|-L=c.lib])"}, {R"([S|INPUTLIBRARY|"C:\lib\c.lib"])"}},
        RewriteRow{"relative directory", {R"([S|INPUTLIBRARY|-D=..\lib|-L=c.lib]])"}, {R"([S|INPUTLIBRARY|"..\lib\c.lib"])"}},
        RewriteRow{"no directory", {"[S|INPUTLIBRARY|-L=c.lib]"}, {R"([S|INPUTLIBRARY|"c.lib"])"}},
        RewriteRow{"macro directory", {R"([S|INPUTLIBRARY|-D=$(PROJDIR)\lib|-L=c.lib])"},
                   {R"([S|INPUTLIBRARY|"$(PROJDIR)\lib\c.lib"])"}},
        RewriteRow{"macro name joined as written", {R"([S|INPUTLIBRARY|-D=C:\lib|-L=$(X)\..\c.lib])"},
                   {R"([S|INPUTLIBRARY|"C:\lib\$(X)\..\c.lib"])"}},
        RewriteRow{"plain names joined as paths", {R"([S|INPUTLIBRARY|-D=C:\lib\x|-L=..\c.lib])"},
                   {R"([S|INPUTLIBRARY|"C:\lib\c.lib"])"}},
        RewriteRow{"rooted names kept, other pieces dropped",
                   {R"([S|INPUTLIBRARY|-D=C:\lib|-L=C:\x\c.lib|-X=1|-L=\y\d.lib])"},
                   {R"([S|INPUTLIBRARY|"C:\x\c.lib"|"\y\d.lib"])"}},
        RewriteRow{"each name takes the directory before it", {R"([S|INPUTLIBRARY|-D=a|-L=x.lib|-D=b|-L=y.lib])"},
                   {R"([S|INPUTLIBRARY|"a\x.lib"|"b\y.lib"])"}},
    };
    for (const RewriteRow& row : rows) {
        SCOPED_TRACE(row.name);
        Items items = row.before;
        ConvertLibraryAndOutputItems(items);
        EXPECT_EQ(items, row.after);
    }
}

TEST(ConvertLibraryAndOutputItems, MergesLibrarianAndConverterOutputs) {
    const std::array rows = {
        RewriteRow{"librarian members become inputs",
                   {"[S|MODE|CREATE|a.r30|b.r30]", R"([S|OUTPUT|"p.lib"])"},
                   {R"([S|OUTPUT|"p.lib"])", "[S|FORM|LIBRARY=U]", "[S|INPUT|a.r30|b.r30]"}},
        RewriteRow{"one output: nothing removed", {R"([S|OUTPUT|"p.abs"])"}, {R"([S|OUTPUT|"p.abs"])"}},
        RewriteRow{"S-type output wins",
                   {R"([S|OUTPUT|"o\p.abs"])", "[B|DEBUG|1]", R"([S|OUTPUT|"o\p.mot"])"},
                   {"[B|DEBUG|1]", R"([S|OUTPUT|"o\p.mot"])", "[S|FORM|STYPE]"}},
        RewriteRow{"existing form kept",
                   {R"([S|OUTPUT|"p.abs"])", R"([S|OUTPUT|"p.hex"])", "[S|FORM|HEXADECIMAL]"},
                   {R"([S|OUTPUT|"p.hex"])", "[S|FORM|HEXADECIMAL]"}},
        RewriteRow{"librarian form counts", {R"([S|OUTPUT|"a.abs"])", "[S|MODE|CREATE|m.obj]", R"([S|OUTPUT|"b.abs"])"},
                   {"[S|FORM|LIBRARY=U]", "[S|INPUT|m.obj]"}},
        RewriteRow{"no load module among outputs", {R"([S|OUTPUT|"a.mot"])", R"([S|OUTPUT|"a.hex"])"},
                   {R"([S|OUTPUT|"a.mot"])", R"([S|OUTPUT|"a.hex"])", "[S|FORM|STYPE]"}},
    };
    for (const RewriteRow& row : rows) {
        SCOPED_TRACE(row.name);
        Items items = row.before;
        ConvertLibraryAndOutputItems(items);
        EXPECT_EQ(items, row.after);
    }
}

TEST(ConvertCrcAndVectItems, PlacesDefaultAndUnquotesVectors) {
    const std::array rows = {
        RewriteRow{"one piece", {"[S|CRC|CCITT]"}, {"[S|CRC|CCITT|DEFAULT]"}},
        RewriteRow{"two pieces", {"[S|CRC|CCITT|2000-3FFF]"}, {"[S|CRC|CCITT|DEFAULT|2000-3FFF]"}},
        RewriteRow{"three pieces", {"[S|CRC|16|1000|2000]]"}, {"[S|CRC|16|DEFAULT|1000|2000]"}},
        RewriteRow{"no value kept", {"[S|CRC|]"}, {"[S|CRC|]"}},
        RewriteRow{"quoted vector", {R"([S|VECT|"_dummy"])"}, {"[S|VECT|_dummy]"}},
        RewriteRow{"vector table items untouched", {R"([S|VECTN|3,"_a"])", "[B|VECT|1]"}, {R"([S|VECTN|3,"_a"])", "[B|VECT|1]"}},
    };
    for (const RewriteRow& row : rows) {
        SCOPED_TRACE(row.name);
        Items items = row.before;
        ConvertCrcAndVectItems(items);
        EXPECT_EQ(items, row.after);
    }
}

TEST(ReadRtosVersionNumbers, FollowsScanfRules) {
    struct Row {
        const char* name;
        std::array<int, 3> numbers;
    };
    const std::array rows = {
        Row{"V.1.2 Release 3", {1, 2, 3}},
        Row{"V.1.0 Release 0", {1, 0, 0}},
        Row{"V.0.0 Release 7", {0, 0, 7}},
        Row{"V.1.2Release 3", {1, 2, 3}},      // a blank of the pattern matches no blank too
        Row{"V.1.2 \tRelease  4", {1, 2, 4}},  // ... or any run of white space
        Row{"V. 7.8 Release 9", {7, 8, 9}},    // a number skips white space before it
        Row{"V.5.x Release 1", {5, 0, 0}},     // reading stops at the first mismatch
        Row{"V.1.2 release 3", {1, 2, 0}},
        Row{"v.1.2 Release 3", {0, 0, 0}},
        Row{"Version 2", {0, 0, 0}},
        Row{"V.-3.0 Release 0", {-3, 0, 0}},
        Row{"", {0, 0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ReadRtosVersionNumbers(row.name), row.numbers);
    }
}

}  // namespace
}  // namespace vivo
