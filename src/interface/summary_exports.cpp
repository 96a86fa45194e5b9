// Exports of the change summary: reset and display.
#include "interface/frame.h"
#include "platform/module_path.h"
#include "platform/resource_library.h"
#include "summary/change_summary.h"

using namespace vivo;

namespace {

class SummaryResetHandler final : public Handler {
public:
    int32_t Reset() const {
        Summary().ClearMessages();
        return 0;
    }
};

class SummaryDisplayHandler final : public Handler {
public:
    // Whatever the dialog or the file writing did, the display succeeded.
    int32_t Display(const char* projectName, const char* projectDirectory) const {
        DisplaySummary(Summary(), projectName != nullptr ? projectName : "",
                       projectDirectory != nullptr ? projectDirectory : "",
                       platform::PluginFilePath(platform::ResourceLibraryFileName(false)));
        return 0;
    }
};

}  // namespace

extern "C" {

VIVO_API int32_t VIVO_CALL ResetSummaryInformation(void) {
    return RunExport([&] { return SummaryResetHandler().Reset(); });
}

VIVO_API int32_t VIVO_CALL DisplaySummaryInformation(const char* projectName, const char* projectDirectory) {
    return RunExport([&] { return SummaryDisplayHandler().Display(projectName, projectDirectory); });
}

}  // extern "C"
