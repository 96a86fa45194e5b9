#include "platform/file_system.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>

#include "support/plugin.h"

namespace vivo::platform {
namespace {

namespace fs = std::filesystem;

// The folder as the shared code names it: "\tmp\vivo-test-...".
std::string WindowsStyle(const fs::path& path) {
    std::string text = path.string();
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

std::string ReadAll(std::FILE* file) {
    std::string text;
    char chunk[256];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
    return text;
}

struct NameRow {
    const char* name;
    const char* path;    // below the test folder, as the shared code writes it
    const char* native;  // below the test folder, as the file system spells it
    bool opens;
};

constexpr std::array kNameRows = {
    NameRow{"as written", "Sub\\TC.ini", "Sub/TC.ini", true},
    NameRow{"file name in upper case", "Sub\\TC.INI", "Sub/TC.ini", true},
    NameRow{"every component in another case", "sUB\\data\\UPGRADE.txt", "Sub/Data/Upgrade.txt", true},
    NameRow{"slashes and backslashes", "sub/Data\\upgrade.TXT", "Sub/Data/Upgrade.txt", true},
    NameRow{"dot components", "Sub\\.\\data\\..\\tc.ini", "Sub/./Data/../TC.ini", true},
    NameRow{"exact spelling preferred", "Twin\\a.txt", "Twin/a.txt", true},
    NameRow{"smallest spelling of several", "Twin\\A.TXT", "Twin/A.txt", true},
    NameRow{"missing file keeps its spelling", "SUB\\New.TXT", "Sub/New.TXT", false},
    NameRow{"missing folder keeps the rest", "Nope\\TC.INI", "Nope/TC.INI", false},
};

TEST(PosixFileNames, FindFilesByAnyCase) {
    test::TempDir dir;
    fs::create_directories(dir.path() / "Sub" / "Data");
    fs::create_directories(dir.path() / "Twin");
    for (const char* file : {"Sub/TC.ini", "Sub/Data/Upgrade.txt", "Twin/a.txt", "Twin/A.txt"}) {
        dir.Write(file, file);
    }
    for (const auto& row : kNameRows) {
        SCOPED_TRACE(row.name);
        const std::string path = WindowsStyle(dir.path()) + "\\" + row.path;
        EXPECT_EQ(NativePath(path), dir.path().string() + "/" + row.native);
        std::FILE* file = OpenFile(path, "rb");
        EXPECT_EQ(file != nullptr, row.opens);
        if (file == nullptr) continue;
        EXPECT_EQ(fs::path(ReadAll(file)), fs::path(row.native).lexically_normal());
        std::fclose(file);
    }
}

struct AttributeRow {
    const char* name;
    mode_t before;
    std::uint32_t attributes;
    mode_t after;
};

constexpr std::array kAttributeRows = {
    AttributeRow{"read-only takes every write bit", 0664, kAttributeReadOnly, 0444},
    AttributeRow{"read-only keeps run bits", 0775, kAttributeReadOnly, 0555},
    AttributeRow{"read-only wins over archive", 0644, kAttributeReadOnly | kAttributeArchive, 0444},
    AttributeRow{"archive makes a read-only file writable", 0444, kAttributeArchive, 0644},
    AttributeRow{"archive gives the owner read and write", 0040, kAttributeArchive, 0640},
    AttributeRow{"archive keeps other write bits", 0664, kAttributeArchive, 0664},
};

TEST(PosixFileAttributes, SetAsModeBits) {
    test::TempDir dir;
    const auto file = dir.Write("Upgrade.txt", "x");
    for (const auto& row : kAttributeRows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(::chmod(file.c_str(), row.before), 0);
        EXPECT_TRUE(SetFileAttributes(WindowsStyle(dir.path()) + "\\UPGRADE.TXT", row.attributes));
        struct stat info{};
        ASSERT_EQ(::stat(file.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, row.after);
    }
    EXPECT_FALSE(SetFileAttributes(WindowsStyle(dir.path()) + "\\Missing.txt", kAttributeArchive));
}

TEST(PosixFileAttributes, ReadOnlyFileCanBeReplacedAfterArchive) {
    // The order the summary writer uses: archive, write, then the attributes asked for.
    test::TempDir dir;
    const auto file = dir.Write("Upgrade.txt", "old");
    const std::string path = WindowsStyle(file);
    ASSERT_TRUE(SetFileAttributes(path, kAttributeReadOnly));
    ASSERT_TRUE(SetFileAttributes(path, kAttributeArchive));
    EXPECT_EQ(WriteTextModeFile(path, "new\n"), 0);
    EXPECT_TRUE(SetFileAttributes(path, kAttributeReadOnly));
    struct stat info{};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0222, 0u);
    EXPECT_EQ(info.st_size, 5);
}

TEST(PosixTextModeFile, ReportsAFailedWrite) {
    // /dev/full accepts the open and refuses every byte: the failure shows when the data is flushed.
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    EXPECT_EQ(WriteTextModeFile("\\dev\\full", "a\n"), 3);
}

}  // namespace
}  // namespace vivo::platform
