#include "options/tool_names.h"

#include <array>

namespace vivo {
namespace {

struct NamedTool {
    std::string_view name;
    ToolId id;
};

// Full tool names of every family's programs, in look-up order (14 stands before 13).
constexpr std::array<NamedTool, 24> kToolNames = {{
    {"Veltora KZ C/C++ Compiler", ToolId::kCompiler},
    {"Veltora KZ Assembler", ToolId::kAssembler},
    {"Veltora KZ C/C++ Library Generator", ToolId::kLibraryGenerator},
    {"Veltora Bindex", ToolId::kLinker},
    {"Veltora KZ Configurator", ToolId::kConfigurator},
    {"Veltora Pexa C/C++ Library Generator", ToolId::kPexaLibraryGenerator},
    {"Veltora Pexa C Compiler", ToolId::kPexaCCompiler},
    {"Veltora Pexa C/C++ Compiler", ToolId::kPexaCompiler},
    {"Veltora Pexa Assembler", ToolId::kPexaAssembler},
    {"Veltora Pexa Linker", ToolId::kPexaLinker},
    {"Veltora Pexa Stype Converter", ToolId::kPexaStypeConverter},
    {"Veltora Pexa Librarian", ToolId::kPexaLibrarian},
    {"Veltora Pexa Configurator", ToolId::kPexaConfigurator},
    {"Veltora Pexa ConfiguratorDorn", ToolId::kPexaConfiguratorDorn},
    {"Sarnoki Lumo,Lumo/T C/C++ Library Generator", ToolId::kSarnokiLumoLibraryGenerator},
    {"Sarnoki Lumo,Lumo/T C/C++ Compiler", ToolId::kSarnokiLumoCompiler},
    {"Sarnoki Lumo,Lumo/T Assembler", ToolId::kSarnokiLumoAssembler},
    {"Sarnoki Bindex", ToolId::kSarnokiBindex},
    {"Veltora Lumo,Lumo/T C/C++ Library Generator", ToolId::kVeltoraLumoLibraryGenerator},
    {"Veltora Lumo,Lumo/T C/C++ Compiler", ToolId::kVeltoraLumoCompiler},
    {"Veltora Lumo,Lumo/T Assembler", ToolId::kVeltoraLumoAssembler},
    {"Veltora Tessaro C/C++ Library Generator", ToolId::kTessaroLibraryGenerator},
    {"Veltora Tessaro C/C++ Compiler", ToolId::kTessaroCompiler},
    {"Veltora Tessaro Assembler", ToolId::kTessaroAssembler},
}};

template <class Kind>
struct NamedKind {
    std::string_view ending;
    Kind kind;
};

// Tool kinds by name ending, tried in order: "Generator" before "Compiler", so that
// "... C/C++ Library Generator" is a library generator.
constexpr std::array<NamedKind<ToolKind>, 10> kToolKinds = {{
    {"Generator", ToolKind::kLibraryGenerator},
    {"Compiler", ToolKind::kCompiler},
    {"Assembler", ToolKind::kAssembler},
    {"Bindex", ToolKind::kLinker},
    {"OPTIMIZER", ToolKind::kLinker},
    {"Linker", ToolKind::kLinker},
    {"Debug", ToolKind::kDebugger},
    {"Librarian", ToolKind::kLibrarian},
    {"Stype Converter", ToolKind::kStypeConverter},
    {"Configurator", ToolKind::kConfigurator},
}};

// Toolchain kinds by name ending, tried in order.
constexpr std::array<NamedKind<ToolchainKind>, 6> kToolchainKinds = {{
    {"Tessaro RISC engine Standard Toolchain", ToolchainKind::kTessaro},
    {"Lumo,Lumo/T Standard Toolchain", ToolchainKind::kLumo},
    {"Pexa", ToolchainKind::kPexa},
    {"Veltora Nivo Family Standard Toolchain", ToolchainKind::kNivo},
    {"IAR ICCNivo (Nivo Family) Standard Toolchain", ToolchainKind::kIarNivo},
    {"KZ Standard Toolchain", ToolchainKind::kKZ},
}};

template <class Kind, size_t N>
Kind KindByEnding(const std::array<NamedKind<Kind>, N>& table, std::string_view name) {
    for (const NamedKind<Kind>& row : table)
        if (name.ends_with(row.ending)) return row.kind;
    return Kind::kUnknown;
}

}  // namespace

ToolId ToolIdOfName(std::string_view name) {
    for (const NamedTool& row : kToolNames)
        if (row.name == name) return row.id;
    return ToolId::kUnknown;
}

std::string ToolNameOfId(ToolId id) {
    for (const NamedTool& row : kToolNames)
        if (row.id == id) return std::string(row.name);
    return {};
}

ToolKind ToolKindOfName(std::string_view name) { return KindByEnding(kToolKinds, name); }

ToolchainKind ToolchainKindOfName(std::string_view name) { return KindByEnding(kToolchainKinds, name); }

}  // namespace vivo
