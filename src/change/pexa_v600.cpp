// Pexa V6.00 to KZ 1.01.00: the Pexa V6.00 compiler and optimizing linker are close to the KZ ones,
// so most items are kept as they are and only a few options are renamed.

#include "change/conversion_table.h"
#include "change/cross_family.h"
#include "change/shared_conversion_rows.h"

namespace vivo {
namespace {

// Old items the KZ compiler keeps, {old prefix, old option, new prefix, new option}.
constexpr std::array kCompilerRows = {
    Kept("[S|LANG|", R"("-lang" in "C/C++ -> Source -> Source file")"),
    ConversionRow{"[S|INCLUDE|", R"("-I" in "C/C++ -> Source -> Include file directories")", "[S|INCLUDE|",
                  R"("-include" in "C/C++ -> Source -> Include file directories")"},
    ConversionRow{"[S|DEFINE|", R"("-D" in "C/C++ -> Source -> Defines")", "[S|DEFINE|",
                  R"("-define" in "C/C++ -> Source -> Defines")"},
    Kept("[S|PREINCLUDE|", R"("-preinclude" in "C/C++ -> Source ->  Preinclude file")"),
    ConversionRow{"[S|OUTPUT|ASMCODE]", R"("-S" in "C/C++ -> Object")", "[S|OUTPUT|SRC]",
                  R"("-output=src" in "C/C++ -> Object")"},
    ConversionRow{"[S|OUTPUT|PREPROCESSORFILE]", R"("-P" in "C/C++ -> Object")", "[S|OUTPUT|PREP]",
                  R"("-output=prep" in "C/C++ -> Object")"},
    ConversionRow{"[S|OUTPUTPATH|", R"("-dir" in "C/C++ -> Object")", "[S|OUTPUTPATH|",
                  R"("Output directory" in "C/C++ -> Object")"},
    ConversionRow{"[B|DEBUG|", R"("-g" in "C/C++ -> Object")", "[B|DEBUG|", R"("-debug" in "C/C++ -> Object")"},
    Kept("[B|GOPTIMIZE|", R"("-goptimize" in "C/C++ -> Optimize")"),
    Kept("[B|SKIPDEPENDENCY|1]", R"("Skip dependency..." in "Toolchain Option")"),
    Kept("[N|DEPENDSCAN|1]", R"("Support dependency..." in "Toolchain Option")"),
    Kept("[B|EXCEPTION|", R"("-exception" in "C/C++ -> Options C/C++")"),
    Kept("[S|RTTI|", R"("-rtti" in "C/C++ -> Options C/C++")"),
};
static_assert(kCompilerRows.size() == 13);

constexpr std::array kAssemblerRows = {
    ConversionRow{"[S|INCLUDE|", R"("-I" in "Assembly -> Source -> Include file directories")", "[S|INCLUDE|",
                  R"("-include" in "Assembly -> Source -> Include file directories")"},
    ConversionRow{"[S|DEFINE|", R"("-D" in "Assembly -> Source -> Defines")", "[S|DEFINE|",
                  R"("-define" in "Assembly -> Source -> Defines")"},
    ConversionRow{"[S|OUTPUTPATH|", R"("-O" in "Assembly -> Object")", "[S|OUTPUTPATH|",
                  R"("Output directory" in "Assembly -> Object")"},
    ConversionRow{"[B|DEBUG|", R"("-S" in "Assembly -> Object")", "[B|DEBUG|", R"("-debug" in "Assembly -> Object")"},
    Kept("[B|SKIPDEPENDENCY|1]", R"("Skip dependency..." in "Toolchain Option")"),
};
static_assert(kAssemblerRows.size() == 5);

constexpr std::array kLibraryGeneratorRows = {
    Kept("[B|SKIPDEPENDENCY|", R"("Skip dependency..." in "Toolchain Option")"),
    Kept("[B|EXCEPTION|", R"("-exception" in "Standard Library -> Options Standard Library")"),
    Kept("[S|RTTI|", R"("-rtti" in "Standard Library -> Options Standard Library")"),
};

// The items of the Pexa V6.00 linker that the KZ linker still understands; none is renamed.
constexpr std::array kLinkerRows = {
    Kept("[S|INPUTLIBRARY|"),     Kept("[S|INPUT|"),           Kept("[S|BINARY|"),
    Kept("[S|DEFINE|"),           Kept("[B|ENTRY|"),           Kept("[S|ENTRY|"),
    Kept("[S|PRELINK|"),          Kept("[S|FORM|"),            Kept("[S|RECORD|"),
    Kept("[B|BYTE_COUNT|"),       Kept("[S|BYTE_COUNT_VALUE|"), Kept("[B|DEBUG|"),
    Kept("[B|SDEBUG|"),           Kept("[S|OUTPUT|"),          Kept("[S|ROM|"),
    Kept("[B|DIVIDEOUTPUT|"),     Kept("[S|MULTIOUTPUT|"),     Kept("[B|MESSAGE|"),
    Kept("[S|NOMESSAGE|"),        Kept("[B|MSG_UNUSED|"),      Kept("[S|SPACE|"),
    Kept("[I|SPACE|"),            Kept("[S|CRC|"),             Kept("[S|VECTN|"),
    Kept("[S|VECT|"),             Kept("[B|LIST|"),            Kept("[S|LIST|"),
    Kept("[S|SHOW|"),             Kept("[S|OPTIMIZEITEMS|"),   Kept("[B|OPTIMIZE|0]"),
    Kept("[S|SYMBOL_FORBID|"),    Kept("[S|SECTION_FORBID|"),  Kept("[S|ABSOLUTE_FORBID|"),
    Kept("[S|START|"),            Kept("[I|CPUINFORMATIONCHECK|"), Kept("[S|;CHECKDEVICE|"),
    Kept("[B|CPUSTRIDE|"),        Kept("[S|CONTIGUOUSSECTION|"), Kept("[B|STACK|"),
    Kept("[B|TOTAL_SIZE|"),       Kept("[B|S9|"),              Kept("[S|MEMORY|"),
    Kept("[B|COMPRESS|"),         Kept("[B|SUBCOMMAND|"),      Kept("[S|SUBCOMMAND|"),
    Kept("[B|SKIPDEPENDENCY|1]"),
};
static_assert(kLinkerRows.size() == 46);

}  // namespace

int ChangePexaV60000toKZV10100(std::string_view phaseName, const OptionLines& optionStrings,
                               std::string& result, ChangeSummary& summary) {
    const CrossFamilyConversion conversion{
        .compiler = {{{kCompilerRows}}, {ItemRewrite::AssemblyItem, ItemRewrite::OutputFileExtensions}},
        .assembler = {{{kAssemblerRows}}, {ItemRewrite::OutputFileExtensions}},
        .libraryGenerator = {{{kLibraryGeneratorRows}}, {}},
        .linker = {{{kLinkerRows}}, {ItemRewrite::CrcAndVectItems}},
        .configurator = {{{kPexaConfiguratorRows}}, {ItemRewrite::RtosItems}},
    };
    return RunCrossFamilyConversion(conversion, phaseName, optionStrings, result, summary);
}

}  // namespace vivo
