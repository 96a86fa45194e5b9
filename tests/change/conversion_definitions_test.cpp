// Finding a toolchain change in the definition records of TC.ini: what a failure records, which record wins.
#include <gtest/gtest.h>

#include "change/conversion_definitions.h"
#include "change/engine_test_support.h"

namespace vivo::test {
namespace {

TEST(ConversionDefinitions, FailureAddsMessage2008EveryTime) {
    ChangeSummary summary;
    const VivoToolchainRecord from{12, "Veltora Nivo Family Standard Toolchain", "1.00.00"}, to{12, kKZ, "1.00.00"};
    EXPECT_EQ(CanUpgradeToolchain(&from, &to, summary), 1);
    EXPECT_EQ(CanUpgradeToolchain(&from, &to, summary), 1);
    EXPECT_EQ(summary.messageIds(), (std::vector<uint32_t>{2008, 2008}));
    EXPECT_TRUE(summary.lines().empty());
}

// The first record for a change wins: here "Copy", which answers every phase by its own name, over the
// upgrade's linker selection.
TEST(ConversionDefinitions, FirstRecordWins) {
    const std::string record = "Veltora KZ Standard Toolchain,1.01.00,Veltora KZ Standard Toolchain,1.02.00,";
    EnginePlugin engine("[Same version definition]\n1=" + record + "Copy\n2=\n[Upgrade definition]\n1=" + record +
                        "Upgrade10100to10200\n2=\n[Downgrade definition]\n1=\n");
    engine.Begin({kKZ, "1.01.00", "1.02.00"});
    const std::string phases = NulList({std::string(kCompiler) + "|1", std::string(kLinker) + "|1"});
    ExpectDelivers([&](char* b, int32_t* n) {
        return VIVO_CALL_EXPORT(engine.plugin(), UpgradePhases)("", "", "\0", phases.c_str(), kLinker, b, n);
    }, std::string(kLinker) + '\0');
}

}  // namespace
}  // namespace vivo::test
