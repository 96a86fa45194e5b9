// The IDE's include folders and defines as this machine's paths and clang's flags, and keyword lines
// as groups.
#include "tools/editor_files.h"

#include <gtest/gtest.h>

#include "tools/editor_keywords.h"

namespace vivo::host {
namespace {

const std::map<std::string, std::string> kValues = {{"PROJDIR", "/work/Door Lock"}, {"TCINSTALL", "/opt/kz"}};

TEST(EditorFiles, IncludeFoldersBecomeFoldersOfThisMachine) {
    // Columns: name, entry as the plug-in gives it, Windows paths, folder expected, placeholders unknown.
    struct Row { const char *name, *entry; bool windows; const char* folder; std::vector<std::string> unknown; };
    const Row rows[] = {
        {"project folder", "$(PROJDIR)\\inc", false, "/work/Door Lock/inc", {}},
        {"value keeps its backslash", "$(TCINSTALL)\\include", false, "/opt/kz/include", {}},
        {"relative to the project", "RFID Reader\\..\\inc", false, "/work/Door Lock/inc", {}},
        {"drive dropped", "C:\\Program Files\\KZ\\include\\", false, "/Program Files/KZ/include", {}},
        {"unknown placeholders once each", "$(CONFIGDIR)\\$(X)\\$(CONFIGDIR)", false, "", {"CONFIGDIR", "X"}},
        {"unclosed placeholder is text", "$(PROJDIR)\\a$(b", false, "/work/Door Lock/a$(b", {}},
        {"Windows keeps the drive", "C:\\KZ\\include", true, "C:\\KZ\\include", {}},
        {"Windows relative", "inc", true, "C:\\Door Lock\\inc", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::filesystem::path base = row.windows ? "C:\\Door Lock" : "/work/Door Lock";
        const Substitution local = LocalFolder(row.entry, kValues, base, row.windows);
        EXPECT_EQ(local.unknown, row.unknown);
        if (row.unknown.empty()) {
            EXPECT_EQ(local.text, row.folder);
        }
    }
    EXPECT_EQ(LocalDefine("PATH=\"$(PROJDIR)\\cfg\"", kValues).text, "PATH=\"/work/Door Lock\\cfg\"");
}

TEST(EditorFiles, DefinesClangTakes) {
    // define, taken
    const std::pair<const char*, bool> rows[] = {
        {"NDEBUG", true},
        {"BOARD_NAME=BMS Rev C", true},
        {"MAX(a,b)=((a)>(b)?(a):(b))", true},
        {"_X1=", true},
        {"1X=2", false},
        {"\"A B\"", false},
        {"=3", false},
        {"A-B", false},
        {"F(x", false},
    };
    for (const auto& [define, taken] : rows) {
        SCOPED_TRACE(define);
        EXPECT_EQ(IsDefineClangTakes(define), taken);
    }
}

TEST(EditorKeywords, LinesBecomeGroupsNumberedByTheirPlace) {
    const std::vector<std::vector<std::string>> groups = KeywordGroups("if else\n\n#if  if\tFOR\r\n");
    const std::vector<std::vector<std::string>> expected = {{"if", "else"}, {}, {"#if", "FOR"}};
    EXPECT_EQ(groups, expected);
}

}  // namespace
}  // namespace vivo::host
