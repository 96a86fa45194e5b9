#pragma once
// Conversion rows that more than one conversion uses, each defined once in the file of the conversion
// that owns it: the Pexa conversions share their configurator row, the Lumo conversions keep the
// Tessaro linker's items (all but its last row), and the Lumo V7 conversion is the Lumo V6 one with
// one compiler row more.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "change/conversion_table.h"

namespace vivo {

// pexa_v545.cpp: the Pexa configurator's one option, the same for V5.45 and V6.00
extern const std::array<ConversionRow, 1> kPexaConfiguratorRows;

// tessaro_v904.cpp
extern const std::array<ConversionRow, 48> kTessaroLinkerRows;
// Rows of the Tessaro linker table that the Lumo conversions keep (all but the symbol-file row).
inline constexpr std::size_t kLumoLinkerRowCount = 47;

// lumo_v6.cpp
extern const std::array<ConversionRow, 20> kLumoV6CompilerRows;
extern const std::array<ConversionRow, 6> kLumoV6AssemblerRows;
extern const std::array<ConversionRow, 4> kLumoV6LibraryGeneratorRows;
// The Lumo conversion with `compiler` as the compiler's table; Lumo V6 and V7 differ only there.
int ConvertLumoToKZ(const ConversionTable& compiler, std::string_view phaseName,
                    const OptionLines& optionStrings, std::string& result, ChangeSummary& summary);

}  // namespace vivo
