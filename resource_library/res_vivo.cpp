// A resource library for POSIX (ResVivo.so, ResVivoJp.so): the plug-in's string-table texts and the
// report dialog's texts behind the one look-up that the plug-in's resource layer calls. Built from the
// same rows as the plug-in's own table; the Japanese build lays the rows of strings_jp.inc over them.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "resources/report_dialog.h"

namespace {

namespace res = vivo::resources;

struct Row {
    std::uint32_t id;
    std::string_view text;
};

#define VIVO_STRING(id, text) Row{id, std::string_view{text, sizeof(text) - 1}},
#define VIVO_DIALOG_TEXT(control, text)
constexpr std::array kStrings = {
#include "resources/strings.inc"
};
#undef VIVO_DIALOG_TEXT
#undef VIVO_STRING

constexpr bool IdsAscending() {
    for (std::size_t i = 1; i < kStrings.size(); ++i)
        if (kStrings[i - 1].id >= kStrings[i].id) return false;
    return true;
}
static_assert(IdsAscending(), "string table rows must stay in identifier order");

// The dialog's English texts, from the dialog's own description.
constexpr auto kDialogTexts = [] {
    std::array<Row, res::kReportDialogTextControls.size()> rows{};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::uint16_t control = res::kReportDialogTextControls[i];
        rows[i] = {res::DialogTextId(res::kReportDialogId, control), res::ReportDialogText(control)};
    }
    return rows;
}();

#ifdef VIVO_RESOURCE_JAPANESE
#define VIVO_STRING(id, text) Row{id, std::string_view{text, sizeof(text) - 1}},
#define VIVO_DIALOG_TEXT(control, text) \
    Row{res::DialogTextId(res::kReportDialogId, control), std::string_view{text, sizeof(text) - 1}},
constexpr std::array kOverrides = {
#include "resources/strings_jp.inc"
};
#undef VIVO_DIALOG_TEXT
#undef VIVO_STRING
#else
constexpr std::array<Row, 0> kOverrides{};
#endif

const Row* Find(std::uint32_t id) {
    for (const Row& row : kOverrides)
        if (row.id == id) return &row;
    for (const Row& row : kDialogTexts)
        if (row.id == id) return &row;
    auto it = std::lower_bound(kStrings.begin(), kStrings.end(), id,
                               [](const Row& row, std::uint32_t value) { return row.id < value; });
    return it != kStrings.end() && it->id == id ? &*it : nullptr;
}

}  // namespace

// The text of `id` (NUL-terminated) and its length in bytes, or null when the library has none.
extern "C" __attribute__((visibility("default"))) const char* VivoResourceString(std::uint32_t id,
                                                                                std::uint32_t* length) {
    const Row* row = Find(id);
    if (row == nullptr) return nullptr;
    if (length != nullptr) *length = static_cast<std::uint32_t>(row->text.size());
    return row->text.data();
}
