// Exports for the host's editor and build window: keyword groups and build output lines.
#include "interface/frame.h"

using namespace vivo;

extern "C" {

VIVO_API int32_t VIVO_CALL GetSyntaxColouringInformation(const char* name, char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(name, buffer, len)) return 1;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL GetSyntaxColouringVersion(uint32_t* version) {
    return RunExport([&] {
        if (AnyNull(version)) return 1;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL GetMakefileOutputLineInfo(const char* line, uint32_t* recognised, uint32_t* errors,
                                                     uint32_t* warnings, uint32_t* fatalErrors, char* buffer,
                                                     int32_t* len, uint32_t* messageFlag) {
    return RunExport([&] {
        (void)line, (void)recognised, (void)errors, (void)warnings, (void)fatalErrors;
        (void)buffer, (void)len, (void)messageFlag;
        return 1;  // not yet
    });
}

}  // extern "C"
