#pragma once
// Recognising the toolchain's programs and the toolchains themselves by name.

#include <cstdint>
#include <string>
#include <string_view>

namespace vivo {

// Tool numbers of every family's programs, as the tool-name table gives them.
enum class ToolId : int32_t {
    kUnknown = -1,
    // The KZ toolchain's own programs.
    kCompiler = 0,
    kAssembler = 1,
    kLibraryGenerator = 4,
    kLinker = 6,  // "Veltora Bindex", which the Pexa V6.00, Lumo V7 and Tessaro families share
    kConfigurator = 7,
    kPexaLibraryGenerator = 8,
    kPexaCCompiler = 9,
    kPexaCompiler = 10,
    kPexaAssembler = 11,
    kPexaLinker = 12,
    kPexaLibrarian = 13,
    kPexaStypeConverter = 14,
    kPexaConfigurator = 15,
    kPexaConfiguratorDorn = 16,
    kSarnokiLumoLibraryGenerator = 17,
    kSarnokiLumoCompiler = 18,
    kSarnokiLumoAssembler = 19,
    kSarnokiBindex = 20,
    kVeltoraLumoLibraryGenerator = 21,
    kVeltoraLumoCompiler = 22,
    kVeltoraLumoAssembler = 23,
    kTessaroLibraryGenerator = 24,
    kTessaroCompiler = 25,
    kTessaroAssembler = 26,
};

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
[[nodiscard]] ToolId ToolIdOfName(std::string_view name);
// Name of the first row with number `id`, or empty text.
[[nodiscard]] std::string ToolNameOfId(ToolId id);
// Kind of the first tool-kind row whose ending ends `name`, or kUnknown.
[[nodiscard]] ToolKind ToolKindOfName(std::string_view name);
// Kind of the first toolchain-kind row whose ending ends `name`, or kUnknown.
[[nodiscard]] ToolchainKind ToolchainKindOfName(std::string_view name);

}  // namespace vivo
