#pragma once
// Runs the built vivo host program and captures what it prints.

#include <string>

namespace vivo::test {

struct HostRun {
    int exitCode = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};

// Runs `vivo` with `arguments` (already quoted for the shell), standard input from `input` when given.
HostRun RunHost(const std::string& arguments, const std::string& input = "");

}  // namespace vivo::test
