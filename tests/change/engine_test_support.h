#pragma once
// Shared pieces of the toolchain change tests: toolchain records, NUL-separated lists, a plug-in copy
// with its own TC.ini, and calls through guarded caller buffers.

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>

#include "options/option_string.h"
#include "support/plugin.h"

namespace vivo::test {

inline constexpr const char* kKZ = "Veltora KZ Standard Toolchain";
inline constexpr const char* kPexa = "Veltora Pexa Standard Toolchain";
inline constexpr const char* kSarnokiLumo = "Sarnoki Lumo,Lumo/T Standard Toolchain";
inline constexpr const char* kVeltoraLumo = "Veltora Lumo,Lumo/T Standard Toolchain";
inline constexpr const char* kTessaro = "Veltora Tessaro RISC engine Standard Toolchain";

inline constexpr const char* kCompiler = "Veltora KZ C/C++ Compiler";
inline constexpr const char* kAssembler = "Veltora KZ Assembler";
inline constexpr const char* kLibraryGenerator = "Veltora KZ C/C++ Library Generator";
inline constexpr const char* kLinker = "Veltora Bindex";
inline constexpr const char* kConfigurator = "Veltora KZ Configurator";

// A source toolchain and version, for the change to KZ `toVersion`.
struct Change {
    const char* fromName;
    const char* fromVersion;
    const char* toVersion;
};

// Each string followed by NUL, then one more NUL.
inline std::string NulList(std::initializer_list<std::string> strings) {
    std::string list;
    for (const std::string& s : strings) list += s + '\0';
    return list + '\0';
}

inline std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string ShippedDefinitions() { return ReadFile(std::string(VIVO_SOURCE_DIR) + "/src/resources/TC.ini"); }

// What an export left in a guarded caller buffer.
struct BufferResult {
    int32_t rc;
    int32_t len;
    std::string bytes;  // the first `capacity` bytes of the buffer
};
inline constexpr char kGuard = '\x5A';

// Calls `call(buffer, &len)` with `capacity` bytes and checks that nothing was written behind them.
template <class Call>
BufferResult CallGuarded(int32_t capacity, Call call) {
    std::string buffer(static_cast<std::size_t>(capacity) + 16, kGuard);
    int32_t len = capacity;
    const int32_t rc = call(buffer.data(), &len);
    EXPECT_EQ(buffer.substr(static_cast<std::size_t>(capacity)), std::string(16, kGuard)) << "written past the buffer";
    return {rc, len, buffer.substr(0, static_cast<std::size_t>(capacity))};
}

// Expects success with exactly `expected` in the buffer and its length written back as `reported`.
inline void ExpectDelivered(const BufferResult& r, const std::string& expected, int32_t reported) {
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.len, reported);
    EXPECT_EQ(r.bytes.substr(0, expected.size()), expected);
}

// A copy of the plug-in in its own folder, with `definitions` as its TC.ini (none when empty).
class EnginePlugin {
public:
    explicit EnginePlugin(const std::string& definitions = ShippedDefinitions()) {
        CopyPluginInto(dir_);
        if (!definitions.empty()) dir_.Write("TC.ini", definitions);
        plugin_ = std::make_unique<Plugin>(dir_.path() / BuiltPluginFile().filename());
    }
    const Plugin& plugin() const { return *plugin_; }
    const TempDir& dir() const { return dir_; }

    // Starts a change with an empty phase order and expects it to be found.
    void Begin(const Change& change) const {
        const VivoToolchainRecord from{12, change.fromName, change.fromVersion};
        const VivoToolchainRecord to{12, kKZ, change.toVersion};
        char buffer[256];
        int32_t len = sizeof buffer;
        ASSERT_EQ(VIVO_CALL_EXPORT(*plugin_, UpgradePhaseOrder)(&from, &to, "\0", buffer, &len), 0)
            << change.fromName << " " << change.fromVersion << " to " << change.toVersion;
    }

    // The report of the change as Upgrade.txt holds it, line breaks back to CR LF.
    std::string Report() const {
        VIVO_CALL_EXPORT(*plugin_, DisplaySummaryInformation)("P", dir_.path().string().c_str());
        std::string text = ReadFile(dir_.path() / "Upgrade.txt");
        for (std::size_t at; (at = text.find("\r\r\n")) != std::string::npos;) text.erase(at, 1);
        return text;
    }

private:
    TempDir dir_;
    std::unique_ptr<Plugin> plugin_;
};

// The report header of a change, as the summary dialog writes it for project "P".
inline std::string ReportHeader(const Change& change) {
    return std::string("Project name : P\r\n\r\n") + change.fromName + " " + change.fromVersion +
           " was upgraded to\r\n   " + kKZ + " " + change.toVersion + ".\r\n\r\n";
}

}  // namespace vivo::test
