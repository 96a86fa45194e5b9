#include "summary/summary_report.h"

#include "options/text_file.h"
#include "platform/file_system.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"
#include "summary/change_summary.h"

namespace vivo {
namespace {

// A text that the current resource source lacks counts as empty.
std::string Text(std::uint32_t id) { return LoadString(id).value_or(std::string()); }

}  // namespace

std::string SummaryReportText(const ChangeSummary& summary, std::string_view projectName) {
    std::string report = FormatText(Text(text::kProjectNameLine), {projectName});
    report += FormatText(Text(text::kUpgradedToBlock), {summary.fromToolchainName, summary.fromToolchainVersion,
                                                        Text(text::kToolchainName), summary.toToolchainVersion});
    for (std::uint32_t id : summary.messageIds()) report += Text(id);
    for (const std::string& line : summary.lines()) report += line;
    return report;
}

int SaveUpgradeFile(std::string_view projectDirectory, std::string_view report) {
    std::string path(projectDirectory);
    path += kUpgradeFileSuffix;
    return WriteTextFile(path, report, platform::kAttributeArchive);
}

}  // namespace vivo
