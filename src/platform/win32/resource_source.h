#pragma once
// The module behind a loaded resource library, for the Windows layer's dialog templates.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/resource_library.h"

namespace vivo::platform {

[[nodiscard]] HMODULE ResourceModule(ResourceLibrary* library);

}  // namespace vivo::platform
