#include "queries/build_output.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <limits>

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
using BlockWords = std::uint64_t __attribute__((vector_size(16)));
constexpr std::size_t kBlock = sizeof(Block);

Block LoadBlock(const unsigned char* at) {
    Block block;
    std::memcpy(&block, at, kBlock);
    return block;
}

// Per position of the 16 at `at`: all ones where `first` stands there and `third` two bytes on.
Block PairsIn(const unsigned char* at, unsigned char first, unsigned char third) {
    return reinterpret_cast<Block>((LoadBlock(at) == first) & (LoadBlock(at + 2) == third));
}

// The first position of the 16 whose byte is set, counted from `base`; `none` when there is none.
std::size_t FirstHit(Block hits, std::size_t base, std::size_t none) {
    const auto words = reinterpret_cast<BlockWords>(hits);
    // The vector's words hold the bytes in memory order; within a word the first byte is the low one
    // on a little-endian machine.
    const auto firstByte = [](std::uint64_t word) {
        return static_cast<std::size_t>(
                   std::endian::native == std::endian::little ? std::countr_zero(word) : std::countl_zero(word)) /
               8;
    };
    if (words[0] != 0) return base + firstByte(words[0]);
    if (words[1] != 0) return base + 8 + firstByte(words[1]);
    return none;
}

constexpr Block kBlockIndex = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

// The first position at or after `from` where the line holds `first` and, two bytes on, `third`; the
// line's size when there is none. 16 positions are tested a step, and the last block overlaps the one
// before it rather than leaving a tail. "$(PROJDIR)" costs nothing, as "(" alone is no candidate.
std::size_t FindPair(std::string_view line, std::size_t from, unsigned char first, unsigned char third) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t size = line.size();
    if (size < kBlock + 2) {
        for (std::size_t i = from; i + 2 < size; ++i) {
            if (bytes[i] == first && bytes[i + 2] == third) return i;
        }
        return size;
    }
    std::size_t i = from;
    for (; i + kBlock + 2 <= size; i += kBlock) {
        const std::size_t at = FirstHit(PairsIn(bytes + i, first, third), i, size);
        if (at != size) return at;
    }
    if (i + 2 >= size) return size;
    // The last block ends where the line does; its positions before `i` are done already.
    const std::size_t base = size - 2 - kBlock;
    const Block fresh = reinterpret_cast<Block>(kBlockIndex >= static_cast<unsigned char>(i - base));
    return FirstHit(PairsIn(bytes + base, first, third) & fresh, base, size);
}

// True when the line holds `first` with `third` two bytes on anywhere: one pass without stopping, as
// most lines hold no such pair.
bool HasPair(std::string_view line, unsigned char first, unsigned char third) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t size = line.size();
    if (size < kBlock + 2) return FindPair(line, 0, first, third) != size;
    Block hits = PairsIn(bytes + size - 2 - kBlock, first, third);
    for (std::size_t i = 0; i + kBlock + 2 <= size; i += kBlock) hits |= PairsIn(bytes + i, first, third);
    const auto words = reinterpret_cast<BlockWords>(hits);
    return (words[0] | words[1]) != 0;
}

// A row's text, for comparing at a line's start: its first (up to) eight bytes as one word read the
// way a line's first bytes are read, and the mask of the bytes the text has.
struct StartWord {
    std::uint64_t word = 0;
    std::uint64_t mask = 0;
};

constexpr std::size_t kWordBytes = sizeof(std::uint64_t);

constexpr unsigned WordShift(std::size_t byte) {
    return static_cast<unsigned>(8 * (std::endian::native == std::endian::little ? byte : kWordBytes - 1 - byte));
}

constexpr std::array<StartWord, kClassificationTable.size()> StartWords() {
    std::array<StartWord, kClassificationTable.size()> words{};
    for (std::size_t row = 0; row < kClassificationTable.size(); ++row) {
        const std::string_view text = kClassificationTable[row].text;
        for (std::size_t i = 0; i < text.size() && i < kWordBytes; ++i) {
            words[row].word |= std::uint64_t{static_cast<unsigned char>(text[i])} << WordShift(i);
            words[row].mask |= std::uint64_t{0xFF} << WordShift(i);
        }
    }
    return words;
}

constexpr std::array<StartWord, kClassificationTable.size()> kStartWords = StartWords();

// The line's first eight bytes as one word (zeros past a shorter line's end).
std::uint64_t FirstWord(std::string_view line) {
    std::uint64_t word = 0;
    if (line.size() >= kWordBytes) {
        std::memcpy(&word, line.data(), kWordBytes);
    } else {
        for (std::size_t i = 0; i < line.size(); ++i) {
            word |= std::uint64_t{static_cast<unsigned char>(line[i])} << WordShift(i);
        }
    }
    return word;
}

// True when `text` stands at `at`, compared eight bytes at a time from byte `from` on: the texts are
// short, and the calls cost more than the comparison.
bool SameBytes(const char* at, std::string_view text, std::size_t from) {
    std::size_t i = from;
    for (; i + kWordBytes <= text.size(); i += kWordBytes) {
        std::uint64_t a;
        std::uint64_t b;
        std::memcpy(&a, at + i, kWordBytes);
        std::memcpy(&b, text.data() + i, kWordBytes);
        if (a != b) return false;
    }
    for (; i < text.size(); ++i) {
        if (at[i] != text[i]) return false;
    }
    return true;
}

// The first of the start rows among `candidates` (in table order) that begins the line, as a mask.
// Most candidates fail on the first word.
RowMask FirstStartRow(std::string_view line, RowMask candidates) {
    if (candidates == 0) return 0;
    const std::uint64_t first = FirstWord(line);
    for (; candidates != 0; candidates &= candidates - 1) {
        const auto row = static_cast<std::size_t>(std::countr_zero(candidates));
        if ((first & kStartWords[row].mask) != kStartWords[row].word) continue;
        const std::string_view text = kClassificationTable[row].text;
        if (line.size() >= text.size() && SameBytes(line.data(), text, kWordBytes)) return Bit(row);
    }
    return 0;
}

// True when the row's text stands at `pos` of the line.
bool TextAt(std::string_view line, std::size_t pos, std::size_t row) {
    const std::string_view text = kClassificationTable[row].text;
    return line.size() - pos >= text.size() && SameBytes(line.data() + pos, text, 0);
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

// The first " : " of the line, or npos: candidates with a blank two bytes after a blank are found a
// block at a time, then the middle byte is checked.
std::size_t FindSeparator(std::string_view line) {
    static_assert(kSeparator.size() == 3 && kSeparator.front() == kSeparator.back());
    const auto outer = static_cast<unsigned char>(kSeparator.front());
    for (std::size_t at = FindPair(line, 0, outer, outer); at < line.size(); at = FindPair(line, at + 1, outer, outer)) {
        if (line[at + 1] == kSeparator[1]) return at;
    }
    return std::string_view::npos;
}

}  // namespace

std::uint32_t MessageCode(std::string_view codeWord) {
    for (const MessageCodeRow& row : kMessageCodeTable) {
        if (!codeWord.starts_with(row.prefix)) continue;
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
    RowMask matched = start;
    if constexpr (kAnywhereFirst >= 0 && kAnywhereThird >= 0) {
        if (wanted != 0 && HasPair(line, kAnywhereFirst, kAnywhereThird)) matched |= AnywhereRowsIn(line, wanted);
    } else {
        if (wanted != 0) matched |= AnywhereRowsIn(line, wanted);
    }
    if (matched == 0) return nullptr;
    return &kClassificationTable[static_cast<std::size_t>(std::countr_zero(matched))];
}

void AppendDiagnosticText(std::string_view line, std::string& text) {
    std::string_view file = kNone;
    std::string_view lineNumber = kNone;
    std::string_view message;
    std::array<char, kMaxPath> canonicalFile;

    const std::size_t separator = FindSeparator(line);
    if (SplitsSourcePosition(line, separator)) {
        message = line.substr(separator + kSeparator.size());
        // "main.c(12)": the number after the last "(" once the closers are gone.
        std::string_view position = line.substr(0, separator);
        while (!position.empty() && position.back() == ')') position.remove_suffix(1);
        const std::size_t open = position.rfind('(');
        if (open != std::string_view::npos && !ReadsAsZero(position.substr(open + 1))) {
            file = position.substr(0, open);
            lineNumber = position.substr(open + 1);
            if (!IsRelativePath(file)) file = Canonicalize(file, canonicalFile).value_or(file);
        }
    } else {
        // "** L1100 (W) ..." : the message starts after the leading blanks and asterisks.
        const std::size_t first = line.find_first_not_of(" *");
        message = first == std::string_view::npos ? std::string_view{} : line.substr(first);
    }

    // The code word: the message's first blank-delimited token.
    const std::size_t wordStart = std::min(message.find_first_not_of(' '), message.size());
    const std::string_view codeWord = message.substr(wordStart, message.find(' ', wordStart) - wordStart);
    char code[16];
    const auto written = std::to_chars(code, code + sizeof code, MessageCode(codeWord));

    // One resize and plain copies: the appends' own checks cost more than the bytes.
    const std::size_t codeSize = static_cast<std::size_t>(written.ptr - code);
    const std::size_t old = text.size();
    text.resize(old + file.size() + lineNumber.size() + codeSize + message.size() + 3);
    char* out = text.data() + old;
    const auto put = [&out](const char* bytes, std::size_t size) {
        if (size != 0) std::memcpy(out, bytes, size);
        out += size;
    };
    put(file.data(), file.size());
    *out++ = '|';
    put(lineNumber.data(), lineNumber.size());
    *out++ = '|';
    put(code, codeSize);
    *out++ = '|';
    put(message.data(), message.size());
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
