// Listing subkeys below HKEY_LOCAL_MACHINE through the real registry, in the order that the POSIX
// registry tree imitates. The keys are volatile and removed again: the registry is the test run's own
// (a Wine prefix).
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace vivo::platform {
namespace {

class VolatileKeys {
public:
    explicit VolatileKeys(const std::vector<std::string>& subkeys)
        : root_("SOFTWARE\\VivoTest-" + std::to_string(GetCurrentProcessId())) {
        for (const std::string& subkey : subkeys) {
            HKEY key = nullptr;
            const std::string path = root_ + "\\Veltora\\RTOS\\" + subkey;
            EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                                      nullptr, &key, nullptr), ERROR_SUCCESS) << path;
            if (key != nullptr) RegCloseKey(key);
        }
    }
    ~VolatileKeys() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, root_.c_str()); }
    const std::string& root() const { return root_; }

private:
    std::string root_;
};

TEST(Registry, ListsSubkeysInTheRegistrysOrder) {
    // Case-insensitive name order: "alpha" before "Beta" before "zeta". (Names with "_" are left out:
    // Windows orders them after "Z", Wine before "a".)
    const VolatileKeys keys({"zeta", "Beta", "alpha"});
    using Names = std::vector<std::string>;
    const struct { const char* name; std::string path; std::optional<Names> expected; } rows[] = {
        {"as stored", keys.root() + "\\Veltora\\RTOS", Names{"alpha", "Beta", "zeta"}},
        {"other case, trailing backslash", keys.root() + "\\VELTORA\\rtos\\", Names{"alpha", "Beta", "zeta"}},
        {"a key without subkeys", keys.root() + "\\Veltora\\RTOS\\ZETA", Names{}},
        {"missing key", keys.root() + "\\Veltora\\Absent", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ListRegistrySubkeys(row.path), row.expected);
    }
}

}  // namespace
}  // namespace vivo::platform
