#include "platform/resource_library.h"

namespace vivo::platform {
namespace {

// Process-wide, as the host calls the exports from one thread.
ResourceLibrary* current = nullptr;

}  // namespace

ResourceLibrary* CurrentResourceSource() { return current; }

ResourceScope::ResourceScope(ResourceLibrary* library) : previous_(current) { current = library; }

ResourceScope::ResourceScope(std::string_view path) : owned_(LoadResourceLibrary(path)), previous_(current) {
    if (owned_ != nullptr) current = owned_;
}

ResourceScope::~ResourceScope() {
    current = previous_;
    FreeResourceLibrary(owned_);
}

}  // namespace vivo::platform
