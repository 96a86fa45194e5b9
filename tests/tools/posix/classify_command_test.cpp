// `vivo classify` and `vivo keywords`, run as a user runs them: the host program loads the built
// plug-in, and the test reads what it prints, its exit code and its memory use.
//
// data/classify/build.log holds every row of the classification table, a UTF-8 byte-order mark, CR LF,
// LF and bare CR line ends, a last line without one, a quoted file name and Shift_JIS text (a file
// name whose second byte of "po" is a bar, a message with the 0x5C second byte of "hyo"); the
// expected outputs beside it were checked by hand. The SARIF output is checked against the SARIF
// 2.1.0 schema (data/sarif-2.1.0-rtm.5.json, the schema file that npm's @microsoft/jest-sarif package
// ships, MIT licence) with Debian's python3-jsonschema, and by Microsoft's SARIF Multitool
// (tests/tools/sarif, installed by scripts/install-sarif-multitool.sh).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/posix/scoped_environment.h"
#include "support/plugin.h"

extern char** environ;

namespace vivo::test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

const fs::path kData = fs::path(VIVO_SOURCE_DIR) / "tests/tools/data";
const fs::path kLog = kData / "classify/build.log";

struct ProgramRun { int exitCode = -1; std::string out, err; long maxResidentKiB = 0; };

// Runs `args` (the program first) with standard input from `input`, standard output caught (or
// dropped when `output` is /dev/null) and standard error caught.
ProgramRun RunProgram(std::vector<std::string> args, const fs::path& input = "/dev/null", std::string output = "") {
    TempDir dir;
    if (output.empty()) output = (dir.path() / "out").string();
    const std::string err = (dir.path() / "err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) ADD_FAILURE() << "cannot start " << args[0];
    int status = 0;
    rusage usage{};
    if (spawned != 0 || wait4(pid, &status, 0, &usage) != pid) return {};
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadBytes(output), ReadBytes(err), usage.ru_maxrss};
}

std::vector<std::string> VivoArgs(std::vector<std::string> args) {
    args.insert(args.begin(), {VIVO_HOST_FILE, "--plugin", BuiltPluginFile().string()});
    return args;
}

ProgramRun Vivo(std::vector<std::string> args, const fs::path& input = "/dev/null", std::string output = "") {
    return RunProgram(VivoArgs(std::move(args)), input, output);
}

// Runs a shell command in which VIVO stands for the host program with the built plug-in.
ProgramRun Shell(std::string command) {
    const std::string vivo = std::string("'") + VIVO_HOST_FILE + "' --plugin '" + BuiltPluginFile().string() + "'";
    for (std::size_t at; (at = command.find("VIVO")) != std::string::npos;) command.replace(at, 4, vivo);
    return RunProgram({"/bin/sh", "-c", command});
}

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
        const ProgramRun run = Vivo(args);
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

// Emacs' `gnu` entry of compilation-error-regexp-alist-alist (lisp/progmodes/compile.el, Emacs 29),
// its rx form written out: file 1, line 2; group 8 makes a warning, group 9 information, none an
// error. Emacs shows the whole line, so the message is what follows the match.
Matcher EmacsGnu() {
    const std::string regex =
        R"(^(?:[[:alpha:]][.\-[:alnum:]]+: ?| +\|)?([0-9]*[^0-9\n](?:[^\n :]| [^-/\n]|:[^ \n])*?): ?([0-9]+))"
        R"((?:-([0-9]+)(?:\.([0-9]+))?|[.:]([0-9]+)(?:-(?:([0-9]+)\.)?([0-9]+))?)?:)"
        R"((?: *(FutureWarning|RuntimeWarning|Warning|warning|W:)| *([Ii]nfo(?:\b|rmationa?l?)|I:|\[ skipping .+ \]|)"
        R"(instantiated from|required from|[Nn]ote)| *[Ee]rror|[0-9]?(?:[^0-9\n]|$)|[0-9][0-9][0-9]))";
    const Matcher gnu = Pattern(regex, 1, 2, 0, 0);
    return [=](const std::string& text) {
        std::optional<Found> found = gnu(text);
        std::smatch m;
        if (found && std::regex_search(text, m, std::regex(regex)))
            found->severity = m[8].matched ? "warning" : m[9].matched ? "note" : "error";
        return found;
    };
}

// An 'errorformat' entry as Vim's quickfix.c turns it into a pattern: %f before a literal character
// becomes \%(\a:\)\=.\{-1,} (a drive, then as few characters as will do), %l and %c \d\+, %m .\+,
// %t one character, %*[...] and %*\D one or more of them; anchored at both ends.
struct VimEntry { std::string regex; int file, line, type, message; bool ignore; };

VimEntry FromErrorformat(const std::string& efm) {
    VimEntry entry{"^", 0, 0, 0, 0, efm.starts_with("%-G")};
    int group = 0;
    for (std::size_t i = entry.ignore ? 3 : 0; i < efm.size(); ++i) {
        if (efm[i] != '%') {
            entry.regex += std::strchr(".[]()*+?^$|{}\\", efm[i]) ? std::string("\\") + efm[i] : std::string(1, efm[i]);
            continue;
        }
        const char c = efm[++i];
        if (c == 'f') entry.regex += "((?:[A-Za-z]:)?.+?)", entry.file = ++group;
        else if (c == 'l') entry.regex += "(\\d+)", entry.line = ++group;
        else if (c == 'c') entry.regex += "(\\d+)", ++group;
        else if (c == 't') entry.regex += "(.)", entry.type = ++group;
        else if (c == 'm') entry.regex += "(.+)", entry.message = ++group;
        else if (c == '\\') entry.regex += efm[++i] == '?' ? "?" : "\\" + std::string(1, efm[i]);
        else if (c == '*' && efm[i + 1] == '[') { const std::size_t close = efm.find(']', i + 3); entry.regex += efm.substr(i + 1, close - i) + "+"; i = close; }
        else if (c == '*') { entry.regex += efm.substr(i + 1, 2) + "+"; i += 2; }
    }
    entry.regex += "$";
    return entry;
}

// The first entry that matches decides, as in Vim; an ignoring one (%-G) drops the line. Without %t,
// the severity is the message's first word ("error", "fatal error", ...).
Matcher Vim(const std::vector<std::string>& errorformat) {
    return [=](const std::string& text) -> std::optional<Found> {
        for (const std::string& efm : errorformat) {
            const VimEntry e = FromErrorformat(efm);
            std::smatch m;
            if (!std::regex_search(text, m, std::regex(e.regex))) continue;
            if (e.ignore || !e.file || !e.line) return std::nullopt;
            Found found{m[e.file], std::stol(m[e.line]), "", m[e.message], ""};
            if (e.type) {
                found.severity = m[e.type] == "e" ? "error" : m[e.type] == "w" ? "warning" : m[e.type] == "n" ? "note" : "?";
            } else {
                std::smatch word;
                if (std::regex_search(found.message, word, std::regex(R"(^ (?:fatal )?(error|warning|note): )"))) {
                    found.severity = word[1];
                    found.message = word.suffix();
                }
            }
            return found;
        }
        return std::nullopt;
    };
}

// Vim's default 'errorformat' on Unix (DFLT_EFM in src/optiondefs.h), the entries that can take a
// line with a file name and a line number.
const std::vector<std::string> kVimDefault{
    R"(%*[^"]"%f"%*\D%l: %m)", R"("%f"%*\D%l: %m)", R"(%-Gg%\?make[%*\d]: *** [%f:%l:%m)",
    R"(%-Gg%\?make: *** [%f:%l:%m)", "%-G%f:%l: (Each undeclared identifier is reported only once",
    "%-G%f:%l: for each function it appears in.)", "%-GIn file included from %f:%l:%c:",
    "%-GIn file included from %f:%l:%c,", "%-GIn file included from %f:%l:%c", "%-GIn file included from %f:%l",
    "%-G%*[ ]from %f:%l:%c", "%-G%*[ ]from %f:%l:", "%-G%*[ ]from %f:%l,", "%-G%*[ ]from %f:%l", "%f:%l:%c:%m",
    "%f(%l):%m", "%f:%l:%m", R"("%f", line %l%*\D%c%*[^ ] %m)", "%f|%l| %m"};

// The shipped editor files: the VS Code task's problem matchers and the Vim compiler's 'errorformat'.
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

std::vector<std::string> ShippedVimErrorformat() {
    for (const std::string& line : Lines(ReadBytes(fs::path(VIVO_SOURCE_DIR) / "editors/vim/compiler/vivo.vim"))) {
        if (!line.starts_with("CompilerSet errorformat=")) continue;
        std::string value = std::regex_replace(line.substr(24), std::regex(R"(\\ )"), " ");
        std::vector<std::string> entries;
        for (std::size_t start = 0, end; start <= value.size(); start = end + 1) {
            end = std::min(value.find(',', start), value.size());
            entries.push_back(value.substr(start, end - start));
        }
        return entries;
    }
    ADD_FAILURE() << "no errorformat in the Vim compiler file";
    return {};
}

TEST(ClassifyCommand, EditorsFindEveryDiagnostic) {
    const std::vector<std::string> text = Lines(Vivo(kGccArgs).out);
    std::vector<std::string> args = kGccArgs;
    args.insert(args.end(), {"--format", "jsonl"});
    const std::vector<std::string> jsonl = Lines(Vivo(args).out);
    ASSERT_EQ(text.size(), jsonl.size() + 1);  // and the count line
    // Columns: editor, matcher, whether it takes notes ($gcc skips them, as it skips gcc's own).
    const struct { const char* name; Matcher match; bool notes; } rows[] = {
        {"VS Code $gcc", VsCodeGcc(), false},
        {"Emacs gnu", EmacsGnu(), true},
        {"Vim default errorformat", Vim(kVimDefault), true},
        {"editors/vscode/classify-tasks.json", ShippedVsCode(), true},
        {"editors/vim/compiler/vivo.vim", Vim(ShippedVimErrorformat()), true},
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
    const ProgramRun run = Vivo(args);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "2 errors, 4 warnings, 2 fatal errors\n");
    TempDir dir;
    const fs::path sarif = dir.Write("classify.sarif", run.out);

    const ProgramRun schema = RunProgram({"/usr/bin/python3", "-c",
        "import json, sys, jsonschema\nschema = json.load(open(sys.argv[1]))\n"
        "jsonschema.validators.validator_for(schema)(schema).validate(json.load(open(sys.argv[2])))",
        (kData / "sarif-2.1.0-rtm.5.json").string(), sarif.string()});
    EXPECT_EQ(schema.exitCode, 0) << "python3-jsonschema: " << schema.err;

    const fs::path multitool = fs::path(VIVO_SOURCE_DIR) / "tests/tools/sarif/node_modules/.bin/sarif-multitool";
    ASSERT_TRUE(fs::exists(multitool)) << "run scripts/install-sarif-multitool.sh";
    const platform::ScopedEnvironment noIcu("DOTNET_SYSTEM_GLOBALIZATION_INVARIANT", "1");
    const ProgramRun validate = RunProgram({multitool.string(), "validate", sarif.string(), "-o", (dir.path() / "v.sarif").string()});
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
    // Columns: name, shell command (VIVO is the host), exit code, text standard output begins with, text
    // standard error holds (one line).
    const struct { const char* name; std::string command; int exitCode; std::string out, err; } rows[] = {
        {"a full disk", "VIVO classify " + kLog.string() + " >/dev/full", 2, "", "cannot write to standard output: No space left on device"},
        {"a folder", "VIVO classify --format sarif /tmp", 2, "", "cannot read /tmp: it is a directory"},
        {"a missing log", "VIVO classify /nonexistent.log", 2, "", "cannot read /nonexistent.log: No such file or directory"},
        {"two logs", "VIVO classify " + kLog.string() + " " + kLog.string(), 2, "", "classify"},
        {"an unknown option", "VIVO classify --colour " + kLog.string(), 2, "", "--colour"},
        {"one of each, singular", "printf 'a.c(1) : C1 (E) x\\nb.c(2) : C2 (W) y\\nC3 (F) z\\n' | VIVO classify", 1,
         "a.c:1: error: x [C1]\nb.c:2: warning: y [C2]\nfatal error: z [C3]\n1 error, 1 warning, 1 fatal error\n", ""},
        {"standard input on a terminal (its echo and the notice in either order)",
         "printf 'a.c(1) : C1 (W) x\\n\\004' | script -qec \"VIVO classify\" /dev/null", 0, "",
         "reading the build log from standard input"},
        {"a line longer than memory allows", sanitizer ? "" :
         "ulimit -v 400000; (printf 'a.c(1) : C1 (E) x\\n'; head -c 600000000 /dev/zero) | VIVO classify --format sarif", 2,
         "{\"$schema\"", "line 2 does not fit in memory"},
    };
    for (const auto& row : rows) {
        if (row.command.empty()) continue;
        SCOPED_TRACE(row.name);
        ProgramRun run = Shell(row.command);
        run.out = std::regex_replace(run.out, std::regex("\r"), "");
        EXPECT_EQ(run.exitCode, row.exitCode);
        EXPECT_TRUE(run.out.starts_with(row.out)) << run.out;
        EXPECT_NE((run.out + run.err).find(row.err), std::string::npos) << run.err;
        EXPECT_LE(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        if (row.exitCode == 2) {
            EXPECT_FALSE(run.out.ends_with("}\n")) << "a document that looks whole";
        }
    }

    // Through a pipe each diagnostic comes out while the build is still running.
    int in[2], out[2];
    ASSERT_EQ(pipe(in), 0);
    ASSERT_EQ(pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> args = VivoArgs({"classify", "--format", "sarif"});
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    ASSERT_EQ(write(in[1], "a.c(1) : C1 (E) x\n", 18), 18);
    std::string shown;
    pollfd ready{out[0], POLLIN, 0};
    while (shown.find("\"ruleId\"") == std::string::npos && poll(&ready, 1, 20000) == 1) {
        char bytes[4096];
        const ssize_t got = read(out[0], bytes, sizeof bytes);
        if (got <= 0) break;
        shown.append(bytes, static_cast<std::size_t>(got));
    }
    EXPECT_NE(shown.find("\"ruleId\":\"C1\""), std::string::npos) << "nothing shown before the log ended: " << shown;
    close(in[1]);
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
}

// Memory stays flat: a log a hundred times longer costs no more resident memory than a short one.
TEST(ClassifyCommand, StreamsLargeLogs) {
    TempDir dir;
    // A sanitizer build holds freed memory back to catch late uses: that memory is the sanitizer's,
    // not the program's, so the measured run does without it.
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    const platform::ScopedEnvironment noQuarantine(
        "ASAN_OPTIONS", (std::string(sanitizer ? sanitizer : "") + ":quarantine_size_mb=0").c_str());
    const auto residentKiB = [&](int blocks) {
        const fs::path log = dir.path() / ("blocks" + std::to_string(blocks) + ".log");
        // Block by block: until it runs the program, the child shares this process's memory as its own peak.
        std::ofstream out(log, std::ios::binary);
        for (int i = 0; i < blocks; ++i)  // 209 bytes a block: a command, a banner, a warning
            out << "kzcc -cpu=kz600 -output=obj -include=..\\inc -debug ..\\src\\module_with_a_long_name.c\r"
                   "KZ Family C/C++ Compiler V1.02.01.000\r\n"
                   "..\\src\\module_with_a_long_name.c(120) : C5520 (W) Pointer conversion loses information\n";
        out.close();
        const ProgramRun run = Vivo({"classify", log.string(), "--format", "sarif"}, "/dev/null", "/dev/null");
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err, "0 errors, " + std::to_string(blocks) + " warnings, 0 fatal errors\n");
        return run.maxResidentKiB;
    };
    const long small = residentKiB(1000);
    const long large = residentKiB(100000);  // about 21 MB
    EXPECT_LT(large - small, 2048) << "resident size grows with the log: " << small << " KiB, then " << large;
}

TEST(KeywordsCommand, PrintsTheKeywordLines) {
    const ProgramRun run = Vivo({"keywords", "Assembly source file"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.starts_with(".SECTION ") && run.out.ends_with('\n') && run.out.find('\0') == std::string::npos) << run.out;
    const ProgramRun version = Vivo({"keywords", "--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.find_first_not_of("0123456789"), version.out.size() - 1) << version.out;
    EXPECT_EQ(Vivo({"keywords", "Object file"}).exitCode, 1);
    EXPECT_EQ(Vivo({"keywords"}).exitCode, 2);
}

}  // namespace
}  // namespace vivo::test
