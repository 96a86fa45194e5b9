#include "migration_report.h"

namespace vivo::host {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";

// "[S|CPU|KZ600]" -> "S|CPU"; empty for text that is not an item.
std::string_view KeyOf(std::string_view item) {
    if (!item.starts_with("[")) return {};
    const std::size_t first = item.find('|');
    if (first == std::string_view::npos) return {};
    const std::size_t second = item.find('|', first + 1);
    if (second == std::string_view::npos) return {};
    return item.substr(1, second - 1);
}

// "[S|CPU|KZ600]" -> "KZ600"
std::string_view ValueOf(std::string_view item) {
    const std::string_view key = KeyOf(item);
    if (key.empty() || item.size() < key.size() + 3) return {};
    return item.substr(key.size() + 2, item.size() - key.size() - 3);
}

}  // namespace

std::vector<std::string> OptionItems(std::string_view options) {
    std::vector<std::string> items;
    std::string current;
    bool quoted = false;
    for (char c : options) {
        if (c == '"') quoted = !quoted;
        if (!quoted && kBlanks.find(c) != std::string_view::npos) {
            if (!current.empty()) items.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) items.push_back(std::move(current));
    return items;
}

std::vector<ItemFate> CompareOptions(const std::vector<SourceOptions>& before, std::string_view after) {
    struct Old {
        std::string item, source;
        int match = -1;
        bool converted = false;
    };
    std::vector<Old> olds;
    for (const SourceOptions& source : before)
        for (std::string& item : OptionItems(source.options)) olds.push_back({std::move(item), source.phase});
    const std::vector<std::string> news = OptionItems(after);
    std::vector<bool> used(news.size(), false);

    // Each pass pairs the old items still alone with the first new item still alone that fits.
    auto pair = [&](auto&& fits, bool converted) {
        for (Old& old : olds) {
            if (old.match >= 0) continue;
            for (std::size_t n = 0; n < news.size(); ++n) {
                if (used[n] || !fits(old.item, news[n])) continue;
                used[n] = true;
                old.match = static_cast<int>(n);
                old.converted = converted;
                break;
            }
        }
    };
    pair([](std::string_view a, std::string_view b) { return a == b; }, false);
    pair([](std::string_view a, std::string_view b) { return !KeyOf(a).empty() && KeyOf(a) == KeyOf(b); }, true);
    // A flag's 0 or 1 says nothing about where an item came from; longer values do.
    pair([](std::string_view a, std::string_view b) { return ValueOf(a).size() > 1 && ValueOf(a) == ValueOf(b); },
         true);

    std::vector<ItemFate> fates;
    for (const Old& old : olds) {
        if (old.match < 0)
            fates.push_back({ItemFate::Kind::kDropped, old.item, {}, old.source});
        else
            fates.push_back({old.converted ? ItemFate::Kind::kConverted : ItemFate::Kind::kKept, old.item,
                             news[static_cast<std::size_t>(old.match)], old.source});
    }
    for (std::size_t n = 0; n < news.size(); ++n)
        if (!used[n]) fates.push_back({ItemFate::Kind::kAdded, {}, news[n], {}});
    return fates;
}

const char* KindName(ItemFate::Kind kind) {
    switch (kind) {
        case ItemFate::Kind::kKept: return "kept";
        case ItemFate::Kind::kConverted: return "converted";
        case ItemFate::Kind::kDropped: return "dropped";
        case ItemFate::Kind::kAdded: return "added";
    }
    return "";
}

}  // namespace vivo::host
