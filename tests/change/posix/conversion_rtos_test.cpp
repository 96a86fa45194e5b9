// The installed real-time OS as the conversions read it from the registry, here a directory tree.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "change/conversion_helpers.h"
#include "platform/posix/scoped_environment.h"
#include "support/plugin.h"

namespace vivo {
namespace {

namespace fs = std::filesystem;

// Columns: name, keys below HKLM ("/"-separated; none: no registry at all), the items.
struct RtosRow { const char* name; std::vector<std::string> keys; std::string items; };

TEST(GetRtosItems, ReadsProductAndFirstVersionInRegistryOrder) {
    const std::string r = "SOFTWARE/Veltora/RTOS/";
    const std::array rows = {
        RtosRow{"no registry", {}, ""},
        RtosRow{"no RTOS key", {"SOFTWARE/Veltora"}, ""},
        RtosRow{"product names are case-sensitive", {r + "orvik/V.1.0 Release 0"}, ""},
        RtosRow{"another product only", {r + "Fennic/V.1.0 Release 0"}, ""},
        RtosRow{"product without versions", {r + "Orvik"}, R"([S|RTOSPRODUCT|"Orvik"])"},
        RtosRow{"no version with a number", {r + "Orvik/V.0.0 Release 0", r + "Orvik/Version 2"}, R"([S|RTOSPRODUCT|"Orvik"])"},
        RtosRow{"first number alone", {r + "Fennic", r + "Orvik/V.1.0 Release 0"},
                R"([S|RTOSPRODUCT|"Orvik"] [S|RTOSVERSION|"V.1.0 Release 0"])"},
        RtosRow{"registry order, not number order", {r + "Orvik/V.2.0 Release 1", r + "Orvik/V.10.0 Release 0", r + "Orvik/V.0.0 Release 0"},
                R"([S|RTOSPRODUCT|"Orvik"] [S|RTOSVERSION|"V.10.0 Release 0"])"},
        RtosRow{"key path in any case", {"software/VELTORA/rtos/Orvik/V.0.0 Release 3"},
                R"([S|RTOSPRODUCT|"Orvik"] [S|RTOSVERSION|"V.0.0 Release 3"])"},
    };
    for (const RtosRow& row : rows) {
        SCOPED_TRACE(row.name);
        test::TempDir hklm;
        for (const std::string& key : row.keys) fs::create_directories(hklm.path() / key);
        platform::ScopedEnvironment root("VIVO_HKLM", (hklm.path() / (row.keys.empty() ? "missing" : "")).c_str());
        EXPECT_EQ(GetRtosItems(), row.items);
    }
}

}  // namespace
}  // namespace vivo
