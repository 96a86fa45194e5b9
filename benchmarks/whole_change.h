#pragma once
// A whole toolchain change of each example project, through the exports in the host's order: what the
// change benchmarks time, on Linux and on Windows, and the pieces the replay (replay/) makes its own
// changes from.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/project_file.h"
#include "vivo/vivo.h"

namespace vivo::benchmarks {

inline constexpr const char* kKzToolchain = "Veltora KZ Standard Toolchain";

inline std::string NulList(const std::vector<std::string>& lines) {
    std::string list;
    for (const std::string& line : lines) list += line + '\0';
    return list + '\0';
}

struct ExampleChange {
    std::string name;  // Change/<folder>/<from version>-<to version>
    host::Project project;
    std::string version;  // the KZ version changed to
};

// Every project under examples/: another family moves to KZ 1.01.00, a KZ project to the newest
// version (or back from it).
inline std::vector<ExampleChange> ExampleChanges(const std::filesystem::path& sourceDir) {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(sourceDir / "examples"))
        if (entry.path().extension() == ".vivo") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<ExampleChange> changes;
    for (const fs::path& file : files) {
        std::ifstream stream(file, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
        ExampleChange& change = changes.emplace_back();
        change.project = host::ParseProject(text, file.string());
        const bool kz = change.project.toolchain == kKzToolchain;
        change.version = !kz ? "1.01.00" : change.project.version == "1.02.01" ? "1.02.00" : "1.02.01";
        change.name = "Change/" + file.parent_path().filename().string() + "/" + change.project.version + "-" +
                      change.version;
    }
    return changes;
}

// The strings of a NUL-separated list of `size` bytes (up to its first empty string).
inline std::vector<std::string> ReadNulList(const char* list, std::size_t size) {
    std::vector<std::string> strings;
    for (std::size_t i = 0; i < size && list[i] != '\0'; i += strings.back().size() + 1) strings.emplace_back(list + i);
    return strings;
}

// The state list (and phase list) of a project: "tool|state" for every phase of its order.
inline std::string StateList(const host::Project& project) {
    std::vector<std::string> lines;
    for (const std::string& phase : project.phases)
        lines.push_back(phase.substr(0, phase.find('|')) + "|" + phase.substr(phase.rfind('|') + 1));
    return NulList(lines);
}

// The phase options list for the old phases `sources`: "tool|options" for each that has options.
inline std::string OptionList(const host::Project& project, const std::vector<std::string>& sources) {
    std::vector<std::string> lines;
    for (const std::string& source : sources)
        if (const auto options = project.OptionsOf(source)) lines.push_back(source + "|" + std::string(*options));
    return NulList(lines);
}

// The sequence of `vivo change` without its dialog: eligibility, summary reset, phase order, the old
// phases and the options of every new phase, the mappings. `buffer` is larger than any answer.
inline int32_t RunChange(const ExampleChange& change, std::vector<char>& buffer) {
    static const int kReserved = 0;
    const host::Project& project = change.project;
    const VivoToolchainRecord from{12, project.toolchain.c_str(), project.version.c_str()};
    const VivoToolchainRecord to{12, kKzToolchain, change.version.c_str()};
    int32_t failures = CanUpgradeToolchain(&from, &to);
    ResetSummaryInformation();
    int32_t len = static_cast<int32_t>(buffer.size());
    failures |= UpgradePhaseOrder(&from, &to, NulList(project.phases).c_str(), buffer.data(), &len);
    const std::vector<std::string> order = ReadNulList(buffer.data(), static_cast<std::size_t>(len));
    const std::string states = StateList(project);
    for (const std::string& phase : order) {
        const std::string tool = phase.substr(0, phase.find('|'));
        len = static_cast<int32_t>(buffer.size());
        failures |= UpgradePhases(&kReserved, &kReserved, states.c_str(), states.c_str(), tool.c_str(), buffer.data(), &len);
        const std::string options = OptionList(project, ReadNulList(buffer.data(), static_cast<std::size_t>(len)));
        len = static_cast<int32_t>(buffer.size());
        const int32_t converted = UpgradePhaseOptions(&from, &to, tool.c_str(), 0, options.c_str(), buffer.data(), &len);
        if (options.size() > 1) failures |= converted;
    }
    len = static_cast<int32_t>(buffer.size());
    failures |= UpgradePhaseMappings(&kReserved, 0, NulList(project.mappings).c_str(), buffer.data(), &len);
    return failures;
}

}  // namespace vivo::benchmarks
