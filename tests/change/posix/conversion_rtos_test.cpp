// The installed real-time OS as the conversions read it from the registry, here a directory tree.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "change/conversion_helpers.h"
#include "change/cross_family.h"
#include "platform/posix/scoped_environment.h"
#include "summary/change_summary.h"
#include "support/plugin.h"

namespace vivo {
namespace {

namespace fs = std::filesystem;

// The configurator's default option string, which opens its converted options.
const std::string kConfiguratorDefaults =
    R"x([V|VERSION|1] [B|COMMAND|1] [S|SPEC|UITRON4] [S|OUTPUTPATH|"$(CONFIGDIR)"] [B|FORCEEXEC|1] [S|CPU|KZ600])x";

struct RtosRow {
    const char* name;
    std::vector<std::string> keys;  // below HKLM, "/"-separated
    std::string items;
};

TEST(GetRtosItems, ReadsProductAndFirstVersionInRegistryOrder) {
    const std::array rows = {
        RtosRow{"no RTOS key", {"SOFTWARE/Veltora"}, ""},
        RtosRow{"product names are case-sensitive", {"SOFTWARE/Veltora/RTOS/orvik/V.1.0 Release 0"}, ""},
        RtosRow{"another product only", {"SOFTWARE/Veltora/RTOS/Fennic/V.1.0 Release 0"}, ""},
        RtosRow{"product without versions", {"SOFTWARE/Veltora/RTOS/Orvik"}, R"([S|RTOSPRODUCT|"Orvik"])"},
        RtosRow{"no version with a number",
                {"SOFTWARE/Veltora/RTOS/Orvik/V.0.0 Release 0", "SOFTWARE/Veltora/RTOS/Orvik/Version 2"},
                R"([S|RTOSPRODUCT|"Orvik"])"},
        RtosRow{"first number alone", {"SOFTWARE/Veltora/RTOS/Fennic", "SOFTWARE/Veltora/RTOS/Orvik/V.1.0 Release 0"},
                R"([S|RTOSPRODUCT|"Orvik"] [S|RTOSVERSION|"V.1.0 Release 0"])"},
        RtosRow{"registry order, not number order",
                {"SOFTWARE/Veltora/RTOS/Orvik/V.2.0 Release 1", "SOFTWARE/Veltora/RTOS/Orvik/V.10.0 Release 0",
                 "SOFTWARE/Veltora/RTOS/Orvik/V.0.0 Release 0"},
                R"([S|RTOSPRODUCT|"Orvik"] [S|RTOSVERSION|"V.10.0 Release 0"])"},
        RtosRow{"key path in any case", {"software/VELTORA/rtos/Orvik/V.0.0 Release 3"},
                R"([S|RTOSPRODUCT|"Orvik"] [S|RTOSVERSION|"V.0.0 Release 3"])"},
    };
    for (const RtosRow& row : rows) {
        SCOPED_TRACE(row.name);
        test::TempDir hklm;
        for (const std::string& key : row.keys) fs::create_directories(hklm.path() / key);
        platform::ScopedEnvironment root("VIVO_HKLM", hklm.path().c_str());
        EXPECT_EQ(GetRtosItems(), row.items);
    }
}

TEST(GetRtosItems, MissingRegistryGivesNothing) {
    platform::ScopedEnvironment root("VIVO_HKLM", "/nonexistent/vivo/HKLM");
    EXPECT_EQ(GetRtosItems(), "");
}

TEST(CrossFamilyConversions, ConfiguratorEndsWithTheRtosItems) {
    struct Row {
        const char* name;
        ConversionStep conversion;
        bool installed;
        std::string result;
        std::vector<std::string> summary;
    };
    const std::array rows = {
        Row{"Pexa V5.45, no RTOS: trailing blank", ChangePexaV54500toKZV10100, false,
            kConfiguratorDefaults + R"( [S|DIRECTORY|"C:\mrc"] )",
            {"\r\nPhaseOptions:\r\n",
             "  Option \"Search directory for MRC files\" in \"RTOS -> Fennic\" has been converted to "
             "\"Search directory for MRC files\" in \"RTOS -> Ostrel\"\r\n"}},
        Row{"Pexa V6.00", ChangePexaV60000toKZV10100, true,
            kConfiguratorDefaults + R"( [S|DIRECTORY|"C:\mrc"] [S|RTOSPRODUCT|"Orvik"] [S|RTOSVERSION|"V.4.1 Release 2"])",
            {"\r\nPhaseOptions:\r\n",
             "  Option \"Search directory for MRC files\" in \"RTOS -> Fennic\" has been converted to "
             "\"Search directory for MRC files\" in \"RTOS -> Ostrel\"\r\n"}},
        Row{"Tessaro: old options not carried over", ChangeTessaroV90400toKZV10100, true,
            kConfiguratorDefaults + R"( [S|RTOSPRODUCT|"Orvik"] [S|RTOSVERSION|"V.4.1 Release 2"])", {}},
        Row{"Lumo V6, no RTOS", ChangeLumoV60000toKZV10100, false, kConfiguratorDefaults + " ", {}},
        Row{"Lumo V7", ChangeLumoV70000toKZV10100, true,
            kConfiguratorDefaults + R"( [S|RTOSPRODUCT|"Orvik"] [S|RTOSVERSION|"V.4.1 Release 2"])", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        test::TempDir hklm;
        if (row.installed) fs::create_directories(hklm.path() / "SOFTWARE/Veltora/RTOS/Orvik/V.4.1 Release 2");
        platform::ScopedEnvironment root("VIVO_HKLM", hklm.path().c_str());
        Summary().ClearLines();
        std::string result;
        EXPECT_EQ(row.conversion("Veltora KZ Configurator", {R"([S|DIRECTORY|"C:\mrc"] [S|CPU|X])"}, result), 0);
        EXPECT_EQ(result, row.result);
        EXPECT_EQ(Summary().lines, row.summary);
    }
}

}  // namespace
}  // namespace vivo
