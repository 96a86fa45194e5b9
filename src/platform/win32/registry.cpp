#include "platform/registry.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace vivo::platform {
namespace {

constexpr DWORD kMaxKeyNameLength = 255;

// "SOFTWARE\\Veltora\\" and "\\SOFTWARE\\Veltora" name the same key as "SOFTWARE\\Veltora".
std::string WithoutEmptyComponents(std::string_view keyPath) {
    std::string path;
    std::size_t start = 0;
    while (start <= keyPath.size()) {
        std::size_t end = keyPath.find('\\', start);
        if (end == std::string_view::npos) end = keyPath.size();
        if (end > start) {
            if (!path.empty()) path.push_back('\\');
            path.append(keyPath.substr(start, end - start));
        }
        start = end + 1;
    }
    return path;
}

}  // namespace

std::optional<std::vector<std::string>> ListRegistrySubkeys(std::string_view keyPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, WithoutEmptyComponents(keyPath).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    bool failed = false;
    for (DWORD index = 0;; ++index) {
        char name[kMaxKeyNameLength + 1];
        DWORD length = sizeof name;
        const LONG status = RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) {  // ERROR_MORE_DATA included: a name too long
            failed = true;
            break;
        }
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    if (failed) return std::nullopt;
    return names;
}

}  // namespace vivo::platform
