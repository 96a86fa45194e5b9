#pragma once
// The phase order of a changed project: the fixed KZ order for a change from another toolchain
// family, the old order otherwise.
//
//   Veltora KZ C/C++ Library Generator|SYSTEM|1      (tool name | SYSTEM | state, "1" = runs)

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "change/conversion_kind.h"
#include "options/option_string.h"
#include "summary/change_summary.h"
#include "vivo/vivo.h"

namespace vivo {

// The summary section of a list the change replaced: the heading `headingId`, a delete line per
// removed line, then an add line per added line, each line kept once. False (the summary untouched)
// when a text of the section cannot be loaded.
[[nodiscard]] bool AddReplacedListSection(uint32_t headingId, const StringList& removed, const StringList& added,
                                          ChangeSummary& summary);

// The KZ phase order (text 2015 when an old Pexa configurator ran, else 2014) for the old order of a
// cross-family change, as a newline list; hands the "PhaseOrder" section of deleted and added phases
// to `summary`. Nothing, and the summary untouched, when a line has more than three fields or a text
// is missing.
[[nodiscard]] std::optional<std::string> RewritePhaseOrder(const StringList& oldOrder, ChangeSummary& summary);

// The new phase order as a newline list for the change that `kind` names: the rewrite for the kinds
// 2 to 6, the old order unchanged for every other kind.
[[nodiscard]] std::optional<std::string> NewPhaseOrder(ConversionKind kind, const StringList& oldOrder,
                                                       ChangeSummary& summary);

// The whole phase order upgrade: looks the change up, and when a definition covers it stores the
// kind and the summary header and returns the new order. A failed look-up adds message 2008.
[[nodiscard]] std::optional<std::string> UpgradePhaseOrder(const VivoToolchainRecord* from,
                                                           const VivoToolchainRecord* to,
                                                           const StringList& oldOrder, ChangeSummary& summary);

}  // namespace vivo
