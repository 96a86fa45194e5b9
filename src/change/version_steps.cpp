#include "change/version_steps.h"

#include <array>

#include "options/plain_text.h"
#include "options/tool_names.h"

namespace vivo {
namespace {

constexpr std::string_view kEndianBigItem = "[S|ENDIAN|BIG]";
constexpr std::string_view kEndianLittleItem = "[S|ENDIAN|LITTLE]";
constexpr std::string_view kSectionItem = "[S|SECTION|L=C]";
constexpr std::string_view kExistingLibraryPrefix = "[S|EXISTINGLIBRARY|";
constexpr std::string_view kMapOptimizationItem = "[B|MAPOPTIMIZATION|1]";
constexpr std::string_view kMapItem = "[B|MAP|1]";

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
    return Joined(pieces, '|');
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
constexpr std::size_t kRoomForAddedItems = 256;

}  // namespace

bool ConversionContext::PreScan(const OptionLines& lines) {
    auto updateEndian = [this](std::string_view options) {
        if (Contains(options, kEndianBigItem))
            endianState = (endianState == Endian::kNone || endianState == Endian::kBig) ? Endian::kBig : Endian::kMixed;
        else if (Contains(options, kEndianLittleItem))
            endianState =
                (endianState == Endian::kNone || endianState == Endian::kLittle) ? Endian::kLittle : Endian::kMixed;
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::size_t bar = line.find('|');
        if (bar == std::string_view::npos) return false;
        const int32_t position = static_cast<int32_t>(i);
        toolNames.emplace_back(line.substr(0, bar));
        optionStrings.push_back(line.substr(bar + 1));
        const std::string_view options = optionStrings.back();
        switch (ToolIdOfName(toolNames.back())) {
            case ToolId::kCompiler:
                compilerLine = position;
                updateEndian(options);
                compilerMapFlag = Contains(options, kMapItem) ? 1 : 0;
                break;
            case ToolId::kAssembler:
                assemblerLine = position;
                updateEndian(options);
                break;
            case ToolId::kLibraryGenerator: {
                libraryGeneratorLine = position;
                updateEndian(options);
                OptionSet items;
                // A failed parse still leaves the items right of the bad one; those count.
                (void)ParseOptionString(std::string_view(options), items);
                const auto mode = items.find("S|MODE");
                const auto path = items.find("S|EXISTOUTPUTPATH");
                if (mode != items.end() && mode->second == "EXISTING" && path != items.end())
                    existingLibraryPath = path->second;
                break;
            }
            case ToolId::kLinker:
                linkerLine = position;
                if (Contains(options, kMapItem)) linkerMapFlag = 1;
                break;
            default: break;
        }
    }
    return true;
}

template <class Rewrite>
int ConversionContext::RunStep(std::string_view phaseName, const OptionLines& options, std::string& result,
                               Rewrite&& rewrite) const {
    if (options.empty()) return 1;
    const ToolId tool = ToolIdOfName(phaseName);
    int32_t line = 0;
    switch (tool) {
        case ToolId::kCompiler: line = compilerLine; break;
        case ToolId::kAssembler: line = assemblerLine; break;
        case ToolId::kLibraryGenerator: line = libraryGeneratorLine; break;
        case ToolId::kLinker: line = linkerLine; break;
        default:
            result = options.front();
            return 0;
    }
    if (result.empty()) {
        const std::string_view own = options.at(static_cast<std::size_t>(line));
        result.reserve(own.size() + kRoomForAddedItems);  // the items a step adds fit without a second copy
        result = own;
    }
    rewrite(tool);
    return 0;
}

int ConversionContext::Upgrade10000to10001(std::string_view phaseName, const OptionLines& options,
                                           std::string& result) const {
    return RunStep(phaseName, options, result, [&](ToolId tool) {
        if (tool != ToolId::kLinker) return;
        if (Contains(result, kEndianBigItem) || Contains(result, kEndianLittleItem)) return;
        if (endianState == Endian::kBig) AddItem(result, kEndianBigItem);
        if (endianState == Endian::kLittle) AddItem(result, kEndianLittleItem);
    });
}

int ConversionContext::Upgrade10001to10100(std::string_view phaseName, const OptionLines& options,
                                           std::string& result) const {
    return RunStep(phaseName, options, result, [&](ToolId tool) {
        // Added even when the item is there already.
        if (tool == ToolId::kCompiler || tool == ToolId::kLibraryGenerator) AddItem(result, kSectionItem);
    });
}

int ConversionContext::Upgrade10100to10200(std::string_view phaseName, const OptionLines& options,
                                           std::string& result) const {
    return RunStep(phaseName, options, result, [&](ToolId tool) {
        if (tool == ToolId::kLinker && !existingLibraryPath.empty())
            AddItem(result, std::string(kExistingLibraryPrefix) + existingLibraryPath + "]");
    });
}

int ConversionContext::Upgrade10200to10201(std::string_view phaseName, const OptionLines& options,
                                           std::string& result) const {
    return RunStep(phaseName, options, result, [&](ToolId tool) {
        if ((tool == ToolId::kCompiler || tool == ToolId::kLinker) && compilerMapFlag == 1 && linkerMapFlag == 1)
            AddItem(result, kMapOptimizationItem);
    });
}

int ConversionContext::Downgrade10201to10200(std::string_view phaseName, const OptionLines& options,
                                             std::string& result) const {
    return RunStep(phaseName, options, result, [&](ToolId tool) {
        if (tool != ToolId::kCompiler) return;
        const StringList items = SplitQuoted(std::string_view(result), kItemWhitespace);
        // Every item keeps its blank in front, so a dropped item leaves two blanks in a row.
        result.clear();
        for (const std::string& item : items) {
            bool misra = false;
            for (std::string_view prefix : kMisraRuleItems) misra = misra || Contains(item, prefix);
            result += ' ';
            result += misra ? WithoutRule152(item) : item;
        }
    });
}

int ConversionContext::Downgrade10200to10100(std::string_view phaseName, const OptionLines& options,
                                             std::string& result) const {
    return RunStep(phaseName, options, result, [&](ToolId tool) {
        if (tool != ToolId::kLinker) return;
        const StringList items = SplitQuoted(std::string_view(result), kItemWhitespace);
        result.clear();
        for (const std::string& item : items) result += LinkerItemFor10100(item);
    });
}

}  // namespace vivo
