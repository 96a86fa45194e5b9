#include "options/text_file.h"

#include "platform/file_system.h"

namespace vivo {

int WriteTextFile(std::string_view path, std::string_view text, std::uint32_t attributes) {
    // Clears a read-only flag so that an existing file can be replaced; a missing file is fine here.
    (void)platform::SetFileAttributes(path, platform::kAttributeArchive);
    const int result = platform::WriteTextModeFile(path, text);
    if (result == kTextFileNotCreated) return result;
    if (!platform::SetFileAttributes(path, attributes)) return kTextFileIncomplete;
    return result;
}

}  // namespace vivo
