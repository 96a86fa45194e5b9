#include "platform/message_box.h"

#include <cstdio>

namespace vivo::platform {

int ShowMessageBox(std::string_view text, std::string_view caption, unsigned /*style*/) {
    // No window to own the box: the person at the terminal reads it and nobody is asked.
    std::fprintf(stderr, "%.*s\n%.*s\n", static_cast<int>(caption.size()), caption.data(),
                 static_cast<int>(text.size()), text.data());
    std::fflush(stderr);
    return kAnswerOk;
}

}  // namespace vivo::platform
