#pragma once
// What `vivo classify` prints: one diagnostic at a time in the form editors, scripts or SARIF
// consumers read, then the closing count.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vivo::host {

enum class Severity { kNote, kWarning, kError, kFatal };

struct Diagnostic {
    Severity severity = Severity::kNote;
    std::string file;     // as shown (path style applied); empty when the line has no position
    long line = 0;        // 0 when there is none
    std::string number;   // the plug-in's decimal message code
    std::string code;     // the code as the toolchain printed it ("C2500"); empty when there is none
    std::string message;  // the plug-in's message, which begins with that code
    std::string text;     // the message without its code and severity mark
    std::string raw;      // the log line
    std::size_t logLine = 0;
};

struct Counts {
    unsigned long errors = 0, warnings = 0, fatalErrors = 0;
};

// "1 error, 2 warnings, 0 fatal errors".
std::string CountLine(const Counts& counts);

enum class PathStyle { kPosix, kWindows, kAsIs };

// A file name from the log (a Windows name) as shown: with '/' (posix) or '\' (windows) between its
// parts, "." and "x\.." taken out, a relative name put under `base` when one is given; as-is keeps it.
std::string StyledPath(std::string_view name, PathStyle style, const std::string& base);

// The diagnostic's "code as printed" and "text", cut from its message.
void SplitMessage(Diagnostic& d);

// What the SARIF log says about its run.
struct RunFacts {
    std::string pluginVersion;
    std::string hostVersion;
    std::vector<std::string> arguments;  // the command line, program first
    std::string workingDirectory;
    std::string base;                    // --base as shown, or empty
    PathStyle style = PathStyle::kPosix;
    std::string logName;                 // the log as shown, or empty for standard input
};

class DiagnosticWriter {
public:
    virtual ~DiagnosticWriter() = default;
    virtual void Begin() {}
    virtual void Write(const Diagnostic& d) = 0;
    // After the last line; `exitCode` is the command's.
    virtual void End(const Counts& counts, int exitCode) = 0;
    // Why the output stops short when the log could not be read to its end.
    virtual std::string Unfinished() const { return ""; }
};

// "text" (the gcc form), "plain" (the form of earlier versions), "jsonl" or "sarif".
const std::vector<std::string>& Formats();
std::unique_ptr<DiagnosticWriter> MakeDiagnosticWriter(std::string_view format, const RunFacts& facts);

}  // namespace vivo::host
