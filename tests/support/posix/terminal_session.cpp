#include "support/posix/terminal_session.h"

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>

namespace vivo::test {

TerminalSession::TerminalSession(const std::function<void()>& child) {
    pid_ = ::forkpty(&master_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
        child();
        ::_exit(127);
    }
}

TerminalSession::~TerminalSession() {
    if (pid_ > 0 && !finished_) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0) ::close(master_);
}

bool TerminalSession::WaitFor(std::string_view part, std::size_t count) {
    const auto seen = [&] {
        std::size_t n = 0;
        for (std::size_t at = screen_.find(part); at != std::string::npos; at = screen_.find(part, at + 1)) ++n;
        return n >= count;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!seen()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd request{master_, POLLIN, 0};
        if (::poll(&request, 1, static_cast<int>(left.count())) <= 0) continue;
        char chunk[4096];
        const ssize_t got = ::read(master_, chunk, sizeof chunk);
        if (got <= 0) return seen();  // the child has gone
        screen_.append(chunk, static_cast<std::size_t>(got));
    }
    return true;
}

bool TerminalSession::Press(std::string_view keys) {
    return ::write(master_, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size());
}

void TerminalSession::Signal(int signal) { ::kill(pid_, signal); }

int TerminalSession::Finish() {
    char chunk[4096];
    for (ssize_t got; (got = ::read(master_, chunk, sizeof chunk)) > 0;) screen_.append(chunk, static_cast<std::size_t>(got));
    int status = 0;
    ::waitpid(pid_, &status, 0);
    finished_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace vivo::test
