// ConvertPhaseOptions through the export: every result code with what it does to the length, and
// the assembler options derived from the compiler's, byte for byte with guard bytes.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "support/guarded_call.h"

namespace vivo::test {
namespace {

constexpr VivoToolchainRecord kKZ = {12, "Veltora KZ Standard Toolchain", "1.02.01"};

struct ConversionRow {
    const char* name;
    VivoToolchainRecord toolchain;
    const char* source;
    const char* target;
    const char* options;
    int32_t result;
    std::optional<std::string_view> text;  // the assembler option string on success; on failure the length becomes 0
};

// Columns: name, toolchain record, source tool, target tool, compiler options, result, text.
const ConversionRow kRows[] = {
    {"carried items in table order, flag defaults", kKZ, kCompiler, kAssembler,
     "[S|OUTPUT|SRC] [S|CPU|KZ600] [S|INCLUDE|\"inc\"]", 0,
     "[S|INCLUDE|\"inc\"] [B|DEBUG|0] [B|LISTFILE|1] [S|CPU|KZ600]"},
    {"every carried item, output path to .obj", kKZ, kCompiler, kAssembler,
     "[S|CPU|KZ600] [B|GOPTIMIZE|1] [S|LISTFILEPATH|\"l\"] [B|LISTFILE|0] [B|DEBUG|1] [S|OUTCODE|X] "
     "[S|OUTPUTPATH|\"$(CONFIGDIR)\\a.b\\$(FILELEAF).src\"] [S|INCLUDE|\"i\"|\"j\"] [S|OUTPUT|SRC] [S|OTHER|1]",
     0,
     "[S|INCLUDE|\"i\"|\"j\"] [S|OUTPUTPATH|\"$(CONFIGDIR)\\a.b\\$(FILELEAF).obj\"] [S|OUTCODE|X] [B|DEBUG|1] "
     "[B|LISTFILE|0] [S|LISTFILEPATH|\"l\"] [B|GOPTIMIZE|1] [S|CPU|KZ600]"},
    {"output path without a dot", kKZ, kCompiler, kAssembler, "[S|OUTPUT|SRC] [S|OUTPUTPATH|out]", 0,
     "[S|OUTPUTPATH|.obj\"] [B|DEBUG|0] [B|LISTFILE|1]"},
    {"embedded assembler options and the CPU", kKZ, kCompiler, kAssembler,
     "[S|OUTPUT|SRC] [S|ASSEMBLY|\"[B|DEBUG|1]] [S|X|\"\"a b\"\"]]\"] [S|CPU|KZ600] [S|INCLUDE|\"inc\"]", 0, "[B|DEBUG|1] [S|X|\"a b\"] [S|CPU|KZ600]"},
    {"empty embedded options", kKZ, kCompiler, kAssembler, "[S|OUTPUT|SRC] [S|ASSEMBLY|\"\"] [S|CPU|KZ600]", 0, "[S|CPU|KZ600]"},
    {"embedded options without a CPU", kKZ, kCompiler, kAssembler, "[S|OUTPUT|SRC] [S|ASSEMBLY|\"[I|A|1]]\"]", 0, "[I|A|1]"},
    {"object output", kKZ, kCompiler, kAssembler, "[S|OUTPUT|OBJ] [S|CPU|KZ600]", -2, {}},
    {"no output item", kKZ, kCompiler, kAssembler, "[S|CPU|KZ600]", -2, {}},
    {"output item twice", kKZ, kCompiler, kAssembler, "[S|OUTPUT|SRC] [S|OUTPUT|SRC]", -2, {}},
    {"tools swapped", kKZ, kAssembler, kCompiler, "[S|OUTPUT|SRC]", -3, {}},
    {"other family's compiler", kKZ, "Veltora Pexa C/C++ Compiler", kAssembler, "[S|OUTPUT|SRC]", -3, {}},
    {"wrong record size", {16, kKZ.name, kKZ.version}, kCompiler, kAssembler, "[S|OUTPUT|SRC]", -1, {}},
    {"no version text", {12, kKZ.name, nullptr}, kCompiler, kAssembler, "[S|OUTPUT|SRC]", -1, {}},
    {"other toolchain", {12, "Veltora Pexa Standard Toolchain", "1"}, kCompiler, kAssembler, "[S|OUTPUT|SRC]", -1, {}},
    {"toolchain checked before the tools", {12, "x", "1"}, kAssembler, kCompiler, "[B|X|]", -1, {}},
    {"tools checked before the options", kKZ, kAssembler, kCompiler, "[B|X|]", -3, {}},
    {"unreadable options", kKZ, kCompiler, kAssembler, "[S|OUTPUT|SRC] [B|DEBUG|]", 1, {}},
};

TEST(PhaseOptionConversionExport, ResultCodesLengthsAndText) {
    auto convert = VIVO_CALL_EXPORT(SharedPlugin(), ConvertPhaseOptions);
    for (const ConversionRow& row : kRows) {
        SCOPED_TRACE(row.name);
        auto call = [&](char* b, int32_t* l) { return convert(&row.toolchain, row.source, row.target, row.options, b, l); };
        if (row.text)
            ExpectDeliversTerminated(call, *row.text);
        else
            ExpectWritesNothing(call, row.result, 0);
    }
}

// Each null argument is the frame's table (tests/interface); here that all present pass.
TEST(OptionConsistencyExport, AllArgumentsPresentSucceeds) {
    int a[8] = {};
    EXPECT_EQ(VIVO_CALL_EXPORT(SharedPlugin(), CheckOptionConsistency)(&a[0], &a[1], &a[2], &a[3], &a[4], &a[5], &a[6], &a[7]), 0);
}

}  // namespace
}  // namespace vivo::test
