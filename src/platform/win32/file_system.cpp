#include "platform/file_system.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// The shared name, not the system's A/W macro.
#undef SetFileAttributes

namespace vivo::platform {

std::FILE* OpenFile(std::string_view path, const char* mode) {
    return std::fopen(std::string(path).c_str(), mode);
}

// Windows reads backslashes and any case itself.
std::string NativePath(std::string_view path) { return std::string(path); }

bool SetFileAttributes(std::string_view path, std::uint32_t attributes) {
    return SetFileAttributesA(std::string(path).c_str(), attributes) != FALSE;
}

int WriteTextModeFile(std::string_view path, std::string_view text) {
    // Text mode: the C runtime writes every "\n" as "\r\n".
    std::FILE* file = std::fopen(std::string(path).c_str(), "w");
    if (file == nullptr) return 1;
    int result = 0;
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file) != text.size()) result = 3;
    if (std::fclose(file) != 0) result = 3;
    return result;
}

}  // namespace vivo::platform
