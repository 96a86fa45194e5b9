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
