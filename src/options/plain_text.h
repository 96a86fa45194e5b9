#pragma once
// Small operations on plain text that the option, change and query code share.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vivo {

// The text without the characters of `chars` at its start, at its end, or at both.
[[nodiscard]] std::string_view TrimLeft(std::string_view text, std::string_view chars);
[[nodiscard]] std::string_view TrimRight(std::string_view text, std::string_view chars);
[[nodiscard]] std::string_view Trim(std::string_view text, std::string_view chars);

// The pieces with `separator` between each two: {"a", "b"} -> "a|b"; no pieces give "".
[[nodiscard]] std::string Joined(const std::vector<std::string>& pieces, char separator);

// The text of a newline list, as a list delivered to the host is made: every element followed by "\n",
// then one more "\n"; an empty list is "\n\n", two NULs for the host.
[[nodiscard]] std::string NewlineList(const std::vector<std::string>& elements);

// The number strtoul reads with a 32-bit unsigned long: blanks skipped, an optional sign, digits up to
// the first non-digit (none give 0); too large saturates at 4294967295, a minus negates modulo 2^32.
//   "12x" -> 12;  " -3" -> 4294967293;  "99999999999" -> 4294967295;  "x1" -> 0
[[nodiscard]] std::uint32_t ParseUnsigned(std::string_view text);

}  // namespace vivo
