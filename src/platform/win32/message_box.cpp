#include "platform/message_box.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

namespace vivo::platform {

int ShowMessageBox(std::string_view text, std::string_view caption, unsigned style) {
    // Owned by the window with the keyboard focus, so that it stands over the host's window.
    return MessageBoxA(GetFocus(), std::string(text).c_str(), std::string(caption).c_str(), style);
}

}  // namespace vivo::platform
