#pragma once
// The machine-readable account of a migration: for every new phase, what became of each option item.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project_change.h"

namespace vivo::host {

// The option items of an option string: its blank-separated pieces, double quotes protecting blanks.
std::vector<std::string> OptionItems(std::string_view options);

struct ItemFate {
    enum class Kind { kKept, kConverted, kDropped, kAdded };
    Kind kind;
    std::string oldItem;  // empty for an added item
    std::string newItem;  // empty for a dropped item
    std::string source;   // the old phase an old item came from
};

struct SourceOptions {
    std::string phase;    // old phase (tool) name
    std::string options;  // its option string
};

// What became of each old item and where each new item came from. Old items in their order, each
// kept (the same item stands in the new options), converted (an item of the same key, or failing
// that of the same value, stands there instead) or dropped; then the new items nothing explains.
std::vector<ItemFate> CompareOptions(const std::vector<SourceOptions>& before, std::string_view after);

const char* KindName(ItemFate::Kind kind);

// What `vivo change --dry-run` prints: phase order, each phase's options before and after, mappings.
std::string DryRunText(const Project& before, const ProjectChange& change);

// The JSON migration report; `summary` holds the lines of the Upgrade.txt this change wrote, if any.
std::string MigrationReport(const Project& before, const ProjectChange& change,
                            const std::optional<std::string>& upgradeFile,
                            const std::optional<std::string>& summary);

}  // namespace vivo::host
