// The colouring files where the plug-in finds them (the primary beside the plug-in, the secondary below
// the first folder of $XDG_DATA_DIRS), through the exports.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/posix/scoped_environment.h"
#include "support/guarded_call.h"

namespace vivo {
namespace {

namespace fs = std::filesystem;

constexpr const char* kAbsent = nullptr;  // no such file

// A fresh plug-in copy with its own primary file, and a common data folder with its own secondary file.
class ColouringFolders {
public:
    ColouringFolders(const char* primary, const char* secondary)
        : environment_("XDG_DATA_DIRS", (common_.path().string() + ":/usr/share").c_str()),
          plugin_(test::CopyPluginInto(pluginDir_)) {
        if (primary != nullptr) pluginDir_.Write("SyntaxColouring.ini", primary);
        if (secondary != nullptr) {
            fs::create_directories(common_.path() / "Veltora" / "RTOS");
            common_.Write("Veltora/RTOS/SyntaxColouring.ini", secondary);
        }
    }
    test::Plugin& plugin() { return plugin_; }

private:
    test::TempDir pluginDir_;
    test::TempDir common_;
    platform::ScopedEnvironment environment_;
    test::Plugin plugin_;
};

TEST(SyntaxColouringFiles, FoundBesideThePluginAndInTheCommonDataFolder) {
    // Columns: name, file beside the plug-in, file in the common data folder, name asked for, keyword text, version.
    const struct { const char* name; const char* primary; const char* secondary; const char* fileType;
                   std::string_view keywords; uint32_t version; } rows[] = {
        {"primary answers", "[Syntax Colouring Information]\nFileGroup0=A\nFileGroup0-1=auto break\nFileGroup0-2=case\n",
         kAbsent, "A", "auto break\ncase\n", 0},
        {"secondary answers what the primary lacks, versions add up",
         "[Syntax Colouring Version]\nVersion=3\n[Syntax Colouring Information]\nFileGroup0=B\nFileGroup0-1=b\n",
         "[Syntax Colouring Version]\nVersion=2\n[Syntax Colouring Information]\nFileGroup0=B,A\nFileGroup0-1=other\n",
         "A", "other\n", 5},
        {"neither", kAbsent, kAbsent, "A", "", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ColouringFolders folders(row.primary, row.secondary);
        auto* information = VIVO_CALL_EXPORT(folders.plugin(), GetSyntaxColouringInformation);
        auto call = [&](char* b, int32_t* l) { return information(row.fileType, b, l); };
        if (!row.keywords.empty()) {
            test::ExpectDeliversTerminated(call, row.keywords);
        } else {  // no text is an answer: its NUL, and the length 0
            const test::GuardedCall c = test::CallGuarded(1, call);
            EXPECT_EQ((std::array{c.result, c.len}), (std::array{0, 0}));
            EXPECT_TRUE(test::WroteExactly(c, std::string(1, '\0')));
        }
        uint32_t version = 0xA5A5A5A5;
        EXPECT_EQ(VIVO_CALL_EXPORT(folders.plugin(), GetSyntaxColouringVersion)(&version), 0);
        EXPECT_EQ(version, row.version);
    }
}

}  // namespace
}  // namespace vivo
