// Exports of the toolchain change: eligibility, phase order, phase list, phase options, mappings.
#include <cstring>

#include "change/conversion_definitions.h"
#include "change/conversion_kind.h"
#include "change/option_upgrade.h"
#include "change/phase_list.h"
#include "change/phase_mapping.h"
#include "change/phase_order.h"
#include "interface/frame.h"
#include "summary/change_summary.h"

using namespace vivo;

namespace {

class UpgradeEligibility final : public Handler {
public:
    int32_t Check(const VivoToolchainRecord* from, const VivoToolchainRecord* to) {
        return vivo::CanUpgradeToolchain(from, to, Summary());
    }
};

class PhaseOrderUpgrade final : public Handler {
public:
    std::optional<std::string> Upgrade(const VivoToolchainRecord* from, const VivoToolchainRecord* to,
                                       const char* phaseOrderList) {
        return vivo::UpgradePhaseOrder(from, to, ReadNulList(phaseOrderList), Summary());
    }
};

class PhaseListUpgrade final : public Handler {
public:
    std::optional<PhaseAnswer> Upgrade(const char* stateList, const char* phaseList, const char* phaseName) {
        return OldPhasesOf(CurrentConversionKind(), ReadNulList(stateList), ReadNulList(phaseList), phaseName);
    }
};

class PhaseOptionsUpgrade final : public Handler {
public:
    std::optional<std::string> Upgrade(const char* phaseName, const char* optionList) {
        OptionLines lines;  // views: the caller's list outlives the call, and may be very large
        ReadNulList(optionList, lines);
        return vivo::UpgradePhaseOptions(CurrentConversionKind(), phaseName, lines, Summary());
    }
};

class PhaseMappingUpgrade final : public Handler {
public:
    struct Result {
        Protocol protocol;
        std::string text;
    };
    // The KZ mappings of a cross-family change; for every other kind the old list, byte for byte
    // with its final NUL.
    std::optional<Result> Upgrade(const char* mappingList) {
        if (!IsCrossFamilyKind(CurrentConversionKind()))
            return Result{Protocol::kRawText, std::string(mappingList, NulListSize(mappingList))};
        std::optional<std::string> mappings = RewritePhaseMappings(ReadNulList(mappingList), Summary());
        if (!mappings) return std::nullopt;
        return Result{Protocol::kNewlineList, std::move(*mappings)};
    }
};

}  // namespace

extern "C" {

VIVO_API int32_t VIVO_CALL CanUpgradeToolchain(const VivoToolchainRecord* from, const VivoToolchainRecord* to) {
    return RunExport([&] { return UpgradeEligibility().Check(from, to); });
}

VIVO_API int32_t VIVO_CALL UpgradePhaseOrder(const VivoToolchainRecord* from, const VivoToolchainRecord* to,
                                             const char* phaseOrderList, char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(from, to, phaseOrderList, buffer, len)) return 1;
        return Deliver(Protocol::kNewlineList, PhaseOrderUpgrade().Upgrade(from, to, phaseOrderList), buffer, len);
    });
}

VIVO_API int32_t VIVO_CALL UpgradePhases(const void* reserved1, const void* reserved2, const char* stateList,
                                         const char* phaseList, const char* phaseName, char* buffer,
                                         int32_t* len) {
    return RunExport([&] {
        if (AnyNull(reserved1, reserved2, stateList, phaseList, phaseName, buffer, len)) return 1;
        const std::optional<PhaseAnswer> answer = PhaseListUpgrade().Upgrade(stateList, phaseList, phaseName);
        if (!answer) return 1;
        return Deliver(answer->isName ? Protocol::kTerminatedText : Protocol::kNewlineList, answer->text, buffer,
                       len);
    });
}

VIVO_API int32_t VIVO_CALL UpgradePhaseOptions(const VivoToolchainRecord* from, const VivoToolchainRecord* to,
                                               const char* phaseName, uint32_t /*ignored*/,
                                               const char* optionList, char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(from, to, phaseName, optionList, buffer, len)) return 1;
        return Deliver(Protocol::kTerminatedText, PhaseOptionsUpgrade().Upgrade(phaseName, optionList), buffer,
                       len);
    });
}

VIVO_API int32_t VIVO_CALL UpgradePhaseMappings(const void* reserved, uint32_t /*ignored*/,
                                                const char* mappingList, char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(reserved, mappingList, buffer, len)) return 1;
        const auto mappings = PhaseMappingUpgrade().Upgrade(mappingList);
        if (!mappings) return 1;
        return Deliver(mappings->protocol, mappings->text, buffer, len);
    });
}

}  // extern "C"
