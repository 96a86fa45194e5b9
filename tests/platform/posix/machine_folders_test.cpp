// The registry on POSIX: a directory tree below $VIVO_HKLM.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/common_folder.h"
#include "platform/posix/scoped_environment.h"
#include "platform/registry.h"
#include "support/plugin.h"

namespace vivo::platform {
namespace {

namespace fs = std::filesystem;

TEST(PosixRegistry, ListsSubkeysOfADirectoryTree) {
    using Names = std::vector<std::string>;
    // In the registry's order: upper-cased names ascending, so "_x" (0x5F) comes after "Zeta".
    const Names kRtosKeys = {"Alpha", "beta", "Orvik", "V.1.2 Release 3", "Zeta", "_x"};
    test::TempDir dir;
    const fs::path rtos = dir.path() / "SOFTWARE" / "Veltora" / "RTOS";
    for (const auto& key : kRtosKeys) fs::create_directories(rtos / key);
    fs::create_directories(rtos / "Orvik" / "V.4.0 Release 1");
    dir.Write("SOFTWARE/Veltora/RTOS/value.txt", "a value, not a key");
    ScopedEnvironment root("VIVO_HKLM", dir.path().c_str());

    // Columns: name, key path, subkeys (nothing: the key does not open).
    const struct { const char* name; const char* keyPath; std::optional<Names> expected; } rows[] = {
        {"registry order, components in any case", "software\\VELTORA\\rTOS", kRtosKeys},
        {"trailing backslash", "SOFTWARE\\Veltora\\RTOS\\", kRtosKeys},
        {"names as stored", "SOFTWARE\\Veltora\\RTOS\\ORVIK", Names{"V.4.0 Release 1"}},
        {"key without subkeys", "SOFTWARE\\Veltora\\RTOS\\Alpha", Names{}},
        {"missing key", "SOFTWARE\\Nobody", std::nullopt},
        {"a value is not a key", "SOFTWARE\\Veltora\\RTOS\\value.txt", std::nullopt},
        {"no way out of the tree", "SOFTWARE\\..\\SOFTWARE", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ListRegistrySubkeys(row.keyPath), row.expected);
    }
    ScopedEnvironment absent("VIVO_HKLM", (dir.path() / "absent").c_str());
    EXPECT_EQ(ListRegistrySubkeys("SOFTWARE"), std::nullopt);
}

}  // namespace
}  // namespace vivo::platform
