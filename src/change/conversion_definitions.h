#pragma once
// The conversion definitions: which changes of toolchain (and version) TC.ini offers, and the
// conversion kind that each runs.
//
//   [Upgrade definition]
//   1=Veltora KZ Standard Toolchain,1.00.00,Veltora KZ Standard Toolchain,1.00.01,Upgrade10000to10001
//   2=

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "change/conversion_kind.h"
#include "summary/change_summary.h"
#include "vivo/vivo.h"

namespace vivo {

// The three definition sections of TC.ini, in reading order, then the 19 conversion names. A name's
// position counted from "Copy" is its conversion kind.
inline constexpr std::array<std::string_view, 22> kConversionDefinitions = {
    "Same version definition",
    "Upgrade definition",
    "Downgrade definition",
    "Copy",                           // 0
    "Upgrade10000to10001",            // 1
    "ChangePexaV54500toKZV10100",     // 2
    "ChangePexaV60000toKZV10100",     // 3
    "ChangeLumoV60000toKZV10100",     // 4
    "ChangeLumoV70000toKZV10100",     // 5
    "ChangeTessaroV90400toKZV10100",  // 6
    "Upgrade10000to10200",            // 7
    "Upgrade10100to10200",            // 8
    "Downgrade10200to10100",          // 9
    "Upgrade10001to10200",            // 10
    "Upgrade10000to10201",            // 11
    "Upgrade10001to10201",            // 12
    "Upgrade10100to10201",            // 13
    "Upgrade10200to10201",            // 14
    "Upgrade10000to10100",            // 15
    "Upgrade10001to10100",            // 16
    "Downgrade10201to10200",          // 17
    "Downgrade10201to10100",          // 18
};
inline constexpr std::size_t kDefinitionSectionCount = 3;
static_assert(kConversionDefinitions.size() == kDefinitionSectionCount + kConversionKindCount);

// A toolchain description record the host may pass: right size and both texts present.
[[nodiscard]] inline bool IsWellFormed(const VivoToolchainRecord* record) {
    return record != nullptr && record->size == 12 && record->name != nullptr && record->version != nullptr;
}


// The kind of a conversion name, or nothing when it is not one of the 19.
[[nodiscard]] std::optional<ConversionKind> ConversionKindOfName(std::string_view name);

// One accepted definition record: source name and version, target name and version, and the kind.
struct DefinitionRecord {
    std::string fromName;
    std::string fromVersion;
    std::string toName;
    std::string toVersion;
    ConversionKind kind = ConversionKind::kCopy;
};

// The records of one value of a definition section, or nothing when the value is not a record (not
// five fields once "Sarnoki Lumo"/"Veltora Lumo" and the rest of the name are joined again, or an
// unknown conversion name). Fields are trimmed.
[[nodiscard]] std::optional<DefinitionRecord> ParseDefinitionRecord(std::string_view value);

// The records of the three definition sections of the TC.ini at `iniPath`, in reading order, and
// whether reading stopped at an error (a missing file, section or closing empty key, a bad record);
// the records accepted before the error are kept.
struct DefinitionList {
    std::vector<DefinitionRecord> records;
    bool readingError = false;
};
[[nodiscard]] DefinitionList ReadDefinitionList(std::string_view iniPath);

// The kind of the first record for this change, or nothing.
[[nodiscard]] std::optional<ConversionKind> MatchDefinition(const std::vector<DefinitionRecord>& records,
                                                     std::string_view fromName, std::string_view fromVersion,
                                                     std::string_view toName, std::string_view toVersion);

// The conversion kind that TC.ini beside the plug-in defines for the change from `from` to `to`, or
// nothing: bad records, a source that is not one of the five toolchains or a target other than the
// KZ toolchain (TC.ini is then not read), or no matching record. A reading error shows message 2008.
[[nodiscard]] std::optional<ConversionKind> FindConversion(const VivoToolchainRecord* from, const VivoToolchainRecord* to);

// 0 when a definition covers the change, else 1 with message 2008 added to `summary`.
[[nodiscard]] int32_t CanUpgradeToolchain(const VivoToolchainRecord* from, const VivoToolchainRecord* to,
                                          ChangeSummary& summary);

}  // namespace vivo
