// The identity exports: interface and product versions, plug-in type, templates, file types.
#include "interface/identity.h"

#include <cstring>

#include "interface/frame.h"
#include "options/option_string.h"
#include "options/plain_text.h"
#include "platform/module_path.h"
#include "platform/private_profile.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"

namespace vivo {

namespace {

constexpr std::string_view kTemplatesSection = "GetTemplates";
constexpr std::string_view kEndOfTemplates = "False";
constexpr std::size_t kTemplateBufferSize = 256;
constexpr std::string_view kEscapedNul = "\\0";

class TemplatesHandler : public Handler {
public:
    int32_t Run(char* buffer, int32_t* len) const {
        uint32_t count = 0;
        const std::string escaped = EscapedTemplateList(platform::PluginFilePath("TC.ini"), count);
        // Each escaped NUL pair becomes one byte once decoded.
        const std::size_t needed = escaped.size() - count - 1;
        const int32_t capacity = *len;
        *len = static_cast<int32_t>(needed);
        if (capacity < 0 || static_cast<std::size_t>(capacity) < needed) return 1;
        const std::string decoded = UnescapeCSequences(escaped);
        if (decoded.size() > static_cast<std::size_t>(capacity)) return 1;
        std::memcpy(buffer, decoded.data(), decoded.size());
        return 0;
    }
};

// Loads an entry and delivers it as a newline list.
int32_t DeliverEntry(uint32_t id, char* buffer, int32_t* len) {
    return Deliver(Protocol::kNewlineList, LoadString(id), buffer, len);
}

// Loads an entry as an unsigned number into `out`; false when the entry is missing.
bool LoadNumber(uint32_t id, uint32_t* out) {
    const std::optional<std::string> text = LoadString(id);
    if (!text) return false;
    *out = ParseUnsigned(*text);
    return true;
}

}  // namespace

std::string EscapedTemplateList(const std::string& iniPath, uint32_t& count) {
    std::string escaped;
    count = 0;
    const platform::ProfileFile file(iniPath);
    for (uint32_t key = 1;; ++key) {
        const std::string value =
            file.ReadString(kTemplatesSection, std::to_string(key), kEndOfTemplates, kTemplateBufferSize);
        if (value.empty() || value == kEndOfTemplates) break;
        escaped += value;
        escaped += kEscapedNul;
        ++count;
    }
    escaped += kEscapedNul;
    return escaped;
}

}  // namespace vivo

using namespace vivo;

extern "C" {

VIVO_API int32_t VIVO_CALL GetDLLInterfaceVersion(uint32_t* major, uint32_t* minor) {
    return RunExport([&] {
        if (AnyNull(major, minor)) return 1;
        return LoadNumber(text::kInterfaceMajor, major) && LoadNumber(text::kInterfaceMinor, minor) ? 0 : 1;
    });
}

VIVO_API int32_t VIVO_CALL GetDLLProductVersion(char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(buffer, len)) return 1;
        return DeliverEntry(text::kProductVersion, buffer, len);
    });
}

VIVO_API int32_t VIVO_CALL GetDLLOrdinalVersion(uint32_t* ordinal) {
    return RunExport([&] {
        if (AnyNull(ordinal)) return 1;
        return LoadNumber(text::kOrdinalVersion, ordinal) ? 0 : 1;
    });
}

VIVO_API int32_t VIVO_CALL GetDLLType(char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(buffer, len)) return 1;
        return DeliverEntry(text::kPluginType, buffer, len);
    });
}

VIVO_API int32_t VIVO_CALL GetTemplates(char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(buffer, len)) return 1;
        return TemplatesHandler().Run(buffer, len);
    });
}

VIVO_API int32_t VIVO_CALL GetSupportedFileExtensions(char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(buffer, len)) return 1;
        return DeliverEntry(text::kFileTypes, buffer, len);
    });
}

VIVO_API int32_t VIVO_CALL IsCommandLineExecutionSupported(const char* toolName, uint32_t* answer) {
    return RunExport([&] {
        if (AnyNull(toolName, answer)) return 1;
        *answer = 0;  // no tool of this toolchain runs from the command line
        return 0;
    });
}

}  // extern "C"
