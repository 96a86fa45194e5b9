#include "queries/memory_areas.h"

#include <algorithm>

#include "options/option_items.h"
#include "options/plain_text.h"

namespace vivo {
namespace {

std::string_view StartValue(const StringList& items) {
    const std::string* item = FirstItemWithPrefix(items, kStartPrefix);
    return item != nullptr ? ItemValue(*item, kStartPrefix) : std::string_view{};
}

// The stored text of area `number`, or nothing when there is no such area. Numbers below 1 are
// treated like numbers beyond the last area.
std::optional<std::string> AreaText(std::string_view options, int32_t number) {
    StringList areas = SplitQuoted(StartValue(OptionItems(options)), "|");
    if (number < 1 || static_cast<size_t>(number) > areas.size()) return std::nullopt;
    return std::move(areas[static_cast<size_t>(number) - 1]);
}

}  // namespace

uint32_t MemoryAreaCount(std::string_view options) {
    StringList areas;
    SplitList(StartValue(OptionItems(options)), "|", areas);
    return static_cast<uint32_t>(areas.size());
}

std::optional<std::string> AreaAddress(std::string_view options, int32_t number) {
    const std::optional<std::string> area = AreaText(options, number);
    if (!area) return std::nullopt;
    const size_t open = area->find('(');
    const size_t begin = open == std::string::npos ? 0 : open + 1;
    const size_t end = area->size() - 1;  // the closing parenthesis, or whatever stands last
    return begin < end ? area->substr(begin, end - begin) : std::string();
}

std::optional<StringList> AreaSections(std::string_view options, int32_t number) {
    const std::optional<std::string> area = AreaText(options, number);
    if (!area) return StringList{};
    const size_t open = area->find('(');
    if (open == std::string::npos) return std::nullopt;
    std::string sections = area->substr(0, open);
    std::replace(sections.begin(), sections.end(), '{', '(');
    std::replace(sections.begin(), sections.end(), '}', ')');
    return StringList{std::move(sections)};
}

std::optional<std::string> StoredAreaText(const MemoryArea& area) {
    if (area.address.size() < 3 || area.groups.empty()) return std::nullopt;
    std::string sections;
    for (size_t i = 0; i < area.groups.size(); ++i) {
        if (area.groups[i].empty()) return std::nullopt;
        if (i != 0) sections += ':';
        sections += Joined(area.groups[i], ',');
    }
    if (sections.empty()) return std::nullopt;
    std::replace(sections.begin(), sections.end(), '(', '{');
    std::replace(sections.begin(), sections.end(), ')', '}');

    std::string_view digits = std::string_view(area.address).substr(2);  // past "0x"
    std::string text = std::move(sections);
    text += '(';
    if (!digits.starts_with('0')) text += '0';
    text += digits;
    text += ')';
    return text;
}

std::optional<std::string> WithMemoryAreas(std::string_view options, const std::vector<MemoryArea>& areas) {
    std::string value;
    for (size_t i = 0; i < areas.size(); ++i) {
        std::optional<std::string> text = StoredAreaText(areas[i]);
        if (!text) return std::nullopt;
        if (i != 0) value += '|';
        value += *text;
    }
    std::string item;
    if (!value.empty()) {
        item = kStartPrefix;
        item += value;
        item += ']';
    }
    return ReplaceFirstItem(options, kStartPrefix, item);
}

}  // namespace vivo
