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

// The report's header for project P before any toolchain change, as it reaches Upgrade.txt: every
// CR LF of the report as CR CR LF.
constexpr const char* kEmptyHeaderInFile =
    "Project name : P\r\r\n\r\r\n  was upgraded to\r\r\n   Veltora KZ Standard Toolchain .\r\r\n\r\r\n";
constexpr const char* kMessage2008InFile = "\"Tc.ini\" file reading error.\r\r\n\r\r\n";
// The ticked check box, in English and from the Japanese resource library (its mnemonic mark dropped):
// "[x] 概要を Upgrade.txt としてプロジェクトのディレクトリに保存する(G)".
constexpr const char* kTicked = "[x] Generate Upgrade.txt as a summary file in the project directory";
constexpr const char* kTickedJp =
    "[x] \xE6\xA6\x82\xE8\xA6\x81\xE3\x82\x92 Upgrade.txt \xE3\x81\xA8\xE3\x81\x97\xE3\x81\xA6"
    "\xE3\x83\x97\xE3\x83\xAD\xE3\x82\xB8\xE3\x82\xA7\xE3\x82\xAF\xE3\x83\x88\xE3\x81\xAE"
    "\xE3\x83\x87\xE3\x82\xA3\xE3\x83\xAC\xE3\x82\xAF\xE3\x83\x88\xE3\x83\xAA\xE3\x81\xAB"
    "\xE4\xBF\x9D\xE5\xAD\x98\xE3\x81\x99\xE3\x82\x8B(G)";

TEST(DisplaySummaryInformation, WritesTheReportAsUpgradeTxt) {
    // Columns: name, built library copied beside the plug-in as ResVivo.so (or null), failed eligibility
    // checks (each adds message 2008), project name, suffix of the project directory, Upgrade.txt.
    const struct {
        const char *name, *resourceLibrary;
        int failedEligibilityChecks;
        const char *projectName, *directorySuffix;
        std::string expected;
    } rows[] = {
        {"own texts", nullptr, 0, "P", "", kEmptyHeaderInFile},
        // A longer read-only report is there before: replaced, and left with the archive attribute only.
        {"read-only Upgrade.txt replaced", nullptr, 0, "P", "", kEmptyHeaderInFile},
        // No message, nothing written, result 0.
        {"project directory that does not exist", nullptr, 0, "P", "\\gone", ""},
        {"message 2008 added twice shows twice", nullptr, 2, "P", "", std::string(kEmptyHeaderInFile) + kMessage2008InFile + kMessage2008InFile},
        {"directory ending in a backslash", nullptr, 0, "P", "\\", kEmptyHeaderInFile},
        {"null project name counts as empty", nullptr, 0, nullptr, "",
         "Project name : \r\r\n\r\r\n  was upgraded to\r\r\n   Veltora KZ Standard Toolchain .\r\r\n\r\r\n"},
        {"English resource library", "ResVivo.so", 1, "P", "", std::string(kEmptyHeaderInFile) + kMessage2008InFile},
        {"Japanese resource library installed as ResVivo", "ResVivoJp.so", 1, "P", "",
         "\xE3\x83\x97\xE3\x83\xAD\xE3\x82\xB8\xE3\x82\xA7\xE3\x82\xAF\xE3\x83\x88\xE5\x90\x8D"  // プロジェクト名
         " : P\r\r\n\r\r\n  \xE3\x81\xAF\r\r\n   Veltora KZ Standard Toolchain  "              // は
         "\xE3\x81\xAB\xE3\x82\xA2\xE3\x83\x83\xE3\x83\x97\xE3\x82\xB0\xE3\x83\xAC\xE3\x83\xBC"  // にアップグレー
         "\xE3\x83\x89\xE3\x81\x95\xE3\x82\x8C\xE3\x81\xBE\xE3\x81\x97\xE3\x81\x9F\xE3\x80\x82"  // ドされました。
         "\r\r\n\r\r\n\"Tc.ini\" "
         "\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE3\x81\xAE\xE8\xAA\xAD\xE3\x81\xBF"  // ファイルの読み
         "\xE8\xBE\xBC\xE3\x81\xBF\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC\xE3\x81\xA7\xE3\x81\x99"  // 込みエラーです
         "\xE3\x80\x82\r\r\n\r\r\n"},                                                           // 。
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        test::TempDir dir;
        const fs::path project = dir.path() / "project";
        fs::create_directory(project);
        if (row.resourceLibrary != nullptr)
            fs::copy_file(test::BuiltPluginFile().parent_path() / row.resourceLibrary, dir.path() / "ResVivo.so");
        test::Plugin plugin(test::CopyPluginInto(dir));
        if (row.name == std::string_view("read-only Upgrade.txt replaced"))
            fs::permissions(dir.Write("project/Upgrade.txt", "an older, longer report"), fs::perms::owner_read);
        for (int i = 0; i < row.failedEligibilityChecks; ++i)
            EXPECT_EQ(VIVO_CALL_EXPORT(plugin, CanUpgradeToolchain)(nullptr, nullptr), 1);

        NoTerminal console;
        const std::string projectDirectory = project.string() + row.directorySuffix;
        EXPECT_EQ(VIVO_CALL_EXPORT(plugin, DisplaySummaryInformation)(row.projectName, projectDirectory.c_str()), 0);
        EXPECT_EQ(ReadBytes(project / "Upgrade.txt"), row.expected);
        EXPECT_FALSE(fs::exists(project / "gone"));
        if (fs::exists(project / "Upgrade.txt")) {
            EXPECT_NE(fs::status(project / "Upgrade.txt").permissions() & fs::perms::owner_write, fs::perms::none);
        }
        // The report and its check box were shown on standard error, and nothing more (the check box names
        // the file once); the resource library is released after the call.
        const std::string shown = console.Shown();
        const std::string_view library = row.resourceLibrary != nullptr ? row.resourceLibrary : "";
        EXPECT_NE(shown.find("Veltora KZ Standard Toolchain"), std::string::npos);
        EXPECT_NE(shown.find(library == "ResVivoJp.so" ? kTickedJp : kTicked), std::string::npos) << shown;
        EXPECT_EQ(shown.find("Upgrade.txt"), shown.rfind("Upgrade.txt"));
        EXPECT_EQ(ReadBytes("/proc/self/maps").find((dir.path() / "ResVivo.so").string()), std::string::npos);
    }
}

TEST(DisplaySummaryInformation, MessagesStayUntilTheNextReset) {
    test::TempDir dir;
    test::Plugin plugin(test::CopyPluginInto(dir));
    const auto display = VIVO_CALL_EXPORT(plugin, DisplaySummaryInformation);
    const std::string project = dir.path().string();
    const fs::path upgrade = dir.path() / "Upgrade.txt";
    NoTerminal console;

    EXPECT_EQ(VIVO_CALL_EXPORT(plugin, CanUpgradeToolchain)(nullptr, nullptr), 1);
    for (int shown = 1; shown <= 2; ++shown) {  // again without a reset: the same header and message
        fs::remove(upgrade);
        ASSERT_EQ(display("P", project.c_str()), 0);
        EXPECT_EQ(ReadBytes(upgrade), std::string(kEmptyHeaderInFile) + kMessage2008InFile) << shown;
    }

    EXPECT_EQ(VIVO_CALL_EXPORT(plugin, ResetSummaryInformation)(), 0);
    ASSERT_EQ(display("P", project.c_str()), 0);
    EXPECT_EQ(ReadBytes(upgrade), kEmptyHeaderInFile);
}

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
