// The phase mappings of a changed project and their "PhaseMapping" section of the summary.
#include <gtest/gtest.h>

#include "change/engine_test_support.h"
#include "change/phase_mapping.h"

namespace vivo::test {
namespace {

const StringList kKZMappings = {
    "Veltora KZ C/C++ Compiler|Object file|Veltora Bindex",
    "Veltora KZ C/C++ Compiler|Assembly source file|Veltora KZ Assembler",
    "Veltora KZ Assembler|Object file|Veltora Bindex",
    "Veltora KZ C/C++ Library Generator|Library file|Veltora Bindex",
};

std::string KZMappingList() { return NulList({kKZMappings[0], kKZMappings[1], kKZMappings[2], kKZMappings[3]}); }

TEST(PhaseMapping, RewriteAndSummarySection) {
    struct Row {
        const char* name;
        StringList old;
    };
    const Row rows[] = {
        {"empty old list: only additions", {}},
        {"old Lumo mappings", {"Sarnoki Lumo,Lumo/T Assembler|Object file|Sarnoki Bindex"}},
        {"old list equal to the KZ list: all deleted and added again", kKZMappings},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ChangeSummary summary;
        std::string text;
        for (const std::string& line : kKZMappings) text += line + "\n";
        EXPECT_EQ(RewritePhaseMappings(row.old, summary), text + "\n");
        StringList expected = {"\r\nPhaseMapping:\r\n"};
        for (const std::string& line : row.old) expected.push_back("  \"" + line + "\" delete\r\n");
        for (const std::string& line : kKZMappings) expected.push_back("  \"" + line + "\" add\r\n");
        EXPECT_EQ(summary.lines, expected);
    }
}

TEST(PhaseMapping, CrossFamilyMappingsThroughTheExport) {
    EnginePlugin engine;
    engine.Begin({kTessaro, "9.04.00", "1.01.00"});
    const std::string expected = KZMappingList();
    const int32_t size = static_cast<int32_t>(expected.size());  // the text's "\n\n" end is two NULs
    auto call = [&](int32_t capacity) {
        return CallGuarded(capacity, [&](char* b, int32_t* n) {
            return VIVO_CALL_EXPORT(engine.plugin(), UpgradePhaseMappings)("", 0, "\0", b, n);
        });
    };
    const BufferResult tooSmall = call(size - 1);
    EXPECT_EQ(tooSmall.rc, 1);
    EXPECT_EQ(tooSmall.len, size);
    EXPECT_EQ(tooSmall.bytes, std::string(static_cast<std::size_t>(size - 1), kGuard));
    ExpectDelivered(call(size), expected, size);
}

TEST(PhaseMapping, InFamilyMappingsComeBackByteForByte) {
    EnginePlugin engine;
    engine.Begin({kKZ, "1.00.00", "1.01.00"});
    const std::string old = NulList({"Veltora KZ C/C++ Compiler|Object file|Veltora Bindex", "x"});
    const int32_t size = static_cast<int32_t>(old.size());
    const BufferResult r = CallGuarded(size, [&](char* b, int32_t* n) {
        return VIVO_CALL_EXPORT(engine.plugin(), UpgradePhaseMappings)("", 0, old.c_str(), b, n);
    });
    ExpectDelivered(r, old, size);
}

}  // namespace
}  // namespace vivo::test
