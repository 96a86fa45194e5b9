#include "replay/desk.h"

#include <fcntl.h>
#include <unistd.h>

namespace vivo::replay {

struct Desk::State {
    int savedIn = dup(STDIN_FILENO);
    int savedErr = dup(STDERR_FILENO);
};

Desk::Desk() : state_(std::make_unique<State>()) {
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(null, STDERR_FILENO);
    close(null);
}

Desk::~Desk() {
    dup2(state_->savedIn, STDIN_FILENO);
    dup2(state_->savedErr, STDERR_FILENO);
    close(state_->savedIn);
    close(state_->savedErr);
}

}  // namespace vivo::replay
