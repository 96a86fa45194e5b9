#include "platform/common_folder.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace vivo::platform {

std::string CommonAppDataFolder() {
    std::string_view dirs;
    if (const char* value = std::getenv("XDG_DATA_DIRS")) dirs = value;
    std::string folder(dirs.substr(0, dirs.find(':')));
    if (folder.empty()) folder = "/usr/local/share";
    // "/usr/share/" joins as "\usr\share\Veltora", not "\usr\share\\Veltora".
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    std::replace(folder.begin(), folder.end(), '/', '\\');
    return folder;
}

}  // namespace vivo::platform
