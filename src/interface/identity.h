#pragma once
// Who the plug-in is: the answers of the identity exports, as values.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vivo {

// The template list of TC.ini's "GetTemplates" section, escaped: every entry followed by the two
// characters backslash and "0", then one more such pair. `count` receives the number of entries.
[[nodiscard]] std::string EscapedTemplateList(const std::string& iniPath, uint32_t& count);

}  // namespace vivo
