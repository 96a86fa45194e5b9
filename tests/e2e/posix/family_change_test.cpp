// vivo change end to end: the example project of each older toolchain family converted to KZ
// 1.01.00 by the built host and plug-in, compared byte for byte with the converted project and the
// Upgrade.txt worked out by hand (tests/e2e/families/<family>/).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/scoped_environment.h"
#include "support/plugin.h"
#include "support/posix/host_runner.h"

namespace vivo::test {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Whether `text` is one well-formed JSON value; iterative, so nesting depth costs no stack.
bool IsJson(std::string_view text) {
    std::size_t i = 0;
    auto blank = [&] {
        while (i < text.size() && std::strchr(" \t\r\n", text[i]) != nullptr) ++i;
    };
    auto string = [&] {
        if (i >= text.size() || text[i] != '"') return false;
        for (++i; i < text.size(); ++i) {
            if (static_cast<unsigned char>(text[i]) < 0x20) return false;
            if (text[i] == '\\') {
                ++i;
            } else if (text[i] == '"') {
                ++i;
                return true;
            }
        }
        return false;
    };
    auto key = [&] {
        blank();
        if (!string()) return false;
        blank();
        return i < text.size() && text[i++] == ':';
    };
    std::vector<char> open;  // the closing character of each container that is open
    bool wantValue = true;
    for (;;) {
        blank();
        if (i >= text.size()) return !wantValue && open.empty();
        const char c = text[i];
        if (wantValue) {
            if (c == '{' || c == '[') {
                ++i;
                open.push_back(c == '{' ? '}' : ']');
                blank();
                if (i < text.size() && text[i] == open.back()) {
                    ++i;
                    open.pop_back();
                    wantValue = false;
                } else if (c == '{' && !key()) {
                    return false;
                }
                continue;
            }
            if (c == '"') {
                if (!string()) return false;
            } else if (text.substr(i, 4) == "true" || text.substr(i, 4) == "null") {
                i += 4;
            } else if (text.substr(i, 5) == "false") {
                i += 5;
            } else {
                const std::size_t start = i;
                while (i < text.size() && std::strchr("+-0123456789.eE", text[i]) != nullptr) ++i;
                if (i == start) return false;
            }
            wantValue = false;
        } else if (open.empty()) {
            return false;
        } else if (c == ',') {
            ++i;
            if (open.back() == '}' && !key()) return false;
            wantValue = true;
        } else if (c == open.back()) {
            ++i;
            open.pop_back();
        } else {
            return false;
        }
    }
}

TEST(FamilyChange, ReportCheckerTellsJsonFromBrokenText) {
    EXPECT_TRUE(IsJson(R"({"a": [1, {"b": null}, "x\"y"], "c": {}})"));
    EXPECT_FALSE(IsJson(R"({"a": [1, 2})"));
    EXPECT_FALSE(IsJson(R"({"a" 1})"));
    EXPECT_FALSE(IsJson(R"({"a": 1} 2)"));
}

// The real-time OS as an installed Orvik leaves it in the registry: another product first, a
// subkey without a version before the version subkey.
void InstallOrvik(const fs::path& hklm) {
    const fs::path rtos = hklm / "SOFTWARE" / "Veltora" / "RTOS";
    fs::create_directories(rtos / "Fennic");
    fs::create_directories(rtos / "Orvik" / "Docs");
    fs::create_directories(rtos / "Orvik" / "V.2.10 Release 03");
}

TEST(FamilyChange, EachFamilysExampleConvertsToTheHandWorkedProjectAndSummary) {
    struct Row {
        const char* family;   // folder below examples/families and tests/e2e/families
        const char* project;  // the example's file name
        bool orvik;           // whether the registry holds an installed RTOS
    };
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
        TempDir work;
        TempDir hklm;
        if (row.orvik) InstallOrvik(hklm.path());
        const platform::ScopedEnvironment registry("VIVO_HKLM", hklm.path().c_str());
        const fs::path project = work.Write(row.project, ReadBytes(examples / row.family / row.project));
        const fs::path report = work.path() / "report.json";

        const HostRun run = RunHost("--plugin '" + BuiltPluginFile().string() + "' change '" + project.string() +
                                    "' --to 1.01.00 --report '" + report.string() + "'");
        ASSERT_EQ(run.exitCode, 0) << run.err;

        const std::string converted = project.stem().string() + ".kz-1.01.00.vivo";
        EXPECT_EQ(ReadBytes(work.path() / converted), ReadBytes(expected / row.family / converted));
        EXPECT_EQ(ReadBytes(work.path() / "Upgrade.txt"), ReadBytes(expected / row.family / "Upgrade.txt"));

        const std::string json = ReadBytes(report);
        EXPECT_TRUE(IsJson(json)) << json;
        for (const char* tool : kzTools)
            EXPECT_NE(json.find(std::string("{\"phase\": \"") + tool + "\""), std::string::npos) << tool;
    }
}

}  // namespace
}  // namespace vivo::test
