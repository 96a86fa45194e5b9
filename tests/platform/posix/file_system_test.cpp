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

}  // namespace
}  // namespace vivo::platform
