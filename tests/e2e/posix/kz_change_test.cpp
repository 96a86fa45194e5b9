// vivo change end to end on the example KZ projects: every in-family conversion compared byte for byte
// with the converted project and Upgrade.txt worked out by hand, and the changes that must write nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "support/plugin.h"
#include "support/posix/host_runner.h"

namespace vivo::test {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(VIVO_SOURCE_DIR) / "examples" / "kz";
// One folder per conversion kind, named after it: the converted project under its output name and Upgrade.txt.
const fs::path kExpected = fs::path(VIVO_SOURCE_DIR) / "tests" / "e2e" / "expected";

constexpr const char* kToolchain = "Veltora KZ Standard Toolchain";

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::set<std::string> FilesIn(const fs::path& dir, bool folders = false) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir))
        if (entry.is_directory() == folders) names.insert(entry.path().filename());
    return names;
}

// The value of the line "@keyword value" of a project text that begins with comment lines.
std::string HeaderValue(const std::string& text, const std::string& keyword) {
    const std::string start = "\n@" + keyword + " ";
    const std::size_t at = text.find(start);
    if (at == std::string::npos) return {};
    const std::size_t value = at + start.size();
    return text.substr(value, text.find('\n', value) - value);
}

// vivo on a project file, with standard input not a terminal (the report dialog confirms with its check box).
HostRun Change(const fs::path& project, const std::string& target, const std::string& more = "") {
    return RunHost("--plugin '" + BuiltPluginFile().string() + "' change '" + project.string() + "' --to " + target +
                   more);
}

struct Conversion {
    const char* kind;     // conversion name, also the folder of the expected files
    const char* example;  // project file below examples/kz
    const char* target;   // version passed with --to
};

// One row per in-family conversion kind, each from the example of the version the kind starts from.
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
    const std::string definitions = ReadBytes(BuiltPluginFile().parent_path() / "TC.ini");
    std::set<std::string> used;
    for (const Conversion& row : kConversions) {
        SCOPED_TRACE(row.kind);
        used.insert(row.kind);
        const std::string original = ReadBytes(kExamples / row.example);
        ASSERT_FALSE(original.empty()) << row.example;
        // The row tests the kind it names only while the shipped definitions map its versions to that kind.
        const std::string record = std::string(kToolchain) + "," + HeaderValue(original, "version") + "," +
                                   kToolchain + "," + row.target + "," + row.kind;
        EXPECT_NE(definitions.find("=" + record + "\n"), std::string::npos) << record;

        TempDir dir;
        const fs::path project = dir.Write(row.example, original);
        const std::string outputName = project.stem().string() + ".kz-" + row.target + ".vivo";
        const HostRun run = Change(project, row.target);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, (dir.path() / outputName).string() + "\n");

        EXPECT_EQ(ReadBytes(dir.path() / outputName), ReadBytes(kExpected / row.kind / outputName));
        EXPECT_EQ(ReadBytes(dir.path() / "Upgrade.txt"), ReadBytes(kExpected / row.kind / "Upgrade.txt"));
        EXPECT_EQ(ReadBytes(project), original) << "the original was touched";
        EXPECT_EQ(FilesIn(dir.path()), (std::set<std::string>{row.example, outputName, "Upgrade.txt"}));
    }
    EXPECT_EQ(used, FilesIn(kExpected, true)) << "an expected folder without a row, or a row without one";
}

TEST(KzChange, RefusedChangesAndDryRunsWriteNothing) {
    struct Row {
        const char* name;
        const char* example;
        const char* target;
        const char* more;         // further arguments
        const char* breakFrom;    // text of the example replaced by `breakTo` before the run, or null
        const char* breakTo;
        int exitCode;
        const char* says;         // on standard error (refusals) or standard output (dry runs)
    };
    const Row rows[] = {
        {"downgrade that no record covers", "weather_station_1.01.00.vivo", "1.00.00", "", nullptr, nullptr, 2,
         "no toolchain change is defined from Veltora KZ Standard Toolchain 1.01.00 to "
         "Veltora KZ Standard Toolchain 1.00.00"},
        {"version the toolchain never had", "motor_drive_1.02.00.vivo", "1.03.00", "", nullptr, nullptr, 2,
         "no toolchain change is defined"},
        {"phase line without a bar", "motor_drive_1.02.00.vivo", "1.02.01", "", "Veltora Bindex|SYSTEM|1\n",
         "Veltora Bindex\n", 2, "a phase line is tool|kind|state, without a bar here"},
        {"misspelt section", "door_lock_1.00.01.vivo", "1.01.00", "", "@mappings\n", "@mapping\n", 2,
         "unknown section @mapping"},
        {"dry run", "door_lock_1.00.01.vivo", "1.01.00", " --dry-run", nullptr, nullptr, 0, "[S|SECTION|L=C]"},
        {"dry run of a downgrade", "battery_monitor_1.02.01.vivo", "1.01.00", " --dry-run", nullptr, nullptr, 0,
         "[S|INPUT|\"$(CONFIGDIR)\\cell balance.obj\"] "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string text = ReadBytes(kExamples / row.example);
        std::string where;  // "file:line:" of the broken line
        if (row.breakFrom != nullptr) {
            const std::size_t at = text.find(row.breakFrom);
            ASSERT_NE(at, std::string::npos);
            text.replace(at, std::string(row.breakFrom).size(), row.breakTo);
            where = ":" + std::to_string(1 + std::count(text.begin(), text.begin() + at, '\n')) + ": ";
        }
        TempDir dir;
        const fs::path project = dir.Write(row.example, text);
        const HostRun run = Change(project, row.target, row.more);
        EXPECT_EQ(run.exitCode, row.exitCode) << run.err;
        const std::string& said = row.exitCode == 0 ? run.out : run.err;
        EXPECT_NE(said.find(row.says), std::string::npos) << said;
        if (!where.empty()) {
            EXPECT_NE(run.err.find(project.string() + where + row.says), std::string::npos) << run.err;
        }
        EXPECT_EQ(ReadBytes(project), text);
        EXPECT_EQ(FilesIn(dir.path()), std::set<std::string>{row.example}) << "something was written";
    }
}

}  // namespace
}  // namespace vivo::test
