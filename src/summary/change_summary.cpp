#include "summary/change_summary.h"

namespace vivo {

void ChangeSummary::AppendUniqueLines(const std::vector<std::string>& newLines) {
    for (const std::string& line : newLines)
        if (held_.insert(line).second) lines.push_back(line);
}

void ChangeSummary::ClearLines() {
    lines.clear();
    held_.clear();
}

ChangeSummary& Summary() {
    static ChangeSummary summary;
    return summary;
}

}  // namespace vivo
