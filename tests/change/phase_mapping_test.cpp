// The phase mappings of a changed project and their "PhaseMapping" section of the summary.
#include <gtest/gtest.h>

#include "change/engine_test_support.h"
#include "change/phase_mapping.h"

namespace vivo::test {
namespace {

const StringList kKZMappings = {
    "Veltora KZ C/C++ Compiler|Object file|Veltora Bindex", "Veltora KZ C/C++ Compiler|Assembly source file|Veltora KZ Assembler",
    "Veltora KZ Assembler|Object file|Veltora Bindex", "Veltora KZ C/C++ Library Generator|Library file|Veltora Bindex"};

TEST(PhaseMapping, RewriteAndSummarySection) {
    const StringList rows[] = {{}, {"Sarnoki Lumo,Lumo/T Assembler|Object file|Sarnoki Bindex"}, kKZMappings};
    for (const StringList& old : rows) {
        SCOPED_TRACE(old.size());  // an equal old list too is all deleted and added again
        ChangeSummary summary;
        std::string text;
        for (const std::string& line : kKZMappings) text += line + "\n";
        EXPECT_EQ(RewritePhaseMappings(old, summary), text + "\n");
        StringList expected = {"\r\nPhaseMapping:\r\n"};
        for (const std::string& line : old) expected.push_back("  \"" + line + "\" delete\r\n");
        for (const std::string& line : kKZMappings) expected.push_back("  \"" + line + "\" add\r\n");
        EXPECT_EQ(summary.lines, expected);
    }
}

// Cross-family: the KZ list (the text's "\n\n" end is two NULs); in-family: the old list byte for byte.
TEST(PhaseMapping, ThroughTheExport) {
    EnginePlugin engine;
    const std::string inFamily = NulList({"Veltora KZ C/C++ Compiler|Object file|Veltora Bindex", "x"});
    struct Row {
        Change change;
        std::string old, expected;
    };
    const Row rows[] = {{{kTessaro, "9.04.00", "1.01.00"}, std::string(1, '\0'), NulListOf(kKZMappings)},
                        {{kKZ, "1.00.00", "1.01.00"}, inFamily, inFamily}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.change.fromName);
        engine.Begin(row.change);
        ExpectRetryDelivers([&](char* b, int32_t* n) {
            return VIVO_CALL_EXPORT(engine.plugin(), UpgradePhaseMappings)("", 0, row.old.c_str(), b, n);
        }, row.expected);
    }
}

}  // namespace
}  // namespace vivo::test
