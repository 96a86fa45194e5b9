#pragma once
// Loading the built plug-in the way the host does, for black-box tests.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/shared_library.h"
#include "vivo/vivo.h"

namespace vivo::test {

// A fresh folder below the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // Writes `content` as the file `name` in the folder (binary, as given) and returns its path.
    std::filesystem::path Write(const std::string& name, const std::string& content) const;

private:
    std::filesystem::path path_;
};

// A loaded copy of the plug-in. Every loaded file has its own process-wide state.
class Plugin {
public:
    // Loads the plug-in file at `file`.
    explicit Plugin(const std::filesystem::path& file);
    ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    // The export `name`, or a failed test when it is missing.
    void* Symbol(const char* name) const;

private:
    platform::SharedLibrary* library_ = nullptr;
};

// The bytes of `file` as they are on disk (empty when it cannot be read).
std::string ReadBytes(const std::filesystem::path& file);

// The built plug-in file and the folder it lies in.
std::filesystem::path BuiltPluginFile();

// Copies the built plug-in into `dir` (without any file from beside it) and returns the copy's path.
std::filesystem::path CopyPluginInto(const TempDir& dir);

// Calls export `name` of `plugin` with the prototype that vivo.h declares for it.
#define VIVO_CALL_EXPORT(plugin, name) (reinterpret_cast<decltype(&::name)>((plugin).Symbol(#name)))

}  // namespace vivo::test
