#pragma once
// Identifiers of the string-table texts the plug-in loads, named once for every user.
// The texts themselves stand in strings.inc.

#include <cstdint>

namespace vivo::text {

// Identity
inline constexpr uint32_t kInterfaceMajor = 1;         // "2"
inline constexpr uint32_t kInterfaceMinor = 2;         // "6"
inline constexpr uint32_t kProductVersion = 3;         // "4.09.00\n"
inline constexpr uint32_t kOrdinalVersion = 4;         // "29"
inline constexpr uint32_t kPluginType = 5;             // "Toolchain\n"
inline constexpr uint32_t kToolchainName = 6;          // "Veltora KZ Standard Toolchain"
inline constexpr uint32_t kConvertibleToolPairs = 9;   // "source tool|target tool" lines
inline constexpr uint32_t kCarriedKeys = 10;           // item keys a phase option conversion carries
inline constexpr uint32_t kKeysBesideAssembly = 14;    // keys carried beside an embedded assembler string
inline constexpr uint32_t kFileTypes = 40;             // the file type list
// Summary header
inline constexpr uint32_t kProjectNameLine = 1002;     // "Project name : %s\r\n\r\n"
inline constexpr uint32_t kUpgradedToBlock = 1003;     // "%s %s was upgraded to\r\n   %s %s.\r\n\r\n"
// Toolchain change
inline constexpr uint32_t kReadingError = 2008;        // "\"Tc.ini\" file reading error.\r\n\r\n"
inline constexpr uint32_t kPexaToolchainName = 2009;
inline constexpr uint32_t kSarnokiLumoToolchainName = 2010;
inline constexpr uint32_t kVeltoraLumoToolchainName = 2011;
inline constexpr uint32_t kAddedLine = 2012;           // "  \"%s\" add\r\n"
inline constexpr uint32_t kDeletedLine = 2013;         // "  \"%s\" delete\r\n"
inline constexpr uint32_t kOrderWithoutConfigurator = 2014;
inline constexpr uint32_t kOrderWithConfigurator = 2015;
inline constexpr uint32_t kKZPhaseMappings = 2016;
inline constexpr uint32_t kLibraryGeneratorDefaults = 2017;
inline constexpr uint32_t kRenameLine = 2018;          // "  Option %s has been converted to %s\r\n"
inline constexpr uint32_t kConfiguratorDefaults = 2019;
inline constexpr uint32_t kPhaseOrderHeading = 2020;   // "\r\nPhaseOrder:\r\n"
inline constexpr uint32_t kPhaseOptionsHeading = 2021; // "\r\nPhaseOptions:\r\n"
inline constexpr uint32_t kPhaseMappingHeading = 2022; // "\r\nPhaseMapping:\r\n"
inline constexpr uint32_t kTessaroToolchainName = 2023;
inline constexpr uint32_t kEndianNote = 2024;
inline constexpr uint32_t kMisraRequiredRemoveNote = 2025;
inline constexpr uint32_t kSectionNote = 2026;

}  // namespace vivo::text
