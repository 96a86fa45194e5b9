#pragma once
// The plug-in's own file, as the platform names it.

#include <string>

namespace vivo::platform {

// Full file name of the loaded plug-in module, with backslashes as directory separators on every
// platform, so that the shared path rules apply to it unchanged ("\tmp\build\Vivo.so" on POSIX,
// "C:\Program Files\...\Vivo.dll" on Windows). Empty when the platform cannot tell.
[[nodiscard]] std::string ModuleFileName();

}  // namespace vivo::platform
