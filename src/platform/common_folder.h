#pragma once
// The folder that all users share for application data (shell folder 35).

#include <string>

namespace vivo::platform {

// That folder without a trailing separator, with backslashes as directory separators on every
// platform (as ModuleFileName gives them), so that OpenFile accepts it joined with Windows rules.
// POSIX: the first entry of $XDG_DATA_DIRS, else /usr/local/share. Empty when the platform cannot tell.
[[nodiscard]] std::string CommonAppDataFolder();

}  // namespace vivo::platform
