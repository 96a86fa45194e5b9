#include "platform/resource_library.h"

#include "platform/file_system.h"
#include "platform/shared_library.h"

namespace vivo::platform {
namespace {

// A resource library on POSIX is a shared object exporting this look-up: the text of string `id`
// and its length, or null when it has none.
using StringLookup = const char* (*)(uint32_t id, uint32_t* length);
constexpr const char* kStringLookupName = "VivoResourceString";

}  // namespace

std::string_view ResourceLibraryFileName(bool japanese) { return japanese ? "ResVivoJp.so" : "ResVivo.so"; }

struct ResourceLibrary {
    SharedLibrary* library;
    StringLookup lookup;
};

ResourceLibrary* LoadResourceLibrary(std::string_view path) {
    SharedLibrary* library = OpenSharedLibrary(NativePath(path));
    if (library == nullptr) return nullptr;
    auto lookup = reinterpret_cast<StringLookup>(FindSymbol(library, kStringLookupName));
    if (lookup == nullptr) {
        CloseSharedLibrary(library);
        return nullptr;
    }
    return new ResourceLibrary{library, lookup};
}

void FreeResourceLibrary(ResourceLibrary* library) {
    if (library == nullptr) return;
    CloseSharedLibrary(library->library);
    delete library;
}

std::optional<std::string> LoadLibraryString(ResourceLibrary* library, uint32_t id) {
    uint32_t length = 0;
    const char* text = library->lookup(id, &length);
    if (text == nullptr) return std::nullopt;
    return std::string(text, length);
}

}  // namespace vivo::platform
