#include "platform/shared_library.h"

#include <dlfcn.h>

namespace vivo::platform {

SharedLibrary* OpenSharedLibrary(const std::string& path, std::string* error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr && error != nullptr) {
        const char* reason = dlerror();
        *error = reason != nullptr ? reason : "unknown error";
    }
    return static_cast<SharedLibrary*>(handle);
}

void* FindSymbol(SharedLibrary* library, const char* name) { return dlsym(library, name); }

void CloseSharedLibrary(SharedLibrary* library) { dlclose(library); }

}  // namespace vivo::platform
