#include "change/phase_list.h"

#include "change/conversion_definitions.h"
#include "options/plain_text.h"
#include "options/tool_names.h"

namespace vivo {
namespace {

constexpr int32_t kNoTool = -1;
constexpr int32_t kDecidedByStates = -2;  // the Pexa V5.45 linker decision

constexpr int32_t kPexaLinker = 12;
constexpr int32_t kPexaLibrarian = 13;
constexpr int32_t kPexaStypeConverter = 14;

// The old tool that supplies each new KZ tool, by cross-family kind.
struct Correspondence {
    int32_t kind;
    int32_t compiler;
    int32_t assembler;
    int32_t libraryGenerator;
    int32_t linker;
    int32_t configurator;
};
constexpr std::array<Correspondence, 5> kCorrespondences = {{
    {2, 9, 11, 9, kDecidedByStates, 15},  // from Pexa V5.45: the C compiler also for the library
    {3, 10, 11, 8, 6, 15},                // from Pexa V6.00
    {4, 18, 19, 17, 20, kNoTool},         // from Lumo V6
    {5, 22, 23, 21, 6, kNoTool},          // from Lumo V7
    {6, 25, 26, 24, 6, kNoTool},          // from Tessaro V9.04
}};

int32_t OldToolFor(int32_t kind, int32_t newTool) {
    for (const Correspondence& c : kCorrespondences) {
        if (c.kind != kind) continue;
        switch (newTool) {
            case kToolCompiler: return c.compiler;
            case kToolAssembler: return c.assembler;
            case kToolLibraryGenerator: return c.libraryGenerator;
            case kToolLinker: return c.linker;
            case kToolConfigurator: return c.configurator;
            default: return kNoTool;
        }
    }
    return kNoTool;
}

// In-family: which phases of the old list a requested phase draws on.
bool IsCandidate(int32_t requested, int32_t candidate) {
    switch (requested) {
        case kToolLinker: return candidate != kNoTool;
        case kToolCompiler: return candidate == kToolLinker || candidate == kToolCompiler;
        case kToolLibraryGenerator: return candidate == kToolLinker || candidate == kToolLibraryGenerator;
        default: return false;
    }
}

PhaseAnswer InFamilyAnswer(const StringList& phaseList, std::string_view phaseName) {
    const int32_t requested = ToolIdOfName(phaseName);
    if (requested != kToolLinker && requested != kToolCompiler && requested != kToolLibraryGenerator)
        return {true, std::string(phaseName)};
    StringList names;
    for (const std::string& line : phaseList) {
        const std::size_t bar = line.rfind('|');
        const std::string toolName = bar == std::string::npos ? std::string() : line.substr(0, bar);
        if (IsCandidate(requested, ToolIdOfName(toolName))) names.push_back(toolName);
    }
    return {false, NewlineList(names)};
}

}  // namespace

std::optional<StringList> PexaV545LinkerPhases(const StringList& stateList) {
    // A tool named twice takes the digit of its later line, so that the code stays within the table.
    int linker = 0, librarian = 0, converter = 0;
    for (const std::string& line : stateList) {
        StringList fields;
        SplitList(line, "|", fields);
        if (fields.size() < 2) return std::nullopt;
        const int digit = fields[1] == "0" ? 1 : 2;
        switch (ToolIdOfName(fields[0])) {
            case kPexaLinker: linker = digit; break;
            case kPexaLibrarian: librarian = digit; break;
            case kPexaStypeConverter: converter = digit; break;
            default: break;
        }
    }
    const LinkerDecision& decision = kPexaV545LinkerDecisions[9 * linker + 3 * librarian + converter];
    StringList names;
    if (decision.linker) names.push_back(ToolNameOfId(kPexaLinker));
    if (decision.librarian) names.push_back(ToolNameOfId(kPexaLibrarian));
    if (decision.converter) names.push_back(ToolNameOfId(kPexaStypeConverter));
    return names;
}

std::optional<PhaseAnswer> OldPhasesOf(int32_t kind, const StringList& stateList, const StringList& phaseList,
                                       std::string_view phaseName) {
    if (IsCrossFamilyKind(kind)) {
        const int32_t oldTool = OldToolFor(kind, ToolIdOfName(phaseName));
        if (oldTool == kDecidedByStates) {
            std::optional<StringList> names = PexaV545LinkerPhases(stateList);
            if (!names) return std::nullopt;
            return PhaseAnswer{false, NewlineList(*names)};
        }
        if (oldTool == kNoTool) return PhaseAnswer{false, "\n\n"};
        return PhaseAnswer{false, ToolNameOfId(oldTool) + "\n\n"};
    }
    if (kind == kKindCopy || kind == kKindDowngrade10200to10100 || kind < 0 || kind >= kConversionKindCount)
        return PhaseAnswer{true, std::string(phaseName)};
    return InFamilyAnswer(phaseList, phaseName);
}

}  // namespace vivo
