#include "platform/shared_library.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace vivo::platform {
namespace {

std::string SystemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string message = "error " + std::to_string(code);
    if (length > 0 && text != nullptr) message.append(": ").append(text, length);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    return message;
}

}  // namespace

SharedLibrary* OpenSharedLibrary(const std::string& path, std::string* error) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr && error != nullptr) *error = SystemMessage(GetLastError());
    return reinterpret_cast<SharedLibrary*>(module);
}

void* FindSymbol(SharedLibrary* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), name));
}

void CloseSharedLibrary(SharedLibrary* library) { FreeLibrary(reinterpret_cast<HMODULE>(library)); }

}  // namespace vivo::platform
