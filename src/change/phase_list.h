#pragma once
// Which phases of the project before a change supply the settings of one phase after it.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "change/conversion_kind.h"
#include "options/option_string.h"

namespace vivo {

// An answer of the phase list upgrade: a newline list of old phase names, or the phase name itself
// (delivered as terminated text).
struct PhaseAnswer {
    bool isName = false;
    std::string text;
};

// The Pexa V5.45 linker, librarian and S-type converter each get a digit from the state list: 0 no
// line, 1 state "0", 2 any other state. The code 9 * linker + 3 * librarian + converter selects which
// of them supply the KZ linker's settings.
struct LinkerDecision {
    bool linker;
    bool librarian;
    bool converter;
};
inline constexpr std::array<LinkerDecision, 27> kPexaV545LinkerDecisions = {{
    //  linker librarian converter     code: linker librarian converter digits
    {false, false, false},  //  0: - - -
    {false, false, true},   //  1: - - 0
    {false, false, true},   //  2: - - x
    {false, true, false},   //  3: - 0 -
    {false, true, false},   //  4: - 0 0
    {false, false, true},   //  5: - 0 x
    {false, true, false},   //  6: - x -
    {false, true, false},   //  7: - x 0
    {false, true, false},   //  8: - x x
    {true, false, false},   //  9: 0 - -
    {true, false, true},    // 10: 0 - 0
    {false, false, true},   // 11: 0 - x
    {true, false, false},   // 12: 0 0 -
    {true, false, true},    // 13: 0 0 0
    {false, false, true},   // 14: 0 0 x
    {false, true, false},   // 15: 0 x -
    {false, true, false},   // 16: 0 x 0
    {false, true, false},   // 17: 0 x x
    {true, false, false},   // 18: x - -
    {true, false, false},   // 19: x - 0
    {true, false, true},    // 20: x - x
    {true, false, false},   // 21: x 0 -
    {true, false, false},   // 22: x 0 0
    {true, false, true},    // 23: x 0 x
    {true, false, false},   // 24: x x -
    {true, false, false},   // 25: x x 0
    {true, false, true},    // 26: x x x
}};

// The old phases for the KZ linker of a Pexa V5.45 project, from its state list ("tool|state|...");
// nothing when a line has fewer than two fields.
[[nodiscard]] std::optional<StringList> PexaV545LinkerPhases(const StringList& stateList);

// The answer for `phaseName` in the change that `kind` names. `stateList` and `phaseList` are the
// host's lists; nothing when the state list is malformed where it is read.
[[nodiscard]] std::optional<PhaseAnswer> OldPhasesOf(ConversionKind kind, const StringList& stateList,
                                                     const StringList& phaseList, std::string_view phaseName);

}  // namespace vivo
