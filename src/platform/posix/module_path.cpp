#include "platform/module_path.h"

#include <dlfcn.h>

#include <algorithm>

namespace vivo::platform {
namespace {

// Any address inside the plug-in names the plug-in's own file to dladdr.
void Anchor() {}

}  // namespace

std::string ModuleFileName() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&Anchor), &info) == 0 || info.dli_fname == nullptr) return {};
    std::string name = info.dli_fname;
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

}  // namespace vivo::platform
