#include "platform/module_path.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/win32/own_module.h"

namespace vivo::platform {
namespace {

// Any address inside the plug-in names the plug-in's own module.
void Anchor() {}

}  // namespace

HMODULE OwnModule() {
    HMODULE module = nullptr;
    const DWORD flags =
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (!GetModuleHandleExA(flags, reinterpret_cast<LPCSTR>(&Anchor), &module)) return nullptr;
    return module;
}

std::string ModuleFileName() {
    HMODULE module = OwnModule();
    if (module == nullptr) return {};
    // The name may be longer than MAX_PATH ("\\?\" names); a full buffer means it was cut.
    std::string name(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(module, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return {};
        if (length < name.size()) {
            name.resize(length);
            return name;
        }
        if (name.size() >= 32768) return {};
        name.resize(name.size() * 2);
    }
}

}  // namespace vivo::platform
