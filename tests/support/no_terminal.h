#pragma once
// Keeps the report dialog off the terminal for the span of a test, whoever runs the tests.

#include <cstdio>
#include <string>

namespace vivo::test {

// POSIX: for its lifetime standard input reads from /dev/null and standard error goes into a file, so
// that DisplaySummaryInformation takes its no-terminal way (the report on standard error, OK with the
// check box as it stands) instead of waiting for keys. Windows: nothing to do, the test program's own
// person at the desk confirms the dialog; Shown() is empty.
class NoTerminal {
public:
    NoTerminal();
    ~NoTerminal();
    NoTerminal(const NoTerminal&) = delete;
    NoTerminal& operator=(const NoTerminal&) = delete;

    // What went to standard error so far.
    std::string Shown();

private:
    int savedIn_ = -1;
    int savedErr_ = -1;
    std::FILE* capture_ = nullptr;
};

}  // namespace vivo::test
