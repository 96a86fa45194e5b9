// Black-box checks of what every export shares: pointer checks that fail before any work, and
// caller buffers that are never written past their capacity or on a failing call.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fstream>
#include <functional>
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
    bool Untouched() const {
        for (char c : buffer)
            if (c != kGuard) return false;
        return len == kCapacity;
    }
};

// Returns `value`, or null when argument `index` is the one to null out.
template <class T>
T* Or(int nullIndex, int index, T* value) {
    return nullIndex == index ? nullptr : value;
}

struct CheckedExport {
    const char* name;
    std::vector<int> checked;  // argument positions (from 0) that a null value fails
    std::function<int32_t(const Plugin&, Arguments&, int nullIndex)> call;
};

#define CALL(name) VIVO_CALL_EXPORT(plugin, name)

const std::vector<CheckedExport>& Exports() {
    static const std::vector<CheckedExport> rows = {
        {"GetDLLInterfaceVersion", {0, 1},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(GetDLLInterfaceVersion)(Or(n, 0, &a.word), Or(n, 1, &a.word));
         }},
        {"GetDLLProductVersion", {0, 1},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(GetDLLProductVersion)(Or(n, 0, a.buffer.data()), Or(n, 1, &a.len));
         }},
        {"GetDLLOrdinalVersion", {0},
         [](const Plugin& plugin, Arguments& a, int n) { return CALL(GetDLLOrdinalVersion)(Or(n, 0, &a.word)); }},
        {"GetDLLType", {0, 1},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(GetDLLType)(Or(n, 0, a.buffer.data()), Or(n, 1, &a.len));
         }},
        {"GetTemplates", {0, 1},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(GetTemplates)(Or(n, 0, a.buffer.data()), Or(n, 1, &a.len));
         }},
        {"GetSupportedFileExtensions", {0, 1},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(GetSupportedFileExtensions)(Or(n, 0, a.buffer.data()), Or(n, 1, &a.len));
         }},
        {"IsCommandLineExecutionSupported", {0, 1},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(IsCommandLineExecutionSupported)(Or(n, 0, a.text), Or(n, 1, &a.word));
         }},
        {"CanUpgradeToolchain", {0, 1},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(CanUpgradeToolchain)(Or(n, 0, &a.record), Or(n, 1, &a.record));
         }},
        {"UpgradePhaseOrder", {0, 1, 2, 3, 4},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(UpgradePhaseOrder)(Or(n, 0, &a.record), Or(n, 1, &a.record), Or(n, 2, a.list),
                                            Or(n, 3, a.buffer.data()), Or(n, 4, &a.len));
         }},
        {"UpgradePhases", {0, 1, 2, 3, 4, 5, 6},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(UpgradePhases)(Or(n, 0, &a.pointer), Or(n, 1, &a.pointer), Or(n, 2, a.list),
                                        Or(n, 3, a.list), Or(n, 4, a.text), Or(n, 5, a.buffer.data()),
                                        Or(n, 6, &a.len));
         }},
        {"UpgradePhaseOptions", {0, 1, 2, 4, 5, 6},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(UpgradePhaseOptions)(Or(n, 0, &a.record), Or(n, 1, &a.record), Or(n, 2, a.text), 0,
                                              Or(n, 4, a.list), Or(n, 5, a.buffer.data()), Or(n, 6, &a.len));
         }},
        {"UpgradePhaseMappings", {0, 2, 3, 4},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(UpgradePhaseMappings)(Or(n, 0, &a.pointer), 0, Or(n, 2, a.list),
                                               Or(n, 3, a.buffer.data()), Or(n, 4, &a.len));
         }},
        {"ConvertPhaseOptions", {0, 1, 2, 3, 4, 5},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(ConvertPhaseOptions)(Or(n, 0, &a.record), Or(n, 1, a.text), Or(n, 2, a.text),
                                              Or(n, 3, a.text), Or(n, 4, a.buffer.data()), Or(n, 5, &a.len));
         }},
        {"CheckOptionConsistency", {0, 1, 2, 3, 4, 5, 6, 7},
         [](const Plugin& plugin, Arguments& a, int n) {
             const void* p = &a.pointer;
             return CALL(CheckOptionConsistency)(Or(n, 0, p), Or(n, 1, p), Or(n, 2, p), Or(n, 3, p),
                                                 Or(n, 4, p), Or(n, 5, p), Or(n, 6, p), Or(n, 7, p));
         }},
        {"GetIncludeFileDirectories", {0, 1, 2, 3},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(GetIncludeFileDirectories)(Or(n, 0, a.text), Or(n, 1, a.text), Or(n, 2, a.buffer.data()),
                                                    Or(n, 3, &a.len));
         }},
        {"SetIncludeFileDirectories", {0, 1, 2, 3, 4},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(SetIncludeFileDirectories)(Or(n, 0, a.text), Or(n, 1, a.text), Or(n, 2, a.list),
                                                    Or(n, 3, a.buffer.data()), Or(n, 4, &a.len));
         }},
        {"GetDefines", {0, 1, 2, 3},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(GetDefines)(Or(n, 0, a.text), Or(n, 1, a.text), Or(n, 2, a.buffer.data()),
                                     Or(n, 3, &a.len));
         }},
        {"SetDefines", {0, 1, 2, 3, 4},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(SetDefines)(Or(n, 0, a.text), Or(n, 1, a.text), Or(n, 2, a.list),
                                     Or(n, 3, a.buffer.data()), Or(n, 4, &a.len));
         }},
        {"GetLinkerMapFile", {1, 2, 3},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(GetLinkerMapFile)(0, Or(n, 1, a.text), Or(n, 2, a.buffer.data()), Or(n, 3, &a.len));
         }},
        {"GetLinkerInformation", {0, 1, 2},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(GetLinkerInformation)(Or(n, 0, &a.record), Or(n, 1, &a.word), Or(n, 2, &a.word));
         }},
        {"IsLinkedByCommandFile", {0, 1, 2},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(IsLinkedByCommandFile)(Or(n, 0, &a.pointer), Or(n, 1, a.text), Or(n, 2, &a.word));
         }},
        {"IsPreprocessorScanEnabled", {0, 1, 2},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(IsPreprocessorScanEnabled)(Or(n, 0, &a.pointer), Or(n, 1, a.text), Or(n, 2, &a.word));
         }},
        {"GetLibraryFiles", {0, 1, 2},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(GetLibraryFiles)(Or(n, 0, a.text), Or(n, 1, a.buffer.data()), Or(n, 2, &a.len));
         }},
        {"SetLibraryFiles", {0, 1, 2, 3},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(SetLibraryFiles)(Or(n, 0, a.text), Or(n, 1, a.text), Or(n, 2, a.buffer.data()),
                                          Or(n, 3, &a.len));
         }},
        {"GetNoOfMemoryAreas", {1, 2},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(GetNoOfMemoryAreas)(0, Or(n, 1, a.text), Or(n, 2, &a.word));
         }},
        {"GetAddressRanges", {1, 3, 4},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(GetAddressRanges)(0, Or(n, 1, a.text), 1, Or(n, 3, a.buffer.data()), Or(n, 4, &a.len));
         }},
        {"GetSections", {0, 1, 3, 4},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(GetSections)(Or(n, 0, &a.pointer), Or(n, 1, a.text), 1, Or(n, 3, a.buffer.data()),
                                      Or(n, 4, &a.len));
         }},
        {"UpdateLinkerSections", {0, 1, 2, 3, 4},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(UpdateLinkerSections)(Or(n, 0, &a.pointer), Or(n, 1, a.text), Or(n, 2, a.areas.data()),
                                               Or(n, 3, a.buffer.data()), Or(n, 4, &a.len));
         }},
        {"GetSyntaxColouringInformation", {0, 1, 2},
         [](const Plugin& plugin, Arguments& a, int n) {
             return CALL(GetSyntaxColouringInformation)(Or(n, 0, a.text), Or(n, 1, a.buffer.data()),
                                                        Or(n, 2, &a.len));
         }},
        {"GetSyntaxColouringVersion", {0},
         [](const Plugin& plugin, Arguments& a, int n) { return CALL(GetSyntaxColouringVersion)(Or(n, 0, &a.word)); }},
    };
    return rows;
}

TEST(ExportFrame, EveryCheckedNullFailsBeforeAnyWork) {
    Plugin plugin(BuiltPluginFile());
    for (const CheckedExport& row : Exports()) {
        for (int index : row.checked) {
            SCOPED_TRACE(std::string(row.name) + " with argument " + std::to_string(index) + " null");
            Arguments args;
            EXPECT_EQ(row.call(plugin, args, index), 1);
            EXPECT_TRUE(args.Untouched()) << "buffer or length written";
            EXPECT_EQ(args.word, 7u) << "output written";
        }
    }
}

TEST(ExportFrame, EveryExportThatChecksPointersHasARow) {
    // The summary exports and the build output line check no pointer; every other export does.
    const std::set<std::string> unchecked = {"ResetSummaryInformation", "DisplaySummaryInformation",
                                             "GetMakefileOutputLineInfo"};
    std::set<std::string> rows;
    for (const CheckedExport& row : Exports()) rows.insert(row.name);
    std::ifstream list(VIVO_SOURCE_DIR "/src/interface/exports.list");
    int exports = 0;
    for (std::string name; std::getline(list, name); ++exports) {
        EXPECT_TRUE(unchecked.count(name) || rows.count(name)) << name;
    }
    EXPECT_EQ(exports, 33);
    EXPECT_EQ(rows.size(), 30u);
}

}  // namespace
}  // namespace vivo::test
