// `vivo classify`, run as a user runs it: the host program loads the built plug-in, and the test reads
// what it prints and its exit code, and what editors take from it (Vim itself, from Debian's vim, which
// tests/editors/install.sh installs). Its memory use at 1, 10 and 100 MB is scripts/host-scaling.py's.
//
// data/classify/build.log holds every row of the classification table, a UTF-8 byte-order mark, CR LF,
// LF and bare CR line ends, a last line without one, a quoted file name and Shift_JIS text (a file
// name whose second byte of "po" is a bar, a message with the 0x5C second byte of "hyo"); the
// expected outputs beside it were checked by hand. The SARIF output is checked against the SARIF
// 2.1.0 schema (data/sarif-2.1.0-rtm.5.json, the schema file that npm's @microsoft/jest-sarif package
// ships, MIT licence) with Debian's python3-jsonschema, and by Microsoft's SARIF Multitool
// (tests/tools/sarif, installed by scripts/install-sarif-multitool.sh).
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/plugin.h"
#include "support/posix/host_runner.h"

namespace vivo::test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

const fs::path kData = fs::path(VIVO_SOURCE_DIR) / "tests/tools/data";
const fs::path kLog = kData / "classify/build.log";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

const std::vector<std::string> kGccArgs{"classify", kLog.string(), "--base", "/proj", "--encoding", "shift_jis"};

TEST(ClassifyCommand, SampleLogInEveryFormat) {
    // Columns: name, arguments after the log, expected standard output, standard error.
    const struct { const char* name; std::vector<std::string> args; const char* expected; std::string err; } rows[] = {
        {"gcc form, names under --base, Shift_JIS", {"--base", "/proj", "--encoding", "shift_jis"}, "expected.txt", ""},
        {"plain: the earlier form, names as-is, bytes not UTF-8 escaped", {"--format", "plain"}, "expected-plain.txt", ""},
        {"jsonl, Windows names", {"--format", "jsonl", "--path-style", "windows", "--base", "C:\\proj", "--encoding", "shift_jis"},
         "expected.jsonl", "2 errors, 4 warnings, 2 fatal errors\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> args{"classify", kLog.string()};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const HostRun run = RunVivo(args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, ReadBytes(kData / "classify" / row.expected));
        EXPECT_EQ(run.err, row.err);
    }
}

// What an editor takes from one output line; severity as "error", "warning" or "note".
struct Found { std::string file; long line = 0; std::string severity, message, code; };
using Matcher = std::function<std::optional<Found>(const std::string&)>;

// A pattern with the numbers of its groups; the severity comes from `severity` (a group) or is fixed.
Matcher Pattern(const std::string& regex, int file, int line, int severity, int message, std::string fixed = "",
                int code = 0) {
    return [=](const std::string& text) -> std::optional<Found> {
        std::smatch m;
        if (!std::regex_search(text, m, std::regex(regex))) return std::nullopt;
        return Found{m[file], std::stol(m[line]), severity ? std::string(m[severity]) : fixed,
                     message ? std::string(m[message]) : std::string(m.suffix()), code ? std::string(m[code]) : ""};
    };
}

// VS Code's $gcc problem matcher (microsoft/vscode-cpptools, Extension/package.json, problemMatchers).
Matcher VsCodeGcc() { return Pattern(R"(^(.*?):(\d+):(\d*):?\s+(?:fatal\s+)?(warning|error):\s+(.*)$)", 1, 2, 4, 5); }

// What Vim itself puts in its quickfix list for each line (its default 'errorformat', or the shipped
// compiler file's after ":compiler! vivo"): the first valid entry, none when Vim finds no file and line.
// Without a type (%t) the severity is the message's first word ("error", "fatal error", ...).
Matcher Vim(const std::vector<std::string>& lines, bool shipped) {
    TempDir dir;
    std::string input;
    for (const std::string& line : lines) input += line + "\n";
    dir.Write("lines.txt", input);
    dir.Write("quickfix.vim",
              "let s:found = []\nfor s:line in readfile('lines.txt')\n  cgetexpr [s:line]\n"
              "  let s:q = filter(getqflist(), 'v:val.valid')\n  call add(s:found, empty(s:q) ? '{}' : json_encode("
              "{'file': bufname(s:q[0].bufnr), 'line': s:q[0].lnum, 'type': s:q[0].type, 'text': s:q[0].text}))\n"
              "endfor\ncall writefile(s:found, 'found.jsonl')\nqall!\n");
    const std::string editors = Quoted(std::string(VIVO_SOURCE_DIR) + "/editors/vim");
    const HostRun vim = RunShell("vim -Nu NONE -es --cmd 'set rtp^='" + editors + (shipped ? " -c 'compiler! vivo'" : "") +
                                 " -S quickfix.vim", dir.path());
    EXPECT_EQ(vim.exitCode, 0) << vim.err;
    const std::vector<std::string> found = Lines(ReadBytes(dir.path() / "found.jsonl"));
    EXPECT_EQ(found.size(), lines.size());
    return [=](const std::string& text) -> std::optional<Found> {
        const json entry = json::parse(found.at(std::find(lines.begin(), lines.end(), text) - lines.begin()));
        if (entry.empty()) return std::nullopt;
        Found f{entry["file"], entry["line"], "", entry["text"], ""};
        const std::string type = entry["type"];
        std::smatch word;
        if (!type.empty()) f.severity = type == "e" ? "error" : type == "w" ? "warning" : type == "n" ? "note" : "?";
        else if (std::regex_search(f.message, word, std::regex(R"(^ (?:fatal )?(error|warning|note): )"))) {
            f.severity = word[1];
            f.message = word.suffix();
        }
        return f;
    };
}

// The VS Code task's problem matchers that editors/ ships.
Matcher ShippedVsCode() {
    std::vector<Matcher> matchers;
    const json tasks = json::parse(ReadBytes(fs::path(VIVO_SOURCE_DIR) / "editors/vscode/classify-tasks.json"));
    for (const json& m : tasks["tasks"][0]["problemMatcher"]) {
        const json& p = m["pattern"];
        matchers.push_back(Pattern(p["regexp"], p["file"], p["line"], p.value("severity", 0), p["message"],
                                   m.value("severity", "") == "info" ? "note" : "", p["code"]));
    }
    return [=](const std::string& text) -> std::optional<Found> {
        std::optional<Found> found;
        for (const Matcher& m : matchers)
            if (auto f = m(text)) {
                EXPECT_FALSE(found) << "two problem matchers take " << text;
                found = f;
            }
        return found;
    };
}

TEST(ClassifyCommand, EditorsFindEveryDiagnostic) {
    const std::vector<std::string> text = Lines(RunVivo(kGccArgs).out);
    std::vector<std::string> args = kGccArgs;
    args.insert(args.end(), {"--format", "jsonl"});
    const std::vector<std::string> jsonl = Lines(RunVivo(args).out);
    ASSERT_EQ(text.size(), jsonl.size() + 1);  // and the count line
    // Columns: editor, matcher, whether it takes notes ($gcc skips them, as it skips gcc's own).
    const struct { const char* name; Matcher match; bool notes; } rows[] = {
        {"VS Code $gcc", VsCodeGcc(), false},
        {"Vim default errorformat", Vim(text, false), true},
        {"editors/vscode/classify-tasks.json", ShippedVsCode(), true},
        {"editors/vim/compiler/vivo.vim", Vim(text, true), true},
    };
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < jsonl.size(); ++i) {
            SCOPED_TRACE(std::string(row.name) + ": " + text[i]);
            const json d = json::parse(jsonl[i]);
            const std::string severity = d["severity"] == "fatal error" ? "error" : d["severity"];
            const std::optional<Found> found = row.match(text[i]);
            if (d["file"].is_null() || (severity == "note" && !row.notes)) {
                EXPECT_FALSE(found) << found->file;
                continue;
            }
            ASSERT_TRUE(found);
            EXPECT_EQ(found->file, d["file"]);
            EXPECT_EQ(found->line, d["line"]);
            EXPECT_EQ(found->severity, severity);
            // The code in a group of its own, or at the end of the message.
            const std::string code = found->code.empty() ? " [" + d["rule"].get<std::string>() + "]" : "";
            EXPECT_EQ(found->code, found->code.empty() ? "" : d["rule"]);
            EXPECT_TRUE(found->message.ends_with(code) && found->message.size() > code.size() + 2) << found->message;
        }
        EXPECT_FALSE(row.match(text.back())) << row.name << " takes the count line";
    }
}

TEST(ClassifyCommand, SarifForCodeScanningAndViewers) {
    std::vector<std::string> args = kGccArgs;
    args.insert(args.end(), {"--format", "sarif"});
    const HostRun run = RunVivo(args);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "2 errors, 4 warnings, 2 fatal errors\n");
    TempDir dir;
    const fs::path sarif = dir.Write("classify.sarif", run.out);

    const HostRun schema = RunShell(
        "/usr/bin/python3 -c 'import json, sys, jsonschema\nschema = json.load(open(sys.argv[1]))\n"
        "jsonschema.validators.validator_for(schema)(schema).validate(json.load(open(sys.argv[2])))' " +
        Quoted((kData / "sarif-2.1.0-rtm.5.json").string()) + " " + Quoted(sarif.string()));
    EXPECT_EQ(schema.exitCode, 0) << "python3-jsonschema: " << schema.err;

    const fs::path multitool = fs::path(VIVO_SOURCE_DIR) / "tests/tools/sarif/node_modules/.bin/sarif-multitool";
    ASSERT_TRUE(fs::exists(multitool)) << "run scripts/install-sarif-multitool.sh";
    const HostRun validate = RunShell("DOTNET_SYSTEM_GLOBALIZATION_INVARIANT=1 " + Quoted(multitool.string()) +
                                      " validate " + Quoted(sarif.string()) + " -o " + Quoted((dir.path() / "v.sarif").string()));
    EXPECT_EQ(validate.exitCode, 0) << validate.out << validate.err;
    const json findings = json::parse(ReadBytes(dir.path() / "v.sarif"))["runs"][0]["results"];
    EXPECT_EQ(findings.size(), 0u) << findings.dump(1);  // errors and warnings of the Multitool

    const json log = json::parse(run.out)["runs"][0];
    const json& driver = log["tool"]["driver"];
    EXPECT_EQ(driver["name"], "Vivo");
    EXPECT_EQ(driver["version"], "4.09.00");
    EXPECT_EQ(log["tool"]["extensions"][0]["version"], "1.2.1");
    EXPECT_TRUE(driver["informationUri"].get<std::string>().starts_with("https://"));
    EXPECT_EQ(log["invocations"][0]["executionSuccessful"], true);
    EXPECT_NE(log["invocations"][0]["commandLine"].get<std::string>().find(" classify "), std::string::npos);
    EXPECT_EQ(log["originalUriBaseIds"]["SRCROOT"]["uri"], "file:///proj/");
    EXPECT_EQ(log["columnKind"], "unicodeCodePoints");
    std::vector<std::string> ids, fingerprints;
    for (const json& rule : driver["rules"]) {
        ids.push_back(rule["id"]);
        EXPECT_TRUE(rule["shortDescription"]["text"].is_string() && rule["defaultConfiguration"]["level"].is_string());
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"C2500", "C5520", "C0100", "C4000", "C5001", "A2100", "C0200", "A2050", "L1100", "P0010"}));
    for (const json& result : log["results"]) {
        EXPECT_EQ(driver["rules"][result["ruleIndex"].get<int>()]["id"], result["ruleId"]);
        EXPECT_TRUE(result["level"].is_string() && result["message"]["text"].is_string() && result["locations"].size() == 1);
        fingerprints.push_back(result["partialFingerprints"]["vivoResultHash/v1"]);
    }
    std::sort(fingerprints.begin(), fingerprints.end());
    EXPECT_EQ(std::unique(fingerprints.begin(), fingerprints.end()) - fingerprints.begin(), 10);
    // A name under --base is relative to SRCROOT; a Japanese name arrives as UTF-8, percent-encoded.
    EXPECT_EQ(log["results"][0]["locations"][0]["physicalLocation"]["artifactLocation"],
              json::parse(R"({"uri":"src/main.c","uriBaseId":"SRCROOT"})"));
    EXPECT_EQ(log["results"][4]["locations"][0]["physicalLocation"]["artifactLocation"]["uri"],
              "src/%E3%83%9D%E3%83%BC%E3%83%88.c");
    EXPECT_EQ(log["results"][4]["message"]["text"], "変数 \"表\" は使用されていません");
}

TEST(ClassifyCommand, FailuresAndStreaming) {
    const bool sanitizer = std::getenv("ASAN_OPTIONS") != nullptr;  // a sanitizer reserves more than a limit allows
    const std::string log = Quoted(kLog.string());
    // Columns: name, shell command, exit code, text standard output begins with, text standard error
    // holds (one line).
    const struct { const char* name; std::string command; int exitCode; std::string out, err; } rows[] = {
        {"a full disk", "$VIVO classify " + log + " >/dev/full", 2, "", "cannot write to standard output: No space left on device"},
        {"a folder", "$VIVO classify --format sarif /tmp", 2, "", "cannot read /tmp: it is a directory"},
        {"a missing log", "$VIVO classify /nonexistent.log", 2, "", "cannot read /nonexistent.log: No such file or directory"},
        {"two logs", "$VIVO classify " + log + " " + log, 2, "", "classify"},
        {"an unknown option", "$VIVO classify --colour " + log, 2, "", "--colour"},
        {"one of each, singular", "printf 'a.c(1) : C1 (E) x\\nb.c(2) : C2 (W) y\\nC3 (F) z\\n' | $VIVO classify", 1,
         "a.c:1: error: x [C1]\nb.c:2: warning: y [C2]\nfatal error: z [C3]\n1 error, 1 warning, 1 fatal error\n", ""},
        {"standard input on a terminal (its echo and the notice in either order)",
         "printf 'a.c(1) : C1 (W) x\\n\\004' | script -qec \"$VIVO classify\" /dev/null", 0, "",
         "reading the build log from standard input"},
        {"a line longer than memory allows", sanitizer ? "" :
         "ulimit -v 400000; (printf 'a.c(1) : C1 (E) x\\n'; head -c 600000000 /dev/zero) | $VIVO classify --format sarif", 2,
         "{\"$schema\"", "line 2 does not fit in memory"},
        // Through a pipe each diagnostic comes out while the build is still running: the build waits for it.
        {"shown before the log ends", "d=$(mktemp -u); (printf 'a.c(1) : C1 (E) x\\n'; while [ ! -e $d ]; do sleep 0.1; done) | "
         "$VIVO classify --format sarif 2>/dev/null | { s=; while IFS= read -r -t 20 -N 1 c; do s+=$c; case $s in "
         "*'\"ruleId\":\"C1\"'*) echo shown; break;; esac; done; touch $d; cat >/dev/null; }; rm -f $d", 0, "shown\n", ""},
    };
    for (const auto& row : rows) {
        if (row.command.empty()) continue;
        SCOPED_TRACE(row.name);
        HostRun run = RunShell(row.command);
        run.out = std::regex_replace(run.out, std::regex("\r"), "");
        EXPECT_EQ(run.exitCode, row.exitCode);
        EXPECT_TRUE(run.out.starts_with(row.out)) << run.out;
        EXPECT_NE((run.out + run.err).find(row.err), std::string::npos) << run.err;
        EXPECT_LE(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        if (row.exitCode == 2) {
            EXPECT_FALSE(run.out.ends_with("}\n")) << "a document that looks whole";
        }
    }
}

}  // namespace
}  // namespace vivo::test
