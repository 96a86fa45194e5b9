// The linker's section placement through the exports: area count, addresses, sections and the
// rewritten start item, byte for byte with guard bytes, and Update/Get round trips.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "queries/guarded_call.h"

namespace vivo::test {
namespace {

using namespace std::string_view_literals;

constexpr const char* kTwoAreas = "[S|CPU|KZ600] [S|START|S1,S2(00000004)|S3:S4(0FFF00000)] [B|DEBUG|1]";

struct CountRow {
    const char* name;
    const char* options;
    uint32_t count;
};

// Columns: name, linker option string, number of areas.
const CountRow kCountRows[] = {
    {"no start item", "[S|CPU|KZ600]", 0},
    {"two areas", kTwoAreas, 2},
    {"empty value", "[S|START|]", 0},
    {"first start item counts", "[S|START|A(0)] [S|START|B(0)|C(0)]", 1},
    {"runs of bars count once", "[S|START||A(00)||B(01)|]", 2},
};

TEST(MemoryAreaExports, CountsTheAreasOfTheFirstStartItem) {
    auto count = VIVO_CALL_EXPORT(SharedPlugin(), GetNoOfMemoryAreas);
    for (const CountRow& row : kCountRows) {
        SCOPED_TRACE(row.name);
        uint32_t n = 99;
        EXPECT_EQ(count(0, row.options, &n), 0);
        EXPECT_EQ(n, row.count);
    }
    uint32_t n = 99;
    EXPECT_EQ(count(0, nullptr, &n), 1);
    EXPECT_EQ(count(0, kTwoAreas, nullptr), 1);
    EXPECT_EQ(n, 99u);
}

struct AddressRow {
    const char* name;
    const char* options;
    int32_t number;
    std::optional<std::string_view> delivered;  // nothing: success with neither buffer nor length written
};

// Columns: name, linker option string, area number, delivered bytes.
const AddressRow kAddressRows[] = {
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

TEST(MemoryAreaExports, AddressRangesAsNewlineList) {
    auto get = VIVO_CALL_EXPORT(SharedPlugin(), GetAddressRanges);
    for (const AddressRow& row : kAddressRows) {
        SCOPED_TRACE(row.name);
        auto call = [&](char* b, int32_t* l) { return get(0, row.options, row.number, b, l); };
        if (!row.delivered) {
            ExpectWritesNothing(call, 0);
            continue;
        }
        const int32_t size = static_cast<int32_t>(row.delivered->size());
        ExpectDelivers(call, *row.delivered, size, size);
    }
}

struct SectionsRow {
    const char* name;
    const char* options;
    int32_t number;
    std::optional<std::string_view> delivered;  // nothing: failure, nothing written
};

// Columns: name, linker option string, area number, delivered bytes.
const SectionsRow kSectionsRows[] = {
    {"first area", kTwoAreas, 1, "S1,S2\0\0"sv},
    {"overlay group", kTwoAreas, 2, "S3:S4\0\0"sv},
    {"braces become parentheses", "[S|START|P{x},Q}:{R(0100)]", 1, "P(x),Q):(R\0\0"sv},
    {"beyond the last area: empty list", kTwoAreas, 3, "\0\0"sv},
    {"area 0: empty list", kTwoAreas, 0, "\0\0"sv},
    {"no start item: empty list", "[S|CPU|KZ600]", 1, "\0\0"sv},
    {"no sections before the address", "[S|START|(0100)]", 1, "\0\0"sv},
    {"area without address fails", "[S|START|P,C]", 1, std::nullopt},
};

TEST(MemoryAreaExports, SectionsAsNewlineList) {
    auto get = VIVO_CALL_EXPORT(SharedPlugin(), GetSections);
    int reserved = 0;
    for (const SectionsRow& row : kSectionsRows) {
        SCOPED_TRACE(row.name);
        auto call = [&](char* b, int32_t* l) { return get(&reserved, row.options, row.number, b, l); };
        if (!row.delivered) {
            ExpectWritesNothing(call, 1);
            continue;
        }
        const int32_t size = static_cast<int32_t>(row.delivered->size());
        ExpectDelivers(call, *row.delivered, size, size);
    }
}

// Memory-area records as the host lays them out, with the memory behind them.
struct AreaSpec {
    std::optional<std::string> addressList;  // NUL-separated; nothing for a null pointer
    std::vector<std::string> groups;         // NUL-separated name lists
};

class AreaArray {
public:
    explicit AreaArray(const std::vector<AreaSpec>& specs) : specs_(specs) {
        for (AreaSpec& spec : specs_) {
            auto& groups = groupPointers_.emplace_back(std::make_unique<std::vector<const char*>>());
            for (const std::string& g : spec.groups) groups->push_back(g.c_str());
            groups->push_back(nullptr);
            records_.push_back({0, spec.addressList ? spec.addressList->c_str() : nullptr, groups->data()});
        }
        for (const VivoMemoryArea& r : records_) pointers_.push_back(&r);
        pointers_.push_back(nullptr);
    }
    const VivoMemoryArea* const* data() const { return pointers_.data(); }

private:
    std::vector<AreaSpec> specs_;
    std::vector<std::unique_ptr<std::vector<const char*>>> groupPointers_;
    std::vector<VivoMemoryArea> records_;
    std::vector<const VivoMemoryArea*> pointers_;
};

struct UpdateRow {
    const char* name;
    const char* options;
    std::vector<AreaSpec> areas;
    std::optional<std::string_view> result;  // the new option string; nothing: failure, nothing written
};

// Columns: name, linker option string, memory areas, new option string.
const UpdateRow kUpdateRows[] = {
    {"0 put in front", "[S|CPU|KZ600]", {{NulList({"0x1000"}), {NulList({"P"})}}}, "[S|CPU|KZ600] [S|START|P(01000)]"},
    {"leading 0 kept", "", {{NulList({"0x01000"}), {NulList({"P"})}}}, "[S|START|P(01000)]"},
    {"only the first address string", "", {{NulList({"0xA", "junk"}), {NulList({"P"})}}}, "[S|START|P(0A)]"},
    {"groups and areas", "[S|START|OLD(0)]\t[B|DEBUG|1]",
     {{NulList({"0x400"}), {NulList({"P", "C"}), NulList({"D"}), NulList({"E", "F"})}},
      {NulList({"0xFFF00000"}), {NulList({"B"})}}},
     "[S|START|P,C:D:E,F(0400)|B(0FFF00000)] [B|DEBUG|1]"},
    {"parentheses stored as braces", "", {{NulList({"0x10"}), {NulList({"B(x)", ")"})}}}, "[S|START|B{x},}(010)]"},
    {"only the first start item replaced", "[S|START|A(0)] [S|START|B(0)]", {{NulList({"0x1"}), {NulList({"N"})}}},
     "[S|START|N(01)] [S|START|B(0)]"},
    {"no areas removes the item", "  [S|CPU|KZ600]\r\n[S|START|A(0)]\t[B|DEBUG|1]", {}, "[S|CPU|KZ600] [B|DEBUG|1]"},
    {"address 0x alone fails", "", {{NulList({"0x"}), {NulList({"P"})}}}, std::nullopt},
    {"no address list fails", "", {{std::nullopt, {NulList({"P"})}}}, std::nullopt},
    {"empty address list fails", "", {{NulList({}), {NulList({"P"})}}}, std::nullopt},
    {"empty main group fails", "", {{NulList({"0x100"}), {NulList({})}}}, std::nullopt},
    {"no group fails", "", {{NulList({"0x100"}), {}}}, std::nullopt},
    {"empty overlay group fails", "", {{NulList({"0x100"}), {NulList({"P"}), NulList({})}}}, std::nullopt},
    {"a failing area fails all", "", {{NulList({"0x100"}), {NulList({"P"})}}, {NulList({"0"}), {NulList({"Q"})}}},
     std::nullopt},
};

TEST(MemoryAreaExports, UpdateLinkerSectionsIsTerminatedText) {
    auto update = VIVO_CALL_EXPORT(SharedPlugin(), UpdateLinkerSections);
    int reserved = 0;
    for (const UpdateRow& row : kUpdateRows) {
        SCOPED_TRACE(row.name);
        const AreaArray areas(row.areas);
        auto call = [&](char* b, int32_t* l) { return update(&reserved, row.options, areas.data(), b, l); };
        if (row.result)
            ExpectDeliversTerminated(call, *row.result);
        else
            ExpectWritesNothing(call, 1);
    }
}

// Random placements: section names with parentheses and the other characters a name may hold
// (not the separators ",", ":", "|", nor braces, blanks or quotes, which the stored form cannot hold).
struct RandomArea {
    std::string hexDigits;
    std::vector<std::vector<std::string>> groups;
};

class AreaMaker {
public:
    explicit AreaMaker(uint32_t seed) : random_(seed) {}
    size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }

    std::string Name() {
        constexpr std::string_view kPieces[] = {"P", "C", "D", "B_", "R", "$", ".", "(", ")", "1", "x", "[", "]"};
        std::string name;
        for (size_t n = 1 + Below(6); n > 0; --n) name += kPieces[Below(std::size(kPieces))];
        return name;
    }

    RandomArea Area() {
        RandomArea area;
        for (size_t n = 1 + Below(8); n > 0; --n) area.hexDigits += "0123456789ABCDEF"[Below(16)];
        for (size_t g = 1 + Below(3); g > 0; --g) {
            auto& group = area.groups.emplace_back();
            for (size_t n = 1 + Below(3); n > 0; --n) group.push_back(Name());
        }
        return area;
    }

    std::string Separator() {
        constexpr std::string_view kSeparators[] = {" ", "  ", "\t", "\r\n"};
        return std::string(kSeparators[Below(std::size(kSeparators))]);
    }

private:
    std::mt19937 random_;
};

std::string Joined(const std::vector<std::string>& parts, char separator) {
    std::string text;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i != 0) text += separator;
        text += parts[i];
    }
    return text;
}

TEST(MemoryAreaProperty, UpdateThenGetGivesBackEveryAreaAndKeepsOtherItems) {
    constexpr std::string_view kOthers[] = {"[S|CPU|KZ600]", "[B|DEBUG|1]", "[S|LIST|\"a b.map\"]",
                                            "[S|STARTUP|x]", "[S|OUTPUTPATH|\"$(CONFIGDIR)\\a.abs\"]"};
    AreaMaker make(6101);
    Plugin& p = SharedPlugin();
    int reserved = 0;
    for (int iteration = 0; iteration < 300; ++iteration) {
        std::vector<std::string> others;
        for (size_t n = make.Below(4); n > 0; --n) others.emplace_back(kOthers[make.Below(std::size(kOthers))]);
        const size_t at = make.Below(others.size() + 1);
        const bool hadStart = make.Below(2) == 1;
        std::string options;
        for (size_t i = 0; i <= others.size(); ++i) {
            if (i == at && hadStart) options += "[S|START|OLD(0100)]" + make.Separator();
            if (i < others.size()) options += others[i] + make.Separator();
        }
        std::vector<RandomArea> areas;
        for (size_t n = make.Below(4); n > 0; --n) areas.push_back(make.Area());
        SCOPED_TRACE("iteration " + std::to_string(iteration) + ", options: " + options);

        std::vector<AreaSpec> specs;
        for (const RandomArea& a : areas) {
            AreaSpec& spec = specs.emplace_back();
            spec.addressList = NulList({"0x" + a.hexDigits});
            for (const auto& group : a.groups) spec.groups.push_back(NulListOf(group));
        }
        const AreaArray array(specs);
        char result[1024];
        int32_t len = sizeof result;
        ASSERT_EQ(VIVO_CALL_EXPORT(p, UpdateLinkerSections)(&reserved, options.c_str(), array.data(), result, &len), 0);
        ASSERT_EQ(static_cast<size_t>(len), std::strlen(result) + 1);

        // The other items, in order, around the new item (at the old item's place, or at the end).
        const std::string rewritten(result);
        const size_t place = hadStart ? at : others.size();
        std::vector<std::string> before(others.begin(), others.begin() + static_cast<std::ptrdiff_t>(place));
        std::vector<std::string> after(others.begin() + static_cast<std::ptrdiff_t>(place), others.end());
        std::string head = Joined(before, ' '), tail = Joined(after, ' ');
        if (areas.empty()) {
            EXPECT_EQ(rewritten, head + (head.empty() || tail.empty() ? "" : " ") + tail);
        } else {
            if (!head.empty()) head += ' ';
            if (!tail.empty()) tail.insert(0, " ");
            EXPECT_TRUE(rewritten.starts_with(head + "[S|START|")) << rewritten;
            EXPECT_TRUE(rewritten.ends_with("]" + tail)) << rewritten;
        }

        uint32_t count = 99;
        EXPECT_EQ(VIVO_CALL_EXPORT(p, GetNoOfMemoryAreas)(0, result, &count), 0);
        EXPECT_EQ(count, areas.size());
        for (size_t i = 0; i < areas.size(); ++i) {
            const int32_t number = static_cast<int32_t>(i + 1);
            const std::string digits = (areas[i].hexDigits[0] == '0' ? "" : "0") + areas[i].hexDigits;
            const GuardedCall address = CallGuarded(64, [&](char* b, int32_t* l) {
                return VIVO_CALL_EXPORT(p, GetAddressRanges)(0, result, number, b, l);
            });
            EXPECT_EQ(address.result, 0);
            EXPECT_TRUE(WroteExactly(address, digits + "|" + std::string("\0\0"sv)));

            std::vector<std::string> groups;
            for (const auto& group : areas[i].groups) groups.push_back(Joined(group, ','));
            const std::string sections = Joined(groups, ':');
            const GuardedCall got = CallGuarded(256, [&](char* b, int32_t* l) {
                return VIVO_CALL_EXPORT(p, GetSections)(&reserved, result, number, b, l);
            });
            EXPECT_EQ(got.result, 0);
            EXPECT_EQ(got.len, static_cast<int32_t>(sections.size() + 2));
            EXPECT_TRUE(WroteExactly(got, sections + std::string("\0\0"sv)));
        }
    }
}

}  // namespace
}  // namespace vivo::test
