#include "change/phase_list.h"

#include "change/conversion_definitions.h"
#include "options/plain_text.h"
#include "options/tool_names.h"

namespace vivo {
namespace {

constexpr ToolId kNoTool = ToolId::kUnknown;
// Not a tool: the Pexa V5.45 linker decision says which old tools supply the KZ linker.
constexpr auto kDecidedByStates = static_cast<ToolId>(-2);

// The old tool that supplies each new KZ tool, by cross-family kind.
struct Correspondence {
    ConversionKind kind;
    ToolId compiler;
    ToolId assembler;
    ToolId libraryGenerator;
    ToolId linker;
    ToolId configurator;
};
using T = ToolId;
constexpr std::array<Correspondence, 5> kCorrespondences = {{
    // from Pexa V5.45: the C compiler also for the library
    {ConversionKind::kFromPexaV545, T::kPexaCCompiler, T::kPexaAssembler, T::kPexaCCompiler, kDecidedByStates, T::kPexaConfigurator},
    // from Pexa V6.00
    {ConversionKind::kFromPexaV600, T::kPexaCompiler, T::kPexaAssembler, T::kPexaLibraryGenerator, T::kLinker, T::kPexaConfigurator},
    // from Lumo V6
    {ConversionKind::kFromLumoV6, T::kSarnokiLumoCompiler, T::kSarnokiLumoAssembler, T::kSarnokiLumoLibraryGenerator, T::kSarnokiBindex, kNoTool},
    // from Lumo V7
    {ConversionKind::kFromLumoV7, T::kVeltoraLumoCompiler, T::kVeltoraLumoAssembler, T::kVeltoraLumoLibraryGenerator, T::kLinker, kNoTool},
    // from Tessaro V9.04
    {ConversionKind::kFromTessaroV904, T::kTessaroCompiler, T::kTessaroAssembler, T::kTessaroLibraryGenerator, T::kLinker, kNoTool},
}};

ToolId OldToolFor(ConversionKind kind, ToolId newTool) {
    for (const Correspondence& c : kCorrespondences) {
        if (c.kind != kind) continue;
        switch (newTool) {
            case ToolId::kCompiler: return c.compiler;
            case ToolId::kAssembler: return c.assembler;
            case ToolId::kLibraryGenerator: return c.libraryGenerator;
            case ToolId::kLinker: return c.linker;
            case ToolId::kConfigurator: return c.configurator;
            default: return kNoTool;
        }
    }
    return kNoTool;
}

// In-family: which phases of the old list a requested phase draws on.
bool IsCandidate(ToolId requested, ToolId candidate) {
    switch (requested) {
        case ToolId::kLinker: return candidate != kNoTool;
        case ToolId::kCompiler: return candidate == ToolId::kLinker || candidate == ToolId::kCompiler;
        case ToolId::kLibraryGenerator: return candidate == ToolId::kLinker || candidate == ToolId::kLibraryGenerator;
        default: return false;
    }
}

PhaseAnswer InFamilyAnswer(const StringList& phaseList, std::string_view phaseName) {
    const ToolId requested = ToolIdOfName(phaseName);
    if (requested != ToolId::kLinker && requested != ToolId::kCompiler && requested != ToolId::kLibraryGenerator)
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
            case ToolId::kPexaLinker: linker = digit; break;
            case ToolId::kPexaLibrarian: librarian = digit; break;
            case ToolId::kPexaStypeConverter: converter = digit; break;
            default: break;
        }
    }
    const LinkerDecision& decision = kPexaV545LinkerDecisions[9 * linker + 3 * librarian + converter];
    StringList names;
    if (decision.linker) names.push_back(ToolNameOfId(ToolId::kPexaLinker));
    if (decision.librarian) names.push_back(ToolNameOfId(ToolId::kPexaLibrarian));
    if (decision.converter) names.push_back(ToolNameOfId(ToolId::kPexaStypeConverter));
    return names;
}

std::optional<PhaseAnswer> OldPhasesOf(ConversionKind kind, const StringList& stateList, const StringList& phaseList,
                                       std::string_view phaseName) {
    if (IsCrossFamilyKind(kind)) {
        const ToolId oldTool = OldToolFor(kind, ToolIdOfName(phaseName));
        if (oldTool == kDecidedByStates) {
            std::optional<StringList> names = PexaV545LinkerPhases(stateList);
            if (!names) return std::nullopt;
            return PhaseAnswer{false, NewlineList(*names)};
        }
        if (oldTool == kNoTool) return PhaseAnswer{false, "\n\n"};
        return PhaseAnswer{false, ToolNameOfId(oldTool) + "\n\n"};
    }
    if (kind == ConversionKind::kCopy || kind == ConversionKind::kDowngrade10200to10100 || !IsKnownKind(kind))
        return PhaseAnswer{true, std::string(phaseName)};
    return InFamilyAnswer(phaseList, phaseName);
}

}  // namespace vivo
