// DisplaySummaryInformation without a terminal: the report goes to standard error, the dialog is
// confirmed with the check box as it stands (ticked at load), and Upgrade.txt is written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "summary/change_summary.h"
#include "support/plugin.h"
#include "support/posix/no_terminal.h"

namespace vivo {
namespace {

namespace fs = std::filesystem;
using test::NoTerminal;
using test::ReadBytes;

constexpr const char* kMessage2008InFile = "\"Tc.ini\" file reading error.\r\r\n\r\r\n";

TEST(DisplaySummary, ShowsTheLinesOnceThenEmptiesThem) {
    test::TempDir dir;
    ChangeSummary summary;
    summary.fromToolchainName = "Veltora KZ Standard Toolchain";
    summary.fromToolchainVersion = "1.00.00";
    summary.toToolchainVersion = "1.02.01";
    summary.AddSummaryMessage(2008);
    summary.AppendUniqueLines({"\r\nPhaseOptions:\r\n", "  Option -a has been converted to -b\r\n"});
    const fs::path upgrade = dir.path() / "Upgrade.txt";
    const std::string noLibrary = (dir.path() / "ResVivo.so").string();
    const std::string header =
        "Project name : Demo\r\r\n\r\r\nVeltora KZ Standard Toolchain 1.00.00 was upgraded to\r\r\n"
        "   Veltora KZ Standard Toolchain 1.02.01.\r\r\n\r\r\n" + std::string(kMessage2008InFile);
    NoTerminal console;

    DisplaySummary(summary, "Demo", dir.path().string(), noLibrary);
    EXPECT_EQ(ReadBytes(upgrade), header + "\r\r\nPhaseOptions:\r\r\n  Option -a has been converted to -b\r\r\n");
    EXPECT_TRUE(summary.lines().empty());
    EXPECT_EQ(summary.messageIds().size(), 1u);

    DisplaySummary(summary, "Demo", dir.path().string(), noLibrary);
    EXPECT_EQ(ReadBytes(upgrade), header);
}

}  // namespace
}  // namespace vivo
