// Pexa V5.45 to KZ 1.01.00: the Pexa C compiler and assembler map to their KZ counterparts; its linker,
// librarian, load-module converter (Hexlo) and S-type converter all become the one KZ linker.

#include "change/conversion_table.h"
#include "change/cross_family.h"
#include "change/shared_conversion_rows.h"

namespace vivo {
namespace {

// Old items the KZ compiler keeps, {old prefix, old option, new prefix, new option}.
constexpr std::array kCompilerRows = {
    ConversionRow{"[S|INCLUDE|", R"("-I" in "C -> Source -> Include file directories")", "[S|INCLUDE|",
                  R"("-include" in "C/C++  -> Source -> Include file directories")"},
    ConversionRow{"[S|DEFINE|", R"("-D" in "C -> Source -> Defines")", "[S|DEFINE|",
                  R"("-define" in "C/C++ -> Source -> Defines")"},
    ConversionRow{"[S|OUTPUT|ASMCODE]", R"("-S" in "C -> Object")", "[S|OUTPUT|SRC]",
                  R"("-output=src" in "C/C++ -> Object")"},
    ConversionRow{"[S|OUTPUT|PREPROCESSOR]", R"("-E" in "C -> Object")", "[S|OUTPUT|PREP] [B|NOLINE|1]",
                  R"("-output=prep" in "C/C++ -> Object")"},
    ConversionRow{"[S|OUTPUT|PREPROCESSORFILE]", R"("-P" in "C -> Object")", "[S|OUTPUT|PREP]",
                  R"("-output=prep" in "C/C++ -> Object")"},
    ConversionRow{"[S|OUTPUTPATH|", R"("-dir" in "C -> Object")", "[S|OUTPUTPATH|",
                  R"("Output directory" in "C/C++ -> Object")"},
    ConversionRow{"[B|DEBUG|", R"("-g" in "C -> Object")", "[B|DEBUG|", R"("-debug" in "C/C++ -> Object")"},
    Kept("[B|SKIPDEPENDENCY|1]", R"("Skip dependency..." in "Toolchain Option")"),
    Kept("[N|DEPENDSCAN|1]", R"("Support dependency..." in "Toolchain Option")"),
};
static_assert(kCompilerRows.size() == 9);

constexpr std::array kAssemblerRows = {
    ConversionRow{"[S|INCLUDE|", R"("-I" in "Assembly -> Source -> Include file directories")", "[S|INCLUDE|",
                  R"("-include" in "Assembly -> Source -> Include file directories")"},
    ConversionRow{"[B|HEAP|1]", R"("-D" in "Assembly -> Source -> Defines")", "[S|DEFINE|__HEAP__=1]",
                  R"("-define" in "Assembly -> Source -> Defines")"},
    ConversionRow{"[B|IO|1]", R"("-D" in "Assembly -> Source -> Defines")", "[S|DEFINE|__STANDARD_IO__=1]",
                  R"("-define" in "Assembly -> Source -> Defines")"},
    ConversionRow{"[S|DEFINE|", R"("-D" in "Assembly -> Source -> Defines")", "[S|DEFINE|",
                  R"("-define" in "Assembly -> Source -> Defines")"},
    ConversionRow{"[S|OUTPUTPATH|", R"("-O" in "Assembly -> Object")", "[S|OUTPUTPATH|",
                  R"("Output directory" in "Assembly -> Object")"},
    ConversionRow{"[B|DEBUG|", R"("-S" in "Assembly -> Object")", "[B|DEBUG|", R"("-debug" in "Assembly -> Object")"},
    ConversionRow{"[B|DEBUGM|", R"("-SM" in "Assembly -> Object")", "[B|DEBUG|",
                  R"("-debug" in "Assembly -> Object")"},
    Kept("[B|SKIPDEPENDENCY|1]", R"("Skip dependency..." in "Toolchain Option")"),
};
static_assert(kAssemblerRows.size() == 8);

constexpr std::array kLibraryGeneratorRows = {
    Kept("[B|SKIPDEPENDENCY|"),
};

// The linker, librarian, Hexlo and S-type converter items that the KZ linker takes over; "-G" gives
// both a debug and a stack item.
constexpr std::array kLinkerRows = {
    ConversionRow{"[S|INPUTLIBRARY|", R"("-L" in "Link ->  Input -> Library files")", "[S|INPUTLIBRARY|",
                  R"("-library" in "Link/Library -> Input -> Library files")"},
    ConversionRow{"[S|INPUT|", R"("Relocatable files" in "Link ->  Input -> Relocatable files")", "[S|INPUT|",
                  R"("-input" in "Link/Library -> Input -> Relocatable files and object files")"},
    ConversionRow{"[S|ENTRY|", R"("-E" in "Link -> Input")", "[B|ENTRY|1] [S|ENTRY|",
                  R"("-entry" in "Link/Library -> Input")"},
    ConversionRow{"[B|DEBUG|", R"("-G" in "Link -> Output")", "[B|DEBUG|", R"("-debug" in "Link/Library -> Output")"},
    ConversionRow{"[B|DEBUG|", R"("-G" in "Link -> Output")", "[B|STACK|", R"("-stack" in "Link/Library -> Other")"},
    ConversionRow{"[S|OUTPUT|", R"("-O" in "Link -> Output")", "[S|OUTPUT|",
                  R"("Output file path" in "Link/Library -> Output")"},
    ConversionRow{"[S|SUBCOMMAND|", R"("@" in "Link -> Subcommand file")", "[B|SUBCOMMAND|1] [S|SUBCOMMAND|",
                  R"("-subcommand" in "Link/Library -> Subcommand file")"},
    ConversionRow{"[S|FORMAT|INTEL]", R"("-H" in "Hexlo -> Output")", "[S|FORM|HEXADECIMAL]",
                  R"("-from" in "Link/Library -> Output")"},
    ConversionRow{"[S|MODE|CREATE|", R"("-C" in "Librarian -> Output")", "[S|MODE|CREATE|",
                  R"("-from" in "Link/Library -> Output")"},
    Kept("[B|SKIPDEPENDENCY|1]", R"("Skip dependency..." in "Toolchain Option")"),
};
static_assert(kLinkerRows.size() == 10);

}  // namespace

constexpr std::array<ConversionRow, 1> kPexaConfiguratorRows = {
    ConversionRow{"[S|DIRECTORY|", R"("Search directory for MRC files" in "RTOS -> Fennic")", "[S|DIRECTORY|",
                  R"("Search directory for MRC files" in "RTOS -> Ostrel")"},
};

int ChangePexaV54500toKZV10100(std::string_view phaseName, const OptionLines& optionStrings,
                               std::string& result, ChangeSummary& summary) {
    const CrossFamilyConversion conversion{
        .compiler = {{{kCompilerRows}}, {ItemRewrite::AssemblyItem, ItemRewrite::OutputFileExtensions}},
        .assembler = {{{kAssemblerRows}}, {ItemRewrite::OutputFileExtensions}},
        .libraryGenerator = {{{kLibraryGeneratorRows}}, {}},
        .linker = {{{kLinkerRows}}, {ItemRewrite::OutputFileExtensions, ItemRewrite::LibraryAndOutputItems}},
        .configurator = {{{kPexaConfiguratorRows}}, {ItemRewrite::RtosItems}},
    };
    return RunCrossFamilyConversion(conversion, phaseName, optionStrings, result, summary);
}

}  // namespace vivo
