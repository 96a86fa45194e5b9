#pragma once
// A child process on a pseudo-terminal, used the way a person uses a terminal: the test reads the
// screen and presses keys.

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>

namespace vivo::test {

class TerminalSession {
public:
    // Runs `child` in a child process whose terminal is a fresh pseudo-terminal; it must end the process.
    explicit TerminalSession(const std::function<void()>& child);
    ~TerminalSession();  // kills the child when it is still running
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    bool Started() const { return pid_ > 0; }
    // Reads the screen until `part` stands on it `count` times (at most 20 s); false when it does not come.
    bool WaitFor(std::string_view part, std::size_t count = 1);
    // False when the keys could not be written.
    bool Press(std::string_view keys);
    // Sends `signal` to the child.
    void Signal(int signal);
    // Reads the screen until the child closes the terminal, then its exit code (-1: killed by a signal).
    int Finish();
    const std::string& Screen() const { return screen_; }

private:
    pid_t pid_ = -1;
    int master_ = -1;
    bool finished_ = false;
    std::string screen_;
};

}  // namespace vivo::test
