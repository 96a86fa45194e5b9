// The linker's section placement through the exports: area count, addresses, sections and the
// rewritten start item, byte for byte with guard bytes, and Update/Get round trips.
#include <gtest/gtest.h>

#include <span>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "support/guarded_call.h"

namespace vivo::test {
namespace {

using namespace std::string_view_literals;

constexpr const char* kTwoAreas = "[S|CPU|KZ600] [S|START|S1,S2(00000004)|S3:S4(0FFF00000)] [B|DEBUG|1]";

TEST(MemoryAreaExports, CountsTheAreasOfTheFirstStartItem) {
    // Columns: name, linker option string, number of areas.
    const struct { const char* name; const char* options; uint32_t count; } rows[] = {
        {"no start item", "[S|CPU|KZ600]", 0},
        {"two areas", kTwoAreas, 2},
        {"empty value", "[S|START|]", 0},
        {"first start item counts", "[S|START|A(0)] [S|START|B(0)|C(0)]", 1},
        {"runs of bars count once", "[S|START||A(00)||B(01)|]", 2},
    };
    auto count = VIVO_CALL_EXPORT(SharedPlugin(), GetNoOfMemoryAreas);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        uint32_t n = 99;
        EXPECT_EQ(count(0, row.options, &n), 0);
        EXPECT_EQ(n, row.count);
    }
}

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

// Memory-area records as the host lays them out: per area a NUL-separated address list (nothing: a
// null pointer) and NUL-separated name lists, one per group.
struct AreaSpec { std::optional<std::string> addressList; std::vector<std::string> groups; };

struct AreaArray {
    explicit AreaArray(const std::vector<AreaSpec>& specs) : groups(specs.size()) {  // specs outlive it
        for (size_t i = 0; i < specs.size(); ++i) {
            for (const std::string& g : specs[i].groups) groups[i].push_back(g.c_str());
            groups[i].push_back(nullptr);
            records.push_back({0, specs[i].addressList ? specs[i].addressList->c_str() : nullptr, groups[i].data()});
        }
        for (const VivoMemoryArea& r : records) pointers.push_back(&r);
        pointers.push_back(nullptr);
    }
    std::vector<std::vector<const char*>> groups;
    std::vector<VivoMemoryArea> records;
    std::vector<const VivoMemoryArea*> pointers;
};

TEST(MemoryAreaExports, UpdateLinkerSectionsIsTerminatedText) {
    // Columns: name, linker option string, memory areas, new option string (nothing: failure).
    const struct { const char* name; const char* options; std::vector<AreaSpec> areas; std::optional<std::string_view> result; }
        rows[] = {
        {"0 put in front", "[S|CPU|KZ600]", {{NulList({"0x1000"}), {NulList({"P"})}}}, "[S|CPU|KZ600] [S|START|P(01000)]"},
        {"leading 0 kept", "", {{NulList({"0x01000"}), {NulList({"P"})}}}, "[S|START|P(01000)]"},
        {"only the first address string", "", {{NulList({"0xA", "junk"}), {NulList({"P"})}}}, "[S|START|P(0A)]"},
        {"groups and areas", "[S|START|OLD(0)]\t[B|DEBUG|1]",
         {{NulList({"0x400"}), {NulList({"P", "C"}), NulList({"D"}), NulList({"E", "F"})}}, {NulList({"0xFFF00000"}), {NulList({"B"})}}},
         "[S|START|P,C:D:E,F(0400)|B(0FFF00000)] [B|DEBUG|1]"},
        {"parentheses stored as braces", "", {{NulList({"0x10"}), {NulList({"B(x)", ")"})}}}, "[S|START|B{x},}(010)]"},
        {"only the first start item replaced", "[S|START|A(0)] [S|START|B(0)]", {{NulList({"0x1"}), {NulList({"N"})}}}, "[S|START|N(01)] [S|START|B(0)]"},
        {"no areas removes the item", "  [S|CPU|KZ600]\r\n[S|START|A(0)]\t[B|DEBUG|1]", {}, "[S|CPU|KZ600] [B|DEBUG|1]"},
        {"address 0x alone fails", "", {{NulList({"0x"}), {NulList({"P"})}}}, std::nullopt},
        {"no address list fails", "", {{std::nullopt, {NulList({"P"})}}}, std::nullopt},
        {"empty address list fails", "", {{NulList({}), {NulList({"P"})}}}, std::nullopt},
        {"empty main group fails", "", {{NulList({"0x100"}), {NulList({})}}}, std::nullopt},
        {"no group fails", "", {{NulList({"0x100"}), {}}}, std::nullopt},
        {"empty overlay group fails", "", {{NulList({"0x100"}), {NulList({"P"}), NulList({})}}}, std::nullopt},
        {"a failing area fails all", "", {{NulList({"0x100"}), {NulList({"P"})}}, {NulList({"0"}), {NulList({"Q"})}}}, std::nullopt},
    };
    auto update = VIVO_CALL_EXPORT(SharedPlugin(), UpdateLinkerSections);
    int reserved = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const AreaArray areas(row.areas);
        auto call = [&](char* b, int32_t* l) { return update(&reserved, row.options, areas.pointers.data(), b, l); };
        if (row.result) ExpectDeliversTerminated(call, *row.result);
        else ExpectWritesNothing(call, 1);
    }
}

// Section names with parentheses and the other characters a name may hold (not the separators ",",
// ":", "|", nor braces, blanks or quotes, which the stored form cannot hold).
TEST(MemoryAreaProperty, UpdateThenGetGivesBackEveryAreaAndKeepsOtherItems) {
    std::mt19937 random(6101);
    auto below = [&](size_t n) { return size_t(random() % n); };
    Plugin& p = SharedPlugin();
    auto* update = VIVO_CALL_EXPORT(p, UpdateLinkerSections);
    auto* addresses = VIVO_CALL_EXPORT(p, GetAddressRanges);
    auto* sectionsOf = VIVO_CALL_EXPORT(p, GetSections);
    int reserved = 0;
    for (int iteration = 0; iteration < 300; ++iteration) {
        const Placed placed = PlaceAmong(random, below(2) ? "[S|START|OLD(0100)]" : "");
        SCOPED_TRACE("iteration " + std::to_string(iteration) + ", options: " + placed.options);
        std::vector<AreaSpec> specs(below(4));
        std::vector<std::string> digits, sections;
        for (AreaSpec& spec : specs) {
            std::string& hex = digits.emplace_back();
            for (size_t n = 1 + below(8); n > 0; --n) hex += "0123456789ABCDEF"[below(16)];
            spec.addressList = NulList({"0x" + hex});
            std::string& text = sections.emplace_back();  // groups joined by ":", their names by ","
            for (size_t group = 1 + below(3); group > 0; --group) {
                std::vector<std::string> names(1 + below(3));
                for (std::string& name : names) {
                    for (size_t n = 1 + below(6); n > 0; --n) name += "PCDB_R$.()1x[]"[below(14)];
                    (text += name) += ',';
                }
                text.back() = ':';
                spec.groups.push_back(NulList(names));
            }
            text.pop_back();
        }
        const AreaArray array(specs);
        const std::string result = DeliveredAtItsSize(
            [&](char* b, int32_t* l) { return update(&reserved, placed.options.c_str(), array.pointers.data(), b, l); });
        ASSERT_TRUE(result.ends_with('\0'));
        const std::string rewritten = result.substr(0, result.size() - 1);
        if (specs.empty()) EXPECT_EQ(rewritten, placed.others);
        else EXPECT_TRUE(rewritten.starts_with(placed.head + "[S|START|") && rewritten.ends_with("]" + placed.tail))
            << rewritten;

        uint32_t count = 99;
        EXPECT_EQ(VIVO_CALL_EXPORT(p, GetNoOfMemoryAreas)(0, result.c_str(), &count), 0);
        EXPECT_EQ(count, specs.size());
        for (int32_t number = 1; number <= int32_t(specs.size()); ++number) {
            const std::string& hex = digits[number - 1];
            EXPECT_EQ(DeliveredAtItsSize([&](char* b, int32_t* l) { return addresses(0, result.c_str(), number, b, l); }),
                      (hex[0] == '0' ? "" : "0") + hex + std::string("|\0\0"sv));
            EXPECT_EQ(DeliveredAtItsSize([&](char* b, int32_t* l) { return sectionsOf(&reserved, result.c_str(), number, b, l); }),
                      sections[number - 1] + std::string("\0\0"sv));
        }
    }
}

}  // namespace
}  // namespace vivo::test
