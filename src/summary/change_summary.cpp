#include "summary/change_summary.h"

#include "platform/report_dialog.h"
#include "platform/resource_library.h"
#include "resources/report_dialog.h"
#include "resources/string_table.h"
#include "summary/summary_report.h"

namespace vivo {
namespace {

namespace res = vivo::resources;

// The report dialog's template and its texts from the current resource source.
platform::ReportDialogForm ReportDialogForm() {
    platform::ReportDialogForm form;
    form.templateId = res::kReportDialogId;
    form.summaryTextControl = res::kControlSummaryText;
    form.checkBoxControl = res::kControlGenerateUpgradeFile;
    form.caption = LoadReportDialogText(res::kControlCaption);
    form.summaryLabel = LoadReportDialogText(res::kControlSummaryLabel);
    form.checkBoxLabel = LoadReportDialogText(res::kControlGenerateUpgradeFile);
    form.okLabel = LoadReportDialogText(res::kControlOk);
    return form;
}

}  // namespace

void ChangeSummary::AppendUniqueLines(const std::vector<std::string>& newLines) {
    for (const std::string& line : newLines)
        if (held_.insert(line).second) lines_.push_back(line);
}

void ChangeSummary::ClearLines() {
    lines_.clear();
    held_.clear();
}

ChangeSummary& Summary() {
    static ChangeSummary summary;
    return summary;
}

void DisplaySummary(ChangeSummary& summary, std::string_view projectName, std::string_view projectDirectory,
                    std::string_view resourceLibraryPath) {
    const ResourceScope resources(resourceLibraryPath);
    const platform::ReportDialogOutcome outcome = platform::ShowReportDialog(
        ReportDialogForm(), SummaryReportText(summary, projectName), summary.generateUpgradeFile);
    // Cancel reads nothing back and writes nothing; whatever the write gives, the display is done.
    if (outcome.ok) {
        summary.generateUpgradeFile = outcome.generateUpgradeFile;
        if (summary.generateUpgradeFile) (void)SaveUpgradeFile(projectDirectory, outcome.summaryText);
    }
    summary.ClearLines();
}

}  // namespace vivo
