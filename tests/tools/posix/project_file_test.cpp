// The vivo host's project file: what is refused, named by file and line.
#include "tools/project_file.h"

#include <gtest/gtest.h>

namespace vivo::host {
namespace {

constexpr const char* kHeader = "@project P\n@toolchain Veltora KZ Standard Toolchain\n@version 1.00.00\n";

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
