#include "change/phase_order.h"

#include "change/conversion_definitions.h"
#include "change/conversion_kind.h"
#include "options/plain_text.h"
#include "options/tool_names.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"

namespace vivo {
namespace {


// The Pexa configurators, whose state "1" puts the KZ configurator into the new order.
constexpr ToolId kPexaConfigurator = ToolId::kPexaConfigurator;
constexpr ToolId kPexaConfiguratorDorn = ToolId::kPexaConfiguratorDorn;

// Fields of a phase order line; more than three makes the line malformed.
struct PhaseFields {
    std::string toolName;
    std::string state;
};
std::optional<PhaseFields> SplitPhaseLine(std::string_view line) {
    StringList fields;
    SplitList(line, "|", fields);
    if (fields.size() > 3) return std::nullopt;
    PhaseFields result;
    if (!fields.empty()) result.toolName = fields[0];
    if (fields.size() == 3) result.state = fields[2];
    return result;
}

}  // namespace

bool AddReplacedListSection(uint32_t headingId, const StringList& removed, const StringList& added,
                            ChangeSummary& summary) {
    const std::optional<std::string> heading = LoadString(headingId);
    const std::optional<std::string> deletedPattern = LoadString(text::kDeletedLine);
    const std::optional<std::string> addedPattern = LoadString(text::kAddedLine);
    if (!heading || !deletedPattern || !addedPattern) return false;
    StringList lines{*heading};
    for (const std::string& line : removed) lines.push_back(FormatText(*deletedPattern, {line}));
    for (const std::string& line : added) lines.push_back(FormatText(*addedPattern, {line}));
    summary.AppendUniqueLines(lines);
    return true;
}

std::optional<std::string> RewritePhaseOrder(const StringList& oldOrder, ChangeSummary& summary) {
    bool configuratorOn = false;
    bool linkerSeen = false;
    StringList deleted;
    for (const std::string& line : oldOrder) {
        const std::optional<PhaseFields> fields = SplitPhaseLine(line);
        if (!fields) return std::nullopt;
        const ToolId tool = ToolIdOfName(fields->toolName);
        if (tool == ToolId::kLinker) {
            // The new linker keeps the old one's name: it is neither deleted nor added.
            linkerSeen = true;
            continue;
        }
        if ((tool == kPexaConfigurator || tool == kPexaConfiguratorDorn) && fields->state == "1")
            configuratorOn = true;
        deleted.push_back(line);
    }

    const std::optional<std::string> newOrder =
        LoadString(configuratorOn ? text::kOrderWithConfigurator : text::kOrderWithoutConfigurator);
    if (!newOrder) return std::nullopt;
    StringList newLines;
    SplitList(*newOrder, "\n", newLines);
    StringList added;
    for (const std::string& line : newLines) {
        const std::optional<PhaseFields> fields = SplitPhaseLine(line);
        if (!fields) return std::nullopt;
        if (linkerSeen && ToolIdOfName(fields->toolName) == ToolId::kLinker) continue;
        added.push_back(line);
    }
    if (!AddReplacedListSection(text::kPhaseOrderHeading, deleted, added, summary)) return std::nullopt;
    return newOrder;
}

std::optional<std::string> NewPhaseOrder(ConversionKind kind, const StringList& oldOrder, ChangeSummary& summary) {
    if (IsCrossFamilyKind(kind)) return RewritePhaseOrder(oldOrder, summary);
    // The old order as it came: an empty one is the host's lone NUL again.
    return oldOrder.empty() ? std::string("\n") : NewlineList(oldOrder);
}

std::optional<std::string> UpgradePhaseOrder(const VivoToolchainRecord* from, const VivoToolchainRecord* to,
                                             const StringList& oldOrder, ChangeSummary& summary) {
    const std::optional<ConversionKind> kind = FindConversion(from, to);
    if (!kind) {
        summary.AddSummaryMessage(text::kReadingError);
        return std::nullopt;
    }
    // Kept for the rest of the change even when this call fails further on.
    summary.fromToolchainName = from->name;
    summary.fromToolchainVersion = from->version;
    summary.toToolchainVersion = to->version;
    SetCurrentConversionKind(*kind);
    return NewPhaseOrder(*kind, oldOrder, summary);
}

}  // namespace vivo
