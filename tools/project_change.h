#pragma once
// A whole toolchain change of one project, driven through the plug-in's exports in the order the
// IDE calls them: CanUpgradeToolchain, ResetSummaryInformation, UpgradePhaseOrder, then per new phase
// UpgradePhases and UpgradePhaseOptions, then UpgradePhaseMappings. The summary dialog is not shown
// here (see upgrade_file.h).

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host.h"
#include "project_file.h"

namespace vivo::host {

struct ConvertedPhase {
    std::string tool;
    std::vector<std::string> sources;  // the old phases the plug-in named for it (UpgradePhases)
    int options = -1;                  // its option block in `converted.options`; -1 when it has none
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
// `progress` (when given) hears the bytes of old option strings converted so far after each phase.
// The project's blocks are lent for the plug-in's calls and are whole again when it returns.
ProjectChange ChangeProject(LoadedPlugin& plugin, Project& project, const std::string& targetVersion,
                            const std::function<void(std::size_t)>& progress = {});

// The bytes of a project's option strings, for progress.
std::size_t OptionBytes(const Project& project);


}  // namespace vivo::host
