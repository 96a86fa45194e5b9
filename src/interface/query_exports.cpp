// Exports of the build option queries: include directories, defines, libraries, linker questions,
// and the phase option conversion with its consistency check.
#include <optional>
#include <string>

#include "change/phase_option_conversion.h"
#include "interface/frame.h"
#include "options/plain_text.h"
#include "options/tool_names.h"
#include "queries/include_defines.h"
#include "queries/linker_queries.h"

using namespace vivo;

namespace {

// Include directories and defines: the compiler's and the assembler's items are read and written
// alike, each tool kind by its own handler.
class IncludeDirectoriesHandler : public Handler {
public:
    std::string Get(std::string_view options) const { return NewlineList(IncludeDirectoriesOf(options)); }
    std::string Set(std::string_view options, const char* directoryList) const {
        return WithIncludeDirectories(options, ReadNulList(directoryList));
    }
};
class CompilerIncludeDirectoriesHandler final : public IncludeDirectoriesHandler {};
class AssemblerIncludeDirectoriesHandler final : public IncludeDirectoriesHandler {};

class DefinesHandler : public Handler {
public:
    std::string Get(std::string_view options) const { return NewlineList(DefinesOf(options)); }
    std::string Set(std::string_view options, const char* defineList) const {
        return WithDefines(options, ReadNulList(defineList));
    }
};
class CompilerDefinesHandler final : public DefinesHandler {};
class AssemblerDefinesHandler final : public DefinesHandler {};

// Runs `work` on the handler of the tool's kind; nothing for tools other than compiler and assembler.
template <class CompilerHandler, class AssemblerHandler, class Work>
std::optional<std::string> ForToolKind(const char* toolName, Work&& work) {
    switch (ToolKindOfName(toolName)) {
        case ToolKind::kCompiler: {
            CompilerHandler handler;
            return work(handler);
        }
        case ToolKind::kAssembler: {
            AssemblerHandler handler;
            return work(handler);
        }
        default:
            return std::nullopt;
    }
}

class MapFileHandler final : public Handler {
public:
    std::string MapFileList(std::string_view options) const { return LinkerMapFileOf(options) + '\n'; }
};

class LinkerInformationHandler final : public Handler {
public:
    int32_t Describe(const VivoToolchainRecord& toolchain, uint32_t* flags, uint32_t* second) const {
        if (toolchain.name == nullptr) return 1;
        const std::optional<LinkerInformation> information = LinkerInformationOf(toolchain.name);
        if (!information) return 1;
        *flags = information->flags;
        *second = information->hostValue;
        return 0;
    }
};

class CommandFileHandler final : public Handler {
public:
    uint32_t Answer(std::string_view options) const { return UsesCommandFile(options) ? 1 : 0; }
};

class DependencyScanHandler final : public Handler {
public:
    uint32_t Answer(std::string_view options) const { return ScansDependencies(options) ? 1 : 0; }
};

class LibraryFilesHandler final : public Handler {
public:
    std::string Get(std::string_view options) const { return LibraryTextOf(options); }
    std::string Set(std::string_view options, std::string_view libraryText) const {
        return WithLibraryText(options, libraryText);
    }
};

class PhaseOptionConversionHandler final : public Handler {
public:
    int32_t Convert(const VivoToolchainRecord& toolchain, const char* sourceTool, const char* targetTool,
                    const char* sourceOptions, char* buffer, int32_t* len) const {
        const PhaseOptionConversion result =
            ConvertPhaseOptionString(toolchain, sourceTool, targetTool, sourceOptions);
        if (result.code != kConversionDone) {
            if (result.clearsLength) *len = 0;
            return result.code;
        }
        return Deliver(Protocol::kTerminatedText, result.options, buffer, len);
    }
};

// Options of different phases are never in conflict for this toolchain.
class OptionConsistencyHandler final : public Handler {
public:
    int32_t Check() const { return 0; }
};

}  // namespace

extern "C" {

VIVO_API int32_t VIVO_CALL GetIncludeFileDirectories(const char* toolName, const char* options, char* buffer,
                                                     int32_t* len) {
    return RunExport([&] {
        if (AnyNull(toolName, options, buffer, len)) return 1;
        const auto list = ForToolKind<CompilerIncludeDirectoriesHandler, AssemblerIncludeDirectoriesHandler>(
            toolName, [&](const IncludeDirectoriesHandler& h) { return h.Get(options); });
        return Deliver(Protocol::kNewlineList, list, buffer, len);
    });
}

VIVO_API int32_t VIVO_CALL SetIncludeFileDirectories(const char* toolName, const char* options,
                                                     const char* directoryList, char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(toolName, options, directoryList, buffer, len)) return 1;
        const auto rewritten = ForToolKind<CompilerIncludeDirectoriesHandler, AssemblerIncludeDirectoriesHandler>(
            toolName, [&](const IncludeDirectoriesHandler& h) { return h.Set(options, directoryList); });
        return Deliver(Protocol::kTerminatedText, rewritten, buffer, len);
    });
}

VIVO_API int32_t VIVO_CALL GetDefines(const char* toolName, const char* options, char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(toolName, options, buffer, len)) return 1;
        const auto list = ForToolKind<CompilerDefinesHandler, AssemblerDefinesHandler>(
            toolName, [&](const DefinesHandler& h) { return h.Get(options); });
        return Deliver(Protocol::kNewlineList, list, buffer, len);
    });
}

VIVO_API int32_t VIVO_CALL SetDefines(const char* toolName, const char* options, const char* defineList,
                                      char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(toolName, options, defineList, buffer, len)) return 1;
        const auto rewritten = ForToolKind<CompilerDefinesHandler, AssemblerDefinesHandler>(
            toolName, [&](const DefinesHandler& h) { return h.Set(options, defineList); });
        return Deliver(Protocol::kTerminatedText, rewritten, buffer, len);
    });
}

VIVO_API int32_t VIVO_CALL GetLinkerMapFile(uint32_t /*ignored*/, const char* options, char* buffer,
                                            int32_t* len) {
    return RunExport([&] {
        if (AnyNull(options, buffer, len)) return 1;
        const MapFileHandler handler;
        return Deliver(Protocol::kNewlineTextWithTerminator, handler.MapFileList(options), buffer, len);
    });
}

VIVO_API int32_t VIVO_CALL GetLinkerInformation(const VivoToolchainRecord* toolchain, uint32_t* flags,
                                                uint32_t* second) {
    return RunExport([&] {
        if (AnyNull(toolchain, flags, second)) return 1;
        const LinkerInformationHandler handler;
        return handler.Describe(*toolchain, flags, second);
    });
}

VIVO_API int32_t VIVO_CALL IsLinkedByCommandFile(const void* reserved, const char* options, uint32_t* answer) {
    return RunExport([&] {
        if (AnyNull(reserved, options, answer)) return 1;
        const CommandFileHandler handler;
        *answer = handler.Answer(options);
        return 0;
    });
}

VIVO_API int32_t VIVO_CALL IsPreprocessorScanEnabled(const void* reserved, const char* options,
                                                     uint32_t* answer) {
    return RunExport([&] {
        if (AnyNull(reserved, options, answer)) return 1;
        const DependencyScanHandler handler;
        *answer = handler.Answer(options);
        return 0;
    });
}

VIVO_API int32_t VIVO_CALL GetLibraryFiles(const char* options, char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(options, buffer, len)) return 1;
        const LibraryFilesHandler handler;
        return Deliver(Protocol::kRawText, handler.Get(options), buffer, len);
    });
}

VIVO_API int32_t VIVO_CALL SetLibraryFiles(const char* options, const char* libraryText, char* buffer,
                                           int32_t* len) {
    return RunExport([&] {
        if (AnyNull(options, libraryText, buffer, len)) return 1;
        const LibraryFilesHandler handler;
        return Deliver(Protocol::kTerminatedText, handler.Set(options, libraryText), buffer, len);
    });
}

VIVO_API int32_t VIVO_CALL ConvertPhaseOptions(const VivoToolchainRecord* toolchain, const char* sourceTool,
                                               const char* targetTool, const char* sourceOptions,
                                               char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(toolchain, sourceTool, targetTool, sourceOptions, buffer, len)) return 1;
        const PhaseOptionConversionHandler handler;
        return handler.Convert(*toolchain, sourceTool, targetTool, sourceOptions, buffer, len);
    });
}

VIVO_API int32_t VIVO_CALL CheckOptionConsistency(const void* p1, const void* p2, const void* p3, const void* p4,
                                                  const void* p5, const void* p6, const void* p7,
                                                  const void* p8) {
    return RunExport([&] {
        if (AnyNull(p1, p2, p3, p4, p5, p6, p7, p8)) return 1;
        const OptionConsistencyHandler handler;
        return handler.Check();
    });
}

}  // extern "C"
