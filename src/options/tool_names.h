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
inline constexpr int32_t kKindCompiler = 0;
inline constexpr int32_t kKindAssembler = 1;

// Toolchain kind of this plug-in's own toolchain (names ending in "KZ Standard Toolchain").
inline constexpr int32_t kToolchainKindKZ = 5;

// Number of the first tool-name row whose name equals `name` exactly, or -1.
[[nodiscard]] int32_t ToolIdOfName(std::string_view name);
// Name of the first row with number `id`, or empty text.
[[nodiscard]] std::string ToolNameOfId(int32_t id);
// Kind of the first tool-kind row whose ending ends `name`, or -1.
[[nodiscard]] int32_t ToolKindOfName(std::string_view name);
// Kind of the first toolchain-kind row whose ending ends `name`, or -1.
[[nodiscard]] int32_t ToolchainKindOfName(std::string_view name);

}  // namespace vivo
