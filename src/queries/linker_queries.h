#pragma once
// The linker's settings the host asks about one by one:
//
//   [B|LIST|1] [S|LIST|"$(CONFIGDIR)\a.map"]   the map file
//   [S|INPUTLIBRARY|"a.lib"|"b.lib"]          the library files, seen by the host as Library="a.lib","b.lib"
//   [B|SUBCOMMAND|1]                           options read from a command file
//   [N|DEPENDSCAN|1]                           dependency scanning (any value counts)

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vivo {

inline constexpr std::string_view kLibraryPrefix = "[S|INPUTLIBRARY|";
inline constexpr std::string_view kCommandFileItem = "[B|SUBCOMMAND|1]";
inline constexpr std::string_view kDependencyScanPrefix = "[N|DEPENDSCAN|";

// The map file's path as the option string holds it (quotes kept), or "" when no map file is written
// or the option string cannot be read.
[[nodiscard]] std::string LinkerMapFileOf(std::string_view options);

// The two values describing this toolchain's linker to the host; what they mean is the host's affair.
struct LinkerInformation {
    uint32_t flags;      // 15: the four lowest bits set
    uint32_t hostValue;  // 1
};
// The values for a toolchain of this plug-in's kind, nothing for any other toolchain.
[[nodiscard]] std::optional<LinkerInformation> LinkerInformationOf(std::string_view toolchainName);

// True when an item is exactly [B|SUBCOMMAND|1].
[[nodiscard]] bool UsesCommandFile(std::string_view options);
// True when an item begins with [N|DEPENDSCAN|.
[[nodiscard]] bool ScansDependencies(std::string_view options);

// The host's library text "Library=" and the entries joined by ","; "" without a library item.
[[nodiscard]] std::string LibraryTextOf(std::string_view options);
// The option string with the library item built from the host's text ("Library=a.lib,b.lib"). A text
// that names no library (empty once its quotes and the part up to "=" are gone) removes the item.
[[nodiscard]] std::string WithLibraryText(std::string_view options, std::string_view libraryText);

}  // namespace vivo
