#pragma once
// The current resource source: where string-table texts and the report dialog come from.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vivo::platform {

// A loaded resource library (ResVivo / ResVivoJp beside the plug-in). Opaque.
struct ResourceLibrary;

// The file name of the resource library beside the plug-in: "ResVivo.so" / "ResVivoJp.so" on POSIX,
// "ResVivo.dll" / "ResVivoJp.dll" on Windows.
[[nodiscard]] std::string_view ResourceLibraryFileName(bool japanese);

// Loads the resource library at `path` (a Windows-style path); null when it cannot be loaded.
[[nodiscard]] ResourceLibrary* LoadResourceLibrary(std::string_view path);
void FreeResourceLibrary(ResourceLibrary* library);

// The text of string `id` in `library`, or nothing when it has none.
[[nodiscard]] std::optional<std::string> LoadLibraryString(ResourceLibrary* library, uint32_t id);

// The process-wide current resource source; null stands for the plug-in's own resources.
[[nodiscard]] ResourceLibrary* CurrentResourceSource();

// The one way to switch the current resource source: for the life of the scope the source is
// `library` (null: the plug-in's own resources), or the library loaded from `path` (released at the
// end; when it cannot be loaded the source stays as it is); the source that was current before comes
// back on every way out.
class ResourceScope {
public:
    explicit ResourceScope(ResourceLibrary* library = nullptr);
    explicit ResourceScope(std::string_view path);
    ~ResourceScope();
    ResourceScope(const ResourceScope&) = delete;
    ResourceScope& operator=(const ResourceScope&) = delete;

    // True when the scope loaded its library from a path.
    [[nodiscard]] bool loaded() const { return owned_ != nullptr; }

private:
    ResourceLibrary* owned_ = nullptr;
    ResourceLibrary* previous_;
};

}  // namespace vivo::platform

namespace vivo {
using platform::CurrentResourceSource;
using platform::LoadLibraryString;
using platform::ResourceLibrary;
using platform::ResourceScope;
}  // namespace vivo
