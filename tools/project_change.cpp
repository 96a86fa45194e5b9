#include "project_change.h"

#include <array>

namespace vivo::host {
namespace {

constexpr std::array<const char*, 5> kKzVersionTexts = {"1.00.00", "1.00.01", "1.01.00", "1.02.00", "1.02.01"};

std::string FirstField(const std::string& line) { return line.substr(0, line.find('|')); }

// The state of a phase line (its third field), or empty text.
std::string StateOf(const std::string& line) {
    std::size_t first = line.find('|');
    if (first == std::string::npos) return {};
    std::size_t second = line.find('|', first + 1);
    return second == std::string::npos ? std::string() : line.substr(second + 1);
}

class Change {
public:
    Change(LoadedPlugin& plugin, const Project& project, const std::string& targetVersion)
        : plugin_(plugin),
          project_(project),
          targetVersion_(targetVersion),
          from_{12, project_.toolchain.c_str(), project_.version.c_str()},
          to_{12, kKzToolchain, targetVersion_.c_str()} {}

    Project Run(std::vector<ConvertedPhase>& phases) {
        if (VIVO_EXPORT(plugin_, CanUpgradeToolchain)(&from_, &to_) != 0)
            throw Failure("no toolchain change is defined from " + project_.toolchain + " " + project_.version +
                             " to " + kKzToolchain + " " + targetVersion_ + " (see TC.ini beside the plug-in)");
        VIVO_EXPORT(plugin_, ResetSummaryInformation)();

        Project converted;
        converted.name = project_.name;
        converted.toolchain = kKzToolchain;
        converted.version = targetVersion_;

        const std::string order = NulList(project_.phases, "phase");
        converted.phases = ListCall("the phase order", [&](char* b, int32_t* l) {
            return VIVO_EXPORT(plugin_, UpgradePhaseOrder)(&from_, &to_, order.c_str(), b, l);
        });

        std::vector<std::string> states;
        for (const std::string& phase : project_.phases) states.push_back(FirstField(phase) + "|" + StateOf(phase));
        const std::string stateList = NulList(states, "phase");
        for (const std::string& phase : converted.phases) phases.push_back(ConvertPhase(FirstField(phase), stateList));
        for (const ConvertedPhase& phase : phases)
            if (phase.options) converted.options.push_back({phase.tool, *phase.options});

        const std::string mappings = NulList(project_.mappings, "mapping");
        const int reserved = 0;
        converted.mappings = ListCall("the phase mappings", [&](char* b, int32_t* l) {
            return VIVO_EXPORT(plugin_, UpgradePhaseMappings)(&reserved, 0, mappings.c_str(), b, l);
        });
        return converted;
    }

private:
    template <class Call>
    std::vector<std::string> ListCall(const std::string& what, Call&& call) {
        std::optional<std::string> bytes = CallWithBuffer(call);
        if (!bytes) throw Failure("the plug-in could not convert " + what);
        return SplitNulList(*bytes);
    }

    ConvertedPhase ConvertPhase(const std::string& tool, const std::string& stateList) {
        ConvertedPhase phase{tool, {}, std::nullopt};
        const int reserved = 0;
        phase.sources = ListCall("the phases of " + tool, [&](char* b, int32_t* l) {
            return VIVO_EXPORT(plugin_, UpgradePhases)(&reserved, &reserved, stateList.c_str(), stateList.c_str(),
                                                       tool.c_str(), b, l);
        });
        // "tool|options" lines, each with its NUL, then one more NUL; built in one piece, as option
        // strings can be large.
        std::size_t size = 1;
        for (const std::string& source : phase.sources)
            if (const std::string* options = project_.OptionsOf(source)) size += source.size() + options->size() + 2;
        std::string optionList;
        optionList.reserve(size);
        bool any = false;
        for (const std::string& source : phase.sources) {
            if (const std::string* options = project_.OptionsOf(source)) {
                optionList.append(source).append(1, '|').append(*options).append(1, '\0');
                any = true;
            }
        }
        optionList.push_back('\0');
        phase.options = CallWithBuffer([&](char* b, int32_t* l) {
            return VIVO_EXPORT(plugin_, UpgradePhaseOptions)(&from_, &to_, tool.c_str(), 0, optionList.c_str(), b, l);
        });
        if (phase.options) {
            if (!phase.options->empty() && phase.options->back() == '\0') phase.options->pop_back();
        } else if (any) {
            throw Failure("the plug-in could not convert the options of " + tool);
        }
        return phase;
    }

    LoadedPlugin& plugin_;
    const Project& project_;
    std::string targetVersion_;
    VivoToolchainRecord from_;
    VivoToolchainRecord to_;
};

}  // namespace

const std::vector<std::string>& KzVersions() {
    static const std::vector<std::string> versions(kKzVersionTexts.begin(), kKzVersionTexts.end());
    return versions;
}

std::vector<std::string> ReachableVersions(LoadedPlugin& plugin, const Project& project) {
    std::vector<std::string> reachable;
    const VivoToolchainRecord from{12, project.toolchain.c_str(), project.version.c_str()};
    for (const std::string& version : KzVersions()) {
        const VivoToolchainRecord to{12, kKzToolchain, version.c_str()};
        if (VIVO_EXPORT(plugin, CanUpgradeToolchain)(&from, &to) == 0) reachable.push_back(version);
    }
    return reachable;
}

ProjectChange ChangeProject(LoadedPlugin& plugin, const Project& project, const std::string& targetVersion) {
    ProjectChange change;
    change.converted = Change(plugin, project, targetVersion).Run(change.phases);
    return change;
}

}  // namespace vivo::host
