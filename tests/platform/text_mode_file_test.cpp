#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/file_system.h"
#include "support/plugin.h"

namespace vivo::platform {
namespace {

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct TextModeRow {
    const char* name;
    std::string_view text;
    std::string_view expected;
};

using namespace std::string_view_literals;

constexpr std::array kTextModeRows = {
    TextModeRow{"empty", "", ""},
    TextModeRow{"LF becomes CR LF", "a\nb\n", "a\r\nb\r\n"},
    TextModeRow{"CR LF becomes CR CR LF", "a\r\nb", "a\r\r\nb"},
    TextModeRow{"lone CR kept", "a\rb", "a\rb"},
    TextModeRow{"NUL kept", "a\0b\n"sv, "a\0b\r\n"sv},
    TextModeRow{"line ends only", "\n\n\n", "\r\n\r\n\r\n"},
};

TEST(TextModeFile, WritesEveryLineFeedAsCrLf) {
    test::TempDir dir;
    const auto file = dir.Write("Upgrade.txt", "older and longer content");
    for (const auto& row : kTextModeRows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(WriteTextModeFile(file.string(), row.text), 0);
        EXPECT_EQ(ReadBytes(file), row.expected);
    }
}

TEST(TextModeFile, WritesLongTextsWhole) {
    // Longer than any write chunk, with line feeds falling on every position of a chunk's end.
    std::string text;
    std::string expected;
    for (int i = 0; text.size() < 300'000; ++i) {
        text.append(static_cast<std::size_t>(i % 7), 'x').push_back('\n');
        expected.append(static_cast<std::size_t>(i % 7), 'x').append("\r\n");
    }
    test::TempDir dir;
    const auto file = dir.path() / "Upgrade.txt";
    ASSERT_EQ(WriteTextModeFile(file.string(), text), 0);
    const std::string written = ReadBytes(file);
    EXPECT_EQ(written.size(), expected.size());
    EXPECT_TRUE(written == expected);
}

TEST(TextModeFile, ReportsAFileThatCannotBeCreated) {
    test::TempDir dir;
    EXPECT_EQ(WriteTextModeFile((dir.path() / "missing" / "Upgrade.txt").string(), "a\n"), 1);
}

}  // namespace
}  // namespace vivo::platform
