#include "project_change.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <set>

#include "files.h"

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

// The phase options list of several blocks: the first block's line, lent, with the others behind it.
class LentList {
public:
    explicit LentList(const std::vector<PhaseOptions*>& blocks) {
        if (blocks.size() < 2) {
            single_ = blocks.empty() ? "" : blocks.front()->optionList();
            return;
        }
        first_ = blocks.front();
        list_ = first_->LendLine();
        std::size_t size = list_.size() + 1;
        for (std::size_t i = 1; i < blocks.size(); ++i) size += blocks[i]->tool().size() + blocks[i]->options().size() + 2;
        list_.reserve(size);
        for (std::size_t i = 1; i < blocks.size(); ++i) {
            list_ += blocks[i]->tool();
            list_ += '|';
            list_ += blocks[i]->options();
            list_ += '\0';
        }
        list_ += '\0';
    }
    ~LentList() {
        if (first_ != nullptr) first_->GiveBack(std::move(list_));
    }
    LentList(const LentList&) = delete;
    LentList& operator=(const LentList&) = delete;

    const char* get() const { return first_ != nullptr ? list_.c_str() : single_; }

private:
    PhaseOptions* first_ = nullptr;
    std::string list_;
    const char* single_ = nullptr;
};

class Change {
public:
    Change(LoadedPlugin& plugin, Project& project, const std::string& targetVersion)
        : plugin_(plugin),
          project_(project),
          targetVersion_(targetVersion),
          from_{12, project_.toolchain.c_str(), project_.version.c_str()},
          to_{12, kKzToolchain, targetVersion_.c_str()} {}

    Project Run(std::vector<ConvertedPhase>& phases, const std::function<void(std::size_t)>& progress) {
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
        std::size_t done = 0;
        for (const std::string& line : converted.phases) {
            ConvertedPhase phase{FirstField(line), {}, -1};
            std::optional<std::string> options = ConvertPhase(phase, stateList, done);
            if (options) {
                phase.options = static_cast<int>(converted.options.size());
                converted.options.emplace_back(phase.tool, *options);
            }
            phases.push_back(std::move(phase));
            if (progress) progress(done);
        }

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

    // The new option string of `phase`, nothing when it has none; `done` grows by the old bytes read.
    std::optional<std::string> ConvertPhase(ConvertedPhase& phase, const std::string& stateList, std::size_t& done) {
        const std::string& tool = phase.tool;
        const int reserved = 0;
        phase.sources = ListCall("the phases of " + tool, [&](char* b, int32_t* l) {
            return VIVO_EXPORT(plugin_, UpgradePhases)(&reserved, &reserved, stateList.c_str(), stateList.c_str(),
                                                       tool.c_str(), b, l);
        });
        // The option lines of the phases named, as the NUL-separated list the export reads. A phase
        // made from one block passes that block's own line. Several blocks make one list that begins
        // with the first block's line, lent for the call, so that the list copies only the others.
        std::vector<PhaseOptions*> blocks;
        std::size_t largest = 0;
        for (const std::string& source : phase.sources) {
            PhaseOptions* block = project_.BlockOf(source);
            if (block == nullptr) continue;
            if (block->options().find('\0') != std::string_view::npos)
                throw Failure("the options of " + source + " hold a NUL byte, which cannot be passed to the plug-in");
            blocks.push_back(block);
            largest = std::max(largest, block->options().size());
            if (counted_.insert(source).second) done += block->options().size();
        }
        LentList list(blocks);
        // A phase's new options are about as long as the largest old ones it is made from: a buffer that
        // large with room to spare saves the plug-in a second conversion just to tell the length.
        const std::size_t guess = std::min<std::size_t>(largest + 65536, INT32_MAX);
        std::optional<std::string> options = CallWithBuffer(
            [&](char* b, int32_t* l) {
                return VIVO_EXPORT(plugin_, UpgradePhaseOptions)(&from_, &to_, tool.c_str(), 0, list.get(), b, l);
            },
            static_cast<int32_t>(guess));
        if (!options && !blocks.empty()) throw Failure("the plug-in could not convert the options of " + tool);
        if (options && !options->empty() && options->back() == '\0') options->pop_back();
        return options;
    }

    LoadedPlugin& plugin_;
    Project& project_;  // its blocks lend their lines to lists of several blocks
    std::string targetVersion_;
    VivoToolchainRecord from_;
    VivoToolchainRecord to_;
    std::set<std::string> counted_;  // old phases whose bytes progress has counted
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

ProjectChange ChangeProject(LoadedPlugin& plugin, Project& project, const std::string& targetVersion,
                            const std::function<void(std::size_t)>& progress) {
    ProjectChange change;
    change.converted = Change(plugin, project, targetVersion).Run(change.phases, progress);
    return change;
}

std::size_t OptionBytes(const Project& project) {
    std::size_t bytes = 0;
    for (const PhaseOptions& block : project.options) bytes += block.options().size();
    return bytes;
}

}  // namespace vivo::host
