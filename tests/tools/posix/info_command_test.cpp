// vivo info and the host's handling of plug-in files that cannot serve.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/plugin.h"
#include "support/posix/host_runner.h"

namespace vivo::test {
namespace {

TEST(HostInfo, ReportsTheIdentityAsJson) {
    const HostRun run = RunVivo({"info", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::json info = nlohmann::json::parse(run.out);
    EXPECT_EQ(info["interfaceVersion"], nlohmann::json({{"major", 2}, {"minor", 6}}));
    EXPECT_EQ(info["productVersion"], "4.09.00");
    EXPECT_EQ(info["fileTypes"].size(), 27u);
    EXPECT_EQ(info["fileTypes"][3], nlohmann::json({{"description", "C++ source file"}, {"kind", "TEXT"},
                                                   {"extensions", {"CPP", "CC", "CP"}}}));
}

TEST(HostInfo, UnusablePluginFilesGiveOneLineAndExitCode2) {
    TempDir dir;
    const std::string notALibrary = dir.Write("Vivo.so", "not a shared object").string();
    // Columns: name, shell command, part of the one line on standard error.
    const struct { const char* name; std::string script; const char* says; } rows[] = {
        {"missing file", "$HOST --plugin " + Quoted((dir.path() / "none.so").string()) + " info", "cannot load plug-in"},
        {"not a library", "$HOST --plugin " + Quoted(notALibrary) + " info", "cannot load plug-in"},
        {"unknown command", "$VIVO frobnicate", "unknown command \"frobnicate\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const HostRun run = RunShell(row.script);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find(row.says), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "not one line: " << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

}  // namespace
}  // namespace vivo::test
