#pragma once
// Loading shared libraries by file name (dlopen / LoadLibraryA).

#include <string>

namespace vivo::platform {

struct SharedLibrary;

// Loads the library at the native path `path`; null when it cannot be loaded. On failure `error`
// (when given) receives the platform's reason.
[[nodiscard]] SharedLibrary* OpenSharedLibrary(const std::string& path, std::string* error = nullptr);
[[nodiscard]] void* FindSymbol(SharedLibrary* library, const char* name);
void CloseSharedLibrary(SharedLibrary* library);

}  // namespace vivo::platform
