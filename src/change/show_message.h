#pragma once
// Message boxes with a string-table text, owned by the window that has the keyboard focus.

#include <cstdint>
#include <string_view>

namespace vivo {

// How ShowMessage chooses the caption.
inline constexpr int kMessageApplication = 0;  // the application's standard box and caption
inline constexpr int kMessageWarning = 2;      // caption "WARNING"
inline constexpr int kMessageError = 3;        // caption "ERROR"

// Loads string `stringId` from the current resource source and shows it with `style`; any mode other
// than the three above uses `caption`. A string that cannot be loaded is shown as empty text.
// Returns the button pressed.
int ShowMessage(int mode, uint32_t stringId, unsigned style, std::string_view caption);

}  // namespace vivo
