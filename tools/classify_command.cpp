// vivo classify: reads a build log line by line, asks the plug-in about each line as the IDE's build
// window does, and prints the diagnostics it recognises for editors, scripts and CI:
//
//   text   main.c:12: error 32500: C2500 (E) Syntax error      (positions left out when there are none)
//   jsonl  {"file":"main.c","line":12,"code":32500,"severity":"error","message":"...","raw":"..."}
//   sarif  one SARIF 2.1.0 log, one run, one result per diagnostic
//
// then the count line "N errors, N warnings, N fatal errors" (on standard error for jsonl and sarif,
// so that standard output stays one JSON document). Exit code 1 when an error or a fatal error was
// seen, 0 otherwise, 2 when the log cannot be read. Memory stays flat: one line at a time.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <CLI/CLI.hpp>

#include "files.h"
#include "host.h"
#include "json_text.h"

namespace vivo::host {
namespace {

constexpr std::string_view kNone = "None";

struct Diagnostic {
    std::string_view file;        // empty when the line carries no position
    long line = 0;                // 0 when the line carries no position
    std::string_view code;        // decimal message code
    std::string_view severity;    // "error", "warning", "fatal error" or "note"
    std::string_view message;
    std::string_view raw;
};

struct Counts {
    unsigned long errors = 0, warnings = 0, fatalErrors = 0;
};

// JSON string of 8-bit text: logs are not always UTF-8 (Japanese builds print Shift_JIS).
void AppendJson(std::string& out, std::string_view text) {
    out += IsUtf8(text) ? Json(std::string(text)).dump() : Json(Latin1ToUtf8(text)).dump();
}

// A Windows file name as a URI reference: "C:\proj\a.c" -> "file:///C:/proj/a.c", "src\a b.c" ->
// "src/a%20b.c"; bytes outside the URI's plain characters are percent-encoded.
std::string FileUri(std::string_view file) {
    std::string path(file);
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    std::string uri;
    const bool drive = path.size() >= 2 && path[1] == ':' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (drive) {
        uri = "file:///";
    } else if (!path.empty() && path[0] == '/') {
        uri = "file://";
    }
    constexpr std::string_view kPlain = "-._~/!$&'()*+,;=@";
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                           kPlain.find(static_cast<char>(c)) != std::string_view::npos || (drive && i == 1);
        if (plain) {
            uri += static_cast<char>(c);
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", c);
            uri += escape;
        }
    }
    return uri;
}

class Writer {
public:
    virtual ~Writer() = default;
    virtual void Begin() {}
    virtual void Write(const Diagnostic& d) = 0;
    virtual void End(const Counts& counts) = 0;

protected:
    static void PrintCounts(std::FILE* out, const Counts& c) {
        const std::string line = Format("%lu errors, %lu warnings, %lu fatal errors\n", c.errors, c.warnings, c.fatalErrors);
        if (out == stdout)
            Out(line);
        else
            std::fputs(line.c_str(), out);
    }
    void Flush() {
        Out(out_);
        out_.clear();
    }
    std::string out_;
};

class TextWriter : public Writer {
public:
    void Write(const Diagnostic& d) override {
        if (!d.file.empty()) {
            out_.append(d.file).append(1, ':').append(std::to_string(d.line)).append(": ");
        }
        out_.append(d.severity).append(1, ' ').append(d.code).append(": ").append(d.message).append(1, '\n');
        Flush();
    }
    void End(const Counts& counts) override { PrintCounts(stdout, counts); }
};

class JsonLinesWriter : public Writer {
public:
    void Write(const Diagnostic& d) override {
        out_ += "{\"file\":";
        if (d.file.empty()) {
            out_ += "null,\"line\":null";
        } else {
            AppendJson(out_, d.file);
            out_ += ",\"line\":" + std::to_string(d.line);
        }
        out_.append(",\"code\":").append(d.code).append(",\"severity\":");
        AppendJson(out_, d.severity);
        out_ += ",\"message\":";
        AppendJson(out_, d.message);
        out_ += ",\"raw\":";
        AppendJson(out_, d.raw);
        out_ += "}\n";
        Flush();
    }
    void End(const Counts& counts) override { PrintCounts(stderr, counts); }
};

// Results stream out first; the tool with its rules (one per message code seen) closes the run, so
// nothing but the distinct codes is kept.
class SarifWriter : public Writer {
public:
    void Begin() override {
        out_ = "{\"$schema\":\"https://json.schemastore.org/sarif-2.1.0.json\",\"version\":\"2.1.0\","
               "\"runs\":[{\"results\":[";
        Flush();
    }
    void Write(const Diagnostic& d) override {
        auto [rule, added] = rules_.try_emplace(std::string(d.code), rules_.size());
        if (added) ruleOrder_.emplace_back(d.code);
        if (results_++ != 0) out_ += ',';
        out_ += "\n{\"ruleId\":";
        AppendJson(out_, d.code);
        out_ += ",\"ruleIndex\":" + std::to_string(rule->second);
        out_ += ",\"level\":";
        AppendJson(out_, d.severity == "warning" ? "warning" : d.severity == "note" ? "note" : "error");
        out_ += ",\"message\":{\"text\":";
        AppendJson(out_, d.message);
        out_ += '}';
        if (!d.file.empty()) {
            out_ += ",\"locations\":[{\"physicalLocation\":{\"artifactLocation\":{\"uri\":";
            AppendJson(out_, FileUri(d.file));
            out_ += '}';
            if (d.line >= 1) out_ += ",\"region\":{\"startLine\":" + std::to_string(d.line) + '}';
            out_ += "}}]";
        }
        if (d.severity == "fatal error") out_ += ",\"properties\":{\"fatal\":true}";
        out_ += '}';
        Flush();
    }
    void End(const Counts& counts) override {
        out_ = "\n],\"tool\":{\"driver\":{\"name\":\"Vivo\",\"fullName\":\"Vivo build output classification\","
               "\"rules\":[";
        for (std::size_t i = 0; i < ruleOrder_.size(); ++i) {
            if (i != 0) out_ += ',';
            out_ += "{\"id\":";
            AppendJson(out_, ruleOrder_[i]);
            out_ += '}';
        }
        out_ += "]}}}]}\n";
        Flush();
        PrintCounts(stderr, counts);
    }

private:
    std::unordered_map<std::string, std::size_t> rules_;
    std::vector<std::string> ruleOrder_;
    std::size_t results_ = 0;
};

std::unique_ptr<Writer> MakeWriter(std::string_view format) {
    if (format == "text") return std::make_unique<TextWriter>();
    if (format == "jsonl") return std::make_unique<JsonLinesWriter>();
    if (format == "sarif") return std::make_unique<SarifWriter>();
    throw Failure("unknown format \"" + std::string(format) + "\" (text, jsonl or sarif)");
}

// strtol of the plug-in's line-number text ("12", "12,5" -> 12).
long LineNumber(std::string_view text) {
    const std::string copy(text);
    return std::strtol(copy.c_str(), nullptr, 10);
}

// Closes what was opened, not standard input.
struct InputCloser {
    void operator()(std::FILE* file) const {
        if (file != stdin) std::fclose(file);
    }
};

}  // namespace

int Classify(LoadedPlugin& plugin, const std::string& path, const std::string& format) {
    std::unique_ptr<Writer> writer = MakeWriter(format);

    std::unique_ptr<std::FILE, InputCloser> input(path == "-" ? stdin : std::fopen(path.c_str(), "rb"));
    if (!input) throw Failure("cannot read " + path + ": " + std::strerror(errno));

    const auto lineInfo = VIVO_EXPORT(plugin, GetMakefileOutputLineInfo);
    std::vector<char> buffer(1024);
    char* line = nullptr;
    std::size_t lineCapacity = 0;
    Counts counts;
    writer->Begin();
    for (;;) {
        errno = 0;
        ssize_t got = getline(&line, &lineCapacity, input.get());
        if (got < 0) break;
        std::size_t length = static_cast<std::size_t>(got);
        if (length > 0 && line[length - 1] == '\n') line[--length] = '\0';
        if (length > 0 && line[length - 1] == '\r') line[--length] = '\0';

        uint32_t recognised = 0, errors = 0, warnings = 0, fatalErrors = 0, messageFlag = 0;
        int32_t len = static_cast<int32_t>(buffer.size());
        int32_t rc = lineInfo(line, &recognised, &errors, &warnings, &fatalErrors, buffer.data(), &len, &messageFlag);
        if (rc != 0 && len > static_cast<int32_t>(buffer.size())) {
            buffer.resize(static_cast<std::size_t>(len));
            rc = lineInfo(line, &recognised, &errors, &warnings, &fatalErrors, buffer.data(), &len, &messageFlag);
        }
        if (rc != 0) {
            std::free(line);
            throw Failure("the plug-in cannot classify a line");
        }
        const std::string_view text(buffer.data(), static_cast<std::size_t>(len > 0 ? len - 1 : 0));
        if (text.empty()) continue;  // banners, commands and plain lines

        counts.errors += errors;
        counts.warnings += warnings;
        counts.fatalErrors += fatalErrors;
        // "file|line|code|message"; the message may hold bars of its own.
        const std::size_t bar1 = text.find('|');
        const std::size_t bar2 = text.find('|', bar1 + 1);
        const std::size_t bar3 = text.find('|', bar2 + 1);
        if (bar3 == std::string_view::npos) continue;
        Diagnostic d;
        d.file = text.substr(0, bar1);
        const std::string_view lineText = text.substr(bar1 + 1, bar2 - bar1 - 1);
        if (d.file == kNone) {
            d.file = {};
        } else {
            d.line = LineNumber(lineText);
        }
        d.code = text.substr(bar2 + 1, bar3 - bar2 - 1);
        d.message = text.substr(bar3 + 1);
        d.severity = errors != 0 ? "error" : fatalErrors != 0 ? "fatal error" : warnings != 0 ? "warning" : "note";
        d.raw = std::string_view(line, length);
        writer->Write(d);
    }
    const bool unreadable = std::ferror(input.get()) != 0;
    std::free(line);
    if (unreadable) throw Failure("cannot read " + path + ": " + std::strerror(errno ? errno : EIO));
    writer->End(counts);
    return counts.errors + counts.fatalErrors != 0 ? 1 : 0;
}

void AddClassifyCommand(CLI::App& app, Host& host) {
    CLI::App* command = app.add_subcommand("classify", "the diagnostics of a build log, for editors, scripts and CI");
    auto path = std::make_shared<std::string>("-");
    auto format = std::make_shared<std::string>("text");
    command->add_option("log", *path, "the build log (default: standard input, also -)")->type_name("FILE");
    command->add_option("--format", *format, "text, jsonl or sarif")->type_name("FORMAT");
    command->callback([&host, path, format] {
        host.run = [&host, path, format] { return Classify(host.Plugin(), *path, *format); };
    });
}

}  // namespace vivo::host
