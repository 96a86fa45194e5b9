#pragma once
// The process-wide record of a toolchain change: fixed messages, change lines, and the header.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace vivo {

class ChangeSummary {
public:
    // Appends, in order, every line not yet held (lines appended earlier in the same call count).
    void AppendUniqueLines(const std::vector<std::string>& newLines);
    // Appends a string-table identifier; the same identifier may stand several times.
    void AddSummaryMessage(uint32_t id) { messageIds_.push_back(id); }

    [[nodiscard]] const std::vector<uint32_t>& messageIds() const { return messageIds_; }
    // In order of addition, no two equal.
    [[nodiscard]] const std::vector<std::string>& lines() const { return lines_; }

    // Empties the fixed messages (a reset); the lines and the header stay.
    void ClearMessages() { messageIds_.clear(); }
    // Empties the lines (after a display).
    void ClearLines();

    std::string fromToolchainName;
    std::string fromToolchainVersion;
    std::string toToolchainVersion;
    // The report dialog's check box: kept between displays, so it shows the user's last choice.
    bool generateUpgradeFile = true;

private:
    std::vector<uint32_t> messageIds_;
    std::vector<std::string> lines_;
    std::unordered_set<std::string> held_;  // the same texts as `lines_`, for a linear-cost uniqueness test
};

// The one summary of this loaded plug-in, created empty when the library is loaded.
[[nodiscard]] ChangeSummary& Summary();

// DisplaySummaryInformation: the report dialog over the summary's report, with the texts of the
// resource library at `resourceLibraryPath` when it loads (the plug-in's own otherwise); confirmed with
// the check box ticked, the report (as the dialog gives it back) is saved as Upgrade.txt in the project
// directory; then the lines are emptied.
void DisplaySummary(ChangeSummary& summary, std::string_view projectName, std::string_view projectDirectory,
                    std::string_view resourceLibraryPath);

}  // namespace vivo
