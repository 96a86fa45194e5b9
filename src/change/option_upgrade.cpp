#include "change/option_upgrade.h"

#include <array>

#include "change/conversion_definitions.h"
#include "change/cross_family.h"
#include "options/tool_names.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"

namespace vivo {
namespace {

// "Copy": the one line's option string as it is.
int CopySingleLine(std::string_view, const OptionLines& options, std::string& result, ChangeSummary&) {
    if (options.size() != 1) return 1;
    result = options.front();
    return 0;
}

// One entry of a kind's run: an in-family step, a conversion, or two notes for the summary.
using ContextStep = int (ConversionContext::*)(std::string_view, const OptionLines&, std::string&) const;
struct Action {
    ContextStep step = nullptr;
    ConversionStep conversion = nullptr;
    uint32_t firstNote = 0;
    uint32_t secondNote = 0;
};
constexpr Action Run(ContextStep step) { return {step, nullptr, 0, 0}; }
constexpr Action Run(ConversionStep conversion) { return {nullptr, conversion, 0, 0}; }
constexpr Action Notes(uint32_t first, uint32_t second) { return {nullptr, nullptr, first, second}; }

using C = ConversionContext;
constexpr Action k10000to10001 = Run(&C::Upgrade10000to10001);
constexpr Action k10001to10100 = Run(&C::Upgrade10001to10100);
constexpr Action k10100to10200 = Run(&C::Upgrade10100to10200);
constexpr Action k10200to10201 = Run(&C::Upgrade10200to10201);
constexpr Action k10201to10200 = Run(&C::Downgrade10201to10200);
constexpr Action k10200to10100 = Run(&C::Downgrade10200to10100);
constexpr Action kSectionNotes = Notes(text::kPhaseOptionsHeading, text::kSectionNote);
constexpr Action kEndianNotes = Notes(text::kPhaseOptionsHeading, text::kEndianNote);
constexpr Action kMisraNotes = Notes(text::kPhaseOptionsHeading, text::kMisraRequiredRemoveNote);

// What each kind runs, in order; the row's position is its kind.
using Actions = std::array<Action, 5>;
constexpr std::array<Actions, 19> kDispatch = {{
    {Run(&CopySingleLine)},                                                     //  0 Copy
    {k10000to10001},                                                            //  1
    {Run(&ChangePexaV54500toKZV10100)},                                         //  2
    {Run(&ChangePexaV60000toKZV10100)},                                         //  3
    {kEndianNotes, Run(&ChangeLumoV60000toKZV10100)},                           //  4
    {kEndianNotes, Run(&ChangeLumoV70000toKZV10100)},                           //  5
    {kEndianNotes, Run(&ChangeTessaroV90400toKZV10100)},                        //  6
    {k10000to10001, k10001to10100, kSectionNotes, k10100to10200},               //  7
    {k10100to10200},                                                            //  8
    {k10200to10100},                                                            //  9
    {k10001to10100, kSectionNotes, k10100to10200},                              // 10
    {k10000to10001, k10001to10100, kSectionNotes, k10100to10200, k10200to10201},  // 11
    {k10001to10100, kSectionNotes, k10100to10200, k10200to10201},               // 12
    {k10100to10200, k10200to10201},                                             // 13
    {k10200to10201, kMisraNotes},                                               // 14
    {k10000to10001, k10001to10100, kSectionNotes},                              // 15
    {k10001to10100, kSectionNotes},                                             // 16
    {k10201to10200},                                                            // 17
    {k10201to10200, k10200to10100},                                             // 18
}};
static_assert(kDispatch.size() == kConversionKindCount, "one run per conversion kind");

}  // namespace

std::optional<std::string> UpgradePhaseOptions(ConversionKind kind, std::string_view phaseName,
                                               const OptionLines& lines, ChangeSummary& summary) {
    ConversionContext context;
    if (!context.PreScan(lines)) return std::nullopt;
    std::string result;
    if (!IsKnownKind(kind)) return result;

    StringList pendingNotes;
    for (const Action& action : kDispatch[static_cast<std::size_t>(kind)]) {
        if (action.step != nullptr) {
            if ((context.*action.step)(phaseName, context.optionStrings, result) != 0) return std::nullopt;
        } else if (action.conversion != nullptr) {
            if (action.conversion(phaseName, context.optionStrings, result, summary) != 0) return std::nullopt;
        } else if (action.firstNote != 0) {
            for (uint32_t id : {action.firstNote, action.secondNote}) {
                std::optional<std::string> note = LoadString(id);
                if (!note) return std::nullopt;
                pendingNotes.push_back(std::move(*note));
            }
            summary.AppendUniqueLines(pendingNotes);
        }
    }
    return result;
}

}  // namespace vivo
