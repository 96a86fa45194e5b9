// Exports of the linker memory layout: areas, their addresses and sections, and the new placement.
#include "interface/frame.h"

using namespace vivo;

extern "C" {

VIVO_API int32_t VIVO_CALL GetNoOfMemoryAreas(uint32_t /*ignored*/, const char* options, uint32_t* count) {
    return RunExport([&] {
        if (AnyNull(options, count)) return 1;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL GetAddressRanges(uint32_t /*ignored*/, const char* options, int32_t areaNumber,
                                            char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(options, buffer, len)) return 1;
        (void)areaNumber;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL GetSections(const void* reserved, const char* options, int32_t areaNumber,
                                       char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(reserved, options, buffer, len)) return 1;
        (void)areaNumber;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL UpdateLinkerSections(const void* reserved, const char* options,
                                                const VivoMemoryArea* const* areas, char* buffer,
                                                int32_t* len) {
    return RunExport([&] {
        if (AnyNull(reserved, options, areas, buffer, len)) return 1;
        return 1;  // not yet
    });
}

}  // extern "C"
