#include "replay/desk.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <atomic>
#include <cstring>
#include <thread>

namespace vivo::replay {

struct Desk::State {
    std::atomic<bool> running{true};
    std::thread thread;
};

namespace {

// A visible dialog-class window of this process (a message box or the report dialog): OK.
BOOL CALLBACK Answer(HWND window, LPARAM) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char windowClass[16] = {};
    GetClassNameA(window, windowClass, sizeof windowClass);
    if (process == GetCurrentProcessId() && std::strcmp(windowClass, "#32770") == 0 && IsWindowVisible(window))
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return TRUE;
}

}  // namespace

Desk::Desk() : state_(std::make_unique<State>()) {
    state_->thread = std::thread([state = state_.get()] {
        while (state->running) {
            EnumWindows(Answer, 0);
            Sleep(10);
        }
    });
}

Desk::~Desk() {
    state_->running = false;
    state_->thread.join();
}

}  // namespace vivo::replay
