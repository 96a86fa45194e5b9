#include "platform/module_path.h"

namespace vivo::platform {

std::string PluginFilePath(std::string_view fileName) {
    const std::string module = ModuleFileName();
    const std::size_t slash = module.find_last_of('\\');
    std::string path = slash == std::string::npos ? std::string() : module.substr(0, slash);
    path += '\\';
    path += fileName;
    return path;
}

}  // namespace vivo::platform
