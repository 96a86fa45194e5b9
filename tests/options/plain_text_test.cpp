#include "options/plain_text.h"

#include <gtest/gtest.h>

namespace vivo {
namespace {

TEST(PlainText, ParseUnsignedReadsAsStrtoul) {
    // Columns: text, number (strtoul with a 32-bit unsigned long).
    const struct { std::string_view text; std::uint32_t expected; } rows[] = {
        {"", 0}, {"x1", 0}, {"0", 0}, {"12x", 12}, {"  \t+7", 7}, {" -3", 4294967293u}, {"-0", 0},
        {"4294967295", 4294967295u}, {"4294967296", 4294967295u}, {"99999999999999999999", 4294967295u},
        {"- 1", 0}, {"19", 19},
    };
    for (const auto& row : rows) EXPECT_EQ(ParseUnsigned(row.text), row.expected) << row.text;
}

}  // namespace
}  // namespace vivo
