#pragma once
// Shared pieces of the toolchain change tests: toolchain records, a plug-in copy with its own TC.ini,
// calls through guarded caller buffers.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "options/option_string.h"
#include "support/guarded_call.h"

namespace vivo::test {

inline constexpr const char* kKZ = "Veltora KZ Standard Toolchain";
inline constexpr const char* kPexa = "Veltora Pexa Standard Toolchain";
inline constexpr const char* kSarnokiLumo = "Sarnoki Lumo,Lumo/T Standard Toolchain";
inline constexpr const char* kTessaro = "Veltora Tessaro RISC engine Standard Toolchain";
inline constexpr const char* kLibraryGenerator = "Veltora KZ C/C++ Library Generator";
inline constexpr const char* kConfigurator = "Veltora KZ Configurator";

// A source toolchain and version, for the change to KZ `toVersion`.
struct Change {
    const char *fromName, *fromVersion, *toVersion;
};

inline std::string ShippedDefinitions() {
    return ReadBytes(std::string(VIVO_SOURCE_DIR) + "/src/resources/shipped/TC.ini");
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
        const VivoToolchainRecord from{12, change.fromName, change.fromVersion}, to{12, kKZ, change.toVersion};
        char buffer[256];
        int32_t len = sizeof buffer;
        ASSERT_EQ(VIVO_CALL_EXPORT(*plugin_, UpgradePhaseOrder)(&from, &to, "\0", buffer, &len), 0)
            << change.fromName << " " << change.fromVersion << " to " << change.toVersion;
    }

private:
    TempDir dir_;
    std::unique_ptr<Plugin> plugin_;
};

}  // namespace vivo::test
