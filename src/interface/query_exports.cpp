// Exports of the build option queries: include directories, defines, libraries, linker questions,
// and the phase option conversion with its consistency check.
#include "interface/frame.h"

using namespace vivo;

extern "C" {

VIVO_API int32_t VIVO_CALL GetIncludeFileDirectories(const char* toolName, const char* options, char* buffer,
                                                     int32_t* len) {
    return RunExport([&] {
        if (AnyNull(toolName, options, buffer, len)) return 1;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL SetIncludeFileDirectories(const char* toolName, const char* options,
                                                     const char* directoryList, char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(toolName, options, directoryList, buffer, len)) return 1;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL GetDefines(const char* toolName, const char* options, char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(toolName, options, buffer, len)) return 1;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL SetDefines(const char* toolName, const char* options, const char* defineList,
                                      char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(toolName, options, defineList, buffer, len)) return 1;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL GetLinkerMapFile(uint32_t /*ignored*/, const char* options, char* buffer,
                                            int32_t* len) {
    return RunExport([&] {
        if (AnyNull(options, buffer, len)) return 1;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL GetLinkerInformation(const VivoToolchainRecord* toolchain, uint32_t* flags,
                                                uint32_t* second) {
    return RunExport([&] {
        if (AnyNull(toolchain, flags, second)) return 1;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL IsLinkedByCommandFile(const void* reserved, const char* options, uint32_t* answer) {
    return RunExport([&] {
        if (AnyNull(reserved, options, answer)) return 1;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL IsPreprocessorScanEnabled(const void* reserved, const char* options,
                                                     uint32_t* answer) {
    return RunExport([&] {
        if (AnyNull(reserved, options, answer)) return 1;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL GetLibraryFiles(const char* options, char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(options, buffer, len)) return 1;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL SetLibraryFiles(const char* options, const char* libraryText, char* buffer,
                                           int32_t* len) {
    return RunExport([&] {
        if (AnyNull(options, libraryText, buffer, len)) return 1;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL ConvertPhaseOptions(const VivoToolchainRecord* toolchain, const char* sourceTool,
                                               const char* targetTool, const char* sourceOptions,
                                               char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(toolchain, sourceTool, targetTool, sourceOptions, buffer, len)) return 1;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL CheckOptionConsistency(const void* p1, const void* p2, const void* p3, const void* p4,
                                                  const void* p5, const void* p6, const void* p7,
                                                  const void* p8) {
    return RunExport([&] {
        if (AnyNull(p1, p2, p3, p4, p5, p6, p7, p8)) return 1;
        return 1;  // not yet
    });
}

}  // extern "C"
