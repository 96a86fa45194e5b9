// Fuzz target: one whole toolchain change in the order the host calls the exports: eligibility,
// phase order, the old phases of one new phase, that phase's options, the phase mappings.
//
// Fields: source toolchain, source version, target toolchain, target version, phase order list,
// state list, phase list, phase name, option list ("tool|options" strings), mapping list.
// Selector bit 0 set: the change starts without CanUpgradeToolchain (the kind of the last change
// stays, as when a host skips the question).
#include "fuzz/fuzz_support.h"

using vivo::fuzz::CallGuarded;

namespace {

void Drive(vivo::fuzz::Input& in, const vivo::fuzz::Plugin& plugin) {
    const vivo::fuzz::Exports& x = plugin.exports;
    const int32_t capacity = in.capacity();
    const std::string fromName = in.Text(), fromVersion = in.Text();
    const std::string toName = in.Text(), toVersion = in.Text();
    const std::string order = in.List(), states = in.List(), phases = in.List();
    const std::string phaseName = in.Text();
    const std::string optionList = in.List(), mappings = in.List();
    const VivoToolchainRecord from = vivo::fuzz::Record(fromName, fromVersion);
    const VivoToolchainRecord to = vivo::fuzz::Record(toName, toVersion);
    const int reserved = 0;

    if ((in.selector() & 1) == 0) (void)x.CanUpgradeToolchain(&from, &to);
    (void)x.ResetSummaryInformation();
    CallGuarded(capacity, "UpgradePhaseOrder",
                [&](char* b, int32_t* l) { return x.UpgradePhaseOrder(&from, &to, order.data(), b, l); });
    CallGuarded(capacity, "UpgradePhases", [&](char* b, int32_t* l) {
        return x.UpgradePhases(&reserved, &reserved, states.data(), phases.data(), phaseName.c_str(), b, l);
    });
    CallGuarded(capacity, "UpgradePhaseOptions", [&](char* b, int32_t* l) {
        return x.UpgradePhaseOptions(&from, &to, phaseName.c_str(), 0, optionList.data(), b, l);
    });
    CallGuarded(capacity, "UpgradePhaseMappings",
                [&](char* b, int32_t* l) { return x.UpgradePhaseMappings(&reserved, 0, mappings.data(), b, l); });
    (void)x.CheckOptionConsistency(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace

VIVO_FUZZ_TARGET("toolchain_change", Drive)
