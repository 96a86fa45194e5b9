// The linker's section placement through the exports: the addresses and sections of each area, byte
// for byte with guard bytes. Rewriting the start item is `vivo options`' (tests/tools).
#include <gtest/gtest.h>

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "support/guarded_call.h"

namespace vivo::test {
namespace {

using namespace std::string_view_literals;

constexpr const char* kTwoAreas = "[S|CPU|KZ600] [S|START|S1,S2(00000004)|S3:S4(0FFF00000)] [B|DEBUG|1]";

// Columns: name, linker option string, area number, delivered bytes (nothing: nothing written; addresses
// then return 0, sections 1).
struct ListRow { const char* name; const char* options; int32_t number; std::optional<std::string_view> delivered; };
const ListRow kAddressRows[] = {
    {"first area", kTwoAreas, 1, "00000004|\0\0"sv},
    {"second area", kTwoAreas, 2, "0FFF00000|\0\0"sv},
    {"beyond the last area", kTwoAreas, 3, std::nullopt},
    {"area 0 like one beyond the last", kTwoAreas, 0, std::nullopt},
    {"negative area like one beyond the last", kTwoAreas, -1, std::nullopt},
    {"no start item", "[S|CPU|KZ600]", 1, std::nullopt},
    {"area without parenthesis loses its last character", "[S|START|ABC]", 1, "AB|\0\0"sv},
    {"address ends at the last character", "[S|START|A(12)(34)]", 1, "12)(34|\0\0"sv},
    {"parenthesis last", "[S|START|A(]", 1, "|\0\0"sv},
};
const ListRow kSectionsRows[] = {
    {"first area", kTwoAreas, 1, "S1,S2\0\0"sv},
    {"overlay group", kTwoAreas, 2, "S3:S4\0\0"sv},
    {"braces become parentheses", "[S|START|P{x},Q}:{R(0100)]", 1, "P(x),Q):(R\0\0"sv},
    {"beyond the last area: empty list", kTwoAreas, 3, "\0\0"sv},
    {"area 0: empty list", kTwoAreas, 0, "\0\0"sv},
    {"no start item: empty list", "[S|CPU|KZ600]", 1, "\0\0"sv},
    {"no sections before the address", "[S|START|(0100)]", 1, "\0\0"sv},
    {"area without address fails", "[S|START|P,C]", 1, std::nullopt},
};

TEST(MemoryAreaExports, AddressesAndSectionsAsLists) {
    auto addresses = VIVO_CALL_EXPORT(SharedPlugin(), GetAddressRanges);
    auto sections = VIVO_CALL_EXPORT(SharedPlugin(), GetSections);
    int reserved = 0;
    for (const bool ofSections : {false, true}) {
        using Rows = std::span<const ListRow>;
        for (const ListRow& row : ofSections ? Rows(kSectionsRows) : Rows(kAddressRows)) {
            SCOPED_TRACE(std::string(ofSections ? "sections: " : "addresses: ") + row.name);
            auto call = [&](char* b, int32_t* l) {
                return ofSections ? sections(&reserved, row.options, row.number, b, l)
                                  : addresses(0, row.options, row.number, b, l);
            };
            if (!row.delivered) ExpectWritesNothing(call, ofSections ? 1 : 0);
            else ExpectDelivers(call, *row.delivered);
        }
    }
}

}  // namespace
}  // namespace vivo::test
