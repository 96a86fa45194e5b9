#pragma once
// The error message box of the toolchain change, with a string-table text, owned by the window that has
// the keyboard focus.

#include <cstdint>

namespace vivo {

// Loads string `stringId` from the current resource source and shows it under the caption "ERROR"
// with `style`; a string that cannot be loaded is shown as empty text. Returns the button pressed.
int ShowErrorMessage(uint32_t stringId, unsigned style);

}  // namespace vivo
