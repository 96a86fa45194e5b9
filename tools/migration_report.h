#pragma once
// What a toolchain change does to a project, item by item, for a person (the dry run) and for scripts
// (the JSON report). Everything is derived from what the plug-in's exports answered: the old and new
// phase orders, the old phases each new phase was given (UpgradePhases), the option strings before and
// after, the mappings, and the summary the plug-in wrote.
//
// An option item is identified by its key (kind letter and name, "S|INCLUDE") and, for a key that
// stands several times, its order among the items of that key. Each new phase is compared with the
// old phases that supplied it; an old phase of the same tool kind is the one it replaces (same name:
// kept, other name: renamed). Old items are paired with new ones in three passes: the same text
// (kept), a known rename of the conversion (renamed), the same key (changed). An item paired in a new
// phase that does not replace its old phase was moved there. Old items paired nowhere are dropped;
// new items nothing explains are added.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project_change.h"

namespace vivo::host {

enum class ItemStatus : std::uint8_t { kKept, kChanged, kRenamed, kMoved, kDropped, kAdded };
constexpr int kItemStatusCount = 6;
const char* StatusName(ItemStatus status);

// The option items of an option string: its pieces between blanks, double quotes protecting blanks.
std::vector<std::string_view> OptionItems(std::string_view options);

// "[S|CPU|KZ600]" -> "S|CPU"; empty for text that is not an item.
std::string_view ItemKey(std::string_view item);

// Why a person must look at something after the change.
enum class AttentionReason : std::uint8_t { kNoCounterpart, kOldExtension, kSummaryNote, kDowngradeLoss };
const char* ReasonName(AttentionReason reason);

struct Attention {
    AttentionReason reason;
    std::string_view phase;  // empty for a note of the summary
    std::string_view item;   // the item concerned, or the note's text
    std::string detail;      // what a person reads
};

struct MigrationCounts {
    std::size_t items[kItemStatusCount] = {};
    std::size_t attention = 0;
    MigrationCounts& operator+=(const MigrationCounts& other);
};

// The lines of the summary (Upgrade.txt) that the comparison uses.
struct SummaryLines {
    std::vector<std::string> lines;      // every line after the header, without its line break
    std::vector<std::string> converted;  // "Option A has been converted to B" lines
    std::vector<std::string> notes;      // the lines that ask the user to check something
};
SummaryLines ReadSummary(std::string_view upgradeText);

class Migration;

// The comparison of one project's change. Refers to `before` and `change`, which must outlive it.
class Migration {
public:
    Migration(const Project& before, const ProjectChange& change, std::optional<SummaryLines> summary);
    ~Migration();
    Migration(const Migration&) = delete;
    Migration& operator=(const Migration&) = delete;

    const MigrationCounts& counts() const { return counts_; }
    bool downgrade() const { return downgrade_; }

    // Every point that needs attention, in the order the dry run shows them.
    void ForEachAttention(const std::function<void(const Attention&)>& visit) const;

    // The dry run's text: phases, phase order, items by what happened (kept ones when `verbose`),
    // mappings, what needs attention and a closing count line.
    void WriteText(const TextSink& out, const std::string& file, bool verbose) const;

    struct Impl;

private:
    const Project& before_;
    const ProjectChange& change_;
    std::optional<SummaryLines> summary_;
    Impl* impl_;
    MigrationCounts counts_;
    bool downgrade_ = false;
    friend class ReportWriter;
};

// The one-line count: "12 kept, 3 changed, ... ; 4 need attention".
std::string CountLine(const MigrationCounts& counts);

// The JSON report, written piece by piece: a header, one entry per project, the totals.
// Strings that are not UTF-8 are written one character per byte and listed in "latin1" (json_text.h).
class ReportWriter {
public:
    // The whole report: its head now, Finish() at the end.
    ReportWriter(TextSink out, const std::string& targetVersion, bool dryRun);
    // One project's entry alone, as the `index`th of a report (for a process converting one project).
    ReportWriter(TextSink out, std::size_t index);

    // A project that was compared: `result` says what became of it ("converted", "dry run", ...).
    void AddProject(const std::string& file, const Migration& migration, const std::string& result,
                    const std::optional<std::string>& output, const std::optional<std::string>& upgradeFile);
    // A project that could not be changed.
    void AddFailure(const std::string& file, const std::string& result, const std::string& error);
    // An entry written by the writer of another process (its text comes through `copy`).
    void AddEntry(const std::function<void(const TextSink&)>& copy, const MigrationCounts& counts, bool failed,
                  const std::vector<std::string>& latin1);
    void Finish();
    // Writes out what is buffered.
    void Flush() { Flush(true); }
    const std::vector<std::string>& latin1() const { return latin1_; }

private:
    void Key(std::string_view name, int indent);
    void Quoted(std::string utf8);  // as a JSON string
    void String(std::string_view text, const std::function<std::string()>& pointer);
    void Flush(bool all);
    TextSink out_;
    std::string buffer_;
    std::vector<std::string> latin1_;
    std::size_t projects_ = 0;
    std::size_t failed_ = 0;
    MigrationCounts totals_;
};

}  // namespace vivo::host
