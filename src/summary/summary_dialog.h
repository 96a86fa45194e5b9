#pragma once
// The report dialog of the change summary: what it shows, and what OK and Cancel do.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vivo {

class ChangeSummary;


// The file the report is saved as, in the project directory.
inline constexpr std::string_view kUpgradeFileSuffix = "\\Upgrade.txt";

// Lives as long as its summary, so the check box keeps the user's last choice between displays.
class SummaryDialog {
public:
    std::string summaryText;
    bool generateUpgradeFile = true;
    std::string projectName;
    std::string projectDirectory;
    std::vector<std::uint32_t> messageIds;  // copy of the summary's, taken when shown
    std::vector<std::string> lines;         // copy of the summary's, taken when shown

    // Shows the dialog modally through the platform and waits until it closes.
    void DoModal(const ChangeSummary& summary);

    // Dialog initialisation: the report from the summary's header, the messages and the lines.
    void OnInitDialog(const ChangeSummary& summary);
    // OK: takes the edit control and the check box back; with the box ticked the report is saved as
    // projectDirectory + "\Upgrade.txt" (whatever that write gives, the dialog closes).
    void OnOK(std::string editText, bool checked);
    // Cancel: nothing read, nothing written.
    void OnCancel() {}
};


}  // namespace vivo
