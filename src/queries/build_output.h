#pragma once
// Recognising the lines the toolchain's programs print during a build: banners, diagnostics and the
// build's own commands, and splitting a diagnostic into file, line, message code and text.
//
//   C:\proj\src\main.c(12) : C2500 (E) Syntax error near "}"   -> error, "C:\proj\src\main.c|12|32500|C2500 ..."
//   ** L1100 (W) Cannot find "P" specified in option "start"   -> warning, "None|None|121100|L1100 ..."
//   KZ Family C/C++ Compiler V1.02.01.000                      -> banner, no text

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vivo {

// What a recognised line is, and so which of the line information values it sets.
enum class LineKind : std::uint8_t {
    kBanner,       // recognised, no message
    kInformation,  // a message without a counter
    kError,
    kWarning,
    kFatal,
    kCommand,      // a command the build runs: a message without text
};

enum class MatchMode : std::uint8_t {
    kStart,     // the line begins with the text
    kAnywhere,  // the text occurs somewhere in the line
};

struct ClassificationRow {
    std::string_view text;
    MatchMode mode;
    LineKind kind;
};

// The recognised lines, searched in this order; the first row that matches wins (so a line holding
// both "(I)" and "(E)" is information).
inline constexpr std::array<ClassificationRow, 28> kClassificationTable = {{
    {"Copyright (C)", MatchMode::kStart, LineKind::kBanner},
    {"Licensed Material of ", MatchMode::kStart, LineKind::kBanner},
    {"Tessaro SERIES C/C++ Compiler Ver", MatchMode::kStart, LineKind::kBanner},
    {"***", MatchMode::kStart, LineKind::kBanner},
    {"Object created", MatchMode::kStart, LineKind::kBanner},
    {"(I)", MatchMode::kAnywhere, LineKind::kInformation},
    {"(E)", MatchMode::kAnywhere, LineKind::kError},
    {"(W)", MatchMode::kAnywhere, LineKind::kWarning},
    {"(F)", MatchMode::kAnywhere, LineKind::kFatal},
    {"(-)", MatchMode::kAnywhere, LineKind::kFatal},
    {"(M)", MatchMode::kAnywhere, LineKind::kInformation},
    {"Lumo,Lumo/T SERIES C/C++ Compiler Ver", MatchMode::kStart, LineKind::kBanner},
    {"Tessaro SERIES ASSEMBLER Ver", MatchMode::kStart, LineKind::kBanner},
    {"  *****TOTAL ERRORS", MatchMode::kStart, LineKind::kBanner},
    {"  *****TOTAL WARNINGS", MatchMode::kStart, LineKind::kBanner},
    {"Lumo,Lumo/T SERIES CROSS ASSEMBLER Ver", MatchMode::kStart, LineKind::kBanner},
    {"Bindex Linkage Editor Ver", MatchMode::kStart, LineKind::kBanner},
    {"Bindex Linkage Editor Completed", MatchMode::kStart, LineKind::kBanner},
    {"Sarnoki ELF/DWARF File Converter Ver", MatchMode::kStart, LineKind::kBanner},
    {"Tessaro SERIES C/C++ Standard Library Generator", MatchMode::kStart, LineKind::kBanner},
    {"Sarnoki Software Engineering", MatchMode::kStart, LineKind::kBanner},
    {"Lumo,Lumo/T Series C/C++ Standard Library Generator", MatchMode::kStart, LineKind::kBanner},
    {"Sarnoki Engineering", MatchMode::kStart, LineKind::kBanner},
    {"KZ Family C/C++ Compile Driver", MatchMode::kStart, LineKind::kBanner},
    {"KZ Family C/C++ Compiler", MatchMode::kStart, LineKind::kBanner},
    {"KZ Family Assembler", MatchMode::kStart, LineKind::kBanner},
    {"KZ Family C/C++ Standard Library Generator", MatchMode::kStart, LineKind::kBanner},
    {"if not exist ", MatchMode::kStart, LineKind::kCommand},
}};

struct MessageCodeRow {
    std::string_view prefix;  // the code word begins with it
    char letter;              // the code's base is this letter's place in the alphabet times 10000
};

// Message code bases by the code word's prefix, searched in order; the empty last prefix takes every
// word the others leave.
inline constexpr std::array<MessageCodeRow, 13> kMessageCodeTable = {{
    {"C", 'C'},   //  30000
    {"A", 'A'},   //  10000
    {"L", 'L'},   // 120000
    {"P", 'L'},   // 120000, as "L"
    {"S", 'S'},   // 190000
    {"G", 'G'},   //  70000
    {"B", 'B'},   //  20000
    {"DC", 'D'},  //  40000
    {"DA", 'E'},  //  50000
    {"DL", 'F'},  //  60000
    {"DB", 'H'},  //  80000
    {"O", 'O'},   // 150000
    {"", 'A'},    //  10000, any other word
}};
static_assert(kMessageCodeTable.back().prefix.empty(), "the last prefix must take every code word");

[[nodiscard]] constexpr std::uint32_t MessageCodeBase(const MessageCodeRow& row) {
    return static_cast<std::uint32_t>(row.letter - 'A' + 1) * 10000u;
}

// The message code of a code word ("C2500" -> 32500, "P0561" -> 120561, "1234" -> 11234): the base of
// the first row whose prefix begins the word plus the number after the prefix (digits up to the first
// non-digit, none give 0), in 32-bit unsigned arithmetic. What follows the word after a blank changes
// nothing ("C2500 (E) x" -> 32500): no prefix holds a blank, and the number stops at it.
[[nodiscard]] std::uint32_t MessageCode(std::string_view codeWord);

// The first table row that matches the line, or nothing (also for the empty line).
[[nodiscard]] const ClassificationRow* FindClassificationRow(std::string_view line);

// The diagnostic text "file|line|code|message" of a line; file and line are "None" when the line
// carries no source position. Appended to `text`, which keeps its capacity across calls.
void AppendDiagnosticText(std::string_view line, std::string& text);
[[nodiscard]] std::string DiagnosticText(std::string_view line);

// What the host learns about one output line. All values 0 and the text empty for a line no row
// matches.
struct LineInfo {
    std::uint32_t recognised = 0;
    std::uint32_t errors = 0;
    std::uint32_t warnings = 0;
    std::uint32_t fatalErrors = 0;
    std::uint32_t messageFlag = 0;
    std::string text;
};

// Classifies one output line into `info` (overwritten; its text's capacity is reused).
void ClassifyOutputLine(std::string_view line, LineInfo& info);
[[nodiscard]] LineInfo ClassifyOutputLine(std::string_view line);

}  // namespace vivo
