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
    void AddSummaryMessage(uint32_t id) { messageIds.push_back(id); }

    std::vector<uint32_t> messageIds;
    std::vector<std::string> lines;  // in order of addition, no two equal
    std::string fromToolchainName;
    std::string fromToolchainVersion;
    std::string toToolchainVersion;

    // Empties `lines` (after a display).
    void ClearLines();

private:
    std::unordered_set<std::string> held_;  // the same texts as `lines`, for a linear-cost uniqueness test
};

// The one summary of this loaded plug-in, created empty when the library is loaded.
[[nodiscard]] ChangeSummary& Summary();

}  // namespace vivo
