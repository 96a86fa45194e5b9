// Text files as Upgrade.txt is written: text mode (every "\n" as "\r\n"), a read-only file replaced,
// the attributes set afterwards.
#include "options/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/file_system.h"
#include "support/plugin.h"

namespace vivo {
namespace {

namespace fs = std::filesystem;
using namespace std::string_view_literals;
using platform::kAttributeArchive;
using platform::kAttributeReadOnly;

TEST(WriteTextFile, WritesInTextModeAndSetsTheAttributes) {
    // Columns: name, content of a file already there (null: none), made read-only before, text, attributes,
    // bytes in the file after, writable after.
    const struct { const char* name; const char* existing; bool existingReadOnly; std::string_view text;
                   std::uint32_t attributes; std::string_view expected; bool expectWritable; } rows[] = {
        {"new file, CR LF as CR CR LF", nullptr, false, "a\r\nb\n", kAttributeArchive, "a\r\r\nb\r\n", true},
        {"lone CR and NUL kept", nullptr, false, "a\rb\0c\n"sv, kAttributeArchive, "a\rb\0c\r\n"sv, true},
        {"line ends only", "older and longer content", false, "\n\n\n", kAttributeArchive, "\r\n\r\n\r\n", true},
        {"read-only file replaced", "old contents, longer", true, "new", kAttributeArchive, "new", true},
        {"read-only replaced and left read-only", "old", true, "y", kAttributeReadOnly, "y", false},
        {"empty text", "old", false, "", kAttributeArchive, "", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        test::TempDir dir;
        const fs::path file = dir.path() / "Upgrade.txt";
        if (row.existing != nullptr) dir.Write("Upgrade.txt", row.existing);
        if (row.existingReadOnly) fs::permissions(file, fs::perms::owner_read);
        EXPECT_EQ(WriteTextFile(file.string(), row.text, row.attributes), kTextFileWritten);
        EXPECT_EQ(test::ReadBytes(file), row.expected);
        EXPECT_EQ((fs::status(file).permissions() & fs::perms::owner_write) != fs::perms::none, row.expectWritable);
    }
    test::TempDir dir;
    const std::string missing = (dir.path() / "no such folder" / "Upgrade.txt").string();
    EXPECT_EQ(WriteTextFile(missing, "text", kAttributeArchive), kTextFileNotCreated);
    EXPECT_FALSE(fs::exists(dir.path() / "no such folder"));
}

TEST(WriteTextFile, WritesLongTextsWhole) {
    // Longer than any write chunk, with line feeds falling on every position of a chunk's end.
    std::string text, expected;
    for (int i = 0; text.size() < 300'000; ++i) {
        text.append(static_cast<std::size_t>(i % 7), 'x').push_back('\n');
        expected.append(static_cast<std::size_t>(i % 7), 'x').append("\r\n");
    }
    test::TempDir dir;
    ASSERT_EQ(WriteTextFile((dir.path() / "Upgrade.txt").string(), text, kAttributeArchive), kTextFileWritten);
    EXPECT_TRUE(test::ReadBytes(dir.path() / "Upgrade.txt") == expected);
}

}  // namespace
}  // namespace vivo
