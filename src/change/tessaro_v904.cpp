// Tessaro V9.04 to KZ 1.01.00: a whitelist per KZ tool; old items that no row names are dropped.

#include "change/conversion_table.h"
#include "change/cross_family.h"
#include "change/shared_conversion_rows.h"

namespace vivo {
namespace {

// Old items the KZ compiler keeps, most unchanged; only the two output kinds are logged.
constexpr std::array kCompilerRows = {
    Kept("[S|INCLUDE|", R"("-include" in "C/C++ -> Source -> Include file directories")"),
    Kept("[S|DEFINE|", R"("-define" in "C/C++ -> Source -> Defines")"),
    Kept("[S|PREINCLUDE|", R"("-preinclude" in "C/C++ -> Source ->  Preinclude file")"),
    Kept("[B|MESSAGE|", R"("-message" in "C/C++ -> Source -> Messages")"),
    Kept("[S|FILE_INLINE_PATH|", R"("-file_inline_path" in "C/C++ -> Source -> File inline path")"),
    Kept("[S|LANG|", R"("-lang" in "C/C++ -> Source")"),
    ConversionRow{"[S|OUTPUT|ASMCODE]", R"("-code=asmcode" in C/C++ -> Object")", "[S|OUTPUT|SRC]",
                  R"("-output=src" in C/C++ -> Object")"},
    ConversionRow{"[S|OUTPUT|PREPROCESSOR]", R"("-preprocessor" in "C/C++ -> Object")", "[S|OUTPUT|PREP]",
                  R"("-output=prep" in "C/C++ -> Object")"},
    Kept("[B|NOLINE|1]", R"("-noline" in "C/C++ -> Object")"),
    Kept("[S|OUTPUTPATH|", R"("Output directory" in "C/C++ -> Object")"),
    Kept("[B|DEBUG|", R"("-debug" in "C/C++ -> Object")"),
    Kept("[S|SECTION|", R"("-section" in "C/C++ -> Object")"),
    Renamed("[B|OPTIMIZE|", "[S|OPTIMIZE|", R"("-optimize" in "C/C++ -> Optimize")"),
    Kept("[S|CASE|", R"("-case" in "C/C++ -> Optimize")"),
    Kept("[B|INLINE|", R"("-inline" in "C/C++ -> Optimize -> Details -> Inline")"),
    Kept("[I|INLINE|", ""),
    Kept("[S|FILE_INLINE|", R"("-file_inline" in "C/C++ -> Optimize -> Details -> Inline")"),
    Kept("[B|GOPTIMIZE|", R"("-goptimize" in "C/C++ -> Optimize")"),
    Kept("[B|SKIPDEPENDENCY|1]", R"("Skip dependency..." in "Toolchain Option")"),
    Kept("[N|DEPENDSCAN|1]", R"("Support dependency..." in "Toolchain Option")"),
    Kept("[B|EXCEPTION|", R"("-exception" in "C/C++ -> Option C/C++")"),
    Renamed("[B|RTTI|1]", "[S|RTTI|ON]", R"("-rtti" in "Standard Library -> Option Standard Library")"),
    Renamed("[I|PACK|1]", "[B|PACK|1]", R"("-pack" in "Standard Library -> Option Standard Library")"),
};
static_assert(kCompilerRows.size() == 23);

constexpr std::array kAssemblerRows = {
    Kept("[S|INCLUDE|", R"("-include" in "Assembly -> Source -> Include file directories")"),
    Kept("[S|DEFINE|", R"("-define" in "Assembly -> Source -> Defines")"),
    Kept("[B|DEBUG|", R"("-debug" in "Assembly -> Object")"),
    Kept("[S|OUTPUTPATH|", R"("Output directory" in "Assembly -> Object")"),
    Kept("[B|SKIPDEPENDENCY|1]", R"("Skip dependency..." in "Toolchain Option")"),
};
static_assert(kAssemblerRows.size() == 5);

constexpr std::array kLibraryGeneratorRows = {
    Kept("[B|SKIPDEPENDENCY|", R"("Skip dependency..." in "Toolchain Option")"),
    Kept("[B|GOPTIMIZE|", R"("-goptimize" in "Standard Library -> Optimize")"),
    Kept("[B|EXCEPTION|", R"("-exception" in "Standard Library -> Option Standard Library")"),
    Renamed("[B|RTTI|1]", "[S|RTTI|ON]", R"("-rtti" in "Standard Library -> Option Standard Library")"),
    Renamed("[I|PACK|1]", "[B|PACK|1]", R"("-pack" in "Standard Library -> Option Standard Library")"),
};
static_assert(kLibraryGeneratorRows.size() == 5);

}  // namespace

// The items of the Tessaro linker that the KZ linker keeps, none renamed. The labels are the old
// option names as the tool showed them, opening quotes missing and all; no row logs.
constexpr std::array<ConversionRow, 48> kTessaroLinkerRows = {
    Kept("[S|INPUTLIBRARY|", R"(-library" in "Link/Library -> Input")"),
    Kept("[S|INPUT|", R"(-input" in "Link/Library -> Input")"),
    Kept("[S|BINARY|", R"(-binary" in "Link/Library -> Input")"),
    Kept("[S|DEFINE|", R"(-define" in "Link/Library -> Input")"),
    Kept("[B|ENTRY|", R"(-entry" in "Link/Library -> Input")"),
    Kept("[S|ENTRY|"),
    Kept("[S|PRELINK|", R"(-noprelink" in "Link/Library -> Input")"),
    Kept("[S|FORM|", R"(-from" in "Link/Library -> Output")"),
    Kept("[S|RECORD|", R"(-record" in "Link/Library -> Output")"),
    Kept("[B|BYTE_COUNT|", R"(-byte_count" in "Link/Library -> Output")"),
    Kept("[S|BYTE_COUNT_VALUE|"),
    Kept("[B|DEBUG|", R"(-debug" in "Link/Library -> Output")"),
    Kept("[B|SDEBUG|", R"(-sdebug" in "Link/Library -> Output")"),
    Kept("[S|OUTPUT|", R"(-output" in "Link/Library -> Output")"),
    Kept("[S|ROM|", R"(-rom" in "Link/Library -> Output -> Output file path")"),
    Kept("[B|DIVIDEOUTPUT|", R"(-output" in "Link/Library -> Output -> Divided output files")"),
    Kept("[S|MULTIOUTPUT|"),
    Kept("[B|MESSAGE|", R"(-message" in "Link/Library -> Output -> Output messages")"),
    Kept("[S|NOMESSAGE|", R"(-nomessage" in "Link/Library -> Output -> Output messages")"),
    Kept("[B|MSG_UNUSED|", R"(-msg_unused" in "Link/Library -> Output -> Output messages")"),
    Kept("[S|SPACE|", R"(-space" in "Link/Library -> Output -> Specify value filled in unused area")"),
    Kept("[I|SPACE|"),
    Kept("[S|CRC|CCITT|", R"(-crc" in "Link/Library -> Output -> Output CRC code")"),
    Kept("[S|CRC|16|", R"(-crc" in "Link/Library -> Output -> Output CRC code")"),
    Kept("[B|LIST|", R"(-list" in "Link/Library -> List")"),
    Kept("[S|LIST|"),
    Kept("[S|SHOW|", R"(-show" in "Link/Library -> List")"),
    Kept("[S|OPTIMIZEITEMS|", R"(-optimize" in "Link/Library -> Optimize -> Optimize items")"),
    Kept("[I|SAMESIZE|"),
    Kept("[B|OPTIMIZE|0]", R"(-nooptimize" in "Link/Library -> Optimize -> Optimize items")"),
    Kept("[S|SYMBOL_FORBID|",
         R"(-symbol_forbid" in "Link/Library -> Optimize -> Forbid item -> Elimination of dead code")"),
    Kept("[S|SAMECODE_FORBID|",
         R"(-samecode_forbid" in "Link/Library -> Optimize -> Forbid item -> Elimination of same code")"),
    Kept("[S|SECTION_FORBID|", R"(-section_forbid" in "Link/Library -> Optimize -> Forbid item -> Section in")"),
    Kept("[S|ABSOLUTE_FORBID|",
         R"(-absolute_forbid" in "Link/Library -> Optimize -> Forbid item -> Memory allocation in")"),
    Kept("[S|START|", R"(-start" in "Link/Library -> Section -> Section")"),
    Kept("[I|CPUINFORMATIONCHECK|", R"(-cpu" in "Link/Library -> Verify -> CPU information check")"),
    Kept("[S|;CHECKDEVICE|"),
    Kept("[B|CPUSTRIDE|", R"(-cpu=stride" in "Link/Library -> Verify -> CPU information check")"),
    Kept("[S|CONTIGUOUSSECTION|", R"(-contiguous_section Link/Library -> Verify -> CPU information check")"),
    Kept("[B|STACK|", R"(-stack" in "Link/Library -> Other")"),
    Kept("[B|TOTAL_SIZE|", R"(-total_size" in "Link/Library -> Other")"),
    Kept("[B|S9|", R"(-s9" in "Link/Library -> Other")"),
    Kept("[S|MEMORY|", R"(-memory" in "Link/Library -> Other")"),
    Kept("[B|COMPRESS|", R"(-compress" in "Link/Library -> Other")"),
    Kept("[B|SUBCOMMAND|", R"(-subcommand" in "Link/Library -> Subcommand file")"),
    Kept("[S|SUBCOMMAND|"),
    Kept("[B|SKIPDEPENDENCY|1]", R"("Skip dependency..." in "Toolchain Option")"),
    Kept("[S|FSYMBOL|", R"(-FSymbol" in "Link/Library -> Section -> Symbol file")"),
};

int ChangeTessaroV90400toKZV10100(std::string_view phaseName, const OptionLines& optionStrings,
                                  std::string& result, ChangeSummary& summary) {
    const CrossFamilyConversion conversion{
        .compiler = {{{kCompilerRows}}, {ItemRewrite::AssemblyItem}},
        .assembler = {{{kAssemblerRows}}, {}},
        .libraryGenerator = {{{kLibraryGeneratorRows}}, {}},
        .linker = {{{kTessaroLinkerRows}}, {ItemRewrite::CrcAndVectItems}},
        .configurator = {{}, {ItemRewrite::RtosItems}},  // the old configurator options are not carried over
    };
    return RunCrossFamilyConversion(conversion, phaseName, optionStrings, result, summary);
}

}  // namespace vivo
