#pragma once
// The plug-in's own module handle, for the Windows layer's resource look-ups.

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace vivo::platform {

// The module that holds this code (Vivo.dll, or the test program that links the code in).
[[nodiscard]] HMODULE OwnModule();

}  // namespace vivo::platform
