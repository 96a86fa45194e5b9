#pragma once
// The process-wide record of a toolchain change: fixed messages, change lines, and the header.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "summary/summary_dialog.h"

namespace vivo {

class ChangeSummary {
public:
    // Appends, in order, every line not yet held (lines appended earlier in the same call count).
    void AppendUniqueLines(const std::vector<std::string>& newLines);
    // Appends a string-table identifier; the same identifier may stand several times.
    void AddSummaryMessage(uint32_t id) { messageIds.push_back(id); }

    std::vector<uint32_t> messageIds;
    std::vector<std::string> lines;  // in order of addition, no two equal
    std::string fromToolchainName;
    std::string fromToolchainVersion;
    std::string toToolchainVersion;
    // Not created anew for each display: its check box keeps the user's last choice.
    SummaryDialog dialog;

    // Empties `lines` (after a display).
    void ClearLines();

private:
    std::unordered_set<std::string> held_;  // the same texts as `lines`, for a linear-cost uniqueness test
};

// The one summary of this loaded plug-in, created empty when the library is loaded.
[[nodiscard]] ChangeSummary& Summary();

// ResetSummaryInformation: empties the fixed messages; the lines and the header stay.
void ResetSummary(ChangeSummary& summary);

// DisplaySummaryInformation: the report dialog over copies of the messages and the lines, with the
// texts of the resource library at `resourceLibraryPath` when it loads (the plug-in's own otherwise);
// then the lines are emptied.
void DisplaySummary(ChangeSummary& summary, std::string_view projectName, std::string_view projectDirectory,
                    std::string_view resourceLibraryPath);

}  // namespace vivo
