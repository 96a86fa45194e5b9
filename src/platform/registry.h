#pragma once
// The registry below HKEY_LOCAL_MACHINE, read only.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vivo::platform {

// The names of the subkeys of `keyPath` (e.g. "SOFTWARE\\Veltora\\RTOS", components opened one by one,
// case-insensitively) in the registry's enumeration order, spelt as stored. Nothing when the key
// cannot be opened or the enumeration fails (a name longer than 255 characters included).
// POSIX: the key is a directory below $VIVO_HKLM, else /etc/vivo/HKLM; its subkeys are its folders.
[[nodiscard]] std::optional<std::vector<std::string>> ListRegistrySubkeys(std::string_view keyPath);

}  // namespace vivo::platform
