#pragma once
// The modal report dialog of the change summary.

#include <cstdint>
#include <string>
#include <string_view>

namespace vivo::platform {

// What the caller gives the dialog besides the report: Windows shows template `templateId` of the
// current resource source (its own texts) and reads its controls back by identifier; the terminal
// dialog shows the texts, "&" marking a mnemonic.
struct ReportDialogForm {
    std::uint16_t templateId = 0;
    std::uint16_t summaryTextControl = 0;
    std::uint16_t checkBoxControl = 0;
    std::string caption;
    std::string summaryLabel;
    std::string checkBoxLabel;
    std::string okLabel;
};

struct ReportDialogOutcome {
    bool ok = false;                   // closed with OK; false: cancelled
    bool generateUpgradeFile = false;  // the check box as it was closed with OK
    std::string summaryText;           // the edit control's text as it was closed with OK
};

// Shows `summaryText` in the read-only edit control and the check box set to `generateUpgradeFile`,
// and returns when the dialog closes. On a cancel only `ok` (false) has a meaning.
// POSIX: on a terminal (standard input and standard error both terminals) the text, then the check box
// as "[x]" / "[ ]" with its label; Space toggles, Enter is OK, Escape is Cancel. Without a terminal the
// text goes to standard error and the dialog is confirmed with the check box as it stands.
[[nodiscard]] ReportDialogOutcome ShowReportDialog(const ReportDialogForm& form, std::string_view summaryText,
                                                   bool generateUpgradeFile);

}  // namespace vivo::platform
