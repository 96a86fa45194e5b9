#pragma once
// Writing a text file the way the Windows C runtime writes in text mode, with its file attributes.

#include <cstdint>
#include <string_view>

namespace vivo {

// Results of WriteTextFile.
inline constexpr int kTextFileWritten = 0;
inline constexpr int kTextFileNotCreated = 1;
inline constexpr int kTextFileIncomplete = 3;  // writing, closing or setting the attributes failed

// Replaces the file at `path` (a Windows-style path) by `text`, every "\n" written as "\r\n", and
// then gives it `attributes`. A read-only file is replaced too. 0, 1 or 3 as above.
[[nodiscard]] int WriteTextFile(std::string_view path, std::string_view text, std::uint32_t attributes);

}  // namespace vivo
