#include "queries/build_output.h"

#include <bit>
#include <charconv>
#include <cstring>
#include <limits>

#include "options/option_string.h"
#include "options/paths.h"

namespace vivo {
namespace {

// One bit per classification row; the lowest set bit is the row that wins.
using RowMask = std::uint32_t;
static_assert(kClassificationTable.size() <= std::numeric_limits<RowMask>::digits);

constexpr RowMask Bit(std::size_t row) { return RowMask{1} << row; }

constexpr bool NoEmptyText() {
    for (const ClassificationRow& row : kClassificationTable) {
        if (row.text.empty()) return false;
    }
    return true;
}
static_assert(NoEmptyText(), "rows are looked up by the first byte of their text");

// The rows of one match mode by the first byte of their text: the only rows worth comparing where
// the line holds that byte.
constexpr std::array<RowMask, 256> RowsByFirstByte(MatchMode mode) {
    std::array<RowMask, 256> rows{};
    for (std::size_t i = 0; i < kClassificationTable.size(); ++i) {
        const ClassificationRow& row = kClassificationTable[i];
        if (row.mode == mode) rows[static_cast<unsigned char>(row.text.front())] |= Bit(i);
    }
    return rows;
}

constexpr std::array<RowMask, 256> kStartRows = RowsByFirstByte(MatchMode::kStart);
constexpr std::array<RowMask, 256> kAnywhereRows = RowsByFirstByte(MatchMode::kAnywhere);

constexpr RowMask AllRows(MatchMode mode) {
    RowMask rows = 0;
    for (std::size_t i = 0; i < kClassificationTable.size(); ++i) {
        if (kClassificationTable[i].mode == mode) rows |= Bit(i);
    }
    return rows;
}

constexpr RowMask kAllAnywhereRows = AllRows(MatchMode::kAnywhere);

// The byte that every anywhere text begins with ("(" for "(E)", "(W)", ...), or -1 when they differ.
// With one such byte a single memchr pass finds every candidate position.
constexpr int CommonAnywhereLead() {
    int lead = -1;
    for (const ClassificationRow& row : kClassificationTable) {
        if (row.mode != MatchMode::kAnywhere) continue;
        const int first = static_cast<unsigned char>(row.text.front());
        if (lead >= 0 && lead != first) return -1;
        lead = first;
    }
    return lead;
}

constexpr int kAnywhereLead = CommonAnywhereLead();

// The rows among `candidates` whose text stands at `pos` of the line.
RowMask RowsAt(std::string_view line, std::size_t pos, RowMask candidates) {
    RowMask found = 0;
    while (candidates != 0) {
        const int row = std::countr_zero(candidates);
        candidates &= candidates - 1;
        const std::string_view text = kClassificationTable[static_cast<std::size_t>(row)].text;
        if (line.size() - pos >= text.size() && std::memcmp(line.data() + pos, text.data(), text.size()) == 0)
            found |= Bit(static_cast<std::size_t>(row));
    }
    return found;
}

// The anywhere rows among `wanted` whose text occurs in the line. Stops early once the best of them
// is found, since no other can win then.
RowMask AnywhereRowsIn(std::string_view line, RowMask wanted) {
    const RowMask best = wanted & (~wanted + 1);
    RowMask found = 0;
    if constexpr (kAnywhereLead >= 0) {
        const char* const begin = line.data();
        const char* const end = begin + line.size();
        const RowMask candidates = kAnywhereRows[static_cast<std::size_t>(kAnywhereLead)] & wanted;
        for (const char* p = begin; p < end; ++p) {
            p = static_cast<const char*>(std::memchr(p, kAnywhereLead, static_cast<std::size_t>(end - p)));
            if (p == nullptr) break;
            found |= RowsAt(line, static_cast<std::size_t>(p - begin), candidates);
            if (found & best) break;
        }
    } else {
        for (std::size_t pos = 0; pos < line.size(); ++pos) {
            const RowMask candidates = kAnywhereRows[static_cast<unsigned char>(line[pos])] & wanted;
            if (candidates != 0) found |= RowsAt(line, pos, candidates);
            if (found & best) break;
        }
    }
    return found;
}

// The number strtoul reads from a code word's digits: digits up to the first non-digit, saturating
// at the 32-bit maximum as the host platform's unsigned long does.
std::uint32_t LeadingUnsigned(std::string_view digits) {
    std::uint64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') break;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > std::numeric_limits<std::uint32_t>::max()) return std::numeric_limits<std::uint32_t>::max();
    }
    return static_cast<std::uint32_t>(value);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// True when strtol reads the text as 0: blanks, an optional sign, then no digit other than "0" before
// the first non-digit ("", "0", "00", "x1" yes; "12", " -3", "007" no).
bool ReadsAsZero(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (text[i] != '0') return false;
    }
    return true;
}

// A " : " that splits a source position from its message: at position 4 or later, and the part
// before it has its last ")" after a digit, as in "main.c(12) : C2500 (E) ...".
bool SplitsSourcePosition(std::string_view line, std::size_t separator) {
    if (separator == std::string_view::npos || separator < 4) return false;
    const std::size_t close = line.substr(0, separator).rfind(')');
    return close != std::string_view::npos && close >= 1 && IsDigit(line[close - 1]);
}

constexpr std::string_view kNone = "None";
constexpr std::string_view kSeparator = " : ";

}  // namespace

std::uint32_t MessageCode(std::string_view codeWord) {
    for (const MessageCodeRow& row : kMessageCodeTable) {
        if (codeWord.substr(0, row.prefix.size()) != row.prefix) continue;
        return MessageCodeBase(row) + LeadingUnsigned(codeWord.substr(row.prefix.size()));
    }
    return 0;  // unreachable: the empty last prefix begins every word
}

const ClassificationRow* FindClassificationRow(std::string_view line) {
    if (line.empty()) return nullptr;
    const RowMask start = RowsAt(line, 0, kStartRows[static_cast<unsigned char>(line.front())]);
    // An anywhere row only counts when it comes before the first start row that matched.
    const RowMask earlier = start != 0 ? (start & (~start + 1)) - 1 : ~RowMask{0};
    const RowMask wanted = kAllAnywhereRows & earlier;
    const RowMask matched = start | (wanted != 0 ? AnywhereRowsIn(line, wanted) : 0);
    if (matched == 0) return nullptr;
    return &kClassificationTable[static_cast<std::size_t>(std::countr_zero(matched))];
}

void AppendDiagnosticText(std::string_view line, std::string& text) {
    std::string_view file = kNone;
    std::string_view lineNumber = kNone;
    std::string_view message;
    std::string canonicalFile;

    const std::size_t separator = line.find(kSeparator);
    if (SplitsSourcePosition(line, separator)) {
        message = line.substr(separator + kSeparator.size());
        // "main.c(12)": the number after the last "(" once the closers are gone.
        std::string_view position = line.substr(0, separator);
        while (!position.empty() && position.back() == ')') position.remove_suffix(1);
        const std::size_t open = position.rfind('(');
        if (open != std::string_view::npos && !ReadsAsZero(position.substr(open + 1))) {
            file = position.substr(0, open);
            lineNumber = position.substr(open + 1);
            if (!IsRelativePath(file)) {
                canonicalFile = file;
                CanonicalizeIfAbsolute(canonicalFile);
                file = canonicalFile;
            }
        }
    } else {
        // "** L1100 (W) ..." : the message starts after the leading blanks and asterisks.
        const std::size_t first = line.find_first_not_of(" *");
        message = first == std::string_view::npos ? std::string_view{} : line.substr(first);
    }

    std::string_view rest = message;
    const std::string_view codeWord = NextToken(rest, " ");
    char code[16];
    const auto written = std::to_chars(code, code + sizeof code, MessageCode(codeWord));

    text.reserve(text.size() + file.size() + lineNumber.size() + message.size() + 16);
    text.append(file).append(1, '|').append(lineNumber).append(1, '|');
    text.append(code, written.ptr).append(1, '|').append(message);
}

std::string DiagnosticText(std::string_view line) {
    std::string text;
    AppendDiagnosticText(line, text);
    return text;
}

void ClassifyOutputLine(std::string_view line, LineInfo& info) {
    info.recognised = info.errors = info.warnings = info.fatalErrors = info.messageFlag = 0;
    info.text.clear();
    const ClassificationRow* row = FindClassificationRow(line);
    if (row == nullptr) return;
    info.recognised = 1;
    switch (row->kind) {
        case LineKind::kBanner:
            return;
        case LineKind::kCommand:
            info.messageFlag = 1;
            return;
        case LineKind::kError:
            ++info.errors;
            break;
        case LineKind::kWarning:
            ++info.warnings;
            break;
        case LineKind::kFatal:
            ++info.fatalErrors;
            break;
        case LineKind::kInformation:
            break;
    }
    info.messageFlag = 1;
    AppendDiagnosticText(line, info.text);
}

LineInfo ClassifyOutputLine(std::string_view line) {
    LineInfo info;
    ClassifyOutputLine(line, info);
    return info;
}

}  // namespace vivo
