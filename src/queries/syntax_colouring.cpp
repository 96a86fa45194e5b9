#include "queries/syntax_colouring.h"

#include "options/plain_text.h"
#include "platform/common_folder.h"
#include "platform/module_path.h"
#include "platform/private_profile.h"

namespace vivo {
namespace {

// Values go through buffers of these sizes, so longer ones are cut.
constexpr std::size_t kValueBuffer = 1024;
constexpr std::size_t kVersionBuffer = 256;

constexpr std::string_view kGroupKey = "FileGroup";
constexpr std::string_view kVersionKey = "Version";

std::string ReadVersionText(std::string_view file) {
    return platform::ReadProfileString(file, kColouringVersionSection, kVersionKey, "", kVersionBuffer);
}

// The keyword text of `name` in one file, or nothing when no group of the file lists the name.
std::optional<std::string> KeywordTextIn(std::string_view path, std::string_view name) {
    const platform::ProfileFile file(path);
    const std::optional<std::size_t> group = FindFileGroup(ReadFileGroups(file), name);
    if (!group) return std::nullopt;
    return ReadKeywordText(file, *group);
}

}  // namespace

ColouringFiles LocateColouringFiles() {
    ColouringFiles files;
    files.primary = platform::PluginFilePath(kColouringFileName);
    const std::string folder = platform::CommonAppDataFolder();
    if (!folder.empty()) {
        files.secondary = folder;
        files.secondary += "\\Veltora\\RTOS\\";
        files.secondary += kColouringFileName;
    }
    return files;
}

StringList ReadFileGroups(const platform::ProfileFile& file) {
    StringList groups;
    for (std::size_t n = 0;; ++n) {
        std::string value =
            file.ReadString(kColouringSection, std::string(kGroupKey) + std::to_string(n), "", kValueBuffer);
        if (value.empty()) return groups;
        groups.push_back(std::move(value));
    }
}

std::optional<std::size_t> FindFileGroup(const StringList& groups, std::string_view name) {
    for (std::size_t n = 0; n < groups.size(); ++n) {
        StringList names;
        SplitList(groups[n], ",", names);
        for (const std::string& candidate : names) {
            if (candidate == name) return n;
        }
    }
    return std::nullopt;
}

std::string ReadKeywordText(const platform::ProfileFile& file, std::size_t group) {
    std::string text;
    const std::string keyStart = std::string(kGroupKey) + std::to_string(group) + "-";
    for (std::size_t line = 1;; ++line) {
        const std::string value =
            file.ReadString(kColouringSection, keyStart + std::to_string(line), kColouringEndMarker, kValueBuffer);
        if (value == kColouringEndMarker) return text;
        text += value;
        text += '\n';
    }
}

std::string KeywordText(const ColouringFiles& files, std::string_view name) {
    if (std::optional<std::string> text = KeywordTextIn(files.primary, name); text && !text->empty())
        return *text;
    if (!files.secondary.empty()) {
        if (std::optional<std::string> text = KeywordTextIn(files.secondary, name)) return *text;
    }
    return {};
}

std::optional<std::uint32_t> ColouringVersion(const ColouringFiles& files) {
    std::string version = ReadVersionText(files.primary);
    if (!files.secondary.empty()) {
        // The sum goes through "%d", as the host platform formats a 32-bit int.
        const std::uint32_t sum = ParseUnsigned(version) + ParseUnsigned(ReadVersionText(files.secondary));
        version = std::to_string(static_cast<std::int32_t>(sum));
    }
    if (version.empty()) return std::nullopt;
    return ParseUnsigned(version);
}

}  // namespace vivo
