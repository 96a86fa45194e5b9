// The phase order, the phases and the phase mappings of a changed project, with their summary sections.
#include <gtest/gtest.h>

#include "change/engine_test_support.h"
#include "change/phase_mapping.h"
#include "change/phase_order.h"

namespace vivo::test {
namespace {

const std::string kOrder2014 =
    "Veltora KZ C/C++ Library Generator|SYSTEM|1\nVeltora KZ C/C++ Compiler|SYSTEM|1\n"
    "Veltora KZ Assembler|SYSTEM|1\nVeltora Bindex|SYSTEM|1\nVeltora KZ Configurator|SYSTEM|0\n\n";
const std::string kOrder2015 =
    "Veltora KZ C/C++ Library Generator|SYSTEM|1\nVeltora KZ Configurator|SYSTEM|1\n"
    "Veltora KZ C/C++ Compiler|SYSTEM|1\nVeltora KZ Assembler|SYSTEM|1\nVeltora Bindex|SYSTEM|1\n\n";
const std::string kHeading = "\r\nPhaseOrder:\r\n";

// The summary section of a rewrite: the heading, a delete line for each old line, an add line for each new one.
std::string Section(const StringList& old, const std::string& order) {
    std::string text = kHeading;
    for (const std::string& line : old) text += "  \"" + line + "\" delete\r\n";
    for (std::size_t from = 0, at; (at = order.find('\n', from)) != from; from = at + 1)
        text += "  \"" + order.substr(from, at - from) + "\" add\r\n";
    return text;
}

// Columns: name, old order, the new order (nothing: the rewrite fails). Each family's own order, and the
// linker that stays, are the end-to-end conversions (tests/e2e).
struct OrderRow { const char* name; StringList old; std::optional<std::string> expected; };

const OrderRow kOrderRows[] = {
    {"Pexa Dorn configurator running: order with configurator", {"Veltora Pexa ConfiguratorDorn|SYSTEM|1"}, kOrder2015},
    {"fewer than three fields: no state", {"Veltora Pexa Configurator|1"}, kOrder2014},
    {"empty old order", {}, kOrder2014},
    {"four fields fail", {"Veltora Pexa Linker|SYSTEM|1", "Veltora Pexa Librarian|SYSTEM|1|x"}, std::nullopt},
};

TEST(PhaseOrder, RewriteAndSummarySection) {
    for (const OrderRow& row : kOrderRows) {
        SCOPED_TRACE(row.name);
        ChangeSummary summary;
        EXPECT_EQ(RewritePhaseOrder(row.old, summary), row.expected);
        std::string lines;
        for (const std::string& line : summary.lines()) lines += line;
        EXPECT_EQ(lines, row.expected ? Section(row.old, *row.expected) : "");
    }
}

auto AskPhases(const EnginePlugin& engine, std::string states, std::string phases, const char* phaseName) {
    return [&engine, states, phases, phaseName](char* b, int32_t* n) {
        return VIVO_CALL_EXPORT(engine.plugin(), UpgradePhases)("", "", states.c_str(), phases.c_str(), phaseName, b, n);
    };
}

const std::string kNone(1, '\0');  // an empty list

// An empty list is two NULs.
std::string ListOf(const StringList& names) { return names.empty() ? std::string(2, '\0') : NulListOf(names); }

// Columns: name, change (none: before any change), phase, phase list, the bytes delivered (a name and
// one NUL, or a NUL-separated list). Each family's lists are the end-to-end conversions (tests/e2e).
struct AnswerRow { const char* name; Change change; const char* phase; std::string phaseList, expected; };

const std::string kKZPhases = NulList({std::string(kLibraryGenerator) + "|1", std::string(kCompiler) + "|1",
    std::string(kAssembler) + "|1", std::string(kLinker) + "|1", "Unknown Tool|1", kConfigurator});
const Change kKZ10100to10200{kKZ, "1.01.00", "1.02.00"};

const AnswerRow kAnswerRows[] = {
    {"before any change: its own name", {}, kLinker, kKZPhases, std::string(kLinker) + '\0'},
    {"Lumo V6 configurator: none", {kSarnokiLumo, "6.00.00", "1.01.00"}, kConfigurator, "\0", ListOf({})},
    {"cross-family unknown phase", {kTessaro, "9.04.00", "1.01.00"}, "Unknown Tool", "\0", ListOf({})},
    {"in-family linker: every known tool", kKZ10100to10200, kLinker, kKZPhases, ListOf({kLibraryGenerator, kCompiler, kAssembler, kLinker})},
    {"in-family library generator: itself and the linker", kKZ10100to10200, kLibraryGenerator, kKZPhases,
     ListOf({kLibraryGenerator, kLinker})},
    {"in-family assembler: its own name", kKZ10100to10200, kAssembler, kKZPhases, std::string(kAssembler) + '\0'},
    {"downgrade 1.02.00 to 1.01.00: own name", {kKZ, "1.02.00", "1.01.00"}, kLinker, kKZPhases, std::string(kLinker) + '\0'},
    {"copy: own name", {kKZ, "1.00.00", "1.00.00"}, kCompiler, kKZPhases, std::string(kCompiler) + '\0'},
    {"in-family, no candidate", kKZ10100to10200, kCompiler, NulList({"Veltora KZ Assembler|1"}), ListOf({})},
};

TEST(PhaseList, Answers) {
    EnginePlugin engine;
    for (const AnswerRow& row : kAnswerRows) {
        SCOPED_TRACE(row.name);
        if (row.change.fromName) engine.Begin(row.change);
        // Both forms write back the number of bytes they deliver.
        ExpectDelivers(AskPhases(engine, kNone, row.phaseList, row.phase), row.expected);
    }
}

const StringList kKZMappings = {
    "Veltora KZ C/C++ Compiler|Object file|Veltora Bindex", "Veltora KZ C/C++ Compiler|Assembly source file|Veltora KZ Assembler",
    "Veltora KZ Assembler|Object file|Veltora Bindex", "Veltora KZ C/C++ Library Generator|Library file|Veltora Bindex"};

// Cross-family: the KZ list (the text's "\n\n" end is two NULs); in-family: the old list byte for byte.
TEST(PhaseMapping, ThroughTheExport) {
    EnginePlugin engine;
    const std::string inFamily = NulList({"Veltora KZ C/C++ Compiler|Object file|Veltora Bindex", "x"});
    struct Row { Change change; std::string old, expected; };
    const Row rows[] = {{{kTessaro, "9.04.00", "1.01.00"}, kNone, NulListOf(kKZMappings)},
                        {{kKZ, "1.00.00", "1.01.00"}, inFamily, inFamily}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.change.fromName);
        if (row.change.fromName) engine.Begin(row.change);
        ExpectDelivers([&](char* b, int32_t* n) {
            return VIVO_CALL_EXPORT(engine.plugin(), UpgradePhaseMappings)("", 0, row.old.c_str(), b, n);
        }, row.expected);
    }
}

}  // namespace
}  // namespace vivo::test
