#pragma once
// The conversion context of one phase option upgrade, and the six steps between neighbouring KZ
// toolchain versions that run on it.

#include <cstdint>
#include <string>
#include <string_view>

#include "options/option_string.h"

namespace vivo {

// Endian states the pre-scan finds in the compiler, assembler and library generator lines.
enum class Endian : int32_t {
    kNone = -1,  // no line holds an endian item
    kBig = 0,
    kLittle = 1,
    kMixed = 2,  // both kinds stand in the lines
};

// Facts about all phases of the project, gathered by the pre-scan of the host's phase options list
// ("tool name|option string" lines), and the steps that use them. Set afresh for every call.
struct ConversionContext {
    Endian endianState = Endian::kNone;
    uint32_t linkerMapFlag = 0;    // the linker's line holds "[B|MAP|1]"; never reset
    uint32_t compilerMapFlag = 0;  // the last compiler line holds "[B|MAP|1]"
    int32_t linkerLine = 0;        // line positions; a tool without a line keeps 0
    int32_t compilerLine = 0;
    int32_t assemblerLine = 0;
    std::string existingLibraryPath;  // the library generator's EXISTOUTPUTPATH in mode EXISTING, quotes kept
    int32_t libraryGeneratorLine = 0;

    OptionLines optionStrings;  // each line behind its first bar, a view of the line
    StringList toolNames;      // each line before it

    // Fills the context from the lines, in order; false when a line has no bar. `optionStrings` views
    // the lines, which must outlive the context's use.
    [[nodiscard]] bool PreScan(const OptionLines& lines);

    // The steps. Each takes the KZ tool name of the phase, the option strings after the pre-scan and
    // the text the steps before produced (empty at first), and continues from it. 1 only when there
    // are no option strings. A tool other than compiler, assembler, library generator and linker gets
    // the first option string.

    // 1.00.00 to 1.00.01: the linker gets the endian item that the other tools agree on.
    int Upgrade10000to10001(std::string_view phaseName, const OptionLines& options, std::string& result) const;
    // 1.00.01 to 1.01.00: compiler and library generator get "[S|SECTION|L=C]".
    int Upgrade10001to10100(std::string_view phaseName, const OptionLines& options, std::string& result) const;
    // 1.01.00 to 1.02.00: the linker gets the library generator's existing library.
    int Upgrade10100to10200(std::string_view phaseName, const OptionLines& options, std::string& result) const;
    // 1.02.00 to 1.02.01: compiler and linker get "[B|MAPOPTIMIZATION|1]" when both make a map.
    int Upgrade10200to10201(std::string_view phaseName, const OptionLines& options, std::string& result) const;
    // 1.02.01 to 1.02.00: the compiler's MISRA 2004 rule items lose rule "15.2".
    int Downgrade10201to10200(std::string_view phaseName, const OptionLines& options, std::string& result) const;
    // 1.02.00 to 1.01.00: the linker's INPUT and BINARY items take their 1.01.00 forms.
    int Downgrade10200to10100(std::string_view phaseName, const OptionLines& options, std::string& result) const;

private:
    // What every step shares: 1 without option strings; a tool other than the four gets the first
    // option string; else `result` is the phase's own option string (when empty), and `rewrite(tool)`
    // changes it.
    template <class Rewrite>
    int RunStep(std::string_view phaseName, const OptionLines& options, std::string& result, Rewrite&& rewrite) const;
};

}  // namespace vivo
