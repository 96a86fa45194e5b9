#pragma once
// Recognising the toolchain's programs and the toolchains themselves by name.

#include <cstdint>
#include <string>
#include <string_view>

namespace vivo {

// Tool numbers of the KZ toolchain's own programs.
inline constexpr int32_t kToolCompiler = 0;
inline constexpr int32_t kToolAssembler = 1;
inline constexpr int32_t kToolLibraryGenerator = 4;
inline constexpr int32_t kToolLinker = 6;
inline constexpr int32_t kToolConfigurator = 7;

// Tool kinds, by the ending of a tool's name.
enum class ToolKind : int32_t {
    kUnknown = -1,
    kCompiler = 0,
    kAssembler = 1,
    kLinker = 2,
    kLibraryGenerator = 3,
    kDebugger = 4,
    kLibrarian = 5,
    kStypeConverter = 6,
    kConfigurator = 7,
};

// Toolchain kinds, by the ending of a toolchain's name.
enum class ToolchainKind : int32_t {
    kUnknown = -1,
    kTessaro = 0,
    kLumo = 1,
    kPexa = 2,
    kNivo = 3,
    kIarNivo = 4,
    kKZ = 5,  // this plug-in's own ("... KZ Standard Toolchain")
};

// Number of the first tool-name row whose name equals `name` exactly, or -1.
[[nodiscard]] int32_t ToolIdOfName(std::string_view name);
// Name of the first row with number `id`, or empty text.
[[nodiscard]] std::string ToolNameOfId(int32_t id);
// Kind of the first tool-kind row whose ending ends `name`, or kUnknown.
[[nodiscard]] ToolKind ToolKindOfName(std::string_view name);
// Kind of the first toolchain-kind row whose ending ends `name`, or kUnknown.
[[nodiscard]] ToolchainKind ToolchainKindOfName(std::string_view name);

}  // namespace vivo
