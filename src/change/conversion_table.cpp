#include "change/conversion_table.h"

#include <cstring>
#include <optional>

#include "change/conversion_helpers.h"
#include "change/tool_names.h"
#include "options/option_string.h"
#include "resources/string_table.h"
#include "summary/change_summary.h"

namespace vivo {
namespace {

constexpr uint32_t kLibraryGeneratorDefaults = 2017;
constexpr uint32_t kRenameLine = 2018;  // "  Option %s has been converted to %s\r\n"
constexpr uint32_t kConfiguratorDefaults = 2019;
constexpr uint32_t kPhaseOptionsHeading = 2021;

bool LabelsEqual(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) return a == b;
    return std::strcmp(a, b) == 0;
}

// The string table's printf-style line with its "%s" fields filled in order; "%%" is one percent sign.
// A null label fills its field with nothing.
std::string FormatRenameLine(std::string_view pattern, const char* oldLabel, const char* newLabel) {
    const char* fields[] = {oldLabel, newLabel};
    std::size_t next = 0;
    std::string line;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            if (pattern[i + 1] == 's') {
                if (next < 2 && fields[next] != nullptr) line += fields[next];
                ++next;
                ++i;
                continue;
            }
            if (pattern[i + 1] == '%') {
                line += '%';
                ++i;
                continue;
            }
        }
        line += pattern[i];
    }
    return line;
}

// The rename texts, loaded once per conversion of a list when the first row needs them.
struct RenameTexts {
    std::string heading;
    std::string pattern;
};

std::optional<RenameTexts> LoadRenameTexts() {
    auto heading = LoadString(kPhaseOptionsHeading);
    if (!heading) return std::nullopt;
    auto pattern = LoadString(kRenameLine);
    if (!pattern) return std::nullopt;
    return RenameTexts{std::move(*heading), std::move(*pattern)};
}

void RunRewrite(ItemRewrite rewrite, const std::vector<std::string>& optionStrings, std::vector<std::string>& items) {
    switch (rewrite) {
        case ItemRewrite::None: break;
        case ItemRewrite::AssemblyItem: ConvertAssemblyItem(optionStrings, items); break;
        case ItemRewrite::OutputFileExtensions: ConvertOutputFileExtensions(items); break;
        case ItemRewrite::LibraryAndOutputItems: ConvertLibraryAndOutputItems(items); break;
        case ItemRewrite::CrcAndVectItems: ConvertCrcAndVectItems(items); break;
        case ItemRewrite::RtosItems: items.push_back(GetRtosItems()); break;
    }
}

}  // namespace

void ConvertOptionItems(const std::vector<std::string>& sourceLines, const ConversionTable& table,
                        std::vector<std::string>& targetItems) {
    std::string joined;
    for (const std::string& line : sourceLines) {
        joined += line;
        joined += ' ';
    }

    std::optional<RenameTexts> texts;
    std::vector<std::string> pending;
    for (const std::string& item : SplitQuoted(std::string_view(joined), kItemDelimiters)) {
        for (const ConversionRows& part : table.parts) {
            for (const ConversionRow& row : part) {
                const std::string_view oldPrefix = row.oldPrefix;
                if (!std::string_view(item).starts_with(oldPrefix)) continue;
                // "[B|HEAP|1]" -> new prefix alone; "[B|DEBUG|0]" by "[B|DEBUG|" -> new prefix + "0]"
                targetItems.push_back(row.newPrefix + item.substr(oldPrefix.size()));
                if (LabelsEqual(row.oldLabel, row.newLabel)) continue;
                if (!texts) {
                    texts = LoadRenameTexts();
                    if (!texts) return;  // without its heading no rename line is written
                }
                pending.push_back(texts->heading);
                pending.push_back(FormatRenameLine(texts->pattern, row.oldLabel, row.newLabel));
            }
        }
    }
    if (!pending.empty()) Summary().AppendUniqueLines(pending);
}

int RunCrossFamilyConversion(const CrossFamilyConversion& conversion, std::string_view phaseName,
                             const std::vector<std::string>& optionStrings, std::string& result) {
    const ToolConversion* tool = nullptr;
    std::vector<std::string> items;
    switch (ToolIdOfName(phaseName)) {
        case kToolCompiler:
            tool = &conversion.compiler;
            items.emplace_back("[V|VERSION|1]");
            break;
        case kToolAssembler:
            tool = &conversion.assembler;
            items.emplace_back("[V|VERSION|1]");
            break;
        case kToolLibraryGenerator: {
            tool = &conversion.libraryGenerator;
            auto defaults = LoadString(kLibraryGeneratorDefaults);
            if (!defaults) return 1;
            items.push_back(std::move(*defaults));
            break;
        }
        case kToolLinker:
            tool = &conversion.linker;
            items.emplace_back("[V|VERSION|6]");
            break;
        case kToolConfigurator: {
            tool = &conversion.configurator;
            auto defaults = LoadString(kConfiguratorDefaults);
            if (!defaults) return 1;
            items.push_back(std::move(*defaults));
            break;
        }
        default: return 0;  // a tool the KZ toolchain does not have: no options
    }

    if (tool->table.size() != 0) ConvertOptionItems(optionStrings, tool->table, items);
    for (ItemRewrite rewrite : tool->rewrites) RunRewrite(rewrite, optionStrings, items);

    for (const std::string& item : items) AppendWithSeparator(result, item, ' ');
    return 0;
}

}  // namespace vivo
