#include "platform/file_system.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace vivo::platform {
namespace {

namespace fs = std::filesystem;

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return Lower(x) == Lower(y); });
}

bool Exists(const std::string& path) {
    struct stat info{};
    return ::lstat(path.c_str(), &info) == 0;
}

// The entry of `directory` whose name equals `name` but for case; of several, the smallest in byte
// order, so that the choice does not depend on the directory's order. Empty when there is none.
std::string FindNoCase(const std::string& directory, std::string_view name) {
    std::string best;
    std::error_code error;
    fs::directory_iterator it(directory.empty() ? fs::path(".") : fs::path(directory), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::string entry = it->path().filename().string();
        if (EqualNoCase(entry, name) && (best.empty() || entry < best)) best = std::move(entry);
    }
    return best;
}

constexpr std::size_t kWriteChunk = 64 * 1024;

}  // namespace

std::string NativePath(std::string_view path) {
    std::string result;
    result.reserve(path.size());
    bool resolving = true;  // once a component is missing, the rest is taken as written
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find_first_of("\\/", start);
        const std::string_view component =
            path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (resolving && !component.empty() && component != "." && component != "..") {
            const std::string directory = result;
            std::string candidate = result;
            candidate.append(component);
            if (!Exists(candidate)) {
                // "TC.INI" names the file TC.ini.
                const std::string found = FindNoCase(directory, component);
                if (found.empty()) {
                    resolving = false;
                } else {
                    candidate = directory + found;
                }
            }
            result = std::move(candidate);
        } else {
            result.append(component);
        }
        if (end == std::string_view::npos) break;
        result.push_back('/');
        start = end + 1;
    }
    return result;
}

std::FILE* OpenFile(std::string_view path, const char* mode) {
    return std::fopen(NativePath(path).c_str(), mode);
}

bool SetFileAttributes(std::string_view path, std::uint32_t attributes) {
    const std::string native = NativePath(path);
    struct stat info{};
    if (::stat(native.c_str(), &info) != 0) return false;
    // Read-only takes every write bit away; anything else is a normal file its owner can write.
    const mode_t mode = (attributes & kAttributeReadOnly) != 0 ? (info.st_mode & 07555)
                                                                 : (info.st_mode & 07777) | 0600;
    return ::chmod(native.c_str(), mode) == 0;
}

int WriteTextModeFile(std::string_view path, std::string_view text) {
    std::FILE* file = std::fopen(NativePath(path).c_str(), "wb");
    if (file == nullptr) return 1;
    int result = 0;
    std::string chunk;
    chunk.reserve(kWriteChunk + 2);
    for (std::size_t i = 0; i < text.size() && result == 0;) {
        chunk.clear();
        for (; i < text.size() && chunk.size() < kWriteChunk; ++i) {
            if (text[i] == '\n') chunk.push_back('\r');
            chunk.push_back(text[i]);
        }
        if (std::fwrite(chunk.data(), 1, chunk.size(), file) != chunk.size()) result = 3;
    }
    if (std::fclose(file) != 0) result = 3;
    return result;
}

}  // namespace vivo::platform
