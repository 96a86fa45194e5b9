// The option upgrade's pre-scan and the six steps between
// neighbouring KZ toolchain versions. Each kind's notes and results are the end-to-end conversions (tests/e2e).
#include <gtest/gtest.h>

#include "change/engine_test_support.h"
#include "change/option_upgrade.h"
#include "change/version_steps.h"

namespace vivo::test {
namespace {

std::string Line(const char* tool, const std::string& options) { return std::string(tool) + "|" + options; }

// Columns: name, lines, endian state, compiler and linker map flags, the line of the compiler, assembler,
// library generator and linker, the existing library's path.
struct PreScanRow {
    const char* name; StringList lines; Endian endian; uint32_t compilerMap, linkerMap;
    int32_t compilerLine, assemblerLine, libraryGeneratorLine, linkerLine; std::string existingLibrary;
};

const PreScanRow kPreScanRows[] = {
    {"nothing found", {Line(kConfigurator, "[S|ENDIAN|BIG]")}, Endian::kNone, 0, 0, 0, 0, 0, 0, ""},
    {"big and little: mixed", {Line(kCompiler, "[S|ENDIAN|BIG]"), Line(kAssembler, "[S|ENDIAN|LITTLE]")}, Endian::kMixed, 0, 0, 0, 1, 0, 0, ""},
    {"little and big: mixed", {Line(kCompiler, "[S|ENDIAN|LITTLE]"), Line(kAssembler, "[S|ENDIAN|BIG]")}, Endian::kMixed, 0, 0, 0, 1, 0, 0, ""},
    {"agreeing little, linker endian ignored, no item leaves it",
     {Line(kLinker, "[S|ENDIAN|BIG]"), Line(kLibraryGenerator, "[S|ENDIAN|LITTLE]"), Line(kCompiler, ""),
      Line(kAssembler, "[S|ENDIAN|LITTLE]")}, Endian::kLittle, 0, 0, 2, 3, 1, 0, ""},
    {"map flags; a later compiler line resets its flag, the linker's stays",
     {Line(kCompiler, "[B|MAP|1]"), Line(kLinker, "[B|MAP|1]"), Line(kLinker, ""), Line(kCompiler, "[B|MAP|0]")},
     Endian::kNone, 0, 1, 3, 0, 0, 2, ""},
    {"existing library with its quotes", {Line(kLibraryGenerator, "[S|MODE|EXISTING] [S|EXISTOUTPUTPATH|\"C:\\a b\\x.lib\"]")},
     Endian::kNone, 0, 0, 0, 0, 0, 0, "\"C:\\a b\\x.lib\""},
    {"library built, not existing", {Line(kLibraryGenerator, "[S|MODE|BUILD] [S|EXISTOUTPUTPATH|\"x.lib\"]")}, Endian::kNone, 0, 0, 0, 0, 0, 0, ""},
    {"existing library without its path", {Line(kLibraryGenerator, "[S|MODE|EXISTING]")}, Endian::kNone, 0, 0, 0, 0, 0, 0, ""},
    {"a bad item left of the items still counts",
     {Line(kLibraryGenerator, "[B|DEBUG|] [S|MODE|EXISTING] [S|EXISTOUTPUTPATH|x.lib]")}, Endian::kNone, 0, 0, 0, 0, 0, 0, "x.lib"},
    {"options split at the first bar only", {"Veltora Bindex|[B|MAP|1]|x", "|"}, Endian::kNone, 0, 1, 0, 0, 0, 0, ""},
};

TEST(OptionUpgrade, PreScan) {
    for (const PreScanRow& row : kPreScanRows) {
        SCOPED_TRACE(row.name);
        ConversionContext c;
        ASSERT_TRUE(c.PreScan(row.lines));
        EXPECT_EQ(std::tie(c.endianState, c.compilerMapFlag, c.linkerMapFlag, c.compilerLine, c.assemblerLine,
                           c.libraryGeneratorLine, c.linkerLine, c.existingLibraryPath),
                  std::tie(row.endian, row.compilerMap, row.linkerMap, row.compilerLine, row.assemblerLine,
                           row.libraryGeneratorLine, row.linkerLine, row.existingLibrary));
        EXPECT_EQ(c.toolNames.size(), row.lines.size());
    }
}


using Step = int (ConversionContext::*)(std::string_view, const OptionLines&, std::string&) const;

const std::string kLibrary = "[V|VERSION|1] [S|MODE|EXISTING] [S|EXISTOUTPUTPATH|\"$(CONFIGDIR)\\my lib.lib\"] [S|ENDIAN|BIG]";
const std::string kCompilerOptions = "[V|VERSION|1] [S|ENDIAN|BIG] [B|MAP|1] [S|SECTION|L=C]";
const std::string kLinkerOptions = "[V|VERSION|6] [B|MAP|1]";
const std::string kMisraCompiler =
    "[V|VERSION|1] [S|MISRA2004RULEAPPLY|15.2|1.1]\t[S|MISRA2004RULEIGNORE|15.2|1.1|2.2] "
    "[S|MISRA2004RULEREQUIREDADD|3.1] [S|MISRA2004RULEREQUIREDREMOVE|1.1|15.2] [S|DEFINE|\"A=15.2 |x\"]";
const std::string kOldLinker =
    "[V|VERSION|6] [S|INPUT|\"my dir\\a.obj\"(\"m1\",\"m2\")] [S|BINARY|\"b.bin\"|\"(SEC1/CODE,SEC2/DATA)\"] "
    "[S|BINARY|\"c.bin\"] [S|INPUT|\"\"] [S|INPUTLIBRARY|\"x.lib\"]";

StringList Project(const std::string& library, const std::string& compiler, const std::string& assembler, const std::string& linker) {
    return {Line(kLibraryGenerator, library), Line(kCompiler, compiler), Line(kAssembler, assembler), Line(kLinker, linker),
            Line(kConfigurator, "[B|COMMAND|1]")};
}

// Columns: name, step, project, phase, result. The usual cases are the end-to-end conversions (tests/e2e).
struct StepRow { const char* name; Step step; StringList lines; const char* phase; std::string expected; };

const StringList kBigProject = Project(kLibrary, kCompilerOptions, "[S|ENDIAN|BIG]", kLinkerOptions);
const StringList kMixedProject = Project(kLibrary, kCompilerOptions, "[S|ENDIAN|LITTLE]", kLinkerOptions);
const StringList kNoEndianProject = Project("[S|MODE|BUILD]", "[B|MAP|1]", "", kLinkerOptions);
const StringList kLittleProject = Project("", "[S|ENDIAN|LITTLE]", "", "[B|MAP|0]");
const StringList kEndianLinker = Project(kLibrary, kCompilerOptions, "", "[S|ENDIAN|LITTLE]");
const StringList kCompilerMapOnly = Project(kLibrary, "[B|MAP|1]", "", "[B|MAP|0]");
const StringList kDowngrade = Project(kLibrary, kMisraCompiler, "[V|VERSION|1]", kOldLinker);

using C = ConversionContext;
const StepRow kStepRows[] = {
    {"10000to10001 little", &C::Upgrade10000to10001, kLittleProject, kLinker, "[B|MAP|0] [S|ENDIAN|LITTLE]"},
    {"10000to10001 mixed endian", &C::Upgrade10000to10001, kMixedProject, kLinker, kLinkerOptions},
    {"10000to10001 no endian", &C::Upgrade10000to10001, kNoEndianProject, kLinker, kLinkerOptions},
    {"10000to10001 linker has its own", &C::Upgrade10000to10001, kEndianLinker, kLinker, "[S|ENDIAN|LITTLE]"},
    {"10001to10100 compiler: the section item once more", &C::Upgrade10001to10100, kBigProject, kCompiler, kCompilerOptions + " [S|SECTION|L=C]"},
    {"10001to10100 empty option string", &C::Upgrade10001to10100, kLittleProject, kLibraryGenerator, "[S|SECTION|L=C]"},
    {"10100to10200 library built, not existing", &C::Upgrade10100to10200, kNoEndianProject, kLinker, kLinkerOptions},
    {"10200to10201 compiler map only", &C::Upgrade10200to10201, kCompilerMapOnly, kCompiler, "[B|MAP|1]"},
    {"10201to10200 MISRA rule 15.2 removed", &C::Downgrade10201to10200, kDowngrade, kCompiler,
     " [V|VERSION|1]  [S|MISRA2004RULEIGNORE|1.1|2.2]  [S|MISRA2004RULEREQUIREDREMOVE|1.1|15.2] [S|DEFINE|\"A=15.2 |x\"]"},
    {"10200to10100 linker items in their old forms", &C::Downgrade10200to10100, kDowngrade, kLinker,
     "[V|VERSION|6] [S|INPUT|\"my dir\\a.obj\"] [S|BINARY|\"b.bin\"|\"(SEC1,SEC2)\"] [S|INPUTLIBRARY|\"x.lib\"] "},
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

}  // namespace
}  // namespace vivo::test
