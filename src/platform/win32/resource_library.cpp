#include "platform/resource_library.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/win32/resource_source.h"

namespace vivo::platform {
namespace {

constexpr int kFirstStringBuffer = 256;
constexpr int kLargestStringBuffer = 1 << 16;  // a string-table text holds at most 4097 characters

}  // namespace

struct ResourceLibrary {
    HMODULE module;
};

std::string_view ResourceLibraryFileName(bool japanese) { return japanese ? "ResVivoJp.dll" : "ResVivo.dll"; }

ResourceLibrary* LoadResourceLibrary(std::string_view path) {
    HMODULE module = LoadLibraryA(std::string(path).c_str());
    if (module == nullptr) return nullptr;
    return new ResourceLibrary{module};
}

void FreeResourceLibrary(ResourceLibrary* library) {
    if (library == nullptr) return;
    FreeLibrary(library->module);
    delete library;
}

std::optional<std::string> LoadLibraryString(ResourceLibrary* library, uint32_t id) {
    // The table keeps no empty texts: a length of 0 is a missing entry. A text that fills the
    // buffer may have been cut, so it is read again into a larger one.
    std::string text;
    for (int size = kFirstStringBuffer; size <= kLargestStringBuffer; size *= 2) {
        text.assign(static_cast<std::size_t>(size), '\0');
        const int length = LoadStringA(library->module, id, text.data(), size);
        if (length <= 0) return std::nullopt;
        if (length < size - 1) {
            text.resize(static_cast<std::size_t>(length));
            return text;
        }
    }
    return std::nullopt;
}

HMODULE ResourceModule(ResourceLibrary* library) { return library->module; }

}  // namespace vivo::platform
