#pragma once
// Include directories and defines of the compiler and the assembler, read from and written into
// their option strings:
//
//   [S|INCLUDE|"inc"|"C:\My ""Headers"""]   every directory quoted, '"' and ']' doubled inside
//   [S|DEFINE|DEBUG|LEVEL=2]                defines joined by "|" as they are...
//   [S|DEFINE|"A|B=x y"]                    ...quoted as a whole only when they hold '"', ']' or a blank

#include <string>
#include <string_view>

#include "options/option_string.h"

namespace vivo {

inline constexpr std::string_view kIncludePrefix = "[S|INCLUDE|";
inline constexpr std::string_view kDefinePrefix = "[S|DEFINE|";

// The directories of the first include item; none without one.
[[nodiscard]] StringList IncludeDirectoriesOf(std::string_view options);
// The option string with `directories` as its include item (no item when the list is empty).
[[nodiscard]] std::string WithIncludeDirectories(std::string_view options, const StringList& directories);

// The defines of the first define item; none without one.
[[nodiscard]] StringList DefinesOf(std::string_view options);
// The option string with `defines` as its define item (no item when the list is empty).
[[nodiscard]] std::string WithDefines(std::string_view options, const StringList& defines);

}  // namespace vivo
