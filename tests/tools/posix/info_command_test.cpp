// vivo info and the host's handling of plug-in files that cannot serve.
#include <gtest/gtest.h>

#include "support/plugin.h"
#include "support/posix/host_runner.h"

namespace vivo::test {
namespace {

TEST(HostInfo, ReportsTheIdentityAsJson) {
    const HostRun run = RunHost("--plugin '" + BuiltPluginFile().string() + "' info --json");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("\"interfaceVersion\": {\"major\": 2, \"minor\": 6}"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"productVersion\": \"4.09.00\""), std::string::npos);
    EXPECT_NE(run.out.find("{\"description\": \"C++ source file\", \"kind\": \"TEXT\", "
                           "\"extensions\": [\"CPP\", \"CC\", \"CP\"]}"),
              std::string::npos);
}

TEST(HostInfo, UnusablePluginFilesGiveOneLineAndExitCode2) {
    TempDir dir;
    const std::string notALibrary = dir.Write("Vivo.so", "not a shared object").string();
    struct Row {
        const char* name;
        std::string arguments;
        const char* says;
    };
    const Row rows[] = {
        {"missing file", "--plugin '" + (dir.path() / "none.so").string() + "' info", "cannot load plug-in"},
        {"not a library", "--plugin '" + notALibrary + "' info", "cannot load plug-in"},
        {"unknown command", "--plugin '" + BuiltPluginFile().string() + "' frobnicate", "unknown command"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const HostRun run = RunHost(row.arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find(row.says), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "not one line: " << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

}  // namespace
}  // namespace vivo::test
