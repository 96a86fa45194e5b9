// The option upgrade driver: pre-scan, dispatch by kind, notes, delivery.
#include <gtest/gtest.h>

#include "change/engine_test_support.h"
#include "change/option_upgrade.h"

namespace vivo::test {
namespace {

std::string Line(const char* tool, const std::string& options) { return std::string(tool) + "|" + options; }

// Columns: name, lines, endian state, compiler and linker map flags, the line of the compiler, assembler,
// library generator and linker, the existing library's path.
struct PreScanRow {
    const char* name;
    StringList lines;
    int32_t endian;
    uint32_t compilerMap, linkerMap;
    int32_t compilerLine, assemblerLine, libraryGeneratorLine, linkerLine;
    std::string existingLibrary;
};

const PreScanRow kPreScanRows[] = {
    {"nothing found", {Line(kConfigurator, "[S|ENDIAN|BIG]")}, -1, 0, 0, 0, 0, 0, 0, ""},
    {"big and little: mixed", {Line(kCompiler, "[S|ENDIAN|BIG]"), Line(kAssembler, "[S|ENDIAN|LITTLE]")}, 2, 0, 0, 0, 1, 0, 0, ""},
    {"agreeing little, linker endian ignored, no item leaves it",
     {Line(kLinker, "[S|ENDIAN|BIG]"), Line(kLibraryGenerator, "[S|ENDIAN|LITTLE]"), Line(kCompiler, ""),
      Line(kAssembler, "[S|ENDIAN|LITTLE]")}, 1, 0, 0, 2, 3, 1, 0, ""},
    {"map flags; a later compiler line resets its flag, the linker's stays",
     {Line(kCompiler, "[B|MAP|1]"), Line(kLinker, "[B|MAP|1]"), Line(kLinker, ""), Line(kCompiler, "[B|MAP|0]")},
     -1, 0, 1, 3, 0, 0, 2, ""},
    {"existing library with its quotes", {Line(kLibraryGenerator, "[S|MODE|EXISTING] [S|EXISTOUTPUTPATH|\"C:\\a b\\x.lib\"]")},
     -1, 0, 0, 0, 0, 0, 0, "\"C:\\a b\\x.lib\""},
    {"library built, not existing", {Line(kLibraryGenerator, "[S|MODE|BUILD] [S|EXISTOUTPUTPATH|\"x.lib\"]")}, -1, 0, 0, 0, 0, 0, 0, ""},
    {"existing library without its path", {Line(kLibraryGenerator, "[S|MODE|EXISTING]")}, -1, 0, 0, 0, 0, 0, 0, ""},
    {"a bad item left of the items still counts",
     {Line(kLibraryGenerator, "[B|DEBUG|] [S|MODE|EXISTING] [S|EXISTOUTPUTPATH|x.lib]")}, -1, 0, 0, 0, 0, 0, 0, "x.lib"},
    {"options split at the first bar only", {"Veltora Bindex|[B|MAP|1]|x", "|"}, -1, 0, 1, 0, 0, 0, 0, ""},
};

TEST(OptionUpgrade, PreScan) {
    for (const PreScanRow& row : kPreScanRows) {
        SCOPED_TRACE(row.name);
        ConversionContext c;
        ASSERT_TRUE(c.PreScan(row.lines));
        EXPECT_EQ(c.endianState, row.endian);
        EXPECT_EQ(c.compilerMapFlag, row.compilerMap);
        EXPECT_EQ(c.linkerMapFlag, row.linkerMap);
        EXPECT_EQ(c.compilerLine, row.compilerLine);
        EXPECT_EQ(c.assemblerLine, row.assemblerLine);
        EXPECT_EQ(c.libraryGeneratorLine, row.libraryGeneratorLine);
        EXPECT_EQ(c.linkerLine, row.linkerLine);
        EXPECT_EQ(c.existingLibraryPath, row.existingLibrary);
        EXPECT_EQ(c.toolNames.size(), row.lines.size());
    }
}

const std::string kHeading = "\r\nPhaseOptions:\r\n";
const std::string kEndianNote =
    "  Option -endian could not be converted correctly. Please re-specify this option (Build -> KZ standard "
    "toolchain -> CPU tab -> Endian)\r\n";
const std::string kMisraNote = "  Please check the parameter of -misra2004=required_remove option.\r\n";
const std::string kSectionNote = "  Option -section=L=C is added. Please check it in C/C++ and Standard Library options.\r\n";

const StringList kProject = {Line(kLibraryGenerator, "[S|ENDIAN|BIG]"), Line(kCompiler, "[B|MAP|1]"), Line(kAssembler, ""),
                             Line(kLinker, "[B|MAP|1]")};

// Every kind's notes and result for the compiler. The cross-family kinds run on an empty list, so that
// only their notes reach the summary; their results belong to the conversions.
TEST(OptionUpgrade, NotesAndResultOfEachKind) {
    struct Row {
        int32_t kind;
        std::optional<std::string> result;  // nothing: failure; unchecked for the cross-family kinds
        StringList notes;
    };
    const std::string section = "[B|MAP|1] [S|SECTION|L=C]";
    const Row rows[] = {
        {0, std::nullopt, {}},  // "Copy" of four lines
        {1, "[B|MAP|1]", {}}, {2, {}, {}}, {3, {}, {}}, {4, {}, {kHeading, kEndianNote}}, {5, {}, {kHeading, kEndianNote}},
        {6, {}, {kHeading, kEndianNote}}, {7, section, {kHeading, kSectionNote}}, {8, "[B|MAP|1]", {}}, {9, "[B|MAP|1]", {}},
        {10, section, {kHeading, kSectionNote}}, {11, section + " [B|MAPOPTIMIZATION|1]", {kHeading, kSectionNote}},
        {12, section + " [B|MAPOPTIMIZATION|1]", {kHeading, kSectionNote}}, {13, "[B|MAP|1] [B|MAPOPTIMIZATION|1]", {}},
        {14, "[B|MAP|1] [B|MAPOPTIMIZATION|1]", {kHeading, kMisraNote}}, {15, section, {kHeading, kSectionNote}},
        {16, section, {kHeading, kSectionNote}}, {17, " [B|MAP|1]", {}}, {18, " [B|MAP|1]", {}},
        {19, "", {}}, {-1, "", {}}, {1000, "", {}},  // outside the table: nothing runs, success
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("kind " + std::to_string(row.kind));
        const bool crossFamily = row.kind >= 2 && row.kind <= 6;
        const StringList& lines = crossFamily ? StringList{} : kProject;
        ChangeSummary summary;
        OptionUpgradeDriver driver;
        const auto result = driver.UpgradePhaseOptions(row.kind, kCompiler, lines, summary);
        if (!crossFamily) EXPECT_EQ(result, row.result);
        EXPECT_EQ(summary.lines, row.notes);
        // The summary keeps each note once, however many phases are converted.
        (void)driver.UpgradePhaseOptions(row.kind, kLinker, lines, summary);
        EXPECT_EQ(summary.lines, row.notes);
    }
}

TEST(OptionUpgrade, CopyOfOneLineAndEmptyLists) {
    ChangeSummary summary;
    OptionUpgradeDriver driver;
    EXPECT_EQ(driver.UpgradePhaseOptions(0, kConfigurator, {Line(kCompiler, "[S|CPU|KZ600]")}, summary), "[S|CPU|KZ600]");
    for (int32_t kind : {0, 1, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}) {
        SCOPED_TRACE("kind " + std::to_string(kind));
        EXPECT_EQ(driver.UpgradePhaseOptions(kind, kCompiler, {}, summary), std::nullopt);
    }
    EXPECT_EQ(driver.UpgradePhaseOptions(19, kCompiler, {}, summary), "");
    EXPECT_TRUE(summary.lines.empty());
}

const Change k10001to10100{kKZ, "1.00.01", "1.01.00"};

auto UpgradeOptions(const EnginePlugin& engine, const std::string& list) {
    return [&engine, list](char* b, int32_t* n) {
        const VivoToolchainRecord from{12, kKZ, "1.00.01"}, to{12, kKZ, "1.01.00"};
        return VIVO_CALL_EXPORT(engine.plugin(), UpgradePhaseOptions)(&from, &to, kCompiler, 0, list.c_str(), b, n);
    };
}

TEST(OptionUpgrade, TooSmallBufferThenRetryThroughTheExport) {
    EnginePlugin engine;
    engine.Begin(k10001to10100);
    const std::string list = NulListOf(kProject);
    ExpectRetryDelivers(UpgradeOptions(engine, list), std::string("[B|MAP|1] [S|SECTION|L=C]") + '\0');
    EXPECT_EQ(engine.Report(), ReportHeader(k10001to10100) + kHeading + kSectionNote);
}

// Both fail before any step, so the kind's note is not added.
TEST(OptionUpgrade, EmptyListAndLineWithoutBarThroughTheExport) {
    EnginePlugin engine;
    engine.Begin(k10001to10100);
    for (const std::string& list : {std::string(1, '\0'), NulList({kProject[1], "no bar"})})
        ExpectWritesNothing(UpgradeOptions(engine, list), 1);
    EXPECT_EQ(engine.Report(), ReportHeader(k10001to10100));
}

}  // namespace
}  // namespace vivo::test
