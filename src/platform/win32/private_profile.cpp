#include "platform/private_profile.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <vector>

namespace vivo::platform {

// The system keeps INI files it has read, so only the name is kept here.
struct ProfileFile::Contents {
    std::string path;
};

ProfileFile::ProfileFile(std::string_view path) : contents_(std::make_unique<Contents>(Contents{std::string(path)})) {}

ProfileFile::~ProfileFile() = default;

std::string ProfileFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    std::size_t bufferSize) const {
    if (bufferSize == 0) return {};
    const std::string sectionName(section);
    const std::string keyName(key);
    const std::string fallback(defaultValue);
    std::vector<char> buffer(bufferSize, '\0');
    const DWORD length = GetPrivateProfileStringA(sectionName.c_str(), keyName.c_str(), fallback.c_str(),
                                                  buffer.data(), static_cast<DWORD>(buffer.size()),
                                                  contents_->path.c_str());
    return std::string(buffer.data(), length);
}

}  // namespace vivo::platform
