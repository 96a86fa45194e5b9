#include "change/phase_mapping.h"

#include "change/phase_order.h"
#include "resources/string_table.h"

namespace vivo {
namespace {

constexpr uint32_t kAddedLine = 2012;
constexpr uint32_t kDeletedLine = 2013;
constexpr uint32_t kKZPhaseMappings = 2016;
constexpr uint32_t kPhaseMappingHeading = 2022;

}  // namespace

std::optional<std::string> RewritePhaseMappings(const StringList& oldMappings, ChangeSummary& summary) {
    const std::optional<std::string> deletedPattern = LoadString(kDeletedLine);
    const std::optional<std::string> addedPattern = LoadString(kAddedLine);
    if (!deletedPattern || !addedPattern) return std::nullopt;
    // Nothing is compared: a mapping that the KZ list holds too is deleted and added again.
    StringList deleted;
    for (const std::string& line : oldMappings) deleted.push_back(FillTemplate(*deletedPattern, line));

    const std::optional<std::string> newMappings = LoadString(kKZPhaseMappings);
    if (!newMappings) return std::nullopt;
    StringList newLines;
    SplitList(*newMappings, "\n", newLines);
    StringList added;
    for (const std::string& line : newLines) added.push_back(FillTemplate(*addedPattern, line));

    const std::optional<std::string> heading = LoadString(kPhaseMappingHeading);
    if (!heading) return std::nullopt;
    deleted.insert(deleted.begin(), *heading);
    summary.AppendUniqueLines(deleted);
    summary.AppendUniqueLines(added);
    return newMappings;
}

}  // namespace vivo
