// Lumo V6 to KZ 1.01.00: a whitelist per KZ tool like the Tessaro conversion, whose linker items
// (all but the symbol file) the KZ linker keeps.

#include "change/conversion_table.h"
#include "change/cross_family.h"
#include "change/shared_conversion_rows.h"

namespace vivo {

// Old items the KZ compiler keeps, most unchanged; only the two output kinds are logged.
constexpr std::array<ConversionRow, 20> kLumoV6CompilerRows = {
    Kept("[S|INCLUDE|", R"("-include" in "C/C++ -> Source -> Include file directories")"),
    Kept("[S|DEFINE|", R"("-define" in "C/C++ -> Source -> Defines")"),
    Kept("[S|PREINCLUDE|", R"("-preinclude" in "C/C++ -> Source ->  Preinclude file")"),
    Kept("[B|MESSAGE|", R"("-message" in "C/C++ -> Source -> Messages")"),
    Kept("[S|FILE_INLINE_PATH|", R"("-file_inline_path" in "C/C++ -> Source -> File inline path")"),
    ConversionRow{"[S|OUTPUT|ASMCODE]", R"("-code=asmcode" in C/C++ -> Object")", "[S|OUTPUT|SRC]",
                  R"("-output=src" in C/C++ -> Object")"},
    ConversionRow{"[S|OUTPUT|PREPROCESSOR]", R"("-preprocessor" in "C/C++ -> Object")", "[S|OUTPUT|PREP]",
                  R"("-output=prep" in "C/C++ -> Object")"},
    Kept("[S|OUTPUTPATH|", R"("Output directory" in "C/C++ -> Object")"),
    Kept("[B|DEBUG|", R"("-debug" in "C/C++ -> Object")"),
    Kept("[S|OUTCODE|", R"("-outcode" in "C/C++ -> Object")"),
    Kept("[S|SECTION|", R"("-section" in "C/C++ -> Object")"),
    Renamed("[B|OPTIMIZE|", "[S|OPTIMIZE|", R"("-optimize" in "C/C++ -> Optimize")"),
    Kept("[S|CASE|", R"("-case" in "C/C++ -> Optimize")"),
    Kept("[B|GOPTIMIZE|", R"("-goptimize" in "C/C++ -> Optimize")"),
    Kept("[S|FILE_INLINE|", R"("-file_inline" in "C/C++ -> Optimize -> Details -> Inline")"),
    Kept("[B|SKIPDEPENDENCY|1]", R"("Skip dependency..." in "Toolchain Option")"),
    Kept("[N|DEPENDSCAN|1]", R"("Support dependency..." in "Toolchain Option")"),
    Kept("[B|EXCEPTION|", R"("-exception" in "C/C++ -> Option C/C++")"),
    Kept("[S|RTTI|", R"("-rtti=on" in "C/C++ -> Option C/C++")"),
    Kept("[B|PACK|", R"("-pack=1" in "C/C++ -> Option C/C++")"),
};

constexpr std::array<ConversionRow, 6> kLumoV6AssemblerRows = {
    Kept("[S|INCLUDE|", R"("-include" in "Assembly -> Source -> Include file directories")"),
    Kept("[S|DEFINE|", R"("-define" in "Assembly -> Source -> Defines")"),
    Kept("[B|DEBUG|", R"("-debug" in "Assembly -> Object")"),
    Kept("[B|GOPTIMIZE|", R"("-goptimize" in "Assembly -> Object")"),
    Kept("[S|OUTPUTPATH|", R"("Output directory" in "Assembly -> Object")"),
    Kept("[B|SKIPDEPENDENCY|1]", R"("Skip dependency..." in "Toolchain Option")"),
};

constexpr std::array<ConversionRow, 4> kLumoV6LibraryGeneratorRows = {
    Kept("[B|SKIPDEPENDENCY|", R"("Skip dependency..." in "Toolchain Option")"),
    Kept("[B|EXCEPTION|", R"("-exception" in "Standard Library -> Option Standard Library")"),
    Kept("[S|RTTI|", R"("-rtti" in "Standard Library -> Option Standard Library")"),
    Kept("[B|PACK|", R"("-pack" in "Standard Library -> Option Standard Library")"),
};

int ConvertLumoToKZ(const ConversionTable& compiler, std::string_view phaseName,
                    const OptionLines& optionStrings, std::string& result, ChangeSummary& summary) {
    const CrossFamilyConversion conversion{
        .compiler = {compiler, {ItemRewrite::AssemblyItem}},
        .assembler = {{{kLumoV6AssemblerRows}}, {}},
        .libraryGenerator = {{{kLumoV6LibraryGeneratorRows}}, {}},
        .linker = {{{ConversionRows(kTessaroLinkerRows).first(kLumoLinkerRowCount)}}, {ItemRewrite::CrcAndVectItems}},
        .configurator = {{}, {ItemRewrite::RtosItems}},  // the old configurator options are not carried over
    };
    return RunCrossFamilyConversion(conversion, phaseName, optionStrings, result, summary);
}

int ChangeLumoV60000toKZV10100(std::string_view phaseName, const OptionLines& optionStrings,
                               std::string& result, ChangeSummary& summary) {
    return ConvertLumoToKZ({{kLumoV6CompilerRows}}, phaseName, optionStrings, result, summary);
}

}  // namespace vivo
