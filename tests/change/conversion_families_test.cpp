// Each cross-family conversion through its entry point: a few old items per KZ tool, the expected
// option string and summary lines worked out from the conversion tables.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "change/cross_family.h"
#include "summary/change_summary.h"

namespace vivo {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kCompiler = "Veltora KZ C/C++ Compiler";
constexpr const char* kAssembler = "Veltora KZ Assembler";
constexpr const char* kLibraryGenerator = "Veltora KZ C/C++ Library Generator";
constexpr const char* kLinker = "Veltora Bindex";

// The library generator's default option string, which opens its converted options.
const std::string kLibraryDefaults =
    R"([V|VERSION|1] [S|MODE|BUILD/CHANGED] [S|EXISTOUTPUTPATH|"$(CONFIGDIR)\$(PROJECTNAME).lib"] [B|RUNTIME|1] )"
    R"([B|CTYPE|1] [B|MATH|1] [B|MATHF|1] [B|STDARG|1] [B|STDIO|1] [B|STDLIB|1] [B|STRING|1] )"
    R"([S|OUTPUTPATH|"$(CONFIGDIR)\$(PROJECTNAME).lib"])";
const std::string kHeading = "\r\nPhaseOptions:\r\n";

std::string RenameLine(const std::string& from, const std::string& to) {
    return "  Option " + from + " has been converted to " + to + "\r\n";
}

struct FamilyRow {
    const char* name;
    ConversionStep conversion;
    const char* phase;
    Lines source;
    std::string result;
    Lines summary;
};

TEST(CrossFamilyConversions, ConvertEachToolByItsTable) {
    const std::array rows = {
        // Pexa V5.45
        FamilyRow{"Pexa V5.45 compiler", ChangePexaV54500toKZV10100, kCompiler,
                      {R"([S|INCLUDE|"C:\inc"] [S|OUTPUT|PREPROCESSOR] [B|OPTIMIZE|1] [B|DEBUG|1] )"
                       R"([S|OUTPUTPATH|"$(CONFIGDIR)\$(FILELEAF).i"] [S|ASSEMBLY|"[B|HEAP|1]]"])",
                       "[S|OUTPUT|PREPROCESSORFILE]"},
                      R"([V|VERSION|1] [S|INCLUDE|"C:\inc"] [S|OUTPUT|PREP] [B|NOLINE|1] [B|DEBUG|1] )"
                      R"([S|OUTPUTPATH|"$(CONFIGDIR)\$(FILELEAF).p"] [S|OUTPUT|PREP] )"
                      R"([S|ASSEMBLY|"[V|VERSION|1]] [S|DEFINE|__HEAP__=1]]"])",
                      {kHeading,
                       RenameLine(R"("-I" in "C -> Source -> Include file directories")",
                               R"("-include" in "C/C++  -> Source -> Include file directories")"),
                       RenameLine(R"("-E" in "C -> Object")", R"("-output=prep" in "C/C++ -> Object")"),
                       RenameLine(R"("-g" in "C -> Object")", R"("-debug" in "C/C++ -> Object")"),
                       RenameLine(R"("-dir" in "C -> Object")", R"("Output directory" in "C/C++ -> Object")"),
                       RenameLine(R"("-P" in "C -> Object")", R"("-output=prep" in "C/C++ -> Object")")}},
        FamilyRow{"Pexa V5.45 assembler", ChangePexaV54500toKZV10100, kAssembler,
                      {R"([B|HEAP|1] [B|IO|1] [B|DEBUGM|1] [S|DEFINE|X=1] [S|OUTPUTPATH|"out\$(FILELEAF).r30"] )"
                       "[B|SKIPDEPENDENCY|1] [B|SKIPDEPENDENCY|0]"},
                      R"([V|VERSION|1] [S|DEFINE|__HEAP__=1] [S|DEFINE|__STANDARD_IO__=1] [B|DEBUG|1] [S|DEFINE|X=1] )"
                      R"([S|OUTPUTPATH|"out\$(FILELEAF).obj"] [B|SKIPDEPENDENCY|1])",
                      {kHeading,
                       RenameLine(R"("-D" in "Assembly -> Source -> Defines")", R"("-define" in "Assembly -> Source -> Defines")"),
                       RenameLine(R"("-SM" in "Assembly -> Object")", R"("-debug" in "Assembly -> Object")"),
                       RenameLine(R"("-O" in "Assembly -> Object")", R"("Output directory" in "Assembly -> Object")")}},
        FamilyRow{"Pexa V5.45 library generator", ChangePexaV54500toKZV10100, kLibraryGenerator,
                      {"[B|SKIPDEPENDENCY|0] [B|DEBUG|1]"},
                      kLibraryDefaults + " [B|SKIPDEPENDENCY|0]",
                      {}},
        FamilyRow{"Pexa V5.45 linker, converter and librarian", ChangePexaV54500toKZV10100, kLinker,
                      {R"([S|INPUT|"a.r30"] [S|INPUTLIBRARY|-D="C:\lib"|-L=c.lib|-L=\abs\d.lib] [B|DEBUG|1] )"
                       R"([S|OUTPUT|"$(CONFIGDIR)\p.x30"] [S|ENTRY|_start] [S|SHOW|ALL])",
                       R"([S|OUTPUT|"$(CONFIGDIR)\p.mot"] [S|FORMAT|INTEL])"},
                      R"([V|VERSION|6] [S|INPUT|"a.r30"] [S|INPUTLIBRARY|"C:\lib\c.lib"|"\abs\d.lib"] [B|DEBUG|1] )"
                      R"([B|STACK|1] [B|ENTRY|1] [S|ENTRY|_start] [S|OUTPUT|"$(CONFIGDIR)\p.mot"] )"
                      R"([S|FORM|HEXADECIMAL])",
                      {kHeading,
                       RenameLine(R"("Relocatable files" in "Link ->  Input -> Relocatable files")",
                               R"("-input" in "Link/Library -> Input -> Relocatable files and object files")"),
                       RenameLine(R"("-L" in "Link ->  Input -> Library files")",
                               R"("-library" in "Link/Library -> Input -> Library files")"),
                       RenameLine(R"("-G" in "Link -> Output")", R"("-debug" in "Link/Library -> Output")"),
                       RenameLine(R"("-G" in "Link -> Output")", R"("-stack" in "Link/Library -> Other")"),
                       RenameLine(R"("-O" in "Link -> Output")", R"("Output file path" in "Link/Library -> Output")"),
                       RenameLine(R"("-E" in "Link -> Input")", R"("-entry" in "Link/Library -> Input")"),
                       RenameLine(R"("-H" in "Hexlo -> Output")", R"("-from" in "Link/Library -> Output")")}},
        FamilyRow{"Pexa V5.45 librarian", ChangePexaV54500toKZV10100, kLinker,
                      {R"([S|MODE|CREATE|"a.r30"|"b.r30"] [S|OUTPUT|"lib\p.lib"] [S|SUBCOMMAND|"cmd.sub"])"},
                      R"([V|VERSION|6] [S|OUTPUT|"lib\p.lib"] [B|SUBCOMMAND|1] [S|SUBCOMMAND|"cmd.sub"] )"
                      R"([S|FORM|LIBRARY=U] [S|INPUT|"a.r30"|"b.r30"])",
                      {kHeading, RenameLine(R"("-C" in "Librarian -> Output")", R"("-from" in "Link/Library -> Output")"),
                       RenameLine(R"("-O" in "Link -> Output")", R"("Output file path" in "Link/Library -> Output")"),
                       RenameLine(R"("@" in "Link -> Subcommand file")",
                               R"("-subcommand" in "Link/Library -> Subcommand file")")}},
        // Pexa V6.00
        FamilyRow{"Pexa V6.00 compiler", ChangePexaV60000toKZV10100, kCompiler,
                      {R"([S|LANG|CPP] [S|OUTPUT|PREPROCESSOR] [S|OUTPUT|PREPROCESSORFILE] [S|PREINCLUDE|"p.h"] )"
                       R"([S|RTTI|OFF] [S|OUTPUTPATH|"$(CONFIGDIR)\$(FILELEAF).i"] [B|OPTIMIZE|1])"},
                      R"([V|VERSION|1] [S|LANG|CPP] [S|OUTPUT|PREP] [S|PREINCLUDE|"p.h"] [S|RTTI|OFF] )"
                      R"([S|OUTPUTPATH|"$(CONFIGDIR)\$(FILELEAF).pp"])",
                      {kHeading, RenameLine(R"("-P" in "C/C++ -> Object")", R"("-output=prep" in "C/C++ -> Object")"),
                       RenameLine(R"("-dir" in "C/C++ -> Object")", R"("Output directory" in "C/C++ -> Object")")}},
        FamilyRow{"Pexa V6.00 assembler", ChangePexaV60000toKZV10100, kAssembler,
                      {R"([S|INCLUDE|"inc dir"] [B|HEAP|1] [S|OUTPUTPATH|"$(CONFIGDIR)\$(FILELEAF).r30"])"},
                      R"([V|VERSION|1] [S|INCLUDE|"inc dir"] [S|OUTPUTPATH|"$(CONFIGDIR)\$(FILELEAF).obj"])",
                      {kHeading,
                       RenameLine(R"("-I" in "Assembly -> Source -> Include file directories")",
                               R"("-include" in "Assembly -> Source -> Include file directories")"),
                       RenameLine(R"("-O" in "Assembly -> Object")", R"("Output directory" in "Assembly -> Object")")}},
        FamilyRow{"Pexa V6.00 library generator", ChangePexaV60000toKZV10100, kLibraryGenerator,
                      {"[B|EXCEPTION|1] [S|RTTI|ON] [B|SKIPDEPENDENCY|1] [B|PACK|1]"},
                      kLibraryDefaults + " [B|EXCEPTION|1] [S|RTTI|ON] [B|SKIPDEPENDENCY|1]",
                      {}},
        FamilyRow{"Pexa V6.00 linker", ChangePexaV60000toKZV10100, kLinker,
                      {R"([S|CRC|CCITT|2000-3FFF] [S|VECT|"_dummy"] [S|VECTN|4,"_irq"] [B|OPTIMIZE|0] [B|OPTIMIZE|1] )"
                       R"([S|FSYMBOL|x] [S|OUTPUT|"a.x30"])"},
                      R"([V|VERSION|6] [S|CRC|CCITT|DEFAULT|2000-3FFF] [S|VECT|_dummy] [S|VECTN|4,"_irq"] )"
                      R"([B|OPTIMIZE|0] [S|OUTPUT|"a.x30"])",
                      {}},
        // Tessaro V9.04
        FamilyRow{"Tessaro compiler", ChangeTessaroV90400toKZV10100, kCompiler,
                      {R"([S|OUTPUT|ASMCODE] [B|OPTIMIZE|1] [B|RTTI|0] [S|CPU|KZ600] [B|NOLINE|0] [I|PACK|1] )"
                       R"([S|ASSEMBLY|"[B|HEAP|1]] [B|OPTIMIZE|1]]"] [S|OUTPUTPATH|"o\$(FILELEAF).i"])"},
                      R"([V|VERSION|1] [S|OUTPUT|SRC] [S|OPTIMIZE|1] [B|PACK|1] [S|OUTPUTPATH|"o\$(FILELEAF).i"] )"
                      R"([S|ASSEMBLY|"[V|VERSION|1]] [S|DEFINE|__HEAP__=1]]"])",
                      {kHeading,
                       RenameLine(R"("-code=asmcode" in C/C++ -> Object")", R"("-output=src" in C/C++ -> Object")")}},
        FamilyRow{"Tessaro assembler", ChangeTessaroV90400toKZV10100, kAssembler,
                      {"[B|SKIPDEPENDENCY|0] [B|DEBUG|1] [B|GOPTIMIZE|1]"}, "[V|VERSION|1] [B|DEBUG|1]", {}},
        FamilyRow{"Tessaro library generator", ChangeTessaroV90400toKZV10100, kLibraryGenerator,
                      {"[B|SKIPDEPENDENCY|0] [B|RTTI|1] [B|RTTI|0] [I|PACK|1] [B|GOPTIMIZE|1]"},
                      kLibraryDefaults + " [B|SKIPDEPENDENCY|0] [S|RTTI|ON] [B|PACK|1] [B|GOPTIMIZE|1]",
                      {}},
        FamilyRow{"Tessaro linker", ChangeTessaroV90400toKZV10100, kLinker,
                      {R"([S|CRC|16|1000] [S|CRC|XOR|2] [S|VECT|"_v"] [S|FSYMBOL|sec] [I|SAMESIZE|2])"},
                      "[V|VERSION|6] [S|CRC|16|DEFAULT|1000] [S|FSYMBOL|sec] [I|SAMESIZE|2]",
                      {}},
        // Lumo V6 and V7
        FamilyRow{"Lumo V6 compiler", ChangeLumoV60000toKZV10100, kCompiler,
                      {"[S|LANG|CPP] [S|OUTCODE|UTF8] [S|RTTI|OFF] [B|RTTI|1] [B|PACK|0] [S|OUTPUT|PREPROCESSOR] "
                       "[B|INLINE|1]"},
                      "[V|VERSION|1] [S|OUTCODE|UTF8] [S|RTTI|OFF] [B|PACK|0] [S|OUTPUT|PREP]",
                      {kHeading,
                       RenameLine(R"("-preprocessor" in "C/C++ -> Object")", R"("-output=prep" in "C/C++ -> Object")")}},
        FamilyRow{"Lumo V7 compiler", ChangeLumoV70000toKZV10100, kCompiler,
                      {"[S|LANG|CPP] [S|OUTCODE|UTF8] [S|RTTI|OFF] [B|RTTI|1] [B|PACK|0] [S|OUTPUT|PREPROCESSOR] "
                       "[B|INLINE|1]"},
                      "[V|VERSION|1] [S|LANG|CPP] [S|OUTCODE|UTF8] [S|RTTI|OFF] [B|PACK|0] [S|OUTPUT|PREP]",
                      {kHeading,
                       RenameLine(R"("-preprocessor" in "C/C++ -> Object")", R"("-output=prep" in "C/C++ -> Object")")}},
        FamilyRow{"Lumo V6 assembler", ChangeLumoV60000toKZV10100, kAssembler,
                      {"[B|GOPTIMIZE|1] [S|DEFINE|A=1] [S|LANG|C]"}, "[V|VERSION|1] [B|GOPTIMIZE|1] [S|DEFINE|A=1]", {}},
        FamilyRow{"Lumo V7 library generator", ChangeLumoV70000toKZV10100, kLibraryGenerator,
                      {"[S|RTTI|OFF] [B|PACK|1] [B|GOPTIMIZE|1]"}, kLibraryDefaults + " [S|RTTI|OFF] [B|PACK|1]", {}},
        FamilyRow{"Lumo V6 linker", ChangeLumoV60000toKZV10100, kLinker,
                      {R"([S|CRC|16|1000] [S|VECT|"_v"] [S|FSYMBOL|sec] [I|SAMESIZE|2] [B|SKIPDEPENDENCY|1])"},
                      "[V|VERSION|6] [S|CRC|16|DEFAULT|1000] [I|SAMESIZE|2] [B|SKIPDEPENDENCY|1]",
                      {}},
        FamilyRow{"Lumo V7 linker", ChangeLumoV70000toKZV10100, kLinker,
                      {"[S|FSYMBOL|sec] [S|;CHECKDEVICE|1]"}, "[V|VERSION|6] [S|;CHECKDEVICE|1]", {}},
        // Tools the KZ toolchain does not have
        FamilyRow{"old tool name", ChangeTessaroV90400toKZV10100, "Veltora Tessaro C/C++ Compiler",
                      {"[B|DEBUG|1]"}, "", {}},
        FamilyRow{"unknown tool name", ChangePexaV54500toKZV10100, "veltora bindex", {"[B|DEBUG|1]"}, "", {}},
        FamilyRow{"no option strings", ChangeLumoV60000toKZV10100, kLinker, {}, "[V|VERSION|6]", {}},
    };
    for (const FamilyRow& row : rows) {
        SCOPED_TRACE(row.name);
        Summary().ClearLines();
        std::string result;
        EXPECT_EQ(row.conversion(row.phase, row.source, result), 0);
        EXPECT_EQ(result, row.result);
        EXPECT_EQ(Summary().lines, row.summary);
    }
}

TEST(CrossFamilyConversions, AppendBehindExistingText) {
    std::string result = "[S|X|1]";
    EXPECT_EQ(ChangeTessaroV90400toKZV10100(kAssembler, {"[B|DEBUG|0]"}, result), 0);
    EXPECT_EQ(result, "[S|X|1] [V|VERSION|1] [B|DEBUG|0]");
}

TEST(CrossFamilyConversions, ConvertingTwiceAddsNoSummaryLine) {
    const std::array conversions = {ChangePexaV54500toKZV10100, ChangePexaV60000toKZV10100, ChangeLumoV60000toKZV10100,
                                    ChangeLumoV70000toKZV10100, ChangeTessaroV90400toKZV10100};
    const Lines project = {"[S|OUTPUT|ASMCODE] [S|INCLUDE|a] [S|DEFINE|b]", "[B|DEBUG|1] [S|OUTPUT|PREPROCESSOR]"};
    for (ConversionStep conversion : conversions) {
        Summary().ClearLines();
        for (const char* phase : {kCompiler, kAssembler, kLinker, kLibraryGenerator}) {
            std::string result;
            ASSERT_EQ(conversion(phase, project, result), 0);
        }
        const Lines once = Summary().lines;
        EXPECT_FALSE(once.empty());
        for (const char* phase : {kCompiler, kAssembler, kLinker, kLibraryGenerator}) {
            std::string result;
            ASSERT_EQ(conversion(phase, project, result), 0);
        }
        EXPECT_EQ(Summary().lines, once);
    }
}

}  // namespace
}  // namespace vivo
