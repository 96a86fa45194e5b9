#pragma once
// Conversions of a project from another toolchain family to KZ 1.01.00, one per source toolchain.
// Each builds the KZ option string of one phase from the option strings of all the old phases.

#include <string>
#include <string_view>
#include <vector>

#include "options/option_string.h"
#include "summary/change_summary.h"

namespace vivo {

// The contract every conversion step shares: `phaseName` is the KZ tool name of the phase being
// produced, `optionStrings` the option strings of every line of the host's phase options list (tool
// names removed), `result` the text the steps before produced (empty for a cross-family conversion),
// `summary` the change summary that renamed options are reported to. 0 on success, 1 on failure.
using ConversionStep = int (*)(std::string_view phaseName, const OptionLines& optionStrings,
                               std::string& result, ChangeSummary& summary);

int ChangePexaV54500toKZV10100(std::string_view phaseName, const OptionLines& optionStrings,
                               std::string& result, ChangeSummary& summary);
int ChangePexaV60000toKZV10100(std::string_view phaseName, const OptionLines& optionStrings,
                               std::string& result, ChangeSummary& summary);
int ChangeLumoV60000toKZV10100(std::string_view phaseName, const OptionLines& optionStrings,
                               std::string& result, ChangeSummary& summary);
int ChangeLumoV70000toKZV10100(std::string_view phaseName, const OptionLines& optionStrings,
                               std::string& result, ChangeSummary& summary);
int ChangeTessaroV90400toKZV10100(std::string_view phaseName, const OptionLines& optionStrings,
                                  std::string& result, ChangeSummary& summary);

}  // namespace vivo
