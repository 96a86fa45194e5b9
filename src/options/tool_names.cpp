#include "options/tool_names.h"

#include <array>

namespace vivo {
namespace {

struct NamedNumber {
    std::string_view name;
    int32_t number;
};

// Full tool names of every family's programs, in look-up order (14 stands before 13).
constexpr std::array<NamedNumber, 24> kToolNames = {{
    {"Veltora KZ C/C++ Compiler", 0},
    {"Veltora KZ Assembler", 1},
    {"Veltora KZ C/C++ Library Generator", 4},
    {"Veltora Bindex", 6},
    {"Veltora KZ Configurator", 7},
    {"Veltora Pexa C/C++ Library Generator", 8},
    {"Veltora Pexa C Compiler", 9},
    {"Veltora Pexa C/C++ Compiler", 10},
    {"Veltora Pexa Assembler", 11},
    {"Veltora Pexa Linker", 12},
    {"Veltora Pexa Stype Converter", 14},
    {"Veltora Pexa Librarian", 13},
    {"Veltora Pexa Configurator", 15},
    {"Veltora Pexa ConfiguratorDorn", 16},
    {"Sarnoki Lumo,Lumo/T C/C++ Library Generator", 17},
    {"Sarnoki Lumo,Lumo/T C/C++ Compiler", 18},
    {"Sarnoki Lumo,Lumo/T Assembler", 19},
    {"Sarnoki Bindex", 20},
    {"Veltora Lumo,Lumo/T C/C++ Library Generator", 21},
    {"Veltora Lumo,Lumo/T C/C++ Compiler", 22},
    {"Veltora Lumo,Lumo/T Assembler", 23},
    {"Veltora Tessaro C/C++ Library Generator", 24},
    {"Veltora Tessaro C/C++ Compiler", 25},
    {"Veltora Tessaro Assembler", 26},
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

int32_t ToolIdOfName(std::string_view name) {
    for (const NamedNumber& row : kToolNames)
        if (row.name == name) return row.number;
    return -1;
}

std::string ToolNameOfId(int32_t id) {
    for (const NamedNumber& row : kToolNames)
        if (row.number == id) return std::string(row.name);
    return {};
}

ToolKind ToolKindOfName(std::string_view name) { return KindByEnding(kToolKinds, name); }

ToolchainKind ToolchainKindOfName(std::string_view name) { return KindByEnding(kToolchainKinds, name); }

}  // namespace vivo
