// The six steps between neighbouring KZ toolchain versions.
#include <gtest/gtest.h>

#include "change/engine_test_support.h"
#include "change/version_steps.h"

namespace vivo::test {
namespace {

using Step = int (ConversionContext::*)(std::string_view, const StringList&, std::string&) const;

const std::string kLibrary =
    "[V|VERSION|1] [S|MODE|EXISTING] [S|EXISTOUTPUTPATH|\"$(CONFIGDIR)\\my lib.lib\"] [S|ENDIAN|BIG]";
const std::string kCompilerOptions = "[V|VERSION|1] [S|ENDIAN|BIG] [B|MAP|1] [S|SECTION|L=C]";
const std::string kLinkerOptions = "[V|VERSION|6] [B|MAP|1]";
const std::string kMisraCompiler =
    "[V|VERSION|1] [S|MISRA2004RULEAPPLY|15.2|1.1]\t[S|MISRA2004RULEIGNORE|15.2|1.1|2.2] "
    "[S|MISRA2004RULEREQUIREDADD|3.1] [S|MISRA2004RULEREQUIREDREMOVE|1.1|15.2] [S|DEFINE|\"A=15.2 |x\"]";
const std::string kOldLinker =
    "[V|VERSION|6] [S|INPUT|\"my dir\\a.obj\"(\"m1\",\"m2\")] [S|BINARY|\"b.bin\"|\"(SEC1/CODE,SEC2/DATA)\"] "
    "[S|BINARY|\"c.bin\"] [S|INPUT|\"\"] [S|INPUTLIBRARY|\"x.lib\"]";

StringList Project(const std::string& library, const std::string& compiler, const std::string& assembler,
                   const std::string& linker) {
    return {std::string(kLibraryGenerator) + "|" + library, std::string(kCompiler) + "|" + compiler,
            std::string(kAssembler) + "|" + assembler, std::string(kLinker) + "|" + linker,
            std::string(kConfigurator) + "|[B|COMMAND|1]"};
}

struct StepRow {
    const char* name;
    Step step;
    StringList lines;
    const char* phase;
    std::string expected;
};

const StringList kBigProject = Project(kLibrary, kCompilerOptions, "[S|ENDIAN|BIG]", kLinkerOptions);
const StringList kMixedProject = Project(kLibrary, kCompilerOptions, "[S|ENDIAN|LITTLE]", kLinkerOptions);
const StringList kNoEndianProject = Project("[S|MODE|BUILD]", "[B|MAP|1]", "", kLinkerOptions);
const StringList kLittleProject = Project("", "[S|ENDIAN|LITTLE]", "", "[B|MAP|0]");
const StringList kEndianLinker = Project(kLibrary, kCompilerOptions, "", "[S|ENDIAN|LITTLE]");
const StringList kCompilerMapOnly = Project(kLibrary, "[B|MAP|1]", "", "[B|MAP|0]");
const StringList kDowngrade = Project(kLibrary, kMisraCompiler, "[V|VERSION|1]", kOldLinker);

using C = ConversionContext;
const StepRow kStepRows[] = {
    {"10000to10001 linker gets the agreed endian", &C::Upgrade10000to10001, kBigProject, kLinker, kLinkerOptions + " [S|ENDIAN|BIG]"},
    {"10000to10001 little", &C::Upgrade10000to10001, kLittleProject, kLinker, "[B|MAP|0] [S|ENDIAN|LITTLE]"},
    {"10000to10001 mixed endian", &C::Upgrade10000to10001, kMixedProject, kLinker, kLinkerOptions},
    {"10000to10001 no endian", &C::Upgrade10000to10001, kNoEndianProject, kLinker, kLinkerOptions},
    {"10000to10001 linker has its own", &C::Upgrade10000to10001, kEndianLinker, kLinker, "[S|ENDIAN|LITTLE]"},
    {"10000to10001 compiler unchanged", &C::Upgrade10000to10001, kBigProject, kCompiler, kCompilerOptions},
    {"10001to10100 compiler: the section item once more", &C::Upgrade10001to10100, kBigProject, kCompiler, kCompilerOptions + " [S|SECTION|L=C]"},
    {"10001to10100 library generator", &C::Upgrade10001to10100, kBigProject, kLibraryGenerator, kLibrary + " [S|SECTION|L=C]"},
    {"10001to10100 empty option string", &C::Upgrade10001to10100, kLittleProject, kLibraryGenerator, "[S|SECTION|L=C]"},
    {"10001to10100 assembler unchanged", &C::Upgrade10001to10100, kBigProject, kAssembler, "[S|ENDIAN|BIG]"},
    {"10100to10200 linker gets the existing library", &C::Upgrade10100to10200, kBigProject, kLinker,
     kLinkerOptions + " [S|EXISTINGLIBRARY|\"$(CONFIGDIR)\\my lib.lib\"]"},
    {"10100to10200 library built, not existing", &C::Upgrade10100to10200, kNoEndianProject, kLinker, kLinkerOptions},
    {"10200to10201 compiler: both make a map", &C::Upgrade10200to10201, kBigProject, kCompiler, kCompilerOptions + " [B|MAPOPTIMIZATION|1]"},
    {"10200to10201 linker: both make a map", &C::Upgrade10200to10201, kBigProject, kLinker, kLinkerOptions + " [B|MAPOPTIMIZATION|1]"},
    {"10200to10201 compiler map only", &C::Upgrade10200to10201, kCompilerMapOnly, kCompiler, "[B|MAP|1]"},
    {"10201to10200 MISRA rule 15.2 removed", &C::Downgrade10201to10200, kDowngrade, kCompiler,
     " [V|VERSION|1]  [S|MISRA2004RULEIGNORE|1.1|2.2]  [S|MISRA2004RULEREQUIREDREMOVE|1.1|15.2] [S|DEFINE|\"A=15.2 |x\"]"},
    {"10201to10200 linker unchanged", &C::Downgrade10201to10200, kDowngrade, kLinker, kOldLinker},
    {"10200to10100 linker items in their old forms", &C::Downgrade10200to10100, kDowngrade, kLinker,
     "[V|VERSION|6] [S|INPUT|\"my dir\\a.obj\"] [S|BINARY|\"b.bin\"|\"(SEC1,SEC2)\"] [S|INPUTLIBRARY|\"x.lib\"] "},
    {"10200to10100 compiler unchanged", &C::Downgrade10200to10100, kDowngrade, kCompiler, kMisraCompiler},
};

TEST(VersionSteps, EachStep) {
    for (const StepRow& row : kStepRows) {
        SCOPED_TRACE(row.name);
        ConversionContext context;
        ASSERT_TRUE(context.PreScan(row.lines));
        std::string result;
        EXPECT_EQ((context.*row.step)(row.phase, context.optionStrings, result), 0);
        EXPECT_EQ(result, row.expected);
    }
}

constexpr Step kAllSteps[] = {&C::Upgrade10000to10001, &C::Upgrade10001to10100, &C::Upgrade10100to10200,
                               &C::Upgrade10200to10201, &C::Downgrade10201to10200, &C::Downgrade10200to10100};

TEST(VersionSteps, CommonStart) {
    for (std::size_t i = 0; i < std::size(kAllSteps); ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        ConversionContext context;
        ASSERT_TRUE(context.PreScan(kBigProject));
        // Another tool gets the first option string, whatever the result held.
        std::string result = "earlier";
        EXPECT_EQ((context.*kAllSteps[i])(kConfigurator, context.optionStrings, result), 0);
        EXPECT_EQ(result, kLibrary);
        // No option strings: failure.
        result.clear();
        EXPECT_EQ((context.*kAllSteps[i])(kCompiler, {}, result), 1);
    }
}

// A step goes on from what the step before produced.
TEST(VersionSteps, ChainedStepsContinueTheResult) {
    ConversionContext context;
    ASSERT_TRUE(context.PreScan(kBigProject));
    std::string result;
    for (Step step : {&C::Upgrade10001to10100, &C::Upgrade10200to10201})
        EXPECT_EQ((context.*step)(kCompiler, context.optionStrings, result), 0);
    EXPECT_EQ(result, kCompilerOptions + " [S|SECTION|L=C] [B|MAPOPTIMIZATION|1]");
}

}  // namespace
}  // namespace vivo::test
