#pragma once
// The command-line host's shared pieces: the loaded plug-in, its exports, and the command table.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "vivo/vivo.h"

namespace vivo::host {

// A failure the user must see: printed as one line, exit code 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The plug-in file loaded with dlopen.
class LoadedPlugin {
public:
    explicit LoadedPlugin(const std::string& path);  // throws UsageError
    ~LoadedPlugin();
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

    // The export `name`; throws UsageError when the file lacks it.
    void* Symbol(const char* name) const;
    const std::string& path() const { return path_; }

private:
    void* handle_ = nullptr;
    std::string path_;
};

#define VIVO_EXPORT(plugin, name) (reinterpret_cast<decltype(&::name)>((plugin).Symbol(#name)))

// Calls an export that fills a caller buffer, growing the buffer to the length the plug-in asks for.
// `call(buffer, &len)` returns the export's result; the returned bytes are `len` long (as the
// export reported it), or nothing when the export failed for another reason than the buffer.
template <class Call>
std::optional<std::string> CallWithBuffer(Call&& call, int32_t initial = 256) {
    int32_t capacity = initial;
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string buffer(static_cast<size_t>(capacity), '\0');
        int32_t len = capacity;
        int32_t rc = call(buffer.data(), &len);
        if (rc == 0) {
            buffer.resize(static_cast<size_t>(std::min(len, capacity)));
            return buffer;
        }
        if (len <= capacity) return std::nullopt;  // failed for another reason than the buffer
        capacity = len;
    }
    return std::nullopt;
}

// Splits a NUL-separated list of `size` bytes into its strings (up to the closing empty string).
std::vector<std::string> SplitNulList(std::string_view bytes);

// Writes `text` as a JSON string literal.
std::string JsonString(std::string_view text);

// Parsed command line of one subcommand.
struct Arguments {
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;  // "--name" -> value ("" for flags)
    bool Has(std::string_view name) const;
    std::optional<std::string> Value(std::string_view name) const;
};

// One subcommand: its name, a one-line summary, the options that take a value, and its body.
struct Command {
    const char* name;
    const char* summary;
    std::vector<std::string_view> valueOptions;
    int (*run)(LoadedPlugin& plugin, const Arguments& args);
};

// The subcommands, one per file (info_command.cpp, ...), listed in commands.cpp.
const std::vector<Command>& Commands();

}  // namespace vivo::host
