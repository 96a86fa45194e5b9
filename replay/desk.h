#pragma once
// The person at the desk while the replay runs: the one place where the platforms' different ways of
// showing things to a person are made alike. What is shown never enters the transcript; every
// message box is answered with OK and the report dialog is confirmed with OK as it stands.
//
// POSIX: standard input reads from /dev/null and standard error goes to /dev/null, so that the report
// dialog takes its no-terminal way (its text and every message box on standard error, OK at once).
// Windows: a thread answers each message box and report dialog of the process with OK.

#include <memory>

namespace vivo::replay {

class Desk {
public:
    Desk();
    ~Desk();
    Desk(const Desk&) = delete;
    Desk& operator=(const Desk&) = delete;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace vivo::replay
