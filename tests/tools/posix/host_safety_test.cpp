// The host program never reports success for what it did not do: mistyped options, outputs that
// cannot be written, a full disk, a closed standard output, text that is not UTF-8, a cancelled
// dialog and Ctrl+C each end with one line and a non-zero exit code, and leave the disk as it was.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <nlohmann/json.hpp>
#include <string>

#include "support/plugin.h"
#include "support/posix/host_runner.h"
#include "support/posix/terminal_session.h"

namespace vivo::test {
namespace {

namespace fs = std::filesystem;

const fs::path kExample = fs::path(VIVO_SOURCE_DIR) / "examples/kz/door_lock_1.00.01.vivo";
constexpr const char* kConverted = "door_lock_1.00.01.kz-1.01.00.vivo";

TEST(HostSafety, RefusalsSayWhatAndWhereAndLeaveTheDiskAsItWas) {
    // Columns: name, script (in a folder holding the example as p.vivo and a good Upgrade.txt), exit
    // code, part of the one line on standard error.
    struct Row { const char *name, *script; int exitCode; const char* says; };
    const Row rows[] = {
        {"mistyped option", "$VIVO change p.vivo --to 1.01.00 --dryrun", 2, "--dryrun"},
        {"surplus argument", "$VIVO info extra", 2, "extra"},
        {"option of another action", "$VIVO options includes --project p.vivo --area 1", 2, "--area"},
        {"Upgrade.txt is a folder", "mkdir sub && cp p.vivo sub/ && mkdir sub/Upgrade.txt && "
         "$VIVO change sub/p.vivo --to 1.01.00", 2, "Upgrade.txt: it is a directory"},
        {"full disk", "ulimit -f 1; $VIVO change p.vivo --to 1.01.00", 2, "File too large"},
        {"report in a missing folder", "$VIVO change p.vivo --to 1.01.00 --report none/r.json", 2, "r.json: no folder"},
        {"converted project there already", "cp p.vivo p.kz-1.01.00.vivo && $VIVO change p.vivo --to 1.01.00", 2,
         "exists already (--force overwrites it)"},
        {"folder without projects", "mkdir q.vivo && $VIVO change q.vivo --to 1.01.00", 2, "no project file (*.vivo) below q.vivo"},
        {"project is endless", "$VIVO change /dev/zero --to 1.01.00", 2, "/dev/zero: not a regular file"},
        {"project edited in place on a full disk",
         "ulimit -f 1; $VIVO options set-defines --project p.vivo --output p.vivo A=1", 2, "File too large"},
        {"closed standard output, info", "$VIVO info --json >/dev/full", 2, "cannot write to standard output"},
        {"closed standard output, dry run", "$VIVO change p.vivo --to 1.01.00 --dry-run >/dev/full", 2,
         "cannot write to standard output"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        dir.Write("p.vivo", ReadBytes(kExample));
        dir.Write("Upgrade.txt", "a good report\r\r\n");
        const auto before = FilesBelow(dir.path());
        const HostRun run = RunShell(row.script, dir.path());
        EXPECT_EQ(run.exitCode, row.exitCode) << run.err;
        EXPECT_NE(run.err.find(row.says), std::string::npos) << run.err;
        if (!run.err.empty()) {
            EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "not one line: " << run.err;
        }
        auto after = FilesBelow(dir.path());
        for (const char* made : {"sub", "sub/p.vivo", "sub/Upgrade.txt", "p.kz-1.01.00.vivo", "q.vivo"})
            after.erase(made);  // what the script itself made
        EXPECT_EQ(after, before) << "the disk changed";
    }
}

TEST(HostSafety, PluginPathsAndPlacesOfOptions) {
    TempDir dir;
    fs::copy_file(BuiltPluginFile(), dir.path() / "Vivo.so");
    // Columns: name, command line after the host program, exit code, part of standard output.
    const struct { const char *name, *arguments; int exitCode; const char* prints; } rows[] = {
        {"a plug-in name without a slash is a file here", "--plugin Vivo.so info", 0, "Product version    4.09.00"},
        {"--plugin after the command", "info --plugin Vivo.so", 0, "Product version    4.09.00"},
        {"versions", "--plugin Vivo.so --version", 0, "plug-in Vivo.so 4.09.00"},
        {"help on a command", "help change", 0, "1.00.00, 1.00.01, 1.01.00, 1.02.00, 1.02.01"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const HostRun run = RunShell(std::string("$HOST ") + row.arguments, dir.path());
        EXPECT_EQ(run.exitCode, row.exitCode) << run.err;
        EXPECT_NE(run.out.find(row.prints), std::string::npos) << run.out;
    }
}

TEST(HostSafety, EditsInPlaceKeepCommentsAndLineEndsAndJsonStaysUtf8) {
    TempDir dir;
    // A project with CR LF line ends, comments, and Shift_JIS bytes in its name and an option.
    const std::string defines = "[S|CPU|KZ600] [S|DEFINE|\"N=\x83" "e\"]";
    const std::string project =
        "# pump\r\n@project \x83v\x83\x8a\r\n@toolchain Veltora KZ Standard Toolchain\r\n@version 1.00.01\r\n\r\n"
        "@phases\r\nVeltora KZ C/C++ Compiler|SYSTEM|1\r\n\r\n# settings follow\r\n@options Veltora KZ C/C++ Compiler\r\n\r\n" +
        defines +
        "\r\n\r\n@mappings\r\n";
    dir.Write("p.vivo", project);
    HostRun run = RunShell("$VIVO options set-defines --project p.vivo --output p.vivo A=1", dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::string expected = project;
    expected.replace(expected.find(defines), defines.size(), "[S|CPU|KZ600] [S|DEFINE|A=1]");
    EXPECT_EQ(ReadBytes(dir.path() / "p.vivo"), expected);

    dir.Write("p.vivo", project);
    run = RunShell("$VIVO options defines --project p.vivo --json", dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::json answer = nlohmann::json::parse(run.out);  // throws on bytes that are not UTF-8
    EXPECT_EQ(answer["defines"][0], "N=\xC2\x83" "e");
    EXPECT_EQ(answer["latin1"], nlohmann::json({"/defines/0"}));
}

// The report dialog on a terminal: cancelling it abandons the change, clearing its box writes the
// project without Upgrade.txt, an interrupt while it is shown leaves nothing behind.
TEST(HostSafety, ReportDialogOnATerminal) {
    // Columns: name, keys pressed once the dialog shows (or none: SIGINT is sent), exit code (1: written,
    // with the section note to look at), files written.
    const struct { const char* name; std::string keys; int exitCode; std::set<std::string> written; } rows[] = {
        {"OK", "\r", 1, {kConverted, "Upgrade.txt"}},
        {"box cleared, OK", " \r", 1, {kConverted}},
        {"Escape", "\x1b", 130, {}},
        {"Ctrl+C as a key", "\x03", 130, {}},
        {"SIGINT", "", 130, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const fs::path project = dir.Write("door_lock_1.00.01.vivo", ReadBytes(kExample));
        TerminalSession session([&] {
            ::execl(VIVO_HOST_FILE, "vivo", "--plugin", BuiltPluginFile().c_str(), "change", project.c_str(), "--to",
                    "1.01.00", static_cast<char*>(nullptr));
        });
        ASSERT_TRUE(session.WaitFor("Generate Upgrade.txt")) << session.Screen();
        if (row.keys.empty()) session.Signal(SIGINT);
        else ASSERT_TRUE(session.Press(row.keys));
        EXPECT_EQ(session.Finish(), row.exitCode);
        std::set<std::string> files;
        for (const auto& [name, bytes] : FilesBelow(dir.path()))
            if (name != project.filename()) files.insert(name);
        EXPECT_EQ(files, row.written);
    }
}

}  // namespace
}  // namespace vivo::test
