#include "classify_output.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "files.h"
#include "host.h"
#include "json_text.h"

namespace vivo::host {
namespace {

// Where a SARIF consumer learns about the tool: the classify section of the project's documentation.
// The project has no public address yet; `.invalid` can never resolve to someone else's page.
constexpr const char* kInformationUri = "https://example.invalid/vivo/README.md#vivo-classify";
constexpr const char* kFingerprintName = "vivoResultHash/v1";

const char* SeverityWord(Severity s) {
    switch (s) {
        case Severity::kNote: return "note";
        case Severity::kWarning: return "warning";
        case Severity::kError: return "error";
        case Severity::kFatal: return "fatal error";
    }
    return "";
}

const char* SarifLevel(Severity s) {
    return s == Severity::kNote ? "note" : s == Severity::kWarning ? "warning" : "error";
}

std::string Quote(std::string_view text) {
    return Json(std::string(text)).dump(-1, ' ', false, nlohmann::detail::error_handler_t::replace);
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimStart(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

bool HasDrive(std::string_view path) { return path.size() >= 2 && path[1] == ':' && IsLetter(path[0]); }

// `path` with "." parts and "part<sep>.." pairs taken out; a climb above the root stops at the root.
std::string Normalise(std::string_view path, char sep) {
    std::string root;
    std::size_t i = 0;
    if (HasDrive(path)) {
        root = path.substr(0, 2);
        i = 2;
        if (i < path.size() && path[i] == sep) root += path[i++];
    } else if (path.size() >= 2 && path[0] == sep && path[1] == sep) {
        root = std::string(2, sep);  // a network path
        i = 2;
    } else if (!path.empty() && path[0] == sep) {
        root = std::string(1, sep);
        i = 1;
    }
    const bool rooted = !root.empty();
    std::vector<std::string_view> parts;
    while (i <= path.size()) {
        std::size_t next = path.find(sep, i);
        if (next == std::string_view::npos) next = path.size();
        const std::string_view part = path.substr(i, next - i);
        i = next + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!rooted)
                parts.push_back(part);
            continue;
        }
        parts.push_back(part);
    }
    std::string result = root;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        if (k != 0) result += sep;
        result.append(parts[k]);
    }
    return result.empty() ? "." : result;
}

// A path as a URI reference: an absolute one as a file URI ("C:\a b.c" -> "file:///C:/a%20b.c"), a
// relative one as a relative reference; bytes outside the URI's plain characters percent-encoded.
std::string PathUri(std::string_view path) {
    std::string uri;
    std::size_t start = 0;
    if (HasDrive(path)) {
        uri = "file:///" + std::string(path.substr(0, 2));
        start = 2;
    } else if (path.starts_with("\\\\") || path.starts_with("//")) {
        uri = "file:";
    } else if (path.starts_with("/") || path.starts_with("\\")) {
        uri = "file://";
    }
    constexpr std::string_view kPlain = "-._~!$&'()*+,;=@";
    for (std::size_t i = start; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c == '\\' || c == '/') {
            uri += '/';
        } else if (IsLetter(static_cast<char>(c)) || IsDigit(static_cast<char>(c)) ||
                   kPlain.find(static_cast<char>(c)) != std::string_view::npos) {
            uri += static_cast<char>(c);
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", c);
            uri += escape;
        }
    }
    return uri;
}

// FNV-1a, 64 bits: the same diagnostic gives the same value in every run.
std::string Fingerprint(std::initializer_list<std::string_view> parts) {
    std::uint64_t hash = 14695981039346656037ull;
    for (std::string_view part : parts) {
        for (char c : part) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        hash = (hash ^ 0xFF) * 1099511628211ull;  // a separator no UTF-8 text holds
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

class TextWriter : public DiagnosticWriter {
public:
    void Write(const Diagnostic& d) override {
        std::string out;
        if (!d.file.empty()) {
            out += d.file;
            if (d.line > 0) out += ':' + std::to_string(d.line);
            out += ": ";
        }
        out.append(SeverityWord(d.severity)).append(": ").append(d.text);
        if (!d.code.empty()) out.append(d.text.empty() ? "[" : " [").append(d.code).append("]");
        out += '\n';
        Out(out);
    }
    void End(const Counts& counts, int) override { Out(CountLine(counts) + "\n"); }
};

class PlainWriter : public DiagnosticWriter {
public:
    void Write(const Diagnostic& d) override {
        std::string out;
        if (!d.file.empty()) out += d.file + ':' + std::to_string(d.line) + ": ";
        out.append(SeverityWord(d.severity)).append(" ").append(d.number).append(": ").append(d.message).append("\n");
        Out(out);
    }
    void End(const Counts& counts, int) override { Out(CountLine(counts) + "\n"); }
};

class JsonLinesWriter : public DiagnosticWriter {
public:
    void Write(const Diagnostic& d) override {
        std::string out = "{\"file\":";
        out += d.file.empty() ? "null,\"line\":null" : Quote(d.file) + ",\"line\":" + std::to_string(d.line);
        out += ",\"code\":" + (d.number.empty() ? "null" : d.number) + ",\"rule\":" + (d.code.empty() ? "null" : Quote(d.code));
        out += ",\"severity\":" + Quote(SeverityWord(d.severity)) + ",\"message\":" + Quote(d.message);
        out += ",\"raw\":" + Quote(d.raw) + "}\n";
        Out(out);
    }
    void End(const Counts& counts, int) override { std::fprintf(stderr, "%s\n", CountLine(counts).c_str()); }
};

// Results stream out as they come; the tool with its rules (one per code seen) and the invocation
// close the run, so that nothing but the distinct codes is kept.
class SarifWriter : public DiagnosticWriter {
public:
    explicit SarifWriter(const RunFacts& facts) : facts_(facts) {
        if (!facts_.base.empty()) {
            baseUri_ = PathUri(facts_.base);
            if (!baseUri_.ends_with('/')) baseUri_ += '/';
            basePrefix_ = facts_.base + (facts_.style == PathStyle::kWindows ? '\\' : '/');
        }
    }

    void Begin() override {
        std::string out = "{\"$schema\":\"https://json.schemastore.org/sarif-2.1.0.json\",\"version\":\"2.1.0\","
                          "\"runs\":[{\"columnKind\":\"unicodeCodePoints\",";
        if (!baseUri_.empty()) out += "\"originalUriBaseIds\":{\"SRCROOT\":{\"uri\":" + Quote(baseUri_) + "}},";
        out += "\"results\":[";
        Out(out);
    }

    void Write(const Diagnostic& d) override {
        const std::string& id = d.code.empty() ? d.number : d.code;
        auto [rule, added] = ruleIndex_.try_emplace(id, rules_.size());
        if (added) rules_.push_back({id, d.severity});
        const std::string_view text = d.text.empty() ? std::string_view(d.message) : std::string_view(d.text);

        std::string location;
        std::string uri;
        if (!d.file.empty()) {
            location = ArtifactLocation(d.file, uri);
            if (d.line > 0) location += ",\"region\":{\"startLine\":" + std::to_string(d.line) + "}";
        } else if (!facts_.logName.empty()) {  // no source position: the line in the log
            location = ArtifactLocation(facts_.logName, uri) + ",\"region\":{\"startLine\":" +
                       std::to_string(d.logLine) + "}";
        }
        std::string out = results_++ == 0 ? "\n" : ",\n";
        out += "{\"ruleId\":" + Quote(id) + ",\"ruleIndex\":" + std::to_string(rule->second);
        out += ",\"level\":\"" + std::string(SarifLevel(d.severity)) + "\",\"message\":{\"text\":" + Quote(text) + "}";
        out += ",\"locations\":[";
        if (!location.empty()) out += "{\"physicalLocation\":{" + location + "}}";
        out += "],\"partialFingerprints\":{\"" + std::string(kFingerprintName) + "\":\"" +
               Fingerprint({id, uri, std::to_string(d.line), text}) + "\"}";
        if (d.severity == Severity::kFatal) out += ",\"properties\":{\"fatal\":true}";
        out += "}";
        Out(out);
    }

    void End(const Counts& counts, int exitCode) override {
        std::string out = "\n],\"tool\":{\"driver\":{\"name\":\"Vivo\",\"fullName\":\"Vivo build output classification\"";
        out += ",\"version\":" + Quote(facts_.pluginVersion) + ",\"informationUri\":\"" + kInformationUri + "\",\"rules\":[";
        for (std::size_t i = 0; i < rules_.size(); ++i) {
            const Rule& r = rules_[i];
            out += i == 0 ? "\n" : ",\n";
            out += "{\"id\":" + Quote(r.id) + ",\"shortDescription\":{\"text\":" +
                   Quote("KZ toolchain " + std::string(SeverityWord(r.severity)) + " " + r.id + ".") +
                   "},\"defaultConfiguration\":{\"level\":\"" + SarifLevel(r.severity) + "\"}}";
        }
        out += "]},\"extensions\":[{\"name\":\"vivo\",\"fullName\":\"vivo command-line host\",\"version\":" +
               Quote(facts_.hostVersion) + ",\"informationUri\":\"" + kInformationUri + "\"}]}";
        std::string commandLine;
        std::string arguments;
        for (std::size_t i = 0; i < facts_.arguments.size(); ++i) {
            commandLine += (i == 0 ? "" : " ") + ShellWord(facts_.arguments[i]);
            if (i != 0) arguments += (i == 1 ? "" : ",") + Quote(facts_.arguments[i]);
        }
        out += ",\"invocations\":[{\"executionSuccessful\":true,\"exitCode\":" + std::to_string(exitCode) +
               ",\"commandLine\":" + Quote(commandLine) + ",\"arguments\":[" + arguments + "]";
        if (!facts_.workingDirectory.empty()) {
            std::string directory = PathUri(facts_.workingDirectory);
            if (!directory.ends_with('/')) directory += '/';
            out += ",\"workingDirectory\":{\"uri\":" + Quote(directory) + "}";
        }
        out += "}]}]}\n";
        Out(out);
        std::fprintf(stderr, "%s\n", CountLine(counts).c_str());
    }

    std::string Unfinished() const override {
        return "the SARIF log on standard output is incomplete and left unclosed";
    }

private:
    struct Rule {
        std::string id;
        Severity severity;
    };

    // "uri" (and "uriBaseId" for a file under --base) of `path`; `uri` receives the URI.
    std::string ArtifactLocation(const std::string& path, std::string& uri) const {
        const bool underBase = !basePrefix_.empty() && path.starts_with(basePrefix_);
        uri = PathUri(underBase ? std::string_view(path).substr(basePrefix_.size()) : std::string_view(path));
        return "\"artifactLocation\":{\"uri\":" + Quote(uri) + (underBase ? ",\"uriBaseId\":\"SRCROOT\"}" : "}");
    }

    static std::string ShellWord(const std::string& word) {
        if (!word.empty() && word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
                                                    "-_./=:,+@%") == std::string::npos)
            return word;
        std::string quoted = "'";
        for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return quoted + "'";
    }

    RunFacts facts_;
    std::string baseUri_, basePrefix_;
    std::unordered_map<std::string, std::size_t> ruleIndex_;
    std::vector<Rule> rules_;
    std::size_t results_ = 0;
};

}  // namespace

std::string CountLine(const Counts& c) {
    const auto count = [](unsigned long n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    return count(c.errors, "error", "errors") + ", " + count(c.warnings, "warning", "warnings") + ", " +
           count(c.fatalErrors, "fatal error", "fatal errors");
}

std::string StyledPath(std::string_view name, PathStyle style, const std::string& base) {
    if (style == PathStyle::kAsIs) return std::string(name);
    const char sep = style == PathStyle::kWindows ? '\\' : '/';
    std::string path(name);
    for (char& c : path)
        if (c == '\\' || c == '/') c = sep;
    const bool absolute = HasDrive(path) || (!path.empty() && path[0] == sep);
    if (!absolute && !base.empty()) path = base + sep + path;
    return Normalise(path, sep);
}

void SplitMessage(Diagnostic& d) {
    std::string_view message = TrimStart(d.message);
    const std::size_t end = std::min(message.find_first_of(" \t"), message.size());
    const std::string_view word = message.substr(0, end);
    std::size_t letters = 0;
    while (letters < word.size() && IsLetter(word[letters])) ++letters;
    std::size_t digits = letters;
    while (digits < word.size() && IsDigit(word[digits])) ++digits;
    if (digits == letters || digits != word.size()) {  // not a code such as C2500
        d.code.clear();
        d.text = message;
        return;
    }
    d.code = word;
    std::string_view rest = TrimStart(message.substr(end));
    if (rest.size() >= 3 && rest[0] == '(' && rest[2] == ')' && std::strchr("IEWF-M", rest[1]) != nullptr)
        rest = TrimStart(rest.substr(3));
    d.text = rest;
}

const std::vector<std::string>& Formats() {
    static const std::vector<std::string> formats{"text", "plain", "jsonl", "sarif"};
    return formats;
}

std::unique_ptr<DiagnosticWriter> MakeDiagnosticWriter(std::string_view format, const RunFacts& facts) {
    if (format == "text") return std::make_unique<TextWriter>();
    if (format == "plain") return std::make_unique<PlainWriter>();
    if (format == "jsonl") return std::make_unique<JsonLinesWriter>();
    if (format == "sarif") return std::make_unique<SarifWriter>(facts);
    throw Failure("unknown format \"" + std::string(format) + "\" (text, plain, jsonl or sarif)");
}

}  // namespace vivo::host
