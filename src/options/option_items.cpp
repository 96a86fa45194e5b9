#include "options/option_items.h"

namespace vivo {

StringList OptionItems(std::string_view options) { return SplitQuoted(options, kItemDelimiters); }

const std::string* FirstItemWithPrefix(const StringList& items, std::string_view prefix) {
    for (const std::string& item : items)
        if (std::string_view(item).starts_with(prefix)) return &item;
    return nullptr;
}

std::string_view ItemValue(std::string_view item, std::string_view prefix) {
    if (item.size() <= prefix.size()) return {};
    return item.substr(prefix.size(), item.size() - prefix.size() - 1);
}

std::string ReplaceFirstItem(std::string_view options, std::string_view prefix, std::string_view newItem) {
    StringList items = OptionItems(options);
    bool replaced = false;
    for (std::string& item : items) {
        if (std::string_view(item).starts_with(prefix)) {
            item = newItem;
            replaced = true;
            break;
        }
    }
    if (!replaced) items.emplace_back(newItem);
    std::string joined;
    for (const std::string& item : items)
        if (!item.empty()) AppendWithSeparator(joined, item, ' ');
    return joined;
}

}  // namespace vivo
