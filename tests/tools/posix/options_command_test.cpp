// `vivo options` run as a person runs it: the host program loads the built plug-in, and the test
// reads what it prints and its exit code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/plugin.h"
#include "support/posix/host_runner.h"

namespace vivo::test {
namespace {

// `vivo options` with `words`.
HostRun Options(std::vector<std::string> words) {
    words.insert(words.begin(), "options");
    return RunVivo(words);
}

constexpr const char* kCompilerOptions =
    "[S|CPU|KZ600] [S|INCLUDE|\"inc\"|\"C:\\My Headers\"] [S|DEFINE|\"A|B=x y\"] [S|OUTPUT|SRC] "
    "[S|OUTPUTPATH|\"$(CONFIGDIR)\\a.src\"]";
constexpr const char* kLinkerOptions =
    "[B|LIST|1] [S|LIST|\"a.map\"] [S|INPUTLIBRARY|\"a.lib\"|\"b c.lib\"] [B|SUBCOMMAND|1] "
    "[S|START|P,C:D(00000400)|B{x},R(0FFF00000)]";

// Columns: name, arguments after "options", exit code, standard output, part of standard error ("": empty).
const struct { const char* name; std::vector<std::string> words; int exitCode; std::string out, errPart; } kRows[] = {
    {"include directories", {"includes", "--options", kCompilerOptions}, 0,
     "Include directories of Veltora KZ C/C++ Compiler (2)\n  inc\n  C:\\My Headers\n", ""},
    {"defines as JSON", {"defines", "--options", kCompilerOptions, "--json"}, 0,
     "{\"tool\":\"Veltora KZ C/C++ Compiler\",\"defines\":[\"A\",\"B=x y\"]}\n", ""},
    {"set include directories of the assembler",
     {"set-includes", "--options", "[S|INCLUDE|\"old\"] [S|CPU|KZ600]", "--tool", "assembler", "x\"y", "a]b"}, 0,
     "[S|INCLUDE|\"x\"\"y\"|\"a]]b\"] [S|CPU|KZ600]\n", ""},
    {"linker answers", {"linker", "--options", kLinkerOptions}, 0,
     "Map file                \"a.map\"\nLinked by command file  yes\nDependency scan         no\n"
     "Memory areas            2\n",
     ""},
    {"no libraries removes the item", {"set-libraries", "--options", kLinkerOptions}, 0,
     "[B|LIST|1] [S|LIST|\"a.map\"] [B|SUBCOMMAND|1] [S|START|P,C:D(00000400)|B{x},R(0FFF00000)]\n", ""},
    {"memory areas", {"areas", "--options", kLinkerOptions}, 0,
     "Memory areas of Veltora Bindex (2)\n  Area Address      Sections (overlay groups after ':')\n"
     "  1    00000400     P,C:D\n  2    0FFF00000    B(x),R\n",
     ""},
    {"one memory area as JSON", {"areas", "--options", kLinkerOptions, "--area", "2", "--json"}, 0,
     "{\"tool\":\"Veltora Bindex\",\"memoryAreas\":[{\"number\":2,\"address\":\"0FFF00000\","
     "\"sections\":\"B(x),R\",\"groups\":[[\"B(x)\",\"R\"]]}]}\n",
     ""},
    {"replace memory areas", {"set-areas", "--options", "[S|CPU|KZ600]", "0x1000=P(1),C:D", "0xFF=B"}, 0,
     "[S|CPU|KZ600] [S|START|P{1},C:D(01000)|B(0FF)]\n", ""},
    {"assembler options", {"convert", "--options", kCompilerOptions}, 0,
     "[S|INCLUDE|\"inc\"|\"C:\\My Headers\"] [S|OUTPUTPATH|\"$(CONFIGDIR)\\a.obj\"] [B|DEBUG|0] [B|LISTFILE|1] "
     "[S|CPU|KZ600]\n",
     ""},
    {"no assembly output", {"convert", "--options", "[S|CPU|KZ600]"}, 1, "", "do not output assembly source"},
    {"option string that does not parse", {"includes", "--options", "[B|DEBUG|] [S|INCLUDE|\"a\"]"}, 2, "",
     "does not parse"},
    {"unknown tool", {"includes", "--options", kCompilerOptions, "--tool", "Notepad"}, 2, "",
     "for the tool \"Notepad\""},
    {"area beyond the last", {"areas", "--options", kLinkerOptions, "--area", "3"}, 2, "",
     "area 3 is out of range: the option string has 2 memory areas"},
    {"conversion pair not offered", {"convert", "--options", kCompilerOptions, "--from", "assembler"}, 2, "",
     "no conversion of options"},
    {"bad memory area", {"set-areas", "--options", "", "1000=P"}, 2, "", "0xADDRESS=SECTIONS"},
    {"no option string", {"includes"}, 2, "", "--options TEXT"},
    {"unknown action", {"frobnicate", "--options", ""}, 2, "", "unknown command \"frobnicate\" for vivo options"},
};

TEST(OptionsCommand, PrintsAnswersAndRefusesBadInput) {
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.name);
        const HostRun run = Options(row.words);
        EXPECT_EQ(run.exitCode, row.exitCode) << run.err;
        EXPECT_EQ(run.out, row.out);
        EXPECT_TRUE(row.errPart.empty() ? run.err.empty() : run.err.find(row.errPart) != std::string::npos) << run.err;
    }
}

TEST(OptionsCommand, ReadsAFileAndRewritesAProject) {
    TempDir dir;
    const std::string optionsFile = dir.Write("linker.txt", std::string(kLinkerOptions) + "\r\n").string();
    HostRun run = Options({"libraries", "--options-file", optionsFile});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Library files of Veltora Bindex (2)\n  a.lib\n  b c.lib\n");

    const std::string project = dir.Write("p.vivo", "@project P\n@toolchain Veltora KZ Standard Toolchain\n@version 1.00.00\n"
                                                    "@phases\nVeltora KZ C/C++ Compiler|SYSTEM|1\n"
                                                    "@options Veltora KZ C/C++ Compiler\n[S|CPU|KZ600] [S|INCLUDE|\"inc\"]\n").string();
    const std::string written = (dir.path() / "q.vivo").string();
    run = Options({"set-defines", "--project", project, "--output", written, "DEBUG", "LEVEL=2"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    run = Options({"defines", "--project", written, "--json"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "{\"tool\":\"Veltora KZ C/C++ Compiler\",\"defines\":[\"DEBUG\",\"LEVEL=2\"]}\n");
    run = Options({"includes", "--project", written});
    EXPECT_EQ(run.out, "Include directories of Veltora KZ C/C++ Compiler (1)\n  inc\n");
    run = Options({"areas", "--project", written});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("the project has no options for Veltora Bindex"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace vivo::test
