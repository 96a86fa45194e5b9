#include "platform/registry.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vivo::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxKeyNameLength = 255;

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The registry keeps subkeys ordered by their upper-cased names ("Zeta" before "_x").
bool LessNoCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) {
                                            return static_cast<unsigned char>(Upper(x)) <
                                                   static_cast<unsigned char>(Upper(y));
                                        });
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return !LessNoCase(a, b) && !LessNoCase(b, a);
}

fs::path Root() {
    const char* root = std::getenv("VIVO_HKLM");
    return (root != nullptr && *root != '\0') ? fs::path(root) : fs::path("/etc/vivo/HKLM");
}

bool IsDirectory(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

// The subkey of `key` named `name` but for case: the exact spelling first, else the first in the
// registry's order, so that the choice does not depend on the directory's order.
std::optional<fs::path> OpenSubkey(const fs::path& key, std::string_view name) {
    fs::path exact = key / fs::path(std::string(name));
    if (IsDirectory(exact)) return exact;
    std::optional<std::string> best;
    std::error_code error;
    fs::directory_iterator it(key, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::string entry = it->path().filename().string();
        if (!EqualNoCase(entry, name) || !IsDirectory(it->path())) continue;
        if (!best || entry < *best) best = std::move(entry);
    }
    if (!best) return std::nullopt;
    return key / *best;
}

}  // namespace

std::optional<std::vector<std::string>> ListRegistrySubkeys(std::string_view keyPath) {
    fs::path key = Root();
    if (!IsDirectory(key)) return std::nullopt;
    std::size_t start = 0;
    while (start <= keyPath.size()) {
        std::size_t end = keyPath.find('\\', start);
        if (end == std::string_view::npos) end = keyPath.size();
        const std::string_view name = keyPath.substr(start, end - start);
        start = end + 1;
        if (name.empty()) continue;  // "SOFTWARE\\" names SOFTWARE
        if (name == "." || name == ".." || name.find('/') != std::string_view::npos) {
            return std::nullopt;  // not a key name, and must not leave the tree
        }
        auto subkey = OpenSubkey(key, name);
        if (!subkey) return std::nullopt;
        key = std::move(*subkey);
    }

    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator it(key, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        if (!IsDirectory(it->path())) continue;
        std::string name = it->path().filename().string();
        if (name.size() > kMaxKeyNameLength) return std::nullopt;
        names.push_back(std::move(name));
    }
    if (error) return std::nullopt;
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        if (LessNoCase(a, b)) return true;
        if (LessNoCase(b, a)) return false;
        return a < b;  // names equal but for case: only a folder tree can hold both
    });
    return names;
}

}  // namespace vivo::platform
