#include "queries/linker_queries.h"

#include <algorithm>

#include "options/tool_names.h"
#include "options/option_string.h"
#include "options/option_items.h"

namespace vivo {

std::string LinkerMapFileOf(std::string_view options) {
    OptionSet set;
    if (!ParseOptionString(options, set)) return {};
    const auto written = set.find("B|LIST");
    const auto path = set.find("S|LIST");
    if (written == set.end() || written->second != "1" || path == set.end()) return {};
    return path->second;
}

std::optional<LinkerInformation> LinkerInformationOf(std::string_view toolchainName) {
    if (ToolchainKindOfName(toolchainName) != ToolchainKind::kKZ) return std::nullopt;
    return LinkerInformation{15, 1};
}

bool UsesCommandFile(std::string_view options) {
    const StringList items = OptionItems(options);
    return std::find(items.begin(), items.end(), kCommandFileItem) != items.end();
}

bool ScansDependencies(std::string_view options) {
    return FirstItemWithPrefix(OptionItems(options), kDependencyScanPrefix) != nullptr;
}

std::string LibraryTextOf(std::string_view options) {
    const StringList items = OptionItems(options);
    const std::string* item = FirstItemWithPrefix(items, kLibraryPrefix);
    if (item == nullptr) return {};
    std::string text = "Library=";
    text += ItemValue(*item, kLibraryPrefix);
    std::replace(text.begin(), text.end(), '|', ',');
    return text;
}

std::string WithLibraryText(std::string_view options, std::string_view libraryText) {
    std::string names;
    std::copy_if(libraryText.begin(), libraryText.end(), std::back_inserter(names), [](char c) { return c != '"'; });
    if (const size_t equals = names.find('='); equals != std::string::npos) names.erase(0, equals + 1);
    // Nothing named: the item goes, rather than an empty option string or an entry without a name.
    if (names.empty()) return ReplaceFirstItem(options, kLibraryPrefix, "");

    std::string item(kLibraryPrefix);
    item += '"';
    for (char c : names) {
        if (c == ',')
            item += "\"|\"";
        else
            item += c;
    }
    item += "\"]";
    return ReplaceFirstItem(options, kLibraryPrefix, item);
}

}  // namespace vivo
