#include "resources/string_table.h"

#include <algorithm>
#include <array>

#include "platform/resource_library.h"
#include "resources/report_dialog.h"
#include "resources/string_ids.h"

namespace vivo {
namespace {

struct StringEntry {
    uint32_t id;
    std::string_view text;
};

#define VIVO_STRING(id, text) StringEntry{id, std::string_view{text, sizeof(text) - 1}},
constexpr std::array kStrings = {
#include "resources/strings.inc"
};
#undef VIVO_STRING

constexpr bool IdsAscending() {
    for (size_t i = 1; i < kStrings.size(); ++i)
        if (kStrings[i - 1].id >= kStrings[i].id) return false;
    return true;
}
static_assert(IdsAscending(), "string table rows must stay in identifier order");

constexpr bool Has(uint32_t id) {
    for (const StringEntry& e : kStrings)
        if (e.id == id) return true;
    return false;
}
static_assert(Has(text::kInterfaceMajor) && Has(text::kInterfaceMinor) && Has(text::kProductVersion) &&
              Has(text::kOrdinalVersion) && Has(text::kPluginType) && Has(text::kToolchainName) &&
              Has(text::kConvertibleToolPairs) && Has(text::kCarriedKeys) && Has(text::kKeysBesideAssembly) &&
              Has(text::kFileTypes) && Has(text::kProjectNameLine) && Has(text::kUpgradedToBlock),
              "every named identity and header text stands in the table");
static_assert([] {
    for (uint32_t id = text::kReadingError; id <= text::kSectionNote; ++id)
        if (!Has(id)) return false;
    return true;
}(), "every toolchain change text stands in the table");

}  // namespace

std::optional<std::string_view> OwnString(uint32_t id) {
    auto it = std::lower_bound(kStrings.begin(), kStrings.end(), id,
                               [](const StringEntry& e, uint32_t v) { return e.id < v; });
    if (it == kStrings.end() || it->id != id) return std::nullopt;
    return it->text;
}

std::string FormatText(std::string_view format, std::initializer_list<std::string_view> values) {
    std::string result;
    result.reserve(format.size());
    const std::string_view* next = values.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == 's' || format[i + 1] == '%')) {
            if (format[++i] == '%')
                result.push_back('%');
            else if (next != values.end())
                result.append(*next++);
            continue;
        }
        result.push_back(format[i]);
    }
    return result;
}

std::optional<std::string> LoadString(uint32_t id) {
    if (ResourceLibrary* source = CurrentResourceSource()) return LoadLibraryString(source, id);
    if (auto own = OwnString(id)) return std::string(*own);
    return std::nullopt;
}

std::string LoadReportDialogText(uint16_t control) {
    // A POSIX resource library gives dialog texts through its string look-up; a Windows one has them in
    // its dialog template, which the platform shows as it is.
    if (ResourceLibrary* source = CurrentResourceSource()) {
        if (auto text = LoadLibraryString(source, resources::DialogTextId(resources::kReportDialogId, control)))
            return *text;
    }
    return std::string(resources::ReportDialogText(control));
}

}  // namespace vivo
