#include "change/conversion_table.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "summary/change_summary.h"

namespace vivo {
namespace {

using Lines = std::vector<std::string>;

constexpr std::array kRows = {
    ConversionRow{"[B|DEBUG|", nullptr, "[B|DEBUG|", nullptr},
    ConversionRow{"[B|DEBUG|", "-g", "[B|STACK|", "-stack"},
    ConversionRow{"[B|HEAP|1]", "-D", "[S|DEFINE|__HEAP__=1]", "-D"},
    ConversionRow{"[S|X|", "-x", "[B|X|1] [S|Y|", "-y"},
    ConversionRow{"[S|N|", nullptr, "[S|N|", ""},
};

const std::string kHeading = "\r\nPhaseOptions:\r\n";

struct ConvertRow {
    const char* name;
    Lines source;
    Lines items;    // appended behind "[V|VERSION|1]"
    Lines summary;  // lines the summary gains
};

TEST(ConvertOptionItems, AppliesEveryRowToEveryItem) {
    const std::array rows = {
        ConvertRow{"equal labels log nothing", {"[B|HEAP|1]"}, {"[S|DEFINE|__HEAP__=1]"}, {}},
        ConvertRow{"longer item keeps its rest", {"[B|HEAP|1]]"}, {"[S|DEFINE|__HEAP__=1]]"}, {}},
        ConvertRow{"two rows with one prefix, in row order",
                   {"[B|DEBUG|0]"},
                   {"[B|DEBUG|0]", "[B|STACK|0]"},
                   {kHeading, "  Option -g has been converted to -stack\r\n"}},
        ConvertRow{"heading once, lines in order, each once",
                   {"[S|X|\"a b\"] [B|DEBUG|1]", "\t[S|X|c]\r\n"},
                   {"[B|X|1] [S|Y|\"a b\"]", "[B|DEBUG|1]", "[B|STACK|1]", "[B|X|1] [S|Y|c]"},
                   {kHeading, "  Option -x has been converted to -y\r\n", "  Option -g has been converted to -stack\r\n"}},
        ConvertRow{"unmatched and case-different items dropped",
                   {"[S|CPU|KZ600] [b|DEBUG|1] [B|HEAP|0] [B|DEBUGX|1]"},
                   {},
                   {}},
        ConvertRow{"a null label differs from an empty one",
                   {"[S|N|1]"},
                   {"[S|N|1]"},
                   {kHeading, "  Option  has been converted to \r\n"}},
    };
    for (const ConvertRow& row : rows) {
        SCOPED_TRACE(row.name);
        Summary().ClearLines();
        Lines items = {"[V|VERSION|1]"};
        ConvertOptionItems(row.source, ConversionTable{{kRows}}, items);
        Lines expected = {"[V|VERSION|1]"};
        expected.insert(expected.end(), row.items.begin(), row.items.end());
        EXPECT_EQ(items, expected);
        EXPECT_EQ(Summary().lines, row.summary);
    }
}

TEST(ConvertOptionItems, ReadsTheStretchesOfATableInOrder) {
    constexpr std::array kFirst = {Kept("[S|A|")};
    constexpr std::array kSecond = {Renamed("[S|A|", "[S|B|")};
    const ConversionTable table{{ConversionRows(kSecond), kFirst, kSecond}};
    Lines items;
    ConvertOptionItems({"[S|A|1]"}, table, items);
    EXPECT_EQ(items, (Lines{"[S|B|1]", "[S|A|1]", "[S|B|1]"}));
}

}  // namespace
}  // namespace vivo
