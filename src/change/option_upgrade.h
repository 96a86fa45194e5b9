#pragma once
// The option upgrade: converts the option string of one phase for the change under way.
//
//   Veltora KZ C/C++ Compiler|[V|VERSION|1] [S|CPU|KZ600] [B|MAP|1]      (one line of the host's list)

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "change/conversion_kind.h"
#include "change/version_steps.h"
#include "options/option_string.h"
#include "summary/change_summary.h"

namespace vivo {

// The converted option string of `phaseName`, by the conversion that `kind` names over the host's phase
// options lines: pre-scan of all lines, then the steps and notes of `kind` in order (any kind outside 0
// to 18 does nothing and gives the empty text). Notes go to `summary`. Nothing when a line has no bar, a
// step or conversion fails, or a note is missing.
[[nodiscard]] std::optional<std::string> UpgradePhaseOptions(ConversionKind kind, std::string_view phaseName,
                                                             const OptionLines& lines, ChangeSummary& summary);

}  // namespace vivo
