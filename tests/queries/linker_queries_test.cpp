// The linker questions through the exports, byte for byte with guard bytes behind every buffer.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "support/guarded_call.h"

namespace vivo::test {
namespace {

using namespace std::string_view_literals;

// Columns: name, linker option string, delivered bytes, length written back, least capacity that succeeds.
struct TextRow { const char* name; const char* options; std::string_view delivered; int32_t len, capacity; };
const TextRow kMapFileRows[] = {
    {"map file written", "[B|LIST|1] [S|LIST|\"$(CONFIGDIR)\\a b.map\"]", "\"$(CONFIGDIR)\\a b.map\"\0\0"sv, 23, 24},
    {"order does not matter", "[S|LIST|out.map]\n[B|LIST|1]", "out.map\0\0"sv, 8, 9},
    {"no map file", "[B|LIST|0] [S|LIST|out.map]", "\0\0"sv, 1, 2},
    {"no flag", "[S|LIST|out.map]", "\0\0"sv, 1, 2},
    {"flag without path", "[B|LIST|1]", "\0\0"sv, 1, 2},
    {"flag twice is not 1", "[B|LIST|1] [B|LIST|1] [S|LIST|m]", "\0\0"sv, 1, 2},
    {"unreadable option string", "[B|LIST|1] [S|LIST|m] [B|DEBUG|]", "\0\0"sv, 1, 2},
};
const TextRow kLibraryRows[] = {
    {"two libraries", "[S|INPUTLIBRARY|\"a.lib\"|\"$(CONFIGDIR)\\b c.lib\"]", "Library=\"a.lib\",\"$(CONFIGDIR)\\b c.lib\""sv, 38, 38},
    {"first item counts", "[S|INPUTLIBRARY|\"1\"] [S|INPUTLIBRARY|\"2\"]", "Library=\"1\""sv, 11, 11},
    {"no item: nothing at all", "[S|CPU|KZ600]", ""sv, 0, 0},
};

TEST(LinkerQueryExports, MapFileAndLibraries) {
    auto map = VIVO_CALL_EXPORT(SharedPlugin(), GetLinkerMapFile);
    auto libraries = VIVO_CALL_EXPORT(SharedPlugin(), GetLibraryFiles);
    for (const TextRow& row : kMapFileRows) {
        SCOPED_TRACE(row.name);
        ExpectDelivers([&](char* b, int32_t* l) { return map(7, row.options, b, l); }, row.delivered, row.len, row.capacity);
    }
    for (const TextRow& row : kLibraryRows) {
        SCOPED_TRACE(row.name);
        ExpectDelivers([&](char* b, int32_t* l) { return libraries(row.options, b, l); }, row.delivered, row.len, row.capacity);
    }
}

TEST(LinkerQueryExports, SetLibraryFilesIsTerminatedText) {
    // Columns: name, linker option string, host's library text, new option string.
    const struct { const char* name; const char* options; const char* libraries; std::string_view result; } rows[] = {
        {"appended", "[S|CPU|KZ600]", "Library=A,B", "[S|CPU|KZ600] [S|INPUTLIBRARY|\"A\"|\"B\"]"},
        {"replaced in place, quotes of the text dropped", "[S|INPUTLIBRARY|\"old\"]\t[B|DEBUG|1]",
         "Library=\"x y.lib\",\"$(CONFIGDIR)\\z.lib\"", "[S|INPUTLIBRARY|\"x y.lib\"|\"$(CONFIGDIR)\\z.lib\"] [B|DEBUG|1]"},
        {"without the Library= part", "", "a.lib", "[S|INPUTLIBRARY|\"a.lib\"]"},
        {"cut at the first =", "", "Library=a=b.lib", "[S|INPUTLIBRARY|\"a=b.lib\"]"},
        {"no library named removes the item", "[S|CPU|KZ600]  [S|INPUTLIBRARY|\"a\"]\r\n[B|DEBUG|1]", "Library=", "[S|CPU|KZ600] [B|DEBUG|1]"},
        {"empty text keeps the other items", "[S|CPU|KZ600]", "", "[S|CPU|KZ600]"},
        {"quotes only name nothing", "[S|CPU|KZ600] [S|INPUTLIBRARY|\"a\"]", "\"\"", "[S|CPU|KZ600]"},
    };
    auto set = VIVO_CALL_EXPORT(SharedPlugin(), SetLibraryFiles);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ExpectDeliversTerminated([&](char* b, int32_t* l) { return set(row.options, row.libraries, b, l); }, row.result);
    }
}

TEST(LinkerQueryExports, CommandFileAndDependencyScanAnswers) {
    // Columns: name, option string, command-file answer, dependency-scan answer.
    const struct { const char* name; const char* options; uint32_t commandFile, dependencyScan; } rows[] = {
        {"neither", "[S|CPU|KZ600]", 0, 0},
        {"command file among tabs and line breaks", "\t[S|CPU|KZ600]\r\n[B|SUBCOMMAND|1]\n", 1, 0},
        {"command file switched off", "[B|SUBCOMMAND|0]", 0, 0},
        {"command file item must be exact", "[B|SUBCOMMAND|1|2] [B|SUBCOMMANDS|1]", 0, 0},
        {"any dependency-scan value", "[N|DEPENDSCAN|0] [B|SUBCOMMAND|1]", 1, 1},
        {"inside a quoted value is no item", "[S|X|\"a [B|SUBCOMMAND|1] [N|DEPENDSCAN|1]\"]", 0, 0},
        {"unreadable elsewhere does not matter", "[B|DEBUG|] [B|SUBCOMMAND|1]", 1, 0},
    };
    Plugin& p = SharedPlugin();
    int reserved = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        uint32_t commandFile = 7, dependencyScan = 7;
        EXPECT_EQ(VIVO_CALL_EXPORT(p, IsLinkedByCommandFile)(&reserved, row.options, &commandFile), 0);
        EXPECT_EQ(VIVO_CALL_EXPORT(p, IsPreprocessorScanEnabled)(&reserved, row.options, &dependencyScan), 0);
        EXPECT_EQ(commandFile, row.commandFile);
        EXPECT_EQ(dependencyScan, row.dependencyScan);
    }
}

TEST(LinkerQueryExports, LinkerInformationOnlyForThisToolchain) {
    // Columns: name, toolchain record, result (15 and 1 are written only on success).
    const struct { const char* name; VivoToolchainRecord record; int32_t result; } rows[] = {
        {"this toolchain", {12, "Veltora KZ Standard Toolchain", "1.02.01"}, 0},
        {"size is not checked", {99, "Veltora KZ Standard Toolchain", nullptr}, 0},
        {"by the name's ending", {12, "Other KZ Standard Toolchain", "1"}, 0},
        {"another toolchain", {12, "Veltora Lumo,Lumo/T Standard Toolchain", "1"}, 1},
        {"no name", {12, nullptr, "1"}, 1},
    };
    auto describe = VIVO_CALL_EXPORT(SharedPlugin(), GetLinkerInformation);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        uint32_t flags = 7, second = 7;
        EXPECT_EQ(describe(&row.record, &flags, &second), row.result);
        EXPECT_EQ(flags, row.result == 0 ? 15u : 7u);
        EXPECT_EQ(second, row.result == 0 ? 1u : 7u);
    }
}

}  // namespace
}  // namespace vivo::test
