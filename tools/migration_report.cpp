#include "migration_report.h"

#include <algorithm>
#include <unordered_map>

#include "files.h"
#include "json_text.h"

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

    // Each pass pairs the old items still alone with the first new item still alone that has the same
    // key by `keyOf` (none for an empty key). The new items wait in queues by key, in their order.
    auto pair = [&](auto&& keyOf, bool converted) {
        std::unordered_map<std::string_view, std::vector<std::size_t>> waiting;
        for (std::size_t n = news.size(); n-- > 0;) {
            const std::string_view key = keyOf(news[n]);
            if (!used[n] && !key.empty()) waiting[key].push_back(n);
        }
        for (Old& old : olds) {
            if (old.match >= 0) continue;
            const std::string_view key = keyOf(old.item);
            if (key.empty()) continue;
            const auto found = waiting.find(key);
            if (found == waiting.end() || found->second.empty()) continue;
            const std::size_t n = found->second.back();
            found->second.pop_back();
            used[n] = true;
            old.match = static_cast<int>(n);
            old.converted = converted;
        }
    };
    pair([](std::string_view item) { return item; }, false);
    pair([](std::string_view item) { return KeyOf(item); }, true);
    // A flag's 0 or 1 says nothing about where an item came from; longer values do.
    pair([](std::string_view item) { return ValueOf(item).size() > 1 ? ValueOf(item) : std::string_view(); }, true);

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

namespace {

void AppendList(std::string& text, const char* heading, const std::vector<std::string>& before,
                const std::vector<std::string>& after) {
    text += Format("%s\n", heading);
    if (before == after) text += "  unchanged\n";
    for (const std::string& line : before)
        if (std::find(after.begin(), after.end(), line) == after.end()) text += "  - " + line + "\n";
    for (const std::string& line : after)
        if (std::find(before.begin(), before.end(), line) == before.end()) text += "  + " + line + "\n";
}

// The old phases whose option items a new phase is compared with: its own old phase when it kept its
// tool (the other consulted phases only lend facts, such as the compiler's endian setting to the
// linker), else every consulted phase.
std::vector<std::string> ComparedSources(const ConvertedPhase& phase) {
    const bool ownPhase = std::find(phase.sources.begin(), phase.sources.end(), phase.tool) != phase.sources.end();
    return ownPhase ? std::vector<std::string>{phase.tool} : phase.sources;
}

}  // namespace

std::string DryRunText(const Project& before, const ProjectChange& change) {
    const Project& after = change.converted;
    std::string text = before.name + ": " + before.toolchain + " " + before.version + " -> " + after.toolchain + " " +
                       after.version + "\n\n";
    AppendList(text, "Phase order", before.phases, after.phases);
    for (const ConvertedPhase& phase : change.phases) {
        std::string sources;
        for (const std::string& s : phase.sources) sources += (sources.empty() ? "" : ", ") + s;
        text += "\nOptions of " + phase.tool + " (from " + (sources.empty() ? "nothing" : sources) + ")\n";
        const std::string* old = phase.sources.size() == 1 ? before.OptionsOf(phase.sources[0]) : nullptr;
        if (old != nullptr && phase.options && *old == *phase.options) {
            text += "  unchanged\n";
            continue;
        }
        for (const std::string& s : phase.sources)
            if (const std::string* options = before.OptionsOf(s)) text += "  - " + *options + "\n";
        text += "  + " + (phase.options ? *phase.options : std::string("(none)")) + "\n";
    }
    text += "\n";
    AppendList(text, "Phase mappings", before.mappings, after.mappings);
    return text;
}

std::string MigrationReport(const Project& before, const ProjectChange& change,
                            const std::optional<std::string>& upgradeFile,
                            const std::optional<std::string>& summary) {
    const Project& after = change.converted;
    Json phases = Json::array();
    for (const ConvertedPhase& phase : change.phases) {
        const std::vector<std::string> from = ComparedSources(phase);
        std::vector<SourceOptions> sources;
        for (const std::string& s : from)
            if (const std::string* options = before.OptionsOf(s)) sources.push_back({s, *options});
        Json items = Json::array();
        for (const ItemFate& fate : CompareOptions(sources, phase.options ? *phase.options : "")) {
            Json item = {{"status", KindName(fate.kind)}};
            if (!fate.source.empty()) item["phase"] = fate.source;
            if (fate.kind != ItemFate::Kind::kAdded) item["old"] = fate.oldItem;
            if (fate.kind != ItemFate::Kind::kDropped) item["new"] = fate.newItem;
            items.push_back(std::move(item));
        }
        phases.push_back({{"phase", phase.tool},
                          {"from", from},
                          {"consulted", phase.sources},
                          {"options", phase.options ? Json(*phase.options) : Json(nullptr)},
                          {"items", std::move(items)}});
    }
    Json summaryLines = nullptr;
    if (summary) {
        // Each line break of the report reaches the file as CR CR LF.
        summaryLines = Json::array();
        std::size_t start = 0;
        while (start < summary->size()) {
            std::size_t end = summary->find('\n', start);
            if (end == std::string::npos) end = summary->size();
            std::string line = summary->substr(start, end - start);
            while (!line.empty() && line.back() == '\r') line.pop_back();
            summaryLines.push_back(std::move(line));
            start = end + 1;
        }
    }
    return DumpJson({{"project", before.name},
                     {"from", {{"toolchain", before.toolchain}, {"version", before.version}}},
                     {"to", {{"toolchain", after.toolchain}, {"version", after.version}}},
                     {"phaseOrder", {{"before", before.phases}, {"after", after.phases}}},
                     {"phases", std::move(phases)},
                     {"phaseMappings", {{"before", before.mappings}, {"after", after.mappings}}},
                     {"upgradeFile", upgradeFile ? Json(*upgradeFile) : Json(nullptr)},
                     {"summary", std::move(summaryLines)}});
}

}  // namespace vivo::host
