// vivo change end to end on the example KZ projects: every in-family conversion compared byte for byte
// with the converted project and Upgrade.txt worked out by hand, and the changes that must write nothing.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/plugin.h"
#include "support/posix/host_runner.h"

namespace vivo::test {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(VIVO_SOURCE_DIR) / "examples" / "kz";
// One folder per conversion kind, named after it: the converted project under its output name and Upgrade.txt.
const fs::path kExpected = fs::path(VIVO_SOURCE_DIR) / "tests" / "e2e" / "expected";

std::set<std::string> FilesIn(const fs::path& dir, bool folders = false) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir))
        if (entry.is_directory() == folders) names.insert(entry.path().filename());
    return names;
}

// vivo on a project file, with standard input not a terminal (the report dialog confirms with its check box).
HostRun Change(const fs::path& project, const std::string& target, const char* more = nullptr) {
    std::vector<std::string> words{"change", project.string(), "--to", target};
    if (more != nullptr) words.push_back(more);
    return RunVivo(words);
}

// One row per in-family conversion kind (also the folder of its expected files), each from the example below
// examples/kz of the version the kind starts from, to the version passed with --to.
struct Conversion { const char *kind, *example, *target; };
constexpr std::array kConversions = {
    Conversion{"Copy", "battery_monitor_1.02.01.vivo", "1.02.01"},
    Conversion{"Upgrade10000to10001", "pump_controller_1.00.00.vivo", "1.00.01"},
    Conversion{"Upgrade10000to10200", "pump_controller_1.00.00.vivo", "1.02.00"},
    Conversion{"Upgrade10100to10200", "weather_station_1.01.00.vivo", "1.02.00"},
    Conversion{"Downgrade10200to10100", "motor_drive_1.02.00.vivo", "1.01.00"},
    Conversion{"Upgrade10001to10200", "door_lock_1.00.01.vivo", "1.02.00"},
    Conversion{"Upgrade10000to10201", "pump_controller_1.00.00.vivo", "1.02.01"},
    Conversion{"Upgrade10001to10201", "door_lock_1.00.01.vivo", "1.02.01"},
    Conversion{"Upgrade10100to10201", "weather_station_1.01.00.vivo", "1.02.01"},
    Conversion{"Upgrade10200to10201", "motor_drive_1.02.00.vivo", "1.02.01"},
    Conversion{"Upgrade10000to10100", "pump_controller_1.00.00.vivo", "1.01.00"},
    Conversion{"Upgrade10001to10100", "door_lock_1.00.01.vivo", "1.01.00"},
    Conversion{"Downgrade10201to10200", "battery_monitor_1.02.01.vivo", "1.02.00"},
    Conversion{"Downgrade10201to10100", "battery_monitor_1.02.01.vivo", "1.01.00"},
};

TEST(KzChange, EachInFamilyKindGivesTheHandWorkedProjectAndUpgradeTxt) {
    std::set<std::string> used;
    for (const Conversion& row : kConversions) {
        SCOPED_TRACE(row.kind);
        used.insert(row.kind);
        const std::string original = ReadBytes(kExamples / row.example);
        ASSERT_FALSE(original.empty()) << row.example;
        TempDir dir;
        const fs::path project = dir.Write(row.example, original);
        const std::string outputName = project.stem().string() + ".kz-" + row.target + ".vivo";
        const HostRun run = Change(project, row.target);
        ASSERT_LE(run.exitCode, 1) << run.err;  // 1: something needs attention
        EXPECT_EQ(run.out, (dir.path() / outputName).string() + "\n" + (dir.path() / "Upgrade.txt").string() + "\n");
        EXPECT_EQ(ReadBytes(dir.path() / outputName), ReadBytes(kExpected / row.kind / outputName));
        EXPECT_EQ(ReadBytes(dir.path() / "Upgrade.txt"), ReadBytes(kExpected / row.kind / "Upgrade.txt"));
        EXPECT_EQ(ReadBytes(project), original) << "the original was touched";
        EXPECT_EQ(FilesIn(dir.path()), (std::set<std::string>{row.example, outputName, "Upgrade.txt"}));
    }
    EXPECT_EQ(used, FilesIn(kExpected, true)) << "an expected folder without a row, or a row without one";
}

TEST(KzChange, RefusedChangesAndDryRunsWriteNothing) {
    // Columns: name, example, target version, further arguments, exit code, what standard error (a
    // refusal) or standard output (a dry run) says.
    struct Row { const char *name, *example, *target, *more; int exitCode; const char* says; };
    const Row rows[] = {
        {"downgrade that no record covers", "weather_station_1.01.00.vivo", "1.00.00", nullptr, 2,
         "no change from Veltora KZ Standard Toolchain 1.01.00 to Veltora KZ Standard Toolchain 1.00.00; "
         "this project can go to 1.01.00, 1.02.00, 1.02.01"},
        {"dry run", "door_lock_1.00.01.vivo", "1.01.00", "--dry-run", 1, "[S|SECTION|L=C]"},
        {"dry run of a downgrade", "battery_monitor_1.02.01.vivo", "1.01.00", "--dry-run", 1,
         "-> [S|INPUT|\"$(CONFIGDIR)\\cell balance.obj\"]\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string text = ReadBytes(kExamples / row.example);
        const fs::path project = dir.Write(row.example, text);
        const HostRun run = Change(project, row.target, row.more);
        EXPECT_EQ(run.exitCode, row.exitCode) << run.err;
        const std::string& said = row.exitCode == 2 ? run.err : run.out;
        EXPECT_NE(said.find(row.says), std::string::npos) << said;
        EXPECT_EQ(ReadBytes(project), text);
        EXPECT_EQ(FilesIn(dir.path()), std::set<std::string>{row.example}) << "something was written";
    }
}

}  // namespace
}  // namespace vivo::test
