#include "change/version_steps.h"

#include <array>

#include "options/tool_names.h"

namespace vivo {
namespace {

constexpr std::string_view kEndianBigItem = "[S|ENDIAN|BIG]";
constexpr std::string_view kEndianLittleItem = "[S|ENDIAN|LITTLE]";
constexpr std::string_view kSectionItem = "[S|SECTION|L=C]";
constexpr std::string_view kExistingLibraryPrefix = "[S|EXISTINGLIBRARY|";
constexpr std::string_view kMapOptimizationItem = "[B|MAPOPTIMIZATION|1]";

// The MISRA 2004 rule lists from which 1.02.00 does not know rule "15.2".
constexpr std::array<std::string_view, 4> kMisraRuleItems = {
    "[S|MISRA2004RULEAPPLY",
    "[S|MISRA2004RULEIGNORE",
    "[S|MISRA2004RULEREQUIREDADD",
    "[S|MISRA2004RULEREQUIREDREMOVE",
};
constexpr std::string_view kMisraRuleUnknownBefore10201 = "15.2";

constexpr std::string_view kInputPrefix = "S|INPUT|";
constexpr std::string_view kBinaryPrefix = "S|BINARY|";
constexpr std::string_view kModuleListStart = "\"(";
constexpr std::string_view kSectionListStart = "\"|\"(";

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

void AddItem(std::string& optionString, std::string_view item) { AppendWithSeparator(optionString, item, ' '); }

std::string WithoutQuotes(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != '"') out += c;
    return out;
}

// Every occurrence of `part` removed in one pass from left to right.
std::string WithoutAll(std::string_view text, std::string_view part) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(part, from)) != std::string_view::npos; from = at + part.size())
        out += text.substr(from, at - from);
    out += text.substr(from);
    return out;
}

// "[S|MISRA2004RULEAPPLY|15.2|1.1|2.2]" -> "[S|MISRA2004RULEAPPLY|1.1|2.2]"; an item left with a
// single rule, or with none, is dropped (""). A closing "15.2]" is not the rule alone and stays.
std::string WithoutRule152(std::string_view item) {
    StringList pieces;
    SplitList(item, "|", pieces);
    for (auto it = pieces.begin(); it != pieces.end(); ++it) {
        if (*it == kMisraRuleUnknownBefore10201) {
            pieces.erase(it);
            break;
        }
    }
    if (pieces.size() <= 3) return {};
    std::string joined;
    for (const std::string& piece : pieces) AppendWithSeparator(joined, piece, '|');
    return joined;
}

// One linker item in its 1.01.00 form, followed by a blank; empty when the item is dropped.
//   [S|INPUT|"a.obj"("m1","m2")]          -> [S|INPUT|"a.obj"]
//   [S|BINARY|"b.bin"|"(SEC/CODE,X/DATA)"] -> [S|BINARY|"b.bin"|"(SEC,X)"]
std::string LinkerItemFor10100(std::string_view item) {
    const std::string_view inner = item.size() >= 2 ? item.substr(1, item.size() - 2) : std::string_view();
    if (inner.starts_with(kInputPrefix)) {
        std::string_view value = inner.substr(kInputPrefix.size());
        value = value.substr(0, value.find(kModuleListStart));
        const std::string file = WithoutQuotes(value);
        return file.empty() ? std::string() : "[S|INPUT|\"" + file + "\"] ";
    }
    if (inner.starts_with(kBinaryPrefix)) {
        const std::string_view value = inner.substr(kBinaryPrefix.size());
        const std::size_t at = value.find(kSectionListStart);
        if (at == std::string_view::npos) return {};
        const std::string file = WithoutQuotes(value.substr(0, at));
        const std::string sections =
            WithoutAll(WithoutAll(WithoutQuotes(value.substr(at + 2)), "/CODE"), "/DATA");
        if (file.empty() || sections.empty()) return {};
        return "[S|BINARY|\"" + file + "\"|\"" + sections + "\"] ";
    }
    return "[" + std::string(inner) + "] ";
}

constexpr std::string_view kItemWhitespace = "\n\r\t ";

}  // namespace

ConversionContext::StepStart ConversionContext::Start(std::string_view phaseName, const StringList& options,
                                                      std::string& result, int32_t& tool) const {
    if (options.empty()) return StepStart::kFailed;
    tool = ToolIdOfName(phaseName);
    int32_t line = 0;
    switch (tool) {
        case kToolCompiler: line = compilerLine; break;
        case kToolAssembler: line = assemblerLine; break;
        case kToolLibraryGenerator: line = libraryGeneratorLine; break;
        case kToolLinker: line = linkerLine; break;
        default:
            result = options.front();
            return StepStart::kDone;
    }
    if (result.empty()) result = options.at(static_cast<std::size_t>(line));
    return StepStart::kOwnText;
}

int ConversionContext::Upgrade10000to10001(std::string_view phaseName, const StringList& options,
                                           std::string& result) const {
    int32_t tool = 0;
    const StepStart start = Start(phaseName, options, result, tool);
    if (start != StepStart::kOwnText) return start == StepStart::kFailed ? 1 : 0;
    if (tool != kToolLinker) return 0;
    if (Contains(result, kEndianBigItem) || Contains(result, kEndianLittleItem)) return 0;
    if (endianState == kEndianBig) AddItem(result, kEndianBigItem);
    if (endianState == kEndianLittle) AddItem(result, kEndianLittleItem);
    return 0;
}

int ConversionContext::Upgrade10001to10100(std::string_view phaseName, const StringList& options,
                                           std::string& result) const {
    int32_t tool = 0;
    const StepStart start = Start(phaseName, options, result, tool);
    if (start != StepStart::kOwnText) return start == StepStart::kFailed ? 1 : 0;
    // Added even when the item is there already.
    if (tool == kToolCompiler || tool == kToolLibraryGenerator) AddItem(result, kSectionItem);
    return 0;
}

int ConversionContext::Upgrade10100to10200(std::string_view phaseName, const StringList& options,
                                           std::string& result) const {
    int32_t tool = 0;
    const StepStart start = Start(phaseName, options, result, tool);
    if (start != StepStart::kOwnText) return start == StepStart::kFailed ? 1 : 0;
    if (tool == kToolLinker && !existingLibraryPath.empty())
        AddItem(result, std::string(kExistingLibraryPrefix) + existingLibraryPath + "]");
    return 0;
}

int ConversionContext::Upgrade10200to10201(std::string_view phaseName, const StringList& options,
                                           std::string& result) const {
    int32_t tool = 0;
    const StepStart start = Start(phaseName, options, result, tool);
    if (start != StepStart::kOwnText) return start == StepStart::kFailed ? 1 : 0;
    if ((tool == kToolCompiler || tool == kToolLinker) && compilerMapFlag == 1 && linkerMapFlag == 1)
        AddItem(result, kMapOptimizationItem);
    return 0;
}

int ConversionContext::Downgrade10201to10200(std::string_view phaseName, const StringList& options,
                                             std::string& result) const {
    int32_t tool = 0;
    const StepStart start = Start(phaseName, options, result, tool);
    if (start != StepStart::kOwnText) return start == StepStart::kFailed ? 1 : 0;
    if (tool != kToolCompiler) return 0;
    const StringList items = SplitQuoted(std::string_view(result), kItemWhitespace);
    // Every item keeps its blank in front, so a dropped item leaves two blanks in a row.
    result.clear();
    for (const std::string& item : items) {
        bool misra = false;
        for (std::string_view prefix : kMisraRuleItems) misra = misra || Contains(item, prefix);
        result += ' ';
        result += misra ? WithoutRule152(item) : item;
    }
    return 0;
}

int ConversionContext::Downgrade10200to10100(std::string_view phaseName, const StringList& options,
                                             std::string& result) const {
    int32_t tool = 0;
    const StepStart start = Start(phaseName, options, result, tool);
    if (start != StepStart::kOwnText) return start == StepStart::kFailed ? 1 : 0;
    if (tool != kToolLinker) return 0;
    const StringList items = SplitQuoted(std::string_view(result), kItemWhitespace);
    result.clear();
    for (const std::string& item : items) result += LinkerItemFor10100(item);
    return 0;
}

}  // namespace vivo
