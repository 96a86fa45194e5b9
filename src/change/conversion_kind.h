#pragma once
// The conversion kind of the toolchain change under way: written by the phase order upgrade when its
// look-up succeeds, read by the phase list, phase option and phase mapping upgrades of the same change.

#include <cstdint>

namespace vivo {

// The kind the last successful look-up stored; 0 ("Copy") until one has succeeded in this process.
[[nodiscard]] int32_t ConversionKind();
void SetConversionKind(int32_t kind);

}  // namespace vivo
