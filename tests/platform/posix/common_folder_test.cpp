#include "platform/common_folder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/file_system.h"
#include "platform/posix/scoped_environment.h"
#include "support/plugin.h"

namespace vivo::platform {
namespace {

struct FolderRow {
    const char* name;
    const char* dataDirs;  // nullptr: not set
    const char* expected;
};

constexpr std::array kFolderRows = {
    FolderRow{"not set", nullptr, "\\usr\\local\\share"},
    FolderRow{"empty", "", "\\usr\\local\\share"},
    FolderRow{"one entry", "/opt/data", "\\opt\\data"},
    FolderRow{"first of several", "/opt/data:/usr/share", "\\opt\\data"},
    FolderRow{"trailing slash dropped", "/opt/data/:/usr/share", "\\opt\\data"},
};

TEST(PosixCommonFolder, FirstDataFolderWithBackslashes) {
    for (const auto& row : kFolderRows) {
        SCOPED_TRACE(row.name);
        ScopedEnvironment dirs("XDG_DATA_DIRS", row.dataDirs);
        EXPECT_EQ(CommonAppDataFolder(), row.expected);
    }
}

TEST(PosixCommonFolder, JoinedWithWindowsRulesOpens) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.path() / "Veltora" / "RTOS");
    dir.Write("Veltora/RTOS/SyntaxColouring.ini", "[Keywords]\n");
    ScopedEnvironment dirs("XDG_DATA_DIRS", (dir.path().string() + ":/usr/share").c_str());
    std::FILE* file = OpenFile(CommonAppDataFolder() + "\\VELTORA\\rtos\\SyntaxColouring.ini", "rb");
    EXPECT_NE(file, nullptr);
    if (file != nullptr) std::fclose(file);
}

}  // namespace
}  // namespace vivo::platform
