#pragma once
// The command-line host's shared pieces: the loaded plug-in, its exports, the failures a command
// reports, and what every command gets from the command line.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "vivo/vivo.h"

namespace CLI {
class App;
}

namespace vivo::host {

// Exit codes, as command-line programs use them.
constexpr int kExitOk = 0;
constexpr int kExitProblems = 1;     // ran, and found problems (errors in a log, items needing attention)
constexpr int kExitFailure = 2;      // bad usage, unreadable input, a write that failed
constexpr int kExitInterrupted = 130;

// A failure the user must see: printed as one line "vivo: <what>", then the exit code.
struct Failure : std::runtime_error {
    explicit Failure(const std::string& what, int exitCode = kExitFailure)
        : std::runtime_error(what), exitCode(exitCode) {}
    int exitCode;
};

// The plug-in file loaded with dlopen.
class LoadedPlugin {
public:
    explicit LoadedPlugin(const std::string& path);  // throws Failure
    ~LoadedPlugin();
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

    // The export `name`; throws Failure when the file lacks it.
    void* Symbol(const char* name) const;
    const std::string& path() const { return path_; }

private:
    void* handle_ = nullptr;
    std::string path_;
};

#define VIVO_EXPORT(plugin, name) (reinterpret_cast<decltype(&::name)>((plugin).Symbol(#name)))

// What the command line gives every command: the plug-in to load (loaded on first use) and the body
// of the command that was chosen.
class Host {
public:
    std::string pluginPath;
    std::function<int()> run;

    LoadedPlugin& Plugin();
    // Forgets the loaded plug-in, so that the next Plugin() loads it afresh with new process-wide state.
    void Unload() { plugin_.reset(); }

private:
    std::unique_ptr<LoadedPlugin> plugin_;
};

// The subcommands, one per file; each adds itself to the program's command line.
void AddInfoCommand(CLI::App& app, Host& host);
void AddChangeCommand(CLI::App& app, Host& host);
void AddOptionsCommand(CLI::App& app, Host& host);
void AddKeywordsCommand(CLI::App& app, Host& host);
void AddClassifyCommand(CLI::App& app, Host& host);
void AddEditorCommand(CLI::App& app, Host& host);

// Calls an export that fills a caller buffer, growing the buffer to the length the plug-in asks for.
// `call(buffer, &len)` returns the export's result; the returned bytes are `len` long (as the
// export reported it), or nothing when the export failed for another reason than the buffer.
template <class Call>
std::optional<std::string> CallWithBuffer(Call&& call, int32_t initial = 256) {
    int32_t capacity = initial;
    for (int attempt = 0; attempt < 8; ++attempt) {
        // Not filled in advance: the pages of a large buffer that the plug-in leaves unwritten cost no memory.
        const std::unique_ptr<char[]> buffer(new char[static_cast<size_t>(capacity)]);
        int32_t len = capacity;
        int32_t rc = call(buffer.get(), &len);
        if (rc == 0) return std::string(buffer.get(), static_cast<size_t>(std::clamp(len, 0, capacity)));
        if (len <= capacity) return std::nullopt;  // failed for another reason than the buffer
        capacity = len;
    }
    return std::nullopt;
}

// Splits a NUL-separated list into its strings (up to the closing empty string).
std::vector<std::string> SplitNulList(std::string_view bytes);

// Strings as the NUL-separated list the exports read: each string and its NUL, then one more NUL.
// An empty string would end the list early: `what` names the entries in the error.
std::string NulList(const std::vector<std::string>& strings, std::string_view what = "entry");

// Terminated text as the exports deliver it, without its NUL.
std::string WithoutTerminator(std::string bytes);

// The host program's own version (`vivo --version`, the SARIF log of `vivo classify`).
constexpr const char* kHostVersion = "1.2.1";

// The target toolchain of every change and query.
constexpr const char* kKzToolchain = "Veltora KZ Standard Toolchain";

}  // namespace vivo::host
