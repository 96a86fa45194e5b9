#include "change/phase_mapping.h"

#include "change/phase_order.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"

namespace vivo {

std::optional<std::string> RewritePhaseMappings(const StringList& oldMappings, ChangeSummary& summary) {
    const std::optional<std::string> newMappings = LoadString(text::kKZPhaseMappings);
    if (!newMappings) return std::nullopt;
    StringList newLines;
    SplitList(*newMappings, "\n", newLines);
    // Nothing is compared: a mapping that the KZ list holds too is deleted and added again.
    if (!AddReplacedListSection(text::kPhaseMappingHeading, oldMappings, newLines, summary)) return std::nullopt;
    return newMappings;
}

}  // namespace vivo
