#include "platform/private_profile.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <vector>

namespace vivo::platform {

std::string ReadProfileString(std::string_view path, std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    const std::string file(path);
    const std::string sectionName(section);
    const std::string keyName(key);
    const std::string fallback(defaultValue);
    std::vector<char> buffer(bufferSize, '\0');
    const DWORD length = GetPrivateProfileStringA(sectionName.c_str(), keyName.c_str(), fallback.c_str(),
                                                  buffer.data(), static_cast<DWORD>(buffer.size()),
                                                  file.c_str());
    return std::string(buffer.data(), length);
}

}  // namespace vivo::platform
