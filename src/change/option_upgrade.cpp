#include "change/option_upgrade.h"

#include <array>

#include "change/conversion_definitions.h"
#include "change/cross_family.h"
#include "options/tool_names.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"

namespace vivo {
namespace {

constexpr std::string_view kMapItem = "[B|MAP|1]";
constexpr std::string_view kEndianBigItem = "[S|ENDIAN|BIG]";
constexpr std::string_view kEndianLittleItem = "[S|ENDIAN|LITTLE]";

// Notes of the summary.

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// "Copy": the one line's option string as it is.
int CopySingleLine(std::string_view, const StringList& options, std::string& result, ChangeSummary&) {
    if (options.size() != 1) return 1;
    result = options.front();
    return 0;
}

// One entry of a kind's run: an in-family step, a conversion, or two notes for the summary.
using ContextStep = int (ConversionContext::*)(std::string_view, const StringList&, std::string&) const;
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

bool ConversionContext::PreScan(const StringList& lines) {
    auto updateEndian = [this](std::string_view options) {
        if (Contains(options, kEndianBigItem))
            endianState = (endianState == kEndianNone || endianState == kEndianBig) ? kEndianBig : kEndianMixed;
        else if (Contains(options, kEndianLittleItem))
            endianState =
                (endianState == kEndianNone || endianState == kEndianLittle) ? kEndianLittle : kEndianMixed;
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::size_t bar = line.find('|');
        if (bar == std::string::npos) return false;
        const int32_t position = static_cast<int32_t>(i);
        toolNames.push_back(line.substr(0, bar));
        optionStrings.push_back(line.substr(bar + 1));
        const std::string& options = optionStrings.back();
        currentTool = ToolIdOfName(toolNames.back());
        switch (currentTool) {
            case kToolCompiler:
                compilerLine = position;
                updateEndian(options);
                compilerMapFlag = Contains(options, kMapItem) ? 1 : 0;
                break;
            case kToolAssembler:
                assemblerLine = position;
                updateEndian(options);
                break;
            case kToolLibraryGenerator: {
                libraryGeneratorLine = position;
                updateEndian(options);
                OptionSet items;
                // A failed parse still leaves the items right of the bad one; those count.
                (void)ParseOptionString(std::string_view(options), items);
                const auto mode = items.find("S|MODE");
                const auto path = items.find("S|EXISTOUTPUTPATH");
                if (mode != items.end() && mode->second == "EXISTING" && path != items.end())
                    existingLibraryPath = path->second;
                break;
            }
            case kToolLinker:
                linkerLine = position;
                if (Contains(options, kMapItem)) linkerMapFlag = 1;
                break;
            default: break;
        }
    }
    return true;
}

std::optional<std::string> OptionUpgradeDriver::UpgradePhaseOptions(int32_t kind, std::string_view phaseName,
                                                                    const StringList& lines,
                                                                    ChangeSummary& summary) {
    context_ = ConversionContext{};
    if (!context_.PreScan(lines)) return std::nullopt;
    std::string result;
    if (kind < 0 || kind >= static_cast<int32_t>(kDispatch.size())) return result;

    StringList pendingNotes;
    for (const Action& action : kDispatch[static_cast<std::size_t>(kind)]) {
        if (action.step != nullptr) {
            if ((context_.*action.step)(phaseName, context_.optionStrings, result) != 0) return std::nullopt;
        } else if (action.conversion != nullptr) {
            if (action.conversion(phaseName, context_.optionStrings, result, summary) != 0) return std::nullopt;
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
