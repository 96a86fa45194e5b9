#include "summary/change_summary.h"

#include "platform/resource_library.h"

namespace vivo {
namespace {

// A resource library made the source of texts and dialogs for one call, then released.
class BorrowedResources {
public:
    explicit BorrowedResources(std::string_view path) : library_(platform::LoadResourceLibrary(path)) {
        if (library_ != nullptr) previous_ = platform::SwapResourceSource(library_);
    }
    ~BorrowedResources() {
        if (library_ == nullptr) return;
        platform::SwapResourceSource(previous_);
        platform::FreeResourceLibrary(library_);
    }
    BorrowedResources(const BorrowedResources&) = delete;
    BorrowedResources& operator=(const BorrowedResources&) = delete;

private:
    platform::ResourceLibrary* library_;
    platform::ResourceLibrary* previous_ = nullptr;
};

}  // namespace

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

void ResetSummary(ChangeSummary& summary) { summary.messageIds.clear(); }

void DisplaySummary(ChangeSummary& summary, std::string_view projectName, std::string_view projectDirectory,
                    std::string_view resourceLibraryPath) {
    BorrowedResources resources(resourceLibraryPath);
    SummaryDialog& dialog = summary.dialog;
    dialog.messageIds = summary.messageIds;
    dialog.lines = summary.lines;
    dialog.projectName = projectName;
    dialog.projectDirectory = projectDirectory;
    dialog.DoModal(summary);
    summary.ClearLines();
}

}  // namespace vivo
