// Exports of the toolchain change: eligibility, phase order, phase list, phase options, mappings.
#include "interface/frame.h"

using namespace vivo;

extern "C" {

VIVO_API int32_t VIVO_CALL CanUpgradeToolchain(const VivoToolchainRecord* from, const VivoToolchainRecord* to) {
    return RunExport([&] {
        (void)from;
        (void)to;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL UpgradePhaseOrder(const VivoToolchainRecord* from, const VivoToolchainRecord* to,
                                             const char* phaseOrderList, char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(from, to, phaseOrderList, buffer, len)) return 1;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL UpgradePhases(const void* reserved1, const void* reserved2, const char* stateList,
                                         const char* phaseList, const char* phaseName, char* buffer,
                                         int32_t* len) {
    return RunExport([&] {
        if (AnyNull(reserved1, reserved2, stateList, phaseList, phaseName, buffer, len)) return 1;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL UpgradePhaseOptions(const VivoToolchainRecord* from, const VivoToolchainRecord* to,
                                               const char* phaseName, uint32_t /*ignored*/,
                                               const char* optionList, char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(from, to, phaseName, optionList, buffer, len)) return 1;
        return 1;  // not yet
    });
}

VIVO_API int32_t VIVO_CALL UpgradePhaseMappings(const void* reserved, uint32_t /*ignored*/,
                                                const char* mappingList, char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(reserved, mappingList, buffer, len)) return 1;
        return 1;  // not yet
    });
}

}  // extern "C"
