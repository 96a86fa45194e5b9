#pragma once
// The plug-in's own file, as the platform names it.

#include <string>
#include <string_view>

namespace vivo::platform {

// Full file name of the loaded plug-in module, with backslashes as directory separators on every
// platform, so that the shared path rules apply to it unchanged ("\tmp\build\Vivo.so" on POSIX,
// "C:\Program Files\...\Vivo.dll" on Windows). Empty when the platform cannot tell.
[[nodiscard]] std::string ModuleFileName();

// A file beside the plug-in (TC.ini, SyntaxColouring.ini, the resource libraries): the module's file
// name with its last component removed, then one backslash and `fileName`.
[[nodiscard]] std::string PluginFilePath(std::string_view fileName);

}  // namespace vivo::platform
