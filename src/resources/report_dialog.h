#pragma once
// The report dialog of the change summary (template 157): geometry in dialog units, control
// identifiers and English texts. The one description of the dialog that the terminal dialog, the
// resource libraries and the Windows resource script share.

#include <array>
#include <cstdint>
#include <string_view>

namespace vivo::resources {

inline constexpr std::uint16_t kReportDialogId = 157;

// Control identifiers.
inline constexpr std::uint16_t kControlOk = 1;  // IDOK
inline constexpr std::uint16_t kControlSummaryText = 1137;
inline constexpr std::uint16_t kControlSummaryLabel = 1138;
inline constexpr std::uint16_t kControlGenerateUpgradeFile = 1081;
// Stands for the dialog's own caption where texts are listed per control.
inline constexpr std::uint16_t kControlCaption = 0;

struct DialogFrame {
    std::uint16_t id;
    std::int16_t width, height;
    std::string_view caption;
    std::string_view fontName;
    std::int16_t fontPoints;
};

// Popup, caption, modal frame, no system menu; extended style with the context-help button.
inline constexpr DialogFrame kReportDialog{kReportDialogId, 257, 217, "Change Toolchain Version Summary",
                                           "MS Sans Serif", 8};

enum class ControlKind : std::uint8_t {
    kDefaultPushButton,  // tab stop
    kStaticText,         // left aligned, group
    kReadOnlyEdit,       // multi-line, read-only, auto vertical scroll, want return, border, both scroll bars, tab stop
    kAutoCheckBox,       // tab stop
};

struct DialogControl {
    std::uint16_t id;
    std::string_view text;  // "&" marks the mnemonic; the edit control has none
    std::int16_t x, y, width, height;
    ControlKind kind;
};

// The controls of template 157, in the template's order.
inline constexpr std::array kReportDialogControls = {
    //           identifier                   text, then x, y, width, height and kind
    DialogControl{kControlOk,                  "OK",
                  102, 196, 50, 14,  ControlKind::kDefaultPushButton},
    DialogControl{kControlSummaryLabel,        "&Summary :",
                  10,  10,  40, 8,   ControlKind::kStaticText},
    DialogControl{kControlSummaryText,         "",
                  10,  20,  235, 140, ControlKind::kReadOnlyEdit},
    DialogControl{kControlGenerateUpgradeFile, "&Generate Upgrade.txt as a summary file in the project directory",
                  7,   168, 232, 20,  ControlKind::kAutoCheckBox},
};
static_assert(kReportDialogControls.size() == 4, "template 157 has four controls");

// The English text of control `id` of template 157 (kControlCaption: the caption); empty for others.
[[nodiscard]] constexpr std::string_view ReportDialogText(std::uint16_t id) {
    if (id == kControlCaption) return kReportDialog.caption;
    for (const DialogControl& control : kReportDialogControls)
        if (control.id == id) return control.text;
    return {};
}

// A POSIX resource library has no dialog templates: it gives the texts of a dialog through its string
// look-up, under identifiers above the 16-bit range of string-table identifiers.
[[nodiscard]] constexpr std::uint32_t DialogTextId(std::uint16_t dialog, std::uint16_t control) {
    return (std::uint32_t{dialog} << 16) | control;
}

// The controls whose texts a resource library may localise, caption first.
inline constexpr std::array kReportDialogTextControls = {kControlCaption, kControlOk, kControlSummaryLabel,
                                                        kControlGenerateUpgradeFile};

}  // namespace vivo::resources
