// `vivo classify` and `vivo keywords`, run as a user runs them: the host program loads the built
// plug-in, and the test reads what it prints, its exit code and its memory use. The SARIF output is
// checked against the SARIF 2.1.0 schema (data/sarif-2.1.0-rtm.5.json, the schema file that npm's
// @microsoft/jest-sarif package ships, MIT licence) with Debian's python3-jsonschema.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <fcntl.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/posix/scoped_environment.h"
#include "support/plugin.h"

extern char** environ;

namespace vivo::test {
namespace {

namespace fs = std::filesystem;

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

ProgramRun Vivo(std::vector<std::string> args, const fs::path& input = "/dev/null", std::string output = "") {
    args.insert(args.begin(), {VIVO_HOST_FILE, "--plugin", BuiltPluginFile().string()});
    return RunProgram(args, input, output);
}

// A build of two files: banners, a command, plain lines and one diagnostic of each kind.
constexpr const char* kLog =
    "KZ Family C/C++ Compiler V1.02.01.000\r\n"
    "Copyright (C) 2026 Veltora Corporation\r\n"
    "if not exist out mkdir out\r\n"
    "C:\\proj\\src\\..\\main.c(12) : C2500 (E) Syntax error near \"}\"\r\n"
    "main.c(7) : C5520 (W) Pointer | conversion\r\n"
    "compiling util.c\r\n"
    "util.c(0) : C0100 (I) Function inlined\r\n"
    "** L1100 (W) Cannot find \"P\"\r\n"
    "\"dir a\\b.c\"(3) : C4000 (F) Out of memory\r\n";

// Columns: --format value, standard output, standard error.
const struct { const char* format; std::string_view out, err; } kFormatRows[] = {
    {"text",
     "C:\\proj\\main.c:12: error 32500: C2500 (E) Syntax error near \"}\"\n"
     "main.c:7: warning 35520: C5520 (W) Pointer | conversion\n"
     "note 30100: C0100 (I) Function inlined\n"
     "warning 121100: L1100 (W) Cannot find \"P\"\n"
     "\"dir a\\b.c\":3: fatal error 34000: C4000 (F) Out of memory\n"
     "1 errors, 2 warnings, 1 fatal errors\n",
     ""},
    {"jsonl",
     R"({"file":"C:\\proj\\main.c","line":12,"code":32500,"severity":"error","message":"C2500 (E) Syntax error near \"}\"","raw":"C:\\proj\\src\\..\\main.c(12) : C2500 (E) Syntax error near \"}\""})" "\n"
     R"({"file":"main.c","line":7,"code":35520,"severity":"warning","message":"C5520 (W) Pointer | conversion","raw":"main.c(7) : C5520 (W) Pointer | conversion"})" "\n"
     R"({"file":null,"line":null,"code":30100,"severity":"note","message":"C0100 (I) Function inlined","raw":"util.c(0) : C0100 (I) Function inlined"})" "\n"
     R"({"file":null,"line":null,"code":121100,"severity":"warning","message":"L1100 (W) Cannot find \"P\"","raw":"** L1100 (W) Cannot find \"P\""})" "\n"
     R"({"file":"\"dir a\\b.c\"","line":3,"code":34000,"severity":"fatal error","message":"C4000 (F) Out of memory","raw":"\"dir a\\b.c\"(3) : C4000 (F) Out of memory"})"
     "\n",
     "1 errors, 2 warnings, 1 fatal errors\n"},
};

TEST(ClassifyCommand, PrintsEachDiagnosticAndTheCounts) {
    TempDir dir;
    const fs::path log = dir.Write("build.log", kLog);
    for (const auto& row : kFormatRows) {
        SCOPED_TRACE(row.format);
        const ProgramRun run = Vivo({"classify", "--format", row.format, log.string()});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, row.out);
        EXPECT_EQ(run.err, row.err);
    }
}

TEST(ClassifyCommand, ExitCodesAndStandardInput) {
    TempDir dir;
    const std::string warnings = dir.Write("warnings.log", "a.c(1) : C1 (W) x\nplain\n").string();
    const std::string fatal = dir.Write("fatal.log", "A1 (-) cannot open\n").string();
    const std::string empty = dir.Write("empty.log", "").string();
    constexpr std::string_view kOneError = "a.c:2: error 30001: C1 (E) x\n1 errors, 0 warnings, 0 fatal errors\n";
    // Columns: name, arguments after "classify" (standard input holds one error), exit code, standard output.
    const struct { const char* name; std::vector<std::string> args; int exitCode; std::string_view out; } rows[] = {
        {"warnings only", {warnings}, 0, "a.c:1: warning 30001: C1 (W) x\n0 errors, 1 warnings, 0 fatal errors\n"},
        {"fatal error", {fatal}, 1, "fatal error 10001: A1 (-) cannot open\n0 errors, 0 warnings, 1 fatal errors\n"},
        {"empty log", {empty}, 0, "0 errors, 0 warnings, 0 fatal errors\n"},
        {"standard input as -", {"-"}, 1, kOneError},
        {"standard input without a file", {}, 1, kOneError},
        {"missing file", {(dir.path() / "missing.log").string()}, 2, ""},
        {"a folder", {dir.path().string()}, 2, ""},
        {"unknown format", {"--format", "xml", warnings}, 2, ""},
        {"two logs", {warnings, fatal}, 2, ""},
    };
    const fs::path input = dir.Write("input.log", "a.c(2) : C1 (E) x\n");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> args{"classify"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const ProgramRun run = Vivo(args, input);
        EXPECT_EQ(run.exitCode, row.exitCode);
        EXPECT_EQ(run.out, row.out);
        EXPECT_EQ(run.err.empty(), row.exitCode != 2) << run.err;
    }
}

const char* kPython = "/usr/bin/python3";  // with Debian's python3-jsonschema

constexpr const char* kValidate = R"(
import json, sys, jsonschema
schema = json.load(open(sys.argv[1]))
log = json.load(open(sys.argv[2]))
jsonschema.validators.validator_for(schema)(schema).validate(log)
print(len(log["runs"]), len(log["runs"][0]["results"]))
)";

TEST(ClassifyCommand, SarifMatchesTheSchema) {
    const fs::path schema = fs::path(VIVO_SOURCE_DIR) / "tests/queries/data/sarif-2.1.0-rtm.5.json";
    ASSERT_TRUE(fs::exists(schema));
    const ProgramRun ready = RunProgram({kPython, "-c", "import jsonschema"});
    ASSERT_EQ(ready.exitCode, 0) << kPython << " lacks jsonschema (Debian package python3-jsonschema): " << ready.err;

    TempDir dir;
    // The log of every format test, plus a line whose bytes are not UTF-8 (a Shift_JIS message).
    const fs::path log = dir.Write("build.log", std::string(kLog) + "x.c(4) : C1 (W) \x83\x65\x83\x58\x83\x67\n");
    const ProgramRun run = Vivo({"classify", "--format", "sarif", log.string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "1 errors, 3 warnings, 1 fatal errors\n");
    const fs::path sarif = dir.Write("out.sarif", run.out);
    const ProgramRun valid = RunProgram({kPython, "-c", kValidate, schema.string(), sarif.string()});
    EXPECT_EQ(valid.exitCode, 0) << valid.err;
    EXPECT_EQ(valid.out, "1 6\n");

    // The same check must refuse a result whose level SARIF does not know.
    std::string wrong = run.out;
    wrong.replace(wrong.find("\"level\":\"error\""), 15, "\"level\":\"fatal\"");
    EXPECT_NE(RunProgram({kPython, "-c", kValidate, schema.string(), dir.Write("bad.sarif", wrong).string()}).exitCode, 0);

    // Locations as URI references: a drive path as a file URI, blanks and quotes percent-encoded.
    EXPECT_NE(run.out.find(R"("uri":"file:///C:/proj/main.c"},"region":{"startLine":12})"), std::string::npos);
    EXPECT_NE(run.out.find(R"("uri":"%22dir%20a/b.c%22"},"region":{"startLine":3})"), std::string::npos);
    // Shift_JIS bytes arrive one character per byte (U+0083 "e" ...), as UTF-8.
    EXPECT_NE(run.out.find("\"text\":\"C1 (W) \xC2\x83" "e\xC2\x83X\xC2\x83g\""), std::string::npos);
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
            out << "kzcc -cpu=kz600 -output=obj -include=..\\inc -debug ..\\src\\module_with_a_long_name.c\n"
                   "KZ Family C/C++ Compiler V1.02.01.000\n"
                   "..\\src\\module_with_a_long_name.c(120) : C5520 (W) Pointer conversion loses information\n";
        out.close();
        const ProgramRun run = Vivo({"classify", log.string(), "--format", "jsonl"}, "/dev/null", "/dev/null");
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
