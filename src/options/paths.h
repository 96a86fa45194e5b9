#pragma once
// Windows-style paths (backslash-separated, optionally "C:" or "\" in front, "$(MACRO)" as plain text),
// handled by the Windows shell's rules on every platform: option strings carry Windows paths
// wherever the plug-in runs.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vivo {

// The longest path the platform's path calls accept, terminator included.
inline constexpr std::size_t kMaxPath = 260;

// Directory (with its trailing backslash, or empty), base name and extension (with its dot, or empty).
struct SplitPathResult {
    std::string directory;
    std::string baseName;
    std::string extension;
};

// "C:\proj\main.c" -> "C:\proj\", "main", ".c"; "main" -> "", "main", "". An empty path leaves the
// three outputs as they were.
void SplitPath(std::string_view path, std::string& directory, std::string& baseName, std::string& extension);
// The same, starting from three empty outputs.
[[nodiscard]] SplitPathResult SplitPath(std::string_view path);

// Joins directory, base name and extension: ".\out" + "main" + "obj" -> ".\out\main.obj" (a leading
// "." kept), "C:\a\..\b" + "f" + ".lst" -> "C:\b\f.lst", "d" + "file.c" + "obj" -> "d\file.c.obj".
[[nodiscard]] std::string BuildPath(std::string_view directory, std::string_view baseName,
                                    std::string_view extension);

// True when the directory part (as _splitpath finds it) starts with a backslash: "C:\a\b.c", "\a\b"
// yes; "a\b", "C:b", "b.c" no.
[[nodiscard]] bool IsRootedDirectory(std::string_view path);

// An absolute path ("\x" or "C:...") becomes its canonical form ("." removed, ".." removes the
// component before it); a relative one, or one that cannot be canonicalized, stays as it was.
void CanonicalizeIfAbsolute(std::string& path);

// The shell's path calls that the operations above are made of, for callers that need one alone.

// PathRemoveFileSpecA: "C:\a\b.c" -> "C:\a", "C:\b.c" -> "C:\", "b.c" -> "".
[[nodiscard]] std::string RemoveFileSpec(std::string_view path);
// PathFindFileNameA: the last component ("C:\a\b.c" -> "b.c"; "C:\a\" -> "a\").
[[nodiscard]] std::string_view FindFileName(std::string_view path);
// PathFindExtensionA: the last component's extension with its dot, or empty.
[[nodiscard]] std::string_view FindExtension(std::string_view path);
// PathCanonicalizeA: nothing when the result would not fit kMaxPath.
[[nodiscard]] std::optional<std::string> Canonicalize(std::string_view path);
// The same, built in `buffer` without allocating, for callers that canonicalize once per line: the
// result is a view into `buffer`.
[[nodiscard]] std::optional<std::string_view> Canonicalize(std::string_view path, std::array<char, kMaxPath>& buffer);
// PathAppendA: `more` joined to `path` with one backslash, then canonicalized; nothing on failure.
[[nodiscard]] std::optional<std::string> AppendPath(std::string_view path, std::string_view more);
// PathIsRelativeA: neither "\..." nor "C:...".
[[nodiscard]] bool IsRelativePath(std::string_view path);

}  // namespace vivo
