#pragma once
// Keyword groups for the host's editor, read afresh from the two SyntaxColouring.ini files on every
// request:
//
//   [Syntax Colouring Information]
//   FileGroup0=C source file,C header file
//   FileGroup0-1=auto break case char const continue ...
//   FileGroup0-2=End of Syntax Colouring Info
//   [Syntax Colouring Version]
//   Version=1

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "options/option_string.h"
#include "platform/private_profile.h"

namespace vivo {

inline constexpr std::string_view kColouringFileName = "SyntaxColouring.ini";
inline constexpr std::string_view kColouringSection = "Syntax Colouring Information";
inline constexpr std::string_view kColouringVersionSection = "Syntax Colouring Version";
inline constexpr std::string_view kColouringEndMarker = "End of Syntax Colouring Info";

// The two colouring files: the primary beside the plug-in, the secondary in the machine-wide
// application-data folder (empty when the platform cannot name that folder).
struct ColouringFiles {
    std::string primary;
    std::string secondary;
};

// Where the two files lie for this call.
[[nodiscard]] ColouringFiles LocateColouringFiles();

// The values of FileGroup0, FileGroup1, ... up to the first empty or missing one.
[[nodiscard]] StringList ReadFileGroups(const platform::ProfileFile& file);

// The number of the first group that lists `name` among its ","-separated names (exact compare).
[[nodiscard]] std::optional<std::size_t> FindFileGroup(const StringList& groups, std::string_view name);

// The keyword lines FileGroup<g>-1, -2, ... each followed by LF, up to the first missing line or the
// end marker.
[[nodiscard]] std::string ReadKeywordText(const platform::ProfileFile& file, std::size_t group);

// The keyword text of `name`: the primary file's when not empty, else the secondary file's when it
// knows the name, else empty.
[[nodiscard]] std::string KeywordText(const ColouringFiles& files, std::string_view name);

// The keyword data's version: the primary file's number plus the secondary file's (0 when missing).
// Nothing when there is no secondary path and the primary file holds no version text.
[[nodiscard]] std::optional<std::uint32_t> ColouringVersion(const ColouringFiles& files);

}  // namespace vivo
