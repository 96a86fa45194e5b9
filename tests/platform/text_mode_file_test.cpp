#include <gtest/gtest.h>

#include <string>

#include "platform/file_system.h"
#include "support/plugin.h"

namespace vivo::platform {
namespace {

using namespace std::string_view_literals;

TEST(TextModeFile, WritesEveryLineFeedAsCrLf) {
    // Columns: name, text, bytes in the file. Each row replaces the longer file the row before left.
    const struct { const char* name; std::string_view text, expected; } rows[] = {
        {"empty", "", ""},
        {"CR LF becomes CR CR LF", "a\r\nb", "a\r\r\nb"},
        {"lone CR kept", "a\rb", "a\rb"},
        {"NUL kept", "a\0b\n"sv, "a\0b\r\n"sv},
        {"line ends only", "\n\n\n", "\r\n\r\n\r\n"},
    };
    test::TempDir dir;
    const auto file = dir.Write("Upgrade.txt", "older and longer content");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(WriteTextModeFile(file.string(), row.text), 0);
        EXPECT_EQ(test::ReadBytes(file), row.expected);
    }
    EXPECT_EQ(WriteTextModeFile((dir.path() / "missing" / "Upgrade.txt").string(), "a\n"), 1);
}

TEST(TextModeFile, WritesLongTextsWhole) {
    // Longer than any write chunk, with line feeds falling on every position of a chunk's end.
    std::string text, expected;
    for (int i = 0; text.size() < 300'000; ++i) {
        text.append(static_cast<std::size_t>(i % 7), 'x').push_back('\n');
        expected.append(static_cast<std::size_t>(i % 7), 'x').append("\r\n");
    }
    test::TempDir dir;
    ASSERT_EQ(WriteTextModeFile((dir.path() / "Upgrade.txt").string(), text), 0);
    EXPECT_TRUE(test::ReadBytes(dir.path() / "Upgrade.txt") == expected);
}

}  // namespace
}  // namespace vivo::platform
