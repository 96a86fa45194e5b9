#include "change/phase_mapping.h"

#include "change/phase_order.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"

namespace vivo {
namespace {


}  // namespace

std::optional<std::string> RewritePhaseMappings(const StringList& oldMappings, ChangeSummary& summary) {
    const std::optional<std::string> deletedPattern = LoadString(text::kDeletedLine);
    const std::optional<std::string> addedPattern = LoadString(text::kAddedLine);
    if (!deletedPattern || !addedPattern) return std::nullopt;
    // Nothing is compared: a mapping that the KZ list holds too is deleted and added again.
    StringList deleted;
    for (const std::string& line : oldMappings) deleted.push_back(FormatText(*deletedPattern, {line}));

    const std::optional<std::string> newMappings = LoadString(text::kKZPhaseMappings);
    if (!newMappings) return std::nullopt;
    StringList newLines;
    SplitList(*newMappings, "\n", newLines);
    StringList added;
    for (const std::string& line : newLines) added.push_back(FormatText(*addedPattern, {line}));

    const std::optional<std::string> heading = LoadString(text::kPhaseMappingHeading);
    if (!heading) return std::nullopt;
    deleted.insert(deleted.begin(), *heading);
    summary.AppendUniqueLines(deleted);
    summary.AppendUniqueLines(added);
    return newMappings;
}

}  // namespace vivo
