// Exports for the host's editor and build window: keyword groups and build output lines.
#include "interface/frame.h"
#include "queries/build_output.h"
#include "queries/syntax_colouring.h"

using namespace vivo;

namespace {

// Works out both colouring file paths when made, so that each call sees the files as they are now.
class SyntaxColouringHandler : public Handler {
public:
    SyntaxColouringHandler() : files_(LocateColouringFiles()) {}

    [[nodiscard]] std::string Information(std::string_view name) const { return KeywordText(files_, name); }
    [[nodiscard]] std::optional<uint32_t> Version() const { return ColouringVersion(files_); }

private:
    ColouringFiles files_;
};

class BuildOutputHandler : public Handler {
public:
    [[nodiscard]] LineInfo Classify(std::string_view line) const { return ClassifyOutputLine(line); }
};

}  // namespace

extern "C" {

VIVO_API int32_t VIVO_CALL GetSyntaxColouringInformation(const char* name, char* buffer, int32_t* len) {
    return RunExport([&] {
        if (AnyNull(name, buffer, len)) return 1;
        const std::string text = SyntaxColouringHandler().Information(name);
        if (text.empty()) {
            // An unknown name is an answer, not a failure: an empty text whatever the capacity.
            *len = 0;
            *buffer = '\0';
            return 0;
        }
        return Deliver(Protocol::kTerminatedText, text, buffer, len);
    });
}

VIVO_API int32_t VIVO_CALL GetSyntaxColouringVersion(uint32_t* version) {
    return RunExport([&] {
        if (AnyNull(version)) return 1;
        const std::optional<uint32_t> value = SyntaxColouringHandler().Version();
        if (!value) return 1;
        *version = *value;
        return 0;
    });
}

VIVO_API int32_t VIVO_CALL GetMakefileOutputLineInfo(const char* line, uint32_t* recognised, uint32_t* errors,
                                                     uint32_t* warnings, uint32_t* fatalErrors, char* buffer,
                                                     int32_t* len, uint32_t* messageFlag) {
    return RunExport([&] {
        // The host passes eight valid pointers; a null one is refused rather than followed.
        if (AnyNull(line, recognised, errors, warnings, fatalErrors, buffer, len, messageFlag)) return 1;
        const LineInfo info = BuildOutputHandler().Classify(line);
        if (Deliver(Protocol::kTerminatedText, info.text, buffer, len) != 0) return 1;
        *recognised = info.recognised;
        *errors = info.errors;
        *warnings = info.warnings;
        *fatalErrors = info.fatalErrors;
        *messageFlag = info.messageFlag;
        return 0;
    });
}

}  // extern "C"
