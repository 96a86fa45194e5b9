#include "options/paths.h"

#include <algorithm>
#include <cstdint>

namespace vivo {
namespace {

constexpr char kSeparator = '\\';

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// "C:..." (as _splitpath sees a drive: any character before the colon).
bool HasDriveColon(std::string_view path) { return path.size() >= 2 && path[1] == ':'; }

// "C:..." with a real drive letter.
bool HasDrive(std::string_view path) { return HasDriveColon(path) && IsLetter(path[0]); }

// The part of an absolute path that ".." cannot remove: "C:\", "C:", "\\", "\" or nothing.
std::string_view RootOf(std::string_view path) {
    if (HasDrive(path)) return path.substr(0, path.size() > 2 && path[2] == kSeparator ? 3 : 2);
    if (path.starts_with("\\\\")) return path.substr(0, 2);
    if (path.starts_with('\\')) return path.substr(0, 1);
    return {};
}

bool FitsMaxPath(std::size_t length) { return length < kMaxPath; }

// Calls `each(end)` for the end of every component of `path`: the place of each separator, then the
// path's size.
template <class Each>
void ForEachComponentEnd(std::string_view path, Each&& each) {
    for (std::size_t end = 0; end < path.size(); ++end)
        if (path[end] == kSeparator) each(end);
    each(path.size());
}

}  // namespace

std::string RemoveFileSpec(std::string_view path) {
    const std::size_t last = path.rfind(kSeparator);
    if (last == std::string_view::npos) {
        // "C:b.c" -> "C:";  "b.c" -> ""
        return std::string(HasDrive(path) ? path.substr(0, 2) : std::string_view{});
    }
    const std::size_t root = RootOf(path).size();
    // "C:\b.c" -> "C:\";  "\b.c" -> "\";  "\\server" -> "\\"
    if (last < root) return std::string(path.substr(0, root));
    return std::string(path.substr(0, last));
}

std::string_view FindFileName(std::string_view path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const char c = path[i];
        const char next = path[i + 1];
        // A separator followed by a trailing one does not start a name: "C:\a\" -> "a\".
        if ((c == '\\' || c == '/' || c == ':') && next != '\\' && next != '/') start = i + 1;
    }
    return path.substr(start);
}

std::string_view FindExtension(std::string_view path) {
    std::size_t dot = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '.') dot = i;
        // An extension holds no blank and belongs to the last component only.
        else if (c == '\\' || c == ' ') dot = std::string_view::npos;
    }
    return dot == std::string_view::npos ? std::string_view{} : path.substr(dot);
}

bool IsRelativePath(std::string_view path) { return !(path.starts_with('\\') || HasDrive(path)); }

std::optional<std::string_view> Canonicalize(std::string_view path, std::array<char, kMaxPath>& buffer) {
    if (!FitsMaxPath(path.size())) return std::nullopt;
    const std::string_view root = RootOf(path);

    // The path is resolved in place: copied once, and its unread rest copied again only where a
    // removed component leaves a gap. Without a root, one place in front is held back for the "\"
    // that a path climbing above its start gets.
    const std::size_t offset = root.empty() ? 1 : 0;
    // (An empty path may have no storage at all: a copy of nothing reads nothing.)
    std::copy(path.begin(), path.end(), buffer.begin() + static_cast<std::ptrdiff_t>(offset));
    const std::size_t first = offset + root.size();
    std::size_t size = first;
    auto moved = static_cast<std::ptrdiff_t>(offset);  // where the unread rest stands, less where it stood
    // Where each kept component starts. Empty components ("a\\b", a trailing "\") are kept as
    // written; only "." and ".." are resolved.
    std::array<std::uint16_t, kMaxPath> starts;
    std::size_t kept = 0;
    bool climbedAboveStart = false;  // "..\x", ".\x": a relative path whose first steps lead nowhere
    std::size_t start = root.size();
    ForEachComponentEnd(path.substr(root.size()), [&](std::size_t endInRest) {
        const std::size_t end = root.size() + endInRest;
        const std::string_view component = path.substr(start, end - start);
        if (component == ".") {
            if (start == root.size()) climbedAboveStart = true;
        } else if (component == "..") {
            if (kept == 0) {
                climbedAboveStart = true;
            } else {
                --kept;
                size = kept == 0 ? first : starts[kept] - 1;
            }
        } else {
            const std::size_t to = kept != 0 ? size + 1 : size;
            if (static_cast<std::ptrdiff_t>(to) != static_cast<std::ptrdiff_t>(start) + moved) {
                if (kept != 0) buffer[size] = kSeparator;
                std::copy(path.begin() + static_cast<std::ptrdiff_t>(start), path.end(),
                          buffer.begin() + static_cast<std::ptrdiff_t>(to));
                moved = static_cast<std::ptrdiff_t>(to) - static_cast<std::ptrdiff_t>(start);
            }
            starts[kept++] = static_cast<std::uint16_t>(to);
            size = to + component.size();
        }
        start = end + 1;
    });

    // "..\path1\path2" -> "\path1\path2", as PathAppendA documents; a path that climbs past its root
    // keeps only the root, and nothing at all becomes "\".
    std::size_t begin = offset;
    if (root.empty() && (climbedAboveStart || size == first)) {
        begin = 0;
        buffer[0] = kSeparator;
    }
    // The result is never longer than the path, but for the "\" of an empty one.
    return std::string_view(buffer.data() + begin, size - begin);
}

std::optional<std::string> Canonicalize(std::string_view path) {
    std::array<char, kMaxPath> buffer;
    const std::optional<std::string_view> canonical = Canonicalize(path, buffer);
    if (!canonical) return std::nullopt;
    return std::string(*canonical);
}

std::optional<std::string> AppendPath(std::string_view path, std::string_view more) {
    while (more.starts_with(kSeparator)) more.remove_prefix(1);
    std::string joined(path);
    if (!joined.empty() && joined.back() != kSeparator && !more.empty()) joined.push_back(kSeparator);
    joined.append(more);
    if (!FitsMaxPath(joined.size())) return std::nullopt;
    return Canonicalize(joined);
}

namespace {

// PathAddExtensionA: fails when the file already has an extension or the result is too long.
std::optional<std::string> AddExtension(std::string path, std::string_view extension) {
    if (!FindExtension(FindFileName(path)).empty()) return std::nullopt;
    if (!FitsMaxPath(path.size() + extension.size())) return std::nullopt;
    path.append(extension);
    return path;
}

std::string DottedExtension(std::string_view extension) {
    if (extension.empty() || extension.front() == '.') return std::string(extension);
    std::string dotted(1, '.');
    dotted += extension;
    return dotted;
}

}  // namespace

void SplitPath(std::string_view path, std::string& directory, std::string& baseName, std::string& extension) {
    if (path.empty()) return;
    directory = RemoveFileSpec(path);
    if (!directory.empty() && directory.back() != kSeparator) directory.push_back(kSeparator);
    // "C:b.c" gives the directory "C:\", which is not in the path: the name stays as it was.
    const std::size_t at = path.find(directory);
    if (at == std::string_view::npos) return;
    const std::string_view name = path.substr(at + directory.size());
    const std::string_view ext = FindExtension(name);
    baseName = name.substr(0, name.size() - ext.size());
    extension = ext;
}

SplitPathResult SplitPath(std::string_view path) {
    SplitPathResult result;
    SplitPath(path, result.directory, result.baseName, result.extension);
    return result;
}

std::string BuildPath(std::string_view directory, std::string_view baseName, std::string_view extension) {
    // ".\out" must keep its leading "." through the join, which would resolve it away: "x.\out".
    const bool guarded = directory.starts_with('.');
    std::string dir(guarded ? "x" : "");
    dir += directory;
    const std::string ext = DottedExtension(extension);

    std::optional<std::string> joined = AppendPath(dir, baseName);
    if (joined && !ext.empty()) joined = AddExtension(std::move(*joined), ext);

    std::string result;
    if (joined) {
        result = std::move(*joined);
    } else {
        // "file.c" + "obj": the name keeps its extension and gets the new one behind it.
        result = dir;
        if (!result.empty() && result.back() != kSeparator) result.push_back(kSeparator);
        result.append(baseName);
        result.append(ext);
    }
    if (guarded) result.erase(0, 1);
    return result;
}

bool IsRootedDirectory(std::string_view path) {
    // _splitpath: an optional "X:", then the directory up to the last separator.
    const std::string_view afterDrive = HasDriveColon(path) ? path.substr(2) : path;
    const std::size_t lastSeparator = afterDrive.find_last_of("\\/");
    if (lastSeparator == std::string_view::npos) return false;
    return afterDrive.front() == '\\';
}

void CanonicalizeIfAbsolute(std::string& path) {
    if (IsRelativePath(path)) return;
    if (std::optional<std::string> canonical = Canonicalize(path)) path = std::move(*canonical);
}

}  // namespace vivo
