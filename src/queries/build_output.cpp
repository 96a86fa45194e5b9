#include "queries/build_output.h"

#include <algorithm>
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

// The rows of one match mode by the second byte of their text (a one-byte text fits every byte): with
// the first byte's rows, a cheap filter before comparing whole texts.
constexpr std::array<RowMask, 256> RowsBySecondByte(MatchMode mode) {
    std::array<RowMask, 256> rows{};
    for (std::size_t i = 0; i < kClassificationTable.size(); ++i) {
        const ClassificationRow& row = kClassificationTable[i];
        if (row.mode != mode) continue;
        if (row.text.size() < 2) {
            for (RowMask& r : rows) r |= Bit(i);
        } else {
            rows[static_cast<unsigned char>(row.text[1])] |= Bit(i);
        }
    }
    return rows;
}

constexpr std::array<RowMask, 256> kAnywhereRowsBySecondByte = RowsBySecondByte(MatchMode::kAnywhere);

// The byte at `index` of every anywhere text ("(" and ")" of "(E)", "(W)", ...), or -1 when they
// differ or a text is shorter.
constexpr int CommonAnywhereByte(std::size_t index) {
    int common = -1;
    for (const ClassificationRow& row : kClassificationTable) {
        if (row.mode != MatchMode::kAnywhere) continue;
        if (row.text.size() <= index) return -1;
        const int byte = static_cast<unsigned char>(row.text[index]);
        if (common >= 0 && common != byte) return -1;
        common = byte;
    }
    return common;
}

constexpr int kAnywhereFirst = CommonAnywhereByte(0);
constexpr int kAnywhereThird = CommonAnywhereByte(2);

// Sixteen bytes at a time, through the compiler's vector extension (SSE2 on x86).
using Block = unsigned char __attribute__((vector_size(16)));
constexpr std::size_t kBlock = sizeof(Block);

// True when a byte of the 16 bytes at `at` (and, with `twice`, of the 16 after them) has its pair:
// `first` at it and `third` two bytes on.
bool BlockHasPair(const unsigned char* at, unsigned char first, unsigned char third, bool twice) {
    Block here;
    Block twoOn;
    std::memcpy(&here, at, kBlock);
    std::memcpy(&twoOn, at + 2, kBlock);
    auto hits = (here == first) & (twoOn == third);
    if (twice) {
        std::memcpy(&here, at + kBlock, kBlock);
        std::memcpy(&twoOn, at + kBlock + 2, kBlock);
        hits |= (here == first) & (twoOn == third);
    }
    std::uint64_t halves[2];
    static_assert(sizeof hits == sizeof halves);
    std::memcpy(halves, &hits, sizeof halves);
    return (halves[0] | halves[1]) != 0;
}

// The first position at or after `from` where the line holds `first` and, two bytes on, `third`; the
// line's size when there is none. Most lines hold no such pair, and a block of sixteen positions is
// tested at once; "$(PROJDIR)" costs nothing, as "(" alone is no candidate.
std::size_t FindPair(std::string_view line, std::size_t from, unsigned char first, unsigned char third) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t size = line.size();
    const auto pairAt = [&](std::size_t i) { return bytes[i] == first && bytes[i + 2] == third; };
    std::size_t i = from;
    if (size >= kBlock + 2) {
        // Two blocks a step where they fit; the last block overlaps the one before it rather than
        // leaving a tail.
        while (i < size - 2) {
            const bool twice = i + 2 * kBlock + 2 <= size;
            const std::size_t block = twice ? i : std::min(i, size - 2 - kBlock);
            const std::size_t span = twice ? 2 * kBlock : kBlock;
            if (BlockHasPair(bytes + block, first, third, twice)) {
                for (std::size_t k = std::max(i, block); k < block + span; ++k) {
                    if (pairAt(k)) return k;
                }
            }
            i = block + span;
        }
        return size;
    }
    for (; i + 2 < size; ++i) {
        if (pairAt(i)) return i;
    }
    return size;
}

// True when the row's text stands at `pos` of the line. Compared eight bytes at a time: the texts
// are short, and most comparisons end in the first word.
bool TextAt(std::string_view line, std::size_t pos, std::size_t row) {
    const std::string_view text = kClassificationTable[row].text;
    if (line.size() - pos < text.size()) return false;
    const char* at = line.data() + pos;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t a = 0;
        std::uint64_t b = 0;
        std::memcpy(&a, at + i, 8);
        std::memcpy(&b, text.data() + i, 8);
        if (a != b) return false;
    }
    for (; i < text.size(); ++i) {
        if (at[i] != text[i]) return false;
    }
    return true;
}

// The first of the start rows among `candidates` (in table order) that begins the line, as a mask.
RowMask FirstStartRow(std::string_view line, RowMask candidates) {
    for (; candidates != 0; candidates &= candidates - 1) {
        const auto row = static_cast<std::size_t>(std::countr_zero(candidates));
        if (TextAt(line, 0, row)) return Bit(row);
    }
    return 0;
}

// The anywhere rows among `candidates` whose text stands at `pos` of the line.
RowMask AnywhereRowsAt(std::string_view line, std::size_t pos, RowMask candidates) {
    if (pos + 1 < line.size()) candidates &= kAnywhereRowsBySecondByte[static_cast<unsigned char>(line[pos + 1])];
    RowMask found = 0;
    for (; candidates != 0; candidates &= candidates - 1) {
        const auto row = static_cast<std::size_t>(std::countr_zero(candidates));
        if (TextAt(line, pos, row)) found |= Bit(row);
    }
    return found;
}

// The anywhere rows among `wanted` whose text occurs in the line. Stops early once the best of them
// is found, since no other can win then.
RowMask AnywhereRowsIn(std::string_view line, RowMask wanted) {
    const RowMask best = wanted & (~wanted + 1);
    RowMask found = 0;
    if constexpr (kAnywhereFirst >= 0 && kAnywhereThird >= 0) {
        const RowMask candidates = kAnywhereRows[static_cast<std::size_t>(kAnywhereFirst)] & wanted;
        for (std::size_t pos = FindPair(line, 0, kAnywhereFirst, kAnywhereThird); pos < line.size();
             pos = FindPair(line, pos + 1, kAnywhereFirst, kAnywhereThird)) {
            found |= AnywhereRowsAt(line, pos, candidates);
            if (found & best) break;
        }
    } else {
        for (std::size_t pos = 0; pos < line.size(); ++pos) {
            const RowMask candidates = kAnywhereRows[static_cast<unsigned char>(line[pos])] & wanted;
            if (candidates != 0) found |= AnywhereRowsAt(line, pos, candidates);
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
    const RowMask start = FirstStartRow(line, kStartRows[static_cast<unsigned char>(line.front())]);
    // An anywhere row only counts when it comes before the first start row that matched.
    const RowMask earlier = start != 0 ? start - 1 : ~RowMask{0};
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
    text.append(file);
    text.push_back('|');
    text.append(lineNumber);
    text.push_back('|');
    text.append(code, written.ptr);
    text.push_back('|');
    text.append(message);
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
