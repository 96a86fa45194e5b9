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

// The add lines of an order text, skipping "Veltora Bindex" when the old order had it.
StringList AddedLines(const std::string& order, bool skipLinker) {
    StringList lines;
    std::size_t from = 0;
    for (std::size_t at; (at = order.find('\n', from)) != from; from = at + 1) {
        const std::string line = order.substr(from, at - from);
        if (!(skipLinker && line.starts_with("Veltora Bindex|"))) lines.push_back(Added(line));
    }
    return lines;
}

struct OrderRow {
    const char* name;
    StringList oldOrder;
    std::optional<std::string> expected;  // nothing: the rewrite fails
    StringList deleted;                   // the delete lines after the heading
    bool linkerKept;
};

const OrderRow kOrderRows[] = {
    {"Lumo V6: every old phase deleted, every new one added",
     {"Sarnoki Lumo,Lumo/T C/C++ Library Generator|SYSTEM|1", "Sarnoki Lumo,Lumo/T C/C++ Compiler|SYSTEM|1",
      "Sarnoki Lumo,Lumo/T Assembler|SYSTEM|1", "Sarnoki Bindex|SYSTEM|1"},
     kOrder2014,
     {Deleted("Sarnoki Lumo,Lumo/T C/C++ Library Generator|SYSTEM|1"),
      Deleted("Sarnoki Lumo,Lumo/T C/C++ Compiler|SYSTEM|1"), Deleted("Sarnoki Lumo,Lumo/T Assembler|SYSTEM|1"),
      Deleted("Sarnoki Bindex|SYSTEM|1")},
     false},
    {"Tessaro: Veltora Bindex stays",
     {"Veltora Tessaro C/C++ Compiler|SYSTEM|1", "Veltora Bindex|SYSTEM|1"},
     kOrder2014,
     {Deleted("Veltora Tessaro C/C++ Compiler|SYSTEM|1")},
     true},
    {"Pexa configurator running: order with configurator",
     {"Veltora Pexa C Compiler|SYSTEM|1", "Veltora Pexa Configurator|SYSTEM|1"},
     kOrder2015,
     {Deleted("Veltora Pexa C Compiler|SYSTEM|1"), Deleted("Veltora Pexa Configurator|SYSTEM|1")},
     false},
    {"Pexa configurator not running",
     {"Veltora Pexa ConfiguratorDorn|SYSTEM|0"},
     kOrder2014,
     {Deleted("Veltora Pexa ConfiguratorDorn|SYSTEM|0")},
     false},
    {"fewer than three fields: no state", {"Veltora Pexa Configurator|1"}, kOrder2014,
     {Deleted("Veltora Pexa Configurator|1")}, false},
    {"empty old order", {}, kOrder2014, {}, false},
    {"four fields fail", {"Veltora Pexa Linker|SYSTEM|1", "Veltora Pexa Librarian|SYSTEM|1|x"}, std::nullopt, {}, false},
};

TEST(PhaseOrder, RewriteAndSummarySection) {
    for (const OrderRow& row : kOrderRows) {
        SCOPED_TRACE(row.name);
        ChangeSummary summary;
        EXPECT_EQ(RewritePhaseOrder(row.oldOrder, summary), row.expected);
        StringList expectedLines;
        if (row.expected) {
            expectedLines.push_back(kHeading);
            expectedLines.insert(expectedLines.end(), row.deleted.begin(), row.deleted.end());
            const StringList added = AddedLines(*row.expected, row.linkerKept);
            expectedLines.insert(expectedLines.end(), added.begin(), added.end());
        }
        EXPECT_EQ(summary.lines, expectedLines);
    }
}

std::string AsNulList(std::string text) {
    std::replace(text.begin(), text.end(), '\n', '\0');
    return text;
}

TEST(PhaseOrder, CrossFamilyOrderThroughTheExport) {
    EnginePlugin engine;
    const VivoToolchainRecord from{12, kSarnokiLumo, "6.00.00"};
    const VivoToolchainRecord to{12, kKZ, "1.01.00"};
    const std::string old = NulList({"Sarnoki Lumo,Lumo/T C/C++ Compiler|SYSTEM|1", "Sarnoki Bindex|SYSTEM|1"});
    auto call = [&](int32_t capacity) {
        return CallGuarded(capacity, [&](char* b, int32_t* n) {
            return VIVO_CALL_EXPORT(engine.plugin(), UpgradePhaseOrder)(&from, &to, old.c_str(), b, n);
        });
    };
    const int32_t size = static_cast<int32_t>(kOrder2014.size());
    const BufferResult tooSmall = call(size - 1);
    EXPECT_EQ(tooSmall.rc, 1);
    EXPECT_EQ(tooSmall.len, size);
    EXPECT_EQ(tooSmall.bytes, std::string(static_cast<std::size_t>(size - 1), kGuard));
    ExpectDelivered(call(size), AsNulList(kOrder2014), size);

    // The retry added nothing: each line stands once.
    EXPECT_EQ(engine.Report(), ReportHeader({kSarnokiLumo, "6.00.00", "1.01.00"}) + kHeading +
                                   Deleted("Sarnoki Lumo,Lumo/T C/C++ Compiler|SYSTEM|1") +
                                   Deleted("Sarnoki Bindex|SYSTEM|1") +
                                   Added("Veltora KZ C/C++ Library Generator|SYSTEM|1") +
                                   Added("Veltora KZ C/C++ Compiler|SYSTEM|1") + Added("Veltora KZ Assembler|SYSTEM|1") +
                                   Added("Veltora Bindex|SYSTEM|1") + Added("Veltora KZ Configurator|SYSTEM|0"));
}

TEST(PhaseOrder, InFamilyOrderComesBackByteForByte) {
    EnginePlugin engine;
    const VivoToolchainRecord from{12, kKZ, "1.01.00"};
    const VivoToolchainRecord to{12, kKZ, "1.02.00"};
    const std::string old = NulList({"Veltora KZ C/C++ Compiler|SYSTEM|1", "Veltora Bindex||0", "x"});
    const int32_t size = static_cast<int32_t>(old.size());
    const BufferResult r = CallGuarded(size, [&](char* b, int32_t* n) {
        return VIVO_CALL_EXPORT(engine.plugin(), UpgradePhaseOrder)(&from, &to, old.c_str(), b, n);
    });
    ExpectDelivered(r, old, size);
}

// The kind is stored before the order is read, so a malformed line leaves it set; a failed look-up
// leaves the previous change's kind.
TEST(PhaseOrder, KindStoredDespiteMalformedLineKeptAfterFailedLookup) {
    EnginePlugin engine;
    auto compilerSource = [&] {
        return CallGuarded(64, [&](char* b, int32_t* n) {
            return VIVO_CALL_EXPORT(engine.plugin(), UpgradePhases)("", "", "\0", "\0", kCompiler, b, n);
        });
    };
    const VivoToolchainRecord tessaro{12, kTessaro, "9.04.00"};
    const VivoToolchainRecord pexa{12, kPexa, "7.00.00"};
    const VivoToolchainRecord to{12, kKZ, "1.01.00"};
    const std::string malformed = NulList({"a|b|c|d"});
    const BufferResult failed = CallGuarded(256, [&](char* b, int32_t* n) {
        return VIVO_CALL_EXPORT(engine.plugin(), UpgradePhaseOrder)(&tessaro, &to, malformed.c_str(), b, n);
    });
    EXPECT_EQ(failed.rc, 1);
    EXPECT_EQ(failed.len, 256);
    const std::string tessaroCompiler = std::string("Veltora Tessaro C/C++ Compiler") + '\0' + '\0';
    ExpectDelivered(compilerSource(), tessaroCompiler, 32);

    const BufferResult notFound = CallGuarded(256, [&](char* b, int32_t* n) {
        return VIVO_CALL_EXPORT(engine.plugin(), UpgradePhaseOrder)(&pexa, &to, "\0", b, n);
    });
    EXPECT_EQ(notFound.rc, 1);
    EXPECT_EQ(notFound.len, 256);
    ExpectDelivered(compilerSource(), tessaroCompiler, 32);
}

}  // namespace
}  // namespace vivo::test
