#include "summary/summary_dialog.h"

#include "options/text_file.h"
#include "platform/file_system.h"
#include "platform/report_dialog.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"
#include "summary/change_summary.h"

namespace vivo {
namespace {

// A text that the current resource source lacks counts as empty.
std::string Text(std::uint32_t id) { return LoadString(id).value_or(std::string()); }

}  // namespace


void SummaryDialog::DoModal(const ChangeSummary& summary) {
    OnInitDialog(summary);
    platform::ReportDialogOutcome outcome = platform::ShowReportDialog(summaryText, generateUpgradeFile);
    if (outcome.ok)
        OnOK(std::move(outcome.summaryText), outcome.generateUpgradeFile);
    else
        OnCancel();
}

void SummaryDialog::OnInitDialog(const ChangeSummary& summary) {
    summaryText = FormatText(Text(text::kProjectNameLine), {projectName});
    const std::string targetName = Text(text::kToolchainName);
    summaryText += FormatText(Text(text::kUpgradedToBlock), {summary.fromToolchainName, summary.fromToolchainVersion,
                                                      targetName, summary.toToolchainVersion});
    for (std::uint32_t id : messageIds) summaryText += Text(id);
    for (const std::string& line : lines) summaryText += line;
}

void SummaryDialog::OnOK(std::string editText, bool checked) {
    summaryText = std::move(editText);
    generateUpgradeFile = checked;
    if (!generateUpgradeFile) return;
    // Plain concatenation: a directory ending in "\" gives "\\Upgrade.txt", the same folder.
    const std::string path = projectDirectory + std::string(kUpgradeFileSuffix);
    (void)WriteTextFile(path, summaryText, platform::kAttributeArchive);
}

}  // namespace vivo
