#pragma once
// Runs the built vivo host program as a person runs it from a shell, and captures what it prints.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vivo::test {

struct HostRun {
    int exitCode = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};

// `text` quoted for the shell.
std::string Quoted(std::string_view text);

// Runs `script` with bash in `dir` (the current folder when empty), standard input from /dev/null. In
// the script $HOST is the host program and $VIVO the host program with the built plug-in (unquoted, for
// a build folder without blanks).
HostRun RunShell(const std::string& script, const std::filesystem::path& dir = {});

// Every file and folder below `dir` (as paths relative to it) with its bytes ("<dir>" for a folder).
std::map<std::string, std::string> FilesBelow(const std::filesystem::path& dir);

// Runs vivo with the built plug-in and `words`, each one argument.
HostRun RunVivo(const std::vector<std::string>& words);

}  // namespace vivo::test
