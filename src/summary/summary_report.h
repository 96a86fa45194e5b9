#pragma once
// The text of the change summary's report, and its saving as Upgrade.txt.

#include <string>
#include <string_view>

namespace vivo {

class ChangeSummary;

// The file the report is saved as, in the project directory.
inline constexpr std::string_view kUpgradeFileSuffix = "\\Upgrade.txt";

// The report from the current resource source's texts: the project name line, the block that names
// the source toolchain and the version it was upgraded to, the fixed messages, then the lines.
[[nodiscard]] std::string SummaryReportText(const ChangeSummary& summary, std::string_view projectName);

// Saves `report` as projectDirectory + "\Upgrade.txt" in text mode with the archive attribute, by plain
// concatenation (a directory ending in "\" gives "\\Upgrade.txt", the same folder); WriteTextFile's result.
int SaveUpgradeFile(std::string_view projectDirectory, std::string_view report);

}  // namespace vivo
