#pragma once
// The linker's section placement: memory areas, each with its section groups and start address, kept
// in one start item. Areas are joined by "|", an area's groups by ":" (main group first, then the
// overlay groups), a group's sections by ","; "(" and ")" of section names are stored as "{" and "}"
// so that an area's first "(" opens its address, which always begins with "0":
//
//   [S|START|P,C:D(00000400)|B{x},R(0FFF00000)]

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "options/option_string.h"

namespace vivo {

inline constexpr std::string_view kStartPrefix = "[S|START|";

// Number of areas of the first start item (0 without one).
[[nodiscard]] uint32_t MemoryAreaCount(std::string_view options);

// The address digits of area `number` (from 1) as stored, without parentheses; nothing for a number
// outside 1 to the number of areas.
[[nodiscard]] std::optional<std::string> AreaAddress(std::string_view options, int32_t number);

// The section text of area `number` (groups joined by ":", sections by ","), with the parentheses of
// section names given back. An empty list for a number outside 1 to the number of areas; nothing for
// an area without an address part.
[[nodiscard]] std::optional<StringList> AreaSections(std::string_view options, int32_t number);

// One memory area as the host describes it.
struct MemoryArea {
    std::string address;             // "0x" and hexadecimal digits
    std::vector<StringList> groups;  // the main group, then the overlay groups
};

// The area's stored text ("P,C:D(00000400)"); nothing when its address is shorter than three
// characters or one of its groups (or the main group) is empty.
[[nodiscard]] std::optional<std::string> StoredAreaText(const MemoryArea& area);

// The option string with `areas` as its start item (no item when there are no areas); nothing
// when an area cannot be stored.
[[nodiscard]] std::optional<std::string> WithMemoryAreas(std::string_view options,
                                                         const std::vector<MemoryArea>& areas);

}  // namespace vivo
