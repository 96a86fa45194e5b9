// Message boxes and the report dialog on Windows are real and wait for a person: for the whole test
// program one at the desk (person_at_desk.h) answers every message box of this process with OK at once,
// remembering what it read, and confirms the report dialog as it stands unless a test drives it.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/message_box.h"
#include "resources/report_dialog.h"
#include "win32/person_at_desk.h"

namespace vivo::test {
namespace {

struct Answered { std::string caption, text; };

class MessageBoxAnswerer : public ::testing::Environment {
public:
    void SetUp() override {
        running_ = true;
        thread_ = std::thread([this] { Run(); });
    }
    void TearDown() override {
        running_ = false;
        if (thread_.joinable()) thread_.join();
    }
    std::vector<Answered> Take() {
        std::lock_guard lock(mutex_);
        return std::exchange(answered_, {});
    }

private:
    static std::string WindowText(HWND window) {
        char text[4096] = {};
        GetWindowTextA(window, text, sizeof text);
        return text;
    }

    // Keeps the longest text of a static control (a window-enumeration callback: stdcall on i686).
    static BOOL CALLBACK CollectLongestStatic(HWND child, LPARAM text) {
        char childClass[16] = {};
        GetClassNameA(child, childClass, sizeof childClass);
        const std::string childText = WindowText(child);
        auto* longest = reinterpret_cast<std::string*>(text);
        if (std::string(childClass) == "Static" && childText.size() > longest->size()) *longest = childText;
        return TRUE;
    }

    // A dialog-class window of this process: the report dialog (it has the summary text) or a message box.
    static BOOL CALLBACK Visit(HWND window, LPARAM data) {
        auto* self = reinterpret_cast<MessageBoxAnswerer*>(data);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char windowClass[16] = {};
        GetClassNameA(window, windowClass, sizeof windowClass);
        if (process != GetCurrentProcessId() || std::string(windowClass) != "#32770" || !IsWindowVisible(window))
            return TRUE;
        if (GetDlgItem(window, resources::kControlSummaryText) != nullptr) {
            if (!reportDialogDrivenByTest) PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return TRUE;
        }
        Answered answered{WindowText(window), {}};  // the text: the longest static control's
        EnumChildWindows(window, CollectLongestStatic, reinterpret_cast<LPARAM>(&answered.text));
        {
            std::lock_guard lock(self->mutex_);
            self->answered_.push_back(std::move(answered));
        }
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return TRUE;
    }

    void Run() {
        while (running_) {
            EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
            Sleep(100);
        }
    }

    std::atomic<bool> running_{false};
    std::thread thread_;
    std::mutex mutex_;
    std::vector<Answered> answered_;
};

MessageBoxAnswerer* const answerer =
    static_cast<MessageBoxAnswerer*>(::testing::AddGlobalTestEnvironment(new MessageBoxAnswerer));

TEST(ShowMessageBox, ShowsCaptionAndTextAndReturnsTheButton) {
    answerer->Take();
    const int answer = platform::ShowMessageBox("\"Tc.ini\" file reading error.\r\n\r\n", "ERROR",
                                                platform::kMessageBoxOk);
    EXPECT_EQ(answer, platform::kAnswerOk);
    const std::vector<Answered> answered = answerer->Take();
    ASSERT_EQ(answered.size(), 1u);
    EXPECT_EQ(answered[0].caption, "ERROR");
    // The box shows the text without its trailing line ends.
    EXPECT_EQ(answered[0].text.substr(0, 28), "\"Tc.ini\" file reading error.");
}

}  // namespace
}  // namespace vivo::test
