// The real report dialog, used the way a person uses it: a second thread waits for the window by its
// title, reads the report, clicks the check box and OK, while DisplaySummaryInformation waits for it.
// Needs a display (under Wine: Xvfb).
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>
#include <thread>

#include "resources/report_dialog.h"
#include "support/plugin.h"
#include "win32/person_at_desk.h"

namespace vivo::test {
namespace {

namespace fs = std::filesystem;
namespace res = vivo::resources;

constexpr auto kWindowTimeout = std::chrono::seconds(60);

// What the person saw and did.
struct Visit { bool found = false; std::string summaryText; bool boxTicked = false, boxTickedAfterClick = false; };

enum class Action { kClickBoxThenOk, kOkOnly, kClickBoxThenEscape };

std::string EditText(HWND dialog) {
    char text[4096] = {};  // far more than the reports shown here
    GetDlgItemTextA(dialog, res::kControlSummaryText, text, sizeof text);
    return text;
}

// Takes a picture of the screen from the Linux side while the dialog is open, when the run asks for
// one: VIVO_SCREENSHOT_COMMAND is a command line that Wine starts (e.g. "/usr/bin/import -window root
// /tmp/dialog.png") and VIVO_SCREENSHOT_FILE the picture's path as Windows sees it ("Z:\tmp\dialog.png").
// A Linux program's end cannot be awaited through Wine, so the picture is awaited instead.
void TakeScreenshot() {
    const char* command = std::getenv("VIVO_SCREENSHOT_COMMAND");
    const char* file = std::getenv("VIVO_SCREENSHOT_FILE");
    if (command == nullptr || *command == '\0' || file == nullptr || *file == '\0') return;
    std::string line(command);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ADD_FAILURE() << "screenshot command did not start: " << command << " (" << GetLastError() << ")";
        return;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::error_code error;
    std::uintmax_t lastSize = 0;
    for (int polls = 0; polls < 300; ++polls) {  // at most 30 s
        Sleep(100);
        const std::uintmax_t size = fs::file_size(fs::path(file), error);
        if (!error && size > 0 && size == lastSize) return;
        lastSize = error ? 0 : size;
    }
    ADD_FAILURE() << "no screenshot in " << file;
}

// The top-level window of this process titled `title`: other test programs may show theirs at the
// same time on the same display.
HWND FindOwnWindow(const std::string& title) {
    for (HWND window = FindWindowExA(nullptr, nullptr, nullptr, title.c_str()); window != nullptr;
         window = FindWindowExA(nullptr, window, nullptr, title.c_str())) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) return window;
    }
    return nullptr;
}

// The person: waits for the dialog, reads it, acts on it.
Visit Person(Action action, bool screenshot) {
    Visit visit;
    HWND dialog = nullptr;
    const auto deadline = std::chrono::steady_clock::now() + kWindowTimeout;
    const std::string title(res::kReportDialog.caption);
    while ((dialog = FindOwnWindow(title)) == nullptr) {
        if (std::chrono::steady_clock::now() > deadline) return visit;
        Sleep(50);
    }
    visit.found = true;
    // Wait until the dialog has been filled (WM_INITDIALOG has run once the window is visible).
    while (!IsWindowVisible(dialog) && std::chrono::steady_clock::now() < deadline) Sleep(20);
    visit.summaryText = EditText(dialog);
    visit.boxTicked = IsDlgButtonChecked(dialog, res::kControlGenerateUpgradeFile) == BST_CHECKED;
    if (screenshot) {
        Sleep(500);  // let the window be painted
        TakeScreenshot();
    }
    if (action != Action::kOkOnly) SendMessageA(GetDlgItem(dialog, res::kControlGenerateUpgradeFile), BM_CLICK, 0, 0);
    visit.boxTickedAfterClick = IsDlgButtonChecked(dialog, res::kControlGenerateUpgradeFile) == BST_CHECKED;
    if (action == Action::kClickBoxThenEscape) SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    else SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    return visit;
}

// Shows the report of `plugin` for project "P" in `projectDirectory`, with the person acting.
Visit Display(const Plugin& plugin, const std::string& projectDirectory, Action action, bool screenshot = false) {
    auto person = std::async(std::launch::async, Person, action, screenshot);
    EXPECT_EQ(VIVO_CALL_EXPORT(plugin, DisplaySummaryInformation)("P", projectDirectory.c_str()), 0);
    return person.get();
}

class ReportDialog : public ::testing::Test {
protected:
    ReportDialog() {
        reportDialogDrivenByTest = true;
        fs::copy_file(BuiltPluginFile().parent_path() / "ResVivo.dll", pluginDir_.path() / "ResVivo.dll");
    }

    ~ReportDialog() override { reportDialogDrivenByTest = false; }

    TempDir pluginDir_;
    TempDir projectDir_;
    Plugin plugin_{CopyPluginInto(pluginDir_)};
};

// Nothing converted yet: the header has empty names, no messages, no lines.
constexpr std::string_view kEmptyReport =
    "Project name : P\r\n\r\n"
    "  was upgraded to\r\n   Veltora KZ Standard Toolchain .\r\n\r\n";

TEST_F(ReportDialog, UntickedBoxWritesNothingAndStaysUnticked) {
    const std::string directory = projectDir_.path().string();
    const fs::path upgradeFile = projectDir_.path() / "Upgrade.txt";

    const Visit first = Display(plugin_, directory, Action::kClickBoxThenOk, /*screenshot=*/true);
    ASSERT_TRUE(first.found) << "no window titled \"" << res::kReportDialog.caption << "\"";
    EXPECT_EQ(first.summaryText, kEmptyReport);
    EXPECT_TRUE(first.boxTicked);
    EXPECT_FALSE(first.boxTickedAfterClick);
    EXPECT_FALSE(fs::exists(upgradeFile));

    // The dialog remembers the choice; ticking it again saves the report, every CR LF as CR CR LF.
    const Visit second = Display(plugin_, directory, Action::kClickBoxThenOk);
    ASSERT_TRUE(second.found);
    EXPECT_FALSE(second.boxTicked);
    EXPECT_TRUE(second.boxTickedAfterClick);
    std::string expected;
    for (char c : kEmptyReport) {
        if (c == '\n') expected += '\r';
        expected += c;
    }
    EXPECT_EQ(ReadBytes(upgradeFile), expected);
}

TEST_F(ReportDialog, EscapeKeepsTheBoxAndWritesNothing) {
    const std::string directory = projectDir_.path().string() + "\\";  // "dir\" + "\Upgrade.txt"
    const Visit cancelled = Display(plugin_, directory, Action::kClickBoxThenEscape);
    ASSERT_TRUE(cancelled.found);
    EXPECT_TRUE(cancelled.boxTicked);
    EXPECT_FALSE(fs::exists(projectDir_.path() / "Upgrade.txt"));

    // Cancel read nothing back: the box is ticked again at the next display, and OK saves the report
    // through the doubled backslash.
    const Visit confirmed = Display(plugin_, directory, Action::kOkOnly);
    ASSERT_TRUE(confirmed.found);
    EXPECT_TRUE(confirmed.boxTicked);
    EXPECT_TRUE(fs::exists(projectDir_.path() / "Upgrade.txt"));
}

}  // namespace
}  // namespace vivo::test
