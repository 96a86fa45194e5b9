#include "resources/string_table.h"

#include <algorithm>
#include <array>

#include "platform/resource_library.h"

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

}  // namespace

std::optional<std::string_view> OwnString(uint32_t id) {
    auto it = std::lower_bound(kStrings.begin(), kStrings.end(), id,
                               [](const StringEntry& e, uint32_t v) { return e.id < v; });
    if (it == kStrings.end() || it->id != id) return std::nullopt;
    return it->text;
}

std::optional<std::string> LoadString(uint32_t id) {
    if (ResourceLibrary* source = CurrentResourceSource()) return LoadLibraryString(source, id);
    if (auto own = OwnString(id)) return std::string(*own);
    return std::nullopt;
}

}  // namespace vivo
