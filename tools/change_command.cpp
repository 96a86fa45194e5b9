// vivo change: moves a project file to another KZ toolchain version through the plug-in, calling
// the exports in the order the IDE calls them during a toolchain change.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host.h"
#include "migration_report.h"
#include "project_file.h"

namespace vivo::host {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTargetToolchain = "Veltora KZ Standard Toolchain";

// Lines as the NUL-separated list the exports read: each line and its NUL, then one more NUL.
std::string NulList(const std::vector<std::string>& lines) {
    std::string list;
    for (const std::string& line : lines) {
        list += line;
        list.push_back('\0');
    }
    list.push_back('\0');
    return list;
}

std::string FirstField(const std::string& line) { return line.substr(0, line.find('|')); }

// The state of a phase line (its third field), or empty text.
std::string StateOf(const std::string& line) {
    std::size_t first = line.find('|');
    if (first == std::string::npos) return {};
    std::size_t second = line.find('|', first + 1);
    return second == std::string::npos ? std::string() : line.substr(second + 1);
}

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw UsageError("cannot read project file " + path.string());
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Writes beside the target and renames, so that a reader never sees half a project.
void WriteAtomically(const fs::path& target, const std::string& text) {
    fs::path temporary = target;
    temporary += ".tmp-" + std::to_string(getpid());
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        file.close();
        if (!file) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            throw UsageError("cannot write " + temporary.string());
        }
    }
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, error);
        throw UsageError("cannot write " + target.string());
    }
}

struct ConvertedPhase {
    std::string tool;
    std::vector<std::string> sources;  // the old phases that supplied its options
    std::optional<std::string> options;
};

class Change {
public:
    Change(LoadedPlugin& plugin, const Project& project, const std::string& targetVersion)
        : plugin_(plugin),
          project_(project),
          targetVersion_(targetVersion),
          from_{12, project_.toolchain.c_str(), project_.version.c_str()},
          to_{12, kTargetToolchain, targetVersion_.c_str()} {}

    Project Run(std::vector<ConvertedPhase>& phases) {
        if (VIVO_EXPORT(plugin_, CanUpgradeToolchain)(&from_, &to_) != 0)
            throw UsageError("no toolchain change is defined from " + project_.toolchain + " " + project_.version +
                             " to " + kTargetToolchain + " " + targetVersion_ + " (see TC.ini beside the plug-in)");
        VIVO_EXPORT(plugin_, ResetSummaryInformation)();

        Project converted;
        converted.name = project_.name;
        converted.toolchain = kTargetToolchain;
        converted.version = targetVersion_;

        const std::string order = NulList(project_.phases);
        converted.phases = ListCall("the phase order", [&](char* b, int32_t* l) {
            return VIVO_EXPORT(plugin_, UpgradePhaseOrder)(&from_, &to_, order.c_str(), b, l);
        });

        std::vector<std::string> states;
        for (const std::string& phase : project_.phases) states.push_back(FirstField(phase) + "|" + StateOf(phase));
        const std::string stateList = NulList(states);
        for (const std::string& phase : converted.phases) phases.push_back(ConvertPhase(FirstField(phase), stateList));
        for (const ConvertedPhase& phase : phases)
            if (phase.options) converted.options.push_back({phase.tool, *phase.options});

        const std::string mappings = NulList(project_.mappings);
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
        if (!bytes) throw UsageError("the plug-in could not convert " + what);
        return SplitNulList(*bytes);
    }

    ConvertedPhase ConvertPhase(const std::string& tool, const std::string& stateList) {
        ConvertedPhase phase{tool, {}, std::nullopt};
        const int reserved = 0;
        phase.sources = ListCall("the phases of " + tool, [&](char* b, int32_t* l) {
            return VIVO_EXPORT(plugin_, UpgradePhases)(&reserved, &reserved, stateList.c_str(), stateList.c_str(),
                                                       tool.c_str(), b, l);
        });
        std::vector<std::string> lines;
        for (const std::string& source : phase.sources)
            if (const std::string* options = project_.OptionsOf(source)) lines.push_back(source + "|" + *options);
        const std::string optionList = NulList(lines);
        phase.options = CallWithBuffer([&](char* b, int32_t* l) {
            return VIVO_EXPORT(plugin_, UpgradePhaseOptions)(&from_, &to_, tool.c_str(), 0, optionList.c_str(), b, l);
        });
        if (phase.options) {
            if (!phase.options->empty() && phase.options->back() == '\0') phase.options->pop_back();
        } else if (!lines.empty()) {
            throw UsageError("the plug-in could not convert the options of " + tool);
        }
        return phase;
    }

    LoadedPlugin& plugin_;
    const Project& project_;
    std::string targetVersion_;
    VivoToolchainRecord from_;
    VivoToolchainRecord to_;
};

void PrintList(const char* heading, const std::vector<std::string>& before, const std::vector<std::string>& after) {
    std::printf("%s\n", heading);
    if (before == after) std::printf("  unchanged\n");
    for (const std::string& line : before)
        if (std::find(after.begin(), after.end(), line) == after.end()) std::printf("  - %s\n", line.c_str());
    for (const std::string& line : after)
        if (std::find(before.begin(), before.end(), line) == before.end()) std::printf("  + %s\n", line.c_str());
}

void PrintDryRun(const Project& before, const Project& after, const std::vector<ConvertedPhase>& phases) {
    std::printf("%s: %s %s -> %s %s\n\n", before.name.c_str(), before.toolchain.c_str(), before.version.c_str(),
                after.toolchain.c_str(), after.version.c_str());
    PrintList("Phase order", before.phases, after.phases);
    for (const ConvertedPhase& phase : phases) {
        std::string sources;
        for (const std::string& s : phase.sources) sources += (sources.empty() ? "" : ", ") + s;
        std::printf("\nOptions of %s (from %s)\n", phase.tool.c_str(), sources.empty() ? "nothing" : sources.c_str());
        const std::string* old = phase.sources.size() == 1 ? before.OptionsOf(phase.sources[0]) : nullptr;
        if (old != nullptr && phase.options && *old == *phase.options) {
            std::printf("  unchanged\n");
            continue;
        }
        for (const std::string& s : phase.sources)
            if (const std::string* options = before.OptionsOf(s)) std::printf("  - %s\n", options->c_str());
        std::printf("  + %s\n", phase.options ? phase.options->c_str() : "(none)");
    }
    std::printf("\n");
    PrintList("Phase mappings", before.mappings, after.mappings);
}

// The lines of Upgrade.txt (each line break of the report reaches the file as CR CR LF).
std::vector<std::string> ReportLines(const fs::path& file) {
    std::vector<std::string> lines;
    std::istringstream text(ReadFile(file));
    for (std::string line; std::getline(text, line);) {
        while (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string JsonList(const std::vector<std::string>& lines, const char* indent) {
    std::string json = "[";
    for (std::size_t i = 0; i < lines.size(); ++i)
        json += (i ? ",\n" : "\n") + std::string(indent) + "  " + JsonString(lines[i]);
    json += lines.empty() ? "]" : "\n" + std::string(indent) + "]";
    return json;
}

std::string MigrationReport(const Project& before, const Project& after, const std::vector<ConvertedPhase>& phases,
                            const std::optional<fs::path>& upgradeFile) {
    std::string json = "{\n";
    json += "  \"project\": " + JsonString(before.name) + ",\n";
    json += "  \"from\": {\"toolchain\": " + JsonString(before.toolchain) + ", \"version\": " +
            JsonString(before.version) + "},\n";
    json += "  \"to\": {\"toolchain\": " + JsonString(after.toolchain) + ", \"version\": " +
            JsonString(after.version) + "},\n";
    json += "  \"phaseOrder\": {\"before\": " + JsonList(before.phases, "  ") +
            ", \"after\": " + JsonList(after.phases, "  ") + "},\n";
    json += "  \"phases\": [";
    for (std::size_t p = 0; p < phases.size(); ++p) {
        const ConvertedPhase& phase = phases[p];
        // A phase that keeps its own tool takes its options from its own old phase alone; the other old
        // phases it was shown only lend facts (such as the compiler's endian setting to the linker).
        const bool ownPhase = std::find(phase.sources.begin(), phase.sources.end(), phase.tool) != phase.sources.end();
        const std::vector<std::string> from = ownPhase ? std::vector<std::string>{phase.tool} : phase.sources;
        std::vector<SourceOptions> sources;
        for (const std::string& s : from)
            if (const std::string* options = before.OptionsOf(s)) sources.push_back({s, *options});
        json += p ? ",\n" : "\n";
        json += "    {\"phase\": " + JsonString(phase.tool) + ", \"from\": " + JsonList(from, "    ") +
                ", \"consulted\": " + JsonList(phase.sources, "    ") +
                ",\n     \"options\": " + (phase.options ? JsonString(*phase.options) : "null") +
                ",\n     \"items\": [";
        const std::vector<ItemFate> fates = CompareOptions(sources, phase.options ? *phase.options : "");
        for (std::size_t i = 0; i < fates.size(); ++i) {
            const ItemFate& fate = fates[i];
            json += i ? ",\n       " : "\n       ";
            json += std::string("{\"status\": \"") + KindName(fate.kind) + "\"";
            if (!fate.source.empty()) json += ", \"phase\": " + JsonString(fate.source);
            if (fate.kind != ItemFate::Kind::kAdded) json += ", \"old\": " + JsonString(fate.oldItem);
            if (fate.kind != ItemFate::Kind::kDropped) json += ", \"new\": " + JsonString(fate.newItem);
            json += "}";
        }
        json += fates.empty() ? "]}" : "\n     ]}";
    }
    json += phases.empty() ? "],\n" : "\n  ],\n";
    json += "  \"phaseMappings\": {\"before\": " + JsonList(before.mappings, "  ") +
            ", \"after\": " + JsonList(after.mappings, "  ") + "},\n";
    json += "  \"upgradeFile\": " + (upgradeFile ? JsonString(upgradeFile->string()) : "null") + ",\n";
    json += "  \"summary\": " + (upgradeFile ? JsonList(ReportLines(*upgradeFile), "  ") : "null") + "\n}\n";
    return json;
}

// When the file was last written, or nothing when it is not there.
std::optional<fs::file_time_type> WrittenAt(const fs::path& file) {
    std::error_code error;
    const fs::file_time_type time = fs::last_write_time(file, error);
    if (error) return std::nullopt;
    return time;
}

}  // namespace

int RunChange(LoadedPlugin& plugin, const Arguments& args) {
    if (args.positional.size() != 1) throw UsageError("change takes one project file: vivo change PROJECT --to VERSION");
    const std::optional<std::string> target = args.Value("--to");
    if (!target || target->empty()) throw UsageError("change needs the target version: --to VERSION");
    const fs::path source = fs::absolute(args.positional[0]);
    const Project project = ParseProject(ReadFile(source), args.positional[0]);

    fs::path output;
    if (std::optional<std::string> named = args.Value("--output")) {
        output = fs::absolute(*named);
    } else {
        output = source.parent_path() / (source.stem().string() + ".kz-" + *target + source.extension().string());
    }
    if (fs::weakly_canonical(output) == fs::weakly_canonical(source))
        throw UsageError("the converted project would replace the original " + source.string());

    std::vector<ConvertedPhase> phases;
    const Project converted = Change(plugin, project, *target).Run(phases);

    if (args.Has("--dry-run")) {
        PrintDryRun(project, converted, phases);
        return 0;
    }
    WriteAtomically(output, FormatProject(converted));
    std::printf("%s\n", output.string().c_str());
    const fs::path upgradeFile = source.parent_path() / "Upgrade.txt";
    const std::optional<fs::file_time_type> before = WrittenAt(upgradeFile);
    VIVO_EXPORT(plugin, DisplaySummaryInformation)(project.name.c_str(), source.parent_path().string().c_str());
    const std::optional<fs::file_time_type> after = WrittenAt(upgradeFile);
    const bool written = after && (!before || *after != *before);
    if (std::optional<std::string> report = args.Value("--report")) {
        WriteAtomically(fs::absolute(*report), MigrationReport(project, converted, phases,
                                                               written ? std::optional(upgradeFile) : std::nullopt));
        std::printf("%s\n", fs::absolute(*report).string().c_str());
    }
    return 0;
}

}  // namespace vivo::host
