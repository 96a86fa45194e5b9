#include "support/no_terminal.h"

#include <fcntl.h>
#include <unistd.h>

namespace vivo::test {

NoTerminal::NoTerminal() {
    std::fflush(stderr);
    savedIn_ = ::dup(STDIN_FILENO);
    savedErr_ = ::dup(STDERR_FILENO);
    const int null = ::open("/dev/null", O_RDONLY);
    ::dup2(null, STDIN_FILENO);
    ::close(null);
    capture_ = std::tmpfile();
    ::dup2(::fileno(capture_), STDERR_FILENO);
}

NoTerminal::~NoTerminal() {
    std::fflush(stderr);
    ::dup2(savedIn_, STDIN_FILENO);
    ::dup2(savedErr_, STDERR_FILENO);
    ::close(savedIn_);
    ::close(savedErr_);
    std::fclose(capture_);
}

std::string NoTerminal::Shown() {
    std::fflush(stderr);
    std::string text;
    std::rewind(capture_);
    for (int c; (c = std::fgetc(capture_)) != EOF;) text.push_back(static_cast<char>(c));
    return text;
}

}  // namespace vivo::test
