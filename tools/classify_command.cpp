// vivo classify: reads a build log as it arrives, asks the plug-in about each line as the IDE's build
// window does, and prints the diagnostics it recognises for editors, scripts and CI:
//
//   text   ../src/main.c:12: error: Syntax error [C2500]         (the gcc form editors read)
//   plain  ..\src\main.c:12: error 32500: C2500 (E) Syntax error  (the form of earlier versions)
//   jsonl  {"file":"../src/main.c","line":12,"code":32500,"rule":"C2500","severity":"error",...}
//   sarif  one SARIF 2.1.0 log, one run, one result per diagnostic
//
// then the count line "1 error, 2 warnings, 0 fatal errors" (on standard error for jsonl and sarif,
// so that standard output stays JSON). Exit code 1 when an error or a fatal error was seen, 0
// otherwise, 2 when the log cannot be read or the output cannot be written.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>

#include "classify_input.h"
#include "classify_output.h"
#include "files.h"
#include "host.h"

namespace vivo::host {
namespace {

namespace fs = std::filesystem;

struct Settings {
    std::string path = "-";
    std::string format = "text";
    std::string pathStyle;  // default: posix, as-is for plain
    std::string base;
    std::string encoding = "utf-8";
};

constexpr std::string_view kNone = "None";

std::vector<std::string> CommandLine() {
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<std::string> arguments;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
        arguments.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return arguments;
}

std::string PluginVersion(LoadedPlugin& plugin) {
    const auto bytes = CallWithBuffer(
        [&](char* b, int32_t* l) { return VIVO_EXPORT(plugin, GetDLLProductVersion)(b, l); });
    const std::vector<std::string> lines = bytes ? SplitNulList(*bytes) : std::vector<std::string>{};
    return lines.empty() ? "unknown" : lines[0];
}

// --base as the names are shown: an absolute POSIX folder, or an absolute Windows one.
std::string BaseFolder(const std::string& base, PathStyle style) {
    if (base.empty()) return "";
    if (style == PathStyle::kAsIs) throw Failure("--base needs --path-style posix or windows");
    const std::string styled = StyledPath(base, style, "");
    if (style == PathStyle::kPosix) return StyledPath(fs::absolute(styled).string(), style, "");
    const bool absolute = (styled.size() >= 3 && styled[1] == ':' && styled[2] == '\\') || styled.starts_with("\\\\");
    if (!absolute) throw Failure("--base " + base + ": with --path-style windows, a folder such as C:\\proj\\build");
    return styled;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The bar that ends the file name in the diagnostic text "file|line|code|message": the first one
// followed by a line number (or "None") and a decimal code. A file name may hold bars of its own:
// the second byte of a Shift_JIS character such as "po" is one. Failing that, the first bar.
std::size_t FileEnd(std::string_view text) {
    for (std::size_t bar = text.find('|'); bar != std::string_view::npos; bar = text.find('|', bar + 1)) {
        const std::size_t lineEnd = text.find('|', bar + 1);
        const std::size_t codeEnd = text.find('|', lineEnd == std::string_view::npos ? text.size() : lineEnd + 1);
        if (codeEnd == std::string_view::npos) return codeEnd;
        std::string_view line = text.substr(bar + 1, lineEnd - bar - 1);
        if (line != kNone) {  // a number as strtol reads it: blanks, a sign, digits
            line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
            if (line.starts_with('-') || line.starts_with('+')) line.remove_prefix(1);
        }
        const bool number = line == kNone || (!line.empty() && line[0] >= '0' && line[0] <= '9');
        if (number && AllDigits(text.substr(lineEnd + 1, codeEnd - lineEnd - 1))) return bar;
    }
    return text.find('|');
}

// The diagnostic text of one log line as a Diagnostic.
Diagnostic Parse(std::string_view text, const TextDecoder& decode, PathStyle style, const std::string& base) {
    const std::size_t bar1 = FileEnd(text);
    const std::size_t bar2 = bar1 == std::string_view::npos ? bar1 : text.find('|', bar1 + 1);
    const std::size_t bar3 = bar2 == std::string_view::npos ? bar2 : text.find('|', bar2 + 1);
    Diagnostic d;
    if (bar3 == std::string_view::npos) {
        d.message = decode(text);
    } else {
        std::string_view file = text.substr(0, bar1);
        if (file != kNone) {
            if (file.size() >= 2 && file.front() == '"' && file.back() == '"') file = file.substr(1, file.size() - 2);
            // Path separators are found in the text (a Shift_JIS byte 0x5C may belong to a character),
            // before an escaped byte ("\x83") could be taken for one.
            d.file = decode.asciiSafe() ? decode(StyledPath(file, style, base)) : StyledPath(decode(file), style, base);
            d.line = std::strtol(std::string(text.substr(bar1 + 1, bar2 - bar1 - 1)).c_str(), nullptr, 10);
        }
        d.number = text.substr(bar2 + 1, bar3 - bar2 - 1);
        d.message = decode(text.substr(bar3 + 1));
    }
    SplitMessage(d);
    return d;
}

int Classify(Host& host, const Settings& settings) {
    const PathStyle style = settings.pathStyle == "windows" ? PathStyle::kWindows
                            : settings.pathStyle == "as-is" || (settings.pathStyle.empty() && settings.format == "plain")
                                ? PathStyle::kAsIs
                                : PathStyle::kPosix;
    const std::string base = BaseFolder(settings.base, style);
    const TextDecoder decode(settings.encoding);
    // Everything that can refuse the log does so before the first byte of output.
    LogReader reader(settings.path);
    LoadedPlugin& plugin = host.Plugin();
    const auto lineInfo = VIVO_EXPORT(plugin, GetMakefileOutputLineInfo);

    RunFacts facts;
    facts.pluginVersion = PluginVersion(plugin);
    facts.hostVersion = kHostVersion;
    facts.arguments = CommandLine();
    std::error_code error;
    facts.workingDirectory = fs::current_path(error).string();
    facts.base = base;
    facts.style = style;
    if (!reader.standardInput()) facts.logName = StyledPath(fs::absolute(settings.path).string(), PathStyle::kPosix, "");
    std::unique_ptr<DiagnosticWriter> writer = MakeDiagnosticWriter(settings.format, facts);

    if (reader.standardInput() && ::isatty(0))
        std::fputs("vivo classify: reading the build log from standard input (Ctrl+D ends it)\n", stderr);
    // Into a pipe or a terminal each diagnostic goes out at once; into a file the output is buffered.
    struct stat output{};
    const bool flushEach = ::fstat(1, &output) != 0 || !S_ISREG(output.st_mode);

    std::vector<char> buffer(1024);
    Counts counts;
    try {
        writer->Begin();
        std::string_view line;
        while (reader.Next(line)) {
            uint32_t recognised = 0, errors = 0, warnings = 0, fatalErrors = 0, messageFlag = 0;
            int32_t len = static_cast<int32_t>(buffer.size());
            int32_t rc = lineInfo(line.data(), &recognised, &errors, &warnings, &fatalErrors, buffer.data(), &len, &messageFlag);
            if (rc != 0 && len > static_cast<int32_t>(buffer.size())) {
                buffer.resize(static_cast<std::size_t>(len));
                rc = lineInfo(line.data(), &recognised, &errors, &warnings, &fatalErrors, buffer.data(), &len, &messageFlag);
            }
            if (rc != 0) throw Failure("the plug-in cannot classify line " + std::to_string(reader.lineNumber()) + " of " + reader.name());
            if (len <= 1) continue;  // banners, commands and plain lines
            counts.errors += errors;
            counts.warnings += warnings;
            counts.fatalErrors += fatalErrors;
            Diagnostic d = Parse(std::string_view(buffer.data(), static_cast<std::size_t>(len - 1)), decode, style, base);
            d.severity = errors != 0 ? Severity::kError
                         : fatalErrors != 0 ? Severity::kFatal
                         : warnings != 0 ? Severity::kWarning
                                         : Severity::kNote;
            d.raw = decode(line);
            d.logLine = reader.lineNumber();
            writer->Write(d);
            if (flushEach) FlushOut();
        }
        const int exitCode = counts.errors + counts.fatalErrors != 0 ? kExitProblems : kExitOk;
        writer->End(counts, exitCode);
        return exitCode;
    } catch (const Failure& failure) {
        const std::string unfinished = writer->Unfinished();
        if (unfinished.empty()) throw;
        throw Failure(std::string(failure.what()) + "; " + unfinished, failure.exitCode);
    }
}

}  // namespace

void AddClassifyCommand(CLI::App& app, Host& host) {
    CLI::App* command = app.add_subcommand("classify", "the diagnostics of a build log, for editors, scripts and CI");
    auto settings = std::make_shared<Settings>();
    command->add_option("log", settings->path, "the build log: a file, a pipe, or - for standard input (the default)")
        ->type_name("FILE");
    command->add_option("--format", settings->format, "text (FILE:LINE: error: MESSAGE [CODE]), plain, jsonl or sarif")
        ->check(CLI::IsMember(Formats()))
        ->type_name("FORMAT");
    command->add_option("--path-style", settings->pathStyle,
                        "file names with / (posix, the default), with \\ (windows), or as the log has them (as-is, "
                        "the default for plain)")
        ->check(CLI::IsMember({"posix", "windows", "as-is"}))
        ->type_name("STYLE");
    command->add_option("--base", settings->base, "the folder the build ran in: relative names are shown under it")
        ->type_name("DIR");
    command->add_option("--encoding", settings->encoding, "the log's encoding: utf-8 (the default), shift_jis or latin1")
        ->check(CLI::IsMember(Encodings()))
        ->type_name("ENCODING");
    command->callback([&host, settings] {
        host.run = [&host, settings] { return Classify(host, *settings); };
    });
}

}  // namespace vivo::host
