// The keyword look-up rules across the primary and the secondary colouring file, on files in a
// temporary folder.
#include "queries/syntax_colouring.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "support/plugin.h"

namespace vivo {
namespace {

constexpr const char* kAbsent = nullptr;  // no such file

// The two files of one case, written where given; a missing one is a path to nothing.
ColouringFiles WriteFiles(const test::TempDir& dir, const char* primary, const char* secondary) {
    if (primary != nullptr) dir.Write("primary.ini", primary);
    if (secondary != nullptr) dir.Write("secondary.ini", secondary);
    return {(dir.path() / "primary.ini").string(), (dir.path() / "secondary.ini").string()};
}

#define SCI "[Syntax Colouring Information]\n"
constexpr const char* kTwoGroups = SCI "FileGroup0=C source file,C header file\nFileGroup0-1=auto break\nFileGroup0-2=case\n"
                                       "FileGroup1=Assembly source file\nFileGroup1-1=.SECTION\n";

TEST(SyntaxColouring, LooksUpAcrossBothFiles) {
    // Columns: name, primary file, secondary file, name asked for, keyword text.
    const struct { const char* name; const char* primary; const char* secondary; const char* fileType; std::string_view keywords; } rows[] = {
        {"two lines, each with LF", kTwoGroups, kAbsent, "C header file", "auto break\ncase\n"},
        {"second group", kTwoGroups, kAbsent, "Assembly source file", ".SECTION\n"},
        {"names compare exactly", kTwoGroups, kAbsent, "c source file", ""},
        {"blanks around a name are part of it", SCI "FileGroup0=C source file, C header file\nFileGroup0-1=x\n", kAbsent, "C header file", ""},
        {"section and key names ignore case", "[syntax colouring information]\nfilegroup0=C\nFILEGROUP0-1=x\n", kAbsent, "C", "x\n"},
        {"gap in the group numbers hides later groups", SCI "FileGroup0=A\nFileGroup0-1=a\nFileGroup2=C\nFileGroup2-1=c\n", kAbsent, "C", ""},
        {"end marker ends the lines", SCI "FileGroup0=A\nFileGroup0-1=a\nFileGroup0-2=End of Syntax Colouring Info\nFileGroup0-3=never\n", kAbsent, "A", "a\n"},
        {"gap in the line numbers ends the lines", SCI "FileGroup0=A\nFileGroup0-1=a\nFileGroup0-3=never\n", kAbsent, "A", "a\n"},
        {"empty value is an empty line", SCI "FileGroup0=A\nFileGroup0-1=\nFileGroup0-2=b\n", kAbsent, "A", "\nb\n"},
        {"first listing group wins", SCI "FileGroup0=A\nFileGroup0-1=first\nFileGroup1=A\nFileGroup1-1=second\n", kAbsent, "A", "first\n"},
        {"primary text wins over secondary", kTwoGroups, SCI "FileGroup0=C header file\nFileGroup0-1=other\n", "C header file", "auto break\ncase\n"},
        {"empty primary group lets the secondary answer", SCI "FileGroup0=A\n", SCI "FileGroup0=B,A\nFileGroup0-1=from secondary\n", "A", "from secondary\n"},
        {"name only in the secondary", kTwoGroups, SCI "FileGroup0=C++ source file\nFileGroup0-1=class\n", "C++ source file", "class\n"},
        {"no primary file", kAbsent, SCI "FileGroup0=A\nFileGroup0-1=a\n", "A", "a\n"},
        {"unknown everywhere", kTwoGroups, kTwoGroups, "Object file", ""},
        {"no files at all", kAbsent, kAbsent, "A", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        test::TempDir dir;
        EXPECT_EQ(KeywordText(WriteFiles(dir, row.primary, row.secondary), row.fileType), row.keywords);
    }
    const std::string line(1100, 'k');  // cut to what a 1024-byte read buffer holds
    test::TempDir dir;
    EXPECT_EQ(KeywordText(WriteFiles(dir, (SCI "FileGroup0=A\nFileGroup0-1=" + line + "\n").c_str(), kAbsent), "A"),
              line.substr(0, 1023) + "\n");
}

}  // namespace
}  // namespace vivo
