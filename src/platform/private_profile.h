#pragma once
// Reading INI files the way GetPrivateProfileStringA does.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vivo::platform {

// The value of `key` in `section` of the INI file `path`, or `defaultValue` when the file, the
// section or the key is missing. Section and key names compare case-insensitively, the first match
// wins; blanks around keys and values are removed and one pair of enclosing matching quotes is
// removed from a value; the result is cut to bufferSize - 1 characters (as through a buffer of that
// size). A key present with an empty value gives the empty text; trailing blanks of the default
// are removed.
[[nodiscard]] std::string ReadProfileString(std::string_view path, std::string_view section,
                                            std::string_view key, std::string_view defaultValue,
                                            std::size_t bufferSize);

// The value of `key` in `section` of the INI text `iniText` (LF or CR LF lines), blanks and one pair
// of enclosing quotes removed and not cut; nothing when the section or the key is missing. Lines
// starting with ";" are comments; key lines before the first section belong to no section. The
// POSIX layer's parser, which ReadProfileString uses there; Windows asks the system instead.
[[nodiscard]] std::optional<std::string> FindProfileValue(std::string_view iniText,
                                                          std::string_view section,
                                                          std::string_view key);

}  // namespace vivo::platform
