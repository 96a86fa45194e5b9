// Black-box checks of what every export shares: pointer checks that fail before any work, and
// caller buffers that are never written past their capacity or on a failing call.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "support/plugin.h"

namespace vivo::test {
namespace {

constexpr char kGuard = '\x5A';
constexpr int32_t kCapacity = 64;

// Arguments of a call; any one of them can be replaced by null.
struct Arguments {
    VivoToolchainRecord record{12, "Veltora KZ Standard Toolchain", "1.00.00"};
    const char* text = "[S|CPU|KZ600]";
    const char* list = "\0";
    std::array<char, kCapacity + 16> buffer{};
    int32_t len = kCapacity;
    uint32_t word = 7;
    int pointer = 1;
    std::array<const char*, 2> groups{"S1\0", nullptr};
    VivoMemoryArea area{0, "0x1000\0", groups.data()};
    std::array<const VivoMemoryArea*, 2> areas{&area, nullptr};

    Arguments() { buffer.fill(kGuard); }
    bool Untouched() const { return len == kCapacity && std::ranges::count(buffer, kGuard) == std::ssize(buffer); }
};

// Returns `value`, or null when argument `index` is the one to null out.
template <class T>
T* Or(int nullIndex, int index, T* value) {
    return nullIndex == index ? nullptr : value;
}

// An export, the argument positions (from 0) that a null value fails, a call with one argument nulled.
struct CheckedExport { const char *name, *checked; int32_t (*call)(const Plugin&, Arguments&, int nullIndex); };

// One row: the export, its checked positions, its arguments (Or(n, i, value) for each checked one).
#define ROW(name, checked, ...) \
    {#name, checked, [](const Plugin& plugin, Arguments& a, int n) { return VIVO_CALL_EXPORT(plugin, name)(__VA_ARGS__); }}

const std::vector<CheckedExport>& Exports() {
    static const std::vector<CheckedExport> rows = {
        ROW(GetDLLInterfaceVersion, "01", Or(n, 0, &a.word), Or(n, 1, &a.word)),
        ROW(GetDLLProductVersion, "01", Or(n, 0, a.buffer.data()), Or(n, 1, &a.len)),
        ROW(GetDLLOrdinalVersion, "0", Or(n, 0, &a.word)),
        ROW(GetDLLType, "01", Or(n, 0, a.buffer.data()), Or(n, 1, &a.len)),
        ROW(GetTemplates, "01", Or(n, 0, a.buffer.data()), Or(n, 1, &a.len)),
        ROW(GetSupportedFileExtensions, "01", Or(n, 0, a.buffer.data()), Or(n, 1, &a.len)),
        ROW(IsCommandLineExecutionSupported, "01", Or(n, 0, a.text), Or(n, 1, &a.word)),
        ROW(CanUpgradeToolchain, "01", Or(n, 0, &a.record), Or(n, 1, &a.record)),
        ROW(UpgradePhaseOrder, "01234", Or(n, 0, &a.record), Or(n, 1, &a.record), Or(n, 2, a.list), Or(n, 3, a.buffer.data()),
            Or(n, 4, &a.len)),
        ROW(UpgradePhases, "0123456", Or(n, 0, &a.pointer), Or(n, 1, &a.pointer), Or(n, 2, a.list), Or(n, 3, a.list),
            Or(n, 4, a.text), Or(n, 5, a.buffer.data()), Or(n, 6, &a.len)),
        ROW(UpgradePhaseOptions, "012456", Or(n, 0, &a.record), Or(n, 1, &a.record), Or(n, 2, a.text), 0, Or(n, 4, a.list),
            Or(n, 5, a.buffer.data()), Or(n, 6, &a.len)),
        ROW(UpgradePhaseMappings, "0234", Or(n, 0, &a.pointer), 0, Or(n, 2, a.list), Or(n, 3, a.buffer.data()), Or(n, 4, &a.len)),
        ROW(ConvertPhaseOptions, "012345", Or(n, 0, &a.record), Or(n, 1, a.text), Or(n, 2, a.text), Or(n, 3, a.text),
            Or(n, 4, a.buffer.data()), Or(n, 5, &a.len)),
        ROW(CheckOptionConsistency, "01234567", Or(n, 0, &a.pointer), Or(n, 1, &a.pointer), Or(n, 2, &a.pointer),
            Or(n, 3, &a.pointer), Or(n, 4, &a.pointer), Or(n, 5, &a.pointer), Or(n, 6, &a.pointer), Or(n, 7, &a.pointer)),
        ROW(GetIncludeFileDirectories, "0123", Or(n, 0, a.text), Or(n, 1, a.text), Or(n, 2, a.buffer.data()), Or(n, 3, &a.len)),
        ROW(SetIncludeFileDirectories, "01234", Or(n, 0, a.text), Or(n, 1, a.text), Or(n, 2, a.list), Or(n, 3, a.buffer.data()),
            Or(n, 4, &a.len)),
        ROW(GetDefines, "0123", Or(n, 0, a.text), Or(n, 1, a.text), Or(n, 2, a.buffer.data()), Or(n, 3, &a.len)),
        ROW(SetDefines, "01234", Or(n, 0, a.text), Or(n, 1, a.text), Or(n, 2, a.list), Or(n, 3, a.buffer.data()), Or(n, 4, &a.len)),
        ROW(GetLinkerMapFile, "123", 0, Or(n, 1, a.text), Or(n, 2, a.buffer.data()), Or(n, 3, &a.len)),
        ROW(GetLinkerInformation, "012", Or(n, 0, &a.record), Or(n, 1, &a.word), Or(n, 2, &a.word)),
        ROW(IsLinkedByCommandFile, "012", Or(n, 0, &a.pointer), Or(n, 1, a.text), Or(n, 2, &a.word)),
        ROW(IsPreprocessorScanEnabled, "012", Or(n, 0, &a.pointer), Or(n, 1, a.text), Or(n, 2, &a.word)),
        ROW(GetLibraryFiles, "012", Or(n, 0, a.text), Or(n, 1, a.buffer.data()), Or(n, 2, &a.len)),
        ROW(SetLibraryFiles, "0123", Or(n, 0, a.text), Or(n, 1, a.text), Or(n, 2, a.buffer.data()), Or(n, 3, &a.len)),
        ROW(GetNoOfMemoryAreas, "12", 0, Or(n, 1, a.text), Or(n, 2, &a.word)),
        ROW(GetAddressRanges, "134", 0, Or(n, 1, a.text), 1, Or(n, 3, a.buffer.data()), Or(n, 4, &a.len)),
        ROW(GetSections, "0134", Or(n, 0, &a.pointer), Or(n, 1, a.text), 1, Or(n, 3, a.buffer.data()), Or(n, 4, &a.len)),
        ROW(UpdateLinkerSections, "01234", Or(n, 0, &a.pointer), Or(n, 1, a.text), Or(n, 2, a.areas.data()),
            Or(n, 3, a.buffer.data()), Or(n, 4, &a.len)),
        ROW(GetSyntaxColouringInformation, "012", Or(n, 0, a.text), Or(n, 1, a.buffer.data()), Or(n, 2, &a.len)),
        ROW(GetSyntaxColouringVersion, "0", Or(n, 0, &a.word)),
        ROW(GetMakefileOutputLineInfo, "01234567", Or(n, 0, a.text), Or(n, 1, &a.word), Or(n, 2, &a.word),
            Or(n, 3, &a.word), Or(n, 4, &a.word), Or(n, 5, a.buffer.data()), Or(n, 6, &a.len), Or(n, 7, &a.word)),
    };
    return rows;
}

TEST(ExportFrame, EveryCheckedNullFailsBeforeAnyWork) {
    Plugin plugin(BuiltPluginFile());
    for (const CheckedExport& row : Exports()) {
        for (const char* at = row.checked; *at != '\0'; ++at) {
            const int index = *at - '0';
            SCOPED_TRACE(std::string(row.name) + " with argument " + std::to_string(index) + " null");
            Arguments args;
            EXPECT_EQ(row.call(plugin, args, index), 1);
            EXPECT_TRUE(args.Untouched()) << "buffer or length written";
            EXPECT_EQ(args.word, 7u) << "output written";
        }
    }
}

TEST(ExportFrame, EveryExportThatChecksPointersHasARow) {
    // The summary exports check no pointer; every other export does.
    const std::set<std::string> unchecked = {"ResetSummaryInformation", "DisplaySummaryInformation"};
    std::set<std::string> rows;
    for (const CheckedExport& row : Exports()) rows.insert(row.name);
    std::ifstream list(VIVO_SOURCE_DIR "/src/interface/exports.list");
    int exports = 0;
    for (std::string name; std::getline(list, name); ++exports) {
        EXPECT_TRUE(unchecked.count(name) || rows.count(name)) << name;
    }
    EXPECT_EQ(exports, 33);
    EXPECT_EQ(rows.size(), 31u);
}

}  // namespace
}  // namespace vivo::test
