// What the migration report says became of each option item.
#include "tools/migration_report.h"

#include <gtest/gtest.h>

namespace vivo::host {
namespace {

using Kind = ItemFate::Kind;

TEST(MigrationReport, ItemsSplitAtBlanksOutsideQuotes) {
    EXPECT_EQ(OptionItems(" [S|INCLUDE|\"a b\"|\"c\"]\n\t[B|DEBUG|1]  "),
              (std::vector<std::string>{"[S|INCLUDE|\"a b\"|\"c\"]", "[B|DEBUG|1]"}));
}

TEST(MigrationReport, EachOldItemKeptConvertedOrDroppedThenTheAddedOnes) {
    struct Row {
        const char* name;
        std::vector<SourceOptions> before;
        const char* after;
        std::vector<ItemFate> fates;
    };
    const Row rows[] = {
        {"same item is kept", {{"A", "[S|CPU|KZ600]"}}, "[S|CPU|KZ600]",
         {{Kind::kKept, "[S|CPU|KZ600]", "[S|CPU|KZ600]", "A"}}},
        {"same key, other value", {{"A", "[S|OUTPUT|\"a.x30\"]"}}, "[S|OUTPUT|\"a.abs\"]",
         {{Kind::kConverted, "[S|OUTPUT|\"a.x30\"]", "[S|OUTPUT|\"a.abs\"]", "A"}}},
        {"renamed key, same value", {{"A", "[S|LIST|\"m.map\"]"}}, "[S|MAPFILE|\"m.map\"]",
         {{Kind::kConverted, "[S|LIST|\"m.map\"]", "[S|MAPFILE|\"m.map\"]", "A"}}},
        {"a flag's value alone does not pair", {{"A", "[B|OLD|1]"}}, "[B|NEW|1]",
         {{Kind::kDropped, "[B|OLD|1]", "", "A"}, {Kind::kAdded, "", "[B|NEW|1]", ""}}},
        {"exact matches first, across sources", {{"A", "[S|X|1] [S|X|2]"}, {"B", "[S|Y|3]"}}, "[S|X|2] [S|X|9]",
         {{Kind::kConverted, "[S|X|1]", "[S|X|9]", "A"}, {Kind::kKept, "[S|X|2]", "[S|X|2]", "A"},
          {Kind::kDropped, "[S|Y|3]", "", "B"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<ItemFate> fates = CompareOptions(row.before, row.after);
        ASSERT_EQ(fates.size(), row.fates.size());
        for (std::size_t i = 0; i < fates.size(); ++i) {
            EXPECT_EQ(KindName(fates[i].kind), KindName(row.fates[i].kind)) << i;
            EXPECT_EQ(fates[i].oldItem, row.fates[i].oldItem) << i;
            EXPECT_EQ(fates[i].newItem, row.fates[i].newItem) << i;
            EXPECT_EQ(fates[i].source, row.fates[i].source) << i;
        }
    }
}

}  // namespace
}  // namespace vivo::host
