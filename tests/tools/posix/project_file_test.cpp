// The vivo host's project file: what a person writes, what is refused, and a faithful round trip.
#include "tools/project_file.h"

#include <gtest/gtest.h>

namespace vivo::host {
namespace {

constexpr const char* kHeader = "@project P\n@toolchain Veltora KZ Standard Toolchain\n@version 1.00.00\n";

TEST(ProjectFile, OptionStringsStayRawAndRoundTrip) {
    const std::string text = std::string(kHeader) +
                             "# comment\n\n@phases\nVeltora KZ C/C++ Compiler|SYSTEM|1\r\n"
                             "@options Veltora KZ C/C++ Compiler\n"
                             " [S|INCLUDE|\"a b\"|\"c]]\"] # not a comment\n[B|DEBUG|1] \n\n"
                             "@options Veltora Bindex\n\n"
                             "@mappings\nVeltora KZ C/C++ Compiler|Object file|Veltora Bindex\n";
    const Project project = ParseProject(text, "p.vivo");
    ASSERT_EQ(project.phases, std::vector<std::string>{"Veltora KZ C/C++ Compiler|SYSTEM|1"});
    ASSERT_TRUE(project.OptionsOf("Veltora KZ C/C++ Compiler"));
    EXPECT_EQ(*project.OptionsOf("Veltora KZ C/C++ Compiler"),
              " [S|INCLUDE|\"a b\"|\"c]]\"] # not a comment\n[B|DEBUG|1] ");
    EXPECT_EQ(*project.OptionsOf("Veltora Bindex"), "");
    EXPECT_FALSE(project.OptionsOf("Veltora KZ Assembler"));
    std::string formatted;
    FormatProject(project, [&](std::string_view piece) { formatted += piece; });
    const Project again = ParseProject(formatted, "again.vivo");
    EXPECT_EQ(again.phases, project.phases);
    EXPECT_EQ(again.mappings, project.mappings);
    ASSERT_EQ(again.options.size(), 2u);
    EXPECT_EQ(again.options[0].options(), project.options[0].options());
    EXPECT_EQ(again.options[1].options(), "");
}

TEST(ProjectFile, MistakesNameTheFileAndLine) {
    struct Row { const char* name; std::string text; const char* message; };  // message: what the error starts with
    const Row rows[] = {
        {"no version", "@project P\n@toolchain T\n", "p.vivo:2: no @version line"},
        {"phase without a bar", std::string(kHeader) + "@phases\nVeltora Bindex\n", "p.vivo:5: a phase line"},
        {"unknown section", std::string(kHeader) + "@phase\n", "p.vivo:4: unknown section @phase"},
        {"text outside sections", std::string(kHeader) + "[S|CPU|KZ600]\n", "p.vivo:4: text outside any section"},
        {"options twice", std::string(kHeader) + "@options A\nx\n@options A\n", "p.vivo:6: options of A given twice"},
        {"header twice", std::string(kHeader) + "@version 1.01.00\n", "p.vivo:4: @version given twice"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        try {
            ParseProject(row.text, "p.vivo");
            ADD_FAILURE() << "accepted";
        } catch (const ProjectFileError& error) {
            EXPECT_EQ(std::string(error.what()).rfind(row.message, 0), 0u) << error.what();
        }
    }
}

}  // namespace
}  // namespace vivo::host
