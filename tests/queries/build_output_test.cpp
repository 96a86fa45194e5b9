// Build output lines: which table row recognises a line, the values it sets, how a diagnostic splits
// into file, line, code and message, and the export's delivery, byte for byte.
#include "queries/build_output.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "support/guarded_call.h"

namespace vivo {
namespace {

using namespace std::string_view_literals;

TEST(BuildOutput, MessageCodeByPrefix) {
    // Rows of the message-code table whose prefixes share a letter or stand in for another, then the
    // reading of the number. Columns: name, code word, code.
    const struct { const char* name; std::string_view codeWord; std::uint32_t code; } rows[] = {
        {"C", "C2500", 32500},
        {"P reads as L", "P0561", 120561},
        {"DA", "DA100", 50100},
        {"DB", "DB100", 80100},
        {"no prefix: leading number", "1234", 11234},
        {"D alone is no prefix", "D7", 10000},
        {"unknown letter", "E0562", 10000},
        {"prefix only", "C", 30000},
        {"digits stop at a non-digit", "C12x5", 30012},
        {"too large saturates and wraps", "C99999999999", 29999},
        {"what follows the word", "DC12 (E) DA3", 40012},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(MessageCode(row.codeWord), row.code);
    }
}

TEST(BuildOutput, SplitsDiagnostics) {
    // Columns: name, line, diagnostic text.
    const struct { const char* name; std::string_view line, text; } rows[] = {
        {"file, line, message", "main.c(12) : C2500 (E) x", "main.c|12|32500|C2500 (E) x"},
        {"separator at position 4", "a(1) : C2 (E) x", "a|1|30002|C2 (E) x"},
        {"separator at position 3", "(1) : C2 (E) x", "None|None|10000|(1) : C2 (E) x"},
        {"only the first separator counts", "ab : x.c(1) : C2 (E)", "None|None|10000|ab : x.c(1) : C2 (E)"},
        {"blanks and later separators stay in the message", "a.c(1) :   C2 (E) b : c", "a.c|1|30002|  C2 (E) b : c"},
        {"no digit before the last closer", "main.c(x) : C2 (E) y", "None|None|10000|main.c(x) : C2 (E) y"},
        {"closer inside the message does not count", "main.c : C2 (E) f(1)", "None|None|10000|main.c : C2 (E) f(1)"},
        {"digit closer but no opener", "main.c 12) : C2 (E) y", "None|None|30002|C2 (E) y"},
        {"line number 0, written 00", "main.c(00) : C2 (E) y", "None|None|30002|C2 (E) y"},
        {"empty number after the last opener", "a(5)( : C2 (E) y", "None|None|30002|C2 (E) y"},
        {"number kept as written", "main.c(007) : C2 (E) y", "main.c|007|30002|C2 (E) y"},
        {"closer after a closer", "lib.lib(obj(12)) : L2000 (E) y", "None|None|10000|lib.lib(obj(12)) : L2000 (E) y"},
        {"text after the closer", "a.c(12) x : C2 (E) y", "a.c|12) x|30002|C2 (E) y"},
        {"parentheses in the file name", "dir(1)\\a.c(9) : C2 (W) y", "dir(1)\\a.c|9|30002|C2 (W) y"},
        {"code of five digits", "a.c(1) : C12345 (W) x", "a.c|1|42345|C12345 (W) x"},
        {"empty message", "a.c(2) : ", "a.c|2|10000|"},
        {"leading blanks and asterisks", " ** * L1100 (W) x", "None|None|121100|L1100 (W) x"},
        {"only asterisks", "***", "None|None|10000|"},
        {"absolute name canonicalised", "C:\\proj\\src\\..\\.\\main.c(7) : C1 (W) x", "C:\\proj\\main.c|7|30001|C1 (W) x"},
        {"rooted name canonicalised", "\\proj\\.\\a.c(7) : C1 (W) x", "\\proj\\a.c|7|30001|C1 (W) x"},
        {"relative name kept", "..\\src\\.\\a.c(7) : C1 (W) x", "..\\src\\.\\a.c|7|30001|C1 (W) x"},
        {"name of a zero line not canonicalised", "C:\\a\\..\\b.c(0) : C1 (W) x", "None|None|30001|C1 (W) x"},
        {"drive-relative name canonicalised", "C:a\\..\\b.c(7) : C1 (W) x", "C:b.c|7|30001|C1 (W) x"},
        {"network name canonicalised", "\\\\srv\\a\\..\\b.c(7) : C1 (W) x", "\\\\srv\\b.c|7|30001|C1 (W) x"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DiagnosticText(row.line), row.text);
    }
    const std::string tooLong = "C:\\a\\..\\" + std::string(300, 'n');  // kept as written
    EXPECT_EQ(DiagnosticText(tooLong + "(7) : C1 (W) x"), tooLong + "|7|30001|C1 (W) x");
}

// The export as the host's build window calls it: the five values preset to 7 so that writes show,
// and written only when the text fits with its NUL.
TEST(BuildOutputExport, DeliversTheTextWithItsTerminator) {
    // Columns: name, line, capacity, result, length back, bytes delivered, values (recognised, errors,
    // warnings, fatal errors, message flag).
    const struct { const char* name; const char* line; int32_t capacity, result, len; std::string_view bytes;
                   std::array<std::uint32_t, 5> values; } rows[] = {
        {"diagnostic", "main.c(12) : C2500 (E) x", 28, 0, 28, "main.c|12|32500|C2500 (E) x\0"sv, {1, 1, 0, 0, 1}},
        {"no room for the NUL", "main.c(12) : C2500 (E) x", 27, 1, 28, "", {7, 7, 7, 7, 7}},
        {"empty line", "", 1, 0, 1, "\0"sv, {0, 0, 0, 0, 0}},
        {"plain line", "make: Nothing to be done", 1, 0, 1, "\0"sv, {0, 0, 0, 0, 0}},
        {"banner", "KZ Family C/C++ Compiler V1.02", 1, 0, 1, "\0"sv, {1, 0, 0, 0, 0}},
        {"command", "if not exist out mkdir out", 1, 0, 1, "\0"sv, {1, 0, 0, 0, 1}},
        {"no room for a lone NUL", "", 0, 1, 1, "", {7, 7, 7, 7, 7}},
    };
    auto* info = VIVO_CALL_EXPORT(test::SharedPlugin(), GetMakefileOutputLineInfo);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::array<std::uint32_t, 5> v{7, 7, 7, 7, 7};
        const test::GuardedCall c = test::CallGuarded(
            row.capacity, [&](char* b, int32_t* l) { return info(row.line, &v[0], &v[1], &v[2], &v[3], b, l, &v[4]); });
        EXPECT_EQ(c.result, row.result);
        EXPECT_EQ(c.len, row.len);
        EXPECT_TRUE(test::WroteExactly(c, row.bytes));
        EXPECT_EQ(v, row.values);
    }
}

// Generated lines against the table read literally: the first row whose text is found, at 0 for a start row.
TEST(BuildOutput, AgreesWithTheTableReadLiterally) {
    const auto reference = [](std::string_view line) -> const ClassificationRow* {
        for (const ClassificationRow& row : kClassificationTable) {
            const std::size_t at = line.find(row.text);
            if (!line.empty() && at != line.npos && (at == 0 || row.mode == MatchMode::kAnywhere)) return &row;
        }
        return nullptr;
    };
    std::vector<std::string_view> pieces = {"(", ")", "(w)", "W)", "x", " ", " : ", "$(P)", "C:\\", "(7)"};
    for (const ClassificationRow& row : kClassificationTable) {
        pieces.insert(pieces.end(), {row.text, row.text.substr(0, row.text.size() - 1), row.text.substr(1)});
    }
    std::mt19937 random(8);
    for (int n = 0; n < 30000; ++n) {
        std::string line;
        for (unsigned count = random() % 30; count > 0; --count) line += pieces[random() % pieces.size()];
        ASSERT_EQ(FindClassificationRow(line), reference(line)) << line;
    }
}

}  // namespace
}  // namespace vivo
