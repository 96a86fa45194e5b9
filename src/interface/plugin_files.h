#pragma once
// Files that lie beside the loaded plug-in (TC.ini, SyntaxColouring.ini, the resource libraries).

#include <string>
#include <string_view>

namespace vivo {

// The plug-in's own folder with `fileName` appended: the module's file name with its last
// component removed, then one backslash and the name. Empty name gives the folder with a backslash.
[[nodiscard]] std::string PluginFilePath(std::string_view fileName);

}  // namespace vivo
