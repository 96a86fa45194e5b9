// The keyword look-up rules across the primary and the secondary colouring file, and the version
// sum, on files in a temporary folder.
#include "queries/syntax_colouring.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "support/plugin.h"

namespace vivo {
namespace {

constexpr const char* kAbsent = nullptr;  // no such file

// The two files of one case, written where given; a missing one is a path to nothing.
ColouringFiles WriteFiles(const test::TempDir& dir, const char* primary, const char* secondary) {
    const std::string primaryPath = (dir.path() / "primary.ini").string();
    const std::string secondaryPath = (dir.path() / "secondary.ini").string();
    if (primary != nullptr) dir.Write("primary.ini", primary);
    if (secondary != nullptr) dir.Write("secondary.ini", secondary);
    return {primaryPath, secondaryPath};
}

struct LookupRow {
    const char* name;
    const char* primary;
    const char* secondary;
    const char* fileType;
    std::string_view keywords;
};

constexpr const char* kTwoGroups =
    "[Syntax Colouring Information]\n"
    "FileGroup0=C source file,C header file\n"
    "FileGroup0-1=auto break\n"
    "FileGroup0-2=case\n"
    "FileGroup1=Assembly source file\n"
    "FileGroup1-1=.SECTION\n";

// Columns: name, primary file, secondary file, name asked for, keyword text.
const LookupRow kLookupRows[] = {
    {"two lines, each with LF", kTwoGroups, kAbsent, "C header file", "auto break\ncase\n"},
    {"second group", kTwoGroups, kAbsent, "Assembly source file", ".SECTION\n"},
    {"names compare exactly", kTwoGroups, kAbsent, "c source file", ""},
    {"blanks around a name are part of it",
     "[Syntax Colouring Information]\nFileGroup0=C source file, C header file\nFileGroup0-1=x\n", kAbsent,
     "C header file", ""},
    {"section and key names ignore case",
     "[syntax colouring information]\nfilegroup0=C source file\nFILEGROUP0-1=x\n", kAbsent, "C source file", "x\n"},
    {"gap in the group numbers hides later groups",
     "[Syntax Colouring Information]\nFileGroup0=A\nFileGroup0-1=a\nFileGroup2=C\nFileGroup2-1=c\n", kAbsent, "C",
     ""},
    {"end marker ends the lines",
     "[Syntax Colouring Information]\nFileGroup0=A\nFileGroup0-1=a\nFileGroup0-2=End of Syntax Colouring Info\n"
     "FileGroup0-3=never\n",
     kAbsent, "A", "a\n"},
    {"gap in the line numbers ends the lines",
     "[Syntax Colouring Information]\nFileGroup0=A\nFileGroup0-1=a\nFileGroup0-3=never\n", kAbsent, "A", "a\n"},
    {"empty value is an empty line",
     "[Syntax Colouring Information]\nFileGroup0=A\nFileGroup0-1=\nFileGroup0-2=b\n", kAbsent, "A", "\nb\n"},
    {"first listing group wins",
     "[Syntax Colouring Information]\nFileGroup0=A\nFileGroup0-1=first\nFileGroup1=A\nFileGroup1-1=second\n",
     kAbsent, "A", "first\n"},
    {"primary text wins over secondary", kTwoGroups,
     "[Syntax Colouring Information]\nFileGroup0=C header file\nFileGroup0-1=other\n", "C header file",
     "auto break\ncase\n"},
    {"empty primary group lets the secondary answer",
     "[Syntax Colouring Information]\nFileGroup0=A\n",
     "[Syntax Colouring Information]\nFileGroup0=B,A\nFileGroup0-1=from secondary\n", "A", "from secondary\n"},
    {"name only in the secondary", kTwoGroups,
     "[Syntax Colouring Information]\nFileGroup0=C++ source file\nFileGroup0-1=class\n", "C++ source file",
     "class\n"},
    {"no primary file", kAbsent, "[Syntax Colouring Information]\nFileGroup0=A\nFileGroup0-1=a\n", "A", "a\n"},
    {"unknown everywhere", kTwoGroups, kTwoGroups, "Object file", ""},
    {"no files at all", kAbsent, kAbsent, "A", ""},
};

TEST(SyntaxColouring, LooksUpAcrossBothFiles) {
    for (const LookupRow& row : kLookupRows) {
        SCOPED_TRACE(row.name);
        test::TempDir dir;
        EXPECT_EQ(KeywordText(WriteFiles(dir, row.primary, row.secondary), row.fileType), row.keywords);
    }
}

TEST(SyntaxColouring, LongLineIsCutTo1023Characters) {
    const std::string line(1100, 'k');
    test::TempDir dir;
    const ColouringFiles files =
        WriteFiles(dir, ("[Syntax Colouring Information]\nFileGroup0=A\nFileGroup0-1=" + line + "\n").c_str(), kAbsent);
    EXPECT_EQ(KeywordText(files, "A"), line.substr(0, 1023) + "\n");
}

struct VersionRow {
    const char* name;
    const char* primary;
    const char* secondary;
    std::optional<uint32_t> version;
};

constexpr const char* kVersion3 = "[Syntax Colouring Version]\nVersion=3\n";
constexpr const char* kVersion2 = "[Syntax Colouring Version]\nVersion=2\n";

// Columns: name, primary file, secondary file, version (nothing: the export fails).
const VersionRow kVersionRows[] = {
    {"versions add up", kVersion3, kVersion2, 5},
    {"no secondary file", kVersion3, kAbsent, 3},
    {"no primary file", kAbsent, kVersion2, 2},
    {"digits up to a non-digit", "[Syntax Colouring Version]\nVersion=12abc\n", "[Syntax Colouring Version]\nVersion=x\n", 12},
    {"no version anywhere is 0", "[Syntax Colouring Information]\n", kAbsent, 0},
};

TEST(SyntaxColouring, VersionAddsBothFiles) {
    for (const VersionRow& row : kVersionRows) {
        SCOPED_TRACE(row.name);
        test::TempDir dir;
        EXPECT_EQ(ColouringVersion(WriteFiles(dir, row.primary, row.secondary)), row.version);
    }
}

// Without a machine-wide folder only the primary file counts, and no version text is a failure.
TEST(SyntaxColouring, VersionWithoutSecondaryPath) {
    test::TempDir dir;
    const std::string withVersion = dir.Write("with.ini", kVersion3).string();
    const std::string without = dir.Write("without.ini", "[Syntax Colouring Version]\nVersion=\n").string();
    EXPECT_EQ(ColouringVersion({withVersion, ""}), 3u);
    EXPECT_EQ(ColouringVersion({without, ""}), std::nullopt);
}

}  // namespace
}  // namespace vivo
