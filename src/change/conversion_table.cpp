#include "change/conversion_table.h"

#include <cstring>
#include <optional>

#include "change/conversion_helpers.h"
#include "options/tool_names.h"
#include "options/option_string.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"

namespace vivo {
namespace {

// A null label names nothing in a rename line.
std::string_view LabelText(const char* label) { return label != nullptr ? label : ""; }

bool LabelsEqual(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) return a == b;
    return std::strcmp(a, b) == 0;
}

// The rename texts, loaded once per conversion of a list when the first row needs them.
struct RenameTexts {
    std::string heading;
    std::string pattern;
};

std::optional<RenameTexts> LoadRenameTexts() {
    auto heading = LoadString(text::kPhaseOptionsHeading);
    if (!heading) return std::nullopt;
    auto pattern = LoadString(text::kRenameLine);
    if (!pattern) return std::nullopt;
    return RenameTexts{std::move(*heading), std::move(*pattern)};
}

void RunRewrite(ItemRewrite rewrite, const OptionLines& optionStrings, std::vector<std::string>& items,
                ChangeSummary& summary) {
    switch (rewrite) {
        case ItemRewrite::None: break;
        case ItemRewrite::AssemblyItem: ConvertAssemblyItem(optionStrings, items, summary); break;
        case ItemRewrite::OutputFileExtensions: ConvertOutputFileExtensions(items); break;
        case ItemRewrite::LibraryAndOutputItems: ConvertLibraryAndOutputItems(items); break;
        case ItemRewrite::CrcAndVectItems: ConvertCrcAndVectItems(items); break;
        case ItemRewrite::RtosItems: items.push_back(GetRtosItems()); break;
    }
}

}  // namespace

void ConvertOptionItems(const OptionLines& sourceLines, const ConversionTable& table,
                        std::vector<std::string>& targetItems, ChangeSummary& summary) {
    // The lines are read as one text, so a quote left open at a line's end runs on into the next.
    StringList items;
    {
        std::string joined;
        for (std::string_view line : sourceLines) {
            joined += line;
            joined += ' ';
        }
        items = SplitQuoted(std::string_view(joined), kItemDelimiters);
    }

    std::optional<RenameTexts> texts;
    std::vector<std::string> pending;
    for (std::string& item : items) {
        for (const ConversionRows& stretch : table.stretches) {
            for (const ConversionRow& row : stretch) {
                const std::string_view oldPrefix = row.oldPrefix;
                if (!std::string_view(item).starts_with(oldPrefix)) continue;
                // "[B|HEAP|1]" -> new prefix alone; "[B|DEBUG|0]" by "[B|DEBUG|" -> new prefix + "0]"
                const std::string_view rest = std::string_view(item).substr(oldPrefix.size());
                std::string& converted = targetItems.emplace_back();
                converted.reserve(std::strlen(row.newPrefix) + rest.size());  // one copy of a long item
                converted += row.newPrefix;
                converted += rest;
                if (LabelsEqual(row.oldLabel, row.newLabel)) continue;
                if (!texts) {
                    texts = LoadRenameTexts();
                    if (!texts) return;  // without its heading no rename line is written
                }
                pending.push_back(texts->heading);
                pending.push_back(FormatText(texts->pattern, {LabelText(row.oldLabel), LabelText(row.newLabel)}));
            }
        }
        std::string().swap(item);  // converted: its bytes can go before the next item's are copied
    }
    if (!pending.empty()) summary.AppendUniqueLines(pending);
}

int RunCrossFamilyConversion(const CrossFamilyConversion& conversion, std::string_view phaseName,
                             const OptionLines& optionStrings, std::string& result,
                             ChangeSummary& summary) {
    const ToolConversion* tool = nullptr;
    std::vector<std::string> items;
    switch (ToolIdOfName(phaseName)) {
        case ToolId::kCompiler:
            tool = &conversion.compiler;
            items.emplace_back("[V|VERSION|1]");
            break;
        case ToolId::kAssembler:
            tool = &conversion.assembler;
            items.emplace_back("[V|VERSION|1]");
            break;
        case ToolId::kLibraryGenerator: {
            tool = &conversion.libraryGenerator;
            auto defaults = LoadString(text::kLibraryGeneratorDefaults);
            if (!defaults) return 1;
            items.push_back(std::move(*defaults));
            break;
        }
        case ToolId::kLinker:
            tool = &conversion.linker;
            items.emplace_back("[V|VERSION|6]");
            break;
        case ToolId::kConfigurator: {
            tool = &conversion.configurator;
            auto defaults = LoadString(text::kConfiguratorDefaults);
            if (!defaults) return 1;
            items.push_back(std::move(*defaults));
            break;
        }
        default: return 0;  // a tool the KZ toolchain does not have: no options
    }

    if (tool->table.size() != 0) ConvertOptionItems(optionStrings, tool->table, items, summary);
    for (ItemRewrite rewrite : tool->rewrites) RunRewrite(rewrite, optionStrings, items, summary);

    for (std::string& item : items) {
        AppendWithSeparator(result, item, ' ');
        std::string().swap(item);  // appended: its bytes can go
    }
    return 0;
}

}  // namespace vivo
