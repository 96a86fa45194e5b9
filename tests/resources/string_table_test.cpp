// The plug-in's own string table and the filling of its format texts.
#include "resources/string_table.h"

#include <gtest/gtest.h>

namespace vivo {
namespace {

TEST(StringTable, OwnTextsByExactIdentifier) {
    EXPECT_EQ(OwnString(2009), "Veltora Pexa Standard Toolchain");
    // Identifiers between two entries, and past the last, have no text.
    for (uint32_t id : {7u, 1001u, 2007u, 99999u}) EXPECT_FALSE(OwnString(id).has_value()) << id;
}

TEST(StringTable, FormatTextFillsItsFieldsInOrder) {
    // Columns: name, format, values, text.
    const struct { const char* name; std::string_view format; std::initializer_list<std::string_view> values;
                   std::string_view expected; } rows[] = {
        {"fields in order", "a%sb%s", {"1", "2"}, "a1b2"},
        {"%% is one percent sign", "100%% %s", {"x"}, "100% x"},
        {"a field without a value fills with nothing", "%s-%s", {"a"}, "a-"},
        {"other marks and a trailing % stay", "%d %", {"x"}, "%d %"},
        {"values are not read as formats", "%s", {"%s%%"}, "%s%%"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FormatText(row.format, row.values), row.expected);
    }
}

}  // namespace
}  // namespace vivo
