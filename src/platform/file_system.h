#pragma once
// Files named by Windows-style paths.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace vivo::platform {

// Opens a file named by a path whose directory separators may be backslashes. On POSIX a name that
// does not exist as written is looked up case-insensitively in its directory, component by
// component ("TC.INI" finds TC.ini). `mode` is an fopen mode. Null when the file cannot be opened.
[[nodiscard]] std::FILE* OpenFile(std::string_view path, const char* mode);

// The platform's own spelling of a path: on POSIX the existing file it names (found as OpenFile
// finds it) or, for a file not yet there, its backslashes turned into slashes.
[[nodiscard]] std::string NativePath(std::string_view path);

}  // namespace vivo::platform

namespace vivo::platform {

// File attributes as the Windows file system keeps them.
inline constexpr std::uint32_t kAttributeReadOnly = 0x01;
inline constexpr std::uint32_t kAttributeArchive = 0x20;

// Sets the attributes of an existing file (POSIX: read-only = no write bits, else owner-writable).
// False when the file is missing or the attributes cannot be set.
[[nodiscard]] bool SetFileAttributes(std::string_view path, std::uint32_t attributes);

// Creates (or truncates) the file and writes `text` in text mode: every "\n" reaches the file as
// "\r\n", as the Windows C runtime writes it. 0 written, 1 the file cannot be created, 3 writing or
// closing failed.
[[nodiscard]] int WriteTextModeFile(std::string_view path, std::string_view text);

}  // namespace vivo::platform
