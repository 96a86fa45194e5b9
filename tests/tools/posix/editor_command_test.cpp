// vivo editor and vivo keywords --format, run as a user runs them. What clangd, VS Code's tokeniser and
// Vim make of the files is checked by tests/editors/ with those programs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "support/plugin.h"
#include "support/posix/host_runner.h"

namespace vivo::test {
namespace {

namespace fs = std::filesystem;

HostRun Vivo(const std::string& arguments) { return RunShell("$VIVO " + arguments); }

std::string Quoted(const fs::path& path) { return test::Quoted(path.string()); }

std::string Project(const std::string& compilerOptions) {
    return "@project Door Lock\n@toolchain Veltora KZ Standard Toolchain\n@version 1.02.01\n@phases\n"
           "Veltora KZ C/C++ Compiler|SYSTEM|1\nVeltora KZ Assembler|SYSTEM|1\n"
           "@options Veltora KZ C/C++ Compiler\n" +
           compilerOptions +
           "\n"
           "@options Veltora KZ Assembler\n[S|INCLUDE|\"asm\"] [S|DEFINE|STACK=0x400]\n";
}

TEST(EditorCommand, WritesTheCompilersFlagsForEverySourceAndSaysWhatChanged) {
    TempDir dir;
    const fs::path project = dir.Write(
        "lock.vivo",
        Project(
            "[S|INCLUDE|\"$(PROJDIR)\\inc\"|\"$(CONFIGDIR)\\gen\"|\"C:\\KZ\\include\"] [S|DEFINE|MAX_CODES=16|1BAD]"));
    for (const char* folder : {"src", "src/.hidden", "inc"}) fs::create_directories(dir.path() / folder);
    for (const char* source : {"src/main.c", "src/Keypad.CPP", "src/start.s", "src/vectors.asm", "src/lock.h",
                               "src/.hidden/skip.c", "inc/notes.txt"})
        dir.Write(source, "");

    const HostRun first = Vivo("editor " + Quoted(project));
    EXPECT_EQ(first.exitCode, 1) << "entries were left out";
    EXPECT_NE(first.err.find("\"$(CONFIGDIR)\\gen\" left out: $(CONFIGDIR) not known"), std::string::npos) << first.err;
    EXPECT_NE(first.err.find("define \"1BAD\" left out"), std::string::npos) << first.err;
    EXPECT_NE(first.out.find("created   " + (dir.path() / ".vscode/c_cpp_properties.json").string()),
              std::string::npos);

    const std::string root = dir.path().string();
    const std::vector<std::string> compilerFlags = {"-I" + root + "/inc", "-I/KZ/include", "-DMAX_CODES=16"};
    const nlohmann::json database = nlohmann::json::parse(ReadBytes(dir.path() / "compile_commands.json"));
    // file, language, flags
    const std::vector<std::tuple<std::string, std::string, std::vector<std::string>>> expected = {
        {"src/Keypad.CPP", "-xc++", compilerFlags},
        {"src/main.c", "-xc", compilerFlags},
        {"src/start.s", "-xassembler-with-cpp", {"-I" + root + "/asm", "-DSTACK=0x400"}},
        {"src/vectors.asm", "-xassembler-with-cpp", {"-I" + root + "/asm", "-DSTACK=0x400"}},
    };
    ASSERT_EQ(database.size(), expected.size()) << database.dump(1);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& [file, language, flags] = expected[i];
        SCOPED_TRACE(file);
        std::vector<std::string> arguments{"clang", language};
        arguments.insert(arguments.end(), flags.begin(), flags.end());
        arguments.insert(arguments.end(), {"-c", root + "/" + file});
        EXPECT_EQ(database[i],
                  nlohmann::json({{"directory", root}, {"arguments", arguments}, {"file", root + "/" + file}}));
    }
    EXPECT_NE(ReadBytes(dir.path() / ".clangd")
                  .find("  Add:\n    - \"-I" + root +
                        "/inc\"\n    - \"-I/KZ/include\"\n"
                        "    - \"-DMAX_CODES=16\"\n"),
              std::string::npos);

    // The same project again changes nothing; a new define changes the three files, and nothing is
    // left behind beside them.
    const HostRun again = Vivo("editor " + Quoted(project) + " --define-var CONFIGDIR=/b");
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.out.find("changed   " + root + "/compile_commands.json"), std::string::npos) << again.out;
    const HostRun same = Vivo("editor " + Quoted(project) + " --define-var CONFIGDIR=/b");
    EXPECT_EQ(same.out.find("changed   "), std::string::npos) << same.out;
    EXPECT_NE(same.out.find("unchanged " + root + "/.clangd"), std::string::npos) << same.out;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / ".vscode"), fs::directory_iterator()), 1);
}

TEST(EditorCommand, RefusesBeforeWritingAnything) {
    TempDir dir;
    const fs::path kz = dir.Write("kz.vivo", Project("[S|INCLUDE|\"inc\"]"));
    const fs::path pexa = dir.Write("pexa.vivo",
                                    "@project P\n@toolchain Veltora Pexa Standard Toolchain\n@version "
                                    "5.45.00\n@options Veltora Pexa C Compiler\n[S|INCLUDE|\"inc\"]\n");
    const fs::path blocked = dir.path() / "blocked";
    fs::create_directories(blocked);
    std::ofstream(blocked / ".vscode") << "a file";
    struct Row { const char* name; std::string arguments; const char* says; };
    const Row rows[] = {
        {"no project", "editor " + Quoted(dir.path() / "none.vivo"), "cannot read project file"},
        {"another toolchain", "editor " + Quoted(pexa), "the project's toolchain is Veltora Pexa Standard Toolchain"},
        {"bad variable", "editor " + Quoted(kz) + " --define-var CONFIGDIR", "--define-var takes NAME=VALUE"},
        {"sources not a folder", "editor " + Quoted(kz) + " --sources " + Quoted(kz), "is not a folder"},
        {".vscode not a folder", "editor " + Quoted(kz) + " --out " + Quoted(blocked), "not a folder"},
        {"unknown option", "editor " + Quoted(kz) + " --frobnicate", "--frobnicate"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const HostRun run = Vivo(row.arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find(row.says), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "not one line: " << run.err;
    }
    EXPECT_FALSE(fs::exists(dir.path() / "compile_commands.json"));
    EXPECT_FALSE(fs::exists(blocked / ".clangd"));
}

TEST(KeywordsCommand, FormatsGroupTheFileTypesThatShareKeywords) {
    const HostRun json = Vivo("keywords --format json");
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const nlohmann::json data = nlohmann::json::parse(json.out);
    EXPECT_EQ(data["version"], 1);
    ASSERT_EQ(data["languages"].size(), 3u);
    const nlohmann::json& cpp = data["languages"][1];
    EXPECT_EQ(cpp["scopeName"], "source.kz.cpp");
    EXPECT_EQ(cpp["fileTypes"][0],
              nlohmann::json({{"description", "C++ source file"}, {"extensions", {"CPP", "CC", "CP"}}}));
    EXPECT_EQ(cpp["fileTypes"].size(), 3u);
    EXPECT_EQ(cpp["groups"][1]["keywords"][0], "and");
    EXPECT_EQ(cpp["groups"][1]["vimGroup"], "kzcppGroup2");

    struct Row { const char* name; const char* arguments; int exitCode; const char* says; };
    const Row rows[] = {
        {"one file type's group", "keywords --format json \"C header file\"", 0, "\"C source file\""},
        {"grammar needs a file type", "keywords --format textmate", 2, "needs a file type"},
        {"file type without keywords", "keywords --format vim \"Object file\"", 1, "no keywords for \"Object file\""},
        {"format and version", "keywords --format json --version", 2, "not both"},
        {"lines as before", "keywords \"Assembly include file\"", 0, ".SECTION .ORG"},
        {"lines of a file type without keywords", "keywords \"Object file\"", 1, "Object file"},
        {"no file type", "keywords", 2, "keywords"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const HostRun run = Vivo(row.arguments);
        EXPECT_EQ(run.exitCode, row.exitCode) << run.err;
        EXPECT_NE((run.exitCode == 0 ? run.out : run.err).find(row.says), std::string::npos) << run.out << run.err;
        EXPECT_TRUE(run.out.empty() || (run.out.ends_with('\n') && run.out.find('\0') == std::string::npos));
    }
    const HostRun version = Vivo("keywords --version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.find_first_not_of("0123456789"), version.out.size() - 1) << version.out;
}

}  // namespace
}  // namespace vivo::test
