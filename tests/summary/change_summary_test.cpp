#include "summary/change_summary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "summary/summary_report.h"

namespace vivo {
namespace {

using Lines = std::vector<std::string>;

TEST(AppendUniqueLines, KeepsEachLineOnceWhereItWasFirstAdded) {
    // Columns: name, the lists appended one call after another, the lines then held.
    const struct { const char* name; std::vector<Lines> calls; Lines expected; } rows[] = {
        {"heading once, later lines at the end", {{"\r\nPhase:\r\n", "  a\r\n"}, {"\r\nPhase:\r\n", "  b\r\n"}}, {"\r\nPhase:\r\n", "  a\r\n", "  b\r\n"}},
        {"same line from two converters stays at its first place", {{"  x\r\n", "  y\r\n"}, {"  z\r\n", "  x\r\n"}}, {"  x\r\n", "  y\r\n", "  z\r\n"}},
        {"repeat inside one call dropped", {{"  a\r\n", "  a\r\n", "  b\r\n", "  a\r\n"}}, {"  a\r\n", "  b\r\n"}},
        {"comparison is case-sensitive", {{"  Opt\r\n", "  opt\r\n"}}, {"  Opt\r\n", "  opt\r\n"}},
        {"trailing blank makes another line", {{"  a\r\n", "  a \r\n"}}, {"  a\r\n", "  a \r\n"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ChangeSummary summary;
        for (const Lines& call : row.calls) summary.AppendUniqueLines(call);
        EXPECT_EQ(summary.lines(), row.expected);
    }
    // A line can come back after the lines were emptied.
    ChangeSummary summary;
    summary.AppendUniqueLines({"\r\nPhaseOrder:\r\n", "  a\r\n"});
    summary.ClearLines();
    summary.AppendUniqueLines({"\r\nPhaseOrder:\r\n"});
    EXPECT_EQ(summary.lines(), Lines{"\r\nPhaseOrder:\r\n"});
}

// The report text of the usual cases reaches Upgrade.txt byte for byte in the summary display tests.
TEST(SummaryReport, BuildsTheReportText) {
    const std::string empty = "  was upgraded to\r\n   Veltora KZ Standard Toolchain .\r\n\r\n";
    // Columns: name, project, source toolchain name, messages, report text.
    const struct { const char *name, *projectName, *fromName; std::vector<uint32_t> messages; std::string expected; } rows[] = {
        {"an unknown message identifier shows nothing", "P", "", {9999, 2008},
         "Project name : P\r\n\r\n" + empty + "\"Tc.ini\" file reading error.\r\n\r\n  x\r\n"},
        {"a name with a format mark stays as it is", "100%s %d", "a%s", {}, "Project name : 100%s %d\r\n\r\na%s" + empty + "  x\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ChangeSummary summary;
        summary.fromToolchainName = row.fromName;
        for (uint32_t id : row.messages) summary.AddSummaryMessage(id);
        summary.AppendUniqueLines({"  x\r\n"});
        EXPECT_EQ(SummaryReportText(summary, row.projectName), row.expected);
    }
}

}  // namespace
}  // namespace vivo
