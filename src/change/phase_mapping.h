#pragma once
// The phase mappings of a changed project: which phase consumes which file type another produces.
//
//   Veltora KZ Assembler|Object file|Veltora Bindex       (producer | file type | consumer)

#include <cstdint>
#include <optional>
#include <string>

#include "options/option_string.h"
#include "summary/change_summary.h"

namespace vivo {

// The fixed KZ mappings (text 2016) that replace the old ones of a cross-family change, as a newline
// list; hands the "PhaseMapping" section (every old line deleted, every new one added) to `summary`.
// Nothing, and the summary untouched, when a text is missing.
[[nodiscard]] std::optional<std::string> RewritePhaseMappings(const StringList& oldMappings, ChangeSummary& summary);

}  // namespace vivo
