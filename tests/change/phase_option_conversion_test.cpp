// ConvertPhaseOptions through the export: every result code with what it does to the length, and
// the assembler options derived from the compiler's, byte for byte with guard bytes.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "queries/guarded_call.h"

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
    std::optional<int32_t> len;          // the length after a failure; nothing: left as it was
    std::optional<std::string_view> text;  // the assembler option string on success
};

// Columns: name, toolchain record, source tool, target tool, compiler options, result, length, text.
const ConversionRow kRows[] = {
    {"carried items in table order, flag defaults", kKZ, kCompiler, kAssembler,
     "[S|OUTPUT|SRC] [S|CPU|KZ600] [S|INCLUDE|\"inc\"]", 0, std::nullopt,
     "[S|INCLUDE|\"inc\"] [B|DEBUG|0] [B|LISTFILE|1] [S|CPU|KZ600]"},
    {"every carried item, output path to .obj", kKZ, kCompiler, kAssembler,
     "[S|CPU|KZ600] [B|GOPTIMIZE|1] [S|LISTFILEPATH|\"l\"] [B|LISTFILE|0] [B|DEBUG|1] [S|OUTCODE|X] "
     "[S|OUTPUTPATH|\"$(CONFIGDIR)\\a.b\\$(FILELEAF).src\"] [S|INCLUDE|\"i\"|\"j\"] [S|OUTPUT|SRC] [S|OTHER|1]",
     0, std::nullopt,
     "[S|INCLUDE|\"i\"|\"j\"] [S|OUTPUTPATH|\"$(CONFIGDIR)\\a.b\\$(FILELEAF).obj\"] [S|OUTCODE|X] [B|DEBUG|1] "
     "[B|LISTFILE|0] [S|LISTFILEPATH|\"l\"] [B|GOPTIMIZE|1] [S|CPU|KZ600]"},
    {"output path without a dot", kKZ, kCompiler, kAssembler, "[S|OUTPUT|SRC] [S|OUTPUTPATH|out]", 0, std::nullopt,
     "[S|OUTPUTPATH|.obj\"] [B|DEBUG|0] [B|LISTFILE|1]"},
    {"embedded assembler options and the CPU", kKZ, kCompiler, kAssembler,
     "[S|OUTPUT|SRC] [S|ASSEMBLY|\"[B|DEBUG|1]] [S|X|\"\"a b\"\"]]\"] [S|CPU|KZ600] [S|INCLUDE|\"inc\"]", 0,
     std::nullopt, "[B|DEBUG|1] [S|X|\"a b\"] [S|CPU|KZ600]"},
    {"empty embedded options", kKZ, kCompiler, kAssembler, "[S|OUTPUT|SRC] [S|ASSEMBLY|\"\"] [S|CPU|KZ600]", 0,
     std::nullopt, "[S|CPU|KZ600]"},
    {"embedded options without a CPU", kKZ, kCompiler, kAssembler, "[S|OUTPUT|SRC] [S|ASSEMBLY|\"[I|A|1]]\"]", 0,
     std::nullopt, "[I|A|1]"},
    {"object output", kKZ, kCompiler, kAssembler, "[S|OUTPUT|OBJ] [S|CPU|KZ600]", -2, 0, std::nullopt},
    {"no output item", kKZ, kCompiler, kAssembler, "[S|CPU|KZ600]", -2, 0, std::nullopt},
    {"output item twice", kKZ, kCompiler, kAssembler, "[S|OUTPUT|SRC] [S|OUTPUT|SRC]", -2, 0, std::nullopt},
    {"tools swapped", kKZ, kAssembler, kCompiler, "[S|OUTPUT|SRC]", -3, 0, std::nullopt},
    {"other family's compiler", kKZ, "Veltora Pexa C/C++ Compiler", kAssembler, "[S|OUTPUT|SRC]", -3, 0,
     std::nullopt},
    {"wrong record size", {16, kKZ.name, kKZ.version}, kCompiler, kAssembler, "[S|OUTPUT|SRC]", -1, 0, std::nullopt},
    {"no version text", {12, kKZ.name, nullptr}, kCompiler, kAssembler, "[S|OUTPUT|SRC]", -1, 0, std::nullopt},
    {"no name", {12, nullptr, "1"}, kCompiler, kAssembler, "[S|OUTPUT|SRC]", -1, 0, std::nullopt},
    {"other toolchain", {12, "Veltora Pexa Standard Toolchain", "1"}, kCompiler, kAssembler, "[S|OUTPUT|SRC]", -1,
     0, std::nullopt},
    {"toolchain checked before the tools", {12, "x", "1"}, kAssembler, kCompiler, "[B|X|]", -1, 0, std::nullopt},
    {"tools checked before the options", kKZ, kAssembler, kCompiler, "[B|X|]", -3, 0, std::nullopt},
    {"unreadable options", kKZ, kCompiler, kAssembler, "[S|OUTPUT|SRC] [B|DEBUG|]", 1, 0, std::nullopt},
};

TEST(PhaseOptionConversionExport, ResultCodesLengthsAndText) {
    auto convert = VIVO_CALL_EXPORT(SharedPlugin(), ConvertPhaseOptions);
    for (const ConversionRow& row : kRows) {
        SCOPED_TRACE(row.name);
        auto call = [&](char* b, int32_t* l) { return convert(&row.toolchain, row.source, row.target, row.options, b, l); };
        if (row.text)
            ExpectDeliversTerminated(call, *row.text);
        else
            ExpectWritesNothing(call, row.result, row.len);
    }
}

TEST(PhaseOptionConversionExport, NullArgumentsLeaveTheLength) {
    auto convert = VIVO_CALL_EXPORT(SharedPlugin(), ConvertPhaseOptions);
    char buffer[64];
    int32_t len = 64;
    EXPECT_EQ(convert(nullptr, kCompiler, kAssembler, "[S|OUTPUT|SRC]", buffer, &len), 1);
    EXPECT_EQ(convert(&kKZ, kCompiler, nullptr, "[S|OUTPUT|SRC]", buffer, &len), 1);
    EXPECT_EQ(convert(&kKZ, kCompiler, kAssembler, nullptr, buffer, &len), 1);
    EXPECT_EQ(convert(&kKZ, kCompiler, kAssembler, "[S|OUTPUT|SRC]", nullptr, &len), 1);
    EXPECT_EQ(len, 64);
}

TEST(OptionConsistencyExport, AnyNullArgumentFails) {
    auto check = VIVO_CALL_EXPORT(SharedPlugin(), CheckOptionConsistency);
    int a[8] = {};
    EXPECT_EQ(check(&a[0], &a[1], &a[2], &a[3], &a[4], &a[5], &a[6], &a[7]), 0);
    for (int missing = 0; missing < 8; ++missing) {
        SCOPED_TRACE(missing);
        const void* p[8];
        for (int i = 0; i < 8; ++i) p[i] = i == missing ? nullptr : &a[i];
        EXPECT_EQ(check(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]), 1);
    }
}

}  // namespace
}  // namespace vivo::test
