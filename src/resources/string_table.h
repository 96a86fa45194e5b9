#pragma once
// The plug-in's fixed texts, loaded by identifier from the current resource source.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace vivo {

// The plug-in's own text for `id`, or nothing when the table has no such entry.
[[nodiscard]] std::optional<std::string_view> OwnString(uint32_t id);

// The text for `id` from the current resource source (a loaded resource library, or the
// plug-in's own table), or nothing when that source has no such entry.
[[nodiscard]] std::optional<std::string> LoadString(uint32_t id);

// The text of control `control` of the report dialog (resources::kControlCaption: its caption) from the
// current resource source, else the English one of the dialog's description.
[[nodiscard]] std::string LoadReportDialogText(uint16_t control);

// A string-table text with its "%s" fields filled in order ("%%" is one percent sign); a field with
// no value left fills with nothing.
[[nodiscard]] std::string FormatText(std::string_view format, std::initializer_list<std::string_view> values);

}  // namespace vivo
