// The phase order of a changed project and its "PhaseOrder" section of the summary.
#include <gtest/gtest.h>

#include "change/engine_test_support.h"
#include "change/phase_order.h"

namespace vivo::test {
namespace {

const std::string kOrder2014 =
    "Veltora KZ C/C++ Library Generator|SYSTEM|1\nVeltora KZ C/C++ Compiler|SYSTEM|1\n"
    "Veltora KZ Assembler|SYSTEM|1\nVeltora Bindex|SYSTEM|1\nVeltora KZ Configurator|SYSTEM|0\n\n";
const std::string kOrder2015 =
    "Veltora KZ C/C++ Library Generator|SYSTEM|1\nVeltora KZ Configurator|SYSTEM|1\n"
    "Veltora KZ C/C++ Compiler|SYSTEM|1\nVeltora KZ Assembler|SYSTEM|1\nVeltora Bindex|SYSTEM|1\n\n";
const std::string kHeading = "\r\nPhaseOrder:\r\n";

std::string Deleted(const std::string& line) { return "  \"" + line + "\" delete\r\n"; }
std::string Added(const std::string& line) { return "  \"" + line + "\" add\r\n"; }

// The summary section of a rewrite: the heading, a delete line for each old line but "Veltora Bindex",
// which stays, and an add line for each new line but "Veltora Bindex" when it stayed.
std::string Section(const StringList& old, const std::string& order) {
    bool linkerKept = false;
    std::string text = kHeading;
    for (const std::string& line : old) {
        if (line.starts_with("Veltora Bindex|"))
            linkerKept = true;
        else
            text += Deleted(line);
    }
    std::size_t from = 0;
    for (std::size_t at; (at = order.find('\n', from)) != from; from = at + 1) {
        const std::string line = order.substr(from, at - from);
        if (!(linkerKept && line.starts_with("Veltora Bindex|"))) text += Added(line);
    }
    return text;
}

// Columns: name, old order, the new order (nothing: the rewrite fails).
struct OrderRow {
    const char* name;
    StringList old;
    std::optional<std::string> expected;
};

const OrderRow kOrderRows[] = {
    {"Lumo V6: every old phase deleted, every new one added",
     {"Sarnoki Lumo,Lumo/T C/C++ Library Generator|SYSTEM|1", "Sarnoki Lumo,Lumo/T C/C++ Compiler|SYSTEM|1",
      "Sarnoki Lumo,Lumo/T Assembler|SYSTEM|1", "Sarnoki Bindex|SYSTEM|1"}, kOrder2014},
    {"Tessaro: Veltora Bindex stays", {"Veltora Tessaro C/C++ Compiler|SYSTEM|1", "Veltora Bindex|SYSTEM|1"}, kOrder2014},
    {"Pexa configurator running: order with configurator",
     {"Veltora Pexa C Compiler|SYSTEM|1", "Veltora Pexa Configurator|SYSTEM|1"}, kOrder2015},
    {"Pexa configurator not running", {"Veltora Pexa ConfiguratorDorn|SYSTEM|0"}, kOrder2014},
    {"fewer than three fields: no state", {"Veltora Pexa Configurator|1"}, kOrder2014},
    {"empty old order", {}, kOrder2014},
    {"four fields fail", {"Veltora Pexa Linker|SYSTEM|1", "Veltora Pexa Librarian|SYSTEM|1|x"}, std::nullopt},
};

TEST(PhaseOrder, RewriteAndSummarySection) {
    for (const OrderRow& row : kOrderRows) {
        SCOPED_TRACE(row.name);
        ChangeSummary summary;
        EXPECT_EQ(RewritePhaseOrder(row.old, summary), row.expected);
        std::string lines;
        for (const std::string& line : summary.lines) lines += line;
        EXPECT_EQ(lines, row.expected ? Section(row.old, *row.expected) : "");
    }
}

TEST(PhaseOrder, CrossFamilyOrderThroughTheExportRetriedOnce) {
    EnginePlugin engine;
    const VivoToolchainRecord from{12, kSarnokiLumo, "6.00.00"}, to{12, kKZ, "1.01.00"};
    const std::string old = NulList({"Sarnoki Lumo,Lumo/T C/C++ Compiler|SYSTEM|1", "Sarnoki Bindex|SYSTEM|1"});
    std::string delivered = kOrder2014;
    std::replace(delivered.begin(), delivered.end(), '\n', '\0');
    ExpectRetryDelivers([&](char* b, int32_t* n) {
        return VIVO_CALL_EXPORT(engine.plugin(), UpgradePhaseOrder)(&from, &to, old.c_str(), b, n);
    }, delivered);
    // The retry added nothing: each line stands once.
    EXPECT_EQ(engine.Report(), ReportHeader({kSarnokiLumo, "6.00.00", "1.01.00"}) +
                                   Section({"Sarnoki Lumo,Lumo/T C/C++ Compiler|SYSTEM|1", "Sarnoki Bindex|SYSTEM|1"}, kOrder2014));
}

TEST(PhaseOrder, InFamilyOrderComesBackByteForByte) {
    EnginePlugin engine;
    const VivoToolchainRecord from{12, kKZ, "1.01.00"}, to{12, kKZ, "1.02.00"};
    const std::string old = NulList({"Veltora KZ C/C++ Compiler|SYSTEM|1", "Veltora Bindex||0", "x"});
    ExpectRetryDelivers([&](char* b, int32_t* n) {
        return VIVO_CALL_EXPORT(engine.plugin(), UpgradePhaseOrder)(&from, &to, old.c_str(), b, n);
    }, old);
}

// The kind is stored before the order is read, so a malformed line leaves it set; a failed look-up
// leaves the previous change's kind.
TEST(PhaseOrder, KindStoredDespiteMalformedLineKeptAfterFailedLookup) {
    EnginePlugin engine;
    const VivoToolchainRecord tessaro{12, kTessaro, "9.04.00"}, pexa{12, kPexa, "7.00.00"}, to{12, kKZ, "1.01.00"};
    const std::string malformed = NulList({"a|b|c|d"});
    for (const auto& [from, order] : {std::pair{&tessaro, malformed.c_str()}, std::pair{&pexa, "\0"}}) {
        ExpectWritesNothing([&, from = from, order = order](char* b, int32_t* n) {
            return VIVO_CALL_EXPORT(engine.plugin(), UpgradePhaseOrder)(from, &to, order, b, n);
        }, 1);
        ExpectRetryDelivers([&](char* b, int32_t* n) {
            return VIVO_CALL_EXPORT(engine.plugin(), UpgradePhases)("", "", "\0", "\0", kCompiler, b, n);
        }, std::string("Veltora Tessaro C/C++ Compiler") + '\0' + '\0');
    }
}

}  // namespace
}  // namespace vivo::test
