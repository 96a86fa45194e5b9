// What the migration comparison says became of each option item, and what it asks a person to check.
#include "tools/migration_report.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vivo::host {
namespace {

TEST(MigrationReport, ItemsSplitAtBlanksOutsideQuotes) {
    EXPECT_EQ(OptionItems(" [S|INCLUDE|\"a b\"|\"c\"]\n\t[B|DEBUG|1]  "),
              (std::vector<std::string_view>{"[S|INCLUDE|\"a b\"|\"c\"]", "[B|DEBUG|1]"}));
}

TEST(MigrationReport, SummaryNotesAreTheLinesThatAreNeitherHeadingsNorPhasesNorRenames) {
    const SummaryLines summary = ReadSummary(
        "Project name : P\r\r\n\r\r\nT 1 was upgraded to\r\r\n   KZ 1.01.00.\r\r\n\r\r\n\r\r\nPhaseOrder:\r\r\n"
        "  \"A|SYSTEM|1\" delete\r\r\n\r\r\nPhaseOptions:\r\r\n  Option \"-S\" in x has been converted to \"-o\" in y\r\r\n"
        "  Please check the parameter of -misra2004=required_remove option.\r\r\n");
    EXPECT_EQ(summary.converted, std::vector<std::string>{"Option \"-S\" in x has been converted to \"-o\" in y"});
    EXPECT_EQ(summary.notes,
              std::vector<std::string>{"Please check the parameter of -misra2004=required_remove option."});
    EXPECT_EQ(summary.lines.front(), "PhaseOrder:");
    EXPECT_EQ(summary.lines.size(), 6u);
}

// The item and attention lines of the dry run's text (verbose, so the kept items show too).
std::vector<std::string> ItemLines(const Migration& migration) {
    std::string text;
    migration.WriteText([&](std::string_view piece) { text += piece; }, "p.vivo", true);
    std::vector<std::string> lines;
    std::istringstream in(text);
    bool items = false, attention = false;  // past the phases' list; in the attention list
    for (std::string line; std::getline(in, line);) {
        items = items || line == "Phase order";
        attention = attention || line.starts_with("Needs attention");
        for (const char* status : {"kept", "changed", "renamed", "moved", "dropped", "added"})
            if (items && line.starts_with("  " + std::string(status) + " ")) lines.push_back(line.substr(2));
        if (attention && line.starts_with("  ") && line != "  nothing") lines.push_back("! " + line.substr(2));
    }
    return lines;
}

// Renames, moves, the older toolchain's files and a downgrade's losses show in the dry runs of the
// examples (tests/tools/review/); here what they do not.
TEST(MigrationReport, EachItemKeptChangedDroppedOrAddedAndWhatNeedsAttention) {
    struct NewPhase { std::string tool, options; std::vector<std::string> sources; };
    // Columns: name, old tool and its options, the new phases, the item and attention lines (KZ 1.00.01 to 1.01.00).
    struct Row { const char* name; std::pair<std::string, std::string> before; NewPhase after; std::vector<std::string> lines; };
    const Row rows[] = {
        {"same text kept, same key changed, a key gone dropped, a new one added",
         {"Veltora KZ C/C++ Compiler", "[S|CPU|KZ600] [B|DEBUG|1] [S|X|1]"},
         {"Veltora KZ C/C++ Compiler", "[S|CPU|KZ600] [B|DEBUG|0] [S|SECTION|L=C]", {"Veltora KZ C/C++ Compiler"}},
         {"kept     [S|CPU|KZ600]", "changed  [B|DEBUG|1] -> [B|DEBUG|0]", "dropped  [S|X|1]", "added    [S|SECTION|L=C]",
          "! Veltora KZ C/C++ Compiler: [S|X|1]: dropped; no S|X item takes its place"}},
        {"items of a repeated key pair in their order, same text first", {"Veltora Bindex", "[S|INPUT|a] [S|INPUT|b] [S|INPUT|c]"},
         {"Veltora Bindex", "[S|INPUT|a] [S|INPUT|b2] [S|INPUT|c]", {"Veltora Bindex", "Veltora KZ Assembler"}},
         {"kept     [S|INPUT|a]", "kept     [S|INPUT|c]", "changed  [S|INPUT|b] -> [S|INPUT|b2]"}},
        {"no rename between KZ versions", {"Veltora KZ Assembler", "[B|HEAP|1]"},
         {"Veltora KZ Assembler", "[S|DEFINE|__HEAP__=1]", {"Veltora KZ Assembler"}},
         {"dropped  [B|HEAP|1]", "added    [S|DEFINE|__HEAP__=1]",
          "! Veltora KZ Assembler: [B|HEAP|1]: dropped; no B|HEAP item takes its place"}},
    };
    const char* kz = "Veltora KZ Standard Toolchain";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto& [tool, options] = row.before;
        const Project before{"P", kz, "1.00.01", {tool + "|SYSTEM|1"}, {{tool, options}}, {}};
        ProjectChange change;
        change.converted = {"P", kz, "1.01.00", {row.after.tool + "|SYSTEM|1"}, {{row.after.tool, row.after.options}}, {}};
        change.phases.push_back({row.after.tool, row.after.sources, 0});
        const Migration migration(before, change, std::nullopt);
        EXPECT_EQ(ItemLines(migration), row.lines);
        std::size_t attention = 0;
        for (const std::string& line : row.lines) attention += line.starts_with("!");
        EXPECT_EQ(migration.counts().attention, attention);
    }
}

}  // namespace
}  // namespace vivo::host
