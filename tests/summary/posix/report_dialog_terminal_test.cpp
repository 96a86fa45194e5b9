// The report dialog on a terminal, used the way a person uses it: a child process whose terminal is a
// pseudo-terminal shows the summary, the test reads the screen and presses the keys.
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/shared_library.h"
#include "support/plugin.h"
#include "support/posix/terminal_session.h"

namespace vivo {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kCaption = "Change Toolchain Version Summary";
constexpr std::string_view kTicked = "[x] Generate Upgrade.txt as a summary file in the project directory";
constexpr std::string_view kCleared = "[ ] Generate Upgrade.txt as a summary file in the project directory";
constexpr std::string_view kReturned = "<display returned>";

// Child: loads its own copy of the plug-in and shows the summary `displays` times. Exit code 0 when
// every display returned 0 and left the terminal's settings as it found them.
[[noreturn]] void RunDisplays(const std::string& pluginFile, const std::string& projectDirectory, int displays) {
    termios before{};
    ::tcgetattr(STDIN_FILENO, &before);
    platform::SharedLibrary* library = platform::OpenSharedLibrary(pluginFile);
    if (library == nullptr) ::_exit(10);
    const auto display = reinterpret_cast<decltype(&::DisplaySummaryInformation)>(
        platform::FindSymbol(library, "DisplaySummaryInformation"));
    int code = 0;
    for (int i = 0; i < displays; ++i) {
        if (display("P", projectDirectory.c_str()) != 0) code = 1;
        termios after{};
        ::tcgetattr(STDIN_FILENO, &after);
        if (after.c_lflag != before.c_lflag || after.c_iflag != before.c_iflag) code = 2;
        const std::string marker = std::string(kReturned) + "\r\n";
        (void)::write(STDERR_FILENO, marker.data(), marker.size());
    }
    ::_exit(code);
}

// The screen from the last showing of the dialog on.
std::string_view LastDialog(const test::TerminalSession& session) {
    const std::string_view screen = session.Screen();
    return screen.substr(std::min(screen.rfind(kCaption), screen.size()));
}

// Each session shows the dialog twice in one process: the first time the check box is cleared with
// Space and the dialog closed, the second time OK is pressed.
TEST(ReportDialogOnTerminal, OkAndEscapeWithTheCheckBoxCleared) {
    // Columns: name, keys that clear the box, key that closes, box the second display shows, box it must
    // not show, Upgrade.txt written by the second OK.
    const struct { const char* name; std::string_view clear, close, second, notSecond; bool written; } rows[] = {
        // OK keeps the user's choice: no file now, and the next display shows the box cleared.
        {"untick and Enter", " ", "\r", kCleared, kTicked, false},
        // Cancel takes nothing back: the box stands ticked as before, and OK then writes the report.
        {"untick and Escape (an arrow key is no Escape)", "\x1b[A ", "\x1b", kTicked, kCleared, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        test::TempDir dir;
        const fs::path upgrade = dir.path() / "Upgrade.txt";
        const std::string plugin = test::CopyPluginInto(dir).string(), project = dir.path().string();
        test::TerminalSession session([&] { RunDisplays(plugin, project, 2); });
        ASSERT_TRUE(session.Started());
        ASSERT_TRUE(session.WaitFor(kTicked)) << session.Screen();
        EXPECT_NE(LastDialog(session).find("Project name : P\r"), std::string_view::npos);
        ASSERT_TRUE(session.Press(row.clear));
        ASSERT_TRUE(session.WaitFor(kCleared)) << session.Screen();
        ASSERT_TRUE(session.Press(row.close));
        ASSERT_TRUE(session.WaitFor(kReturned)) << session.Screen();
        EXPECT_FALSE(fs::exists(upgrade));

        ASSERT_TRUE(session.WaitFor(kCaption, 2)) << session.Screen();
        ASSERT_TRUE(session.WaitFor(row.second, 2)) << session.Screen();
        EXPECT_EQ(LastDialog(session).find(row.notSecond), std::string_view::npos);
        ASSERT_TRUE(session.Press("\r"));
        ASSERT_TRUE(session.WaitFor(kReturned, 2)) << session.Screen();
        EXPECT_EQ(session.Finish(), 0) << session.Screen();
        EXPECT_EQ(test::ReadBytes(upgrade).substr(0, 20), row.written ? "Project name : P\r\r\n\r" : "");
    }
}

}  // namespace
}  // namespace vivo
