// Reviewing a migration end to end: the dry run's text and the JSON report of every example project
// compared byte for byte with the files worked out from the project before and after
// (tests/tools/review/), every report checked against the shipped JSON Schema, each older family's
// example converted to the project and Upgrade.txt worked out by hand (tests/e2e/families/), and all
// examples converted in one run with a broken project among them.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/posix/scoped_environment.h"
#include "support/plugin.h"
#include "support/posix/host_runner.h"

namespace vivo::test {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = VIVO_SOURCE_DIR;
const fs::path kReview = kSource / "tests/tools/review";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Validates every report against the schema with Debian's python3-jsonschema; "" when all are valid.
std::string SchemaErrors(const std::vector<fs::path>& reports) {
    std::string command = "/usr/bin/python3 -c 'import json, sys, jsonschema\n"
                          "schema = json.load(open(sys.argv[1]))\n"
                          "jsonschema.validators.validator_for(schema).check_schema(schema)\n"
                          "for f in sys.argv[2:]: jsonschema.validators.validator_for(schema)(schema).validate("
                          "json.load(open(f, encoding=\"utf-8\")))' " +
                          Quoted((kSource / "schemas/migration-report-1.schema.json").string());
    for (const fs::path& report : reports) command += " " + Quoted(report.string());
    const HostRun run = RunShell(command);
    return run.exitCode == 0 ? "" : "exit " + std::to_string(run.exitCode) + ": " + run.err;
}

// Each example's dry run and report; each older family's example also converted for real.
TEST(ChangeReview, DryRunTextAndReportOfEveryExampleAreTheWorkedOutOnes) {
    // Columns: name of the expected files (tests/tools/review/, and tests/e2e/families/ for a family), example
    // below examples/, target version, whether the registry holds an installed RTOS.
    struct Row { const char *name, *example, *target; bool orvik; };
    const Row rows[] = {
        {"pexa-v545", "families/pexa-v545/Blinky545.vivo", "1.01.00", true},
        {"pexa-v545-library", "families/pexa-v545-library/MathLib545.vivo", "1.01.00", false},
        {"pexa-v545-srec", "families/pexa-v545-srec/Loader545.vivo", "1.01.00", false},
        {"pexa-v600", "families/pexa-v600/Motor600.vivo", "1.01.00", false},
        {"lumo-v6", "families/lumo-v6/Sensor6.vivo", "1.01.00", false},
        {"lumo-v7", "families/lumo-v7/Gateway7.vivo", "1.01.00", false},
        {"tessaro-v904", "families/tessaro-v904/Pump904.vivo", "1.01.00", false},
        {"kz-1.00.00-to-1.02.01", "kz/pump_controller_1.00.00.vivo", "1.02.01", false},
        {"kz-1.00.01-to-1.01.00", "kz/door_lock_1.00.01.vivo", "1.01.00", false},
        {"kz-1.01.00-to-1.02.00", "kz/weather_station_1.01.00.vivo", "1.02.00", false},
        {"kz-1.02.00-to-1.02.01", "kz/motor_drive_1.02.00.vivo", "1.02.01", false},
        {"kz-1.02.01-to-1.01.00-downgrade", "kz/battery_monitor_1.02.01.vivo", "1.01.00", false},
    };
    TempDir work;
    std::vector<fs::path> reports;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir hklm;
        if (row.orvik)
            for (const char* key : {"Fennic", "Orvik/Docs", "Orvik/V.2.10 Release 03"})
                fs::create_directories(hklm.path() / "SOFTWARE/Veltora/RTOS" / key);
        const platform::ScopedEnvironment registry("VIVO_HKLM", hklm.path().c_str());
        const fs::path report = work.path() / (std::string(row.name) + ".json");
        const HostRun run = RunVivo({"change", (kSource / "examples" / row.example).string(), "--to", row.target,
                                     "--dry-run", "--report", report.string()});
        const std::string text = Replaced(run.out, kSource.string() + "/", "");
        EXPECT_EQ(text, ReadBytes(kReview / (std::string(row.name) + ".txt")));
        EXPECT_EQ(Replaced(ReadBytes(report), kSource.string() + "/", ""),
                  ReadBytes(kReview / (std::string(row.name) + ".json")));
        EXPECT_EQ(run.exitCode, text.find("\nNeeds attention (0)\n") == std::string::npos ? 1 : 0) << run.err;
        EXPECT_EQ(run.err, "");
        reports.push_back(report);
        if (!std::string_view(row.example).starts_with("families/")) continue;  // KZ: tests/e2e/posix/kz_change_test.cpp

        // The change itself, compared byte for byte with the converted project and Upgrade.txt worked out by hand.
        TempDir dir;
        const fs::path project = dir.Write(fs::path(row.example).filename(), ReadBytes(kSource / "examples" / row.example));
        const fs::path expected = kSource / "tests/e2e/families" / row.name;
        const std::string converted = project.stem().string() + ".kz-1.01.00.vivo";
        const HostRun change = RunVivo({"change", project.string(), "--to", "1.01.00"});
        ASSERT_LE(change.exitCode, 1) << change.err;  // 1: something needs attention
        EXPECT_EQ(ReadBytes(dir.path() / converted), ReadBytes(expected / converted));
        EXPECT_EQ(ReadBytes(dir.path() / "Upgrade.txt"), ReadBytes(expected / "Upgrade.txt"));
    }

    // A Shift_JIS project: its bytes come back from the report by the "latin1" rule.
    const std::string sjis = "\x83\x65\x83\x58\x83\x67";
    const fs::path project = work.Write(
        "sjis.vivo", "@project " + sjis + "\n@toolchain Veltora KZ Standard Toolchain\n@version 1.00.01\n@phases\n"
                     "Veltora KZ C/C++ Compiler|SYSTEM|1\n@options Veltora KZ C/C++ Compiler\n[S|DEFINE|N=" + sjis + "]\n");
    const fs::path report = work.path() / "sjis.json";
    const HostRun run = RunVivo({"change", project.string(), "--to", "1.01.00", "--dry-run", "--report", report.string()});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    const nlohmann::json parsed = nlohmann::json::parse(ReadBytes(report));
    EXPECT_EQ(parsed["latin1"], (nlohmann::json{"/projects/0/project", "/projects/0/phases/0/options",
                                                "/projects/0/phases/0/items/0/old"}));
    const std::string text = parsed["projects"][0]["phases"][0]["items"][0]["old"];
    std::string bytes;  // each character (U+0000 to U+00FF, one or two bytes of UTF-8) as one byte
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        bytes += c < 0x80 ? static_cast<char>(c) : static_cast<char>(((c & 0x1F) << 6) | (text[++i] & 0x3F));
    }
    EXPECT_EQ(bytes, "[S|DEFINE|N=" + sjis + "]");
    reports.push_back(report);
    EXPECT_EQ(SchemaErrors(reports), "");

    // The schema is no formality: a report with an item status it does not know fails it.
    const std::string wrong = Replaced(ReadBytes(reports[0]), "\"status\": \"moved\"", "\"status\": \"lost\"");
    EXPECT_NE(SchemaErrors({work.Write("wrong.json", wrong)}), "");
}

// Every example in one run, in turn and side by side (a process each): every project converted, its
// Upgrade.txt beside it (named after it where projects share a folder), the same files either way.
TEST(ChangeReview, EveryExampleInOneRunWithABrokenProjectAmongThem) {
    TempDir hklm, kept;
    const platform::ScopedEnvironment registry("VIVO_HKLM", hklm.path().c_str());
    std::vector<fs::path> reports;
    std::vector<std::map<std::string, std::string>> written;
    for (const char* jobs : {"1", "3"}) {
        SCOPED_TRACE(std::string("jobs ") + jobs);
        TempDir work;
        fs::copy(kSource / "examples", work.path() / "examples", fs::copy_options::recursive);
        work.Write("examples/broken.vivo", "@project Broken\n@options\n");
        const fs::path report = work.path() / "report.json";
        const HostRun run = RunVivo({"change", (work.path() / "examples").string(), "--to", "1.01.00", "--report",
                                     report.string(), "--jobs", jobs});
        EXPECT_EQ(run.exitCode, 2);
        // The closing table, then the report written.
        const std::string end = ReadBytes(kReview / "all-projects.txt") + "report.json\n";
        const std::string out = Replaced(run.out, work.path().string() + "/", "");
        ASSERT_GE(out.size(), end.size()) << out;
        EXPECT_EQ(out.substr(out.size() - end.size()), end);
        EXPECT_NE(run.err.find("vivo: " + (work.path() / "examples/broken.vivo").string() +
                               ":2: @options needs the tool name\n"),
                  std::string::npos)
            << run.err;
        written.push_back(FilesBelow(work.path() / "examples"));
        for (const auto& entry : fs::recursive_directory_iterator(kSource / "examples")) {
            const fs::path example = fs::relative(entry.path(), kSource / "examples");
            if (example.extension() != ".vivo") continue;
            const std::string stem = (example.parent_path() / example.stem()).string();
            const bool shared = example.string().starts_with("kz/");
            EXPECT_TRUE(written.back().count(stem + ".kz-1.01.00.vivo")) << example;
            EXPECT_TRUE(written.back().count(shared ? stem + ".Upgrade.txt" : (example.parent_path() / "Upgrade.txt").string()))
                << example;
        }
        reports.push_back(kept.Write(std::to_string(reports.size()) + ".json",
                                     Replaced(ReadBytes(report), work.path().string() + "/", "")));
    }
    EXPECT_TRUE(written[0] == written[1]) << "the jobs changed what was written";
    EXPECT_EQ(written[0]["kz/door_lock_1.00.01.kz-1.01.00.vivo"],
              ReadBytes(kSource / "tests/e2e/expected/Upgrade10001to10100/door_lock_1.00.01.kz-1.01.00.vivo"));
    EXPECT_EQ(written[0]["families/pexa-v600/Motor600.kz-1.01.00.vivo"],
              ReadBytes(kSource / "tests/e2e/families/pexa-v600/Motor600.kz-1.01.00.vivo"));
    EXPECT_EQ(ReadBytes(reports[0]), ReadBytes(reports[1])) << "the jobs changed the report";
    EXPECT_EQ(SchemaErrors(reports), "");
}

}  // namespace
}  // namespace vivo::test
