#include "migration_report.h"

#include <algorithm>
#include <array>
#include <functional>
#include <ostream>
#include <streambuf>

#include "files.h"
#include "json_text.h"

namespace vivo::host {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";
constexpr std::uint32_t kNone = 0xFFFFFFFFu;

// One item of an option string: where it stands.
struct Span {
    std::uint32_t begin, length;
};

std::vector<Span> ItemSpans(std::string_view options) {
    if (options.size() >= kNone) throw Failure("an option string of 4 GB or more cannot be compared");
    std::vector<Span> items;
    std::size_t start = 0;
    bool quoted = false, inItem = false;
    for (std::size_t i = 0; i < options.size(); ++i) {
        const char c = options[i];
        if (c == '"') quoted = !quoted;
        const bool blank = !quoted && kBlanks.find(c) != std::string_view::npos;
        if (blank && inItem) items.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(i - start)});
        if (!blank && !inItem) start = i;
        inItem = !blank;
    }
    if (inItem) items.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(options.size() - start)});
    return items;
}

std::string_view At(std::string_view text, Span span) { return text.substr(span.begin, span.length); }

std::string_view WholeItem(std::string_view item) { return item; }

// Tools of one kind replace each other; the kind is told by the end of the tool's name.
enum class ToolKind { kOther, kCompiler, kAssembler, kLibraryGenerator, kLinker, kConfigurator };
constexpr std::array<std::pair<std::string_view, ToolKind>, 7> kToolKinds = {{
    {"Library Generator", ToolKind::kLibraryGenerator},
    {"Compiler", ToolKind::kCompiler},
    {"Assembler", ToolKind::kAssembler},
    {"Bindex", ToolKind::kLinker},
    {"Linker", ToolKind::kLinker},
    {"Configurator", ToolKind::kConfigurator},
    {"ConfiguratorDorn", ToolKind::kConfigurator},
}};

ToolKind KindOfTool(std::string_view name) {
    for (const auto& [ending, kind] : kToolKinds)
        if (name.ends_with(ending)) return kind;
    return ToolKind::kOther;
}

// The toolchain families whose conversions rename items.
enum Family : std::uint8_t { kPexa545 = 1, kPexa600 = 2, kLumo = 4, kTessaro = 8 };

std::uint8_t FamilyOf(const Project& project) {
    if (project.toolchain.find("Pexa") != std::string::npos) return project.version.starts_with("5") ? kPexa545 : kPexa600;
    if (project.toolchain.find("Lumo") != std::string::npos) return kLumo;
    if (project.toolchain.find("Tessaro") != std::string::npos) return kTessaro;
    return 0;
}

// Items the conversions from the older families give another key or value: an old item that begins
// with `from` becomes `to` followed by the rest of the item.
struct RenameRow {
    std::uint8_t families;
    std::string_view from, to;
};
constexpr std::array<RenameRow, 11> kRenames = {{
    {kPexa545 | kPexa600 | kLumo | kTessaro, "[S|OUTPUT|ASMCODE]", "[S|OUTPUT|SRC]"},
    {kPexa545 | kLumo | kTessaro, "[S|OUTPUT|PREPROCESSOR]", "[S|OUTPUT|PREP]"},
    {kPexa545 | kPexa600, "[S|OUTPUT|PREPROCESSORFILE]", "[S|OUTPUT|PREP]"},
    {kPexa545, "[B|HEAP|1]", "[S|DEFINE|__HEAP__=1]"},
    {kPexa545, "[B|IO|1]", "[S|DEFINE|__STANDARD_IO__=1]"},
    {kPexa545, "[B|DEBUGM|", "[B|DEBUG|"},
    {kPexa545, "[S|FORMAT|INTEL]", "[S|FORM|HEXADECIMAL]"},
    {kPexa545, "[S|MODE|CREATE|", "[S|INPUT|"},
    {kLumo | kTessaro, "[B|OPTIMIZE|", "[S|OPTIMIZE|"},
    {kLumo | kTessaro, "[B|RTTI|1]", "[S|RTTI|ON]"},
    {kLumo | kTessaro, "[I|PACK|1]", "[B|PACK|1]"},
}};

// File extensions of the older toolchains (absolute, object, assembly source, preprocessed C), which
// the KZ tools neither read nor write.
constexpr std::array<std::string_view, 4> kOldExtensions = {".x30", ".r30", ".a30", ".i"};

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The first old extension that ends a file name in `item` (before a quote, bar, bracket or the end).
std::string_view OldExtensionIn(std::string_view item) {
    for (std::size_t i = 1; i < item.size(); ++i) {
        if (item[i] != '.' || !(IsNameCharacter(item[i - 1]) || item[i - 1] == ')')) continue;
        for (std::string_view extension : kOldExtensions) {
            const std::size_t end = i + extension.size();
            if (end > item.size()) continue;
            bool same = true;
            for (std::size_t k = 1; k < extension.size() && same; ++k)
                same = (item[i + k] | 0x20) == extension[k];
            if (same && (end == item.size() || !IsNameCharacter(item[end]))) return extension;
        }
    }
    return {};
}

// New items by key, each key's items in their order; Take gives the first one not yet taken.
class ItemIndex {
public:
    ItemIndex(std::string_view text, const std::vector<Span>& items, std::string_view (*keyOf)(std::string_view),
              const std::vector<std::uint32_t>& taken)
        : text_(text), items_(items), keyOf_(keyOf), taken_(taken), next_(items.size(), kNone) {
        std::size_t capacity = 16;
        while (capacity < items.size() * 2) capacity *= 2;
        slots_.assign(capacity, Slot{kNone, kNone});
        for (std::size_t n = items.size(); n-- > 0;) {
            const std::string_view key = keyOf_(At(text_, items[n]));
            if (key.empty()) continue;
            Slot& slot = Find(key);
            next_[n] = slot.head;
            slot.head = slot.first = static_cast<std::uint32_t>(n);
        }
    }

    std::uint32_t Take(std::string_view key) {
        if (key.empty()) return kNone;
        Slot& slot = Find(key);
        while (slot.head != kNone && taken_[slot.head] != kNone) slot.head = next_[slot.head];
        return slot.head;
    }

    bool Contains(std::string_view key) { return !key.empty() && Find(key).first != kNone; }

private:
    struct Slot {
        std::uint32_t first, head;  // any item of the key (to compare), the first not yet taken
    };
    Slot& Find(std::string_view key) {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t h = std::hash<std::string_view>{}(key) & mask;; h = (h + 1) & mask) {
            Slot& slot = slots_[h];
            if (slot.first == kNone || keyOf_(At(text_, items_[slot.first])) == key) return slot;
        }
    }
    std::string_view text_;
    const std::vector<Span>& items_;
    std::string_view (*keyOf_)(std::string_view);
    const std::vector<std::uint32_t>& taken_;
    std::vector<std::uint32_t> next_;
    std::vector<Slot> slots_;
};

std::string FirstField(const std::string& line) { return line.substr(0, line.find('|')); }

// Lines of `a` that `b` lacks, in order.
std::vector<std::string_view> Missing(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    std::vector<std::string_view> missing;
    for (const std::string& line : a)
        if (std::find(b.begin(), b.end(), line) == b.end()) missing.push_back(line);
    return missing;
}

}  // namespace

const char* StatusName(ItemStatus status) {
    static constexpr std::array<const char*, kItemStatusCount> kNames = {"kept",  "changed", "renamed",
                                                                       "moved", "dropped", "added"};
    return kNames[static_cast<std::size_t>(status)];
}

const char* ReasonName(AttentionReason reason) {
    static constexpr std::array<const char*, 4> kNames = {"no-counterpart", "old-extension", "summary-note",
                                                          "downgrade-loss"};
    return kNames[static_cast<std::size_t>(reason)];
}

std::vector<std::string_view> OptionItems(std::string_view options) {
    std::vector<std::string_view> items;
    for (Span span : ItemSpans(options)) items.push_back(At(options, span));
    return items;
}

std::string_view ItemKey(std::string_view item) {
    if (!item.starts_with("[")) return {};
    const std::size_t first = item.find('|');
    if (first == std::string_view::npos) return {};
    const std::size_t second = item.find('|', first + 1);
    if (second == std::string_view::npos) return {};
    return item.substr(1, second - 1);
}

MigrationCounts& MigrationCounts::operator+=(const MigrationCounts& other) {
    for (int i = 0; i < kItemStatusCount; ++i) items[i] += other.items[i];
    attention += other.attention;
    return *this;
}

std::string CountLine(const MigrationCounts& counts) {
    std::string line;
    for (int i = 0; i < kItemStatusCount; ++i)
        line += (i == 0 ? "" : ", ") + std::to_string(counts.items[i]) + " " + StatusName(static_cast<ItemStatus>(i));
    return line + "; " + std::to_string(counts.attention) + (counts.attention == 1 ? " needs" : " need") +
           " attention";
}

SummaryLines ReadSummary(std::string_view text) {
    SummaryLines summary;
    std::size_t header = 0;  // "Project name : ...", "... was upgraded to", "   <toolchain> <version>."
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (header < 3) {
            if (!line.empty()) ++header;
            continue;
        }
        summary.lines.emplace_back(line);
        if (line.empty() || line.ends_with(":")) continue;  // blank lines and section headings
        const bool phaseLine = line.starts_with("  \"") && (line.ends_with("\" add") || line.ends_with("\" delete"));
        if (phaseLine) continue;
        if (line.starts_with("  Option ") && line.find(" has been converted to ") != std::string_view::npos)
            summary.converted.emplace_back(line.substr(2));
        else
            summary.notes.emplace_back(line.substr(line.find_first_not_of(' ')));
    }
    while (!summary.lines.empty() && summary.lines.back().empty()) summary.lines.pop_back();
    while (!summary.lines.empty() && summary.lines.front().empty()) summary.lines.erase(summary.lines.begin());
    return summary;
}

// ---------------------------------------------------------------------------------------------------
// The comparison

struct OldPhase {
    std::string name;
    std::string_view options;
    std::vector<Span> items;
    std::vector<std::uint32_t> match;  // in the phase that replaces it: the new item, or kNone
    std::vector<bool> used;            // paired in some new phase
    std::vector<bool> noCounterpart;   // dropped, and its key stands nowhere in the phase that lists it
    int successor = -1;                // the new phase that replaces it
    int firstConsumer = -1;            // the first new phase compared with it
    std::vector<int> consumers;
};

struct NewPhase {
    std::string_view name;
    std::string_view options;
    bool hasOptions = false;
    std::vector<Span> items;
    std::vector<std::uint32_t> fromItem;  // the old item paired with it, or kNone (added)
    std::vector<std::int32_t> fromPhase;  // the old phase of that item
    std::vector<ItemStatus> status;
    int primary = -1;           // the old phase it replaces
    std::vector<int> compared;  // the old phases it is compared with, the one it replaces first
    const std::vector<std::string>* consulted = nullptr;
};

struct Migration::Impl {
    std::vector<OldPhase> olds;
    std::vector<NewPhase> news;
    std::uint8_t family = 0;
    std::string targetVersion;

    int OldIndex(std::string_view name) const {
        for (std::size_t i = 0; i < olds.size(); ++i)
            if (olds[i].name == name) return static_cast<int>(i);
        return -1;
    }

    // Is the old item `i` of phase `o` listed as dropped in new phase `p`?
    bool DroppedIn(int p, int o, std::size_t i) const {
        const OldPhase& old = olds[static_cast<std::size_t>(o)];
        if (old.used[i]) return false;
        return old.successor == p || (old.successor < 0 && old.firstConsumer == p);
    }

    void Compare(int p) {
        NewPhase& phase = news[static_cast<std::size_t>(p)];
        phase.fromItem.assign(phase.items.size(), kNone);
        phase.fromPhase.assign(phase.items.size(), -1);
        phase.status.assign(phase.items.size(), ItemStatus::kAdded);
        std::vector<std::vector<std::uint32_t>> here;  // per compared phase: the new item of each old item
        for (int o : phase.compared) here.emplace_back(olds[static_cast<std::size_t>(o)].items.size(), kNone);

        auto pair = [&](std::size_t c, std::size_t i, std::uint32_t n, ItemStatus status) {
            const int o = phase.compared[c];
            here[c][i] = n;
            phase.fromItem[n] = static_cast<std::uint32_t>(i);
            phase.fromPhase[n] = o;
            phase.status[n] = o == phase.primary ? status : ItemStatus::kMoved;
        };
        {
            ItemIndex exact(phase.options, phase.items, WholeItem, phase.fromItem);
            for (std::size_t c = 0; c < phase.compared.size(); ++c) {
                const OldPhase& old = olds[static_cast<std::size_t>(phase.compared[c])];
                for (std::size_t i = 0; i < old.items.size(); ++i) {
                    const std::uint32_t n = exact.Take(At(old.options, old.items[i]));
                    if (n != kNone) pair(c, i, n, ItemStatus::kKept);
                }
            }
            for (std::size_t c = 0; c < phase.compared.size(); ++c) {
                const OldPhase& old = olds[static_cast<std::size_t>(phase.compared[c])];
                for (std::size_t i = 0; i < old.items.size(); ++i) {
                    if (here[c][i] != kNone) continue;
                    const std::string_view item = At(old.options, old.items[i]);
                    for (const RenameRow& row : kRenames) {
                        if ((row.families & family) == 0 || !item.starts_with(row.from)) continue;
                        const std::uint32_t n = exact.Take(std::string(row.to) + std::string(item.substr(row.from.size())));
                        if (n == kNone) continue;
                        pair(c, i, n, ItemStatus::kRenamed);
                        break;
                    }
                }
            }
        }
        // Only the phase it replaces gives a new item its key: the others lend whole items only.
        if (!phase.compared.empty() && phase.compared[0] == phase.primary) {
            ItemIndex keys(phase.options, phase.items, ItemKey, phase.fromItem);
            const OldPhase& old = olds[static_cast<std::size_t>(phase.primary)];
            for (std::size_t i = 0; i < old.items.size(); ++i) {
                if (here[0][i] != kNone) continue;
                const std::uint32_t n = keys.Take(ItemKey(At(old.options, old.items[i])));
                if (n != kNone) pair(0, i, n, ItemStatus::kChanged);
            }
        }
        for (std::size_t c = 0; c < phase.compared.size(); ++c) {
            OldPhase& old = olds[static_cast<std::size_t>(phase.compared[c])];
            for (std::size_t i = 0; i < old.items.size(); ++i)
                if (here[c][i] != kNone) old.used[i] = true;
            if (phase.compared[c] == phase.primary) old.match = std::move(here[c]);
        }
    }

    // Marks the dropped items whose key the phase listing them does not hold.
    void MarkCounterparts(int p) {
        NewPhase& phase = news[static_cast<std::size_t>(p)];
        const std::vector<std::uint32_t> none(phase.items.size(), kNone);
        ItemIndex keys(phase.options, phase.items, ItemKey, none);
        for (int o : phase.compared) {
            OldPhase& old = olds[static_cast<std::size_t>(o)];
            for (std::size_t i = 0; i < old.items.size(); ++i)
                if (DroppedIn(p, o, i) && !keys.Contains(ItemKey(At(old.options, old.items[i]))))
                    old.noCounterpart[i] = true;
        }
    }
};

Migration::Migration(const Project& before, const ProjectChange& change, std::optional<SummaryLines> summary)
    : before_(before), change_(change), summary_(std::move(summary)), impl_(new Impl) {
    Impl& m = *impl_;
    m.family = FamilyOf(before);
    m.targetVersion = change.converted.version;
    downgrade_ = before.toolchain == change.converted.toolchain && change.converted.version < before.version;

    // The old phases: those of the phase order, then any option block of a tool not in it.
    auto addOld = [&](const std::string& name) {
        if (name.empty() || m.OldIndex(name) >= 0) return;
        OldPhase old;
        old.name = name;
        if (const auto options = before.OptionsOf(name)) old.options = *options;
        old.items = ItemSpans(old.options);
        old.match.assign(old.items.size(), kNone);
        old.used.assign(old.items.size(), false);
        old.noCounterpart.assign(old.items.size(), false);
        m.olds.push_back(std::move(old));
    };
    for (const std::string& line : before.phases) addOld(FirstField(line));
    for (const PhaseOptions& block : before.options) addOld(block.tool());

    for (const ConvertedPhase& converted : change.phases) {
        NewPhase phase;
        phase.name = converted.tool;
        phase.consulted = &converted.sources;
        if (converted.options >= 0) {
            phase.options = change.converted.options[static_cast<std::size_t>(converted.options)].options();
            phase.hasOptions = true;
        }
        phase.items = ItemSpans(phase.options);
        // A phase that kept its tool is compared with its own old phase only: the others the plug-in
        // consulted lend it facts (the compiler's endian setting to the linker), not items.
        const int own = m.OldIndex(converted.tool);
        const bool keptTool =
            own >= 0 && std::find(converted.sources.begin(), converted.sources.end(), converted.tool) !=
                            converted.sources.end();
        if (keptTool) {
            phase.compared.push_back(own);
        } else {
            for (const std::string& source : converted.sources) {
                const int o = m.OldIndex(source);
                if (o >= 0 && std::find(phase.compared.begin(), phase.compared.end(), o) == phase.compared.end())
                    phase.compared.push_back(o);
            }
        }
        const int p = static_cast<int>(m.news.size());
        const ToolKind kind = KindOfTool(phase.name);
        for (int o : phase.compared) {
            OldPhase& old = m.olds[static_cast<std::size_t>(o)];
            const bool replaces = old.name == phase.name || (kind != ToolKind::kOther && KindOfTool(old.name) == kind);
            if (phase.primary < 0 && old.successor < 0 && replaces) {
                phase.primary = o;
                old.successor = p;
            }
            if (old.firstConsumer < 0) old.firstConsumer = p;
            old.consumers.push_back(p);
        }
        if (phase.primary >= 0) {
            std::rotate(phase.compared.begin(),
                        std::find(phase.compared.begin(), phase.compared.end(), phase.primary),
                        std::find(phase.compared.begin(), phase.compared.end(), phase.primary) + 1);
        }
        m.news.push_back(std::move(phase));
    }
    for (std::size_t p = 0; p < m.news.size(); ++p) m.Compare(static_cast<int>(p));
    for (std::size_t p = 0; p < m.news.size(); ++p) m.MarkCounterparts(static_cast<int>(p));
    for (OldPhase& old : m.olds)
        if (old.firstConsumer < 0)
            for (std::size_t i = 0; i < old.items.size(); ++i) old.noCounterpart[i] = true;

    for (const NewPhase& phase : m.news)
        for (ItemStatus status : phase.status) ++counts_.items[static_cast<int>(status)];
    for (std::size_t o = 0; o < m.olds.size(); ++o) {
        const OldPhase& old = m.olds[o];
        const int listedIn = old.successor >= 0 ? old.successor : old.firstConsumer;
        for (std::size_t i = 0; i < old.items.size(); ++i)
            if (!old.used[i] && (listedIn < 0 || m.DroppedIn(listedIn, static_cast<int>(o), i)))
                ++counts_.items[static_cast<int>(ItemStatus::kDropped)];
    }
    ForEachAttention([&](const Attention&) { ++counts_.attention; });
}

Migration::~Migration() { delete impl_; }

namespace {

// What the dry run and the report walk through: per new phase its items in display order (grouped by
// status), then the removed phases with their dropped items.
struct ItemView {
    ItemStatus status;
    std::string_view oldItem, newItem, from;  // `from`: the old phase of an old item
    bool noCounterpart = false;
};

}  // namespace

// Walks one new phase's items in display order: grouped by status, each group in item order.
static void ForEachItem(const Migration::Impl& m, int p, bool withKept, const std::function<void(const ItemView&)>& visit) {
    const NewPhase& phase = m.news[static_cast<std::size_t>(p)];
    auto newItem = [&](std::size_t n) -> ItemView {
        ItemView view{phase.status[n], {}, At(phase.options, phase.items[n]), {}};
        if (phase.fromItem[n] != kNone) {
            const OldPhase& old = m.olds[static_cast<std::size_t>(phase.fromPhase[n])];
            view.oldItem = At(old.options, old.items[phase.fromItem[n]]);
            view.from = old.name;
        }
        return view;
    };
    for (int s = withKept ? 0 : 1; s < kItemStatusCount; ++s) {
        const auto status = static_cast<ItemStatus>(s);
        if (status == ItemStatus::kDropped) {
            for (int o : phase.compared) {
                const OldPhase& old = m.olds[static_cast<std::size_t>(o)];
                for (std::size_t i = 0; i < old.items.size(); ++i)
                    if (m.DroppedIn(p, o, i))
                        visit({status, At(old.options, old.items[i]), {}, old.name, old.noCounterpart[i]});
            }
            continue;
        }
        for (std::size_t n = 0; n < phase.items.size(); ++n)
            if (phase.status[n] == status) visit(newItem(n));
    }
}

static void ForEachRemovedItem(const OldPhase& old, const std::function<void(const ItemView&)>& visit) {
    for (std::size_t i = 0; i < old.items.size(); ++i)
        if (!old.used[i]) visit({ItemStatus::kDropped, At(old.options, old.items[i]), {}, old.name, true});
}

namespace {

std::optional<Attention> AttentionOf(const ItemView& item, std::string_view phase, bool downgrade,
                                     const std::string& version) {
    if (item.status == ItemStatus::kDropped) {
        if (downgrade) return Attention{AttentionReason::kDowngradeLoss, phase, item.oldItem, "lost in the downgrade to " + version};
        if (item.noCounterpart) {
            const std::string_view key = ItemKey(item.oldItem);
            return Attention{AttentionReason::kNoCounterpart, phase, item.oldItem,
                             key.empty() ? std::string("dropped; not an option item")
                                         : "dropped; no " + std::string(key) + " item takes its place"};
        }
        return std::nullopt;
    }
    if (downgrade && item.status == ItemStatus::kChanged)
        return Attention{AttentionReason::kDowngradeLoss, phase, item.newItem,
                         "changed in the downgrade to " + version + ", was " + std::string(item.oldItem)};
    const std::string_view extension = OldExtensionIn(item.newItem);
    if (!extension.empty())
        return Attention{AttentionReason::kOldExtension, phase, item.newItem,
                         "names a " + std::string(extension) + " file of the older toolchain"};
    return std::nullopt;
}

}  // namespace

void Migration::ForEachAttention(const std::function<void(const Attention&)>& visit) const {
    const Impl& m = *impl_;
    for (std::size_t p = 0; p < m.news.size(); ++p)
        ForEachItem(m, static_cast<int>(p), true, [&](const ItemView& item) {
            if (auto attention = AttentionOf(item, m.news[p].name, downgrade_, m.targetVersion)) visit(*attention);
        });
    for (const OldPhase& old : m.olds)
        if (old.firstConsumer < 0)
            ForEachRemovedItem(old, [&](const ItemView& item) {
                if (auto attention = AttentionOf(item, old.name, downgrade_, m.targetVersion)) visit(*attention);
            });
    if (summary_)
        for (const std::string& note : summary_->notes)
            visit({AttentionReason::kSummaryNote, {}, note, "note of the summary (Upgrade.txt)"});
}

// ---------------------------------------------------------------------------------------------------
// The dry run's text

namespace {

std::string PhaseHeading(const Migration::Impl& m, const NewPhase& phase) {
    std::string heading(phase.name);
    if (phase.primary < 0) {
        heading += " (added";
    } else {
        const std::string& old = m.olds[static_cast<std::size_t>(phase.primary)].name;
        heading += old == phase.name ? " (kept" : " (renamed from " + old;
    }
    std::string others;
    for (int o : phase.compared)
        if (o != phase.primary) others += (others.empty() ? "" : ", ") + m.olds[static_cast<std::size_t>(o)].name;
    if (!others.empty()) heading += (phase.primary < 0 ? "; given " : "; also given ") + others;
    return heading + ")";
}

std::string ItemLine(const ItemView& item, std::string_view replaced) {
    std::string line = Format("  %-9s", StatusName(item.status));
    if (item.status == ItemStatus::kAdded) return line + std::string(item.newItem) + "\n";
    line += item.oldItem;
    if (item.status != ItemStatus::kDropped && item.status != ItemStatus::kKept && item.newItem != item.oldItem)
        line += " -> " + std::string(item.newItem);
    if (item.from != replaced) line += " (from " + std::string(item.from) + ")";
    return line + "\n";
}

void ListChanges(const TextSink& out, const char* heading, const std::vector<std::string>& before,
                 const std::vector<std::string>& after) {
    out(Format("%s\n", heading));
    if (before == after) out("  unchanged\n");
    for (std::string_view line : Missing(before, after)) out("  - " + std::string(line) + "\n");
    for (std::string_view line : Missing(after, before)) out("  + " + std::string(line) + "\n");
}

}  // namespace

void Migration::WriteText(const TextSink& out, const std::string& file, bool verbose) const {
    const Impl& m = *impl_;
    const Project& after = change_.converted;
    out(before_.name + " (" + file + "): " + before_.toolchain + " " + before_.version + " -> " + after.toolchain + " " +
        after.version + (downgrade_ ? " (a downgrade)" : "") + "\n\n");

    out("Phases\n");
    for (const NewPhase& phase : m.news) {
        if (phase.primary < 0) continue;
        const std::string& old = m.olds[static_cast<std::size_t>(phase.primary)].name;
        out(old == phase.name ? Format("  %-9s%s\n", "kept", old.c_str())
                              : Format("  %-9s%s -> %s\n", "renamed", old.c_str(), std::string(phase.name).c_str()));
    }
    for (const OldPhase& old : m.olds) {
        if (old.successor >= 0) continue;
        std::string takers;
        for (int p : old.consumers) takers += (takers.empty() ? "" : ", ") + std::string(m.news[static_cast<std::size_t>(p)].name);
        out(Format("  %-9s%s%s\n", "removed", old.name.c_str(),
                   takers.empty() ? "" : (" (given to " + takers + ")").c_str()));
    }
    for (const NewPhase& phase : m.news)
        if (phase.primary < 0) out(Format("  %-9s%s\n", "added", std::string(phase.name).c_str()));
    out("\n");
    ListChanges(out, "Phase order", before_.phases, after.phases);

    for (std::size_t p = 0; p < m.news.size(); ++p) {
        const NewPhase& phase = m.news[p];
        out("\n" + PhaseHeading(m, phase) + "\n");
        const std::string_view replaced =
            phase.primary >= 0 ? std::string_view(m.olds[static_cast<std::size_t>(phase.primary)].name) : "";
        std::size_t shown = 0, kept = 0;
        for (ItemStatus status : phase.status) kept += status == ItemStatus::kKept;
        ForEachItem(m, static_cast<int>(p), verbose, [&](const ItemView& item) {
            out(ItemLine(item, replaced));
            ++shown;
        });
        if (!phase.hasOptions) out("  no options\n");
        else if (shown == 0) out(Format("  unchanged (%zu kept)\n", kept));
        else if (!verbose && kept > 0) out(Format("  and %zu kept\n", kept));
    }
    for (const OldPhase& old : m.olds) {
        if (old.firstConsumer >= 0 || old.items.empty()) continue;
        out("\nRemoved phase " + old.name + "\n");
        ForEachRemovedItem(old, [&](const ItemView& item) { out(ItemLine(item, old.name)); });
    }
    out("\n");
    ListChanges(out, "Phase mappings", before_.mappings, after.mappings);

    out(Format("\nNeeds attention (%zu)\n", counts_.attention));
    if (counts_.attention == 0) out("  nothing\n");
    ForEachAttention([&](const Attention& attention) {
        if (attention.phase.empty())
            out("  Upgrade.txt: " + std::string(attention.item) + "\n");
        else
            out("  " + std::string(attention.phase) + ": " + std::string(attention.item) + ": " + attention.detail + "\n");
    });
    out("\n" + CountLine(counts_) + "\n");
}

// ---------------------------------------------------------------------------------------------------
// The JSON report

namespace {

constexpr std::size_t kFlushSize = 1 << 16;

// Hands what a stream writes to `append`: nlohmann-json quotes a string into it piece by piece.
class AppendingStreamBuffer : public std::streambuf {
public:
    explicit AppendingStreamBuffer(TextSink append) : append_(std::move(append)) {}

protected:
    std::streamsize xsputn(const char* bytes, std::streamsize count) override {
        append_(std::string_view(bytes, static_cast<std::size_t>(count)));
        return count;
    }
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const char byte = traits_type::to_char_type(c);
        append_(std::string_view(&byte, 1));
        return c;
    }

private:
    TextSink append_;
};

}  // namespace

ReportWriter::ReportWriter(TextSink out, const std::string& targetVersion, bool dryRun) : out_(std::move(out)) {
    buffer_ += "{\n  \"reportVersion\": 1,\n  \"to\": {\"toolchain\": ";
    Quoted(kKzToolchain);
    buffer_ += ", \"version\": ";
    String(targetVersion, [] { return std::string("/to/version"); });
    buffer_ += std::string("},\n  \"dryRun\": ") + (dryRun ? "true" : "false") + ",\n  \"projects\": [";
}

ReportWriter::ReportWriter(TextSink out, std::size_t index) : out_(std::move(out)), projects_(index) {}

void ReportWriter::AddEntry(const std::function<void(const TextSink&)>& copy, const MigrationCounts& counts,
                            bool failed, const std::vector<std::string>& latin1) {
    Flush(true);
    copy(out_);
    ++projects_;
    failed_ += failed ? 1 : 0;
    totals_ += counts;
    latin1_.insert(latin1_.end(), latin1.begin(), latin1.end());
}

void ReportWriter::String(std::string_view text, const std::function<std::string()>& pointer) {
    const bool latin1 = !IsUtf8(text);
    if (latin1) latin1_.push_back(pointer());
    Quoted(latin1 ? Latin1ToUtf8(text) : std::string(text));
}

void ReportWriter::Quoted(std::string utf8) {
    // Streamed into the buffer, which is written out as it fills: an option string may be very large.
    AppendingStreamBuffer appending([this](std::string_view bytes) {
        buffer_ += bytes;
        Flush(false);
    });
    std::ostream stream(&appending);
    stream.exceptions(std::ios::badbit);  // a failed write of the report passes on, not into the stream's state
    stream << Json(std::move(utf8));
}

void ReportWriter::Key(std::string_view name, int indent) {
    buffer_ += std::string(static_cast<std::size_t>(indent), ' ');
    Quoted(std::string(name));
    buffer_ += ": ";
}

void ReportWriter::Flush(bool all) {
    if (buffer_.size() >= kFlushSize || (all && !buffer_.empty())) {
        out_(buffer_);
        buffer_.clear();
    }
}

void ReportWriter::AddFailure(const std::string& file, const std::string& result, const std::string& error) {
    const std::string at = "/projects/" + std::to_string(projects_);
    buffer_ += projects_ == 0 ? "\n" : ",\n";
    buffer_ += "    {\n";
    Key("file", 6);
    String(file, [&] { return at + "/file"; });
    buffer_ += ",\n";
    Key("result", 6);
    String(result, [&] { return at + "/result"; });
    buffer_ += ",\n";
    Key("error", 6);
    String(error, [&] { return at + "/error"; });
    buffer_ += "\n    }";
    ++projects_;
    ++failed_;
    Flush(false);
}

void ReportWriter::AddProject(const std::string& file, const Migration& migration, const std::string& result,
                           const std::optional<std::string>& output, const std::optional<std::string>& upgradeFile) {
    const Migration::Impl& m = *migration.impl_;
    const host::Project& before = migration.before_;
    const host::Project& after = migration.change_.converted;
    const std::string at = "/projects/" + std::to_string(projects_);
    auto str = [&](std::string_view text, const std::string& pointer) {
        String(text, [&] { return at + pointer; });
    };
    auto optionalString = [&](const std::optional<std::string>& text, const std::string& pointer) {
        if (text)
            str(*text, pointer);
        else
            buffer_ += "null";
    };
    auto stringList = [&](const std::vector<std::string>& lines, const std::string& pointer, int indent) {
        if (lines.empty()) {
            buffer_ += "[]";
            return;
        }
        buffer_ += "[";
        for (std::size_t i = 0; i < lines.size(); ++i) {
            buffer_ += (i == 0 ? "\n" : ",\n") + std::string(static_cast<std::size_t>(indent + 2), ' ');
            str(lines[i], pointer + "/" + std::to_string(i));
        }
        buffer_ += "\n" + std::string(static_cast<std::size_t>(indent), ' ') + "]";
    };
    auto toolchain = [&](const char* key, const host::Project& project) {
        Key(key, 6);
        buffer_ += "{\"toolchain\": ";
        str(project.toolchain, std::string("/") + key + "/toolchain");
        buffer_ += ", \"version\": ";
        str(project.version, std::string("/") + key + "/version");
        buffer_ += "},\n";
    };
    // Items as {"status", "old", "new", "from"}: a kept item without "new" (it is "old"), "from" only
    // for an item of another old phase than `replaced` (the one the new phase replaces).
    auto items = [&](const std::string& pointer, std::string_view replaced, auto&& forEach) {
        std::size_t count = 0;
        buffer_ += "[";
        forEach([&](const ItemView& item) {
            const std::string here = pointer + "/" + std::to_string(count);
            buffer_ += (count++ == 0 ? "\n" : ",\n");
            buffer_ += "            {\"status\": ";
            Quoted(StatusName(item.status));
            if (item.status != ItemStatus::kAdded) {
                buffer_ += ", \"old\": ";
                str(item.oldItem, here + "/old");
            }
            if (item.status != ItemStatus::kDropped && item.status != ItemStatus::kKept) {
                buffer_ += ", \"new\": ";
                str(item.newItem, here + "/new");
            }
            if (!item.from.empty() && item.from != replaced) {
                buffer_ += ", \"from\": ";
                str(item.from, here + "/from");
            }
            buffer_ += "}";
        });
        buffer_ += count == 0 ? "]" : "\n          ]";
    };

    buffer_ += projects_ == 0 ? "\n" : ",\n";
    buffer_ += "    {\n";
    Key("file", 6);
    str(file, "/file");
    buffer_ += ",\n";
    Key("project", 6);
    str(before.name, "/project");
    buffer_ += ",\n";
    toolchain("from", before);
    toolchain("to", after);
    Key("downgrade", 6);
    buffer_ += migration.downgrade() ? "true,\n" : "false,\n";
    Key("result", 6);
    str(result, "/result");
    buffer_ += ",\n";
    Key("output", 6);
    optionalString(output, "/output");
    buffer_ += ",\n";
    Key("upgradeFile", 6);
    optionalString(upgradeFile, "/upgradeFile");
    buffer_ += ",\n";

    const MigrationCounts& counts = migration.counts();
    Key("counts", 6);
    buffer_ += "{";
    for (int s = 0; s < kItemStatusCount; ++s)
        buffer_ += Format("\"%s\": %zu, ", StatusName(static_cast<ItemStatus>(s)), counts.items[s]);
    buffer_ += Format("\"attention\": %zu},\n", counts.attention);

    Key("phases", 6);
    buffer_ += "[";
    for (std::size_t p = 0; p < m.news.size(); ++p) {
        const NewPhase& phase = m.news[p];
        const std::string here = "/phases/" + std::to_string(p);
        buffer_ += p == 0 ? "\n        {\n" : ",\n        {\n";
        Key("phase", 10);
        str(phase.name, here + "/phase");
        buffer_ += ",\n";
        Key("status", 10);
        const bool kept = phase.primary >= 0 && m.olds[static_cast<std::size_t>(phase.primary)].name == phase.name;
        buffer_ += phase.primary < 0 ? "\"added\"" : kept ? "\"kept\"" : "\"renamed\"";
        buffer_ += ",\n";
        Key("replaces", 10);
        if (phase.primary < 0)
            buffer_ += "null";
        else
            str(m.olds[static_cast<std::size_t>(phase.primary)].name, here + "/replaces");
        buffer_ += ",\n";
        std::vector<std::string> compared;
        for (int o : phase.compared) compared.push_back(m.olds[static_cast<std::size_t>(o)].name);
        Key("comparedWith", 10);
        stringList(compared, here + "/comparedWith", 10);
        buffer_ += ",\n";
        Key("consulted", 10);
        stringList(*phase.consulted, here + "/consulted", 10);
        buffer_ += ",\n";
        Key("options", 10);
        if (phase.hasOptions)
            str(phase.options, here + "/options");
        else
            buffer_ += "null";
        buffer_ += ",\n";
        Key("items", 10);
        const std::string_view replaced =
            phase.primary >= 0 ? std::string_view(m.olds[static_cast<std::size_t>(phase.primary)].name) : "";
        items(here + "/items", replaced, [&](auto&& visit) { ForEachItem(m, static_cast<int>(p), true, visit); });
        buffer_ += "\n        }";
        Flush(false);
    }
    buffer_ += m.news.empty() ? "],\n" : "\n      ],\n";

    Key("removedPhases", 6);
    std::size_t removed = 0;
    buffer_ += "[";
    for (const OldPhase& old : m.olds) {
        if (old.successor >= 0) continue;
        const std::string here = "/removedPhases/" + std::to_string(removed);
        buffer_ += removed++ == 0 ? "\n        {\n" : ",\n        {\n";
        Key("phase", 10);
        str(old.name, here + "/phase");
        buffer_ += ",\n";
        std::vector<std::string> takers;
        for (int p : old.consumers) takers.emplace_back(m.news[static_cast<std::size_t>(p)].name);
        Key("givenTo", 10);
        stringList(takers, here + "/givenTo", 10);
        buffer_ += ",\n";
        Key("items", 10);
        items(here + "/items", old.name, [&](auto&& visit) {
            if (old.firstConsumer < 0) ForEachRemovedItem(old, visit);
        });
        buffer_ += "\n        }";
    }
    buffer_ += removed == 0 ? "],\n" : "\n      ],\n";

    auto changes = [&](const char* key, const std::vector<std::string>& was, const std::vector<std::string>& is) {
        Key(key, 6);
        buffer_ += "{\n";
        const std::string here = std::string("/") + key;
        Key("before", 8);
        stringList(was, here + "/before", 8);
        buffer_ += ",\n";
        Key("after", 8);
        stringList(is, here + "/after", 8);
        buffer_ += "\n      },\n";
    };
    changes("phaseOrder", before.phases, after.phases);
    changes("phaseMappings", before.mappings, after.mappings);

    Key("summary", 6);
    if (!migration.summary_) {
        buffer_ += "null,\n";
    } else {
        buffer_ += "{\n";
        Key("lines", 8);
        stringList(migration.summary_->lines, "/summary/lines", 8);
        buffer_ += ",\n";
        Key("converted", 8);
        stringList(migration.summary_->converted, "/summary/converted", 8);
        buffer_ += ",\n";
        Key("notes", 8);
        stringList(migration.summary_->notes, "/summary/notes", 8);
        buffer_ += "\n      },\n";
    }

    Key("attention", 6);
    std::size_t count = 0;
    buffer_ += "[";
    migration.ForEachAttention([&](const Attention& attention) {
        const std::string here = "/attention/" + std::to_string(count);
        buffer_ += count++ == 0 ? "\n        {\"reason\": " : ",\n        {\"reason\": ";
        Quoted(ReasonName(attention.reason));
        buffer_ += ", \"phase\": ";
        if (attention.phase.empty())
            buffer_ += "null";
        else
            str(attention.phase, here + "/phase");
        buffer_ += ", \"item\": ";
        str(attention.item, here + "/item");
        buffer_ += ", \"detail\": ";
        str(attention.detail, here + "/detail");
        buffer_ += "}";
    });
    buffer_ += count == 0 ? "]\n    }" : "\n      ]\n    }";
    ++projects_;
    totals_ += counts;
    Flush(false);
}

void ReportWriter::Finish() {
    buffer_ += projects_ == 0 ? "],\n" : "\n  ],\n";
    buffer_ += Format("  \"totals\": {\"projects\": %zu, \"failed\": %zu, ", projects_, failed_);
    for (int s = 0; s < kItemStatusCount; ++s)
        buffer_ += Format("\"%s\": %zu, ", StatusName(static_cast<ItemStatus>(s)), totals_.items[s]);
    buffer_ += Format("\"attention\": %zu}", totals_.attention);
    if (!latin1_.empty()) {
        buffer_ += ",\n  \"latin1\": [";
        for (std::size_t i = 0; i < latin1_.size(); ++i) {
            buffer_ += i == 0 ? "\n    " : ",\n    ";
            Quoted(latin1_[i]);
        }
        buffer_ += "\n  ]";
    }
    buffer_ += "\n}\n";
    Flush(true);
}

}  // namespace vivo::host
