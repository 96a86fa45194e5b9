#include "options/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/file_system.h"
#include "support/plugin.h"

namespace vivo {
namespace {

namespace fs = std::filesystem;
using platform::kAttributeArchive;
using platform::kAttributeReadOnly;

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Writable(const fs::path& file) {
    struct stat info{};
    return ::stat(file.string().c_str(), &info) == 0 && (info.st_mode & 0222) != 0;
}

TEST(WriteTextFile, WritesInTextModeAndSetsTheAttributes) {
    struct Row {
        const char* name;
        const char* existing;  // content of a file already there, or null
        bool existingReadOnly;
        const char* text;
        std::uint32_t attributes;
        const char* expected;  // bytes in the file
        bool expectWritable;
    };
    // name, existing file, read-only before, text, attributes after, bytes in the file, writable after
    const Row kRows[] = {
        {"new file, LF as CR LF", nullptr, false, "a\nb\n", kAttributeArchive, "a\r\nb\r\n", true},
        {"CR LF as CR CR LF", nullptr, false, "a\r\nb", kAttributeArchive, "a\r\r\nb", true},
        {"read-only file replaced", "old contents, longer", true, "new", kAttributeArchive, "new", true},
        {"left read-only", nullptr, false, "x\n", kAttributeReadOnly, "x\r\n", false},
        {"read-only replaced and left read-only", "old", true, "y", kAttributeReadOnly, "y", false},
        {"empty text", "old", false, "", kAttributeArchive, "", true},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        test::TempDir dir;
        const fs::path file = dir.path() / "Upgrade.txt";
        if (row.existing != nullptr) {
            dir.Write("Upgrade.txt", row.existing);
            if (row.existingReadOnly) fs::permissions(file, fs::perms::owner_write | fs::perms::group_write |
                                                                fs::perms::others_write,
                                                      fs::perm_options::remove);
        }
        EXPECT_EQ(WriteTextFile(file.string(), row.text, row.attributes), kTextFileWritten);
        EXPECT_EQ(ReadBytes(file), row.expected);
        EXPECT_EQ(Writable(file), row.expectWritable);
    }
}

TEST(WriteTextFile, FileThatCannotBeCreatedGivesOne) {
    test::TempDir dir;
    const std::string missing = (dir.path() / "no such folder" / "Upgrade.txt").string();
    EXPECT_EQ(WriteTextFile(missing, "text", kAttributeArchive), kTextFileNotCreated);
    EXPECT_FALSE(fs::exists(dir.path() / "no such folder"));
}

}  // namespace
}  // namespace vivo
