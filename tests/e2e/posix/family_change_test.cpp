// vivo change end to end: the example project of each older toolchain family converted to KZ
// 1.01.00 by the built host and plug-in, compared byte for byte with the converted project and the
// Upgrade.txt worked out by hand (tests/e2e/families/<family>/).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/posix/scoped_environment.h"
#include "support/plugin.h"
#include "support/posix/host_runner.h"

namespace vivo::test {
namespace {

namespace fs = std::filesystem;

TEST(FamilyChange, EachFamilysExampleConvertsToTheHandWorkedProjectAndSummary) {
    // Columns: folder below examples/families and tests/e2e/families, the example's file name, whether the
    // registry holds an installed RTOS.
    struct Row { const char *family, *project; bool orvik; };
    const Row rows[] = {
        {"pexa-v545", "Blinky545.vivo", true},
        {"pexa-v545-library", "MathLib545.vivo", false},
        {"pexa-v545-srec", "Loader545.vivo", false},
        {"pexa-v600", "Motor600.vivo", false},
        {"lumo-v6", "Sensor6.vivo", false},
        {"lumo-v7", "Gateway7.vivo", false},
        {"tessaro-v904", "Pump904.vivo", false},
    };
    const fs::path examples = fs::path(VIVO_SOURCE_DIR) / "examples" / "families";
    const fs::path expected = fs::path(VIVO_SOURCE_DIR) / "tests" / "e2e" / "families";
    const char* kzTools[] = {"Veltora KZ C/C++ Library Generator", "Veltora KZ C/C++ Compiler", "Veltora KZ Assembler",
                             "Veltora Bindex", "Veltora KZ Configurator"};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.family);
        TempDir work, hklm;
        // An installed Orvik as the registry holds it: another product first, a subkey without a version.
        for (const char* key : {"Fennic", "Orvik/Docs", "Orvik/V.2.10 Release 03"})
            if (row.orvik) fs::create_directories(hklm.path() / "SOFTWARE/Veltora/RTOS" / key);
        const platform::ScopedEnvironment registry("VIVO_HKLM", hklm.path().c_str());
        const fs::path project = work.Write(row.project, ReadBytes(examples / row.family / row.project));
        const fs::path report = work.path() / "report.json";
        const HostRun run = RunHost("--plugin '" + BuiltPluginFile().string() + "' change '" + project.string() +
                                    "' --to 1.01.00 --report '" + report.string() + "'");
        ASSERT_LE(run.exitCode, 1) << run.err;  // 1: something needs attention
        const std::string converted = project.stem().string() + ".kz-1.01.00.vivo";
        EXPECT_EQ(ReadBytes(work.path() / converted), ReadBytes(expected / row.family / converted));
        EXPECT_EQ(ReadBytes(work.path() / "Upgrade.txt"), ReadBytes(expected / row.family / "Upgrade.txt"));

        // The migration report is JSON as Python's own strict reader takes it.
        const std::string json = ReadBytes(report);
        EXPECT_EQ(std::system(("/usr/bin/python3 -c 'import json, sys; json.load(open(sys.argv[1], encoding=\"utf-8\"))' '" +
                               report.string() + "'").c_str()), 0) << json;
        std::vector<std::string> phases;
        const nlohmann::json parsed = nlohmann::json::parse(json);
        for (const auto& phase : parsed["projects"][0]["phases"]) phases.push_back(phase["phase"]);
        EXPECT_EQ(std::set<std::string>(phases.begin(), phases.end()),
                  std::set<std::string>(std::begin(kzTools), std::end(kzTools)));
    }
}

}  // namespace
}  // namespace vivo::test
