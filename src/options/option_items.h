#pragma once
// Option strings edited item by item as text, the way the settings queries read and rewrite them:
//
//   [S|CPU|KZ600] [S|INCLUDE|"inc"|"C:\My Headers"] [S|START|P,C(0100)]
//
// Items are split at whitespace outside double quotes; an item is found by the first one that begins
// with a prefix such as "[S|INCLUDE|"; a rewritten option string has its items joined by one blank.

#include <string>
#include <string_view>

#include "options/option_string.h"

namespace vivo {

// The items of an option string, split at newline, tab, carriage return and blank outside quotes.
[[nodiscard]] StringList OptionItems(std::string_view options);

// The first item that begins with `prefix`, or null.
[[nodiscard]] const std::string* FirstItemWithPrefix(const StringList& items, std::string_view prefix);

// The value part of an item found by `prefix`: the text after the prefix without the item's last
// character (its closing bracket). An item no longer than the prefix has an empty value.
[[nodiscard]] std::string_view ItemValue(std::string_view item, std::string_view prefix);

// The option string with its first item beginning with `prefix` replaced by `newItem`, or with
// `newItem` added at the end when no item begins with it. All non-empty items are joined by one
// blank, so an empty `newItem` removes the setting and other separators become single blanks.
[[nodiscard]] std::string ReplaceFirstItem(std::string_view options, std::string_view prefix,
                                           std::string_view newItem);

}  // namespace vivo
