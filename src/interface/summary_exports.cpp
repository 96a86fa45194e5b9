// Exports of the change summary: reset and display.
#include "interface/frame.h"

using namespace vivo;

extern "C" {

VIVO_API int32_t VIVO_CALL ResetSummaryInformation(void) {
    return RunExport([&] {
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL DisplaySummaryInformation(const char* projectName, const char* projectDirectory) {
    return RunExport([&] {
        (void)projectName;
        (void)projectDirectory;
        return 1;  // not yet
    });
}

}  // extern "C"
