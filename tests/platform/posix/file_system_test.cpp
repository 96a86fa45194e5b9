#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
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

TEST(PosixFileNames, FindFilesByAnyCase) {
    // Columns: name, path below the test folder as the shared code writes it, as the file system
    // spells it, opens. Each file holds its own native name.
    const struct { const char* name; const char* path; const char* native; bool opens; } rows[] = {
        {"as written", "Sub\\TC.ini", "Sub/TC.ini", true},
        {"every component in another case", "sUB\\data\\UPGRADE.txt", "Sub/Data/Upgrade.txt", true},
        {"slashes and backslashes", "sub/Data\\upgrade.TXT", "Sub/Data/Upgrade.txt", true},
        {"dot components", "Sub\\.\\data\\..\\tc.ini", "Sub/./Data/../TC.ini", true},
        {"exact spelling preferred", "Twin\\a.txt", "Twin/a.txt", true},
        {"smallest spelling of several", "Twin\\A.TXT", "Twin/A.txt", true},
        {"missing file keeps its spelling", "SUB\\New.TXT", "Sub/New.TXT", false},
        {"missing folder keeps the rest", "Nope\\TC.INI", "Nope/TC.INI", false},
    };
    test::TempDir dir;
    fs::create_directories(dir.path() / "Sub" / "Data");
    fs::create_directories(dir.path() / "Twin");
    for (const char* file : {"Sub/TC.ini", "Sub/Data/Upgrade.txt", "Twin/a.txt", "Twin/A.txt"}) dir.Write(file, file);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = WindowsStyle(dir.path()) + "\\" + row.path;
        EXPECT_EQ(NativePath(path), dir.path().string() + "/" + row.native);
        std::FILE* file = OpenFile(path, "rb");
        EXPECT_EQ(file != nullptr, row.opens);
        if (file == nullptr) continue;
        char content[64];
        const std::string read(content, std::fread(content, 1, sizeof content, file));
        EXPECT_EQ(fs::path(read), fs::path(row.native).lexically_normal());
        std::fclose(file);
    }
}

TEST(PosixFileAttributes, SetAsModeBits) {
    // Columns: name, mode before, attributes set, mode after.
    const struct { const char* name; unsigned before; std::uint32_t attributes; unsigned after; } rows[] = {
        {"read-only takes every write bit, keeps run bits", 0775, kAttributeReadOnly, 0555},
        {"read-only wins over archive", 0644, kAttributeReadOnly | kAttributeArchive, 0444},
        {"archive makes a read-only file writable", 0444, kAttributeArchive, 0644},
        {"archive gives the owner read and write", 0040, kAttributeArchive, 0640},
        {"archive keeps other write bits", 0664, kAttributeArchive, 0664},
    };
    test::TempDir dir;
    const auto file = dir.Write("Upgrade.txt", "x");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        fs::permissions(file, fs::perms(row.before));
        EXPECT_TRUE(SetFileAttributes(WindowsStyle(dir.path()) + "\\UPGRADE.TXT", row.attributes));
        EXPECT_EQ(fs::status(file).permissions(), fs::perms(row.after));
    }
    EXPECT_FALSE(SetFileAttributes(WindowsStyle(dir.path()) + "\\Missing.txt", kAttributeArchive));
}

TEST(PosixTextModeFile, ReportsAFailedWrite) {
    // /dev/full accepts the open and refuses every byte: the failure shows when the data is flushed.
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    EXPECT_EQ(WriteTextModeFile("\\dev\\full", "a\n"), 3);
}

}  // namespace
}  // namespace vivo::platform
