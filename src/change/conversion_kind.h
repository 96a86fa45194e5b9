#pragma once
// The conversion kinds, and the one of the toolchain change under way: written by the phase order
// upgrade when its look-up succeeds, read by the phase list, phase option and phase mapping upgrades of
// the same change.

#include <cstdint>

namespace vivo {

// The conversions TC.ini's definition records name, in the order of their names in
// kConversionDefinitions (a kind's value is its position counted from "Copy").
enum class ConversionKind : int32_t {
    kCopy = 0,
    kUpgrade10000to10001 = 1,
    kFromPexaV545 = 2,    // "ChangePexaV54500toKZV10100"
    kFromPexaV600 = 3,    // "ChangePexaV60000toKZV10100"
    kFromLumoV6 = 4,      // "ChangeLumoV60000toKZV10100"
    kFromLumoV7 = 5,      // "ChangeLumoV70000toKZV10100"
    kFromTessaroV904 = 6, // "ChangeTessaroV90400toKZV10100"
    kUpgrade10000to10200 = 7,
    kUpgrade10100to10200 = 8,
    kDowngrade10200to10100 = 9,
    kUpgrade10001to10200 = 10,
    kUpgrade10000to10201 = 11,
    kUpgrade10001to10201 = 12,
    kUpgrade10100to10201 = 13,
    kUpgrade10200to10201 = 14,
    kUpgrade10000to10100 = 15,
    kUpgrade10001to10100 = 16,
    kDowngrade10201to10200 = 17,
    kDowngrade10201to10100 = 18,
};
inline constexpr int32_t kConversionKindCount = 19;

// True for a value of one of the 19 kinds.
[[nodiscard]] constexpr bool IsKnownKind(ConversionKind kind) {
    return static_cast<int32_t>(kind) >= 0 && static_cast<int32_t>(kind) < kConversionKindCount;
}

// True for the conversions from another toolchain family.
[[nodiscard]] constexpr bool IsCrossFamilyKind(ConversionKind kind) {
    return kind >= ConversionKind::kFromPexaV545 && kind <= ConversionKind::kFromTessaroV904;
}

// The kind the last successful look-up stored; "Copy" until one has succeeded in this process.
[[nodiscard]] ConversionKind CurrentConversionKind();
void SetCurrentConversionKind(ConversionKind kind);

}  // namespace vivo
