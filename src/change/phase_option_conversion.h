#pragma once
// Options for the assembler phase that assembles the compiler's assembly output, derived from the
// compiler's options:
//
//   [S|OUTPUT|SRC] [S|CPU|KZ600] [S|OUTPUTPATH|"$(CONFIGDIR)\a.src"]
//   -> [S|OUTPUTPATH|"$(CONFIGDIR)\a.obj"] [B|DEBUG|0] [B|LISTFILE|1] [S|CPU|KZ600]
//
// An embedded assembler option string ([S|ASSEMBLY|"..."]) is taken instead, with the CPU added.

#include <cstdint>
#include <string>
#include <string_view>

#include "vivo/vivo.h"

namespace vivo {

// Result codes of the conversion, as the host receives them.
inline constexpr int32_t kConversionDone = 0;
inline constexpr int32_t kConversionFailed = 1;            // unreadable options, or a missing table
inline constexpr int32_t kConversionOtherToolchain = -1;   // the record is not this toolchain's
inline constexpr int32_t kConversionNoAssemblyOutput = -2; // the compiler does not output assembly source
inline constexpr int32_t kConversionPairNotOffered = -3;   // no conversion from this tool to that one

struct PhaseOptionConversion {
    int32_t code = kConversionFailed;
    bool clearsLength = false;  // the failure sets the host's length to 0
    std::string options;        // the target tool's option string when `code` is 0
};

// Converts the options of `sourceTool` for `targetTool` of the toolchain `toolchain`.
[[nodiscard]] PhaseOptionConversion ConvertPhaseOptionString(const VivoToolchainRecord& toolchain,
                                                             std::string_view sourceTool,
                                                             std::string_view targetTool,
                                                             std::string_view sourceOptions);

}  // namespace vivo
