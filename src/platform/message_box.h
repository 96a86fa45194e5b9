#pragma once
// Modal message boxes owned by the window that has the keyboard focus.

#include <string_view>

namespace vivo::platform {

// Message-box styles and answers as the Windows user interface numbers them.
inline constexpr unsigned kMessageBoxOk = 0x00;
inline constexpr unsigned kMessageBoxIconError = 0x10;
inline constexpr unsigned kMessageBoxIconWarning = 0x30;
inline constexpr unsigned kMessageBoxIconInformation = 0x40;
inline constexpr int kAnswerOk = 1;  // IDOK

// Shows `text` under `caption` with the given style and returns the button pressed.
// POSIX: caption and text go to standard error and the answer is kAnswerOk at once.
int ShowMessageBox(std::string_view text, std::string_view caption, unsigned style);

}  // namespace vivo::platform
