#pragma once
// A whole toolchain change of one project, driven through the plug-in's exports in the order the
// IDE calls them: CanUpgradeToolchain, ResetSummaryInformation, UpgradePhaseOrder, then per new phase
// UpgradePhases and UpgradePhaseOptions, then UpgradePhaseMappings. The summary dialog is not shown
// here (see upgrade_file.h).

#include <optional>
#include <string>
#include <vector>

#include "host.h"
#include "project_file.h"

namespace vivo::host {

struct ConvertedPhase {
    std::string tool;
    std::vector<std::string> sources;    // the old phases the plug-in named for it (UpgradePhases)
    std::optional<std::string> options;  // its new option string; nothing when it has none
};

struct ProjectChange {
    Project converted;
    std::vector<ConvertedPhase> phases;  // in the new phase order
};

// The KZ toolchain versions a project can be moved to, oldest first.
const std::vector<std::string>& KzVersions();

// The versions of KzVersions() that the plug-in can move `project` to.
std::vector<std::string> ReachableVersions(LoadedPlugin& plugin, const Project& project);

// Runs the change; throws Failure when the plug-in defines no such change or refuses a step.
ProjectChange ChangeProject(LoadedPlugin& plugin, const Project& project, const std::string& targetVersion);

}  // namespace vivo::host
