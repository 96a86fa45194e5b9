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

TEST(MigrationReport, EachItemKeptChangedRenamedMovedDroppedOrAddedAndWhatNeedsAttention) {
    struct NewPhase {
        std::string tool, options;
        std::vector<std::string> sources;
    };
    struct Row {
        const char* name;
        const char *toolchain, *version, *target;
        std::vector<std::pair<std::string, std::string>> before;  // old tool, its options
        std::vector<NewPhase> after;
        const char* summary;  // Upgrade.txt's text, or null
        std::vector<std::string> lines;
    };
    const char* kz = "Veltora KZ Standard Toolchain";
    const char* pexa = "Veltora Pexa Standard Toolchain";
    const Row rows[] = {
        {"same text kept, same key changed, a key gone dropped, a new one added", kz, "1.00.01", "1.01.00",
         {{"Veltora KZ C/C++ Compiler", "[S|CPU|KZ600] [B|DEBUG|1] [S|X|1]"}},
         {{"Veltora KZ C/C++ Compiler", "[S|CPU|KZ600] [B|DEBUG|0] [S|SECTION|L=C]", {"Veltora KZ C/C++ Compiler"}}},
         nullptr,
         {"kept     [S|CPU|KZ600]", "changed  [B|DEBUG|1] -> [B|DEBUG|0]", "dropped  [S|X|1]",
          "added    [S|SECTION|L=C]",
          "! Veltora KZ C/C++ Compiler: [S|X|1]: dropped; no S|X item takes its place"}},
        {"items of a repeated key pair in their order, same text first", kz, "1.00.01", "1.01.00",
         {{"Veltora Bindex", "[S|INPUT|a] [S|INPUT|b] [S|INPUT|c]"}},
         {{"Veltora Bindex", "[S|INPUT|a] [S|INPUT|b2] [S|INPUT|c]", {"Veltora Bindex", "Veltora KZ Assembler"}}},
         nullptr,
         {"kept     [S|INPUT|a]", "kept     [S|INPUT|c]", "changed  [S|INPUT|b] -> [S|INPUT|b2]"}},
        {"renames the conversion of the family makes", pexa, "5.45.00", "1.01.00",
         {{"Veltora Pexa Assembler", "[B|DEBUGM|1] [B|HEAP|1] [S|CPU|P30]"}},
         {{"Veltora KZ Assembler", "[B|DEBUG|1] [S|DEFINE|__HEAP__=1]", {"Veltora Pexa Assembler"}}},
         nullptr,
         {"renamed  [B|DEBUGM|1] -> [B|DEBUG|1]", "renamed  [B|HEAP|1] -> [S|DEFINE|__HEAP__=1]",
          "dropped  [S|CPU|P30]", "! Veltora KZ Assembler: [S|CPU|P30]: dropped; no S|CPU item takes its place"}},
        {"no rename between KZ versions", kz, "1.00.01", "1.01.00",
         {{"Veltora KZ Assembler", "[B|HEAP|1]"}},
         {{"Veltora KZ Assembler", "[S|DEFINE|__HEAP__=1]", {"Veltora KZ Assembler"}}},
         nullptr,
         {"dropped  [B|HEAP|1]", "added    [S|DEFINE|__HEAP__=1]",
          "! Veltora KZ Assembler: [B|HEAP|1]: dropped; no B|HEAP item takes its place"}},
        {"items of another old phase moved; a key still there needs no attention; old extension", pexa, "5.45.00",
         "1.01.00",
         {{"Veltora Pexa Linker", "[S|OUTPUT|\"a.x30\"] [S|INPUT|\"m.r30\"]"},
          {"Veltora Pexa Stype Converter", "[S|FORMAT|INTEL] [S|OUTPUT|\"a.hex\"]"}},
         {{"Veltora Bindex", "[S|INPUT|\"m.r30\"] [S|FORM|HEXADECIMAL] [S|OUTPUT|\"a.hex\"]",
           {"Veltora Pexa Linker", "Veltora Pexa Stype Converter"}}},
         nullptr,
         {"kept     [S|INPUT|\"m.r30\"]",
          "moved    [S|FORMAT|INTEL] -> [S|FORM|HEXADECIMAL] (from Veltora Pexa Stype Converter)",
          "moved    [S|OUTPUT|\"a.hex\"] (from Veltora Pexa Stype Converter)", "dropped  [S|OUTPUT|\"a.x30\"]",
          "! Veltora Bindex: [S|INPUT|\"m.r30\"]: names a .r30 file of the older toolchain"}},
        {"a phase another one takes items from whole only; a phase nobody takes is removed", pexa, "5.45.00",
         "1.01.00",
         {{"Veltora Pexa C Compiler", "[V|VERSION|3] [B|SKIPDEPENDENCY|1]"},
          {"Veltora Pexa Librarian", "[S|MODE|CREATE|\"x.r30\"]"}},
         {{"Veltora KZ C/C++ Library Generator", "[V|VERSION|1] [B|SKIPDEPENDENCY|1]", {"Veltora Pexa C Compiler"}},
          {"Veltora KZ C/C++ Compiler", "[V|VERSION|1] [B|SKIPDEPENDENCY|1]", {"Veltora Pexa C Compiler"}}},
         nullptr,
         {"moved    [B|SKIPDEPENDENCY|1] (from Veltora Pexa C Compiler)", "added    [V|VERSION|1]",
          "kept     [B|SKIPDEPENDENCY|1]", "changed  [V|VERSION|3] -> [V|VERSION|1]",
          "dropped  [S|MODE|CREATE|\"x.r30\"]",
          "! Veltora Pexa Librarian: [S|MODE|CREATE|\"x.r30\"]: dropped; no S|MODE item takes its place"}},
        {"a downgrade's losses, and the notes of the summary", kz, "1.02.01", "1.01.00",
         {{"Veltora KZ C/C++ Compiler", "[S|MISRA2004RULEAPPLY|15.2|1.1] [S|MISRA2004RULEREQUIREDREMOVE|15.2]"}},
         {{"Veltora KZ C/C++ Compiler", " [S|MISRA2004RULEAPPLY|1.1] ", {"Veltora KZ C/C++ Compiler"}}},
         "Project name : P\r\r\n\r\r\nKZ 1.02.01 was upgraded to\r\r\n   KZ 1.01.00.\r\r\n\r\r\n\r\r\n"
         "PhaseOptions:\r\r\n  Please check it.\r\r\n",
         {"changed  [S|MISRA2004RULEAPPLY|15.2|1.1] -> [S|MISRA2004RULEAPPLY|1.1]",
          "dropped  [S|MISRA2004RULEREQUIREDREMOVE|15.2]",
          "! Veltora KZ C/C++ Compiler: [S|MISRA2004RULEAPPLY|1.1]: changed in the downgrade to 1.01.00, was "
          "[S|MISRA2004RULEAPPLY|15.2|1.1]",
          "! Veltora KZ C/C++ Compiler: [S|MISRA2004RULEREQUIREDREMOVE|15.2]: lost in the downgrade to 1.01.00",
          "! Upgrade.txt: Please check it."}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Project before{"P", row.toolchain, row.version, {}, {}, {}};
        for (const auto& [tool, options] : row.before) {
            before.phases.push_back(tool + "|SYSTEM|1");
            before.options.push_back({tool, options});
        }
        ProjectChange change;
        change.converted = {"P", kz, row.target, {}, {}, {}};
        for (const NewPhase& phase : row.after) {
            change.converted.phases.push_back(phase.tool + "|SYSTEM|1");
            change.phases.push_back({phase.tool, phase.sources, static_cast<int>(change.converted.options.size())});
            change.converted.options.push_back({phase.tool, phase.options});
        }
        const Migration migration(before, change,
                                  row.summary ? std::optional(ReadSummary(row.summary)) : std::nullopt);
        EXPECT_EQ(ItemLines(migration), row.lines);
        std::size_t attention = 0;
        for (const std::string& line : row.lines) attention += line.starts_with("!");
        EXPECT_EQ(migration.counts().attention, attention);
    }
}

}  // namespace
}  // namespace vivo::host
